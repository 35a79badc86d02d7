// The path and file-name boxes without their windows: the option sets, the placement of the
// browse button, the browse operations of both boxes and of the directory selection component,
// the rules of the classic directory dialog, and Windows path arithmetic.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/component.h"
#include "ui/enum_set.h"
#include "ui/geometry.h"

namespace sentavo::widgets {

enum class TPosition { onLeft, onRight };

enum class TSelectDirOpt { sdAllowCreate, sdPerformCreate, sdPrompt };
using TSelectDirOpts = ui::EnumSet<TSelectDirOpt>;

enum class TOpenOption {
  ofReadOnly,
  ofOverwritePrompt,
  ofHideReadOnly,
  ofNoChangeDir,
  ofShowHelp,
  ofNoValidate,
  ofAllowMultiSelect,
  ofExtensionDifferent,
  ofPathMustExist,
  ofFileMustExist,
  ofCreatePrompt,
  ofShareAware,
  ofNoReadOnlyReturn,
  ofNoTestFileCreate,
  ofNoNetworkButton,
  ofNoLongNames,
  ofOldStyleDialog,
  ofNoDereferenceLinks,
  ofEnableIncludeNotify,
  ofEnableSizing
};
using TOpenOptions = ui::EnumSet<TOpenOption>;

// The common dialog's flag word (OFN_…) for a set of options, and the options that the dialog
// reports back (read-only ticked, another extension typed) taken from the returned flags.
std::uint32_t OpenOptionsToFlags(const TOpenOptions& options);
TOpenOptions ApplyReturnedFlags(TOpenOptions options, std::uint32_t flags);

// The browse button is 20 pixels wide at one edge; the edit field fills the rest.
inline constexpr int kBrowseButtonWidth = 20;
struct BoxLayout {
  ui::Rect edit;
  ui::Rect button;
};
BoxLayout LayoutBox(int width, int height, TPosition position);

// "a,b": the names of a multiple selection joined with commas, nothing after the last.
std::string JoinFileNames(const std::vector<std::string>& names);

// Windows paths ("C:\", "\\server\share\dir"): joining, the parent, and the root.
std::string JoinPath(std::string_view dir, std::string_view name);
std::string ParentDirectory(std::string_view path);  // a root is its own parent
bool IsRootDirectory(std::string_view path);

// What the classic directory dialog does with the path in it when OK is pressed.
enum class DirectoryVerdict { Accept, AcceptAndCreate, AskToCreate, Refuse };
DirectoryVerdict JudgeChosenDirectory(std::string_view path, const TSelectDirOpts& options,
                                      bool exists);
// After the user agreed to a directory that does not exist.
DirectoryVerdict AfterCreateAgreed(const TSelectDirOpts& options);

// The two directory choosers, as the system offers them.
class DirectoryDialogs {
 public:
  virtual ~DirectoryDialogs() = default;
  // The classic dialog starting at `start`; empty when cancelled.
  virtual std::optional<std::string> Classic(const std::string& start,
                                             const TSelectDirOpts& options, int helpContext) = 0;
  // The shell's folder browser, file-system folders only, rooted at `root` unless it is empty.
  virtual std::optional<std::string> ShellBrowser(const std::string& title,
                                                  const std::string& root) = 0;
};

class TBUCommonDialog : public ui::Component {
 public:
  using ui::Component::Component;
  virtual bool Execute() { return true; }
};

class TBUSelectDirectory : public TBUCommonDialog {
 public:
  TBUSelectDirectory(ui::Component* owner, DirectoryDialogs& dialogs, std::string name = {})
      : TBUCommonDialog(owner, std::move(name)), dialogs_(&dialogs) {}

  bool ClassicDialog() const { return classicDialog_; }
  void SetClassicDialog(bool v) { classicDialog_ = v; }
  const std::string& StartDir() const { return startDir_; }
  void SetStartDir(const std::string& v) { startDir_ = v; }
  const TSelectDirOpts& Options() const { return options_; }
  void SetOptions(const TSelectDirOpts& v) { options_ = v; }
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int v) { helpContext_ = v; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& v) { title_ = v; }
  // The result of the last Execute.
  const std::string& Directory() const { return directory_; }

  bool Execute() override;

 private:
  DirectoryDialogs* dialogs_;
  bool classicDialog_ = true;
  std::string startDir_;
  TSelectDirOpts options_;
  int helpContext_ = 0;
  std::string title_;
  std::string directory_;
};

// What the open-file dialog is asked and what it answers.
struct OpenFileRequest {
  std::string title;
  std::string initialDir;
  TOpenOptions options;
  std::string filter;
  std::string defaultExt;
};
struct OpenFileResult {
  std::vector<std::string> files;  // full paths, in the dialog's order
  std::uint32_t flags = 0;         // the dialog's returned flag word
};
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  virtual std::optional<OpenFileResult> Open(const OpenFileRequest& request) = 0;
};

// The edit field of a box: the only place where its value lives.
class BoxText {
 public:
  virtual ~BoxText() = default;
  virtual std::string EditText() const = 0;
  virtual void SetEditText(const std::string& text) = 0;
};

using TOnOpened = std::function<void(ui::Component& sender, const std::string& value)>;
using TOnOpenCanceled = std::function<void(ui::Component& sender)>;

// Browse of the directory box: the chosen directory replaces the text, a cancel keeps it.
void BrowseDirectory(ui::Component& sender, TBUSelectDirectory& dialog, bool classic, BoxText& text,
                     const TOnOpened& onOpened, const TOnOpenCanceled& onCanceled);

// Browse of the file-name box. A multiple selection puts the joined names into the text and
// replaces `files`; a single one replaces only the text.
void BrowseFile(ui::Component& sender, FileDialogs& dialogs, OpenFileRequest& request,
                BoxText& text, std::vector<std::string>& files, const TOnOpened& onOpened,
                const TOnOpenCanceled& onCanceled);

}  // namespace sentavo::widgets
