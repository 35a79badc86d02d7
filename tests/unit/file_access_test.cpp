#include "formats/file_access.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>

#include "test_support.h"

#ifdef _WIN32
#include <windows.h>

#include "formats/wide_win.h"
#else
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace sentavo {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;
using Bytes = std::vector<std::uint8_t>;

// Files in memory, with each step able to fail on purpose.
class ScriptedSteps final : public ReplaceSteps {
 public:
  std::map<std::string, Bytes> files;
  int newFileError = io::kOk;
  int newFileErrorAfterCreate = io::kOk;  // created, then a write fails
  int moveError = io::kOk;
  int inPlaceError = io::kOk;
  int collisions = 0;  // how many suffixes are already taken
  std::vector<std::string> log;

  int WriteNewFile(const std::string& path, std::span<const std::uint8_t> data) override {
    log.push_back("new " + path);
    if (collisions > 0) return --collisions, io::kFileExists;
    if (newFileError) return newFileError;
    files[path] = newFileErrorAfterCreate ? Bytes(data.begin(), data.begin() + 10)
                                          : Bytes(data.begin(), data.end());
    return newFileErrorAfterCreate;
  }
  int MoveOver(const std::string& from, const std::string& to) override {
    log.push_back("move " + from + " " + to);
    if (moveError) return moveError;
    files[to] = files[from];
    files.erase(from);
    return io::kOk;
  }
  int WriteInPlace(const std::string& path, std::span<const std::uint8_t> data) override {
    log.push_back("inplace " + path);
    if (inPlaceError) return inPlaceError;
    files[path] = Bytes(data.begin(), data.end());
    return io::kOk;
  }
  void RemoveQuietly(const std::string& path) override {
    log.push_back("remove " + path);
    files.erase(path);
  }
  std::string UniqueSuffix() override { return std::to_string(++suffix_); }

 private:
  int suffix_ = 0;
};

const Bytes kOld(100, 0x11);
const Bytes kNew(100, 0x22);

TEST(ReplaceWholeFile, WritesATemporaryFileBesideTheTargetAndMovesItOver) {
  ScriptedSteps steps;
  steps.files["S/a.dat"] = kOld;
  EXPECT_EQ(ReplaceWholeFile(steps, "S/a.dat", kNew), io::kOk);
  EXPECT_EQ(steps.log,
            (std::vector<std::string>{"new S/a.dat.~1.tmp", "move S/a.dat.~1.tmp S/a.dat"}));
  EXPECT_EQ(steps.files, (std::map<std::string, Bytes>{{"S/a.dat", kNew}}));
}

TEST(ReplaceWholeFile, ARefusedMoveFallsBackToTruncateAndWrite) {
  ScriptedSteps steps;
  steps.files["S/a.dat"] = kOld;
  steps.moveError = 32;  // the target is held open on the share
  EXPECT_EQ(ReplaceWholeFile(steps, "S/a.dat", kNew), io::kOk);
  EXPECT_EQ(steps.files, (std::map<std::string, Bytes>{{"S/a.dat", kNew}}));
  EXPECT_EQ(steps.log.back(), "inplace S/a.dat");
}

TEST(ReplaceWholeFile, AFolderThatAllowsChangesButNoNewFilesIsWrittenInPlace) {
  ScriptedSteps steps;
  steps.files["S/a.dat"] = kOld;
  steps.newFileError = io::kAccessDenied;
  EXPECT_EQ(ReplaceWholeFile(steps, "S/a.dat", kNew), io::kOk);
  EXPECT_EQ(steps.files["S/a.dat"], kNew);
}

TEST(ReplaceWholeFile, AFullDiskLeavesTheOldRecordWhole) {
  ScriptedSteps steps;
  steps.files["S/a.dat"] = kOld;
  steps.newFileErrorAfterCreate = io::kDiskFull;
  EXPECT_EQ(ReplaceWholeFile(steps, "S/a.dat", kNew), io::kDiskFull);
  EXPECT_EQ(steps.files, (std::map<std::string, Bytes>{{"S/a.dat", kOld}}));  // no short temp left
}

TEST(ReplaceWholeFile, AMissingFolderIsReportedAndNothingIsWritten) {
  ScriptedSteps steps;
  steps.newFileError = io::kPathNotFound;
  EXPECT_EQ(ReplaceWholeFile(steps, "X/a.dat", kNew), io::kPathNotFound);
  EXPECT_TRUE(steps.files.empty());
  EXPECT_EQ(steps.log.size(), 2u);  // the attempt, and removing whatever it may have left
}

TEST(ReplaceWholeFile, ATakenTemporaryNameIsNeverRemovedButRetried) {
  ScriptedSteps steps;
  steps.collisions = 2;
  EXPECT_EQ(ReplaceWholeFile(steps, "S/a.dat", kNew), io::kOk);
  EXPECT_EQ(steps.log[2], "new S/a.dat.~3.tmp");
  for (const auto& line : steps.log) EXPECT_FALSE(line.starts_with("remove")) << line;
}

// A batch's steps on files in memory, each able to fail on purpose.
class ScriptedBatch final : public BatchSteps {
 public:
  std::map<std::string, Bytes> files;
  int writeError = io::kOk;
  bool writeErrorAfterCreate = false;  // created and part written, then the write fails
  int nameError = io::kOk;             // other than a taken name, which the files tell
  int collisions = 0;
  std::vector<std::string> log;

  int WriteTemporary(const std::string& path, std::span<const std::uint8_t> data) override {
    log.push_back("temp " + path);
    if (collisions > 0) return --collisions, io::kFileExists;
    if (writeError && !writeErrorAfterCreate) return writeError;
    files[path] =
        writeError ? Bytes(data.begin(), data.begin() + 10) : Bytes(data.begin(), data.end());
    return writeError;
  }
  int NameNew(const std::string& from, const std::string& to) override {
    log.push_back("name " + from + " " + to);
    if (files.contains(to)) return io::kFileExists;
    if (nameError) return nameError;
    files[to] = files[from];
    files.erase(from);
    return io::kOk;
  }
  void Discard(const std::string& path) override {
    log.push_back("discard " + path);
    files.erase(path);
  }
  std::string UniqueSuffix() override { return std::to_string(++suffix_); }

 private:
  int suffix_ = 0;
};

TEST(AddToBatch, WritesATemporaryFileAndGivesItTheFreeName) {
  ScriptedBatch steps;
  EXPECT_EQ(AddToBatch(steps, "S/a.dat", kNew), io::kOk);
  EXPECT_EQ(steps.log,
            (std::vector<std::string>{"temp S/a.dat.~1.tmp", "name S/a.dat.~1.tmp S/a.dat"}));
  EXPECT_EQ(steps.files, (std::map<std::string, Bytes>{{"S/a.dat", kNew}}));
}

TEST(AddToBatch, NeverTakesANameThatIsThereAndLeavesNothingOfItsOwn) {
  ScriptedBatch steps;
  steps.files["S/a.dat"] = kOld;
  EXPECT_EQ(AddToBatch(steps, "S/a.dat", kNew), io::kFileExists);
  EXPECT_EQ(steps.files, (std::map<std::string, Bytes>{{"S/a.dat", kOld}}));
}

TEST(AddToBatch, AWriteOrANameThatFailsLeavesNoFileAtAll) {
  for (const bool afterCreate : {false, true}) {
    ScriptedBatch steps;
    steps.writeError = io::kDiskFull;
    steps.writeErrorAfterCreate = afterCreate;
    EXPECT_EQ(AddToBatch(steps, "S/a.dat", kNew), io::kDiskFull);
    EXPECT_TRUE(steps.files.empty()) << afterCreate;  // the short temporary file went
    for (const auto& line : steps.log) EXPECT_FALSE(line.starts_with("name")) << line;
  }
  ScriptedBatch refused;
  refused.nameError = io::kAccessDenied;
  EXPECT_EQ(AddToBatch(refused, "S/a.dat", kNew), io::kAccessDenied);
  EXPECT_TRUE(refused.files.empty());
}

TEST(AddToBatch, ATakenTemporaryNameIsRetriedAndNeverRemoved) {
  ScriptedBatch steps;
  steps.collisions = 2;
  EXPECT_EQ(AddToBatch(steps, "S/a.dat", kNew), io::kOk);
  EXPECT_EQ(steps.log[2], "temp S/a.dat.~3.tmp");
  for (const auto& line : steps.log) EXPECT_FALSE(line.starts_with("discard")) << line;
}

TEST(LocalFiles, ABatchWritesWholeNewFilesAndRefusesTakenNames) {
  TempDir dir;
  LocalFiles files;
  WriteBytes(dir.File("taken.dat"), kOld);
  {
    const auto batch = files.StartBatch();
    // More files than a batch keeps open on Windows, so that some are put on disk on the way.
    for (int i = 0; i < 600; ++i)
      ASSERT_EQ(batch->Add(dir.File(std::to_string(i) + ".dat"), kNew), io::kOk) << i;
    EXPECT_EQ(batch->Add(dir.File("taken.dat"), kNew), io::kFileExists);
    EXPECT_EQ(batch->Add(dir.File("0.dat"), kOld), io::kFileExists);  // taken by the batch itself
#ifdef _WIN32
    EXPECT_EQ(batch->Add(dir.File("TAKEN.DAT"), kNew), io::kFileExists);  // in any letter case
#endif
    EXPECT_EQ(batch->Add(dir.File("no-such-folder") + "/x.dat", kNew), io::kPathNotFound);
    EXPECT_EQ(batch->Finish(), io::kOk);
  }
  EXPECT_EQ(ReadBytes(dir.File("taken.dat")), kOld);
  const std::vector<std::string> names = dir.Names();
  EXPECT_EQ(names.size(), 601u);  // the 600 and the taken one: no temporary file
  for (const std::string& name : names) {
    if (name != "taken.dat") {
      EXPECT_EQ(ReadBytes(dir.File(name)), kNew) << name;
    }
  }
}

TEST(LocalFiles, ABatchLeftUnfinishedKeepsWhatItNamedWhole) {
  TempDir dir;
  LocalFiles files;
  {
    const auto batch = files.StartBatch();
    ASSERT_EQ(batch->Add(dir.File("a.dat"), kNew), io::kOk);
    ASSERT_EQ(batch->Add(dir.File("b.dat"), kOld), io::kOk);
  }  // gone without Finish, as when an exception unwinds the issuing
  EXPECT_EQ(dir.Names().size(), 2u);
  EXPECT_EQ(ReadBytes(dir.File("a.dat")), kNew);
  EXPECT_EQ(ReadBytes(dir.File("b.dat")), kOld);
}

#ifndef _WIN32
// A disk that fills up in the middle of a record: the file-size limit makes the write stop part
// way, as a full disk would.
TEST(LocalFiles, ABatchCutOffInTheMiddleOfARecordLeavesNoPartOfIt) {
  TempDir dir;
  LocalFiles files;
  const auto batch = files.StartBatch();
  ASSERT_EQ(batch->Add(dir.File("whole.dat"), kNew), io::kOk);
  const Bytes record(5728, 0x33);
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 3000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const int error = batch->Add(dir.File("cut.dat"), record);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, oldHandler);
  EXPECT_NE(error, io::kOk);
  EXPECT_EQ(batch->Finish(), io::kOk);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"whole.dat"});
  EXPECT_EQ(ReadBytes(dir.File("whole.dat")), kNew);
}
#endif

TEST(LocalFiles, ReplaceCreatesAndReplacesAndLeavesNoTemporaryFile) {
  TempDir dir;
  LocalFiles files;
  const std::string path = dir.File("kod.dat");
  EXPECT_FALSE(files.IsFile(path));
  EXPECT_EQ(files.Replace(path, kOld), io::kOk);
  EXPECT_TRUE(files.IsFile(path));
  EXPECT_EQ(files.Replace(path, kNew), io::kOk);
  EXPECT_EQ(ReadBytes(path), kNew);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"kod.dat"});
  EXPECT_TRUE(files.IsFolder(dir.path()));
  EXPECT_FALSE(files.IsFile(dir.path()));
  EXPECT_FALSE(files.IsFolder(path));
}

TEST(LocalFiles, ReplaceExistingNeverCreatesTheFile) {
  TempDir dir;
  LocalFiles files;
  const std::string path = dir.File("kod.dat");
  EXPECT_EQ(files.ReplaceExisting(path, kNew), io::kFileNotFound);
  EXPECT_FALSE(files.IsFile(path));
  EXPECT_TRUE(dir.Names().empty());
  WriteBytes(path, kOld);
  EXPECT_EQ(files.ReplaceExisting(path, kNew), io::kOk);
  EXPECT_EQ(ReadBytes(path), kNew);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"kod.dat"});
}

TEST(LocalFiles, ReadingARecordNeedsEveryByte) {
  TempDir dir;
  LocalFiles files;
  const std::string path = dir.File("short.dat");
  WriteBytes(path, Bytes(5727, 7));
  const ReadResult shortRead = ReadRecordFile(files, path, 5728);
  EXPECT_EQ(shortRead.error, io::kReadBeyondEnd);
  EXPECT_TRUE(shortRead.bytes.empty());
  WriteBytes(path, Bytes(6000, 7));
  const ReadResult longRead = ReadRecordFile(files, path, 5728);
  EXPECT_EQ(longRead.error, io::kOk);
  EXPECT_EQ(longRead.bytes.size(), 5728u);
}

TEST(LocalFiles, AFileUnderALargeLimitTakesOnlyItsOwnSize) {
  TempDir dir;
  LocalFiles files;
  const std::string path = dir.File("codes.dat");
  Bytes list;
  for (int i = 0; i < 20000; ++i) list.push_back(static_cast<std::uint8_t>('0' + i % 10));
  WriteBytes(path, list);
  const ReadResult read = files.Read(path, 256u << 20);
  EXPECT_EQ(read.error, io::kOk);
  EXPECT_EQ(read.bytes, list);
  EXPECT_LT(read.bytes.capacity(), 2 * list.size());
  EXPECT_EQ(files.Read(path, 7000).bytes, Bytes(list.begin(), list.begin() + 7000));
}

// A file as the platform's read calls see it: `content`, at most `chunk` bytes a call, failing
// with `error` once `failAt` bytes are read.
struct ScriptedFile {
  ReadSome Reader() {
    return [this](std::uint8_t* into, std::size_t size) {
      if (done >= failAt) return ReadStep{0, error};
      const std::size_t n = std::min({size, chunk, content.size() - done, failAt - done});
      std::copy_n(content.begin() + static_cast<std::ptrdiff_t>(done), n, into);
      done += n;
      return ReadStep{n};
    };
  }
  Bytes content;
  std::size_t chunk = 1000;
  std::size_t failAt = SIZE_MAX;
  int error = io::kOk;
  std::size_t done = 0;
};

Bytes Counting(std::size_t n) {
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(i * 7);
  return b;
}

TEST(ReadToEnd, ReadsTheFileAsItIsWhenReadWhateverItsSizeWasWhenOpened) {
  constexpr std::size_t kLimit = 256u << 20;
  ScriptedFile same{Counting(5000)};
  const ReadResult r = ReadToEnd(5000, kLimit, same.Reader());
  EXPECT_EQ(r.error, io::kOk);
  EXPECT_EQ(r.bytes, same.content);
  EXPECT_LT(r.bytes.capacity(), 10000u);

  ScriptedFile cut{Counting(3000)};  // shortened since it was opened
  EXPECT_EQ(ReadToEnd(5000, kLimit, cut.Reader()).bytes, cut.content);

  ScriptedFile grown{Counting(50000)};
  grown.chunk = 700;
  EXPECT_EQ(ReadToEnd(5000, kLimit, grown.Reader()).bytes, grown.content);

  ScriptedFile unknown{Counting(9000)};  // a size the system could not tell
  EXPECT_EQ(ReadToEnd(0, kLimit, unknown.Reader()).bytes, unknown.content);

  ScriptedFile empty;
  const ReadResult none = ReadToEnd(0, kLimit, empty.Reader());
  EXPECT_EQ(none.error, io::kOk);
  EXPECT_TRUE(none.bytes.empty());
}

TEST(ReadToEnd, StopsAtTheLimitAndGivesNothingOnAnError) {
  ScriptedFile large{Counting(50000)};
  EXPECT_EQ(ReadToEnd(50000, 2500, large.Reader()).bytes,
            Bytes(large.content.begin(), large.content.begin() + 2500));
  ScriptedFile growing{Counting(50000)};
  EXPECT_EQ(ReadToEnd(100, 20001, growing.Reader()).bytes,
            Bytes(growing.content.begin(), growing.content.begin() + 20001));

  for (const std::size_t failAt : {0u, 2500u, 5000u, 7000u}) {
    ScriptedFile failing{Counting(9000)};
    failing.failAt = failAt;
    failing.error = 23;
    const ReadResult r = ReadToEnd(5000, 1u << 20, failing.Reader());
    EXPECT_EQ(r.error, 23) << failAt;
    EXPECT_TRUE(r.bytes.empty()) << failAt;
  }
}

TEST(LocalFiles, ErrorsCarryTheNumbersTheProgramsReport) {
  TempDir dir;
  LocalFiles files;
  EXPECT_EQ(files.Read(dir.File("missing.dat"), 10).error, io::kFileNotFound);
  const std::string inMissingFolder = dir.File("no-such-folder") + "/x.dat";
  EXPECT_EQ(files.Read(inMissingFolder, 10).error, io::kPathNotFound);
  EXPECT_EQ(files.Replace(inMissingFolder, kNew), io::kPathNotFound);
  EXPECT_EQ(files.Remove(dir.File("missing.dat")), io::kFileNotFound);
  EXPECT_NE(files.Read(dir.path(), 10).error, io::kOk);  // a folder is not a record
  EXPECT_EQ(IoErrorText(io::kPathNotFound), "Invalid filename");
  EXPECT_EQ(IoErrorText(io::kReadBeyondEnd), "Read beyond end of file");
  EXPECT_EQ(IoErrorText(32), "I/O error 32");
}

#ifndef _WIN32
TEST(LocalFiles, AFifoInPlaceOfARecordDoesNotHangTheReader) {
  TempDir dir;
  LocalFiles files;
  const std::string path = dir.File("pipe.dat");
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  EXPECT_FALSE(files.IsFile(path));
  EXPECT_EQ(files.Read(path, 5728).error, io::kAccessDenied);
}

TEST(LocalFiles, AReadOnlyTargetInAWritableFolderIsStillReplacedWhole) {
  // Moving over a file needs only the folder's permission, as on a share where the old file is
  // read-only but the folder accepts changes.
  TempDir dir;
  LocalFiles files;
  const std::string path = dir.File("ro.dat");
  WriteBytes(path, kOld);
  ::chmod(path.c_str(), 0444);
  EXPECT_EQ(files.Replace(path, kNew), io::kOk);
  EXPECT_EQ(ReadBytes(path), kNew);
}
#endif

TEST(LocalFiles, RealNameIsTheNameTheFileIsStoredUnder) {
  TempDir dir;
  LocalFiles files;
  const std::string path = dir.File("1234567890.dat");
  WriteBytes(path, kOld);
  EXPECT_EQ(files.RealName(path), "1234567890.dat");
  EXPECT_EQ(files.RealName(dir.File("missing.dat")), std::nullopt);
  EXPECT_EQ(files.RealName(dir.File("*.dat")), std::nullopt);  // a pattern names no file
  EXPECT_EQ(files.RealName(dir.File("12345678?0.dat")), std::nullopt);
#ifdef _WIN32
  // Reached by another letter case or by the short alias, it still tells the stored name.
  EXPECT_EQ(files.RealName(dir.File("1234567890.DAT")), "1234567890.dat");
  wchar_t shortPath[MAX_PATH];
  ASSERT_NE(GetShortPathNameW(Widen(path).c_str(), shortPath, MAX_PATH), 0u);
  ASSERT_NE(Narrow(shortPath), path);
  EXPECT_EQ(files.RealName(Narrow(shortPath)), "1234567890.dat");
#endif
}

TEST(LocalFiles, RemoveDeletesTheFile) {
  TempDir dir;
  LocalFiles files;
  const std::string path = dir.File("gone.dat");
  WriteBytes(path, kOld);
  EXPECT_EQ(files.Remove(path), io::kOk);
  EXPECT_FALSE(files.IsFile(path));
}

}  // namespace
}  // namespace sentavo
