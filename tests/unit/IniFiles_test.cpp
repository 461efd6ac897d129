// INI files read through the system: values, numbers, flags, key and section lists.
#include <gtest/gtest.h>
#include <windows.h>

#include "tk/IniFiles.h"

namespace {
// An INI file with the given text in the temporary folder, removed when the test ends. Each test
// names its own file: the system may keep a parsed copy of a file it has read.
class IniFiles : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& text) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    path = std::string(dir) + "tk_" + std::to_string(GetCurrentProcessId()) + "_" + name;
    TFileStream(path, fmCreate).WriteBuffer(text.data(), int32_t(text.size()));
    return path;
  }
  void TearDown() override {
    if (!path.empty()) DeleteFileA(path.c_str());
  }
  std::string path;
};

const char kSkin[] =
    "[TitlebarSkin]\r\n"
    "SkinName = Plain \r\n"
    "Quoted=\"spaced text\"\r\n"
    "Empty=\r\n"
    "[Colours]\r\n"
    "ButtonFace=12632256\r\n"
    "Hex=$1F\r\n"
    "CHex=0x20\r\n"
    "TwoPrefixes=$0x1F\r\n"
    "PrefixTwice=0x0x1F\r\n"
    "Negative=-7\r\n"
    "Plus=+7\r\n"
    "SignOnly=+\r\n"
    "Pattern=$FFFFFFFF\r\n"
    "Word=twelve\r\n"
    "Huge=99999999999\r\n"
    "[BUTTON1]\r\n"
    "[Personality]\r\n"
    "On=1\r\n"
    "Off=0\r\n"
    "Yes=yes\r\n";
}  // namespace

TEST_F(IniFiles, StringsComeBackTrimmedAndDefaultOnlyWhenMissing) {
  TIniFile ini(Write("strings.ini", kSkin));
  EXPECT_EQ(ini.ReadString("TitlebarSkin", "SkinName", "?"), "Plain");
  EXPECT_EQ(ini.ReadString("titlebarskin", "QUOTED", "?"), "spaced text");
  EXPECT_EQ(ini.ReadString("TitlebarSkin", "Empty", "?"), "");
  EXPECT_EQ(ini.ReadString("TitlebarSkin", "Missing", "fallback"), "fallback");
  EXPECT_EQ(ini.ReadString("NoSection", "SkinName", "fallback"), "fallback");
}

TEST_F(IniFiles, IntegersAreDecimalOrHexAndDefaultOtherwise) {
  TIniFile ini(Write("integers.ini", kSkin));
  EXPECT_EQ(ini.ReadInteger("Colours", "ButtonFace", -1), 12632256);
  EXPECT_EQ(ini.ReadInteger("Colours", "Hex", -1), 31);
  EXPECT_EQ(ini.ReadInteger("Colours", "CHex", -1), 32);
  EXPECT_EQ(ini.ReadInteger("Colours", "TwoPrefixes", -1), -1);
  EXPECT_EQ(ini.ReadInteger("Colours", "PrefixTwice", -1), -1);
  EXPECT_EQ(ini.ReadInteger("Colours", "Negative", 0), -7);
  EXPECT_EQ(ini.ReadInteger("Colours", "Plus", 0), 7);
  EXPECT_EQ(ini.ReadInteger("Colours", "SignOnly", 5), 5);
  EXPECT_EQ(ini.ReadInteger("Colours", "Pattern", 0), -1);
  EXPECT_EQ(ini.ReadInteger("Colours", "Word", 5), 5);
  EXPECT_EQ(ini.ReadInteger("Colours", "Huge", 5), 5);
  EXPECT_EQ(ini.ReadInteger("Colours", "Missing", 42), 42);
}

TEST_F(IniFiles, FlagsAreNumbersWhereZeroIsFalse) {
  TIniFile ini(Write("flags.ini", kSkin));
  EXPECT_TRUE(ini.ReadBool("Personality", "On", false));
  EXPECT_FALSE(ini.ReadBool("Personality", "Off", true));
  EXPECT_TRUE(ini.ReadBool("Personality", "Yes", true));
  EXPECT_FALSE(ini.ReadBool("Personality", "Yes", false));
  EXPECT_TRUE(ini.ReadBool("Personality", "Missing", true));
}

TEST_F(IniFiles, SectionsAndKeysAreListedInFileOrder) {
  TIniFile ini(Write("lists.ini", kSkin));
  TStringList list;
  list.Add("stale");
  ini.ReadSections(&list);
  EXPECT_EQ(list.Text(), "TitlebarSkin\r\nColours\r\nBUTTON1\r\nPersonality\r\n");
  ini.ReadSection("Personality", &list);
  EXPECT_EQ(list.Text(), "On\r\nOff\r\nYes\r\n");
  ini.ReadSection("BUTTON1", &list);
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(IniFiles, ExistenceOfSectionsAndValues) {
  TIniFile ini(Write("exists.ini", kSkin));
  EXPECT_TRUE(ini.SectionExists("colours"));
  EXPECT_TRUE(ini.SectionExists("BUTTON1"));  // present, though it has no keys
  EXPECT_FALSE(ini.SectionExists("BUTTON2"));
  EXPECT_TRUE(ini.ValueExists("Colours", "hex"));
  EXPECT_TRUE(ini.ValueExists("TitlebarSkin", "Empty"));
  EXPECT_FALSE(ini.ValueExists("Colours", "Nothing"));
  EXPECT_FALSE(ini.ValueExists("Nowhere", "Hex"));
}

TEST_F(IniFiles, LongValuesAndLongKeyListsAreReadWhole) {
  std::string value(5000, 'v');
  std::string text = "[Big]\r\nValue=" + value + "\r\n[Many]\r\n";
  for (int i = 0; i < 600; ++i) text += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
  TIniFile ini(Write("long.ini", text));
  EXPECT_EQ(ini.ReadString("Big", "Value", ""), value);
  TStringList keys;
  ini.ReadSection("Many", &keys);
  ASSERT_EQ(keys.Count(), 600);
  EXPECT_EQ(keys.Strings(599), "Key599");
}

TEST_F(IniFiles, ARelativeNameIsTakenFromTheCurrentFolder) {
  std::string full = Write("relative.ini", kSkin);
  char old[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, old);
  std::string dir = full.substr(0, full.find_last_of('\\'));
  ASSERT_TRUE(SetCurrentDirectoryA(dir.c_str()));
  TIniFile ini(full.substr(full.find_last_of('\\') + 1));
  SetCurrentDirectoryA(old);
  EXPECT_TRUE(SameText(ini.FileName(), full)) << ini.FileName();
  EXPECT_EQ(ini.ReadString("TitlebarSkin", "SkinName", "?"), "Plain");
}

namespace {
// Names and values written every way the system treats specially, in one file.
const std::string kTricky =
    "; comment before any section\r\n"
    "Top=before\r\n"
    "[Alpha]\r\n"
    "Key=one\r\n"
    "key=two\r\n"
    "  Spaced  =  value with blanks  \r\n"
    "\tTabbed\t=\tv\t\r\n"
    "Quoted=\"quoted value\"\r\n"
    "QuotedSpaced=  \"  inner  \"  \r\n"
    "Single='single'\r\n"
    "Half=\"half\r\n"
    "Mixed=\"a'\r\n"
    "Triple=\"\"\"\r\n"
    "Lone=\"\r\n"
    "Inside=a \"b\" c\r\n"
    "Empty=\r\n"
    "EmptyQuotes=\"\"\r\n"
    "NoValue\r\n"
    "NoValue=later\r\n"
    "=nameless\r\n"
    ";Comment=hidden\r\n"
    "  ;Indented=hidden\r\n"
    "#Hash=shown\r\n"
    "Equals=a=b\r\n"
    "Semicolon=value ; not a comment\r\n"
    "Inner Blanks = x y \r\n"
    "\xC4rger=umlaut\r\n"
    "Nbsp\xA0=nbsp\r\n"
    "Long=" +
    std::string(5000, 'L') +
    "\r\n"
    "[ alpha ]\r\n"
    "Extra=from the second Alpha\r\n"
    "[Beta]\r\n"
    "[Open\r\n"
    "[Open=x\r\n"
    "  [Indented]  trailing\r\n"
    "X=1\r\n"
    "[\tT\t]\r\n"
    "X=t\r\n"
    "[]\r\n"
    "Nameless=1\r\n";
}  // namespace

TEST_F(IniFiles, ABufferedFileAnswersExactlyAsTheSystemDoesKeyByKey) {
  std::string file = Write("buffered.ini", kTricky);
  TIniFile direct(file);
  TBufferedIniFile buffered(file);
  const char* sections[] = {"Alpha",    "ALPHA", " alpha\t", "Beta", "Open",
                            "Indented", "T",     "\tT\t",    "",     "Nowhere"};
  const char* keys[] = {"Key",           "KEY",        " key\t",      "Spaced",  "Tabbed",    "Quoted",
                        "QuotedSpaced",  "Single",     "Half",        "Mixed",   "Triple",    "Lone",
                        "Inside",        "Empty",      "EmptyQuotes", "NoValue", "",          ";Comment",
                        "Comment",       " ;Indented", "#Hash",       "Equals",  "Semicolon", "Inner Blanks",
                        "Inner  Blanks", "\xC4rger",   "\xE4RGER",    "Nbsp",    "Nbsp\xA0",  "Long",
                        "Extra",         "[Open",      "X",           "Top",     "Nameless",  "Missing"};
  const char* defaults[] = {"", "fallback", "  pad  ", "\"q\"  ", "   ", "\""};
  for (const char* s : sections)
    for (const char* k : keys)
      for (const char* d : defaults) {
        EXPECT_EQ(buffered.ReadString(s, k, d), direct.ReadString(s, k, d))
            << "[" << s << "] " << k << " default " << d;
      }
  // The file says what it should: these are the system's own answers.
  EXPECT_EQ(buffered.ReadString("alpha", " KEY ", ""), "one");
  EXPECT_EQ(buffered.ReadString("Alpha", "QuotedSpaced", ""), "  inner  ");
  EXPECT_EQ(buffered.ReadString("Alpha", "NoValue", "  pad  "), "  pad");
  EXPECT_EQ(buffered.ReadString("Alpha", "Long", ""), std::string(5000, 'L'));
  EXPECT_EQ(buffered.ReadString("\tT\t", "X", ""), "t");
}

TEST(IniNames, WholeCharactersAreComparedAndOnlyAsciiLettersFolded) {
  // On a double-byte code page a trail byte can look like an ASCII letter: these are two names.
  EXPECT_NE(IniNameKey("\x81\x61", 932), IniNameKey("\x81\x41", 932));
  EXPECT_EQ(IniNameKey("Colour\x81\x61", 932), IniNameKey("COLOUR\x81\x61", 932));
  // The system's INI functions leave other letters' case alone, as the buffered file's test shows.
  EXPECT_NE(IniNameKey("\xC4rger", 1252), IniNameKey("\xE4rger", 1252));
  EXPECT_EQ(IniNameKey("Button.Radio", 1252), IniNameKey("BUTTON.RADIO", 1252));
}
