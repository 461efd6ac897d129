// The windows both programs share: the about box with each program's texts, its mail link, and
// the information box read back from the live window.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "tests/unit/VelloranTesting.h"
#include "velloran/Uni_About.h"
#include "velloran/Uni_Function.h"
#include "velloran/Uni_Main.h"

namespace {

using velloran_testing::ReadOwnBoxWhile;

// A visible about box among a thread's windows.
BOOL CALLBACK FindAbout(HWND w, LPARAM found) {
  if (velloran_testing::ClassOf(w) != "Tfrm_About" || !IsWindowVisible(w)) return TRUE;
  *reinterpret_cast<HWND*>(found) = w;
  return FALSE;
}

class AboutBox : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterVelloranClasses(); }
  velloran_testing::TShellRecorder shell;
  std::unique_ptr<Tfrm_About> Open(TAboutProgram program) {
    std::unique_ptr<Tfrm_About> box(new Tfrm_About(Application, program));
    box->AfterConstruction();
    return box;
  }
  // Moves the mouse over the box's client point (x, y), as the system would tell the window.
  static void MouseAt(Tfrm_About* box, int x, int y) {
    SendMessageA(box->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  }
  static bool Underlined(Tfrm_About* box) { return (box->Label9->Font()->Style() & fsUnderline) != 0; }
};

}  // namespace

TEST_F(AboutBox, VelloranTextsAndLayout) {
  auto box = Open(apVelloran);
  EXPECT_EQ(box->Name(), "frm_About");
  EXPECT_EQ(box->Caption(), "Abount Velloran");
  EXPECT_EQ(box->Label3->Caption(), "Velloran");
  EXPECT_EQ(box->Label4->Caption(), "Version:2.0(Build 11.8)");
  EXPECT_EQ(box->Label2->Caption(),
            "    Corvanel is a program that allows you to preview and \r\n"
            "install additional Winks,preview and remove the winks that you didn't like.");
  EXPECT_EQ(box->Label8->Caption(), "Technical Support :");
  EXPECT_EQ(box->Label9->Caption(), SupportMail);
  EXPECT_EQ(box->Label9->Hint, SupportMail);
  EXPECT_FALSE(Underlined(box.get()));
  EXPECT_EQ(box->Label9->Font()->Color(), clBlue);
  EXPECT_EQ(box->Label9->Cursor, crHandPoint);
  EXPECT_EQ(box->Label3->Font()->Height(), -19);

  RECT client;
  GetClientRect(box->Handle(), &client);
  EXPECT_EQ(client.right, 386);
  EXPECT_EQ(client.bottom, 201);
  LONG ex = GetWindowLongA(box->Handle(), GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_DLGMODALFRAME);
  EXPECT_EQ(box->Image1->Picture()->Width(), 100);
  EXPECT_EQ(box->Image1->Picture()->Height(), 80);
  EXPECT_EQ(box->btnOK->Caption(), "OK");
  EXPECT_TRUE(box->btnOK->Default());
  EXPECT_EQ(box->btnOK->ModalResult, mrOk);
  RECT ok = box->btnOK->BoundsRect();
  EXPECT_EQ(ok.left, 280);
  EXPECT_EQ(ok.top, 173);
  EXPECT_EQ(ok.right - ok.left, 95);
  EXPECT_EQ(ok.bottom - ok.top, 25);
}

TEST_F(AboutBox, DrellmarkTextsWithTheAddressUnderlinedFromTheStart) {
  auto box = Open(apDrellmark);
  EXPECT_EQ(box->Caption(), "Drellmark");
  EXPECT_EQ(box->Label3->Caption(), "Drellmark");
  EXPECT_EQ(box->Label4->Caption(), "Version:1.8(Build 11.8)");
  EXPECT_EQ(box->Label2->Caption(),
            "    Drellmark is a program that allows you to preview and \r\n"
            "remove the winks that you didn't like.");
  EXPECT_EQ(box->Label8->Caption(), "Support Mail:");
  EXPECT_TRUE(Underlined(box.get()));
}

TEST_F(AboutBox, AddressUnderlinedOnMouseMoveAndPlainAfterLeaving) {
  for (TAboutProgram program : {apVelloran, apDrellmark}) {
    auto box = Open(program);
    box->Show();
    TFontStyles before = box->Label9->Font()->Style() & ~fsUnderline;
    MouseAt(box.get(), box->Label9->Left() + 3, box->Label9->Top() + 3);
    EXPECT_TRUE(Underlined(box.get())) << program;
    MouseAt(box.get(), 300, 100);  // elsewhere on the box
    EXPECT_FALSE(Underlined(box.get())) << program;
    // No other style bit moves.
    EXPECT_EQ(box->Label9->Font()->Style(), before) << program;
    box->Hide();
  }
}

TEST_F(AboutBox, AddressClickOpensTheMailLinkOwnedByTheBox) {
  auto box = Open(apVelloran);
  box->Label9->Click();
  auto& calls = shell.Calls();
  ASSERT_EQ(calls.size(), 1u);
  const auto& c = calls[0];
  EXPECT_EQ(c.Owner, box->Handle());
  EXPECT_EQ(c.Verb, "open");
  EXPECT_EQ(c.File, std::string("mailto:") + SupportMail + "?subject=technical support");
  EXPECT_EQ(c.Parameters, "");
  EXPECT_EQ(c.Directory, "");
  EXPECT_EQ(c.Show, SW_SHOWNORMAL);
}

TEST_F(AboutBox, OkClosesTheModalBoxAndItIsFreed) {
  // A box that does not close fails the test (mrAbort) instead of hanging it.
  velloran_testing::TModalTimeout timeout(10000);
  auto box = Open(apVelloran);
  PostMessageA(box->btnOK->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(box->ShowModal(), mrOk);
  EXPECT_FALSE(IsWindowVisible(box->Handle()));
  box.reset();

  // The main window's command: a box of its own, shown modally and gone afterwards.
  int before = Screen->FormCount();
  // Only this thread's box: other tests may show theirs at the same time.
  std::thread closer([thread = GetCurrentThreadId()] {
    HWND about = nullptr;
    for (int i = 0; i < 500 && !about; ++i, Sleep(10)) EnumThreadWindows(thread, FindAbout, LPARAM(&about));
    if (about) PostMessageA(about, WM_CLOSE, 0, 0);
  });
  ShowAboutBox(apVelloran);
  closer.join();
  EXPECT_FALSE(timeout.Fired());
  EXPECT_EQ(Screen->FormCount(), before);
}

TEST(InformationBox, CaptionIconAndOnlyOk) {
  auto seen = ReadOwnBoxWhile("Information", [] { ShowInfo("Corvanel is Already Run!"); });
  ASSERT_TRUE(seen.Found);
  EXPECT_EQ(seen.Caption, "Information");
  EXPECT_EQ(seen.Text, "Corvanel is Already Run!");
  EXPECT_TRUE(seen.InformationIcon);
  ASSERT_EQ(seen.Buttons.size(), 1u);
  EXPECT_EQ(seen.Buttons[0], "OK");
}
