// The LZHUF encoder: the counterpart of the engine's decoder (skin/LZH.h), same window, same
// adaptive tree, same position code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "skin/LZH.h"

// Writes an LZHUF bit stream symbol by symbol, keeping the adaptive tree in step with the decoder's.
class TLZHWriter {
 public:
  TLZHWriter() { FTree.StartHuff(); }
  void PutLiteral(uint8_t Byte);
  // Copies Length (3 .. 60) bytes starting Distance (1 .. 4096) bytes back from the next output byte.
  void PutMatch(int Length, int Distance);
  // Bits written so far.
  uint64_t BitCount() const { return FBits; }
  // The stream, its last byte padded with zero bits.
  std::vector<uint8_t> Finish();

 private:
  void PutBits(uint32_t Value, int Count);
  void EncodeChar(int Symbol);

  lzh::THuffTree FTree;
  std::vector<uint8_t> FOut;
  uint32_t FAcc = 0;
  int FAccBits = 0;
  uint64_t FBits = 0;
};

// The whole container: the decoded length (int32, little-endian), then the LZHUF stream of Input.
// Greedy longest matches over a hash chain; the same input always gives the same bytes.
std::vector<uint8_t> LZHPack(const uint8_t* Input, size_t Length);
inline std::vector<uint8_t> LZHPack(const std::vector<uint8_t>& Input) {
  return LZHPack(Input.data(), Input.size());
}
