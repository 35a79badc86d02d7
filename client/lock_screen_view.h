// The lock window as data: what every control shows, and what the window must do beyond showing
// it. The Win32 window mirrors LockScreenView after every event and carries out the requests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "client/lock_screen_texts.h"
#include "formats/config_record.h"

namespace sentavo::client {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kSilver{192, 192, 192};
inline constexpr Rgb kGreen{0, 128, 0};
inline constexpr Rgb kRed{255, 0, 0};

struct LabelView {
  std::string text;
  Rgb colour = kWhite;
  bool visible = true;
  // Drawn without a background box. The detail labels take this from their text once a second:
  // an empty label must leave no box on the background picture.
  bool transparent = false;
  bool operator==(const LabelView&) const = default;
};

struct EditView {
  std::string text;
  bool enabled = true;
  bool operator==(const EditView&) const = default;
};

struct ButtonView {
  bool enabled = true;
  bool visible = true;
  bool operator==(const ButtonView&) const = default;
};

enum class Page { TabSheet1, TabSheet2 };

struct LockScreenView {
  // The form: stay-on-top while locked, normal otherwise; no border while locked, sizeable during
  // an administrator's period.
  bool stayOnTop = false;
  bool borderSizeable = false;

  // The top bar.
  std::string odpocetLED{texts::kLcdAtDesign};
  std::string hodinky{texts::kLcdAtDesign};
  std::string tit;

  // The page control; TabSheet2 is the settings page.
  bool tabSheet2Visible = false;
  Page activePage = Page::TabSheet1;

  // TabSheet1, the lock screen.
  bool zamcenoVisible = true;
  LabelView infoLabel{"", kSilver, /*visible=*/true, /*transparent=*/false};
  EditView kod;
  ButtonView odhlasitUseraBut{/*enabled=*/false, /*visible=*/true};
  ButtonView prihlasitBut;
  ButtonView skrytBut{/*enabled=*/true, /*visible=*/false};
  LabelView datod{"", kGreen, /*visible=*/true, /*transparent=*/true};
  LabelView datdo{"", kGreen, /*visible=*/true, /*transparent=*/true};
  LabelView smidelit{"", kGreen, /*visible=*/true, /*transparent=*/true};
  std::string backgroundPicture;  // shown in pozadi; empty for the built-in picture
  std::string logoFile;           // shown in LogoBig; empty for none

  // TabSheet2, the settings page.
  std::string adminheslo;
  std::string servercesta = "C:\\";
  std::string provoz;
  std::string pozadiFile;
  std::string uid;
  // The sixteen check boxes: asFrontApp, then the rights set in order.
  SwitchSet switches = kDefaultSwitches;

  bool operator==(const LockScreenView&) const = default;
};

// What the window must do that is not a control's state.
enum class RequestKind {
  HideApplicationWindow,           // hide the application's own taskbar window (SW_HIDE)
  MinimiseApplication,             // SkrytBut
  RestoreApplication,              // restore the application if it is minimised
  BringApplicationToFront,         // while locked, every second
  WindowStateNormalThenMaximised,  // at expiry
  FocusKod,                        // the input focus to kod
  HideTrayApplication,             // BUTrayIcon1: ApplicationVisible and VisibleInTaskList false
  ActivateTray,                    // BUTrayIcon1.Active := true
  ShowMessage,                     // a message box with an OK button showing `text`
  OpenUrl,                         // open `text` with the system's default handler
  CloseProgram,                    // close the window and end with `exitCode`
};

struct WindowRequest {
  RequestKind kind;
  std::string text;
  int exitCode = 0;
  bool operator==(const WindowRequest&) const = default;
};

using WindowRequests = std::vector<WindowRequest>;

}  // namespace sentavo::client
