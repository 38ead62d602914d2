// Per-object window procedures: a few bytes of machine code that turn a call
// of a plain window procedure into a call with an object.
//
// A thunk replaces the window handle argument with the object's address and
// jumps to a static procedure of the form
//     LRESULT CALLBACK Proc(HWND objectInDisguise, UINT, WPARAM, LPARAM)
// which casts the first argument back to its object. The handle itself is
// therefore not passed; the object keeps it.
//
// Thunks are carved from one executable heap for the whole program (never a
// page per window: a 32-bit process with hundreds of skinned windows would
// run out of address space). Only for 32-bit x86.
#pragma once

#include <windows.h>

class TWndProcThunk {
public:
    // A thunk that calls `proc` with `object` in place of the window handle;
    // null when no executable memory can be had.
    static TWndProcThunk* Create(void* object, WNDPROC proc);
    // Gives the thunk's memory back to the pool (null is allowed).
    static void Free(TWndProcThunk* thunk);

    // Points the thunk at another object and procedure (a window procedure
    // that others have subclassed on top of must keep answering).
    void Rebind(void* object, WNDPROC proc);

    // Thunks handed out and not yet freed (a leak check for tests).
    static int LiveCount();

    // What to install as the window procedure.
    WNDPROC Proc() { return reinterpret_cast<WNDPROC>(this); }

private:
    TWndProcThunk() = delete;
};

// Takes `thunk` off `window`: puts `oldProc` back when the thunk is still on
// top and frees the thunk; otherwise (someone subclassed after us) leaves the
// thunk in the chain as a pass-through to `oldProc`, kept for good. `thunk`
// is null afterwards. `unicode` is the form of SetWindowLong that installed it.
void UnsubclassThunk(HWND window, TWndProcThunk*& thunk, WNDPROC oldProc, bool unicode);
