// The LZHUF decoder, against our encoder and against streams written symbol by symbol.
#include <gtest/gtest.h>

#include <new>

#include "skin/LZH.h"
#include "skin/SkinRead.h"
#include "tests/native/SkinArchiveTesting.h"
#include "tools/skinpack/LZHPack.h"

namespace {
bool g_refuseNothrowNew = false;  // makes the decoder's table allocation fail
}  // namespace

// The decoder allocates its tables with the non-throwing new; this one can be told to fail.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (g_refuseNothrowNew) return nullptr;
  try {
    return ::operator new(size);
  } catch (...) {
    return nullptr;
  }
}

namespace {

// Decodes a bare LZHUF stream (no length word) through the decoder's own stream callbacks.
Bytes Unpack(const Bytes& stream, int32_t textSize) {
  TMemoryStream in, out;
  FillStream(in, stream);
  TLZH lzh;
  lzh.InputStream = &in;
  lzh.OutputStream = &out;
  lzh.LZHUnpack(
      textSize, [&](void* b, uint16_t n, uint16_t& actual) { lzh.ReadBlock(b, n, actual); },
      [&](const void* b, uint16_t n, uint16_t& actual) { lzh.WriteBlock(b, n, actual); });
  return StreamBytes(out);
}

// One symbol of a hand-written stream: a literal, or a match (length, distance back).
struct TSymbol {
  int Literal = -1;
  int Length = 0, Distance = 0;
};
TSymbol Lit(uint8_t c) { return {c, 0, 0}; }
TSymbol Match(int length, int distance) { return {-1, length, distance}; }

struct TWritten {
  Bytes Stream;
  std::vector<uint64_t> EndBit;   // bits used once symbol i is written
  std::vector<size_t> EndOutput;  // bytes decoded once symbol i is decoded
  Bytes Expected;                 // what the symbols mean, worked out on a flat history
};

TWritten Write(const std::vector<TSymbol>& symbols) {
  TWritten w;
  TLZHWriter writer;
  Bytes history(size_t(lzh::PREFILLED), lzh::BLANK);
  for (const TSymbol& s : symbols) {
    if (s.Literal >= 0) {
      writer.PutLiteral(uint8_t(s.Literal));
      history.push_back(uint8_t(s.Literal));
    } else {
      writer.PutMatch(s.Length, s.Distance);
      for (int k = 0; k < s.Length; ++k) history.push_back(history[history.size() - size_t(s.Distance)]);
    }
    w.EndBit.push_back(writer.BitCount());
    w.EndOutput.push_back(history.size() - size_t(lzh::PREFILLED));
  }
  w.Stream = writer.Finish();
  w.Expected.assign(history.begin() + lzh::PREFILLED, history.end());
  return w;
}

Bytes Repeat(size_t n, uint8_t c) { return Bytes(n, c); }

Bytes AllByteValues() {
  Bytes b;
  for (int round = 0; round < 3; ++round)
    for (int c = 0; c < 256; ++c) b.push_back(uint8_t(c));
  return b;
}

}  // namespace

// ---- Round trips ---------------------------------------------------------------------------------

struct TRoundTripCase {
  const char* Name;
  Bytes Input;
  bool Compressible;
};

void PrintTo(const TRoundTripCase& c, std::ostream* os) {
  *os << c.Name << ", " << c.Input.size() << " bytes";
}

class LZHRoundTrip : public ::testing::TestWithParam<TRoundTripCase> {};

TEST_P(LZHRoundTrip, DecodesBackToTheInputAndStopsAtItsLength) {
  const Bytes& input = GetParam().Input;
  Bytes container = LZHPack(input);
  ASSERT_GE(container.size(), 4u);
  EXPECT_EQ(DecompressBytes(container), input);
  if (GetParam().Compressible) {
    EXPECT_LT(container.size(), input.size() / 2);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, LZHRoundTrip,
    ::testing::Values(TRoundTripCase{"Empty", {}, false}, TRoundTripCase{"OneByte", {0x41}, false},
                      TRoundTripCase{"OneBlank", {0x20}, false},
                      TRoundTripCase{"AllByteValues", AllByteValues(), false},
                      TRoundTripCase{"LongRunOfOneByte", Repeat(100000, 'a'), true},
                      TRoundTripCase{"LongRunOfBlanks", Repeat(70000, ' '), true},
                      TRoundTripCase{"LongRunOfZeros", Repeat(70000, 0), true},
                      // Enough symbols to make the tree be rebuilt several times.
                      TRoundTripCase{"RandomData", RandomBytes(200000, 7), false},
                      TRoundTripCase{"TextLargerThanTheWindow", WordText(300000, 3), true},
                      TRoundTripCase{"ShortText", TextBytes("[Title]\r\nCaption=title.bmp\r\n"), false}),
    [](const ::testing::TestParamInfo<TRoundTripCase>& info) { return std::string(info.param.Name); });

TEST(LZHEncoder, SameInputGivesTheSameBytes) {
  Bytes input = WordText(50000, 11);
  EXPECT_EQ(LZHPack(input), LZHPack(input));
}

TEST(LZHEncoder, LengthWordIsTheDecodedLengthLittleEndian) {
  Bytes container = LZHPack(Repeat(0x010203, 'x'));
  EXPECT_EQ(container[0], 0x03);
  EXPECT_EQ(container[1], 0x02);
  EXPECT_EQ(container[2], 0x01);
  EXPECT_EQ(container[3], 0x00);
}

// ---- Streams written symbol by symbol -----------------------------------------------------------

TEST(LZHDecoder, EveryPositionCodeDecodesToItsDistance) {
  std::vector<TSymbol> symbols;
  Bytes noise = RandomBytes(lzh::N, 5);
  for (uint8_t c : noise) symbols.push_back(Lit(c));
  for (int d = 1; d <= lzh::N; ++d) symbols.push_back(Match(3 + d % 58, d));
  TWritten w = Write(symbols);
  EXPECT_EQ(Unpack(w.Stream, int32_t(w.Expected.size())), w.Expected);
}

TEST(LZHDecoder, PositionTableIsThePublishedOne) {
  const lzh::TPositionCodes& t = lzh::PositionCodes();
  // Where each code length starts in the byte-indexed table, and what it decodes to.
  const int firstByte[] = {0x00, 0x20, 0x50, 0x90, 0xC0, 0xF0};
  const int firstPosition[] = {0x00, 0x01, 0x04, 0x0C, 0x18, 0x30};
  for (int len = 3; len <= 8; ++len) {
    EXPECT_EQ(t.DCode[firstByte[len - 3]], firstPosition[len - 3]) << len;
    EXPECT_EQ(t.DLen[firstByte[len - 3]], len) << len;
  }
  EXPECT_EQ(t.DCode[0x1F], 0x00);
  EXPECT_EQ(t.DCode[0x2F], 0x01);
  EXPECT_EQ(t.DCode[0xFF], 0x3F);
  EXPECT_EQ(t.DLen[0xFF], 8);
  EXPECT_EQ(t.PCode[0x01], 0x20);
  EXPECT_EQ(t.PLen[0x3F], 8);
}

TEST(LZHDecoder, MatchBeforeTheFirstByteCopiesThePrefilledBlanks) {
  TWritten w = Write({Match(10, 100)});
  EXPECT_EQ(Unpack(w.Stream, 10), Bytes(10, ' '));
  // Reaching back to the very first prefilled position, and overlapping the new bytes.
  w = Write({Lit('a'), Match(5, 3), Match(4, lzh::PREFILLED + 6)});
  EXPECT_EQ(Unpack(w.Stream, 10), TextBytes("a  a      "));
}

TEST(LZHDecoder, StopsAfterTextSizeButCopiesALastMatchWhole) {
  TWritten w = Write({Lit('h'), Lit('e'), Lit('l'), Lit('l'), Lit('o'), Lit('!')});
  EXPECT_EQ(Unpack(w.Stream, 5), TextBytes("hello"));
  w = Write({Lit('x'), Match(60, 1)});
  EXPECT_EQ(Unpack(w.Stream, 2), Bytes(61, 'x'));
}

TEST(LZHDecoder, TextSizeZeroOrNegativeWritesAndReadsNothing) {
  for (int32_t size : {0, -1, INT32_MIN}) {
    int reads = 0, writes = 0;
    TLZH lzh;
    lzh.LZHUnpack(
        size, [&](void*, uint16_t, uint16_t& actual) { ++reads, actual = 0; },
        [&](const void*, uint16_t n, uint16_t& actual) { ++writes, actual = n; });
    EXPECT_EQ(reads, 0) << size;
    EXPECT_EQ(writes, 0) << size;
  }
}

TEST(LZHDecoder, AsksForAndHandsOverOneByteAtATime) {
  Bytes input = WordText(20000, 9);
  Bytes container = LZHPack(input);
  size_t at = 4;
  Bytes out;
  TLZH lzh;
  lzh.LZHUnpack(
      int32_t(input.size()),
      [&](void* b, uint16_t n, uint16_t& actual) {
        EXPECT_EQ(n, 1);
        actual = at < container.size() ? 1 : 0;
        if (actual) *static_cast<uint8_t*>(b) = container[at++];
      },
      [&](const void* b, uint16_t n, uint16_t& actual) {
        EXPECT_EQ(n, 1);
        out.push_back(*static_cast<const uint8_t*>(b));
        actual = n;
      });
  EXPECT_EQ(out, input);
}

TEST(LZHDecoder, TruncatedInputReadsAsZeroBits) {
  // Decoding nothing at all is decoding zero bytes, however many.
  EXPECT_EQ(Unpack({}, 5000), Unpack(Bytes(20000, 0), 5000));
  EXPECT_EQ(Unpack({}, 5000), Unpack(Bytes(3, 0), 5000));

  // A cut stream: what its whole symbols said comes out right, and the length is still reached.
  std::vector<TSymbol> symbols;
  Bytes text = WordText(6000, 4);
  for (size_t i = 0; i < text.size(); ++i)
    symbols.push_back(i % 10 == 9 ? Match(3 + int(i % 50), 7 + int(i % 300)) : Lit(text[i]));
  TWritten w = Write(symbols);
  const int32_t size = int32_t(w.Expected.size());
  for (size_t cut : {size_t(0), size_t(1), w.Stream.size() / 3, w.Stream.size() - 1}) {
    Bytes out = Unpack(Bytes(w.Stream.begin(), w.Stream.begin() + ptrdiff_t(cut)), size);
    ASSERT_GE(out.size(), size_t(size)) << cut;
    EXPECT_LE(out.size(), size_t(size) + lzh::F - 1) << cut;
    size_t whole = 0;
    for (size_t i = 0; i < symbols.size() && w.EndBit[i] <= 8 * cut; ++i) whole = w.EndOutput[i];
    EXPECT_TRUE(std::equal(w.Expected.begin(), w.Expected.begin() + ptrdiff_t(whole), out.begin())) << cut;
  }
}

TEST(LZHDecoder, CallbackFailureEndsTheDecodeAndTheNextDecodeStartsClean) {
  Bytes input = WordText(10000, 2);
  Bytes container = LZHPack(input);
  Bytes stream(container.begin() + 4, container.end());
  TMemoryStream in;
  FillStream(in, stream);
  TLZH lzh;
  lzh.InputStream = &in;
  int written = 0;
  EXPECT_THROW(lzh.LZHUnpack(
                   int32_t(input.size()), [&](void* b, uint16_t n, uint16_t& a) { lzh.ReadBlock(b, n, a); },
                   [&](const void*, uint16_t n, uint16_t& a) {
                     if (++written == 100) throw EStreamError("Stream write error");
                     a = n;
                   }),
               EStreamError);
  EXPECT_EQ(written, 100);
  // The bit buffer and tree of the failed decode are gone: the same object decodes from scratch.
  in.SetPosition(0);
  TMemoryStream out;
  lzh.OutputStream = &out;
  lzh.LZHUnpack(
      int32_t(input.size()), [&](void* b, uint16_t n, uint16_t& a) { lzh.ReadBlock(b, n, a); },
      [&](const void* b, uint16_t n, uint16_t& a) { lzh.WriteBlock(b, n, a); });
  EXPECT_EQ(StreamBytes(out), input);
}

TEST(LZHDecoder, ReadBlockGivesWhatIsLeftAndNothingAtTheEnd) {
  TMemoryStream in;
  FillStream(in, {1, 2, 3});
  TLZH lzh;
  lzh.InputStream = &in;
  uint8_t buf[4] = {};
  uint16_t actual = 99;
  in.SetPosition(2);
  lzh.ReadBlock(buf, 4, actual);
  EXPECT_EQ(actual, 1);
  EXPECT_EQ(buf[0], 3);
  lzh.ReadBlock(buf, 1, actual);
  EXPECT_EQ(actual, 0);
}

TEST(LZHEncoder, RefusesMatchesTheDecoderCannotExpress) {
  TLZHWriter writer;
  EXPECT_THROW(writer.PutMatch(2, 1), std::invalid_argument);
  EXPECT_THROW(writer.PutMatch(61, 1), std::invalid_argument);
  EXPECT_THROW(writer.PutMatch(3, 0), std::invalid_argument);
  EXPECT_THROW(writer.PutMatch(3, lzh::N + 1), std::invalid_argument);
}

TEST(LZHDecoder, TablesThatCannotBeAllocatedRaiseEvenWhenNothingIsToBeDecoded) {
  Bytes container = LZHPack(TextBytes("some text"));
  for (int32_t size : {0, 9}) {
    g_refuseNothrowNew = true;
    try {
      Unpack(Bytes(container.begin() + 4, container.end()), size);
      ADD_FAILURE() << "no exception for TextSize " << size;
    } catch (const ElzhException& e) {
      EXPECT_EQ(e.Message, "LZH : Cannot get memory for dictionary tables");
    }
    g_refuseNothrowNew = false;
  }
  EXPECT_EQ(Unpack(Bytes(container.begin() + 4, container.end()), 9), TextBytes("some text"));
}
