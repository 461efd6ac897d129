// The main window against the content server: the trees filled from the lists (their shape,
// captions, records and the failure rules), the icons following the selection, the right-button
// block, the button row's commands and the layout.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "skin/RezIderData.h"
#include "skin/RezIderDlg.h"
#include "skin/RezIderForm.h"
#include "skin/RezIderFormImpl.h"
#include "tests/unit/ContentServer.h"
#include "tests/unit/MessageBoxWatch.h"
#include "tests/unit/PaintTesting.h"
#include "tests/unit/TaskbarTesting.h"
#include "tests/unit/VelloranTesting.h"
#include "tests/unit/standins_testing.h"
#include "velloran/Uni_Function.h"
#include "velloran/Uni_Main.h"

namespace {

using velloran_testing::FindNode;

const char kWinks[] = "contentlist/winkscontent.xml";
const char kEmoticons[] = "contentlist/emoticonscontent.xml";

std::string Token() {
  static const std::string token = [] {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return std::to_string(GetCurrentProcessId()) + "-" + std::to_string(now.QuadPart);
  }();
  return token;
}

void WriteState(const std::string& path, const std::string& bytes) {
  std::ofstream out(contentserver::StateDir() + "/" + path, std::ios::binary);
  out << bytes;
  ASSERT_TRUE(out.good()) << path;
}

// A base URL under which the server answers each list path with the options given ("" serves the
// sample file); a body named in Bodies is served in place of the list it is given for.
struct TServed {
  std::string Winks;      // options for the winks list (the probe too)
  std::string Emoticons;  // options for the emoticons list
};

std::string ScenarioBase(const std::string& name, const TServed& served,
                         const std::map<std::string, std::string>& bodies = {}) {
  std::string scenario = name + "-" + Token();
  for (const auto& [file, body] : bodies) WriteState("files/" + file + "-" + Token(), body);
  // "file=NAME" refers to this process's copy of NAME.
  auto options = [](const std::string& o) { return o.rfind("file=", 0) == 0 ? o + "-" + Token() : o; };
  CreateDirectoryA((contentserver::StateDir() + "/scenarios").c_str(), nullptr);
  CreateDirectoryA((contentserver::StateDir() + "/files").c_str(), nullptr);
  WriteState("scenarios/" + scenario + ".json", std::string("{\"") + kWinks + "\": \"" +
                                                    options(served.Winks) + "\", \"" + kEmoticons + "\": \"" +
                                                    options(served.Emoticons) + "\"}");
  return contentserver::Base() + "~@" + scenario + "/";
}

// The tree as text: one line per node, indented by level; items show caption|preview|cab.
std::string Dump(TTreeView* tree) {
  std::string out;
  std::function<void(TTreeNode*, int)> walk = [&](TTreeNode* n, int level) {
    for (; n; n = n->getNextSibling()) {
      auto* r = static_cast<TTreeRecord*>(n->Data);
      out += std::string(size_t(level) * 2, ' ') + n->Text();
      if (r && (!r->PreviewFile.empty() || !r->CabFile.empty()))
        out += "|" + r->PreviewFile + "|" + r->CabFile;
      out += "\n";
      walk(n->getFirstChild(), level + 1);
    }
  };
  walk(tree->Items().GetFirstNode(), 0);
  return out;
}

const std::string kWinksRoot = "\xA1\xBEMSN Winks\xA1\xBF";
const std::string kEmoticonsRoot = "\xA1\xBEMSN Emoticons\xA1\xBF";

const std::string kSampleWinks = kWinksRoot +
                                 "\n"
                                 "  Love\n"
                                 "    Big Hug|bighug.swf|bighug.cab\n"
                                 "    Kiss Goodnight|kissgoodnight.swf|kissgoodnight.cab\n"
                                 "    Heart Balloon|heartballoon.swf|heartballoon.cab\n"
                                 "  Fun\n"
                                 "    Belly Laugh|bellylaugh.swf|bellylaugh.cab\n"
                                 "    Disco Dance|discodance.swf|discodance.cab\n"
                                 "  Celebrate\n"
                                 "    Fireworks|fireworks.swf|fireworks.cab\n"
                                 "    Birthday Cake|birthdaycake.swf|birthdaycake.cab\n"
                                 "  Weather\n"
                                 "    Rain Cloud|raincloud.swf|raincloud.cab\n"
                                 "  ComingSoon\n";

const std::string kSampleEmoticons = kEmoticonsRoot +
                                     "\n"
                                     "  Faces\n"
                                     "    Sunny Smile|sunnysmile|sunnysmile.cab\n"
                                     "    Sly Wink|slywink|slywink.cab\n"
                                     "    Surprise|surprise|surprise.cab\n"
                                     "  Animals\n"
                                     "    Sleepy Cat|sleepycat|sleepycat.cab\n"
                                     "    Happy Dog|happydog|happydog.cab\n"
                                     "  Food\n"
                                     "    Hot Coffee|hotcoffee|hotcoffee.cab\n";

// The image and selected image the tree window itself holds for node.
std::pair<int, int> WindowImages(TTreeView* tree, TTreeNode* node) {
  TVITEMA item{};
  item.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  item.hItem = node->ItemId();
  SendMessageA(tree->Handle(), TVM_GETITEMA, 0, LPARAM(&item));
  return {item.iImage, item.iSelectedImage};
}

class MainWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterVelloranClasses(); }
  void TearDown() override {
    form.reset();
    SetEnvironmentVariableA("VELLORAN_SERVER_BASE", nullptr);
  }
  // The main window created against base, its creation step run.
  Tfrm_Main* Create(const std::string& base) {
    SetEnvironmentVariableA("VELLORAN_SERVER_BASE", base.c_str());
    form.reset(TCustomForm::Create<Tfrm_Main>(Application));
    EXPECT_TRUE(form->FReady);
    EXPECT_FALSE(velloran_testing::QuitRequested());
    return form.get();
  }
  std::unique_ptr<Tfrm_Main> form;
};

}  // namespace

// ---- The trees -----------------------------------------------------------------------------------

TEST_F(MainWindow, SampleListsFillBothTrees) {
  Tfrm_Main* f = Create(ScenarioBase("sample", {}));
  EXPECT_EQ(Dump(f->tvWinks), kSampleWinks);
  EXPECT_EQ(Dump(f->tvEmoticons), kSampleEmoticons);

  // The root is expanded one level; the categories stay collapsed.
  for (TTreeView* tree : {f->tvWinks, f->tvEmoticons}) {
    TTreeNode* root = tree->Items().GetFirstNode();
    EXPECT_TRUE(root->Expanded());
    for (TTreeNode* c = root->getFirstChild(); c; c = c->getNextSibling())
      EXPECT_FALSE(c->Expanded()) << c->Text();
  }
}

TEST_F(MainWindow, RootCaptionBytesAndRecords) {
  Tfrm_Main* f = Create(ScenarioBase("records", {}));
  TTreeNode* root = f->tvWinks->Items().GetFirstNode();
  EXPECT_EQ(root->Text(), std::string("\xA1\xBE") + "MSN Winks" + "\xA1\xBF");
  auto* r = static_cast<TTreeRecord*>(root->Data);
  EXPECT_EQ(r->Kind, "0");
  EXPECT_EQ(r->Caption, root->Text());
  EXPECT_EQ(r->CabFile, "");
  EXPECT_EQ(r->PreviewFile, "");

  // A category: its element name, nothing else.
  TTreeNode* love = root->getFirstChild();
  auto* rc = static_cast<TTreeRecord*>(love->Data);
  EXPECT_EQ(rc->Kind, "");
  EXPECT_EQ(rc->Caption, "Love");
  EXPECT_EQ(rc->CabFile, "");
  EXPECT_EQ(rc->PreviewFile, "");

  // A category without children is a leaf at level 1, with no cabinet.
  TTreeNode* soon = FindNode(f->tvWinks, "ComingSoon");
  ASSERT_NE(soon, nullptr);
  EXPECT_EQ(soon->Level(), 1);
  EXPECT_FALSE(soon->HasChildren());
  EXPECT_EQ(static_cast<TTreeRecord*>(soon->Data)->CabFile, "");

  // Every node has a record of its own.
  std::set<void*> records;
  int nodes = 0;
  std::function<void(TTreeNode*)> walk = [&](TTreeNode* n) {
    for (; n; n = n->getNextSibling(), ++nodes) {
      records.insert(n->Data);
      walk(n->getFirstChild());
    }
  };
  walk(root);
  EXPECT_EQ(nodes, 14);
  EXPECT_EQ(records.size(), size_t(nodes));
}

TEST_F(MainWindow, FourthAttributeIgnoredAndAttributesTakenByPosition) {
  const char* list =
      "<?xml version=\"1.0\"?><list><Cat>"
      "<a caption=\"One\" preview=\"one.swf\" cab=\"one.cab\" size=\"large\"/>"
      "<b cab=\"two.cab\" caption=\"Two\" preview=\"two.swf\"/>"
      "<c z=\"Three\" y=\"three.swf\" x=\"three.cab\">text is ignored</c>"
      "</Cat></list>";
  Tfrm_Main* f = Create(ScenarioBase("attrs", {"file=attrs.xml", ""}, {{"attrs.xml", list}}));
  EXPECT_EQ(Dump(f->tvWinks), kWinksRoot +
                                  "\n"
                                  "  Cat\n"
                                  "    One|one.swf|one.cab\n"
                                  "    two.cab|Two|two.swf\n"
                                  "    Three|three.swf|three.cab\n");
}

TEST_F(MainWindow, ItemWithFewerThanThreeAttributesEndsItsTree) {
  const char* list =
      "<?xml version=\"1.0\"?><list>"
      "<First><i a=\"A\" b=\"a.swf\" c=\"a.cab\"/><i a=\"B\" b=\"b.swf\"/><i a=\"C\" b=\"c.swf\" "
      "c=\"c.cab\"/></First>"
      "<Second><i a=\"D\" b=\"d.swf\" c=\"d.cab\"/></Second></list>";
  Tfrm_Main* f = Create(ScenarioBase("short", {"file=short.xml", ""}, {{"short.xml", list}}));
  EXPECT_EQ(Dump(f->tvWinks), kWinksRoot +
                                  "\n"
                                  "  First\n"
                                  "    A|a.swf|a.cab\n");
  // The filling stopped before the root was opened; the other list is still loaded.
  EXPECT_FALSE(f->tvWinks->Items().GetFirstNode()->Expanded());
  EXPECT_EQ(Dump(f->tvEmoticons), kSampleEmoticons);
}

TEST_F(MainWindow, EmoticonsListMissingLeavesOnlyItsCollapsedRootAndNoMessage) {
  MessageBoxWatch box;
  Tfrm_Main* f = Create(ScenarioBase("e404", {"", "status=404"}));
  EXPECT_FALSE(box.Seen());
  EXPECT_EQ(Dump(f->tvWinks), kSampleWinks);
  EXPECT_EQ(Dump(f->tvEmoticons), kEmoticonsRoot + "\n");
  EXPECT_FALSE(f->tvEmoticons->Items().GetFirstNode()->Expanded());
}

TEST_F(MainWindow, AProbeFailingByStatusRedirectOrBrokenBodyShowsItsBoxAndAsksToEnd) {
  for (const char* failure : {"status=500", "redirect", "truncchunked"}) {
    SetEnvironmentVariableA("VELLORAN_SERVER_BASE", ScenarioBase("probe", {failure, ""}).c_str());
    auto seen = velloran_testing::ReadOwnBoxWhile(
        "Information", [&] { form.reset(TCustomForm::Create<Tfrm_Main>(Application)); });
    EXPECT_EQ(seen.Text, "Can not get update list,please try later!") << failure;
    EXPECT_TRUE(form->FReady) << failure;
    EXPECT_TRUE(velloran_testing::QuitRequested()) << failure;
    // No list was loaded after the probe.
    EXPECT_EQ(form->tvWinks->Items().Count(), 0) << failure;
    EXPECT_EQ(form->tvEmoticons->Items().Count(), 0) << failure;
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    form.reset();
  }
}

TEST_F(MainWindow, DocumentElementWithoutChildrenLeavesOnlyTheRoot) {
  Tfrm_Main* f = Create(ScenarioBase("empty", {"file=empty.xml", ""}, {{"empty.xml", "<winks/>"}}));
  EXPECT_EQ(Dump(f->tvWinks), kWinksRoot + "\n");
  EXPECT_FALSE(f->tvWinks->Items().GetFirstNode()->HasChildren());
}

TEST_F(MainWindow, BadBodiesLeaveOnlyTheRootAndTheOtherListLoads) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += char((i * 7919) & 0xFF);
  struct {
    const char* name;
    TServed served;
    std::map<std::string, std::string> bodies;
  } cases[] = {
      {"malformed", {"", "file=bad.xml"}, {{"bad.xml", "<emoticons><Faces><e a='1' b='2' c='3'></Faces>"}}},
      {"garbage", {"", "file=garbage.bin"}, {{"garbage.bin", garbage}}},
      {"midbody", {"", "truncchunked"}, {}},
      {"shortbody", {"", "short"}, {}},
      {"redirect", {"", "redirect"}, {}},
  };
  for (const auto& c : cases) {
    Tfrm_Main* f = Create(ScenarioBase(c.name, c.served, c.bodies));
    EXPECT_EQ(Dump(f->tvWinks), kSampleWinks) << c.name;
    EXPECT_EQ(Dump(f->tvEmoticons), kEmoticonsRoot + "\n") << c.name;
    form.reset();
  }
}

TEST_F(MainWindow, AttributeTextInAnotherEncodingComesInTheAnsiCodePage) {
  std::string list =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><list><Caf\xE9><i a=\"Cr\xE8me\" b=\"c.swf\" "
      "c=\"c.cab\"/>"
      "</Caf\xE9></list>";
  Tfrm_Main* f = Create(ScenarioBase("latin1", {"file=latin1.xml", ""}, {{"latin1.xml", list}}));
  auto ansi = [](const wchar_t* w) {
    char buf[64] = "";
    WideCharToMultiByte(CP_ACP, 0, w, -1, buf, sizeof buf, nullptr, nullptr);
    return std::string(buf);
  };
  EXPECT_EQ(Dump(f->tvWinks),
            kWinksRoot + "\n  " + ansi(L"Caf\u00e9") + "\n    " + ansi(L"Cr\u00e8me") + "|c.swf|c.cab\n");
}

TEST_F(MainWindow, ProbeAndListsAreThreeRequestsExactlyAsTheServerSeesThem) {
  std::string base = ScenarioBase("requests", {});
  Create(base);
  std::string prefix = base.substr(base.find("/~"));
  auto expected = [&](const std::string& list) {
    return "GET " + prefix + list + " HTTP/1.1\r\n" + "Content-Type: text/html\r\n" +
           "Host: 127.0.0.1:" + std::to_string(contentserver::Port()) + "\r\n" +
           "Accept: text/html, */*\r\n" + "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n\r\n";
  };
  auto winks = contentserver::Requests("GET " + prefix + kWinks + " HTTP/1.1");
  auto emoticons = contentserver::Requests("GET " + prefix + kEmoticons + " HTTP/1.1");
  ASSERT_EQ(winks.size(), 2u);  // the probe, then the list
  ASSERT_EQ(emoticons.size(), 1u);
  EXPECT_EQ(winks[0], expected(kWinks));
  EXPECT_EQ(winks[1], expected(kWinks));
  EXPECT_EQ(emoticons[0], expected(kEmoticons));
}

// ---- Icons ---------------------------------------------------------------------------------------

TEST_F(MainWindow, IconsFollowTheSelectionAndOpenCategories) {
  Tfrm_Main* f = Create(ScenarioBase("icons", {}));
  f->Show();
  TTreeView* tree = f->tvWinks;
  TTreeNode* hug = FindNode(tree, "Big Hug");
  TTreeNode* laugh = FindNode(tree, "Belly Laugh");
  TTreeNode* love = FindNode(tree, "Love");
  TTreeNode* weather = FindNode(tree, "Weather");
  TTreeNode* root = tree->Items().GetFirstNode();

  tree->SetSelected(hug);
  EXPECT_EQ(WindowImages(tree, hug), std::make_pair(1, 1));
  EXPECT_EQ(WindowImages(tree, love), std::make_pair(1, 1));  // opened to show the selection
  EXPECT_EQ(WindowImages(tree, root), std::make_pair(1, 1));
  EXPECT_EQ(WindowImages(tree, weather), std::make_pair(0, 0));

  tree->SetSelected(laugh);
  EXPECT_EQ(WindowImages(tree, laugh), std::make_pair(1, 1));
  EXPECT_EQ(WindowImages(tree, hug), std::make_pair(0, 0));
  EXPECT_EQ(WindowImages(tree, love), std::make_pair(1, 1));  // still open, though not selected

  love->Collapse(false);
  weather->Expand(false);
  f->UpdateTreeIcons(tree);
  EXPECT_EQ(WindowImages(tree, love), std::make_pair(0, 0));
  EXPECT_EQ(WindowImages(tree, weather), std::make_pair(1, 1));
  EXPECT_EQ(hug->ImageIndex(), 0);
  EXPECT_EQ(laugh->SelectedIndex(), 1);
}

TEST_F(MainWindow, EveryRowShowsItsImageFromTheFirstShowing) {
  Tfrm_Main* f = Create(ScenarioBase("firsticons", {}));
  f->Show();
  f->pgContent->SetActivePageIndex(1);
  // Nothing was selected in the emoticons tree: every row shows image 0. The winks tree took the
  // focus, which selected its root.
  for (TTreeView* tree : {f->tvWinks, f->tvEmoticons})
    for (int i = 0; i < tree->Items().Count(); ++i) {
      TTreeNode* node = tree->Items().Item(i);
      int image = tree == f->tvWinks && i == 0 ? 1 : 0;
      EXPECT_EQ(WindowImages(tree, node), std::make_pair(image, image)) << node->Text();
    }
}

TEST_F(MainWindow, RefillingATreeWithASelectionStartsItAfresh) {
  Tfrm_Main* f = Create(ScenarioBase("refill", {}));
  f->Show();
  f->tvWinks->SetSelected(FindNode(f->tvWinks, "Big Hug"));
  std::string url = f->BaseUrl() + kEmoticons;
  EXPECT_TRUE(f->FillContentTree(f->tvWinks, url, "Again"));
  EXPECT_EQ(Dump(f->tvWinks),
            "\xA1\xBE"
            "Again"
            "\xA1\xBF" +
                kSampleEmoticons.substr(kEmoticonsRoot.size()));
  TTreeNode* cat = FindNode(f->tvWinks, "Sleepy Cat");
  f->tvWinks->SetSelected(cat);
  EXPECT_EQ(WindowImages(f->tvWinks, cat), std::make_pair(1, 1));
  EXPECT_EQ(WindowImages(f->tvWinks, FindNode(f->tvWinks, "Surprise")), std::make_pair(0, 0));
}

// ---- The right button ----------------------------------------------------------------------------

TEST_F(MainWindow, RightButtonMessagesNeverReachAnyWindow) {
  Tfrm_Main* f = Create(ScenarioBase("rbutton", {}));
  f->Show();
  std::vector<UINT> seen;
  struct TRecorder {
    std::vector<UINT>* Seen;
    TWndMethod Old;
    void Record(TMessage& m) {
      if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST) Seen->push_back(m.Msg);
      Old(m);
    }
  } recorder{&seen, f->tvWinks->WindowProc};
  f->tvWinks->WindowProc = MakeWndMethod<&TRecorder::Record>(&recorder);
  TTreeNode* selected = f->tvWinks->Selected();

  HWND tree = f->tvWinks->Handle();
  POINT at{40, 40};
  PostMessageA(tree, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
  PostMessageA(tree, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  PostMessageA(tree, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
  PostMessageA(f->Handle(), WM_RBUTTONUP, 0, 0);
  Application->ProcessMessages();
  f->tvWinks->WindowProc = recorder.Old;

  EXPECT_EQ(seen, std::vector<UINT>{WM_MOUSEMOVE});
  EXPECT_EQ(f->tvWinks->Selected(), selected);

  // Every other message is left alone.
  MSG msg{tree, WM_LBUTTONDOWN, 0, 0, 0, {0, 0}};
  bool handled = false;
  f->ApplicationEvents1Message(msg, handled);
  EXPECT_FALSE(handled);
  msg.message = WM_RBUTTONDOWN;
  f->ApplicationEvents1Message(msg, handled);
  EXPECT_TRUE(handled);
}

// ---- Layout and commands -------------------------------------------------------------------------

TEST_F(MainWindow, LayoutNamesCaptionsHintsAndTabOrder) {
  Tfrm_Main* f = Create(ScenarioBase("layout", {}));
  EXPECT_EQ(f->Name(), "frm_Main");
  EXPECT_EQ(f->Caption(), "Velloran");
  RECT client;
  GetClientRect(f->Handle(), &client);
  EXPECT_EQ(client.right, 688);
  EXPECT_EQ(client.bottom, 449);
  LONG style = GetWindowLongA(f->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);

  struct {
    TBitBtn* button;
    int left, width;
    const char *caption, *hint;
    bool visible;
  } row[] = {
      {f->bnHelp, 8, 75, "&Help", "Help ", true},
      {f->btnPreview, 184, 75, "&Preview", "Preview Content", false},
      {f->btnManager, 320, 91, "&Manager Winks", "Drellmark", true},
      {f->btnInstall, 432, 75, "&Install", "Install into MSN Messenger ", true},
      {f->btnAbout, 520, 75, "&About", "About Fennowick", true},
      {f->btnExit, 600, 75, "E&xit", "Exit Fennowick", true},
  };
  for (const auto& b : row) {
    EXPECT_EQ(b.button->Left(), b.left) << b.caption;
    EXPECT_EQ(b.button->Top(), 8) << b.caption;
    EXPECT_EQ(b.button->Width(), b.width) << b.caption;
    EXPECT_EQ(b.button->Height(), 25) << b.caption;
    EXPECT_EQ(b.button->Caption(), b.caption);
    EXPECT_EQ(b.button->Hint, b.hint) << b.caption;
    EXPECT_TRUE(b.button->ShowHint) << b.caption;
    EXPECT_EQ(b.button->Visible(), b.visible) << b.caption;
    EXPECT_EQ(b.button->Parent(), f->pnlBottom) << b.caption;
  }
  std::vector<TWinControl*> order;
  f->pnlBottom->GetTabOrderList(order);
  std::vector<TWinControl*> expected{f->btnPreview, f->btnInstall, f->btnAbout,
                                     f->btnExit,    f->bnHelp,     f->btnManager};
  EXPECT_EQ(order, expected);

  EXPECT_EQ(f->pnlBottom->Height(), 41);
  EXPECT_EQ(f->pnlBottom->Align(), alBottom);
  EXPECT_EQ(f->sbMain->Height(), 19);
  EXPECT_EQ(f->sbMain->Align(), alBottom);
  EXPECT_EQ(f->pnlLeft->Width(), 225);
  EXPECT_EQ(f->pnlLeft->Align(), alLeft);
  EXPECT_EQ(f->pgContent->PageCount(), 2);
  EXPECT_EQ(f->tabWinks->Caption(), "Winks");
  EXPECT_EQ(f->tabEmoticons->Caption(), "Emoticons");
  EXPECT_EQ(f->tvWinks->Parent(), f->tabWinks);
  EXPECT_EQ(f->tvEmoticons->Parent(), f->tabEmoticons);
  EXPECT_EQ(f->grbPreview->Caption(), "Preview");
  EXPECT_EQ(f->grbPreview->Parent(), f->pnlClient);
  for (TTreeView* tree : {f->tvWinks, f->tvEmoticons}) {
    LONG ts = GetWindowLongA(tree->Handle(), GWL_STYLE);
    EXPECT_TRUE(ts & TVS_SHOWSELALWAYS);
    EXPECT_FALSE(ts & TVS_EDITLABELS);
    EXPECT_EQ(SendMessageA(tree->Handle(), TVM_GETINDENT, 0, 0), 19);
    EXPECT_EQ(tree->Images(), f->ImgList);
  }
  EXPECT_EQ(f->ImgList->Count(), 3);
  EXPECT_EQ(f->ImgList->Width(), 16);
  EXPECT_TRUE(f->ImgList->ShareImages);
  EXPECT_EQ(f->msnhttp->UserAgent, "Mozilla/3.0 (compatible; Indy Library)");
}

TEST_F(MainWindow, HelpAndManagerAskTheShellToOpenTheirFiles) {
  Tfrm_Main* f = Create(ScenarioBase("shell", {}));
  f->Show();
  velloran_testing::TShellRecorder shell;
  MessageBoxWatch box;
  SendMessageA(f->bnHelp->Handle(), BM_CLICK, 0, 0);
  SendMessageA(f->btnManager->Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(box.Seen());
  auto& calls = shell.Calls();
  ASSERT_EQ(calls.size(), 2u);
  const char* files[] = {"Velloran.chm", "Drellmark.exe"};
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(calls[i].Owner, f->Handle());
    EXPECT_EQ(calls[i].Verb, "open");
    EXPECT_EQ(calls[i].File, files[i]);
    EXPECT_EQ(calls[i].Parameters, "");
    EXPECT_EQ(calls[i].Directory, "");
    EXPECT_EQ(calls[i].Show, SW_SHOWNORMAL);
  }
}

TEST_F(MainWindow, FirstShowingOpensTheWinksPageWithTheFocusOnItsTree) {
  Tfrm_Main* f = Create(ScenarioBase("show", {}));
  f->pgContent->SetActivePageIndex(1);
  f->Show();
  EXPECT_EQ(f->pgContent->ActivePageIndex(), 0);
  EXPECT_EQ(GetFocus(), f->tvWinks->Handle());
}

// ---- The stored skin ------------------------------------------------------------------------------

TEST_F(MainWindow, StoredSkinComponentLoadsItsArchiveWithTheStoredValues) {
  Tfrm_Main* f = Create(ScenarioBase("sample", {}));
  auto* skin = ObjectAs<TSkinData>(f->FindComponent("SkinData1"));
  ASSERT_NE(skin, nullptr);
  EXPECT_TRUE(skin->Active());
  EXPECT_FALSE(skin->FNotLoaded);
  EXPECT_EQ(skin->DisableTag, 99);
  EXPECT_EQ(skin->SkinFormtype, sfMainform);
  EXPECT_TRUE(skin->MenuUpdate);
  EXPECT_TRUE(skin->SkinControls.Contains(xcSystemMenu));
  EXPECT_TRUE(skin->SkinControls.Contains(xcMainMenu));
  // The stored class list is the component's own default one.
  TSkinData defaults(nullptr);
  EXPECT_EQ(skin->Skin3rd()->Text(), defaults.Skin3rd()->Text());
  ASSERT_NE(skin->FSkinStream, nullptr);
  EXPECT_GT(skin->FSkinStream->GetSize(), 1000);
}

// ---- The taskbar entry ---------------------------------------------------------------------------

// Alone in its process (each test is): the main form is the application's.
TEST(VelloranMainForm, CaptionButtonAndSystemMenuMinimiseTheProgramAndItsTaskbarEntryRestoresIt) {
  RegisterVelloranClasses();
  SetEnvironmentVariableA("VELLORAN_SERVER_BASE", ScenarioBase("minimise", {}).c_str());
  Application->SetTitle("Corvanel");
  Application->CreateForm(frm_Main);
  std::unique_ptr<Tfrm_Main> f(frm_Main);
  f->Show();
  Application->ProcessMessages();
  HWND main = f->Handle(), app = Application->Handle();
  EXPECT_EQ(taskbar_testing::TaskbarWindows(GetCurrentProcessId()), std::vector<HWND>{app});
  ASSERT_NE(SkinManager, nullptr);
  auto* skinned = static_cast<TRezIderFormImpl*>(SkinManager->FindForm(main));
  ASSERT_NE(skinned, nullptr);
  auto minimised = [&] { return IsIconic(app) && !IsWindowVisible(main) && !IsIconic(main); };
  auto restoreFromTheEntry = [&] {
    SendMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    Application->ProcessMessages();
    EXPECT_FALSE(IsIconic(app));
    EXPECT_TRUE(IsWindowVisible(main));
    // The empty application window keeps no activation: it goes on to the main form (none is
    // active while another program holds the foreground).
    EXPECT_NE(GetActiveWindow(), app);
    EXPECT_EQ(skinned->FShowState, ssNormal);  // its skinned frame is painted again
  };

  // The skinned minimise button, pressed and released under the pointer.
  TWinSysButton* button = nullptr;
  for (auto& b : skinned->FSysButtons)
    if (b->FVisible && (b->FButtonData->Action == 2 || b->FButtonData->Action == 23)) button = b.get();
  ASSERT_NE(button, nullptr);
  RECT frame;
  GetWindowRect(main, &frame);
  LPARAM at = MAKELPARAM(frame.left + (button->FRect.left + button->FRect.right) / 2,
                         frame.top + (button->FRect.top + button->FRect.bottom) / 2);
  for (UINT msg : {WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP}) SendMessageA(main, msg, HTCAPTION, at);
  Application->ProcessMessages();
  EXPECT_TRUE(minimised());
  restoreFromTheEntry();

  // The skinned system menu's Minimize.
  TMenuItem* item = nullptr;
  for (int i = 0; i < skinned->FSysMenu->Items()->Count(); ++i)
    if (skinned->FSysMenu->Items()->Items(i)->Tag == 2) item = skinned->FSysMenu->Items()->Items(i);
  ASSERT_NE(item, nullptr);
  item->Click();
  Application->ProcessMessages();
  EXPECT_TRUE(minimised());
  restoreFromTheEntry();
}

// ---- The first showing ------------------------------------------------------------------------------

// Alone in its process and on the desktop: another program taking the activation would paint the
// frame again.
TEST(VelloranFirstShowing, EveryWindowOfTheMainWindowPaintsOnce) {
  standins_testing::OwnSettings settings;
  RegisterVelloranClasses();
  SetEnvironmentVariableA("VELLORAN_SERVER_BASE", ScenarioBase("shown", {}).c_str());
  Application->CreateForm(frm_Main);
  paint_testing::TPaintCount count("Tfrm_Main");
  paint_testing::TPaintWatch watch({&count}, false, 10000);
  frm_Main->Show();
  for (DWORD start = GetTickCount(); !watch.Done() && GetTickCount() - start < 10000; Sleep(1))
    Application->ProcessMessages();
  ASSERT_TRUE(watch.Done());
  paint_testing::ExpectPaintedOnce(count, paint_testing::VisibleWindows(count.Form()));
  DoneApplication();
}

// ---- The end of the program ------------------------------------------------------------------------

// Alone in its process (each test is): the application object is gone afterwards.
TEST(VelloranEnd, ExitFreesTheApplicationItsFormsAndTheEngineAndPaintsNoFrameOnTheWay) {
  standins_testing::OwnSettings settings;
  RegisterVelloranClasses();
  SetEnvironmentVariableA("VELLORAN_SERVER_BASE", ScenarioBase("end", {}).c_str());
  Application->SetTitle("Corvanel");
  Application->Initialize();
  Application->CreateForm(frm_Main);
  Tfrm_Main* f = frm_Main;
  bool destroyed = false;
  f->OnDestroy = [&](TObject*) { destroyed = true; };
  f->msins->Connect();  // as the first install leaves it
  f->Show();
  Application->ProcessMessages();
  HWND main = f->Handle();
  ASSERT_NE(SkinManager, nullptr);
  TRezIderForm* skinned = SkinManager->FindForm(main);
  ASSERT_NE(skinned, nullptr);
  ASSERT_EQ(skinned->FState, fsSkinned);

  velloran_testing::TFrameWatch frames(main);
  f->btnExit->OnClick = [&](TObject* sender) {
    frames.Start();
    f->btnExitClick(sender);
  };
  PostMessageA(f->btnExit->Handle(), BM_CLICK, 0, 0);
  Application->Run();
  DoneApplication();

  EXPECT_EQ(frames.Painted, 0);
  EXPECT_TRUE(destroyed);
  EXPECT_FALSE(IsWindow(main));
  EXPECT_EQ(SkinManager, nullptr);
  auto log = settings.LogLines();
  for (const char* line : {"Installer Released", "Flash Released", "Browser Released"})
    EXPECT_NE(std::find(log.begin(), log.end(), line), log.end()) << line;
  // Nothing keeps the thread's COM up any more but the control container's own initialisation
  // (atl.dll's under Wine takes one reference, for the life of the process).
  OleUninitialize();
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
  CoUninitialize();
}
