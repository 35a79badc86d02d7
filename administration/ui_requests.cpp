#include "administration/ui_requests.h"

#include <utility>

#include "administration/admin_texts.h"

namespace sentavo::admin {

MessageRequest ErrorMessage(std::string text) {
  return {MessageKind::Error, std::string(text::kErrorCaption), std::move(text)};
}

MessageRequest InformationMessage(std::string text) {
  return {MessageKind::Information, std::string(text::kInformationCaption), std::move(text)};
}

MessageRequest GeneralErrorMessage(std::string text) {
  if (text.empty() || text.back() != '.') text += '.';
  return {MessageKind::GeneralError, std::string(text::kAppTitle), std::move(text)};
}

}  // namespace sentavo::admin
