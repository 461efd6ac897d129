#include "velloran/Uni_About.h"

#include <memory>

#include "tk/FormReader.h"
#include "velloran/Uni_Function.h"

const char* const SupportMail = "support@fennowick.example";

namespace {

struct TAboutTexts {
  const char* Caption;
  const char* Product;
  const char* Version;
  const char* Description;
  const char* SupportTitle;
  bool MailUnderlined;
};

const TAboutTexts kTexts[] = {
    {"Abount Velloran", "Velloran", "Version:2.0(Build 11.8)",
     "    Corvanel is a program that allows you to preview and \r\n"
     "install additional Winks,preview and remove the winks that you didn't like.",
     "Technical Support :", false},
    {"Drellmark", "Drellmark", "Version:1.8(Build 11.8)",
     "    Drellmark is a program that allows you to preview and \r\n"
     "remove the winks that you didn't like.",
     "Support Mail:", true},
};

}  // namespace

Tfrm_About::Tfrm_About(TComponent* AOwner, TAboutProgram Program) : TForm(AOwner) {
  ReadComponentRes(this);
  UseTexts(Program);
}

void Tfrm_About::UseTexts(TAboutProgram Program) {
  const TAboutTexts& t = kTexts[Program];
  SetCaption(t.Caption);
  Label3->SetCaption(t.Product);
  Label4->SetCaption(t.Version);
  Label2->SetCaption(t.Description);
  Label8->SetCaption(t.SupportTitle);
  Label9->SetCaption(SupportMail);
  Label9->Hint = SupportMail;
  TFontStyles style = Label9->Font()->Style();
  Label9->Font()->SetStyle(t.MailUnderlined ? style | fsUnderline : style & ~fsUnderline);
}

void Tfrm_About::Label9Click(TObject*) {
  ShellOpen(Handle(), std::string("mailto:") + SupportMail + "?subject=technical support");
}

void Tfrm_About::Label9MouseMove(TObject*, TShiftState, int, int) {
  Label9->Font()->SetStyle(Label9->Font()->Style() | fsUnderline);
}

void Tfrm_About::Label9MouseLeave(TObject*) {
  Label9->Font()->SetStyle(Label9->Font()->Style() & ~fsUnderline);
}

void Tfrm_About::Register() {
  RegisterComponentClass<Tfrm_About>();
  Published<Tfrm_About>()
      .Field("Image1", &Tfrm_About::Image1)
      .Field("Label2", &Tfrm_About::Label2)
      .Field("Label3", &Tfrm_About::Label3)
      .Field("Label4", &Tfrm_About::Label4)
      .Field("Label5", &Tfrm_About::Label5)
      .Field("Label8", &Tfrm_About::Label8)
      .Field("Label9", &Tfrm_About::Label9)
      .Field("Bevel1", &Tfrm_About::Bevel1)
      .Field("btnOK", &Tfrm_About::btnOK)
      .Method("Label9Click", &Tfrm_About::Label9Click)
      .Method("Label9MouseMove", &Tfrm_About::Label9MouseMove)
      .Method("Label9MouseLeave", &Tfrm_About::Label9MouseLeave);
}

void ShowAboutBox(TAboutProgram Program) {
  std::unique_ptr<Tfrm_About> box(new Tfrm_About(Application, Program));
  box->AfterConstruction();
  box->ShowModal();
}
