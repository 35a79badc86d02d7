// The window base under Wine: messages reach the object, exceptions stay inside, teardown clears
// the back-pointer.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "ui/binding_win.h"
#include "ui/form_win.h"
#include "ui/window_win.h"

namespace sentavo::ui {
namespace {

class Recorder : public Window {
 public:
  std::vector<UINT> seen;
  bool destroyed = false;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    seen.push_back(msg);
    if (msg == WM_APP) return 1234;
    if (msg == WM_APP + 1) throw std::runtime_error("handler failed");
    return Window::HandleMessage(msg, wp, lp);
  }
  void OnHandleDestroyed() override { destroyed = true; }
};

TEST(Window, RoutesMessagesToTheObjectAndKeepsExceptionsInside) {
  std::vector<std::string> logged;
  std::vector<Message> shown;
  SetErrorPolicy({"Sentavo ADMIN", [&](const std::string& text) { logged.push_back(text); },
                  [&](const Message& box) { shown.push_back(box); }});
  Recorder w;
  WindowSpec desc;
  desc.className = L"SentavoTestWindow";
  desc.parent = HWND_MESSAGE;
  ASSERT_TRUE(w.Create(desc)) << GetLastError();
  ASSERT_NE(w.hwnd(), nullptr);
  EXPECT_EQ(w.seen.front(), static_cast<UINT>(WM_NCCREATE));
  EXPECT_EQ(SendMessageW(w.hwnd(), WM_APP, 0, 0), 1234);
  EXPECT_EQ(SendMessageW(w.hwnd(), WM_APP + 1, 0, 0), 0);  // swallowed, not propagated
  // ...but neither silently: logged, and shown as the general error box.
  EXPECT_EQ(logged, std::vector<std::string>{"handler failed"});
  EXPECT_EQ(shown, (std::vector<Message>{StopMessage("Sentavo ADMIN", "handler failed")}));
  SetErrorPolicy({});
  const HWND h = w.hwnd();
  w.Destroy();
  EXPECT_TRUE(w.destroyed);
  EXPECT_EQ(w.hwnd(), nullptr);
  EXPECT_FALSE(IsWindow(h));
}

// A handler that throws on every paint must not open a box per paint: the box's own message loop
// would paint again.
TEST(Window, AnExceptionWhileTheErrorBoxIsUpIsOnlyLogged) {
  Recorder w;
  WindowSpec desc;
  desc.className = L"SentavoTestWindow";
  desc.parent = HWND_MESSAGE;
  ASSERT_TRUE(w.Create(desc));
  int logged = 0, shown = 0;
  SetErrorPolicy({"Sentavo", [&](const std::string&) { ++logged; },
                  [&](const Message&) {
                    ++shown;
                    SendMessageW(w.hwnd(), WM_APP + 1, 0, 0);  // fails again meanwhile
                  }});
  SendMessageW(w.hwnd(), WM_APP + 1, 0, 0);
  EXPECT_EQ(logged, 2);
  EXPECT_EQ(shown, 1);
  SendMessageW(w.hwnd(), WM_APP + 1, 0, 0);  // once closed, the next one shows again
  EXPECT_EQ(shown, 2);
  SetErrorPolicy({});
}

TEST(Window, TwoWindowsOfOneClassEachReachTheirOwnObject) {
  Recorder a, b;
  WindowSpec desc;
  desc.className = L"SentavoTestWindow";
  desc.parent = HWND_MESSAGE;
  ASSERT_TRUE(a.Create(desc));
  ASSERT_TRUE(b.Create(desc));
  a.seen.clear();
  b.seen.clear();
  SendMessageW(b.hwnd(), WM_APP, 0, 0);
  EXPECT_TRUE(a.seen.empty());
  EXPECT_EQ(b.seen, std::vector<UINT>{WM_APP});
}

// A window's side of the requests, recorded.
class RecordingHost final : public RequestHost {
 public:
  Requests carried;
  HWND MessageOwner() const override { return nullptr; }
  void OnMessage(const Message& m) override { carried.push_back(m); }
  void OnOpenUrl(const OpenUrlRequest& r) override { carried.push_back(r); }
  void OnShowWindow(const ShowWindowRequest& r) override { carried.push_back(r); }
  void OnEndProgram(const EndProgramRequest& r) override { carried.push_back(r); }
  void OnWindowAction(WindowAction a) override { carried.push_back(a); }
};

// A model as the windows see one: a view, events, and requests returned or queued.
struct CounterModel {
  std::string text;
  int presses = 0;
  Requests queued;
  void OnTextChanged(std::string t) { text = std::move(t); }
  Requests OnPress() {
    ++presses;
    queued.push_back(WindowAction::FocusEntry);
    return {ShowWindowRequest{1, true}};
  }
  void OnFail() {
    queued.push_back(OpenUrlRequest{"https://example.test/"});
    throw std::runtime_error("Disk full");
  }
};

class Dispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    SetErrorPolicy({"Sentavo", [this](const std::string& t) { logged.push_back(t); }, {}});
    dispatcher.AddMirror([this] { Mirror(); });
    dispatcher.SetRequestSource([this] { return std::exchange(model.queued, {}); });
    binder.Attach(model);
    ASSERT_TRUE(form.CreateForm({}));
    ASSERT_TRUE(edit.Create(form.hwnd(), 7, {0, 0, 100, 20}));
    binder.Bind(edit, &CounterModel::OnTextChanged);
    binder.BindEnter(edit, &CounterModel::OnPress);
  }
  void TearDown() override { SetErrorPolicy({}); }
  void Mirror() {
    ++mirrors;
    if (throwInMirror) throw std::runtime_error("mirror failed");
    if (edit.Text() != model.text) edit.SetText(model.text);
  }

  std::vector<std::string> logged;
  RecordingHost host;
  EventDispatcher dispatcher{host};
  CounterModel model;
  Binder<CounterModel> binder{dispatcher};
  Form form;
  Edit edit;
  int mirrors = 0;
  bool throwInMirror = false;
};

TEST_F(Dispatch, AnEventRunsMirrorsThenCarriesOutReturnedAndQueuedRequestsInOrder) {
  SendMessageW(edit.hwnd(), WM_CHAR, L'\r', 0);  // Enter as a program sends it
  EXPECT_EQ(model.presses, 1);
  EXPECT_EQ(host.carried, (Requests{ShowWindowRequest{1, true}, WindowAction::FocusEntry}));
  EXPECT_EQ(mirrors, 1);
  // The edit asks for Enter before the dialog keys can take it.
  MSG m{edit.hwnd(), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
  EXPECT_TRUE(SendMessageW(edit.hwnd(), WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&m)) &
              DLGC_WANTMESSAGE);
}

TEST_F(Dispatch, TheMirrorsOwnChangesReachNoModel) {
  edit.SetText("typed");
  EXPECT_EQ(model.text, "typed");
  EXPECT_EQ(mirrors, 1);
  model.text = "from the model";
  dispatcher.Mirror();
  EXPECT_EQ(edit.Text(), "from the model");
  EXPECT_EQ(mirrors, 2);  // the edit's change during the mirror ran no event
}

TEST_F(Dispatch, AnExceptionInAnEventIsLoggedAndShownAsTheGeneralErrorBoxLast) {
  binder.Run(&CounterModel::OnFail);
  EXPECT_EQ(logged, std::vector<std::string>{"Disk full"});
  EXPECT_EQ(host.carried, (Requests{OpenUrlRequest{"https://example.test/"},
                                    StopMessage("Sentavo", "Disk full.")}));
  EXPECT_EQ(mirrors, 1);  // the windows still show what the model holds
}

TEST_F(Dispatch, AnExceptionWhileMirroringLeavesLaterEventsWorking) {
  throwInMirror = true;
  edit.SetText("a");
  EXPECT_EQ(logged, std::vector<std::string>{"mirror failed"});
  EXPECT_EQ(host.carried, (Requests{StopMessage("Sentavo", "mirror failed")}));
  EXPECT_FALSE(dispatcher.Mirroring());
  throwInMirror = false;
  edit.SetText("ab");  // not dropped as if the mirror were still running
  EXPECT_EQ(model.text, "ab");
}

TEST_F(Dispatch, AnEndedModelTakesNoFurtherEvents) {
  dispatcher.SetAccepting([this] { return model.presses == 0; });
  binder.Run(&CounterModel::OnPress);
  binder.Run(&CounterModel::OnPress);
  EXPECT_EQ(model.presses, 1);
}

}  // namespace
}  // namespace sentavo::ui
