// Application events: a component that relays the application's events to its own handlers.
#pragma once

#include "tk/Forms.h"

class TApplicationEvents : public TComponent {
 public:
  TK_CLASS(TApplicationEvents, TComponent)
  explicit TApplicationEvents(TComponent* AOwner);
  ~TApplicationEvents() override;
  // Called for every message the application takes from the queue, before it is dispatched.
  TMessageEvent OnMessage;
  void DoMessage(MSG& Msg, bool& Handled) {
    if (OnMessage) OnMessage(Msg, Handled);
  }
};
