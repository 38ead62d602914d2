// Per-object window procedure thunks from one pooled executable heap.
#include "skin/form/thunk.h"

#include <cstdint>
#include <cstring>

namespace {

// mov dword ptr [esp+4], object ; jmp proc
#pragma pack(push, 1)
struct TThunkCode {
    std::uint8_t MovOpcode[4];   // C7 44 24 04
    std::uint32_t Object;
    std::uint8_t JmpOpcode;      // E9
    std::int32_t Relative;       // proc - address of the next instruction
    std::uint8_t Pad[3];
};
#pragma pack(pop)
static_assert(sizeof(TThunkCode) == 16, "thunk layout");

// The executable heap every thunk comes from. It lives as long as the
// process: a window may still hold a thunk while static objects go away.
HANDLE ThunkHeap()
{
    static HANDLE heap = HeapCreate(HEAP_CREATE_ENABLE_EXECUTE, 0, 0);
    return heap;
}

}  // namespace

namespace {

void WriteThunk(TThunkCode* code, void* object, WNDPROC proc)
{
    const std::uint8_t mov[4] = {0xC7, 0x44, 0x24, 0x04};
    std::memcpy(code->MovOpcode, mov, sizeof mov);
    code->Object = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(object));
    code->JmpOpcode = 0xE9;
    code->Relative = static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(proc) -
                                               (reinterpret_cast<std::uintptr_t>(code) + 13));
    std::memset(code->Pad, 0xCC, sizeof code->Pad);
    FlushInstructionCache(GetCurrentProcess(), code, sizeof(TThunkCode));
}

int GLiveThunks = 0;

}  // namespace

int TWndProcThunk::LiveCount() { return GLiveThunks; }

TWndProcThunk* TWndProcThunk::Create(void* object, WNDPROC proc)
{
    HANDLE heap = ThunkHeap();
    if (!heap || !proc) return nullptr;
    auto* code = static_cast<TThunkCode*>(HeapAlloc(heap, 0, sizeof(TThunkCode)));
    if (!code) return nullptr;
    WriteThunk(code, object, proc);
    ++GLiveThunks;
    return reinterpret_cast<TWndProcThunk*>(code);
}

void TWndProcThunk::Rebind(void* object, WNDPROC proc)
{
    WriteThunk(reinterpret_cast<TThunkCode*>(this), object, proc);
}

void TWndProcThunk::Free(TWndProcThunk* thunk)
{
    if (!thunk) return;
    // Leave a trap behind so that a stale call faults at once instead of
    // running another object's code.
    std::memset(thunk, 0xCC, sizeof(TThunkCode));
    --GLiveThunks;
    HeapFree(ThunkHeap(), 0, thunk);
}

namespace {

// What a thunk turns into when the skinner goes while another subclass sits
// on top of it: a plain pass-through to the procedure that was there before.
struct TForwarder {
    WNDPROC OldProc;
    HWND Window;
    bool Unicode;
};

LRESULT CALLBACK ForwardingProc(HWND self, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* forwarder = reinterpret_cast<TForwarder*>(self);
    return forwarder->Unicode ? CallWindowProcW(forwarder->OldProc, forwarder->Window, msg, wParam, lParam)
                              : CallWindowProcA(forwarder->OldProc, forwarder->Window, msg, wParam, lParam);
}

}  // namespace

// Takes `thunk` off `window`: puts `oldProc` back when the thunk is still on
// top; otherwise leaves the thunk in the chain as a pass-through (whoever
// subclassed after us still calls it) and keeps it alive for good.
void UnsubclassThunk(HWND window, TWndProcThunk*& thunk, WNDPROC oldProc, bool unicode)
{
    if (!thunk) return;
    if (IsWindow(window)) {
        const auto current = unicode ? GetWindowLongPtrW(window, GWLP_WNDPROC) : GetWindowLongPtrA(window, GWLP_WNDPROC);
        if (current == reinterpret_cast<LONG_PTR>(thunk->Proc())) {
            if (unicode)
                SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc));
            else
                SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc));
        } else {
            thunk->Rebind(new TForwarder{oldProc, window, unicode}, ForwardingProc);
            thunk = nullptr;
            return;
        }
    }
    TWndProcThunk::Free(thunk);
    thunk = nullptr;
}

