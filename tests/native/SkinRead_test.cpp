// The skin archive reader: name table rules, lookups, the older-tag refusal and malformed data.
#include <gtest/gtest.h>

#include <optional>

#include "skin/SkinRead.h"
#include "tests/native/SkinArchiveTesting.h"
#include "tools/skinpack/LZHPack.h"
#include "tools/skinpack/SkinPack.h"

namespace {

void PutInt32(Bytes& b, int64_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(uint32_t(v) >> (8 * i)));
}

// A decoded archive spelled out field by field, so malformed ones can be made.
Bytes RawArchive(int32_t tag, const std::string& names, const std::vector<int64_t>& sizes, const Bytes& data,
                 std::optional<int64_t> nameLength = std::nullopt) {
  Bytes b;
  PutInt32(b, tag);
  PutInt32(b, nameLength.value_or(int64_t(names.size())));
  PutInt32(b, 0);
  PutInt32(b, 0);
  b.insert(b.end(), names.begin(), names.end());
  for (int64_t s : sizes) PutInt32(b, s);
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

// Captures the reader's message instead of showing it.
struct TMessageCapture {
  TMessageCapture() {
    Messages().clear();
    saved = SkinReaderMessage;
    SkinReaderMessage = [](const std::string& text) { Messages().push_back(text); };
  }
  ~TMessageCapture() { SkinReaderMessage = saved; }
  static std::vector<std::string>& Messages() {
    static std::vector<std::string> m;
    return m;
  }
  TSkinMessageProc saved;
};

class SkinReaderTest : public ::testing::Test {
 protected:
  bool Load(const Bytes& decoded) { return LoadContainer(LZHPack(decoded)); }
  bool LoadContainer(const Bytes& container) {
    TMemoryStream s;
    FillStream(s, container);
    return reader.LoadFromStream(&s);
  }
  std::string ByName(const std::string& name) {
    TMemoryStream out;
    FillStream(out, TextBytes("left over"));
    reader.ExtractByName(name, &out);
    EXPECT_EQ(out.GetPosition(), 0);
    return std::string(out.Bytes().begin(), out.Bytes().end());
  }
  std::string ByPart(const std::string& text, std::string& fullName) {
    TMemoryStream out;
    FillStream(out, TextBytes("left over"));
    reader.ExtractByPart(text, &out, fullName);
    EXPECT_EQ(out.GetPosition(), 0);
    return std::string(out.Bytes().begin(), out.Bytes().end());
  }
  // A small well-formed skin the refusals must leave in place.
  void LoadGoodSkin() {
    ASSERT_TRUE(Load(BuildSkinArchive({{"Skin.ini", TextBytes("[Title]")}, {"a.bmp", TextBytes("BMa")}})));
  }
  void ExpectGoodSkinKept() {
    EXPECT_EQ(reader.Names(), (std::vector<std::string>{"skin.ini", "a.bmp"}));
    EXPECT_EQ(ByName("a.bmp"), "BMa");
    EXPECT_EQ(ByName("skin.ini"), "[Title]");
  }

  TMessageCapture capture;
  TSkinReader reader;
};

}  // namespace

// ---- Name table --------------------------------------------------------------------------------

TEST(SkinNameTable, LinesEndAtCrLfCrOrLfAndOnlyAsciiLettersAreLowered) {
  const std::string text = "Skin.INI\r\nA.bmp\rB.bmp\nC\xC4.bmp";
  EXPECT_EQ(SplitSkinNames(text.data(), text.size()),
            (std::vector<std::string>{"skin.ini", "a.bmp", "b.bmp", "c\xC4.bmp"}));
}

TEST(SkinNameTable, AFinalLineBreakAddsNoName) {
  for (std::string text : {"a\r\nb", "a\r\nb\r\n", "a\r\nb\r", "a\r\nb\n"})
    EXPECT_EQ(SplitSkinNames(text.data(), text.size()), (std::vector<std::string>{"a", "b"})) << text;
}

TEST(SkinNameTable, EmptyLinesInTheMiddleAreEmptyNames) {
  const std::string text = "a\r\n\r\n\nb\n\r";
  EXPECT_EQ(SplitSkinNames(text.data(), text.size()), (std::vector<std::string>{"a", "", "", "b", ""}));
  EXPECT_EQ(SplitSkinNames("\r\n", 2), (std::vector<std::string>{""}));
  EXPECT_TRUE(SplitSkinNames("", 0).empty());
}

TEST(SkinNameTable, AZeroByteEndsTheText) {
  const std::string text("a.bmp\r\nb.bmp\0c.bmp\r\n", 20);
  EXPECT_EQ(SplitSkinNames(text.data(), text.size()), (std::vector<std::string>{"a.bmp", "b.bmp"}));
  EXPECT_TRUE(SplitSkinNames("\0a", 2).empty());
}

// ---- Loading and lookups -----------------------------------------------------------------------

TEST_F(SkinReaderTest, ReadsNamesSizesAndEntries) {
  ASSERT_TRUE(Load(BuildSkinArchive({{"Skin.INI", TextBytes("[Colours]\r\n")},
                                     {"Frame.BMP", TextBytes("BM frame")},
                                     {"empty.bmp", {}},
                                     {"title.bmp", TextBytes("BM title")}})));
  EXPECT_TRUE(capture.Messages().empty());
  EXPECT_EQ(reader.Count(), 4);
  EXPECT_EQ(reader.Names(), (std::vector<std::string>{"skin.ini", "frame.bmp", "empty.bmp", "title.bmp"}));
  EXPECT_EQ(reader.Size(1), 8);
  EXPECT_EQ(reader.Header().Tag, 20000);
  EXPECT_EQ(ByName("FRAME.bmp"), "BM frame");
  EXPECT_EQ(ByName("title.bmp"), "BM title");
  EXPECT_EQ(ByName("empty.bmp"), "");
  EXPECT_EQ(ByName("missing.bmp"), "");
  std::string full = "unchanged";
  EXPECT_EQ(ByPart(".ini", full), "[Colours]\r\n");
  EXPECT_EQ(full, "skin.ini");
  full = "unchanged";
  EXPECT_EQ(ByPart("tle", full), "BM title");
  EXPECT_EQ(full, "title.bmp");
}

TEST_F(SkinReaderTest, PartTextKeepsItsCaseSoUpperCaseFindsNothing) {
  ASSERT_TRUE(Load(BuildSkinArchive({{"Skin.INI", TextBytes("ini")}})));
  std::string full = "unchanged";
  EXPECT_EQ(ByPart(".INI", full), "");
  EXPECT_EQ(full, "unchanged");
}

TEST_F(SkinReaderTest, DuplicateNamesFindTheFirst) {
  ASSERT_TRUE(Load(BuildSkinArchive({{"a.bmp", TextBytes("first")},
                                     {"A.BMP", TextBytes("second")},
                                     {"x.ini", TextBytes("1")},
                                     {"y.ini", TextBytes("2")}})));
  EXPECT_EQ(ByName("a.bmp"), "first");
  std::string full;
  EXPECT_EQ(ByPart("a.bmp", full), "first");
  EXPECT_EQ(ByPart(".ini", full), "1");
  EXPECT_EQ(full, "x.ini");
}

TEST_F(SkinReaderTest, EmptyNameTableLoadsNoEntries) {
  ASSERT_TRUE(Load(RawArchive(20000, "", {}, {})));
  EXPECT_EQ(reader.Count(), 0);
  std::string full = "unchanged";
  EXPECT_EQ(ByName(""), "");
  EXPECT_EQ(ByPart("", full), "");
  EXPECT_EQ(full, "unchanged");
}

TEST_F(SkinReaderTest, NameTableWithOrWithoutFinalCrLfIsTheSame) {
  ASSERT_TRUE(Load(RawArchive(20000, "a\r\nb", {1, 2}, TextBytes("xyz"))));
  std::vector<std::string> without = reader.Names();
  ASSERT_TRUE(Load(RawArchive(20000, "a\r\nb\r\n", {1, 2}, TextBytes("xyz"))));
  EXPECT_EQ(reader.Names(), without);
  EXPECT_EQ(ByName("b"), "yz");
}

TEST_F(SkinReaderTest, EmptyNamesAndZeroByteInTheTable) {
  // The empty middle line is an entry of its own; after the zero byte nothing is a name, so the
  // size table follows two names.
  ASSERT_TRUE(
      Load(RawArchive(20000, std::string("a\r\n\r\nb\r\n\0c\r\n", 12), {1, 2, 3}, TextBytes("xyyzzz"))));
  EXPECT_EQ(reader.Names(), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(ByName(""), "yy");
  EXPECT_EQ(ByName("b"), "zzz");
  EXPECT_EQ(ByName("c"), "");
}

TEST_F(SkinReaderTest, DataLongerThanTheSizesIsAccepted) {
  ASSERT_TRUE(Load(RawArchive(20000, "a\r\n", {2}, TextBytes("xyEXTRA"))));
  EXPECT_EQ(ByName("a"), "xy");
}

TEST_F(SkinReaderTest, TakesTheMostEntriesAnArchiveMayHave) {
  std::vector<TSkinEntry> entries;
  for (int i = 0; i < SkinArchiveMaxEntries; ++i) {
    std::string name = "e";
    name += std::to_string(i);
    entries.push_back({name, TextBytes(std::to_string(i))});
  }
  ASSERT_TRUE(Load(BuildSkinArchive(entries)));
  EXPECT_EQ(reader.Count(), SkinArchiveMaxEntries);
  EXPECT_EQ(ByName("e1000"), "1000");
}

// ---- Refusals ----------------------------------------------------------------------------------

TEST_F(SkinReaderTest, OlderTagShowsTheMessageOnceAndKeepsWhatWasLoaded) {
  LoadGoodSkin();
  for (int32_t tag : {19999, 0, -20000, 20001}) {
    capture.Messages().clear();
    EXPECT_FALSE(Load(RawArchive(tag, "b.bmp\r\n", {1}, TextBytes("z")))) << tag;
    EXPECT_EQ(capture.Messages(),
              (std::vector<std::string>{"This is Older Skin File\rPlease update to new version !"}))
        << tag;
    ExpectGoodSkinKept();
  }
}

TEST_F(SkinReaderTest, MalformedArchivesAreRefusedQuietlyAndKeepWhatWasLoaded) {
  LoadGoodSkin();
  std::string names1002;
  for (int i = 0; i < SkinArchiveMaxEntries + 1; ++i) names1002 += "n\r\n";
  const struct {
    const char* what;
    Bytes decoded;
  } cases[] = {
      {"header cut short", Bytes{0x20, 0x4E, 0, 0, 5, 0, 0}},
      {"nothing decoded", {}},
      {"negative name table length", RawArchive(20000, "a\r\n", {1}, TextBytes("x"), -3)},
      {"name table past the end", RawArchive(20000, "a\r\n", {1}, TextBytes("x"), 100)},
      {"size table past the end", RawArchive(20000, "a\r\nb\r\n", {1}, {})},
      {"negative size", RawArchive(20000, "a\r\nb\r\n", {-1, 2}, TextBytes("x"))},
      {"sizes past the data", RawArchive(20000, "a\r\nb\r\n", {1, 2}, TextBytes("xy"))},
      {"sizes that wrap 32 bits", RawArchive(20000, "a\r\nb\r\n", {0x7FFFFFFF, 0x7FFFFFFF}, TextBytes("xy"))},
      {"more than 1001 names", RawArchive(20000, names1002, std::vector<int64_t>(1002, 0), {})},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(Load(c.decoded)) << c.what;
    ExpectGoodSkinKept();
  }
  EXPECT_TRUE(capture.Messages().empty());
}

TEST_F(SkinReaderTest, ContainerTooShortOrClaimingTooMuchIsRefused) {
  LoadGoodSkin();
  EXPECT_FALSE(LoadContainer({}));
  EXPECT_FALSE(LoadContainer({16, 0, 0}));
  // No stream of ten bytes can honestly decode to a gigabyte; the claim alone refuses it.
  Bytes greedy = {0x00, 0xCA, 0x9A, 0x3B};
  greedy.resize(14, 0);
  EXPECT_FALSE(LoadContainer(greedy));
  // A negative length decodes nothing, which holds no header.
  EXPECT_FALSE(LoadContainer({0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3}));
  ExpectGoodSkinKept();
  EXPECT_TRUE(capture.Messages().empty());
}
