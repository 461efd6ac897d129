// A list box whose rows carry a second string list, Codes, parallel to them: the keeper keeps
// each wink package's full path there.
#pragma once

#include <memory>

#include "tk/StdCtrls.h"

class TCodeListBox : public TListBox {
 public:
  TK_CLASS(TCodeListBox, TListBox)
  explicit TCodeListBox(TComponent* AOwner);
  ~TCodeListBox() override;

  // The list object is the control's for its whole life; assigning copies into it. Its user keeps
  // it in step with the rows.
  TStringList* Codes() const { return FCodes.get(); }
  void SetCodes(TStrings* Value) { FCodes->Assign(Value); }

 private:
  std::unique_ptr<TStringList> FCodes;
};

// Makes TCodeListBox readable from form descriptions.
void RegisterCodeListBox();
