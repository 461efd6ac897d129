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
