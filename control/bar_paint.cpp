#include "control/bar_paint.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <string>

#include "control/bar_control.h"
#include "control/motion.h"
#include "render/raster.h"
#include "render/rounding.h"
#include "render/row_blend.h"
#include "render/squeeze.h"
#include "render/text.h"

namespace vb::control {

namespace {

int roundToInt(double value) { return static_cast<int>(render::RoundHalfEven(value)); }

// A picture without alpha of the given size: what a bar keeps, so it can
// be read column by column beside the frame's own.
bool isPlain(const pixels::Picture* picture, int width, int height) {
    return picture && render::IsWellFormed(*picture) && !picture->hasAlpha && picture->width == width &&
           picture->height == height;
}

// The frame's pixels inside `area` with the fill's columns [left, right)
// revealed over the background: the pixels of drawing the background and
// then the bar image cropped to those columns, without the crop. Written
// from the area's corner at `out`, whose rows are `outStride` apart; the
// pictures are plain and of the frame's size.
void revealArea(const pixels::Picture& background, const pixels::Picture* bar, int left, int right,
                const pixels::Rect& area, std::uint32_t* out, std::size_t outStride) {
    if (!bar) left = right = 0;
    const int a = std::clamp(left, area.left, area.right), b = std::clamp(right, a, area.right);
    const std::size_t frameWidth = static_cast<std::size_t>(background.width);
    for (int y = area.top; y < area.bottom; ++y, out += outStride) {
        const std::size_t from = static_cast<std::size_t>(y) * frameWidth;
        const std::uint32_t* back = background.pixels.data() + from;
        if (a > area.left) render::CopyRunMasked(out, back + area.left, a - area.left, 0xFFFFFFu);
        if (b > a)
            render::CopyRunMasked(out + (a - area.left), bar->pixels.data() + from + a, b - a, 0xFFFFFFu);
        render::CopyRunMasked(out + (b - area.left), back + b, area.right - b, 0xFFFFFFu);
    }
}

// Columns [left, right) of the fill revealed in place over the background,
// a row at a time. Only for pictures of the bar's own size without alpha,
// which is what a bar keeps; false leaves the rest to the general path.
bool revealInPlace(BarControl* c, pixels::Picture& target, int left, int right) {
    const pixels::Picture* background = c->BackgroundImage ? &*c->BackgroundImage : nullptr;
    const pixels::Picture* bar = c->BarImage ? &*c->BarImage : nullptr;
    if (!isPlain(&target, target.width, c->Height) || !isPlain(background, target.width, target.height) ||
        (bar && !isPlain(bar, target.width, target.height)))
        return false;
    revealArea(*background, bar, left, right, pixels::Rect{0, 0, target.width, target.height},
               target.pixels.data(), static_cast<std::size_t>(target.width));
    return true;
}

// The whole fill squeezed into columns [0, n) (none when n is 0), straight
// into the frame, then the background beside them as far as column
// `right`, each byte written once. A move (`moving`) trusts the kept sums
// the shown frame vouches for. Only for pictures of the bar's own height
// without alpha, which is what a bar keeps; false, with nothing drawn,
// leaves the rest to the general path.
bool squeezeInPlace(BarControl* c, pixels::Picture& target, int n, int right, bool moving = false) {
    const pixels::Picture* background = c->BackgroundImage ? &*c->BackgroundImage : nullptr;
    const pixels::Picture* bar = c->BarImage ? &*c->BarImage : nullptr;
    if (!bar || !render::IsWellFormed(*bar) || !isPlain(&target, target.width, c->Height) ||
        !isPlain(background, target.width, target.height))
        return false;
    if (n > 0) {
        const bool trusted = moving && c->Shown.fillSummed;
        if (!render::SqueezeAcross(target, *bar, n, c->FillSums,
                                   trusted ? render::KeptSums::unchanged : render::KeptSums::compare))
            return false;
        c->Shown.fillSummed = render::HoldsSumsFor(c->FillSums, *bar);
    }
    const std::size_t width = static_cast<std::size_t>(target.width);
    const std::size_t end = static_cast<std::size_t>(std::clamp(right, 0, target.width));
    const std::size_t filled = std::min(end, static_cast<std::size_t>(n));
    for (int y = 0; y < target.height; ++y)  // pointers: a full bar leaves no column to name
        render::CopyRunMasked(target.pixels.data() + y * width + filled,
                              background->pixels.data() + y * width + filled, end - filled, 0xFFFFFFu);
    return true;
}

void drawFill(BarControl* c, pixels::Picture& target, double p, float f) {
    const pixels::Picture* background = c->BackgroundImage ? &*c->BackgroundImage : nullptr;
    if (c->ScaleType == kScale) {
        const int n = static_cast<int>(std::floor(f));
        const bool fills = n >= 1 && p >= c->RangeMin;
        if (squeezeInPlace(c, target, fills ? n : 0, target.width)) return;
        // The whole fill squeezed into the filled part.
        if (!c->BarImage) return;
        auto squeezed = render::CopyPicture(*c->BarImage);
        if (!squeezed) return;
        if (fills) render::Resize(*squeezed, n, c->Height);
        if (background) render::DrawPicture(target, *background, 0, 0);
        if (fills) render::DrawPicture(target, *squeezed, 0, 0);
    } else if (c->ScaleType == kNoScale) {
        // The fill revealed in place.
        int n = p >= 1 && c->BarImage ? std::clamp(roundToInt(f), 0, target.width) : 0;
        if (revealInPlace(c, target, 0, n)) return;
        if (background) render::DrawPicture(target, *background, 0, 0);
        if (p >= 1 && c->BarImage) {
            auto part = render::Crop(*c->BarImage, 0, 0, roundToInt(f), c->Height);
            if (part) render::DrawPicture(target, *part, 0, 0);
        }
    }
}

// The flat border round the shown part of the fill, columns left to right,
// drawn with the frame's (0, 0) at (-ox, -oy) of the target.
void drawBorder(BarControl* c, pixels::Picture& target, int left, int right, int ox = 0, int oy = 0) {
    if (!(c->BorderType & kBorderFlat)) return;
    const int top = -oy, bottom = c->Height - 1 - oy;
    left -= ox;
    right -= ox;
    render::DrawLine(target, left, top, right, top, c->BorderColor);
    render::DrawLine(target, left, top, left, c->Height - oy, c->BorderColor);
    render::DrawLine(target, right, top, right, c->Height - oy, c->BorderColor);
    render::DrawLine(target, left, bottom, right, bottom, c->BorderColor);
}

// The whole fill squeezed into a band `width` columns wide with its left
// edge at `left`: squeezed straight into a picture of the band's size, or
// the general way when the fill is not a plain picture.
std::optional<pixels::Picture> squeezedBand(BarControl* c, int width) {
    if (!c->BarImage || width < 1) return std::nullopt;
    auto band = pixels::makePicture(width, c->BarImage->height);
    if (band && render::SqueezeAcross(*band, *c->BarImage, width, c->FillSums)) return band;
    band = render::CopyPicture(*c->BarImage);
    if (band) render::Resize(*band, width, c->Height);
    return band;
}

void drawBand(BarControl* c, pixels::Picture& target, int left, int width) {
    const pixels::Picture* background = c->BackgroundImage ? &*c->BackgroundImage : nullptr;
    if (c->ScaleType == kNoScale) {
        if (revealInPlace(c, target, left, left + width)) return;
        if (background) render::DrawPicture(target, *background, 0, 0);
        int from = std::max(left, 0);
        if (c->BarImage && left + width > from) {
            auto part = render::Crop(*c->BarImage, from, 0, left + width - from, c->Height);
            if (part) render::DrawPicture(target, *part, from, 0);
        }
    } else if (c->ScaleType == kScale) {
        if (background) render::DrawPicture(target, *background, 0, 0);
        if (auto band = squeezedBand(c, width)) render::DrawPicture(target, *band, left, 0);
    }
}

// Lays the text out for the bar's room (cut to fit, with "..."), and makes
// its mask; kept in the record until the font, the text or the room change.
// A new text reuses the kept record's buffers, and one measure gives both
// the width and the height of the cell.
const PaintedText* laidOutText(BarControl* c, bool forAlpha) {
    platform::Font font = c->Font.get();
    int room = c->Width - c->IconWidth;
    std::optional<PaintedText>& kept = c->TextCache;
    if (kept && kept->font == font && kept->room == room && kept->forAlpha == forAlpha &&
        kept->text == c->Text)
        return &*kept;
    PaintedText laid;
    if (kept) {  // their capacity, not their pixels
        laid.mask.weights.swap(kept->mask.weights);
        laid.coverage.rgb.swap(kept->coverage.rgb);
    }
    kept.reset();
    laid.font = font;
    laid.layout = ++c->TextLayouts;
    laid.text = c->Text;
    laid.room = room;
    laid.forAlpha = forAlpha;
    platform::Size cell =
        c->Text.empty() ? platform::Size{} : platform::textExtent(font, c->Text.data(), c->Text.size());
    laid.height = cell.height;
    std::string s = c->Text;
    if (cell.width > room) {
        int cw = render::TextWidth(font, "C");
        int k = cw > 0 ? static_cast<int>(std::floor(static_cast<double>(room) / cw)) - 4 : 0;
        s = (k > 0 ? c->Text.substr(0, static_cast<std::size_t>(k)) : std::string()) + "...";
    }
    laid.drawn = render::MakeTextMask(font, s, forAlpha, &laid.mask, &laid.coverage);
    kept = std::move(laid);
    return &*kept;
}

// The laid-out text and where its cell goes on the frame.
struct PlacedText {
    const PaintedText* text = nullptr;
    int x = 0, y = 0;
};

// None when there is no text to draw. Out of memory while laying it out
// drops the kept layout: the bar is then shown without its text and the
// paint still succeeds, since a throw would fail the action and leave the
// canvas stale.
std::optional<PlacedText> placeText(BarControl* c, bool forAlpha) {
    if (c->Text.empty()) return std::nullopt;
    const PaintedText* text = nullptr;
    try {
        text = laidOutText(c, forAlpha);
    } catch (const std::bad_alloc&) {
        c->TextCache.reset();
        return std::nullopt;
    }
    if (!text->drawn) return std::nullopt;
    return PlacedText{text, c->IconImage ? 5 + c->IconWidth + 5 : 5,
                      static_cast<int>(std::floor(c->Height / 2.0 - text->height / 2.0))};
}

// Every pixel the text's passes can touch: its mask, and one pixel round
// it for the outline or the shadow.
pixels::Rect areaOf(const std::optional<PlacedText>& placed) {
    if (!placed) return {};
    const render::TextMask& mask = placed->text->mask;
    const int left = placed->x + mask.left, top = placed->y + mask.top;
    return {left - 1, top - 1, left + mask.width + 1, top + mask.height + 1};
}

// The text's passes, with the frame's (0, 0) at (-ox, -oy) of the target.
void drawText(BarControl* c, pixels::Picture& target, const PlacedText& placed, int ox, int oy) {
    const render::TextMask& mask = placed.text->mask;
    const int tx = placed.x - ox, ty = placed.y - oy;
    if (c->FontStyle == kTextBorder) {
        render::DrawTextMask(target, mask, tx - 1, ty, c->FontStyleColor);
        render::DrawTextMask(target, mask, tx, ty - 1, c->FontStyleColor);
        render::DrawTextMask(target, mask, tx + 1, ty, c->FontStyleColor);
        render::DrawTextMask(target, mask, tx, ty + 1, c->FontStyleColor);
    } else if (c->FontStyle == kTextShadow) {
        render::DrawTextMask(target, mask, tx + 1, ty, c->FontStyleColor);
        render::DrawTextMask(target, mask, tx, ty + 1, c->FontStyleColor);
    }
    render::DrawTextMask(target, mask, tx, ty, c->FontColor);
}

// The icon and the text over the fill and border, with the frame's (0, 0)
// at (-ox, -oy) of the target.
void drawIconAndText(BarControl* c, pixels::Picture& target, const std::optional<PlacedText>& placed, int ox,
                     int oy) {
    if (c->IconImage)
        render::DrawPicture(target, *c->IconImage, 5 - ox, c->Height / 2 - c->IconHeight / 2 - oy);
    if (placed) drawText(c, target, *placed, ox, oy);
}

// What every frame ends with: the icon, the text and the one copy to the
// screen; the text as drawn.
std::optional<PlacedText> finishFrame(BarControl* c, pixels::Picture& target) {
    std::optional<PlacedText> placed = placeText(c, target.hasAlpha);
    drawIconAndText(c, target, placed, 0, 0);
    platform::presentToCanvas(c->Canvas, target.view());
    return placed;
}

// Records the text a still frame now shows. The mask is copied only when
// the layout is new, so a move does not copy it again.
void rememberText(ShownText& shown, const std::optional<PlacedText>& placed) {
    if (!placed) {
        shown.known = true;
        shown.drawn = false;
        return;
    }
    shown.x = placed->x;
    shown.y = placed->y;
    if (shown.known && shown.drawn && shown.layout == placed->text->layout) return;
    try {
        shown.mask = placed->text->mask;
        shown.layout = placed->text->layout;
        shown.known = shown.drawn = true;
    } catch (const std::bad_alloc&) {
        // Kept: unknown sends the next new text through the areas of both.
        shown.known = shown.drawn = false;
    }
}

// Where the shown mask and a new one, both placed on the frame, weigh a
// pixel differently: the smallest rectangle round those pixels, empty when
// they weigh all alike. Only masks of the same size at the same place are
// compared (a new digit in a percentage keeps them so); for any others the
// whole of both.
pixels::Rect differingPixels(const ShownText& shown, const PlacedText& now, const pixels::Rect& both) {
    const render::TextMask &was = shown.mask, &mask = now.text->mask;
    const int left = now.x + mask.left, top = now.y + mask.top;
    if (shown.x + was.left != left || shown.y + was.top != top || was.width != mask.width ||
        was.height != mask.height || was.forAlpha != mask.forAlpha ||
        was.weights.size() != mask.weights.size())
        return both;
    const std::size_t row = static_cast<std::size_t>(mask.width) * 4;  // four weights a pixel
    const std::uint8_t* a = was.weights.data();
    const std::uint8_t* b = mask.weights.data();
    auto same = [&](int x) { return std::memcmp(a + x * 4, b + x * 4, 4) == 0; };
    int x0 = mask.width, x1 = -1, y0 = mask.height, y1 = -1;
    for (int y = 0; y < mask.height; ++y, a += row, b += row) {
        if (std::memcmp(a, b, row) == 0) continue;
        int first = 0, last = mask.width - 1;
        while (same(first)) ++first;
        while (same(last)) --last;
        x0 = std::min(x0, first);
        x1 = std::max(x1, last);
        y0 = std::min(y0, y);
        y1 = y;
    }
    if (x1 < 0) return {};
    // A pass drawn one pixel aside carries a difference one pixel farther.
    return {left + x0 - 1, top + y0 - 1, left + x1 + 2, top + y1 + 2};
}

pixels::Rect unite(const pixels::Rect& a, const pixels::Rect& b) {
    if (a.width() <= 0 || a.height() <= 0) return b;
    if (b.width() <= 0 || b.height() <= 0) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

pixels::Rect clipTo(const pixels::Rect& r, int width, int height) {
    pixels::Rect clipped{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width),
                         std::min(r.bottom, height)};
    if (clipped.width() <= 0 || clipped.height() <= 0) return {};
    return clipped;
}

}  // namespace

float FillWidth(int width, double p, int rangeMin, int rangeMax) {
    if (rangeMax <= rangeMin || p <= rangeMin) return 0.0f;
    return static_cast<float>(width) * static_cast<float>(p - rangeMin) /
           static_cast<float>(rangeMax - rangeMin);
}

std::int32_t ClippedPosition(const BarControl* c, std::int32_t position) {
    if (position < c->RangeMin) return 0;
    return std::min(position, c->RangeMax);
}

FrameKey KeyOfFrame(const BarControl* c, double p) {
    FrameKey key;
    if (!c->ComposeImage) return key;
    const float f = FillWidth(c->Width, p, c->RangeMin, c->RangeMax);
    key.scaleType = c->ScaleType;
    key.width = c->Width;
    key.height = c->Height;
    key.pictureWidth = c->ComposeImage->width;
    key.pictureHeight = c->ComposeImage->height;
    if (c->ScaleType == kScale) {
        const int n = static_cast<int>(std::floor(f));
        key.fillColumns = n >= 1 && p >= c->RangeMin ? n : 0;
    } else {
        key.fillColumns = p >= 1 && c->BarImage ? std::clamp(roundToInt(f), 0, key.pictureWidth) : 0;
    }
    key.borderRight = roundToInt(static_cast<double>(f) - 1.0);
    return key;
}

void PaintFrameAt(BarControl* c, double p) {
    c->Shown.still = c->Shown.fillSummed = false;
    if (!c->ComposeImage) return;
    float f = FillWidth(c->Width, p, c->RangeMin, c->RangeMax);
    pixels::Picture& target = *c->ComposeImage;
    drawFill(c, target, p, f);
    drawBorder(c, target, 0, roundToInt(static_cast<double>(f) - 1.0));
    const std::optional<PlacedText> placed = finishFrame(c, target);
    // A glide's frame between two positions is not a still one.
    c->Shown.still = p == std::floor(p);
    c->Shown.key = KeyOfFrame(c, p);
    c->Shown.textArea = areaOf(placed);
    rememberText(c->Shown.text, placed);
}

void PaintBandFrame(BarControl* c, int left, int width) {
    c->Shown.still = c->Shown.fillSummed = false;
    if (!c->ComposeImage) return;
    pixels::Picture& target = *c->ComposeImage;
    drawBand(c, target, left, width);
    drawBorder(c, target, left, left + width - 1);
    finishFrame(c, target);
}

namespace {

// A still frame of a bar of the given scale type whose pictures can be read
// column by column: what the area paths below need before they draw.
bool canRepaintPart(const BarControl* c, std::int32_t scaleType) {
    const pixels::Picture* background = c->BackgroundImage ? &*c->BackgroundImage : nullptr;
    const pixels::Picture* bar = c->BarImage ? &*c->BarImage : nullptr;
    return c->Signature == kSignature && c->Shown.still && !c->Animation.busy && !c->Animation.gliding &&
           c->ScaleType == scaleType && c->ComposeImage && isPlain(&*c->ComposeImage, c->Width, c->Height) &&
           isPlain(background, c->Width, c->Height) && (!bar || isPlain(bar, c->Width, c->Height));
}

// The frame at `key` inside `area` composed apart (fill or background,
// border, icon and text, exactly as the whole frame), put into the compose
// picture and shown. False, with nothing drawn, when out of memory.
bool recomposeArea(BarControl* c, const FrameKey& key, const std::optional<PlacedText>& placed,
                   const pixels::Rect& area) {
    pixels::Picture& target = *c->ComposeImage;
    const pixels::Picture* bar = c->BarImage ? &*c->BarImage : nullptr;
    auto part = pixels::makePicture(area.width(), area.height());
    if (!part) return false;
    revealArea(*c->BackgroundImage, bar, 0, key.fillColumns, area, part->pixels.data(),
               static_cast<std::size_t>(area.width()));
    drawBorder(c, *part, 0, key.borderRight, area.left, area.top);
    drawIconAndText(c, *part, placed, area.left, area.top);
    for (int y = area.top; y < area.bottom; ++y)
        std::copy_n(&part->at(0, y - area.top), area.width(), &target.at(area.left, y));
    platform::presentAreaToCanvas(c->Canvas, target.view(), area);
    return true;
}

// The shown text is the one a paint would draw now, where it would draw it.
bool showsText(const ShownText& shown, const std::optional<PlacedText>& placed) {
    if (!shown.known) return false;
    if (!placed) return !shown.drawn;
    return shown.drawn && shown.layout == placed->text->layout && shown.x == placed->x &&
           shown.y == placed->y;
}

// A scale bar's move: the whole fill squeezed again in place, the
// background only as far as `right`, then the border, icon and text, and
// only columns [0, right) shown. Every column the fill, the border, the
// icon or the text can touch lies left of `right`; the rest still shows the
// background of the last frame. False, with nothing drawn, when the squeeze
// cannot be done in place; the caller then paints the whole bar.
bool squeezeColumns(BarControl* c, const FrameKey& key, const std::optional<PlacedText>& placed, int right) {
    pixels::Picture& target = *c->ComposeImage;
    if (!squeezeInPlace(c, target, key.fillColumns, right, true)) return false;
    drawBorder(c, target, 0, key.borderRight);
    drawIconAndText(c, target, placed, 0, 0);
    platform::presentAreaToCanvas(c->Canvas, target.view(), pixels::Rect{0, 0, right, target.height});
    return true;
}

}  // namespace

bool RepaintMovedColumns(BarControl* c, double p) {
    const bool scale = c->ScaleType == kScale;
    if (!canRepaintPart(c, scale ? kScale : kNoScale)) return false;
    const FrameKey& was = c->Shown.key;
    const FrameKey key = KeyOfFrame(c, p);
    FrameKey same = key;  // the key with the old fill's edge and border
    same.fillColumns = was.fillColumns;
    same.borderRight = was.borderRight;
    if (!(same == was)) return false;
    const std::optional<PlacedText> placed = placeText(c, c->ComposeImage->hasAlpha);
    if (!showsText(c->Shown.text, placed)) return false;
    // From the first column that can change to the last: the fill's edges
    // and the border's right columns, old and new. Rounded half to even, the
    // border's column can be the first one the fill leaves empty.
    int left = std::min({was.fillColumns, key.fillColumns, was.borderRight, key.borderRight});
    int right = std::max({was.fillColumns, key.fillColumns, was.borderRight, key.borderRight}) + 1;
    if (scale) {
        // The squeeze changes every filled column, and the icon and the
        // text are drawn over them again, so all of theirs are redrawn.
        left = 0;
        right = std::max(right, c->Shown.textArea.right);
        if (c->IconImage) right = std::max(right, 5 + c->IconImage->width);
    }
    const pixels::Rect area = clipTo(pixels::Rect{left, 0, right, c->Height}, c->Width, c->Height);
    if (area.width() <= 0) return false;
    if (scale ? !squeezeColumns(c, key, placed, area.right) : !recomposeArea(c, key, placed, area))
        return false;
    c->Shown.key = key;
    return true;
}

bool RepaintTextArea(BarControl* c) {
    const ShownFrame& shown = c->Shown;
    if (!canRepaintPart(c, kNoScale)) return false;
    const FrameKey key = KeyOfFrame(c, ClippedPosition(c, c->Position));
    pixels::Picture& target = *c->ComposeImage;
    // Only the frame the last paint left.
    if (!(key == shown.key)) return false;
    // Out of memory here shows the bar without its text, as the whole paint would.
    const std::optional<PlacedText> placed = placeText(c, target.hasAlpha);
    const pixels::Rect newArea = areaOf(placed);
    pixels::Rect changed = unite(shown.textArea, newArea);
    if (placed && shown.text.known && shown.text.drawn)
        changed = differingPixels(shown.text, *placed, changed);
    const pixels::Rect area = clipTo(changed, c->Width, c->Height);
    if (area.width() <= 0) {
        // Nothing to draw; a surface that lost the picture since still gets it.
        platform::presentAreaToCanvas(c->Canvas, target.view(), pixels::Rect{});
        c->Shown.textArea = newArea;
        rememberText(c->Shown.text, placed);
        return true;
    }
    if (!recomposeArea(c, key, placed, area)) return false;
    c->Shown.textArea = newArea;
    rememberText(c->Shown.text, placed);
    return true;
}

int PaintBar(BarControl* c, std::int32_t position) {
    if (c->Signature != kSignature) return 0;
    if (position == c->Position && c->ForceRedraw == 0) return 0;
    std::int32_t previous = c->Position;
    c->Position = position;
    if (PaintMotionFrame(c, previous)) return 1;
    const double p = ClippedPosition(c, position);
    // A move within one column of a still frame shows the same pixels: only
    // a surface that lost them since gets the picture again.
    if (c->ForceRedraw == 0 && c->Shown.still && !c->Animation.gliding && KeyOfFrame(c, p) == c->Shown.key) {
        platform::presentAreaToCanvas(c->Canvas, c->ComposeImage->view(), pixels::Rect{});
        return 1;
    }
    if (c->ForceRedraw == 0 && RepaintMovedColumns(c, p)) return 1;
    PaintFrameAt(c, p);
    return 1;
}

}  // namespace vb::control
