// Sweeping the temporary files that interrupted replacements left: which names count, and that
// only old ones of the sweeping program's own targets go.
#include "formats/temp_litter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "test_support.h"

namespace sentavo {
namespace {

using test::TempDir;
using test::WriteBytes;

TEST(TempLitter, OnlyOurTemporaryNamesGiveATarget) {
  EXPECT_EQ(ReplacedTarget("4711.dat.~1a2b0003f00d.tmp"), "4711.dat");
  EXPECT_EQ(ReplacedTarget("Sentavo.cfg.~9.tmp"), "Sentavo.cfg");
  EXPECT_EQ(ReplacedTarget("a.b.dat.~ff.tmp"), "a.b.dat");
  for (const char* other :
       {"4711.dat", "4711.tmp", "4711.dat.tmp", "4711.dat.~.tmp", ".~12.tmp", "4711.dat.~12G.tmp",
        "4711.dat.~12AB.tmp", "4711.dat.~12.tmp.bak", "4711.dat.~1 2.tmp", "4711.dat~12.tmp",
        "4711.dat.~1234567890123456789012345678901234567890123456789.tmp"}) {
    EXPECT_EQ(ReplacedTarget(other), "") << other;
  }

  EXPECT_TRUE(IsCodeFileTarget("4711.dat"));
  EXPECT_TRUE(IsCodeFileTarget("Kod.DAT"));
  EXPECT_FALSE(IsCodeFileTarget(".dat"));
  EXPECT_FALSE(IsCodeFileTarget("Sentavo.cfg"));
  EXPECT_FALSE(IsCodeFileTarget("notes.txt"));
  EXPECT_TRUE(IsClientFolderTarget("Sentavo.cfg"));
  EXPECT_TRUE(IsClientFolderTarget("sentavo.UID"));
  EXPECT_TRUE(IsClientFolderTarget("Sentavo.run"));
  EXPECT_FALSE(IsClientFolderTarget("XSentavo.cfg"));
  EXPECT_FALSE(IsClientFolderTarget("4711.dat"));
}

TEST(TempLitter, OldLitterOfOurTargetsGoesAndNothingElse) {
  TempDir dir;
  const auto now = std::filesystem::file_time_type::clock::now();
  const auto put = [&](const std::string& name, std::chrono::minutes age) {
    WriteBytes(dir.File(name), {1, 2, 3});
    std::filesystem::last_write_time(test::Utf8Path(dir.File(name)), now - age);
  };
  using std::chrono::minutes;
  put("4711.dat.~1a2b.tmp", minutes(11));          // litter: goes
  put("Kod.dat.~ffff0001.tmp", minutes(60 * 24));  // litter: goes
  put("4712.dat.~1a2c.tmp", minutes(2));           // a writer may still be at it
  put("4711.dat", minutes(60));                    // the code file itself
  put("Sentavo.cfg.~1a2d.tmp", minutes(60));       // not a code file's
  put("notes.txt.~1a2e.tmp", minutes(60));         // not ours
  put("4711.dat.~1a2f.tmp.keep", minutes(60));     // not exactly our pattern
  std::filesystem::create_directory(test::Utf8Path(dir.File("old.dat.~1b00.tmp")));

  LocalFiles files;
  const std::string folder = dir.File("");  // with its trailing separator
  EXPECT_EQ(SweepReplacementLitter(files, folder, IsCodeFileTarget), 2);
  std::vector<std::string> left = dir.Names();
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"4711.dat", "4711.dat.~1a2f.tmp.keep",
                                            "4712.dat.~1a2c.tmp", "Sentavo.cfg.~1a2d.tmp",
                                            "notes.txt.~1a2e.tmp", "old.dat.~1b00.tmp"}));

  // Beside the client its own files' litter goes, and a code file's is left to the operator.
  EXPECT_EQ(SweepReplacementLitter(files, folder, IsClientFolderTarget), 1);
  EXPECT_FALSE(std::filesystem::exists(test::Utf8Path(dir.File("Sentavo.cfg.~1a2d.tmp"))));
  EXPECT_TRUE(std::filesystem::exists(test::Utf8Path(dir.File("4712.dat.~1a2c.tmp"))));
}

TEST(TempLitter, AFolderThatCannotBeReadSweepsNothing) {
  LocalFiles files;
  TempDir dir;
  EXPECT_EQ(SweepReplacementLitter(files, dir.File("missing") + "/", IsCodeFileTarget), 0);
}

}  // namespace
}  // namespace sentavo
