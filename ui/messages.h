// The message boxes of both programs as data, so that the portable models can ask for them and
// the tests can see them: errors ("Error", error icon), information ("Information", information
// icon), the general error handler's stop box captioned with the application title and ending with
// a full stop, and a plain notice. Every one has a single "OK" button.
#pragma once

#include <string>
#include <vector>

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

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Returns when the user has closed the message.
  virtual void Show(const Message& message) = 0;
};

// The test double: keeps what would have been shown.
class RecordingMessageSink final : public MessageSink {
 public:
  std::vector<Message> shown;
  void Show(const Message& message) override { shown.push_back(message); }
};

}  // namespace sentavo::ui
