#include "client/master_password.h"

#include <cstddef>
#include <cstdint>

namespace sentavo::client {
namespace {

// Each byte is XORed with 0x5A + 13 * its position. Volatile, so that the compiler cannot fold the
// descrambling and leave the plain text in the program file after all.
constexpr std::size_t kPrefixLength = 11;
const volatile std::uint8_t kScrambled[kPrefixLength] = {0x08, 0x5F, 0x02, 0xEA, 0xBC, 0xCF,
                                                         0xC5, 0x80, 0x93, 0xB5, 0xEB};

}  // namespace

std::string MasterPasswordPrefix() {
  std::string text(kPrefixLength, '\0');
  for (std::size_t i = 0; i < kPrefixLength; ++i) {
    text[i] = static_cast<char>(kScrambled[i] ^ static_cast<std::uint8_t>(0x5A + 13 * i));
  }
  return text;
}

std::string MasterPassword(std::string_view uidText) {
  return MasterPasswordPrefix() + std::string(uidText);
}

}  // namespace sentavo::client
