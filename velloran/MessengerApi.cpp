#include "velloran/MessengerApi.h"

#include <cstdio>

#include "tk/FormReader.h"
#include "tk/OleCtrls.h"

const CLSID CLSID_Messenger = {0xB69003B3, 0xC55E, 0x4B48, {0x83, 0x6C, 0xBC, 0x59, 0x46, 0xFC, 0x3B, 0x28}};
const IID IID_IMessenger = {0xD50C3386, 0x0F89, 0x48F8, {0xB2, 0x04, 0x36, 0x04, 0x62, 0x9D, 0xEE, 0x10}};
const CLSID CLSID_MessengerContent = {
    0xF06608C7, 0x1874, 0x4EEA, {0xB3, 0xB2, 0xDF, 0x99, 0xEB, 0xB1, 0x44, 0xB8}};
const IID IID_IMessengerContent = {
    0x83B2A407, 0x22B9, 0x4842, {0x97, 0xC6, 0xDE, 0x30, 0xEC, 0x6D, 0xAC, 0x3E}};

namespace {

// The chat client runs as a server of its own; a stand-in may live in process.
const DWORD kServerContext = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER;

void OleCheck(HRESULT hr, const std::string& what) {
  if (SUCCEEDED(hr)) return;
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
  throw EOleError(what + " failed (" + code + ")");
}

}  // namespace

// ---- TMessenger ---------------------------------------------------------------------------------

TMessenger TMessenger::Create() {
  TMessenger m;
  OleCheck(CoCreateInstance(CLSID_Messenger, nullptr, kServerContext, IID_IMessenger,
                            reinterpret_cast<void**>(m.FIntf.Put())),
           "Creating the Messenger object");
  if (!m.FIntf) throw EOleError("Creating the Messenger object gave no object");
  return m;
}

long TMessenger::MyStatus() {
  wchar_t name[] = L"MyStatus";
  LPOLESTR names[] = {name};
  DISPID id = DISPID_UNKNOWN;
  OleCheck(FIntf->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id),
           "Looking up the Messenger status");
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  TOleVariant status;
  OleCheck(FIntf->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, status.Ptr(),
                         nullptr, nullptr),
           "Reading the Messenger status");
  return status.AsInteger();
}

// ---- TMessengerContent --------------------------------------------------------------------------

TMessengerContent::TMessengerContent(TComponent* AOwner) : TComponent(AOwner) {
  // Counted: the component keeps the thread's OLE up for as long as it lives.
  FOleStarted = SUCCEEDED(OleInitialize(nullptr));
}

TMessengerContent::~TMessengerContent() {
  Disconnect();
  if (FOleStarted) OleUninitialize();
}

void TMessengerContent::Connect() {
  if (FIntf) return;
  TComRef<IUnknown> object;
  if (FAILED(GetActiveObject(CLSID_MessengerContent, nullptr, object.Put())) || !object)
    OleCheck(CoCreateInstance(CLSID_MessengerContent, nullptr, kServerContext, IID_IUnknown,
                              reinterpret_cast<void**>(object.Put())),
             "Starting the content installer");
  if (!object) throw EOleError("Starting the content installer gave no object");
  TComRef<IMessengerContent> intf;
  OleCheck(object->QueryInterface(IID_IMessengerContent, reinterpret_cast<void**>(intf.Put())),
           "Asking the content installer for its interface");
  FIntf = intf;
}

void TMessengerContent::Disconnect() { FIntf = TComRef<IMessengerContent>(); }

IMessengerContent* TMessengerContent::DefaultInterface() {
  Connect();
  return FIntf.Get();
}

void TMessengerContent::InstallContent(const std::string& Url) {
  IMessengerContent* installer = DefaultInterface();
  std::wstring wide = AnsiToWide(Url);
  BSTR url = SysAllocStringLen(wide.data(), UINT(wide.size()));
  HRESULT hr = installer->InstallContent(url);
  SysFreeString(url);
  OleCheck(hr, "Installing " + Url);
}

void RegisterMessengerClasses() { RegisterComponentClass<TMessengerContent>(); }
