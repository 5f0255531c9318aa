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
    for (int byte = 0; byte < 256; ++byte)
        all += static_cast<char>(byte);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Cp1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1252("zł ₽ 日"), "z? ? ?");
    EXPECT_EQ(Utf8ToCp1252("\xff\xc3"), "??");  // malformed UTF-8
}

// Bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D are the C1 controls of the same number, both ways.
TEST(Cp1252, TheBytesTheCodePageLeavesUndefinedAreTheControlsOfTheSameNumber) {
    for (const char byte : {'\x81', '\x8d', '\x8f', '\x90', '\x9d'}) {
        const std::string control = {'\xc2', byte};  // U+0081 and so on in UTF-8
        SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(byte)));
        EXPECT_EQ(Cp1252ToUtf8(std::string(1, byte)), control);
        EXPECT_EQ(Utf8ToCp1252(control), std::string(1, byte));
        EXPECT_TRUE(FitsCp1252(control));
    }
}

TEST(Cp1252, TellsWhetherATextFitsTheCodePage) {
    struct Row {
        const char* text;
        bool fits;
    };
    const Row rows[] = {
        {"", true},
        {"FRF Franc français", true},
        {"€ 20", true},   // three UTF-8 bytes, one byte in the file
        {"Œuvre", true},  // above U+00FF, in the code page
        {"Łódź", false},  // two UTF-8 bytes, not in the code page
        {"JPY Yen 円", false},
        {"\xc2\x80", false},   // U+0080: byte 0x80 is the euro sign, not this control
        {"USD 💵", false},      // four UTF-8 bytes
        {"\xe9t\xe9", false},  // Windows-1252 bytes, not UTF-8
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(FitsCp1252(row.text), row.fits);
    }
}

}  // namespace
}  // namespace devical::storage
