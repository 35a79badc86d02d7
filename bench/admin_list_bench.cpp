// Prints how long SentavoAdmin's model takes to load a codes.dat of 100 000 names at a login, and
// to add one name (a new code) and to delete one, each saving the list again, and to filter
// it as "Hledat:" is typed (not a test).
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "administration/admin_program.h"
#include "formats/codes_list.h"

namespace {

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main() {
  using namespace sentavo;
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / "sentavo-admin-bench";
  fs::create_directories(folder);
  // The model joins the folder and the file name with a backslash, as on Windows.
  const std::string folderText = folder.string();
  const std::string listPath = folderText + "\\codes.dat";
  CodeNames names;
  for (int i = 0; i < 100000; ++i) names.push_back(std::to_string(1000000000 + i * 7919));
  const std::string text = SerializeCodesList(names);
  LocalFiles files;
  files.Replace(listPath, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});

  SystemClock clock;
  CzechFormats formats;
  admin::AdminProgram program({files, clock, formats}, folderText);
  program.Start();
  program.login().OnAdminpassChanged("vamor");
  auto start = std::chrono::steady_clock::now();
  program.login().OnOveritKod();
  const double login = MillisecondsSince(start);
  const auto count = program.codes().view().issued.vydane.size();
  std::printf("codes.dat of %zu names (%zu bytes) loaded at login in %.1f ms\n", count, text.size(),
              login);

  // The code files go beside the list: "Uložit kód" puts a backslash after the folder.
  admin::CodeWindowModel& codes = program.codes();
  codes.OnServercestaChanged(folderText);
  codes.OnTypKoduChanged(0);
  codes.OnKodChanged("BENCH1");
  start = std::chrono::steady_clock::now();
  codes.OnUlozitKod();
  const double added = MillisecondsSince(start);
  codes.OnVydaneSelected(50000);
  start = std::chrono::steady_clock::now();
  codes.OnOdstranit();
  const double deleted = MillisecondsSince(start);
  std::printf("a new code added to them and saved in %.1f ms; one deleted and saved in %.1f ms\n",
              added, deleted);
  const bool whole = codes.view().issued.vydane.size() == names.size();

  // "Hledat:" typed one key at a time over the 100 000 names, through the window's model: the
  // first keystroke also folds the names, the later ones only search.
  std::printf("\"Hledat:\" over them, each keystroke of \"17393\":");
  std::string typed;
  for (const char key : std::string("17393")) {
    typed += key;
    start = std::chrono::steady_clock::now();
    codes.OnHledatChanged(typed);
    std::printf(" %.1f ms (%zu rows)", MillisecondsSince(start), codes.view().issued.RowCount());
  }
  start = std::chrono::steady_clock::now();
  codes.OnHledatChanged("");
  std::printf("; cleared in %.1f ms", MillisecondsSince(start));
  std::printf("\n");
  for (const char* name : {"\\codes.dat", "\\codes.dat.bak", "\\BENCH1.dat"})
    files.Remove(folderText + name);
  fs::remove_all(folder);
  return count == names.size() && whole ? 0 : 1;
}
