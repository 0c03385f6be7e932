#include "control/bar_paint.h"

#include <cmath>
#include <string>

#include "control/bar_control.h"
#include "render/raster.h"
#include "render/rounding.h"
#include "render/text.h"

namespace vb::control {

namespace {

int roundToInt(double value) { return static_cast<int>(render::RoundHalfEven(value)); }

void drawFill(BarControl* c, render::Picture& target, int p, float f) {
    const render::Picture* background = c->BackgroundImage ? &*c->BackgroundImage : nullptr;
    if (c->ScaleType == kScale) {
        // The whole fill squeezed into the filled part.
        if (!c->BarImage) return;
        auto squeezed = render::CopyPicture(*c->BarImage);
        if (!squeezed) return;
        int n = static_cast<int>(std::floor(f));
        bool fills = n >= 1 && p >= c->RangeMin;
        if (fills) render::Resize(*squeezed, n, c->Height);
        if (background) render::DrawPicture(target, *background, 0, 0);
        if (fills) render::DrawPicture(target, *squeezed, 0, 0);
    } else if (c->ScaleType == kNoScale) {
        // The fill revealed in place.
        if (background) render::DrawPicture(target, *background, 0, 0);
        if (p >= 1 && c->BarImage) {
            auto part = render::Crop(*c->BarImage, 0, 0, roundToInt(f), c->Height);
            if (part) render::DrawPicture(target, *part, 0, 0);
        }
    }
}

void drawBorder(BarControl* c, render::Picture& target, float f) {
    if (!(c->BorderType & kBorderFlat)) return;
    int e = roundToInt(static_cast<double>(f) - 1.0);
    render::DrawLine(target, 0, 0, e, 0, c->BorderColor);
    render::DrawLine(target, 0, 0, 0, c->Height, c->BorderColor);
    render::DrawLine(target, e, 0, e, c->Height, c->BorderColor);
    render::DrawLine(target, 0, c->Height - 1, e, c->Height - 1, c->BorderColor);
}

void drawText(BarControl* c, render::Picture& target) {
    if (c->Text.empty()) return;
    platform::Font font = c->Font;
    int th = render::TextHeight(font, c->Text);
    int ty = static_cast<int>(std::floor(c->Height / 2.0 - th / 2.0));
    std::string s = c->Text;
    int room = c->Width - c->IconWidth;
    if (render::TextWidth(font, c->Text) > room) {
        int cw = render::TextWidth(font, "C");
        int k = cw > 0 ? static_cast<int>(std::floor(static_cast<double>(room) / cw)) - 4 : 0;
        s = (k > 0 ? c->Text.substr(0, static_cast<std::size_t>(k)) : std::string()) + "...";
    }
    int tx = c->IconImage ? 5 + c->IconWidth + 5 : 5;
    if (c->FontStyle == kTextBorder) {
        render::DrawText(target, font, tx - 1, ty, s, c->FontStyleColor);
        render::DrawText(target, font, tx, ty - 1, s, c->FontStyleColor);
        render::DrawText(target, font, tx + 1, ty, s, c->FontStyleColor);
        render::DrawText(target, font, tx, ty + 1, s, c->FontStyleColor);
    } else if (c->FontStyle == kTextShadow) {
        render::DrawText(target, font, tx + 1, ty, s, c->FontStyleColor);
        render::DrawText(target, font, tx, ty + 1, s, c->FontStyleColor);
    }
    render::DrawText(target, font, tx, ty, s, c->FontColor);
}

}  // namespace

float FillWidth(int width, int p, int rangeMin, int rangeMax) {
    if (rangeMax <= rangeMin || p <= rangeMin) return 0.0f;
    return static_cast<float>(width) * static_cast<float>(p - rangeMin) /
           static_cast<float>(rangeMax - rangeMin);
}

int PaintBar(BarControl* c, std::int32_t position) {
    if (c->Signature != kSignature) return 0;
    if (position == c->Position && c->ForceRedraw == 0) return 0;
    c->Position = position;
    int p = position;
    if (p < c->RangeMin) p = 0;
    if (p > c->RangeMax) p = c->RangeMax;
    float f = FillWidth(c->Width, p, c->RangeMin, c->RangeMax);
    if (c->ComposeImage) {
        render::Picture& target = *c->ComposeImage;
        drawFill(c, target, p, f);
        drawBorder(c, target, f);
        if (c->IconImage)
            render::DrawPicture(target, *c->IconImage, 5, c->Height / 2 - c->IconHeight / 2);
        drawText(c, target);
        platform::presentToCanvas(c->Canvas, target.view());
    }
    return 1;
}

}  // namespace vb::control
