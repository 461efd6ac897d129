#include "tools/skinpack/LZHPack.h"

#include <algorithm>
#include <stdexcept>

using namespace lzh;

void TLZHWriter::PutBits(uint32_t Value, int Count) {
  FAcc = (FAcc << Count) | (Value & ((1u << Count) - 1));
  FAccBits += Count;
  FBits += uint64_t(Count);
  while (FAccBits >= 8) {
    FAccBits -= 8;
    FOut.push_back(uint8_t(FAcc >> FAccBits));
  }
  FAcc &= (1u << FAccBits) - 1;
}

void TLZHWriter::EncodeChar(int Symbol) {
  // The code is the path from the root; climbing from the symbol's leaf node gives it backwards.
  // A right child has an odd node number (children come in even/odd pairs).
  uint8_t path[T];
  int depth = 0;
  for (int k = FTree.prnt[Symbol + T]; k != R; k = FTree.prnt[k]) path[depth++] = uint8_t(k & 1);
  while (depth > 0) PutBits(path[--depth], 1);
  FTree.Update(Symbol);
}

void TLZHWriter::PutLiteral(uint8_t Byte) { EncodeChar(Byte); }

void TLZHWriter::PutMatch(int Length, int Distance) {
  if (Length <= THRESHOLD || Length > F || Distance < 1 || Distance > N)
    throw std::invalid_argument("LZHUF match out of range");
  EncodeChar(255 - THRESHOLD + Length);
  const TPositionCodes& codes = PositionCodes();
  int position = Distance - 1;
  int upper = position >> 6;
  PutBits(uint32_t(codes.PCode[upper]) >> (8 - codes.PLen[upper]), codes.PLen[upper]);
  PutBits(uint32_t(position & 0x3F), 6);
}

std::vector<uint8_t> TLZHWriter::Finish() {
  if (FAccBits > 0) {
    FOut.push_back(uint8_t(FAcc << (8 - FAccBits)));
    FAcc = 0;
    FAccBits = 0;
  }
  return FOut;
}

namespace {

constexpr int HashBits = 15;
constexpr int ChainRing = 2 * N;  // longer than the window, so a followed link is never stale
constexpr int MaxChain = 256;

uint32_t Hash3(const uint8_t* p) {
  return ((uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]) * 2654435761u) >> (32 - HashBits);
}

}  // namespace

std::vector<uint8_t> LZHPack(const uint8_t* Input, size_t Length) {
  if (Length > size_t(INT32_MAX)) throw std::length_error("LZHUF input too long");
  // The decoder's window starts with N - F blanks before the first byte; matches may use them.
  std::vector<uint8_t> buf(size_t(PREFILLED), BLANK);
  buf.insert(buf.end(), Input, Input + Length);
  const int64_t size = int64_t(buf.size());

  std::vector<int32_t> head(size_t(1) << HashBits, -1);
  std::vector<int32_t> prev(ChainRing, -1);
  auto insert = [&](int64_t p) {
    if (p + 2 >= size) return;
    uint32_t h = Hash3(&buf[size_t(p)]);
    prev[size_t(p % ChainRing)] = head[h];
    head[h] = int32_t(p);
  };
  for (int64_t p = 0; p < PREFILLED; ++p) insert(p);

  TLZHWriter writer;
  int64_t pos = PREFILLED;
  while (pos < size) {
    const int maxLen = int(std::min<int64_t>(F, size - pos));
    int bestLen = 0;
    int64_t bestFrom = 0;
    if (maxLen > THRESHOLD) {
      int64_t candidate = head[Hash3(&buf[size_t(pos)])];
      for (int chain = 0; candidate >= 0 && pos - candidate <= N && chain < MaxChain; ++chain) {
        int len = 0;
        while (len < maxLen && buf[size_t(candidate + len)] == buf[size_t(pos + len)]) ++len;
        if (len > bestLen) {
          bestLen = len;
          bestFrom = candidate;
          if (len == maxLen) break;
        }
        candidate = prev[size_t(candidate % ChainRing)];
      }
    }
    int advance = 1;
    if (bestLen > THRESHOLD) {
      writer.PutMatch(bestLen, int(pos - bestFrom));
      advance = bestLen;
    } else {
      writer.PutLiteral(buf[size_t(pos)]);
    }
    for (int i = 0; i < advance; ++i) insert(pos + i);
    pos += advance;
  }

  std::vector<uint8_t> out(4);
  const uint32_t decoded = uint32_t(Length);
  for (int i = 0; i < 4; ++i) out[size_t(i)] = uint8_t(decoded >> (8 * i));
  std::vector<uint8_t> stream = writer.Finish();
  out.insert(out.end(), stream.begin(), stream.end());
  return out;
}
