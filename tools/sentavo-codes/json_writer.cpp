#include "json_writer.h"

#include <cmath>
#include <cstdio>

namespace sentavo {

void JsonWriter::NewLine() {
  out_ << '\n';
  for (std::size_t i = 0; i < hasItems_.size(); ++i) out_ << "  ";
}

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!hasItems_.empty()) {
    if (hasItems_.back()) out_ << ',';
    hasItems_.back() = true;
    NewLine();
  }
}

JsonWriter& JsonWriter::Key(std::string_view key) {
  BeforeValue();
  WriteQuoted(key);
  out_ << ": ";
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::Open(char c) {
  BeforeValue();
  out_ << c;
  hasItems_.push_back(false);
  return *this;
}

JsonWriter& JsonWriter::Close(char c) {
  const bool had = hasItems_.back();
  hasItems_.pop_back();
  if (had) NewLine();
  out_ << c;
  return *this;
}

JsonWriter& JsonWriter::Raw(std::string_view text) {
  BeforeValue();
  out_ << text;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view s) {
  BeforeValue();
  WriteQuoted(s);
  return *this;
}

void JsonWriter::WriteQuoted(std::string_view s) {
  std::string text = "\"";
  for (char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    switch (ch) {
      case '"': text += "\\\""; break;
      case '\\': text += "\\\\"; break;
      case '\n': text += "\\n"; break;
      case '\r': text += "\\r"; break;
      case '\t': text += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          text += buf;
        } else {
          text += ch;
        }
    }
  }
  text += '"';
  out_ << text;
}

JsonWriter& JsonWriter::Double(double v) {
  if (std::isnan(v)) return String("NaN");
  if (std::isinf(v)) return String(v > 0 ? "Infinity" : "-Infinity");
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return Raw(buf);
}

}  // namespace sentavo
