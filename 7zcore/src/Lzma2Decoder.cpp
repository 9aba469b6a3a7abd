#include "Lzma2Decoder.h"

#include <algorithm>
#include <cstring>

namespace vx7z {

bool Lzma2DictSize(uint8_t prop, uint64_t& size) {
  if (prop > 40) return false;
  size = prop == 40 ? 0xFFFFFFFFull : uint64_t(2 | (prop & 1)) << (prop / 2 + 11);
  return true;
}

Status CLzma2Source::Init() {
  size_t window = static_cast<size_t>(std::min<uint64_t>(dictSize_, remaining_));
  if (window < 4096) window = 4096;
  if (!dec_.AllocWindow(window)) return Status::MemoryLimit("cannot allocate the LZMA2 dictionary");
  return Status::Ok();
}

Status CLzma2Source::ReadControl() {
  VX7Z_TRY(in_.Fill(6));
  if (in_.Avail() == 0) return Status::Corrupt("LZMA2 stream ends without an end marker");
  const uint8_t* p = in_.Data();
  unsigned c = p[0];
  if (c == 0) {
    in_.Skip(1);
    phase_ = Phase::end;
    if (remaining_ != 0) return Status::Corrupt("LZMA2 stream shorter than its declared size");
    return Status::Ok();
  }
  if (c == 1 || c == 2) {
    if (in_.Avail() < 3) return Status::Corrupt("LZMA2 chunk header truncated");
    if (c == 1) {
      dec_.ResetDictionary();
      needDictReset_ = false;
    } else if (needDictReset_) {
      return Status::Corrupt("first LZMA2 chunk does not reset the dictionary");
    }
    chunkLeft_ = ((uint32_t(p[1]) << 8) | p[2]) + 1;
    in_.Skip(3);
    phase_ = Phase::stored;
  } else if (c < 0x80) {
    return Status::Corrupt("invalid LZMA2 control byte");
  } else {
    unsigned reset = (c >> 5) & 3;
    size_t header = reset >= 2 ? 6 : 5;
    if (in_.Avail() < header) return Status::Corrupt("LZMA2 chunk header truncated");
    chunkLeft_ = (((c & 0x1Fu) << 16) | (uint32_t(p[1]) << 8) | p[2]) + 1;
    chunkPacked_ = ((uint32_t(p[3]) << 8) | p[4]) + 1;
    if (reset == 3) {
      dec_.ResetDictionary();
      needDictReset_ = false;
    } else if (needDictReset_) {
      return Status::Corrupt("first LZMA2 chunk does not reset the dictionary");
    }
    if (reset >= 2) {
      CLzmaProps props;
      if (!ParseLzmaPropsByte(p[5], props)) return Status::Corrupt("LZMA2 properties byte out of range");
      if (props.lc + props.lp > 4) return Status::Corrupt("LZMA2 properties with lc + lp > 4");
      dec_.SetProps(props.lc, props.lp, props.pb);
      needProps_ = false;
    } else if (needProps_) {
      return Status::Corrupt("LZMA2 chunk without properties");
    }
    if (reset >= 1) {
      dec_.ResetState();
      needStateReset_ = false;
    } else if (needStateReset_) {
      return Status::Corrupt("LZMA2 chunk continues a state that was never set");
    }
    in_.Skip(header);
    VX7Z_TRY(in_.Fill(chunkPacked_));
    if (in_.Avail() < chunkPacked_) return Status::Corrupt("LZMA2 chunk truncated");
    if (chunkPacked_ < 5 || !rc_.Init(in_.Data())) return Status::Corrupt("LZMA2 chunk has a bad range coder start");
    chunkEnd_ = in_.Data() + chunkPacked_;
    phase_ = Phase::lzma;
  }
  if (chunkLeft_ > remaining_) return Status::Corrupt("LZMA2 chunks exceed the declared size");
  return Status::Ok();
}

Status CLzma2Source::Read(uint8_t* buffer, size_t capacity, size_t& got) {
  got = 0;
  while (got == 0 && capacity > 0) {
    switch (phase_) {
      case Phase::end:
        return Status::Ok();
      case Phase::control:
        if (endsAtSize_ && remaining_ == 0) return Status::Ok();
        VX7Z_TRY(ReadControl());
        break;
      case Phase::stored: {
        VX7Z_TRY(in_.Fill(1));
        if (in_.Avail() == 0) return Status::Corrupt("LZMA2 stored chunk truncated");
        size_t n = std::min<size_t>({in_.Avail(), chunkLeft_, capacity, dec_.WindowSize() - dec_.Pos()});
        dec_.PutRaw(in_.Data(), n);
        std::memcpy(buffer, in_.Data(), n);
        dec_.WrapIfAtEnd();
        in_.Skip(n);
        chunkLeft_ -= uint32_t(n);
        remaining_ -= n;
        got = n;
        if (chunkLeft_ == 0) phase_ = Phase::control;
        break;
      }
      case Phase::lzma: {
        size_t start = dec_.Pos();
        size_t n = std::min<size_t>({chunkLeft_, capacity, dec_.WindowSize() - start});
        CLzmaDecoder::Stop stop = dec_.Decode(rc_, chunkEnd_, start + n);
        if (rc_.in > chunkEnd_) return Status::Corrupt("LZMA2 chunk data ends early");
        if (stop == CLzmaDecoder::Stop::error) return Status::Corrupt("LZMA distance beyond the decoded data");
        if (stop == CLzmaDecoder::Stop::endMarker) return Status::Corrupt("end marker inside an LZMA2 chunk");
        n = dec_.Pos() - start;
        std::memcpy(buffer, dec_.Window() + start, n);
        dec_.WrapIfAtEnd();
        chunkLeft_ -= uint32_t(n);
        remaining_ -= n;
        got = n;
        if (chunkLeft_ == 0) {
          if (dec_.PendingMatch()) return Status::Corrupt("LZMA match crosses an LZMA2 chunk end");
          rc_.Normalize();
          if (rc_.in != chunkEnd_) return Status::Corrupt("LZMA2 chunk packed size does not match its data");
          in_.Skip(chunkPacked_);
          phase_ = Phase::control;
        } else if (n == 0 && stop == CLzmaDecoder::Stop::input) {
          return Status::Corrupt("LZMA2 chunk data ends early");
        }
        break;
      }
    }
  }
  return Status::Ok();
}

}  // namespace vx7z
