#include "ui/messages.h"

#include <utility>

namespace sentavo::ui {

Message ErrorMessage(std::string text) {
  return {Message::Kind::Error, "Error", std::move(text)};
}

Message InformationMessage(std::string text) {
  return {Message::Kind::Information, "Information", std::move(text)};
}

Message StopMessage(std::string applicationTitle, std::string text) {
  if (text.empty() || text.back() != '.') text += '.';
  return {Message::Kind::Stop, std::move(applicationTitle), std::move(text)};
}

Message PlainMessage(std::string caption, std::string text) {
  return {Message::Kind::Plain, std::move(caption), std::move(text)};
}

}  // namespace sentavo::ui
