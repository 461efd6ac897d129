#include "tk/Classes.h"

#include <algorithm>
#include <cctype>
#include <iterator>

#include <windows.h>

std::wstring AnsiToWide(const std::string& Text) {
  if (Text.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, Text.data(), int(Text.size()), nullptr, 0);
  std::wstring out(size_t(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, Text.data(), int(Text.size()), out.data(), n);
  return out;
}

std::string WideToAnsi(const wchar_t* Text, int Length) {
  if (!Text || Length == 0) return {};
  int n = WideCharToMultiByte(CP_ACP, 0, Text, Length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, Text, Length, out.data(), n, nullptr, nullptr);
  if (Length < 0 && !out.empty() && out.back() == '\0') out.pop_back();
  return out;
}

namespace {
// Filled during static initialisation: a plain array, so nothing of it needs constructing first.
TFinalization g_finalizations[16];
int g_finalizationCount = 0;
}  // namespace

void AddFinalization(TFinalization Proc) {
  if (g_finalizationCount == int(std::size(g_finalizations)))
    throw EInvalidOperation("Too many finalisations");
  g_finalizations[g_finalizationCount++] = Proc;
}

void RunFinalizations() {
  while (g_finalizationCount > 0) g_finalizations[--g_finalizationCount]();
}

bool SameText(const std::string& a, const std::string& b) {
  // ASCII letters only, inline: names are compared by the thousand while forms are read and skinned.
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  SetState(csDestroying);
  // Copies: a notified component may unregister itself while we walk the list.
  auto notifies = FFreeNotifies;
  for (TComponent* c : notifies) {
    c->RemoveFreeNotification(this);
    c->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    RemoveComponent(c);
    delete c;
  }
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameText(c->FName, name)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (component->FOwner) component->FOwner->RemoveComponent(component);
  FComponents.push_back(component);
  component->FOwner = this;
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find(FComponents.begin(), FComponents.end(), component);
  if (it == FComponents.end()) return;
  Notification(component, opRemove);
  FComponents.erase(it);
  component->FOwner = nullptr;
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(component);
    component->FreeNotification(this);  // both ways, so either may go first
  }
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component);
  if (it == FFreeNotifies.end()) return;
  FFreeNotifies.erase(it);
  component->RemoveFreeNotification(this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove) RemoveFreeNotification(AComponent);
}

// ---- Memory streams to and from files ----------------------------------------------------------

void TMemoryStream::LoadFromStream(TStream* Stream) {
  Stream->SetPosition(0);
  int64_t n = Stream->GetSize();
  SetSize(n);
  if (n > 0) Stream->ReadBuffer(FData.data(), int32_t(n));
  FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream* Stream) {
  Stream->WriteBuffer(FData.data(), int32_t(FData.size()));
}

void TMemoryStream::LoadFromFile(const std::string& FileName) {
  TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&f);
}

void TMemoryStream::SaveToFile(const std::string& FileName) {
  TFileStream f(FileName, fmCreate);
  SaveToStream(&f);
}

// ---- File streams ------------------------------------------------------------------------------

namespace {
std::string SystemErrorText(DWORD code) {
  char* text = nullptr;
  DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string s = n && text ? std::string(text, n) : "System error " + std::to_string(code);
  if (text) LocalFree(text);
  while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ' || s.back() == '.'))
    s.pop_back();
  return s + ".";
}

DWORD ShareFlags(uint32_t mode) {
  switch (mode & 0xF0) {
    case fmShareExclusive:
      return 0;
    case fmShareDenyWrite:
      return FILE_SHARE_READ;
    case fmShareDenyRead:
      return FILE_SHARE_WRITE;
    default:
      return FILE_SHARE_READ | FILE_SHARE_WRITE;
  }
}
}  // namespace

TFileStream::TFileStream(const std::string& FileName, uint32_t Mode) : FFileName(FileName) {
  if ((Mode & fmCreate) == fmCreate) {
    FHandle = CreateFileA(FileName.c_str(), GENERIC_READ | GENERIC_WRITE, ShareFlags(Mode), nullptr,
                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (FHandle == INVALID_HANDLE_VALUE)
      throw EFCreateError("Cannot create file \"" + FileName + "\". " + SystemErrorText(GetLastError()));
  } else {
    static const DWORD access[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    uint32_t a = Mode & 3;
    if (a > 2) throw EFOpenError("Cannot open file \"" + FileName + "\". Invalid access mode.");
    FHandle = CreateFileA(FileName.c_str(), access[a], ShareFlags(Mode), nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (FHandle == INVALID_HANDLE_VALUE)
      throw EFOpenError("Cannot open file \"" + FileName + "\". " + SystemErrorText(GetLastError()));
  }
}

TFileStream::~TFileStream() { CloseHandle(FHandle); }

int32_t TFileStream::Read(void* buffer, int32_t count) {
  DWORD done = 0;
  if (count <= 0 || !ReadFile(FHandle, buffer, DWORD(count), &done, nullptr)) return 0;
  return int32_t(done);
}

int32_t TFileStream::Write(const void* buffer, int32_t count) {
  DWORD done = 0;
  if (count <= 0 || !WriteFile(FHandle, buffer, DWORD(count), &done, nullptr)) return 0;
  return int32_t(done);
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  static const DWORD methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
  LARGE_INTEGER to, at;
  to.QuadPart = offset;
  if (!SetFilePointerEx(FHandle, to, &at, methods[origin])) return -1;
  return at.QuadPart;
}

void TFileStream::SetSize(int64_t size) {
  int64_t pos = GetPosition();
  if (Seek(size, soBeginning) != size || !SetEndOfFile(FHandle))
    throw EStreamError("Stream size cannot be changed: " + SystemErrorText(GetLastError()));
  if (pos < size) Seek(pos, soBeginning);
}

// ---- Lists -------------------------------------------------------------------------------------

void ListIndexError(int Index) {
  throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

void TList::Check(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
}

void* TList::Items(int Index) const {
  Check(Index);
  return FItems[size_t(Index)];
}

void TList::SetItems(int Index, void* Item) {
  Check(Index);
  FItems[size_t(Index)] = Item;
}

int TList::Add(void* Item) {
  FItems.push_back(Item);
  return Count() - 1;
}

void TList::Insert(int Index, void* Item) {
  if (Index < 0 || Index > Count()) ListIndexError(Index);
  FItems.insert(FItems.begin() + Index, Item);
}

void TList::Delete(int Index) {
  Check(Index);
  FItems.erase(FItems.begin() + Index);
}

int TList::Remove(void* Item) {
  int i = IndexOf(Item);
  if (i >= 0) Delete(i);
  return i;
}

int TList::IndexOf(void* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TList::Exchange(int Index1, int Index2) {
  Check(Index1);
  Check(Index2);
  std::swap(FItems[size_t(Index1)], FItems[size_t(Index2)]);
}

// ---- String lists ------------------------------------------------------------------------------

void TStrings::Put(int Index, const std::string& S) {
  TObject* o = GetObjectAt(Index);
  Delete(Index);
  InsertObject(Index, S, o);
}

void TStrings::InsertObject(int Index, const std::string& S, TObject* AObject) {
  Insert(Index, S);
  PutObjectAt(Index, AObject);
}

int TStrings::AddObject(const std::string& S, TObject* AObject) {
  int i = Count();
  InsertObject(i, S, AObject);
  return i;
}

void TStrings::AddStrings(const TStrings* Strings) {
  for (int i = 0; i < Strings->Count(); ++i) AddObject(Strings->Get(i), Strings->GetObjectAt(i));
}

int TStrings::IndexOf(const std::string& S) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Get(i), S)) return i;
  return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
  for (int i = 0; i < Count(); ++i)
    if (GetObjectAt(i) == AObject) return i;
  return -1;
}

std::string TStrings::Names(int Index) const {
  std::string s = Get(Index);
  size_t eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStrings::ValueFromIndex(int Index) const {
  std::string s = Get(Index);
  size_t eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(eq + 1);
}

int TStrings::IndexOfName(const std::string& Name) const {
  for (int i = 0; i < Count(); ++i) {
    std::string s = Get(i);
    size_t eq = s.find('=');
    if (eq != std::string::npos && SameText(s.substr(0, eq), Name)) return i;
  }
  return -1;
}

std::string TStrings::Values(const std::string& Name) const {
  int i = IndexOfName(Name);
  return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStrings::SetValues(const std::string& Name, const std::string& Value) {
  int i = IndexOfName(Name);
  if (Value.empty()) {
    if (i >= 0) Delete(i);
  } else if (i < 0) {
    Add(Name + "=" + Value);
  } else {
    Put(i, Name + "=" + Value);
  }
}

std::string TStrings::Text() const {
  std::string s;
  for (int i = 0; i < Count(); ++i) s += Get(i) + "\r\n";
  return s;
}

void TStrings::SetText(const std::string& Value) {
  Clear();
  size_t i = 0, n = Value.size();
  while (i < n) {
    size_t e = Value.find_first_of("\r\n", i);
    if (e == std::string::npos) e = n;
    Add(Value.substr(i, e - i));
    i = e;
    if (i < n && Value[i] == '\r') ++i;
    if (i < n && Value[i] == '\n') ++i;
  }
}

void TStrings::Assign(TPersistent* Source) {
  if (auto* s = ObjectAs<TStrings>(Source)) {
    if (s == this) return;
    Clear();
    AddStrings(s);
    return;
  }
  TPersistent::Assign(Source);
}

void TStrings::LoadFromStream(TStream* Stream) {
  int64_t n = Stream->GetSize() - Stream->GetPosition();
  std::string s(size_t(n > 0 ? n : 0), '\0');
  Stream->ReadBuffer(s.data(), int32_t(s.size()));
  SetText(s);
}

void TStrings::SaveToStream(TStream* Stream) const {
  std::string s = Text();
  Stream->WriteBuffer(s.data(), int32_t(s.size()));
}

void TStrings::LoadFromFile(const std::string& FileName) {
  TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&f);
}

void TStrings::SaveToFile(const std::string& FileName) const {
  TFileStream f(FileName, fmCreate);
  SaveToStream(&f);
}

void TStringList::Check(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
}

std::string TStringList::Get(int Index) const {
  Check(Index);
  return FItems[size_t(Index)].S;
}

void TStringList::Put(int Index, const std::string& S) {
  Check(Index);
  FItems[size_t(Index)].S = S;
}

TObject* TStringList::GetObjectAt(int Index) const {
  Check(Index);
  return FItems[size_t(Index)].O;
}

void TStringList::PutObjectAt(int Index, TObject* AObject) {
  Check(Index);
  FItems[size_t(Index)].O = AObject;
}

void TStringList::Insert(int Index, const std::string& S) {
  if (Index < 0 || Index > Count()) ListIndexError(Index);
  FItems.insert(FItems.begin() + Index, TItem{S, nullptr});
}

void TStringList::Delete(int Index) {
  Check(Index);
  FItems.erase(FItems.begin() + Index);
}
