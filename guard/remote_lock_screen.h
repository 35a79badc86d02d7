// The lock window's model when SentavoGuard runs the real one: each call of the window goes to the
// guard as an event, and what the guard sends back becomes the view, the requests, the switches
// applied in this session and the pointer moved. Start and the per-second tick are the guard's
// own; the fast tick takes in what has arrived and reports the pointer when it moved.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "client/lock_events.h"
#include "client/lock_screen_model.h"
#include "client/ports.h"
#include "guard/protocol.h"

namespace sentavo::guard {

// The window's end of the pipe.
class GuardLink {
 public:
  virtual ~GuardLink() = default;
  virtual void Send(std::vector<std::uint8_t> frame) = 0;
  // The next frame body that has arrived, without waiting.
  virtual std::optional<std::vector<std::uint8_t>> Receive() = 0;
  // The connection was made again since the last call (the guard restarted): say Hello again.
  virtual bool Reconnected() = 0;
  // The guard's bytes made no sense: this connection is given up and a new one made.
  virtual void Drop() = 0;
};

class RemoteLockScreen final : public client::LockScreenModel {
 public:
  // `lock` and `pointer` are this session's own: the guard's switches and moves land there.
  RemoteLockScreen(GuardLink& link, client::SystemLockPort& lock, client::PointerPort& pointer);

  void Start() override;
  void OnFirstShow() override { Post(client::LockEventKind::FirstShow); }
  void OnTimer1() override { TakeIn(); }
  void OnTimer2() override;
  void OnKodChanged(std::string text) override {
    Post(client::LockEventKind::KodChanged, std::move(text));
  }
  void OnKodEnter() override { Post(client::LockEventKind::KodEnter); }
  void OnPrihlasitClick() override { Post(client::LockEventKind::PrihlasitClick); }
  void OnOdhlasitUseraClick() override { Post(client::LockEventKind::OdhlasitUseraClick); }
  void OnSkrytClick() override { Post(client::LockEventKind::SkrytClick); }
  void OnHotKey() override { Post(client::LockEventKind::HotKey); }
  void OnZobrazitSentavo() override { Post(client::LockEventKind::ZobrazitSentavo); }
  void OnCheckBoxChanged(std::size_t index, bool checked) override;
  void OnZamknout() override { Post(client::LockEventKind::Zamknout); }
  void OnPovolitVse() override { Post(client::LockEventKind::PovolitVse); }
  void OnZrusit() override { Post(client::LockEventKind::Zrusit); }
  void OnKonec() override { Post(client::LockEventKind::Konec); }
  void OnOdhlasitAdmina() override { Post(client::LockEventKind::OdhlasitAdmina); }
  void OnUlozitDefault() override { Post(client::LockEventKind::UlozitDefault); }
  void OnOrderLink() override { Post(client::LockEventKind::OrderLink); }
  void OnAdminhesloChanged(std::string text) override {
    Post(client::LockEventKind::AdminhesloChanged, std::move(text));
  }
  void OnProvozChanged(std::string text) override {
    Post(client::LockEventKind::ProvozChanged, std::move(text));
  }
  void OnServercestaChanged(std::string text) override {
    Post(client::LockEventKind::ServercestaChanged, std::move(text));
  }
  void OnServercestaExit() override { Post(client::LockEventKind::ServercestaExit); }
  void OnPozadiFileChanged(std::string text) override {
    Post(client::LockEventKind::PozadiFileChanged, std::move(text));
  }
  void OnPozadiFilePicked(std::string path) override {
    Post(client::LockEventKind::PozadiFilePicked, std::move(path));
  }

  const client::LockScreenView& view() const override { return view_; }
  ui::Requests TakeRequests() override;
  bool ended() const override { return ended_; }

 private:
  void Post(const client::LockEvent& event);
  void Post(client::LockEventKind kind, std::string text = {});
  // Takes in every frame that has arrived; the first that makes no sense drops the connection.
  void TakeIn();
  void Apply(const ToClient& message);

  GuardLink& link_;
  client::SystemLockPort& lock_;
  client::PointerPort& pointer_;
  client::LockScreenView view_;
  ui::Requests requests_;
  bool ended_ = false;
  std::optional<client::ScreenPoint> reported_;
};

}  // namespace sentavo::guard
