// Extraction against archives the real 7zz made and against hostile archives (make_fixtures.py).
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>

#include "ByteSource.h"
#include "Crc32.h"
#include "Extractor.h"
#include "PathClean.h"
#include "TestSupport.h"
#include "platform/PlatformIo.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

using namespace vx7ztest;
using vx7z::Result;

namespace {

Result ResultFromName(const std::string& s) {
  if (s == "ok") return Result::ok;
  if (s == "corrupt") return Result::corrupt;
  if (s == "unsupported") return Result::unsupported;
  if (s == "memoryLimit") return Result::memoryLimit;
  if (s == "ioError") return Result::ioError;
  return Result::badArgument;
}

vx7z::Status Extract(const std::string& archive, const std::string& dest, vx7z::CExtractOptions options = {}) {
  std::unique_ptr<vx7z::IInFile> file;
  VX7Z_TRY(vx7z::OpenArchiveFile(archive, file));
  std::unique_ptr<vx7z::IFileSystem> fs;
  if (!dest.empty()) VX7Z_TRY(vx7z::OpenDestination(dest, fs));
  return vx7z::ExtractArchive(*file, fs.get(), options);
}

vx7z::Status TestMemory(const std::string& bytes, size_t maxPiece = SIZE_MAX, bool parallel = false) {
  vx7z::CMemoryInFile file(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  vx7z::CExtractOptions options;
  options.limits.maxPiece = maxPiece;
  if (parallel) options.limits.parallelMinUnpack = 0;
  return vx7z::ExtractArchive(file, nullptr, options);
}

std::string Fixture(const std::string& name) { return gFixtures + "/" + name; }

// Each manifest row: the result kind, the tree, and nothing written outside the destination.
TEST(Archives, EveryFixtureGivesItsResultAndTree) {
  auto rows = ReadManifest();
  ASSERT_GT(rows.size(), 40u) << "fixtures missing in " << gFixtures;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.archive + ": " + row.what);
    fs::path sandbox = U8(gScratch + "/archives/" + row.archive);
    RemoveTree(sandbox);
    fs::create_directories(sandbox / "dest");
    if (row.pre != "-") std::ofstream(sandbox / "dest" / U8(row.pre), std::ios::binary) << "precious\n";
    vx7z::Status st = Extract(Fixture(row.archive), (sandbox / "dest").u8string());
    EXPECT_EQ(ResultName(st.result()), std::string(ResultName(ResultFromName(row.expected)))) << st.Describe();
    EXPECT_EQ(st.ok(), st.reason().empty());
    if (row.tree != "-") {
      if (row.expected == "ok")
        ExpectSameTree(U8(Fixture(row.tree)), sandbox / "dest", row.tree.compare(0, 4, "ref/") == 0, row.pre);
      else
        ExpectContains(U8(Fixture(row.tree)), sandbox / "dest");
    }
    size_t entries = 0;
    for (auto& e : fs::directory_iterator(sandbox)) {
      ++entries;
      EXPECT_EQ(e.path().filename().u8string(), "dest");
    }
    EXPECT_EQ(entries, 1u);
    // Testing without writing gives the same verdict.
    EXPECT_EQ(Extract(Fixture(row.archive), "").result(), st.result());
    RemoveTree(sandbox);
  }
}

std::string Slurp(const std::string& path) { return ReadFile(U8(path)); }

void PutLe32(std::string& s, size_t o, uint32_t v) { std::memcpy(&s[o], &v, 4); }

// Gives the next header a new size (its CRC and the signature CRC follow).
std::string WithHeaderSize(const std::string& archive, uint64_t size) {
  std::string a = archive;
  uint64_t offset;
  std::memcpy(&offset, a.data() + 12, 8);
  std::memcpy(&a[20], &size, 8);
  PutLe32(a, 28, vx7z::Crc32(a.data() + 32 + offset, size_t(size)));
  PutLe32(a, 8, vx7z::Crc32(a.data() + 12, 20));
  return a;
}

// Cutting the header after every byte, with the CRCs made to match, is always refused.
TEST(Hostile, HeaderTruncatedAtEveryByte) {
  for (const char* name : {"good-hc-off.7z", "good-mx5.7z", "good-mx9.7z", "good-crafted-attrs.7z"}) {
    SCOPED_TRACE(name);
    std::string a = Slurp(Fixture(name));
    ASSERT_GT(a.size(), 32u);
    uint64_t size;
    std::memcpy(&size, a.data() + 20, 8);
    ASSERT_TRUE(TestMemory(a).ok());
    for (uint64_t k = 1; k < size; ++k) {  // size 0 is a valid empty archive
      vx7z::Status st = TestMemory(WithHeaderSize(a, k));
      EXPECT_EQ(st.result(), Result::corrupt) << "cut at " << k << ": " << st.Describe();
    }
  }
}

// Damaged packed bytes never crash, and a changed file is never reported as fine unless
// the changed byte is one the decoder does not need.
TEST(Hostile, DamagedPackedDataIsCaughtOrHarmless) {
  for (const char* name : {"good-mx9.7z", "good-crafted-lzma2-chunks.7z", "good-bcj2-lzma.7z", "good-delta4.7z",
                           "good-lzma2-blocks.7z"}) {
    SCOPED_TRACE(name);
    std::string a = Slurp(Fixture(name));
    uint64_t offset;
    std::memcpy(&offset, a.data() + 12, 8);
    size_t corrupt = 0, tries = 0;
    for (size_t pos = 32; pos < 32 + offset; pos += 1 + (32 + offset) / 150) {
      std::string b = a;
      b[pos] = char(b[pos] ^ 0x5A);
      vx7z::Status st = TestMemory(b, SIZE_MAX, pos % 2 == 0);
      EXPECT_TRUE(st.ok() || st.result() == Result::corrupt) << st.Describe();
      corrupt += !st.ok();
      ++tries;
    }
    EXPECT_GT(corrupt * 10, tries * 9) << "most damaged bytes must be noticed";
  }
}

// Small reads from the archive exercise every buffer refill path; the result is the same.
TEST(Archives, TinyReadsGiveTheSameResult) {
  for (const char* name : {"good-mx9.7z", "good-crafted-lzma2-chunks.7z", "good-lzma-d64k.7z", "good-arm64.7z"}) {
    SCOPED_TRACE(name);
    std::string a = Slurp(Fixture(name));
    for (size_t piece : {1, 7, 4096}) EXPECT_TRUE(TestMemory(a, piece).ok()) << piece;
    vx7z::CMemoryInFile file(reinterpret_cast<const uint8_t*>(a.data()), a.size());
    vx7z::CExtractOptions inline_;
    inline_.helperThreads = false;
    EXPECT_TRUE(vx7z::ExtractArchive(file, nullptr, inline_).ok());
  }
}

// LZMA2 streams with dictionary resets, split into segments decoded on several threads, give
// the same files as the sequential decoder (extracted and compared with 7zz's result).
TEST(Archives, SegmentsDecodedInParallelMatch7zz) {
  for (const char* name : {"good-lzma2-blocks", "good-crafted-lzma2-chunks"}) {
    SCOPED_TRACE(name);
    std::string dest = gScratch + "/parallel/" + name;
    RemoveTree(U8(dest));
    vx7z::CExtractOptions options;
    options.limits.parallelMinUnpack = 0;
    for (size_t piece : {size_t(SIZE_MAX), size_t(333)}) {
      options.limits.maxPiece = piece;
      ASSERT_TRUE(Extract(Fixture(std::string(name) + ".7z"), dest, options).ok());
      bool fromRef = std::string(name).compare(0, 13, "good-crafted-") != 0;
      ExpectSameTree(U8(Fixture(fromRef ? "ref/" + std::string(name) : "expect/lzma2-chunks")), U8(dest), fromRef);
      RemoveTree(U8(dest));
    }
  }
  // A damaged segment is reported as corrupt, whichever thread meets it.
  std::string a = Slurp(Fixture("good-lzma2-blocks.7z"));
  a[a.size() / 3] = char(a[a.size() / 3] ^ 0x21);
  EXPECT_EQ(TestMemory(a, SIZE_MAX, true).result(), Result::corrupt);
}

// Folders taken from both ends by two lanes give 7zz's tree, one lane or two, with progress
// that never goes back; two data files of one name keep the later one either way.
TEST(Archives, FoldersOnTwoLanesMatch7zz) {
  std::map<std::string, std::string> trees;
  for (const auto& row : ReadManifest()) trees[row.archive] = row.tree;
  for (const char* name : {"good-solid-off.7z", "good-copy-solid-off.7z", "good-mx5.7z", "good-crafted-duplicate-names.7z"}) {
    for (unsigned lanes : {1u, 2u}) {
      SCOPED_TRACE(std::string(name) + " on " + std::to_string(lanes) + " lane(s)");
      ASSERT_TRUE(trees.count(name)) << "fixture missing";
      std::string dest = gScratch + "/lanes/" + name;
      RemoveTree(U8(dest));
      vx7z::CExtractOptions options;
      options.folderLanes = lanes;
      uint64_t prev = 0, last = 0, total = 0;
      bool backwards = false;
      options.onProgress = [&](uint64_t d, uint64_t t) {
        backwards = backwards || d < prev;
        prev = last = d;
        total = t;
      };
      ASSERT_TRUE(Extract(Fixture(name), dest, options).ok());
      EXPECT_FALSE(backwards);
      EXPECT_EQ(last, total);
      const std::string& tree = trees[name];
      ExpectSameTree(U8(Fixture(tree)), U8(dest), tree.compare(0, 4, "ref/") == 0);
      RemoveTree(U8(dest));
    }
  }
}

// "Same.txt" then "same.txt": two files here, one file on Windows holding the later one's bytes
// (it is opened again only once the earlier data has all been written).
TEST(Archives, NamesDifferingInCaseOnly) {
  std::string dest = gScratch + "/case-names";
  RemoveTree(U8(dest));
  ASSERT_TRUE(Extract(Fixture("good-crafted-case-names.7z"), dest).ok());
  EXPECT_EQ(ReadFile(U8(dest + "/same.txt")), "second\n");
  size_t files = 0;
  for (auto& e : fs::directory_iterator(U8(dest))) files += e.is_regular_file();
#ifdef _WIN32
  EXPECT_EQ(files, 1u);
#else
  EXPECT_EQ(files, 2u);
  EXPECT_EQ(ReadFile(U8(dest + "/Same.txt")).size(), 256u << 10);
#endif
  RemoveTree(U8(dest));
}

// A damaged file in the first or in the last folder fails the whole extraction, whichever lane
// meets it, and the other lane stops.
TEST(Archives, DamageInAnyFolderFailsBothLanes) {
  const std::string good = Slurp(Fixture("good-copy-solid-off.7z"));
  uint64_t headerOffset;
  std::memcpy(&headerOffset, good.data() + 12, 8);
  ASSERT_GT(headerOffset, 2u);
  for (size_t at : {size_t(32), size_t(32 + headerOffset - 1)}) {
    for (unsigned lanes : {1u, 2u}) {
      SCOPED_TRACE("byte " + std::to_string(at) + " on " + std::to_string(lanes) + " lane(s)");
      std::string bad = good;
      bad[at] = char(bad[at] ^ 0x40);
      vx7z::CMemoryInFile file(reinterpret_cast<const uint8_t*>(bad.data()), bad.size());
      vx7z::CExtractOptions options;
      options.folderLanes = lanes;
      EXPECT_EQ(vx7z::ExtractArchive(file, nullptr, options).result(), Result::corrupt);
      std::string dest = gScratch + "/lanes-damaged";
      RemoveTree(U8(dest));
      std::string path = dest + ".7z";
      std::ofstream(U8(path), std::ios::binary) << bad;
      EXPECT_EQ(Extract(path, dest, options).result(), Result::corrupt);
      RemoveTree(U8(dest));
      fs::remove(U8(path));
    }
  }
}

TEST(Limits, DictionaryOverTheBudgetIsAMemoryLimit) {
  // The window is min(dictionary, folder size): about 500 KB for d64m's first folder, 64 KiB for
  // d64k. Without helper threads no prefetch blocks are charged.
  vx7z::CExtractOptions options;
  options.limits.memoryLimit = 512u << 10;
  options.helperThreads = false;
  EXPECT_EQ(Extract(Fixture("good-lzma-d64m.7z"), "", options).result(), Result::memoryLimit);
  EXPECT_TRUE(Extract(Fixture("good-lzma-d64k.7z"), "", options).ok());
  EXPECT_TRUE(Extract(Fixture("good-lzma-d64m.7z"), "").ok());
}

struct ProgressLog {
  std::vector<std::pair<uint64_t, uint64_t>> calls;
  vx7z::ProgressFn Fn() {
    return [this](uint64_t d, uint64_t t) { calls.emplace_back(d, t); };
  }
};

TEST(Progress, GrowsAndEndsWithOneFullReport) {
  for (const char* name : {"good-mx5.7z", "good-solid-off.7z", "good-crafted-no-data.7z"}) {
    SCOPED_TRACE(name);
    ProgressLog log;
    vx7z::CExtractOptions options;
    options.onProgress = log.Fn();
    ASSERT_TRUE(Extract(Fixture(name), "", options).ok());
    ASSERT_FALSE(log.calls.empty());
    uint64_t total = log.calls.back().second;
    EXPECT_EQ(log.calls.back().first, total);
    uint64_t prev = 0, bigStep = 0;
    for (size_t i = 0; i < log.calls.size(); ++i) {
      EXPECT_EQ(log.calls[i].second, total);
      EXPECT_GE(log.calls[i].first, prev);
      if (i + 1 < log.calls.size()) {
        EXPECT_LT(log.calls[i].first, total) << "full amount before the end";
      }
      bigStep = std::max(bigStep, log.calls[i].first - prev);
      prev = log.calls[i].first;
    }
    // Steps of at most a percent, plus the size of one read.
    EXPECT_LE(bigStep, total / 100 + (1u << 18));
  }
  // The total is the sum of the file sizes.
  ProgressLog log;
  vx7z::CExtractOptions options;
  options.onProgress = log.Fn();
  ASSERT_TRUE(Extract(Fixture("good-mx0.7z"), "", options).ok());
  uint64_t sum = 0;
  for (auto& e : fs::recursive_directory_iterator(U8(Fixture("ref/good-mx0"))))
    if (e.is_regular_file()) sum += e.file_size();
  EXPECT_EQ(log.calls.back().second, sum);
}

TEST(Progress, NoFullReportAfterFailure) {
  for (const char* name : {"bad-crc-data.7z", "bad-lzma-truncated.7z", "bad-lzma2-no-end.7z"}) {
    SCOPED_TRACE(name);
    ProgressLog log;
    vx7z::CExtractOptions options;
    options.onProgress = log.Fn();
    EXPECT_FALSE(Extract(Fixture(name), "", options).ok());
    for (auto& c : log.calls) EXPECT_LT(c.first, c.second);
  }
}

// A destination that fails writes after a number of bytes.
class CFailingFs : public vx7z::IFileSystem {
 public:
  explicit CFailingFs(uint64_t budget) : budget_(budget) {}
  class File : public vx7z::IOutFile {
   public:
    explicit File(CFailingFs& fs) : fs_(fs) {}
    vx7z::Status Write(const uint8_t*, size_t n) override {
      if (n > fs_.budget_) return vx7z::Status::Io("disk full");
      fs_.budget_ -= n;
      return vx7z::Status::Ok();
    }
    vx7z::Status Finish(const vx7z::CItemMeta&) override { return vx7z::Status::Ok(); }
    CFailingFs& fs_;
  };
  vx7z::Status CreateDirectories(const std::string&) override { return vx7z::Status::Ok(); }
  vx7z::Status CreateOutFile(const std::string& p, std::unique_ptr<vx7z::IOutFile>& f) override {
    created.push_back(p);
    f.reset(new File(*this));
    return vx7z::Status::Ok();
  }
  vx7z::Status SetDirectoryMeta(const std::string&, const vx7z::CItemMeta&) override { return vx7z::Status::Ok(); }
  std::vector<std::string> created;

 private:
  uint64_t budget_;
};

TEST(Writer, ShortWriteIsAnIoError) {
  std::unique_ptr<vx7z::IInFile> file;
  ASSERT_TRUE(vx7z::OpenArchiveFile(Fixture("good-mx5.7z"), file).ok());
  CFailingFs fs(300000);
  ProgressLog log;
  vx7z::CExtractOptions options;
  options.onProgress = log.Fn();
  vx7z::Status st = vx7z::ExtractArchive(*file, &fs, options);
  EXPECT_EQ(st.result(), Result::ioError) << st.Describe();
  EXPECT_FALSE(fs.created.empty());
  for (auto& c : log.calls) EXPECT_LT(c.first, c.second);
}

TEST(Writer, UnwritableDestinationIsAnIoError) {
  fs::path base = U8(gScratch + "/unwritable");
  RemoveTree(base);
  fs::create_directories(base);
  std::ofstream(base / "plainfile") << "x";
  // The destination itself is a file.
  EXPECT_EQ(Extract(Fixture("good-mx1.7z"), (base / "plainfile").u8string()).result(), Result::ioError);
  // A folder the archive needs is taken by a file.
  fs::create_directories(base / "dest");
  std::ofstream(base / "dest" / "nested") << "in the way";
  EXPECT_EQ(Extract(Fixture("good-mx1.7z"), (base / "dest").u8string()).result(), Result::ioError);
  RemoveTree(base);
}

TEST(Writer, MissingArchiveIsAnIoError) {
  EXPECT_EQ(Extract(Fixture("no-such-archive.7z"), "").result(), Result::ioError);
}

TEST(Attributes, ReadOnlyAndHiddenAreApplied) {
  fs::path dest = U8(gScratch + "/attrs");
  RemoveTree(dest);
  ASSERT_TRUE(Extract(Fixture("good-crafted-attrs.7z"), dest.u8string()).ok());
#ifdef _WIN32
  DWORD ro = GetFileAttributesW((dest / "ro.txt").wstring().c_str());
  DWORD hid = GetFileAttributesW((dest / "hid.txt").wstring().c_str());
  DWORD plain = GetFileAttributesW((dest / "plain.txt").wstring().c_str());
  EXPECT_TRUE(ro & FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(hid & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_FALSE(plain & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
#else
  struct stat st;
  ASSERT_EQ(stat((dest / "ro.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0222, 0u);
  ASSERT_EQ(stat((dest / "plain.txt").c_str(), &st), 0);
  EXPECT_NE(st.st_mode & 0200, 0u);
#endif
  // Extracting again over read-only files works.
  EXPECT_TRUE(Extract(Fixture("good-crafted-attrs.7z"), dest.u8string()).ok());
  RemoveTree(dest);
}

struct NameCase {
  const char* stored;
  const char* cleaned;
};

TEST(PathClean, NamesStayInsideAndAreSafeOnWindows) {
  const NameCase cases[] = {
      {"plain.txt", "plain.txt"},
      {"dir/sub/file", "dir/sub/file"},
      {"dir\\sub\\file", "dir/sub/file"},
      {"C:\\Windows\\x", "Windows/x"},
      {"C:x", "x"},
      {"/etc/passwd", "etc/passwd"},
      {"\\\\server\\share\\f", "server/share/f"},
      {"\\\\?\\C:\\f", "_/C_/f"},
      {"a/../../x", "x"},
      {"a\\..\\b", "b"},
      {"../x", "x"},
      {"..", ""},
      {"./a/./b", "a/b"},
      {"a/..", "a"},
      {"CON", "_CON"},
      {"dir/nul.txt", "dir/_nul.txt"},
      {"LPT9", "_LPT9"},
      {"COM10", "COM10"},
      {"CONsole", "CONsole"},
      {"name.", "name_"},
      {"name ", "name_"},
      {"x:stream", "stream"},
      {"dir/x:stream", "dir/x_stream"},
      {"a<b>c|d", "a_b_c_d"},
      {"中文/名字.txt", "中文/名字.txt"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(vx7z::CleanEntryName(c.stored), c.cleaned) << c.stored;
}

}  // namespace
