// Control discovery: a skinned toolkit form's components and a bare window's child windows get the
// skinned control their class, Skin3rd kind or window class calls for, gated by SkinControls, and
// everything comes back when the form is given back.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <map>
#include <stdexcept>

#include "RezIderFormTesting.h"
#include "skin/RezIderFormControls.h"
#include "skin/WinSubClassEdit.h"
#include "skin/WinSubClassScroll.h"
#include "skin/WinSubClassTab.h"
#include "tk/Buttons.h"
#include "tk/ComCtrls.h"
#include "tk/ExtCtrls.h"
#include "tk/FormReader.h"
#include "tk/StdCtrls.h"
#include "tk/Tabs.h"

using namespace formtest;

namespace {

// Toolkit-style controls the toolkit itself lacks, known to discovery by class name only.
template <const char* SysClass, DWORD ExtraStyle>
class TSysControl : public TWinControl {
 public:
  using TWinControl::TWinControl;

 protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    Params.SysClassName = SysClass;
    Params.Style |= ExtraStyle;
  }
};

constexpr char kTrackbar[] = TRACKBAR_CLASSA;
constexpr char kUpDown[] = UPDOWN_CLASSA;
constexpr char kPicker[] = DATETIMEPICK_CLASSA;
constexpr char kEdit[] = "EDIT";
constexpr char kStatic[] = "STATIC";

class TTrackBar : public TSysControl<kTrackbar, 0> {
 public:
  TK_CLASS(TTrackBar, TWinControl)
  using TSysControl::TSysControl;
};
class TUpDown : public TSysControl<kUpDown, 0> {
 public:
  TK_CLASS(TUpDown, TWinControl)
  using TSysControl::TSysControl;
};
class TDateTimePicker : public TSysControl<kPicker, 0> {
 public:
  TK_CLASS(TDateTimePicker, TWinControl)
  using TSysControl::TSysControl;
};
class TUpDownPicker : public TSysControl<kPicker, DTS_UPDOWN> {
 public:
  // Known to discovery by the picker's class name.
  TClass ClassType() const override { return TDateTimePicker::StaticClass(); }
  using TSysControl::TSysControl;
};
class TRichEdit : public TSysControl<kEdit, ES_MULTILINE> {
 public:
  TK_CLASS(TRichEdit, TWinControl)
  using TSysControl::TSysControl;
};
class TDBNavigator : public TSysControl<kStatic, 0> {
 public:
  TK_CLASS(TDBNavigator, TWinControl)
  using TSysControl::TSysControl;
};
// A panel-like container discovery walks but never skins.
class TMVCPanel : public TSysControl<kStatic, 0> {
 public:
  TK_CLASS(TMVCPanel, TWinControl)
  using TSysControl::TSysControl;
};
class TTabbedNotebook : public TSysControl<kStatic, 0> {
 public:
  TK_CLASS(TTabbedNotebook, TWinControl)
  using TSysControl::TSysControl;
};
class TQRPreview : public TSysControl<kStatic, 0> {
 public:
  TK_CLASS(TQRPreview, TWinControl)
  using TSysControl::TSysControl;
};
// A third-party class only Skin3rd knows.
class TThirdEdit : public TSysControl<kEdit, 0> {
 public:
  TK_CLASS(TThirdEdit, TWinControl)
  using TSysControl::TSysControl;
};
// A control whose window cannot be made.
class TBrokenControl : public TWinControl {
 public:
  TK_CLASS(TBrokenControl, TWinControl)
  using TWinControl::TWinControl;

 protected:
  void CreateParams(TCreateParams&) override { throw std::runtime_error("no window"); }
};

class Discovery : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    FForm = MakeForm();
  }
  virtual TForm* MakeForm() { return Form("Discovery"); }
  void TearDown() override {
    if (FSkinned) Release();
    FormTest::TearDown();
  }

  template <class T>
  T* Make(TComponent* Owner = nullptr, TWinControl* Parent = nullptr) {
    auto* c = new T(Owner ? Owner : FForm);
    c->SetParent(Parent ? Parent : FForm);
    c->SetBounds(10 + 4 * FPlaced, 10 + 4 * FPlaced, 60, 22);
    ++FPlaced;
    return c;
  }

  // Takes the form over as the manager does; discovery runs during the takeover.
  void Attach() {
    for (int i = 0; i < FForm->ComponentCount(); ++i)
      if (auto* control = ObjectAs<TControl>(FForm->Components(i))) FMethods[control] = control->WindowProc;
    FSkinned = new TRezIderFormImpl(FForm);
    FSkinned->FHandle = FForm->Handle();
    FSkinned->AttachForm(FData.get(), FForm);
  }
  void Release() {
    FSkinned->UnskinForm();
    delete FSkinned;
    FSkinned = nullptr;
  }

  // The skin object registered for the control, by its window or as a window-less control.
  TSkinControl* SkinOf(TControl* c) {
    if (auto* w = ObjectAs<TWinControl>(c)) return FindControlByHandle(FSkinned, w->Handle());
    for (int i = 0; i < FSkinned->FControls.Count(); ++i) {
      auto* s = static_cast<TSkinControl*>(FSkinned->FControls.Items(i));
      if (s->FGraphicControl == c) return s;
    }
    return nullptr;
  }
  std::string SkinName(TControl* c) {
    TSkinControl* s = SkinOf(c);
    return s ? s->ClassName() : "none";
  }

  void Only(std::initializer_list<TSkinControlType> Types) {
    FData->SkinControls.Bits = 0;
    for (TSkinControlType t : Types) FData->SkinControls.Include(t);
  }

  TForm* FForm = nullptr;
  TRezIderFormImpl* FSkinned = nullptr;
  std::map<TControl*, TWndMethod> FMethods;
  int FPlaced = 0;
};

// ---- The toolkit form path --------------------------------------------------------------------------

TEST_F(Discovery, EveryControlKindGetsTheSkinObjectOfItsClassAndAllComesBackOnGiveBack) {
  auto* button = Make<TButton>();
  auto* bitbtn = Make<TBitBtn>();
  auto* speed = Make<TSpeedButton>();
  auto* edit = Make<TEdit>();
  auto* list = Make<TListBox>();
  auto* panel = Make<TPanel>();
  auto* group = Make<TGroupBox>();
  auto* status = Make<TStatusBar>();
  auto* pages = Make<TPageControl>();
  auto* scroll = Make<TScrollBar>();
  auto* tree = Make<TTreeView>();
  auto* track = Make<TTrackBar>();
  auto* updown = Make<TUpDown>();
  auto* picker = Make<TDateTimePicker>();
  auto* spinPicker = Make<TUpDownPicker>();
  auto* rich = Make<TRichEdit>();
  auto* navigator = Make<TDBNavigator>();
  auto* label = Make<TLabel>();
  const HWND editHandle = edit->Handle(), pagesHandle = pages->Handle();
  const LONG_PTR editProc = Proc(editHandle), pagesProc = Proc(pagesHandle);
  const TColor panelColour = panel->Color(), groupColour = group->Color();
  ASSERT_TRUE(status->SizeGrip());

  Attach();
  EXPECT_EQ(SkinName(button), "TSkinButton");
  EXPECT_EQ(SkinName(bitbtn), "TSkinBitButton");
  EXPECT_EQ(SkinName(speed), "TSkinSpeedButton");
  EXPECT_EQ(SkinName(edit), "TSkinEdit");
  EXPECT_EQ(SkinName(list), "TSkinScrollbar");
  EXPECT_EQ(SkinName(panel), "TSkinBox");
  EXPECT_EQ(SkinName(group), "TSkinGroupBox");
  EXPECT_EQ(SkinName(status), "TSkinStatusBar");
  EXPECT_EQ(SkinName(pages), "TSkinTab");
  EXPECT_EQ(SkinName(scroll), "TSkinScControl");
  EXPECT_EQ(SkinName(tree), "TSkinScrollbar");
  EXPECT_EQ(SkinName(track), "TSkinTrackBar");
  EXPECT_EQ(SkinName(updown), "TSkinUpDown");
  EXPECT_EQ(SkinName(picker), "TSkinComBox");
  EXPECT_EQ(SkinName(spinPicker), "TSkinEdit");
  EXPECT_EQ(SkinName(rich), "TSkinScrollbar");
  EXPECT_EQ(SkinName(navigator), "TSkinBox");
  EXPECT_EQ(SkinName(label), "none");

  // Owned by the component they skin, except the page control's, which the form owns.
  EXPECT_EQ(SkinOf(button)->Owner(), button);
  EXPECT_EQ(SkinOf(edit)->Owner(), edit);
  EXPECT_EQ(SkinOf(pages)->Owner(), FSkinned);
  // Taken over by message method, or by window procedure where the rule says by handle.
  EXPECT_FALSE(button->WindowProc == FMethods[button]);
  EXPECT_NE(Proc(editHandle), editProc);
  EXPECT_NE(Proc(pagesHandle), pagesProc);
  EXPECT_EQ(panel->Color(), FData->ButtonFace);
  EXPECT_EQ(group->Color(), FData->ButtonFace);
  EXPECT_FALSE(status->SizeGrip());

  Release();
  for (auto& [control, method] : FMethods) EXPECT_TRUE(control->WindowProc == method) << control->ClassName();
  EXPECT_EQ(Proc(editHandle), editProc);
  EXPECT_EQ(Proc(pagesHandle), pagesProc);
  EXPECT_EQ(panel->Color(), panelColour);
  EXPECT_EQ(group->Color(), groupColour);
}

TEST_F(Discovery, AControlWithoutAWindowGetsOneAndOneWhoseWindowCannotBeMadeIsSkipped) {
  auto* button = Make<TButton>();
  auto* broken = new TBrokenControl(FForm);
  auto* after = Make<TButton>();
  button->DestroyHandle();
  ASSERT_FALSE(button->HandleAllocated());
  Attach();
  EXPECT_TRUE(button->HandleAllocated());
  EXPECT_EQ(SkinName(button), "TSkinButton");
  EXPECT_FALSE(broken->HandleAllocated());
  EXPECT_EQ(SkinName(after), "TSkinButton");
}

TEST_F(Discovery, SkinControlsGatesEachRuleAndABitButtonWithoutItsGateStaysPlain) {
  auto* button = Make<TButton>();
  auto* bitbtn = Make<TBitBtn>();
  auto* edit = Make<TEdit>();
  auto* panel = Make<TPanel>();
  auto* pages = Make<TPageControl>();
  auto* inner = Make<TButton>(panel, panel);
  Only({xcButton, xcEdit});
  Attach();
  EXPECT_EQ(SkinName(button), "TSkinButton");
  // A bit button is a push button too, but its own rule ends the work.
  EXPECT_EQ(SkinName(bitbtn), "none");
  EXPECT_EQ(SkinName(edit), "TSkinEdit");
  EXPECT_EQ(SkinName(panel), "none");
  EXPECT_EQ(SkinName(pages), "none");
  // The panel owns components, so it is still walked as a container.
  EXPECT_EQ(SkinName(inner), "TSkinButton");
}

TEST_F(Discovery, WithoutATabsElementNoTabControlIsSkinned) {
  auto* pages = Make<TPageControl>();
  FData->Tabs.reset();
  Attach();
  EXPECT_EQ(SkinName(pages), "none");
}

TEST_F(Discovery, TheDisableTagKeepsAControlAndWhatItOwnsPlain) {
  ASSERT_EQ(FData->DisableTag, 99);
  TButton* tagged[3];
  for (int i = 0; i < 3; ++i) {
    tagged[i] = Make<TButton>();
    tagged[i]->Tag = 99 + 100 * i;
  }
  auto* closeTag = Make<TButton>();
  closeTag->Tag = 98;
  auto* panel = Make<TPanel>();
  panel->Tag = 99;
  auto* inner = Make<TButton>(panel, panel);
  Attach();
  for (TButton* b : tagged) EXPECT_EQ(SkinName(b), "none") << b->Tag;
  EXPECT_EQ(SkinName(closeTag), "TSkinButton");
  EXPECT_EQ(SkinName(panel), "none");
  EXPECT_EQ(SkinName(inner), "none");
}

TEST_F(Discovery, ContainersAreWalkedByWhatTheyOwnNotByWhatTheyHold) {
  auto* panel = Make<TPanel>();
  auto* owned = Make<TButton>(panel, panel);
  auto* held = Make<TButton>(nullptr, panel);  // on the panel, owned by the form
  auto* group = Make<TGroupBox>();
  auto* inGroup = Make<TEdit>(group, group);
  auto* mvc = Make<TMVCPanel>();
  auto* inMvc = Make<TButton>(mvc, mvc);
  auto* preview = Make<TQRPreview>();
  auto* inPreview = Make<TButton>(preview, preview);
  Attach();
  EXPECT_EQ(SkinName(owned), "TSkinButton");
  EXPECT_EQ(SkinName(held), "TSkinButton");
  EXPECT_EQ(SkinName(inGroup), "TSkinEdit");
  EXPECT_EQ(SkinName(mvc), "none");
  EXPECT_EQ(SkinName(inMvc), "TSkinButton");
  EXPECT_EQ(SkinName(preview), "none");
  EXPECT_EQ(SkinName(inPreview), "none");
}

TEST_F(Discovery, TabSetsAndTabbedNotebooksWithoutTheTabGateGoOnToTheLaterRules) {
  auto* tabs = Make<TTabSet>();
  auto* inTabs = Make<TButton>(tabs);
  auto* notebook = Make<TTabbedNotebook>();
  auto* inNotebook = Make<TButton>(notebook, notebook);
  Only({xcButton});
  Attach();
  // Not skinned, but walked as containers of what they own.
  EXPECT_EQ(SkinName(tabs), "none");
  EXPECT_EQ(SkinName(inTabs), "TSkinButton");
  EXPECT_EQ(SkinName(notebook), "none");
  EXPECT_EQ(SkinName(inNotebook), "TSkinButton");
}

TEST_F(Discovery, AnEmbeddedFormTakesTheSkinColourAndItsControlsAreSkinned) {
  auto* embedded = TCustomForm::Create<TForm>(FForm);
  auto* inside = new TButton(embedded);
  inside->SetParent(embedded);
  const TColor colour = embedded->Color();
  Attach();
  EXPECT_EQ(SkinName(embedded), "TSkinBox");
  EXPECT_EQ(embedded->Color(), FData->ButtonFace);
  EXPECT_EQ(SkinName(inside), "TSkinButton");
  Release();
  EXPECT_EQ(embedded->Color(), colour);
}

TEST_F(Discovery, AControlAlreadyRegisteredIsNotSkinnedTwice) {
  Make<TButton>();
  Make<TEdit>();
  Make<TSpeedButton>();
  Attach();
  const int count = FSkinned->FControls.Count();
  ASSERT_EQ(count, 3);
  SkinFormControls(FSkinned, FForm);
  EXPECT_EQ(FSkinned->FControls.Count(), count);
}

TEST_F(Discovery, AControlWithoutAWindowOnAPreviewFormIsTakenForThePreviewsPageAndLeftAlone) {
  Make<TButton>();
  auto* page = Make<TButton>();
  page->DestroyHandle();
  FForm->SetName("ReportPreview");
  Attach();
  EXPECT_FALSE(page->HandleAllocated());
  EXPECT_EQ(FSkinned->FControls.Count(), 1);
}

TEST_F(Discovery, AControlWithoutAWindowOnAnyOtherFormIsSkinned) {
  Make<TButton>();
  auto* late = Make<TButton>();
  late->DestroyHandle();
  FForm->SetName("MainForm");
  Attach();
  EXPECT_EQ(SkinName(late), "TSkinButton");
}

// ---- Skin3rd ------------------------------------------------------------------------------------------

TEST_F(Discovery, Skin3rdMapsAClassInAnyCaseAndTheFirstMatchingLineWins) {
  auto* third = Make<TThirdEdit>();
  const LONG_PTR own = Proc(third->Handle());
  FData->Skin3rd()->Clear();
  FData->Skin3rd()->Add("tTHIRDeDIT=EDIT");
  FData->Skin3rd()->Add("TThirdEdit=nil");
  Attach();
  TSkinControl* skin = SkinOf(third);
  ASSERT_NE(skin, nullptr);
  EXPECT_EQ(skin->ClassName(), "TSkinEdit");
  EXPECT_EQ(skin->FHandle, third->Handle());
  EXPECT_NE(Proc(third->Handle()), own);
  Release();
  EXPECT_EQ(Proc(third->Handle()), own);
}

TEST_F(Discovery, AClassListedInSkin3rdNeverReachesTheClassRules) {
  auto* plain = Make<TButton>();
  auto* gated = Make<TEdit>();
  auto* unknown = Make<TListBox>();
  FData->Skin3rd()->Clear();
  FData->Skin3rd()->Add("TButton=nil");
  FData->Skin3rd()->Add("TEdit=progress");
  FData->Skin3rd()->Add("TListBox=nothing-known");
  FData->SkinControls.Exclude(xcProgress);
  Attach();
  EXPECT_EQ(SkinName(plain), "none");
  EXPECT_EQ(SkinName(gated), "none");
  EXPECT_EQ(SkinName(unknown), "none");
}

TEST_F(Discovery, Skin3rdKindsGiveTheirSkinsWhenTheirGatesAreOn) {
  auto* asButton = Make<TEdit>();
  auto* asGroup = Make<TPanel>();
  auto* radio = Make<TButton>(nullptr, asGroup);
  FData->Skin3rd()->Clear();
  // Kinds are per class: the test classes stand in for third-party ones.
  FData->Skin3rd()->Add("TEdit=button");
  FData->Skin3rd()->Add("TPanel=RadioGroup");
  FData->Skin3rd()->Add("TButton=nil");
  Attach();
  EXPECT_EQ(SkinName(asButton), "TSkinButton");
  EXPECT_EQ(SkinName(asGroup), "TSkinGroupBox");
  // The group's child controls become its radio buttons.
  EXPECT_EQ(SkinName(radio), "TSkinRadioButton");
  EXPECT_EQ(SkinOf(radio)->Owner(), radio);
}

TEST_F(Discovery, ARadioGroupWithoutTheRadioGateSkinsOnlyTheGroup) {
  auto* group = Make<TPanel>();
  auto* item = Make<TButton>(nullptr, group);
  FData->Skin3rd()->Clear();
  FData->Skin3rd()->Add("TPanel=radiogroup");
  FData->Skin3rd()->Add("TButton=nil");
  FData->SkinControls.Exclude(xcRadioButton);
  Attach();
  EXPECT_EQ(SkinName(group), "TSkinGroupBox");
  EXPECT_EQ(SkinName(item), "none");
}

TEST_F(Discovery, AChildTheFormsWalkSkinnedFirstIsNotSkinnedAgainByItsGroup) {
  // Made before its group, so the form's walk reaches it first.
  auto* check = new TCheckBox(FForm);
  auto* group = Make<TPanel>();
  check->SetParent(group);
  check->SetBounds(4, 4, 50, 16);
  FData->Skin3rd()->Clear();
  FData->Skin3rd()->Add("TPanel=checkgroup");
  Attach();
  int skins = 0;
  for (int i = 0; i < FSkinned->FControls.Count(); ++i)
    skins += static_cast<TSkinControl*>(FSkinned->FControls.Items(i))->FHandle == check->Handle();
  EXPECT_EQ(skins, 1);
  EXPECT_EQ(SkinName(check), "TSkinCheckBox");
  EXPECT_EQ(SkinName(group), "TSkinGroupBox");
  Release();
  EXPECT_TRUE(check->WindowProc == FMethods[check]);
}

// ---- OnSkinControl ------------------------------------------------------------------------------------

TEST_F(Discovery, OnSkinControlCanGiveItsOwnSkinObjectOrLeaveTheDecisionToTheRules) {
  auto* mine = Make<TEdit>();
  auto* theirs = Make<TButton>();
  auto* odd = Make<TButton>();
  std::vector<std::string> classes;
  FData->OnSkinControl = [&](TComponent* Sender, TSkinData* Data, TControl* Container, TControl* Control,
                             const std::string& ControlClass, TComponent*& Skinned) {
    EXPECT_EQ(Sender, FSkinned);
    EXPECT_EQ(Data, FData.get());
    EXPECT_EQ(Container, FForm);
    classes.push_back(ControlClass);
    if (Control == mine) {
      auto* skin = new TSkinButton(mine);
      skin->FTakeColor = true;
      Skinned = skin;
    } else if (Control == odd) {
      Skinned = new TComponent(odd);  // not a skinned control: the rules decide
    }
  };
  const TColor colour = mine->Color();
  Attach();
  EXPECT_EQ(SkinName(mine), "TSkinButton");
  EXPECT_EQ(mine->Color(), FData->ButtonFace);  // its own take-colour flag
  EXPECT_EQ(SkinName(theirs), "TSkinButton");
  EXPECT_EQ(SkinName(odd), "TSkinButton");
  EXPECT_NE(std::find(classes.begin(), classes.end(), "TEDIT"), classes.end());
  EXPECT_NE(std::find(classes.begin(), classes.end(), "TBUTTON"), classes.end());
  Release();
  EXPECT_EQ(mine->Color(), colour);
}

// ---- The form holding every kind the toolkit has a class for ------------------------------------------

class Tfrm_Kinds : public TForm {
 public:
  TK_CLASS(Tfrm_Kinds, TForm)
  explicit Tfrm_Kinds(TComponent* AOwner) : TForm(AOwner) {
    static const bool registered = (Register(), true);
    (void)registered;
    ReadComponentRes(this);
  }
  TCheckBox *chkAgree = nullptr, *chkBold = nullptr, *chkItalic = nullptr;
  TRadioButton *rbFirst = nullptr, *rbSecond = nullptr;
  TComboBox* cbColour = nullptr;
  TRadioGroup* rgSize = nullptr;
  TListBox* lstNames = nullptr;
  TProgressBar* pbDone = nullptr;
  TListView* lvFiles = nullptr;
  TTabControl* tcKinds = nullptr;
  TTabSet* tsPages = nullptr;
  TMemo* mmoNotes = nullptr;
  TPageControl* pcPages = nullptr;
  TPanel* pnlOptions = nullptr;

 private:
  static void Register() {
    Published<Tfrm_Kinds>()
        .Field("chkAgree", &Tfrm_Kinds::chkAgree)
        .Field("chkBold", &Tfrm_Kinds::chkBold)
        .Field("chkItalic", &Tfrm_Kinds::chkItalic)
        .Field("rbFirst", &Tfrm_Kinds::rbFirst)
        .Field("rbSecond", &Tfrm_Kinds::rbSecond)
        .Field("cbColour", &Tfrm_Kinds::cbColour)
        .Field("rgSize", &Tfrm_Kinds::rgSize)
        .Field("lstNames", &Tfrm_Kinds::lstNames)
        .Field("pbDone", &Tfrm_Kinds::pbDone)
        .Field("lvFiles", &Tfrm_Kinds::lvFiles)
        .Field("tcKinds", &Tfrm_Kinds::tcKinds)
        .Field("tsPages", &Tfrm_Kinds::tsPages)
        .Field("mmoNotes", &Tfrm_Kinds::mmoNotes)
        .Field("pcPages", &Tfrm_Kinds::pcPages)
        .Field("pnlOptions", &Tfrm_Kinds::pnlOptions);
  }
};

using namespace testskin;

constexpr COLORREF kUntouched = RGB(1, 2, 3);

class KindsDiscovery : public Discovery {
 protected:
  TForm* MakeForm() override {
    RegisterToolkitClasses();
    F = TCustomForm::Create<Tfrm_Kinds>(nullptr);
    FOwned.insert(FOwned.begin(), F);
    F->Show();
    Pump();
    return F;
  }

  // Every control of the form and of what it owns (a radio group's buttons, a tab set's scroll
  // buttons), with its message method and window procedure before the takeover.
  void Attach() {
    Record(F);
    Discovery::Attach();
  }
  void Record(TComponent* owner) {
    for (int i = 0; i < owner->ComponentCount(); ++i) {
      TComponent* c = owner->Components(i);
      if (auto* w = ObjectAs<TWinControl>(c)) {
        FAll[w] = {w->WindowProc, Proc(w->Handle())};
        Record(w);
      }
    }
  }
  void ExpectAllGivenBack() {
    for (auto& [control, before] : FAll) {
      EXPECT_TRUE(control->WindowProc == before.first) << control->Name() << " " << control->ClassName();
      EXPECT_EQ(Proc(control->Handle()), before.second) << control->Name() << " " << control->ClassName();
    }
  }
  HWND Header() { return HWND(SendMessageA(F->lvFiles->Handle(), LVM_GETHEADER, 0, 0)); }
  std::string SkinNameOf(HWND w) {
    TSkinControl* s = FindControlByHandle(FSkinned, w);
    return s ? s->ClassName() : "none";
  }

  // What the control's skin object paints, on a picture of its window's size.
  std::unique_ptr<TBitmap> Painted(TControl* c) {
    return Painted(SkinOf(c), ObjectAs<TWinControl>(c)->Handle());
  }
  std::unique_ptr<TBitmap> Painted(TSkinControl* skin, HWND w) {
    EXPECT_NE(skin, nullptr);
    return skin ? ctltest::Painted(skin, w, kUntouched) : std::make_unique<TBitmap>();
  }
  static COLORREF Px(TBitmap& pic, int x, int y) { return GetPixel(pic.Canvas()->Handle(), x, y); }
  // The middle of the check box's or radio button's box as its skin paints it.
  COLORREF Box(TControl* c, bool radio) {
    TBitmap* strip = (radio ? FData->Buttons->RadioImage : FData->Buttons->CheckImage).get();
    const int fw = strip->Width() / (radio ? 8 : 12), fh = strip->Height();
    const int left = (14 - fw) / 2 + (radio ? 0 : 2);
    auto pic = Painted(c);
    return Px(*pic, left + fw / 2, (pic->Height() - fh) / 2 + fh / 2);
  }

  Tfrm_Kinds* F = nullptr;
  std::map<TWinControl*, std::pair<TWndMethod, LONG_PTR>> FAll;
};

TEST_F(KindsDiscovery, EveryKindGetsTheSkinObjectOfItsClassAndEverythingComesBack) {
  const TColor memoColour = F->mmoNotes->Color(), groupColour = F->rgSize->Color();
  const LONG_PTR headerProc = Proc(Header());
  Attach();
  EXPECT_EQ(SkinName(F->chkAgree), "TSkinCheckBox");
  EXPECT_EQ(SkinName(F->rbFirst), "TSkinRadioButton");
  EXPECT_EQ(SkinName(F->cbColour), "TSkinComBox");
  EXPECT_EQ(SkinName(F->rgSize), "TSkinGroupBox");
  for (int i = 0; i < F->rgSize->ControlCount(); ++i) {
    EXPECT_EQ(SkinName(F->rgSize->Controls(i)), "TSkinRadioButton") << i;
    EXPECT_EQ(SkinOf(F->rgSize->Controls(i))->Owner(), F->rgSize->Controls(i));
  }
  EXPECT_EQ(SkinName(F->lstNames), "TSkinScrollbar");
  EXPECT_EQ(SkinName(F->pbDone), "TSkinProgress");
  EXPECT_EQ(SkinName(F->lvFiles), "TSkinListView");
  EXPECT_EQ(SkinNameOf(Header()), "TSkinHeader");
  EXPECT_EQ(SkinName(F->tcKinds), "TSkinTab");
  EXPECT_EQ(SkinOf(F->tcKinds)->Owner(), F->tcKinds);
  EXPECT_EQ(SkinName(F->tsPages), "TSkinTab31");
  EXPECT_EQ(SkinName(F->tsPages->Scroller()), "TSkinUpDown");
  EXPECT_EQ(SkinName(F->mmoNotes), "TSkinScrollbar");
  EXPECT_EQ(F->mmoNotes->Color(), FData->ButtonFace);
  EXPECT_EQ(F->rgSize->Color(), FData->ButtonFace);
  // The memo follows a new skin's colour.
  FData->ButtonFace = clYellow;
  SkinOf(F->mmoNotes)->Refresh();
  EXPECT_EQ(F->mmoNotes->Color(), clYellow);

  Release();
  ExpectAllGivenBack();
  EXPECT_EQ(Proc(Header()), headerProc);
  EXPECT_EQ(F->mmoNotes->Color(), memoColour);
  EXPECT_EQ(F->rgSize->Color(), groupColour);
}

TEST_F(KindsDiscovery, WithTheirGatesOffTheKindsAreLeftAloneAndARadioGroupFallsToTheGroupBoxRule) {
  Only({xcPanel});
  Attach();
  for (TControl* c :
       std::initializer_list<TControl*>{F->chkAgree, F->rbFirst, F->cbColour, F->lstNames, F->pbDone,
                                        F->lvFiles, F->tcKinds, F->tsPages, F->mmoNotes, F->pcPages})
    EXPECT_EQ(SkinName(c), "none") << c->Name();
  // Without the radio gate a radio group is a group box, walked for what it owns: its buttons,
  // which the radio gate keeps plain.
  EXPECT_EQ(SkinName(F->rgSize), "TSkinGroupBox");
  EXPECT_EQ(SkinName(F->rgSize->Controls(0)), "none");
  Release();

  // The radio gate alone makes a radio group a group box of radio buttons.
  Only({xcRadioButton});
  Attach();
  EXPECT_EQ(SkinName(F->rgSize), "TSkinGroupBox");
  EXPECT_EQ(SkinName(F->rgSize->Controls(0)), "TSkinRadioButton");
  Release();

  // A tab control without the skin's Tabs element stays plain.
  FData->SkinControls.Include(xcTab);
  FData->Tabs.reset();
  Attach();
  EXPECT_EQ(SkinName(F->tcKinds), "none");
  EXPECT_EQ(SkinName(F->tsPages), "none");
}

TEST_F(KindsDiscovery, Skin3rdKindsSkinTheToolkitClassesTheyNameWhateverTheClassRulesWouldDo) {
  // Each kind on a class whose own rule gives something else, so the kind is what decides.
  FData->Skin3rd()->Clear();
  for (const char* line : {"TCheckBox=radiobutton", "TRadioButton=checkbox", "TListBox=combobox",
                           "TProgressBar=trackbar", "TTabSet=panel", "TPageControl=tab", "TMemo=scrollbar",
                           "TRadioGroup=groupbox", "TPanel=checkgroup", "TTabControl=nil"})
    FData->Skin3rd()->Add(line);
  const TColor memoColour = F->mmoNotes->Color();
  Attach();
  EXPECT_EQ(SkinName(F->chkAgree), "TSkinRadioButton");
  EXPECT_EQ(SkinName(F->rbFirst), "TSkinCheckBox");
  EXPECT_EQ(SkinName(F->lstNames), "TSkinComBox");
  EXPECT_EQ(SkinName(F->pbDone), "TSkinTrackBar");
  EXPECT_EQ(SkinName(F->tsPages), "TSkinBox");
  EXPECT_EQ(F->tsPages->Color(), FData->ButtonFace);
  EXPECT_EQ(SkinName(F->pcPages), "TSkinTab");
  EXPECT_EQ(SkinOf(F->pcPages)->Owner(), F->pcPages);  // the class rule's is the form's
  EXPECT_EQ(SkinName(F->mmoNotes), "TSkinScrollbar");
  EXPECT_EQ(F->mmoNotes->Color(), memoColour);
  EXPECT_EQ(SkinName(F->rgSize), "TSkinGroupBox");
  EXPECT_EQ(SkinName(F->rgSize->Controls(0)), "none");
  // The check group's children are its check boxes, taken before the form's walk reaches them.
  EXPECT_EQ(SkinName(F->pnlOptions), "TSkinGroupBox");
  EXPECT_EQ(SkinName(F->chkBold), "TSkinCheckBox");
  EXPECT_EQ(SkinName(F->chkItalic), "TSkinCheckBox");
  // Classes Skin3rd does not name still go by their class; a tab control's rule comes first.
  EXPECT_EQ(SkinName(F->cbColour), "TSkinComBox");
  EXPECT_EQ(SkinName(F->tcKinds), "TSkinTab");
  EXPECT_EQ(SkinName(F->lvFiles), "TSkinListView");
  Release();

  // With the kinds' gates off nothing is skinned, and no class rule is tried instead.
  FData->SkinControls.Bits = 0;
  Attach();
  for (TControl* c :
       std::initializer_list<TControl*>{F->chkAgree, F->rbFirst, F->lstNames, F->pbDone, F->tsPages,
                                        F->pcPages, F->mmoNotes, F->rgSize, F->pnlOptions, F->chkBold})
    EXPECT_EQ(SkinName(c), "none") << c->Name();
}

TEST_F(KindsDiscovery, EachKindShowsItsStatesFromTheSkin) {
  Attach();
  // Check box and radio buttons: checked and unchecked, and the radio group's buttons.
  EXPECT_EQ(Box(F->chkAgree, false), Colour(tpCheck, 5));
  SendMessageA(F->chkAgree->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(Box(F->chkAgree, false), Colour(tpCheck, 1));
  F->chkAgree->SetEnabled(false);
  EXPECT_EQ(Box(F->chkAgree, false), Colour(tpCheck, 4));
  EXPECT_EQ(Box(F->rbFirst, true), Colour(tpRadio, 5));
  EXPECT_EQ(Box(F->rbSecond, true), Colour(tpRadio, 1));
  SendMessageA(F->rbSecond->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(Box(F->rbFirst, true), Colour(tpRadio, 1));
  EXPECT_EQ(Box(F->rbSecond, true), Colour(tpRadio, 5));
  EXPECT_EQ(Box(F->rgSize->Controls(1), true), Colour(tpRadio, 5));
  EXPECT_EQ(Box(F->rgSize->Controls(0), true), Colour(tpRadio, 1));
  auto group = Painted(F->rgSize);
  EXPECT_EQ(Px(*group, 1, group->Height() / 2), NamedColour("ButtonShadow"));

  // Combo box: its edge and button, normal then disabled.
  auto combo = Painted(F->cbColour);
  const int cw = combo->Width(), ch = combo->Height();
  EXPECT_EQ(Px(*combo, 1, ch / 2), Colour(tpSunkEdge, 1));
  EXPECT_EQ(Px(*combo, cw - 2, 1), Colour(tpComboButton, 1));
  F->cbColour->SetEnabled(false);
  combo = Painted(F->cbColour);
  EXPECT_EQ(Px(*combo, 1, ch / 2), Colour(tpSunkEdge, 3));
  EXPECT_EQ(Px(*combo, cw - 2, 1), Colour(tpComboButton, 3));

  // Progress bar: filled as far as its position.
  auto bar = Painted(F->pbDone);
  EXPECT_EQ(Px(*bar, 50, 8), Colour(tpProgress, 2));
  EXPECT_EQ(Px(*bar, 150, 8), Colour(tpProgress, 1));
  F->pbDone->SetPosition(100);
  bar = Painted(F->pbDone);
  EXPECT_EQ(Px(*bar, 150, 8), Colour(tpProgress, 2));

  // Tab control and tab set: the current tab framed as current.
  auto tabAt = [&](int i) {
    RECT r{};
    SendMessageA(F->tcKinds->Handle(), TCM_GETITEMRECT, WPARAM(i), LPARAM(&r));
    return POINT{r.left + 3, r.top + 3};
  };
  auto tabs = Painted(F->tcKinds);
  EXPECT_EQ(Px(*tabs, tabAt(1).x, tabAt(1).y), Colour(tpTabs, 2));
  EXPECT_EQ(Px(*tabs, tabAt(0).x, tabAt(0).y), Colour(tpTabs, 1));
  F->tcKinds->SetTabIndex(0);
  tabs = Painted(F->tcKinds);
  EXPECT_EQ(Px(*tabs, tabAt(0).x, tabAt(0).y), Colour(tpTabs, 2));
  const auto shown = F->tsPages->VisibleTabs();
  ASSERT_EQ(shown.size(), 3u);
  auto set = Painted(F->tsPages);
  EXPECT_EQ(Px(*set, shown[0].Rect.left + 2, 2), Colour(tpTabs, 2));
  EXPECT_EQ(Px(*set, shown[1].Rect.left + 2, 2), Colour(tpTabs, 1));
  F->tsPages->SetTabIndex(1);
  set = Painted(F->tsPages);
  EXPECT_EQ(Px(*set, shown[0].Rect.left + 2, 2), Colour(tpTabs, 1));
  EXPECT_EQ(Px(*set, shown[1].Rect.left + 2, 2), Colour(tpTabs, 2));

  // List view header and the memo's vertical bar, its up arrow at the top.
  auto header = Painted(FindControlByHandle(FSkinned, Header()), Header());
  EXPECT_EQ(Px(*header, 1, 1), Colour(tpHeaderbar, 1));
  auto memo = Painted(F->mmoNotes);
  const int b = GetSystemMetrics(SM_CXHSCROLL), e = 2;
  EXPECT_EQ(Px(*memo, memo->Width() - e - b / 2, e + b / 2), Colour(tpScrollbar, 9));
}

TEST_F(KindsDiscovery, TheCheckedStateShownIsThePublishedPropertyNotTheWindows) {
  Attach();
  // The windows are told otherwise behind the controls' backs.
  SendMessageA(F->chkAgree->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
  SendMessageA(F->rbSecond->Handle(), BM_SETCHECK, BST_CHECKED, 0);
  ASSERT_TRUE(F->chkAgree->Checked());
  ASSERT_FALSE(F->rbSecond->Checked());
  EXPECT_EQ(Box(F->chkAgree, false), Colour(tpCheck, 5));
  EXPECT_EQ(Box(F->rbSecond, true), Colour(tpRadio, 1));
}

// ---- The bare-window path -----------------------------------------------------------------------------

class BareDiscovery : public FormTest {
 protected:
  HWND Child(HWND parent, const char* cls, DWORD style) {
    HWND w = CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 10, 10 + 4 * int(FChildren.size()),
                             80, 24, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_TRUE(w) << cls;
    FChildren.push_back(w);
    FProcs[w] = Proc(w);
    return w;
  }
  std::string SkinName(TRezIderFormImpl* f, HWND w) {
    TSkinControl* s = FindControlByHandle(f, w);
    return s ? s->ClassName() : "none";
  }
  std::vector<HWND> FChildren;
  std::map<HWND, LONG_PTR> FProcs;
};

TEST_F(BareDiscovery, ChildWindowsAreSkinnedByWindowClassAndStyleAndGivenBack) {
  InitCommonControls();
  HWND w = Window("Dialog", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 400);
  HWND group = Child(w, "BUTTON", BS_GROUPBOX);
  HWND owner = Child(w, "BUTTON", BS_OWNERDRAW);
  HWND radio = Child(w, "BUTTON", BS_AUTORADIOBUTTON);
  HWND plainRadio = Child(w, "BUTTON", BS_RADIOBUTTON);
  HWND check = Child(w, "BUTTON", BS_AUTOCHECKBOX);
  HWND tri = Child(w, "BUTTON", BS_3STATE);
  HWND push = Child(w, "BUTTON", BS_DEFPUSHBUTTON);
  HWND simple = Child(w, "COMBOBOX", CBS_SIMPLE);
  HWND drop = Child(w, "COMBOBOX", CBS_DROPDOWNLIST);
  HWND extended = Child(w, WC_COMBOBOXEXA, CBS_DROPDOWN);
  HWND grip = Child(w, "SCROLLBAR", SBS_SIZEGRIP);
  HWND bar = Child(w, "SCROLLBAR", SBS_HORZ);
  HWND tab = Child(w, WC_TABCONTROLA, 0);
  HWND ownerTab = Child(w, WC_TABCONTROLA, TCS_OWNERDRAWFIXED);
  HWND edit = Child(w, "EDIT", 0);
  HWND label = Child(w, "STATIC", 0);
  HWND inner = GetTopWindow(extended);
  ASSERT_TRUE(inner);
  FProcs[inner] = Proc(inner);

  TRezIderFormImpl* f = Skin(w);
  EXPECT_EQ(SkinName(f, group), "none");
  EXPECT_EQ(SkinName(f, owner), "none");
  EXPECT_EQ(SkinName(f, radio), "TSkinRadioButton");
  EXPECT_EQ(SkinName(f, plainRadio), "TSkinRadioButton");
  EXPECT_EQ(SkinName(f, check), "TSkinCheckBox");
  EXPECT_EQ(SkinName(f, tri), "TSkinCheckBox");
  EXPECT_EQ(SkinName(f, push), "TSkinButton");
  EXPECT_EQ(SkinName(f, simple), "none");
  EXPECT_EQ(SkinName(f, drop), "TSkinComBox");
  EXPECT_EQ(SkinName(f, extended), "none");
  EXPECT_EQ(SkinName(f, inner), "TSkinComBox");
  EXPECT_EQ(SkinName(f, grip), "TSkinSizer");
  EXPECT_EQ(SkinName(f, bar), "none");
  EXPECT_EQ(SkinName(f, tab), "TSkinTab");
  EXPECT_EQ(SkinName(f, ownerTab), "none");
  EXPECT_EQ(SkinName(f, edit), "TSkinEdit");
  EXPECT_EQ(SkinName(f, label), "none");
  EXPECT_EQ(FindControlByHandle(f, push)->Owner(), f);
  EXPECT_NE(Proc(push), FProcs[push]);

  Unskin(f);
  for (auto& [child, proc] : FProcs) EXPECT_EQ(Proc(child), proc);
}

TEST_F(BareDiscovery, ThePathIsNotGatedAndAWindowAlreadyRegisteredIsLeftAlone) {
  HWND w = Window();
  HWND push = Child(w, "BUTTON", BS_PUSHBUTTON);
  FData->SkinControls.Bits = 0;
  TRezIderFormImpl* f = Skin(w);
  ASSERT_EQ(SkinName(f, push), "TSkinButton");
  SkinChildWindows(f);
  SkinByWindowClass(f, push);
  SkinByWindowClass(f, nullptr);
  EXPECT_EQ(f->FControls.Count(), 1);
}

TEST_F(BareDiscovery, AComboBoxExIsSkinnedOnceThroughItsInnerComboBoxHoweverOftenItIsWalked) {
  InitCommonControls();
  HWND w = Window("Dialog", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200);
  HWND extended = Child(w, WC_COMBOBOXEXA, CBS_DROPDOWNLIST);
  HWND inner = GetTopWindow(extended);
  const LONG_PTR own = Proc(inner);
  TRezIderFormImpl* f = Skin(w);
  ASSERT_EQ(SkinName(f, inner), "TSkinComBox");
  SkinChildWindows(f);
  SkinByWindowClass(f, extended);
  EXPECT_EQ(f->FControls.Count(), 1);
  Unskin(f);
  EXPECT_EQ(Proc(inner), own);
}

TEST_F(BareDiscovery, ManyCyclesLeaveNoGdiObjectBehind) {
  HWND w = Window();
  Child(w, "BUTTON", BS_PUSHBUTTON);
  Child(w, "BUTTON", BS_AUTOCHECKBOX);
  Child(w, "EDIT", 0);
  Child(w, "COMBOBOX", CBS_DROPDOWN);
  Unskin(Skin(w));
  ExpectCyclesLeaveNoGdiObject([&] {
    TRezIderFormImpl* f = Skin(w);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Unskin(f);
  });
}

}  // namespace
