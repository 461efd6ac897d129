// The keeper's file and folder helpers, its information box and the code list box.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>

#include "drellmark/CodeListBox.h"
#include "drellmark/Uni_Function.h"
#include "velloran/Uni_Function.h"
#include "tests/unit/DrellmarkTesting.h"
#include "tests/unit/MessageBoxWatch.h"
#include "tk/Forms.h"

using namespace drellmark_testing;

namespace {

std::vector<std::string> Found(const std::string& folder, const std::string& mask) {
  TStringList list;
  FindFiles(folder, mask, &list);
  std::vector<std::string> names;
  for (int i = 0; i < list.Count(); ++i) names.push_back(list.Strings(i));
  std::sort(names.begin(), names.end());
  return names;
}

TEST(FindFiles, AddsBareNamesOfFilesAndFoldersButNeitherDotEntriesNorHiddenOrSystemOnes) {
  ScratchFolder dir("findfiles");
  WriteFile(dir.Path + "a.dat", "a");
  WriteFile(dir.Path + "b.dat", "b");
  WriteFile(dir.Path + "c.txt", "c");
  CreateDirectoryA((dir.Path + "x.dat").c_str(), nullptr);
  WriteFile(dir.Path + "hidden.dat", "h");
  SetFileAttributesA((dir.Path + "hidden.dat").c_str(), FILE_ATTRIBUTE_HIDDEN);
  WriteFile(dir.Path + "system.dat", "s");
  SetFileAttributesA((dir.Path + "system.dat").c_str(), FILE_ATTRIBUTE_SYSTEM);

  EXPECT_EQ(Found(dir.Path, "*.dat"), (std::vector<std::string>{"a.dat", "b.dat", "x.dat"}));
  EXPECT_EQ(Found(dir.Path, "*"), (std::vector<std::string>{"a.dat", "b.dat", "c.txt", "x.dat"}));
  SetFileAttributesA((dir.Path + "hidden.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
  SetFileAttributesA((dir.Path + "system.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FindFiles, KeepsWhatTheListHeldAndAddsNothingForAMissingFolder) {
  TStringList list;
  list.Add("kept");
  FindFiles("C:\\no such folder here\\", "*.dat", &list);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Strings(0), "kept");
}

TEST(FindFiles, KeepsTheSystemsOrder) {
  ScratchFolder dir("findorder");
  for (const char* n : {"m.dat", "k.dat", "z.dat", "a.dat"}) WriteFile(dir.Path + n, n);
  std::vector<std::string> raw;
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA((dir.Path + "*.dat").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  do raw.push_back(data.cFileName);
  while (FindNextFileA(h, &data));
  FindClose(h);
  TStringList list;
  FindFiles(dir.Path, "*.dat", &list);
  ASSERT_EQ(list.Count(), int(raw.size()));
  for (int i = 0; i < list.Count(); ++i) EXPECT_EQ(list.Strings(i), raw[size_t(i)]);
}

TEST(ShortPath, GivesTheSystemsShortFormOrThePathItselfWhenThereIsNone) {
  ScratchFolder dir("short path");
  std::string file = dir.Path + "a rather long package name.dat";
  WriteFile(file, "x");
  char expected[MAX_PATH];
  ASSERT_GT(GetShortPathNameA(file.c_str(), expected, MAX_PATH), 0u);
  EXPECT_EQ(ShortPath(file), expected);
  EXPECT_EQ(ShortPath(file).find(' '), std::string::npos);

  std::string missing = dir.Path + "not here at all.dat";
  EXPECT_EQ(ShortPath(missing), missing);
  std::string tooLong = "C:\\" + std::string(300, 'a');
  EXPECT_EQ(ShortPath(tooLong), tooLong);
}

TEST(Folders, TemporaryFolderEndsWithABackslashAndApplicationDataHasNone) {
  std::string temp = TempFolder();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_TRUE(Exists(temp));

  std::string appData = AppDataFolder();
  ASSERT_FALSE(appData.empty());
  EXPECT_NE(appData.back(), '\\');
  EXPECT_TRUE(Exists(appData));
  char expected[MAX_PATH];
  ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, expected, CSIDL_APPDATA, FALSE));
  EXPECT_EQ(appData, expected);
}

TEST(ShowInfo, ShowsTheTextUnderInformationWithTheInformationIconAndOnlyOk) {
  MessageBoxWatch watch;
  ShowInfo("Drellmark is Already Run!");
  ASSERT_TRUE(watch.Answered());
  EXPECT_EQ(watch.Caption, "Information");
  EXPECT_EQ(watch.Text, "Drellmark is Already Run!");
  EXPECT_EQ(watch.Icon, LoadIconA(nullptr, IDI_INFORMATION));
}

TEST(CodeListBox, AssigningCopiesIntoTheListTheControlOwnsForItsLife) {
  TCodeListBox box(nullptr);
  TStringList* own = box.Codes();
  TStringList given;
  given.Add("C:\\one.dat");
  given.Add("C:\\two.dat");
  box.SetCodes(&given);
  EXPECT_EQ(box.Codes(), own);
  ASSERT_EQ(own->Count(), 2);
  EXPECT_EQ(own->Strings(1), "C:\\two.dat");
  given.Clear();
  EXPECT_EQ(own->Count(), 2);
  // Rows and codes are the user's to keep in step: the box does not touch one for the other.
  box.Items().Add("Winks1");
  box.Items().Clear();
  EXPECT_EQ(own->Count(), 2);
  EXPECT_EQ(box.ClassName(), "TCodeListBox");
  EXPECT_TRUE(box.Is<TListBox>());
}

}  // namespace
