// The menus test form, read from its form description resource: a main menu with sub-menus and
// checked, radio, disabled, hidden, default, shortcut and image items, a popup menu on a panel, and
// a tool bar showing a menu of its own. Its handlers record what reached them.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "DesktopTesting.h"
#include "tk/ComCtrls.h"
#include "tk/ExtCtrls.h"
#include "tk/FormReader.h"
#include "tk/Forms.h"
#include "tk/ImgList.h"
#include "tk/Menus.h"

class TMenusTestForm : public TForm {
 public:
  TK_CLASS(TMenusTestForm, TForm)
  explicit TMenusTestForm(TComponent* AOwner) : TForm(AOwner) {
    static const bool registered = (Register(), true);
    (void)registered;
    ReadComponentRes(this);
  }
  TToolBar* ToolBar1 = nullptr;
  TPanel* Panel1 = nullptr;
  TImageList* Images = nullptr;
  TMainMenu *MainMenu1 = nullptr, *ToolMenu = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem *File1 = nullptr, *Open1 = nullptr, *Sep1 = nullptr, *Wrap1 = nullptr, *Hidden1 = nullptr,
            *Locked1 = nullptr, *View1 = nullptr, *Small1 = nullptr, *Large1 = nullptr, *More1 = nullptr,
            *Deep1 = nullptr, *Help1 = nullptr, *Copy1 = nullptr, *Paste1 = nullptr, *Tools1 = nullptr,
            *Options1 = nullptr;
  // The items clicked and measured by the form's own handlers, by name.
  std::vector<std::string> Clicked, Measured;

  void ItemClick(TObject* Sender) { Clicked.push_back(static_cast<TComponent*>(Sender)->Name()); }
  void OwnMeasure(TObject* Sender, TCanvas*, int& Width, int&) {
    Measured.push_back(static_cast<TComponent*>(Sender)->Name());
    Width += 1000;
  }

 private:
  static void Register() {
    Published<TMenusTestForm>()
        .Field("ToolBar1", &TMenusTestForm::ToolBar1)
        .Field("Panel1", &TMenusTestForm::Panel1)
        .Field("Images", &TMenusTestForm::Images)
        .Field("MainMenu1", &TMenusTestForm::MainMenu1)
        .Field("ToolMenu", &TMenusTestForm::ToolMenu)
        .Field("PopupMenu1", &TMenusTestForm::PopupMenu1)
        .Field("File1", &TMenusTestForm::File1)
        .Field("Open1", &TMenusTestForm::Open1)
        .Field("Sep1", &TMenusTestForm::Sep1)
        .Field("Wrap1", &TMenusTestForm::Wrap1)
        .Field("Hidden1", &TMenusTestForm::Hidden1)
        .Field("Locked1", &TMenusTestForm::Locked1)
        .Field("View1", &TMenusTestForm::View1)
        .Field("Small1", &TMenusTestForm::Small1)
        .Field("Large1", &TMenusTestForm::Large1)
        .Field("More1", &TMenusTestForm::More1)
        .Field("Deep1", &TMenusTestForm::Deep1)
        .Field("Help1", &TMenusTestForm::Help1)
        .Field("Copy1", &TMenusTestForm::Copy1)
        .Field("Paste1", &TMenusTestForm::Paste1)
        .Field("Tools1", &TMenusTestForm::Tools1)
        .Field("Options1", &TMenusTestForm::Options1)
        .Method("ItemClick", &TMenusTestForm::ItemClick)
        .Method("OwnMeasure", &TMenusTestForm::OwnMeasure);
  }
};

namespace menustest {

// A 16 x 16 image of one colour for the form's image list.
inline void AddImage(TImageList* List, TColor Colour) {
  TBitmap image(16, 16);
  image.Canvas()->Brush()->SetColor(Colour);
  image.Canvas()->FillRect(RECT{0, 0, 16, 16});
  List->AddMasked(&image, clFuchsia);
}

// The entry of the system menu at a position: its type, state, identifier, sub-menu and text.
struct TEntry {
  UINT Type = 0, State = 0, ID = 0;
  HMENU SubMenu = nullptr;
  std::string Text;
};
inline TEntry Entry(HMENU Menu, int Position) {
  char text[128] = "";
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
  info.dwTypeData = text;
  info.cch = sizeof text;
  GetMenuItemInfoA(Menu, UINT(Position), TRUE, &info);
  return {info.fType, info.fState, info.wID, info.hSubMenu, (info.fType & MFT_OWNERDRAW) ? "" : text};
}

// The open popup menu window, or none.
inline HWND OpenMenuWindow() { return ThreadMenuWindow(); }

// Runs Steps, one per timer tick while a menu of this thread is open, then closes it; returns
// once the menu has closed or after a few seconds. Start opens the menu (and may not return
// before it closes).
inline std::vector<std::function<void()>>& PendingSteps() {
  static std::vector<std::function<void()>> steps;
  return steps;
}
inline void CALLBACK StepTick(HWND, UINT, UINT_PTR id, DWORD) {
  auto& steps = PendingSteps();
  if (steps.empty()) {
    KillTimer(nullptr, id);
    EndMenu();
    return;
  }
  auto step = std::move(steps.front());
  steps.erase(steps.begin());
  step();
}
inline bool RunMenu(const std::function<void()>& Start, std::vector<std::function<void()>> Steps) {
  PendingSteps() = std::move(Steps);
  UINT_PTR timer = SetTimer(nullptr, 0, 150, StepTick);
  Start();
  auto pump = [](DWORD Ms, bool UntilDone) {
    const DWORD until = GetTickCount() + Ms;
    MSG msg;
    while (GetTickCount() < until && !(UntilDone && PendingSteps().empty())) {
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      Sleep(5);
    }
  };
  pump(8000, true);
  const bool done = PendingSteps().empty();
  // What the last step posted is handled; a menu still open is closed.
  pump(300, false);
  KillTimer(nullptr, timer);
  if (OpenMenuWindow()) EndMenu();
  pump(100, false);
  PendingSteps().clear();
  return done;
}

}  // namespace menustest
