#include <gtest/gtest.h>

#include "admin_fixture.h"

namespace sentavo::admin::test {
namespace {

using Msgs = std::vector<Message>;

class Settings : public AdminTest {
 protected:
  void SetUp() override {
    Start();
    LogIn("vamor");
  }
  Msgs Save() { return Messages(codes().OnUlozitNastaveni()); }
};

TEST_F(Settings, SavesTheTabWithTheFixedSwitchesAndTheServerPathsBackslash) {
  TConfigRecord fromClient;  // a client's file with switches of its own
  fromClient.asFrontApp = false;
  fromClient.rights.fill(true);
  PutConfig(fromClient);
  codes().OnAdminhesloChanged("Nové heslo");
  codes().OnProvozChanged("Kavárna");
  codes().OnServercestaChanged("\\\\server\\kody");
  codes().OnPozadiFileChanged("C:\\pozadí.jpg");

  EXPECT_EQ(Save(), Msgs{Info(text::kSettingsSaved)});
  EXPECT_EQ(settings().servercesta, "\\\\server\\kody\\");  // shown in the box at once
  const auto bytes = *files.Get(kConfig);
  ASSERT_EQ(bytes.size(), kConfigRecordSize);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 16),
            (std::vector<std::uint8_t>{1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
  const TConfigRecord saved = *SavedConfig();
  EXPECT_EQ(saved.adminPassword, "Nové heslo");
  EXPECT_EQ(saved.establishment, "Kavárna");
  EXPECT_EQ(saved.serverPath, "\\\\server\\kody\\");
  EXPECT_EQ(saved.backgroundFile, "C:\\pozadí.jpg");
  EXPECT_EQ(program->state().config, saved);
  EXPECT_FALSE(settings().predpravaVisible);

  // The next showing of the login reads it back, without the warning, and asks for the new
  // password.
  codes().OnAdminhesloChanged("neuloženo");
  EXPECT_EQ(Messages(codes().OnClose()), Msgs{});
  EXPECT_EQ(Messages(LogIn("vamor")), Msgs{Error(text::kWrongPassword)});
  EXPECT_EQ(Messages(LogIn("Nové heslo")), Msgs{});
}

TEST_F(Settings, EmptyAndOverlongTexts) {
  codes().OnServercestaChanged("");
  std::string password;
  for (int i = 0; i < 300; ++i) password += static_cast<char>('a' + i % 26);
  codes().OnAdminhesloChanged(password);
  EXPECT_EQ(Save(), Msgs{Info(text::kSettingsSaved)});
  EXPECT_EQ(SavedConfig()->serverPath, "\\");
  EXPECT_EQ(SavedConfig()->adminPassword, password.substr(0, 255));

  codes().OnClose();
  EXPECT_EQ(Messages(LogIn(password)), Msgs{Error(text::kWrongPassword)});
  EXPECT_EQ(Messages(LogIn(password.substr(0, 255))), Msgs{});
}

TEST_F(Settings, AFailedWriteIsReportedAndLeavesTheOldFileWhole) {
  TConfigRecord old;
  old.adminPassword = "staré";
  PutConfig(old);
  const auto before = files.Get(kConfig);
  codes().OnAdminhesloChanged("nové");
  codes().OnServercestaChanged("D:\\kody");
  files.FailReplace(kConfig, io::kAccessDenied);
  EXPECT_EQ(codes().OnUlozitNastaveni(), (Requests{Stop("File access denied")}));
  EXPECT_EQ(settings().servercesta, "D:\\kody\\");
  EXPECT_EQ(files.Get(kConfig), before);

  files.FailReplace(kConfig, io::kDiskFull);
  EXPECT_EQ(Save(), Msgs{Stop("Disk full")});
  codes().OnClose();
  EXPECT_EQ(settings().adminheslo, "staré");
}

TEST_F(Settings, RefusesTextsThatWindows1250CannotHold) {
  using Box = void (CodeWindowModel::*)(std::string);
  const auto refused = [this](Box box, std::string SettingsTab::*field, const std::string& value) {
    const SettingsTab before = settings();
    (codes().*box)(value);
    EXPECT_EQ(Save(), Msgs{Error(text::kUnstorableText)}) << value;
    (codes().*box)(before.*field);
    EXPECT_EQ(settings().*field, before.*field);
  };
  codes().OnServercestaChanged("\\\\server\\kody");
  refused(&CodeWindowModel::OnAdminhesloChanged, &SettingsTab::adminheslo, "пароль");
  refused(&CodeWindowModel::OnProvozChanged, &SettingsTab::provoz, "Kavárna ☕");
  refused(&CodeWindowModel::OnPozadiFileChanged, &SettingsTab::pozadiFile, "C:\\图片.jpg");
  refused(&CodeWindowModel::OnServercestaChanged, &SettingsTab::servercesta, "\\\\server\\コード");
  EXPECT_EQ(settings().servercesta, "\\\\server\\kody");  // untouched by a refused save
  EXPECT_FALSE(files.IsFile(kConfig));
  EXPECT_EQ(files.replaceCalls(), 0);
}

TEST_F(Settings, TheOrderLinkOpensTheOrderPage) {
  EXPECT_EQ(codes().OnOrderLink(),
            (Requests{ui::OpenUrlRequest{"https://www.sentavo.example/objednat"}}));
}

}  // namespace
}  // namespace sentavo::admin::test
