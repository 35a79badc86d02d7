// The window layer's controls as the forms use them: typed events through the parent, colours,
// transparency, pages, the number box, pickers, the timer and the message boxes.
#include <gtest/gtest.h>

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "formats/wide_win.h"
#include "ui/controls_win.h"
#include "ui/menu_timer_win.h"
#include "ui/messages_win.h"
#include "ui/number_text.h"
#include "ui/page_control_win.h"
#include "ui/pickers_win.h"
#include "widgets/picture_win.h"
#include "win_test_support.h"

namespace sentavo::ui {
namespace {

using namespace std::chrono_literals;

using test::Hex;

void Notify(HWND parent, HWND from, UINT code) {
  NMHDR h{from, static_cast<UINT_PTR>(GetDlgCtrlID(from)), code};
  SendMessageW(parent, WM_NOTIFY, h.idFrom, reinterpret_cast<LPARAM>(&h));
}

void Command(HWND parent, HWND from, WORD code) {
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(from), code),
               reinterpret_cast<LPARAM>(from));
}

TEST(Controls, EditWithPasswordCharacterAndChangeEvent) {
  test::HostForm host;
  Edit kod;
  ASSERT_TRUE(kod.Create(host.hwnd(), 10, {80, 168, 329, 26}));
  kod.SetPasswordChar(L'*');
  EXPECT_EQ(SendMessageW(kod.hwnd(), EM_GETPASSWORDCHAR, 0, 0), L'*');
  int changes = 0;
  kod.OnChange = [&] { ++changes; };
  kod.SetText("tajný kód");
  EXPECT_EQ(kod.Text(), "tajný kód");  // the text itself, not the stars
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(kod.Id(), 10);
  EXPECT_EQ(GetDlgItem(host.hwnd(), 10), kod.hwnd());
  // Enter reaches the edit's Enter handler instead of the dialog navigation.
  bool enter = false;
  kod.OnEnterKey = [&] { enter = true; };
  MSG m{kod.hwnd(), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
  EXPECT_TRUE(SendMessageW(kod.hwnd(), WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&m)) &
              DLGC_WANTMESSAGE);
  SendMessageW(kod.hwnd(), WM_CHAR, L'\r', 0);
  EXPECT_TRUE(enter);
}

TEST(Controls, CheckBoxListAndDropDownRaiseTheirEventsThroughTheParent) {
  test::HostForm host;
  GroupBox group;
  ASSERT_TRUE(group.Create(host.hwnd(), 5, {0, 0, 300, 200}, " Práva uživatele po přihlášení: "));
  CheckBox alttab;
  ASSERT_TRUE(alttab.Create(group.hwnd(), 11, {10, 20, 250, 17}, "Zakázat klávesy ALT+TAB"));
  int clicks = 0;
  alttab.OnClick = [&] { ++clicks; };
  SendMessageW(alttab.hwnd(), BM_CLICK, 0, 0);  // the group box passes its child's news on
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(alttab.Checked());
  alttab.SetChecked(false);
  EXPECT_FALSE(alttab.Checked());
  EXPECT_EQ(clicks, 1);

  ListBox vydane;
  ASSERT_TRUE(vydane.Create(host.hwnd(), 12, {0, 210, 200, 100}));
  vydane.Add("KOD1");
  vydane.Add("KOD2");
  EXPECT_EQ(vydane.Items(), (std::vector<std::string>{"KOD1", "KOD2"}));
  int dbl = 0;
  vydane.OnDblClick = [&] { ++dbl; };
  vydane.SetItemIndex(1);
  Command(host.hwnd(), vydane.hwnd(), LBN_DBLCLK);
  EXPECT_EQ(dbl, 1);
  EXPECT_EQ(vydane.Item(vydane.ItemIndex()), "KOD2");
  vydane.Delete(0);
  EXPECT_EQ(vydane.Count(), 1);

  ComboBox typkodu;
  ASSERT_TRUE(typkodu.Create(host.hwnd(), 13, {210, 210, 150, 21}, {"Jednorázový", "Denní"}));
  EXPECT_EQ(typkodu.ItemIndex(), -1);
  EXPECT_EQ(GetWindowLongW(typkodu.hwnd(), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
  int changes = 0;
  typkodu.OnChange = [&] { ++changes; };
  typkodu.SetItemIndex(1);
  Command(host.hwnd(), typkodu.hwnd(), CBN_SELCHANGE);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(typkodu.SelectedText(), "Denní");
}

TEST(Controls, TransparentLabelShowsThePictureBehindIt) {
  test::HostForm host;
  widgets::PictureBox back;
  Label label, opaque;
  ASSERT_TRUE(label.Create(host.hwnd(), 11, {10, 10, 100, 20}, "Zamčeno"));
  ASSERT_TRUE(opaque.Create(host.hwnd(), 12, {10, 40, 100, 20}, "x"));
  ASSERT_TRUE(back.Create(host.hwnd(), 10, {0, 0, 200, 100}));
  back.SendToBack();
  back.SetColor(MakeColor(0, 0, 200));
  label.SetTransparent(true);
  label.SetFont(VerdanaBold(13, clRed));
  opaque.SetColor(MakeColor(0, 90, 0));
  const test::Snapshot img = test::Render(label.hwnd());
  EXPECT_EQ(Hex(img.PixelAt(98, 18)), Hex(MakeColor(0, 0, 200)));  // the picture, not the form
  int red = 0;
  for (int x = 0; x < 100; ++x) {
    for (int y = 0; y < 20; ++y) red += img.PixelAt(x, y) == clRed;
  }
  EXPECT_GT(red, 10);
  EXPECT_EQ(Hex(test::Render(opaque.hwnd()).PixelAt(98, 18)), Hex(MakeColor(0, 90, 0)));
  label.SetAutoSize(true);
  EXPECT_GT(label.GetBounds().width, 20);
  EXPECT_LT(label.GetBounds().width, 100);
}

TEST(Controls, PageControlWithTabsAtTheBottomAndHiddenPages) {
  test::HostForm host;
  PageControl pages;
  ASSERT_TRUE(pages.Create(host.hwnd(), 10, {0, 34, 600, 400}, true));
  EXPECT_TRUE(GetWindowLongW(pages.Tabs().hwnd(), GWL_STYLE) & TCS_BOTTOM);
  TabSheet& login = pages.AddPage("Přihlášení");
  TabSheet& admin = pages.AddPage("Administrační režim - Nastavení");
  EXPECT_EQ(pages.ActivePage(), &login);
  EXPECT_EQ(pages.Tabs().TabCount(), 2);
  admin.SetTabVisible(false);
  EXPECT_EQ(pages.Tabs().TabCount(), 1);
  EXPECT_FALSE(admin.Visible());
  admin.SetTabVisible(true);
  pages.SetActivePage(admin);
  EXPECT_TRUE(admin.Visible());
  EXPECT_FALSE(login.Visible());
  EXPECT_EQ(pages.Tabs().TabCaption(1), "Administrační režim - Nastavení");
  // The user picks the first tab.
  int changes = 0;
  pages.OnChange = [&] { ++changes; };
  pages.Tabs().SetTabIndex(0);
  Notify(pages.hwnd(), pages.Tabs().hwnd(), TCN_SELCHANGE);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(pages.ActivePage(), &login);
  // The pages sit above the tabs, which are at the bottom.
  EXPECT_LT(login.GetBounds().top + login.GetBounds().height, 400);
  // Hiding the active page shows the first visible one.
  login.SetTabVisible(false);
  EXPECT_EQ(pages.ActivePage(), &admin);
}

TEST(Controls, NumberBoxClampsStepsAndKeepsTheLastValidValue) {
  test::HostForm host;
  NumberBox doba;
  ASSERT_TRUE(doba.Create(host.hwnd(), 10, 11, {0, 0, 100, 21}));
  doba.SetRange(60, 32767);
  doba.SetPosition(3600);
  const std::string sep = SystemThousandsSeparator();
  EXPECT_EQ(doba.Box().Text(), "3" + sep + "600");
  std::vector<int> seen;
  doba.OnChange = [&](int v) { seen.push_back(v); };
  NMUPDOWN n{};
  n.hdr = {doba.Arrows().hwnd(), 11, UDN_DELTAPOS};
  n.iDelta = 1;
  SendMessageW(host.hwnd(), WM_NOTIFY, 11, reinterpret_cast<LPARAM>(&n));
  EXPECT_EQ(doba.Position(), 3601);
  doba.SetPosition(32767);
  SendMessageW(host.hwnd(), WM_NOTIFY, 11, reinterpret_cast<LPARAM>(&n));
  EXPECT_EQ(doba.Position(), 32767);  // no wrap-around
  doba.Box().SetText("4" + sep + "000");
  EXPECT_EQ(doba.Position(), 4000);
  doba.Box().SetText("abc");
  doba.Box().SetText("20");  // below the range
  EXPECT_EQ(doba.Position(), 4000);
  EXPECT_EQ(seen, (std::vector<int>{3601, 32767, 4000}));
  doba.SetPosition(10);
  EXPECT_EQ(doba.Position(), 60);
}

TEST(Controls, DateAndTimePickersKeepTheirValues) {
  test::HostForm host;
  DatePicker datumod;
  TimePicker casod;
  ASSERT_TRUE(datumod.Create(host.hwnd(), 10, {0, 0, 120, 21}));
  ASSERT_TRUE(casod.Create(host.hwnd(), 11, {130, 0, 100, 21}));
  datumod.SetDate({2026, 12, 9, 0, 0, 0, 0});
  casod.SetTime({2026, 12, 9, 14, 30, 15, 0});
  const DateTime d = datumod.Date();
  EXPECT_EQ(DateKey(d), 20261209);
  EXPECT_EQ(TimeKey(casod.Time()), 143015);
  int changes = 0;
  datumod.OnChange = [&] { ++changes; };
  Notify(host.hwnd(), datumod.hwnd(), DTN_DATETIMECHANGE);
  EXPECT_EQ(changes, 1);
}

TEST(Controls, TimerTicksWhileEnabled) {
  Timer t;
  int ticks = 0;
  t.OnTimer = [&] { ++ticks; };
  t.SetInterval(20);
  test::Pump(300ms);
  EXPECT_GE(ticks, 3);
  t.SetEnabled(false);
  const int stopped = ticks;
  test::Pump(150ms);
  EXPECT_EQ(ticks, stopped);
}

TEST(Controls, PopupMenuRunsTheChosenItem) {
  test::HostForm host(true);
  PopupMenu menu;
  std::vector<std::string> log;
  menu.Add(
          "Zobrazit Sentavo", [&] { log.push_back("zobrazit"); }, "ZobrazitSentavo1")
      .isDefault = true;
  menu.Add("-");
  menu.Add("Konec", [&] { log.push_back("konec"); });
  ASSERT_NE(menu.FindItem("ZobrazitSentavo1"), nullptr);
  int chosen = -2;
  {
    test::DialogDriver driver([&] {
      const HWND popup = test::WaitForOwnWindow(L"#32768");
      ASSERT_NE(popup, nullptr);
      // The first item, then Enter, as the keyboard picks it.
      PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
      PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
    });
    chosen = menu.Popup(host.hwnd(), {100, 100});
  }
  EXPECT_EQ(chosen, 0);
  EXPECT_EQ(log, (std::vector<std::string>{"zobrazit"}));
}

TEST(Controls, MessageBoxesHaveTheirCaptionsAndOneOkButton) {
  for (const Message& m : {ErrorMessage("Chybné heslo."), InformationMessage("Změny uloženy.")}) {
    std::wstring caption, text;
    int buttons = 0;
    std::wstring buttonText;
    {
      test::DialogDriver driver([&] {
        const HWND box = test::WaitForOwnWindow(L"#32770");
        ASSERT_NE(box, nullptr);
        wchar_t buf[256] = {};
        GetWindowTextW(box, buf, 256);
        caption = buf;
        GetDlgItemTextW(box, 0xFFFF, buf, 256);
        text = buf;
        for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
          wchar_t cls[32] = {};
          GetClassNameW(c, cls, 32);
          if (_wcsicmp(cls, L"Button") == 0 && IsWindowVisible(c)) {
            ++buttons;
            GetWindowTextW(c, buf, 256);
            buttonText = buf;
          }
        }
        test::Click(box, IDOK);
      });
      ShowMessageBox(nullptr, m);
    }
    EXPECT_EQ(Narrow(caption), m.caption);
    EXPECT_EQ(Narrow(text), m.text);
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(buttonText, L"OK");
  }
}

}  // namespace
}  // namespace sentavo::ui
