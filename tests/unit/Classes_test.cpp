// Class references, streams, components, lists and string lists.
#include <gtest/gtest.h>

#include <windows.h>

#include "tk/Classes.h"

namespace {
class TAnimal : public TPersistent {
 public:
  TK_CLASS(TAnimal, TPersistent)
};
class TDog : public TAnimal {
 public:
  TK_CLASS(TDog, TAnimal)
};
}  // namespace

TEST(ClassInfo, NamesAndInheritanceAreAskedByClass) {
  TDog dog;
  TAnimal animal;
  EXPECT_EQ(dog.ClassName(), "TDog");
  EXPECT_TRUE(dog.InheritsFrom(TPersistent::StaticClass()));
  EXPECT_TRUE(dog.Is<TObject>());
  EXPECT_FALSE(animal.Is<TDog>());
  EXPECT_EQ(ObjectAs<TDog>(&animal), nullptr);
  EXPECT_EQ(ObjectAs<TAnimal>(&dog), &dog);
}

TEST(ClassInfo, AssignBetweenUnrelatedClassesFailsNamingBoth) {
  TDog dog;
  TAnimal animal;
  try {
    dog.Assign(&animal);
    FAIL() << "Assign did not raise";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "Cannot assign a TAnimal to a TDog");
  }
}

TEST(MemoryStream, WritesGrowReadsStopAtTheEnd) {
  TMemoryStream s;
  s.WriteBuffer("abcdef", 6);
  EXPECT_EQ(s.GetSize(), 6);
  s.SetPosition(4);
  char buf[8] = {};
  EXPECT_EQ(s.Read(buf, 8), 2);
  EXPECT_STREQ(buf, "ef");
  EXPECT_THROW(s.ReadBuffer(buf, 1), EReadError);
  s.Seek(-3, soEnd);
  s.WriteBuffer("XYZW", 4);
  EXPECT_EQ(std::string(s.Memory(), size_t(s.GetSize())), "abcXYZW");
}

TEST(MemoryStream, CopyFromTakesTheWholeSourceWhenCountIsZero) {
  TMemoryStream a, b;
  a.WriteBuffer("hello", 5);
  b.WriteBuffer(">", 1);
  EXPECT_EQ(b.CopyFrom(&a, 0), 5);
  EXPECT_EQ(std::string(b.Memory(), 6), ">hello");
}

namespace {
// Records what it is told, and whether it was freed, into a log shared by the test.
class TLogged : public TComponent {
 public:
  TK_CLASS(TLogged, TComponent)
  TLogged(TComponent* owner, std::string name, std::vector<std::string>* log) : TComponent(owner), FLog(log) {
    SetName(std::move(name));
  }
  ~TLogged() override { FLog->push_back("free " + Name()); }

 protected:
  void Notification(TComponent* c, TOperation op) override {
    if (op == opRemove && c->Owner() != this) FLog->push_back(Name() + " told " + c->Name() + " goes");
    TComponent::Notification(c, op);
  }

 private:
  std::vector<std::string>* FLog;
};
}  // namespace

TEST(Component, OwnerFreesWhatItOwnsAndFreedChildLeavesTheList) {
  std::vector<std::string> log;
  auto* form = new TLogged(nullptr, "form", &log);
  auto* a = new TLogged(form, "a", &log);
  new TLogged(form, "b", &log);
  new TLogged(a, "a1", &log);
  EXPECT_EQ(form->ComponentCount(), 2);
  EXPECT_EQ(form->FindComponent("B"), form->Components(1));
  delete a;
  EXPECT_EQ(form->ComponentCount(), 1);
  EXPECT_EQ(form->Components(0)->Name(), "b");
  delete form;
  EXPECT_EQ(log, (std::vector<std::string>{"free a", "free a1", "free form", "free b"}));
}

TEST(Component, FreeNotificationTellsTheWatcherOnceAndNotAfterItUnregisters) {
  std::vector<std::string> log;
  auto* watcher = new TLogged(nullptr, "w", &log);
  auto* x = new TLogged(nullptr, "x", &log);
  auto* y = new TLogged(nullptr, "y", &log);
  x->FreeNotification(watcher);
  y->FreeNotification(watcher);
  watcher->RemoveFreeNotification(y);
  delete x;
  delete y;
  delete watcher;
  // The watcher hears of x after x's own destructor ran, before its owned parts go.
  EXPECT_EQ(log, (std::vector<std::string>{"free x", "w told x goes", "free y", "free w"}));
}

// ---- Lists -------------------------------------------------------------------------------------

TEST(List, KeepsPointersInOrderAndRefusesBadIndexes) {
  int a = 1, b = 2, c = 3;
  TList list;
  EXPECT_EQ(list.Add(&a), 0);
  EXPECT_EQ(list.Add(&c), 1);
  list.Insert(1, &b);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Items(1), &b);
  EXPECT_EQ(list.IndexOf(&c), 2);
  list.Exchange(0, 2);
  EXPECT_EQ(list.First(), &c);
  EXPECT_EQ(list.Last(), &a);
  EXPECT_EQ(list.Remove(&b), 1);
  EXPECT_EQ(list.Remove(&b), -1);
  EXPECT_EQ(list.Count(), 2);
  try {
    list.Items(2);
    FAIL() << "index 2 of 2 was read";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message, "List index out of bounds (2)");
  }
  EXPECT_THROW(list.Insert(3, &a), EListError);
  EXPECT_THROW(list.Delete(-1), EListError);
  list.Clear();
  EXPECT_THROW(list.First(), EListError);
}

TEST(StringList, AddsDeletesAndFindsWithoutRegardToCase) {
  TStringList list;
  TDog dog;
  EXPECT_EQ(list.Add("Alpha"), 0);
  EXPECT_EQ(list.AddObject("beta", &dog), 1);
  list.Insert(0, "zero");
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.IndexOf("ALPHA"), 1);
  EXPECT_EQ(list.IndexOf("gamma"), -1);
  EXPECT_EQ(list.Objects(2), &dog);
  EXPECT_EQ(list.IndexOfObject(&dog), 2);
  list.Put(2, "Beta");  // keeps its object
  EXPECT_EQ(list.Strings(2), "Beta");
  EXPECT_EQ(list.Objects(2), &dog);
  list.Delete(0);
  EXPECT_EQ(list.Strings(0), "Alpha");
  EXPECT_THROW(list.Strings(2), EListError);
  EXPECT_THROW(list.Delete(5), EListError);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, NameValueLinesAreReadAddedReplacedAndRemoved) {
  TStringList list;
  list.SetText("TEdit=Edit\r\nplain line\r\nTCombo=combobox=x\r\n");
  EXPECT_EQ(list.Names(0), "TEdit");
  EXPECT_EQ(list.Names(1), "");
  EXPECT_EQ(list.ValueFromIndex(2), "combobox=x");
  EXPECT_EQ(list.Values("tcombo"), "combobox=x");
  EXPECT_EQ(list.Values("missing"), "");
  EXPECT_EQ(list.IndexOfName("TEDIT"), 0);
  list.SetValues("TEdit", "Memo");
  list.SetValues("TNew", "panel");
  list.SetValues("TCombo", "");
  EXPECT_EQ(list.Text(), "TEdit=Memo\r\nplain line\r\nTNew=panel\r\n");
}

TEST(StringList, TextSplitsAtEveryKindOfLineEnd) {
  TStringList list;
  list.SetText("a\r\nb\rc\nd\r\n\r\ne");
  EXPECT_EQ(list.Count(), 6);
  EXPECT_EQ(list.Strings(4), "");
  EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n");
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Text(), "");
}

TEST(StringList, AssignCopiesStringsAndObjectsAndRefusesOtherClasses) {
  TDog dog;
  TStringList a, b;
  a.Add("one");
  a.AddObject("two", &dog);
  b.Add("old");
  b.Assign(&a);
  EXPECT_EQ(b.Text(), "one\r\ntwo\r\n");
  EXPECT_EQ(b.Objects(1), &dog);
  b.Assign(&b);
  EXPECT_EQ(b.Count(), 2);
  EXPECT_THROW(b.Assign(&dog), EConvertError);
}

TEST(StringList, SavesToAndLoadsFromAStream) {
  TStringList a, b;
  a.Add("first");
  a.Add("");
  a.Add("third");
  TMemoryStream s;
  a.SaveToStream(&s);
  EXPECT_EQ(std::string(s.Memory(), size_t(s.GetSize())), "first\r\n\r\nthird\r\n");
  s.SetPosition(0);
  b.LoadFromStream(&s);
  EXPECT_EQ(b.Count(), 3);
  EXPECT_EQ(b.Text(), a.Text());
}

// ---- File streams ------------------------------------------------------------------------------

namespace {
// A fresh path in the system's temporary folder, removed when the test ends.
class TempFile {
 public:
  explicit TempFile(const std::string& name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    Path = std::string(dir) + "tk_" + std::to_string(GetCurrentProcessId()) + "_" + name;
    DeleteFileA(Path.c_str());
  }
  ~TempFile() { DeleteFileA(Path.c_str()); }
  std::string Path;
};
}  // namespace

TEST(FileStream, WritesSeeksReadsAndResizesAFile) {
  TempFile f("stream.bin");
  {
    TFileStream s(f.Path, fmCreate);
    s.WriteBuffer("0123456789", 10);
    EXPECT_EQ(s.GetSize(), 10);
    EXPECT_EQ(s.Seek(-4, soEnd), 6);
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, 8), 4);
    EXPECT_STREQ(buf, "6789");
    s.SetSize(5);
    EXPECT_EQ(s.GetSize(), 5);
    EXPECT_EQ(s.GetPosition(), 5);
  }
  TFileStream r(f.Path, fmOpenRead | fmShareDenyWrite);
  char buf[8] = {};
  EXPECT_EQ(r.Read(buf, 8), 5);
  EXPECT_STREQ(buf, "01234");
  // Opened for reading only: a write does not happen.
  EXPECT_THROW(r.WriteBuffer("x", 1), EStreamError);
}

TEST(FileStream, CreatingTruncatesAnExistingFile) {
  TempFile f("truncate.bin");
  { TFileStream(f.Path, fmCreate).WriteBuffer("long contents", 13); }
  { TFileStream(f.Path, fmCreate).WriteBuffer("ab", 2); }
  EXPECT_EQ(TFileStream(f.Path, fmOpenRead).GetSize(), 2);
}

TEST(FileStream, FailuresNameTheFile) {
  TempFile f("missing.bin");
  try {
    TFileStream s(f.Path, fmOpenRead);
    FAIL() << "opened a missing file";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message.rfind("Cannot open file \"" + f.Path + "\". ", 0), 0u) << e.Message;
  }
  try {
    TFileStream s(f.Path + "\\no\\such\\folder.bin", fmCreate);
    FAIL() << "created a file in a missing folder";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message.rfind("Cannot create file \"" + f.Path + "\\no\\such\\folder.bin\". ", 0), 0u)
        << e.Message;
  }
}

TEST(FileStream, ShareModesAreHonouredAndTheHandleIsClosedWithTheStream) {
  TempFile f("share.bin");
  {
    TFileStream writer(f.Path, fmCreate | fmShareExclusive);
    EXPECT_THROW(TFileStream(f.Path, fmOpenRead), EFOpenError);
  }
  {
    TFileStream reader(f.Path, fmOpenRead | fmShareDenyWrite);
    EXPECT_THROW(TFileStream(f.Path, fmOpenWrite), EFOpenError);
    TFileStream second(f.Path, fmOpenRead | fmShareDenyNone);
    EXPECT_NE(second.Handle(), INVALID_HANDLE_VALUE);
  }
  EXPECT_TRUE(DeleteFileA(f.Path.c_str()));
}

TEST(FileStream, MemoryStreamsAndStringListsGoToFilesAndBack) {
  TempFile f("roundtrip.bin");
  TMemoryStream out, in;
  const char bytes[] = {'\0', '\x01', '\xFF', 'z'};
  out.WriteBuffer(bytes, 4);
  out.SaveToFile(f.Path);
  in.WriteBuffer("stale", 5);
  in.LoadFromFile(f.Path);
  EXPECT_EQ(in.Bytes(), out.Bytes());
  EXPECT_EQ(in.GetPosition(), 0);

  TStringList a, b;
  a.SetText("x=1\r\ny=2");
  a.SaveToFile(f.Path);
  b.LoadFromFile(f.Path);
  EXPECT_EQ(b.Values("y"), "2");
  EXPECT_EQ(b.Count(), 2);
}
