// Object-instance stubs: a few bytes of code per takeover that turn a window procedure call into a
// call of one message method, so a window leads to its object without any lookup. The same state
// serves a control's message method taken over, so both kinds of takeover are given back alike.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <new>
#include <vector>

#include "tk/Controls.h"

namespace {

struct TInstanceState;
LRESULT CALLBACK InstanceEntry(TInstanceState* State, UINT Msg, WPARAM WParam, LPARAM LParam);

#pragma pack(push, 1)
#if defined(__i386__)
// mov dword ptr [esp+4], State; jmp InstanceEntry: the window argument becomes the state.
struct TInstanceCode {
  uint8_t Mov[4] = {0xC7, 0x44, 0x24, 0x04};
  TInstanceState* State = nullptr;
  uint8_t Jmp = 0xE9;
  int32_t Target = 0;
  uint8_t Pad[3] = {0xCC, 0xCC, 0xCC};

  void Aim() {
    // The jump counts from the end of its own instruction.
    const auto next = reinterpret_cast<intptr_t>(this) + intptr_t(offsetof(TInstanceCode, Pad));
    Target = int32_t(reinterpret_cast<intptr_t>(&InstanceEntry) - next);
  }
};
static_assert(sizeof(TInstanceCode) == 16);
#elif defined(__x86_64__)
// mov rcx, State; mov rax, InstanceEntry; jmp rax: the window argument (rcx) becomes the state.
struct TInstanceCode {
  uint8_t MovRcx[2] = {0x48, 0xB9};
  TInstanceState* State = nullptr;
  uint8_t MovRax[2] = {0x48, 0xB8};
  void* Target = nullptr;
  uint8_t JmpRax[2] = {0xFF, 0xE0};
  uint8_t Pad[10] = {0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC};

  void Aim() { Target = reinterpret_cast<void*>(&InstanceEntry); }
};
static_assert(sizeof(TInstanceCode) == 32);
#else
#error "the object-instance stub is x86 or x86-64 code"
#endif
#pragma pack(pop)

// One takeover. It lives apart from the code that leads to it: the code is never written again,
// and what changes per message stays off the lines the processor runs.
struct TInstanceState {
  TInstanceCode* Code = nullptr;  // this state's stub, fixed for good
  TWndMethod Method;              // bound: every message goes to it
  // Let go: every message goes on, to Next for Window, or to NextMethod of Control.
  HWND Window = nullptr;
  WNDPROC Next = nullptr;
  TControl* Control = nullptr;
  TWndMethod NextMethod;
  int Running = 0;     // messages being handled through this takeover
  bool Freed = false;  // to go once no message is running
  TInstanceState* NextFree = nullptr;
};

// Stubs come a page at a time, written once and then only run: the page is never writable and
// executable at once. Pages and states are kept for reuse while the program runs.
class TInstancePool {
 public:
  TInstanceState* Take() {
    std::lock_guard<std::mutex> hold(FLock);
    if (!FFree) AddPage();
    TInstanceState* state = FFree;
    FFree = state->NextFree;
    state->NextFree = nullptr;
    return state;
  }
  // State goes back to the pool as new, bound to its stub.
  void Give(TInstanceState* State) {
    std::lock_guard<std::mutex> hold(FLock);
    if (State->Control) --FLetGo;
    TInstanceCode* code = State->Code;
    *State = TInstanceState{};
    State->Code = code;
    State->NextFree = FFree;
    FFree = State;
  }
  // The states whose message methods were let go for Control.
  template <class F>
  void ForEachLetGo(TControl* Control, F&& Visit) {
    std::vector<TInstanceState*> found;
    {
      std::lock_guard<std::mutex> hold(FLock);
      if (FLetGo == 0) return;
      for (auto& page : FPages)
        for (TInstanceState& s : page)
          if (s.Control == Control) found.push_back(&s);
    }
    for (TInstanceState* s : found) Visit(s);
  }
  void LetGo() {
    std::lock_guard<std::mutex> hold(FLock);
    ++FLetGo;
  }

 private:
  static constexpr size_t kPage = 4096;
  static constexpr size_t kPerPage = kPage / sizeof(TInstanceCode);

  void AddPage() {
    auto* code =
        static_cast<TInstanceCode*>(VirtualAlloc(nullptr, kPage, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!code) throw EOutOfResources("Cannot make a window procedure stub");
    std::vector<TInstanceState> states(kPerPage);
    for (size_t i = 0; i < kPerPage; ++i) {
      TInstanceCode* c = new (&code[i]) TInstanceCode;
      c->State = &states[i];
      c->Aim();
      states[i].Code = c;
    }
    DWORD old = 0;
    if (!VirtualProtect(code, kPage, PAGE_EXECUTE_READ, &old)) {
      VirtualFree(code, 0, MEM_RELEASE);
      throw EOutOfResources("Cannot make a window procedure stub");
    }
    FlushInstructionCache(GetCurrentProcess(), code, kPage);
    // The states' storage moves into the list without moving the states the code points to.
    FPages.push_back(std::move(states));
    for (TInstanceState& s : FPages.back()) {
      s.NextFree = FFree;
      FFree = &s;
    }
  }

  std::mutex FLock;
  std::vector<std::vector<TInstanceState>> FPages;
  TInstanceState* FFree = nullptr;
  int FLetGo = 0;  // message methods let go, so a control that goes need not look when there are none
};

TInstancePool& Pool() {
  static TInstancePool* pool = new TInstancePool;  // stubs may run while statics are destroyed
  return *pool;
}

// Frees State now, or once the messages it is handling are done.
void Free(TInstanceState* State) {
  State->Method = {};
  State->Freed = true;
  if (State->Running == 0) Pool().Give(State);
}

// The message goes to the bound method, or on to what was there before once the takeover was let go.
// After the window's last message a stub that was let go goes too: nobody calls it any more.
void Handle(TInstanceState* State, TMessage& Message, bool LastMessage) {
  struct TRunning {
    TInstanceState* S;
    bool Last;
    TRunning(TInstanceState* s, bool last) : S(s), Last(last) { ++S->Running; }
    ~TRunning() {
      if (Last && !S->Method.Assigned()) S->Freed = true;
      if (--S->Running == 0 && S->Freed) Pool().Give(S);
    }
  } running(State, LastMessage);
  if (State->Method.Assigned())
    State->Method(Message);
  else if (State->Next)
    Message.Result = CallWindowProcA(State->Next, State->Window, Message.Msg, Message.WParam, Message.LParam);
  else if (State->NextMethod.Assigned())
    State->NextMethod(Message);
}

LRESULT CALLBACK InstanceEntry(TInstanceState* State, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  try {
    Handle(State, m, Msg == WM_NCDESTROY);
  } catch (...) {
    HandleWindowException();
  }
  return m.Result;
}

void LinkEntry(void* Data, TMessage& Message) { Handle(static_cast<TInstanceState*>(Data), Message, false); }

TInstanceState* StateOf(WNDPROC Instance) { return reinterpret_cast<TInstanceCode*>(Instance)->State; }

}  // namespace

WNDPROC HookWindowProc(HWND Window, TWndMethod Method, WNDPROC& Old) {
  TInstanceState* state = Pool().Take();
  state->Method = Method;
  auto instance = reinterpret_cast<WNDPROC>(state->Code);
  Old = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Window, GWLP_WNDPROC));
  SetWindowLongPtrA(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(instance));
  return instance;
}

void UnhookWindowProc(HWND Window, WNDPROC Instance, WNDPROC Old) {
  if (!Instance) return;
  TInstanceState* state = StateOf(Instance);
  if (IsWindow(Window)) {
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Window, GWLP_WNDPROC)) != Instance) {
      // Let go, not freed: the subclass on top still calls it.
      state->Method = {};
      state->Window = Window;
      state->Next = Old;
      return;
    }
    SetWindowLongPtrA(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Old));
  }
  Free(state);
}

bool WindowProcBound(WNDPROC Instance) { return Instance && StateOf(Instance)->Method.Assigned(); }

TWndMethod HookMessageMethod(TControl* Control, TWndMethod Method, TWndMethod& Old) {
  TInstanceState* state = Pool().Take();
  state->Method = Method;
  const TWndMethod link{&LinkEntry, state};
  Old = Control->WindowProc;
  Control->WindowProc = link;
  return link;
}

void UnhookMessageMethod(TControl* Control, TWndMethod Link, TWndMethod Old) {
  if (!Link.Assigned()) return;
  auto* state = static_cast<TInstanceState*>(Link.Data);
  if (Control && !(Control->WindowProc == Link)) {
    // Let go, not freed: the method set on top still calls it. It goes with the control.
    state->Method = {};
    state->Control = Control;
    state->NextMethod = Old;
    Pool().LetGo();
    return;
  }
  if (Control) Control->WindowProc = Old;
  Free(state);
}

void FreeLetGoMessageMethods(TControl* Control) { Pool().ForEachLetGo(Control, Free); }
