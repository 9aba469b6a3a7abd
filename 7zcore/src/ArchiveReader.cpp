#include "ArchiveReader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "Crc32.h"
#include "FolderDecoder.h"

namespace vx7z {
namespace {

// Property ids of the header.
enum : uint64_t {
  kEnd = 0x00,
  kHeader = 0x01,
  kArchiveProperties = 0x02,
  kAdditionalStreamsInfo = 0x03,
  kMainStreamsInfo = 0x04,
  kFilesInfo = 0x05,
  kPackInfo = 0x06,
  kUnpackInfo = 0x07,
  kSubStreamsInfo = 0x08,
  kSize = 0x09,
  kCrc = 0x0A,
  kFolder = 0x0B,
  kCodersUnpackSize = 0x0C,
  kNumUnpackStream = 0x0D,
  kEmptyStream = 0x0E,
  kEmptyFile = 0x0F,
  kAnti = 0x10,
  kName = 0x11,
  kMTime = 0x14,
  kWinAttributes = 0x15,
  kEncodedHeader = 0x17,
  kDummy = 0x19,
};

constexpr uint32_t kMaxCoders = 64;
constexpr uint32_t kMaxCoderStreams = 64;
const uint8_t kSignature[6] = {'7', 'z', 0xBC, 0xAF, 0x27, 0x1C};

// Bounds-checked reading of header bytes; failures name the offset.
class CByteReader {
 public:
  CByteReader(const uint8_t* data, size_t size, uint64_t base) : p_(data), size_(size), base_(base) {}

  size_t Remaining() const { return size_ - pos_; }
  Status Truncated() const { return Status::Corrupt("header truncated at offset " + std::to_string(base_ + pos_)); }
  Status Bad(const char* what) const {
    return Status::Corrupt(std::string(what) + " at header offset " + std::to_string(base_ + pos_));
  }

  Status Byte(uint8_t& v) {
    if (pos_ >= size_) return Truncated();
    v = p_[pos_++];
    return Status::Ok();
  }
  Status Number(uint64_t& v) {
    uint8_t first = 0;
    VX7Z_TRY(Byte(first));
    v = 0;
    uint8_t mask = 0x80;
    for (int i = 0; i < 8; ++i) {
      if ((first & mask) == 0) {
        v |= uint64_t(first & (mask - 1)) << (8 * i);
        return Status::Ok();
      }
      uint8_t b = 0;
      VX7Z_TRY(Byte(b));
      v |= uint64_t(b) << (8 * i);
      mask >>= 1;
    }
    return Status::Ok();
  }
  // A number that counts items, each needing at least `minBytes` of the remaining header.
  Status Count(uint64_t& v, uint64_t minBytesEach, const char* what) {
    VX7Z_TRY(Number(v));
    if (minBytesEach && v > Remaining() / minBytesEach) return Bad(what);
    return Status::Ok();
  }
  Status UInt32(uint32_t& v) {
    if (Remaining() < 4) return Truncated();
    const uint8_t* q = p_ + pos_;
    v = uint32_t(q[0]) | uint32_t(q[1]) << 8 | uint32_t(q[2]) << 16 | uint32_t(q[3]) << 24;
    pos_ += 4;
    return Status::Ok();
  }
  Status UInt64(uint64_t& v) {
    uint32_t lo = 0, hi = 0;
    VX7Z_TRY(UInt32(lo));
    VX7Z_TRY(UInt32(hi));
    v = uint64_t(hi) << 32 | lo;
    return Status::Ok();
  }
  Status Bytes(const uint8_t*& data, uint64_t n) {
    if (n > Remaining()) return Truncated();
    data = p_ + pos_;
    pos_ += static_cast<size_t>(n);
    return Status::Ok();
  }
  Status Skip(uint64_t n) {
    const uint8_t* unused = nullptr;
    return Bytes(unused, n);
  }
  // Skips a property: its size, then that many bytes.
  Status SkipData() {
    uint64_t n = 0;
    VX7Z_TRY(Number(n));
    return Skip(n);
  }
  Status BitVector(uint64_t n, std::vector<bool>& bits) {
    const uint8_t* data = nullptr;
    VX7Z_TRY(Bytes(data, (n + 7) / 8));
    bits.resize(static_cast<size_t>(n));
    for (size_t i = 0; i < n; ++i) bits[i] = (data[i / 8] >> (7 - i % 8)) & 1;
    return Status::Ok();
  }
  // An "all defined" byte, else a bit vector.
  Status DefinedVector(uint64_t n, std::vector<bool>& bits) {
    uint8_t all = 0;
    VX7Z_TRY(Byte(all));
    if (all) {
      bits.assign(static_cast<size_t>(n), true);
      return Status::Ok();
    }
    return BitVector(n, bits);
  }
  Status Digests(uint64_t n, std::vector<bool>& defined, std::vector<uint32_t>& crcs) {
    VX7Z_TRY(DefinedVector(n, defined));
    uint64_t count = std::count(defined.begin(), defined.end(), true);
    if (count > Remaining() / 4) return Truncated();
    crcs.assign(static_cast<size_t>(n), 0);
    for (size_t i = 0; i < n; ++i)
      if (defined[i]) VX7Z_TRY(UInt32(crcs[i]));
    return Status::Ok();
  }
  uint64_t Offset() const { return base_ + pos_; }

 private:
  const uint8_t* p_;
  size_t size_;
  size_t pos_ = 0;
  uint64_t base_;  // offset of p_[0] in the header, for messages
};

class CHeaderParser {
 public:
  CHeaderParser(IInFile& file, const CReadLimits& limits, CArchiveDb& db) : file_(file), limits_(limits), db_(db) {}

  Status Parse(const uint8_t* data, size_t size, uint64_t packBase, bool encodedAllowed);

 private:
  Status ParseStreamsInfo(CByteReader& r, uint64_t packBase);
  Status ParsePackInfo(CByteReader& r, uint64_t packBase);
  Status ParseUnpackInfo(CByteReader& r);
  Status ParseFolder(CByteReader& r, CFolder& f);
  Status ParseSubStreamsInfo(CByteReader& r);
  Status DefaultSubStreams();
  Status ParseFilesInfo(CByteReader& r);
  Status DecodeEncodedHeader(std::vector<uint8_t>& out);

  IInFile& file_;
  const CReadLimits& limits_;
  CArchiveDb& db_;
  bool haveSubStreams_ = false;
};

Status CHeaderParser::ParsePackInfo(CByteReader& r, uint64_t packBase) {
  uint64_t packPos = 0, count = 0;
  VX7Z_TRY(r.Number(packPos));
  VX7Z_TRY(r.Count(count, 1, "pack stream count beyond the header"));
  db_.packSizes.assign(static_cast<size_t>(count), 0);
  bool haveSizes = false;
  for (;;) {
    uint64_t type = 0;
    VX7Z_TRY(r.Number(type));
    if (type == kEnd) break;
    if (type == kSize) {
      if (haveSizes) return r.Bad("duplicate pack sizes");
      haveSizes = true;
      for (auto& s : db_.packSizes) VX7Z_TRY(r.Number(s));
    } else if (type == kCrc) {
      std::vector<bool> defined;
      std::vector<uint32_t> crcs;
      VX7Z_TRY(r.Digests(count, defined, crcs));
    } else {
      VX7Z_TRY(r.SkipData());
    }
  }
  if (!haveSizes && count) return r.Bad("pack sizes missing");
  // Every packed stream lies inside the archive.
  const uint64_t fileSize = file_.Size();
  uint64_t offset = packBase;
  if (packPos > fileSize || offset > fileSize - packPos) return Status::Corrupt("pack position past the end of the archive");
  offset += packPos;
  db_.packOffsets.clear();
  for (uint64_t s : db_.packSizes) {
    if (s > fileSize - offset) return Status::Corrupt("pack stream past the end of the archive");
    db_.packOffsets.push_back(offset);
    offset += s;
  }
  return Status::Ok();
}

Status CHeaderParser::ParseFolder(CByteReader& r, CFolder& f) {
  uint64_t numCoders = 0;
  VX7Z_TRY(r.Number(numCoders));
  if (numCoders == 0) return r.Bad("folder without coders");
  if (numCoders > kMaxCoders) return Status::Unsupported("folder with more than 64 coders");
  uint64_t totalIn = 0, totalOut = 0;
  f.coders.resize(static_cast<size_t>(numCoders));
  for (CCoder& c : f.coders) {
    uint8_t flags = 0;
    VX7Z_TRY(r.Byte(flags));
    if (flags & 0xC0) return Status::Unsupported("coder with alternative methods");
    unsigned idSize = flags & 0x0F;
    if (idSize > 8) return Status::Unsupported("coder id longer than 8 bytes");
    const uint8_t* id = nullptr;
    VX7Z_TRY(r.Bytes(id, idSize));
    c.methodId = 0;
    for (unsigned i = 0; i < idSize; ++i) c.methodId = (c.methodId << 8) | id[i];
    if (flags & 0x10) {
      uint64_t ni = 0, no = 0;
      VX7Z_TRY(r.Number(ni));
      VX7Z_TRY(r.Number(no));
      if (ni == 0 || no == 0 || ni > kMaxCoderStreams || no > kMaxCoderStreams)
        return r.Bad("coder stream count out of range");
      c.numIn = uint32_t(ni);
      c.numOut = uint32_t(no);
    }
    if (flags & 0x20) {
      uint64_t n = 0;
      VX7Z_TRY(r.Number(n));
      const uint8_t* props = nullptr;
      VX7Z_TRY(r.Bytes(props, n));
      c.props.assign(props, props + n);
    }
    totalIn += c.numIn;
    totalOut += c.numOut;
  }
  uint64_t numBind = totalOut - 1;
  if (totalIn < numBind + 1) return r.Bad("folder has fewer inputs than bind pairs");
  f.bindPairs.resize(static_cast<size_t>(numBind));
  for (CBindPair& bp : f.bindPairs) {
    uint64_t in = 0, out = 0;
    VX7Z_TRY(r.Number(in));
    VX7Z_TRY(r.Number(out));
    if (in >= totalIn || out >= totalOut) return r.Bad("bind pair index out of range");
    bp.in = uint32_t(in);
    bp.out = uint32_t(out);
  }
  uint64_t numPacked = totalIn - numBind;
  if (numPacked == 1) {
    for (uint32_t i = 0; i < totalIn; ++i) {
      if (std::none_of(f.bindPairs.begin(), f.bindPairs.end(), [&](const CBindPair& b) { return b.in == i; })) {
        f.packedStreams.push_back(i);
        break;
      }
    }
    if (f.packedStreams.empty()) return r.Bad("folder has no packed stream");
  } else {
    for (uint64_t i = 0; i < numPacked; ++i) {
      uint64_t idx = 0;
      VX7Z_TRY(r.Number(idx));
      if (idx >= totalIn) return r.Bad("packed stream index out of range");
      f.packedStreams.push_back(uint32_t(idx));
    }
  }
  f.mainOut = uint32_t(totalOut);
  for (uint32_t o = 0; o < totalOut; ++o) {
    if (std::none_of(f.bindPairs.begin(), f.bindPairs.end(), [&](const CBindPair& b) { return b.out == o; })) {
      f.mainOut = o;
      break;
    }
  }
  if (f.mainOut == totalOut) return r.Bad("folder has no output stream");
  return Status::Ok();
}

Status CHeaderParser::ParseUnpackInfo(CByteReader& r) {
  uint64_t type = 0;
  VX7Z_TRY(r.Number(type));
  if (type != kFolder) return r.Bad("folder list expected");
  uint64_t numFolders = 0;
  VX7Z_TRY(r.Count(numFolders, 2, "folder count beyond the header"));
  uint8_t external = 0;
  VX7Z_TRY(r.Byte(external));
  if (external) return Status::Unsupported("folders stored outside the header");
  db_.folders.clear();
  uint64_t nextPack = 0;
  for (uint64_t i = 0; i < numFolders; ++i) {
    db_.folders.emplace_back();  // grown as parsed: a false count fails before it costs memory
    CFolder& f = db_.folders.back();
    VX7Z_TRY(ParseFolder(r, f));
    f.firstPackStream = nextPack;
    nextPack += f.packedStreams.size();
    if (nextPack > db_.packSizes.size()) return r.Bad("folders use more pack streams than exist");
  }
  VX7Z_TRY(r.Number(type));
  if (type != kCodersUnpackSize) return r.Bad("coder unpack sizes expected");
  for (CFolder& f : db_.folders) {
    uint64_t outs = 0;
    for (const CCoder& c : f.coders) outs += c.numOut;
    f.unpackSizes.resize(static_cast<size_t>(outs));
    for (auto& s : f.unpackSizes) VX7Z_TRY(r.Number(s));
  }
  for (;;) {
    VX7Z_TRY(r.Number(type));
    if (type == kEnd) break;
    if (type == kCrc) {
      std::vector<bool> defined;
      std::vector<uint32_t> crcs;
      VX7Z_TRY(r.Digests(numFolders, defined, crcs));
      for (size_t i = 0; i < db_.folders.size(); ++i) {
        db_.folders[i].crcDefined = defined[i];
        db_.folders[i].crc = crcs[i];
      }
    } else {
      VX7Z_TRY(r.SkipData());
    }
  }
  return Status::Ok();
}

Status CHeaderParser::DefaultSubStreams() {
  db_.substreamSizes.clear();
  db_.substreamCrcDefined.clear();
  db_.substreamCrcs.clear();
  for (CFolder& f : db_.folders) {
    f.numSubstreams = 1;
    db_.substreamSizes.push_back(f.UnpackSize());
    db_.substreamCrcDefined.push_back(f.crcDefined);
    db_.substreamCrcs.push_back(f.crc);
  }
  return Status::Ok();
}

Status CHeaderParser::ParseSubStreamsInfo(CByteReader& r) {
  haveSubStreams_ = true;
  uint64_t type = 0;
  VX7Z_TRY(r.Number(type));
  uint64_t total = db_.folders.size();
  for (CFolder& f : db_.folders) f.numSubstreams = 1;
  if (type == kNumUnpackStream) {
    total = 0;
    for (CFolder& f : db_.folders) {
      VX7Z_TRY(r.Number(f.numSubstreams));
      // Each substream beyond the first of a folder needs at least a size byte.
      if (f.numSubstreams > r.Remaining() + 1) return r.Bad("substream count beyond the header");
      total += f.numSubstreams;
      if (total > r.Remaining() + db_.folders.size()) return r.Bad("substream count beyond the header");
    }
    VX7Z_TRY(r.Number(type));
  }
  db_.substreamSizes.clear();
  db_.substreamSizes.reserve(static_cast<size_t>(total));
  bool haveSizes = type == kSize;
  for (CFolder& f : db_.folders) {
    if (f.numSubstreams == 0) continue;
    uint64_t folderSize = f.UnpackSize(), sum = 0;
    if (haveSizes) {
      for (uint64_t j = 1; j < f.numSubstreams; ++j) {
        uint64_t s = 0;
        VX7Z_TRY(r.Number(s));
        if (s > folderSize - sum) return r.Bad("substream sizes add up to more than their folder");
        sum += s;
        db_.substreamSizes.push_back(s);
      }
    } else if (f.numSubstreams > 1) {
      return r.Bad("substream sizes missing");
    }
    db_.substreamSizes.push_back(folderSize - sum);
  }
  if (haveSizes) VX7Z_TRY(r.Number(type));

  uint64_t unknown = 0;
  for (const CFolder& f : db_.folders)
    if (!(f.numSubstreams == 1 && f.crcDefined)) unknown += f.numSubstreams;
  db_.substreamCrcDefined.assign(static_cast<size_t>(total), false);
  db_.substreamCrcs.assign(static_cast<size_t>(total), 0);
  bool haveDigests = false;
  for (;;) {
    if (type == kEnd) break;
    if (type == kCrc) {
      if (haveDigests) return r.Bad("duplicate substream digests");
      haveDigests = true;
      std::vector<bool> defined;
      std::vector<uint32_t> crcs;
      VX7Z_TRY(r.Digests(unknown, defined, crcs));
      size_t k = 0, out = 0;
      for (const CFolder& f : db_.folders) {
        if (f.numSubstreams == 1 && f.crcDefined) {
          db_.substreamCrcDefined[out] = true;
          db_.substreamCrcs[out++] = f.crc;
        } else {
          for (uint64_t j = 0; j < f.numSubstreams; ++j, ++k, ++out) {
            db_.substreamCrcDefined[out] = defined[k];
            db_.substreamCrcs[out] = crcs[k];
          }
        }
      }
    } else {
      VX7Z_TRY(r.SkipData());
    }
    VX7Z_TRY(r.Number(type));
  }
  if (!haveDigests) {
    size_t out = 0;
    for (const CFolder& f : db_.folders) {
      if (f.numSubstreams == 1 && f.crcDefined) {
        db_.substreamCrcDefined[out] = true;
        db_.substreamCrcs[out] = f.crc;
      }
      out += static_cast<size_t>(f.numSubstreams);
    }
  }
  return Status::Ok();
}

Status CHeaderParser::ParseStreamsInfo(CByteReader& r, uint64_t packBase) {
  uint64_t type = 0;
  VX7Z_TRY(r.Number(type));
  if (type == kPackInfo) {
    VX7Z_TRY(ParsePackInfo(r, packBase));
    VX7Z_TRY(r.Number(type));
  }
  if (type == kUnpackInfo) {
    VX7Z_TRY(ParseUnpackInfo(r));
    VX7Z_TRY(r.Number(type));
  }
  haveSubStreams_ = false;
  if (type == kSubStreamsInfo) {
    VX7Z_TRY(ParseSubStreamsInfo(r));
    VX7Z_TRY(r.Number(type));
  } else {
    VX7Z_TRY(DefaultSubStreams());
  }
  if (type != kEnd) return r.Bad("unexpected property in streams info");
  return Status::Ok();
}

// UTF-16LE to UTF-8; unpaired surrogates become U+FFFD.
void AppendUtf8(std::string& out, const uint8_t* p, size_t units) {
  for (size_t i = 0; i < units; ++i) {
    uint32_t c = p[2 * i] | uint32_t(p[2 * i + 1]) << 8;
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < units) {
      uint32_t d = p[2 * i + 2] | uint32_t(p[2 * i + 3]) << 8;
      if (d >= 0xDC00 && d < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (d - 0xDC00);
        ++i;
      } else {
        c = 0xFFFD;
      }
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += char(c);
    } else if (c < 0x800) {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += char(0xE0 | (c >> 12));
      out += char(0x80 | ((c >> 6) & 0x3F));
      out += char(0x80 | (c & 0x3F));
    } else {
      out += char(0xF0 | (c >> 18));
      out += char(0x80 | ((c >> 12) & 0x3F));
      out += char(0x80 | ((c >> 6) & 0x3F));
      out += char(0x80 | (c & 0x3F));
    }
  }
}

Status CHeaderParser::ParseFilesInfo(CByteReader& r) {
  uint64_t numFiles = 0;
  VX7Z_TRY(r.Count(numFiles, 1, "file count beyond the header"));
  if (numFiles > limits_.memoryLimit / (4 * sizeof(CFileItem))) return Status::MemoryLimit("too many files for the memory limit");
  db_.files.assign(static_cast<size_t>(numFiles), CFileItem());
  std::vector<bool> emptyStream, emptyFile, anti;
  uint64_t numEmpty = 0;
  uint32_t seen = 0;  // bit per property id below 32: duplicates are refused
  for (;;) {
    uint64_t type = 0;
    VX7Z_TRY(r.Number(type));
    if (type == kEnd) break;
    uint64_t size = 0;
    VX7Z_TRY(r.Number(size));
    const uint8_t* body = nullptr;
    VX7Z_TRY(r.Bytes(body, size));
    CByteReader p(body, static_cast<size_t>(size), r.Offset() - size);
    if (type < 32 && type != kDummy) {
      if (seen & (1u << type)) return p.Bad("duplicate file property");
      seen |= 1u << type;
    }
    switch (type) {
      case kEmptyStream:
        VX7Z_TRY(p.BitVector(numFiles, emptyStream));
        numEmpty = std::count(emptyStream.begin(), emptyStream.end(), true);
        break;
      case kEmptyFile:
        VX7Z_TRY(p.BitVector(numEmpty, emptyFile));
        break;
      case kAnti:
        VX7Z_TRY(p.BitVector(numEmpty, anti));
        break;
      case kName: {
        uint8_t external = 0;
        VX7Z_TRY(p.Byte(external));
        if (external) return Status::Unsupported("file names stored outside the header");
        const uint8_t* names = nullptr;
        size_t bytes = p.Remaining();
        VX7Z_TRY(p.Bytes(names, bytes));
        if (bytes % 2) return p.Bad("file names of odd length");
        size_t units = bytes / 2, start = 0;
        for (CFileItem& f : db_.files) {
          size_t end = start;
          while (end < units && (names[2 * end] | names[2 * end + 1])) ++end;
          if (end >= units) return p.Bad("file names truncated");
          AppendUtf8(f.name, names + 2 * start, end - start);
          start = end + 1;
        }
        break;
      }
      case kMTime: {
        std::vector<bool> defined;
        VX7Z_TRY(p.DefinedVector(numFiles, defined));
        uint8_t external = 0;
        VX7Z_TRY(p.Byte(external));
        if (external) return Status::Unsupported("file times stored outside the header");
        for (size_t i = 0; i < numFiles; ++i) {
          if (!defined[i]) continue;
          VX7Z_TRY(p.UInt64(db_.files[i].mtime));
          db_.files[i].mtimeDefined = true;
        }
        break;
      }
      case kWinAttributes: {
        std::vector<bool> defined;
        VX7Z_TRY(p.DefinedVector(numFiles, defined));
        uint8_t external = 0;
        VX7Z_TRY(p.Byte(external));
        if (external) return Status::Unsupported("file attributes stored outside the header");
        for (size_t i = 0; i < numFiles; ++i) {
          if (!defined[i]) continue;
          VX7Z_TRY(p.UInt32(db_.files[i].attrib));
          db_.files[i].attribDefined = true;
        }
        break;
      }
      default:
        break;  // creation and access times, start positions, padding: not needed
    }
  }
  size_t emptyIndex = 0, streamIndex = 0;
  for (size_t i = 0; i < db_.files.size(); ++i) {
    CFileItem& f = db_.files[i];
    bool empty = !emptyStream.empty() && emptyStream[i];
    f.hasStream = !empty;
    if (empty) {
      bool isEmptyFile = emptyIndex < emptyFile.size() && emptyFile[emptyIndex];
      f.isDir = !isEmptyFile;
      f.isAnti = emptyIndex < anti.size() && anti[emptyIndex];
      ++emptyIndex;
      continue;
    }
    if (streamIndex >= db_.substreamSizes.size()) return Status::Corrupt("more files with data than substreams");
    f.size = db_.substreamSizes[streamIndex];
    f.crcDefined = db_.substreamCrcDefined[streamIndex];
    f.crc = db_.substreamCrcs[streamIndex];
    ++streamIndex;
  }
  if (streamIndex != db_.substreamSizes.size()) return Status::Corrupt("substreams without files");
  return Status::Ok();
}

Status CHeaderParser::DecodeEncodedHeader(std::vector<uint8_t>& out) {
  if (db_.folders.empty()) return Status::Corrupt("encoded header without a folder");
  const CFolder& f = db_.folders[0];
  uint64_t size = f.UnpackSize();
  if (size > limits_.maxHeaderSize) return Status::MemoryLimit("decoded header larger than the header limit");
  CFolderDecoder decoder;
  VX7Z_TRY(decoder.Init(file_, db_, 0, limits_));
  out.clear();
  out.reserve(static_cast<size_t>(std::min<uint64_t>(size, 1 << 20)));
  uint8_t buf[1 << 14];
  while (out.size() < size) {
    size_t want = static_cast<size_t>(std::min<uint64_t>(sizeof buf, size - out.size()));
    size_t got = 0;
    VX7Z_TRY(decoder.Output().Read(buf, want, got));
    if (got == 0) return Status::Corrupt("encoded header data ends early");
    out.insert(out.end(), buf, buf + got);
  }
  if (f.crcDefined && Crc32(out.data(), out.size()) != f.crc) return Status::Corrupt("CRC mismatch in the encoded header");
  return Status::Ok();
}

Status CHeaderParser::Parse(const uint8_t* data, size_t size, uint64_t packBase, bool encodedAllowed) {
  CByteReader r(data, size, 0);
  uint64_t type = 0;
  VX7Z_TRY(r.Number(type));
  if (type == kEncodedHeader) {
    if (!encodedAllowed) return Status::Corrupt("encoded header inside an encoded header");
    VX7Z_TRY(ParseStreamsInfo(r, packBase));
    std::vector<uint8_t> header;
    VX7Z_TRY(DecodeEncodedHeader(header));
    db_ = CArchiveDb();
    return Parse(header.data(), header.size(), packBase, false);
  }
  if (type != kHeader) return r.Bad("header expected");
  VX7Z_TRY(r.Number(type));
  if (type == kArchiveProperties) {
    for (;;) {
      uint64_t t = 0;
      VX7Z_TRY(r.Number(t));
      if (t == kEnd) break;
      VX7Z_TRY(r.SkipData());
    }
    VX7Z_TRY(r.Number(type));
  }
  if (type == kAdditionalStreamsInfo) return Status::Unsupported("additional streams in the header");
  if (type == kMainStreamsInfo) {
    VX7Z_TRY(ParseStreamsInfo(r, packBase));
    VX7Z_TRY(r.Number(type));
  }
  if (type == kFilesInfo) {
    VX7Z_TRY(ParseFilesInfo(r));
    VX7Z_TRY(r.Number(type));
  } else if (!db_.substreamSizes.empty()) {
    return Status::Corrupt("archive has data but no file list");
  }
  if (type != kEnd) return r.Bad("unexpected property in the header");
  return Status::Ok();
}

}  // namespace

std::string MethodName(uint64_t id) {
  switch (id) {
    case kMethodCopy: return "Copy";
    case kMethodDelta: return "Delta";
    case kMethodArm64: return "ARM64";
    case kMethodLzma2: return "LZMA2";
    case kMethodLzma: return "LZMA";
    case kMethodPpmd: return "PPMd";
    case kMethodBcj: return "BCJ";
    case kMethodBcj2: return "BCJ2";
    case kMethodDeflate: return "Deflate";
    case kMethodDeflate64: return "Deflate64";
    case kMethodBzip2: return "BZip2";
    case kMethodAes: return "AES";
    default: {
      char buf[32];
      std::snprintf(buf, sizeof buf, "0x%llX", static_cast<unsigned long long>(id));
      return buf;
    }
  }
}

Status ReadArchive(IInFile& file, const CReadLimits& limits, CArchiveDb& db) {
  db = CArchiveDb();
  uint8_t sig[32];
  if (file.Size() < 32) return Status::Corrupt("not a 7z archive: shorter than its signature header");
  VX7Z_TRY(file.ReadAt(0, sig, 32));
  if (std::memcmp(sig, kSignature, 6) != 0) return Status::Corrupt("not a 7z archive: bad signature");
  if (sig[6] != 0) return Status::Unsupported("7z format major version " + std::to_string(sig[6]));
  auto le32 = [&](int o) { return uint32_t(sig[o]) | uint32_t(sig[o + 1]) << 8 | uint32_t(sig[o + 2]) << 16 | uint32_t(sig[o + 3]) << 24; };
  auto le64 = [&](int o) { return uint64_t(le32(o)) | uint64_t(le32(o + 4)) << 32; };
  if (Crc32(sig + 12, 20) != le32(8)) return Status::Corrupt("signature header CRC mismatch");
  uint64_t offset = le64(12), size = le64(20);
  uint32_t crc = le32(28);
  uint64_t avail = file.Size() - 32;
  if (offset > avail || size > avail - offset) return Status::Corrupt("header lies past the end of the archive");
  if (size == 0) return Status::Ok();  // an empty archive
  if (size > limits.maxHeaderSize) return Status::MemoryLimit("header larger than the header limit");
  std::vector<uint8_t> header(static_cast<size_t>(size));
  VX7Z_TRY(file.ReadAt(32 + offset, header.data(), header.size()));
  if (Crc32(header.data(), header.size()) != crc) return Status::Corrupt("header CRC mismatch");
  CHeaderParser parser(file, limits, db);
  return parser.Parse(header.data(), header.size(), 32, true);
}

}  // namespace vx7z
