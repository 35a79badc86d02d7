#include "ui/messages_win.h"

#include "formats/wide_win.h"

namespace sentavo::ui {

void ShowMessageBox(HWND owner, const Message& message) {
  UINT icon = 0;
  switch (message.kind) {
    case Message::Kind::Error: icon = MB_ICONERROR; break;
    case Message::Kind::Information: icon = MB_ICONINFORMATION; break;
    case Message::Kind::Stop: icon = MB_ICONSTOP; break;
    case Message::Kind::Plain: icon = 0; break;
  }
  MessageBoxW(owner, Widen(message.text).c_str(), Widen(message.caption).c_str(),
              MB_OK | icon | (owner ? 0u : static_cast<UINT>(MB_TASKMODAL)));
}

}  // namespace sentavo::ui
