// Common controls with real windows: tree nodes and their data, page switching, status text.
#include <gtest/gtest.h>

#include "tk/ComCtrls.h"
#include "tk/Forms.h"

namespace {

class Tfrm_Com : public TForm {
 public:
  TK_CLASS(Tfrm_Com, TForm)
  using TForm::TForm;
};

struct ComFixture : ::testing::Test {
  Tfrm_Com* Form = nullptr;
  void SetUp() override {
    Form = TCustomForm::Create<Tfrm_Com>(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(40, 40, 300, 240);
  }
  void TearDown() override { delete Form; }
};

struct Record {
  std::string Cab;
};

}  // namespace

TEST_F(ComFixture, TreeNodesKeepTextDataImagesAndParents) {
  auto* tree = new TTreeView(Form);
  tree->SetParent(Form);
  tree->SetAlign(alClient);
  tree->SetIndent(19);
  tree->SetHideSelection(false);
  tree->SetReadOnly(true);
  Record a{"a.cab"}, b{"b.cab"};
  TTreeNode* root = tree->Items().AddChild(nullptr, "Winks");
  TTreeNode* n1 = tree->Items().AddChildObject(root, "first", &a);
  TTreeNode* n2 = tree->Items().AddChildObject(root, "second", &b);
  n2->SetImageIndex(1);
  n2->SetSelectedIndex(2);
  TTreeNode* top2 = tree->Items().Add(root, "Emoticons");

  EXPECT_EQ(tree->Items().Count(), 4);
  EXPECT_EQ(root->Count(), 2);
  EXPECT_EQ(root->Item(1), n2);
  EXPECT_EQ(n2->Parent(), root);
  EXPECT_EQ(top2->Parent(), nullptr);
  EXPECT_EQ(n2->Level(), 1);
  EXPECT_EQ(n2->Index(), 1);
  EXPECT_EQ(tree->Items().Item(2), n2);
  EXPECT_EQ(tree->Items().Item(3), top2);
  EXPECT_EQ(static_cast<Record*>(n1->Data)->Cab, "a.cab");
  EXPECT_EQ(n2->Text(), "second");
  TVITEMA tv{};
  tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
  tv.hItem = n2->ItemId();
  SendMessageA(tree->Handle(), TVM_GETITEMA, 0, LPARAM(&tv));
  EXPECT_EQ(tv.iImage, 1);
  EXPECT_EQ(tv.iSelectedImage, 2);
  // A node nobody gave images shows image 0, selected or not.
  EXPECT_EQ(n1->ImageIndex(), 0);
  EXPECT_EQ(n1->SelectedIndex(), 0);
  tv.hItem = n1->ItemId();
  SendMessageA(tree->Handle(), TVM_GETITEMA, 0, LPARAM(&tv));
  EXPECT_EQ(tv.iImage, 0);
  EXPECT_EQ(tv.iSelectedImage, 0);
  EXPECT_EQ(SendMessageA(tree->Handle(), TVM_GETINDENT, 0, 0), 19);
  DWORD style = DWORD(GetWindowLongA(tree->Handle(), GWL_STYLE));
  EXPECT_TRUE(style & TVS_SHOWSELALWAYS);
  EXPECT_FALSE(style & TVS_EDITLABELS);

  root->Expand(true);
  EXPECT_TRUE(root->Expanded());
  std::vector<TTreeNode*> changes;
  tree->OnChange = [&](TObject*, TTreeNode* n) { changes.push_back(n); };
  tree->SetSelected(n1);
  EXPECT_EQ(tree->Selected(), n1);
  EXPECT_TRUE(n1->Selected());
  EXPECT_EQ(changes, std::vector<TTreeNode*>{n1});

  root->Delete();  // its children go with it
  EXPECT_EQ(tree->Items().Count(), 1);
  EXPECT_EQ(tree->Items().GetFirstNode(), top2);
  tree->Items().Clear();
  EXPECT_EQ(tree->Items().Count(), 0);
  EXPECT_EQ(tree->Items().GetFirstNode(), nullptr);
}

TEST_F(ComFixture, TreeNodesSurviveANewWindowOfTheFormAroundThem) {
  auto* tree = new TTreeView(Form);
  tree->SetParent(Form);
  Record a{"a.cab"};
  TTreeNode* root = tree->Items().AddChild(nullptr, "Winks");
  TTreeNode* leaf = tree->Items().AddChildObject(root, "first", &a);
  TTreeNode* inner = tree->Items().AddChild(root, "second");
  TTreeNode* deep = tree->Items().AddChild(inner, "deep");
  TTreeNode* top2 = tree->Items().AddChild(nullptr, "Emoticons");
  leaf->SetImageIndex(1);
  Form->SetBorderStyle(bsSizeable);  // the form's window, and the tree's with it, are made anew
  ASSERT_EQ(tree->Items().Count(), 5);
  std::vector<TTreeNode*> order, parents;
  for (int i = 0; i < 5; ++i) {
    order.push_back(tree->Items().Item(i));
    parents.push_back(order.back()->Parent());
  }
  EXPECT_EQ(order, (std::vector<TTreeNode*>{root, leaf, inner, deep, top2}));
  EXPECT_EQ(parents, (std::vector<TTreeNode*>{nullptr, root, root, inner, nullptr}));
  EXPECT_EQ(leaf->Text(), "first");
  EXPECT_EQ(deep->Text(), "deep");
  EXPECT_EQ(leaf->Data, &a);
  TVITEMA tv{};
  tv.mask = TVIF_IMAGE | TVIF_HANDLE;
  tv.hItem = leaf->ItemId();
  SendMessageA(tree->Handle(), TVM_GETITEMA, 0, LPARAM(&tv));
  EXPECT_EQ(tv.iImage, 1);
}

TEST_F(ComFixture, ClickingATabShowsItsPageHidesTheOtherAndRaisesOnChange) {
  auto* pages = new TPageControl(Form);
  pages->SetParent(Form);
  pages->SetAlign(alClient);
  auto* winks = new TTabSheet(Form);
  winks->SetCaption("Winks");
  winks->SetPageControl(pages);
  auto* emo = new TTabSheet(Form);
  emo->SetCaption("Emoticons");
  emo->SetPageControl(pages);
  int changes = 0;
  pages->OnChange = [&](TObject*) { ++changes; };
  Form->Show();

  EXPECT_EQ(pages->ActivePage(), winks);
  EXPECT_EQ(pages->PageCount(), 2);
  EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_TRUE(IsWindowVisible(winks->Handle()));
  EXPECT_FALSE(IsWindowVisible(emo->Handle()));
  // The sheet fills the page area below the tabs.
  RECT area;
  GetClientRect(pages->Handle(), &area);
  SendMessageA(pages->Handle(), TCM_ADJUSTRECT, FALSE, LPARAM(&area));
  EXPECT_EQ(winks->BoundsRect().top, area.top);
  EXPECT_EQ(winks->Width(), area.right - area.left);

  RECT tab;
  SendMessageA(pages->Handle(), TCM_GETITEMRECT, 1, LPARAM(&tab));
  LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  SendMessageA(pages->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(pages->Handle(), WM_LBUTTONUP, 0, at);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(pages->ActivePage(), emo);
  EXPECT_EQ(pages->ActivePageIndex(), 1);
  EXPECT_FALSE(IsWindowVisible(winks->Handle()));
  EXPECT_TRUE(IsWindowVisible(emo->Handle()));

  // Set from code: no OnChange; a caption change reaches the tab.
  pages->SetActivePage(winks);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETCURSEL, 0, 0), 0);
  emo->SetCaption("Icons");
  char text[32] = "";
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(pages->Handle(), TCM_GETITEMA, 1, LPARAM(&item));
  EXPECT_STREQ(text, "Icons");
  delete emo;
  EXPECT_EQ(pages->PageCount(), 1);
  EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 1);
}

TEST_F(ComFixture, StatusBarShowsSimpleTextOrItsPanels) {
  auto* bar = new TStatusBar(Form);
  bar->SetParent(Form);
  Form->HandleNeeded();
  EXPECT_EQ(bar->Height(), 19);
  EXPECT_EQ(bar->BoundsRect().bottom, Form->ClientHeight());
  EXPECT_EQ(bar->Width(), Form->ClientWidth());
  bar->SetSimpleText("ready");
  char text[64] = "";
  SendMessageA(bar->Handle(), SB_GETTEXTA, 0, LPARAM(text));  // the simple part answers as part 0
  EXPECT_STREQ(text, "ready");
  EXPECT_TRUE(SendMessageA(bar->Handle(), SB_ISSIMPLE, 0, 0));

  bar->Panels().Add()->SetText("one");
  bar->Panels().Add()->SetText("two");
  EXPECT_FALSE(SendMessageA(bar->Handle(), SB_ISSIMPLE, 0, 0));
  EXPECT_EQ(SendMessageA(bar->Handle(), SB_GETPARTS, 0, 0), 2);
  SendMessageA(bar->Handle(), SB_GETTEXTA, 1, LPARAM(text));
  EXPECT_STREQ(text, "two");
  bar->SetSizeGrip(false);
  EXPECT_FALSE(GetWindowLongA(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP);
  EXPECT_EQ(SendMessageA(bar->Handle(), SB_GETPARTS, 0, 0), 2);
}

// ---- Progress bar, list view and tab control ------------------------------------------------------

TEST_F(ComFixture, ProgressBarKeepsItsPositionInsideItsRange) {
  auto* bar = new TProgressBar(Form);
  bar->SetParent(Form);
  bar->SetMax(200);
  bar->SetPosition(150);
  EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETPOS, 0, 0), 150);
  EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETRANGE, FALSE, 0), 200);
  bar->SetMax(100);
  EXPECT_EQ(bar->Position(), 100);
  bar->SetPosition(-5);
  EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETPOS, 0, 0), 0);
}

TEST_F(ComFixture, ReportListViewShowsItsColumnsAndRowsAndKeepsThemAcrossANewWindow) {
  auto* view = new TListView(Form);
  view->SetParent(Form);
  view->SetViewStyle(vsReport);
  view->Columns().Add()->SetCaption("Name");
  view->Columns().Add()->SetWidth(80);
  TListItem* row = view->Items().Add();
  row->SetCaption("first");
  row->SubItems().Add("1 KB");
  view->Items().Add()->SetCaption("second");
  auto text = [&](int item, int sub) {
    char buffer[32] = "";
    LVITEMA i{};
    i.iSubItem = sub;
    i.pszText = buffer;
    i.cchTextMax = sizeof buffer;
    SendMessageA(view->Handle(), LVM_GETITEMTEXTA, WPARAM(item), LPARAM(&i));
    return std::string(buffer);
  };
  for (int pass = 0; pass < 2; ++pass) {
    HWND header = HWND(SendMessageA(view->Handle(), LVM_GETHEADER, 0, 0));
    ASSERT_TRUE(header);
    EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(view->Handle(), LVM_GETCOLUMNWIDTH, 1, 0), 80);
    EXPECT_EQ(SendMessageA(view->Handle(), LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(text(0, 0), "first");
    EXPECT_EQ(text(0, 1), "1 KB");
    EXPECT_EQ(text(1, 0), "second");
    view->SetViewStyle(vsList);
    view->SetViewStyle(vsReport);
  }
  view->Items().Delete(0);
  EXPECT_EQ(text(0, 0), "second");
}

TEST_F(ComFixture, TabControlTabsIndexAndPositionAndAClickRaisesOnChange) {
  auto* tabs = new TTabControl(Form);
  tabs->SetParent(Form);
  tabs->SetBounds(0, 0, 250, 150);
  tabs->Tabs().Add("One");
  tabs->Tabs().Add("Two");
  tabs->SetTabIndex(1);
  int changes = 0;
  tabs->OnChange = [&](TObject*) { ++changes; };
  EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETCURSEL, 0, 0), 1);
  RECT tab;
  SendMessageA(tabs->Handle(), TCM_GETITEMRECT, 0, LPARAM(&tab));
  LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  SendMessageA(tabs->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(tabs->Handle(), WM_LBUTTONUP, 0, at);
  EXPECT_EQ(tabs->TabIndex(), 0);
  EXPECT_EQ(changes, 1);
  // A new position is a new window with the same tabs and choice.
  tabs->SetTabPosition(TTabPosition::tpRight);
  DWORD style = DWORD(GetWindowLongA(tabs->Handle(), GWL_STYLE));
  EXPECT_EQ(style & (TCS_VERTICAL | TCS_RIGHT), DWORD(TCS_VERTICAL | TCS_RIGHT));
  EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(tabs->TabIndex(), 0);
  tabs->Tabs().Clear();
  EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 0);
}
