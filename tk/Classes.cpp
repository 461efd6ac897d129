#include "tk/Classes.h"

#include <algorithm>
#include <cctype>

namespace {
bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}
}  // namespace

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  SetState(csDestroying);
  // Copies: a notified component may unregister itself while we walk the list.
  auto notifies = FFreeNotifies;
  for (TComponent* c : notifies) {
    c->RemoveFreeNotification(this);
    c->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    RemoveComponent(c);
    delete c;
  }
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameText(c->FName, name)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (component->FOwner) component->FOwner->RemoveComponent(component);
  FComponents.push_back(component);
  component->FOwner = this;
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find(FComponents.begin(), FComponents.end(), component);
  if (it == FComponents.end()) return;
  Notification(component, opRemove);
  FComponents.erase(it);
  component->FOwner = nullptr;
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(component);
    component->FreeNotification(this);  // both ways, so either may go first
  }
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component);
  if (it == FFreeNotifies.end()) return;
  FFreeNotifies.erase(it);
  component->RemoveFreeNotification(this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove) RemoveFreeNotification(AComponent);
}
