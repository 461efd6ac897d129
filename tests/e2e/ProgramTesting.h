// Driving a real program of ours from outside: start it as a process, find its windows by class,
// and keep a picture of a window as it stands on the screen.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "tests/unit/TaskbarTesting.h"
#include "tests/unit/VelloranTesting.h"
#include "tk/Graphics.h"

namespace program_testing {

using velloran_testing::ClassOf;
using velloran_testing::WindowText;

// A host path as this Windows process sees it.
inline std::string WinPath(const std::string& host) { return host.rfind("/", 0) == 0 ? "Z:" + host : host; }

// The program started in its own folder, with Environment's variables set for it alone; ended by
// force if it is still running at the end.
struct TProgram {
  PROCESS_INFORMATION Info{};
  explicit TProgram(const std::string& hostExe,
                    const std::vector<std::pair<std::string, std::string>>& Environment = {}) {
    for (const auto& [name, value] : Environment) SetEnvironmentVariableA(name.c_str(), value.c_str());
    std::string exe = WinPath(hostExe);
    std::string dir = exe.substr(0, exe.find_last_of("/\\"));
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string cmd = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si,
                        &Info))
      ADD_FAILURE() << "cannot start " << exe << ": " << GetLastError();
    for (const auto& [name, value] : Environment) SetEnvironmentVariableA(name.c_str(), nullptr);
  }
  ~TProgram() {
    if (!Info.hProcess) return;
    if (WaitForSingleObject(Info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(Info.hProcess, 1);
    WaitForSingleObject(Info.hProcess, 5000);
    CloseHandle(Info.hProcess);
    CloseHandle(Info.hThread);
  }
  TProgram(const TProgram&) = delete;
  TProgram& operator=(const TProgram&) = delete;
  bool Ended(int timeoutMs) const {
    return WaitForSingleObject(Info.hProcess, DWORD(timeoutMs)) == WAIT_OBJECT_0;
  }
  DWORD Pid() const { return Info.dwProcessId; }
};

struct TFindWindow {
  DWORD Pid;
  std::string Class;
  bool VisibleOnly;
  HWND Found = nullptr;
};

inline BOOL CALLBACK FindWindowProc(HWND wnd, LPARAM lp) {
  auto* f = reinterpret_cast<TFindWindow*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  if ((f->Pid == 0 || pid == f->Pid) && ClassOf(wnd) == f->Class &&
      (!f->VisibleOnly || IsWindowVisible(wnd))) {
    f->Found = wnd;
    return FALSE;
  }
  return TRUE;
}

// The top-level window of class cls of process pid (of any process when pid is 0), or nullptr.
inline HWND TopWindow(DWORD pid, const std::string& cls, bool visibleOnly) {
  TFindWindow f{pid, cls, visibleOnly};
  EnumWindows(FindWindowProc, reinterpret_cast<LPARAM>(&f));
  return f.Found;
}

// The window once it is up: visible with nothing left to paint (a skinned window shown a moment ago
// is held from painting, and not visible, until its frame is sized).
inline HWND WaitForTopWindow(DWORD pid, const std::string& cls, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 20, Sleep(20))
    if (HWND w = TopWindow(pid, cls, true); w && !GetUpdateRect(w, nullptr, FALSE)) return w;
  return nullptr;
}

using TChildSearch = std::pair<std::string, std::vector<HWND>>;

inline BOOL CALLBACK CollectChild(HWND wnd, LPARAM lp) {
  auto* search = reinterpret_cast<TChildSearch*>(lp);
  if (ClassOf(wnd) == search->first) search->second.push_back(wnd);
  return TRUE;
}

// Every window of class cls below parent.
inline std::vector<HWND> Children(HWND parent, const std::string& cls) {
  TChildSearch search{cls, {}};
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&search));
  return search.second;
}

// The child of class cls below parent whose text is text, or nullptr.
inline HWND Child(HWND parent, const std::string& cls, const std::string& text) {
  for (HWND w : Children(parent, cls))
    if (WindowText(w) == text) return w;
  return nullptr;
}

// The program's one taskbar entry is its application window, titled title; its other windows have
// none.
inline void ExpectOneTaskbarEntry(DWORD pid, const std::string& title) {
  std::vector<HWND> entries = taskbar_testing::TaskbarWindows(pid);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(ClassOf(entries[0]), "TApplication");
  EXPECT_EQ(WindowText(entries[0]), title);
}

// Minimises the program from its main window (as its caption button and system menu ask), checks
// that every window of the program went with it, restores it from the taskbar entry and checks they
// all came back.
inline void MinimiseAndRestore(DWORD pid, HWND main) {
  HWND app = TopWindow(pid, "TApplication", true);
  ASSERT_NE(app, nullptr);
  std::vector<HWND> shown;
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid && w != app && IsWindowVisible(w)) shown.push_back(w);
  }
  ASSERT_FALSE(shown.empty());
  auto all = [&](bool visible) {
    return std::all_of(shown.begin(), shown.end(),
                       [&](HWND w) { return bool(IsWindowVisible(w)) == visible; });
  };
  PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  for (int i = 0; i < 500 && !(IsIconic(app) && all(false)); ++i) Sleep(20);
  EXPECT_TRUE(IsIconic(app));
  EXPECT_TRUE(all(false));
  // What the taskbar entry asks for when it is clicked.
  PostMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0);
  for (int i = 0; i < 500 && !(!IsIconic(app) && all(true)); ++i) Sleep(20);
  EXPECT_FALSE(IsIconic(app));
  EXPECT_TRUE(all(true));
}

// The window as it is on the screen, saved as a bitmap file; answers the number of distinct colours.
inline int Screenshot(HWND wnd, const std::string& file) {
  RECT r;
  GetWindowRect(wnd, &r);
  TBitmap shot(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.Canvas()->Handle(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  std::vector<TColor> colours;
  for (int y = 0; y < shot.Height(); y += 3)
    for (int x = 0; x < shot.Width(); x += 3) colours.push_back(shot.Canvas()->Pixels(x, y));
  std::sort(colours.begin(), colours.end());
  TMemoryStream data;
  shot.SaveToStream(&data);
  data.SaveToFile(file);
  return int(std::unique(colours.begin(), colours.end()) - colours.begin());
}

}  // namespace program_testing
