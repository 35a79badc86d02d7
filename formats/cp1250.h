// Windows-1250 <-> UTF-8. The records and codes.dat hold Windows-1250 bytes; everything inside the
// programs is UTF-8, so these two functions are the only place where text changes its encoding.
#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace sentavo {

// Raised when text cannot be stored in Windows-1250: a character the code page lacks, or bytes that
// are not UTF-8 at all. Storing something other than what the operator typed would be worse.
class TextEncodingError : public std::runtime_error {
 public:
  TextEncodingError(const std::string& what, char32_t character)
      : std::runtime_error(what), character_(character) {}
  // The offending Unicode character, or U+FFFD for malformed UTF-8.
  char32_t character() const { return character_; }

 private:
  char32_t character_;
};

// Every byte has a character (the five unassigned ones map to the C1 controls of the same value, as
// Windows maps them), so decoding never fails and encoding its result gives the bytes back.
std::string Cp1250ToUtf8(std::string_view bytes);

// Appends to `out` the UTF-8 of `bytes` up to their first CR or LF, and returns how many bytes that
// was: a reader of lines splits and decodes in one pass, without a string per line.
std::size_t AppendCp1250LineAsUtf8(std::string& out, std::string_view bytes);

// Throws TextEncodingError for a character outside Windows-1250 or malformed UTF-8.
std::string Utf8ToCp1250(std::string_view utf8);
// The same, appended to `out`; on the error, `out` holds the bytes of the characters before it.
void AppendUtf8AsCp1250(std::string& out, std::string_view utf8);

// The first character of `utf8` that Windows-1250 cannot hold (U+FFFD for malformed UTF-8), if any.
std::optional<char32_t> FirstUnencodable(std::string_view utf8);

// `utf8` cut to at most `maxChars` characters (code points), never inside a character.
std::string CutToChars(std::string_view utf8, std::size_t maxChars);

// "U+0141"-style name of a character, for error messages.
std::string CodePointName(char32_t c);

}  // namespace sentavo
