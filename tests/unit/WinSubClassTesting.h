// Helpers of the skinned-control tests: the solid-colour test skin loaded into a skin component,
// a form to put controls on, a control list standing in for the skinned form's, and pictures of
// what a skinned control paints.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SkinDrawTesting.h"
#include "SkinTesting.h"
#include "skin/RezIderData.h"
#include "skin/WinSubClass.h"
#include "tk/Forms.h"

namespace ctltest {

using testskin::TestSkinColour;

// The solid-colour test skin packed from its folder, its INI text changed by Edit first.
inline std::vector<uint8_t> PackTestSkin(const std::function<std::string(std::string)>& Edit = nullptr) {
  std::string folder = drawtest::TestSkinFolder();
  std::vector<TSkinEntry> entries;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "*.bmp").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      TMemoryStream s;
      s.LoadFromFile(folder + found.cFileName);
      entries.push_back(
          TSkinEntry{found.cFileName, std::vector<uint8_t>(s.Bytes().begin(), s.Bytes().end())});
    } while (FindNextFileA(h, &found));
    FindClose(h);
  }
  TMemoryStream ini;
  ini.LoadFromFile(folder + "skin.ini");
  std::string text(ini.Bytes().begin(), ini.Bytes().end());
  return skintest::Archive(Edit ? Edit(text) : text, entries);
}

// The solid-colour test skin, packed once.
inline const std::vector<uint8_t>& TestSkinArchive() {
  static std::vector<uint8_t> archive = PackTestSkin();
  return archive;
}

// Someone else's message method, set over a control's: passes everything on to the one it was set
// over and counts the messages of one kind that reach it.
struct TCountingMethod {
  TWndMethod Next;
  UINT Counted;
  int Count = 0;
  void Handle(TMessage& m) {
    if (m.Msg == Counted) ++Count;
    Next(m);
  }
  TWndMethod Method() { return MakeWndMethod<&TCountingMethod::Handle>(this); }
};

// The skinned form's control list as the controls see it.
class THost : public TSkinControlHost {
 public:
  ~THost() = default;
  bool Lists(TSkinControl* c) const { return FControls.IndexOf(c) >= 0; }
};

inline COLORREF Rgb(uint32_t c) { return COLORREF(c); }
inline COLORREF Frame(int picture, int frame) { return COLORREF(TestSkinColour(picture, frame)); }
// The "Colours" value of key k of the test skin (ButtonFace is 1, ButtonShadow 11).
inline COLORREF Named(int k) { return COLORREF(testskin::TestSkinNamedColour(k)); }
constexpr int kButtonFace = 1, kButtonText = 8, kButtonShadow = 11, kButtonDkShadow = 12;

inline void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// A picture of the window's size filled with Background.
inline std::unique_ptr<TBitmap> Blank(HWND wnd, COLORREF Background) {
  RECT r{};
  GetWindowRect(wnd, &r);
  auto bmp = std::make_unique<TBitmap>(r.right - r.left, r.bottom - r.top);
  HBRUSH b = CreateSolidBrush(Background);
  RECT all{0, 0, r.right - r.left, r.bottom - r.top};
  FillRect(bmp->Canvas()->Handle(), &all, b);
  DeleteObject(b);
  return bmp;
}

// What the skinned control paints, drawn into a blank picture of Background first, so that what it
// leaves alone shows.
inline std::unique_ptr<TBitmap> Painted(TSkinControl* skin, HWND wnd, COLORREF Background) {
  auto bmp = Blank(wnd, Background);
  skin->PaintFrame(bmp->Canvas()->Handle());
  return bmp;
}

// A test with the test skin loaded, a shown form for controls and a control list.
class SkinControlTest : public testing::Test {
 protected:
  void SetUp() override {
    Data = std::make_unique<TSkinData>(nullptr);
    ASSERT_TRUE(skintest::LoadArchive(*Data, TestSkinArchive()));
    Form = TCustomForm::Create<TForm>(nullptr);
    Form->SetBounds(20, 20, 300, 220);
    Form->Show();
  }
  void TearDown() override {
    Host.FreeControls();
    delete Form;
    Data.reset();
    Pump();
  }

  template <class T>
  T* Make(TWinControl* parent, int x, int y, int w, int h) {
    auto* c = new T(Form);
    c->SetParent(parent ? parent : Form);
    c->SetBounds(x, y, w, h);
    return c;
  }

  // A bare child window of the form, of a system class, given back with the form.
  HWND Child(const char* cls, DWORD style, int x, int y, int w, int h, const char* text = "") {
    HWND wnd = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, Form->Handle(),
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_TRUE(wnd) << cls;
    return wnd;
  }
  // A skin object of class T taking the bare window over, listed with the test's control list.
  template <class T>
  T* SkinBare(HWND wnd) {
    auto* skin = new T(nullptr);
    skin->SkinHandle(wnd, Data.get(), &FormCanvas, &Host);
    return skin;
  }

  // What the skinned control paints, drawn into a picture of its window's size.
  std::unique_ptr<TBitmap> Picture(TSkinControl* skin, HWND wnd) {
    return Painted(skin, wnd, RGB(255, 255, 255));
  }

  // Holder's skinned up-down child goes and Make makes another, twice: once the form has freed the
  // gone window's object, once while that object still waits for the purge. Painted, Holder skins
  // each new window with a new object.
  template <class T>
  void ExpectEachNewUpDownSkinnedAnew(T* Holder, const std::function<HWND()>& Make) {
    ASSERT_NE(Holder->FUpDown, nullptr);
    DestroyWindow(Holder->FUpDown->FHandle);
    delete Holder->FUpDown;
    ASSERT_EQ(Holder->FUpDown, nullptr);
    HWND again = Make();
    Picture(Holder, Holder->FHandle);
    ASSERT_NE(Holder->FUpDown, nullptr);
    EXPECT_EQ(Holder->FUpDown->FHandle, again);
    EXPECT_TRUE(Host.Lists(Holder->FUpDown));
    auto* waiting = Holder->FUpDown;
    DestroyWindow(again);
    ASSERT_EQ(waiting->FSkinState, scsGone);
    HWND third = Make();
    Picture(Holder, Holder->FHandle);
    ASSERT_NE(Holder->FUpDown, nullptr);
    EXPECT_NE(Holder->FUpDown, waiting);
    EXPECT_EQ(Holder->FUpDown->FHandle, third);
  }

  std::unique_ptr<TSkinData> Data;
  TForm* Form = nullptr;
  THost Host;
  TCanvas FormCanvas;
};

}  // namespace ctltest
