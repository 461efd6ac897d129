// Helpers for the tests of our stand-ins: a settings key and call log of the test process's own,
// and plain IDispatch calls.
#pragma once

#include <gtest/gtest.h>
#include <ole2.h>
#include <windows.h>
#include <shlobj.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace standins_testing {

// Points the stand-ins at a settings key and a log file of this process only (the stand-ins
// read the variable STANDINS_KEY), so test processes running side by side never meet.
class OwnSettings {
 public:
  OwnSettings() {
    std::string id = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
    key_ = "Software\\VelloranStandinsTest\\" + id;
    SetEnvironmentVariableA("STANDINS_KEY", key_.c_str());
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    log_ = std::string(temp) + "standins-test-" + id + ".log";
    SetString("LogFile", log_);
  }
  ~OwnSettings() {
    RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
    DeleteFileA(log_.c_str());
    SetEnvironmentVariableA("STANDINS_KEY", nullptr);
  }

  void SetDword(const char* name, DWORD value) {
    EXPECT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, key_.c_str(), name, REG_DWORD, &value, sizeof value),
              ERROR_SUCCESS);
  }
  void SetString(const char* name, const std::string& value) {
    EXPECT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, key_.c_str(), name, REG_SZ, value.c_str(),
                              static_cast<DWORD>(value.size() + 1)),
              ERROR_SUCCESS);
  }
  void Delete(const char* name) { RegDeleteKeyValueA(HKEY_CURRENT_USER, key_.c_str(), name); }

  // The lines the stand-ins logged so far, without line ends.
  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    std::ifstream in(log_);
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }

 private:
  std::string key_;
  std::string log_;
};

struct ComApartment {
  ComApartment() { EXPECT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
  ~ComApartment() { OleUninitialize(); }
};

inline DISPID IdOf(IDispatch* object, const wchar_t* name) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  EXPECT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK) << "no member named";
  return id;
}

// Calls member `id` with `args` given first-to-last, and frees them; the result lands in `result`.
inline HRESULT Call(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT> args,
                    VARIANT* result = nullptr) {
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  if (flags & DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
  }
  if (result) VariantInit(result);
  HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr);
  for (VARIANT& arg : reversed) VariantClear(&arg);
  return hr;
}

// ASCII text as a wide string.
inline std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// A string argument; Call frees it.
inline VARIANT Text(const wchar_t* text) {
  VARIANT v;
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocString(text);
  return v;
}

inline VARIANT Bool(bool value) {
  VARIANT v;
  V_VT(&v) = VT_BOOL;
  V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

inline std::wstring GetText(IDispatch* object, DISPID id) {
  VARIANT result;
  EXPECT_EQ(Call(object, id, DISPATCH_PROPERTYGET, {}, &result), S_OK);
  std::wstring text = V_VT(&result) == VT_BSTR && V_BSTR(&result) ? V_BSTR(&result) : L"";
  VariantClear(&result);
  return text;
}

inline bool GetBool(IDispatch* object, DISPID id) {
  VARIANT result;
  EXPECT_EQ(Call(object, id, DISPATCH_PROPERTYGET, {}, &result), S_OK);
  EXPECT_EQ(V_VT(&result), VT_BOOL);
  return V_BOOL(&result) != VARIANT_FALSE;
}

// An owned interface pointer, released at the end of the scope.
template <class T>
struct Ptr {
  T* p = nullptr;
  ~Ptr() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
  void** out() { return reinterpret_cast<void**>(&p); }
};

// Where the chat client stand-in stores the packages of account: application data +
// "\Microsoft\MSN Messenger\" + the account hash (hash * 101 + byte, modulo 2^32) + "\Winks3\".
inline std::string WinksFolderOf(const std::string& account) {
  uint32_t hash = 0;
  for (unsigned char c : account) hash = hash * 101u + c;
  char appData[MAX_PATH] = "";
  SHGetSpecialFolderPathA(nullptr, appData, CSIDL_APPDATA, TRUE);
  return std::string(appData) + "\\Microsoft\\MSN Messenger\\" + std::to_string(hash) + "\\Winks3\\";
}

}  // namespace standins_testing
