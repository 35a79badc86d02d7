#include "formats/codes_list.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "formats/cp1250.h"

namespace sentavo {
namespace {

constexpr std::size_t kMaxText = std::numeric_limits<std::uint32_t>::max();

}  // namespace

CodeNames::CodeNames(std::initializer_list<std::string_view> names) {
  for (std::string_view name : names) push_back(name);
}

std::string_view CodeNames::operator[](std::size_t index) const {
  const std::size_t start = index ? ends_[index - 1] : 0;
  return std::string_view(text_).substr(start, ends_[index] - start);
}

void CodeNames::EndName() {
  if (text_.size() > kMaxText) throw std::length_error("the list of code names is too long");
  ends_.push_back(static_cast<std::uint32_t>(text_.size()));
}

void CodeNames::push_back(std::string_view name) {
  if (name.size() > kMaxText - text_.size()) {
    throw std::length_error("the list of code names is too long");
  }
  text_ += name;
  EndName();
}

void CodeNames::erase(std::size_t index) {
  const std::size_t start = index ? ends_[index - 1] : 0;
  const std::uint32_t length = ends_[index] - static_cast<std::uint32_t>(start);
  text_.erase(start, length);
  ends_.erase(ends_.begin() + static_cast<std::ptrdiff_t>(index));
  for (std::size_t i = index; i < ends_.size(); ++i) ends_[i] -= length;
}

std::optional<std::size_t> CodeNames::Find(std::string_view name) const {
  for (std::size_t i = 0; i < size(); ++i) {
    if ((*this)[i] == name) return i;
  }
  return std::nullopt;
}

std::vector<std::string> CodeNames::ToStrings() const {
  std::vector<std::string> out;
  out.reserve(size());
  for (std::string_view name : *this) out.emplace_back(name);
  return out;
}

bool operator==(const CodeNames& names, const std::vector<std::string>& strings) {
  return names.size() == strings.size() &&
         std::equal(names.begin(), names.end(), strings.begin(),
                    [](std::string_view a, const std::string& b) { return a == b; });
}

CodeNames ParseCodeNames(std::string_view bytes) {
  CodeNames names;
  // Most names are plain ASCII, which decodes to as many bytes.
  names.text_.reserve(bytes.size());
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    pos += AppendCp1250LineAsUtf8(names.text_, bytes.substr(pos));
    names.EndName();
    if (pos == bytes.size()) break;
    const char lineEnd = bytes[pos++];
    if (lineEnd == '\r' && pos < bytes.size() && bytes[pos] == '\n') ++pos;
  }
  return names;
}

std::vector<std::string> ParseCodesList(std::string_view bytes) {
  return ParseCodeNames(bytes).ToStrings();
}

std::string SerializeCodesList(const CodeNames& names) {
  std::size_t bytes = 0;  // as many as UTF-8 has, or fewer
  for (std::string_view name : names) bytes += name.size() + 2;
  std::string out;
  out.reserve(bytes);
  for (std::string_view name : names) {
    if (name.find_first_of("\r\n") != std::string_view::npos) {
      throw std::invalid_argument("a code name cannot hold a line break");
    }
    AppendUtf8AsCp1250(out, name);
    out += "\r\n";
  }
  return out;
}

}  // namespace sentavo
