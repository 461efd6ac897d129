// Helpers shared by the skin archive tests: bytes in and out of memory streams, text data.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "skin/SkinRead.h"
#include "tk/Classes.h"

using Bytes = std::vector<uint8_t>;

inline void FillStream(TMemoryStream& s, const Bytes& b) {
  s.Clear();
  s.WriteBuffer(b.data(), int32_t(b.size()));
  s.SetPosition(0);
}

inline Bytes StreamBytes(const TMemoryStream& s) { return Bytes(s.Bytes().begin(), s.Bytes().end()); }

inline Bytes TextBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Deterministic pseudo-random bytes.
inline Bytes RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 gen(seed);
  Bytes b(n);
  for (auto& c : b) c = uint8_t(gen());
  return b;
}

// Text with the repetition of real INI files and prose: words from a small vocabulary.
inline Bytes WordText(size_t n, uint32_t seed) {
  static const char* const words[] = {"Title", "Buttons",   "Caption", "=",     "bmp",
                                      "\r\n",  "[Colours]", "255",     "0,0,0", "frame",
                                      "skin",  "edge",      "Left",    "Right", " "};
  std::mt19937 gen(seed);
  std::string s;
  while (s.size() < n) s += words[gen() % (sizeof words / sizeof *words)];
  s.resize(n);
  return TextBytes(s);
}

// A container (length word, then the LZHUF stream) through the reader's Decompress.
inline Bytes DecompressBytes(const Bytes& container) {
  TMemoryStream in, out;
  FillStream(in, container);
  TSkinReader reader;
  reader.Decompress(&in, &out);
  return StreamBytes(out);
}
