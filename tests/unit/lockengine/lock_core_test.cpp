// The library loader: the three routes to lockgina.dll, the messages and the exit when all fail,
// and the resolution of the 26 functions.
#include "lockengine/lock_core.h"

#include <gtest/gtest.h>

#include <set>

#include "fakes.h"

namespace sentavo::lockengine::test {
namespace {

class FakeModule : public GinaModule {
 public:
  std::set<std::string> loadable;  // paths that load
  std::set<std::string> missing;   // functions the library does not export
  std::string errorText = "The specified module could not be found.";
  std::vector<std::string> events;
  int releases = 0;

  bool Load(const std::string& path) override {
    events.push_back("load " + path);
    return loadable.contains(path);
  }
  std::string LastErrorText() override { return errorText; }
  bool Resolve(GinaFunction f) override {
    const std::string name(GinaFunctionName(f));
    events.push_back("resolve " + name);
    return !missing.contains(name);
  }
  std::int32_t Call(GinaFunction f, std::span<const std::intptr_t> args) override {
    std::string call = std::string(GinaFunctionName(f)) + "(";
    for (std::size_t i = 0; i < args.size(); ++i) call += (i ? ", " : "") + std::to_string(args[i]);
    events.push_back("call " + call + ")");
    return 1;
  }
  void Release() override { ++releases; }

  std::vector<std::string> Loads() const {
    std::vector<std::string> out;
    for (const auto& e : events)
      if (e.starts_with("load ")) out.push_back(e.substr(5));
    return out;
  }
};

class FakePrompts : public LoaderPrompts {
 public:
  std::vector<std::string> messages;
  std::optional<std::string> answer;  // the dialog's choice; empty = cancelled
  int dialogs = 0;
  std::optional<int> exitCode;

  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  std::optional<std::string> PickLibrary() override {
    ++dialogs;
    return answer;
  }
  void Exit(int code) override { exitCode = code; }
};

class LockCoreTest : public ::testing::Test {
 protected:
  FakeModule module;
  FakeRegistry registry;
  FakePrompts prompts;
  void SetPath(const std::string& dir) {
    registry.Set(RegistryRoot::LocalMachine, kGinaKey, kGinaPathValue, dir);
  }
};

TEST_F(LockCoreTest, FoundBySearchOrderIsVersionedAtOnceAndResolvedInOrder) {
  module.loadable = {"lockgina.dll"};
  {
    LockCore core(module, registry, prompts);
    EXPECT_EQ(core.wlDisableKey(0, 27, 1, 1), 1);
    EXPECT_EQ(core.wlRestoreAll(), 1);
    EXPECT_EQ(core.LibraryDirectory(), "");
    EXPECT_EQ(module.releases, 0);
  }
  EXPECT_EQ(module.releases, 1);  // released when the loader goes, at the program's end
  ASSERT_EQ(module.events.size(), 1u + 1u + 26u + 2u);
  EXPECT_EQ(module.events[0], "load lockgina.dll");
  EXPECT_EQ(module.events[1], "resolve wlVersion");
  EXPECT_EQ(module.events[2], "call wlVersion(131084)");  // before anything else is resolved
  for (std::size_t i = 1; i < kGinaFunctionCount; ++i)
    EXPECT_EQ(module.events[2 + i], "resolve " + std::string(kGinaFunctionNames[i]));
  EXPECT_EQ(module.events[28], "call wlDisableKey(0, 27, 1, 1)");
  EXPECT_EQ(module.events[29], "call wlRestoreAll()");  // loaded once, not again
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_TRUE(registry.writes.empty());
}

TEST_F(LockCoreTest, ArgumentsReachTheLibraryAsGiven) {
  module.loadable = {"lockgina.dll"};
  LockCore core(module, registry, prompts);
  core.wlSetKeyPostMessage(0x10A2C, 1468, 0);
  core.wlDisableItem(7, 0);
  core.wlInstallGina(0);
  core.wlIsGinaInstalled();
  core.wlWinVersion();
  const std::vector<std::string> tail(module.events.end() - 5, module.events.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"call wlSetKeyPostMessage(68140, 1468, 0)",
                                            "call wlDisableItem(7, 0)", "call wlInstallGina(0)",
                                            "call wlIsGinaInstalled()", "call wlWinVersion()"}));
}

TEST_F(LockCoreTest, TheRegistryPathIsJoinedToTheFileNameWithoutASeparator) {
  SetPath("C:\\Libs\\");
  module.loadable = {"C:\\Libs\\lockgina.dll"};
  LockCore core(module, registry, prompts);
  core.wlIsGinaInstalled();
  EXPECT_EQ(module.Loads(), (std::vector<std::string>{"lockgina.dll", "C:\\Libs\\lockgina.dll"}));
  EXPECT_EQ(core.LibraryDirectory(), "C:\\Libs\\");
  EXPECT_EQ(prompts.dialogs, 0);
}

TEST_F(LockCoreTest, APathWithoutBackslashFailsAndTheDialogFollows) {
  SetPath("C:\\Libs");
  module.loadable = {"C:\\Libs\\lockgina.dll"};
  prompts.answer = "C:\\Libs\\LockGina.DLL";
  LockCore core(module, registry, prompts);
  core.wlIsGinaInstalled();
  EXPECT_EQ(module.Loads(), (std::vector<std::string>{"lockgina.dll", "C:\\Libslockgina.dll",
                                                      "C:\\Libs\\lockgina.dll"}));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0], "cannot find lockgina.dll\n\rplease select path to lockgina.dll");
  // The picked directory is kept for the next start.
  EXPECT_EQ(registry.Get(RegistryRoot::LocalMachine, kGinaKey, kGinaPathValue), "C:\\Libs\\");
  EXPECT_EQ(core.LibraryDirectory(), "C:\\Libs\\");
}

TEST_F(LockCoreTest, ABlankOrMissingPathGoesStraightToTheDialogWhichCreatesTheKey) {
  for (const std::optional<std::string>& stored :
       {std::optional<std::string>("  \t"), std::optional<std::string>()}) {
    FakeModule m;
    FakeRegistry r;
    FakePrompts p;
    if (stored) r.Set(RegistryRoot::LocalMachine, kGinaKey, kGinaPathValue, *stored);
    m.loadable = {"D:\\Pick\\lockgina.dll"};
    p.answer = "D:\\Pick\\lockgina.dll";
    LockCore core(m, r, p);
    core.wlRestoreAll();
    EXPECT_EQ(m.Loads(), (std::vector<std::string>{"lockgina.dll", "D:\\Pick\\lockgina.dll"}));
    EXPECT_EQ(r.Get(RegistryRoot::LocalMachine, kGinaKey, kGinaPathValue), "D:\\Pick\\");
  }
}

TEST_F(LockCoreTest, APickOfAnotherFileRepeatsTheRegistryAttemptAndWritesNothing) {
  SetPath("C:\\Libs\\");
  prompts.answer = "D:\\Pick\\other.dll";
  module.errorText = "";
  LockCore core(module, registry, prompts);
  EXPECT_THROW(core.wlRestoreAll(), GinaError);
  EXPECT_EQ(module.Loads(), (std::vector<std::string>{"lockgina.dll", "C:\\Libs\\lockgina.dll",
                                                      "C:\\Libs\\lockgina.dll"}));
  EXPECT_TRUE(registry.writes.empty());
  ASSERT_EQ(prompts.messages.size(), 2u);
  EXPECT_EQ(prompts.messages[1], "cannot load lockgina.dll");  // no system text to add
  EXPECT_EQ(prompts.exitCode, 1);
}

TEST_F(LockCoreTest, NoLibraryAnywhereEndsTheProgramWithTheSystemsErrorText) {
  LockCore core(module, registry, prompts);
  EXPECT_THROW(core.wlIsGinaInstalled(), GinaError);
  EXPECT_EQ(prompts.dialogs, 1);
  ASSERT_EQ(prompts.messages.size(), 2u);
  EXPECT_EQ(prompts.messages[1],
            "cannot load lockgina.dll\r\nThe specified module could not be found.");
  EXPECT_EQ(prompts.exitCode, 1);
  EXPECT_EQ(core.state(), LockCore::State::LoadFailed);
  EXPECT_EQ(module.Loads(), std::vector<std::string>{"lockgina.dll"});  // the key did not open
  EXPECT_EQ(module.releases, 0);
}

TEST_F(LockCoreTest, AMissingFunctionIsNamedAndNothingIsCalledThroughIt) {
  module.loadable = {"lockgina.dll"};
  module.missing = {"wlGetKeyState", "wlExit"};
  LockCore core(module, registry, prompts);
  try {
    core.wlRestoreAll();
    FAIL() << "no error";
  } catch (const GinaError& e) {
    EXPECT_STREQ(e.what(), "error: method not found:wlGetKeyState");  // the first one missing
  }
  EXPECT_EQ(module.events[2], "call wlVersion(131084)");
  EXPECT_EQ(module.events.back(), "resolve wlGetKeyState");
  // Later calls keep failing without loading again or calling anything.
  const std::size_t before = module.events.size();
  EXPECT_THROW(core.wlDisableKey(0, 9, 1, 1), GinaError);
  EXPECT_EQ(module.events.size(), before);
  EXPECT_EQ(core.state(), LockCore::State::FunctionMissing);
}

TEST(LockCoreNames, FileNameAndDirectoryRules) {
  EXPECT_TRUE(IsGinaFileName("C:\\a b\\LOCKGINA.DLL"));
  EXPECT_TRUE(IsGinaFileName("lockgina.dll"));
  EXPECT_FALSE(IsGinaFileName("C:\\x\\lockgina.dll.bak"));
  EXPECT_FALSE(IsGinaFileName("C:\\lockgina.dll\\other.dll"));
  EXPECT_EQ(DirectoryOf("C:\\a b\\lockgina.dll"), "C:\\a b\\");
  EXPECT_EQ(DirectoryOf("lockgina.dll"), "");
  EXPECT_EQ(CannotLoadMessage("Access is denied."),
            "cannot load lockgina.dll\r\nAccess is denied.");
}

}  // namespace
}  // namespace sentavo::lockengine::test
