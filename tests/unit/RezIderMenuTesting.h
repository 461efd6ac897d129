// Helpers of the popup menu and menu item tests: the solid-colour test skin loaded into a skin
// component registered with a real manager, and a popup menu tracked from a test with a callback
// that runs while the menu is open.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SkinDrawTesting.h"
#include "SkinTesting.h"
#include "skin/RezIderData.h"
#include "skin/RezIderDlg.h"
#include "skin/RezIderMenu.h"

namespace menutest {

// Every picture of the test skin and its description, packed once.
inline const std::vector<uint8_t>& TestSkinArchive() {
  static const std::vector<uint8_t> archive = [] {
    const std::string folder = drawtest::TestSkinFolder();
    std::vector<TSkinEntry> entries;
    for (const testskin::TestPictureInfo& p : testskin::kTestPictures) {
      TMemoryStream s;
      s.LoadFromFile(folder + p.file);
      entries.push_back(TSkinEntry{p.file, std::vector<uint8_t>(s.Bytes().begin(), s.Bytes().end())});
    }
    TMemoryStream ini;
    ini.LoadFromFile(folder + "skin.ini");
    return skintest::Archive(std::string(ini.Bytes().begin(), ini.Bytes().end()), entries);
  }();
  return archive;
}

inline COLORREF Colour(int picture, int frame) { return testskin::TestSkinColour(picture, frame); }

// Runs While once the popup menu is open (from a thread timer the menu's own loop dispatches),
// then closes the menu. Other test programs on the same display can take the pointer or the
// foreground and close the menu before the timer comes; then the menu is opened again.
class TMenuRun {
 public:
  static bool Track(HMENU Menu, HWND Owner, std::function<void()> While, int x = 100, int y = 100) {
    for (int attempt = 0; attempt < 10; ++attempt) {
      Pending() = While;
      SetForegroundWindow(Owner);
      UINT_PTR timer = SetTimer(nullptr, 0, 20, &TMenuRun::Tick);
      TrackPopupMenu(Menu, TPM_LEFTALIGN | TPM_TOPALIGN, x, y, 0, Owner, nullptr);
      KillTimer(nullptr, timer);
      const bool ran = !Pending();
      Pending() = nullptr;
      if (ran) return true;
    }
    return false;
  }

 private:
  static std::function<void()>& Pending() {
    static std::function<void()> f;
    return f;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    std::function<void()> f = std::move(Pending());
    Pending() = nullptr;
    if (f) f();
    EndMenu();
  }
};

}  // namespace menutest

namespace menutest {

// A real manager with the test skin loaded into one main skin component, its hook catching popup
// menu windows; an owner window for the menus whose item requests go to OnMeasure and OnDraw.
class MenuFixture : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &MenuFixture::OwnerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SkinMenuTestOwner";
    RegisterClassA(&wc);
  }

  void SetUp() override {
    ASSERT_EQ(SkinManager, nullptr);
    SkinManagerLink(true);
    M = SkinManager;
    ASSERT_NE(M, nullptr);
    Data = std::make_unique<TSkinData>(nullptr);
    Data->SkinFormtype = sfMainform;
    ASSERT_TRUE(skintest::LoadArchive(*Data, TestSkinArchive()));
    M->AddSkinData(Data.get());
    M->Enabled = true;
    M->InstallHook();
    Owner = CreateWindowExA(0, "SkinMenuTestOwner", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 60, 40, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(Owner);
    Current = this;
  }

  void TearDown() override {
    Current = nullptr;
    delete SkinManager;
    SkinManager = nullptr;
    Data.reset();
    DestroyWindow(Owner);
    CurrentSkinPopup = nullptr;
  }

  static LRESULT CALLBACK OwnerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (Current && m == WM_MEASUREITEM && Current->OnMeasure) {
      Current->OnMeasure(reinterpret_cast<MEASUREITEMSTRUCT*>(l));
      return TRUE;
    }
    if (Current && m == WM_DRAWITEM && Current->OnDraw) {
      Current->OnDraw(reinterpret_cast<DRAWITEMSTRUCT*>(l));
      return TRUE;
    }
    return DefWindowProcA(h, m, w, l);
  }

  // The one popup window the manager has skinned while a menu is open.
  TRezIderPopMenu* OpenPopup() {
    EXPECT_EQ(M->Popups().size(), 1u);
    return M->Popups().empty() ? nullptr : M->Popups()[0];
  }

  TSkinManage* M = nullptr;
  std::unique_ptr<TSkinData> Data;
  HWND Owner = nullptr;
  std::function<void(MEASUREITEMSTRUCT*)> OnMeasure;
  std::function<void(DRAWITEMSTRUCT*)> OnDraw;
  static inline MenuFixture* Current = nullptr;
};

// A window's pixel read through its window DC.
inline COLORREF WindowPixel(HWND w, int x, int y) {
  HDC dc = GetWindowDC(w);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(w, dc);
  return c;
}

inline SIZE WindowSize(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// What the window prints (WM_PRINT with PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND) into a picture
// that starts out in Background.
inline std::unique_ptr<TBitmap> Printed(HWND w, COLORREF Background, WNDPROC Through = nullptr) {
  SIZE s = WindowSize(w);
  auto bmp = drawtest::Solid(s.cx, s.cy, Background);
  HDC dc = bmp->Canvas()->Handle();
  const WPARAM wp = reinterpret_cast<WPARAM>(dc);
  const LPARAM lp = PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND;
  if (Through)
    CallWindowProcA(Through, w, WM_PRINT, wp, lp);
  else
    SendMessageA(w, WM_PRINT, wp, lp);
  return bmp;
}

inline bool SamePictures(TBitmap& a, TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (PixelAt(a, x, y) != PixelAt(b, x, y)) return false;
  return true;
}

}  // namespace menutest
