// The form reader: value kinds, events, fields and references, ownership, parenting, Loaded
// order, binary properties, errors, and descriptions compiled in as resources.
#include <gtest/gtest.h>

#include <memory>

#include "tk/FormReader.h"

namespace {
enum TTestAlign { alNone, alTop, alClient };

// A font-like sub-object reached through dotted names.
class TTestFont : public TPersistent {
 public:
  TK_CLASS(TTestFont, TPersistent)
  std::string Name;
  int32_t Height = 0;
  uint32_t Style = 0;
};

// An item of a collection property.
class TTestColumn : public TPersistent {
 public:
  TK_CLASS(TTestColumn, TPersistent)
  std::string Caption;
  int32_t Width = 50;
};

// What every test component records, shared through a log the test reads.
std::vector<std::string>* Log = nullptr;

class TTestControl : public TComponent {
 public:
  TK_CLASS(TTestControl, TComponent)
  explicit TTestControl(TComponent* AOwner) : TComponent(AOwner), Items(new TStringList) {}
  ~TTestControl() override {
    delete Items;
    if (Log) Log->push_back("free " + Name());
  }
  void SetCaption(const std::string& value) {
    Caption = value;
    StateWhileReading = ComponentState();
  }
  void SetParentComponent(TComponent* Value) override { ParentComponent = Value; }
  bool Checked() const { return FChecked; }
  void SetChecked(bool value) { FChecked = value; }
  TTestAlign Placement() const { return FPlacement; }
  void SetPlacement(TTestAlign value) { FPlacement = value; }
  void Loaded() override {
    if (Log) Log->push_back("loaded " + Name() + (ComponentState() & csReading ? " reading" : ""));
    TComponent::Loaded();
  }
  void DefineProperties(TFiler* Filer) override {
    Filer->DefineBinaryProperty(
        "SkinStream",
        [this](TStream* s) {
          int32_t n = 0;
          s->ReadBuffer(&n, 4);
          SkinBytes.assign(size_t(n), '\0');
          s->ReadBuffer(SkinBytes.data(), n);
        },
        nullptr, true);
  }

  int32_t Left = 0, Width = 0, Color = 0;
  std::string Caption;
  bool Visible = true;
  TTestAlign Align = alNone;
  uint32_t Anchors = 0;
  TTestFont Font;
  TStringList* Items;
  TNotifyEvent OnClick;
  std::function<void(TObject*, int, bool&)> OnDrawItem;
  TTestControl* Buddy = nullptr;
  TComponent* ParentComponent = nullptr;
  TComponentState StateWhileReading = 0;
  std::string SkinBytes;
  std::vector<std::unique_ptr<TTestColumn>> Columns;
  bool FChecked = false;
  TTestAlign FPlacement = alNone;
};

// A component with no published surface of its own.
class TTestPlain : public TComponent {
 public:
  TK_CLASS(TTestPlain, TComponent)
  using TComponent::TComponent;
};

class TTestForm : public TTestControl {
 public:
  TK_CLASS(TTestForm, TTestControl)
  TTestForm() : TTestControl(nullptr) {}
  ~TTestForm() override { DestroyComponents(); }
  void btnOKClick(TObject* Sender) { Clicked.push_back(Sender); }
  void lstDrawItem(TObject*, int index, bool& handled) { handled = index == 2; }
  void Other(int) {}

  TTestControl* btnOK = nullptr;
  TTestControl* pnlBottom = nullptr;
  TTestPlain* plain = nullptr;
  std::vector<TObject*> Clicked;
};

class TOtherForm : public TTestControl {
 public:
  TK_CLASS(TOtherForm, TTestControl)
  TOtherForm() : TTestControl(nullptr) {}
  ~TOtherForm() override { DestroyComponents(); }
};

void RegisterTestClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterComponentClass<TTestControl>();
  RegisterComponentClass<TTestPlain>();
  Published<TTestFont>()
      .Property("Name", &TTestFont::Name)
      .Property("Height", &TTestFont::Height)
      .Set("Style", &TTestFont::Style, {{"fsBold", 0}, {"fsItalic", 1}, {"fsUnderline", 2}});
  Published<TTestControl>()
      .Property("Left", &TTestControl::Left)
      .Property("Width", &TTestControl::Width)
      .Property("Color", &TTestControl::Color, {{"clRed", 0xFF}, {"clBtnFace", int32_t(0xFF00000F)}})
      .Property("Caption", &TTestControl::SetCaption)
      .Property("Visible", &TTestControl::Visible)
      .Property("Align", &TTestControl::Align, {{"alNone", alNone}, {"alTop", alTop}, {"alClient", alClient}})
      .Set("Anchors", &TTestControl::Anchors, {{"akLeft", 0}, {"akTop", 1}, {"akRight", 2}, {"akBottom", 3}})
      .Object("Font", [](TTestControl* c) { return &c->Font; })
      .Object("Items", &TTestControl::Items)
      .Event("OnClick", &TTestControl::OnClick)
      .Event("OnDrawItem", &TTestControl::OnDrawItem)
      .Reference("Buddy", &TTestControl::Buddy)
      .Collection(
          "Columns", [](TTestControl* c) { c->Columns.clear(); },
          [](TTestControl* c) -> TPersistent* { return c->Columns.emplace_back(new TTestColumn).get(); })
      .Property("Checked", &TTestControl::Checked, &TTestControl::SetChecked)
      .Property("Placement", &TTestControl::Placement, &TTestControl::SetPlacement,
                {{"alNone", alNone}, {"alTop", alTop}});
  Published<TTestColumn>().Property("Caption", &TTestColumn::Caption).Property("Width", &TTestColumn::Width);
  Published<TTestForm>()
      .Method("btnOKClick", &TTestForm::btnOKClick)
      .Method("lstDrawItem", &TTestForm::lstDrawItem)
      .Method("Other", &TTestForm::Other)
      .Field("btnOK", &TTestForm::btnOK)
      .Field("pnlBottom", &TTestForm::pnlBottom)
      .Field("plain", &TTestForm::plain);
}

class FormReader : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestClasses();
    Log = &log;
  }
  void TearDown() override { Log = nullptr; }
  // The message of the EReadError reading text into a fresh form raises ("" when none).
  template <class Form = TTestForm>
  std::string ReadError(const std::string& text) {
    Form form;
    try {
      ReadComponentText(&form, text);
    } catch (const EReadError& e) {
      return e.Message;
    }
    return "";
  }
  std::vector<std::string> log;
};

const char* const kEveryKind = R"(object frm_Test: TTestForm
  Left = -12
  Width = $1F
  Color = clBtnFace
  Caption = 'It''s '#39'quoted'#39 +
    ' and joined'#13#10'across lines'
  Visible = False
  Align = alClient
  Anchors = [akLeft, akBottom]
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  Font.Style = []
  Items.Strings = (
    'first'
    'second=2'
    '' +
      'third')
  SkinStream = {
    03000000
    414243}
  object btnOK: TTestControl
    Color = $FFFFFFFF
    Font.Style = [fsBold, fsUnderline]
    Visible = true
  end
end
)";
}  // namespace

TEST_F(FormReader, ReadsEveryValueKind) {
  TTestForm form;
  ReadComponentText(&form, kEveryKind);
  EXPECT_EQ(form.Name(), "frm_Test");
  EXPECT_EQ(form.Left, -12);
  EXPECT_EQ(form.Width, 31);
  EXPECT_EQ(uint32_t(form.Color), 0xFF00000Fu);
  EXPECT_EQ(form.Caption, "It's 'quoted' and joined\r\nacross lines");
  EXPECT_FALSE(form.Visible);
  EXPECT_EQ(form.Align, alClient);
  EXPECT_EQ(form.Anchors, (1u << 0) | (1u << 3));
  EXPECT_EQ(form.Font.Name, "MS Sans Serif");
  EXPECT_EQ(form.Font.Height, -11);
  EXPECT_EQ(form.Font.Style, 0u);
  EXPECT_EQ(form.Items->Text(), "first\r\nsecond=2\r\nthird\r\n");
  EXPECT_EQ(form.Items->Values("second"), "2");
  EXPECT_EQ(form.SkinBytes, "ABC");
  ASSERT_NE(form.btnOK, nullptr);
  EXPECT_EQ(form.btnOK->Color, -1);
  EXPECT_EQ(form.btnOK->Font.Style, 5u);
  EXPECT_TRUE(form.btnOK->Visible);
}

TEST_F(FormReader, CollectionsGetAnItemPerEntryAndEnumerationsReadBackByName) {
  TTestForm form;
  form.Columns.emplace_back(new TTestColumn);
  ReadComponentText(&form, R"(object f: TTestForm
  Columns = <
    item
      Caption = 'Name'
      Width = 80
    end
    item
    end>
  Checked = True
  Placement = alTop
end)");
  ASSERT_EQ(form.Columns.size(), 2u);
  EXPECT_EQ(form.Columns[0]->Caption, "Name");
  EXPECT_EQ(form.Columns[0]->Width, 80);
  EXPECT_EQ(form.Columns[1]->Width, 50);
  std::string value;
  ASSERT_TRUE(GetEnumProp(&form, "checked", value));
  EXPECT_EQ(value, "True");
  ASSERT_TRUE(GetEnumProp(&form, "Placement", value));
  EXPECT_EQ(value, "alTop");
  form.SetPlacement(TTestAlign(7));
  ASSERT_TRUE(GetEnumProp(&form, "Placement", value));
  EXPECT_EQ(value, "7");
  // Only what is published to be read: not a plain setter, not an unknown name, not nothing.
  EXPECT_FALSE(GetEnumProp(&form, "Visible", value));
  EXPECT_FALSE(GetEnumProp(&form, "NoSuchProperty", value));
  EXPECT_FALSE(GetEnumProp(nullptr, "Checked", value));
  EXPECT_EQ(ReadError("object f: TTestForm\n  Columns = <\n    item\n      Colour = 1\n    end>\nend"),
            "Line 2: Error reading f.Columns: Property Colour does not exist");
  EXPECT_EQ(ReadError("object f: TTestForm\n  Left = <>\nend"),
            "Line 2: Error reading f.Left: Invalid property value");
}

TEST_F(FormReader, EventsCallTheRootsMethodsByName) {
  TTestForm form;
  ReadComponentText(&form, R"(object f: TTestForm
  OnClick = btnOKClick
  object btnOK: TTestControl
    OnClick = BTNOKCLICK
    OnDrawItem = lstDrawItem
  end
end)");
  ASSERT_TRUE(form.OnClick && form.btnOK->OnClick && form.btnOK->OnDrawItem);
  form.btnOK->OnClick(form.btnOK);
  form.OnClick(&form);
  EXPECT_EQ(form.Clicked, (std::vector<TObject*>{form.btnOK, &form}));
  bool handled = false;
  form.btnOK->OnDrawItem(form.btnOK, 2, handled);
  EXPECT_TRUE(handled);
}

TEST_F(FormReader, ChildrenAreOwnedByTheRootParentedByTheEnclosingObjectAndBoundToFields) {
  auto* form = new TTestForm;
  ReadComponentText(form, R"(object f: TTestForm
  object pnlBottom: TTestControl
    Buddy = btnOK
    object btnOK: TTestControl
      Buddy = f
    end
  end
  object plain: TTestPlain
  end
end)");
  ASSERT_EQ(form->ComponentCount(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(form->Components(i)->Owner(), form);
  EXPECT_EQ(form->pnlBottom, form->FindComponent("pnlBottom"));
  EXPECT_EQ(form->pnlBottom->ParentComponent, form);
  EXPECT_EQ(form->btnOK->ParentComponent, form->pnlBottom);
  EXPECT_EQ(form->pnlBottom->Buddy, form->btnOK);  // named before it was read
  EXPECT_EQ(form->btnOK->Buddy, form);
  EXPECT_EQ(form->plain, form->FindComponent("plain"));
  log.clear();
  delete form;
  EXPECT_EQ(log, (std::vector<std::string>{"free btnOK", "free pnlBottom", "free f"}));
}

TEST_F(FormReader, LoadedRunsOnceOnEveryComponentInReadOrderAfterTheWholeForm) {
  TTestForm form;
  ReadComponentText(&form, R"(object f: TTestForm
  object a: TTestControl
    object a1: TTestControl
      Caption = 'x'
    end
  end
  object b: TTestControl
  end
end)");
  EXPECT_EQ(log, (std::vector<std::string>{"loaded f", "loaded a", "loaded a1", "loaded b"}));
  auto* a1 = static_cast<TTestControl*>(form.FindComponent("a1"));
  EXPECT_EQ(a1->StateWhileReading & (csLoading | csReading), csLoading | csReading);
  EXPECT_EQ(a1->ComponentState() & (csLoading | csReading), 0u);
  EXPECT_EQ(form.ComponentState() & (csLoading | csReading), 0u);
}

TEST_F(FormReader, UnknownNamesFailNamingThemAndTheirLine) {
  EXPECT_EQ(ReadError("object f: TTestForm\n  Left = 1\n  object x: TNoSuchClass\n  end\nend"),
            "Line 3: Class TNoSuchClass not found");
  EXPECT_EQ(ReadError("object f: TTestForm\n  object b: TTestControl\n\n    Lefty = 1\n  end\nend"),
            "Line 4: Error reading b.Lefty: Property Lefty does not exist");
  EXPECT_EQ(ReadError("object f: TTestForm\n  Font.Colour = 1\nend"),
            "Line 2: Error reading f.Font.Colour: Property Colour does not exist");
  EXPECT_EQ(ReadError("object f: TTestForm\n  Fnt.Name = 'a'\nend"),
            "Line 2: Error reading f.Fnt.Name: Property Fnt does not exist");
  EXPECT_EQ(ReadError("object f: TTestForm\n  object p: TTestPlain\n    Left = 1\n  end\nend"),
            "Line 3: Error reading p.Left: Property Left does not exist");
  EXPECT_EQ(ReadError("object f: TTestForm\n  OnClick = NoSuchHandler\nend"),
            "Line 2: Error reading f.OnClick: Method NoSuchHandler not found");
  EXPECT_EQ(ReadError("object f: TTestForm\n  OnClick = Other\nend"),
            "Line 2: Error reading f.OnClick: Method Other does not fit the event's parameters");
  EXPECT_EQ(ReadError("object f: TTestForm\n  Buddy = nobody\nend"),
            "Line 2: Error reading f.Buddy: Component nobody not found");
  EXPECT_EQ(ReadError("object f: TTestForm\n  Buddy = plain\n  object plain: TTestPlain\n  end\nend"),
            "Line 2: Error reading f.Buddy: plain is a TTestPlain, not a TTestControl");
  EXPECT_EQ(ReadError("object f: TTestForm\n  object btnOK: TTestPlain\n  end\nend"),
            "Line 2: Field btnOK: btnOK is a TTestPlain, not a TTestControl");
  EXPECT_EQ(
      ReadError("object f: TTestForm\n  object a: TTestPlain\n  end\n  object A: TTestPlain\n  end\nend"),
      "Line 4: A component named A already exists");
}

TEST_F(FormReader, ValuesOfTheWrongKindAreRefused) {
  EXPECT_EQ(ReadError("object f: TTestForm\n  Left = 'ten'\nend"),
            "Line 2: Error reading f.Left: Invalid property value");
  EXPECT_EQ(ReadError("object f: TTestForm\n  Align = alSideways\nend"),
            "Line 2: Error reading f.Align: Invalid property value");
  EXPECT_EQ(ReadError("object f: TTestForm\n  Anchors = [akLeft, akNowhere]\nend"),
            "Line 2: Error reading f.Anchors: Invalid property value");
  EXPECT_EQ(ReadError("object f: TTestForm\n  Visible = 1\nend"),
            "Line 2: Error reading f.Visible: Invalid property value");
  EXPECT_EQ(ReadError("object f: TTestForm\n  Caption = Ident\nend"),
            "Line 2: Error reading f.Caption: Invalid property value");
  EXPECT_EQ(ReadError("object f: TTestForm\n  SkinStream = 'not binary'\nend"),
            "Line 2: Error reading f.SkinStream: Invalid property value");
  EXPECT_EQ(ReadError("object f: TTestForm\n  Left = 4294967296\nend"),
            "Line 2: Error reading f.Left: Invalid property value");
  EXPECT_EQ(ReadError("object f: TTestForm\n  Left = 99999999999\nend"), "Line 2: Integer out of range");
}

TEST_F(FormReader, SyntaxErrorsNameTheLineAndCreateNothing) {
  EXPECT_EQ(ReadError("object f: TTestForm\n  Caption = 'open\nend"), "Line 2: Unterminated string");
  EXPECT_EQ(ReadError("object f: TTestForm\n  X = {0A1}\nend"), "Line 2: Invalid binary value");
  EXPECT_EQ(ReadError("object f: TTestForm\n  X = {0G}\nend"), "Line 2: Invalid binary value");
  EXPECT_EQ(ReadError("object f: TTestForm\n  X = 1.5\nend"), "Line 2: Invalid property value");
  EXPECT_EQ(ReadError("object f: TTestForm\n  X = 'a' +\nend"), "Line 3: String expected");
  EXPECT_EQ(ReadError("object f: TTestForm\n  X = #300\nend"), "Line 2: Character code out of range");
  EXPECT_EQ(ReadError("object f: TTestForm\n  X 1\nend"), "Line 2: '=' expected");
  EXPECT_EQ(ReadError("object f: TTestForm\n  X = < entry end>\nend"), "Line 2: 'item' expected");
  EXPECT_EQ(ReadError("object f: TTestForm\n  X = < item\n"), "Line 3: 'end' expected");
  EXPECT_EQ(ReadError("object f: TTestForm\n  X = < item end\n"), "Line 3: '>' expected");
  EXPECT_EQ(ReadError("object f: TTestForm\n  object b: TTestControl\n  end\n"), "Line 4: 'end' expected");
  EXPECT_EQ(ReadError("object f: TTestForm\nend\nobject g: TTestForm\nend"), "Line 3: End of file expected");
  EXPECT_EQ(ReadError(""), "Line 1: 'object' expected");
  TTestForm form;
  EXPECT_THROW(ReadComponentText(&form, "object f: TTestForm\n object b: TTestControl\n end\n X = (1)\nend"),
               EReadError);
  EXPECT_EQ(form.ComponentCount(), 0);
}

TEST_F(FormReader, TheDescriptionMustBeOfTheRootsClass) {
  EXPECT_EQ(ReadError<TOtherForm>("object f: TTestForm\nend"),
            "Line 1: The description is of class TTestForm, not TOtherForm");
}

TEST_F(FormReader, ErrorsRaisedInsideAPropertyReaderGetItsLineAndName) {
  // The binary value holds fewer bytes than the count the component reads from it.
  EXPECT_EQ(ReadError("object f: TTestForm\n  SkinStream = {05000000 41}\nend"),
            "Line 2: Error reading f.SkinStream: Stream read error");
}

TEST_F(FormReader, ComponentsReadBeforeAFailureStayOwnedByTheRoot) {
  auto* form = new TTestForm;
  EXPECT_THROW(ReadComponentText(form,
                                 "object f: TTestForm\n  object a: TTestControl\n  end\n"
                                 "  object b: TTestControl\n    Left = 'x'\n  end\nend"),
               EReadError);
  EXPECT_EQ(form->ComponentCount(), 2);
  log.clear();
  delete form;
  EXPECT_EQ(log, (std::vector<std::string>{"free b", "free a", "free f"}));
}

// The form compiled in by velloran_forms, its binary value taken from a file at build time.
TEST_F(FormReader, ReadsTheFormCompiledInAsAResourceWithItsBuildTimeData) {
  TTestForm form;
  ReadComponentRes(&form);
  EXPECT_EQ(form.Name(), "frm_Resource");
  EXPECT_EQ(form.Caption, "From the resource");
  // FormReader_test.bin: a 4-byte count, then that many bytes of every value from 0 to 255;
  // pnlBottom's copy of it is made by the build.
  for (TTestControl* c : {form.btnOK, form.pnlBottom}) {
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(c->SkinBytes.size(), 256u) << c->Name();
    for (int i = 0; i < 256; ++i) EXPECT_EQ(uint8_t(c->SkinBytes[size_t(i)]), i) << c->Name();
  }
}

TEST_F(FormReader, AMissingResourceIsReportedByName) {
  TOtherForm other;
  try {
    ReadComponentRes(&other);
    FAIL() << "no resource TOTHERFORM, yet it was read";
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message, "Resource TOTHERFORM not found");
  }
}
