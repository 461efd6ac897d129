// The real Drellmark.exe under Wine, driven from outside with window messages: a wink installed
// through the chat client's stand-in installer is listed, previewed through the stand-in expander
// and Flash player, and removed (a screenshot of the main window is kept in the build folder); a
// second instance is refused; the keeper starts while the previewer runs; an account value that is
// no text is reported and the keeper goes on; it has one taskbar entry, is minimised and restored
// whole, and its Exit frees its windows.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/ProgramTesting.h"
#include "tests/unit/ContentServer.h"
#include "tests/unit/DrellmarkTesting.h"
#include "tests/unit/standins_testing.h"

namespace {

using namespace program_testing;
using velloran_testing::PressOk;
using velloran_testing::ReadBox;
using velloran_testing::TBoxSeen;
using velloran_testing::WaitForBox;

// {F06608C7-1874-4EEA-B3B2-DF99EBB144B8}: the chat client's content installer.
const CLSID kContentInstaller = {
    0xF06608C7, 0x1874, 0x4EEA, {0xB3, 0xB2, 0xDF, 0x99, 0xEB, 0xB1, 0x44, 0xB8}};

uint32_t Hash(const std::string& account) {
  uint32_t h = 0;
  for (unsigned char c : account) h = h * 101u + c;
  return h;
}

std::string WinksFolderOf(const std::string& account) {
  char appData[MAX_PATH];
  SHGetSpecialFolderPathA(nullptr, appData, CSIDL_APPDATA, TRUE);
  return std::string(appData) + "\\Microsoft\\MSN Messenger\\" + std::to_string(Hash(account)) + "\\Winks3\\";
}

// Installs the package at url the way the previewer does: through the installer's install call.
HRESULT InstallThroughTheChatClient(const std::string& url) {
  standins_testing::ComApartment com;
  standins_testing::Ptr<IDispatch> installer;
  HRESULT hr =
      CoCreateInstance(kContentInstaller, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, installer.out());
  if (FAILED(hr)) return hr;
  std::wstring wide = standins_testing::Wide(url);
  return standins_testing::Call(installer.p, standins_testing::IdOf(installer.p, L"InstallContent"),
                                DISPATCH_METHOD, {standins_testing::Text(wide.c_str())});
}

int RowCount(HWND list) { return int(SendMessageA(list, LB_GETCOUNT, 0, 0)); }

std::string Narrow(const wchar_t* text) { return std::string(text, text + wcslen(text)); }

// Text of another process's window and rows, asked for in UTF-16, which is marshalled faithfully.
std::string Row(HWND list, int i) {
  wchar_t text[256] = L"";
  if (SendMessageW(list, LB_GETTEXTLEN, WPARAM(i), 0) >= 255) return "(too long)";
  SendMessageW(list, LB_GETTEXT, WPARAM(i), LPARAM(text));
  return Narrow(text);
}

std::string EditText(HWND edit) {
  wchar_t text[512] = L"";
  SendMessageW(edit, WM_GETTEXT, 511, LPARAM(text));
  return Narrow(text);
}

// Selects a row as a click would: the selection and the notification the list sends its parent.
void Select(HWND list, int row) {
  SendMessageA(list, LB_SETCURSEL, WPARAM(row), 0);
  SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE), LPARAM(list));
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 20, Sleep(20))
    if (condition()) return true;
  return condition();
}

struct KeeperFixture : ::testing::Test {
  standins_testing::OwnSettings Settings;
  drellmark_testing::MessengerValue Registry;
  std::string Account = "e2e-" + std::to_string(GetCurrentProcessId()) + "@example.com";
  std::string Folder = WinksFolderOf(Account);
  void TearDown() override {
    drellmark_testing::RemoveTree(Folder.substr(0, Folder.size() - strlen("Winks3\\")));
  }
  bool Logged(const std::string& line) const {
    auto lines = Settings.LogLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
};

TEST_F(KeeperFixture, AnInstalledWinkIsListedPreviewedAndRemoved) {
  // The chat client, signed in with the account it remembers, installs a wink from the server.
  Registry.SetString(Account);
  Settings.SetDword("Messenger Status", 2);
  ASSERT_EQ(InstallThroughTheChatClient(contentserver::Base() + "setupcab/cabwinks/bighug.cab"), S_OK);
  ASSERT_TRUE(drellmark_testing::Exists(Folder + "bighug.dat"));
  drellmark_testing::WriteFile(Folder + "map.dat", "the client's own map");

  TProgram keeper(DRELLMARK_EXE);
  // The account dialog is up at once, in front of the main window, pre-filled from the registry.
  HWND dialog = WaitForTopWindow(keeper.Pid(), "Tfrm_GetSummary", 60000);
  ASSERT_NE(dialog, nullptr);
  HWND main = TopWindow(keeper.Pid(), "Tfrm_Main", true);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(WindowText(main), "Drellmark");
  EXPECT_EQ(WindowText(dialog), "Input");
  std::vector<HWND> edits = Children(dialog, "TEdit");
  ASSERT_EQ(edits.size(), 1u);
  EXPECT_EQ(EditText(edits[0]), Account);
  EXPECT_FALSE(IsWindowEnabled(main));
  ExpectOneTaskbarEntry(keeper.Pid(), "Drellmark");
  HWND ok = Child(dialog, "TButton", "OK");
  ASSERT_NE(ok, nullptr);
  PostMessageA(ok, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(main) != FALSE; }, 10000));
  MinimiseAndRestore(keeper.Pid(), main);

  std::vector<HWND> lists = Children(main, "TCodeListBox");
  ASSERT_EQ(lists.size(), 1u);
  HWND list = lists[0];
  ASSERT_TRUE(WaitFor([&] { return RowCount(list) == 1; }, 15000));
  // map.dat is not listed but keeps its number in the search.
  std::string row = Row(list, 0);
  EXPECT_TRUE(row == "Winks1" || row == "Winks2") << row;

  // Preview: unpacked by the expander into the temporary folder, the movie handed to the player.
  Select(list, 0);
  ASSERT_TRUE(WaitFor([&] { return Logged("Flash Play"); }, 10000));
  auto lines = Settings.LogLines();
  auto movie = std::find_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.rfind("Flash Movie ", 0) == 0; });
  ASSERT_NE(movie, lines.end());
  EXPECT_EQ(movie->substr(movie->size() - strlen("\\bighug.swf")), "\\bighug.swf") << *movie;
  std::string unpacked = movie->substr(strlen("Flash Movie "));
  EXPECT_TRUE(drellmark_testing::Exists(unpacked));
  auto expand = std::find_if(lines.begin(), lines.end(),
                             [](const std::string& l) { return l.rfind("Expand ", 0) == 0; });
  ASSERT_NE(expand, lines.end());
  EXPECT_NE(expand->find(" -f:*.* "), std::string::npos) << *expand;

  Sleep(300);
  std::string dir = WinPath(DRELLMARK_SCREENSHOT_DIR);
  CreateDirectoryA(dir.c_str(), nullptr);
  EXPECT_GT(Screenshot(main, dir + "/drellmark-main.bmp"), 4);

  // Remove: the package goes at once, without a question, and the list is rebuilt.
  HWND remove = Child(main, "TBitBtn", "&Remove");
  ASSERT_NE(remove, nullptr);
  SendMessageA(list, LB_SETCURSEL, 0, 0);
  PostMessageA(remove, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return RowCount(list) == 0; }, 10000));
  EXPECT_FALSE(drellmark_testing::Exists(Folder + "bighug.dat"));
  EXPECT_TRUE(drellmark_testing::Exists(Folder + "map.dat"));
  drellmark_testing::RemoveTree(unpacked.substr(0, unpacked.find_last_of('\\')));

  // Exit frees the main window, its Flash player with it.
  HWND exit = Child(main, "TBitBtn", "E&xit");
  ASSERT_NE(exit, nullptr);
  PostMessageA(exit, BM_CLICK, 0, 0);
  EXPECT_TRUE(keeper.Ended(15000));
  EXPECT_TRUE(Logged("Flash Released"));
}

TEST_F(KeeperFixture, ASecondInstanceIsRefusedAndTheFirstRunsOnBesideThePreviewer) {
  TProgram previewer(VELLORAN_EXE, {{"VELLORAN_SERVER_BASE", contentserver::Base()}});
  HWND previewerMain = WaitForTopWindow(previewer.Pid(), "Tfrm_Main", 60000);
  ASSERT_NE(previewerMain, nullptr);
  {
    TProgram first(DRELLMARK_EXE);
    HWND dialog = WaitForTopWindow(first.Pid(), "Tfrm_GetSummary", 60000);
    ASSERT_NE(dialog, nullptr);
    {
      TProgram second(DRELLMARK_EXE);
      HWND box = WaitForBox(second.Pid(), "Information", 30000);
      TBoxSeen seen = ReadBox(box);
      ASSERT_TRUE(seen.Found);
      EXPECT_EQ(seen.Text, "Drellmark is Already Run!");
      EXPECT_EQ(seen.Buttons, std::vector<std::string>{"OK"});
      EXPECT_EQ(TopWindow(second.Pid(), "Tfrm_Main", false), nullptr);
      PressOk(box);
      EXPECT_TRUE(second.Ended(15000));
    }
    EXPECT_FALSE(first.Ended(0));
    // Cancel the dialog, then close the main window: the program ends.
    HWND cancel = Child(dialog, "TButton", "Cancel");
    ASSERT_NE(cancel, nullptr);
    PostMessageA(cancel, BM_CLICK, 0, 0);
    HWND main = TopWindow(first.Pid(), "Tfrm_Main", true);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(main) != FALSE; }, 10000));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(first.Ended(15000));
  }
  EXPECT_FALSE(previewer.Ended(0));
  PostMessageA(previewerMain, WM_CLOSE, 0, 0);
  EXPECT_TRUE(previewer.Ended(15000));
}

TEST_F(KeeperFixture, AnAccountValueThatIsNoTextIsReportedAndTheKeeperGoesOn) {
  const struct {
    DWORD Type;
    std::string Data;
  } values[] = {{REG_DWORD, std::string("\x2A\0\0\0", 4)},
                {REG_BINARY, "\x01\x02\x03"},
                {REG_MULTI_SZ, std::string("a@example.com\0\0", 15)}};
  for (const auto& value : values) {
    SCOPED_TRACE(value.Type);
    Registry.Set(value.Type, value.Data.data(), DWORD(value.Data.size()));
    TProgram keeper(DRELLMARK_EXE);
    // The failure reaches the general error report, and the account dialog does not open.
    HWND box = nullptr;
    WaitFor([&] { return (box = WaitForBox(keeper.Pid(), "Drellmark", 0)) || keeper.Ended(0); }, 60000);
    TBoxSeen seen = ReadBox(box);
    ASSERT_TRUE(seen.Found) << "the keeper ended without a report";
    EXPECT_EQ(seen.Text, "Invalid data type for 'User.NET Messenger Service'");
    EXPECT_EQ(seen.Buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(TopWindow(keeper.Pid(), "Tfrm_GetSummary", false), nullptr);
    PressOk(box);

    // The keeper goes on: its account button opens the dialog once the value is text again.
    HWND main = WaitForTopWindow(keeper.Pid(), "Tfrm_Main", 10000);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(main) != FALSE; }, 10000));
    Registry.SetString(Account);
    HWND account = Child(main, "TBitBtn", "MSN Account");
    ASSERT_NE(account, nullptr);
    PostMessageA(account, BM_CLICK, 0, 0);
    HWND dialog = WaitForTopWindow(keeper.Pid(), "Tfrm_GetSummary", 10000);
    ASSERT_NE(dialog, nullptr);
    std::vector<HWND> edits = Children(dialog, "TEdit");
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(EditText(edits[0]), Account);
    PostMessageA(Child(dialog, "TButton", "Cancel"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(main) != FALSE; }, 10000));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(keeper.Ended(15000));
  }
}

TEST_F(KeeperFixture, ThePreviewersManagerWinksButtonStartsTheKeeper) {
  ASSERT_EQ(TopWindow(0, "Tfrm_GetSummary", false), nullptr) << "no keeper runs before";
  TProgram previewer(VELLORAN_EXE, {{"VELLORAN_SERVER_BASE", contentserver::Base()}});
  HWND previewerMain = WaitForTopWindow(previewer.Pid(), "Tfrm_Main", 60000);
  ASSERT_NE(previewerMain, nullptr);
  HWND manager = Child(previewerMain, "TBitBtn", "&Manager Winks");
  ASSERT_NE(manager, nullptr);
  PostMessageA(manager, BM_CLICK, 0, 0);

  // The keeper, started by the shell from the previewer's folder, comes up with its account dialog.
  HWND dialog = WaitForTopWindow(0, "Tfrm_GetSummary", 60000);
  ASSERT_NE(dialog, nullptr);
  DWORD keeperPid = 0;
  GetWindowThreadProcessId(dialog, &keeperPid);
  EXPECT_NE(keeperPid, previewer.Pid());
  HANDLE keeper = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, keeperPid);
  ASSERT_NE(keeper, nullptr);
  HWND cancel = Child(dialog, "TButton", "Cancel");
  ASSERT_NE(cancel, nullptr);
  PostMessageA(cancel, BM_CLICK, 0, 0);
  HWND keeperMain = TopWindow(keeperPid, "Tfrm_Main", true);
  ASSERT_NE(keeperMain, nullptr);
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(keeperMain) != FALSE; }, 10000));
  PostMessageA(keeperMain, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(keeper, 15000) != WAIT_OBJECT_0) {
    ADD_FAILURE() << "the keeper did not end";
    TerminateProcess(keeper, 1);
  }
  CloseHandle(keeper);
  PostMessageA(previewerMain, WM_CLOSE, 0, 0);
  EXPECT_TRUE(previewer.Ended(15000));
}

}  // namespace
