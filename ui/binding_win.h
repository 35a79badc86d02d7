// The binding layer every window of both programs stands on. A portable model exposes a const view
// (plain data) and takes events through methods; the window mirrors the view and routes each
// control event to one model method with Bind. Every event runs through one EventDispatcher:
// it runs the model method, catches what it throws (the general error box), mirrors every bound
// window in one guarded pass, then carries the model's requests out (ui/requests.h) through the
// shared handler CarryOut and the window's RequestHost.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "ui/controls_win.h"
#include "ui/owner_data_list_win.h"
#include "ui/requests.h"

namespace sentavo::ui {

// ---- Exceptions: one policy for every program.

struct ErrorPolicy {
  std::string applicationTitle;                 // the caption of the general error box
  std::function<void(const std::string&)> log;  // the program's log file, when it keeps one
  // How ReportException shows its box; empty: modal to the active window.
  std::function<void(const Message&)> show;
};
// Set once at start, before the first window.
void SetErrorPolicy(ErrorPolicy policy);
// Writes `what` to the debugger (OutputDebugStringW) and the program's log, and returns the
// general error box: stop icon, the application title as caption, the text ending with a full stop.
Message LogException(std::string_view what) noexcept;
// The same for an exception caught outside an event (a window procedure): the box shows at once,
// unless one such box is already up.
void ReportException(std::string_view what) noexcept;
// The text of the exception being handled; for use in a catch block only.
std::string CurrentExceptionText();

// ---- Requests.

// What a window does with the requests. Messages and web addresses are handled here alike for
// every window; showing, ending and the other window actions are each window's own.
class RequestHost {
 public:
  virtual ~RequestHost() = default;
  // The window that owns the message boxes: the one the user works in.
  virtual HWND MessageOwner() const = 0;
  // A modal box owned by MessageOwner(); returns when the user pressed "OK".
  virtual void OnMessage(const Message& message);
  virtual void OnOpenUrl(const OpenUrlRequest& request);
  virtual void OnShowWindow(const ShowWindowRequest& request) = 0;
  virtual void OnEndProgram(const EndProgramRequest& request) = 0;
  virtual void OnWindowAction(WindowAction /*action*/) {}
  virtual void OnNotice(const NoticeRequest& /*request*/) {}
};

// Opens a web address with the system's default handler; false when it could not be opened.
bool OpenUrl(const std::string& url);
// Carries the requests out in the order given.
void CarryOut(const Requests& requests, RequestHost& host);

// ---- The dispatch path.

class EventDispatcher {
 public:
  explicit EventDispatcher(RequestHost& host) : host_(host) {}
  EventDispatcher(const EventDispatcher&) = delete;
  EventDispatcher& operator=(const EventDispatcher&) = delete;

  // A window's mirror, run after every event in the order added.
  void AddMirror(std::function<void()> mirror) { mirrors_.push_back(std::move(mirror)); }
  // Requests a model queues rather than returns (taken after every event).
  void SetRequestSource(std::function<Requests()> source) { source_ = std::move(source); }
  // Events are dropped while this answers false (a model that has ended the program).
  void SetAccepting(std::function<bool()> accepting) { accepting_ = std::move(accepting); }

  // Runs one event and everything that follows it.
  void Run(const std::function<Requests()>& event);
  // Mirrors every window in one pass; control events raised meanwhile are the mirror's own and
  // reach no model.
  void Mirror();
  bool Mirroring() const { return mirroring_; }

 private:
  RequestHost& host_;
  std::vector<std::function<void()>> mirrors_;
  std::function<Requests()> source_;
  std::function<bool()> accepting_;
  bool mirroring_ = false;
};

// Routes control events of one window to methods of its model. A model method may return nothing
// or the requests it makes.
template <class Model>
class Binder {
 public:
  explicit Binder(EventDispatcher& dispatcher) : dispatcher_(dispatcher) {}

  void Attach(Model& model) { model_ = &model; }
  Model* model() const { return model_; }

  // Runs `method(args...)` of the model as one event.
  template <class R, class... P, class... A>
  void Run(R (Model::*method)(P...), A&&... args) {
    if (!model_) return;
    Model* m = model_;
    dispatcher_.Run([&]() -> Requests {
      if constexpr (std::is_void_v<R>) {
        (m->*method)(std::forward<A>(args)...);
        return {};
      } else {
        return (m->*method)(std::forward<A>(args)...);
      }
    });
  }

  // A press: any control whose OnClick takes any arguments (buttons, colour buttons, links).
  template <class Clickable, class R>
  void Bind(Clickable& control, R (Model::*method)()) {
    control.OnClick = [this, method](auto&&...) { Run(method); };
  }
  // A press passed on with fixed arguments (which one of a row of buttons it is).
  template <class Clickable, class R, class... P, class... A>
  void BindWith(Clickable& control, R (Model::*method)(P...), A... bound) {
    control.OnClick = [this, method, bound...](auto&&...) { Run(method, bound...); };
  }
  // Any event `handler` of a control, with no value.
  template <class Handler, class R>
  void BindEvent(Handler& handler, R (Model::*method)()) {
    handler = [this, method](auto&&...) { Run(method); };
  }
  // A value the user changed: `read` gives the control's value when `handler` fires. Changes the
  // mirror makes itself are not passed on.
  template <class Handler, class Read, class R, class P>
  void BindValue(Handler& handler, R (Model::*method)(P), Read read) {
    handler = [this, method, read](auto&&...) {
      if (!dispatcher_.Mirroring()) Run(method, read());
    };
  }

  // Text typed into an edit.
  template <class R>
  void Bind(Edit& edit, R (Model::*method)(std::string)) {
    BindValue(edit.OnChange, method, [&edit] { return edit.Text(); });
  }
  // Enter typed into an edit.
  template <class R>
  void BindEnter(Edit& edit, R (Model::*method)()) {
    edit.OnEnterKey = [this, method] { Run(method); };
  }
  template <class R>
  void Bind(CheckBox& box, R (Model::*method)(bool)) {
    BindValue(box.OnClick, method, [&box] { return box.Checked(); });
  }
  // One of a row of check boxes, passed on with what it stands for (an index, a right).
  template <class R, class Key>
  void Bind(CheckBox& box, R (Model::*method)(Key, bool), Key key) {
    box.OnClick = [this, method, key, &box] {
      if (!dispatcher_.Mirroring()) Run(method, key, box.Checked());
    };
  }
  // The chosen item of a list or a drop-down list; none is std::nullopt.
  template <class R>
  void Bind(ListBox& list, R (Model::*method)(std::optional<std::size_t>)) {
    BindValue(list.OnSelect, method, [&list] { return IndexOf(list.ItemIndex()); });
  }
  template <class R>
  void Bind(OwnerDataListBox& list, R (Model::*method)(std::optional<std::size_t>)) {
    BindValue(list.OnSelect, method, [&list] { return IndexOf(list.ItemIndex()); });
  }
  template <class R>
  void Bind(ComboBox& combo, R (Model::*method)(std::optional<std::size_t>)) {
    BindValue(combo.OnChange, method, [&combo] { return IndexOf(combo.ItemIndex()); });
  }

  static std::optional<std::size_t> IndexOf(int index) {
    return index < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(index));
  }

 private:
  EventDispatcher& dispatcher_;
  Model* model_ = nullptr;
};

}  // namespace sentavo::ui
