// Prints what the disk itself costs for a batch of codes on Windows: 10 000 new files of 5728 bytes
// (one code record each), named like codes (ten digits and ".dat"), written into a folder, then
// each flushed before it is closed, the flushes side by side as sentavo-codes does them. Nothing is
// checked or renamed; no program can issue the codes faster than this (not a test).
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_limit_bench EMPTY_FOLDER\n");
    return 2;
  }
  constexpr int kFiles = 10000;
  const std::vector<char> record(5728, 'x');
  std::vector<HANDLE> files;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kFiles; ++i) {
    const std::wstring path =
        std::wstring(argv[1]) + L"\\" + std::to_wstring(1000000000 + i) + L".dat";
    const HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD done = 0;
    if (h == INVALID_HANDLE_VALUE ||
        !WriteFile(h, record.data(), static_cast<DWORD>(record.size()), &done, nullptr)) {
      std::fprintf(stderr, "cannot write %ls: error %lu\n", path.c_str(), GetLastError());
      return 1;
    }
    files.push_back(h);
  }
  const auto written = std::chrono::steady_clock::now();
  std::atomic<std::size_t> next{0};
  const auto flush = [&] {
    for (std::size_t i; (i = next++) < files.size();) FlushFileBuffers(files[i]);
  };
  std::vector<std::thread> helpers;
  for (int n = 1; n < 16; ++n) helpers.emplace_back(flush);
  flush();
  for (std::thread& t : helpers) t.join();
  for (HANDLE h : files) CloseHandle(h);
  const auto flushed = std::chrono::steady_clock::now();
  const auto s = [](auto d) { return std::chrono::duration<double>(d).count(); };
  std::printf(
      "physical limit: %d files of %zu bytes written in %.3f s, on disk (each flushed) %.3f s\n",
      kFiles, record.size(), s(written - start), s(flushed - start));
  return 0;
}
