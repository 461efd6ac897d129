#include "drellmark/Uni_GetSummary.h"

#include <memory>

#include "tk/FormReader.h"

Tfrm_GetSummary::Tfrm_GetSummary(TComponent* AOwner) : TForm(AOwner) {
  static const bool registered = [] {
    Published<Tfrm_GetSummary>()
        .Field("lblprompt", &Tfrm_GetSummary::lblprompt)
        .Field("edtvalue", &Tfrm_GetSummary::edtvalue)
        .Field("btnok", &Tfrm_GetSummary::btnok)
        .Field("btncancel", &Tfrm_GetSummary::btncancel)
        .Method("btnokClick", &Tfrm_GetSummary::btnokClick);
    return true;
  }();
  (void)registered;
  ReadComponentRes(this);
}

void Tfrm_GetSummary::btnokClick(TObject*) {
  // Blanks count as an entry here: only an empty field keeps the dialog open.
  if (!edtvalue->Text().empty())
    ModalResult = mrOk;
  else
    edtvalue->SetFocus();
}

bool InputDialog(const std::string& ACaption, const std::string& APrompt, std::string& Value) {
  std::unique_ptr<Tfrm_GetSummary> dialog(TCustomForm::Create<Tfrm_GetSummary>(Application));
  dialog->SetCaption(ACaption);
  dialog->lblprompt->SetCaption(APrompt);
  dialog->edtvalue->SetText(Value);
  if (dialog->ShowModal() != mrOk) return false;
  std::string text = dialog->edtvalue->Text();
  if (text.empty()) return false;
  Value = text;
  return true;
}
