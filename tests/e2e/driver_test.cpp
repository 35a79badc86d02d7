// The driver against a program of known behaviour, so that an end-to-end failure means the
// programs, not the driver.
#include <gtest/gtest.h>

#include <filesystem>

#include "driver_win.h"

namespace sentavo::e2e {
namespace {

std::string Beside(const char* name) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return (std::filesystem::path(self).parent_path() / name).string();
}

TEST(Driver, TypesClicksReadsAnswersAndWatchesTheExit) {
  Program fixture(Beside("e2e_fixture.exe"), {}, std::filesystem::current_path().string());
  ASSERT_TRUE(fixture.started());
  HWND top = fixture.WaitForTopWindow(L"Driver fixture");
  ASSERT_NE(top, nullptr);
  HWND edit = FindControl(top, 100);
  ASSERT_NE(edit, nullptr);
  SetText(edit, L"Kód přijat");
  EXPECT_EQ(TextUtf8(edit), "Kód přijat");
  PostMessageW(top, WM_COMMAND, MAKEWPARAM(101, BN_CLICKED), 0);
  const auto box = WaitForMessageBox(fixture);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->caption, "Information");
  EXPECT_EQ(box->text, "Kód přijat");
  EXPECT_TRUE(SaveScreenshot("driver-fixture.png"));
  EXPECT_TRUE(Answer(*box));
  EXPECT_EQ(fixture.WaitForExit(), 7u);
}

}  // namespace
}  // namespace sentavo::e2e
