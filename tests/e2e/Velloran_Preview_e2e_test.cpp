// The real Velloran.exe under Wine, driven from outside with window messages, against the content
// server and the stand-ins (their call log read back): selecting a wink plays its movie and Install
// puts its package into the signed-in account's winks folder; the emoticons page opens its page in
// the browser and installs from its own folder; page switches stop and resume the movie; offline,
// Install shows its box and installs nothing. A screenshot of each page is kept in the build folder.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/ProgramTesting.h"
#include "tests/unit/ContentServer.h"
#include "tests/unit/DrellmarkTesting.h"
#include "tests/unit/standins_testing.h"

namespace {

using namespace program_testing;

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 20, Sleep(20))
    if (condition()) return true;
  return condition();
}

// The node reached from a tree's root by taking child number i at each level, in another process.
HTREEITEM NodeAt(HWND tree, std::vector<int> path) {
  auto item = HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  for (int i : path) {
    item = HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, LPARAM(item)));
    while (item && i-- > 0) item = HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, LPARAM(item)));
  }
  return item;
}

struct PreviewProgram : ::testing::Test {
  standins_testing::OwnSettings Settings;
  std::string Account = "e2e-preview-" + std::to_string(GetCurrentProcessId()) + "@example.com";
  std::string Winks = standins_testing::WinksFolderOf(Account);
  std::string Base = contentserver::Base();
  HWND Main = nullptr;

  void SetUp() override {
    Settings.SetString("Messenger Account", Account);
    SetEnvironmentVariableA("VELLORAN_SERVER_BASE", Base.c_str());
  }
  void TearDown() override {
    SetEnvironmentVariableA("VELLORAN_SERVER_BASE", nullptr);
    drellmark_testing::RemoveTree(Winks.substr(0, Winks.size() - std::strlen("Winks3\\")));
  }
  bool Logged(const std::string& line) const {
    auto lines = Settings.LogLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  std::vector<std::string> Calls(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& line : Settings.LogLines())
      if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
  }
  // The tree of the page in front.
  HWND VisibleTree() const {
    for (HWND tree : Children(Main, "TTreeView"))
      if (IsWindowVisible(tree)) return tree;
    return nullptr;
  }
  void Press(const std::string& caption) {
    HWND button = Child(Main, "TBitBtn", caption);
    ASSERT_NE(button, nullptr) << caption;
    PostMessageA(button, BM_CLICK, 0, 0);
  }
  // Moves to the page beside the current one with the arrow keys, as the keyboard does.
  void SwitchPage(int page) {
    std::vector<HWND> tabs = Children(Main, "TPageControl");
    ASSERT_EQ(tabs.size(), 1u);
    PostMessageA(tabs[0], WM_KEYDOWN, page == 1 ? VK_RIGHT : VK_LEFT, 0);
    PostMessageA(tabs[0], WM_KEYUP, page == 1 ? VK_RIGHT : VK_LEFT, 0);
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(tabs[0], TCM_GETCURSEL, 0, 0) == page; }, 10000));
  }
  void Shot(const std::string& name) {
    Sleep(300);
    std::string dir = WinPath(VELLORAN_SCREENSHOT_DIR);
    CreateDirectoryA(dir.c_str(), nullptr);
    EXPECT_GT(Screenshot(Main, dir + "/" + name), 4);
  }
};

TEST_F(PreviewProgram, PreviewAndInstallBothKindsAndPageSwitchesStopAndResumeTheMovie) {
  Settings.SetDword("Messenger Status", 0);
  TProgram velloran(VELLORAN_EXE);
  Main = WaitForTopWindow(velloran.Pid(), "Tfrm_Main", 60000);
  ASSERT_NE(Main, nullptr);
  // The Flash viewer in front from the first showing; the browser's own Visible off.
  ASSERT_TRUE(WaitFor([&] { return Logged("Browser Visible 0"); }, 10000));

  // A wink: Love / Big Hug, selected as the mouse or the keyboard would.
  HWND winks = VisibleTree();
  ASSERT_NE(winks, nullptr);
  HTREEITEM hug = NodeAt(winks, {0, 0});
  ASSERT_NE(hug, nullptr);
  SendMessageA(winks, TVM_SELECTITEM, TVGN_CARET, LPARAM(hug));
  std::string movie = Base + "preview/winks/bighug.swf";
  ASSERT_TRUE(WaitFor([&] { return Logged("Flash Play"); }, 10000));
  EXPECT_EQ(Calls("Flash"),
            (std::vector<std::string>{"Flash Playing 1", "Flash Movie " + movie, "Flash Play"}));

  Press("&Install");
  ASSERT_TRUE(WaitFor([&] { return !Calls("Installer Stored").empty(); }, 15000))
      << ::testing::PrintToString(Calls("Installer"));
  EXPECT_EQ(Calls("Installer InstallContent"),
            std::vector<std::string>{"Installer InstallContent " + Base + "setupcab/cabwinks/bighug.cab"});
  EXPECT_TRUE(drellmark_testing::Exists(Winks + "bighug.dat"));
  EXPECT_EQ(Calls("Messenger MyStatus").size(), 5u);
  Shot("velloran-preview-winks.bmp");

  // The emoticons page: the movie stops, the browser comes to the front.
  size_t before = Settings.LogLines().size();
  SwitchPage(1);
  ASSERT_TRUE(WaitFor([&] { return Settings.LogLines().size() >= before + 2; }, 10000));
  auto lines = Settings.LogLines();
  EXPECT_EQ(std::vector<std::string>(lines.begin() + long(before), lines.end()),
            (std::vector<std::string>{"Browser Visible 1", "Flash Playing 0"}));

  // Faces / Sunny Smile: its page, then its package.
  HWND emoticons = VisibleTree();
  ASSERT_NE(emoticons, nullptr);
  ASSERT_NE(emoticons, winks);
  SendMessageA(emoticons, TVM_SELECTITEM, TVGN_CARET, LPARAM(NodeAt(emoticons, {0, 0})));
  std::string page = Base + "preview/emoticons/sunnysmile/sunnysmile.htm";
  ASSERT_TRUE(WaitFor([&] { return Logged("Browser Navigate " + page); }, 10000));
  Press("&Install");
  ASSERT_TRUE(WaitFor([&] { return Calls("Installer Stored").size() == 2; }, 15000));
  EXPECT_EQ(Calls("Installer InstallContent").back(),
            "Installer InstallContent " + Base + "setupcab/cabemoticons/sunnysmile.cab");
  EXPECT_TRUE(drellmark_testing::Exists(Winks + "sunnysmile.dat"));
  Shot("velloran-preview-emoticons.bmp");

  // Back to the winks: the last movie plays again.
  before = Settings.LogLines().size();
  SwitchPage(0);
  ASSERT_TRUE(WaitFor([&] { return Settings.LogLines().size() >= before + 2; }, 10000));
  lines = Settings.LogLines();
  EXPECT_EQ(std::vector<std::string>(lines.begin() + long(before), lines.end()),
            (std::vector<std::string>{"Browser Visible 0", "Flash Play"}));
  EXPECT_EQ(Calls("Flash Movie").size(), 1u);

  // Exit frees the main window with its viewers and lets go of the installer.
  Press("E&xit");
  EXPECT_TRUE(velloran.Ended(15000));
  for (const char* line : {"Installer Released", "Flash Released", "Browser Released"})
    EXPECT_TRUE(Logged(line)) << line;
}

TEST_F(PreviewProgram, OfflineInstallShowsItsBoxAndInstallsNothing) {
  Settings.SetDword("Messenger Status", 1);
  TProgram velloran(VELLORAN_EXE);
  Main = WaitForTopWindow(velloran.Pid(), "Tfrm_Main", 60000);
  ASSERT_NE(Main, nullptr);
  HWND winks = VisibleTree();
  ASSERT_NE(winks, nullptr);
  SendMessageA(winks, TVM_SELECTITEM, TVGN_CARET, LPARAM(NodeAt(winks, {1, 1})));  // Fun / Disco Dance
  ASSERT_TRUE(WaitFor([&] { return Logged("Flash Movie " + Base + "preview/winks/discodance.swf"); }, 10000));

  Press("&Install");
  HWND box = velloran_testing::WaitForBox(velloran.Pid(), "Information", 15000);
  velloran_testing::TBoxSeen seen = velloran_testing::ReadBox(box);
  ASSERT_TRUE(seen.Found);
  EXPECT_EQ(seen.Text, "Please logged on to a MSN Messenger!");
  EXPECT_EQ(seen.Buttons, std::vector<std::string>{"OK"});
  velloran_testing::PressOk(box);
  // The first reading already said offline.
  EXPECT_EQ(Calls("Messenger MyStatus").size(), 1u);
  EXPECT_TRUE(Calls("Installer").empty());
  EXPECT_FALSE(drellmark_testing::Exists(Winks + "discodance.dat"));

  Press("E&xit");
  EXPECT_TRUE(velloran.Ended(15000));
}

}  // namespace
