// The Flash player and web browser stand-ins: called through IDispatch by name and by id, given
// stored settings, and hosted in real windows by Wine's AtlAxWin and by a plain OleCreate host.
#include "tests/unit/standins_testing.h"

#include <ocidl.h>

#include <map>

using namespace standins_testing;

namespace {

const CLSID kFlash = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const CLSID kBrowser = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
const char kFlashWindowClass[] = "StandinFlashPlayer";
const char kBrowserWindowClass[] = "StandinWebBrowser";
const COLORREF kPlaying = RGB(0, 128, 0);
const COLORREF kStopped = RGB(96, 96, 96);
const COLORREF kPage = RGB(255, 255, 255);

std::string WindowText(HWND wnd) {
  char text[512] = {};
  GetWindowTextA(wnd, text, sizeof text);
  return text;
}

COLORREF PixelAt(HWND wnd, int x, int y) {
  UpdateWindow(wnd);
  HDC dc = GetDC(wnd);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(wnd, dc);
  return c;
}

SIZE ClientSize(HWND wnd) {
  RECT rc;
  GetClientRect(wnd, &rc);
  return {rc.right, rc.bottom};
}

// A container site: a window to live in and counts of what the control told it.
class TestSite : public IOleClientSite, public IOleInPlaceSite {
 public:
  TestSite(HWND parent, RECT pos) : parent_(parent), pos_(pos) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IOleClientSite)
      *ppv = static_cast<IOleClientSite*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
      *ppv = static_cast<IOleInPlaceSite*>(this);
    else {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  // Lives on the test's stack, outliving every control that holds it.
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }

  STDMETHODIMP SaveObject() override { return S_OK; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP GetContainer(IOleContainer** c) override {
    *c = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  STDMETHODIMP GetWindow(HWND* wnd) override {
    *wnd = parent_;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override {
    ++activated;
    return S_OK;
  }
  STDMETHODIMP OnUIActivate() override {
    ++uiActivated;
    return S_OK;
  }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                LPOLEINPLACEFRAMEINFO) override {
    *frame = nullptr;
    *doc = nullptr;
    *pos = pos_;
    *clip = pos_;
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override {
    ++deactivated;
    return S_OK;
  }
  STDMETHODIMP DiscardUndoState() override { return S_OK; }
  STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

  ULONG refs = 0;
  int activated = 0, uiActivated = 0, deactivated = 0;

 private:
  HWND parent_;
  RECT pos_;
};

// Stored properties as a container hands them over.
class TestBag : public IPropertyBag {
 public:
  explicit TestBag(std::map<std::wstring, VARIANT> values) : values_(std::move(values)) {}
  ~TestBag() {
    for (auto& value : values_) VariantClear(&value.second);
  }
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    *ppv = riid == IID_IUnknown || riid == IID_IPropertyBag ? this : nullptr;
    return *ppv ? S_OK : E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 1; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
    auto it = values_.find(name);
    if (it == values_.end()) return E_INVALIDARG;
    return VariantCopy(value, &it->second);
  }
  STDMETHODIMP Write(LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }

 private:
  std::map<std::wstring, VARIANT> values_;
};

LRESULT CALLBACK PlainProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(wnd, msg, wp, lp);
}

class ControlStandins : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "StandinsTestHost";
    RegisterClassA(&wc);
    host = CreateWindowA("StandinsTestHost", "host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20, 400,
                         300, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(host, nullptr);
  }
  void TearDown() override { DestroyWindow(host); }

  // Creates `clsid` with OleCreate and activates it in place in `site`.
  IOleObject* ActivateInPlace(const CLSID& clsid, TestSite& site, LONG verb = OLEIVERB_INPLACEACTIVATE) {
    IStorage* storage = nullptr;
    EXPECT_EQ(
        StgCreateDocfile(nullptr, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_DELETEONRELEASE,
                         0, &storage),
        S_OK);
    IOleObject* object = nullptr;
    EXPECT_EQ(OleCreate(clsid, IID_IOleObject, OLERENDER_NONE, nullptr, &site, storage,
                        reinterpret_cast<void**>(&object)),
              S_OK);
    if (storage) storage->Release();
    if (!object) return nullptr;
    RECT pos{10, 20, 210, 170};
    EXPECT_EQ(object->DoVerb(verb, nullptr, &site, 0, host, &pos), S_OK);
    return object;
  }

  static void Shut(IOleObject* object) {
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
    object->Release();
  }

  ComApartment com;
  OwnSettings settings;
  HWND host = nullptr;
};

}  // namespace

TEST_F(ControlStandins, FlashRecordsMoviePlayAndPlayingByNameAndId) {
  Ptr<IDispatch> flash;
  ASSERT_EQ(CoCreateInstance(kFlash, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, flash.out()), S_OK);
  DISPID movie = IdOf(flash.p, L"Movie"), play = IdOf(flash.p, L"Play");
  EXPECT_EQ(IdOf(flash.p, L"Playing"), 125);

  // Nothing to play yet.
  EXPECT_EQ(Call(flash.p, play, DISPATCH_METHOD, {}), S_OK);
  EXPECT_FALSE(GetBool(flash.p, 125));

  EXPECT_EQ(Call(flash.p, movie, DISPATCH_PROPERTYPUT, {Text(L"http://127.0.0.1/preview/winks/wave.swf")}),
            S_OK);
  EXPECT_EQ(GetText(flash.p, movie), L"http://127.0.0.1/preview/winks/wave.swf");
  EXPECT_TRUE(GetBool(flash.p, 125)) << "a loaded movie plays when the play setting is on";
  EXPECT_EQ(Call(flash.p, 125, DISPATCH_PROPERTYPUT, {Bool(false)}), S_OK);
  EXPECT_FALSE(GetBool(flash.p, 125));
  EXPECT_EQ(Call(flash.p, play, DISPATCH_METHOD, {}), S_OK);
  EXPECT_TRUE(GetBool(flash.p, 125)) << "Play resumes the movie loaded last";

  EXPECT_EQ(settings.LogLines(),
            (std::vector<std::string>{"Flash Play", "Flash Movie http://127.0.0.1/preview/winks/wave.swf",
                                      "Flash Playing 0", "Flash Play"}));
  EXPECT_EQ(Call(flash.p, 4242, DISPATCH_METHOD, {}), DISP_E_MEMBERNOTFOUND);
}

TEST_F(ControlStandins, FlashAcceptsTheStoredSettingsByNameAndFromAPropertyBag) {
  Ptr<IDispatch> flash;
  ASSERT_EQ(CoCreateInstance(kFlash, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, flash.out()), S_OK);
  const std::pair<const wchar_t*, VARIANT> stored[] = {
      {L"WMode", Text(L"Window")}, {L"Playing", Bool(true)}, {L"Loop", Bool(true)},
      {L"Quality", Text(L"High")}, {L"Menu", Bool(false)},   {L"AllowScriptAccess", Text(L"always")},
      {L"Scale", Text(L"ShowAll")}};
  for (const auto& [name, value] : stored)
    EXPECT_EQ(Call(flash.p, IdOf(flash.p, name), DISPATCH_PROPERTYPUT, {value}), S_OK) << name;
  EXPECT_EQ(GetText(flash.p, IdOf(flash.p, L"WMode")), L"Window");
  EXPECT_EQ(GetText(flash.p, IdOf(flash.p, L"scale")), L"ShowAll");
  EXPECT_FALSE(GetBool(flash.p, IdOf(flash.p, L"Menu")));

  // With play off, a movie from the bag waits for Play.
  Ptr<IPersistPropertyBag> persist;
  ASSERT_EQ(flash->QueryInterface(IID_IPersistPropertyBag, persist.out()), S_OK);
  TestBag bag({{L"Movie", Text(L"stored.swf")}, {L"Playing", Bool(false)}, {L"Quality", Text(L"Low")}});
  EXPECT_EQ(persist->Load(&bag, nullptr), S_OK);
  EXPECT_EQ(GetText(flash.p, IdOf(flash.p, L"Movie")), L"stored.swf");
  EXPECT_EQ(GetText(flash.p, IdOf(flash.p, L"Quality")), L"Low");
  EXPECT_FALSE(GetBool(flash.p, 125));
  CLSID clsid{};
  EXPECT_EQ(persist->GetClassID(&clsid), S_OK);
  EXPECT_EQ(clsid, kFlash);
}

TEST_F(ControlStandins, BothControlsRefuseACallOfTheWrongKindAsARealObjectDoes) {
  Ptr<IDispatch> flash, browser;
  ASSERT_EQ(CoCreateInstance(kFlash, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, flash.out()), S_OK);
  ASSERT_EQ(CoCreateInstance(kBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, browser.out()), S_OK);
  const struct {
    IDispatch* Object;
    const wchar_t* Name;
    WORD Flags;
  } refused[] = {{flash.p, L"Play", DISPATCH_PROPERTYPUT}, {flash.p, L"Playing", DISPATCH_METHOD},
                 {flash.p, L"Movie", DISPATCH_METHOD},     {browser.p, L"Navigate", DISPATCH_PROPERTYPUT},
                 {browser.p, L"Visible", DISPATCH_METHOD}, {browser.p, L"LocationURL", DISPATCH_PROPERTYPUT}};
  for (const auto& r : refused)
    EXPECT_EQ(Call(r.Object, IdOf(r.Object, r.Name), r.Flags, {Bool(true)}), DISP_E_MEMBERNOTFOUND) << r.Name;
  for (IDispatch* object : {flash.p, browser.p}) {
    EXPECT_EQ(Call(object, 4242, DISPATCH_PROPERTYGET, {}), DISP_E_MEMBERNOTFOUND);
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"NoSuchMember")};
    EXPECT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);
  }
  EXPECT_TRUE(settings.LogLines().empty());
}

TEST_F(ControlStandins, FlashHostedByAtlAxWinPaintsTheMovieAndWhetherItPlays) {
  HMODULE atl = LoadLibraryA("atl.dll");
  ASSERT_NE(atl, nullptr);
  auto init = reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
  auto getControl = reinterpret_cast<HRESULT(WINAPI*)(HWND, IUnknown**)>(
      reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
  ASSERT_TRUE(init && getControl);
  ASSERT_TRUE(init());
  HWND ax = CreateWindowA("AtlAxWin", "{D27CDB6E-AE6D-11CF-96B8-444553540000}", WS_CHILD | WS_VISIBLE, 0, 0,
                          300, 200, host, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(ax, nullptr);
  {
    Ptr<IUnknown> control;
    ASSERT_EQ(getControl(ax, &control.p), S_OK);
    Ptr<IDispatch> flash;
    ASSERT_EQ(control->QueryInterface(IID_IDispatch, flash.out()), S_OK);
    HWND player = FindWindowExA(ax, nullptr, kFlashWindowClass, nullptr);
    ASSERT_NE(player, nullptr);
    EXPECT_TRUE(IsWindowVisible(player));
    EXPECT_EQ(ClientSize(player).cx, 300);
    EXPECT_EQ(ClientSize(player).cy, 200);
    EXPECT_EQ(PixelAt(player, 2, 2), kStopped);

    Call(flash.p, IdOf(flash.p, L"Movie"), DISPATCH_PROPERTYPUT, {Text(L"C:\\temp\\wink.swf")});
    Call(flash.p, IdOf(flash.p, L"Play"), DISPATCH_METHOD, {});
    EXPECT_EQ(WindowText(player), "Flash player stand-in: C:\\temp\\wink.swf (playing)");
    EXPECT_EQ(PixelAt(player, 2, 2), kPlaying);
    EXPECT_EQ(PixelAt(player, 299, 199), kPlaying);

    Call(flash.p, 125, DISPATCH_PROPERTYPUT, {Bool(false)});
    EXPECT_EQ(WindowText(player), "Flash player stand-in: C:\\temp\\wink.swf (stopped)");
    EXPECT_EQ(PixelAt(player, 2, 2), kStopped);
  }
  DestroyWindow(ax);
  FreeLibrary(atl);
}

TEST_F(ControlStandins, FlashActivatesInPlaceUnderOleCreateAndLeavesNothingBehind) {
  TestSite site(host, RECT{10, 20, 210, 170});
  IOleObject* object = ActivateInPlace(kFlash, site);
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(site.activated, 1);
  EXPECT_EQ(site.uiActivated, 0);
  DWORD misc = 0;
  EXPECT_EQ(object->GetMiscStatus(DVASPECT_CONTENT, &misc), S_OK);
  EXPECT_TRUE(misc & OLEMISC_SETCLIENTSITEFIRST);

  Ptr<IOleInPlaceObject> inPlace;
  ASSERT_EQ(object->QueryInterface(IID_IOleInPlaceObject, inPlace.out()), S_OK);
  HWND player = nullptr;
  ASSERT_EQ(inPlace->GetWindow(&player), S_OK);
  EXPECT_EQ(GetParent(player), host);
  RECT rc;
  GetWindowRect(player, &rc);
  MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&rc), 2);
  EXPECT_EQ(rc.left, 10);
  EXPECT_EQ(rc.top, 20);
  EXPECT_EQ(rc.right, 210);
  EXPECT_EQ(rc.bottom, 170);

  RECT moved{0, 0, 120, 90};
  EXPECT_EQ(inPlace->SetObjectRects(&moved, &moved), S_OK);
  EXPECT_EQ(ClientSize(player).cx, 120);
  EXPECT_EQ(ClientSize(player).cy, 90);

  HMODULE server = GetModuleHandleA("standins_flash.dll");
  ASSERT_NE(server, nullptr);
  WNDCLASSA wc;
  EXPECT_TRUE(GetClassInfoA(server, kFlashWindowClass, &wc));
  EXPECT_EQ(inPlace->InPlaceDeactivate(), S_OK);
  EXPECT_FALSE(IsWindow(player));
  EXPECT_EQ(site.deactivated, 1);
  EXPECT_FALSE(GetClassInfoA(server, kFlashWindowClass, &wc)) << "the window class goes with the last window";

  // Activated again, and this time to the user interface level.
  EXPECT_EQ(object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, &site, 0, host, nullptr), S_OK);
  EXPECT_EQ(site.activated, 2);
  EXPECT_EQ(site.uiActivated, 1);
  inPlace.p->Release();
  inPlace.p = nullptr;
  Shut(object);
  EXPECT_EQ(site.deactivated, 2);
  EXPECT_EQ(FindWindowExA(host, nullptr, kFlashWindowClass, nullptr), nullptr);
  EXPECT_EQ(site.refs, 0u);
}

TEST_F(ControlStandins, BrowserShowsAndRecordsTheAddressItWasSentTo) {
  TestSite site(host, RECT{0, 0, 300, 200});
  IOleObject* object = ActivateInPlace(kBrowser, site);
  ASSERT_NE(object, nullptr);
  {
    Ptr<IDispatch> browser;
    ASSERT_EQ(object->QueryInterface(IID_IDispatch, browser.out()), S_OK);
    HWND page = FindWindowExA(host, nullptr, kBrowserWindowClass, nullptr);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(PixelAt(page, 2, 2), kPage);

    const wchar_t* url = L"http://127.0.0.1:8080/preview/emoticons/smile/smile.htm";
    VARIANT empty;
    VariantInit(&empty);
    // Navigate with its optional arguments, as a caller may pass them.
    EXPECT_EQ(Call(browser.p, IdOf(browser.p, L"Navigate"), DISPATCH_METHOD,
                   {Text(url), empty, empty, empty, empty}),
              S_OK);
    EXPECT_EQ(GetText(browser.p, IdOf(browser.p, L"LocationURL")), url);
    EXPECT_EQ(WindowText(page), "Web browser stand-in: " + std::string(url, url + wcslen(url)));

    EXPECT_EQ(IdOf(browser.p, L"Visible"), 402);
    EXPECT_EQ(Call(browser.p, 402, DISPATCH_PROPERTYPUT, {Bool(false)}), S_OK);
    EXPECT_FALSE(IsWindowVisible(page));
    EXPECT_FALSE(GetBool(browser.p, 402));
    EXPECT_EQ(Call(browser.p, 402, DISPATCH_PROPERTYPUT, {Bool(true)}), S_OK);
    EXPECT_TRUE(IsWindowVisible(page));

    EXPECT_EQ(settings.LogLines(),
              (std::vector<std::string>{"Browser Navigate " + std::string(url, url + wcslen(url)),
                                        "Browser Visible 0", "Browser Visible 1"}));
  }
  Shut(object);
  EXPECT_EQ(FindWindowExA(host, nullptr, kBrowserWindowClass, nullptr), nullptr);
}

TEST_F(ControlStandins, BrowserHiddenBeforeActivationStaysHidden) {
  Ptr<IDispatch> browser;
  ASSERT_EQ(CoCreateInstance(kBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, browser.out()), S_OK);
  EXPECT_EQ(Call(browser.p, 402, DISPATCH_PROPERTYPUT, {Bool(false)}), S_OK);
  Ptr<IOleObject> object;
  ASSERT_EQ(browser->QueryInterface(IID_IOleObject, object.out()), S_OK);
  TestSite site(host, RECT{0, 0, 100, 100});
  ASSERT_EQ(object->SetClientSite(&site), S_OK);
  RECT pos{0, 0, 100, 100};
  ASSERT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, host, &pos), S_OK);
  HWND page = FindWindowExA(host, nullptr, kBrowserWindowClass, nullptr);
  ASSERT_NE(page, nullptr);
  EXPECT_FALSE(IsWindowVisible(page));
  object->Close(OLECLOSE_NOSAVE);
  object->SetClientSite(nullptr);
}

TEST_F(ControlStandins, FlashActivatesAgainAfterItsContainerWindowIsGone) {
  HWND first = CreateWindowA("StandinsTestHost", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 150, host, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  TestSite site(first, RECT{0, 0, 200, 150});
  Ptr<IOleObject> object;
  ASSERT_EQ(CoCreateInstance(kFlash, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object.out()), S_OK);
  ASSERT_EQ(object->SetClientSite(&site), S_OK);
  ASSERT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, first, nullptr), S_OK);
  ASSERT_NE(FindWindowExA(first, nullptr, kFlashWindowClass, nullptr), nullptr);
  DestroyWindow(first);

  HWND second = CreateWindowA("StandinsTestHost", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 150, host, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  TestSite next(second, RECT{0, 0, 100, 80});
  ASSERT_EQ(object->SetClientSite(&next), S_OK);
  ASSERT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &next, 0, second, nullptr), S_OK);
  EXPECT_EQ(site.deactivated, 1);
  EXPECT_EQ(next.activated, 1);
  HWND player = FindWindowExA(second, nullptr, kFlashWindowClass, nullptr);
  ASSERT_NE(player, nullptr);
  EXPECT_EQ(ClientSize(player).cx, 100);
  object->Close(OLECLOSE_NOSAVE);
  object->SetClientSite(nullptr);
  EXPECT_EQ(next.deactivated, 1);
  DestroyWindow(second);
}
