#include "formats/config_record.h"

#include "formats/binio.h"

namespace sentavo {
namespace {
constexpr std::size_t kAsFrontApp = 0, kRightsAt = 1, kAdminPassword = 16, kEstablishment = 272,
                      kServerPath = 528, kBackgroundFile = 784;
}  // namespace

std::optional<TConfigRecord> DecodeConfigRecord(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kConfigRecordSize) return std::nullopt;
  const auto b = bytes.first(kConfigRecordSize);
  using namespace binio;
  TConfigRecord r;
  r.asFrontApp = GetBool(b, kAsFrontApp);
  for (std::size_t i = 0; i < kRightsCount; ++i) r.rights[i] = GetBool(b, kRightsAt + i);
  r.adminPassword = GetText(b, kAdminPassword);
  r.establishment = GetText(b, kEstablishment);
  r.serverPath = GetText(b, kServerPath);
  r.backgroundFile = GetText(b, kBackgroundFile);
  return r;
}

ConfigRecordBytes EncodeConfigRecord(const TConfigRecord& r) {
  ConfigRecordBytes bytes{};
  const std::span<std::uint8_t> b(bytes);
  using namespace binio;
  PutBool(b, kAsFrontApp, r.asFrontApp);
  for (std::size_t i = 0; i < kRightsCount; ++i) PutBool(b, kRightsAt + i, r.rights[i]);
  PutText(b, kAdminPassword, r.adminPassword);
  PutText(b, kEstablishment, r.establishment);
  PutText(b, kServerPath, r.serverPath);
  PutText(b, kBackgroundFile, r.backgroundFile);
  return bytes;
}

std::string WithTrailingBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

ClientSettings ClientSettingsFromRecord(const TConfigRecord& r) {
  ClientSettings s;
  s.switches = SwitchesOf(r.asFrontApp, r.rights);
  s.provoz = r.establishment;
  s.adminheslo = r.adminPassword;
  s.pozadiFile = r.backgroundFile;
  s.servercesta = WithTrailingBackslash(r.serverPath);
  return s;
}

TConfigRecord ClientRecordFromSettings(ClientSettings& s) {
  s.servercesta = WithTrailingBackslash(std::move(s.servercesta));
  TConfigRecord r;
  r.asFrontApp = s.switches[kAsFrontAppSwitch];
  r.rights = RightsOf(s.switches);
  r.establishment = s.provoz;
  r.adminPassword = s.adminheslo;
  r.backgroundFile = s.pozadiFile;
  r.serverPath = s.servercesta;
  return r;
}

}  // namespace sentavo
