#include "storage/cp1252.h"

#include <gtest/gtest.h>

namespace devical::storage {
namespace {

TEST(Cp1252, ConvertsTheEuroSignAndAccentedLetters) {
    EXPECT_EQ(Cp1252ToUtf8("\x80 \xe9\xe8\xe0\xe7 \x9c"), "€ éèàç œ");
    EXPECT_EQ(Utf8ToCp1252("€ éèàç œ"), "\x80 \xe9\xe8\xe0\xe7 \x9c");
}

TEST(Cp1252, EveryByteRoundTrips) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Cp1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1252("zł ₽ 日"), "z? ? ?");
    EXPECT_EQ(Utf8ToCp1252("\xff\xc3"), "??");  // malformed UTF-8
}

}  // namespace
}  // namespace devical::storage
