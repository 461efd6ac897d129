// Helpers shared by the stand-ins: automation arguments, text, settings and the call log.
#include "standins/StandinCom.h"

#include <new>
#include <string>

namespace standins {

HMODULE g_module = nullptr;

namespace {

LONG g_serverRefs = 0;

const char kDefaultKey[] = "Software\\VelloranStandins";

bool HasArg(const DISPPARAMS* params, UINT index) { return params && index < params->cArgs; }

}  // namespace

void AddServerRef() { InterlockedIncrement(&g_serverRefs); }
void ReleaseServerRef() { InterlockedDecrement(&g_serverRefs); }
bool ServerInUse() { return g_serverRefs != 0; }

// Out of line, where the object's full type is reached only through the virtual destructor.
void RefCounted::Destroy() { delete this; }

HRESULT IdsOfNames(const DispName* table, size_t count, LPOLESTR* names, UINT cNames, DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  HRESULT hr = S_OK;
  for (UINT i = 0; i < cNames; ++i) ids[i] = DISPID_UNKNOWN;
  if (cNames == 0) return S_OK;
  bool found = false;
  for (size_t i = 0; i < count && !found; ++i) {
    if (lstrcmpiW(table[i].name, names[0]) == 0) {
      ids[0] = table[i].id;
      found = true;
    }
  }
  if (!found || cNames > 1) hr = DISP_E_UNKNOWNNAME;  // named arguments are not supported
  return hr;
}

HRESULT MemberTakes(const DispName* table, size_t count, DISPID id, WORD flags) {
  for (size_t i = 0; i < count; ++i) {
    if (table[i].id != id) continue;
    WORD takes = DISPATCH_PROPERTYGET;
    if (table[i].kind == DispKind::Method) takes = DISPATCH_METHOD;
    if (table[i].kind == DispKind::Property) takes |= DISPATCH_PROPERTYPUT;
    return (flags & takes) ? S_OK : DISP_E_MEMBERNOTFOUND;
  }
  return DISP_E_MEMBERNOTFOUND;
}

const VARIANT* Arg(const DISPPARAMS* params, UINT index) {
  if (!HasArg(params, index)) return nullptr;
  const VARIANT* v = &params->rgvarg[params->cArgs - 1 - index];
  while (V_VT(v) == (VT_BYREF | VT_VARIANT)) v = V_VARIANTREF(v);
  return v;
}

namespace {

HRESULT ArgAs(const DISPPARAMS* params, UINT index, VARTYPE type, VARIANT& out) {
  const VARIANT* v = Arg(params, index);
  if (!v) return DISP_E_PARAMNOTFOUND;
  VariantInit(&out);
  return VariantChangeType(&out, const_cast<VARIANT*>(v), 0, type) == S_OK ? S_OK : DISP_E_TYPEMISMATCH;
}

}  // namespace

HRESULT ArgString(const DISPPARAMS* params, UINT index, std::wstring& out) {
  VARIANT v;
  HRESULT hr = ArgAs(params, index, VT_BSTR, v);
  if (FAILED(hr)) return hr;
  out.assign(V_BSTR(&v) ? V_BSTR(&v) : L"", V_BSTR(&v) ? SysStringLen(V_BSTR(&v)) : 0);
  VariantClear(&v);
  return S_OK;
}

HRESULT ArgBool(const DISPPARAMS* params, UINT index, bool& out) {
  VARIANT v;
  HRESULT hr = ArgAs(params, index, VT_BOOL, v);
  if (SUCCEEDED(hr)) out = V_BOOL(&v) != VARIANT_FALSE;
  return hr;
}

HRESULT ReturnString(VARIANT* result, const std::wstring& value) {
  if (!result) return S_OK;
  V_VT(result) = VT_BSTR;
  V_BSTR(result) = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  return V_BSTR(result) ? S_OK : E_OUTOFMEMORY;
}

HRESULT ReturnBool(VARIANT* result, bool value) {
  if (result) {
    V_VT(result) = VT_BOOL;
    V_BOOL(result) = value ? VARIANT_TRUE : VARIANT_FALSE;
  }
  return S_OK;
}

HRESULT ReturnLong(VARIANT* result, LONG value) {
  if (result) {
    V_VT(result) = VT_I4;
    V_I4(result) = value;
  }
  return S_OK;
}

bool RegString(HKEY key, const char* name, std::string& value) {
  char buf[1024];
  DWORD type = 0, size = sizeof buf - 1;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return false;
  buf[size] = '\0';
  value = buf;
  return true;
}

bool IsGet(WORD flags) { return (flags & DISPATCH_PROPERTYGET) != 0; }
bool IsPut(WORD flags) { return (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0; }

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Widen(const std::string& text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40];
  int n = StringFromGUID2(guid, text, 40);
  return n > 0 ? std::wstring(text) : std::wstring();
}

std::string SettingsKey() {
  char name[256];
  DWORD n = GetEnvironmentVariableA("STANDINS_KEY", name, sizeof name);
  return n > 0 && n < sizeof name ? std::string(name, n) : std::string(kDefaultKey);
}

bool ReadSettingDword(const char* name, DWORD& value) {
  DWORD type = 0, data = 0, size = sizeof data;
  if (RegGetValueA(HKEY_CURRENT_USER, SettingsKey().c_str(), name, RRF_RT_ANY, &type, &data, &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD)
    return false;
  value = data;
  return true;
}

bool ReadSettingString(const char* name, std::string& value) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKey().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  bool ok = RegString(key, name, value);
  RegCloseKey(key);
  return ok;
}

void LogCall(const std::string& component, const std::string& call, const std::string& args) {
  std::string path;
  if (!ReadSettingString("LogFile", path) || path.empty()) {
    char temp[MAX_PATH + 1];
    DWORD n = GetTempPathA(sizeof temp, temp);
    if (n == 0 || n >= sizeof temp) return;
    path = std::string(temp, n) + "standins.log";
  }
  std::string line = component + " " + call + (args.empty() ? "" : " " + args) + "\r\n";
  // Several processes may log at once: append-only writes keep lines whole.
  HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace standins
