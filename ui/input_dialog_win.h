// A small modal dialog that asks for one line of text: a prompt, an edit, "OK" and a cancel
// button. Built from a template in memory, so it is a real dialog (#32770): Enter is "OK",
// Escape cancels, and a test finds its controls by their IDs.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace sentavo::ui {

struct InputDialogSpec {
  std::string caption;
  std::string prompt;
  std::string okCaption = "OK";
  std::string cancelCaption = "Cancel";
  int promptId = 0;
  int editId = 0;
  int maxChars = 0;  // 0: the edit's own limit
};

// The text typed (UTF-8) when the operator pressed "OK"; nothing when cancelled.
std::optional<std::string> AskText(HWND owner, const InputDialogSpec& request);

}  // namespace sentavo::ui
