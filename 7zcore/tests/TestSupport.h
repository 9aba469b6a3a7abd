// Helpers shared by the 7z tests: fixture manifest, paths under Wine, tree comparison.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace vx7ztest {

namespace fs = std::filesystem;

// Fixture folder and scratch folder, from the command line (set in main).
extern std::string gFixtures;
extern std::string gScratch;

// Unix paths reach a Windows program through drive Z:.
inline std::string HostPath(const std::string& p) {
#ifdef _WIN32
  if (!p.empty() && p[0] == '/') return "Z:" + p;
#endif
  return p;
}

inline fs::path U8(const std::string& s) { return fs::u8path(s); }

struct ManifestRow {
  std::string archive, expected, tree, pre, what;
};

inline std::vector<ManifestRow> ReadManifest() {
  std::vector<ManifestRow> rows;
  std::ifstream in(U8(gFixtures + "/manifest.tsv"));
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    std::vector<std::string> f;
    std::stringstream ss(line);
    std::string col;
    while (std::getline(ss, col, '\t')) f.push_back(col);
    f.resize(5);
    rows.push_back({f[0], f[1], f[2], f[3], f[4]});
  }
  return rows;
}

struct Node {
  bool dir = false;
  std::string data;
  fs::file_time_type mtime;
};

inline std::map<std::string, Node> Snapshot(const fs::path& root) {
  std::map<std::string, Node> out;
  std::error_code ec;
  if (!fs::exists(root, ec)) return out;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    Node n;
    n.dir = it->is_directory();
    n.mtime = fs::last_write_time(it->path());
    if (!n.dir) {
      std::ifstream f(it->path(), std::ios::binary);
      n.data.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }
    out[fs::relative(it->path(), root).generic_u8string()] = std::move(n);
  }
  return out;
}

// Same names, kinds, bytes and (where asked) modification times.
inline void ExpectSameTree(const fs::path& expected, const fs::path& actual, bool dirTimes, const std::string& skipTime = "") {
  auto want = Snapshot(expected), got = Snapshot(actual);
  for (const auto& [name, n] : want) {
    auto it = got.find(name);
    if (it == got.end()) {
      ADD_FAILURE() << "missing " << name;
      continue;
    }
    EXPECT_EQ(n.dir, it->second.dir) << name;
    EXPECT_TRUE(n.data == it->second.data) << "content differs: " << name;
    if (name != skipTime && (!n.dir || dirTimes)) {
      auto diff = std::chrono::duration_cast<std::chrono::nanoseconds>(n.mtime - it->second.mtime).count();
      EXPECT_LT(diff < 0 ? -diff : diff, 1000) << "modification time differs: " << name;
    }
  }
  for (const auto& [name, n] : got)
    if (!want.count(name)) ADD_FAILURE() << "unexpected " << name;
}

// Every file of `expected` is in `actual` with the same bytes (a failed run keeps what it wrote).
inline void ExpectContains(const fs::path& expected, const fs::path& actual) {
  auto want = Snapshot(expected), got = Snapshot(actual);
  for (const auto& [name, n] : want) {
    auto it = got.find(name);
    if (it == got.end()) {
      ADD_FAILURE() << "missing " << name;
      continue;
    }
    EXPECT_TRUE(n.data == it->second.data) << "content differs: " << name;
  }
}

// Removes a folder even when it holds read-only entries.
inline void RemoveTree(const fs::path& p) {
  std::error_code ec;
  if (!fs::exists(p, ec)) return;
  for (auto it = fs::recursive_directory_iterator(p, ec); it != fs::recursive_directory_iterator(); it.increment(ec))
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(p, ec);
}

inline std::string ReadFile(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

}  // namespace vx7ztest
