// The main window's preview and install against the content server and the stand-ins of the chat
// client, the Flash player and the web browser (their call log read back): the URLs of both pages
// and kinds, what is not previewed or installed, the sign-in check, the installer component, the
// viewers following the page, and the right button inside the viewers.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <atomic>
#include <functional>
#include <future>
#include <memory>

#include "tests/unit/ContentServer.h"
#include "tests/unit/DrellmarkTesting.h"
#include "tests/unit/VelloranTesting.h"
#include "tests/unit/standins_testing.h"
#include "velloran/Uni_Main.h"

namespace {

using velloran_testing::FindNode;

using velloran_testing::TBoxSeen;

const char kNotSignedIn[] = "Please logged on to a MSN Messenger!";

BOOL CALLBACK FindChildProc(HWND w, LPARAM lp) {
  auto* search = reinterpret_cast<std::pair<std::string, HWND>*>(lp);
  if (velloran_testing::ClassOf(w) == search->first) search->second = w;
  return TRUE;
}

// Runs action while another thread reads and closes the first box with one of these captions
// that this process shows; answers that box (Found false when none came up).
TBoxSeen WatchingBoxes(const std::vector<std::string>& captions, const std::function<void()>& action) {
  std::atomic<bool> done{false};
  DWORD pid = GetCurrentProcessId();
  auto watcher = std::async(std::launch::async, [&] {
    while (!done)
      for (const std::string& caption : captions)
        if (HWND box = velloran_testing::WaitForBox(pid, caption, 10)) {
          TBoxSeen seen = velloran_testing::ReadBox(box);
          velloran_testing::PressOk(box);
          return seen;
        }
    return TBoxSeen{};
  });
  action();
  done = true;
  return watcher.get();
}

// ---- Test doubles of the chat client inside this process ------------------------------------------

// IUnknown for one interface besides IUnknown itself.
template <class I>
class TUnknown : public I {
 public:
  explicit TUnknown(std::vector<IID> iids) : FIids(std::move(iids)) {}
  virtual ~TUnknown() = default;
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && std::find(FIids.begin(), FIids.end(), riid) == FIids.end())
      return E_NOINTERFACE;
    *ppv = static_cast<I*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ULONG(++FRefs); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG left = --FRefs;
    if (left == 0) delete this;
    return ULONG(left);
  }

 private:
  std::vector<IID> FIids;
  LONG FRefs = 1;
};

// What the API objects of the double answer, and how many of them there are.
struct TMessengerScript {
  std::vector<long> Statuses;  // object n (from 0) reads Statuses[n]
  HRESULT CreateResult = S_OK;
  HRESULT ReadResult = S_OK;
  int Created = 0;
  int Alive = 0;
  int MostAlive = 0;
};

// IDispatch that knows only MyStatus.
class TFakeMessenger : public TUnknown<IDispatch> {
 public:
  TFakeMessenger(TMessengerScript& script, long status)
      : TUnknown({IID_IDispatch, IID_IMessenger}), FScript(script), FStatus(status) {
    FScript.MostAlive = std::max(FScript.MostAlive, ++FScript.Alive);
  }
  ~TFakeMessenger() override { --FScript.Alive; }
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
    if (_wcsicmp(names[0], L"MyStatus") != 0) return DISP_E_UNKNOWNNAME;
    ids[0] = 7;
    return S_OK;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                      UINT*) override {
    if (id != 7 || !(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (FAILED(FScript.ReadResult)) return FScript.ReadResult;
    V_VT(result) = VT_I4;
    V_I4(result) = FStatus;
    return S_OK;
  }

 private:
  TMessengerScript& FScript;
  long FStatus;
};

// The content installer's double: records the URLs it is given.
class TFakeInstaller : public TUnknown<IMessengerContent> {
 public:
  explicit TFakeInstaller(std::vector<std::string>& urls)
      : TUnknown({IID_IDispatch, IID_IMessengerContent}), FUrls(urls) {}
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }
  STDMETHODIMP InstallContent(BSTR url) override {
    FUrls.push_back(WideToAnsi(url, int(SysStringLen(url))));
    return S_OK;
  }

 private:
  std::vector<std::string>& FUrls;
};

// A class object made for this process only, in front of what the registry names.
class TClassFactory : public TUnknown<IClassFactory> {
 public:
  using TCreate = std::function<HRESULT(REFIID, void**)>;
  explicit TClassFactory(TCreate create) : TUnknown({IID_IClassFactory}), FCreate(std::move(create)) {}
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return FCreate(riid, ppv);
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }

 private:
  TCreate FCreate;
};

// Registers a class object for clsid while it lives.
class TRegisteredClass {
 public:
  TRegisteredClass(const CLSID& clsid, TClassFactory::TCreate create) {
    auto* factory = new TClassFactory(std::move(create));
    EXPECT_EQ(CoRegisterClassObject(clsid, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &FCookie),
              S_OK);
    factory->Release();
  }
  ~TRegisteredClass() { CoRevokeClassObject(FCookie); }

 private:
  DWORD FCookie = 0;
};

// Hands out the interface of a fresh object and lets go of the creator's own reference.
template <class T>
HRESULT Hand(T* object, REFIID riid, void** ppv) {
  HRESULT hr = object->QueryInterface(riid, ppv);
  object->Release();
  return hr;
}

// API objects for this process that read the script's statuses in turn.
TRegisteredClass ScriptedMessengers(TMessengerScript& script) {
  return TRegisteredClass(CLSID_Messenger, [&script](REFIID riid, void** ppv) -> HRESULT {
    if (FAILED(script.CreateResult)) return script.CreateResult;
    long status = script.Statuses.at(size_t(script.Created++));
    return Hand(new TFakeMessenger(script, status), riid, ppv);
  });
}

// A window below parent of class cls, or nullptr.
HWND FindChild(HWND parent, const std::string& cls) {
  std::pair<std::string, HWND> search{cls, nullptr};
  EnumChildWindows(parent, FindChildProc, LPARAM(&search));
  return search.second;
}

// Records the mouse messages that reach a window of someone else's while it lives, by putting its
// own procedure in front of the window's, and gives the window's back.
class TMouseRecorder {
 public:
  explicit TMouseRecorder(HWND wnd) : FWnd(wnd) {
    Current() = this;
    FOld = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(wnd, GWLP_WNDPROC, LONG_PTR(Proc)));
  }
  ~TMouseRecorder() {
    SetWindowLongPtrA(FWnd, GWLP_WNDPROC, LONG_PTR(FOld));
    Current() = nullptr;
  }
  std::vector<UINT> Seen;

 private:
  static TMouseRecorder*& Current() {
    static TMouseRecorder* current = nullptr;
    return current;
  }
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    TMouseRecorder* self = Current();
    if (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) self->Seen.push_back(m);
    return CallWindowProcA(self->FOld, w, m, wp, lp);
  }
  HWND FWnd;
  WNDPROC FOld = nullptr;
};

// ---- The fixture --------------------------------------------------------------------------------

class Preview : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterVelloranClasses(); }
  void SetUp() override {
    Settings.SetString("Messenger Account", Account);
    Settings.SetDword("Messenger Status", 0);
    SetEnvironmentVariableA("VELLORAN_SERVER_BASE", contentserver::Base().c_str());
    form.reset(TCustomForm::Create<Tfrm_Main>(Application));
    ASSERT_TRUE(form->FReady);
    f = form.get();
    f->Show();
    // As the program's loop goes on after the showing: the skinned window sizes its frame and paints.
    Application->ProcessMessages();
  }
  void TearDown() override {
    form.reset();
    SetEnvironmentVariableA("VELLORAN_SERVER_BASE", nullptr);
    drellmark_testing::RemoveTree(AccountFolder());
  }

  // The account's folder, above its winks folder.
  std::string AccountFolder() const {
    std::string winks = standins_testing::WinksFolderOf(Account);
    return winks.substr(0, winks.size() - std::strlen("\\Winks3\\"));
  }
  // The calls of the stand-ins' log that begin with prefix, in order.
  std::vector<std::string> Calls(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& line : Settings.LogLines())
      if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
  }
  void Select(TTreeView* tree, const std::string& caption) {
    TTreeNode* node = FindNode(tree, caption);
    ASSERT_NE(node, nullptr) << caption;
    tree->SetSelected(node);
  }
  // A click on the tab of page as the mouse gives it.
  void ClickTab(int page) {
    RECT r{};
    SendMessageA(f->pgContent->Handle(), TCM_GETITEMRECT, WPARAM(page), LPARAM(&r));
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(f->pgContent->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(f->pgContent->Handle(), WM_LBUTTONUP, 0, at);
    ASSERT_EQ(f->pgContent->ActivePageIndex(), page);
  }
  // Install pressed; answers the box it showed, if any (the information box or the error report).
  TBoxSeen Install() {
    return WatchingBoxes({"Information", Application->Title()},
                         [&] { SendMessageA(f->btnInstall->Handle(), BM_CLICK, 0, 0); });
  }
  std::string Base() const { return contentserver::Base(); }

  standins_testing::OwnSettings Settings;
  std::string Account = "preview-" + std::to_string(GetCurrentProcessId()) + "@example.com";
  std::unique_ptr<Tfrm_Main> form;
  Tfrm_Main* f = nullptr;
};

}  // namespace

// ---- URLs ----------------------------------------------------------------------------------------

TEST_F(Preview, UrlsOfBothPagesAndKinds) {
  std::string url;
  Select(f->tvWinks, "Big Hug");
  ASSERT_TRUE(f->BuildContentUrl(url, 1));
  EXPECT_EQ(url, Base() + "preview/winks/bighug.swf");
  ASSERT_TRUE(f->BuildContentUrl(url, 0));
  EXPECT_EQ(url, Base() + "setupcab/cabwinks/bighug.cab");

  ClickTab(1);
  Select(f->tvEmoticons, "Sly Wink");
  ASSERT_TRUE(f->BuildContentUrl(url, 1));
  EXPECT_EQ(url, Base() + "preview/emoticons/slywink/slywink.htm");
  ASSERT_TRUE(f->BuildContentUrl(url, 0));
  EXPECT_EQ(url, Base() + "setupcab/cabemoticons/slywink.cab");

  // File names go in as the list gives them, unescaped.
  auto* record = static_cast<TTreeRecord*>(f->tvEmoticons->Selected()->Data);
  record->PreviewFile = "a b%20c";
  ASSERT_TRUE(f->BuildContentUrl(url, 1));
  EXPECT_EQ(url, Base() + "preview/emoticons/a b%20c/a b%20c.htm");

  // No page, no tree.
  f->pgContent->SetActivePageIndex(-1);
  url = "untouched";
  EXPECT_FALSE(f->BuildContentUrl(url, 1));
  EXPECT_EQ(url, "untouched");
}

TEST_F(Preview, RootCategoriesAndItemsWithoutCabinetGiveNoUrlAndNoPreview) {
  Select(f->tvWinks, "Fireworks");
  std::string shown = Base() + "preview/winks/fireworks.swf";
  ASSERT_EQ(f->sflash->Movie(), shown);
  size_t movies = Calls("Flash Movie").size();

  // An item without a cabinet name, as a list may give it.
  static_cast<TTreeRecord*>(FindNode(f->tvWinks, "Rain Cloud")->Data)->CabFile.clear();
  for (const char* caption : {"\xA1\xBEMSN Winks\xA1\xBF", "Love", "ComingSoon", "Rain Cloud"}) {
    Select(f->tvWinks, caption);
    std::string url = "untouched";
    EXPECT_FALSE(f->BuildContentUrl(url, 1)) << caption;
    EXPECT_FALSE(f->BuildContentUrl(url, 0)) << caption;
    EXPECT_EQ(url, "untouched") << caption;
    SendMessageA(f->btnPreview->Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(Install().Found) << caption;
  }
  // The viewer keeps what it showed; nothing reached the player, the chat client or the installer.
  EXPECT_EQ(f->sflash->Movie(), shown);
  EXPECT_EQ(Calls("Flash Movie").size(), movies);
  EXPECT_TRUE(Calls("Messenger").empty());
  EXPECT_TRUE(Calls("Installer").empty());
}

// ---- Preview -------------------------------------------------------------------------------------

TEST_F(Preview, SelectingAWinkPlaysItsMovieAndAnEmoticonOpensItsPage) {
  Select(f->tvWinks, "Big Hug");
  std::string movie = Base() + "preview/winks/bighug.swf";
  EXPECT_EQ(Calls("Flash"),
            (std::vector<std::string>{"Flash Playing 1", "Flash Movie " + movie, "Flash Play"}));
  EXPECT_EQ(f->sflash->Movie(), movie);
  EXPECT_TRUE(f->sflash->Playing());

  ClickTab(1);
  Select(f->tvEmoticons, "Happy Dog");
  std::string page = Base() + "preview/emoticons/happydog/happydog.htm";
  EXPECT_EQ(Calls("Browser Navigate"), std::vector<std::string>{"Browser Navigate " + page});
  EXPECT_EQ(f->sweb->GetProperty("LocationURL").AsString(), page);
  // The movie was left as it was, only stopped by the page change.
  EXPECT_EQ(f->sflash->Movie(), movie);
}

TEST_F(Preview, AMouseClickThatChangesTheSelectionPreviewsTwice) {
  Select(f->tvWinks, "Big Hug");
  TTreeNode* laugh = FindNode(f->tvWinks, "Belly Laugh");
  FindNode(f->tvWinks, "Fun")->Expand(false);
  RECT r{};
  HTREEITEM item = laugh->ItemId();
  std::memcpy(&r, &item, sizeof item);  // the item goes in where its rectangle comes back
  ASSERT_TRUE(SendMessageA(f->tvWinks->Handle(), TVM_GETITEMRECT, TRUE, LPARAM(&r)));
  LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  size_t before = Calls("Flash Movie").size();
  // The button comes up at once: the tree looks for it while it decides whether a drag begins.
  PostMessageA(f->tvWinks->Handle(), WM_LBUTTONUP, 0, at);
  SendMessageA(f->tvWinks->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  Application->ProcessMessages();
  ASSERT_EQ(f->tvWinks->Selected(), laugh);
  // One preview from the click, one from the change; the tree here reports the click before it
  // moves the selection, so the click's preview is of the item selected until then.
  auto movies = Calls("Flash Movie");
  EXPECT_EQ(movies.size() - before, 2u) << ::testing::PrintToString(movies);
  EXPECT_EQ(movies.back(), "Flash Movie " + Base() + "preview/winks/bellylaugh.swf");
  EXPECT_EQ(f->sflash->Movie(), Base() + "preview/winks/bellylaugh.swf");
}

TEST_F(Preview, ADoubleClickOnAnItemPreviewsIt) {
  Select(f->tvWinks, "Belly Laugh");
  RECT r{};
  HTREEITEM item = FindNode(f->tvWinks, "Belly Laugh")->ItemId();
  std::memcpy(&r, &item, sizeof item);  // the item goes in where its rectangle comes back
  ASSERT_TRUE(SendMessageA(f->tvWinks->Handle(), TVM_GETITEMRECT, TRUE, LPARAM(&r)));
  LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  size_t before = Calls("Flash Movie").size();
  SendMessageA(f->tvWinks->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageA(f->tvWinks->Handle(), WM_LBUTTONUP, 0, at);
  Application->ProcessMessages();
  auto movies = Calls("Flash Movie");
  EXPECT_EQ(movies.size() - before, 1u) << ::testing::PrintToString(movies);
  EXPECT_EQ(movies.back(), "Flash Movie " + Base() + "preview/winks/bellylaugh.swf");
}

TEST_F(Preview, PageSwitchesShowTheirViewerStopAndResumeTheMovie) {
  // First showing: the winks page, the Flash viewer in front, the browser's own Visible off.
  EXPECT_EQ(f->pgContent->ActivePageIndex(), 0);
  EXPECT_TRUE(IsWindowVisible(f->sflash->Handle()));
  EXPECT_FALSE(f->sweb->BrowserVisible());
  EXPECT_EQ(GetWindow(f->grbPreview->Handle(), GW_CHILD), f->sflash->Handle());

  Select(f->tvWinks, "Disco Dance");
  size_t before = Settings.LogLines().size();
  ClickTab(1);
  auto lines = Settings.LogLines();
  std::vector<std::string> after(lines.begin() + long(before), lines.end());
  EXPECT_EQ(after, (std::vector<std::string>{"Browser Visible 1", "Flash Playing 0"}));
  EXPECT_FALSE(f->sflash->Playing());
  EXPECT_FALSE(IsWindowVisible(f->sflash->Handle()));
  EXPECT_TRUE(f->sweb->BrowserVisible());
  EXPECT_TRUE(IsWindowVisible(f->sweb->Handle()));
  EXPECT_EQ(GetWindow(f->grbPreview->Handle(), GW_CHILD), f->sweb->Handle());

  before = Settings.LogLines().size();
  ClickTab(0);
  lines = Settings.LogLines();
  after.assign(lines.begin() + long(before), lines.end());
  EXPECT_EQ(after, (std::vector<std::string>{"Browser Visible 0", "Flash Play"}));
  EXPECT_TRUE(f->sflash->Playing());
  EXPECT_EQ(f->sflash->Movie(), Base() + "preview/winks/discodance.swf");
  EXPECT_TRUE(IsWindowVisible(f->sflash->Handle()));
  EXPECT_EQ(GetWindow(f->grbPreview->Handle(), GW_CHILD), f->sflash->Handle());

  // Any other page shows no viewer change.
  before = Settings.LogLines().size();
  f->ShowViewer(2);
  EXPECT_EQ(Settings.LogLines().size(), before);
}

TEST_F(Preview, ViewersFillThePreviewGroupAndTheFlashSettingsAreStored) {
  for (TOleControl* viewer : {static_cast<TOleControl*>(f->sflash), static_cast<TOleControl*>(f->sweb)}) {
    EXPECT_EQ(viewer->Parent(), f->grbPreview);
    EXPECT_EQ(viewer->Align(), alClient);
    RECT client = f->grbPreview->ClientRect();
    f->grbPreview->AdjustClientRect(client);
    EXPECT_EQ(viewer->BoundsRect().left, client.left);
    EXPECT_EQ(viewer->BoundsRect().right, client.right);
    EXPECT_EQ(viewer->BoundsRect().bottom, client.bottom);
  }
  EXPECT_EQ(f->sflash->GetProperty("WMode").AsString(), "Window");
  EXPECT_EQ(f->sflash->GetProperty("Quality").AsInteger(), 1);
  EXPECT_TRUE(f->sflash->GetProperty("Loop").AsBoolean());
  EXPECT_FALSE(f->sflash->GetProperty("Menu").AsBoolean());
  EXPECT_EQ(f->sflash->GetProperty("AllowScriptAccess").AsString(), "always");
  EXPECT_EQ(f->sflash->GetProperty("Scale").AsString(), "ShowAll");
  EXPECT_EQ(Calls("Flash"), std::vector<std::string>{"Flash Playing 1"});
  // The installer waits for its first use.
  EXPECT_FALSE(f->msins->Connected());
}

TEST_F(Preview, RightButtonInsideTheViewersNeverArrives) {
  for (const char* cls : {"StandinFlashPlayer", "StandinWebBrowser"}) {
    HWND viewer = FindChild(f->Handle(), cls);
    ASSERT_NE(viewer, nullptr) << cls;
    TMouseRecorder recorder(viewer);
    PostMessageA(viewer, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 20));
    PostMessageA(viewer, WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
    PostMessageA(viewer, WM_MOUSEMOVE, 0, MAKELPARAM(21, 20));
    Application->ProcessMessages();
    // The move gets through (the system may add one of its own); the right button never does.
    const std::vector<UINT>& seen = recorder.Seen;
    EXPECT_NE(std::find(seen.begin(), seen.end(), UINT(WM_MOUSEMOVE)), seen.end()) << cls;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), UINT(WM_RBUTTONDOWN)), 0) << cls;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), UINT(WM_RBUTTONUP)), 0) << cls;
  }
}

// ---- Install -------------------------------------------------------------------------------------

TEST_F(Preview, NotSignedInStatusesShowTheBoxAndInstallNothing) {
  Select(f->tvWinks, "Big Hug");
  // A status that stays put is caught by the reading whose value it is: one reading per value up
  // to it, each from an object of its own.
  const DWORD statuses[] = {1, 0x100, 0x200, 0x300, 0x400};
  for (size_t k = 0; k < 5; ++k) {
    size_t readings = Calls("Messenger MyStatus").size();
    Settings.SetDword("Messenger Status", statuses[k]);
    TBoxSeen seen = Install();
    EXPECT_TRUE(seen.Found) << k;
    EXPECT_EQ(seen.Caption, "Information");
    EXPECT_EQ(seen.Text, kNotSignedIn);
    EXPECT_TRUE(seen.InformationIcon);
    EXPECT_EQ(Calls("Messenger MyStatus").size() - readings, k + 1) << k;
  }
  EXPECT_TRUE(Calls("Installer").empty());
  EXPECT_FALSE(f->msins->Connected());
}

TEST_F(Preview, SignedInInstallsTheWinkIntoTheAccountsWinksFolder) {
  Select(f->tvWinks, "Big Hug");
  for (DWORD status : {DWORD(0), DWORD(2), DWORD(0x500)}) {
    drellmark_testing::RemoveTree(AccountFolder());
    size_t readings = Calls("Messenger MyStatus").size();
    Settings.SetDword("Messenger Status", status);
    EXPECT_FALSE(Install().Found) << status;
    EXPECT_EQ(Calls("Messenger MyStatus").size() - readings, 5u);
    EXPECT_TRUE(drellmark_testing::Exists(AccountFolder() + "\\Winks3\\bighug.dat")) << status;
  }
  std::string url = Base() + "setupcab/cabwinks/bighug.cab";
  EXPECT_EQ(Calls("Installer InstallContent"),
            std::vector<std::string>(3, "Installer InstallContent " + url));
  std::string stored = contentserver::ReadFile(AccountFolder() + "\\Winks3\\bighug.dat");
  EXPECT_EQ(stored.substr(0, 4), "MSCF");  // the cabinet as served
  EXPECT_TRUE(f->msins->Connected());
}

TEST_F(Preview, EmoticonsInstallFromTheirOwnFolder) {
  ClickTab(1);
  Select(f->tvEmoticons, "Hot Coffee");
  EXPECT_FALSE(Install().Found);
  EXPECT_EQ(
      Calls("Installer InstallContent"),
      std::vector<std::string>{"Installer InstallContent " + Base() + "setupcab/cabemoticons/hotcoffee.cab"});
  EXPECT_TRUE(drellmark_testing::Exists(AccountFolder() + "\\Winks3\\hotcoffee.dat"));
}

TEST_F(Preview, ReadingKIsComparedWithValueKOnly) {
  Select(f->tvWinks, "Big Hug");
  struct {
    std::vector<long> statuses;
    bool refused;
  } cases[] = {
      {{0x100, 1, 0x400, 0x100, 0x300}, false},  // each a not-signed-in value, never in its place
      {{0, 0x100, 0, 0, 0}, true},
      {{0, 0, 0, 0, 0x400}, true},
      {{0, 0, 0x200, 0, 0}, true},
      {{0, 0, 0, 0x300, 0}, true},
      {{2, 2, 2, 2, 1}, false},
  };
  for (const auto& c : cases) {
    TMessengerScript script{c.statuses};
    TRegisteredClass messengers = ScriptedMessengers(script);
    size_t installs = Calls("Installer InstallContent").size();
    TBoxSeen seen = Install();
    EXPECT_EQ(seen.Found, c.refused) << c.statuses[0];
    if (c.refused) {
      EXPECT_EQ(seen.Text, kNotSignedIn);
    }
    EXPECT_EQ(Calls("Installer InstallContent").size() - installs, c.refused ? 0u : 1u);
    // Every reading from a fresh object, all of them held until the handler ends.
    EXPECT_EQ(script.MostAlive, script.Created);
    EXPECT_EQ(script.Alive, 0);
    if (!c.refused) {
      EXPECT_EQ(script.Created, 5);
    }
  }
}

TEST_F(Preview, AMissingOrFailingChatClientReachesTheGeneralErrorReport) {
  Select(f->tvWinks, "Big Hug");
  for (bool creationFails : {true, false}) {
    TMessengerScript script{{0, 0, 0, 0, 0}};
    (creationFails ? script.CreateResult : script.ReadResult) =
        creationFails ? REGDB_E_CLASSNOTREG : RPC_E_DISCONNECTED;
    TRegisteredClass messengers = ScriptedMessengers(script);
    TBoxSeen seen = Install();
    EXPECT_TRUE(seen.Found) << creationFails;
    EXPECT_EQ(seen.Caption, Application->Title());
    EXPECT_NE(
        seen.Text.find(creationFails ? "Creating the Messenger object" : "Reading the Messenger status"),
        std::string::npos)
        << seen.Text;
    EXPECT_TRUE(Calls("Installer").empty());
    EXPECT_EQ(script.Alive, 0);
  }
}

TEST_F(Preview, InstallFailuresAreSilent) {
  // The installer cannot fetch the package.
  Select(f->tvWinks, "Big Hug");
  static_cast<TTreeRecord*>(f->tvWinks->Selected()->Data)->CabFile = "nosuchwink.cab";
  EXPECT_FALSE(Install().Found);
  auto calls = Calls("Installer");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].rfind("Installer Failed", 0), 0u) << calls[1];

  // No installer to be had at all.
  form.reset();
  {
    TRegisteredClass none(CLSID_MessengerContent,
                          [](REFIID, void**) -> HRESULT { return REGDB_E_CLASSNOTREG; });
    form.reset(TCustomForm::Create<Tfrm_Main>(Application));
    f = form.get();
    f->Show();
    Select(f->tvWinks, "Big Hug");
    EXPECT_FALSE(Install().Found);
    EXPECT_FALSE(f->msins->Connected());
  }
  EXPECT_EQ(Calls("Installer InstallContent").size(), 1u);
}

TEST_F(Preview, TheInstallerInUseIsTheRunningOneAndStaysConnected) {
  std::vector<std::string> urls;
  DWORD cookie = 0;
  {
    auto* running = new TFakeInstaller(urls);
    ASSERT_EQ(RegisterActiveObject(running, CLSID_MessengerContent, ACTIVEOBJECT_STRONG, &cookie), S_OK);
    running->Release();
  }
  Select(f->tvWinks, "Big Hug");
  EXPECT_FALSE(Install().Found);
  RevokeActiveObject(cookie, nullptr);
  // The running one got the URL; none was started.
  EXPECT_EQ(urls, std::vector<std::string>{Base() + "setupcab/cabwinks/bighug.cab"});
  EXPECT_TRUE(Calls("Installer").empty());

  // Gone from the table, still the one in use.
  Select(f->tvWinks, "Fireworks");
  EXPECT_FALSE(Install().Found);
  EXPECT_EQ(urls.size(), 2u);
  EXPECT_EQ(urls.back(), Base() + "setupcab/cabwinks/fireworks.cab");
  EXPECT_TRUE(Calls("Installer").empty());
}
