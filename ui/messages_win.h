// Message boxes on screen: the forms of ui/messages.h shown with MessageBoxW.
#pragma once

#include <windows.h>

#include "ui/messages.h"

namespace sentavo::ui {

// Modal to `owner`; returns when the user pressed "OK".
void ShowMessageBox(HWND owner, const Message& message);

class WinMessageSink final : public MessageSink {
 public:
  explicit WinMessageSink(HWND owner = nullptr) : owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }
  void Show(const Message& message) override { ShowMessageBox(owner_, message); }

 private:
  HWND owner_;
};

}  // namespace sentavo::ui
