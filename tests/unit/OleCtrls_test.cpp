// Hosting ActiveX controls with real windows: the stand-in Flash player and web browser controls
// registered in the test prefix, created by class identifier and called by name and by id.
#include <gtest/gtest.h>

#include "tests/unit/standins_testing.h"
#include "tk/FormReader.h"
#include "tk/Forms.h"
#include "tk/OleCtrls.h"

namespace {

class Tfrm_OleHost : public TForm {
 public:
  TK_CLASS(Tfrm_OleHost, TForm)
  using TForm::TForm;
};

struct OleFixture : ::testing::Test {
  standins_testing::OwnSettings Settings;
  Tfrm_OleHost* Form = nullptr;
  void SetUp() override {
    Form = TCustomForm::Create<Tfrm_OleHost>(nullptr);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(40, 40, 320, 240);
  }
  void TearDown() override { delete Form; }
  template <class T>
  T* Place() {
    T* c = new T(Form);
    c->SetParent(Form);
    c->SetBounds(10, 10, 200, 150);
    return c;
  }
  bool Logged(const std::string& line) const {
    for (const std::string& l : Settings.LogLines())
      if (l == line) return true;
    return false;
  }
  // The container window that holds the control: our window's only child.
  static HWND HostOf(TWinControl* c) { return GetWindow(c->Handle(), GW_CHILD); }
};

TEST_F(OleFixture, FlashMovieAndPlayGoThroughDispatchByNameAndPlayingById) {
  auto* flash = Place<TShockwaveFlash>();
  Form->Show();
  ASSERT_NE(flash->DefaultDispatch(), nullptr);
  EXPECT_TRUE(flash->ControlCreated());

  flash->SetPlaying(false);
  EXPECT_FALSE(flash->Playing());
  flash->SetMovie("C:\\temp\\one.swf");
  EXPECT_EQ(flash->Movie(), "C:\\temp\\one.swf");
  flash->Play();
  EXPECT_TRUE(flash->Playing());
  EXPECT_TRUE(Logged("Flash Movie C:\\temp\\one.swf"));
  EXPECT_TRUE(Logged("Flash Play"));
  EXPECT_TRUE(Logged("Flash Playing 0"));
  EXPECT_EQ(flash->GetIDOfName("playing"), TShockwaveFlash::DISPID_Playing);
}

TEST_F(OleFixture, SettingsGivenBeforeTheControlExistsReachItInOrder) {
  auto* flash = Place<TShockwaveFlash>();
  flash->SetProperty("WMode", TOleVariant("Window"));
  flash->SetProperty("Loop", TOleVariant(true));
  flash->SetProperty("Movie", TOleVariant("first.swf"));
  flash->SetProperty("Movie", TOleVariant("second.swf"));
  EXPECT_FALSE(flash->ControlCreated());
  Form->Show();
  EXPECT_EQ(flash->GetProperty("WMode").AsString(), "Window");
  EXPECT_TRUE(flash->GetProperty("Loop").AsBoolean());
  EXPECT_EQ(flash->Movie(), "second.swf");
  auto lines = Settings.LogLines();
  auto first = std::find(lines.begin(), lines.end(), "Flash Movie first.swf");
  auto second = std::find(lines.begin(), lines.end(), "Flash Movie second.swf");
  ASSERT_NE(first, lines.end());
  EXPECT_LT(first, second);
}

TEST_F(OleFixture, ContainerFillsTheControlAndFollowsItsSize) {
  auto* flash = Place<TShockwaveFlash>();
  Form->Show();
  flash->DefaultDispatch();
  HWND host = HostOf(flash);
  ASSERT_NE(host, nullptr);
  RECT r;
  GetClientRect(host, &r);
  EXPECT_EQ(r.right, 200);
  EXPECT_EQ(r.bottom, 150);
  flash->SetBounds(0, 0, 120, 90);
  GetWindowRect(host, &r);
  EXPECT_EQ(r.right - r.left, 120);
  EXPECT_EQ(r.bottom - r.top, 90);
}

TEST_F(OleFixture, FreeingTheControlTakesItsContainerWindow) {
  auto* flash = Place<TShockwaveFlash>();
  Form->Show();
  flash->DefaultDispatch();
  HWND own = flash->Handle();
  HWND host = HostOf(flash);
  delete flash;
  EXPECT_FALSE(IsWindow(host));
  EXPECT_FALSE(IsWindow(own));
}

TEST_F(OleFixture, UnknownMemberAndUnregisteredClassRaiseOleErrors) {
  auto* flash = Place<TShockwaveFlash>();
  Form->Show();
  EXPECT_THROW(flash->GetIDOfName("NoSuchMember"), EOleError);
  EXPECT_THROW(flash->GetProperty(DISPID(9999)), EOleError);

  // {0BADC0DE-0000-4000-8000-000000000001}: registered nowhere.
  const CLSID nowhere = {0x0BADC0DE, 0, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 1}};
  auto* none = new TOleControl(Form, nowhere);
  none->SetBounds(0, 0, 50, 50);
  EXPECT_THROW(
      {
        none->SetParent(Form);
        none->DefaultDispatch();
      },
      EOleError);
  EXPECT_FALSE(none->ControlCreated());
  ASSERT_TRUE(none->HandleAllocated());
  EXPECT_EQ(GetWindow(none->Handle(), GW_CHILD), nullptr);
  EXPECT_THROW(none->DefaultDispatch(), EOleError);
  // A setting made now fails as the creation does, each time: none waits for a control that
  // cannot be made.
  for (int i = 0; i < 2; ++i) EXPECT_THROW(none->SetProperty("Movie", TOleVariant("x.swf")), EOleError);
}

TEST_F(OleFixture, BrowserNavigatesByNameAndShowsThroughVisibleById) {
  auto* web = Place<TWebBrowser>();
  Form->Show();
  web->Navigate("http://127.0.0.1/page.htm");
  EXPECT_EQ(web->GetProperty("LocationURL").AsString(), "http://127.0.0.1/page.htm");
  web->SetBrowserVisible(false);
  EXPECT_FALSE(web->BrowserVisible());
  web->SetBrowserVisible(true);
  EXPECT_TRUE(web->BrowserVisible());
}

TEST(OleVariant, ConvertsAndCopiesDeeply) {
  TOleVariant text("12");
  TOleVariant copy = text;
  EXPECT_EQ(copy.Type(), VT_BSTR);
  EXPECT_NE(V_BSTR(copy.Ptr()), V_BSTR(text.Ptr()));
  EXPECT_EQ(copy.AsInteger(), 12);
  EXPECT_EQ(TOleVariant(true).AsString(), "True");
  EXPECT_EQ(TOleVariant(int32_t(7)).AsString(), "7");
  EXPECT_EQ(TOleVariant().AsString(), "");
  EXPECT_THROW(TOleVariant("words").AsInteger(), EOleError);
  EXPECT_EQ(AnsiToWide("ab\xE9"), L"ab\u00E9");
  EXPECT_EQ(WideToAnsi(L"ab\u00E9"), "ab\xE9");
}

class Tfrm_FlashForm : public TForm {
 public:
  TK_CLASS(Tfrm_FlashForm, TForm)
  using TForm::TForm;
  TShockwaveFlash* sflash = nullptr;
};

TEST_F(OleFixture, FormDescriptionsCarryTheFlashPlayersStoredSettings) {
  RegisterOleControls();
  Published<Tfrm_FlashForm>().Field("sflash", &Tfrm_FlashForm::sflash);
  auto* form = new Tfrm_FlashForm(nullptr);
  ReadComponentText(form,
                    "object frm_Flash: Tfrm_FlashForm\n"
                    "  object sflash: TShockwaveFlash\n"
                    "    WMode = 'Window'\n    Playing = True\n    Loop = True\n    Quality = 1\n"
                    "    Menu = False\n    AllowScriptAccess = 'always'\n    Scale = 'ShowAll'\n"
                    "  end\nend\n");
  ASSERT_NE(form->sflash, nullptr);
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, 200, 100);
  form->sflash->SetParent(form);
  form->sflash->SetBounds(0, 0, 200, 100);
  form->Show();
  EXPECT_EQ(form->sflash->GetProperty("WMode").AsString(), "Window");
  EXPECT_EQ(form->sflash->GetProperty("Quality").AsInteger(), 1);
  EXPECT_EQ(form->sflash->GetProperty("Scale").AsString(), "ShowAll");
  EXPECT_EQ(form->sflash->GetProperty("AllowScriptAccess").AsString(), "always");
  EXPECT_FALSE(form->sflash->GetProperty("Menu").AsBoolean());
  EXPECT_TRUE(form->sflash->GetProperty("Loop").AsBoolean());
  EXPECT_TRUE(Logged("Flash Playing 1"));
  delete form;
}

}  // namespace
