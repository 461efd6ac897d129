#include "skin/LZH.h"

#include <cstring>
#include <new>

namespace lzh {

const TPositionCodes& PositionCodes() {
  static const TPositionCodes codes = [] {
    TPositionCodes t{};
    const int perLength[] = {1, 3, 8, 12, 24, 16};  // codes of 3, 4, ... 8 bits
    int position = 0, first = 0;
    for (int len = 3; len <= 8; ++len) {
      for (int n = 0; n < perLength[len - 3]; ++n, ++position) {
        t.PCode[position] = uint8_t(first);
        t.PLen[position] = uint8_t(len);
        for (int b = 0; b < (256 >> len); ++b) {
          t.DCode[first + b] = uint8_t(position);
          t.DLen[first + b] = uint8_t(len);
        }
        first += 256 >> len;
      }
    }
    return t;
  }();
  return codes;
}

void THuffTree::StartHuff() {
  for (int i = 0; i < N_CHAR; ++i) {
    freq[i] = 1;
    son[i] = int16_t(i + T);
    prnt[i + T] = int16_t(i);
  }
  for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
    freq[j] = uint16_t(freq[i] + freq[i + 1]);
    son[j] = int16_t(i);
    prnt[i] = prnt[i + 1] = int16_t(j);
  }
  freq[T] = 0xFFFF;
  prnt[R] = 0;
}

void THuffTree::Reconst() {
  // Leaves to the front with halved frequencies, then the internal nodes again in sorted order.
  int j = 0;
  for (int i = 0; i < T; ++i) {
    if (son[i] >= T) {
      freq[j] = uint16_t((freq[i] + 1) / 2);
      son[j] = son[i];
      ++j;
    }
  }
  for (int i = 0, node = N_CHAR; node < T; i += 2, ++node) {
    unsigned f = unsigned(freq[i]) + freq[i + 1];
    int k = node - 1;
    while (f < freq[k]) --k;
    ++k;
    std::memmove(&freq[k + 1], &freq[k], size_t(node - k) * sizeof freq[0]);
    freq[k] = uint16_t(f);
    std::memmove(&son[k + 1], &son[k], size_t(node - k) * sizeof son[0]);
    son[k] = int16_t(i);
  }
  for (int i = 0; i < T; ++i) {
    int k = son[i];
    prnt[k] = int16_t(i);
    if (k < T) prnt[k + 1] = int16_t(i);
  }
}

void THuffTree::Update(int Symbol) {
  if (freq[R] == MAX_FREQ) Reconst();
  int c = prnt[Symbol + T];
  do {
    unsigned k = ++freq[c];
    int l = c + 1;
    if (k > freq[l]) {
      // Keep frequencies sorted: swap with the last node still below the new value.
      while (k > freq[++l]) {
      }
      --l;
      freq[c] = freq[l];
      freq[l] = uint16_t(k);
      int i = son[c];
      prnt[i] = int16_t(l);
      if (i < T) prnt[i + 1] = int16_t(l);
      int j = son[l];
      son[l] = int16_t(i);
      prnt[j] = int16_t(c);
      if (j < T) prnt[j + 1] = int16_t(c);
      son[c] = int16_t(j);
      c = l;
    }
    c = prnt[c];
  } while (c != 0);
}

}  // namespace lzh

using namespace lzh;

void TLZH::AllocTables() {
  FTables.reset(new (std::nothrow) TTables);
  if (!FTables) throw ElzhException("LZH : Cannot get memory for dictionary tables");
  FBitBuffer = 0;
  FBitCount = 0;
}

void TLZH::FreeTables() {
  FTables.reset();
  FGetBytes = nullptr;
}

void TLZH::FillBitBuffer() {
  while (FBitCount <= 8) {
    uint8_t byte = 0;
    uint16_t actual = 0;
    (*FGetBytes)(&byte, 1, actual);
    if (actual != 1) byte = 0;  // past the end every refill is a zero byte
    FBitBuffer = uint16_t(FBitBuffer | (byte << (8 - FBitCount)));
    FBitCount = uint8_t(FBitCount + 8);
  }
}

int TLZH::GetBit() {
  FillBitBuffer();
  int bit = FBitBuffer >> 15;
  FBitBuffer = uint16_t(FBitBuffer << 1);
  --FBitCount;
  return bit;
}

int TLZH::GetByte() {
  FillBitBuffer();
  int byte = FBitBuffer >> 8;
  FBitBuffer = uint16_t(FBitBuffer << 8);
  FBitCount = uint8_t(FBitCount - 8);
  return byte;
}

int TLZH::DecodeChar() {
  THuffTree& tree = FTables->Tree;
  int c = tree.son[R];
  while (c < T) c = tree.son[c + GetBit()];
  c -= T;
  tree.Update(c);
  return c;
}

int TLZH::DecodePosition() {
  const TPositionCodes& codes = PositionCodes();
  int i = GetByte();
  int upper = codes.DCode[i] << 6;
  for (int j = codes.DLen[i] - 2; j > 0; --j) i = (i << 1) + GetBit();
  return upper | (i & 0x3F);
}

void TLZH::LZHUnpack(int32_t TextSize, const TLZHReadProc& GetBytes, const TLZHWriteProc& PutBytes) {
  AllocTables();
  struct Release {
    TLZH* self;
    ~Release() { self->FreeTables(); }
  } release{this};
  FGetBytes = &GetBytes;

  FTables->Tree.StartHuff();
  uint8_t* ring = FTables->ring;
  // Only the first N - F bytes are promised blanks; the rest start as blanks too.
  std::memset(ring, BLANK, sizeof FTables->ring);
  int r = PREFILLED;
  int64_t count = 0;  // a final match may overshoot, so no int32 wrap near the top
  auto put = [&](uint8_t c) {
    uint16_t actual = 0;
    PutBytes(&c, 1, actual);
    ring[r] = c;
    r = (r + 1) & (N - 1);
    ++count;
  };
  while (count < TextSize) {
    int c = DecodeChar();
    if (c < 256) {
      put(uint8_t(c));
    } else {
      int from = (r - DecodePosition() - 1) & (N - 1);
      int length = c - 255 + THRESHOLD;
      for (int k = 0; k < length; ++k) put(ring[(from + k) & (N - 1)]);
    }
  }
}

void TLZH::ReadBlock(void* Buffer, uint16_t Count, uint16_t& Actual) {
  int64_t left = InputStream->GetSize() - InputStream->GetPosition();
  Actual = left < Count ? uint16_t(left > 0 ? left : 0) : Count;
  InputStream->ReadBuffer(Buffer, Actual);
}

void TLZH::WriteBlock(const void* Buffer, uint16_t Count, uint16_t& Actual) {
  Actual = Count;
  OutputStream->WriteBuffer(Buffer, Count);
}
