// Plumbing shared by our stand-in COM servers (stand-ins for platform pieces Wine lacks):
// reference counts, the class factory, registration under the module's own path, IDispatch
// by a table of names, and the settings and call log that tests read.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>

namespace standins {

// Module handle of the DLL these objects live in; set by DllMain.
extern HMODULE g_module;

// Live objects and LockServer calls, which DllCanUnloadNow reads.
void AddServerRef();
void ReleaseServerRef();
bool ServerInUse();

// Reference count and server lock shared by every object of ours.
class RefCounted {
 public:
  RefCounted() { AddServerRef(); }
  virtual ~RefCounted() { ReleaseServerRef(); }
  ULONG AddRefImpl() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG ReleaseImpl() {
    LONG left = InterlockedDecrement(&refs_);
    if (left == 0) Destroy();
    return static_cast<ULONG>(left);
  }

 private:
  void Destroy();

  LONG refs_ = 1;
};

// What a member is, as a real object's type information says: a method, a property, or a property
// that is only read.
enum class DispKind { Method, Property, ReadOnly };

// IDispatch member names, matched without regard to case as automation does.
struct DispName {
  const wchar_t* name;
  DISPID id;
  DispKind kind;
};
HRESULT IdsOfNames(const DispName* table, size_t count, LPOLESTR* names, UINT cNames, DISPID* ids);
// S_OK when the table holds member id and it takes a call of that kind; otherwise what a real
// automation object answers: a write to a method, a method call of a property, a write to a
// property that is only read and an unknown member all give DISP_E_MEMBERNOTFOUND.
HRESULT MemberTakes(const DispName* table, size_t count, DISPID id, WORD flags);

// Invoke arguments come last-first; `index` counts from the first argument.
const VARIANT* Arg(const DISPPARAMS* params, UINT index);
HRESULT ArgString(const DISPPARAMS* params, UINT index, std::wstring& out);
HRESULT ArgBool(const DISPPARAMS* params, UINT index, bool& out);
HRESULT ReturnString(VARIANT* result, const std::wstring& value);
HRESULT ReturnBool(VARIANT* result, bool value);
HRESULT ReturnLong(VARIANT* result, LONG value);
bool IsGet(WORD flags);
bool IsPut(WORD flags);

std::string Narrow(const std::wstring& text);
std::wstring Widen(const std::string& text);
std::wstring GuidText(REFGUID guid);

// Our own settings key: HKCU\Software\VelloranStandins, or the HKCU subkey named by the
// environment variable STANDINS_KEY, so that test processes running side by side each have
// their own.
std::string SettingsKey();
bool RegString(HKEY key, const char* name, std::string& value);
bool ReadSettingDword(const char* name, DWORD& value);
bool ReadSettingString(const char* name, std::string& value);

// Appends one line, "<component> <call> <arguments>", to the call log: the file named by the
// settings value "LogFile", else standins.log in the temporary folder.
void LogCall(const std::string& component, const std::string& call, const std::string& args = {});

struct ClassEntry {
  const CLSID* clsid;
  const char* description;
  HRESULT (*create)(REFIID riid, void** ppv);
  bool control;  // an ActiveX control: adds the Control and MiscStatus keys
};

// The server's classes: each DLL defines these two.
extern const ClassEntry kClasses[];
extern const size_t kClassCount;

// Creates T and hands out the requested interface of it.
template <class T>
HRESULT CreateObject(REFIID riid, void** ppv) {
  T* object = new (std::nothrow) T();
  if (!object) return E_OUTOFMEMORY;
  HRESULT hr = object->QueryInterface(riid, ppv);
  object->Release();
  return hr;
}

}  // namespace standins
