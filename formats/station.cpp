#include "formats/station.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

namespace sentavo {

namespace {

using nlohmann::json;

bool Digits(std::string_view s, std::size_t at, std::size_t n, int& out) {
  if (at + n > s.size()) return false;
  out = 0;
  for (std::size_t i = at; i < at + n; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    out = out * 10 + (s[i] - '0');
  }
  return true;
}

// Code points in a UTF-8 text that the JSON reader has already found well-formed.
std::size_t Characters(std::string_view utf8) {
  std::size_t n = 0;
  for (const char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

// A JSON object parsed without exceptions; null for anything else or anything too large.
json ParseObject(std::string_view text) {
  if (text.size() > kMaxStationFileBytes) return nullptr;
  json j = json::parse(text.begin(), text.end(), nullptr, /*allow_exceptions=*/false);
  return j.is_object() ? j : json(nullptr);
}

std::string Dump(const json& j) {
  // A text that is not UTF-8 (it cannot come from our own strings, but a name is a name) is
  // written with replacement characters rather than failing the whole report.
  return j.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

const std::string* String(const json& j, const char* key) {
  const auto it = j.find(key);
  return it != j.end() && it->is_string() ? it->get_ptr<const std::string*>() : nullptr;
}

std::optional<LocalTime> Time(const json& j, const char* key) {
  const std::string* s = String(j, key);
  return s ? ParseLocalTime(*s) : std::nullopt;
}

}  // namespace

std::string FormatLocalTime(const LocalTime& t) {
  const int off = std::abs(t.offsetMinutes);
  char tail[8];
  std::snprintf(tail, sizeof tail, "%c%02d:%02d", t.offsetMinutes < 0 ? '-' : '+', off / 60 % 100,
                off % 60);
  DateTime whole = t.local;
  whole.millisecond = 0;  // to the second: the reader takes nothing finer
  return FormatIso(whole) + tail;
}

std::optional<LocalTime> ParseLocalTime(std::string_view s) {
  // YYYY-MM-DDTHH:MM:SS then Z or ±HH:MM
  LocalTime t;
  DateTime& d = t.local;
  if (s.size() < 20 || s[4] != '-' || s[7] != '-' || s[10] != 'T' || s[13] != ':' || s[16] != ':')
    return std::nullopt;
  if (!Digits(s, 0, 4, d.year) || !Digits(s, 5, 2, d.month) || !Digits(s, 8, 2, d.day) ||
      !Digits(s, 11, 2, d.hour) || !Digits(s, 14, 2, d.minute) || !Digits(s, 17, 2, d.second))
    return std::nullopt;
  if (!IsValidDateTime(d)) return std::nullopt;
  const std::string_view zone = s.substr(19);
  if (zone == "Z") return t;
  int h = 0, m = 0;
  if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || zone[3] != ':' ||
      !Digits(zone, 1, 2, h) || !Digits(zone, 4, 2, m) || h > 14 || m > 59)
    return std::nullopt;
  t.offsetMinutes = (zone[0] == '-' ? -1 : 1) * (h * 60 + m);
  return t;
}

double SecondsBetween(const LocalTime& a, const LocalTime& b) {
  const double ua = ToOleDate(a.local) * 86400.0 - a.offsetMinutes * 60.0;
  const double ub = ToOleDate(b.local) * 86400.0 - b.offsetMinutes * 60.0;
  return ub - ua;
}

std::string_view StateName(StationState s) {
  switch (s) {
    case StationState::Guest: return "guest";
    case StationState::Admin: return "admin";
    case StationState::Locked: break;
  }
  return "locked";
}

std::string EncodeStatus(const StationStatus& s) {
  json j = {{"pc", s.pc},
            {"uid", s.uid},
            {"state", StateName(s.state)},
            {"code", s.code},
            {"secondsLeft", s.secondsLeft ? json(*s.secondsLeft) : json(nullptr)},
            {"since", FormatLocalTime(s.since)},
            {"updated", FormatLocalTime(s.updated)},
            {"guarded", s.guarded},
            {"version", s.version}};
  if (s.lastCommand) {
    j["lastCommand"] = {{"command", s.lastCommand->command},
                        {"at", FormatLocalTime(s.lastCommand->at)},
                        {"result", s.lastCommand->result}};
  }
  return Dump(j);
}

std::optional<StationStatus> DecodeStatus(std::string_view text) {
  const json j = ParseObject(text);
  if (j.is_null()) return std::nullopt;
  StationStatus s;
  const std::string *pc = String(j, "pc"), *uid = String(j, "uid"), *state = String(j, "state"),
                    *code = String(j, "code"), *version = String(j, "version");
  const std::optional<LocalTime> since = Time(j, "since"), updated = Time(j, "updated");
  const auto guarded = j.find("guarded");
  const auto left = j.find("secondsLeft");
  if (!pc || !uid || !state || !code || !version || !since || !updated || guarded == j.end() ||
      !guarded->is_boolean() || left == j.end())
    return std::nullopt;
  if (*state == "locked") {
    s.state = StationState::Locked;
  } else if (*state == "guest") {
    s.state = StationState::Guest;
  } else if (*state == "admin") {
    s.state = StationState::Admin;
  } else {
    return std::nullopt;
  }
  if (left->is_number_integer()) {
    const auto v = left->get<std::int64_t>();
    if (v < 0 || v > INT32_MAX) return std::nullopt;
    s.secondsLeft = static_cast<std::int32_t>(v);
  } else if (!left->is_null()) {
    return std::nullopt;
  }
  s.pc = *pc;
  s.uid = *uid;
  s.code = *code;
  s.version = *version;
  s.since = *since;
  s.updated = *updated;
  s.guarded = guarded->get<bool>();
  if (const auto last = j.find("lastCommand"); last != j.end() && !last->is_null()) {
    const std::string *command = last->is_object() ? String(*last, "command") : nullptr,
                      *result = last->is_object() ? String(*last, "result") : nullptr;
    const std::optional<LocalTime> at = last->is_object() ? Time(*last, "at") : std::nullopt;
    if (!command || !result || !at) return std::nullopt;
    s.lastCommand = CommandOutcome{*command, *at, *result};
  }
  return s;
}

bool IsStale(const StationStatus& s, const LocalTime& now) {
  return SecondsBetween(s.updated, now) > kStaleAfterSeconds;
}

std::string_view CommandName(const StationCommand& c) {
  if (std::holds_alternative<AddTimeCommand>(c)) return "addTime";
  if (std::holds_alternative<MessageCommand>(c)) return "message";
  return "lock";
}

std::string EncodeCommand(const StationCommand& c) {
  json j = {{"command", CommandName(c)}};
  if (const auto* add = std::get_if<AddTimeCommand>(&c)) j["minutes"] = add->minutes;
  if (const auto* message = std::get_if<MessageCommand>(&c)) j["text"] = message->text;
  return Dump(j);
}

DecodedCommand DecodeCommand(std::string_view text) {
  DecodedCommand d;
  if (text.size() > kMaxStationFileBytes) {
    d.error = "file too large";
    return d;
  }
  const json j = ParseObject(text);
  if (j.is_null()) {
    d.error = "not a JSON object";
    return d;
  }
  const std::string* name = String(j, "command");
  if (!name) {
    d.error = "no command";
    return d;
  }
  d.name = *name;
  if (*name == "lock") {
    d.command = LockCommand{};
  } else if (*name == "addTime") {
    const auto m = j.find("minutes");
    if (m == j.end() || !m->is_number_integer()) {
      d.error = "minutes missing";
    } else if (const auto v = m->get<std::int64_t>(); v < kMinAddMinutes || v > kMaxAddMinutes) {
      d.error = "minutes out of range 1-600";
    } else {
      d.command = AddTimeCommand{static_cast<int>(v)};
    }
  } else if (*name == "message") {
    const std::string* t = String(j, "text");
    if (!t) {
      d.error = "text missing";
    } else if (Characters(*t) > kMaxMessageChars) {
      d.error = "text longer than 200 characters";
    } else {
      d.command = MessageCommand{*t};
    }
  } else {
    d.error = "unknown command";
  }
  return d;
}

std::string StationFile(std::string_view share, std::string_view folder, std::string_view pc) {
  std::string name;
  for (const char c : pc) {
    const bool safe = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '-' || c == '_' || static_cast<unsigned char>(c) >= 0x80;
    name += safe ? c : '_';
  }
  if (name.empty()) name = "_";
  return std::string(share) + std::string(folder) + "\\" + name + ".json";
}

}  // namespace sentavo
