// What a window must do after an event beyond showing its model's view: the one vocabulary in which
// every model of both programs asks, as plain data. The window mirrors the view first, then carries
// the requests out in the order given (ui/binding_win.h). Being data, requests can be compared by
// the tests and, later, sent from a model hosted elsewhere.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "ui/messages.h"

namespace sentavo::ui {

// Make one of the program's windows visible or hide it; `window` is the program's own number for
// it. A model that shows a window has already run what showing it means: the window only shows.
struct ShowWindowRequest {
  int window = 0;
  bool visible = false;
  bool operator==(const ShowWindowRequest&) const = default;
};

// Open a web address with the system's default handler.
struct OpenUrlRequest {
  std::string url;
  bool operator==(const OpenUrlRequest&) const = default;
};

// The main window closes and the program ends with `exitCode`; nothing is saved or asked.
struct EndProgramRequest {
  int exitCode = 0;
  bool operator==(const EndProgramRequest&) const = default;
};

// What a full-screen window does with itself and its application beyond showing and hiding.
enum class WindowAction {
  HideApplicationWindow,           // hide the application's own taskbar window
  MinimiseApplication,             // minimise the main window
  RestoreApplication,              // restore the main window if it is minimised
  BringApplicationToFront,         // the main window to the foreground, when visible
  WindowStateNormalThenMaximised,  // normal, then maximised again, when visible
  FocusEntry,                      // the input focus to the window's entry box, when it can take it
  HideTrayApplication,             // the tray icon hides the application and its task-list entry
  ActivateTray,                    // the tray icon appears
};

// A notice for the person at the PC that takes nothing from what they are doing: a small topmost
// window in a corner of every monitor that never takes the keyboard focus, with the system's
// exclamation sound; it goes after `seconds` or at a click. With `countdown`, it shows the
// window's countdown live beneath the text.
struct NoticeRequest {
  std::string text;
  int seconds = 15;
  bool countdown = true;
  bool operator==(const NoticeRequest&) const = default;
};

using Request = std::variant<Message, ShowWindowRequest, OpenUrlRequest, EndProgramRequest,
                             WindowAction, NoticeRequest>;
using Requests = std::vector<Request>;

}  // namespace sentavo::ui
