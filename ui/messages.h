// The message boxes of both programs as data, the one form in which the portable models ask for
// them, the tests see them and the windows show them: errors ("Error", error icon), information
// ("Information", information icon), the general error handler's stop box captioned with the
// application title and ending with a full stop, and a plain notice. Every one has a single "OK"
// button.
#pragma once

#include <string>

namespace sentavo::ui {

struct Message {
  enum class Kind { Error, Information, Stop, Plain };
  Kind kind = Kind::Plain;
  std::string caption;
  std::string text;
  bool operator==(const Message&) const = default;
};

Message ErrorMessage(std::string text);
Message InformationMessage(std::string text);
// The general error handler: the text gets a final full stop when it has none.
Message StopMessage(std::string applicationTitle, std::string text);
Message PlainMessage(std::string caption, std::string text);

}  // namespace sentavo::ui
