// The path boxes: browse operations with fake dialogs, the classic dialog's rules, the option
// flags, the button placement and the path arithmetic.
#include "widgets/path_box.h"

#include <gtest/gtest.h>

namespace sentavo::widgets {
namespace {

class FakeDirectoryDialogs : public DirectoryDialogs {
 public:
  std::optional<std::string> answer;
  std::vector<std::string> calls;
  std::optional<std::string> Classic(const std::string& start, const TSelectDirOpts& options,
                                     int helpContext) override {
    calls.push_back("classic " + start + " " +
                    std::to_string(options.Has(TSelectDirOpt::sdPrompt)) + " " +
                    std::to_string(helpContext));
    return answer;
  }
  std::optional<std::string> ShellBrowser(const std::string& title,
                                          const std::string& root) override {
    calls.push_back("shell " + title + " " + root);
    return answer;
  }
};

class FakeFileDialogs : public FileDialogs {
 public:
  std::optional<OpenFileResult> answer;
  OpenFileRequest seen;
  std::optional<OpenFileResult> Open(const OpenFileRequest& request) override {
    seen = request;
    return answer;
  }
};

class Text : public BoxText {
 public:
  std::string text;
  std::string EditText() const override { return text; }
  void SetEditText(const std::string& t) override { text = t; }
};

struct Events {
  std::vector<std::string> log;
  TOnOpened opened = [this](ui::Component&, const std::string& v) { log.push_back("opened " + v); };
  TOnOpenCanceled canceled = [this](ui::Component&) { log.push_back("canceled"); };
};

TEST(SelectDirectory, ClassicStartsAtStartDirAndShellIsRootedThere) {
  FakeDirectoryDialogs dialogs;
  TBUSelectDirectory select(nullptr, dialogs);
  EXPECT_TRUE(select.ClassicDialog());
  EXPECT_EQ(select.HelpContext(), 0);
  select.SetStartDir("D:\\data");
  select.SetOptions({TSelectDirOpt::sdAllowCreate, TSelectDirOpt::sdPrompt});
  select.SetTitle("Vyberte");
  dialogs.answer = "D:\\data\\sub";
  EXPECT_TRUE(select.Execute());
  EXPECT_EQ(select.Directory(), "D:\\data\\sub");
  select.SetClassicDialog(false);
  dialogs.answer.reset();
  EXPECT_FALSE(select.Execute());
  EXPECT_EQ(select.Directory(), "");  // the shell browser starts from an empty result
  select.SetClassicDialog(true);
  EXPECT_FALSE(select.Execute());
  EXPECT_EQ(select.Directory(), "D:\\data");
  EXPECT_EQ(dialogs.calls,
            (std::vector<std::string>{"classic D:\\data 1 0", "shell Vyberte D:\\data",
                                      "classic D:\\data 1 0"}));
  TBUCommonDialog base;
  EXPECT_TRUE(base.Execute());
}

TEST(DirectoryBox, ConfirmReplacesTheTextAndCancelKeepsIt) {
  ui::Component box;
  FakeDirectoryDialogs dialogs;
  TBUSelectDirectory select(&box, dialogs);
  select.SetStartDir("C:\\start");
  Text text;
  text.text = "C:\\typed\\";
  Events ev;
  dialogs.answer = "E:\\chosen";
  BrowseDirectory(box, select, true, text, ev.opened, ev.canceled);
  EXPECT_EQ(text.text, "E:\\chosen");
  // The dialog starts at its own start folder, not at the text in the box.
  EXPECT_EQ(dialogs.calls.back(), "classic C:\\start 0 0");
  dialogs.answer.reset();
  BrowseDirectory(box, select, false, text, ev.opened, ev.canceled);
  EXPECT_EQ(text.text, "E:\\chosen");
  EXPECT_FALSE(select.ClassicDialog());  // the box's choice is copied in first
  EXPECT_EQ(ev.log, (std::vector<std::string>{"opened E:\\chosen", "canceled"}));
  BrowseDirectory(box, select, true, text, nullptr, nullptr);  // events are optional
}

TEST(FileNameBox, MultipleSelectionJoinsNamesAndFillsFiles) {
  ui::Component box;
  FakeFileDialogs dialogs;
  OpenFileRequest request;
  request.options = {TOpenOption::ofAllowMultiSelect, TOpenOption::ofHideReadOnly};
  Text text;
  std::vector<std::string> files;
  Events ev;
  dialogs.answer = OpenFileResult{{"C:\\d\\a.txt", "C:\\d\\b.txt"}, 0x80204};
  BrowseFile(box, dialogs, request, text, files, ev.opened, ev.canceled);
  EXPECT_EQ(text.text, "C:\\d\\a.txt,C:\\d\\b.txt");
  EXPECT_EQ(files, (std::vector<std::string>{"C:\\d\\a.txt", "C:\\d\\b.txt"}));

  // A later single selection replaces the text and leaves Files.
  request.options = {TOpenOption::ofHideReadOnly};
  dialogs.answer = OpenFileResult{{"C:\\e\\c.jpg"}, 0x80004};
  BrowseFile(box, dialogs, request, text, files, ev.opened, ev.canceled);
  EXPECT_EQ(text.text, "C:\\e\\c.jpg");
  EXPECT_EQ(files.size(), 2u);

  dialogs.answer.reset();
  BrowseFile(box, dialogs, request, text, files, ev.opened, ev.canceled);
  EXPECT_EQ(text.text, "C:\\e\\c.jpg");
  EXPECT_EQ(ev.log, (std::vector<std::string>{"opened C:\\d\\a.txt,C:\\d\\b.txt",
                                              "opened C:\\e\\c.jpg", "canceled"}));
}

TEST(FileNameBox, ReturnedFlagsUpdateReadOnlyAndExtensionDifferent) {
  ui::Component box;
  FakeFileDialogs dialogs;
  OpenFileRequest request;
  request.defaultExt = "jpg";
  Text text;
  std::vector<std::string> files;
  dialogs.answer = OpenFileResult{{"C:\\x.png"}, 0x401};
  BrowseFile(box, dialogs, request, text, files, nullptr, nullptr);
  EXPECT_TRUE(request.options.Has(TOpenOption::ofReadOnly));
  EXPECT_TRUE(request.options.Has(TOpenOption::ofExtensionDifferent));
  EXPECT_EQ(dialogs.seen.defaultExt, "jpg");
}

TEST(OpenOptions, MapToTheDialogFlags) {
  EXPECT_EQ(OpenOptionsToFlags({}), 0x80000u);  // the Explorer-style dialog unless asked otherwise
  EXPECT_EQ(OpenOptionsToFlags({TOpenOption::ofHideReadOnly, TOpenOption::ofEnableSizing}),
            0x4u | 0x800000u | 0x80000u);
  EXPECT_EQ(OpenOptionsToFlags({TOpenOption::ofOldStyleDialog, TOpenOption::ofAllowMultiSelect,
                                TOpenOption::ofFileMustExist, TOpenOption::ofNoDereferenceLinks}),
            0x200u | 0x1000u | 0x100000u);
  EXPECT_EQ(OpenOptionsToFlags({TOpenOption::ofEnableIncludeNotify, TOpenOption::ofNoLongNames}),
            0x400000u | 0x40000u | 0x80000u);
}

TEST(DirectoryRules, WhatOkDoesWithAPathThatIsMissing) {
  using O = TSelectDirOpt;
  using V = DirectoryVerdict;
  EXPECT_EQ(JudgeChosenDirectory("C:\\x", {}, true), V::Accept);
  EXPECT_EQ(JudgeChosenDirectory("C:\\x", {}, false), V::Refuse);
  EXPECT_EQ(JudgeChosenDirectory("", {O::sdAllowCreate}, false), V::Refuse);
  EXPECT_EQ(JudgeChosenDirectory("C:\\x", {O::sdAllowCreate}, false), V::Accept);
  EXPECT_EQ(JudgeChosenDirectory("C:\\x", {O::sdAllowCreate, O::sdPerformCreate}, false),
            V::AcceptAndCreate);
  EXPECT_EQ(JudgeChosenDirectory("C:\\x", {O::sdAllowCreate, O::sdPrompt}, false), V::AskToCreate);
  EXPECT_EQ(JudgeChosenDirectory("C:\\x", {O::sdPerformCreate, O::sdPrompt}, false), V::Refuse);
  EXPECT_EQ(AfterCreateAgreed({O::sdAllowCreate, O::sdPrompt, O::sdPerformCreate}),
            V::AcceptAndCreate);
  EXPECT_EQ(AfterCreateAgreed({O::sdAllowCreate, O::sdPrompt}), V::Accept);
}

TEST(BoxLayout, ButtonDocksAtEitherEdge) {
  const BoxLayout right = LayoutBox(150, 20, TPosition::onRight);
  EXPECT_EQ(right.edit, (ui::Rect{0, 0, 130, 20}));
  EXPECT_EQ(right.button, (ui::Rect{130, 0, 150, 20}));
  const BoxLayout left = LayoutBox(150, 20, TPosition::onLeft);
  EXPECT_EQ(left.button, (ui::Rect{0, 0, 20, 20}));
  EXPECT_EQ(left.edit, (ui::Rect{20, 0, 150, 20}));
  EXPECT_EQ(LayoutBox(10, 20, TPosition::onRight).edit.Width(), 0);
}

TEST(Paths, JoinParentAndRoot) {
  EXPECT_EQ(JoinFileNames({}), "");
  EXPECT_EQ(JoinFileNames({"a"}), "a");
  EXPECT_EQ(JoinFileNames({"a", "", "b"}), "a,,b");
  EXPECT_EQ(JoinPath("C:\\", "Windows"), "C:\\Windows");
  EXPECT_EQ(JoinPath("C:\\data", "x"), "C:\\data\\x");
  EXPECT_EQ(ParentDirectory("C:\\Windows\\System32\\"), "C:\\Windows");
  EXPECT_EQ(ParentDirectory("C:\\Windows"), "C:\\");
  EXPECT_EQ(ParentDirectory("C:\\"), "C:\\");
  EXPECT_EQ(ParentDirectory("\\\\server\\share\\dir"), "\\\\server\\share");
  EXPECT_TRUE(IsRootDirectory("\\\\server\\share"));
  EXPECT_TRUE(IsRootDirectory("\\\\server\\share\\"));
  EXPECT_FALSE(IsRootDirectory("\\\\server\\share\\dir"));
  EXPECT_TRUE(IsRootDirectory("D:"));
  EXPECT_FALSE(IsRootDirectory("D:\\x"));
}

}  // namespace
}  // namespace sentavo::widgets
