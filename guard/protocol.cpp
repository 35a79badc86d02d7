#include "guard/protocol.h"

#include <string>
#include <string_view>
#include <type_traits>

namespace sentavo::guard {
namespace {

using client::LabelView;
using client::LockEvent;
using client::LockEventKind;
using client::LockScreenView;

// Message types; the numbers travel and never change.
enum class Type : std::uint8_t {
  Hello = 1,
  Event = 2,
  View = 101,
  Requests = 102,
  Switch = 103,
  RestoreAll = 104,
  MovePointer = 105,
};

// Request kinds inside a RequestsMessage.
enum class RequestType : std::uint8_t {
  Message = 1,
  ShowWindow,
  OpenUrl,
  EndProgram,
  WindowAction,
  Notice
};
constexpr std::uint8_t kLastMessageKind = static_cast<std::uint8_t>(ui::Message::Kind::Plain);
constexpr std::uint8_t kLastWindowAction =
    static_cast<std::uint8_t>(ui::WindowAction::ActivateTray);

// Where a text may be cut: never inside a character.
std::string_view CutAtCharacter(std::string_view text, std::size_t max) {
  if (text.size() <= max) return text;
  std::size_t end = max;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

// Strict UTF-8 without NUL: what the other end sends goes into Windows texts and file names.
bool IsCleanUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c == 0) return false;
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t n;
    std::uint32_t cp;
    if ((c & 0xE0) == 0xC0) {
      n = 1, cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      n = 2, cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      n = 3, cp = c & 0x07;
    } else {
      return false;
    }
    if (s.size() - i <= n) return false;
    for (std::size_t k = 1; k <= n; ++k) {
      const auto t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    const std::uint32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (cp < least[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += n + 1;
  }
  return true;
}

class Writer {
 public:
  explicit Writer(Type type) {
    bytes_.resize(4);
    U8(kProtocolVersion);
    U8(static_cast<std::uint8_t>(type));
  }
  void U8(std::uint8_t v) { bytes_.push_back(v); }
  void Bool(bool v) { U8(v ? 1 : 0); }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i, v >>= 8) bytes_.push_back(static_cast<std::uint8_t>(v & 0xFF));
  }
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void Text(std::string_view s) {
    s = CutAtCharacter(s, kMaxTextBytes);
    U32(static_cast<std::uint32_t>(s.size()));
    bytes_.insert(bytes_.end(), s.begin(), s.end());
  }
  std::vector<std::uint8_t> Frame() && {
    const auto length = static_cast<std::uint32_t>(bytes_.size() - 4);
    for (int i = 0; i < 4; ++i) bytes_[static_cast<std::size_t>(i)] = (length >> (8 * i)) & 0xFF;
    return std::move(bytes_);
  }

 private:
  std::vector<std::uint8_t> bytes_;
};

// Every read fails once anything has failed, so a decoder checks `ok()` once at its end.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> b) : b_(b) {}
  std::uint8_t U8() {
    if (!Need(1)) return 0;
    return b_[pos_++];
  }
  bool Bool() {
    const std::uint8_t v = U8();
    if (v > 1) ok_ = false;
    return v == 1;
  }
  std::uint32_t U32() {
    if (!Need(4)) return 0;
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | b_[pos_ + static_cast<std::size_t>(i)];
    pos_ += 4;
    return v;
  }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  std::string Text() {
    const std::uint32_t n = U32();
    if (n > kMaxTextBytes || !Need(n)) return fail(), std::string();
    std::string s(reinterpret_cast<const char*>(b_.data() + pos_), n);
    pos_ += n;
    if (!IsCleanUtf8(s)) fail();
    return s;
  }
  // A number that must stand for one of [first, last].
  std::uint8_t Enum(std::uint8_t first, std::uint8_t last) {
    const std::uint8_t v = U8();
    if (v < first || v > last) fail();
    return v;
  }
  void fail() { ok_ = false; }
  // Everything read, nothing left over.
  bool done() const { return ok_ && pos_ == b_.size(); }

 private:
  bool Need(std::size_t n) {
    if (!ok_ || b_.size() - pos_ < n) ok_ = false;
    return ok_;
  }
  std::span<const std::uint8_t> b_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

// ---- The view, field by field in one order for both directions of the code.

void Put(Writer& w, const LabelView& l) {
  w.Text(l.text);
  w.U32(l.colour);
  w.Bool(l.visible);
  w.Bool(l.transparent);
}
void Get(Reader& r, LabelView& l) {
  l.text = r.Text();
  l.colour = r.U32();
  l.visible = r.Bool();
  l.transparent = r.Bool();
}

void PutView(Writer& w, const LockScreenView& v) {
  w.Bool(v.stayOnTop);
  w.Bool(v.borderSizeable);
  w.Text(v.odpocetLED);
  w.Text(v.hodinky);
  w.Text(v.tit);
  w.Bool(v.trialMode);
  w.Bool(v.tabSheet2Visible);
  w.U8(static_cast<std::uint8_t>(v.activePage));
  w.Bool(v.zamcenoVisible);
  Put(w, v.infoLabel);
  w.Text(v.kod.text);
  w.Bool(v.kod.enabled);
  for (const client::ButtonView* b : {&v.odhlasitUseraBut, &v.prihlasitBut, &v.skrytBut}) {
    w.Bool(b->enabled);
    w.Bool(b->visible);
  }
  Put(w, v.datod);
  Put(w, v.datdo);
  Put(w, v.smidelit);
  w.Text(v.backgroundPicture);
  w.Text(v.logoFile);
  w.Text(v.adminheslo);
  w.Text(v.servercesta);
  w.Text(v.provoz);
  w.Text(v.pozadiFile);
  w.Text(v.uid);
  for (const bool s : v.switches) w.Bool(s);
  w.Text(v.trayHint);
}

LockScreenView GetView(Reader& r) {
  LockScreenView v;
  v.stayOnTop = r.Bool();
  v.borderSizeable = r.Bool();
  v.odpocetLED = r.Text();
  v.hodinky = r.Text();
  v.tit = r.Text();
  v.trialMode = r.Bool();
  v.tabSheet2Visible = r.Bool();
  v.activePage = static_cast<client::Page>(r.Enum(0, 1));
  v.zamcenoVisible = r.Bool();
  Get(r, v.infoLabel);
  v.kod.text = r.Text();
  v.kod.enabled = r.Bool();
  for (client::ButtonView* b : {&v.odhlasitUseraBut, &v.prihlasitBut, &v.skrytBut}) {
    b->enabled = r.Bool();
    b->visible = r.Bool();
  }
  Get(r, v.datod);
  Get(r, v.datdo);
  Get(r, v.smidelit);
  v.backgroundPicture = r.Text();
  v.logoFile = r.Text();
  v.adminheslo = r.Text();
  v.servercesta = r.Text();
  v.provoz = r.Text();
  v.pozadiFile = r.Text();
  v.uid = r.Text();
  for (bool& s : v.switches) s = r.Bool();
  v.trayHint = r.Text();
  return v;
}

// ---- Requests.

void PutRequest(Writer& w, const ui::Request& request) {
  std::visit(
      [&](const auto& q) {
        using Q = std::decay_t<decltype(q)>;
        if constexpr (std::is_same_v<Q, ui::Message>) {
          w.U8(static_cast<std::uint8_t>(RequestType::Message));
          w.U8(static_cast<std::uint8_t>(q.kind));
          w.Text(q.caption);
          w.Text(q.text);
        } else if constexpr (std::is_same_v<Q, ui::ShowWindowRequest>) {
          w.U8(static_cast<std::uint8_t>(RequestType::ShowWindow));
          w.I32(q.window);
          w.Bool(q.visible);
        } else if constexpr (std::is_same_v<Q, ui::OpenUrlRequest>) {
          w.U8(static_cast<std::uint8_t>(RequestType::OpenUrl));
          w.Text(q.url);
        } else if constexpr (std::is_same_v<Q, ui::EndProgramRequest>) {
          w.U8(static_cast<std::uint8_t>(RequestType::EndProgram));
          w.I32(q.exitCode);
        } else if constexpr (std::is_same_v<Q, ui::NoticeRequest>) {
          w.U8(static_cast<std::uint8_t>(RequestType::Notice));
          w.Text(q.text);
          w.I32(q.seconds);
          w.Bool(q.countdown);
        } else {
          w.U8(static_cast<std::uint8_t>(RequestType::WindowAction));
          w.U8(static_cast<std::uint8_t>(q));
        }
      },
      request);
}

ui::Request GetRequest(Reader& r) {
  switch (static_cast<RequestType>(r.Enum(1, static_cast<std::uint8_t>(RequestType::Notice)))) {
    case RequestType::Message: {
      ui::Message m;
      m.kind = static_cast<ui::Message::Kind>(r.Enum(0, kLastMessageKind));
      m.caption = r.Text();
      m.text = r.Text();
      return m;
    }
    case RequestType::ShowWindow: {
      ui::ShowWindowRequest s;
      s.window = r.I32();
      s.visible = r.Bool();
      return s;
    }
    case RequestType::OpenUrl: return ui::OpenUrlRequest{r.Text()};
    case RequestType::EndProgram: return ui::EndProgramRequest{r.I32()};
    case RequestType::WindowAction:
      return static_cast<ui::WindowAction>(r.Enum(0, kLastWindowAction));
    case RequestType::Notice: {
      ui::NoticeRequest n;
      n.text = r.Text();
      n.seconds = r.I32();
      n.countdown = r.Bool();
      // A notice stays a notice: never a window that does not go away.
      if (n.seconds < 1 || n.seconds > 60) r.fail();
      return n;
    }
  }
  r.fail();
  return ui::WindowAction::FocusEntry;
}

}  // namespace

// ---- Encoding.

std::vector<std::uint8_t> EncodeFrame(const ToGuard& message) {
  if (const auto* e = std::get_if<LockEvent>(&message)) {
    Writer w(Type::Event);
    w.U8(static_cast<std::uint8_t>(e->kind));
    if (client::CarriesText(e->kind)) w.Text(e->text);
    if (e->kind == LockEventKind::CheckBoxChanged) {
      w.U8(static_cast<std::uint8_t>(e->index));
      w.Bool(e->checked);
    }
    if (e->kind == LockEventKind::Pointer) {
      w.I32(e->point.x);
      w.I32(e->point.y);
    }
    return std::move(w).Frame();
  }
  return Writer(Type::Hello).Frame();
}

std::vector<std::uint8_t> EncodeFrame(const ToClient& message) {
  return std::visit(
      [](const auto& m) {
        using M = std::decay_t<decltype(m)>;
        if constexpr (std::is_same_v<M, ViewMessage>) {
          Writer w(Type::View);
          PutView(w, m.view);
          return std::move(w).Frame();
        } else if constexpr (std::is_same_v<M, RequestsMessage>) {
          Writer w(Type::Requests);
          const std::size_t n = std::min(m.requests.size(), kMaxRequests);
          w.U32(static_cast<std::uint32_t>(n));
          for (std::size_t i = 0; i < n; ++i) PutRequest(w, m.requests[i]);
          return std::move(w).Frame();
        } else if constexpr (std::is_same_v<M, SwitchMessage>) {
          Writer w(Type::Switch);
          w.U8(m.index);
          w.Bool(m.value);
          return std::move(w).Frame();
        } else if constexpr (std::is_same_v<M, RestoreAllMessage>) {
          return Writer(Type::RestoreAll).Frame();
        } else {
          Writer w(Type::MovePointer);
          w.I32(m.target.x);
          w.I32(m.target.y);
          w.I32(m.steps);
          w.I32(m.delayMs);
          return std::move(w).Frame();
        }
      },
      message);
}

// ---- Decoding.

std::optional<ToGuard> DecodeToGuard(std::span<const std::uint8_t> body) {
  Reader r(body);
  if (r.U8() != kProtocolVersion) return std::nullopt;
  const auto type = static_cast<Type>(r.U8());
  ToGuard out;
  if (type == Type::Hello) {
    out = Hello{};
  } else if (type == Type::Event) {
    LockEvent e;
    e.kind = static_cast<LockEventKind>(r.Enum(1, client::kLastLockEventKind));
    if (client::CarriesText(e.kind)) e.text = r.Text();
    if (e.kind == LockEventKind::CheckBoxChanged) {
      e.index = r.Enum(0, kSwitchCount - 1);
      e.checked = r.Bool();
    }
    if (e.kind == LockEventKind::Pointer) {
      e.point.x = r.I32();
      e.point.y = r.I32();
    }
    out = std::move(e);
  } else {
    return std::nullopt;
  }
  if (!r.done()) return std::nullopt;
  return out;
}

std::optional<ToClient> DecodeToClient(std::span<const std::uint8_t> body) {
  Reader r(body);
  if (r.U8() != kProtocolVersion) return std::nullopt;
  ToClient out;
  switch (static_cast<Type>(r.U8())) {
    case Type::View: out = ViewMessage{GetView(r)}; break;
    case Type::Requests: {
      const std::uint32_t n = r.U32();
      if (n > kMaxRequests) return std::nullopt;
      RequestsMessage m;
      for (std::uint32_t i = 0; i < n; ++i) m.requests.push_back(GetRequest(r));
      out = std::move(m);
      break;
    }
    case Type::Switch: {
      SwitchMessage s;
      s.index = r.Enum(0, kSwitchCount - 1);
      s.value = r.Bool();
      out = s;
      break;
    }
    case Type::RestoreAll: out = RestoreAllMessage{}; break;
    case Type::MovePointer: {
      MovePointerMessage m;
      m.target.x = r.I32();
      m.target.y = r.I32();
      m.steps = r.I32();
      m.delayMs = r.I32();
      // The window waits delayMs after each of the steps: nothing the guard asks may hang it.
      if (m.steps < 1 || m.steps > 100 || m.delayMs < 0 || m.delayMs > 100) return std::nullopt;
      out = m;
      break;
    }
    default: return std::nullopt;
  }
  if (!r.done()) return std::nullopt;
  return out;
}

// ---- Frames.

void FrameReader::Feed(std::span<const std::uint8_t> bytes) {
  if (broken_) return;
  if (start_ > 0 && start_ == buffer_.size()) buffer_.clear(), start_ = 0;
  buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

std::optional<std::vector<std::uint8_t>> FrameReader::Next() {
  if (broken_ || pending() < 4) return std::nullopt;
  std::uint32_t length = 0;
  for (int i = 3; i >= 0; --i)
    length = (length << 8) | buffer_[start_ + static_cast<std::size_t>(i)];
  if (length < 2 || length > kMaxFrameBytes - 4) {
    broken_ = true;
    buffer_.clear();
    start_ = 0;
    return std::nullopt;
  }
  if (pending() < 4 + static_cast<std::size_t>(length)) return std::nullopt;
  const auto first = buffer_.begin() + static_cast<std::ptrdiff_t>(start_ + 4);
  std::vector<std::uint8_t> body(first, first + length);
  start_ += 4 + length;
  // Keep the buffer from growing without end on a stream of small frames.
  if (start_ > kMaxFrameBytes) {
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
    start_ = 0;
  }
  return body;
}

}  // namespace sentavo::guard
