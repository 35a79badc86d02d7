// TGlobalHotKey's window on Windows: a message-only window that registers the hot key with
// identifier 0 and hears WM_HOTKEY.
#pragma once

#include <memory>

#include "lockengine/global_hot_key.h"

namespace sentavo::lockengine {

std::unique_ptr<HotKeyBackend> MakeWin32HotKeyBackend();

}  // namespace sentavo::lockengine
