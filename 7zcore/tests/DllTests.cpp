// 7zCore.dll through its export, under Wine: ANSI paths, a destination on drive C:, progress.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "TestSupport.h"
#include "UnzipCore7z.h"

using namespace vx7ztest;

namespace {

struct Reports {
  std::vector<std::pair<uint64_t, uint64_t>> calls;
  std::function<void(uint64_t, uint64_t)> Fn() {
    return [this](uint64_t d, uint64_t t) { calls.emplace_back(d, t); };
  }
};

std::string ToAnsi(const std::string& utf8) {
  std::wstring w = fs::u8path(utf8).wstring();
  int n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string s(size_t(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, &s[0], n, nullptr, nullptr);
  s.resize(size_t(n - 1));
  return s;
}

const char* kDestRoot = "C:\\vx7z-dll-test";

TEST(UnzipCore7z, ExtractsOntoDriveCWithProgress) {
  for (const char* name : {"good-mx5", "good-mx9", "good-lzma2-blocks"}) {
    SCOPED_TRACE(name);
    std::string dest = std::string(kDestRoot) + "\\" + name;
    RemoveTree(U8(dest));
    CreateDirectoryA(kDestRoot, nullptr);
    CreateDirectoryA(dest.c_str(), nullptr);
    Reports r;
    // The installer calls from a worker thread of its own.
    bool ok = false;
    std::thread worker([&] { ok = UnzipCore7z(ToAnsi(gFixtures + "/" + name + ".7z").c_str(), dest.c_str(), r.Fn()); });
    worker.join();
    ASSERT_TRUE(ok);
    ASSERT_GE(r.calls.size(), 2u);
    uint64_t total = r.calls.back().second, prev = 0;
    EXPECT_GT(total, 0u);
    EXPECT_EQ(r.calls.back().first, total);
    for (size_t i = 0; i + 1 < r.calls.size(); ++i) {
      EXPECT_GE(r.calls[i].first, prev);
      EXPECT_LT(r.calls[i].first, total);
      prev = r.calls[i].first;
    }
    ExpectSameTree(U8(gFixtures + "/ref/" + name), U8(dest), true);
    RemoveTree(U8(dest));
  }
}

TEST(UnzipCore7z, FailuresReturnFalseWithoutTheFinalReport) {
  std::string dest = std::string(kDestRoot) + "\\fail";
  CreateDirectoryA(kDestRoot, nullptr);
  struct Case {
    std::string archive;
    std::string dest;
  };
  const Case cases[] = {
      {gFixtures + "/no-such.7z", dest},
      {gFixtures + "/bad-crc-data.7z", dest},
      {gFixtures + "/unsupported-deflate.7z", dest},
      {gFixtures + "/limit-dictionary.7z", dest},
      {gFixtures + "/good-mx1.7z", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.archive);
    Reports r;
    EXPECT_FALSE(UnzipCore7z(ToAnsi(c.archive).c_str(), c.dest.c_str(), r.Fn()));
    for (auto& call : r.calls) EXPECT_LT(call.first, call.second);
  }
  EXPECT_FALSE(UnzipCore7z(nullptr, dest.c_str(), nullptr));
  RemoveTree(U8(dest));
}

TEST(UnzipCore7z, EmptyCallableIsAccepted) {
  std::string dest = std::string(kDestRoot) + "\\nocallback";
  RemoveTree(U8(dest));
  EXPECT_TRUE(UnzipCore7z(ToAnsi(gFixtures + "/good-mx1.7z").c_str(), dest.c_str(), {}));
  ExpectSameTree(U8(gFixtures + "/ref/good-mx1"), U8(dest), true);
  RemoveTree(U8(dest));
}

}  // namespace
