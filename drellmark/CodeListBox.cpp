#include "drellmark/CodeListBox.h"

#include "tk/FormReader.h"

TCodeListBox::TCodeListBox(TComponent* AOwner) : TListBox(AOwner), FCodes(std::make_unique<TStringList>()) {}

TCodeListBox::~TCodeListBox() = default;

void RegisterCodeListBox() {
  static const bool done = [] {
    RegisterComponentClass<TCodeListBox>();
    Published<TCodeListBox>().Object("Codes",
                                     [](TCodeListBox* list) -> TPersistent* { return list->Codes(); });
    return true;
  }();
  (void)done;
}
