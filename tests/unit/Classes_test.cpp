// Class references and the in-memory stream.
#include <gtest/gtest.h>

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
