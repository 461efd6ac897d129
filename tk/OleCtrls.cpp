#include "tk/OleCtrls.h"

#include <cstdio>

#include "tk/FormReader.h"

// {D27CDB6E-AE6D-11CF-96B8-444553540000}
const CLSID TShockwaveFlash::CLSID_ShockwaveFlash = {
    0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
// {8856F961-340A-11D0-A96B-00C04FD705A2}
const CLSID TWebBrowser::CLSID_WebBrowser = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

namespace {

// atl.dll's control container window: no import library exists for it, so it is loaded by name.
using TAtlAxWinInit = BOOL(WINAPI*)();
using TAtlAxGetControl = HRESULT(WINAPI*)(HWND, IUnknown**);

struct TAtl {
  HMODULE Module = nullptr;
  TAtlAxGetControl GetControl = nullptr;
  bool Ready = false;
};

const TAtl& Atl() {
  static TAtl atl = [] {
    TAtl a;
    a.Module = LoadLibraryA("atl.dll");
    if (!a.Module) return a;
    auto init =
        reinterpret_cast<TAtlAxWinInit>(reinterpret_cast<void*>(GetProcAddress(a.Module, "AtlAxWinInit")));
    a.GetControl = reinterpret_cast<TAtlAxGetControl>(
        reinterpret_cast<void*>(GetProcAddress(a.Module, "AtlAxGetControl")));
    a.Ready = init && a.GetControl && init();
    return a;
  }();
  return atl;
}

std::string HResultText(HRESULT hr) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08lX", static_cast<unsigned long>(hr));
  return buf;
}

void OleCheck(HRESULT hr, const std::string& what) {
  if (FAILED(hr)) throw EOleError(what + " failed (" + HResultText(hr) + ")");
}

std::string GuidText(const CLSID& id) {
  wchar_t text[40];
  StringFromGUID2(id, text, 40);
  return WideToAnsi(text);
}

}  // namespace

// ---- TOleVariant --------------------------------------------------------------------------------

TOleVariant::TOleVariant(const std::string& Text) {
  VariantInit(&FValue);
  std::wstring wide = AnsiToWide(Text);
  V_VT(&FValue) = VT_BSTR;
  V_BSTR(&FValue) = SysAllocStringLen(wide.data(), UINT(wide.size()));
}

TOleVariant::TOleVariant(bool Value) {
  VariantInit(&FValue);
  V_VT(&FValue) = VT_BOOL;
  V_BOOL(&FValue) = Value ? VARIANT_TRUE : VARIANT_FALSE;
}

TOleVariant::TOleVariant(int32_t Value) {
  VariantInit(&FValue);
  V_VT(&FValue) = VT_I4;
  V_I4(&FValue) = Value;
}

TOleVariant::TOleVariant(const TOleVariant& Other) {
  VariantInit(&FValue);
  OleCheck(VariantCopy(&FValue, const_cast<VARIANT*>(&Other.FValue)), "Copying a variant");
}

TOleVariant& TOleVariant::operator=(const TOleVariant& Other) {
  if (this != &Other)
    OleCheck(VariantCopy(&FValue, const_cast<VARIANT*>(&Other.FValue)), "Copying a variant");
  return *this;
}

std::string TOleVariant::AsString() const {
  if (Type() == VT_EMPTY) return {};
  VARIANT v;
  VariantInit(&v);
  OleCheck(VariantChangeType(&v, const_cast<VARIANT*>(&FValue), VARIANT_ALPHABOOL, VT_BSTR),
           "Converting a variant to text");
  std::string s = WideToAnsi(V_BSTR(&v), int(SysStringLen(V_BSTR(&v))));
  VariantClear(&v);
  return s;
}

bool TOleVariant::AsBoolean() const {
  VARIANT v;
  VariantInit(&v);
  OleCheck(VariantChangeType(&v, const_cast<VARIANT*>(&FValue), 0, VT_BOOL),
           "Converting a variant to a boolean");
  return V_BOOL(&v) != VARIANT_FALSE;
}

int32_t TOleVariant::AsInteger() const {
  VARIANT v;
  VariantInit(&v);
  OleCheck(VariantChangeType(&v, const_cast<VARIANT*>(&FValue), 0, VT_I4),
           "Converting a variant to an integer");
  return V_I4(&v);
}

// ---- TOleControl --------------------------------------------------------------------------------

TOleControl::TOleControl(TComponent* AOwner, const CLSID& ClassID) : TWinControl(AOwner), FClassID(ClassID) {
  // Counted: each control keeps the thread's OLE up for as long as it lives.
  OleInitialize(nullptr);
  TabStop = true;
}

TOleControl::~TOleControl() {
  ReleaseControl();
  if (FHandle) {
    DestroyWindow(FHandle);  // before OLE goes: the container releases the control with it
    FHandle = nullptr;
  }
  OleUninitialize();
}

void TOleControl::CreateWnd() {
  TWinControl::CreateWnd();
  CreateControl();
}

void TOleControl::CreateControl() {
  if (FHostWnd || !FHandle) return;
  if (!Atl().Ready) throw EOleError("The control container (atl.dll) is not available");
  RECT r;
  GetClientRect(FHandle, &r);
  // The container creates the control named by its window text and activates it in place.
  FHostWnd =
      CreateWindowExA(0, "AtlAxWin", GuidText(FClassID).c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0,
                      0, r.right, r.bottom, FHandle, nullptr, TkInstance(), nullptr);
  if (!FHostWnd) throw EOleError("Cannot create the container of control " + GuidText(FClassID));
  IUnknown* unknown = nullptr;
  HRESULT hr = Atl().GetControl(FHostWnd, &unknown);
  if (SUCCEEDED(hr) && unknown) {
    hr = unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&FDispatch));
    unknown->Release();
  } else if (SUCCEEDED(hr)) {
    hr = REGDB_E_CLASSNOTREG;
  }
  if (FAILED(hr) || !FDispatch) {
    FDispatch = nullptr;
    DestroyWindow(FHostWnd);
    FHostWnd = nullptr;
    OleCheck(FAILED(hr) ? hr : E_NOINTERFACE, "Creating control " + GuidText(FClassID));
  }
  std::vector<std::pair<std::string, TOleVariant>> pending;
  pending.swap(FPending);
  for (auto& [name, value] : pending) SetProperty(GetIDOfName(name), value);
}

void TOleControl::ReleaseControl() {
  if (FDispatch) {
    FDispatch->Release();
    FDispatch = nullptr;
  }
  if (FHostWnd) {
    DestroyWindow(FHostWnd);
    FHostWnd = nullptr;
  }
}

void TOleControl::DestroyWnd() {
  ReleaseControl();
  TWinControl::DestroyWnd();
}

void TOleControl::WndProc(TMessage& Message) {
  if (Message.Msg == WM_SIZE && FHostWnd)
    MoveWindow(FHostWnd, 0, 0, LOWORD(Message.LParam), HIWORD(Message.LParam), TRUE);
  TWinControl::WndProc(Message);
}

IDispatch* TOleControl::DefaultDispatch() {
  HandleNeeded();
  CreateControl();
  return FDispatch;
}

DISPID TOleControl::GetIDOfName(const std::string& Name) {
  std::wstring wide = AnsiToWide(Name);
  LPOLESTR names[] = {wide.data()};
  DISPID id = DISPID_UNKNOWN;
  OleCheck(DefaultDispatch()->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id),
           "Looking up member " + Name);
  return id;
}

TOleVariant TOleControl::Invoke(DISPID Id, WORD Flags, const std::vector<TOleVariant>& Args,
                                const std::string& What) {
  // Automation takes the arguments last first.
  std::vector<VARIANT> reversed;
  for (auto it = Args.rbegin(); it != Args.rend(); ++it) reversed.push_back(*it->Ptr());
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), nullptr, UINT(reversed.size()), 0};
  if (Flags & DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
  }
  TOleVariant result;
  EXCEPINFO info{};
  HRESULT hr =
      DefaultDispatch()->Invoke(Id, IID_NULL, LOCALE_USER_DEFAULT, Flags, &params,
                                (Flags & DISPATCH_PROPERTYPUT) ? nullptr : result.Ptr(), &info, nullptr);
  std::string description = info.bstrDescription ? WideToAnsi(info.bstrDescription) : "";
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrHelpFile);
  if (FAILED(hr) && !description.empty()) throw EOleError(description);
  OleCheck(hr, What + " of member " + std::to_string(long(Id)));
  return result;
}

TOleVariant TOleControl::GetProperty(DISPID Id) { return Invoke(Id, DISPATCH_PROPERTYGET, {}, "Reading"); }

void TOleControl::SetProperty(DISPID Id, const TOleVariant& Value) {
  Invoke(Id, DISPATCH_PROPERTYPUT, {Value}, "Writing");
}

void TOleControl::SetProperty(const std::string& Name, const TOleVariant& Value) {
  // Only settings made before the control was first tried wait for it. Once our window exists the
  // control has been tried: a setting then goes to it, or fails as its creation does, instead of
  // piling up behind a control that cannot be made.
  if (!FDispatch && !FHandle) {
    FPending.emplace_back(Name, Value);
    return;
  }
  SetProperty(GetIDOfName(Name), Value);
}

TOleVariant TOleControl::CallMethod(DISPID Id, const std::vector<TOleVariant>& Args) {
  return Invoke(Id, DISPATCH_METHOD, Args, "Calling");
}

// ---- Form descriptions --------------------------------------------------------------------------

namespace {

// A stored setting that goes to the control by name: text, boolean or integer, as written.
TOleVariant StoredValue(const TValue& Value) {
  switch (Value.Kind) {
    case TValue::vaString:
      return TOleVariant(Value.AsString());
    case TValue::vaFalse:
    case TValue::vaTrue:
      return TOleVariant(Value.AsBoolean());
    default:
      return TOleVariant(Value.AsInteger());
  }
}

}  // namespace

void RegisterOleControls() {
  static const bool done = [] {
    RegisterComponentClass<TShockwaveFlash>();
    RegisterComponentClass<TWebBrowser>();
    auto flash = Published<TShockwaveFlash>();
    for (const char* name :
         {"WMode", "Playing", "Loop", "Quality", "Menu", "AllowScriptAccess", "Scale", "Movie"})
      flash.Custom(name, [name = std::string(name)](TShockwaveFlash* control, const TValue& v, TReader&) {
        control->SetProperty(name, StoredValue(v));
      });
    return true;
  }();
  (void)done;
}
