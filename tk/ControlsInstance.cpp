// Object-instance stubs: a few bytes of code per takeover that turn a window procedure call into a
// call of one message method, so a window leads to its object without any lookup.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <new>

#include "tk/Controls.h"

#if !defined(__i386__)
#error "the object-instance stub is 32-bit x86 code"
#endif

namespace {

struct TInstanceBlock;
LRESULT CALLBACK InstanceEntry(TInstanceBlock* Block, UINT Msg, WPARAM WParam, LPARAM LParam);

#pragma pack(push, 1)
// mov dword ptr [esp+4], Block; jmp InstanceEntry: the window argument becomes the block.
struct TInstanceCode {
  uint8_t Mov[4] = {0xC7, 0x44, 0x24, 0x04};
  TInstanceBlock* Block = nullptr;
  uint8_t Jmp = 0xE9;
  int32_t Target = 0;
};
#pragma pack(pop)

struct TInstanceBlock {
  TInstanceCode Code;     // first: the stub's address is the block's
  TWndMethod Method;      // bound: every message goes to it
  HWND Window = nullptr;  // let go: every message of Window goes on to Next
  WNDPROC Next = nullptr;
  int Running = 0;     // messages being handled through the stub
  bool Freed = false;  // to go once no message is running
};
static_assert(offsetof(TInstanceBlock, Code) == 0);

HANDLE ExecutableHeap() {
  static HANDLE heap = HeapCreate(HEAP_CREATE_ENABLE_EXECUTE, 0, 0);
  return heap;
}

TInstanceBlock* BlockOf(WNDPROC Instance) { return reinterpret_cast<TInstanceBlock*>(Instance); }

void Release(TInstanceBlock* Block) {
  Block->~TInstanceBlock();
  HeapFree(ExecutableHeap(), 0, Block);
}

LRESULT CALLBACK InstanceEntry(TInstanceBlock* Block, UINT Msg, WPARAM WParam, LPARAM LParam) {
  ++Block->Running;
  LRESULT result = 0;
  if (Block->Method.Assigned()) {
    TMessage m{Msg, WParam, LParam, 0};
    // Nothing may unwind through the system's frames; methods report their own failures.
    try {
      Block->Method(m);
    } catch (...) {
    }
    result = m.Result;
  } else if (Block->Next) {
    result = CallWindowProcA(Block->Next, Block->Window, Msg, WParam, LParam);
  }
  --Block->Running;
  // A stub that was let go is called by nobody once its window is gone.
  if (Msg == WM_NCDESTROY && !Block->Method.Assigned()) Block->Freed = true;
  if (Block->Freed && Block->Running == 0) Release(Block);
  return result;
}

// A stub bound to Method.
WNDPROC MakeObjectInstance(TWndMethod Method) {
  void* memory = HeapAlloc(ExecutableHeap(), 0, sizeof(TInstanceBlock));
  if (!memory) throw EOutOfResources("Cannot make a window procedure stub");
  auto* block = new (memory) TInstanceBlock;
  block->Code.Block = block;
  const auto next = reinterpret_cast<intptr_t>(&block->Code) + intptr_t(sizeof(TInstanceCode));
  block->Code.Target = int32_t(reinterpret_cast<intptr_t>(&InstanceEntry) - next);
  block->Method = Method;
  FlushInstructionCache(GetCurrentProcess(), block, sizeof(TInstanceCode));
  return reinterpret_cast<WNDPROC>(block);
}

// A stub that is handling a message goes once that message is done.
void FreeObjectInstance(WNDPROC Instance) {
  TInstanceBlock* block = BlockOf(Instance);
  block->Method = {};
  block->Next = nullptr;
  block->Freed = true;
  if (block->Running == 0) Release(block);
}

}  // namespace

WNDPROC HookWindowProc(HWND Window, TWndMethod Method, WNDPROC& Old) {
  WNDPROC instance = MakeObjectInstance(Method);
  Old = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Window, GWLP_WNDPROC));
  SetWindowLongPtrA(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(instance));
  return instance;
}

void UnhookWindowProc(HWND Window, WNDPROC Instance, WNDPROC Old) {
  if (!Instance) return;
  if (IsWindow(Window)) {
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Window, GWLP_WNDPROC)) != Instance) {
      // Let go, not freed: the subclass on top still calls it.
      TInstanceBlock* block = BlockOf(Instance);
      block->Method = {};
      block->Window = Window;
      block->Next = Old;
      return;
    }
    SetWindowLongPtrA(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Old));
  }
  FreeObjectInstance(Instance);
}
