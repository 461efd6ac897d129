// A program that asks to end before its loop starts: the loop ends at its first turn.
#include <gtest/gtest.h>

#include "tk/Forms.h"

namespace {
class Tfrm_Early : public TForm {
 public:
  TK_CLASS(Tfrm_Early, TForm)
  using TForm::TForm;
};
}  // namespace

TEST(ApplicationRun, TerminateBeforeRunEndsTheLoopAtItsFirstTurn) {
  Application->Initialize();
  Tfrm_Early* main = nullptr;
  Application->CreateForm(main);
  main->OnCreate = nullptr;
  Application->Terminate();
  EXPECT_FALSE(Application->Terminated());  // the request waits in the queue
  Application->Run();
  EXPECT_TRUE(Application->Terminated());
  EXPECT_TRUE(IsWindowVisible(main->Handle()));  // shown, then the loop ended
  delete main;
}
