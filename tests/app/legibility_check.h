// Whether a window can be read: every text the program draws while the
// window repaints itself (captions, labels, tab and header texts, status
// panels, the caption bar, the menu bar) must fit the room it is drawn in,
// in the font it is drawn with (as measured, and as its pixels really land),
// and stand out from the pixels under it by a
// contrast of at least 4.5:1. Texts of disabled controls are left out: they
// are meant to look faint. With LEGIBILITY_DUMP set in the environment every
// text seen is printed, fitting or not.
#pragma once

#include <windows.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/controls.h"
#include "tests/app/text_probe.h"

namespace legibility {

inline constexpr double MIN_CONTRAST = 4.5;

// The captions of the disabled controls in and under `control`.
inline void DisabledCaptions(const TControl* control, bool parentDisabled, std::set<std::wstring>& captions)
{
    const bool disabled = parentDisabled || !control->Enabled();
    if (disabled && !control->Caption().empty()) captions.insert(control->WideCaption());
    if (auto* windowed = As<TWinControl>(const_cast<TControl*>(control)))
        for (int i = 0; i < windowed->ControlCount(); ++i) DisabledCaptions(windowed->Controls(i), disabled, captions);
}

// One line per text that cannot be read, "<where>: "<text>" ...why...".
inline std::vector<std::string> Problems(const std::vector<textprobe::TTextRecord>& records, const std::string& where,
                                         const std::set<std::wstring>& exempt)
{
    std::vector<std::string> problems;
    std::set<std::string> seen;
    for (const textprobe::TTextRecord& r : records) {
        if (exempt.count(r.Text)) continue;
        std::ostringstream why;
        if (!r.Fits)
            why << "needs " << r.Needed.cx << "x" << r.Needed.cy << ", inks " << (r.Ink.right - r.Ink.left) << "x"
                << (r.Ink.bottom - r.Ink.top) << " from " << (r.Ink.left - r.Rect.left) << ","
                << (r.Ink.top - r.Rect.top) << " in " << (r.Rect.right - r.Rect.left) << "x"
                << (r.Rect.bottom - r.Rect.top) << " (font " << textprobe::Utf8(r.FontFace) << " " << r.FontHeight
                << ")";
        const double contrast = r.ContrastRatio();
        if (contrast < MIN_CONTRAST) {
            char colours[96];
            snprintf(colours, sizeof colours, "%scontrast %.2f: text %06lX on %06lX", r.Fits ? "" : "; ", contrast,
                     static_cast<unsigned long>(r.TextColour), static_cast<unsigned long>(r.Background));
            why << colours;
        }
        const std::string line = why.str();
        if (line.empty()) continue;
        const std::string problem = where + ": \"" + textprobe::Utf8(r.Text) + "\" " + line;
        if (seen.insert(problem).second) problems.push_back(problem);
    }
    return problems;
}

// Repaints `window` (frame, children and all) while the probe watches, and
// gives what cannot be read. `form` names the disabled controls to leave out.
inline std::vector<std::string> Check(HWND window, const TControl* form, const std::string& where)
{
    std::set<std::wstring> exempt;
    if (form) DisabledCaptions(form, false, exempt);
    textprobe::TTextProbe probe;
    if (!probe.Installed()) return {where + ": the text probe could not be installed"};
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (int i = 0; i < 5; ++i) {
        Application->ProcessMessages();
        Sleep(10);
    }
    std::vector<std::string> problems = Problems(probe.Records, where, exempt);
    if (getenv("LEGIBILITY_DUMP"))
        for (const auto& r : probe.Records)
            printf("DUMP %s: \"%s\" rect %ld,%ld-%ld,%ld fmt %X needs %ldx%ld ink %ld,%ld-%ld,%ld fits %d font %s %d colour %06lX on %06lX changed %d win %p\n",
                   where.c_str(), textprobe::Utf8(r.Text).c_str(), r.Rect.left, r.Rect.top, r.Rect.right, r.Rect.bottom,
                   r.Format, r.Needed.cx, r.Needed.cy, r.Ink.left, r.Ink.top, r.Ink.right, r.Ink.bottom, r.Fits, textprobe::Utf8(r.FontFace).c_str(), r.FontHeight,
                   r.TextColour, r.Background, r.ChangedPixels, (void*)r.Window);
    if (probe.Records.empty()) problems.push_back(where + ": no text was drawn");
    return problems;
}

inline std::string Join(const std::vector<std::string>& lines)
{
    std::string all;
    for (const std::string& line : lines) all += line + "\n";
    return all;
}

}  // namespace legibility
