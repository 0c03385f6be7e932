// The control record, its construction, its registry and the operations
// that are not painting (those are in bar_paint.cpp).
#include "control/bar_control.h"
#include "control/window_properties.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <new>
#include <unordered_map>

#include "control/accessible.h"
#include "control/bar_paint.h"
#include "control/canvas_state.h"
#include "control/motion.h"
#include "render/bar_image.h"
#include "render/raster.h"

namespace vb::control {

namespace {

// Every live control, indexed so that no look-up grows with the number of
// bars: by address for the live test, by canvas for the window procedures.
// Each canvas keeps its controls in the order they were made, so the
// oldest one answers, as a walk through the list of all bars would.
struct Registry {
    std::unordered_map<const BarControl*, std::uint64_t> order;  // control -> when it was made
    std::unordered_map<platform::Window, std::map<std::uint64_t, BarControl*>> byCanvas;
    std::uint64_t made = 0;

    void add(BarControl* c) {
        std::uint64_t when = made++;
        byCanvas[c->Canvas].emplace(when, c);
        try {
            order.emplace(c, when);
        } catch (...) {
            forget(c->Canvas, when);
            throw;
        }
    }
    void remove(BarControl* c) {
        auto it = order.find(c);
        if (it == order.end()) return;
        forget(c->Canvas, it->second);
        order.erase(it);
    }
    void forget(platform::Window canvas, std::uint64_t when) {
        auto it = byCanvas.find(canvas);
        if (it == byCanvas.end()) return;
        it->second.erase(when);
        if (it->second.empty()) byCanvas.erase(it);
    }
};

// Process-wide singletons are never destroyed: the library's unload step
// and the windows' last messages may still reach them during exit.
Registry& registry() {
    static auto* controls = new Registry;
    return *controls;
}

// The frame round the background, in the background border colour.
void drawBackgroundFrame(pixels::Picture& picture, int width, int height, std::uint32_t colour) {
    render::DrawLine(picture, 0, 0, width, 0, colour);
    render::DrawLine(picture, 0, 0, 0, height, colour);
    render::DrawLine(picture, width - 1, 0, width - 1, height, colour);
    render::DrawLine(picture, 0, height - 1, width, height - 1, colour);
}

// Called by every write of the fill or the background: the frame shown is
// no longer the one a paint would make (a move must draw it whole), and no
// longer vouches for the squeeze's kept sums (the next squeeze compares the
// fill again).
void picturesWritten(BarControl* c) { c->Shown.still = c->Shown.fillSummed = false; }

// A forced repaint: the paint does nothing at an unchanged position otherwise.
void forcedRepaint(BarControl* c) {
    c->ForceRedraw = 1;
    c->Methods->SetCurrentPosition(c, c->Position);
    c->ForceRedraw = 0;
}

// MulDiv: a * b / c rounded, with a 64-bit intermediate.
int mulDiv(int a, int b, int c) {
    long long product = static_cast<long long>(a) * b;
    long long half = c / 2;
    long long q = product >= 0 ? (product + half) / c : (product - half) / c;
    if (q > INT32_MAX || q < INT32_MIN) return -1;
    return static_cast<int>(q);
}

// The paint, and the word to screen readers when the shown percentage moved.
int SetCurrentPositionOp(BarControl* c, std::int32_t position) {
    // A busy bar tells screen readers no value: they hear of it when it ends.
    if (position == c->Position || c->Animation.busy) return PaintBar(c, position);
    int before = ShownPercent(c);
    int painted = PaintBar(c, position);
    if (painted && ShownPercent(c) != before)
        platform::raiseAccessEvent(c->Canvas, platform::AccessEvent::ValueChange);
    return painted;
}

int GetCurrentPositionOp(BarControl* c) { return c->Position; }

int SetTextOp(BarControl* c, const std::string& text) {
    if (text == c->Text) return 0;
    bool renamed = AccessibleName(text) != AccessibleName(c->Text);
    c->Text = text;
    // Only the text's area when nothing else changed since the last paint.
    if (!RepaintTextArea(c)) forcedRepaint(c);
    if (renamed) platform::raiseAccessEvent(c->Canvas, platform::AccessEvent::NameChange);
    return 1;
}

std::string GetTextOp(BarControl* c) { return c->Text; }

int SetFontOp(BarControl* c, const std::string& name, std::int32_t size, std::uint32_t colour,
              std::int32_t style, std::uint32_t styleColour, std::int32_t flags) {
    platform::FontRequest request;
    request.face = name;
    request.height = -mulDiv(size, platform::logicalPixelsPerInchY(), 72);
    request.weight = (flags & kFontBold) ? 700 : 400;
    request.italic = (flags & kFontItalic) != 0;
    request.underline = (flags & kFontUnderline) != 0;
    request.strikeOut = (flags & kFontStrikeOut) != 0;
    request.proofQuality = (flags & kFontProofQuality) != 0;
    platform::OwnedFont font(platform::createFont(request));
    if (!font) return 0;
    c->TextCache.reset();
    c->Font = std::move(font);
    c->FontSize = size;
    c->FontColor = colour;
    c->FontStyle = style;
    c->FontFlags = flags;
    c->FontStyleColor = styleColour;
    forcedRepaint(c);
    c->FontName = name;
    return 1;
}

int SetGradientColorsOp(BarControl* c, render::BarStops* stops, int adopt) {
    if (!stops) return 0;
    auto image = render::BuildBarImage(c->Width, c->Height, kColorGradient, *stops, 0, c->Glossy);
    if (!image) return 0;
    c->BarImage = std::move(image);
    picturesWritten(c);
    c->ColorType = kColorGradient;
    if (adopt && stops != c->ColorStops.get()) c->ColorStops.reset(stops);
    forcedRepaint(c);
    return 1;
}

int SetSolidColorOp(BarControl* c, std::uint32_t colour) {
    render::BarStops none(1);
    auto image = render::BuildBarImage(c->Width, c->Height, kColorSolid, none, colour, c->Glossy);
    if (!image) return 0;
    c->BarImage = std::move(image);
    picturesWritten(c);
    c->ColorType = kColorSolid;
    c->SolidColor = colour;
    forcedRepaint(c);
    return 1;
}

pixels::Rect canvasRectInParent(BarControl* c) {
    pixels::Rect r, parent;
    platform::windowRect(c->Canvas, &r);
    platform::windowRect(platform::parentOf(c->Canvas), &parent);
    return pixels::Rect{r.left - parent.left, r.top - parent.top, r.right - parent.left,
                        r.bottom - parent.top};
}

int SetXOp(BarControl* c, std::int32_t x) {
    pixels::Rect r = canvasRectInParent(c);
    platform::moveWindow(c->Canvas, x, r.top, r.width(), r.height());
    return 1;
}

int GetXOp(BarControl* c) { return canvasRectInParent(c).left; }

int SetYOp(BarControl* c, std::int32_t y) {
    pixels::Rect r = canvasRectInParent(c);
    platform::moveWindow(c->Canvas, r.left, y, r.width(), r.height());
    return 1;
}

int GetYOp(BarControl* c) { return canvasRectInParent(c).top; }

int SetWidthOp(BarControl* c, std::int32_t width) {
    c->Width = width;
    pixels::Rect r = canvasRectInParent(c);
    platform::moveWindow(c->Canvas, r.left, r.top, width, r.height());
    if (c->BarImage) render::Resize(*c->BarImage, width, c->BarImage->height);
    if (c->BackgroundImage) render::Resize(*c->BackgroundImage, width, c->BackgroundImage->height);
    picturesWritten(c);
    c->Methods->SetCurrentPosition(c, c->Position);
    return 1;
}

int GetWidthOp(BarControl* c) {
    pixels::Rect r;
    return platform::windowRect(c->Canvas, &r) ? r.width() : 0;
}

int SetHeightOp(BarControl* c, std::int32_t height) {
    c->Height = height;
    pixels::Rect r = canvasRectInParent(c);
    platform::moveWindow(c->Canvas, r.left, r.top, r.width(), height);
    if (c->BarImage) render::Resize(*c->BarImage, c->BarImage->width, height);
    if (c->BackgroundImage) render::Resize(*c->BackgroundImage, c->BackgroundImage->width, height);
    picturesWritten(c);
    c->Methods->SetCurrentPosition(c, c->Position);
    return 1;
}

int GetHeightOp(BarControl* c) {
    pixels::Rect r;
    return platform::windowRect(c->Canvas, &r) ? r.height() : 0;
}

platform::Window GetCanvasOp(BarControl* c) { return c->Canvas; }

platform::Window GetCanvasHandleOp(BarControl* c) { return c->Canvas; }

int FreeOp(BarControl* c) {
    StopMotion(c);
    // No screen reader may reach the record once it is gone.
    platform::disconnectAccessible(c->Canvas);
    // The tooltip window outlives every bar: it must not keep a tool for a
    // window that is gone.
    if (c->TooltipParent) platform::deleteTooltipTool(c->TooltipParent, c->Canvas);
    registry().remove(c);
    delete c;
    return 1;
}

int RebuildOp(BarControl* c) {
    auto background = pixels::makePicture(c->Width, c->Height);
    if (!background) return 0;
    render::FillRect(*background, 0, 0, c->Width, c->Height, c->BackgroundColor);
    drawBackgroundFrame(*background, c->Width, c->Height, c->BackgroundBorderColor);
    c->BackgroundImage = std::move(background);
    if (c->ComposeImage)
        render::Resize(*c->ComposeImage, c->Width, c->Height);
    else
        c->ComposeImage = pixels::makePicture(c->Width, c->Height);
    if (c->ColorType == kColorGradient && c->ColorStops) {
        c->Methods->SetGradientColors(c, c->ColorStops.get(), 0);
    } else if (c->ColorType == kColorSolid &&
               (!c->BarImage || c->BarImage->width != c->Width || c->BarImage->height != c->Height)) {
        // A solid bar that changed size is drawn anew at the new size rather
        // than stretched or cropped from a stale picture.
        render::BarStops none(1);
        auto image = render::BuildBarImage(c->Width, c->Height, kColorSolid, none, c->SolidColor, c->Glossy);
        if (image) c->BarImage = std::move(image);
    }
    picturesWritten(c);
    forcedRepaint(c);
    return 1;
}

int ResizeOp(BarControl* c, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
             std::int32_t) {
    c->Width = width;
    c->Height = height;
    c->Methods->Rebuild(c);
    if (platform::isWindow(c->Canvas)) {
        platform::moveWindow(c->Canvas, x, y, width, height);
        // The paint above reached a surface of the old size; show the whole
        // composed picture now that the surface has the new one.
        if (c->ComposeImage) platform::presentToCanvas(c->Canvas, c->ComposeImage->view());
    }
    return 1;
}

int SetRangeOp(BarControl* c, const std::int32_t pair[2]) {
    int before = ShownPercent(c);
    c->RangeMin = pair[0];
    c->RangeMax = pair[1];
    if (ShownPercent(c) != before && !c->Animation.busy)
        platform::raiseAccessEvent(c->Canvas, platform::AccessEvent::ValueChange);
    return 1;
}

int GetRangeOp(BarControl* c, std::int32_t pair[2]) {
    pair[0] = c->RangeMin;
    pair[1] = c->RangeMax;
    return 1;
}

int SetIconOp(BarControl* c, const pixels::Picture* image) {
    c->ForceRedraw = 1;
    c->IconImage.reset();
    c->IconWidth = c->IconHeight = 0;
    if (image) {
        c->IconImage = render::CopyPicture(*image);
        if (c->IconImage) {
            c->IconWidth = image->width;
            c->IconHeight = image->height;
        }
    }
    c->Methods->SetCurrentPosition(c, c->Position);
    c->ForceRedraw = 0;
    return 1;
}

int SetTooltipOp(BarControl* c, const char* text) {
    platform::Window tooltip = platform::threadTooltipWindow();
    platform::Window parent = platform::parentOf(c->Canvas);
    if (platform::replaceTooltipTool(tooltip, parent, c->Canvas, text)) c->TooltipParent = parent;
    return 1;
}

int SetCursorOp(BarControl* c, std::int32_t cursor, std::int32_t isHandle) {
    if (isHandle) {
        SetCanvasCursorHandle(c->Canvas,
                              reinterpret_cast<platform::Cursor>(static_cast<std::intptr_t>(cursor)));
    } else {
        SetCanvasCursorNumber(c->Canvas, cursor);
    }
    return 1;
}

int SetUseGlossyOp(BarControl* c, std::int32_t glossy) {
    if (glossy == c->Glossy) return 1;
    render::BarStops none(1);
    const render::BarStops& stops = c->ColorStops ? *c->ColorStops : none;
    auto image = render::BuildBarImage(c->Width, c->Height, c->ColorType, stops, c->SolidColor, glossy);
    if (!image) return 0;
    c->BarImage = std::move(image);
    picturesWritten(c);
    c->Glossy = glossy;
    forcedRepaint(c);
    return 1;
}

int GetUseGlossyOp(BarControl* c) { return c->Glossy; }

}  // namespace

const BarControlMethods kBarControlMethods = {
    SetCurrentPositionOp,
    GetCurrentPositionOp,
    SetTextOp,
    GetTextOp,
    SetFontOp,
    SetGradientColorsOp,
    SetSolidColorOp,
    SetXOp,
    GetXOp,
    SetYOp,
    GetYOp,
    SetWidthOp,
    GetWidthOp,
    SetHeightOp,
    GetHeightOp,
    GetCanvasOp,
    GetCanvasHandleOp,
    FreeOp,
    RebuildOp,
    ResizeOp,
    SetRangeOp,
    GetRangeOp,
    SetIconOp,
    SetTooltipOp,
    SetCursorOp,
    SetUseGlossyOp,
    GetUseGlossyOp,
};

BarControl::~BarControl() {
    if (platform::isWindow(Canvas)) platform::destroyWindow(Canvas);
}

BarControl* ConstructBarControl(platform::Window container, const pixels::Rect& area,
                                const CreateProperties& props, const render::BarStops& stops) {
    const int x = area.left, y = area.top, width = area.width(), height = area.height();
    const std::int32_t colorType = props.colorType, scaleType = props.scaleType;
    const std::uint32_t solidColor = props.solidColor, backgroundColor = props.backgroundColor;
    const std::uint32_t backgroundBorderColor = props.backgroundBorderColor, borderColor = props.borderColor;
    const std::int32_t borderFlags = props.borderFlags | (props.noGlossy ? kNoGlossyFlag : 0);
    std::int32_t glossy = (borderFlags & kNoGlossyFlag) ? 0 : 1;
    auto barImage = render::BuildBarImage(width, height, colorType, stops, solidColor, glossy);
    if (!barImage) return nullptr;
    auto background = pixels::makePicture(width, height);
    if (!background) return nullptr;
    render::FillRect(*background, 0, 0, width, height, backgroundColor);
    drawBackgroundFrame(*background, width, height, backgroundBorderColor);
    std::int32_t borderType = 0;
    if (borderFlags & kBorderFlat) {
        borderType = kBorderFlat;
        render::DrawLine(*barImage, 0, 0, width - 1, 0, borderColor);
        render::DrawLine(*barImage, 0, 0, 0, height, borderColor);
        render::DrawLine(*barImage, width - 1, 0, width - 1, height, borderColor);
        render::DrawLine(*barImage, 0, height - 1, width - 1, height - 1, borderColor);
    }
    auto backgroundCopy = render::CopyPicture(*background);
    BarControl* c = new (std::nothrow) BarControl;
    if (!c || !backgroundCopy) {
        delete c;
        return nullptr;
    }
    c->ColorType = colorType;
    c->BarImage = std::move(barImage);
    c->SolidColor = solidColor;
    c->BackgroundColor = backgroundColor;
    c->BackgroundBorderColor = backgroundBorderColor;
    c->BorderColor = borderColor;
    c->Width = width;
    c->Height = height;
    c->ComposeImage = std::move(background);
    c->BackgroundImage = std::move(backgroundCopy);
    c->ScaleType = scaleType;
    c->BorderType = borderType;
    c->Glossy = glossy;
    // The window system, too, can run out of memory while the canvas is
    // made: the record (and the canvas, if made) goes then.
    try {
        c->Canvas = platform::createWindow(container, pixels::Rect{x, y, x + width, y + height},
                                           platform::WindowKind::Canvas);
        if (c->Canvas) {
            InitCanvasState(c->Canvas);
            platform::presentToCanvas(c->Canvas, c->BarImage->view());
        }
        std::size_t count = static_cast<std::size_t>(std::max(render::UpperBound(stops), 0));
        std::vector<render::ColorStop> given(stops.begin(), stops.begin() + count);
        c->ColorStops = std::make_unique<render::BarStops>(render::MakeBarStops(given));
        registry().add(c);
    } catch (...) {
        delete c;
        return nullptr;
    }
    return c;
}

bool IsLiveControl(const BarControl* control) { return control && registry().order.count(control) != 0; }

BarControl* ControlOnWindow(platform::Window window) {
    auto* control = static_cast<BarControl*>(platform::property(window, prop::kControl));
    return IsLiveControl(control) ? control : nullptr;
}

BarControl* ControlOfCanvas(platform::Window canvas) {
    const auto& byCanvas = registry().byCanvas;
    auto it = byCanvas.find(canvas);
    return it == byCanvas.end() || it->second.empty() ? nullptr : it->second.begin()->second;
}

std::size_t ControlCount() { return registry().order.size(); }

}  // namespace vb::control
