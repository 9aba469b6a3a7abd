// Turns one folder's coder graph into a chain of pull streams ending in the folder's output.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "ArchiveDb.h"
#include "ArchiveReader.h"
#include "ByteSource.h"
#include "Status.h"

namespace vx7z {

class CFolderDecoder {
 public:
  // Checks the graph (every stream bound once, no cycles, known methods, memory budget) and
  // builds the decoders. Dictionaries are min(declared, the coder's unpacked size).
  // With prefetch, an LZMA or LZMA2 decoder that feeds a filter runs on a thread of its own.
  Status Init(IInFile& file, const CArchiveDb& db, size_t folderIndex, const CReadLimits& limits,
              bool prefetch = false);
  ~CFolderDecoder();
  // What Init charges for the folder's windows and buffers when its LZMA2 is not split; 0 when
  // the coders are malformed (Init reports why).
  static uint64_t SequentialMemory(const CFolder& folder, bool prefetch);
  IByteSource& Output() { return *out_; }

 private:
  Status Build(uint32_t outIndex, unsigned depth, IByteSource*& result);
  Status MakeCoder(size_t coderIndex, std::vector<IByteSource*>& inputs, IByteSource*& result);
  // The filter's input, behind a prefetch thread when it comes from a decoder.
  IByteSource& FilterInput(IByteSource* input);

  IInFile* file_ = nullptr;
  const CArchiveDb* db_ = nullptr;
  const CFolder* folder_ = nullptr;
  size_t maxPiece_ = SIZE_MAX;
  uint64_t parallelMin_ = 0;
  uint64_t memoryLeft_ = 0;
  std::vector<uint32_t> firstIn_;   // first folder in-stream of each coder
  std::vector<uint32_t> firstOut_;  // first folder out-stream of each coder
  std::vector<bool> coderUsed_;
  bool prefetch_ = false;
  std::vector<IByteSource*> decoders_;  // the LZMA and LZMA2 stages
  struct PackRange {
    IByteSource* source;
    uint64_t offset, size;
  };
  std::vector<PackRange> packs_;       // the packed-stream stages and where they read
  std::vector<std::unique_ptr<IByteSource>> sources_;  // owns every stage, readers after what they read
  IByteSource* out_ = nullptr;
};

}  // namespace vx7z
