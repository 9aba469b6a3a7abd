// What the 7z headers say: packed streams, folders (coder graphs) and file entries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vx7z {

// Coder method ids as 7z writes them (big-endian id bytes read as a number).
enum : uint64_t {
  kMethodCopy = 0x00,
  kMethodDelta = 0x03,
  kMethodArm64 = 0x0A,
  kMethodLzma2 = 0x21,
  kMethodLzma = 0x030101,
  kMethodPpmd = 0x030401,
  kMethodBcj = 0x03030103,
  kMethodBcj2 = 0x0303011B,
  kMethodDeflate = 0x040108,
  kMethodDeflate64 = 0x040109,
  kMethodBzip2 = 0x040202,
  kMethodAes = 0x06F10701,
};

struct CCoder {
  uint64_t methodId = 0;
  uint32_t numIn = 1;   // decoder inputs (packed side)
  uint32_t numOut = 1;  // decoder outputs
  std::vector<uint8_t> props;
};

struct CBindPair {
  uint32_t in;   // folder-wide in-stream index
  uint32_t out;  // folder-wide out-stream index that feeds it
};

struct CFolder {
  std::vector<CCoder> coders;
  std::vector<CBindPair> bindPairs;
  std::vector<uint32_t> packedStreams;  // in-stream index of each of the folder's packed streams
  std::vector<uint64_t> unpackSizes;    // one per out-stream, in coder order
  uint32_t mainOut = 0;                 // the out-stream no bind pair consumes
  uint64_t firstPackStream = 0;         // index into CArchiveDb::packSizes
  uint64_t numSubstreams = 1;           // files whose data this folder holds
  bool crcDefined = false;
  uint32_t crc = 0;

  uint64_t UnpackSize() const { return unpackSizes.empty() ? 0 : unpackSizes[mainOut]; }
};

struct CFileItem {
  std::string name;          // as stored, converted to UTF-8; not cleaned
  uint64_t size = 0;
  bool hasStream = false;    // data lives in a folder
  bool isDir = false;
  bool isAnti = false;       // a deletion record
  bool crcDefined = false;
  uint32_t crc = 0;
  bool mtimeDefined = false;
  uint64_t mtime = 0;        // FILETIME: 100 ns since 1601
  bool attribDefined = false;
  uint32_t attrib = 0;       // Windows attributes; with 0x8000 the high half is a POSIX mode
};

struct CArchiveDb {
  std::vector<uint64_t> packSizes;
  std::vector<uint64_t> packOffsets;  // absolute file offsets
  std::vector<CFolder> folders;
  std::vector<CFileItem> files;
  // For each substream in order: its size and CRC (the files with data take them in order).
  std::vector<uint64_t> substreamSizes;
  std::vector<bool> substreamCrcDefined;
  std::vector<uint32_t> substreamCrcs;
};

// Windows attribute bits we look at.
enum : uint32_t {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
  kAttrReparsePoint = 0x400,
  kAttrUnixExtension = 0x8000,
};

inline bool IsSymlinkEntry(const CFileItem& f) {
  if (!f.attribDefined) return false;
  if (f.attrib & kAttrReparsePoint) return true;
  return (f.attrib & kAttrUnixExtension) && ((f.attrib >> 16) & 0xF000) == 0xA000;
}

}  // namespace vx7z
