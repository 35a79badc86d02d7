// Prints what the disk itself costs for a batch of codes: 10 000 new files of 5728 bytes (one code
// record each), named like codes (ten digits and ".dat"), written into a folder and closed, then
// one syncfs for all of them. Nothing is checked or renamed; no program can issue the codes faster
// than this (not a test).
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_limit_bench EMPTY_FOLDER\n");
    return 2;
  }
  constexpr int kFiles = 10000;
  const std::vector<char> record(5728, 'x');
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kFiles; ++i) {
    const std::string path = std::string(argv[1]) + "/" + std::to_string(1000000000 + i) + ".dat";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 ||
        ::write(fd, record.data(), record.size()) != static_cast<ssize_t>(record.size())) {
      std::perror(path.c_str());
      return 1;
    }
    ::close(fd);
  }
  const auto written = std::chrono::steady_clock::now();
  const int folder = ::open(argv[1], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0 || ::syncfs(folder) != 0) {
    std::perror(argv[1]);
    return 1;
  }
  ::close(folder);
  const auto synced = std::chrono::steady_clock::now();
  const auto s = [](auto d) { return std::chrono::duration<double>(d).count(); };
  std::printf(
      "physical limit: %d files of %zu bytes written in %.3f s, on disk (one syncfs) %.3f s\n",
      kFiles, record.size(), s(written - start), s(synced - start));
  return 0;
}
