#include "client/installation_id.h"

#include <charconv>

namespace sentavo::client {
namespace {

constexpr std::uint32_t kMask31 = 0x7FFF'FFFFu;

std::uint32_t NonZero31(std::uint32_t value) {
  value &= kMask31;
  return value == 0 ? 1 : value;
}

// A kept identifier is decimal digits only, 1 to 2147483647; anything else is drawn again.
std::optional<std::uint32_t> ParseKeptId(const std::vector<std::uint8_t>& bytes) {
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
    text.remove_suffix(1);
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::uint64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value == 0 || value > kMask31) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

}  // namespace

std::uint32_t PositiveId(std::string_view text) {
  std::uint32_t hash = 2166136261u;
  for (const char c : text) {
    hash ^= static_cast<std::uint8_t>(c);
    hash *= 16777619u;
  }
  return NonZero31(hash);
}

std::uint32_t InstallationIdentifier(MachineIdentity& identity, FileAccess& files,
                                     const std::string& exeDir) {
  if (const auto guid = identity.MachineGuid(); guid && !guid->empty()) return PositiveId(*guid);
  const std::string path = exeDir + std::string(kInstallationIdFile);
  bool keepFile = true;
  if (files.IsFile(path)) {
    const ReadResult kept = files.Read(path, 64);
    if (kept.error == io::kOk) {
      if (const auto id = ParseKeptId(kept.bytes)) return *id;
    } else {
      keepFile = false;  // there but unreadable just now: the next start may read it again
    }
  }
  const std::uint32_t drawn = NonZero31(identity.DrawRandom());
  if (keepFile) {
    const std::string text = std::to_string(drawn);
    // A folder we may not write to costs only the constancy of the number, not the start.
    files.Replace(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  }
  return drawn;
}

}  // namespace sentavo::client
