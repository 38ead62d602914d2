// Watches every text the program draws with DrawTextA/DrawTextW while it is
// installed: the program's own import slots of those two functions are
// pointed at recorders that draw the text as asked and note what a reader
// would see: the text, the font it was drawn in, whether the room it was
// given holds it in that font, and the colours of its pixels against the
// pixels under them. Text the system's controls draw inside user32 and
// comctl32 does not pass here (their calls do not go through the program's
// import table).
#pragma once

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace textprobe {

// The relative luminance of a colour, as the usual contrast formula has it.
inline double Luminance(COLORREF colour)
{
    auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(GetRValue(colour)) + 0.7152 * channel(GetGValue(colour)) +
           0.0722 * channel(GetBValue(colour));
}

// Contrast ratio of two colours, 1 (the same) to 21 (black on white).
inline double Contrast(COLORREF a, COLORREF b)
{
    double la = Luminance(a), lb = Luminance(b);
    if (la < lb) std::swap(la, lb);
    return (la + 0.05) / (lb + 0.05);
}

struct TTextRecord {
    std::wstring Text;
    RECT Rect{};             // the room given, logical coordinates
    UINT Format = 0;
    SIZE Needed{};           // what the text takes in the DC's font with that format
    RECT Ink{};              // where its pixels land when drawn unclipped, logical coordinates
    bool Fits = true;        // Needed and Ink lie within Rect and the surface drawn on
    std::wstring FontFace;
    int FontHeight = 0;
    COLORREF TextColour = 0;     // the DC's text colour
    COLORREF Background = 0;     // the most common colour under the glyphs before drawing
    int ChangedPixels = 0;       // pixels of the text box the drawing changed
    HWND Window = nullptr;       // the window of a window DC; null for a memory DC
    double ContrastRatio() const { return Contrast(TextColour, Background); }
};

namespace detail {

using TDrawTextW = int(WINAPI*)(HDC, LPCWSTR, int, LPRECT, UINT);
using TDrawTextA = int(WINAPI*)(HDC, LPCSTR, int, LPRECT, UINT);

struct TState {
    bool Installed = false;
    void** SlotW = nullptr;
    void** SlotA = nullptr;
    TDrawTextW RealW = nullptr;
    TDrawTextA RealA = nullptr;
    std::vector<TTextRecord>* Records = nullptr;
    int Depth = 0;
};

inline TState& State()
{
    static TState state;
    return state;
}

// The import slot of `function` from `dll` in the program's own image.
inline void** ImportSlot(const char* dll, const char* function)
{
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return nullptr;
    for (auto* desc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); desc->Name; ++desc) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + desc->Name), dll) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(
            base + (desc->OriginalFirstThunk ? desc->OriginalFirstThunk : desc->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

inline void WriteSlot(void** slot, void* value)
{
    DWORD old = 0;
    VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old);
    *slot = value;
    VirtualProtect(slot, sizeof(void*), old, &old);
}

// The pixels of `box` (logical coordinates of `dc`) as 0x00BBGGRR values.
inline std::vector<std::uint32_t> Grab(HDC dc, const RECT& box)
{
    const int w = box.right - box.left, h = box.bottom - box.top;
    std::vector<std::uint32_t> pixels;
    if (w <= 0 || h <= 0) return pixels;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return pixels;
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, dc, box.left, box.top, SRCCOPY);
    GdiFlush();
    const auto* data = static_cast<const std::uint32_t*>(bits);
    pixels.reserve(static_cast<size_t>(w) * h);
    for (int i = 0; i < w * h; ++i) {
        const std::uint32_t p = data[i];
        pixels.push_back(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));  // as a COLORREF
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return pixels;
}

// Where the measured text lands in `rect` by the format's alignment.
inline RECT TextBox(const RECT& rect, SIZE needed, UINT format)
{
    RECT box{rect.left, rect.top, rect.left + needed.cx, rect.top + needed.cy};
    if (format & DT_CENTER)
        OffsetRect(&box, ((rect.right - rect.left) - needed.cx) / 2, 0);
    else if (format & DT_RIGHT)
        OffsetRect(&box, (rect.right - rect.left) - needed.cx, 0);
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            OffsetRect(&box, 0, ((rect.bottom - rect.top) - needed.cy) / 2);
        else if (format & DT_BOTTOM)
            OffsetRect(&box, 0, (rect.bottom - rect.top) - needed.cy);
    }
    return box;
}

// Where the pixels of the text land when `draw` puts it, unclipped and in
// the font selected into `dc`, into the room `rect`: the box of every pixel
// the drawing changes on a scratch surface with a margin around the room.
// A font can draw wider than it measures (its bitmap glyphs have advances
// of their own), so the room that the measurement asks for can still cut
// the last letters: this is what is really drawn. Empty when nothing is.
template <class Draw>
RECT InkBox(HDC dc, const RECT& rect, UINT format, Draw draw)
{
    RECT ink{};
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return ink;
    const int margin = 8 + h + w / 2;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w + 2 * margin;
    info.bmiHeader.biHeight = -(h + 2 * margin);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC scratch = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateDIBSection(scratch, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) {
        DeleteDC(scratch);
        return ink;
    }
    HGDIOBJ oldBitmap = SelectObject(scratch, bitmap);
    HGDIOBJ oldFont = SelectObject(scratch, GetCurrentObject(dc, OBJ_FONT));
    const int cw = w + 2 * margin, ch = h + 2 * margin;
    std::memset(bits, 0xFF, static_cast<size_t>(cw) * ch * 4);
    SetBkMode(scratch, TRANSPARENT);
    SetTextColor(scratch, RGB(0, 0, 0));
    SetTextCharacterExtra(scratch, GetTextCharacterExtra(dc));
    RECT room{margin, margin, margin + w, margin + h};
    draw(scratch, &room, (format & ~(DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS | DT_MODIFYSTRING)) |
                             DT_NOCLIP);
    GdiFlush();
    const auto* data = static_cast<const std::uint32_t*>(bits);
    int left = cw, top = ch, right = -1, bottom = -1;
    for (int y = 0; y < ch; ++y)
        for (int x = 0; x < cw; ++x)
            if ((data[static_cast<size_t>(y) * cw + x] & 0xFFFFFF) != 0xFFFFFF) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right >= 0) ink = RECT{rect.left + left - margin, rect.top + top - margin, rect.left + right + 1 - margin,
                               rect.top + bottom + 1 - margin};
    SelectObject(scratch, oldFont);
    SelectObject(scratch, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(scratch);
    return ink;
}

// Draws as asked (through `draw`, which takes a rectangle and a format) and
// records what was drawn.
template <class Draw, class DrawOn>
int Record(HDC dc, const std::wstring& text, LPRECT rect, UINT format, Draw draw, DrawOn drawOn)
{
    TState& s = State();
    bool blank = text.find_first_not_of(L" \t\r\n") == std::wstring::npos;
    if ((format & DT_CALCRECT) || !rect || !s.Records || s.Depth > 0 || blank) return draw(rect, format);
    // A DC that can show nothing (a paint after the update region was
    // validated, a window hidden behind others) draws nothing a reader sees.
    RECT clip{};
    const int clipKind = GetClipBox(dc, &clip);
    if (clipKind == NULLREGION) return draw(rect, format);
    ++s.Depth;
    TTextRecord record;
    record.Text = text;
    record.Rect = *rect;
    record.Format = format;
    record.Window = WindowFromDC(dc);
    RECT measured = *rect;
    const UINT measure = (format & ~(DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS | DT_MODIFYSTRING)) |
                         DT_CALCRECT;
    draw(&measured, measure);
    record.Needed = SIZE{measured.right - measured.left, measured.bottom - measured.top};
    RECT box = TextBox(*rect, record.Needed, format);
    record.Fits = record.Needed.cx <= rect->right - rect->left && record.Needed.cy <= rect->bottom - rect->top;
    // A text can draw wider than it measures: its pixels must stay inside
    // the room too.
    record.Ink = InkBox(dc, *rect, format, drawOn);
    if (!IsRectEmpty(&record.Ink)) {
        // Unclipped text may ink past its room by what the font itself
        // says its first and last letters reach past their advance (a
        // negative A or C width); clipped text is cut there.
        int leftReach = 0, rightReach = 0;
        ABC abc{};
        if ((format & DT_NOCLIP) && GetCharABCWidthsW(dc, text.front(), text.front(), &abc))
            leftReach = std::max(0, -abc.abcA);
        if ((format & DT_NOCLIP) && GetCharABCWidthsW(dc, text.back(), text.back(), &abc))
            rightReach = std::max(0, -abc.abcC);
        record.Fits = record.Fits && record.Ink.left >= rect->left - leftReach &&
                      record.Ink.right <= rect->right + rightReach && record.Ink.top >= rect->top &&
                      record.Ink.bottom <= rect->bottom;
        UnionRect(&box, &box, &record.Ink);
    }
    // The surface the text is drawn on: a window's client area, or the
    // bitmap of a memory DC, in the DC's logical coordinates. Text that
    // reaches past it is cut; text a child window covers is not.
    RECT surface{};
    bool known = false;
    if (record.Window) {
        known = GetClientRect(record.Window, &surface) != 0;
    } else if (auto bitmap = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP))) {
        BITMAP bm{};
        if (GetObject(bitmap, sizeof bm, &bm)) {
            surface = RECT{0, 0, bm.bmWidth, bm.bmHeight};
            known = bm.bmWidth > 1 || bm.bmHeight > 1;
        }
    }
    if (known) {
        POINT corners[2] = {{surface.left, surface.top}, {surface.right, surface.bottom}};
        DPtoLP(dc, corners, 2);
        record.Fits = record.Fits && box.left >= corners[0].x && box.top >= corners[0].y &&
                      box.right <= corners[1].x && box.bottom <= corners[1].y;
    }
    LOGFONTW font{};
    GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
    record.FontFace = font.lfFaceName;
    record.FontHeight = font.lfHeight;
    COLORREF colour = GetTextColor(dc);
    if (colour & 0xFF000000) colour = GetSysColor(static_cast<int>(colour & 0xFF));
    record.TextColour = colour;

    RECT seen = box;
    if (clipKind != ERROR) IntersectRect(&seen, &box, &clip);
    const std::vector<std::uint32_t> before = Grab(dc, seen);
    const int result = draw(rect, format);
    const std::vector<std::uint32_t> after = Grab(dc, seen);
    std::map<std::uint32_t, int> under, all;
    for (size_t i = 0; i < before.size() && i < after.size(); ++i) {
        ++all[before[i]];
        if (before[i] != after[i]) {
            ++under[before[i]];
            ++record.ChangedPixels;
        }
    }
    const auto& counts = under.empty() ? all : under;
    int best = -1;
    for (const auto& [pixel, count] : counts)
        if (count > best) {
            best = count;
            record.Background = pixel;
        }
    if (GetBkMode(dc) == OPAQUE) {
        COLORREF back = GetBkColor(dc);
        if (back & 0xFF000000) back = GetSysColor(static_cast<int>(back & 0xFF));
        record.Background = back;
    }
    s.Records->push_back(record);
    --s.Depth;
    return result;
}

inline int WINAPI DrawTextWProbe(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format)
{
    TState& s = State();
    std::wstring copy = text ? (count < 0 ? std::wstring(text) : std::wstring(text, static_cast<size_t>(count)))
                             : std::wstring();
    return Record(dc, copy, rect, format, [&](LPRECT r, UINT f) { return s.RealW(dc, text, count, r, f); },
                  [&](HDC on, LPRECT r, UINT f) { return s.RealW(on, text, count, r, f); });
}

inline int WINAPI DrawTextAProbe(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format)
{
    TState& s = State();
    std::wstring wide;
    if (text) {
        const int n = count < 0 ? lstrlenA(text) : count;
        wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text, n, nullptr, 0)));
        if (!wide.empty()) MultiByteToWideChar(CP_ACP, 0, text, n, wide.data(), static_cast<int>(wide.size()));
    }
    return Record(dc, wide, rect, format, [&](LPRECT r, UINT f) { return s.RealA(dc, text, count, r, f); },
                  [&](HDC on, LPRECT r, UINT f) { return s.RealA(on, text, count, r, f); });
}

}  // namespace detail

// Records every text drawn while it lives into Records.
class TTextProbe {
public:
    TTextProbe()
    {
        detail::TState& s = detail::State();
        if (s.Installed) return;
        s.SlotW = detail::ImportSlot("user32.dll", "DrawTextW");
        s.SlotA = detail::ImportSlot("user32.dll", "DrawTextA");
        if (!s.SlotW || !s.SlotA) return;
        s.RealW = reinterpret_cast<detail::TDrawTextW>(*s.SlotW);
        s.RealA = reinterpret_cast<detail::TDrawTextA>(*s.SlotA);
        detail::WriteSlot(s.SlotW, reinterpret_cast<void*>(&detail::DrawTextWProbe));
        detail::WriteSlot(s.SlotA, reinterpret_cast<void*>(&detail::DrawTextAProbe));
        s.Records = &Records;
        s.Installed = true;
        FOwner = true;
    }
    ~TTextProbe()
    {
        if (!FOwner) return;
        detail::TState& s = detail::State();
        detail::WriteSlot(s.SlotW, reinterpret_cast<void*>(s.RealW));
        detail::WriteSlot(s.SlotA, reinterpret_cast<void*>(s.RealA));
        s.Records = nullptr;
        s.Installed = false;
    }
    TTextProbe(const TTextProbe&) = delete;
    TTextProbe& operator=(const TTextProbe&) = delete;
    bool Installed() const { return FOwner; }

    std::vector<TTextRecord> Records;

private:
    bool FOwner = false;
};

// "text" for messages: the text in UTF-8.
inline std::string Utf8(const std::wstring& text)
{
    std::string out(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr)),
                    '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    if (!out.empty()) out.pop_back();
    return out;
}

}  // namespace textprobe
