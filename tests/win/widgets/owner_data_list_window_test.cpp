// The list box that asks for its rows, side by side with the plain list box it stands in for: the
// same pixels, the same answers to keys, clicks and typed characters, the same answers to a
// program reading it, and one-row changes that keep the scroll position and the selection.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/wide_win.h"
#include "ui/controls_win.h"
#include "ui/owner_data_list_win.h"
#include "win_test_support.h"

namespace sentavo::ui {
namespace {

using Names = std::vector<std::string>;

Names SomeNames(int count) {
  Names names;
  for (int i = 0; i < count; ++i) names.push_back(std::to_string(1000000000 + i * 7919));
  return names;
}

// What the window shows of a list box: it paints itself (WM_PAINT) and the pixels are read back
// from its own DC.
test::Snapshot OnScreen(HWND hwnd) {
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  RECT rc;
  GetClientRect(hwnd, &rc);
  DibCanvasTarget target(rc.right, rc.bottom);
  const ClientDC dc(hwnd);
  BitBlt(target.dc(), 0, 0, rc.right, rc.bottom, dc.get(), 0, 0, SRCCOPY);
  GdiFlush();
  test::Snapshot s{rc.right, rc.bottom, {}};
  for (int y = 0; y < rc.bottom; ++y) {
    for (int x = 0; x < rc.right; ++x) s.pixels.push_back(target.PixelAt(x, y));
  }
  return s;
}

// The first pixel where two pictures differ, as text; empty when they are the same.
std::string FirstDifference(const test::Snapshot& a, const test::Snapshot& b) {
  if (a.width != b.width || a.height != b.height) return "the sizes differ";
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (a.PixelAt(x, y) != b.PixelAt(x, y)) {
        return "(" + std::to_string(x) + ", " + std::to_string(y) +
               "): " + test::Hex(a.PixelAt(x, y)) + " against " + test::Hex(b.PixelAt(x, y));
      }
    }
  }
  return {};
}

// A plain list box holding `names` and the owner-data one showing them, alike in place, size,
// font and colours, as the code window has its list.
class SideBySide : public ::testing::Test {
 protected:
  explicit SideBySide(bool shown = false) : host_(shown) {}
  void Fill(Names list, int height = 300) {
    names = std::move(list);
    ASSERT_TRUE(plain.Create(host_.hwnd(), 10, {0, 0, 250, height}));
    ASSERT_TRUE(rows.Create(host_.hwnd(), 11, {260, 0, 250, height},
                            [this](std::size_t row) { return std::string_view(names[row]); }));
    for (Control* list : {static_cast<Control*>(&plain), static_cast<Control*>(&rows)}) {
      list->SetFont(CourierNew(16));
      list->SetColor(clBlack);
    }
    plain.SetItems(names);
    history.Replaced();
    rows.Follow(history, names.size());
    plain.OnSelect = [this] { ++plainSelections; };
    rows.OnSelect = [this] { ++rowSelections; };
  }
  // Sends the same message to both lists; true when both answer alike.
  ::testing::AssertionResult BothAnswer(UINT msg, WPARAM wp, LPARAM lp) {
    const LRESULT a = SendMessageW(plain.hwnd(), msg, wp, lp);
    const LRESULT b = SendMessageW(rows.hwnd(), msg, wp, lp);
    if (a == b) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "message " << msg << ": " << a << " against " << b;
  }
  void ExpectSameState(const std::string& step) {
    EXPECT_TRUE(BothAnswer(LB_GETCOUNT, 0, 0)) << step;
    EXPECT_TRUE(BothAnswer(LB_GETCURSEL, 0, 0)) << step;
    EXPECT_TRUE(BothAnswer(LB_GETTOPINDEX, 0, 0)) << step;
    EXPECT_TRUE(BothAnswer(LB_GETCARETINDEX, 0, 0)) << step;
    EXPECT_EQ(plainSelections, rowSelections) << step;
  }

  test::HostForm host_;
  Names names;
  RowHistory history;
  ListBox plain;
  OwnerDataListBox rows;
  int plainSelections = 0, rowSelections = 0;
};

class SideBySideOnScreen : public SideBySide {
 protected:
  SideBySideOnScreen() : SideBySide(true) {}
};

TEST_F(SideBySideOnScreen, RowsLookAsThePlainListBoxsRowsSelectedFocusedOrNot) {
  Names names = SomeNames(40);
  names[2] = "čtvrtek";
  names[4] = "Žák 7";
  names[6] = "";
  names[7] = std::string(3000, 'W');  // wider than the row
  Fill(names, 200);
  SetForegroundWindow(host_.hwnd());
  EXPECT_TRUE(BothAnswer(LB_GETITEMHEIGHT, 0, 0));
  EXPECT_EQ(FirstDifference(OnScreen(plain.hwnd()), OnScreen(rows.hwnd())), "");

  EXPECT_TRUE(BothAnswer(LB_SETTOPINDEX, 1, 0));
  EXPECT_TRUE(BothAnswer(LB_SETCURSEL, 4, 0));
  EXPECT_EQ(FirstDifference(OnScreen(plain.hwnd()), OnScreen(rows.hwnd())), "");

  // The focus rectangle, which only the list that has the focus draws.
  plain.Focus();
  const test::Snapshot plainFocused = OnScreen(plain.hwnd());
  rows.Focus();
  EXPECT_TRUE(rows.Focused());
  EXPECT_EQ(FirstDifference(plainFocused, OnScreen(rows.hwnd())), "");
  SendMessageW(rows.hwnd(), WM_KEYDOWN, VK_DOWN, 0);
  plain.Focus();
  SendMessageW(plain.hwnd(), WM_KEYDOWN, VK_DOWN, 0);
  const test::Snapshot plainMoved = OnScreen(plain.hwnd());
  rows.Focus();
  EXPECT_EQ(FirstDifference(plainMoved, OnScreen(rows.hwnd())), "");

  EXPECT_TRUE(BothAnswer(LB_SETCURSEL, static_cast<WPARAM>(-1), 0));
  plain.Focus();
  const test::Snapshot plainUnselected = OnScreen(plain.hwnd());
  rows.Focus();
  EXPECT_EQ(FirstDifference(plainUnselected, OnScreen(rows.hwnd())), "");
  SetFocus(nullptr);
  EXPECT_EQ(FirstDifference(OnScreen(plain.hwnd()), OnScreen(rows.hwnd())), "");
}

TEST_F(SideBySide, KeysClicksAndTypedCharactersMoveTheSelectionAlike) {
  Names names = SomeNames(200);
  names[30] = "7ABC";
  names[90] = "71";
  names[120] = "Dub";
  names[150] = "čtvrtek";
  names[160] = "duha";
  Fill(names);
  const int height = static_cast<int>(SendMessageW(rows.hwnd(), LB_GETITEMHEIGHT, 0, 0));
  const auto both = [&](UINT msg, WPARAM wp, LPARAM lp) {
    SendMessageW(plain.hwnd(), msg, wp, lp);
    SendMessageW(rows.hwnd(), msg, wp, lp);
  };
  const LPARAM row3 = MAKELPARAM(20, 3 * height + height / 2);
  both(WM_LBUTTONDOWN, MK_LBUTTON, row3);
  both(WM_LBUTTONUP, 0, row3);
  ExpectSameState("click");
  for (const WORD key : {VK_DOWN, VK_DOWN, VK_NEXT, VK_NEXT, VK_UP, VK_END, VK_PRIOR, VK_HOME}) {
    both(WM_KEYDOWN, key, 0);
    ExpectSameState("key " + std::to_string(key));
  }
  // A typed character goes to the next row that starts with it, in either case, round the end.
  for (const wchar_t ch : {L'7', L'7', L'7', L'd', L'D', L'D', L'č', L'x', L'1', L' '}) {
    both(WM_CHAR, ch, 0);
    ExpectSameState(Narrow(std::wstring(1, ch)));
  }
  EXPECT_EQ(rows.Item(rows.ItemIndex()), names[static_cast<std::size_t>(plain.ItemIndex())]);
  EXPECT_GT(rowSelections, 8);

  // Letters beyond ASCII match in either case too, as the system compares text (the plain list
  // box under Wine matches them in their own case only).
  SendMessageW(rows.hwnd(), WM_CHAR, L'Č', 0);
  EXPECT_EQ(rows.ItemIndex(), 150);
}

TEST_F(SideBySide, AProgramReadsTheRowsAsFromAPlainListBox) {
  Names names = SomeNames(50);
  names[10] = "Žák 7";
  names[20] = "žák 7";
  names[30] = "žákyně";
  names[40] = "Abc";
  names[45] = "aBcd";
  Fill(names);
  for (const WPARAM row : {0, 10, 49, 50, -1}) EXPECT_TRUE(BothAnswer(LB_GETTEXTLEN, row, 0));
  wchar_t a[64] = {}, b[64] = {};
  EXPECT_EQ(SendMessageW(plain.hwnd(), LB_GETTEXT, 10, reinterpret_cast<LPARAM>(a)),
            SendMessageW(rows.hwnd(), LB_GETTEXT, 10, reinterpret_cast<LPARAM>(b)));
  EXPECT_EQ(std::wstring(a), std::wstring(b));
  EXPECT_EQ(Narrow(b), "Žák 7");
  EXPECT_EQ(rows.Item(30), "žákyně");

  const std::wstring exact = L"ŽÁK 7", prefix = L"abC", none = L"nikdo", empty;
  for (const std::wstring* text : {&exact, &prefix, &none, &empty}) {
    const auto lp = reinterpret_cast<LPARAM>(text->c_str());
    for (const WPARAM start : {static_cast<WPARAM>(-1), WPARAM{0}, WPARAM{10}, WPARAM{20},
                               WPARAM{30}, WPARAM{49}, WPARAM{70}}) {
      EXPECT_TRUE(BothAnswer(LB_FINDSTRINGEXACT, start, lp)) << Narrow(*text) << " " << start;
      // Under Wine the plain list box ignores the case of ASCII letters alone when it looks for a
      // beginning; the system's comparison, which this list box uses, ignores every letter's.
      if (text != &exact) {
        EXPECT_TRUE(BothAnswer(LB_FINDSTRING, start, lp)) << Narrow(*text) << " " << start;
      }
    }
  }
  EXPECT_TRUE(BothAnswer(LB_SELECTSTRING, 42, reinterpret_cast<LPARAM>(prefix.c_str())));
  ExpectSameState("select string");
  EXPECT_EQ(rows.ItemIndex(), 45);
  const std::wstring lower = L"žák";
  EXPECT_EQ(SendMessageW(rows.hwnd(), LB_FINDSTRING, 15, reinterpret_cast<LPARAM>(lower.c_str())),
            20);
  EXPECT_EQ(SendMessageW(rows.hwnd(), LB_FINDSTRING, 30, reinterpret_cast<LPARAM>(lower.c_str())),
            10);
}

TEST_F(SideBySide, OneRowChangesKeepTheScrollPositionAndTheSelectionAsThePlainListBoxDoes) {
  Fill(SomeNames(1000));
  EXPECT_TRUE(BothAnswer(LB_SETTOPINDEX, 500, 0));
  EXPECT_TRUE(BothAnswer(LB_SETCURSEL, 505, 0));
  const auto remove = [&](std::size_t row) {
    names.erase(names.begin() + static_cast<std::ptrdiff_t>(row));
    plain.Delete(static_cast<int>(row));
    history.Removed(row);
    rows.Follow(history, names.size());
  };
  remove(700);  // below the rows shown
  ExpectSameState("below");
  remove(100);  // above them: the rows shown move up by one
  ExpectSameState("above");
  EXPECT_EQ(rows.Item(rows.ItemIndex()), SomeNames(1000)[505]);
  names.push_back("NOVY");
  plain.Add("NOVY");
  history.Inserted(names.size() - 1);
  rows.Follow(history, names.size());
  ExpectSameState("appended");
  EXPECT_EQ(rows.Item(rows.Count() - 1), "NOVY");
  EXPECT_EQ(SendMessageW(rows.hwnd(), LB_GETTOPINDEX, 0, 0), 500);

  // Two changes at once cannot be followed row by row: the list starts afresh.
  names.erase(names.begin());
  names.erase(names.begin());
  history.Removed(0);
  history.Removed(0);
  rows.Follow(history, names.size());
  plain.SetItems(names);
  ExpectSameState("refilled");
  EXPECT_EQ(rows.Item(0), names[0]);

  // Rows lost behind the list's back are found missing at the next look.
  SendMessageW(rows.hwnd(), LB_RESETCONTENT, 0, 0);
  rows.Follow(history, names.size());
  EXPECT_EQ(rows.Count(), static_cast<int>(names.size()));
}

TEST_F(SideBySide, AHundredThousandRowsAreThereAtOnce) {
  Fill({});
  names = SomeNames(100000);
  history.Replaced();
  rows.Follow(history, names.size());
  EXPECT_EQ(rows.Count(), 100000);
  EXPECT_EQ(rows.Item(99999), names[99999]);
  rows.SetItemIndex(99999);
  EXPECT_EQ(rows.ItemIndex(), 99999);
  EXPECT_EQ(SendMessageW(rows.hwnd(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(Widen(names[77777]).c_str())),
            77777);
}

}  // namespace
}  // namespace sentavo::ui
