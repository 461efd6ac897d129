#include "tk/AppEvnts.h"

#include <algorithm>

TApplicationEvents::TApplicationEvents(TComponent* AOwner) : TComponent(AOwner) {
  Application->FEventHandlers.push_back(this);
}

TApplicationEvents::~TApplicationEvents() {
  if (!Application) return;
  auto& list = Application->FEventHandlers;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}
