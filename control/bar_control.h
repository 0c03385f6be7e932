// The bar control: one record per covered host object, reached only
// through its table of operations.
//
// Fixed shapes, kept on purpose (do not modernise them away): the record
// starts with its method table, the 27 operations keep their slot order,
// the fields keep their names, and a look-changing operation repaints by
// setting ForceRedraw, painting at the current position and clearing it
// (SetText first tries the text's area alone, RepaintTextArea in
// bar_paint.h, which paints the same pixels when nothing else changed).
// A resize moves the container first; the record then takes the new size,
// rebuilds its pictures and paints before its canvas moves (ResizeOp). The
// action layer and the tests lean on all of it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "control/bar_paint.h"
#include "control/motion.h"
#include "pixels/picture.h"
#include "platform/platform.h"
#include "render/bar_image.h"
#include "render/colour_stops.h"
#include "render/squeeze.h"
#include "render/text.h"

namespace vb::control {

constexpr std::int32_t kSignature = 1146;
constexpr std::int32_t kColorSolid = render::kKindSolid;
constexpr std::int32_t kColorGradient = render::kKindGradient;
constexpr std::int32_t kScale = 0;
constexpr std::int32_t kNoScale = 1;
constexpr std::int32_t kBorderFlat = 4;
constexpr std::int32_t kNoGlossyFlag = 8;
constexpr std::int32_t kTextBorder = 1;
constexpr std::int32_t kTextShadow = 2;

// Bits of SetFont's flags: the font's look beyond face and size.
enum FontFlag : std::int32_t {
    kFontUnderline = 4,
    kFontStrikeOut = 8,
    kFontProofQuality = 16,
    kFontBold = 256,
    kFontItalic = 512,
};

struct BarControl;

// The text as the last paint laid it out, kept while what it was made from
// (font, text, room beside the icon, kind of picture) stays the same.
// SetFont drops it: a new font may reuse the old one's handle.
struct PaintedText {
    platform::Font font = nullptr;
    std::string text;
    int room = 0;
    bool forAlpha = false;
    int height = 0;            // of the text's cell
    bool drawn = false;        // false: the shown string leaves no mark
    std::uint64_t layout = 0;  // told apart from the bar's earlier layouts
    render::TextMask mask;
    platform::TextCoverage coverage;  // the platform's part, kept for its buffer
};

// The 27 operations, in slot order. Each takes the control first and
// returns 1 for success, 0 for failure (GetText returns the text).
struct BarControlMethods {
    int (*SetCurrentPosition)(BarControl*, std::int32_t position);
    int (*GetCurrentPosition)(BarControl*);
    int (*SetText)(BarControl*, const std::string& text);
    std::string (*GetText)(BarControl*);
    int (*SetFont)(BarControl*, const std::string& name, std::int32_t size, std::uint32_t colour,
                   std::int32_t style, std::uint32_t styleColour, std::int32_t flags);
    int (*SetGradientColors)(BarControl*, render::BarStops* stops, int adopt);
    int (*SetSolidColor)(BarControl*, std::uint32_t colour);
    int (*SetX)(BarControl*, std::int32_t x);
    int (*GetX)(BarControl*);
    int (*SetY)(BarControl*, std::int32_t y);
    int (*GetY)(BarControl*);
    int (*SetWidth)(BarControl*, std::int32_t width);
    int (*GetWidth)(BarControl*);
    int (*SetHeight)(BarControl*, std::int32_t height);
    int (*GetHeight)(BarControl*);
    platform::Window (*GetCanvas)(BarControl*);
    platform::Window (*GetCanvasHandle)(BarControl*);
    int (*Free)(BarControl*);
    int (*Rebuild)(BarControl*);
    int (*Resize)(BarControl*, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                  std::int32_t flag);
    int (*SetRange)(BarControl*, const std::int32_t pair[2]);
    int (*GetRange)(BarControl*, std::int32_t pair[2]);
    int (*SetIcon)(BarControl*, const pixels::Picture* image);
    int (*SetTooltip)(BarControl*, const char* text);
    int (*SetCursor)(BarControl*, std::int32_t cursor, std::int32_t isHandle);
    int (*SetUseGlossy)(BarControl*, std::int32_t glossy);
    int (*GetUseGlossy)(BarControl*);
};

extern const BarControlMethods kBarControlMethods;

struct BarControl {
    const BarControlMethods* Methods = &kBarControlMethods;
    std::int32_t ColorType = kColorSolid;
    std::uint32_t SolidColor = 0x00FF00;
    std::optional<pixels::Picture> BarImage;
    std::int32_t Signature = kSignature;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::uint32_t BackgroundColor = 0x008C00;
    std::uint32_t BackgroundBorderColor = 0;
    std::uint32_t BorderColor = 0;
    std::optional<pixels::Picture> ComposeImage;
    std::optional<pixels::Picture> BackgroundImage;
    platform::Window Canvas = nullptr;
    std::int32_t ScaleType = kNoScale;
    std::int32_t Position = 100;
    std::int32_t BorderType = 0;
    std::string Text;
    platform::OwnedFont Font;
    std::int32_t FontSize = 0;
    std::optional<std::string> FontName;
    std::uint32_t FontColor = 0;
    std::int32_t FontStyle = 0;
    std::int32_t FontFlags = 0;
    std::uint32_t FontStyleColor = 0;
    std::int32_t ForceRedraw = 0;
    std::unique_ptr<render::BarStops> ColorStops;
    std::int32_t RangeMin = 0;
    std::int32_t RangeMax = 100;
    std::optional<pixels::Picture> IconImage;
    std::int32_t IconHeight = 0;
    std::int32_t IconWidth = 0;
    std::int32_t Glossy = 1;
    platform::Window TooltipParent = nullptr;  // set once the bar has a tooltip tool
    std::optional<PaintedText> TextCache;
    render::SqueezeSums FillSums;   // a scale bar's fill, summed for its squeeze
    std::uint64_t TextLayouts = 0;  // layouts made so far: the next one's number
    // What Create put under "ObjectName" and "lua_state": readers of those
    // properties believe them only when they match these.
    std::string ObjectName;
    void* LuaState = nullptr;
    Motion Animation;  // busy band and glide; still unless a script asks
    ShownFrame Shown;

    BarControl() = default;
    BarControl(const BarControl&) = delete;
    BarControl& operator=(const BarControl&) = delete;
    ~BarControl();
};

// What a bar is made from: Create's properties table as read, with the
// defaults of a bar made without one.
struct CreateProperties {
    std::int32_t colorType = kColorSolid;
    std::uint32_t solidColor = 0x00FF00;
    std::uint32_t backgroundColor = 0x008C00;
    std::uint32_t backgroundBorderColor = 0;
    std::uint32_t borderColor = 0;
    std::int32_t borderFlags = kBorderFlat;  // kBorderFlat, kNoGlossyFlag
    std::int32_t scaleType = kNoScale;
    std::int32_t gradientHandle = -1;  // the colour object of a gradient; -1 for none
    bool noGlossy = false;
};

// The constructor: builds the pictures and the canvas window over `area`
// of `container`, the gradient from `stops`; null when a picture or the
// record cannot be made.
BarControl* ConstructBarControl(platform::Window container, const pixels::Rect& area,
                                const CreateProperties& props, const render::BarStops& stops);

// The control stored as "iObject" on a window, when it is one we made.
BarControl* ControlOnWindow(platform::Window window);
bool IsLiveControl(const BarControl* control);
// The live control whose canvas this is, found in the registry.
BarControl* ControlOfCanvas(platform::Window canvas);
std::size_t ControlCount();

// Slot 15 through the table, for callers that only need the live test.
inline platform::Window GetCanvas(BarControl* control) { return control->Methods->GetCanvas(control); }

}  // namespace vb::control
