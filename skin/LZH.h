// The skin archive's decompressor: LZSS over a 4096-byte window, literals and match lengths in an
// adaptive Huffman code, match positions with a fixed code for their upper six bits.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "tk/Classes.h"

class ElzhException : public Exception {
 public:
  using Exception::Exception;
};

// A byte callback: (buffer, requested count, out actual count). The decoder moves one byte per call.
using TLZHReadProc = std::function<void(void* Buffer, uint16_t Count, uint16_t& Actual)>;
using TLZHWriteProc = std::function<void(const void* Buffer, uint16_t Count, uint16_t& Actual)>;

namespace lzh {
constexpr int N = 4096;                      // window size
constexpr int F = 60;                        // longest match
constexpr int THRESHOLD = 2;                 // a match is at least THRESHOLD + 1 bytes
constexpr int N_CHAR = 256 - THRESHOLD + F;  // literals and match lengths
constexpr int T = 2 * N_CHAR - 1;            // nodes of the Huffman tree
constexpr int R = T - 1;                     // its root
constexpr unsigned MAX_FREQ = 0x8000;        // root frequency that makes the tree be rebuilt
constexpr int PREFILLED = N - F;             // window bytes set to blanks before decoding
constexpr unsigned char BLANK = 0x20;

// The fixed code of a match position's upper six bits, canonical: one 3-bit code, three of 4
// bits, eight of 5, twelve of 6, twenty-four of 7 and sixteen of 8, in position order.
struct TPositionCodes {
  uint8_t DCode[256];  // by the next input byte: the upper six bits it starts
  uint8_t DLen[256];   // by the next input byte: that code's length
  uint8_t PCode[64];   // by upper six bits: the code, left-aligned in a byte
  uint8_t PLen[64];    // by upper six bits: its length
};
const TPositionCodes& PositionCodes();

// The adaptive Huffman tree both directions share: frequencies, parents and children.
struct THuffTree {
  uint16_t freq[T + 1];      // entry T is a sentinel above every real frequency
  int16_t prnt[T + N_CHAR];  // entries T .. T + N_CHAR - 1: the leaf node of each symbol
  int16_t son[T];            // >= T: the leaf of symbol son - T
  void StartHuff();
  void Update(int Symbol);

 private:
  void Reconst();
};
}  // namespace lzh

class TLZH : public TObject {
 public:
  TK_CLASS(TLZH, TObject)
  TStream* InputStream = nullptr;   // not owned
  TStream* OutputStream = nullptr;  // not owned

  // Decodes until TextSize bytes went to PutBytes (a final match is copied whole, so up to 59
  // more). Input that ends early reads as zero bits.
  void LZHUnpack(int32_t TextSize, const TLZHReadProc& GetBytes, const TLZHWriteProc& PutBytes);
  // The callbacks over InputStream and OutputStream.
  void ReadBlock(void* Buffer, uint16_t Count, uint16_t& Actual);
  void WriteBlock(const void* Buffer, uint16_t Count, uint16_t& Actual);

 private:
  struct TTables {
    lzh::THuffTree Tree;
    uint8_t ring[lzh::N + lzh::F - 1];
  };

  int GetBit();
  int GetByte();
  void FillBitBuffer();
  int DecodeChar();
  int DecodePosition();
  void AllocTables();
  void FreeTables();

  uint16_t FBitBuffer = 0;
  uint8_t FBitCount = 0;
  std::unique_ptr<TTables> FTables;  // only during LZHUnpack
  const TLZHReadProc* FGetBytes = nullptr;
};
