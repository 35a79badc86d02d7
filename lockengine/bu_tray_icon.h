// TBUTrayIcon: an icon in the notification area that reports the mouse on it as events, pops up
// menus, can animate itself from an image list, and can hide the program's taskbar button.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "lockengine/shell_types.h"
#include "ui/component.h"

namespace sentavo::lockengine {

// The shell calls back with this message; lParam carries the mouse message.
inline constexpr std::uint32_t kTrayCallbackMessage = 0x0400 + 1;  // 1025
inline constexpr std::size_t kTrayTipLength = 63;                  // UTF-16 units, zero aside

// What goes into the shell's notification record.
struct TrayRecord {
  WindowHandle window = 0;
  std::uint32_t id = 1;
  std::uint32_t flags = 7;  // message, icon and tip are valid
  std::uint32_t callbackMessage = kTrayCallbackMessage;
  IconHandle icon = 0;
  std::string tip;  // UTF-8, at most kTrayTipLength UTF-16 units
};

enum class TrayCommand { Add, Modify, Delete };

// The tip of a hint: the part before the first "|", cut to 63 UTF-16 units; a character that
// needs two units is not split.
std::string TrayTip(std::string_view hint);

// One thing the tray icon does for a mouse message.
enum class TrayStep {
  MouseMove,
  LeftButtonDown,
  LeftButtonUp,
  LeftButtonDblClick,
  RightButtonDown,
  RightButtonUp,
  RightButtonDblClick,
  MiddleButtonDown,
  MiddleButtonUp,
  MiddlebuttonDblClk,
  MouseUp,
  Click,
  DblClick,
  PopupMenu,     // pops PopupMenu up at the cursor
  DropDownMenu,  // pops DropDownMenu up at the cursor
};

// The steps for WM_MOUSEMOVE .. WM_MBUTTONDBLCLK (512 .. 521), in order; none for anything else.
std::span<const TrayStep> TraySteps(std::intptr_t mouseMessage);

// The tray window, the shell and the process around the icon.
class TrayBackend {
 public:
  struct Handlers {
    std::function<void(std::intptr_t mouseMessage)> callback;  // message 1025
    std::function<void()> taskbarCreated;                      // Explorer (re)started
    std::function<void()> tick;                                // the animation timer
  };
  virtual ~TrayBackend() = default;  // the timer, the icon copy and the tray window go
  virtual void Attach(Handlers handlers) = 0;
  virtual WindowHandle Window() const = 0;
  // Shell_NotifyIcon; its result is not looked at.
  virtual void Notify(TrayCommand command, const TrayRecord& record) = 0;
  virtual IconHandle ApplicationIcon() = 0;
  // Copies `icon` into the component's own icon, freeing the previous copy; returns the copy.
  virtual IconHandle TakeIcon(IconHandle icon) = 0;
  virtual void SetTimer(bool running, std::uint32_t interval) = 0;
  virtual Point CursorPos() = 0;
  // Shows or hides the window that carries the program's taskbar button.
  virtual void ShowApplicationWindow(bool visible) = 0;
  // Where the system exports "RegisterServiceProcess".
  virtual bool CanRegisterServiceProcess() const = 0;
  virtual void RegisterServiceProcess(bool hideFromTaskList) = 0;
  // The application's standard error report.
  virtual void ReportError(const std::string& text) = 0;
};

class TBUTrayIcon : public ui::Component {
 public:
  TBUTrayIcon(ui::Component* owner, std::string name, std::unique_ptr<TrayBackend> backend);
  // The icon leaves the notification area. The task-list entry is left as it is: a component
  // going away has no business hiding the process.
  ~TBUTrayIcon() override;

  bool Active() const { return active_; }
  void SetActive(bool value);
  IconHandle Icon() const { return record_.icon; }
  void SetIcon(IconHandle icon);
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint);
  bool ApplicationVisible() const { return applicationVisible_; }
  void SetApplicationVisible(bool value);
  bool Animated() const { return animated_; }
  void SetAnimated(bool value);
  std::uint32_t Delay() const { return delay_; }
  void SetDelay(std::uint32_t milliseconds);
  bool VisibleInTaskList() const { return visibleInTaskList_; }
  void SetVisibleInTaskList(bool value);

  // Plain fields: assigning them only stores the value, and nothing watches their lifetime.
  PopupMenuRef* PopupMenu = nullptr;     // opened on release of the right button
  PopupMenuRef* DropDownMenu = nullptr;  // opened on press of the left button
  ImageListRef* Icons = nullptr;         // the frames of the animation
  TNotifyEvent OnClick, OnDblClick, OnMouseMove, OnMouseUp;
  TNotifyEvent OnLeftButtonDown, OnLeftButtonUp, OnLeftButtonDblClick;
  TNotifyEvent OnRightButtonDown, OnRightButtonUp, OnRightButtonDblClick;
  TNotifyEvent OnMiddleButtonDown, OnMiddleButtonUp, OnMiddlebuttonDblClk;

  void HideApplication() { backend_->ShowApplicationWindow(false); }
  void ShowApplication() { backend_->ShowApplicationWindow(true); }

  const TrayRecord& Record() const { return record_; }
  int FrameIndex() const { return frame_; }
  WindowHandle TrayWindow() const { return backend_->Window(); }

  // What the tray window receives.
  void HandleCallback(std::intptr_t mouseMessage);
  void HandleTaskbarCreated();
  void HandleAnimationTick();

 private:
  void RunStep(TrayStep step);
  void PopUp(PopupMenuRef* menu);

  std::unique_ptr<TrayBackend> backend_;
  TrayRecord record_;
  bool active_ = false;
  std::string hint_;
  bool applicationVisible_ = true;
  bool animated_ = false;
  std::uint32_t delay_ = 100;
  bool visibleInTaskList_ = true;
  int frame_ = 0;
};

}  // namespace sentavo::lockengine
