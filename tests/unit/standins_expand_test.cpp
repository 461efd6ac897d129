// The cabinet expander stand-in, started through the shell with the Windows expander's command
// line, as the keeper program starts it.
#include "tests/unit/standins_testing.h"

#include <shellapi.h>

using namespace standins_testing;

namespace {

// The build folder seen from Wine, which maps the Unix root to Z:.
std::string CabDir() {
  std::string dir = "Z:" + std::string(STANDINS_CAB_DIR);
  for (char& c : dir)
    if (c == '/') c = '\\';
  return dir + "\\";
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string ShortPath(const std::string& path) {
  char buf[MAX_PATH];
  DWORD n = GetShortPathNameA(path.c_str(), buf, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(buf, n) : path;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

class ExpandStandin : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    work = std::string(temp) + "standins-expand-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount()) + "\\";
    ASSERT_TRUE(CreateDirectoryA(work.c_str(), nullptr));
    // A long name with blanks, so that the short path is not the long one; in a folder of its
    // own, as the packages lie in the winks folder and are unpacked in the temporary one.
    ASSERT_TRUE(CreateDirectoryA((work + "winks").c_str(), nullptr));
    package = work + "winks\\Standins Wink Package.dat";
    ASSERT_TRUE(CopyFileA((CabDir() + "two.cab").c_str(), package.c_str(), FALSE));
    target = work + ShortPath(package).substr(ShortPath(package).find_last_of('\\') + 1) + "\\";
    ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
  }
  void TearDown() override {
    for (const std::string& name : FilesIn(target)) DeleteFileA((target + name).c_str());
    RemoveDirectoryA(target.c_str());
    DeleteFileA(package.c_str());
    RemoveDirectoryA((work + "winks").c_str());
    RemoveDirectoryA(work.c_str());
  }

  // Runs the expander through the shell and returns its exit code.
  DWORD RunExpand(const std::string& params) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = "open";
    info.lpFile = "expand";
    info.lpParameters = params.c_str();
    info.nShow = SW_HIDE;
    EXPECT_TRUE(ShellExecuteExA(&info));
    if (!info.hProcess) return ~0u;
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 20000), WAIT_OBJECT_0);
    DWORD code = ~0u;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    return code;
  }

  OwnSettings settings;
  std::string work, package, target;
};

}  // namespace

TEST_F(ExpandStandin, UnpacksEveryFileOfTheCabinetIntoTheFolderAsTheKeeperAsks) {
  std::string params = ShortPath(package) + " -f:*.* " + ShortPath(target);
  HINSTANCE started = ShellExecuteA(nullptr, "open", "expand", params.c_str(), "", SW_HIDE);
  ASSERT_GT(reinterpret_cast<INT_PTR>(started), 32);
  // The keeper gives it no more than a moment; the test waits until the files are whole.
  std::vector<std::string> expected{"readme.txt", "wave.swf"};
  for (int i = 0; i < 200 && !(FilesIn(target) == expected &&
                               ReadFile(target + "readme.txt") == ReadFile(CabDir() + "files\\readme.txt"));
       ++i)
    Sleep(50);
  EXPECT_EQ(FilesIn(target), expected);
  EXPECT_EQ(ReadFile(target + "wave.swf"), ReadFile(CabDir() + "files\\wave.swf"));
  EXPECT_EQ(ReadFile(target + "readme.txt"), ReadFile(CabDir() + "files\\readme.txt"));

  // Unpacking the same package again into the same folder works the same.
  EXPECT_EQ(RunExpand(params), 0u);
  EXPECT_EQ(FilesIn(target), expected);
  auto log = settings.LogLines();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], "Expand expand " + params);
}

TEST_F(ExpandStandin, TakesOnlyTheFilesMatchingTheMask) {
  EXPECT_EQ(RunExpand(ShortPath(package) + " -F:*.SWF " + ShortPath(target)), 0u);
  EXPECT_EQ(FilesIn(target), std::vector<std::string>{"wave.swf"});
  EXPECT_EQ(RunExpand(ShortPath(package) + " -f:*.none " + ShortPath(target)), 1u) << "nothing matched";
  EXPECT_EQ(FilesIn(target), std::vector<std::string>{"wave.swf"});
}

TEST_F(ExpandStandin, FailsOnWhatIsNoCabinetAndOnABadCommandLine) {
  std::string bogus = work + "bogus.dat";
  std::ofstream(bogus) << "no cabinet here";
  EXPECT_EQ(RunExpand(ShortPath(bogus) + " -f:*.* " + ShortPath(target)), 1u);
  EXPECT_TRUE(FilesIn(target).empty());
  DeleteFileA(bogus.c_str());
  EXPECT_EQ(RunExpand(""), 2u);
}
