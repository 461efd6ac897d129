// Stand-ins for the chat client's automation objects, which Wine lacks: the API object, whose
// local user status comes from our own settings value "Messenger Status" so that a test or a
// user can sign in and out, and the content installer, which downloads a package and stores it
// in the signed-in account's winks folder as the client would. Calls go to the stand-ins' log.
#include <winsock2.h>

#include "standins/StandinCom.h"
#include "standins/WinksStore.h"

#include <string>

namespace standins {

// {B69003B3-C55E-4B48-836C-BC5946FC3B28}
const CLSID CLSID_MessengerStandin = {
    0xB69003B3, 0xC55E, 0x4B48, {0x83, 0x6C, 0xBC, 0x59, 0x46, 0xFC, 0x3B, 0x28}};
// {D50C3386-0F89-48F8-B204-3604629DEE10}
const IID IID_MessengerApi = {0xD50C3386, 0x0F89, 0x48F8, {0xB2, 0x04, 0x36, 0x04, 0x62, 0x9D, 0xEE, 0x10}};
// {F06608C7-1874-4EEA-B3B2-DF99EBB144B8}
const CLSID CLSID_ContentInstallerStandin = {
    0xF06608C7, 0x1874, 0x4EEA, {0xB3, 0xB2, 0xDF, 0x99, 0xEB, 0xB1, 0x44, 0xB8}};
// {83B2A407-22B9-4842-97C6-DE30EC6DAC3E}
const IID IID_MessengerContent = {
    0x83B2A407, 0x22B9, 0x4842, {0x97, 0xC6, 0xDE, 0x30, 0xEC, 0x6D, 0xAC, 0x3E}};

namespace {

// The API interface in its vtable order up to the local user's status; the stand-in serves only
// the signed-in name and the status, the rest answers E_NOTIMPL.
struct IMessengerApi : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Window(IDispatch** window) = 0;
  virtual HRESULT STDMETHODCALLTYPE ViewProfile(VARIANT contact) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ReceiveFileDirectory(BSTR* path) = 0;
  virtual HRESULT STDMETHODCALLTYPE StartVoice(VARIANT contact, IDispatch** window) = 0;
  virtual HRESULT STDMETHODCALLTYPE InviteApp(VARIANT contact, BSTR appId, IDispatch** window) = 0;
  virtual HRESULT STDMETHODCALLTYPE SendMail(VARIANT contact) = 0;
  virtual HRESULT STDMETHODCALLTYPE OpenInbox() = 0;
  virtual HRESULT STDMETHODCALLTYPE SendFile(VARIANT contact, BSTR fileName, IDispatch** window) = 0;
  virtual HRESULT STDMETHODCALLTYPE Signout() = 0;
  virtual HRESULT STDMETHODCALLTYPE Signin(LONG parent, BSTR name, BSTR password) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetContact(BSTR name, BSTR serviceId, IDispatch** contact) = 0;
  virtual HRESULT STDMETHODCALLTYPE OptionsPages(LONG parent, LONG page) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddContact(LONG parent, BSTR email) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindContact(LONG parent, BSTR first, BSTR last, VARIANT city,
                                                VARIANT state, VARIANT country) = 0;
  virtual HRESULT STDMETHODCALLTYPE InstantMessage(VARIANT contact, IDispatch** window) = 0;
  virtual HRESULT STDMETHODCALLTYPE Phone(VARIANT contact, LONG type, BSTR number, IDispatch** window) = 0;
  virtual HRESULT STDMETHODCALLTYPE MediaWizard(LONG parent) = 0;
  virtual HRESULT STDMETHODCALLTYPE Page(VARIANT contact, IDispatch** window) = 0;
  virtual HRESULT STDMETHODCALLTYPE AutoSignin() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MyContacts(IDispatch** contacts) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MySigninName(BSTR* name) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MyFriendlyName(BSTR* name) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MyStatus(LONG status) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MyStatus(LONG* status) = 0;
};

// The content installer's default interface: its first method installs the package at a URL.
struct IMessengerContent : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE InstallContent(BSTR url) = 0;
};

enum : DISPID {
  kMySigninName = 1,
  kMyStatus = 2,
  kInstallContent = 1,
};

const DispName kApiNames[] = {{L"MySigninName", kMySigninName, DispKind::ReadOnly},
                              {L"MyStatus", kMyStatus, DispKind::ReadOnly}};
const DispName kContentNames[] = {{L"InstallContent", kInstallContent, DispKind::Method}};

const DWORD kStatusOffline = 1;

// Statuses before sign-in is complete: offline, finding the server, connecting, synchronising,
// disconnecting.
bool SignedIn(DWORD status) {
  return status != kStatusOffline && status != 0x100 && status != 0x200 && status != 0x300 && status != 0x400;
}

DWORD LocalStatus() {
  DWORD status = kStatusOffline;
  ReadSettingDword("Messenger Status", status);
  return status;
}

// Our own "Messenger Account" value, else the account the client remembers as the last one.
std::string SigninName() {
  std::string account;
  if (ReadSettingString("Messenger Account", account) && !account.empty()) return account;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\MSNMessenger", 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return {};
  if (!RegString(key, "User.NET Messenger Service", account)) account.clear();
  RegCloseKey(key);
  return account;
}

HRESULT ReturnBstr(BSTR* out, const std::string& text) {
  if (!out) return E_POINTER;
  *out = SysAllocString(Widen(text).c_str());
  return *out ? S_OK : E_OUTOFMEMORY;
}

// IDispatch over a name table, the members reached through InvokeMember.
template <class Interface>
class DispatchObject : public Interface, protected RefCounted {
 public:
  DispatchObject(const IID& iid, const DispName* names, size_t count)
      : iid_(iid), names_(names), count_(count) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == iid_) {
      *ppv = static_cast<Interface*>(this);
      this->AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }
  STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    return IdsOfNames(names_, count_, names, count, ids);
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                      UINT* argErr) override {
    if (argErr) *argErr = 0;
    if (result) VariantInit(result);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    HRESULT hr = MemberTakes(names_, count_, id, flags);
    return FAILED(hr) ? hr : InvokeMember(id, flags, params ? params : &none, result);
  }

 protected:
  virtual HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) = 0;

 private:
  const IID& iid_;
  const DispName* names_;
  size_t count_;
};

class MessengerApi : public DispatchObject<IMessengerApi> {
 public:
  MessengerApi() : DispatchObject(IID_MessengerApi, kApiNames, std::size(kApiNames)) {}

  STDMETHODIMP get_Window(IDispatch**) override { return E_NOTIMPL; }
  STDMETHODIMP ViewProfile(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP get_ReceiveFileDirectory(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP StartVoice(VARIANT, IDispatch**) override { return E_NOTIMPL; }
  STDMETHODIMP InviteApp(VARIANT, BSTR, IDispatch**) override { return E_NOTIMPL; }
  STDMETHODIMP SendMail(VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP OpenInbox() override { return E_NOTIMPL; }
  STDMETHODIMP SendFile(VARIANT, BSTR, IDispatch**) override { return E_NOTIMPL; }
  STDMETHODIMP Signout() override { return E_NOTIMPL; }
  STDMETHODIMP Signin(LONG, BSTR, BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP GetContact(BSTR, BSTR, IDispatch**) override { return E_NOTIMPL; }
  STDMETHODIMP OptionsPages(LONG, LONG) override { return E_NOTIMPL; }
  STDMETHODIMP AddContact(LONG, BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP FindContact(LONG, BSTR, BSTR, VARIANT, VARIANT, VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP InstantMessage(VARIANT, IDispatch**) override { return E_NOTIMPL; }
  STDMETHODIMP Phone(VARIANT, LONG, BSTR, IDispatch**) override { return E_NOTIMPL; }
  STDMETHODIMP MediaWizard(LONG) override { return E_NOTIMPL; }
  STDMETHODIMP Page(VARIANT, IDispatch**) override { return E_NOTIMPL; }
  STDMETHODIMP AutoSignin() override { return E_NOTIMPL; }
  STDMETHODIMP get_MyContacts(IDispatch**) override { return E_NOTIMPL; }
  STDMETHODIMP get_MyFriendlyName(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP put_MyStatus(LONG) override { return E_NOTIMPL; }

  STDMETHODIMP get_MySigninName(BSTR* name) override {
    return ReturnBstr(name, SignedIn(LocalStatus()) ? SigninName() : std::string());
  }

  STDMETHODIMP get_MyStatus(LONG* status) override {
    if (!status) return E_POINTER;
    *status = static_cast<LONG>(LocalStatus());
    LogCall("Messenger", "MyStatus", std::to_string(*status));
    return S_OK;
  }

 protected:
  HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS*, VARIANT* result) override {
    if (!IsGet(flags) && !(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    switch (id) {
      case kMyStatus: {
        LONG status = 0;
        get_MyStatus(&status);
        return ReturnLong(result, status);
      }
      case kMySigninName: {
        BSTR name = nullptr;
        HRESULT hr = get_MySigninName(&name);
        if (FAILED(hr)) return hr;
        if (result) {
          V_VT(result) = VT_BSTR;
          V_BSTR(result) = name;
        } else {
          SysFreeString(name);
        }
        return S_OK;
      }
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }
};

class ContentInstaller : public DispatchObject<IMessengerContent> {
 public:
  ContentInstaller() : DispatchObject(IID_MessengerContent, kContentNames, std::size(kContentNames)) {}
  // The last client disconnected.
  ~ContentInstaller() override { LogCall("Installer", "Released"); }

  STDMETHODIMP InstallContent(BSTR url) override {
    std::string address = Narrow(url ? std::wstring(url, SysStringLen(url)) : std::wstring());
    LogCall("Installer", "InstallContent", address);
    std::string account = SigninName();
    std::string failure;
    if (!SignedIn(LocalStatus()) || account.empty())
      failure = "not signed in";
    else if (address.empty())
      failure = "no URL";
    std::string folder, name;
    if (failure.empty()) {
      folder = WinksFolderOf(account);
      name = PackageFileName(address);
      failure = DownloadPackage(address, folder, name);
    }
    if (!failure.empty()) {
      LogCall("Installer", "Failed", failure);
      return E_FAIL;
    }
    LogCall("Installer", "Stored", folder + name);
    return S_OK;
  }

 protected:
  HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT*) override {
    if (id != kInstallContent || !(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    std::wstring url;
    HRESULT hr = ArgString(params, 0, url);
    if (FAILED(hr)) return hr;
    BSTR text = SysAllocStringLen(url.data(), static_cast<UINT>(url.size()));
    hr = InstallContent(text);
    SysFreeString(text);
    return hr;
  }
};

}  // namespace

const ClassEntry kClasses[] = {
    {&CLSID_MessengerStandin, "Messenger API object (stand-in)", CreateObject<MessengerApi>, false},
    {&CLSID_ContentInstallerStandin, "Messenger content installer (stand-in)", CreateObject<ContentInstaller>,
     false},
};
const size_t kClassCount = std::size(kClasses);

}  // namespace standins
