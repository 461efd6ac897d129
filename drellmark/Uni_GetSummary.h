// The one-line input dialog that asks for the chat account.
#pragma once

#include <string>

#include "tk/Forms.h"
#include "tk/StdCtrls.h"

class Tfrm_GetSummary : public TForm {
 public:
  TK_CLASS(Tfrm_GetSummary, TForm)
  explicit Tfrm_GetSummary(TComponent* AOwner);

  TLabel* lblprompt = nullptr;
  TEdit* edtvalue = nullptr;
  TButton* btnok = nullptr;
  TButton* btncancel = nullptr;

  void btnokClick(TObject* Sender);
};

// Asks for a value in a Tfrm_GetSummary: true, with Value set, when the user confirmed a non-empty
// entry; otherwise Value is left as it was.
bool InputDialog(const std::string& ACaption, const std::string& APrompt, std::string& Value);
