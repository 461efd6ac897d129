// The real Velloran.exe under Wine against the content server, driven from outside: start-up with
// its splash and trees (a screenshot of the main window is kept in the build folder), its one
// taskbar entry, minimised and restored, the second instance refused, Exit, a new start once the
// first has ended, and the failed probe.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/ProgramTesting.h"
#include "tests/unit/ContentServer.h"
#include "tests/unit/VelloranTesting.h"
#include "tk/Graphics.h"

namespace {

using namespace velloran_testing;
using namespace program_testing;

// Velloran, pointed at the content server at base.
struct TVelloran : TProgram {
  explicit TVelloran(const std::string& base) : TProgram(VELLORAN_EXE, {{"VELLORAN_SERVER_BASE", base}}) {}
};

}  // namespace

TEST(VelloranProgram, StartsWithItsTreesRefusesASecondInstanceAndEndsOnExit) {
  {
    TVelloran first(contentserver::Base());
    HWND main = WaitForTopWindow(first.Pid(), "Tfrm_Main", 60000);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(main), "Velloran");
    // The splash is gone once the main window is up.
    EXPECT_EQ(TopWindow(first.Pid(), "Tfrm_Flash", false), nullptr);
    ExpectOneTaskbarEntry(first.Pid(), "Corvanel");
    MinimiseAndRestore(first.Pid(), main);

    // Both trees are filled from the sample lists: 14 winks nodes, 10 emoticons nodes.
    std::vector<LRESULT> counts;
    for (HWND tree : Children(main, "TTreeView")) counts.push_back(SendMessageA(tree, TVM_GETCOUNT, 0, 0));
    std::sort(counts.begin(), counts.end());
    EXPECT_EQ(counts, (std::vector<LRESULT>{10, 14}));

    Sleep(500);  // let it finish painting
    std::string dir = WinPath(VELLORAN_SCREENSHOT_DIR);
    CreateDirectoryA(dir.c_str(), nullptr);
    EXPECT_GT(Screenshot(main, dir + "/velloran-main.bmp"), 4);

    // About: the box comes up modal over the main window and closes like OK.
    std::vector<HWND> buttons = Children(main, "TBitBtn");
    auto button = [&](const std::string& caption) {
      auto b = std::find_if(buttons.begin(), buttons.end(), [&](HWND w) { return WindowText(w) == caption; });
      return b == buttons.end() ? nullptr : *b;
    };
    ASSERT_NE(button("&About"), nullptr);
    PostMessageA(button("&About"), BM_CLICK, 0, 0);
    HWND about = WaitForTopWindow(first.Pid(), "Tfrm_About", 15000);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(WindowText(about), "Abount Velloran");
    EXPECT_FALSE(IsWindowEnabled(main));
    Sleep(300);
    EXPECT_GT(Screenshot(about, dir + "/velloran-about.bmp"), 4);
    PostMessageA(about, WM_CLOSE, 0, 0);
    for (int i = 0; i < 500 && TopWindow(first.Pid(), "Tfrm_About", false); ++i) Sleep(20);
    EXPECT_EQ(TopWindow(first.Pid(), "Tfrm_About", false), nullptr);  // freed
    EXPECT_TRUE(IsWindowEnabled(main));

    // A second start under the same logon: the box, then the end, without a window of its own.
    {
      TVelloran second(contentserver::Base());
      HWND box = WaitForBox(second.Pid(), "Information", 30000);
      TBoxSeen seen = ReadBox(box);
      ASSERT_TRUE(seen.Found);
      EXPECT_EQ(seen.Text, "Corvanel is Already Run!");
      EXPECT_EQ(seen.Buttons, std::vector<std::string>{"OK"});
      EXPECT_EQ(TopWindow(second.Pid(), "Tfrm_Main", false), nullptr);
      EXPECT_EQ(TopWindow(second.Pid(), "Tfrm_Flash", false), nullptr);
      PressOk(box);
      EXPECT_TRUE(second.Ended(15000));
    }
    EXPECT_FALSE(first.Ended(0));

    // Exit closes the main window, which ends the program.
    ASSERT_NE(button("E&xit"), nullptr);
    PostMessageA(button("E&xit"), BM_CLICK, 0, 0);
    EXPECT_TRUE(first.Ended(15000));
  }
  // The mutex went with the first instance: a new start succeeds.
  TVelloran again(contentserver::Base());
  HWND main = WaitForTopWindow(again.Pid(), "Tfrm_Main", 60000);
  ASSERT_NE(main, nullptr);
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(again.Ended(15000));
}

TEST(VelloranProgram, FailedProbeShowsItsBoxOverTheSplashAndEnds) {
  TVelloran program("http://127.0.0.1:" + std::to_string(contentserver::RefusePort()) + "/");
  HWND box = WaitForBox(program.Pid(), "Information", 60000);
  TBoxSeen seen = ReadBox(box);
  ASSERT_TRUE(seen.Found);
  EXPECT_EQ(seen.Text, "Can not get update list,please try later!");
  EXPECT_EQ(seen.Buttons, std::vector<std::string>{"OK"});
  HWND splash = TopWindow(program.Pid(), "Tfrm_Flash", true);
  ASSERT_NE(splash, nullptr);
  EXPECT_TRUE(GetWindowLongA(splash, GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(splash, nullptr, &alpha, &flags));
  EXPECT_TRUE(flags & LWA_ALPHA);
  EXPECT_EQ(alpha, 220);
  RECT client;
  GetClientRect(splash, &client);
  EXPECT_EQ(client.right, 498);
  EXPECT_EQ(client.bottom, 281);
  PressOk(box);
  EXPECT_TRUE(program.Ended(15000));
  DWORD code = 1;
  GetExitCodeProcess(program.Info.hProcess, &code);
  EXPECT_EQ(code, 0u);
}

TEST(VelloranProgram, SplashKeepsAnsweringWhileTheListsTrickleIn) {
  // Each of the three requests takes about two seconds.
  TVelloran program(contentserver::Base() + "~trickle=200/");
  HWND splash = WaitForTopWindow(program.Pid(), "Tfrm_Flash", 30000);
  ASSERT_NE(splash, nullptr);
  // The splash has no taskbar entry of its own.
  ExpectOneTaskbarEntry(program.Pid(), "Corvanel");
  int answered = 0;
  while (!TopWindow(program.Pid(), "Tfrm_Main", true) && IsWindow(splash)) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(splash, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 250, &result)) ++answered;
    Sleep(100);
  }
  EXPECT_GT(answered, 10);  // the GUI thread dispatched all along
  HWND main = WaitForTopWindow(program.Pid(), "Tfrm_Main", 60000);
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(IsWindow(splash));
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.Ended(15000));
}
