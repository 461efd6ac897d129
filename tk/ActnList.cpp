#include "tk/ActnList.h"

#include <algorithm>

#include "tk/FormReader.h"

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::RegisterChanges(TComponent* Client) {
  if (!Client || std::find(FClients.begin(), FClients.end(), Client) != FClients.end()) return;
  FClients.push_back(Client);
  FreeNotification(Client);
}

void TBasicAction::UnRegisterChanges(TComponent* Client) {
  FClients.erase(std::remove(FClients.begin(), FClients.end(), Client), FClients.end());
}

void TBasicAction::Change() {
  // Copy: a client may unregister while it takes the change.
  for (TComponent* c : std::vector<TComponent*>(FClients))
    if (auto* client = dynamic_cast<TActionClient*>(c)) client->ActionChanged(this);
}

void TBasicAction::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove) UnRegisterChanges(AComponent);
}

void TAction::SetCaption(const std::string& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  Change();
}
void TAction::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Change();
}
void TAction::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  Change();
}
void TAction::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Change();
}

void RegisterActnList() {
  RegisterComponentClass<TAction>();
  Published<TAction>()
      .Property("Caption", &TAction::SetCaption)
      .Property("Enabled", &TAction::SetEnabled)
      .Property("Checked", &TAction::SetChecked)
      .Property("Visible", &TAction::SetVisible)
      .Event("OnExecute", &TAction::OnExecute)
      .Event("OnUpdate", &TAction::OnUpdate);
}
