// The splash window shown while the main window is created.
#pragma once

#include "tk/ExtCtrls.h"
#include "tk/Forms.h"
#include "tk/StdCtrls.h"

class Tfrm_Flash : public TForm {
 public:
  TK_CLASS(Tfrm_Flash, TForm)
  explicit Tfrm_Flash(TComponent* AOwner);
  static void Register();

  TImage* Image1 = nullptr;
  TLabel* Label1 = nullptr;
};

extern Tfrm_Flash* frm_Flash;
