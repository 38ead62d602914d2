// The gallery's page of range controls: scroll-bar controls, track bars with
// their thumbs in every orientation, up-downs on their own and against an
// edit, and progress bars at 0, 50 and 100 % both ways; each with a disabled
// one beside it.
#include "framework/range_controls.h"
#include "framework/std_controls.h"
#include "gallery/gallery_pages.h"

namespace {

template <class T>
T* Place(TGalleryPage& page, const char* name, int x, int y, int w, int h)
{
    auto* control = new T(page.Form);
    control->SetName(name);
    control->SetParent(page.Sheet);
    control->SetBounds(x, y, w, h);
    return control;
}

void BuildRanges(TGalleryPage& page)
{
    auto* horz = Place<TScrollBar>(page, "RangesScrollHorz", 12, 10, 220, 17);
    horz->SetParams(30, 0, 100);
    horz->SetPageSize(20);
    horz->SetLargeChange(20);
    auto* horzOff = Place<TScrollBar>(page, "RangesScrollHorzOff", 12, 34, 220, 17);
    horzOff->SetParams(60, 0, 100);
    horzOff->SetEnabled(false);
    auto* vert = Place<TScrollBar>(page, "RangesScrollVert", 244, 10, 17, 140);
    vert->SetKind(sbVertical);
    vert->SetBounds(244, 10, 17, 140);
    vert->SetParams(50, 0, 100);
    vert->SetPageSize(30);

    // Positions (of 0 to 10) spread over each way's track.
    struct TrackSpec { const char* Name; TTrackBarOrientation Orientation; TTickMark Marks; TTickStyle Ticks; int Position, X, Y, W, H; };
    const TrackSpec tracks[] = {
        {"RangesTrackBottom", trHorizontal, tmBottomRight, tsAuto, 2, 12, 60, 220, 40},
        {"RangesTrackTop", trHorizontal, tmTopLeft, tsAuto, 5, 12, 102, 220, 40},
        {"RangesTrackBoth", trHorizontal, tmBoth, tsAuto, 8, 12, 144, 220, 44},
        {"RangesTrackRight", trVertical, tmBottomRight, tsAuto, 2, 274, 10, 40, 150},
        {"RangesTrackLeft", trVertical, tmTopLeft, tsAuto, 5, 318, 10, 40, 150},
        {"RangesTrackVertBoth", trVertical, tmBoth, tsNone, 8, 362, 10, 44, 150},
    };
    for (const TrackSpec& t : tracks) {
        auto* track = Place<TTrackBar>(page, t.Name, t.X, t.Y, t.W, t.H);
        track->SetOrientation(t.Orientation);
        track->SetBounds(t.X, t.Y, t.W, t.H);
        track->SetTickMarks(t.Marks);
        track->SetTickStyle(t.Ticks);
        track->SetPosition(t.Position);
    }
    auto* trackOff = Place<TTrackBar>(page, "RangesTrackOff", 12, 190, 220, 40);
    trackOff->SetPosition(5);
    trackOff->SetEnabled(false);

    auto* edit = Place<TEdit>(page, "RangesSpinEdit", 420, 10, 70, 21);
    auto* spin = Place<TUpDown>(page, "RangesSpin", 0, 0, 16, 21);
    spin->SetPosition(12);
    spin->SetAssociate(edit);
    auto* alone = Place<TUpDown>(page, "RangesUpDown", 420, 40, 17, 34);
    (void)alone;
    auto* sideways = Place<TUpDown>(page, "RangesUpDownHorz", 444, 40, 34, 17);
    sideways->SetOrientation(udHorizontal);
    sideways->SetBounds(444, 40, 34, 17);
    auto* spinOff = Place<TUpDown>(page, "RangesUpDownOff", 486, 40, 17, 34);
    spinOff->SetEnabled(false);

    struct ProgressSpec { const char* Name; int Position; bool Vertical; bool Smooth; int X, Y, W, H; };
    const ProgressSpec bars[] = {
        {"RangesProgress0", 0, false, false, 420, 90, 180, 18},
        {"RangesProgress50", 50, false, false, 420, 114, 180, 18},
        {"RangesProgress100", 100, false, true, 420, 138, 180, 18},
        {"RangesProgressVert", 60, true, false, 610, 10, 18, 146},
    };
    for (const ProgressSpec& b : bars) {
        auto* bar = Place<TProgressBar>(page, b.Name, b.X, b.Y, b.W, b.H);
        if (b.Vertical) bar->SetOrientation(pbVertical);
        bar->SetBounds(b.X, b.Y, b.W, b.H);
        bar->SetSmooth(b.Smooth);
        bar->SetPosition(b.Position);
    }
}

}  // namespace

GALLERY_PAGE(50, "Ranges", BuildRanges);
