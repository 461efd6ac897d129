// The main window of the content previewer: the winks and emoticons trees filled from the content
// server's lists, the preview group and the button row.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tk/AppEvnts.h"
#include "tk/Buttons.h"
#include "tk/ComCtrls.h"
#include "tk/ExtCtrls.h"
#include "tk/Forms.h"
#include "tk/Http.h"
#include "tk/ImgList.h"
#include "tk/OleCtrls.h"
#include "tk/StdCtrls.h"
#include "tk/XmlDom.h"
#include "velloran/MessengerApi.h"

// What one node of a content tree stands for.
struct TTreeRecord {
  std::string Kind;  // "0" on a tree's root
  std::string Caption;
  std::string CabFile;
  std::string PreviewFile;
  std::string Spare;
};

class Tfrm_Main : public TForm {
 public:
  TK_CLASS(Tfrm_Main, TForm)
  explicit Tfrm_Main(TComponent* AOwner);
  ~Tfrm_Main() override;
  static void Register();

  TStatusBar* sbMain = nullptr;
  TPanel* pnlBottom = nullptr;
  TBitBtn* bnHelp = nullptr;
  TBitBtn* btnPreview = nullptr;
  TBitBtn* btnManager = nullptr;
  TBitBtn* btnInstall = nullptr;
  TBitBtn* btnAbout = nullptr;
  TBitBtn* btnExit = nullptr;
  TPanel* pnlLeft = nullptr;
  TPageControl* pgContent = nullptr;
  TTabSheet* tabWinks = nullptr;
  TTabSheet* tabEmoticons = nullptr;
  TTreeView* tvWinks = nullptr;
  TTreeView* tvEmoticons = nullptr;
  TPanel* pnlClient = nullptr;
  TGroupBox* grbPreview = nullptr;
  TShockwaveFlash* sflash = nullptr;
  TWebBrowser* sweb = nullptr;
  TMessengerContent* msins = nullptr;
  THttpClient* msnhttp = nullptr;
  TAntiFreeze* IdAntiFreeze1 = nullptr;
  TXMLDocument* doc = nullptr;
  TImageList* ImgList = nullptr;
  TApplicationEvents* ApplicationEvents1 = nullptr;

  // Set once the creation step has ended, whatever its outcome; start-up waits for it.
  bool FReady = false;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void LoadContentLists();
  bool FillContentTree(TTreeView* tree, const std::string& url, const std::string& title);
  void UpdateTreeIcons(TTreeView* tree);
  void tvEmoticonsChange(TObject* Sender, TTreeNode* Node);
  // The install (kind 0) or preview (kind 1) URL of the selected item of the active page's tree;
  // false, url untouched, when nothing suitable is selected.
  bool BuildContentUrl(std::string& url, int kind);
  void btnPreviewClick(TObject* Sender);
  void btnInstallClick(TObject* Sender);
  void ShowViewer(int page);
  void pgContentChange(TObject* Sender);
  void bnHelpClick(TObject* Sender);
  void btnManagerClick(TObject* Sender);
  void btnAboutClick(TObject* Sender);
  void btnExitClick(TObject* Sender);
  void ApplicationEvents1Message(MSG& Msg, bool& Handled);

  // The content server's base URL, ending with "/".
  const std::string& BaseUrl() const { return FBaseUrl; }

 private:
  // One node of a content tree as filled: the trees only ever grow at their end, so the fill order
  // is the tree's own node order.
  struct TTreeEntry {
    TTreeNode* Node = nullptr;
    bool HasChildren = false;
  };
  struct TTreeContent {
    std::vector<std::unique_ptr<TTreeRecord>> Records;
    std::vector<TTreeEntry> Order;
  };
  // A category as read from a list, with its items.
  struct TCategoryRead {
    std::unique_ptr<TTreeRecord> Record;
    std::vector<std::unique_ptr<TTreeRecord>> Items;
  };
  void ClearTree(TTreeView* tree);
  // A node for record as the last child of parent (a top-level node when nullptr).
  TTreeNode* AddNode(TTreeView* tree, TTreeNode* parent, std::unique_ptr<TTreeRecord> record);
  // The categories read, with their items, under the tree's root.
  void AddCategories(TTreeView* tree, std::vector<TCategoryRead>& categories);

  std::string FBaseUrl;
  // What each tree holds, released when the tree is cleared or the window goes.
  std::map<TTreeView*, TTreeContent> FTrees;
};

extern Tfrm_Main* frm_Main;

// Makes the toolkit's classes and the program's forms readable from their descriptions.
void RegisterVelloranClasses();

// Title of each tree's root, between the bytes A1 BE and A1 BF.
std::string RootCaption(const std::string& title);
