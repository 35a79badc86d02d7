// The path boxes with their real dialogs, confirmed and cancelled by a second thread as a person
// would: OnOpened and OnOpenCanceled (OnOpenCanceld) and the box's text.
#include <gtest/gtest.h>

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
// clang-format on

#include <filesystem>
#include <fstream>

#include "formats/wide_win.h"
#include "widgets/path_box_win.h"
#include "win_test_support.h"

namespace sentavo::widgets {
namespace {

using namespace std::chrono_literals;

namespace fs = std::filesystem;

class PathBoxWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    root_ = fs::path(tmp) / ("sentavo-boxes-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(root_ / "sub");
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  std::string Dir(const std::string& rel = {}) const {
    return Narrow((rel.empty() ? root_ : root_ / rel).wstring());
  }
  fs::path root_;
  test::HostForm host_;
  std::vector<std::string> log_;
  TOnOpened opened_ = [this](ui::Component&, const std::string& v) {
    log_.push_back("opened " + v);
  };
  TOnOpenCanceled canceled_ = [this](ui::Component&) { log_.push_back("canceled"); };
};

void TypeAndConfirm(HWND dialog, const std::string& path) {
  SetWindowTextW(GetDlgItem(dialog, kDirectoryEditId), Widen(path).c_str());
  test::Click(dialog, IDOK);
}

TEST_F(PathBoxWindow, DirectoryBoxTakesTheConfirmedDirectoryAndKeepsItsTextOnCancel) {
  TBUDirectoryBox box;
  ASSERT_TRUE(box.Create(host_.hwnd(), 20, {10, 10, 300, 21}));
  box.SetDirectory("C:\\");
  box.SetDialogInitialDir(Dir());
  box.OnOpened = opened_;
  box.OnOpenCanceled = canceled_;
  EXPECT_EQ(box.Picture().width, 16);  // the FOLD glyph
  const std::string target = Dir("sub");
  {
    test::DialogDriver driver([&] {
      const HWND dlg = test::WaitForOwnWindow(kDirectoryDialogClass);
      ASSERT_NE(dlg, nullptr);
      // The dialog starts at the box's initial directory, not at its text.
      wchar_t shown[MAX_PATH] = {};
      GetWindowTextW(GetDlgItem(dlg, kDirectoryEditId), shown, MAX_PATH);
      EXPECT_EQ(Narrow(shown), Dir());
      EXPECT_FALSE(IsWindowVisible(GetDlgItem(dlg, IDHELP)));
      TypeAndConfirm(dlg, target);
    });
    box.Browse();
  }
  EXPECT_EQ(box.Directory(), target);
  {
    test::DialogDriver driver([&] {
      const HWND dlg = test::WaitForOwnWindow(kDirectoryDialogClass);
      ASSERT_NE(dlg, nullptr);
      test::Click(dlg, IDCANCEL);
    });
    SendMessageW(box.BrowseButton().hwnd(), BM_CLICK, 0, 0);  // through the browse button
  }
  EXPECT_EQ(box.Directory(), target);
  EXPECT_EQ(log_, (std::vector<std::string>{"opened " + target, "canceled"}));
  // Typing into the edit field is the value at once.
  SetWindowTextW(box.EditField().hwnd(), L"D:\\typed");
  EXPECT_EQ(box.Directory(), "D:\\typed");
}

TEST_F(PathBoxWindow, ClassicDialogCreatesAskedDirectoriesAndRefusesMissingOnes) {
  TBUDirectoryBox box;
  ASSERT_TRUE(box.Create(host_.hwnd(), 20, {10, 10, 300, 21}));
  box.OnOpened = opened_;
  box.OnOpenCanceled = canceled_;
  const std::string deep = Dir("new\\deeper");
  // Without sdAllowCreate a missing directory is refused: the error is shown, the dialog stays.
  {
    test::DialogDriver driver([&] {
      const HWND dlg = test::WaitForOwnWindow(kDirectoryDialogClass);
      ASSERT_NE(dlg, nullptr);
      TypeAndConfirm(dlg, deep);
      const HWND error = test::WaitForOwnWindow(L"#32770");
      ASSERT_NE(error, nullptr);
      wchar_t caption[64] = {};
      GetWindowTextW(error, caption, 64);
      EXPECT_STREQ(caption, L"Error");
      test::Click(error, IDOK);
      EXPECT_TRUE(test::WaitUntil([] { return !test::FindOwnWindow(L"#32770"); }, 5s));
      test::Click(dlg, IDCANCEL);
    });
    box.Browse();
  }
  EXPECT_FALSE(fs::exists(root_ / "new"));
  // sdPrompt asks, sdPerformCreate creates it with its parents.
  box.SetDialogOptions(
      {TSelectDirOpt::sdAllowCreate, TSelectDirOpt::sdPrompt, TSelectDirOpt::sdPerformCreate});
  {
    test::DialogDriver driver([&] {
      const HWND dlg = test::WaitForOwnWindow(kDirectoryDialogClass);
      ASSERT_NE(dlg, nullptr);
      TypeAndConfirm(dlg, deep);
      const HWND ask = test::WaitForOwnWindow(L"#32770");
      ASSERT_NE(ask, nullptr);
      test::Click(ask, IDYES);
    });
    box.Browse();
  }
  EXPECT_TRUE(fs::is_directory(root_ / "new" / "deeper"));
  EXPECT_EQ(box.Directory(), deep);
  EXPECT_EQ(log_, (std::vector<std::string>{"canceled", "opened " + deep}));
}

HTREEITEM TreeItem(HWND tree, UINT relation, HTREEITEM from) {
  return reinterpret_cast<HTREEITEM>(
      SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(from)));
}

std::wstring TreeItemText(HWND tree, HTREEITEM item) {
  wchar_t text[MAX_PATH] = {};
  TVITEMW tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = text;
  tv.cchTextMax = MAX_PATH;
  SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  return text;
}

TEST_F(PathBoxWindow, ShellFolderBrowserRootedAtTheStartDirectory) {
  ShowWindow(host_.hwnd(), SW_SHOWNOACTIVATE);  // visible windows are disabled meanwhile
  TBUDirectoryBox box;
  ASSERT_TRUE(box.Create(host_.hwnd(), 20, {10, 10, 300, 21}));
  box.SetClassicDialog(false);
  box.SetDialogInitialDir(Dir());
  box.SetDialogTitle("Cesta pro komunikaci se serverem");
  box.OnOpened = opened_;
  box.OnOpenCanceled = canceled_;
  const std::string target = Dir("sub");
  {
    test::DialogDriver driver([&] {
      const HWND dlg = test::WaitForOwnWindow(L"#32770");
      ASSERT_NE(dlg, nullptr);
      EXPECT_FALSE(IsWindowEnabled(host_.hwnd()));  // the application waits for the browser
      // Picked in the tree as a person would. Not by BFFM_SETSELECTION with the path: Wine matches
      // that path to the tree by comparing item IDs byte for byte, and the IDs of folders carry
      // their last-write times, so a file made or deleted in the temporary folder by anyone
      // between the browser's opening and the selection leaves nothing selected, and OK then
      // answers the Desktop.
      const HWND tree = FindWindowExW(dlg, nullptr, WC_TREEVIEWW, nullptr);
      ASSERT_NE(tree, nullptr);
      const HTREEITEM top = TreeItem(tree, TVGN_ROOT, nullptr);
      EXPECT_EQ(TreeItemText(tree, top), root_.filename().wstring());  // rooted at the start
      HTREEITEM sub = TreeItem(tree, TVGN_CHILD, top);
      while (sub && TreeItemText(tree, sub) != L"sub") sub = TreeItem(tree, TVGN_NEXT, sub);
      ASSERT_NE(sub, nullptr);
      SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(sub));
      test::Click(dlg, IDOK);
    });
    box.Browse();
  }
  EXPECT_TRUE(IsWindowEnabled(host_.hwnd()));
  {
    test::DialogDriver driver([&] {
      const HWND dlg = test::WaitForOwnWindow(L"#32770");
      ASSERT_NE(dlg, nullptr);
      test::Click(dlg, IDCANCEL);
    });
    box.Browse();
  }
  EXPECT_EQ(log_, (std::vector<std::string>{"opened " + target, "canceled"}));
  EXPECT_EQ(box.Directory(), target);
}

// Types into the open-file dialog's name box and presses its OK button.
void ChooseFiles(HWND dlg, const std::wstring& names) {
  HWND name = GetDlgItem(dlg, 0x480);        // edt1
  if (!name) name = GetDlgItem(dlg, 0x47C);  // cmb13
  ASSERT_NE(name, nullptr);
  SetWindowTextW(name, names.c_str());
  test::Click(dlg, IDOK);
}

TEST_F(PathBoxWindow, FileBoxSingleAndMultipleSelectionAndCancel) {
  for (const char* n : {"a.txt", "b.txt", "c.jpg"}) {
    std::ofstream(root_ / n) << "x";
  }
  TBUFileNameBox box;
  ASSERT_TRUE(box.Create(host_.hwnd(), 21, {10, 40, 300, 21}));
  box.SetDialogInitialDir(Dir());
  box.SetDialogOptions(
      {TOpenOption::ofHideReadOnly, TOpenOption::ofEnableSizing, TOpenOption::ofAllowMultiSelect});
  box.OnOpened = opened_;
  box.OnOpenCanceld = canceled_;
  EXPECT_EQ(box.Picture().width, 16);  // the FILE glyph
  {
    test::DialogDriver driver([&] {
      const HWND dlg = test::WaitForOwnWindow(L"#32770");
      ASSERT_NE(dlg, nullptr);
      ChooseFiles(dlg, L"\"a.txt\" \"b.txt\"");
    });
    box.Browse();
  }
  const std::string a = Dir("a.txt"), b = Dir("b.txt"), c = Dir("c.jpg");
  EXPECT_EQ(box.FileName(), a + "," + b);
  EXPECT_EQ(box.Files(), (std::vector<std::string>{a, b}));

  box.SetDialogOptions({TOpenOption::ofHideReadOnly, TOpenOption::ofEnableSizing});
  {
    test::DialogDriver driver([&] {
      const HWND dlg = test::WaitForOwnWindow(L"#32770");
      ASSERT_NE(dlg, nullptr);
      ChooseFiles(dlg, Widen(c));
    });
    box.Browse();
  }
  EXPECT_EQ(box.FileName(), c);
  EXPECT_EQ(box.Files().size(), 2u);  // a single selection leaves Files
  {
    test::DialogDriver driver([&] {
      const HWND dlg = test::WaitForOwnWindow(L"#32770");
      ASSERT_NE(dlg, nullptr);
      test::Click(dlg, IDCANCEL);
    });
    box.Browse();
  }
  EXPECT_EQ(box.FileName(), c);
  EXPECT_EQ(log_, (std::vector<std::string>{"opened " + a + "," + b, "opened " + c, "canceled"}));
}

TEST_F(PathBoxWindow, ButtonDocksLeftAndReadOnlyStillBrowses) {
  TBUDirectoryBox box;
  ASSERT_TRUE(box.Create(host_.hwnd(), 20, {10, 10, 150, 20}));
  EXPECT_EQ(box.BrowseButton().GetBounds(), (ui::Bounds{130, 0, 20, 20}));
  box.SetButtonPosition(TPosition::onLeft);
  EXPECT_EQ(box.BrowseButton().GetBounds(), (ui::Bounds{0, 0, 20, 20}));
  EXPECT_EQ(box.EditField().GetBounds(), (ui::Bounds{20, 0, 130, 20}));
  box.SetReadOnly(true);
  EXPECT_TRUE(box.ReadOnly());
  box.SetDialogInitialDir(Dir());
  {
    test::DialogDriver driver([&] {
      const HWND dlg = test::WaitForOwnWindow(kDirectoryDialogClass);
      ASSERT_NE(dlg, nullptr);
      TypeAndConfirm(dlg, Dir("sub"));
    });
    box.Browse();
  }
  EXPECT_EQ(box.Directory(), Dir("sub"));
}

TEST_F(PathBoxWindow, ExitIsRaisedWhenTheFocusLeavesTheBox) {
  TBUDirectoryBox box;
  ASSERT_TRUE(box.Create(host_.hwnd(), 20, {10, 10, 150, 20}));
  ui::Edit other;
  ASSERT_TRUE(other.Create(host_.hwnd(), 30, {10, 40, 150, 20}));
  int exits = 0, enters = 0;
  box.OnExit = [&] { ++exits; };
  box.OnEnter = [&] { ++enters; };
  ShowWindow(host_.hwnd(), SW_SHOW);
  SetForegroundWindow(host_.hwnd());
  other.Focus();
  box.EditField().Focus();
  EXPECT_EQ(enters, 1);
  other.Focus();
  EXPECT_EQ(exits, 1);
}

}  // namespace
}  // namespace sentavo::widgets
