// Standard controls with real windows: buttons and modal results, edits, owner-drawn list rows,
// labels, panels and group boxes.
#include <gtest/gtest.h>

#include "FormFixture.h"
#include "tk/Buttons.h"
#include "tk/ExtCtrls.h"
#include "tk/Forms.h"
#include "tk/StdCtrls.h"

namespace {

class Tfrm_Std : public TForm {
 public:
  TK_CLASS(Tfrm_Std, TForm)
  using TForm::TForm;
};

std::string ClassOf(HWND wnd) {
  char cls[64] = "";
  GetClassNameA(wnd, cls, sizeof cls);
  return cls;
}

using StdFixture = FormFixture<Tfrm_Std>;

}  // namespace

TEST_F(StdFixture, WrappedSystemControlsUseTheirToolkitClassNames) {
  EXPECT_EQ(ClassOf(Add<TButton>(0, 0, 75, 25)->Handle()), "TButton");
  EXPECT_EQ(ClassOf(Add<TBitBtn>(0, 30, 75, 25)->Handle()), "TBitBtn");
  EXPECT_EQ(ClassOf(Add<TEdit>(0, 60, 75, 21)->Handle()), "TEdit");
  EXPECT_EQ(ClassOf(Add<TListBox>(100, 0, 75, 60)->Handle()), "TListBox");
  EXPECT_EQ(ClassOf(Add<TGroupBox>(100, 70, 75, 60)->Handle()), "TGroupBox");
  EXPECT_EQ(ClassOf(Add<TPanel>(200, 0, 75, 60)->Handle()), "TPanel");
  // The system control is still what answers: a list box takes list messages.
  auto* list = Add<TListBox>(200, 70, 75, 60);
  list->Items().Add("one");
  EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 1);
}

TEST_F(StdFixture, ButtonClickNotificationReachesOnClickThroughTheParent) {
  auto* b = Add<TButton>(10, 10, 75, 25);
  b->SetCaption("&Go");
  int clicks = 0;
  b->OnClick = [&](TObject* s) {
    EXPECT_EQ(s, b);
    ++clicks;
  };
  SendMessageA(b->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  // Alt+G reaches the button of a showing form as the dialog character.
  EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'g'), 0);
  Form->Show();
  EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'g'), 1);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'x'), 0);
}

TEST_F(StdFixture, ShowModalReturnsTheClickedButtonsModalResultAndDisablesTheOthers) {
  auto* other = TCustomForm::Create<Tfrm_Std>(nullptr);
  other->SetBounds(400, 40, 100, 80);
  other->Show();
  auto* ok = Add<TButton>(10, 10, 75, 25);
  ok->ModalResult = mrOk;
  ok->SetDefault(true);
  bool otherDisabledMeanwhile = false;
  ok->OnClick = [&](TObject*) { otherDisabledMeanwhile = !IsWindowEnabled(other->Handle()); };
  PostMessageA(ok->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(Form->ShowModal(), mrOk);
  EXPECT_TRUE(otherDisabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(other->Handle()));
  EXPECT_FALSE(IsWindowVisible(Form->Handle()));

  // Closing by the close command answers cancel; Escape presses the cancel button.
  PostMessageA(Form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Form->ShowModal(), mrCancel);
  auto* cancel = Add<TButton>(100, 10, 75, 25);
  cancel->Cancel = true;
  cancel->ModalResult = mrAbort;
  PostMessageA(cancel->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(Form->ShowModal(), mrAbort);
  delete other;
}

TEST_F(StdFixture, EditTakesCharCaseAndMaxLength) {
  auto* e = Add<TEdit>(10, 10, 100, 21);
  e->SetCharCase(ecLowerCase);
  e->SetMaxLength(5);
  e->SetText("MiXed");
  EXPECT_TRUE(GetWindowLongA(e->Handle(), GWL_STYLE) & ES_LOWERCASE);
  EXPECT_EQ(SendMessageA(e->Handle(), EM_GETLIMITTEXT, 0, 0), 5);
  SendMessageA(e->Handle(), WM_SETTEXT, 0, LPARAM(""));
  for (char ch : std::string("ABCDEFG")) SendMessageA(e->Handle(), WM_CHAR, ch, 0);
  EXPECT_EQ(e->Text(), "abcde");
  int changes = 0;
  e->OnChange = [&](TObject*) { ++changes; };
  e->SetText("zz");
  EXPECT_GE(changes, 1);
}

TEST_F(StdFixture, OwnerDrawnListRowsArePaintedByTheHandlerOnAPreparedCanvas) {
  auto* list = Add<TListBox>(10, 10, 120, 100);
  list->SetStyle(lbOwnerDrawFixed);
  list->SetItemHeight(20);
  list->Items().Add("first");
  list->Items().Add("second");
  std::vector<int> drawn;
  list->OnDrawItem = [&](TWinControl* c, int index, RECT r, TOwnerDrawState state) {
    EXPECT_EQ(c, list);
    EXPECT_EQ(r.bottom - r.top, 20);
    drawn.push_back(index);
    TCanvas* canvas = list->Canvas();
    // The selected row comes with highlight colours; the handler fills with the given brush.
    if (state & odSelected) {
      EXPECT_EQ(canvas->Brush()->Color(), clHighlight);
    }
    canvas->FillRect(r);
    canvas->Brush()->SetColor(index == 0 ? clRed : clLime);
    RECT box{r.left + 1, r.top + 1, r.left + 17, r.top + 17};
    canvas->FillRect(box);
  };
  list->SetItemIndex(1);
  Form->Show();
  UpdateWindow(list->Handle());
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), 0), drawn.end());
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), 1), drawn.end());
  HDC dc = GetDC(list->Handle());
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 5, 25), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(dc, 60, 5), ColorToCOLORREF(clWindow));
  EXPECT_EQ(GetPixel(dc, 60, 30), ColorToCOLORREF(clHighlight));
  ReleaseDC(list->Handle(), dc);
  int clicks = 0;
  list->OnClick = [&](TObject*) { ++clicks; };
  SendMessageA(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
  SendMessageA(list->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 5));
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(clicks, 1);
}

TEST_F(StdFixture, ListKeepsItsRowsAndSelectionAcrossANewWindow) {
  auto* list = Add<TListBox>(10, 10, 120, 100);
  list->Items().Add("a");
  list->Items().Add("b");
  list->SetItemIndex(1);
  list->SetStyle(lbOwnerDrawFixed);  // a new window
  EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_THROW(list->Items().Delete(5), EListError);
}

TEST_F(StdFixture, TransparentLabelShowsItsParentAndAutoSizesToItsCaption) {
  Form->SetColor(clBlue);
  auto* label = Add<TLabel>(10, 10, 10, 10);
  label->SetTransparent(true);
  label->Font()->SetColor(clWhite);
  label->SetCaption("WWWW");
  EXPECT_GT(label->Width(), 20);
  EXPECT_GT(label->Height(), 8);
  Form->Show();
  UpdateWindow(Form->Handle());
  HDC dc = GetDC(Form->Handle());
  int white = 0, blue = 0;
  for (int x = 10; x < 10 + label->Width(); ++x)
    for (int y = 10; y < 10 + label->Height(); ++y) {
      COLORREF c = GetPixel(dc, x, y);
      white += c == RGB(255, 255, 255);
      blue += c == RGB(0, 0, 255);
    }
  ReleaseDC(Form->Handle(), dc);
  EXPECT_GT(white, 10);
  EXPECT_GT(blue, white);
}

TEST_F(StdFixture, PanelPaintsItsBevelAndColourAndAlignsChildrenInsideIt) {
  auto* panel = Add<TPanel>(10, 10, 100, 60);
  panel->SetColor(clLime);
  panel->SetBevelOuter(bvRaised);
  auto* inner = new TPanel(Form);
  inner->SetParent(panel);
  inner->SetAlign(alClient);
  EXPECT_EQ(inner->BoundsRect().left, 1);
  EXPECT_EQ(inner->Width(), 98);
  panel->SetBevelOuter(bvNone);
  EXPECT_EQ(inner->Width(), 100);
  inner->SetVisible(false);
  Form->Show();
  UpdateWindow(panel->Handle());
  HDC dc = GetDC(panel->Handle());
  EXPECT_EQ(GetPixel(dc, 50, 30), RGB(0, 255, 0));
  ReleaseDC(panel->Handle(), dc);
}

TEST_F(StdFixture, ImageDrawsItsPictureAtItsCornerOrStretchedOverItself) {
  TBitmap picture(2, 2);
  picture.Canvas()->Brush()->SetColor(clRed);
  picture.Canvas()->FillRect({0, 0, 2, 2});
  Form->SetColor(clBlue);
  auto* image = Add<TImage>(10, 10, 40, 30);
  image->Picture()->SetGraphic(&picture);
  Form->Show();
  UpdateWindow(Form->Handle());
  HDC dc = GetDC(Form->Handle());
  EXPECT_EQ(GetPixel(dc, 11, 11), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 30, 30), RGB(0, 0, 255));
  image->SetStretch(true);
  UpdateWindow(Form->Handle());
  EXPECT_EQ(GetPixel(dc, 30, 30), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 49, 39), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 50, 40), RGB(0, 0, 255));
  ReleaseDC(Form->Handle(), dc);
  image->SetAutoSize(true);
  EXPECT_EQ(image->Width(), 2);
}

TEST(ButtonLayout, GlyphAndCaptionArePlacedByLayoutMarginAndSpacing) {
  RECT client{0, 0, 100, 30};
  POINT g;
  RECT t;
  LayoutGlyphAndText(client, {16, 16}, {40, 13}, blGlyphLeft, -1, 4, g, t);
  EXPECT_EQ(g.x, (100 - 60) / 2);
  EXPECT_EQ(t.left, g.x + 16 + 4);
  EXPECT_EQ(g.y, 7);
  LayoutGlyphAndText(client, {16, 16}, {40, 13}, blGlyphRight, 5, 4, g, t);
  EXPECT_EQ(g.x, 100 - 5 - 16);
  EXPECT_EQ(t.right, g.x - 4);
  LayoutGlyphAndText(client, {0, 0}, {40, 13}, blGlyphLeft, -1, 4, g, t);
  EXPECT_EQ(t.left, 30);  // no glyph: no spacing either
}

// ---- Check boxes, radio buttons, radio groups, combo boxes and memos -------------------------------

TEST_F(StdFixture, CheckBoxClickStepsItsStateThroughGrayedOnlyWhenAllowed) {
  auto* box = Add<TCheckBox>(10, 10, 100, 17);
  EXPECT_EQ(ClassOf(box->Handle()), "TCheckBox");
  int clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  SendMessageA(box->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(SendMessageA(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageA(box->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(box->State(), cbUnchecked);
  box->AllowGrayed = true;
  SendMessageA(box->Handle(), BM_CLICK, 0, 0);
  SendMessageA(box->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(box->State(), cbGrayed);
  EXPECT_EQ(SendMessageA(box->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  EXPECT_EQ(clicks, 4);
  // Set in code: shown, no click; a new window shows it too.
  box->SetChecked(true);
  box->SetEnabled(false);
  box->SetEnabled(true);
  EXPECT_EQ(clicks, 4);
  box->DestroyHandle();
  EXPECT_EQ(SendMessageA(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(StdFixture, RadioButtonClickChecksItAndUnchecksTheOthersOfItsParent) {
  auto* a = Add<TRadioButton>(10, 10, 100, 17);
  auto* b = Add<TRadioButton>(10, 30, 100, 17);
  auto* elsewhere = new TRadioButton(Form);
  elsewhere->SetParent(Add<TPanel>(150, 10, 100, 50));
  a->SetChecked(true);
  elsewhere->SetChecked(true);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  SendMessageA(b->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(b->Checked());
  EXPECT_FALSE(a->Checked());
  EXPECT_EQ(SendMessageA(a->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageA(b->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(elsewhere->Checked());
  EXPECT_EQ(clicks, 1);
}

TEST_F(StdFixture, RadioGroupButtonsAreItsChildrenInColumnsAndAClickSetsItemIndex) {
  auto* group = Add<TRadioGroup>(10, 10, 200, 100);
  group->SetItemIndex(1);
  for (const char* s : {"One", "Two", "Three", "Four"}) group->Items().Add(s);
  group->SetColumns(2);
  ASSERT_EQ(group->ControlCount(), 4);
  auto* second = ObjectAs<TRadioButton>(group->Controls(1));
  auto* third = ObjectAs<TRadioButton>(group->Controls(2));
  ASSERT_TRUE(second && third);
  EXPECT_EQ(second->Owner(), group);
  EXPECT_EQ(second->Caption(), "Two");
  EXPECT_TRUE(second->Checked());
  // Two rows in each of two columns.
  EXPECT_EQ(third->Top(), group->Controls(0)->Top());
  EXPECT_GT(third->Left(), second->Left());
  EXPECT_GT(second->Top(), group->Controls(0)->Top());
  int clicks = 0;
  group->OnClick = [&](TObject*) { ++clicks; };
  SendMessageA(third->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(group->ItemIndex(), 2);
  EXPECT_FALSE(second->Checked());
  EXPECT_EQ(clicks, 1);
  group->Items().Delete(3);
  EXPECT_EQ(group->ControlCount(), 3);
}

TEST_F(StdFixture, ComboBoxChoiceChangesItemIndexAndItsItemsSurviveANewWindow) {
  auto* combo = Add<TComboBox>(10, 10, 120, 21);
  combo->SetStyle(csDropDownList);
  for (const char* s : {"Red", "Green", "Blue"}) combo->Items().Add(s);
  EXPECT_EQ(ClassOf(combo->Handle()), "TComboBox");
  int changes = 0;
  combo->OnChange = [&](TObject*) { ++changes; };
  SendMessageA(combo->Handle(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(changes, 1);
  // A list-only combo box chooses by text; the choice and items survive a new window.
  combo->SetText("Blue");
  EXPECT_EQ(combo->ItemIndex(), 2);
  combo->SetStyle(csDropDown);
  EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(combo->Text(), "Blue");
  combo->Items().Delete(0);
  EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETCOUNT, 0, 0), 2);
}

TEST_F(StdFixture, MemoLinesAreItsTextAndItsScrollBarsItsStyle) {
  auto* memo = Add<TMemo>(10, 10, 150, 80);
  memo->Lines().Add("first");
  memo->Lines().Add("second");
  memo->Lines().Insert(1, "between");
  EXPECT_EQ(memo->Text(), "first\r\nbetween\r\nsecond");
  EXPECT_EQ(memo->Lines().Count(), 3);
  memo->Lines().Delete(0);
  EXPECT_EQ(memo->Lines().Strings(0), "between");
  memo->SetScrollBars(ssVertical);
  DWORD style = DWORD(GetWindowLongA(memo->Handle(), GWL_STYLE));
  EXPECT_TRUE(style & ES_MULTILINE);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_FALSE(style & WS_HSCROLL);
  EXPECT_EQ(memo->Lines().Count(), 2);
}
