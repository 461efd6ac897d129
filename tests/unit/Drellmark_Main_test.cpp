// The keeper's main window with its real form descriptions: the account dialog, the winks folder
// and its rows, preview through the stand-in expander and Flash player, removal, row drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include <shlobj.h>

#include "skin/RezIderData.h"
#include "skin/RezIderDlg.h"
#include "skin/RezIderForm.h"
#include "drellmark/Uni_Function.h"
#include "drellmark/Uni_GetSummary.h"
#include "drellmark/Uni_Main.h"
#include "tests/unit/DrellmarkTesting.h"
#include "tests/unit/GraphicsHelpers.h"
#include "tests/unit/MessageBoxWatch.h"
#include "tests/unit/PaintTesting.h"
#include "tests/unit/VelloranTesting.h"
#include "tests/unit/standins_testing.h"
#include "velloran/Uni_About.h"

using namespace drellmark_testing;

namespace {

std::string Packages() { return std::string(DRELLMARK_PACKAGES) + "/"; }

// Runs Step once on the GUI thread as soon as a modal form of class T is up, from a thread timer
// that the form's modal loop dispatches.
template <class T>
class FormDriver {
 public:
  explicit FormDriver(std::function<void(T*)> step) {
    Step() = std::move(step);
    Ran() = false;
    FTimer = SetTimer(nullptr, 0, 20, Tick);
  }
  ~FormDriver() {
    KillTimer(nullptr, FTimer);
    Step() = nullptr;
  }
  static bool& Ran() {
    static bool ran = false;
    return ran;
  }

 private:
  static std::function<void(T*)>& Step() {
    static std::function<void(T*)> step;
    return step;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    for (int i = 0; i < Screen->FormCount(); ++i) {
      auto* form = ObjectAs<T>(Screen->Forms(i));
      if (!form || !form->Modal() || !form->HandleAllocated() || !IsWindowVisible(form->Handle())) continue;
      auto step = std::move(Step());
      Step() = nullptr;
      if (!step) return;
      Ran() = true;
      step(form);
      return;
    }
  }
  UINT_PTR FTimer;
};
using DialogDriver = FormDriver<Tfrm_GetSummary>;

void Type(TWinControl* edit, const std::string& text) {
  for (char c : text) SendMessageA(edit->Handle(), WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 1);
}
void Press(TWinControl* button) { SendMessageA(button->Handle(), BM_CLICK, 0, 0); }

std::vector<std::string> Rows(Tfrm_Main* form) {
  std::vector<std::string> rows;
  for (int i = 0; i < form->lstWinks->Items().Count(); ++i)
    rows.push_back(form->lstWinks->Items().Strings(i));
  return rows;
}

std::string WinksFolderOf(const std::string& account) {
  return AppDataFolder() + "\\Microsoft\\MSN Messenger\\" + std::to_string(Tfrm_Main::AccountHash(account)) +
         "\\Winks3\\";
}

struct MainFixture : ::testing::Test {
  standins_testing::OwnSettings Settings;
  MessengerValue Registry;
  Tfrm_Main* Form = nullptr;
  std::string Account;
  std::string Folder;

  void SetUp() override {
    Application->SetTitle("Drellmark");
    Form = TCustomForm::Create<Tfrm_Main>(Application);
    Account = "keeper-test-" + std::to_string(GetCurrentProcessId());
    Folder = WinksFolderOf(Account);
    SHCreateDirectoryExA(nullptr, Folder.c_str(), nullptr);
  }
  void TearDown() override {
    delete Form;
    RemoveTree(Folder.substr(0, Folder.size() - strlen("Winks3\\")));
  }
  void Put(const std::string& name, const std::string& from = {}) {
    if (from.empty())
      WriteFile(Folder + name, name);
    else
      ASSERT_TRUE(CopyFileA((Packages() + from).c_str(), (Folder + name).c_str(), FALSE)) << from;
  }
  std::vector<std::string> FlashLog() const {
    std::vector<std::string> lines;
    for (const std::string& l : Settings.LogLines())
      if (l.rfind("Flash ", 0) == 0) lines.push_back(l);
    return lines;
  }
  // Selects a row as the user would: the list's selection and its change notification.
  void Select(int row) {
    HWND list = Form->lstWinks->Handle();
    SendMessageA(list, LB_SETCURSEL, WPARAM(row), 0);
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE), LPARAM(list));
  }
};

// ---- The form descriptions -------------------------------------------------------------------------

TEST_F(MainFixture, TheMainWindowIsLaidOutAsDescribed) {
  EXPECT_EQ(Form->Caption(), "Drellmark");
  EXPECT_EQ(Form->BorderStyle(), bsSingle);
  EXPECT_EQ(Form->BorderIcons(), TBorderIcons(biSystemMenu | biMinimize));
  EXPECT_EQ(Form->Position, poDesktopCenter);
  EXPECT_EQ(Form->Font()->Name(), "MS Sans Serif");
  EXPECT_EQ(Form->Font()->Height(), -11);
  Form->HandleNeeded();
  EXPECT_EQ(Form->ClientWidth(), 688);
  EXPECT_EQ(Form->ClientHeight(), 449);
  EXPECT_EQ(Form->sbMain->Height(), 19);
  EXPECT_EQ(Form->sbMain->Align(), alBottom);
  EXPECT_EQ(Form->pnlBottom->Height(), 41);
  EXPECT_EQ(Form->pnlBottom->BevelOuter(), bvNone);
  EXPECT_EQ(Form->pnlLeft->Width(), 225);
  EXPECT_EQ(Form->pnlLeft->BorderStyle(), bsSingle);
  EXPECT_EQ(Form->pnlLeft->BevelOuter(), bvRaised);
  EXPECT_EQ(Form->lstWinks->Align(), alClient);
  EXPECT_EQ(Form->lstWinks->Style(), lbOwnerDrawFixed);
  EXPECT_EQ(Form->lstWinks->ItemHeight(), 20);
  EXPECT_EQ(Form->GroupBox1->Caption(), "Preview");
  EXPECT_EQ(Form->sflash->Align(), alClient);

  struct Row {
    TBitBtn* Button;
    int Left, Width, TabOrder;
    const char* Caption;
    const char* Hint;
  };
  const Row rows[] = {{Form->bnHelp, 8, 75, 4, "&Help", "Help "},
                      {Form->btnAccount, 320, 99, 0, "MSN Account", "MSN Account"},
                      {Form->btnRemove, 432, 75, 1, "&Remove", "Install into MSN Messenger "},
                      {Form->btnAbout, 520, 75, 2, "&About", "About Fennowick"},
                      {Form->btnExit, 600, 75, 3, "E&xit", "Exit Fennowick"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Caption);
    EXPECT_EQ(r.Button->Left(), r.Left);
    EXPECT_EQ(r.Button->Top(), 8);
    EXPECT_EQ(r.Button->Width(), r.Width);
    EXPECT_EQ(r.Button->Height(), 25);
    EXPECT_EQ(r.Button->TabOrder(), r.TabOrder);
    EXPECT_EQ(r.Button->Caption(), r.Caption);
    EXPECT_EQ(r.Button->Hint, r.Hint);
    EXPECT_TRUE(r.Button->ShowHint);
  }
  // The Flash player got its stored settings.
  EXPECT_EQ(Form->sflash->GetProperty("WMode").AsString(), "Window");
  EXPECT_TRUE(Form->sflash->GetProperty("Loop").AsBoolean());
  EXPECT_FALSE(Form->sflash->GetProperty("Menu").AsBoolean());
  EXPECT_EQ(Form->sflash->GetProperty("AllowScriptAccess").AsString(), "always");
  EXPECT_EQ(Form->sflash->GetProperty("Scale").AsString(), "ShowAll");
  EXPECT_EQ(FlashLog(), std::vector<std::string>{"Flash Playing 1"});
  EXPECT_EQ(Form->ImgList->Count(), 1);
  EXPECT_TRUE(Form->ImgList->ShareImages);
}

TEST_F(MainFixture, StoredSkinComponentLoadsItsArchiveWithTheStoredValues) {
  auto* skin = ObjectAs<TSkinData>(Form->FindComponent("SkinData1"));
  ASSERT_NE(skin, nullptr);
  EXPECT_TRUE(skin->Active());
  EXPECT_FALSE(skin->FNotLoaded);
  EXPECT_EQ(skin->DisableTag, 99);
  EXPECT_EQ(skin->SkinFormtype, sfMainform);
  EXPECT_TRUE(skin->MenuUpdate);
  EXPECT_TRUE(skin->SkinControls.Contains(xcSystemMenu));
  EXPECT_TRUE(skin->SkinControls.Contains(xcTab));
  // The stored class list is the component's own default one.
  TSkinData defaults(nullptr);
  EXPECT_EQ(skin->Skin3rd()->Text(), defaults.Skin3rd()->Text());
  ASSERT_NE(skin->FSkinStream, nullptr);
  EXPECT_GT(skin->FSkinStream->GetSize(), 1000);
}

TEST(GetSummaryForm, IsLaidOutAsDescribed) {
  std::unique_ptr<Tfrm_GetSummary> d(TCustomForm::Create<Tfrm_GetSummary>(Application));
  EXPECT_EQ(d->Caption(), "Input");
  EXPECT_EQ(d->BorderStyle(), bsDialog);
  EXPECT_EQ(d->Font()->Charset(), GB2312_CHARSET);
  EXPECT_EQ(d->Font()->Height(), -12);
  EXPECT_EQ(d->Font()->Name(), "\xCB\xCE\xCC\xE5");  // the face's name in the GB2312 code page
  d->HandleNeeded();
  EXPECT_EQ(d->ClientWidth(), 316);
  EXPECT_EQ(d->ClientHeight(), 93);
  EXPECT_EQ(d->lblprompt->Left(), 8);
  EXPECT_EQ(d->lblprompt->Top(), 10);
  EXPECT_EQ(d->lblprompt->Caption(), "Please enter the account of MSN Messenger:");
  EXPECT_EQ(d->edtvalue->BoundsRect().left, 8);
  EXPECT_EQ(d->edtvalue->Top(), 27);
  EXPECT_EQ(d->edtvalue->Width(), 297);
  EXPECT_EQ(d->edtvalue->CharCase(), ecLowerCase);
  EXPECT_EQ(d->edtvalue->MaxLength(), 255);
  EXPECT_EQ(d->ActiveControl(), d->edtvalue);
  EXPECT_EQ(d->btnok->Left(), 79);
  EXPECT_EQ(d->btnok->Top(), 59);
  EXPECT_EQ(d->btnok->Caption(), "OK");
  EXPECT_TRUE(d->btnok->Default());
  EXPECT_EQ(d->btncancel->Left(), 160);
  EXPECT_EQ(d->btncancel->Caption(), "Cancel");
  EXPECT_TRUE(d->btncancel->Cancel);
  EXPECT_EQ(d->btncancel->ModalResult, mrCancel);
}

// ---- The account hash and the winks folder ---------------------------------------------------------

TEST(AccountHash, GivesTheChatClientsFolderNumbers) {
  EXPECT_EQ(Tfrm_Main::AccountHash(""), 0u);
  EXPECT_EQ(Tfrm_Main::AccountHash("abc"), 999494u);
  EXPECT_EQ(Tfrm_Main::AccountHash("abcdef"), 3283514353u);
  EXPECT_EQ(std::to_string(Tfrm_Main::AccountHash("abcdef")), "3283514353");
}

TEST(AccountHash, CountsBytesAbove127AsUnsigned) {
  EXPECT_EQ(Tfrm_Main::AccountHash("\xFF"), 255u);
  EXPECT_EQ(Tfrm_Main::AccountHash("\x80"), 128u);
  EXPECT_EQ(Tfrm_Main::AccountHash("a\xE9"), 97u * 101u + 0xE9u);
  // 255 bytes of 0xFF, step by step modulo 2^32.
  uint32_t expected = 0;
  for (int i = 0; i < 255; ++i) expected = uint32_t(uint64_t(expected) * 101u % 4294967296u + 255u);
  EXPECT_EQ(Tfrm_Main::AccountHash(std::string(255, '\xFF')), expected);
}

TEST_F(MainFixture, ListsEveryDatExceptMapDatWhichStillTakesItsNumber) {
  // Find names whose folder search gives map.dat first, as the rule is about the search's order.
  std::vector<std::string> order;
  const char* candidates[][2] = {{"a.dat", "b.dat"},   {"q.dat", "r.dat"}, {"zz.dat", "yy.dat"},
                                 {"p1.dat", "p2.dat"}, {"k.dat", "w.dat"}, {"n.dat", "o.dat"},
                                 {"c.dat", "d.dat"},   {"e.dat", "f.dat"}, {"g.dat", "h.dat"}};
  Put("map.dat");
  bool mapFirst = false;
  for (auto& names : candidates) {
    Put(names[0]);
    Put(names[1]);
    TStringList found;
    FindFiles(Folder, "*.dat", &found);
    if (found.Count() == 3 && found.Strings(0) == "map.dat") {
      mapFirst = true;
      for (int i = 0; i < 3; ++i) order.push_back(found.Strings(i));
      break;
    }
    DeleteFileA((Folder + names[0]).c_str());
    DeleteFileA((Folder + names[1]).c_str());
  }
  ASSERT_TRUE(mapFirst) << "no candidate names put map.dat first in this file system's order";

  Form->ListWinks(Account);
  EXPECT_EQ(Form->FWinksFolder, Folder);
  EXPECT_EQ(Rows(Form), (std::vector<std::string>{"Winks2", "Winks3"}));
  ASSERT_EQ(Form->lstWinks->Codes()->Count(), 2);
  EXPECT_EQ(Form->lstWinks->Codes()->Strings(0), Folder + order[1]);
  EXPECT_EQ(Form->lstWinks->Codes()->Strings(1), Folder + order[2]);
}

TEST_F(MainFixture, MapDatIsSkippedWhateverItsCaseAndAFolderNamedDatIsListed) {
  Put("MAP.DAT");
  CreateDirectoryA((Folder + "x.dat").c_str(), nullptr);
  Put("notes.txt");
  Form->ListWinks(Account);
  ASSERT_EQ(Form->lstWinks->Codes()->Count(), 1);
  EXPECT_EQ(Form->lstWinks->Codes()->Strings(0), Folder + "x.dat");
  ASSERT_EQ(Rows(Form).size(), 1u);
  EXPECT_EQ(Form->lstWinks->Items().Count(), Form->lstWinks->Codes()->Count());
}

TEST_F(MainFixture, AMissingFolderGivesAnEmptyListAndRowsOfTheOldAccountGo) {
  Put("one.dat");
  Form->ListWinks(Account);
  ASSERT_EQ(Rows(Form).size(), 1u);
  Form->ListWinks("nobody-has-this-account-" + Account);
  EXPECT_TRUE(Rows(Form).empty());
  EXPECT_EQ(Form->lstWinks->Codes()->Count(), 0);
  EXPECT_EQ(Form->FWinksFolder, WinksFolderOf("nobody-has-this-account-" + Account));
}

TEST_F(MainFixture, AccountsOfBytesAbove127AndOf255CharactersGetTheirOwnFolder) {
  std::string wide(255, 'z');
  Form->ListWinks(wide);
  EXPECT_EQ(Form->FWinksFolder, WinksFolderOf(wide));
  std::string high = "\xE9\xE8\xFF";
  Form->ListWinks(high);
  EXPECT_EQ(Form->FWinksFolder, AppDataFolder() + "\\Microsoft\\MSN Messenger\\" +
                                    std::to_string(255u + 101u * (0xE8u + 101u * 0xE9u)) + "\\Winks3\\");
  EXPECT_TRUE(Rows(Form).empty());
}

// ---- The account dialog ----------------------------------------------------------------------------

TEST_F(MainFixture, FirstShowingOpensTheDialogPrefilledFromTheRegistryAndListsItsWinks) {
  Registry.SetString(Account);
  Put("one.dat");
  std::string prefilled, caption, prompt;
  bool focused = false;
  DialogDriver driver([&](Tfrm_GetSummary* d) {
    prefilled = d->edtvalue->Text();
    caption = d->Caption();
    prompt = d->lblprompt->Caption();
    focused = d->edtvalue->Focused();
    EXPECT_TRUE(IsWindowVisible(Form->Handle())) << "the main window shows behind the dialog";
    EXPECT_FALSE(IsWindowEnabled(Form->Handle())) << "and takes no input while the dialog is up";
    Press(d->btnok);
  });
  Form->Show();
  ASSERT_TRUE(DialogDriver::Ran());
  EXPECT_EQ(prefilled, Account);
  EXPECT_EQ(caption, "Input");
  EXPECT_EQ(prompt, "Please enter the account of MSN Messenger:");
  EXPECT_TRUE(focused);
  EXPECT_EQ(Form->FAccount, Account);
  EXPECT_EQ(Rows(Form), (std::vector<std::string>{"Winks1"}));
}

TEST_F(MainFixture, TheFirstShowingPaintsEveryWindowOfTheMainWindowAndTheDialogOnce) {
  Registry.SetString(Account);
  paint_testing::TPaintCount main("Tfrm_Main"), dialog("Tfrm_GetSummary");
  // Closes the dialog once both are painted, or after the limit.
  paint_testing::TPaintWatch watch({&main, &dialog}, true, 10000);
  Form->Show();
  ASSERT_TRUE(watch.Done());
  paint_testing::ExpectPaintedOnce(main, paint_testing::VisibleWindows(main.Form()));
  paint_testing::ExpectPaintedOnce(dialog, 4);  // the form, its edit and its two buttons
}

TEST_F(MainFixture, CancelKeepsTheRegistrysAccountAndListsIt) {
  Registry.SetString(Account);
  Put("one.dat");
  Put("two.dat");
  DialogDriver driver([&](Tfrm_GetSummary* d) {
    Type(d->edtvalue, "other");
    Press(d->btncancel);
  });
  Form->btnAccountClick(nullptr);
  ASSERT_TRUE(DialogDriver::Ran());
  EXPECT_EQ(Form->FAccount, Account);
  EXPECT_EQ(Rows(Form).size(), 2u);
}

TEST_F(MainFixture, WithoutARegistryValueTheDialogOffersTheAccountUsedBefore) {
  Form->FAccount = Account;
  std::string prefilled = "(not opened)";
  DialogDriver driver([&](Tfrm_GetSummary* d) {
    prefilled = d->edtvalue->Text();
    Press(d->btncancel);
  });
  Form->btnAccountClick(nullptr);
  EXPECT_EQ(prefilled, Account);
}

TEST_F(MainFixture, TypedCapitalsAreEnteredInLowerCase) {
  std::string shown;
  DialogDriver driver([&](Tfrm_GetSummary* d) {
    SendMessageA(d->edtvalue->Handle(), WM_SETTEXT, 0, LPARAM(""));
    Type(d->edtvalue, "ABC");
    shown = d->edtvalue->Text();
    Press(d->btnok);
  });
  Form->btnAccountClick(nullptr);
  EXPECT_EQ(shown, "abc");
  EXPECT_EQ(Form->FAccount, "abc");
  EXPECT_EQ(Form->FWinksFolder, WinksFolderOf("abc"));
  EXPECT_NE(Form->FWinksFolder.find("\\999494\\"), std::string::npos);
}

TEST_F(MainFixture, TheEntryHoldsAtMost255Characters) {
  std::string shown;
  DialogDriver driver([&](Tfrm_GetSummary* d) {
    Type(d->edtvalue, std::string(300, 'q'));
    shown = d->edtvalue->Text();
    Press(d->btnok);
  });
  Form->btnAccountClick(nullptr);
  EXPECT_EQ(shown.size(), 255u);
  EXPECT_EQ(Form->FAccount, std::string(255, 'q'));
}

TEST_F(MainFixture, BlanksAreAcceptedButListNothingAndTheOldRowsStay) {
  Put("one.dat");
  Form->FAccount = Account;
  Form->ListWinks(Account);
  std::string folderBefore = Form->FWinksFolder;
  DialogDriver driver([&](Tfrm_GetSummary* d) {
    SendMessageA(d->edtvalue->Handle(), WM_SETTEXT, 0, LPARAM(""));
    Type(d->edtvalue, "   ");
    Press(d->btnok);
  });
  Form->btnAccountClick(nullptr);
  EXPECT_EQ(Form->FAccount, "   ");
  EXPECT_EQ(Rows(Form), (std::vector<std::string>{"Winks1"}));
  EXPECT_EQ(Form->FWinksFolder, folderBefore);
}

TEST_F(MainFixture, OkOnAnEmptyEntryKeepsTheDialogOpenWithTheFocusInTheEntry) {
  bool stillOpen = false, focused = false;
  DialogDriver driver([&](Tfrm_GetSummary* d) {
    SendMessageA(d->edtvalue->Handle(), WM_SETTEXT, 0, LPARAM(""));
    d->btncancel->SetFocus();
    Press(d->btnok);
    Application->ProcessMessages();
    stillOpen = IsWindowVisible(d->Handle()) && d->ModalResult == mrNone;
    focused = d->edtvalue->Focused();
    Press(d->btncancel);
  });
  std::string before = Form->FAccount = "kept";
  Form->btnAccountClick(nullptr);
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(focused);
  EXPECT_EQ(Form->FAccount, before);
}

TEST(InputDialog, ReturnsTrueWithTheEntryOnlyForAConfirmedNonEmptyOne) {
  std::string value = "old";
  {
    DialogDriver driver([](Tfrm_GetSummary* d) {
      SendMessageA(d->edtvalue->Handle(), WM_SETTEXT, 0, LPARAM("new"));
      Press(d->btnok);
    });
    EXPECT_TRUE(InputDialog("Caption here", "Prompt here", value));
  }
  EXPECT_EQ(value, "new");
  {
    DialogDriver driver([](Tfrm_GetSummary* d) {
      SendMessageA(d->edtvalue->Handle(), WM_SETTEXT, 0, LPARAM("ignored"));
      Press(d->btncancel);
    });
    EXPECT_FALSE(InputDialog("Caption here", "Prompt here", value));
  }
  EXPECT_EQ(value, "new");
}

TEST_F(MainFixture, ARegistryValueThatIsNotTextGoesToTheGeneralErrorReportAndNoDialogOpens) {
  Registry.SetDword(42);
  Form->FAccount = "before";
  Form->HandleNeeded();
  DialogDriver driver([](Tfrm_GetSummary* d) { Press(d->btncancel); });
  MessageBoxWatch watch;
  // A real click, so the failure takes the path any escaping failure takes.
  Press(Form->btnAccount);
  ASSERT_TRUE(watch.Answered());
  EXPECT_EQ(watch.Caption, "Drellmark");
  EXPECT_NE(watch.Text.find("User.NET Messenger Service"), std::string::npos) << watch.Text;
  EXPECT_EQ(watch.Icon, LoadIconA(nullptr, IDI_ERROR));
  EXPECT_FALSE(DialogDriver::Ran());
  EXPECT_EQ(Form->FAccount, "before");
}

// ---- Preview and removal -------------------------------------------------------------------------

TEST_F(MainFixture, PreviewUnpacksIntoAFolderNamedAfterTheShortNameAndPlaysTheLastMovieFound) {
  Put("a long package name.dat", "twomovies.dat");
  Form->HandleNeeded();
  Form->ListWinks(Account);
  ASSERT_EQ(Rows(Form).size(), 1u);
  std::string shortPackage = ShortPath(Folder + "a long package name.dat");
  std::string name = shortPackage.substr(shortPackage.find_last_of('\\') + 1);
  std::string unpack = TempFolder() + name + "\\";
  RemoveTree(unpack);

  Select(0);
  // The expander was started with the exact command line.
  std::string expected = "Expand expand " + shortPackage + " -f:*.* " + ShortPath(unpack);
  auto lines = Settings.LogLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << expected;
  EXPECT_TRUE(Exists(unpack + "readme.txt"));

  std::vector<std::string> movies;
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA((unpack + "*.swf").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  do movies.push_back(data.cFileName);
  while (FindNextFileA(h, &data));
  FindClose(h);
  ASSERT_EQ(movies.size(), 2u);
  EXPECT_EQ(Form->sflash->Movie(), unpack + movies.back());
  EXPECT_TRUE(Form->sflash->Playing());
  // After the stored setting that the player got when it was made.
  EXPECT_EQ(FlashLog(), (std::vector<std::string>{"Flash Playing 1", "Flash Movie " + unpack + movies.back(),
                                                  "Flash Play"}));

  // Again: the same folder, unpacked again, played again.
  DeleteFileA((unpack + "readme.txt").c_str());
  Select(0);
  EXPECT_TRUE(Exists(unpack + "readme.txt"));
  EXPECT_EQ(FlashLog().size(), 5u);
  EXPECT_EQ(FlashLog()[3], "Flash Movie " + unpack + movies.back());
  RemoveTree(unpack);
}

TEST_F(MainFixture, AnUnpackFolderWithABlankAndNoShortPathStillReachesTheExpander) {
  Put("a long package name.dat", "twomovies.dat");
  Form->HandleNeeded();
  Form->ListWinks(Account);
  // A temporary folder with a blank that the system cannot shorten: it does not exist yet.
  ScratchFolder scratch("temp with blanks");
  const std::string temp = scratch.Path + "not made yet\\";
  char saved[MAX_PATH] = "";
  GetEnvironmentVariableA("TMP", saved, MAX_PATH);
  SetEnvironmentVariableA("TMP", temp.c_str());
  ASSERT_EQ(TempFolder(), temp);
  const std::string shortPackage = ShortPath(Folder + "a long package name.dat");
  const std::string unpack = temp + shortPackage.substr(shortPackage.find_last_of('\\') + 1) + "\\";
  Select(0);
  SetEnvironmentVariableA("TMP", saved);
  EXPECT_TRUE(Exists(unpack + "readme.txt"));
  EXPECT_TRUE(Form->sflash->Playing());
}

TEST_F(MainFixture, APackageThatIsNoCabinetPlaysNothingAndShowsNothing) {
  Put("broken.dat", "notacab.dat");
  Form->HandleNeeded();
  Form->ListWinks(Account);
  Select(0);
  EXPECT_EQ(FlashLog(), std::vector<std::string>{"Flash Playing 1"});
  EXPECT_EQ(Form->sflash->Movie(), "");
  std::string shortPackage = ShortPath(Folder + "broken.dat");
  RemoveTree(TempFolder() + shortPackage.substr(shortPackage.find_last_of('\\') + 1));
}

TEST_F(MainFixture, NamesThatTryToLeaveTheUnpackFolderWriteNothingOutsideIt) {
  Put("escape.dat", "escape.dat");
  Form->HandleNeeded();
  Form->ListWinks(Account);
  std::string shortPackage = ShortPath(Folder + "escape.dat");
  std::string unpack = TempFolder() + shortPackage.substr(shortPackage.find_last_of('\\') + 1) + "\\";
  DeleteFileA((TempFolder() + "evil1.swf").c_str());
  Select(0);
  EXPECT_FALSE(Exists(TempFolder() + "evil1.swf"));
  EXPECT_FALSE(Exists("C:\\evil2.swf"));
  EXPECT_FALSE(Exists(unpack + "..\\evil1.swf"));
  EXPECT_EQ(FlashLog(), std::vector<std::string>{"Flash Playing 1"});
  RemoveTree(unpack);
}

TEST_F(MainFixture, RemoveWithoutASelectionDoesNothing) {
  Put("one.dat");
  Put("two.dat");
  Form->HandleNeeded();
  Form->FAccount = Account;
  Form->ListWinks(Account);
  Press(Form->btnRemove);
  EXPECT_TRUE(Exists(Folder + "one.dat"));
  EXPECT_TRUE(Exists(Folder + "two.dat"));
  EXPECT_EQ(Rows(Form).size(), 2u);
}

TEST_F(MainFixture, RemoveDeletesTheSelectedPackageAtOnceAndListsTheFolderAgain) {
  Put("one.dat");
  Put("two.dat");
  Put("three.dat");
  Form->HandleNeeded();
  Form->FAccount = Account;
  Form->ListWinks(Account);
  ASSERT_EQ(Rows(Form).size(), 3u);
  std::string victim = Form->lstWinks->Codes()->Strings(1);
  SendMessageA(Form->lstWinks->Handle(), LB_SETCURSEL, 1, 0);
  Press(Form->btnRemove);
  EXPECT_FALSE(Exists(victim));
  ASSERT_EQ(Rows(Form).size(), 2u);
  EXPECT_EQ(Form->lstWinks->ItemIndex(), -1);
  // The rows are numbered afresh from the new search.
  TStringList found;
  FindFiles(Folder, "*.dat", &found);
  for (int i = 0; i < found.Count(); ++i) EXPECT_EQ(Rows(Form)[size_t(i)], "Winks" + std::to_string(i + 1));
}

TEST_F(MainFixture, RemovingAPackageThatIsAlreadyGoneStillListsTheFolderAgain) {
  Put("one.dat");
  Put("two.dat");
  Form->HandleNeeded();
  Form->FAccount = Account;
  Form->ListWinks(Account);
  DeleteFileA(Form->lstWinks->Codes()->Strings(0).c_str());
  SendMessageA(Form->lstWinks->Handle(), LB_SETCURSEL, 0, 0);
  Press(Form->btnRemove);
  EXPECT_EQ(Rows(Form).size(), 1u);
}

TEST_F(MainFixture, RemoveAfterAnAccountOfBlanksListsTheFolderTheRowsCameFrom) {
  Put("one.dat");
  Put("two.dat");
  Form->HandleNeeded();
  Form->FAccount = Account;
  Form->ListWinks(Account);
  DialogDriver driver([&](Tfrm_GetSummary* d) {
    SendMessageA(d->edtvalue->Handle(), WM_SETTEXT, 0, LPARAM("   "));
    Press(d->btnok);
  });
  Form->btnAccountClick(nullptr);
  ASSERT_EQ(Form->FAccount, "   ");
  ASSERT_EQ(Rows(Form).size(), 2u);
  std::string victim = Form->lstWinks->Codes()->Strings(0);
  SendMessageA(Form->lstWinks->Handle(), LB_SETCURSEL, 0, 0);
  Press(Form->btnRemove);
  EXPECT_FALSE(Exists(victim));
  EXPECT_EQ(Rows(Form).size(), 1u);
  EXPECT_EQ(Form->FWinksFolder, Folder);
}

// ---- Row drawing ----------------------------------------------------------------------------------

TEST_F(MainFixture, RowsShowTheImageAtOneOneAndTheirTextFrom17) {
  Put("one.dat");
  Form->ListWinks(Account);
  Form->HandleNeeded();

  const int w = 120, h = 20;
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  DRAWITEMSTRUCT dis{ODT_LISTBOX, 0, 0, ODA_DRAWENTIRE, 0, Form->lstWinks->Handle(), dc, {0, 0, w, h}, 0};
  Form->lstWinks->Perform(CN_DRAWITEM, 0, LPARAM(&dis));
  GdiFlush();
  auto pixel = [&](int x, int y) {
    uint32_t p = static_cast<uint32_t*>(bits)[y * w + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  };
  COLORREF back = ColorToRGB(clWindow);
  // The row is filled; the picture's yellow centre sits at (1 + 8, 1 + 8) and its fuchsia corner is left out.
  EXPECT_EQ(pixel(0, 0), back);
  EXPECT_EQ(pixel(1, 1), back);
  EXPECT_EQ(pixel(9, 9), RGB(255, 210, 0));
  // The outline ring's top is the picture's (7, 1), its left end the picture's (1, 7).
  EXPECT_EQ(pixel(8, 2), RGB(150, 90, 0));
  EXPECT_EQ(pixel(8, 1), back);
  EXPECT_EQ(pixel(2, 8), RGB(150, 90, 0));
  EXPECT_EQ(pixel(1, 8), back);
  // No ink between the picture and the text's start, and ink soon after 17.
  int firstInk = -1;
  for (int x = 17; x < w && firstInk < 0; ++x)
    for (int y = 0; y < h; ++y)
      if (pixel(x, y) != back) {
        firstInk = x;
        break;
      }
  EXPECT_GE(firstInk, 17);
  EXPECT_LE(firstInk, 20);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(dib);
}

TEST_F(MainFixture, DrawingRowsLeavesNoGdiObjectBehind) {
  for (int i = 0; i < 5; ++i) Put("pkg" + std::to_string(i) + ".dat");
  Form->ListWinks(Account);
  Form->HandleNeeded();
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(dc, 100, 20);
  HGDIOBJ old = SelectObject(dc, bmp);
  auto drawAll = [&] {
    for (int row = 0; row < 5; ++row) {
      DRAWITEMSTRUCT dis{ODT_LISTBOX,
                         0,
                         UINT(row),
                         ODA_DRAWENTIRE,
                         row == 2 ? UINT(ODS_SELECTED | ODS_FOCUS) : 0u,
                         Form->lstWinks->Handle(),
                         dc,
                         {0, 0, 100, 20},
                         0};
      Form->lstWinks->Perform(CN_DRAWITEM, 0, LPARAM(&dis));
    }
  };
  drawAll();
  int before = GdiObjectCount();
  for (int i = 0; i < 200; ++i) drawAll();
  EXPECT_LE(GdiObjectCount() - before, 2);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
}

TEST_F(MainFixture, HelpOpensThePreviewersHelpFileAndExitClosesTheWindow) {
  Form->HandleNeeded();
  {
    velloran_testing::TShellRecorder shell;
    Press(Form->bnHelp);
    ASSERT_EQ(shell.Calls().size(), 1u);
    const auto& call = shell.Calls()[0];
    EXPECT_EQ(call.Owner, Form->Handle());
    EXPECT_EQ(call.Verb, "open");
    EXPECT_EQ(call.File, "Velloran.chm");
    EXPECT_EQ(call.Parameters, "");
    EXPECT_EQ(call.Directory, "");
    EXPECT_EQ(call.Show, SW_SHOWNORMAL);
  }
  Form->FAccount = Account;  // keeps the first showing's dialog from mattering
  FormDriver<Tfrm_GetSummary> driver([](Tfrm_GetSummary* d) { Press(d->btncancel); });
  Form->Show();
  ASSERT_TRUE(IsWindowVisible(Form->Handle()));
  Press(Form->btnExit);
  Application->ProcessMessages();
  EXPECT_FALSE(IsWindowVisible(Form->Handle()));
}

TEST_F(MainFixture, AboutShowsTheKeepersTexts) {
  std::string caption, product, version, line1;
  FormDriver<Tfrm_About> driver([&](Tfrm_About* about) {
    caption = about->Caption();
    product = about->Label3->Caption();
    version = about->Label4->Caption();
    line1 = about->Label2->Caption();
    Press(about->btnOK);
  });
  Form->HandleNeeded();
  Press(Form->btnAbout);
  ASSERT_TRUE((FormDriver<Tfrm_About>::Ran()));
  EXPECT_EQ(caption, "Drellmark");
  EXPECT_EQ(product, "Drellmark");
  EXPECT_EQ(version, "Version:1.8(Build 11.8)");
  EXPECT_EQ(line1.rfind("    Drellmark is a program that allows you to preview and ", 0), 0u) << line1;
}

TEST_F(MainFixture, ARightClickIsSwallowedForTheWholeApplication) {
  Put("one.dat");
  Form->ListWinks(Account);
  HWND list = Form->lstWinks->Handle();
  std::vector<UINT> seen;
  TWndMethod saved = Form->lstWinks->WindowProc;
  struct Spy {
    std::vector<UINT>* Seen;
    TWndMethod Saved;
    void Handle(TMessage& m) {
      Seen->push_back(m.Msg);
      Saved(m);
    }
  } spy{&seen, saved};
  Form->lstWinks->WindowProc = MakeWndMethod<&Spy::Handle>(&spy);
  PostMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  PostMessageA(list, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  PostMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
  Application->ProcessMessages();
  Form->lstWinks->WindowProc = saved;
  EXPECT_EQ(std::count(seen.begin(), seen.end(), UINT(WM_RBUTTONDOWN)), 0);
  EXPECT_EQ(std::count(seen.begin(), seen.end(), UINT(WM_RBUTTONUP)), 0);
  EXPECT_GE(std::count(seen.begin(), seen.end(), UINT(WM_MOUSEMOVE)), 1) << "other messages go through";
}

// What the Flash player's own window receives, seen through a window procedure put in front of it.
std::vector<UINT> g_playerSeen;
WNDPROC g_playerProc = nullptr;
LRESULT CALLBACK PlayerSpy(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  g_playerSeen.push_back(msg);
  return CallWindowProcA(g_playerProc, wnd, msg, wp, lp);
}

TEST_F(MainFixture, ARightClickOnTheFlashMovieIsSwallowedToo) {
  Form->HandleNeeded();
  ASSERT_NE(Form->sflash->DefaultDispatch(), nullptr);
  HWND container = GetWindow(Form->sflash->Handle(), GW_CHILD);
  ASSERT_NE(container, nullptr);
  HWND player = GetWindow(container, GW_CHILD);
  ASSERT_NE(player, nullptr) << "the player's own window inside its container";
  g_playerSeen.clear();
  g_playerProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(player, GWLP_WNDPROC, LONG_PTR(PlayerSpy)));
  PostMessageA(player, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  PostMessageA(player, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  PostMessageA(player, WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
  Application->ProcessMessages();
  SetWindowLongPtrA(player, GWLP_WNDPROC, LONG_PTR(g_playerProc));
  EXPECT_EQ(std::count(g_playerSeen.begin(), g_playerSeen.end(), UINT(WM_RBUTTONDOWN)), 0);
  EXPECT_EQ(std::count(g_playerSeen.begin(), g_playerSeen.end(), UINT(WM_RBUTTONUP)), 0);
  EXPECT_GE(std::count(g_playerSeen.begin(), g_playerSeen.end(), UINT(WM_MOUSEMOVE)), 1);
}

}  // namespace

// ---- The end of the program ------------------------------------------------------------------------

// Alone in its process (each test is): the application object is gone afterwards.
TEST(DrellmarkEnd, ExitFreesTheApplicationItsFormsAndTheEngineAndPaintsNoFrameOnTheWay) {
  standins_testing::OwnSettings settings;
  MessengerValue registry;
  Application->SetTitle("Drellmark");
  Application->Initialize();
  Application->CreateForm(frm_Main);
  Tfrm_Main* f = frm_Main;
  bool destroyed = false, skinned = false;
  f->OnDestroy = [&](TObject*) { destroyed = true; };
  HWND main = f->Handle();
  {
    velloran_testing::TFrameWatch frames(main);
    f->btnExit->OnClick = [&](TObject* sender) {
      TRezIderForm* form = SkinManager ? SkinManager->FindForm(main) : nullptr;
      skinned = form && form->FState == fsSkinned;
      frames.Start();
      f->btnExitClick(sender);
    };
    // The first showing opens the account dialog: cancelled, then Exit.
    DialogDriver driver([&](Tfrm_GetSummary* d) {
      Press(d->btncancel);
      PostMessageA(f->btnExit->Handle(), BM_CLICK, 0, 0);
    });
    Application->Run();
    EXPECT_TRUE(DialogDriver::Ran());
    DoneApplication();
    EXPECT_EQ(frames.Painted, 0);
  }
  EXPECT_TRUE(skinned);
  EXPECT_TRUE(destroyed);
  EXPECT_FALSE(IsWindow(main));
  EXPECT_EQ(SkinManager, nullptr);
  auto log = settings.LogLines();
  EXPECT_NE(std::find(log.begin(), log.end(), "Flash Released"), log.end());
  // Nothing keeps the thread's COM up any more but the control container's own initialisation
  // (atl.dll's under Wine takes one reference, for the life of the process).
  OleUninitialize();
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
  CoUninitialize();
}
