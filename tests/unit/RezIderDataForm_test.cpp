// The default skin as the programs' main forms hold it: read from a form description resource
// whose "SkinStream" the build packed from skins/default.
#include <gtest/gtest.h>

#include "SkinTesting.h"
#include "skin/RezIderData.h"
#include "tk/FormReader.h"

using namespace skintest;

namespace {

class TSkinStoredForm : public TComponent {
 public:
  TK_CLASS(TSkinStoredForm, TComponent)
  using TComponent::TComponent;
};

TEST(SkinDataStoredForm, TheDefaultSkinLoadsFromTheFormDescriptionAndSkinningIsScheduled) {
  RegisterSkinData();
  TManagerScope manager(false);
  TSkinStoredForm form(nullptr);
  ReadComponentRes(&form);
  auto* data = ObjectAs<TSkinData>(form.FindComponent("SkinData1"));
  ASSERT_NE(data, nullptr);
  EXPECT_FALSE(data->FNotLoaded);
  EXPECT_TRUE(data->Active());
  EXPECT_EQ(data->SkinControls.Bits, 0x3FFFFu);
  EXPECT_EQ(data->Skin3rd()->Count(), 3);
  EXPECT_EQ(data->FSkinName, "Harbour Blue");
  EXPECT_EQ(data->SysButtons.size(), 9u);
  EXPECT_TRUE(data->TrackbarThumbDown);
  EXPECT_EQ(data->ButtonFace, 0xF2EEEC);
  EXPECT_EQ(manager.Manager.Calls,
            (std::vector<std::string>{"AddSkinData", "InstallHook", "Schedule 1 250"}));

  // The stored bytes are the packed archive, written back as they came.
  TMemoryStream out;
  data->WriteSkinStream(&out);
  int32_t n = 0;
  std::memcpy(&n, out.Memory(), 4);
  EXPECT_EQ(n, data->FSkinStream->GetSize());
  EXPECT_GT(n, 1000);
}

}  // namespace
