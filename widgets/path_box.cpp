#include "widgets/path_box.h"

#include <algorithm>
#include <array>
#include <utility>

namespace sentavo::widgets {
namespace {

// The OFN_… value of each option, in the order of TOpenOption; ofOldStyleDialog is the absence of
// OFN_EXPLORER.
constexpr std::array<std::uint32_t, 20> kOpenFlags = {
    0x00000001, 0x00000002, 0x00000004, 0x00000008, 0x00000010, 0x00000100, 0x00000200,
    0x00000400, 0x00000800, 0x00001000, 0x00002000, 0x00004000, 0x00008000, 0x00010000,
    0x00020000, 0x00040000, 0x00000000, 0x00100000, 0x00400000, 0x00800000};
constexpr std::uint32_t kExplorer = 0x00080000;

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

}  // namespace

std::uint32_t OpenOptionsToFlags(const TOpenOptions& options) {
  std::uint32_t flags = 0;
  for (std::size_t i = 0; i < kOpenFlags.size(); ++i) {
    if (options.Has(static_cast<TOpenOption>(i))) flags |= kOpenFlags[i];
  }
  if (!options.Has(TOpenOption::ofOldStyleDialog)) flags |= kExplorer;
  return flags;
}

TOpenOptions ApplyReturnedFlags(TOpenOptions options, std::uint32_t flags) {
  options.Set(TOpenOption::ofReadOnly, (flags & 0x1) != 0);
  options.Set(TOpenOption::ofExtensionDifferent, (flags & 0x400) != 0);
  return options;
}

BoxLayout LayoutBox(int width, int height, TPosition position) {
  const int bw = std::min(kBrowseButtonWidth, std::max(0, width));
  if (position == TPosition::onLeft) return {{bw, 0, width, height}, {0, 0, bw, height}};
  return {{0, 0, width - bw, height}, {width - bw, 0, width, height}};
}

std::string JoinFileNames(const std::vector<std::string>& names) {
  std::string out;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) out += ',';
    out += names[i];
  }
  return out;
}

std::string JoinPath(std::string_view dir, std::string_view name) {
  std::string out(dir);
  if (!out.empty() && !IsSeparator(out.back())) out += '\\';
  out += name;
  return out;
}

bool IsRootDirectory(std::string_view path) {
  if (path.size() == 3 && path[1] == ':' && IsSeparator(path[2])) return true;  // C:\ .
  if (path.size() == 2 && path[1] == ':') return true;                          // C:
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    // \\server\share or \\server\share\ .
    std::size_t seps = 0;
    for (std::size_t i = 2; i < path.size(); ++i) {
      if (IsSeparator(path[i]) && i + 1 < path.size()) ++seps;
    }
    return seps <= 1;
  }
  return false;
}

std::string ParentDirectory(std::string_view path) {
  if (path.empty() || IsRootDirectory(path)) return std::string(path);
  std::string p(path);
  while (p.size() > 1 && IsSeparator(p.back())) p.pop_back();
  const std::size_t cut = p.find_last_of("\\/");
  if (cut == std::string::npos) return {};
  std::string parent = p.substr(0, cut);
  if (parent.size() == 2 && parent[1] == ':') parent += '\\';  // the drive's root keeps its "\"
  if (parent.empty()) return std::string(1, p[0]);
  return parent;
}

DirectoryVerdict JudgeChosenDirectory(std::string_view path, const TSelectDirOpts& options,
                                      bool exists) {
  if (path.empty()) return DirectoryVerdict::Refuse;
  if (exists) return DirectoryVerdict::Accept;
  if (!options.Has(TSelectDirOpt::sdAllowCreate)) return DirectoryVerdict::Refuse;
  if (options.Has(TSelectDirOpt::sdPrompt)) return DirectoryVerdict::AskToCreate;
  return AfterCreateAgreed(options);
}

DirectoryVerdict AfterCreateAgreed(const TSelectDirOpts& options) {
  return options.Has(TSelectDirOpt::sdPerformCreate) ? DirectoryVerdict::AcceptAndCreate
                                                     : DirectoryVerdict::Accept;
}

bool TBUSelectDirectory::Execute() {
  directory_ = startDir_;
  std::optional<std::string> chosen;
  if (classicDialog_) {
    chosen = dialogs_->Classic(directory_, options_, helpContext_);
  } else {
    directory_.clear();
    chosen = dialogs_->ShellBrowser(title_, startDir_);
  }
  if (!chosen) return false;
  directory_ = *chosen;
  return true;
}

void BrowseDirectory(ui::Component& sender, TBUSelectDirectory& dialog, bool classic, BoxText& text,
                     const TOnOpened& onOpened, const TOnOpenCanceled& onCanceled) {
  dialog.SetClassicDialog(classic);
  if (dialog.Execute()) {
    text.SetEditText(dialog.Directory());
    if (onOpened) onOpened(sender, text.EditText());
  } else if (onCanceled) {
    onCanceled(sender);
  }
}

void BrowseFile(ui::Component& sender, FileDialogs& dialogs, OpenFileRequest& request,
                BoxText& text, std::vector<std::string>& files, const TOnOpened& onOpened,
                const TOnOpenCanceled& onCanceled) {
  std::optional<OpenFileResult> result = dialogs.Open(request);
  if (!result || result->files.empty()) {
    if (onCanceled) onCanceled(sender);
    return;
  }
  request.options = ApplyReturnedFlags(request.options, result->flags);
  if (request.options.Has(TOpenOption::ofAllowMultiSelect)) {
    text.SetEditText(JoinFileNames(result->files));
    files = std::move(result->files);
  } else {
    text.SetEditText(result->files.front());
  }
  if (onOpened) onOpened(sender, text.EditText());
}

}  // namespace sentavo::widgets
