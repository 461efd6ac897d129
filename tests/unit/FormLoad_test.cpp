// A form description holding every kind of control the programs' forms hold: it loads, binds its
// fields and handlers, shows, and reads back.
#include <gtest/gtest.h>

#include "tk/AppEvnts.h"
#include "tk/Buttons.h"
#include "tk/ComCtrls.h"
#include "tk/ExtCtrls.h"
#include "tk/FormReader.h"
#include "tk/Forms.h"
#include "tk/ImgList.h"
#include "tk/StdCtrls.h"

class Tfrm_Load : public TForm {
 public:
  TK_CLASS(Tfrm_Load, TForm)
  explicit Tfrm_Load(TComponent* AOwner) : TForm(AOwner) {
    static const bool registered = (Register(), true);
    (void)registered;
    ReadComponentRes(this);
  }
  TStatusBar* sbMain = nullptr;
  TPanel *pnlBottom = nullptr, *pnlLeft = nullptr, *pnlClient = nullptr;
  TBitBtn* btnInstall = nullptr;
  TButton *btnOK = nullptr, *btnCancel = nullptr;
  TPageControl* pgContent = nullptr;
  TTabSheet *tabWinks = nullptr, *tabEmoticons = nullptr;
  TTreeView* tvWinks = nullptr;
  TListBox* lstWinks = nullptr;
  TGroupBox* grbPreview = nullptr;
  TImage* Image1 = nullptr;
  TEdit* edtvalue = nullptr;
  TLabel* lblprompt = nullptr;
  TBevel* Bevel1 = nullptr;
  TImageList* ImgList = nullptr;
  TTimer* tmrPoll = nullptr;
  TApplicationEvents* ApplicationEvents1 = nullptr;
  std::vector<std::string> Log;

  void FormCreate(TObject*) { Log.push_back("create " + std::to_string(lstWinks->Items().Count())); }
  void FormShow(TObject*) { Log.push_back("show"); }
  void btnInstallClick(TObject*) { Log.push_back("install"); }
  void pgContentChange(TObject*) { Log.push_back("page"); }
  void tvWinksChange(TObject*, TTreeNode* node) { Log.push_back("tree " + node->Text()); }
  void tvWinksClick(TObject*) { Log.push_back("tree click"); }
  void lstWinksDrawItem(TWinControl*, int index, RECT r, TOwnerDrawState) {
    lstWinks->Canvas()->FillRect(r);
    lstWinks->Canvas()->TextOut(r.left + 17, r.top + 1, lstWinks->Items().Strings(index));
    Log.push_back("row " + std::to_string(index));
  }
  void lblpromptMouseMove(TObject*, TShiftState, int, int) {}
  void lblpromptMouseLeave(TObject*) {}
  void tmrPollTimer(TObject*) {}
  void ApplicationEvents1Message(MSG&, bool&) {}

 private:
  static void Register() {
    Published<Tfrm_Load>()
        .Field("sbMain", &Tfrm_Load::sbMain)
        .Field("pnlBottom", &Tfrm_Load::pnlBottom)
        .Field("pnlLeft", &Tfrm_Load::pnlLeft)
        .Field("pnlClient", &Tfrm_Load::pnlClient)
        .Field("btnInstall", &Tfrm_Load::btnInstall)
        .Field("btnOK", &Tfrm_Load::btnOK)
        .Field("btnCancel", &Tfrm_Load::btnCancel)
        .Field("pgContent", &Tfrm_Load::pgContent)
        .Field("tabWinks", &Tfrm_Load::tabWinks)
        .Field("tabEmoticons", &Tfrm_Load::tabEmoticons)
        .Field("tvWinks", &Tfrm_Load::tvWinks)
        .Field("lstWinks", &Tfrm_Load::lstWinks)
        .Field("grbPreview", &Tfrm_Load::grbPreview)
        .Field("Image1", &Tfrm_Load::Image1)
        .Field("edtvalue", &Tfrm_Load::edtvalue)
        .Field("lblprompt", &Tfrm_Load::lblprompt)
        .Field("Bevel1", &Tfrm_Load::Bevel1)
        .Field("ImgList", &Tfrm_Load::ImgList)
        .Field("tmrPoll", &Tfrm_Load::tmrPoll)
        .Field("ApplicationEvents1", &Tfrm_Load::ApplicationEvents1)
        .Method("FormCreate", &Tfrm_Load::FormCreate)
        .Method("FormShow", &Tfrm_Load::FormShow)
        .Method("btnInstallClick", &Tfrm_Load::btnInstallClick)
        .Method("pgContentChange", &Tfrm_Load::pgContentChange)
        .Method("tvWinksChange", &Tfrm_Load::tvWinksChange)
        .Method("tvWinksClick", &Tfrm_Load::tvWinksClick)
        .Method("lstWinksDrawItem", &Tfrm_Load::lstWinksDrawItem)
        .Method("lblpromptMouseMove", &Tfrm_Load::lblpromptMouseMove)
        .Method("lblpromptMouseLeave", &Tfrm_Load::lblpromptMouseLeave)
        .Method("tmrPollTimer", &Tfrm_Load::tmrPollTimer)
        .Method("ApplicationEvents1Message", &Tfrm_Load::ApplicationEvents1Message);
  }
};

namespace {
std::string ClassOf(HWND wnd) {
  char cls[64] = "";
  GetClassNameA(wnd, cls, sizeof cls);
  return cls;
}
}  // namespace

TEST(FormLoad, EveryControlKindLoadsShowsAndReadsBack) {
  auto* f = TCustomForm::Create<Tfrm_Load>(nullptr);
  ASSERT_NE(f->lstWinks, nullptr);
  EXPECT_EQ(f->Name(), "frm_Load");
  EXPECT_EQ(f->Log, std::vector<std::string>{"create 2"});
  EXPECT_EQ(f->Tag, 7);
  EXPECT_TRUE(f->KeyPreview);
  EXPECT_EQ(f->BorderStyle(), bsSingle);
  EXPECT_EQ(f->BorderIcons(), TBorderIcons(biSystemMenu | biMinimize));
  EXPECT_EQ(f->Font()->Name(), "MS Sans Serif");
  EXPECT_EQ(f->Font()->Height(), -11);

  f->Show();
  Application->ProcessMessages();
  HWND wnd = f->Handle();
  EXPECT_EQ(ClassOf(wnd), "Tfrm_Load");
  RECT client;
  GetClientRect(wnd, &client);
  EXPECT_EQ(client.right, 420);
  EXPECT_EQ(client.bottom, 300);
  DWORD style = DWORD(GetWindowLongA(wnd, GWL_STYLE));
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  BYTE alpha = 0;
  DWORD flags = 0;
  EXPECT_TRUE(GetLayeredWindowAttributes(wnd, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 220);
  RECT w;
  GetWindowRect(wnd, &w);
  EXPECT_NEAR((w.left + w.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NE(std::find(f->Log.begin(), f->Log.end(), "show"), f->Log.end());

  // Aligned parts share the client area.
  EXPECT_EQ(f->sbMain->BoundsRect().bottom, 300);
  EXPECT_EQ(f->pnlBottom->BoundsRect().bottom, 300 - 19);
  EXPECT_EQ(f->pnlLeft->Width(), 150);
  EXPECT_EQ(f->pnlClient->Left(), 150);
  EXPECT_EQ(f->pnlClient->Width(), 270);
  EXPECT_TRUE(GetWindowLongA(f->pnlLeft->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

  // Buttons and their parts.
  EXPECT_EQ(ClassOf(f->btnInstall->Handle()), "TBitBtn");
  EXPECT_EQ(GetParent(f->btnInstall->Handle()), f->pnlBottom->Handle());
  EXPECT_EQ(f->btnInstall->Hint, "Install into MSN Messenger ");
  EXPECT_TRUE(f->btnInstall->ShowHint);
  EXPECT_EQ(f->btnInstall->Caption(), "&Install");
  EXPECT_TRUE(f->btnOK->Default());
  EXPECT_EQ(f->btnOK->ModalResult, mrOk);
  EXPECT_TRUE(f->btnCancel->Cancel);
  EXPECT_EQ(f->btnCancel->ModalResult, mrCancel);
  EXPECT_EQ(f->btnOK->TabOrder(), 0);
  EXPECT_EQ(f->btnInstall->TabOrder(), 1);
  SendMessageA(f->btnInstall->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(f->Log.back(), "install");

  // Pages: the stored active page shows, the other is hidden.
  EXPECT_EQ(f->pgContent->PageCount(), 2);
  EXPECT_EQ(f->pgContent->ActivePage(), f->tabEmoticons);
  EXPECT_TRUE(IsWindowVisible(f->lstWinks->Handle()));
  EXPECT_FALSE(IsWindowVisible(f->tabWinks->Handle()));

  // The list holds its stored rows, owner-drawn at 20 pixels by the form's handler.
  EXPECT_EQ(f->lstWinks->Items().Count(), 2);
  EXPECT_EQ(SendMessageA(f->lstWinks->Handle(), LB_GETITEMHEIGHT, 0, 0), 20);
  UpdateWindow(f->lstWinks->Handle());
  EXPECT_NE(std::find(f->Log.begin(), f->Log.end(), "row 1"), f->Log.end());

  // The tree takes its stored settings and the image list by reference.
  EXPECT_EQ(f->tvWinks->Images(), f->ImgList);
  EXPECT_EQ(SendMessageA(f->tvWinks->Handle(), TVM_GETINDENT, 0, 0), 19);
  EXPECT_FALSE(GetWindowLongA(f->tvWinks->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  TTreeNode* n = f->tvWinks->Items().AddChild(nullptr, "hello");
  f->tvWinks->SetSelected(n);
  EXPECT_EQ(f->Log.back(), "tree hello");

  // Edit, label, picture, bevel, timer.
  EXPECT_EQ(f->edtvalue->Text(), "typed");
  EXPECT_EQ(f->edtvalue->CharCase(), ecLowerCase);
  EXPECT_EQ(SendMessageA(f->edtvalue->Handle(), EM_GETLIMITTEXT, 0, 0), 40);
  EXPECT_EQ(f->lblprompt->Font()->Color(), clBlue);
  EXPECT_TRUE(f->lblprompt->Font()->Style() & fsUnderline);
  EXPECT_TRUE(f->lblprompt->Transparent());
  EXPECT_EQ(f->lblprompt->Cursor, crHandPoint);
  EXPECT_TRUE(f->lblprompt->OnMouseMove);
  EXPECT_EQ(f->Image1->Width(), 2);  // sized to its picture
  EXPECT_EQ(f->Image1->Picture()->Width(), 2);
  HDC dc = GetDC(f->grbPreview->Handle());
  UpdateWindow(f->grbPreview->Handle());
  EXPECT_EQ(GetPixel(dc, 10, 20), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 11, 21), RGB(0, 0, 255));
  ReleaseDC(f->grbPreview->Handle(), dc);
  EXPECT_EQ(f->Bevel1->Shape(), bsBottomLine);
  EXPECT_FALSE(f->tmrPoll->Enabled());
  EXPECT_EQ(f->tmrPoll->Interval(), 250u);
  EXPECT_TRUE(f->ApplicationEvents1->OnMessage);
  delete f;
}
