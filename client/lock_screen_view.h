// The lock window as data: what every control shows. The Win32 window mirrors LockScreenView after
// every event and then carries out the model's requests (ui/requests.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "client/lock_screen_texts.h"
#include "formats/config_record.h"
#include "ui/color.h"
#include "ui/requests.h"

namespace sentavo::client {

struct LabelView {
  std::string text;
  ui::TColor colour = ui::clWhite;
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
  // The library blocks nothing (its trial mode): a warning in red, for anyone in front of the PC.
  bool trialMode = false;

  // The page control; TabSheet2 is the settings page.
  bool tabSheet2Visible = false;
  Page activePage = Page::TabSheet1;

  // TabSheet1, the lock screen.
  bool zamcenoVisible = true;
  LabelView infoLabel{"", ui::clSilver, /*visible=*/true, /*transparent=*/false};
  EditView kod;
  ButtonView odhlasitUseraBut{/*enabled=*/false, /*visible=*/true};
  ButtonView prihlasitBut;
  ButtonView skrytBut{/*enabled=*/true, /*visible=*/false};
  LabelView datod{"", ui::clGreen, /*visible=*/true, /*transparent=*/true};
  LabelView datdo{"", ui::clGreen, /*visible=*/true, /*transparent=*/true};
  LabelView smidelit{"", ui::clGreen, /*visible=*/true, /*transparent=*/true};
  std::string backgroundPicture;  // shown in pozadi; empty for the built-in picture
  std::string logoFile;           // shown in LogoBig; empty for none

  // The tray icon's tip: the time left while a guest's period runs.
  std::string trayHint{texts::kApplicationTitle};

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

// The page the window makes active after a change: the settings page only while its tab is
// shown; none leaves the page control as it is.
inline std::optional<Page> PageToActivate(const LockScreenView& v) {
  if (v.activePage == Page::TabSheet1 || v.tabSheet2Visible) return v.activePage;
  return std::nullopt;
}

}  // namespace sentavo::client
