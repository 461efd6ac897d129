// The about box both programs show: the same window, each program's own texts.
#pragma once

#include "tk/ExtCtrls.h"
#include "tk/Forms.h"
#include "tk/StdCtrls.h"

enum TAboutProgram { apVelloran, apDrellmark };

// The support address: caption and hint of Label9, and the mail link's target.
extern const char* const SupportMail;

class Tfrm_About : public TForm {
 public:
  TK_CLASS(Tfrm_About, TForm)
  // The box with the texts of Program (its description holds Velloran's).
  explicit Tfrm_About(TComponent* AOwner, TAboutProgram Program = apVelloran);
  static void Register();

  TImage* Image1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label4 = nullptr;
  TLabel* Label5 = nullptr;
  TLabel* Label8 = nullptr;
  TLabel* Label9 = nullptr;
  TBevel* Bevel1 = nullptr;
  TButton* btnOK = nullptr;

  void Label9Click(TObject* Sender);
  void Label9MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void Label9MouseLeave(TObject* Sender);

 private:
  void UseTexts(TAboutProgram Program);
};

// Shows the box of Program modally, owned by the application, and frees it afterwards (also when
// showing it fails).
void ShowAboutBox(TAboutProgram Program);
