#include "velloran/Uni_Flash.h"

#include "tk/FormReader.h"

Tfrm_Flash* frm_Flash = nullptr;

Tfrm_Flash::Tfrm_Flash(TComponent* AOwner) : TForm(AOwner) { ReadComponentRes(this); }

void Tfrm_Flash::Register() {
  RegisterComponentClass<Tfrm_Flash>();
  Published<Tfrm_Flash>().Field("Image1", &Tfrm_Flash::Image1).Field("Label1", &Tfrm_Flash::Label1);
}
