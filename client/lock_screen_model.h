// What the lock window binds to: the lock screen's events in, its view and requests out. The
// model itself (LockScreen) is one implementation, run in the window's own process; a proxy that
// carries the same calls to the guard service over its pipe is the other. The window does not
// know which one it has.
#pragma once

#include <cstddef>
#include <string>

#include "client/lock_screen_view.h"
#include "ui/requests.h"

namespace sentavo::client {

class LockScreenModel {
 public:
  virtual ~LockScreenModel() = default;

  // Window creation: locks at once, installs the logon component if missing, reads Sentavo.cfg.
  virtual void Start() = 0;
  // The window is shown for the first time: the UID label and the title line.
  virtual void OnFirstShow() = 0;

  virtual void OnTimer1() = 0;  // once a second
  virtual void OnTimer2() = 0;  // as often as the system allows

  // The login page.
  virtual void OnKodChanged(std::string text) = 0;
  virtual void OnKodEnter() = 0;  // Enter pressed in kod
  virtual void OnPrihlasitClick() = 0;
  virtual void OnOdhlasitUseraClick() = 0;
  virtual void OnSkrytClick() = 0;
  virtual void OnHotKey() = 0;           // Ctrl+Alt+Shift+0, at any moment
  virtual void OnZobrazitSentavo() = 0;  // the tray menu's item

  // The settings page.
  virtual void OnCheckBoxChanged(std::size_t index, bool checked) = 0;  // 0 asFrontApp, 1..15
  virtual void OnZamknout() = 0;
  virtual void OnPovolitVse() = 0;
  virtual void OnZrusit() = 0;
  virtual void OnKonec() = 0;
  virtual void OnOdhlasitAdmina() = 0;
  virtual void OnUlozitDefault() = 0;
  virtual void OnOrderLink() = 0;
  virtual void OnAdminhesloChanged(std::string text) = 0;
  virtual void OnProvozChanged(std::string text) = 0;
  virtual void OnServercestaChanged(std::string text) = 0;
  virtual void OnServercestaExit() = 0;  // the box loses the focus
  virtual void OnPozadiFileChanged(std::string text) = 0;
  virtual void OnPozadiFilePicked(std::string path) = 0;  // the browse button picked a file

  virtual const LockScreenView& view() const = 0;
  // The requests made since the last call, in order.
  virtual ui::Requests TakeRequests() = 0;
  // After an EndProgramRequest the model takes no further events.
  virtual bool ended() const = 0;
};

}  // namespace sentavo::client
