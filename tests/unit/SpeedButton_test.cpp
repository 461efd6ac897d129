// The toolkit's speed button: a control without a window that its parent paints and forwards the
// mouse to; clicks on release, and a grouped one stays down until another of its group goes down.
#include <gtest/gtest.h>

#include "GraphicsHelpers.h"
#include "tk/Buttons.h"
#include "tk/Forms.h"

namespace {

class SpeedButtonTest : public testing::Test {
 protected:
  void SetUp() override {
    Form = TCustomForm::Create<TForm>(nullptr);
    Form->SetBounds(30, 30, 240, 160);
    Form->Show();
  }
  void TearDown() override { delete Form; }
  TSpeedButton* Button(int x) {
    auto* b = new TSpeedButton(Form);
    b->SetParent(Form);
    b->SetBounds(x, 10, 40, 30);
    return b;
  }
  // A left click at the client point, through the form as the system would deliver it.
  void ClickAt(int x, int y) {
    SendMessageA(Form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(Form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  TForm* Form = nullptr;
};

TEST_F(SpeedButtonTest, ClicksOnReleaseInsideItself) {
  TSpeedButton* b = Button(10);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  ClickAt(20, 20);
  EXPECT_EQ(clicks, 1);
  SendMessageA(Form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  SendMessageA(Form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(200, 100));  // released outside
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(b->Down());  // without a group it never stays down
}

TEST_F(SpeedButtonTest, GroupedButtonsLatchOneAtATime) {
  TSpeedButton* a = Button(10);
  TSpeedButton* b = Button(60);
  TSpeedButton* other = Button(110);
  a->GroupIndex = b->GroupIndex = 1;
  other->GroupIndex = 2;
  other->SetDown(true);
  ClickAt(20, 20);
  EXPECT_TRUE(a->Down());
  ClickAt(70, 20);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  EXPECT_TRUE(other->Down());  // another group is left alone
}

TEST_F(SpeedButtonTest, PaintsItsGlyphAndSinksWhenDown) {
  TSpeedButton* b = Button(10);
  auto glyph = std::make_unique<TBitmap>(8, 8);
  glyph->Canvas()->Brush()->SetColor(RGB(0, 200, 0));
  glyph->Canvas()->FillRect(RECT{0, 0, 8, 8});
  glyph->Canvas()->SetPixels(0, 7, clWhite);  // the bottom-left colour is transparent
  b->SetGlyph(glyph.get());
  TBitmap up(40, 30);
  b->Perform(WM_PAINT, WPARAM(up.Canvas()->Handle()));
  EXPECT_EQ(PixelAt(up, 20, 15), RGB(0, 200, 0));
  b->GroupIndex = 3;
  b->SetDown(true);
  TBitmap down(40, 30);
  b->Perform(WM_PAINT, WPARAM(down.Canvas()->Handle()));
  EXPECT_NE(PixelAt(down, 0, 0), PixelAt(up, 0, 0));
}

}  // namespace
