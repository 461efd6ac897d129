// Helpers of the skinned form's tests: the solid-colour test skin loaded into a skin component,
// windows whose own procedure records what reaches it, and a fixture that skins them directly.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "DesktopTesting.h"
#include "GraphicsHelpers.h"
#include "SkinDrawTesting.h"
#include "SkinTesting.h"
#include "WinSubClassTesting.h"
#include "skin/RezIderData.h"
#include "skin/RezIderDlg.h"
#include "skin/RezIderFormImpl.h"
#include "skin/RezIderMenuBar.h"
#include "tk/ExtCtrls.h"
#include "tk/Forms.h"

namespace formtest {

using testskin::TestSkinColour;

// The test skin's geometry as the form measures it.
constexpr int kLeft = 3, kTop = 5, kRight = 3, kBottom = 3;

using ctltest::TCountingMethod;
using ctltest::TestSkinArchive;

// What reached the windows' own procedure: message and wParam.
struct TSeen {
  HWND Window;
  UINT Msg;
  WPARAM WParam;
};
inline std::vector<TSeen>& Seen() {
  static std::vector<TSeen> seen;
  return seen;
}
inline bool Reached(HWND w, UINT msg) {
  return std::any_of(Seen().begin(), Seen().end(),
                     [&](const TSeen& s) { return s.Window == w && s.Msg == msg; });
}
inline const TSeen* LastSeen(HWND w, UINT msg) {
  for (auto it = Seen().rbegin(); it != Seen().rend(); ++it)
    if (it->Window == w && it->Msg == msg) return &*it;
  return nullptr;
}

// The windows' own procedure: records, and keeps the system's modal loops (moving, menus,
// closing) out of the tests.
inline LRESULT CALLBACK RecordingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  Seen().push_back({h, m, w});
  switch (m) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_CLOSE:
    case WM_CONTEXTMENU:
      return 0;
    case WM_SYSCOMMAND:
      if ((w & 0xFFF0) == SC_KEYMENU || (w & 0xFFF0) == SC_CLOSE) return 0;
      break;
  }
  return DefWindowProcA(h, m, w, l);
}

constexpr const char* kClass = "RezIderFormTestWindow";
constexpr const char* kMessageClass = "TMessageForm";

inline void RegisterClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = RecordingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClass;
  RegisterClassA(&wc);
  wc.lpszClassName = kMessageClass;
  RegisterClassA(&wc);
}

inline void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

inline SIZE ClientSize(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  return {r.right, r.bottom};
}
inline SIZE WindowSize(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return {r.right - r.left, r.bottom - r.top};
}
inline LONG_PTR Proc(HWND w) { return GetWindowLongPtrA(w, GWLP_WNDPROC); }
inline DWORD Style(HWND w) { return DWORD(GetWindowLongA(w, GWL_STYLE)); }

// A screen point at window coordinates (x, y) of w.
inline LPARAM ScreenAt(HWND w, int x, int y) {
  RECT r{};
  GetWindowRect(w, &r);
  return MAKELPARAM(r.left + x, r.top + y);
}

// The colour of window pixel (x, y) as the screen shows it.
inline COLORREF WindowPixel(HWND w, int x, int y) {
  HDC dc = GetWindowDC(w);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(w, dc);
  return c;
}

inline COLORREF Colour(int picture, int frame) { return COLORREF(TestSkinColour(picture, frame)); }
inline COLORREF NamedColour(const char* key) {
  for (int k = 0; k < testskin::kTestColourCount; ++k)
    if (std::string(testskin::kTestColourKeys[k]) == key) return COLORREF(testskin::TestSkinNamedColour(k));
  return CLR_INVALID;
}

class FormTest : public testing::Test {
 protected:
  void SetUp() override {
    RegisterClasses();
    Seen().clear();
    FData = std::make_unique<TSkinData>(nullptr);
    ASSERT_TRUE(skintest::LoadArchive(*FData, TestSkinArchive()));
  }

  void TearDown() override {
    for (TRezIderFormImpl* f : FForms) delete f;
    for (HWND w : FWindows)
      if (IsWindow(w)) DestroyWindow(w);
    for (TComponent* c : FOwned) delete c;
    FData.reset();
    Pump();
  }

  HWND Window(const char* title = "Skinned", DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, int w = 300,
              int h = 200, HWND owner = nullptr, const char* cls = kClass) {
    HWND hwnd = CreateWindowExA(0, cls, title, style, 30, 30, w, h, owner, nullptr, GetModuleHandleA(nullptr),
                                nullptr);
    EXPECT_TRUE(hwnd);
    FWindows.push_back(hwnd);
    Pump();
    return hwnd;
  }

  // Takes a bare window over as the manager does; Activate also delivers the first activation.
  TRezIderFormImpl* Skin(HWND w, bool Activate = true) {
    auto* f = new TRezIderFormImpl(nullptr);
    FForms.push_back(f);
    f->FHandle = w;
    f->SkinForm(FData.get());
    if (Activate) {
      SendMessageA(w, WM_SKINACTIVATED, 0, SkinActivatedParam);
      Pump();
    }
    return f;
  }

  // Gives the window back and frees the object, as the manager's skin-off action does.
  void Unskin(TRezIderFormImpl* f) {
    f->UnskinForm();
    TRezIderForm::RepaintWindow(f->FHandle);
    FForms.erase(std::remove(FForms.begin(), FForms.end(), f), FForms.end());
    delete f;
  }

  TForm* Form(const char* caption) {
    auto* form = TCustomForm::Create<TForm>(nullptr);
    FOwned.insert(FOwned.begin(), form);
    form->SetBounds(60, 60, 240, 160);
    SetWindowTextA(form->Handle(), caption);
    form->Show();
    Pump();
    return form;
  }

  std::unique_ptr<TSkinData> FData;
  std::vector<TRezIderFormImpl*> FForms;
  std::vector<HWND> FWindows;
  std::vector<TComponent*> FOwned;
};

// A form test for skinned menu bars: the test skin's icon button reaches down over the bar's first
// item and would take its clicks, so it goes; no menu tracking is left behind.
class MenuFormTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    auto& b = FData->SysButtons;
    b.erase(std::remove_if(b.begin(), b.end(), [](auto& d) { return d->Action == 3 || d->Action == 11; }),
            b.end());
  }
  void TearDown() override {
    RemoveMenuFilterHook();
    MenuTrack.MenuTrackForm = nullptr;
    FormTest::TearDown();
  }

  // Runs the message-filter hook for one message of w, as a tracked menu's loop would; returns the
  // wParam the menu then sees.
  static WPARAM FilterMenuMessage(HWND w, UINT Msg, WPARAM wParam, LPARAM lParam, POINT Pt = {}) {
    MSG m{w, Msg, wParam, lParam, 0, Pt};
    MenuFilterHookProc(MSGF_MENU, 0, reinterpret_cast<LPARAM>(&m));
    return m.wParam;
  }

  // How many clicks were posted to the window, taken out of the queue.
  static int TakePostedClicks(HWND w) {
    int n = 0;
    MSG m;
    while (PeekMessageA(&m, w, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE)) ++n;
    return n;
  }

  // What the click posted to the form's window lands on, taken out of the queue; none without one.
  static TNCObject* PostedClick(TRezIderFormImpl* f) {
    MSG m;
    if (!PeekMessageA(&m, f->FHandle, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE)) return nullptr;
    return f->ObjectAtMessagePoint(m.lParam);
  }
};

}  // namespace formtest
