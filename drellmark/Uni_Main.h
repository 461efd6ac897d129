// The keeper's main window: the account, its winks folder, the list of stored packages, their
// preview and removal.
#pragma once

#include <cstdint>
#include <string>

#include "drellmark/CodeListBox.h"
#include "tk/AppEvnts.h"
#include "tk/Buttons.h"
#include "tk/ComCtrls.h"
#include "tk/ExtCtrls.h"
#include "tk/Forms.h"
#include "tk/ImgList.h"
#include "tk/OleCtrls.h"

class Tfrm_Main : public TForm {
 public:
  TK_CLASS(Tfrm_Main, TForm)
  explicit Tfrm_Main(TComponent* AOwner);

  TStatusBar* sbMain = nullptr;
  TPanel* pnlBottom = nullptr;
  TBitBtn* bnHelp = nullptr;
  TBitBtn* btnAccount = nullptr;
  TBitBtn* btnRemove = nullptr;
  TBitBtn* btnAbout = nullptr;
  TBitBtn* btnExit = nullptr;
  TPanel* pnlLeft = nullptr;
  TCodeListBox* lstWinks = nullptr;
  TPanel* pnlClient = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TShockwaveFlash* sflash = nullptr;
  TImageList* ImgList = nullptr;
  TApplicationEvents* ApplicationEvents1 = nullptr;

  // The account as entered or read, untrimmed; its winks folder, ending in a backslash.
  std::string FAccount;
  std::string FWinksFolder;

  void FormShow(TObject* Sender);
  void btnExitClick(TObject* Sender);
  void btnAboutClick(TObject* Sender);
  void bnHelpClick(TObject* Sender);
  void btnAccountClick(TObject* Sender);
  void btnRemoveClick(TObject* Sender);
  void lstWinksClick(TObject* Sender);
  void lstWinksDrawItem(TWinControl* Control, int Index, RECT Rect, TOwnerDrawState State);
  void ApplicationEvents1Message(MSG& Msg, bool& Handled);

  // The chat client's folder hash: hash * 101 + byte for each ANSI byte (0..255), modulo 2^32.
  static uint32_t AccountHash(const std::string& Account);
  // Recomputes FWinksFolder for the account and lists its packages again.
  void ListWinks(const std::string& Account);
  // Lists the packages of FWinksFolder again.
  void ListWinksFolder();
};

extern Tfrm_Main* frm_Main;

// Makes the keeper's classes readable from their descriptions (once; the main form asks for it).
void RegisterDrellmarkClasses();

// Where the chat client keeps the last account's name.
constexpr const char* kMessengerKey = "Software\\Microsoft\\MSNMessenger";
constexpr const char* kMessengerAccountValue = "User.NET Messenger Service";
