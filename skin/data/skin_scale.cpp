// A skin model at another display scale (see skin_scale.h).
#include "skin/data/skin_scale.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::uint32_t KEY = 0xFF00FFu;   // magenta, as TBmpImage holds pixels

// One axis of a frame cut into its three pieces: source [From[i], From[i+1])
// goes to destination [To[i], To[i+1]).
struct TAxisCut {
    int From[4];
    int To[4];
};

TAxisCut CutAxis(int size, int first, int last, int newSize, int newFirst, int newLast)
{
    first = std::max(first, 0);
    last = std::max(last, 0);
    newFirst = std::max(newFirst, 0);
    newLast = std::max(newLast, 0);
    // Margins that do not fit (in the picture or after scaling) leave the
    // frame in one piece.
    if (first + last > size || newFirst + newLast > newSize) first = last = newFirst = newLast = 0;
    return TAxisCut{{0, first, size - last, size}, {0, newFirst, newSize - newLast, newSize}};
}

// Where destination pixel `d` of a piece reads from, in source pixels times
// 256 (the centre of the destination pixel mapped back), clamped to the
// piece so that no piece borrows from its neighbour.
int SourcePosition(int d, int from0, int from1, int to0, int to1)
{
    const int span = from1 - from0;
    const int out = to1 - to0;
    if (span <= 1 || out <= 0) return from0 * 256;
    const long long centre = (2LL * (d - to0) + 1) * span * 256 / (2LL * out) - 128;   // 256ths
    const long long lo = 0, hi = static_cast<long long>(span - 1) * 256;
    return from0 * 256 + static_cast<int>(std::clamp(centre, lo, hi));
}

// The nearest source pixel for destination `d` of a piece (whole factors:
// each source pixel repeated exactly).
int NearestSource(int d, int from0, int from1, int to0, int to1)
{
    const int span = from1 - from0;
    const int out = to1 - to0;
    if (span <= 0 || out <= 0) return from0;
    const long long s = static_cast<long long>(d - to0) * span / out;
    return from0 + static_cast<int>(std::min<long long>(s, span - 1));
}

// The piece of a cut that holds destination `d`; an empty source piece
// reads from the nearest non-empty one.
int PieceOf(const TAxisCut& cut, int d, int& from0, int& from1, int& to0, int& to1)
{
    int piece = 0;
    while (piece < 2 && d >= cut.To[piece + 1]) ++piece;
    from0 = cut.From[piece];
    from1 = cut.From[piece + 1];
    to0 = cut.To[piece];
    to1 = cut.To[piece + 1];
    if (from1 <= from0) {
        // The source has no pixels here (a frame that is all margins):
        // borrow the edge pixel next to it.
        const int edge = piece == 0 ? cut.From[1] : cut.From[piece] - 1;
        from0 = std::clamp(edge, 0, std::max(cut.From[3] - 1, 0));
        from1 = from0 + 1;
    }
    return piece;
}

struct TSample {
    int Weight;      // 0..65536
    int X, Y;
};

std::uint32_t Blend(const TBmpImage& image, const TSample (&samples)[4])
{
    long long opaque = 0, r = 0, g = 0, b = 0;
    for (const TSample& s : samples) {
        if (s.Weight == 0) continue;
        const std::uint32_t p = image.Pixel(s.X, s.Y);
        if (p == KEY) continue;
        opaque += s.Weight;
        r += static_cast<long long>((p >> 16) & 0xFF) * s.Weight;
        g += static_cast<long long>((p >> 8) & 0xFF) * s.Weight;
        b += static_cast<long long>(p & 0xFF) * s.Weight;
    }
    // Mostly transparent: exactly the key. Otherwise the opaque pixels only.
    if (opaque * 2 < 65536) return KEY;
    const auto channel = [&](long long sum) {
        return static_cast<std::uint32_t>(std::min<long long>((sum + opaque / 2) / opaque, 255));
    };
    std::uint32_t p = channel(r) << 16 | channel(g) << 8 | channel(b);
    // A blend that lands on the key by chance would turn transparent.
    if (p == KEY) p = 0xFE00FFu;
    return p;
}

}  // namespace

int SkinScaled(int value, int dpi)
{
    if (dpi == SKIN_DESIGN_DPI || dpi <= 0) return value;
    const long long product = static_cast<long long>(value) * dpi;
    const long long half = SKIN_DESIGN_DPI / 2;
    return static_cast<int>(product >= 0 ? (product + half) / SKIN_DESIGN_DPI : -((-product + half) / SKIN_DESIGN_DPI));
}

void ScaledImageSize(const TSkinImageLayout& layout, int dpi, int& width, int& height)
{
    width = height = 0;
    if (!layout.Image || layout.Image->Empty()) return;
    const int frames = std::max(layout.Frames, 1);
    const int w = layout.Image->Width(), h = layout.Image->Height();
    if (layout.Stacked) {
        width = SkinScaled(w, dpi);
        height = SkinScaled(h / frames, dpi) * frames;
    } else {
        width = SkinScaled(w / frames, dpi) * frames;
        height = SkinScaled(h, dpi);
    }
}

TBmpImage ResampleSlicedImage(const TBmpImage& image, const TSkinImageLayout& layout, int frameWidth,
                              int frameHeight, const int margins[4])
{
    TBmpImage out;
    const int frames = std::max(layout.Frames, 1);
    const int fw = layout.Stacked ? image.Width : image.Width / frames;
    const int fh = layout.Stacked ? image.Height / frames : image.Height;
    if (fw <= 0 || fh <= 0 || frameWidth <= 0 || frameHeight <= 0) return out;
    out.Width = layout.Stacked ? frameWidth : frameWidth * frames;
    out.Height = layout.Stacked ? frameHeight * frames : frameHeight;
    out.BitCount = 24;
    out.Pixels.assign(static_cast<std::size_t>(out.Width) * static_cast<std::size_t>(out.Height), KEY);

    const TAxisCut cx = CutAxis(fw, layout.Left, layout.Right, frameWidth, margins[0], margins[2]);
    const TAxisCut cy = CutAxis(fh, layout.Top, layout.Bottom, frameHeight, margins[1], margins[3]);
    const bool whole = frameWidth % fw == 0 && frameHeight % fh == 0 && frameWidth / fw == frameHeight / fh &&
                       cx.To[1] == cx.From[1] * (frameWidth / fw) && cx.To[2] == cx.From[2] * (frameWidth / fw) &&
                       cy.To[1] == cy.From[1] * (frameHeight / fh) && cy.To[2] == cy.From[2] * (frameHeight / fh);

    // Per destination column and row: the source position(s) and weights,
    // the same for every frame.
    struct TTap {
        int A, B, WeightB;   // source pixels and B's weight in 256ths
    };
    const auto taps = [&](const TAxisCut& cut, int size) {
        std::vector<TTap> result(static_cast<std::size_t>(size));
        for (int d = 0; d < size; ++d) {
            int f0, f1, t0, t1;
            PieceOf(cut, d, f0, f1, t0, t1);
            if (whole) {
                const int s = NearestSource(d, f0, f1, t0, t1);
                result[static_cast<std::size_t>(d)] = TTap{s, s, 0};
            } else {
                const int pos = SourcePosition(d, f0, f1, t0, t1);
                const int a = pos / 256;
                const int b = std::min(a + 1, f1 - 1);
                result[static_cast<std::size_t>(d)] = TTap{a, b, b == a ? 0 : pos % 256};
            }
        }
        return result;
    };
    const std::vector<TTap> tx = taps(cx, frameWidth);
    const std::vector<TTap> ty = taps(cy, frameHeight);

    for (int f = 0; f < frames; ++f) {
        const int sx0 = layout.Stacked ? 0 : f * fw, sy0 = layout.Stacked ? f * fh : 0;
        const int dx0 = layout.Stacked ? 0 : f * frameWidth, dy0 = layout.Stacked ? f * frameHeight : 0;
        for (int y = 0; y < frameHeight; ++y) {
            const TTap& vy = ty[static_cast<std::size_t>(y)];
            std::uint32_t* row = &out.Pixels[static_cast<std::size_t>(dy0 + y) * static_cast<std::size_t>(out.Width)];
            for (int x = 0; x < frameWidth; ++x) {
                const TTap& vx = tx[static_cast<std::size_t>(x)];
                if (whole) {
                    row[dx0 + x] = image.Pixel(sx0 + vx.A, sy0 + vy.A);
                    continue;
                }
                const int wx = vx.WeightB, wy = vy.WeightB;
                const TSample samples[4] = {
                    {(256 - wx) * (256 - wy), sx0 + vx.A, sy0 + vy.A},
                    {wx * (256 - wy), sx0 + vx.B, sy0 + vy.A},
                    {(256 - wx) * wy, sx0 + vx.A, sy0 + vy.B},
                    {wx * wy, sx0 + vx.B, sy0 + vy.B},
                };
                row[dx0 + x] = Blend(image, samples);
            }
        }
    }
    return out;
}

TSkinImage ScaleSkinImage(const TSkinImageLayout& layout, int dpi)
{
    if (!layout.Image || layout.Image->Empty()) return TSkinImage();
    if (dpi == SKIN_DESIGN_DPI || dpi <= 0) return TSkinImage(layout.Image->Image());
    int width = 0, height = 0;
    ScaledImageSize(layout, dpi, width, height);
    const int frames = std::max(layout.Frames, 1);
    const int frameWidth = layout.Stacked ? width : width / frames;
    const int frameHeight = layout.Stacked ? height / frames : height;
    const int margins[4] = {SkinScaled(layout.Left, dpi), SkinScaled(layout.Top, dpi), SkinScaled(layout.Right, dpi),
                            SkinScaled(layout.Bottom, dpi)};

    // Start from the smallest shipped picture at or above the scale whose
    // size is right for its own scale (one of another size is not used).
    TSkinImageLayout from = layout;
    const TBmpImage* source = &layout.Image->Image();
    int sourceDpi = SKIN_DESIGN_DPI;
    for (const auto& variant : layout.Image->Variants()) {
        if (variant.Dpi < dpi) continue;
        int w = 0, h = 0;
        ScaledImageSize(layout, variant.Dpi, w, h);
        if (variant.Image.Width != w || variant.Image.Height != h) continue;
        source = &variant.Image;
        sourceDpi = variant.Dpi;
        break;
    }
    if (sourceDpi != SKIN_DESIGN_DPI) {
        from.Left = SkinScaled(layout.Left, sourceDpi);
        from.Top = SkinScaled(layout.Top, sourceDpi);
        from.Right = SkinScaled(layout.Right, sourceDpi);
        from.Bottom = SkinScaled(layout.Bottom, sourceDpi);
        if (sourceDpi == dpi) return TSkinImage(*source);
    }
    return TSkinImage(ResampleSlicedImage(*source, from, frameWidth, frameHeight, margins));
}

namespace {

TSkinImageLayout Layout(const std::string& name, const TSkinImage& image, int frames, bool stacked, int left,
                        int top, int right, int bottom)
{
    return TSkinImageLayout{name, &image, std::max(frames, 1), stacked, left, top, right, bottom};
}

TSkinImageLayout ObjectLayout(const TDataSkinObject& object)
{
    return Layout(object.Name, object.Bitmap, object.Frame, false, object.LeftWidth, object.TopHeight,
                  object.RightWidth, object.BottomHeight);
}

TSkinImageLayout BorderLayout(const TDataSkinBorder& border, TSkinBorderSide side)
{
    const bool stacked = side == sbTop || side == sbBottom;
    return Layout(border.Name, border.Bitmap, border.Frame, stacked, border.LeftWidth, border.TopHeight,
                  border.RightWidth, border.BottomHeight);
}

TSkinImageLayout TitleLayout(const TDataSkinTitle& title)
{
    // The caption text's back image: two frames stacked, cut by its own
    // left and right ends.
    return Layout("Title", title.Bitmap, 2, true, title.TXTBackleft, 0, title.TXTBackRight, 0);
}

TSkinImageLayout MenuBarLayout(const TDataSkinObject& bar)
{
    return Layout(bar.Name, bar.Bitmap, 2, true, bar.LeftWidth, 0, bar.RightWidth, 0);
}

void CopyObject(const TDataSkinObject& from, TDataSkinObject& to, int dpi)
{
    to.LeftWidth = SkinScaled(from.LeftWidth, dpi);
    to.TopHeight = SkinScaled(from.TopHeight, dpi);
    to.RightWidth = SkinScaled(from.RightWidth, dpi);
    to.BottomHeight = SkinScaled(from.BottomHeight, dpi);
    to.Trans = from.Trans;
    to.Tile = from.Tile;
    to.Name = from.Name;
    to.Frame = from.Frame;
    to.Style = from.Style;
    to.NormalColour = from.NormalColour;
    to.MouseOverColour = from.MouseOverColour;
    to.PressedColour = from.PressedColour;
    to.NormalColour2 = from.NormalColour2;
    to.MouseOverColour2 = from.MouseOverColour2;
    to.PressedColour2 = from.PressedColour2;
}

std::unique_ptr<TDataSkinObject> ScaleSection(const TDataSkinObject& from, TSkinSection section, int dpi)
{
    std::unique_ptr<TDataSkinObject> to;
    if (const auto* border = dynamic_cast<const TDataSkinBorder*>(&from)) {
        auto copy = std::make_unique<TDataSkinBorder>(from.Name);
        if (section == ssComboButton && !border->Bitmap2.Empty()) {
            // The mirrored copy of the button strip: mirrored again from the
            // scaled strip so that both stay each other's mirror exactly.
            copy->Bitmap2 = TSkinImage(MirrorImage(ScaleSkinImage(ObjectLayout(from), dpi).Image()));
        } else {
            copy->Bitmap2 = ScaleSkinImage(Layout(from.Name + ".2", border->Bitmap2, 1, false, 0, 0, 0, 0), dpi);
        }
        to = std::move(copy);
    } else if (const auto* label = dynamic_cast<const TDataSkinBoxLabel*>(&from)) {
        auto copy = std::make_unique<TDataSkinBoxLabel>(from.Name);
        copy->BackgroundLeftShift = SkinScaled(label->BackgroundLeftShift, dpi);
        copy->BackgroundRightShift = SkinScaled(label->BackgroundRightShift, dpi);
        copy->BackgroundAlignment = label->BackgroundAlignment;
        to = std::move(copy);
    } else {
        to = std::make_unique<TDataSkinObject>(from.Name);
    }
    CopyObject(from, *to, dpi);
    to->Bitmap = ScaleSkinImage(section == ssMenuBar ? MenuBarLayout(from) : ObjectLayout(from), dpi);
    return to;
}

}  // namespace

std::vector<TSkinImageLayout> SkinImageLayouts(const TSkinModel& model)
{
    std::vector<TSkinImageLayout> layouts;
    for (int side = 0; side < SKIN_BORDER_COUNT; ++side)
        if (const TDataSkinBorder* border = model.Borders[side].get())
            layouts.push_back(BorderLayout(*border, static_cast<TSkinBorderSide>(side)));
    if (model.Title) layouts.push_back(TitleLayout(*model.Title));
    if (const TDataSkinButton* b = model.Buttons.get()) {
        layouts.push_back(ObjectLayout(*b));
        layouts.push_back(Layout("Buttons.CheckButton", b->CheckBitmap, b->CheckButtonFrame, false, 0, 0, 0, 0));
        layouts.push_back(Layout("Buttons.RadioButton", b->RadioBitmap, b->RadioButtonFrame, false, 0, 0, 0, 0));
    }
    for (int i = 0; i < SKIN_SECTION_COUNT; ++i) {
        const TDataSkinObject* object = model.Sections[i].get();
        if (!object) continue;
        layouts.push_back(i == ssMenuBar ? MenuBarLayout(*object) : ObjectLayout(*object));
        if (const auto* border = dynamic_cast<const TDataSkinBorder*>(object); border && !border->Bitmap2.Empty())
            layouts.push_back(Layout(object->Name + ".2", border->Bitmap2, 1, false, 0, 0, 0, 0));
    }
    for (const auto& button : model.CaptionButtons)
        if (button) layouts.push_back(Layout(button->Name, button->Bitmap, button->Frame, false, button->LeftWidth, 0,
                                             button->RightWidth, 0));
    return layouts;
}

std::unique_ptr<TSkinModel> ScaleSkinModel(const TSkinModel& model, int dpi)
{
    auto scaled = std::make_unique<TSkinModel>();
    scaled->SkinName = model.SkinName;
    scaled->Colours = model.Colours;
    scaled->ColourGiven = model.ColourGiven;
    scaled->NumberedColours = model.NumberedColours;
    scaled->CustomColours = model.CustomColours;

    for (int side = 0; side < SKIN_BORDER_COUNT; ++side) {
        const TDataSkinBorder& from = *model.Borders[side];
        TDataSkinBorder& to = *scaled->Borders[side];
        CopyObject(from, to, dpi);
        to.Bitmap = ScaleSkinImage(BorderLayout(from, static_cast<TSkinBorderSide>(side)), dpi);
        to.Bitmap2 = ScaleSkinImage(Layout(from.Name + ".2", from.Bitmap2, 1, false, 0, 0, 0, 0), dpi);
    }

    const TDataSkinTitle& title = *model.Title;
    TDataSkinTitle& t = *scaled->Title;
    CopyObject(title, t, dpi);
    t.Bitmap = ScaleSkinImage(TitleLayout(title), dpi);
    t.TextAlignment = title.TextAlignment;
    t.Textbackground = title.Textbackground;
    t.FontHeight = SkinScaled(title.FontHeight, dpi);
    t.TXTBackleft = SkinScaled(title.TXTBackleft, dpi);
    t.TXTBackRight = SkinScaled(title.TXTBackRight, dpi);
    t.ActiveTextColour = title.ActiveTextColour;
    t.InactiveTextColour = title.InactiveTextColour;

    const TDataSkinButton& buttons = *model.Buttons;
    TDataSkinButton& b = *scaled->Buttons;
    CopyObject(buttons, b, dpi);
    b.Bitmap = ScaleSkinImage(ObjectLayout(buttons), dpi);
    b.CheckBitmap = ScaleSkinImage(Layout("", buttons.CheckBitmap, buttons.CheckButtonFrame, false, 0, 0, 0, 0), dpi);
    b.RadioBitmap = ScaleSkinImage(Layout("", buttons.RadioBitmap, buttons.RadioButtonFrame, false, 0, 0, 0, 0), dpi);
    b.RadioButtonFrame = buttons.RadioButtonFrame;
    b.CheckButtonFrame = buttons.CheckButtonFrame;
    b.HasNormalColour2 = buttons.HasNormalColour2;
    b.HasMouseOverColour2 = buttons.HasMouseOverColour2;
    b.HasPressedColour2 = buttons.HasPressedColour2;

    for (int i = 0; i < SKIN_SECTION_COUNT; ++i)
        if (const TDataSkinObject* object = model.Sections[i].get())
            scaled->Sections[i] = ScaleSection(*object, static_cast<TSkinSection>(i), dpi);

    for (const auto& from : model.CaptionButtons) {
        auto to = std::make_unique<TDataSkinSysButton>(from->Name);
        CopyObject(*from, *to, dpi);
        to->Bitmap = ScaleSkinImage(
            Layout(from->Name, from->Bitmap, from->Frame, false, from->LeftWidth, 0, from->RightWidth, 0), dpi);
        to->Action = from->Action;
        to->Align = from->Align;
        to->Xcoord = SkinScaled(from->Xcoord, dpi);
        to->Ycoord = SkinScaled(from->Ycoord, dpi);
        to->CombineOp = from->CombineOp;
        to->Visibility = from->Visibility;
        to->Visibility1 = from->Visibility1;
        scaled->CaptionButtons.push_back(std::move(to));
    }
    return scaled;
}
