// The packer: the exact archive layout, the folder's entry order, and what the reader gets back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <filesystem>
#include <fstream>

#include "skin/SkinRead.h"
#include "tests/native/SkinArchiveTesting.h"
#include "tools/skinpack/SkinPack.h"

namespace fs = std::filesystem;

namespace {

// A scratch folder of its own, removed afterwards.
class TScratch {
 public:
  explicit TScratch(const std::string& name)
      : FPath(fs::temp_directory_path() /
              ("skinpack-" + name + "-" + std::to_string(std::random_device{}()))) {
    fs::remove_all(FPath);
    fs::create_directories(FPath);
  }
  ~TScratch() {
    std::error_code ec;
    fs::remove_all(FPath, ec);
  }
  void Put(const std::string& name, const std::string& bytes) const {
    std::ofstream(FPath / name, std::ios::binary) << bytes;
  }
  std::string Path() const { return FPath.string(); }

 private:
  fs::path FPath;
};

std::vector<std::string> EntryNames(const std::vector<TSkinEntry>& entries) {
  std::vector<std::string> names;
  for (const TSkinEntry& e : entries) names.push_back(e.Name);
  return names;
}

}  // namespace

TEST(SkinPackLayout, ArchiveBytesAreExactlyTheReadersFormat) {
  Bytes archive = BuildSkinArchive({{"Skin.ini", TextBytes("[x]")}, {"b.bmp", TextBytes("BM12")}});
  Bytes expected = {0x20, 0x4E, 0, 0,  // 20000
                    17,   0,    0, 0,  // "Skin.ini\r\nb.bmp\r\n"
                    0,    0,    0, 0, 0, 0, 0, 0};
  for (char c : std::string("Skin.ini\r\nb.bmp\r\n")) expected.push_back(uint8_t(c));
  for (uint8_t b : {3, 0, 0, 0, 4, 0, 0, 0}) expected.push_back(b);
  for (char c : std::string("[x]BM12")) expected.push_back(uint8_t(c));
  EXPECT_EQ(archive, expected);
}

TEST(SkinPackLayout, RefusesNamesAndCountsTheReaderCannotTake) {
  EXPECT_THROW(BuildSkinArchive({{"a\r.bmp", {}}}), std::invalid_argument);
  EXPECT_THROW(BuildSkinArchive({{"a\n.bmp", {}}}), std::invalid_argument);
  EXPECT_THROW(BuildSkinArchive({{std::string("a\0.bmp", 6), {}}}), std::invalid_argument);
  EXPECT_THROW(BuildSkinArchive(std::vector<TSkinEntry>(SkinArchiveMaxEntries + 1, TSkinEntry{"e", {}})),
               std::invalid_argument);
}

TEST(SkinPackLayout, StreamFormIsTheLengthThenTheArchive) {
  Bytes form = SkinStreamForm({9, 8, 7});
  EXPECT_EQ(form, (Bytes{3, 0, 0, 0, 9, 8, 7}));
}

TEST(SkinPackRoundTrip, ReaderGetsEveryEntryBackAndPackingIsDeterministic) {
  std::vector<TSkinEntry> entries = {{"skin.ini", WordText(3000, 1)}};
  for (int i = 0; i < 32; ++i)
    entries.push_back({"part" + std::to_string(i) + ".bmp", i % 2 ? RandomBytes(900 + size_t(i), uint32_t(i))
                                                                  : Bytes(2000 + size_t(i), uint8_t(i))});
  Bytes packed = PackSkinArchive(entries);
  EXPECT_EQ(PackSkinArchive(entries), packed);

  TMemoryStream s;
  FillStream(s, packed);
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadFromStream(&s));
  ASSERT_EQ(reader.Count(), 33);
  // Well formed: the sizes add up to exactly the entry data.
  int64_t sum = 0;
  for (int i = 0; i < reader.Count(); ++i) sum += reader.Size(i);
  EXPECT_EQ(sum, int64_t(DecompressBytes(packed).size()) - 16 - reader.Header().NameLength - 4 * 33);
  TMemoryStream out;
  for (const TSkinEntry& e : entries) {
    reader.ExtractByName(e.Name, &out);
    EXPECT_EQ(StreamBytes(out), e.Data) << e.Name;
  }
}

TEST(SkinPackFolder, DescriptionFirstThenBitmapsByLowerCaseNameOthersLeftOut) {
  TScratch dir("order");
  dir.Put("c.BMP", "c");
  dir.Put("b.bmp", "b");
  dir.Put("Skin.INI", "[Title]");
  dir.Put("A.bmp", "a");
  dir.Put("readme.txt", "not a skin part");
  fs::create_directory(fs::path(dir.Path()) / "sub.bmp");
  std::vector<TSkinEntry> entries = ReadSkinFolder(dir.Path());
  EXPECT_EQ(EntryNames(entries), (std::vector<std::string>{"Skin.INI", "A.bmp", "b.bmp", "c.BMP"}));
  EXPECT_EQ(entries[0].Data, TextBytes("[Title]"));
  EXPECT_EQ(entries[1].Data, TextBytes("a"));
}

TEST(SkinPackFolder, RefusesAFolderWithoutExactlyOneDescription) {
  TScratch none("none");
  none.Put("a.bmp", "a");
  EXPECT_THROW(ReadSkinFolder(none.Path()), std::runtime_error);
  TScratch two("two");
  two.Put("a.ini", "a");
  two.Put("b.ini", "b");
  EXPECT_THROW(ReadSkinFolder(two.Path()), std::runtime_error);
}

#ifndef _WIN32
TEST(SkinPackFolder, RefusesNamesThatDifferOnlyInCase) {
  TScratch dir("case");
  dir.Put("s.ini", "s");
  dir.Put("a.bmp", "1");
  dir.Put("A.bmp", "2");
  EXPECT_THROW(ReadSkinFolder(dir.Path()), std::runtime_error);
}
#endif

#ifdef SKINPACK_EXE
namespace {
Bytes ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
}  // namespace

// The tool itself, as the cross build calls it.
TEST(SkinPackTool, WritesTheArchiveAndTheStreamForm) {
  TScratch dir("tool");
  dir.Put("skin.ini", "[Title]\r\nSkinName=Test\r\n");
  dir.Put("title.bmp", std::string(500, 'T'));
  TScratch out("tool-out");
  const fs::path archive = fs::path(out.Path()) / "skin.skn", stream = fs::path(out.Path()) / "skin.bin";
  ASSERT_EQ(std::system((std::string(SKINPACK_EXE) + " " + dir.Path() + " " + archive.string()).c_str()), 0);
  ASSERT_EQ(
      std::system((std::string(SKINPACK_EXE) + " --stream " + dir.Path() + " " + stream.string()).c_str()),
      0);
  Bytes expected = PackSkinArchive(ReadSkinFolder(dir.Path()));
  EXPECT_EQ(ReadAll(archive), expected);
  EXPECT_EQ(ReadAll(stream), SkinStreamForm(expected));
  TScratch bad("tool-bad");
  EXPECT_NE(
      std::system(
          (std::string(SKINPACK_EXE) + " " + bad.Path() + " " + archive.string() + " 2>/dev/null").c_str()),
      0);
}
#endif
