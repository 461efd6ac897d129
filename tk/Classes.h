// The class library's spine: objects with class names, persistent objects, streams and the
// toolkit's exceptions. Components, string lists and the form reader build on these.
#pragma once

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// ---- Exceptions --------------------------------------------------------------------------------

// Every failure the toolkit raises; Message is what the general error report shows.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : Message(std::move(message)) {}
  const char* what() const noexcept override { return Message.c_str(); }
  std::string Message;
};

class EStreamError : public Exception {
  using Exception::Exception;
};
class EReadError : public EStreamError {
  using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
  using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
  using EStreamError::EStreamError;
};
class EListError : public Exception {
  using Exception::Exception;
};
class EConvertError : public Exception {
  using Exception::Exception;
};
class EInvalidOperation : public Exception {
  using Exception::Exception;
};
class EOutOfResources : public Exception {
  using Exception::Exception;
};
class EOleError : public Exception {
  using Exception::Exception;
};
class EResNotFound : public Exception {
  using Exception::Exception;
};

// Case-insensitive equality of two ANSI strings, as the toolkit compares names.
bool SameText(const std::string& a, const std::string& b);

// ANSI text to a wide string and back, in the ANSI code page (Length -1: up to the terminating zero).
std::wstring AnsiToWide(const std::string& Text);
std::string WideToAnsi(const wchar_t* Text, int Length = -1);

// A module's work for the end of the program: freeing what it made for the whole process. It runs
// from DoneApplication (Forms), last registered first, never in static destruction.
using TFinalization = void (*)();
void AddFinalization(TFinalization Proc);
// Runs the registered finalisations once, last registered first.
void RunFinalizations();

// ---- Objects with a class name and an inheritance test ------------------------------------------

// A class reference: its name and its parent, so "is a" can be asked by class.
struct TClassInfo {
  const char* Name;
  const TClassInfo* Parent;
  bool InheritsFrom(const TClassInfo* other) const {
    for (const TClassInfo* c = this; c; c = c->Parent)
      if (c == other) return true;
    return false;
  }
};
using TClass = const TClassInfo*;

// Declares the class reference of a TObject descendant: put it in the class's public section.
#define TK_CLASS(Name, ParentName)                                  \
  static TClass StaticClass() {                                     \
    static const TClassInfo info{#Name, ParentName::StaticClass()}; \
    return &info;                                                   \
  }                                                                 \
  TClass ClassType() const override { return StaticClass(); }

class TObject {
 public:
  virtual ~TObject() = default;
  static TClass StaticClass() {
    static const TClassInfo info{"TObject", nullptr};
    return &info;
  }
  virtual TClass ClassType() const { return StaticClass(); }
  std::string ClassName() const { return ClassType()->Name; }
  bool InheritsFrom(TClass c) const { return ClassType()->InheritsFrom(c); }
  template <class T>
  bool Is() const {
    return InheritsFrom(T::StaticClass());
  }
};

// Delphi's "as"/"is" for pointers: nullptr when obj is not of class T.
template <class T>
T* ObjectAs(TObject* obj) {
  return obj && obj->Is<T>() ? static_cast<T*>(obj) : nullptr;
}

class TFiler;

class TPersistent : public TObject {
 public:
  TK_CLASS(TPersistent, TObject)
  // Copies source's state into this object; raises EConvertError when the classes don't match.
  virtual void Assign(TPersistent* source) {
    std::string from = source ? source->ClassName() : "nil";
    throw EConvertError("Cannot assign a " + from + " to a " + ClassName());
  }
  // Declares the properties the form reader hands over as raw data (binary properties).
  virtual void DefineProperties(TFiler* /*Filer*/) {}
};

// An event handler that takes the sender, as the toolkit's event properties do.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// ---- Streams -----------------------------------------------------------------------------------

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };

class TStream : public TObject {
 public:
  TK_CLASS(TStream, TObject)
  virtual int32_t Read(void* buffer, int32_t count) = 0;
  virtual int32_t Write(const void* buffer, int32_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t GetPosition() { return Seek(0, soCurrent); }
  void SetPosition(int64_t pos) { Seek(pos, soBeginning); }
  int64_t GetSize() {
    int64_t pos = Seek(0, soCurrent);
    int64_t size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
  }
  virtual void SetSize(int64_t) { throw EStreamError("Stream size cannot be changed"); }

  // Exactly count bytes, or EReadError / EStreamError.
  void ReadBuffer(void* buffer, int32_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
  }
  void WriteBuffer(const void* buffer, int32_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EStreamError("Stream write error");
  }
  // Copies count bytes from source (all of it from its start when count is 0).
  int64_t CopyFrom(TStream* source, int64_t count) {
    if (count == 0) {
      source->SetPosition(0);
      count = source->GetSize();
    }
    char buf[16384];
    int64_t left = count;
    while (left > 0) {
      int32_t n = static_cast<int32_t>(left < int64_t(sizeof buf) ? left : int64_t(sizeof buf));
      source->ReadBuffer(buf, n);
      WriteBuffer(buf, n);
      left -= n;
    }
    return count;
  }
};

// A stream over a growable block of memory.
class TMemoryStream : public TStream {
 public:
  TK_CLASS(TMemoryStream, TStream)
  int32_t Read(void* buffer, int32_t count) override {
    if (count <= 0 || FPosition >= int64_t(FData.size())) return 0;
    int64_t n = std::min<int64_t>(count, int64_t(FData.size()) - FPosition);
    std::memcpy(buffer, FData.data() + FPosition, size_t(n));
    FPosition += n;
    return int32_t(n);
  }
  int32_t Write(const void* buffer, int32_t count) override {
    if (count <= 0) return 0;
    if (FPosition + count > int64_t(FData.size())) FData.resize(size_t(FPosition + count));
    std::memcpy(FData.data() + FPosition, buffer, size_t(count));
    FPosition += count;
    return count;
  }
  int64_t Seek(int64_t offset, TSeekOrigin origin) override {
    int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? FPosition : int64_t(FData.size());
    int64_t pos = base + offset;
    if (pos < 0) pos = 0;
    FPosition = pos;
    return FPosition;
  }
  void SetSize(int64_t size) override {
    FData.resize(size_t(size));
    if (FPosition > size) FPosition = size;
  }
  void Clear() {
    FData.clear();
    FPosition = 0;
  }
  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream* Stream);
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName);
  // The bytes themselves; valid until the next write or resize.
  char* Memory() { return FData.data(); }
  const std::vector<char>& Bytes() const { return FData; }

 private:
  std::vector<char> FData;
  int64_t FPosition = 0;
};

// A stream over a file, opened or created through the system's file API.
enum : uint32_t {
  fmCreate = 0xFF00,  // create or truncate, read and write
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareCompat = 0x0000,
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyRead = 0x0030,
  fmShareDenyNone = 0x0040,
};

class TFileStream : public TStream {
 public:
  TK_CLASS(TFileStream, TStream)
  // Raises EFCreateError / EFOpenError naming the file and the system's reason.
  TFileStream(const std::string& FileName, uint32_t Mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;
  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;
  const std::string& FileName() const { return FFileName; }
  void* Handle() const { return FHandle; }  // the file's HANDLE

 private:
  std::string FFileName;
  void* FHandle;
};

// ---- Lists -------------------------------------------------------------------------------------

// A list of untyped pointers; it owns nothing it holds.
class TList : public TObject {
 public:
  TK_CLASS(TList, TObject)
  int Count() const { return int(FItems.size()); }
  void* Items(int Index) const;
  void SetItems(int Index, void* Item);
  int Add(void* Item);
  void Insert(int Index, void* Item);
  void Delete(int Index);
  int Remove(void* Item);  // the index it had, or -1
  int IndexOf(void* Item) const;
  void Exchange(int Index1, int Index2);
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }
  void Clear() { FItems.clear(); }

 private:
  void Check(int Index) const;
  std::vector<void*> FItems;
};

// Raises the list error the toolkit gives for a bad index.
[[noreturn]] void ListIndexError(int Index);

// An ordered list of strings, each with an optional object it does not own. Descendants give
// the storage (a string list, or a control's own items); everything else is built on it.
class TStrings : public TPersistent {
 public:
  TK_CLASS(TStrings, TPersistent)
  virtual int Count() const = 0;
  virtual std::string Get(int Index) const = 0;
  virtual void Put(int Index, const std::string& S);
  // (Not GetObject/PutObject: windows.h makes GetObject a macro.)
  virtual TObject* GetObjectAt(int /*Index*/) const { return nullptr; }
  virtual void PutObjectAt(int /*Index*/, TObject* /*AObject*/) {}
  virtual void Insert(int Index, const std::string& S) = 0;
  virtual void InsertObject(int Index, const std::string& S, TObject* AObject);
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;

  std::string Strings(int Index) const { return Get(Index); }
  TObject* Objects(int Index) const { return GetObjectAt(Index); }
  int Add(const std::string& S) { return AddObject(S, nullptr); }
  int AddObject(const std::string& S, TObject* AObject);
  void AddStrings(const TStrings* Strings);
  // Case-insensitive, as the toolkit compares list entries.
  virtual int IndexOf(const std::string& S) const;
  int IndexOfObject(const TObject* AObject) const;

  // Name=Value lines: the name is the text before the first '=', compared case-insensitively.
  std::string Names(int Index) const;
  std::string ValueFromIndex(int Index) const;
  int IndexOfName(const std::string& Name) const;
  std::string Values(const std::string& Name) const;
  // An empty value removes the line; a new name is added at the end.
  void SetValues(const std::string& Name, const std::string& Value);

  // Every line followed by CR LF; setting splits at CR LF, CR or LF.
  std::string Text() const;
  void SetText(const std::string& Value);

  void Assign(TPersistent* Source) override;
  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream* Stream) const;
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName) const;
};

class TStringList : public TStrings {
 public:
  TK_CLASS(TStringList, TStrings)
  int Count() const override { return int(FItems.size()); }
  std::string Get(int Index) const override;
  void Put(int Index, const std::string& S) override;
  TObject* GetObjectAt(int Index) const override;
  void PutObjectAt(int Index, TObject* AObject) override;
  void Insert(int Index, const std::string& S) override;
  void Delete(int Index) override;
  void Clear() override { FItems.clear(); }

 private:
  void Check(int Index) const;
  struct TItem {
    std::string S;
    TObject* O;
  };
  std::vector<TItem> FItems;
};

// ---- Filers ------------------------------------------------------------------------------------

using TStreamProc = std::function<void(TStream* Stream)>;

// What DefineProperties talks to: the form reader (and any writer) offers each defined property
// by name and calls the matching procedure when the description holds it.
class TFiler : public TObject {
 public:
  TK_CLASS(TFiler, TObject)
  // A property stored as raw bytes: ReadData gets a stream positioned at its first byte;
  // WriteData and HasData are for a writer.
  virtual void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                                    bool HasData) = 0;
};

// ---- Components --------------------------------------------------------------------------------

enum TComponentStateFlag : uint32_t {
  csLoading = 1 << 0,
  csReading = 1 << 1,
  csDestroying = 1 << 2,
  csDesigning = 1 << 3,
};
using TComponentState = uint32_t;

enum TOperation { opInsert, opRemove };

// An owned, named object: it frees the components it owns, leaves its owner's list when freed,
// and tells the components that asked for it (FreeNotification) when it goes.
class TComponent : public TPersistent {
 public:
  TK_CLASS(TComponent, TPersistent)
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  const std::string& Name() const { return FName; }
  virtual void SetName(const std::string& value) { FName = value; }
  int32_t Tag = 0;

  int ComponentCount() const { return int(FComponents.size()); }
  TComponent* Components(int index) const { return FComponents.at(size_t(index)); }
  // The owned component of that name (case-insensitive), or nullptr.
  TComponent* FindComponent(const std::string& name) const;

  TComponentState ComponentState() const { return FComponentState; }
  void SetState(TComponentState flags) { FComponentState |= flags; }
  void ClearState(TComponentState flags) { FComponentState &= ~flags; }

  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // component is told through Notification(this, opRemove) when this one is freed.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Called once the form reader has read the whole form this component belongs to.
  virtual void Loaded() { ClearState(csLoading); }
  // The form reader's parenting hook: it calls this on every child it creates with the object
  // that encloses the child in the description (the root for top-level ones), before the child's
  // properties are read. Controls take a window parent from it; plain components ignore it.
  virtual void SetParentComponent(TComponent* /*Value*/) {}

 protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  // Frees what this component owns; descendants that must go before their owned components
  // call it from their own destructor.
  void DestroyComponents();

 private:
  TComponent* FOwner = nullptr;
  std::string FName;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  TComponentState FComponentState = 0;
};
