#include "tool.h"

#include <charconv>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <stdexcept>

#include "formats/code_batch.h"
#include "formats/code_name.h"
#include "formats/code_record.h"
#include "formats/codes_list.h"
#include "formats/config_record.h"
#include "formats/cp1250.h"
#include "formats/defaults.h"
#include "formats/issuing.h"
#include "formats/station.h"
#include "formats/voucher_sheet.h"
#include "json_writer.h"

namespace sentavo {
namespace {

constexpr int kExitOk = 0, kExitFile = 1, kExitUsage = 2;
constexpr std::size_t kMaxListBytes = 256u << 20;

constexpr std::string_view kUsage =
    "usage: sentavo-codes show FILE [--as code|config|list|status|command]\n"
    "       sentavo-codes issue --share DIR (--name NAME | --count K) --seconds N\n"
    "                           --type once|daily [--reusable] [--establishment TEXT]\n"
    "                           [--from DATETIME] [--to DATETIME] [--rights NAME,...]\n"
    "                           [--list CODES_DAT]\n"
    "       sentavo-codes vouchers --html FILE --share DIR --count K --seconds N (and the\n"
    "                           other issue options): issues K codes and writes their printed\n"
    "                           slips, ten to an A4 page, as an HTML page\n"
    "       sentavo-codes config --out FILE [--server-path DIR] [--establishment TEXT]\n"
    "                            [--password TEXT] [--background FILE]\n"
    "DATETIME is YYYY-MM-DD[THH:MM[:SS]]; a date alone means 00:00:00 in --from and 23:59:59 in\n"
    "--to. Without --from the code is valid from now, without --to for one day from its start.\n"
    "--rights takes check-box names (noAccShorts, altEsc, ..., nowinkeys); default ctrlaltdel.\n"
    "show takes a .json file in stav\\ as a station's status, one in prikazy\\ as a command.\n"
    "config writes a Sentavo.cfg as the administration program saves its settings: the password\n"
    "vamor unless given, the server path with a final backslash (default C:\\).\n";

// Thrown for anything the caller should correct; the message is printed as it is.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string Quoted(std::string_view s) {
  return "\"" + std::string(s) + "\"";
}

class Options {
 public:
  Options(const std::vector<std::string>& args, std::size_t first) {
    for (std::size_t i = first; i < args.size(); ++i) {
      const std::string& a = args[i];
      if (!a.starts_with("--")) {
        positional_.push_back(a);
      } else if (a == "--reusable") {
        values_.emplace_back(a, "");
      } else if (i + 1 < args.size()) {
        if (Has(a)) throw UsageError(a + " is given twice");
        values_.emplace_back(a, args[++i]);
      } else {
        throw UsageError(a + " needs a value");
      }
    }
  }
  bool Has(std::string_view name) const { return Find(name) != nullptr; }
  std::optional<std::string> Get(std::string_view name) const {
    const std::string* v = Find(name);
    return v ? std::optional(*v) : std::nullopt;
  }
  std::string Require(std::string_view name) const {
    const std::string* v = Find(name);
    if (!v) throw UsageError(std::string(name) + " is required");
    return *v;
  }
  const std::vector<std::string>& positional() const { return positional_; }
  void AllowOnly(std::initializer_list<std::string_view> names) const {
    for (const auto& [name, value] : values_) {
      bool known = false;
      for (std::string_view n : names) known = known || n == name;
      if (!known) throw UsageError("unknown option " + name);
    }
  }

 private:
  const std::string* Find(std::string_view name) const {
    for (const auto& [n, v] : values_) {
      if (n == name) return &v;
    }
    return nullptr;
  }
  std::vector<std::pair<std::string, std::string>> values_;
  std::vector<std::string> positional_;
};

long long ParseInteger(const std::string& text, std::string_view what, long long lo, long long hi) {
  long long v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v < lo || v > hi) {
    throw UsageError(std::string(what) + " must be a whole number from " + std::to_string(lo) +
                     " to " + std::to_string(hi) + ", not " + Quoted(text));
  }
  return v;
}

void RequireEncodable(const std::string& text, std::string_view what) {
  if (const auto c = FirstUnencodable(text)) {
    throw UsageError(std::string(what) + " " + Quoted(text) + " holds " + CodePointName(*c) +
                     ", which the code files cannot store (Windows-1250)");
  }
}

std::string BaseName(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return s;
}

// ---- show ----

void WriteDate(JsonWriter& j, std::string_view key, double ole) {
  j.Key(key).BeginObject();
  j.Key("local");
  if (const auto dt = FromOleDate(ole)) {
    j.String(FormatIso(*dt));
  } else {
    j.Null();
  }
  j.Key("raw").Double(ole);
  j.EndObject();
}

void WriteRights(JsonWriter& j, const RightsSet& rights) {
  j.Key("rights").BeginObject();
  for (const Right r : kAllRights) j.Key(InfoOf(r).checkBox).Bool(rights[RightIndex(r)]);
  j.EndObject();
}

template <std::size_t N>
bool AllZero(const std::array<std::uint8_t, N>& bytes) {
  for (auto b : bytes) {
    if (b != 0) return false;
  }
  return true;
}

void ShowCode(JsonWriter& j, const TCodeRecord& r) {
  j.BeginObject();
  j.Key("kind").String("code");
  WriteRights(j, r.rights);
  j.Key("reusable").Bool(r.reusable);
  j.Key("active").Bool(r.active);
  j.Key("secondsLeft").Int(r.secondsLeft);
  j.Key("establishment").String(r.establishment);
  WriteDate(j, "validFromDate", r.validFromDate);
  WriteDate(j, "validToDate", r.validToDate);
  WriteDate(j, "validFromTime", r.validFromTime);
  WriteDate(j, "validToTime", r.validToTime);
  WriteDate(j, "lastUse", r.lastUse);
  j.Key("codeType").Int(r.codeType);
  j.Key("dailySeconds").Int(r.dailySeconds);
  j.Key("loggedIn").Bool(r.loggedIn);
  j.Key("validFromDateText").String(r.validFromDateText);
  j.Key("validFromTimeText").String(r.validFromTimeText);
  j.Key("validToDateText").String(r.validToDateText);
  j.Key("validToTimeText").String(r.validToTimeText);
  WriteDate(j, "created", r.created);
  j.Key("reserved").BeginObject();
  j.Key("bytes17to19AllZero").Bool(AllZero(r.reserved17));
  j.Key("bytes328to334").BeginArray();
  for (auto b : r.reserved328) j.Int(b);
  j.EndArray();
  j.Key("bytes336to355AllZero").Bool(AllZero(r.reserved336));
  j.Key("bytes868to2659AllZero").Bool(AllZero(r.reserved868));
  j.Key("bytes3172to5719AllZero").Bool(AllZero(r.reserved3172));
  j.EndObject();
  j.EndObject();
}

void ShowConfig(JsonWriter& j, const TConfigRecord& r) {
  j.BeginObject();
  j.Key("kind").String("config");
  j.Key("asFrontApp").Bool(r.asFrontApp);
  WriteRights(j, r.rights);
  j.Key("adminPassword").String(r.adminPassword);
  j.Key("establishment").String(r.establishment);
  j.Key("serverPath").String(r.serverPath);
  j.Key("backgroundFile").String(r.backgroundFile);
  j.EndObject();
}

void ShowTime(JsonWriter& j, const char* key, const LocalTime& t) {
  j.Key(key).String(FormatLocalTime(t));
}

// A station's status or an operator's command, as the programs read it: a file they would not
// take is refused here too, with the reason.
int ShowStationFile(const std::string& path, const std::string& kind, ToolEnv& env) {
  const ReadResult read = env.files.Read(path, kMaxStationFileBytes + 1);
  if (read.error != io::kOk) {
    env.err << "sentavo-codes: " << path << ": " << IoErrorText(read.error) << "\n";
    return kExitFile;
  }
  const std::string_view text(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size());
  JsonWriter j(env.out);
  if (kind == "command") {
    const DecodedCommand d = DecodeCommand(text);
    if (!d.command) {
      env.err << "sentavo-codes: " << path << " is not a command: " << d.error << "\n";
      return kExitFile;
    }
    j.BeginObject().Key("kind").String("command").Key("command").String(CommandName(*d.command));
    if (const auto* add = std::get_if<AddTimeCommand>(&*d.command))
      j.Key("minutes").Int(add->minutes);
    if (const auto* m = std::get_if<MessageCommand>(&*d.command)) j.Key("text").String(m->text);
    j.EndObject();
    return kExitOk;
  }
  const std::optional<StationStatus> s = DecodeStatus(text);
  if (!s) {
    env.err << "sentavo-codes: " << path << " is not a station's status\n";
    return kExitFile;
  }
  j.BeginObject().Key("kind").String("status");
  j.Key("pc").String(s->pc).Key("uid").String(s->uid).Key("state").String(StateName(s->state));
  j.Key("code").String(s->code).Key("secondsLeft");
  if (s->secondsLeft) {
    j.Int(*s->secondsLeft);
  } else {
    j.Null();
  }
  ShowTime(j, "since", s->since);
  ShowTime(j, "updated", s->updated);
  j.Key("guarded").Bool(s->guarded).Key("version").String(s->version);
  if (s->lastCommand) {
    j.Key("lastCommand").BeginObject().Key("command").String(s->lastCommand->command);
    ShowTime(j, "at", s->lastCommand->at);
    j.Key("result").String(s->lastCommand->result).EndObject();
  }
  j.EndObject();
  return kExitOk;
}

int Show(const Options& opts, ToolEnv& env) {
  opts.AllowOnly({"--as"});
  if (opts.positional().size() != 1) throw UsageError("show takes one FILE");
  const std::string& path = opts.positional()[0];
  if (!env.files.IsFile(path)) {
    env.err << "sentavo-codes: " << path << ": no such file\n";
    return kExitFile;
  }
  std::string kind = opts.Get("--as").value_or("");
  if (!kind.empty() && kind != "code" && kind != "config" && kind != "list" && kind != "status" &&
      kind != "command") {
    throw UsageError("--as takes code, config, list, status or command");
  }
  const std::string name = Lower(BaseName(path));
  if (kind.empty() && name == "codes.dat") kind = "list";
  if (kind.empty() && name == "sentavo.cfg") kind = "config";
  if (kind.empty() && name.ends_with(".json")) {
    const std::string folder = Lower(path.substr(0, path.size() - BaseName(path).size()));
    kind = folder.ends_with("prikazy\\") || folder.ends_with("prikazy/") ? "command" : "status";
  }
  if (kind == "status" || kind == "command") return ShowStationFile(path, kind, env);

  // One byte more than a record tells an over-long file from a whole one.
  const std::size_t want = kind == "list" ? kMaxListBytes : kCodeRecordSize + 1;
  const ReadResult read = env.files.Read(path, want);
  if (read.error != io::kOk) {
    env.err << "sentavo-codes: " << path << ": " << IoErrorText(read.error) << "\n";
    return kExitFile;
  }
  const std::size_t size = read.bytes.size();
  if (kind.empty()) kind = size == kConfigRecordSize ? "config" : "code";

  if (kind == "list") {
    JsonWriter j(env.out);
    j.BeginObject().Key("kind").String("list").Key("codes").BeginArray();
    const std::string_view text(reinterpret_cast<const char*>(read.bytes.data()), size);
    for (const std::string& code : ParseCodesList(text)) j.String(code);
    j.EndArray().EndObject();
    return kExitOk;
  }
  const std::size_t expected = kind == "code" ? kCodeRecordSize : kConfigRecordSize;
  if (size != expected) {
    env.err << "sentavo-codes: " << path << " is not a whole " << kind << " record ("
            << (size > expected ? "more than " + std::to_string(expected) : std::to_string(size))
            << " bytes; a " << kind << " record has " << expected << ")\n";
    return kExitFile;
  }
  JsonWriter j(env.out);
  if (kind == "code") {
    ShowCode(j, *DecodeCodeRecord(read.bytes));
  } else {
    ShowConfig(j, *DecodeConfigRecord(read.bytes));
  }
  return kExitOk;
}

// ---- issue ----

RightsSet ParseRights(const std::string& list) {
  RightsSet rights{};
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    const std::string name = list.substr(start, end - start);
    const std::optional<Right> right = RightNamed(name);
    if (!right) throw UsageError("unknown right " + Quoted(name) + " in --rights");
    rights[RightIndex(*right)] = true;
    start = end + 1;
  }
  return rights;
}

DateTime ParseMoment(const std::string& text, std::string_view option, bool endOfDay) {
  const auto parsed = ParseIso(text);
  if (!parsed)
    throw UsageError(std::string(option) + " takes YYYY-MM-DD[THH:MM[:SS]], not " + Quoted(text));
  DateTime dt = parsed->value;
  if (!parsed->hasTime && endOfDay) dt.hour = 23, dt.minute = 59, dt.second = 59;
  return dt;
}

std::string CsvField(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string q = "\"";
  for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
  return q + "\"";
}

class Issuer {
 public:
  Issuer(const Options& opts, ToolEnv& env) : env_(env) {
    share_ = opts.Require("--share");
    if (!env.files.IsFolder(share_))
      throw UsageError("shared folder " + Quoted(share_) + " does not exist");
    request_.seconds = static_cast<int>(
        ParseInteger(opts.Require("--seconds"), "--seconds", kMinBudgetSeconds, kMaxBudgetSeconds));
    const std::string type = opts.Require("--type");
    if (type != "once" && type != "daily") throw UsageError("--type takes once or daily");
    request_.codeType = type == "daily" ? kCodeTypeDaily : kCodeTypeOnce;
    request_.reusable = opts.Has("--reusable");
    request_.establishment = opts.Get("--establishment").value_or("");
    RequireEncodable(request_.establishment, "--establishment");
    request_.rights =
        opts.Has("--rights") ? ParseRights(*opts.Get("--rights")) : DefaultIssueRights();
    now_ = env.clock.LocalNow();
    request_.validFrom =
        opts.Has("--from") ? ParseMoment(*opts.Get("--from"), "--from", false) : now_;
    request_.validTo = opts.Has("--to") ? ParseMoment(*opts.Get("--to"), "--to", true)
                                        : AddDays(request_.validFrom, 1);
    listPath_ = opts.Get("--list");
    // Check the list before writing any code, so that a bad list leaves nothing half done.
    if (listPath_ && env.files.IsFile(*listPath_)) {
      const ReadResult read = env.files.Read(*listPath_, kMaxListBytes);
      if (read.error != io::kOk) {
        throw std::runtime_error("Cannot open file " + *listPath_ + " (" + IoErrorText(read.error) +
                                 ")");
      }
      list_ = ParseCodeNames(
          std::string_view(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size()));
    }
    record_ = BuildIssuedRecord(request_, now_, env.formats);
    bytes_ = EncodeCodeRecord(record_);
  }

  static void CheckName(const std::string& name) {
    if (!IsIssuableCodeName(name)) {
      throw UsageError(Quoted(name) +
                       " cannot be a code name: it is empty, holds \\ / : * ? \" < > | "
                       "or a control character, ends in a space or a point, or names a device");
    }
    RequireEncodable(name, "code name");
  }

  std::string PathOf(const std::string& name) const {
    return CodeFilePath(share_, name, FolderJoin::SeparatorIfMissing,
                        std::string{env_.separator, '/'});
  }

  // Writes one code file with its own flushed replacement; true when it is new (and so belongs on
  // the list).
  bool Write(const std::string& name) {
    const std::string path = PathOf(name);
    const bool existed = env_.files.IsFile(path);
    if (const int error = env_.files.Replace(path, bytes_)) {
      throw std::runtime_error(path + ": " + IoErrorText(error));
    }
    if (!existed) list_.push_back(name);
    return !existed;
  }

  // A code of a batch, written: it belongs on the list.
  void Listed(const std::string& name) { list_.push_back(name); }
  std::span<const std::uint8_t> bytes() const { return bytes_; }

  // The shared folder with its separator, for the listing of the files there.
  std::string Folder() const {
    std::string folder = share_;
    if (folder.empty() || (folder.back() != env_.separator && folder.back() != '/'))
      folder += env_.separator;
    return folder;
  }

  void SaveList() {
    if (!listPath_) return;
    const std::string text = SerializeCodesList(list_);
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(text.data()),
                                             text.size());
    if (env_.files.Replace(*listPath_, data) != io::kOk) {
      throw std::runtime_error("Cannot create file " + *listPath_);
    }
  }

  Voucher VoucherOf(const std::string& name) const {
    return Voucher{name, request_.seconds, record_.validToDateText + " " + record_.validToTimeText};
  }
  const std::string& establishment() const { return request_.establishment; }

  std::string CsvLine(const std::string& name) const {
    return CsvField(name) + "," + std::to_string(request_.seconds) + "," +
           CsvField(record_.validFromDateText + " " + record_.validFromTimeText) + "," +
           CsvField(record_.validToDateText + " " + record_.validToTimeText) + "," +
           (request_.codeType == kCodeTypeDaily ? "daily" : "once");
  }

 private:
  ToolEnv& env_;
  std::string share_;
  IssueRequest request_;
  DateTime now_;
  std::optional<std::string> listPath_;
  CodeNames list_;
  TCodeRecord record_;
  CodeRecordBytes bytes_{};
};

// `count` new codes with generated names, written as one batch; each name is told to `issued` as
// soon as its code is written, so that a batch cut off half-way still says which codes exist.
void IssueBatch(Issuer& issuer, long long count, ToolEnv& env,
                const std::function<void(const std::string&)>& issued) {
  CodeNameGenerator generator(env.clock.UtcMillisecondsOfDay());
  const auto failure = IssueNewCodes(
      env.files, issuer.Folder(), [&](const std::string& name) { return issuer.PathOf(name); },
      issuer.bytes(), count, generator,
      [&](const std::string& name) {
        issuer.Listed(name);
        issued(name);
      });
  if (!failure) return;
  // Every code on disk before the list names them.
  if (failure->path.empty())
    throw std::runtime_error("putting the codes on disk: " + IoErrorText(failure->error));
  throw std::runtime_error(failure->path + ": " + IoErrorText(failure->error));
}

int Issue(const Options& opts, ToolEnv& env) {
  opts.AllowOnly({"--share", "--name", "--count", "--seconds", "--type", "--reusable",
                  "--establishment", "--from", "--to", "--rights", "--list"});
  if (!opts.positional().empty()) throw UsageError("unexpected " + Quoted(opts.positional()[0]));
  if (opts.Has("--name") == opts.Has("--count")) throw UsageError("give either --name or --count");
  std::optional<std::string> name = opts.Get("--name");
  if (name) Issuer::CheckName(*name);
  const long long count =
      opts.Has("--count") ? ParseInteger(*opts.Get("--count"), "--count", 1, 1000000) : 0;
  Issuer issuer(opts, env);

  if (name) {
    const bool created = issuer.Write(*name);
    env.out << (created ? "created " : "replaced ") << issuer.PathOf(*name) << "\n";
    if (created) issuer.SaveList();
    return kExitOk;
  }
  IssueBatch(issuer, count, env,
             [&](const std::string& issued) { env.out << issuer.CsvLine(issued) << "\n"; });
  issuer.SaveList();
  return kExitOk;
}

// ---- vouchers ----

// Issues as `issue --count` does and writes the printed slips of those codes as an HTML page.
int Vouchers(const Options& opts, ToolEnv& env) {
  opts.AllowOnly({"--html", "--share", "--count", "--seconds", "--type", "--reusable",
                  "--establishment", "--from", "--to", "--rights", "--list"});
  if (!opts.positional().empty()) throw UsageError("unexpected " + Quoted(opts.positional()[0]));
  const std::string html = opts.Require("--html");
  const long long count = ParseInteger(opts.Require("--count"), "--count", 1, 10000);
  Issuer issuer(opts, env);
  VoucherSheet sheet{issuer.establishment(), {}};
  IssueBatch(issuer, count, env, [&](const std::string& issued) {
    sheet.vouchers.push_back(issuer.VoucherOf(issued));
    env.out << issuer.CsvLine(issued) << "\n";
  });
  issuer.SaveList();
  const std::string page = VoucherSheetHtml(sheet);
  if (const int error = env.files.Replace(
          html, std::span(reinterpret_cast<const std::uint8_t*>(page.data()), page.size()))) {
    throw std::runtime_error(html + ": " + IoErrorText(error) + " (the codes were issued)");
  }
  return kExitOk;
}

// ---- config ----

int Config(const Options& opts, ToolEnv& env) {
  opts.AllowOnly({"--out", "--server-path", "--establishment", "--password", "--background"});
  if (!opts.positional().empty()) throw UsageError("unexpected " + Quoted(opts.positional()[0]));
  const std::string out = opts.Require("--out");
  TConfigRecord record;
  // The switches the administration program always saves: asFrontApp and ctrlaltdel.
  record.asFrontApp = kDefaultSwitches[kAsFrontAppSwitch];
  record.rights = RightsOf(kDefaultSwitches);
  record.adminPassword = opts.Get("--password").value_or(std::string(kDefaultPassword));
  record.establishment = opts.Get("--establishment").value_or("");
  record.serverPath = WithTrailingBackslash(opts.Get("--server-path").value_or("C:\\"));
  record.backgroundFile = opts.Get("--background").value_or("");
  RequireEncodable(record.adminPassword, "--password");
  RequireEncodable(record.establishment, "--establishment");
  RequireEncodable(record.serverPath, "--server-path");
  RequireEncodable(record.backgroundFile, "--background");
  const ConfigRecordBytes bytes = EncodeConfigRecord(record);
  if (const int error = env.files.Replace(out, bytes))
    throw std::runtime_error(out + ": " + IoErrorText(error));
  env.out << "written " << out << "\n";
  return kExitOk;
}

}  // namespace

int RunSentavoCodes(const std::vector<std::string>& args, ToolEnv& env) {
  try {
    if (args.empty()) throw UsageError("no command given");
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
      env.out << kUsage;
      return kExitOk;
    }
    const Options opts(args, 1);
    if (args[0] == "show") return Show(opts, env);
    if (args[0] == "issue") return Issue(opts, env);
    if (args[0] == "config") return Config(opts, env);
    if (args[0] == "vouchers") return Vouchers(opts, env);
    throw UsageError("unknown command " + Quoted(args[0]));
  } catch (const UsageError& e) {
    env.err << "sentavo-codes: " << e.what() << "\n" << kUsage;
    return kExitUsage;
  } catch (const std::exception& e) {
    env.err << "sentavo-codes: " << e.what() << "\n";
    return kExitFile;
  }
}

}  // namespace sentavo
