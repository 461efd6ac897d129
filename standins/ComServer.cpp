// The exports of a stand-in COM server DLL: class factory, registration; compiled into each
// stand-in DLL, which supplies its class table.
#include "standins/StandinCom.h"

#include <olectl.h>

#include <new>
#include <string>

namespace standins {

namespace {

// Value of our class key that keeps the server we replaced, so unregistering puts it back.
const char kReplacedValue[] = "StandinReplacedServer";

class ClassFactory : public IClassFactory, RefCounted {
 public:
  explicit ClassFactory(const ClassEntry& entry) : entry_(entry) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *ppv = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }
  STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return entry_.create(riid, ppv);
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock)
      AddServerRef();
    else
      ReleaseServerRef();
    return S_OK;
  }

 private:
  const ClassEntry& entry_;
};

std::string ModulePath() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(g_module, path, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(path, n) : std::string();
}

bool SetString(HKEY key, const char* name, const std::string& value) {
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

// Creates HKCR\subkey and sets its default value (and one named value if given).
bool WriteKey(const std::string& subkey, const std::string& value, const char* name = nullptr,
              const std::string& named = {}) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, subkey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  bool ok = SetString(key, nullptr, value) && (!name || SetString(key, name, named));
  RegCloseKey(key);
  return ok;
}

HRESULT RegisterServerClass(const ClassEntry& entry, const std::string& module) {
  std::string clsidKey = "CLSID\\" + Narrow(GuidText(*entry.clsid));
  std::string serverKey = clsidKey + "\\InprocServer32";
  std::string previous;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, serverKey.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
    RegString(key, nullptr, previous);
    RegCloseKey(key);
  }
  bool ok =
      WriteKey(clsidKey, entry.description) && WriteKey(serverKey, module, "ThreadingModel", "Apartment");
  if (ok && !previous.empty() && lstrcmpiA(previous.c_str(), module.c_str()) != 0) {
    ok = RegOpenKeyExA(HKEY_CLASSES_ROOT, clsidKey.c_str(), 0, KEY_WRITE, &key) == ERROR_SUCCESS;
    if (ok) {
      ok = SetString(key, kReplacedValue, previous);
      RegCloseKey(key);
    }
  }
  if (ok && entry.control) {
    // Recompose on resize, can't link inside, inside-out, activate when visible, client site first.
    ok = WriteKey(clsidKey + "\\Control", "") && WriteKey(clsidKey + "\\MiscStatus", "131473");
  }
  return ok ? S_OK : SELFREG_E_CLASS;
}

HRESULT UnregisterServerClass(const ClassEntry& entry) {
  std::string clsidKey = "CLSID\\" + Narrow(GuidText(*entry.clsid));
  std::string previous;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, clsidKey.c_str(), 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
    return S_OK;
  bool replaced = RegString(key, kReplacedValue, previous);
  RegCloseKey(key);
  if (replaced) {
    // Give the class back to the server that had it before us.
    RegDeleteKeyA(HKEY_CLASSES_ROOT, (clsidKey + "\\Control").c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, (clsidKey + "\\MiscStatus").c_str());
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, clsidKey.c_str(), 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
      RegDeleteValueA(key, kReplacedValue);
      RegCloseKey(key);
    }
    return WriteKey(clsidKey + "\\InprocServer32", previous) ? S_OK : SELFREG_E_CLASS;
  }
  LSTATUS rc = RegDeleteTreeA(HKEY_CLASSES_ROOT, clsidKey.c_str());
  return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}

}  // namespace

}  // namespace standins

using namespace standins;

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  for (size_t i = 0; i < kClassCount; ++i) {
    if (*kClasses[i].clsid == rclsid) {
      ClassFactory* factory = new (std::nothrow) ClassFactory(kClasses[i]);
      if (!factory) return E_OUTOFMEMORY;
      HRESULT hr = factory->QueryInterface(riid, ppv);
      factory->Release();
      return hr;
    }
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() { return ServerInUse() ? S_FALSE : S_OK; }

STDAPI DllRegisterServer() {
  std::string module = ModulePath();
  if (module.empty()) return SELFREG_E_CLASS;
  for (size_t i = 0; i < kClassCount; ++i) {
    HRESULT hr = RegisterServerClass(kClasses[i], module);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

STDAPI DllUnregisterServer() {
  HRESULT result = S_OK;
  for (size_t i = 0; i < kClassCount; ++i) {
    HRESULT hr = UnregisterServerClass(kClasses[i]);
    if (FAILED(hr)) result = hr;
  }
  return result;
}

}  // extern "C"
