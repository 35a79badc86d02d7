// The guard's side of the lock screen: the model runs here for the whole logon, whatever becomes of
// the window that shows it. A window connects, says Hello, and gets the whole state (the switches,
// the view, the requests kept for it); after that it sends the guest's events and gets what
// changed. A window that goes away takes nothing with it: the countdown and the lock go on, and
// the next window is shown the same state.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "client/lock_screen.h"
#include "guard/protocol.h"

namespace sentavo::guard {

// Where the guard's frames go: the connected window's end of the pipe.
class Transport {
 public:
  virtual ~Transport() = default;
  virtual void Send(std::vector<std::uint8_t> frame) = 0;
};

// The parts of the key-blocking library that act on the whole machine, answered by the guard's
// own copy of it: the window in the session applies only the switches.
class MachineLibrary {
 public:
  virtual ~MachineLibrary() = default;
  virtual bool IsGinaInstalled() = 0;
  virtual bool InstallGina() = 0;
  virtual bool TrialMode() = 0;
};

// The model's outside world in the guard; each must outlive the session.
struct GuardServices {
  const Clock& clock;
  const DateTimeFormats& formats;
  FileAccess& files;
  Registry& policies;  // the logged-on user's policy values
  client::ClientEnvironment& environment;
  client::MachineIdentity& identity;
  MachineLibrary& library;
  std::function<void(std::string_view)> log;
  const client::StationInfo* station = nullptr;  // reports and commands; none without
};

class GuardSession {
 public:
  explicit GuardSession(const GuardServices& services);
  GuardSession(const GuardSession&) = delete;
  GuardSession& operator=(const GuardSession&) = delete;
  ~GuardSession();

  // The logon: the model starts, locked.
  void Start();
  void OnTimer1();

  // A window connected; `transport` stays valid until OnDisconnected.
  void OnConnected(Transport& transport);
  // One frame body from the window. False: the frame was malformed, out of order or not for this
  // end; the model was not touched and the connection must be dropped.
  bool OnFrame(std::span<const std::uint8_t> body);
  void OnDisconnected();
  bool connected() const { return transport_ != nullptr; }

  // The model ended the program (the master password, "Zrušit ochranu", "Konec"): the guard stays
  // idle until the next logon.
  bool ended() const { return model_->ended(); }
  // A guest's or the administrator's period runs: the PC is open.
  bool periodRunning() const { return model_->countdown() > 0; }
  const client::LockScreen& model() const { return *model_; }

 private:
  class Switches;
  class Pointer;

  void Flush();
  void SendAll();
  void Send(const ToClient& message);

  GuardServices s_;
  std::unique_ptr<Switches> switches_;
  std::unique_ptr<Pointer> pointer_;
  std::unique_ptr<client::LockScreen> model_;
  Transport* transport_ = nullptr;
  bool hello_ = false;
  std::optional<client::LockScreenView> sent_;
  // Requests made while no window listens, for the next one: messages and the end of the program,
  // not the window actions of every second.
  ui::Requests kept_;
};

// The view as the window may see it: the administrator's password only while the settings page,
// where the administrator edits it, is shown.
client::LockScreenView ViewForWindow(const client::LockScreenView& view);

}  // namespace sentavo::guard
