// A status file in <share>\stav\ as a guest on a PC without the guard may have written it, under a
// file name of the guest's choosing (the first line). Whatever the bytes, the overview shows one
// row for it, in one of its four states, with cells that hold no control characters and stay
// short enough for the list.
#include <cstdlib>
#include <string>
#include <string_view>

#include "administration/overview.h"

namespace {

using namespace sentavo;

class OneFile final : public FileAccess {
 public:
  OneFile(std::string name, std::string_view bytes) : name_(std::move(name)), bytes_(bytes) {}
  bool IsFile(const std::string& path) const override { return path == kFolder + name_; }
  bool IsFolder(const std::string& path) const override { return path + "\\" == kFolder; }
  ReadResult Read(const std::string& path, std::size_t maxBytes) const override {
    if (!IsFile(path)) return {io::kFileNotFound, {}};
    const std::string_view head = bytes_.substr(0, maxBytes);
    return {io::kOk, {head.begin(), head.end()}};
  }
  int Replace(const std::string&, std::span<const std::uint8_t>) override {
    return io::kAccessDenied;
  }
  int Remove(const std::string&) override { return io::kAccessDenied; }
  std::optional<std::string> RealName(const std::string&) const override { return std::nullopt; }
  std::vector<FolderFile> ListFiles(const std::string& folder) const override {
    if (folder != kFolder) return {};
    return {{name_, 0}};
  }
  static inline const std::string kFolder = "\\\\server\\kody\\stav\\";

 private:
  std::string name_;
  std::string_view bytes_;
};

void Check(const std::string& cell, std::size_t maxChars = admin::kMaxShownChars + 1) {
  std::size_t chars = 0;
  for (const char c : cell) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) std::abort();
    chars += (u & 0xC0) != 0x80;
  }
  if (chars > maxChars) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t newline = input.find('\n');
  std::string name =
      newline == std::string_view::npos ? "PC1.json" : std::string(input.substr(0, newline));
  // A name from the folder's listing names one file: no separators, whole UTF-16 behind it.
  if (name.find_first_of("\\/") != std::string::npos || name.size() > 255) return 0;
  const std::string_view bytes =
      newline == std::string_view::npos ? input : input.substr(newline + 1);
  const OneFile files(name, bytes);
  CzechFormats formats;
  const LocalTime now{DateTime{2026, 12, 10, 14, 3, 30}, 60};
  const auto rows = admin::ReadOverview(files, "\\\\server\\kody\\", now, formats);
  std::string extension = name.size() > 5 ? name.substr(name.size() - 5) : std::string();
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (rows.size() != (extension == ".json" ? 1u : 0u)) std::abort();
  for (const admin::OverviewRow& r : rows) {
    if (r.stav != "Zamčeno" && r.stav != "Host" && r.stav != "Správce" && r.stav != "Nedostupný")
      std::abort();
    for (const std::string* cell :
         {&r.pocitac, &r.kod, &r.zbyva, &r.od, &r.posledniHlaseni, &r.ochrana}) {
      Check(*cell);
    }
    Check(r.lastCommand, 3 * admin::kMaxShownChars);
  }
  return 0;
}
