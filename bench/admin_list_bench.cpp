// Prints how long SentavoAdmin's model takes to load a codes.dat of 100 000 names at a login, and
// to append one name and save the list again (not a test).
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "administration/admin_program.h"
#include "formats/codes_list.h"

int main() {
  using namespace sentavo;
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / "sentavo-admin-bench";
  fs::create_directories(folder);
  // The model joins the folder and the file name with a backslash, as on Windows.
  const std::string folderText = folder.string();
  const std::string listPath = folderText + "\\codes.dat";
  std::vector<std::string> names;
  for (int i = 0; i < 100000; ++i) names.push_back(std::to_string(1000000000 + i * 7919));
  const std::string text = SerializeCodesList(names);
  LocalFiles files;
  files.Replace(listPath, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});

  SystemClock clock;
  CzechFormats formats;
  admin::AdminProgram program({files, clock, formats}, folderText);
  program.Start();
  program.login().OnAdminpassChanged("vamor");
  const auto start = std::chrono::steady_clock::now();
  program.login().OnOveritKod();
  const auto loaded = std::chrono::steady_clock::now();
  const auto count = program.codes().view().issued.vydane.size();
  std::printf("codes.dat of %zu names (%zu bytes) loaded at login in %.1f ms\n", count, text.size(),
              std::chrono::duration<double, std::milli>(loaded - start).count());
  fs::remove_all(folder);
  files.Remove(listPath);
  return count == names.size() ? 0 : 1;
}
