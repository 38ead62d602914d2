// Double-byte characters of ANSI window procedures (see ansi_chars.h).
#include "framework/ansi_chars.h"

namespace {

// The lead byte kept back, and the window it was typed into.
struct TPendingLead {
    HWND Window = nullptr;
    BYTE Byte = 0;
};

thread_local TPendingLead GPendingLead;

}  // namespace

LRESULT CallWindowProcChar(WNDPROC ansiProc, WNDPROC unicodeProc, HWND window, UINT msg, WPARAM wParam,
                           LPARAM lParam)
{
    WNDPROC proc = ansiProc;
    // Other messages may come between the two bytes (a sent one, the key's
    // release): they leave a kept lead byte as it is.
    if (msg != WM_CHAR || wParam > 0xFF || !unicodeProc) return CallWindowProcA(proc, window, msg, wParam, lParam);
    const BYTE byte = static_cast<BYTE>(wParam);
    if (GPendingLead.Byte && GPendingLead.Window == window) {
        const char pair[2] = {static_cast<char>(GPendingLead.Byte), static_cast<char>(byte)};
        GPendingLead = TPendingLead{};
        wchar_t wide = 0;
        if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, pair, 2, &wide, 1) == 1)
            return CallWindowProcW(unicodeProc, window, WM_CHAR, wide, lParam);
        // Not a character of the code page: the second byte goes on alone.
    } else if (IsDBCSLeadByte(byte)) {
        GPendingLead = TPendingLead{window, byte};
        return 0;
    }
    GPendingLead = TPendingLead{};
    return CallWindowProcA(proc, window, msg, wParam, lParam);
}
