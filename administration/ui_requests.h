// What the administration program's windows must do after an event: the models decide, the Win32
// windows carry the requests out in the order given, after mirroring the models' control state.
#pragma once

#include <string>
#include <variant>
#include <vector>

namespace sentavo::admin {

enum class AdminWindow { Login, Codes };

enum class MessageKind {
  Error,         // error icon, caption "Error", one "OK" button
  Information,   // information icon, caption "Information", one "OK" button
  GeneralError,  // the general error handler: stop icon, the application title as caption
};

struct MessageRequest {
  MessageKind kind = MessageKind::Error;
  std::string caption;
  std::string text;

  bool operator==(const MessageRequest&) const = default;
};

// Make a window visible or hide it. A model that shows a window has already run what showing it
// means (reading the configuration, resetting the validity window): the Win32 window only shows.
struct WindowRequest {
  AdminWindow window = AdminWindow::Login;
  bool visible = false;

  bool operator==(const WindowRequest&) const = default;
};

// Open a web address with the system's default handler.
struct OpenWebPageRequest {
  std::string url;

  bool operator==(const OpenWebPageRequest&) const = default;
};

// The main window closes and the program ends; nothing is saved or asked.
struct EndProgramRequest {
  bool operator==(const EndProgramRequest&) const = default;
};

using UiRequest =
    std::variant<MessageRequest, WindowRequest, OpenWebPageRequest, EndProgramRequest>;
using Requests = std::vector<UiRequest>;

MessageRequest ErrorMessage(std::string text);
MessageRequest InformationMessage(std::string text);
// The general error box: captioned with the application title, the text ending with a full stop.
MessageRequest GeneralErrorMessage(std::string text);

}  // namespace sentavo::admin
