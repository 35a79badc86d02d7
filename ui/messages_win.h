// Message boxes on screen: the forms of ui/messages.h shown with MessageBoxW.
#pragma once

#include <windows.h>

#include "ui/messages.h"

namespace sentavo::ui {

// Modal to `owner`; returns when the user pressed "OK".
void ShowMessageBox(HWND owner, const Message& message);

}  // namespace sentavo::ui
