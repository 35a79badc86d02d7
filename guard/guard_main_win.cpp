// SentavoGuard.exe: the service that runs the lock screen where the guest cannot end it.
//   SentavoGuard.exe                      as the service "SentavoGuard" (started by the system)
//   SentavoGuard.exe console              in the foreground, printing its records; Ctrl+C ends it
//   SentavoGuard.exe install [USER PASS]  registers the service (automatic, LocalSystem unless an
//                                         account is given) and its event source
//   SentavoGuard.exe uninstall            stops and removes both
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "formats/wide_win.h"
#include "guard/guard_host_win.h"

namespace {

using sentavo::guard::GuardHost;
using sentavo::guard::GuardOptions;

constexpr wchar_t kServiceName[] = L"SentavoGuard";
constexpr wchar_t kDisplayName[] = L"Sentavo Guard";
constexpr wchar_t kEventSourceKey[] =
    L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\SentavoGuard";

std::wstring ExePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) return path.substr(0, n);
    path.resize(path.size() * 2);
  }
}

void ToEventLog(WORD type, std::string_view text) {
  HANDLE source = RegisterEventSourceW(nullptr, kServiceName);
  if (!source) return;
  const std::wstring wide = sentavo::Widen(text);
  LPCWSTR strings[] = {wide.c_str()};
  ReportEventW(source, type, 0, 1, nullptr, 1, 0, strings, nullptr);
  DeregisterEventSource(source);
}

void ToConsole(WORD type, std::string_view text) {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%02u:%02u:%02u.%03u ", t.wHour, t.wMinute, t.wSecond,
                t.wMilliseconds);
  const char* level = type == EVENTLOG_ERROR_TYPE     ? "error: "
                      : type == EVENTLOG_WARNING_TYPE ? "warning: "
                                                      : "";
  const std::string line = stamp + std::string(level) + std::string(text) + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written,
            nullptr);
}

// ---- Console.

HANDLE g_consoleStop = nullptr;

BOOL WINAPI OnConsoleControl(DWORD) {
  SetEvent(g_consoleStop);
  return TRUE;
}

int RunConsole() {
  g_consoleStop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
  GuardOptions options;
  options.log = [](WORD type, std::string_view text) {
    ToConsole(type, text);
    ToEventLog(type, text);
  };
  GuardHost host(std::move(options));
  return host.Run(g_consoleStop);
}

// ---- Service.

struct ServiceState {
  SERVICE_STATUS_HANDLE handle = nullptr;
  SERVICE_STATUS status{};
  HANDLE stop = nullptr;
  GuardHost* host = nullptr;
} g_service;

void Report(DWORD state, DWORD exitCode = NO_ERROR) {
  g_service.status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  g_service.status.dwCurrentState = state;
  g_service.status.dwWin32ExitCode = exitCode;
  g_service.status.dwControlsAccepted =
      state == SERVICE_RUNNING
          ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN | SERVICE_ACCEPT_SESSIONCHANGE
          : 0;
  g_service.status.dwWaitHint = state == SERVICE_RUNNING ? 0 : 10000;
  SetServiceStatus(g_service.handle, &g_service.status);
}

DWORD WINAPI OnServiceControl(DWORD control, DWORD eventType, LPVOID, LPVOID) {
  switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
      Report(SERVICE_STOP_PENDING);
      SetEvent(g_service.stop);
      return NO_ERROR;
    case SERVICE_CONTROL_SESSIONCHANGE:
      if (g_service.host && eventType == WTS_SESSION_LOGON) g_service.host->OnLogon();
      if (g_service.host && eventType == WTS_SESSION_LOGOFF) g_service.host->OnLogoff();
      return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE: return NO_ERROR;
    default: return ERROR_CALL_NOT_IMPLEMENTED;
  }
}

void WINAPI ServiceMain(DWORD, LPWSTR*) {
  g_service.handle = RegisterServiceCtrlHandlerExW(kServiceName, OnServiceControl, nullptr);
  if (!g_service.handle) return;
  g_service.stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  Report(SERVICE_START_PENDING);
  GuardOptions options;
  options.service = true;
  options.log = ToEventLog;
  GuardHost host(std::move(options));
  g_service.host = &host;
  Report(SERVICE_RUNNING);
  const int code = host.Run(g_service.stop);
  g_service.host = nullptr;
  Report(SERVICE_STOPPED, code == 0 ? NO_ERROR : ERROR_SERVICE_SPECIFIC_ERROR);
}

// ---- Installing.

int Install(const wchar_t* user, const wchar_t* password) {
  SC_HANDLE scm = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE);
  if (!scm) return std::fprintf(stderr, "no access to the service manager\n"), 1;
  const std::wstring command = L"\"" + ExePath() + L"\"";
  SC_HANDLE service =
      CreateServiceW(scm, kServiceName, kDisplayName, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                     SERVICE_AUTO_START, SERVICE_ERROR_NORMAL, command.c_str(), nullptr, nullptr,
                     nullptr, user, user ? password : nullptr);
  if (!service && GetLastError() == ERROR_SERVICE_EXISTS) {
    service = OpenServiceW(scm, kServiceName, SERVICE_ALL_ACCESS);
    if (service) {
      ChangeServiceConfigW(service, SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START,
                           SERVICE_ERROR_NORMAL, command.c_str(), nullptr, nullptr, nullptr, user,
                           user ? password : nullptr, kDisplayName);
    }
  }
  if (!service) {
    std::fprintf(stderr, "the service could not be registered (error %lu)\n", GetLastError());
    CloseServiceHandle(scm);
    return 1;
  }
  // Started again by the system a second after it ends unexpectedly.
  SC_ACTION actions[] = {
      {SC_ACTION_RESTART, 1000}, {SC_ACTION_RESTART, 1000}, {SC_ACTION_RESTART, 1000}};
  SERVICE_FAILURE_ACTIONSW failure{};
  failure.dwResetPeriod = 86400;
  failure.cActions = 3;
  failure.lpsaActions = actions;
  ChangeServiceConfig2W(service, SERVICE_CONFIG_FAILURE_ACTIONS, &failure);
  wchar_t description[] = L"Keeps the Sentavo lock screen running on this guest PC.";
  SERVICE_DESCRIPTIONW d{description};
  ChangeServiceConfig2W(service, SERVICE_CONFIG_DESCRIPTION, &d);
  CloseServiceHandle(service);
  CloseServiceHandle(scm);

  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kEventSourceKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr) == ERROR_SUCCESS) {
    const std::wstring exe = ExePath();
    RegSetValueExW(key, L"EventMessageFile", 0, REG_EXPAND_SZ,
                   reinterpret_cast<const BYTE*>(exe.c_str()),
                   static_cast<DWORD>((exe.size() + 1) * sizeof(wchar_t)));
    const DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
    RegSetValueExW(key, L"TypesSupported", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&types),
                   sizeof(types));
    RegCloseKey(key);
  }
  return 0;
}

int Uninstall() {
  SC_HANDLE scm = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!scm) return std::fprintf(stderr, "no access to the service manager\n"), 1;
  SC_HANDLE service = OpenServiceW(scm, kServiceName, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE);
  int result = 0;
  if (service) {
    SERVICE_STATUS status{};
    if (ControlService(service, SERVICE_CONTROL_STOP, &status)) {
      for (int i = 0; i < 150 && QueryServiceStatus(service, &status) &&
                      status.dwCurrentState != SERVICE_STOPPED;
           ++i)
        Sleep(100);
    }
    if (!DeleteService(service) && GetLastError() != ERROR_SERVICE_MARKED_FOR_DELETE) result = 1;
    CloseServiceHandle(service);
  }
  CloseServiceHandle(scm);
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, kEventSourceKey);
  return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring_view verb = argc > 1 ? argv[1] : L"";
  if (verb == L"console") return RunConsole();
  if (verb == L"install")
    return Install(argc > 3 ? argv[2] : nullptr, argc > 3 ? argv[3] : nullptr);
  if (verb == L"uninstall") return Uninstall();
  wchar_t name[] = L"SentavoGuard";
  SERVICE_TABLE_ENTRYW table[] = {{name, ServiceMain}, {nullptr, nullptr}};
  if (!StartServiceCtrlDispatcherW(table)) {
    std::fprintf(stderr,
                 "SentavoGuard runs as the service \"SentavoGuard\".\n"
                 "usage: SentavoGuard.exe console | install [USER PASSWORD] | uninstall\n");
    return 2;
  }
  return 0;
}
