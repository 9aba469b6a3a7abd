// vx7z: command-line front end of the extraction library.
//   vx7z x ARCHIVE DEST   extract     vx7z t ARCHIVE   test     vx7z l ARCHIVE   list
#include <cinttypes>
#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

#include "../src/ArchiveReader.h"
#include "../src/Extractor.h"
#include "../src/platform/PlatformIo.h"

namespace {

int Fail(const vx7z::Status& st) {
  std::fprintf(stderr, "vx7z: %s\n", st.Describe().c_str());
  return 2;
}

int Usage() {
  std::fprintf(stderr, "usage: vx7z x ARCHIVE DEST | vx7z t ARCHIVE | vx7z l ARCHIVE\n");
  return 1;
}

int List(vx7z::IInFile& file) {
  vx7z::CArchiveDb db;
  vx7z::Status st = vx7z::ReadArchive(file, vx7z::CReadLimits(), db);
  if (!st.ok()) return Fail(st);
  for (size_t i = 0; i < db.folders.size(); ++i) {
    std::string methods;
    for (const auto& c : db.folders[i].coders) methods += (methods.empty() ? "" : " ") + vx7z::MethodName(c.methodId);
    std::printf("folder %zu: %s, %" PRIu64 " bytes, %" PRIu64 " files\n", i, methods.c_str(),
                db.folders[i].UnpackSize(), db.folders[i].numSubstreams);
  }
  for (const auto& f : db.files) {
    char attr[6] = "-----";
    if (f.isDir) attr[0] = 'D';
    if (f.attribDefined && (f.attrib & vx7z::kAttrReadOnly)) attr[1] = 'R';
    if (f.attribDefined && (f.attrib & vx7z::kAttrHidden)) attr[2] = 'H';
    if (vx7z::IsSymlinkEntry(f)) attr[3] = 'L';
    if (f.isAnti) attr[4] = 'A';
    std::printf("%s %12" PRIu64 "  %s\n", attr, f.size, f.name.c_str());
  }
  return 0;
}

int Run(const std::vector<std::string>& args) {
  if (args.size() < 3) return Usage();
  const std::string& cmd = args[1];
  if (!((cmd == "x" && args.size() == 4) || ((cmd == "t" || cmd == "l") && args.size() == 3))) return Usage();
  std::unique_ptr<vx7z::IInFile> file;
  vx7z::Status st = vx7z::OpenArchiveFile(args[2], file);
  if (!st.ok()) return Fail(st);
  if (cmd == "l") return List(*file);
  std::unique_ptr<vx7z::IFileSystem> fs;
  if (cmd == "x") {
    st = vx7z::OpenDestination(args[3], fs);
    if (!st.ok()) return Fail(st);
  }
  vx7z::CExtractOptions options;
  st = vx7z::ExtractArchive(*file, fs.get(), options);
  if (!st.ok()) return Fail(st);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args;
#ifdef _WIN32
  // The narrow arguments are in the ANSI code page; take the wide ones and use UTF-8 inside.
  (void)argv;
  int n = 0;
  LPWSTR* wargv = CommandLineToArgvW(GetCommandLineW(), &n);
  for (int i = 0; wargv && i < n; ++i) {
    int len = WideCharToMultiByte(CP_UTF8, 0, wargv[i], -1, nullptr, 0, nullptr, nullptr);
    std::string s(len > 0 ? size_t(len - 1) : 0, '\0');
    if (len > 1) WideCharToMultiByte(CP_UTF8, 0, wargv[i], -1, &s[0], len, nullptr, nullptr);
    args.push_back(s);
  }
  LocalFree(wargv);
  (void)argc;
#else
  for (int i = 0; i < argc; ++i) args.push_back(argv[i]);
#endif
  return Run(args);
}
