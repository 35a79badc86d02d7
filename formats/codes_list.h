// codes.dat: the administration program's list of issued code names, one per line.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <ranges>
#include <string>
#include <string_view>
#include <vector>

namespace sentavo {

// The names of a codes.dat in file order, UTF-8, held as one text with the names one after another
// and the end of each name in it. A list of 100 000 names is two blocks of memory, not one (or
// two) per name, and reading it back is a single pass over the file's bytes.
class CodeNames {
 public:
  class const_iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using iterator_concept = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using reference = std::string_view;
    using pointer = void;

    const_iterator() = default;
    std::string_view operator*() const { return (*names_)[index_]; }
    const_iterator& operator++() {
      ++index_;
      return *this;
    }
    const_iterator operator++(int) {
      const const_iterator before = *this;
      ++index_;
      return before;
    }
    friend bool operator==(const const_iterator&, const const_iterator&) = default;

   private:
    friend class CodeNames;
    const_iterator(const CodeNames* names, std::size_t index) : names_(names), index_(index) {}
    const CodeNames* names_ = nullptr;
    std::size_t index_ = 0;
  };
  using iterator = const_iterator;
  using value_type = std::string_view;

  CodeNames() = default;
  CodeNames(std::initializer_list<std::string_view> names);

  std::size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  // `index` below size().
  std::string_view operator[](std::size_t index) const;
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

  // Throws std::length_error when the names would pass 4 GiB of text, far beyond any codes.dat
  // that the reader takes.
  void push_back(std::string_view name);
  // `index` below size().
  void erase(std::size_t index);
  // The first name equal to `name`, byte for byte.
  std::optional<std::size_t> Find(std::string_view name) const;

  std::vector<std::string> ToStrings() const;

  friend bool operator==(const CodeNames&, const CodeNames&) = default;
  friend bool operator==(const CodeNames& names, const std::vector<std::string>& strings);

 private:
  friend CodeNames ParseCodeNames(std::string_view fileBytes);
  void EndName();

  std::string text_;
  std::vector<std::uint32_t> ends_;  // the end of name i in text_; it starts where i - 1 ends
};

// Lines split at CR LF, lone CR and lone LF. A last line without a line end is an entry; a line end
// at the very end adds no empty entry; an empty line between two others is an empty entry. Every
// byte is a Windows-1250 character, so any bytes read as a list.
CodeNames ParseCodeNames(std::string_view fileBytes);
// The same, one string per name: for lists that are read once and small, as the tool's.
std::vector<std::string> ParseCodesList(std::string_view fileBytes);

// Windows-1250, every line ending in CR LF; an empty list is an empty file. Throws
// TextEncodingError for a character outside Windows-1250 and std::invalid_argument for a name
// holding CR or LF, which would read back as two entries.
std::string SerializeCodesList(const CodeNames& names);
// The same for names held one string each. A template, so that a braced list of names is a
// CodeNames.
template <std::ranges::input_range Strings>
requires std::same_as<std::ranges::range_value_t<Strings>, std::string> std::string
SerializeCodesList(const Strings& strings) {
  CodeNames names;
  for (const std::string& name : strings) names.push_back(name);
  return SerializeCodesList(names);
}

}  // namespace sentavo
