#include "ui/binding_win.h"

#include <shellapi.h>

#include <exception>
#include <variant>

#include "formats/wide_win.h"
#include "ui/messages_win.h"

namespace sentavo::ui {
namespace {

ErrorPolicy& Policy() {
  static ErrorPolicy policy;
  return policy;
}

// Sets a flag for as long as it lives, also when what runs meanwhile throws.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

void SetErrorPolicy(ErrorPolicy policy) {
  Policy() = std::move(policy);
}

Message LogException(std::string_view what) noexcept {
  try {
    const std::string text(what);
    OutputDebugStringW(Widen(Policy().applicationTitle + ": " + text + "\n").c_str());
    if (Policy().log) Policy().log(text);
    return StopMessage(Policy().applicationTitle, text);
  } catch (...) {
    return Message{Message::Kind::Stop, {}, {}};
  }
}

void ReportException(std::string_view what) noexcept {
  const Message box = LogException(what);
  // The box runs a message loop: a handler that throws on every paint would open a box per
  // paint. While one box is up, further exceptions are only logged.
  static bool showing = false;
  if (showing) return;
  FlagScope scope(showing);
  try {
    if (Policy().show) {
      Policy().show(box);
    } else {
      ShowMessageBox(GetActiveWindow(), box);
    }
  } catch (...) {
    // Nothing more can be said; the exception is in the debugger's log.
  }
}

std::string CurrentExceptionText() {
  try {
    throw;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown error";
  }
}

bool OpenUrl(const std::string& url) {
  const auto r = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", Widen(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return r > 32;
}

void RequestHost::OnMessage(const Message& message) {
  ShowMessageBox(MessageOwner(), message);
}

void RequestHost::OnOpenUrl(const OpenUrlRequest& request) {
  OpenUrl(request.url);
}

void CarryOut(const Requests& requests, RequestHost& host) {
  for (const Request& request : requests) {
    if (const auto* m = std::get_if<Message>(&request)) {
      host.OnMessage(*m);
    } else if (const auto* url = std::get_if<OpenUrlRequest>(&request)) {
      host.OnOpenUrl(*url);
    } else if (const auto* show = std::get_if<ShowWindowRequest>(&request)) {
      host.OnShowWindow(*show);
    } else if (const auto* end = std::get_if<EndProgramRequest>(&request)) {
      host.OnEndProgram(*end);
    } else if (const auto* action = std::get_if<WindowAction>(&request)) {
      host.OnWindowAction(*action);
    } else if (const auto* notice = std::get_if<NoticeRequest>(&request)) {
      host.OnNotice(*notice);
    }
  }
}

void EventDispatcher::Run(const std::function<Requests()>& event) {
  if (accepting_ && !accepting_()) return;
  Requests requests;
  try {
    requests = event();
    if (source_) {
      for (Request& r : source_()) requests.push_back(std::move(r));
    }
  } catch (...) {
    // The model's requests made before it failed still go out, the error box last.
    if (source_) {
      try {
        for (Request& r : source_()) requests.push_back(std::move(r));
      } catch (...) {
      }
    }
    requests.push_back(LogException(CurrentExceptionText()));
  }
  try {
    Mirror();
  } catch (...) {
    requests.push_back(LogException(CurrentExceptionText()));
  }
  CarryOut(requests, host_);
}

void EventDispatcher::Mirror() {
  FlagScope scope(mirroring_);
  for (const auto& mirror : mirrors_) mirror();
}

}  // namespace sentavo::ui
