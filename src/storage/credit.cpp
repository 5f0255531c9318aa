#include "storage/credit.h"

#include "storage/cp1252.h"

namespace devical::storage {

namespace {

// Windows-1252 bytes, each XOR 0x2A, in hexadecimal.
const char* const kCreditParts[] = {
    "6E4F5C43494B460A100A464F0A4945445C4F585E4359594F5F580A4F5F58450A5B5F430A4945475A5E4F0A405F595E4F060A4B5F0A494F445E"
    "43474F0A5A58C25904",
    "674F5849430ACA0A494F46464F590A4F5E0A494F5F520A5B5F430A460D5F5E434643594F445E0A49424B5B5F4F0A40455F5804",
};

std::string Decode(const char* hex) {
    std::string bytes;
    for (const char* p = hex; p[0] && p[1]; p += 2)
        bytes += static_cast<char>(std::stoi(std::string(p, 2), nullptr, 16) ^ 0x2A);
    return Cp1252ToUtf8(bytes);
}

}  // namespace

std::string HiddenCredit() { return Decode(kCreditParts[0]) + "\n\n" + Decode(kCreditParts[1]); }

}  // namespace devical::storage
