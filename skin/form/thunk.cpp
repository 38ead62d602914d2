// Per-object window procedure thunks from one pooled executable heap.
#include "skin/form/thunk.h"

#include <cstdint>
#include <cstring>

namespace {

#ifdef _WIN64
// mov rcx, object ; mov rax, proc ; jmp rax  (the window handle's place, the
// first argument, carries the object instead)
#pragma pack(push, 1)
struct TThunkCode {
    std::uint8_t MovRcx[2];      // 48 B9
    std::uint64_t Object;
    std::uint8_t MovRax[2];      // 48 B8
    std::uint64_t Proc;
    std::uint8_t JmpRax[2];      // FF E0
    std::uint8_t Pad[10];
};
#pragma pack(pop)
static_assert(sizeof(TThunkCode) == 32, "thunk layout");
#else
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
#endif

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
#ifdef _WIN64
    code->MovRcx[0] = 0x48; code->MovRcx[1] = 0xB9;
    code->Object = reinterpret_cast<std::uintptr_t>(object);
    code->MovRax[0] = 0x48; code->MovRax[1] = 0xB8;
    code->Proc = reinterpret_cast<std::uintptr_t>(proc);
    code->JmpRax[0] = 0xFF; code->JmpRax[1] = 0xE0;
    std::memset(code->Pad, 0xCC, sizeof code->Pad);
#else
    const std::uint8_t mov[4] = {0xC7, 0x44, 0x24, 0x04};
    std::memcpy(code->MovOpcode, mov, sizeof mov);
    code->Object = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(object));
    code->JmpOpcode = 0xE9;
    code->Relative = static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(proc) -
                                               (reinterpret_cast<std::uintptr_t>(code) + 13));
    std::memset(code->Pad, 0xCC, sizeof code->Pad);
#endif
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
