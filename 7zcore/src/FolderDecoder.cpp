#include "FolderDecoder.h"

#include <algorithm>
#include <thread>

#include "ArchiveReader.h"
#include "Bcj2Decoder.h"
#include "Filters.h"
#include "Lzma2Decoder.h"
#include "Lzma2Parallel.h"
#include "LzmaDecoder.h"
#include "PrefetchSource.h"

namespace vx7z {
namespace {

constexpr uint64_t kFixedDecoderCost = 128 << 10;  // probabilities and buffers of one coder

uint64_t WindowFor(uint64_t dict, uint64_t unpack) { return std::max<uint64_t>(4096, std::min(dict, unpack)); }

}  // namespace

CFolderDecoder::~CFolderDecoder() {
  // Readers go first: a prefetch thread must stop before the decoder it runs is freed.
  while (!sources_.empty()) sources_.pop_back();
}

uint64_t CFolderDecoder::SequentialMemory(const CFolder& f, bool prefetch) {
  uint64_t total = 0;
  size_t out = 0;
  for (const CCoder& c : f.coders) {
    if (out >= f.unpackSizes.size()) return 0;
    const uint64_t unpack = f.unpackSizes[out];
    out += c.numOut;
    total += kFixedDecoderCost;
    if (c.methodId == kMethodLzma) {
      CLzmaProps props;
      if (!ParseLzmaProps(c.props.data(), c.props.size(), props).ok()) return 0;
      total += WindowFor(props.dictSize, unpack);
    } else if (c.methodId == kMethodLzma2) {
      uint64_t dict = 0;
      if (c.props.size() != 1 || !Lzma2DictSize(c.props[0], dict)) return 0;
      total += WindowFor(dict, unpack);
    } else if (prefetch && (c.methodId == kMethodBcj || c.methodId == kMethodArm64 || c.methodId == kMethodDelta ||
                            c.methodId == kMethodBcj2)) {
      total += CPrefetchSource::kBlocks * CPrefetchSource::kBlockSize;
    }
  }
  return total;
}

IByteSource& CFolderDecoder::FilterInput(IByteSource* input) {
  if (!prefetch_ || std::find(decoders_.begin(), decoders_.end(), input) == decoders_.end()) return *input;
  sources_.emplace_back(new CPrefetchSource(*input));
  return *sources_.back();
}

Status CFolderDecoder::Init(IInFile& file, const CArchiveDb& db, size_t folderIndex, const CReadLimits& limits,
                            bool prefetch) {
  prefetch_ = prefetch;
  parallelMin_ = limits.parallelMinUnpack;
  const uint64_t memoryLimit = limits.memoryLimit;
  const size_t maxPiece = limits.maxPiece;
  file_ = &file;
  db_ = &db;
  folder_ = &db.folders[folderIndex];
  maxPiece_ = maxPiece;
  memoryLeft_ = memoryLimit;
  const CFolder& f = *folder_;
  uint32_t in = 0, out = 0;
  for (const CCoder& c : f.coders) {
    firstIn_.push_back(in);
    firstOut_.push_back(out);
    in += c.numIn;
    out += c.numOut;
  }
  if (f.unpackSizes.size() != out) return Status::Corrupt("folder unpack sizes do not match its coders");
  if (f.firstPackStream + f.packedStreams.size() > db.packSizes.size())
    return Status::Corrupt("folder refers to pack streams that do not exist");
  // Every in-stream is fed exactly once: by a bind pair or by a packed stream.
  std::vector<uint8_t> inFed(in, 0), outUsed(out, 0);
  for (const CBindPair& bp : f.bindPairs) {
    if (bp.in >= in || bp.out >= out) return Status::Corrupt("bind pair index out of range");
    if (inFed[bp.in]++ || outUsed[bp.out]++) return Status::Corrupt("stream bound twice");
  }
  for (uint32_t s : f.packedStreams) {
    if (s >= in || inFed[s]++) return Status::Corrupt("packed stream bound twice or out of range");
  }
  for (uint8_t v : inFed)
    if (v != 1) return Status::Corrupt("folder has an unbound input stream");
  if (f.mainOut >= out || outUsed[f.mainOut]) return Status::Corrupt("folder has no output stream");
  coderUsed_.assign(f.coders.size(), false);
  VX7Z_TRY(Build(f.mainOut, 0, out_));
  for (bool used : coderUsed_)
    if (!used) return Status::Corrupt("folder has a coder that feeds nothing");
  return Status::Ok();
}

Status CFolderDecoder::Build(uint32_t outIndex, unsigned depth, IByteSource*& result) {
  const CFolder& f = *folder_;
  if (depth > f.coders.size()) return Status::Corrupt("bind pairs form a cycle");
  size_t c = 0;
  while (c + 1 < f.coders.size() && firstOut_[c + 1] <= outIndex) ++c;
  if (f.coders[c].numOut != 1) return Status::Unsupported("coders with several outputs");
  if (coderUsed_[c]) return Status::Corrupt("bind pairs form a cycle");
  coderUsed_[c] = true;
  std::vector<IByteSource*> inputs;
  for (uint32_t j = 0; j < f.coders[c].numIn; ++j) {
    uint32_t inIndex = firstIn_[c] + j;
    IByteSource* src = nullptr;
    auto bp = std::find_if(f.bindPairs.begin(), f.bindPairs.end(), [&](const CBindPair& b) { return b.in == inIndex; });
    if (bp != f.bindPairs.end()) {
      VX7Z_TRY(Build(bp->out, depth + 1, src));
    } else {
      auto it = std::find(f.packedStreams.begin(), f.packedStreams.end(), inIndex);
      if (it == f.packedStreams.end()) return Status::Corrupt("folder has an unbound input stream");
      size_t pack = static_cast<size_t>(f.firstPackStream) + size_t(it - f.packedStreams.begin());
      sources_.emplace_back(new CPackSource(*file_, db_->packOffsets[pack], db_->packSizes[pack], maxPiece_));
      src = sources_.back().get();
      packs_.push_back(PackRange{src, db_->packOffsets[pack], db_->packSizes[pack]});
    }
    inputs.push_back(src);
  }
  return MakeCoder(c, inputs, result);
}

Status CFolderDecoder::MakeCoder(size_t ci, std::vector<IByteSource*>& inputs, IByteSource*& result) {
  const CCoder& c = folder_->coders[ci];
  const uint64_t unpack = folder_->unpackSizes[firstOut_[ci]];
  auto simple = [&]() -> Status {
    if (c.numIn != 1) return Status::Corrupt(MethodName(c.methodId) + " coder with several inputs");
    return Status::Ok();
  };
  auto charge = [&](uint64_t bytes) -> Status {
    bytes += kFixedDecoderCost;
    if (bytes > memoryLeft_) return Status::MemoryLimit(MethodName(c.methodId) + " dictionary is over the memory limit");
    memoryLeft_ -= bytes;
    return Status::Ok();
  };
  switch (c.methodId) {
    case kMethodCopy:
      VX7Z_TRY(simple());
      result = inputs[0];
      return Status::Ok();
    case kMethodLzma: {
      VX7Z_TRY(simple());
      CLzmaProps props;
      VX7Z_TRY(ParseLzmaProps(c.props.data(), c.props.size(), props));
      VX7Z_TRY(charge(WindowFor(props.dictSize, unpack)));
      auto* s = new CLzmaSource(*inputs[0], props, unpack);
      sources_.emplace_back(s);
      VX7Z_TRY(s->Init());
      decoders_.push_back(s);
      result = s;
      return Status::Ok();
    }
    case kMethodLzma2: {
      VX7Z_TRY(simple());
      uint64_t dict = 0;
      if (c.props.size() != 1 || !Lzma2DictSize(c.props[0], dict)) return Status::Corrupt("bad LZMA2 properties");
      // A long stream read straight from the archive with dictionary resets in it is split
      // into segments decoded in parallel, when the budget holds a window per thread.
      auto pack = std::find_if(packs_.begin(), packs_.end(), [&](const PackRange& p) { return p.source == inputs[0]; });
      std::vector<CLzma2Segment> segments;
      if (prefetch_ && pack != packs_.end() && unpack >= parallelMin_ &&
          ScanLzma2Segments(*file_, pack->offset, pack->size, unpack, segments)) {
        unsigned threads = std::min(4u, std::max(2u, std::thread::hardware_concurrency()));
        threads = std::min<unsigned>(threads, unsigned(segments.size()));
        uint64_t largest = 0;
        for (const auto& seg : segments) largest = std::max(largest, seg.unpackSize);
        uint64_t need = CLzma2ParallelSource::MemoryNeed(threads, WindowFor(dict, largest));
        if (need <= memoryLeft_) {
          memoryLeft_ -= need;
          auto* p = new CLzma2ParallelSource(*file_, std::move(segments), dict, threads, maxPiece_);
          sources_.emplace_back(p);
          result = p;
          return Status::Ok();
        }
      }
      VX7Z_TRY(charge(WindowFor(dict, unpack)));
      auto* s = new CLzma2Source(*inputs[0], dict, unpack);
      sources_.emplace_back(s);
      VX7Z_TRY(s->Init());
      decoders_.push_back(s);
      result = s;
      return Status::Ok();
    }
    case kMethodBcj:
    case kMethodArm64:
    case kMethodDelta: {
      VX7Z_TRY(simple());
      std::unique_ptr<IFilter> filter;
      if (c.methodId == kMethodBcj) {
        if (!c.props.empty()) return Status::Unsupported("x86 BCJ with a start offset");
        filter.reset(new CX86Filter);
      } else if (c.methodId == kMethodArm64) {
        uint32_t pc = 0;
        if (c.props.size() == 4) {
          pc = uint32_t(c.props[0]) | uint32_t(c.props[1]) << 8 | uint32_t(c.props[2]) << 16 | uint32_t(c.props[3]) << 24;
          if (pc & 3) return Status::Corrupt("ARM64 start offset not a multiple of 4");
        } else if (!c.props.empty()) {
          return Status::Corrupt("bad ARM64 properties");
        }
        filter.reset(new CArm64Filter(pc));
      } else {
        if (c.props.size() != 1) return Status::Corrupt("bad Delta properties");
        filter.reset(new CDeltaFilter(unsigned(c.props[0]) + 1));
      }
      VX7Z_TRY(charge(prefetch_ ? CPrefetchSource::kBlocks * CPrefetchSource::kBlockSize : 0));
      auto* s = new CFilterSource(FilterInput(inputs[0]), std::move(filter));
      sources_.emplace_back(s);
      result = s;
      return Status::Ok();
    }
    case kMethodBcj2: {
      if (c.numIn != 4) return Status::Corrupt("BCJ2 coder needs four input streams");
      VX7Z_TRY(charge(prefetch_ ? CPrefetchSource::kBlocks * CPrefetchSource::kBlockSize : 0));
      auto* s = new CBcj2Source(FilterInput(inputs[0]), *inputs[1], *inputs[2], *inputs[3], unpack);
      sources_.emplace_back(s);
      result = s;
      return Status::Ok();
    }
    case kMethodAes:
      return Status::Unsupported("encrypted archive (AES)");
    default:
      return Status::Unsupported("compression method " + MethodName(c.methodId));
  }
}

}  // namespace vx7z
