#include "guard/guard_host_win.h"

#include <sddl.h>
#include <userenv.h>
#include <wtsapi32.h>

#include <atomic>
#include <cwchar>
#include <optional>
#include <vector>

#include "client/services_win.h"
#include "formats/clock.h"
#include "formats/file_access.h"
#include "formats/registry_win.h"
#include "formats/wide_win.h"
#include "gina/trial_mode_win.h"
#include "guard/guard_session.h"
#include "guard/pipe_win.h"
#include "guard/user_hive.h"

namespace sentavo::guard {
namespace {

constexpr DWORD kWriteTimeoutMs = 2000;
constexpr ULONGLONG kTickMs = 1000;
// A lock window that died is started again at once; one that cannot be started is tried again
// after this long.
constexpr ULONGLONG kRelaunchEveryMs = 1000;
// No lock window for this long while the PC is locked: the session is locked by Windows instead.
constexpr ULONGLONG kNoWindowLockMs = 10'000;
// How long a lock window told to end at the guard's stop is waited for.
constexpr DWORD kWindowEndsMs = 8000;

std::wstring ExeDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L"\\/"));
}

// The image a process runs, as the system names it; empty when it cannot be asked.
std::wstring ImageOf(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return {};
  std::wstring path(32768, L'\0');
  DWORD size = static_cast<DWORD>(path.size());
  const BOOL ok = QueryFullProcessImageNameW(process, 0, path.data(), &size);
  CloseHandle(process);
  if (!ok) return {};
  path.resize(size);
  return path;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return !a.empty() && CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                            static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The key-blocking library's machine-wide part, from the guard's own copy beside it.
class GuardLibrary final : public MachineLibrary {
 public:
  explicit GuardLibrary(const std::wstring& dir)
      : module_(LoadLibraryW((dir + L"\\lockgina.dll").c_str())) {}
  ~GuardLibrary() override {
    if (module_) FreeLibrary(module_);
  }
  GuardLibrary(const GuardLibrary&) = delete;
  GuardLibrary& operator=(const GuardLibrary&) = delete;
  bool IsGinaInstalled() override {
    using Fn = int(WINAPI*)();
    const auto fn = reinterpret_cast<Fn>(Proc("wlIsGinaInstalled"));
    return fn && fn() != 0;
  }
  bool InstallGina() override {
    using Fn = int(WINAPI*)(int);
    const auto fn = reinterpret_cast<Fn>(Proc("wlInstallGina"));
    return fn && fn(0) != 0;
  }
  bool TrialMode() override { return !gina::TrialJournalPath().empty(); }

 private:
  // As a function of no particular type, to be cast to the one it has.
  void (*Proc(const char* name) const)() {
    return module_ ? reinterpret_cast<void (*)()>(GetProcAddress(module_, name)) : nullptr;
  }
  HMODULE module_;
};

// The user of the active console session: a primary token and the SID's text.
struct ConsoleUser {
  HANDLE token = nullptr;
  std::string sid;
  DWORD session = 0;
};

std::optional<ConsoleUser> ActiveConsoleUser() {
  const DWORD session = WTSGetActiveConsoleSessionId();
  if (session == 0xFFFFFFFF) return std::nullopt;
  HANDLE token = nullptr;
  if (!WTSQueryUserToken(session, &token)) return std::nullopt;
  ConsoleUser user{token, {}, session};
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<BYTE> info(size);
  LPWSTR text = nullptr;
  if (size && GetTokenInformation(token, TokenUser, info.data(), size, &size) &&
      ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(info.data())->User.Sid, &text)) {
    user.sid = Narrow(text);
    LocalFree(text);
  }
  return user;
}

}  // namespace

class GuardHost::Impl final : private Transport {
 public:
  explicit Impl(GuardOptions options)
      : options_(std::move(options)),
        dir_(ExeDirectory()),
        clientPath_(dir_ + L"\\SentavoClient.exe"),
        formats_(MakeSystemFormats()),
        library_(dir_),
        logon_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
  ~Impl() override {
    EndSession();
    if (pipe_ != INVALID_HANDLE_VALUE) CloseHandle(pipe_);
    if (child_) CloseHandle(child_);
    CloseHandle(logon_);
  }

  int Run(HANDLE stop);
  void Signal(bool logon) {
    (logon ? logonPending_ : logoffPending_) = true;
    SetEvent(logon_);
  }

 private:
  void Log(WORD type, std::string_view text) {
    if (options_.log) options_.log(type, text);
  }
  // Transport: to the connected lock window.
  void Send(std::vector<std::uint8_t> frame) override {
    if (!broken_ && !WriteAll(pipe_, frame, kWriteTimeoutMs)) broken_ = true;
  }

  bool MakePipe();
  void Listen();
  void OnPipeEvent();
  void Accept();
  void StartRead();
  void Disconnect(std::string_view why);
  void DropIfBroken() {
    if (broken_) Disconnect("the lock window stopped taking messages");
  }

  void BeginSession();
  void EndSession();
  void KeepWindowRunning(ULONGLONG now);
  bool Launch();

  GuardOptions options_;
  std::wstring dir_, clientPath_;
  SystemClock clock_;
  std::unique_ptr<DateTimeFormats> formats_;
  LocalFiles files_;
  client::Win32Environment environment_;
  client::Win32MachineIdentity identity_;
  client::StationInfo station_ = client::ThisStation(/*guarded=*/true);
  GuardLibrary library_;
  std::unique_ptr<UserHive> hive_;
  std::unique_ptr<GuardServices> services_;
  std::unique_ptr<GuardSession> session_;
  std::optional<ConsoleUser> user_;

  HANDLE pipe_ = INVALID_HANDLE_VALUE;
  Event pipeEvent_;
  OVERLAPPED ov_{};
  enum class PipeState { Idle, Connecting, Reading } state_ = PipeState::Idle;
  std::vector<std::uint8_t> buffer_ = std::vector<std::uint8_t>(64 * 1024);
  FrameReader reader_;
  bool broken_ = false;
  bool connectedAtOnce_ = false;
  std::wstring lastRefused_;
  ULONGLONG lastRefusedLog_ = 0;

  HANDLE child_ = nullptr;
  ULONGLONG lastLaunch_ = 0;
  ULONGLONG windowGoneSince_ = 0;
  bool sessionLocked_ = false;

  HANDLE logon_;
  std::atomic<bool> logonPending_{false}, logoffPending_{false};
};

// Only SYSTEM and the interactive user may open the pipe; no one from the network.
bool GuardHost::Impl::MakePipe() {
  PSECURITY_DESCRIPTOR sd = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;GA;;;SY)(A;;GRGW;;;IU)",
                                                            SDDL_REVISION_1, &sd, nullptr))
    return false;
  SECURITY_ATTRIBUTES sa{sizeof(sa), sd, FALSE};
  pipe_ = CreateNamedPipeW(
      kPipeName, PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
      PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
      static_cast<DWORD>(kMaxFrameBytes), static_cast<DWORD>(kMaxFrameBytes), 0, &sa);
  LocalFree(sd);
  return pipe_ != INVALID_HANDLE_VALUE;
}

void GuardHost::Impl::Listen() {
  ov_ = OVERLAPPED{};
  ov_.hEvent = pipeEvent_.get();
  ResetEvent(pipeEvent_.get());
  // A client that opened the pipe before this call is connected already. The call then
  // completes nothing: its OVERLAPPED stays pending, so the event handler must not ask it, or it
  // would listen again, be told "connected" again, and spin.
  connectedAtOnce_ = false;
  if (ConnectNamedPipe(pipe_, &ov_) || GetLastError() == ERROR_PIPE_CONNECTED) {
    connectedAtOnce_ = true;
    SetEvent(pipeEvent_.get());
  } else if (GetLastError() == ERROR_NO_DATA) {
    // A client came and closed its end before it was looked at: that end is cleared first.
    DisconnectNamedPipe(pipe_);
    return Listen();
  } else if (GetLastError() != ERROR_IO_PENDING) {
    Log(EVENTLOG_WARNING_TYPE, "the pipe does not take connections");
    state_ = PipeState::Idle;
    return;
  }
  state_ = PipeState::Connecting;
}

void GuardHost::Impl::OnPipeEvent() {
  if (state_ == PipeState::Connecting && connectedAtOnce_) return Accept();
  DWORD got = 0;
  const BOOL ok = GetOverlappedResult(pipe_, &ov_, &got, FALSE);
  if (state_ == PipeState::Connecting) {
    if (!ok && GetLastError() == ERROR_IO_INCOMPLETE) return;  // woken early: still listening
    if (!ok && GetLastError() != ERROR_PIPE_CONNECTED) {
      DisconnectNamedPipe(pipe_);  // a client that came and went before it was looked at
      return Listen();
    }
    return Accept();
  }
  if (state_ != PipeState::Reading) return;
  if (!ok || got == 0) return Disconnect("the lock window went away");
  reader_.Feed(std::span(buffer_.data(), got));
  while (std::optional<std::vector<std::uint8_t>> body = reader_.Next()) {
    if (!session_ || !session_->OnFrame(*body)) return Disconnect("a malformed message");
    if (broken_) return DropIfBroken();
  }
  if (reader_.broken()) return Disconnect("a frame longer than allowed");
  StartRead();
}

// Only the lock window installed beside the guard is served: another program that opens the
// pipe (a guest's own) is refused before it can send anything.
void GuardHost::Impl::Accept() {
  ULONG pid = 0;
  const std::wstring image = GetNamedPipeClientProcessId(pipe_, &pid) ? ImageOf(pid) : L"";
  if (!SamePath(image, clientPath_)) {
    // A program that opens the pipe over and over must not fill the event log: one entry per
    // program a minute.
    const ULONGLONG now = GetTickCount64();
    if (image != lastRefused_ || now - lastRefusedLog_ >= 60000) {
      lastRefused_ = image;
      lastRefusedLog_ = now;
      Log(EVENTLOG_WARNING_TYPE,
          "pipe client refused: " + (image.empty() ? "(unknown)" : Narrow(image)));
    }
    DisconnectNamedPipe(pipe_);
    return Listen();
  }
  Log(EVENTLOG_INFORMATION_TYPE, "lock window connected (process " + std::to_string(pid) + ")");
  reader_ = FrameReader{};
  broken_ = false;
  if (session_) session_->OnConnected(*this);
  StartRead();
}

void GuardHost::Impl::StartRead() {
  ov_ = OVERLAPPED{};
  ov_.hEvent = pipeEvent_.get();
  ResetEvent(pipeEvent_.get());
  state_ = PipeState::Reading;
  if (!ReadFile(pipe_, buffer_.data(), static_cast<DWORD>(buffer_.size()), nullptr, &ov_) &&
      GetLastError() != ERROR_IO_PENDING) {
    Disconnect("the lock window went away");
  }
}

void GuardHost::Impl::Disconnect(std::string_view why) {
  Log(why == "the lock window went away" ? EVENTLOG_INFORMATION_TYPE : EVENTLOG_WARNING_TYPE,
      "lock window disconnected: " + std::string(why));
  if (state_ == PipeState::Reading) {
    CancelIoEx(pipe_, &ov_);
    DWORD got = 0;
    GetOverlappedResult(pipe_, &ov_, &got, TRUE);
  }
  if (session_) session_->OnDisconnected();
  DisconnectNamedPipe(pipe_);
  broken_ = false;
  windowGoneSince_ = GetTickCount64();
  Listen();
}

void GuardHost::Impl::BeginSession() {
  EndSession();
  Registry* policies = &ProcessRegistry();
  if (options_.service) {
    user_ = ActiveConsoleUser();
    if (!user_ || user_->sid.empty()) {
      if (user_) CloseHandle(user_->token);
      user_.reset();
      return;  // no one logged on yet
    }
    hive_ = std::make_unique<UserHive>(ProcessRegistry(), user_->sid);
    policies = hive_.get();
  }
  services_ = std::make_unique<GuardServices>(GuardServices{
      clock_, *formats_, files_, *policies, environment_, identity_, library_,
      [this](std::string_view text) { Log(EVENTLOG_WARNING_TYPE, text); }, &station_});
  session_ = std::make_unique<GuardSession>(*services_);
  session_->Start();
  sessionLocked_ = false;
  windowGoneSince_ = GetTickCount64();
  Log(EVENTLOG_INFORMATION_TYPE, "lock screen started");
  if (state_ == PipeState::Reading) session_->OnConnected(*this);
}

void GuardHost::Impl::EndSession() {
  session_.reset();
  services_.reset();
  hive_.reset();
  if (user_) CloseHandle(user_->token);
  user_.reset();
}

bool GuardHost::Impl::Launch() {
  std::wstring command = L"\"" + clientPath_ + L"\" /guard";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  BOOL ok = FALSE;
  if (options_.service) {
    if (!user_) return false;
    HANDLE primary = nullptr;
    if (!DuplicateTokenEx(user_->token, MAXIMUM_ALLOWED, nullptr, SecurityIdentification,
                          TokenPrimary, &primary))
      return false;
    void* environment = nullptr;
    CreateEnvironmentBlock(&environment, primary, FALSE);
    wchar_t desktop[] = L"winsta0\\default";
    si.lpDesktop = desktop;
    ok = CreateProcessAsUserW(primary, clientPath_.c_str(), command.data(), nullptr, nullptr, FALSE,
                              CREATE_UNICODE_ENVIRONMENT, environment, dir_.c_str(), &si, &pi);
    if (environment) DestroyEnvironmentBlock(environment);
    CloseHandle(primary);
  } else {
    ok = CreateProcessW(clientPath_.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        dir_.c_str(), &si, &pi);
  }
  if (!ok) {
    Log(EVENTLOG_ERROR_TYPE,
        "the lock window could not be started (error " + std::to_string(GetLastError()) + ")");
    return false;
  }
  CloseHandle(pi.hThread);
  child_ = pi.hProcess;
  Log(EVENTLOG_INFORMATION_TYPE,
      "lock window started (process " + std::to_string(pi.dwProcessId) + ")");
  return true;
}

void GuardHost::Impl::KeepWindowRunning(ULONGLONG now) {
  if (child_ && WaitForSingleObject(child_, 0) == WAIT_OBJECT_0) {
    DWORD code = 0;
    GetExitCodeProcess(child_, &code);
    CloseHandle(child_);
    child_ = nullptr;
    Log(EVENTLOG_WARNING_TYPE, "lock window ended (exit code " + std::to_string(code) + ")");
    lastLaunch_ = 0;  // started again at once
  }
  if (!session_ && options_.service && now - lastLaunch_ >= kRelaunchEveryMs) {
    lastLaunch_ = now;
    BeginSession();  // a user has logged on since
  }
  if (!session_ || session_->ended()) return;
  const bool shown = state_ == PipeState::Reading;
  if (!shown && !child_ && now - lastLaunch_ >= kRelaunchEveryMs) {
    lastLaunch_ = now;
    Launch();
  }
  if (shown) {
    sessionLocked_ = false;
  } else if (options_.service && !sessionLocked_ && !session_->periodRunning() &&
             now - windowGoneSince_ >= kNoWindowLockMs && user_) {
    sessionLocked_ = true;
    Log(EVENTLOG_WARNING_TYPE, "no lock window for 10 seconds: the session is locked");
    WTSDisconnectSession(WTS_CURRENT_SERVER_HANDLE, user_->session, FALSE);
  }
}

int GuardHost::Impl::Run(HANDLE stop) {
  if (!MakePipe()) {
    Log(EVENTLOG_ERROR_TYPE, "the pipe could not be made (error " + std::to_string(GetLastError()) +
                                 "); is another guard running?");
    return 1;
  }
  Log(EVENTLOG_INFORMATION_TYPE, "started");
  BeginSession();
  Listen();
  ULONGLONG nextTick = GetTickCount64() + kTickMs;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= nextTick) {
      // A late tick is not made up for: the model takes the seconds that passed from its clock.
      nextTick = now + kTickMs;
      if (session_) session_->OnTimer1();
      DropIfBroken();
      if (state_ == PipeState::Idle) Listen();  // the pipe refused to listen once: try again
    }
    KeepWindowRunning(now);
    std::vector<HANDLE> waits{stop, pipeEvent_.get(), logon_};
    if (child_) waits.push_back(child_);
    const DWORD timeout = static_cast<DWORD>(std::min<ULONGLONG>(nextTick - GetTickCount64(), 250));
    const DWORD woke =
        WaitForMultipleObjects(static_cast<DWORD>(waits.size()), waits.data(), FALSE, timeout);
    if (woke == WAIT_OBJECT_0) break;
    if (woke == WAIT_OBJECT_0 + 1) OnPipeEvent();
    if (woke == WAIT_OBJECT_0 + 2) {
      if (logoffPending_.exchange(false)) {
        EndSession();
        Log(EVENTLOG_INFORMATION_TYPE, "user logged off: lock screen ended");
      }
      if (logonPending_.exchange(false)) BeginSession();
    }
  }
  // Stopped by an administrator: the lock window ends with the guard. It is given the time to
  // read that and go (a pipe closed behind a message may lose it), and to be gone, so that its
  // program can be replaced or removed at once.
  if (session_ && state_ == PipeState::Reading) {
    Send(EncodeFrame(ToClient{RequestsMessage{{ui::EndProgramRequest{0}}}}));
    if (child_) WaitForSingleObject(child_, kWindowEndsMs);
    const ULONGLONG until = GetTickCount64() + (child_ ? 0 : kWindowEndsMs);
    while (!broken_ && GetTickCount64() < until) {
      if (WaitForSingleObject(pipeEvent_.get(), 100) == WAIT_TIMEOUT) continue;
      DWORD got = 0;
      if (!GetOverlappedResult(pipe_, &ov_, &got, FALSE) || got == 0) break;  // it went
      StartRead();  // whatever it still sent is of no use now
      if (state_ != PipeState::Reading) break;
    }
  }
  Log(EVENTLOG_INFORMATION_TYPE, "stopped");
  return 0;
}

GuardHost::GuardHost(GuardOptions options) : impl_(std::make_unique<Impl>(std::move(options))) {}
GuardHost::~GuardHost() = default;
int GuardHost::Run(HANDLE stop) {
  return impl_->Run(stop);
}
void GuardHost::OnLogon() {
  impl_->Signal(true);
}
void GuardHost::OnLogoff() {
  impl_->Signal(false);
}

}  // namespace sentavo::guard
