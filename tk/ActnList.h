// Actions: a command with the state (caption, enabled, checked...) that the menu items linked to it
// show. An action's update lets its owner bring that state up to date before it is shown.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tk/Classes.h"

class TBasicAction;

// A component that shows an action's state.
class TActionClient {
 public:
  virtual ~TActionClient() = default;
  // The action's state changed: the client takes it.
  virtual void ActionChanged(TBasicAction* Action) = 0;
};

class TBasicAction : public TComponent {
 public:
  TK_CLASS(TBasicAction, TComponent)
  using TComponent::TComponent;
  // OnExecute; false when there is none.
  virtual bool Execute();
  // OnUpdate; false when there is none.
  virtual bool Update();
  TNotifyEvent OnExecute, OnUpdate;
  // Client (a TActionClient) is told of every change until it goes or unregisters.
  void RegisterChanges(TComponent* Client);
  void UnRegisterChanges(TComponent* Client);

 protected:
  void Change();
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  std::vector<TComponent*> FClients;
};

class TAction : public TBasicAction {
 public:
  TK_CLASS(TAction, TBasicAction)
  using TBasicAction::TBasicAction;
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

 private:
  std::string FCaption;
  bool FEnabled = true, FChecked = false, FVisible = true;
};

// Makes this unit's classes readable from form descriptions.
void RegisterActnList();
