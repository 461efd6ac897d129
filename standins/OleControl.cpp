// Windowed ActiveX control base of our stand-in controls.
#include "standins/OleControl.h"

#include <olectl.h>

#include <map>
#include <string>

namespace standins {

namespace {

// Controls holding a window, per window class: the class is registered for the first and
// unregistered when the last lets go, so that no class outlives the DLL whose procedure it names.
std::map<std::string, int>& WindowCounts() {
  static std::map<std::string, int> counts;
  return counts;
}

const DWORD kMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
                          OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;

}  // namespace

OleControl::OleControl(const CLSID& clsid, const char* windowClass, const DispName* names, size_t nameCount)
    : clsid_(clsid), windowClass_(windowClass), names_(names), nameCount_(nameCount) {}

OleControl::~OleControl() {
  InPlaceDeactivate();
  if (adviseHolder_) adviseHolder_->Release();
  if (site_) site_->Release();
}

STDMETHODIMP OleControl::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IOleObject)
    *ppv = static_cast<IOleObject*>(this);
  else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject)
    *ppv = static_cast<IOleInPlaceObject*>(this);
  else if (riid == IID_IOleInPlaceActiveObject)
    *ppv = static_cast<IOleInPlaceActiveObject*>(this);
  else if (riid == IID_IOleControl)
    *ppv = static_cast<IOleControl*>(this);
  else if (riid == IID_IPersist || riid == IID_IPersistStreamInit)
    *ppv = static_cast<IPersistStreamInit*>(this);
  else if (riid == IID_IPersistPropertyBag)
    *ppv = static_cast<IPersistPropertyBag*>(this);
  else if (riid == IID_IPersistStorage)
    *ppv = static_cast<IPersistStorage*>(this);
  else if (riid == IID_IDispatch)
    *ppv = static_cast<IDispatch*>(this);
  else {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP OleControl::SetClientSite(IOleClientSite* site) {
  if (site) site->AddRef();
  if (site_) site_->Release();
  site_ = site;
  return S_OK;
}

STDMETHODIMP OleControl::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  *site = site_;
  if (site_) site_->AddRef();
  return S_OK;
}

STDMETHODIMP OleControl::Close(DWORD) { return InPlaceDeactivate(); }

STDMETHODIMP OleControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT pos) {
  if (site && !site_) SetClientSite(site);
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
      return ActivateInPlace(true, parent, pos);
    case OLEIVERB_INPLACEACTIVATE:
      return ActivateInPlace(false, parent, pos);
    case OLEIVERB_HIDE:
      if (wnd_) ShowWindow(wnd_, SW_HIDE);
      return S_OK;
    default:
      return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
  }
}

HRESULT OleControl::ActivateInPlace(bool ui, HWND parent, LPCRECT pos) {
  // The container destroyed our window with its own: start again.
  if (inPlaceSite_ && !wnd_) InPlaceDeactivate();
  if (!inPlaceSite_) {
    if (!site_) return E_UNEXPECTED;
    IOleInPlaceSite* inPlaceSite = nullptr;
    if (FAILED(site_->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlaceSite))))
      return E_NOINTERFACE;
    if (inPlaceSite->CanInPlaceActivate() != S_OK) {
      inPlaceSite->Release();
      return E_FAIL;
    }
    inPlaceSite_ = inPlaceSite;
    inPlaceSite_->OnInPlaceActivate();

    HWND siteWindow = nullptr;
    if (SUCCEEDED(inPlaceSite_->GetWindow(&siteWindow)) && siteWindow) parent = siteWindow;
    IOleInPlaceUIWindow* doc = nullptr;
    RECT place{}, clip{};
    OLEINPLACEFRAMEINFO info{};
    info.cb = sizeof info;
    if (SUCCEEDED(inPlaceSite_->GetWindowContext(&frame_, &doc, &place, &clip, &info))) {
      if (doc) doc->Release();
      pos = &place;
    }
    RECT empty{};
    if (!CreateControlWindow(parent, pos ? *pos : empty)) {
      InPlaceDeactivate();
      return E_FAIL;
    }
  }
  if (ShownWhenActive()) ShowWindow(wnd_, SW_SHOWNA);
  if (ui && !uiActive_) {
    uiActive_ = true;
    inPlaceSite_->OnUIActivate();
    if (frame_) frame_->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), nullptr);
  }
  return S_OK;
}

STDMETHODIMP OleControl::GetUserClassID(CLSID* clsid) { return GetClassID(clsid); }

STDMETHODIMP OleControl::SetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  extent_ = *size;
  return S_OK;
}

STDMETHODIMP OleControl::GetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  *size = extent_;
  return S_OK;
}

STDMETHODIMP OleControl::Advise(IAdviseSink* sink, DWORD* connection) {
  if (!adviseHolder_ && FAILED(CreateOleAdviseHolder(&adviseHolder_))) return E_OUTOFMEMORY;
  return adviseHolder_->Advise(sink, connection);
}

STDMETHODIMP OleControl::Unadvise(DWORD connection) {
  return adviseHolder_ ? adviseHolder_->Unadvise(connection) : OLE_E_NOCONNECTION;
}

STDMETHODIMP OleControl::EnumAdvise(IEnumSTATDATA** e) {
  if (!e) return E_POINTER;
  *e = nullptr;
  return adviseHolder_ ? adviseHolder_->EnumAdvise(e) : S_OK;
}

STDMETHODIMP OleControl::GetMiscStatus(DWORD, DWORD* status) {
  if (!status) return E_POINTER;
  *status = kMiscStatus;
  return S_OK;
}

STDMETHODIMP OleControl::GetWindow(HWND* wnd) {
  if (!wnd) return E_POINTER;
  *wnd = wnd_;
  return wnd_ ? S_OK : E_FAIL;
}

STDMETHODIMP OleControl::InPlaceDeactivate() {
  if (!inPlaceSite_) return S_OK;
  UIDeactivate();
  if (wnd_) DestroyWindow(wnd_);
  wnd_ = nullptr;
  ReleaseWindowClass();
  IOleInPlaceSite* inPlaceSite = inPlaceSite_;
  inPlaceSite_ = nullptr;
  inPlaceSite->OnInPlaceDeactivate();
  inPlaceSite->Release();
  if (frame_) frame_->Release();
  frame_ = nullptr;
  return S_OK;
}

STDMETHODIMP OleControl::UIDeactivate() {
  if (!uiActive_) return S_OK;
  uiActive_ = false;
  if (frame_) frame_->SetActiveObject(nullptr, nullptr);
  if (inPlaceSite_) inPlaceSite_->OnUIDeactivate(FALSE);
  return S_OK;
}

STDMETHODIMP OleControl::SetObjectRects(LPCRECT pos, LPCRECT) {
  if (!pos) return E_POINTER;
  if (wnd_) MoveWindow(wnd_, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top, TRUE);
  return S_OK;
}

STDMETHODIMP OleControl::GetControlInfo(CONTROLINFO* info) {
  if (!info) return E_POINTER;
  info->cb = sizeof *info;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

STDMETHODIMP OleControl::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = clsid_;
  return S_OK;
}

STDMETHODIMP OleControl::GetSizeMax(ULARGE_INTEGER* size) {
  if (!size) return E_POINTER;
  size->QuadPart = 0;
  return S_OK;
}

STDMETHODIMP OleControl::Load(IPropertyBag* bag, IErrorLog*) {
  if (!bag) return E_POINTER;
  // A stored property takes the path of a put of the property by that name.
  for (size_t i = 0; i < nameCount_; ++i) {
    if (names_[i].kind != DispKind::Property) continue;
    VARIANT value;
    VariantInit(&value);
    if (SUCCEEDED(bag->Read(names_[i].name, &value, nullptr))) {
      DISPID named = DISPID_PROPERTYPUT;
      DISPPARAMS params{&value, &named, 1, 1};
      InvokeMember(names_[i].id, DISPATCH_PROPERTYPUT, &params, nullptr);
    }
    VariantClear(&value);
  }
  return S_OK;
}

STDMETHODIMP OleControl::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP OleControl::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  return IdsOfNames(names_, nameCount_, names, count, ids);
}

STDMETHODIMP OleControl::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO*, UINT* argErr) {
  if (argErr) *argErr = 0;
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  if (result) VariantInit(result);
  HRESULT hr = MemberTakes(names_, nameCount_, id, flags);
  return FAILED(hr) ? hr : InvokeMember(id, flags, params ? params : &none, result);
}

void OleControl::Changed() {
  if (!wnd_) return;
  SetWindowTextA(wnd_, Caption().c_str());
  InvalidateRect(wnd_, nullptr, TRUE);
}

bool OleControl::CreateControlWindow(HWND parent, const RECT& pos) {
  int& count = WindowCounts()[windowClass_];
  if (count == 0) {
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = g_module;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = windowClass_;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  }
  ++count;
  holdsClass_ = true;
  wnd_ = CreateWindowExA(0, windowClass_, Caption().c_str(), WS_CHILD | WS_CLIPSIBLINGS, pos.left, pos.top,
                         pos.right - pos.left, pos.bottom - pos.top, parent, nullptr, g_module, this);
  if (!wnd_) ReleaseWindowClass();
  return wnd_ != nullptr;
}

void OleControl::ReleaseWindowClass() {
  if (!holdsClass_) return;
  holdsClass_ = false;
  if (--WindowCounts()[windowClass_] == 0) UnregisterClassA(windowClass_, g_module);
}

LRESULT CALLBACK OleControl::WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<OleControl*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
  switch (msg) {
    case WM_NCCREATE:
      SetWindowLongPtrA(wnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
      break;
    case WM_ERASEBKGND:
      return 1;  // Paint covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(wnd, &ps);
      RECT rc;
      GetClientRect(wnd, &rc);
      if (self) self->Paint(dc, rc);
      EndPaint(wnd, &ps);
      return 0;
    }
    case WM_NCDESTROY:
      // The container may destroy its window, and ours with it, before deactivating us.
      SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
      if (self && self->wnd_ == wnd) self->wnd_ = nullptr;
      break;
  }
  return DefWindowProcA(wnd, msg, wp, lp);
}

}  // namespace standins
