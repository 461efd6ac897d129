#include "velloran/Uni_Main.h"

#include <algorithm>

#include "skin/RezIderData.h"
#include "tk/FormReader.h"
#include "velloran/Uni_About.h"
#include "velloran/Uni_Flash.h"
#include "velloran/Uni_Function.h"

Tfrm_Main* frm_Main = nullptr;

namespace {

const char* const kWinksList = "contentlist/winkscontent.xml";
const char* const kEmoticonsList = "contentlist/emoticonscontent.xml";

enum : int { kInstallUrl = 0, kPreviewUrl = 1 };
enum : int { kWinksPage = 0, kEmoticonsPage = 1 };

// Statuses before sign-in is complete; reading k of the check is compared with value k only.
const long kNotSignedIn[5] = {
    1,      // offline
    0x100,  // finding the server
    0x200,  // connecting
    0x300,  // synchronising
    0x400,  // disconnecting
};

// Whether anything but blanks and control characters is left once they are trimmed away.
bool BlankOnly(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

}  // namespace

std::string RootCaption(const std::string& title) { return "\xA1\xBE" + title + "\xA1\xBF"; }

Tfrm_Main::Tfrm_Main(TComponent* AOwner) : TForm(AOwner) { ReadComponentRes(this); }

Tfrm_Main::~Tfrm_Main() {
  // The trees go after this object's members: nothing may reach back into it while they do.
  for (TTreeView* tree : {tvWinks, tvEmoticons})
    if (tree) tree->OnChange = nullptr;
}

void Tfrm_Main::FormCreate(TObject*) {
  // Start-up waits for the flag, so it is set on every way out.
  struct TReadyOnExit {
    bool& Ready;
    ~TReadyOnExit() { Ready = true; }
  } ready{FReady};
  FBaseUrl = ServerBase();
  Application->ProcessMessages();
  try {
    msnhttp->Get(FBaseUrl + kWinksList);
  } catch (...) {
    ShowInfo("Can not get update list,please try later!");
    Application->Terminate();
    return;
  }
  try {
    LoadContentLists();
  } catch (...) {
    Application->Terminate();
    return;
  }
  Application->ProcessMessages();
}

void Tfrm_Main::FormShow(TObject*) {
  pgContent->SetActivePageIndex(0);
  if (tvWinks->CanFocus()) tvWinks->SetFocus();
  ShowViewer(0);
}

void Tfrm_Main::LoadContentLists() {
  auto both = [this] {
    FillContentTree(tvWinks, FBaseUrl + kWinksList, "MSN Winks");
    FillContentTree(tvEmoticons, FBaseUrl + kEmoticonsList, "MSN Emoticons");
  };
  try {
    both();
  } catch (...) {
    both();
  }
}

void Tfrm_Main::ClearTree(TTreeView* tree) {
  // A selection change while the nodes go must find nothing of them; their records outlive them.
  TTreeContent old;
  if (auto found = FTrees.find(tree); found != FTrees.end()) {
    old = std::move(found->second);
    FTrees.erase(found);
  }
  tree->Items().Clear();
}

TTreeNode* Tfrm_Main::AddNode(TTreeView* tree, TTreeNode* parent, std::unique_ptr<TTreeRecord> record) {
  TTreeContent& content = FTrees[tree];
  content.Records.push_back(std::move(record));
  TTreeRecord* r = content.Records.back().get();
  return tree->Items().AddChildObject(parent, r->Caption, r);
}

void Tfrm_Main::AddCategories(TTreeView* tree, std::vector<TCategoryRead>& categories) {
  TTreeContent& content = FTrees[tree];
  TTreeNode* root = content.Order[0].Node;
  // Tree order: the root, then each category followed by its items.
  size_t total = 1;
  for (const TCategoryRead& c : categories) total += 1 + c.Items.size();
  content.Order.resize(total);
  content.Order[0].HasChildren = !categories.empty();
  // Under Wine the tree window finds a parent by searching its items in the order they were made:
  // made first, the categories are found at once when their items go in.
  std::vector<size_t> at;
  for (size_t index = 1; TCategoryRead & c : categories) {
    at.push_back(index);
    content.Order[index] = {AddNode(tree, root, std::move(c.Record)), !c.Items.empty()};
    index += 1 + c.Items.size();
  }
  for (size_t c = 0; c < categories.size(); ++c)
    for (size_t i = 0; i < categories[c].Items.size(); ++i)
      content.Order[at[c] + 1 + i].Node =
          AddNode(tree, content.Order[at[c]].Node, std::move(categories[c].Items[i]));
}

bool Tfrm_Main::FillContentTree(TTreeView* tree, const std::string& url, const std::string& title) {
  // The list is read whole, then its nodes go in; a list that fails part-way still gives the nodes
  // read before the failure.
  std::vector<TCategoryRead> categories;
  TTreeNode* root = nullptr;
  bool whole = false;
  try {
    ClearTree(tree);
    auto rootRecord = std::make_unique<TTreeRecord>();
    rootRecord->Kind = "0";
    rootRecord->Caption = RootCaption(title);
    root = AddNode(tree, nullptr, std::move(rootRecord));
    FTrees[tree].Order.push_back({root, false});

    TMemoryStream body;
    msnhttp->Get(url, &body);
    doc->LoadFromStream(&body);

    TXmlNode list = doc->DocumentElement();
    int count = list.ChildCount();
    for (int c = 0; c < count; ++c) {
      TXmlNode category = list.ChildNode(c);
      categories.emplace_back();
      categories.back().Record = std::make_unique<TTreeRecord>();
      categories.back().Record->Caption = category.NodeName();
      int items = category.ChildCount();
      for (int i = 0; i < items; ++i) {
        TXmlNode item = category.ChildNode(i);
        auto itemRecord = std::make_unique<TTreeRecord>();
        itemRecord->Caption = item.AttributeText(0);
        itemRecord->PreviewFile = item.AttributeText(1);
        itemRecord->CabFile = item.AttributeText(2);
        categories.back().Items.push_back(std::move(itemRecord));
      }
    }
    whole = true;
  } catch (...) {
  }
  try {
    if (!root) return false;
    AddCategories(tree, categories);
    if (whole) root->Expand(false);
    return whole;
  } catch (...) {
    return false;
  }
}

void Tfrm_Main::UpdateTreeIcons(TTreeView* tree) {
  auto found = FTrees.find(tree);
  if (found == FTrees.end()) return;
  TTreeNode* selected = tree->Selected();
  // Each question put to the tree window costs a search of all its items under Wine, so the walk
  // goes through the fill order and asks the window only about nodes with children.
  for (const TTreeEntry& entry : found->second.Order) {
    TTreeNode* node = entry.Node;
    if (!node) continue;  // a node the tree window could not make
    int image = node == selected || (entry.HasChildren && node->Expanded()) ? 1 : 0;
    if (node->ImageIndex() != image) node->SetImageIndex(image);
    if (node->SelectedIndex() != image) node->SetSelectedIndex(image);
  }
}

void Tfrm_Main::tvEmoticonsChange(TObject* Sender, TTreeNode*) {
  if (auto* tree = ObjectAs<TTreeView>(Sender)) UpdateTreeIcons(tree);
  btnPreview->Click();
}

bool Tfrm_Main::BuildContentUrl(std::string& url, int kind) {
  int page = pgContent->ActivePageIndex();
  TTreeView* tree = page == kWinksPage ? tvWinks : page == kEmoticonsPage ? tvEmoticons : nullptr;
  if (!tree) return false;
  TTreeNode* node = tree->Selected();
  if (!node || node->HasChildren()) return false;
  auto* record = static_cast<TTreeRecord*>(node->Data);
  if (!record || record->CabFile.empty()) return false;
  if (page == kWinksPage)
    url =
        kind == kInstallUrl ? "setupcab/cabwinks/" + record->CabFile : "preview/winks/" + record->PreviewFile;
  else
    url = kind == kInstallUrl
              ? "setupcab/cabemoticons/" + record->CabFile
              : "preview/emoticons/" + record->PreviewFile + "/" + record->PreviewFile + ".htm";
  if (BlankOnly(url)) return false;
  url = FBaseUrl + url;
  return true;
}

void Tfrm_Main::btnPreviewClick(TObject*) {
  std::string url;
  if (!BuildContentUrl(url, kPreviewUrl)) return;
  // What the viewer makes of a bad address or movie is its own business.
  try {
    switch (pgContent->ActivePageIndex()) {
      case kWinksPage:
        sflash->SetMovie(url);
        sflash->Play();
        break;
      case kEmoticonsPage:
        sweb->Navigate(url);
        break;
    }
  } catch (...) {
  }
}

void Tfrm_Main::btnInstallClick(TObject*) {
  std::string url;
  if (!BuildContentUrl(url, kInstallUrl)) return;
  // Each reading from an object of its own; all of them go when the handler ends. A missing chat
  // client is not caught here: it goes to the general error report.
  std::vector<TMessenger> readers;
  for (long notSignedIn : kNotSignedIn) {
    readers.push_back(TMessenger::Create());
    if (readers.back().MyStatus() == notSignedIn) {
      ShowInfo("Please logged on to a MSN Messenger!");
      return;
    }
  }
  // The installer downloads and installs on its own side; whatever it says is not shown.
  try {
    msins->InstallContent(url);
  } catch (...) {
  }
}

void Tfrm_Main::ShowViewer(int page) {
  switch (page) {
    case kWinksPage:
      sweb->SetBrowserVisible(false);
      sflash->Show();
      sflash->BringToFront();
      break;
    case kEmoticonsPage:
      sflash->Hide();
      sweb->SetBrowserVisible(true);
      sweb->BringToFront();
      break;
  }
}

void Tfrm_Main::pgContentChange(TObject*) {
  int page = pgContent->ActivePageIndex();
  ShowViewer(page);
  if (page == kWinksPage)
    sflash->Play();  // resumes the movie loaded last
  else if (page == kEmoticonsPage)
    sflash->SetPlaying(false);
}

void Tfrm_Main::bnHelpClick(TObject*) { ShellOpen(Handle(), "Velloran.chm"); }

void Tfrm_Main::btnManagerClick(TObject*) { ShellOpen(Handle(), "Drellmark.exe"); }

void Tfrm_Main::btnAboutClick(TObject*) { ShowAboutBox(apVelloran); }

void Tfrm_Main::btnExitClick(TObject*) { Close(); }

void Tfrm_Main::ApplicationEvents1Message(MSG& Msg, bool& Handled) {
  if (Msg.message == WM_RBUTTONDOWN || Msg.message == WM_RBUTTONUP) Handled = true;
}

void Tfrm_Main::Register() {
  RegisterComponentClass<Tfrm_Main>();
  Published<Tfrm_Main>()
      .Field("sbMain", &Tfrm_Main::sbMain)
      .Field("pnlBottom", &Tfrm_Main::pnlBottom)
      .Field("bnHelp", &Tfrm_Main::bnHelp)
      .Field("btnPreview", &Tfrm_Main::btnPreview)
      .Field("btnManager", &Tfrm_Main::btnManager)
      .Field("btnInstall", &Tfrm_Main::btnInstall)
      .Field("btnAbout", &Tfrm_Main::btnAbout)
      .Field("btnExit", &Tfrm_Main::btnExit)
      .Field("pnlLeft", &Tfrm_Main::pnlLeft)
      .Field("pgContent", &Tfrm_Main::pgContent)
      .Field("tabWinks", &Tfrm_Main::tabWinks)
      .Field("tabEmoticons", &Tfrm_Main::tabEmoticons)
      .Field("tvWinks", &Tfrm_Main::tvWinks)
      .Field("tvEmoticons", &Tfrm_Main::tvEmoticons)
      .Field("pnlClient", &Tfrm_Main::pnlClient)
      .Field("grbPreview", &Tfrm_Main::grbPreview)
      .Field("sflash", &Tfrm_Main::sflash)
      .Field("sweb", &Tfrm_Main::sweb)
      .Field("msins", &Tfrm_Main::msins)
      .Field("msnhttp", &Tfrm_Main::msnhttp)
      .Field("IdAntiFreeze1", &Tfrm_Main::IdAntiFreeze1)
      .Field("doc", &Tfrm_Main::doc)
      .Field("ImgList", &Tfrm_Main::ImgList)
      .Field("ApplicationEvents1", &Tfrm_Main::ApplicationEvents1)
      .Method("FormCreate", &Tfrm_Main::FormCreate)
      .Method("FormShow", &Tfrm_Main::FormShow)
      .Method("tvEmoticonsChange", &Tfrm_Main::tvEmoticonsChange)
      .Method("btnPreviewClick", &Tfrm_Main::btnPreviewClick)
      .Method("btnInstallClick", &Tfrm_Main::btnInstallClick)
      .Method("pgContentChange", &Tfrm_Main::pgContentChange)
      .Method("bnHelpClick", &Tfrm_Main::bnHelpClick)
      .Method("btnManagerClick", &Tfrm_Main::btnManagerClick)
      .Method("btnAboutClick", &Tfrm_Main::btnAboutClick)
      .Method("btnExitClick", &Tfrm_Main::btnExitClick)
      .Method("ApplicationEvents1Message", &Tfrm_Main::ApplicationEvents1Message);
}

void RegisterVelloranClasses() {
  RegisterToolkitClasses();
  RegisterHttp();
  RegisterXmlDom();
  RegisterOleControls();
  RegisterMessengerClasses();
  RegisterSkinData();
  Tfrm_Main::Register();
  Tfrm_Flash::Register();
  Tfrm_About::Register();
}
