// Test doubles for the lock engine: a library that records its calls, a registry in memory, and
// the system services of each component.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "formats/registry.h"
#include "lockengine/gina_library.h"
#include "lockengine/systemlock.h"

namespace sentavo::lockengine::test {

// Every call as "wlDisableKey(0, 27, 1, 1)", the form the library's own journal uses.
class FakeGina : public GinaLibrary {
 public:
  std::vector<std::string> calls;
  std::int32_t disableKeyResult = 1;
  std::int32_t installResult = 1;
  std::int32_t installedResult = 1;
  std::deque<std::int32_t> winVersions;  // answered in turn; 0 when empty

  std::int32_t wlDisableItem(std::int32_t item, std::int32_t disable) override {
    return Log("wlDisableItem(" + N(item) + ", " + N(disable) + ")", 1);
  }
  std::int32_t wlDisableKey(std::int32_t reserved, std::int32_t key, std::int32_t mask,
                            std::int32_t block) override {
    return Log(
        "wlDisableKey(" + N(reserved) + ", " + N(key) + ", " + N(mask) + ", " + N(block) + ")",
        disableKeyResult);
  }
  std::int32_t wlSetKeyPostMessage(WindowHandle window, std::uint32_t press,
                                   std::uint32_t release) override {
    return Log("wlSetKeyPostMessage(" + std::to_string(window) + ", " + std::to_string(press) +
                   ", " + std::to_string(release) + ")",
               1);
  }
  std::int32_t wlInstallGina(std::int32_t flags) override {
    return Log("wlInstallGina(" + N(flags) + ")", installResult);
  }
  std::int32_t wlIsGinaInstalled() override { return Log("wlIsGinaInstalled()", installedResult); }
  std::int32_t wlWinVersion() override {
    std::int32_t v = 0;
    if (!winVersions.empty()) {
      v = winVersions.front();
      winVersions.pop_front();
    }
    return Log("wlWinVersion()", v);
  }
  std::int32_t wlRestoreAll() override { return Log("wlRestoreAll()", 1); }

 private:
  static std::string N(std::int32_t v) { return std::to_string(v); }
  std::int32_t Log(std::string call, std::int32_t result) {
    calls.push_back(std::move(call));
    return result;
  }
};

// Keys hold string values, or values of another type (kept as "non-string").
class FakeRegistry : public Registry {
 public:
  using Key = std::pair<RegistryRoot, std::string>;
  struct Value {
    std::string text;
    bool isString = true;
  };
  std::map<Key, std::map<std::string, Value>> keys;
  std::vector<std::string> writes;  // "key\name=value" for every successful write

  void AddKey(RegistryRoot root, const std::string& key) { keys[{root, key}]; }
  void Set(RegistryRoot root, const std::string& key, const std::string& name,
           const std::string& value, bool isString = true) {
    keys[{root, key}][name] = {value, isString};
  }
  std::optional<std::string> Get(RegistryRoot root, const std::string& key,
                                 const std::string& name) const {
    const auto k = keys.find({root, key});
    if (k == keys.end()) return std::nullopt;
    const auto v = k->second.find(name);
    if (v == k->second.end()) return std::nullopt;
    return v->second.text;
  }

  RegistryString ReadString(RegistryRoot root, const std::string& key,
                            const std::string& name) override {
    const auto k = keys.find({root, key});
    if (k == keys.end()) return {ReadStatus::NoKey, {}};
    const auto v = k->second.find(name);
    if (v == k->second.end()) return {ReadStatus::NoValue, {}};
    if (!v->second.isString) return {ReadStatus::NotString, {}};
    return {ReadStatus::Ok, v->second.text};
  }
  bool WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                   const std::string& value, bool createKey) override {
    if (!createKey && !keys.contains({root, key})) return false;
    keys[{root, key}][name] = {value, true};
    writes.push_back(key + "\\" + name + "=" + value);
    return true;
  }
  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override {
    const auto k = keys.find({root, key});
    return k != keys.end() && k->second.erase(name) == 1;
  }
  // A DWORD is kept as its decimal text, marked as no string.
  std::unique_ptr<RegistryKey> OpenOrCreateKey(RegistryRoot root, std::string_view key) override {
    struct OpenKey final : RegistryKey {
      FakeRegistry* owner;
      Key at;
      OpenKey(FakeRegistry* o, Key k) : owner(o), at(std::move(k)) {}
      bool SetDword(std::string_view name, std::uint32_t value) override {
        owner->keys[at][std::string(name)] = {std::to_string(value), false};
        owner->writes.push_back(at.second + "\\" + std::string(name) + "=" + std::to_string(value));
        return true;
      }
    };
    keys[{root, std::string(key)}];
    return std::make_unique<OpenKey>(this, Key{root, std::string(key)});
  }
};

class FakeKeyWindow : public KeyMessageWindow {
 public:
  explicit FakeKeyWindow(WindowHandle h, int* alive) : handle_(h), alive_(alive) { ++*alive_; }
  ~FakeKeyWindow() override { --*alive_; }
  WindowHandle Handle() const override { return handle_; }

 private:
  WindowHandle handle_;
  int* alive_;
};

class FakeControl : public StartControl {
 public:
  explicit FakeControl(std::string kind, std::vector<std::string>* log)
      : kind(std::move(kind)), log_(log) {}
  ~FakeControl() override { log_->push_back("free " + kind); }
  void SetOnClick(std::function<void()> handler) override { onClick = std::move(handler); }
  void PlaceIn(WindowHandle panel, std::int32_t w, std::int32_t h) override {
    log_->push_back("place " + kind + " in " + std::to_string(panel) + " " + std::to_string(w) +
                    "x" + std::to_string(h));
  }
  void Click() override {
    if (onClick) onClick();
  }
  std::string kind;
  std::function<void()> onClick;

 private:
  std::vector<std::string>* log_;
};

class FakePanel : public StartPanel {
 public:
  FakePanel(WindowHandle h, std::unique_ptr<StartControl> control, std::vector<std::string>* log)
      : handle_(h), control_(std::move(control)), log_(log) {}
  ~FakePanel() override { log_->push_back("free panel " + std::to_string(handle_)); }
  WindowHandle Handle() const override { return handle_; }
  StartControl& Control() override { return *control_; }

 private:
  WindowHandle handle_;
  std::unique_ptr<StartControl> control_;
  std::vector<std::string>* log_;
};

class FakeStartButtons : public StartButtonHost {
 public:
  std::optional<Rect> button;  // the real start button, when there is one
  std::int32_t menuHeight = 0;
  std::vector<std::string> log;
  WindowHandle nextPanel = 500;
  StartControl* lastControl = nullptr;  // the control of the last panel made

  std::optional<Rect> FindStartButton() override {
    log.push_back("find");
    return button;
  }
  void BringTaskbarToForeground() override { log.push_back("taskbar to front"); }
  std::unique_ptr<StartControl> CapturePicture(const Rect& r) override {
    log.push_back("capture " + std::to_string(r.Width()) + "x" + std::to_string(r.Height()));
    return std::make_unique<FakeControl>("picture", &log);
  }
  std::unique_ptr<StartPanel> CreatePanel(const Rect& r,
                                          std::unique_ptr<StartControl> control) override {
    const WindowHandle h = nextPanel++;
    log.push_back("panel " + std::to_string(h));
    control->PlaceIn(h, r.Width(), r.Height());
    lastControl = control.get();
    return std::make_unique<FakePanel>(h, std::move(control), &log);
  }
  std::int32_t MeasureMenuHeight(PopupMenuRef& menu, Point at) override {
    log.push_back("measure " + menu.name() + " at " + std::to_string(at.x) + "," +
                  std::to_string(at.y));
    return menuHeight;
  }
};

class FakeLockPlatform : public SystemLockPlatform {
 public:
  FakeGina gina;
  FakeRegistry registry;
  FakeStartButtons startButtons;
  std::string programPath = "C:\\Sentavo\\SentavoClient.exe";
  Point cursor{640, 480};
  int keyWindowsAlive = 0;
  int keyWindowsMade = 0;
  KeyMessageHandler keyHandler;
  std::vector<WindowHandle> foreground;

  GinaLibrary& Gina() override { return gina; }
  Registry& SystemRegistry() override { return registry; }
  std::string ProgramPath() override { return programPath; }
  std::unique_ptr<KeyMessageWindow> CreateKeyMessageWindow(KeyMessageHandler handler) override {
    keyHandler = std::move(handler);
    ++keyWindowsMade;
    return std::make_unique<FakeKeyWindow>(0x1234, &keyWindowsAlive);
  }
  Point CursorPos() override { return cursor; }
  void BringToForeground(WindowHandle form) override { foreground.push_back(form); }
  StartButtonHost& StartButtons() override { return startButtons; }
};

// A form: owns the components and has a window.
class FakeForm : public ui::Component, public FormWindow {
 public:
  FakeForm() : ui::Component(nullptr, "LockWindow") {}
  ~FakeForm() override { DestroyComponents(); }
  WindowHandle FormHandle() const override { return 0xF0; }
};

class FakeMenu : public PopupMenuRef {
 public:
  FakeMenu(ui::Component* owner, std::string name, std::vector<std::string>* log)
      : PopupMenuRef(owner, std::move(name)), log_(log) {}
  MenuHandle Handle() const override { return 0x77; }
  void Popup(std::int32_t x, std::int32_t y) override {
    log_->push_back("popup " + name() + " at " + std::to_string(x) + "," + std::to_string(y));
  }

 private:
  std::vector<std::string>* log_;
};

// A speed button with a caption as its one stored property.
class FakeSpeedButton : public CopyableButton {
 public:
  FakeSpeedButton(ui::Component* owner, std::string name, std::string caption,
                  std::vector<std::string>* log)
      : CopyableButton(owner, std::move(name)), caption(std::move(caption)), log_(log) {}
  std::unique_ptr<CopyableButton> CopyStoredProperties() const override {
    log_->push_back("copy while named '" + name() + "'");
    return std::make_unique<FakeSpeedButton>(nullptr, std::string(), caption, log_);
  }
  void SetOnClick(std::function<void()> handler) override { onClick = std::move(handler); }
  void PlaceIn(WindowHandle panel, std::int32_t w, std::int32_t h) override {
    log_->push_back("place " + caption + " named " + name() + " in " + std::to_string(panel) + " " +
                    std::to_string(w) + "x" + std::to_string(h));
  }
  void Click() override {
    if (onClick) onClick();
  }
  std::string caption;
  std::function<void()> onClick;

 private:
  std::vector<std::string>* log_;
};

}  // namespace sentavo::lockengine::test
