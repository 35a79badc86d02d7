// A small JSON writer for the tool's output: objects, arrays and scalars, two-space indentation.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace sentavo {

class JsonWriter {
 public:
  explicit JsonWriter(std::ostream& out) : out_(out) {}
  ~JsonWriter() { out_ << '\n'; }

  JsonWriter& Key(std::string_view key);
  JsonWriter& BeginObject() { return Open('{'); }
  JsonWriter& EndObject() { return Close('}'); }
  JsonWriter& BeginArray() { return Open('['); }
  JsonWriter& EndArray() { return Close(']'); }
  JsonWriter& String(std::string_view utf8);
  JsonWriter& Bool(bool v) { return Raw(v ? "true" : "false"); }
  JsonWriter& Int(long long v) { return Raw(std::to_string(v)); }
  // A finite number with every digit needed to read the same double back; NaN and infinities,
  // which JSON has no number for, as the strings "NaN", "Infinity", "-Infinity".
  JsonWriter& Double(double v);
  JsonWriter& Null() { return Raw("null"); }

 private:
  JsonWriter& Open(char c);
  JsonWriter& Close(char c);
  JsonWriter& Raw(std::string_view text);
  void BeforeValue();
  void WriteQuoted(std::string_view utf8);
  void NewLine();

  std::ostream& out_;
  std::vector<bool> hasItems_;  // one per open container
  bool afterKey_ = false;
};

}  // namespace sentavo
