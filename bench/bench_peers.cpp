// One table: each workload of the bar beside a peer doing the same visible
// work in this process (pixman, cairo, memcpy, zlib, bare Lua calls).
// Before timing, each pair's results are compared once, and the pictures
// are written under bench-out/ so a person can look at both.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <cairo.h>
#include <pixman.h>
#include <sys/stat.h>
#include <zlib.h>

#include "bar_page.h"
#include "binding/args.h"
#include "binding/host_objects.h"
#include "binding/last_error.h"
#include "control/bar_control.h"
#include "control/motion.h"
#include "events/dispatcher.h"
#include "platform/sim/sim.h"
#include "render/bar_image.h"
#include "render/png_writer.h"
#include "script/class_script_block.h"
#include "script/jc_block.h"
#include "script/unpack.h"
#include "tools/jc/pack.h"

namespace {

using namespace vb;
using Clock = std::chrono::steady_clock;
using Pixels = std::vector<std::uint32_t>;

// ---- timing ------------------------------------------------------------------

// Nanoseconds per call: batches of about 2 ms, the two sides alternating so
// both see the same machine; the best batch of each counts, as the other
// workers sharing the cores only ever add time.
struct Pair {
    double ours = 1e300, peer = 1e300;
};

double timeBatch(const std::function<void()>& work, long n) {
    auto start = Clock::now();
    for (long i = 0; i < n; ++i) work();
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / n;
}

long batchSize(const std::function<void()>& work) {
    long n = 1;
    while (n < (1L << 24)) {
        double per = timeBatch(work, n);
        if (per * n > 2e6) break;
        n *= 2;
    }
    return std::max(1L, n);
}

Pair measure(const std::function<void()>& ours, const std::function<void()>& peer) {
    Pair p;
    long nOurs = batchSize(ours), nPeer = batchSize(peer);
    for (int round = 0; round < 25; ++round) {
        p.ours = std::min(p.ours, timeBatch(ours, nOurs));
        p.peer = std::min(p.peer, timeBatch(peer, nPeer));
    }
    return p;
}

// For workloads that cannot share one set-up: a few rounds, each switching
// to the peer's set-up, timing it, switching to ours and timing that.
Pair measurePhased(const std::function<void()>& ours, const std::function<void()>& peer,
                   const std::function<void()>& toOurs, const std::function<void()>& toPeer) {
    Pair p;
    long nOurs = 0, nPeer = 0;
    for (int round = 0; round < 5; ++round) {
        toPeer();
        if (!nPeer) nPeer = batchSize(peer);
        for (int i = 0; i < 5; ++i) p.peer = std::min(p.peer, timeBatch(peer, nPeer));
        toOurs();
        if (!nOurs) nOurs = batchSize(ours);
        for (int i = 0; i < 5; ++i) p.ours = std::min(p.ours, timeBatch(ours, nOurs));
    }
    return p;
}

// ---- the table ---------------------------------------------------------------

struct Row {
    std::string work, peerName;
    Pair time;
    double target;  // largest ratio that meets the goal; 0 for none
    std::string check;
    bool checked;
};

std::string human(double ns) {
    char text[32];
    if (ns >= 1e6)
        std::snprintf(text, sizeof text, "%.2f ms", ns / 1e6);
    else if (ns >= 1e3)
        std::snprintf(text, sizeof text, "%.2f us", ns / 1e3);
    else
        std::snprintf(text, sizeof text, "%.0f ns", ns);
    return text;
}

// ---- pictures --------------------------------------------------------------------

const char* kOut = "bench-out";

// Our packed colour (red low) from cairo's or pixman's x8r8g8b8 (blue low).
std::uint32_t swapRedBlue(std::uint32_t c) {
    return (c & 0xFF00FF00u) | ((c & 0xFF) << 16) | ((c >> 16) & 0xFF);
}

void writePng(const std::string& file, int w, int h, const Pixels& pixels) {
    pixels::Picture p;
    p.width = w;
    p.height = h;
    p.pixels = pixels;
    for (auto& px : p.pixels) px &= 0xFFFFFF;
    render::WritePng(p, (std::string(kOut) + "/" + file).c_str());
}

struct Difference {
    int largest = 0;
    double mean = 0;
};

Difference compare(const Pixels& a, const Pixels& b) {
    Difference d;
    double sum = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        for (int s = 0; s < 24; s += 8) {
            int delta = std::abs(int((a[i] >> s) & 0xFF) - int((b[i] >> s) & 0xFF));
            d.largest = std::max(d.largest, delta);
            sum += delta;
        }
    d.mean = a.empty() ? 0 : sum / (3.0 * a.size());
    if (a.size() != b.size()) d.largest = 256;
    return d;
}

std::string describe(const Difference& d) {
    char text[64];
    std::snprintf(text, sizeof text, "max %d, mean %.2f", d.largest, d.mean);
    return text;
}

// ---- bar images beside pixman -------------------------------------------------------

// Gradient stops take straight colours, solid fills premultiplied ones.
pixman_color_t pixmanColour(std::uint32_t ours, unsigned alpha, bool premultiply = false) {
    auto wide = [&](unsigned v) {
        return static_cast<std::uint16_t>((premultiply ? v * alpha / 255 : v) * 257);
    };
    return {wide(ours & 0xFF), wide((ours >> 8) & 0xFF), wide((ours >> 16) & 0xFF),
            static_cast<std::uint16_t>(alpha * 257)};
}

// The gloss as pixman composes it: a vertical black ramp from alpha 220 to 0
// over the whole picture, then white at alpha 100 over the upper half.
struct PixmanGloss {
    pixman_image_t* ramp = nullptr;
    pixman_image_t* light = nullptr;
    PixmanGloss(int height) {
        pixman_point_fixed_t top{0, 0}, bottom{0, pixman_int_to_fixed(height)};
        pixman_gradient_stop_t stops[2] = {{pixman_double_to_fixed(0), pixmanColour(0, 220)},
                                           {pixman_double_to_fixed(1), pixmanColour(0, 0)}};
        ramp = pixman_image_create_linear_gradient(&top, &bottom, stops, 2);
        pixman_color_t white = pixmanColour(0xFFFFFF, 100, true);
        light = pixman_image_create_solid_fill(&white);
    }
    ~PixmanGloss() {
        pixman_image_unref(ramp);
        pixman_image_unref(light);
    }
    void apply(pixman_image_t* target, int w, int h) const {
        pixman_image_composite32(PIXMAN_OP_OVER, ramp, nullptr, target, 0, 0, 0, 0, 0, 0, w, h);
        pixman_image_composite32(PIXMAN_OP_OVER, light, nullptr, target, 0, 0, 0, 0, 0, 0, w, h / 2);
    }
};

Pixels pixmanPixels(pixman_image_t* image, int w, int h) {
    Pixels out(static_cast<std::size_t>(w) * h);
    const auto* bits = pixman_image_get_data(image);
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = swapRedBlue(bits[i]);
    return out;
}

render::BarStops threeStops() { return render::MakeBarStops({{0.0f, 255}, {0.5f, 65280}, {1.0f, 16711680}}); }

// Our bar image beside pixman's: both written out as pictures, compared,
// then timed. Pixman samples pixel centres and rounds premultiplied, so the
// two may be a few levels apart.
template <typename Ours, typename Peer>
Row barImageRow(const char* work, const char* peerName, const std::string& file, int w, int h, Ours ours,
                Peer peer) {
    pixman_image_t* theirs = peer();
    Pixels peerPixels = pixmanPixels(theirs, w, h);
    pixman_image_unref(theirs);
    Pixels ourPixels = ours()->pixels;
    writePng(file + "_ours.png", w, h, ourPixels);
    writePng(file + "_pixman.png", w, h, peerPixels);
    Difference d = compare(ourPixels, peerPixels);

    Pair t = measure(
        [&] {
            auto p = ours();
            asm volatile("" : : "r"(p->pixels.data()) : "memory");
        },
        [&] { pixman_image_unref(peer()); });
    return {work, peerName, t, 1.0, describe(d), d.largest <= 8};
}

Row gradientImage() {
    const int w = 1000, h = 40;
    render::BarStops stops = threeStops();
    PixmanGloss gloss(h);
    pixman_point_fixed_t left{0, 0}, right{pixman_int_to_fixed(w), 0};
    pixman_gradient_stop_t rampStops[3] = {{pixman_double_to_fixed(0), pixmanColour(255, 255)},
                                           {pixman_double_to_fixed(0.5), pixmanColour(65280, 255)},
                                           {pixman_double_to_fixed(1), pixmanColour(16711680, 255)}};
    pixman_image_t* ramp = pixman_image_create_linear_gradient(&left, &right, rampStops, 3);
    auto peer = [&]() -> pixman_image_t* {
        pixman_image_t* image = pixman_image_create_bits(PIXMAN_x8r8g8b8, w, h, nullptr, 0);
        pixman_image_composite32(PIXMAN_OP_SRC, ramp, nullptr, image, 0, 0, 0, 0, 0, 0, w, h);
        gloss.apply(image, w, h);
        return image;
    };
    auto ours = [&] { return render::BuildBarImage(w, h, render::kKindGradient, stops, 0, 1); };

    Row row = barImageRow("Bar image, 3-stop gradient + gloss, 1000 x 40", "pixman gradient + gloss OVER",
                          "gradient", w, h, ours, peer);
    pixman_image_unref(ramp);
    return row;
}

Row solidImage() {
    const int w = 400, h = 30;
    const std::uint32_t colour = 0x3080E0;
    render::BarStops none = render::MakeBarStops({});
    PixmanGloss gloss(h);
    pixman_color_t fill = pixmanColour(colour, 255, true);
    auto peer = [&]() -> pixman_image_t* {
        pixman_image_t* image = pixman_image_create_bits(PIXMAN_x8r8g8b8, w, h, nullptr, 0);
        pixman_box32_t box{0, 0, w, h};
        pixman_image_fill_boxes(PIXMAN_OP_SRC, image, &fill, 1, &box);
        gloss.apply(image, w, h);
        return image;
    };
    auto ours = [&] { return render::BuildBarImage(w, h, render::kKindSolid, none, colour, 1); };

    return barImageRow("Bar image, solid + gloss, 400 x 30", "pixman fill + gloss OVER", "solid", w, h, ours,
                       peer);
}

// ---- paints ------------------------------------------------------------------------------

void forcedRepaint(control::BarControl* bar) {
    bar->ForceRedraw = 1;
    bar->Methods->SetCurrentPosition(bar, bar->Position);
    bar->ForceRedraw = 0;
}

Pixels shown(control::BarControl* bar) {
    auto shown = vb::platform::driver::renderWindow(bar->Methods->GetCanvas(bar));
    return shown ? std::move(shown->pixels) : Pixels{};
}

// Our picture as a cairo RGB24 surface.
cairo_surface_t* cairoCopy(const pixels::Picture& picture) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.width, picture.height);
    cairo_surface_flush(s);
    auto* data = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(s));
    int stride = cairo_image_surface_get_stride(s) / 4;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            data[y * stride + x] = swapRedBlue(picture.at(x, y)) & 0xFFFFFF;
    cairo_surface_mark_dirty(s);
    return s;
}

Pixels cairoPixels(cairo_surface_t* s) {
    cairo_surface_flush(s);
    int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    int stride = cairo_image_surface_get_stride(s) / 4;
    const auto* data = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(s));
    Pixels out(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) out[y * w + x] = swapRedBlue(data[y * stride + x]) & 0xFFFFFF;
    return out;
}

// Fresh: a new text for every repaint ("Copying files... 1%" and on), laid
// out afresh and drawn over the whole frame by both sides. Ours stores the
// text and forces the whole paint, as SetText does when it cannot narrow
// the repaint to the letters that changed; the update row with a new
// percentage measures SetText itself.
Row repaintWithText(bool fresh) {
    const int w = 400, h = 30, position = 60;
    std::vector<std::string> texts;
    for (int i = 1; i <= 100; ++i) texts.push_back("Copying files... " + std::to_string(i) + "%");
    std::size_t next = 0;
    const char* text = "Twenty characters!!!";
    // Each workload its own object: a removed object's name stays taken.
    const std::string name = fresh ? "RepaintFresh" : "Repaint";
    std::string setup = bench::kRepaintWithTextSetup;
    for (std::size_t at = setup.find("'Repaint'"); at != std::string::npos;
         at = setup.find("'Repaint'", at + 1))
        setup.replace(at, 9, "'" + name + "'");
    bench::BarPage page(name, w, h);
    page.run(setup.c_str());
    control::BarControl* bar = page.bar(name.c_str());
    if (!bar) return {"Forced repaint 400 x 30, outlined text", "cairo", {}, 1.0, "no bar", false};

    // The same frame in cairo: background and revealed fill copied, the four
    // border lines, the text five times (outline, then face), then shown.
    cairo_surface_t* background = cairoCopy(*bar->BackgroundImage);
    cairo_surface_t* fill = cairoCopy(*bar->BarImage);
    cairo_surface_t* compose = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_surface_t* screen = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_t* cr = cairo_create(compose);
    cairo_t* present = cairo_create(screen);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_operator(present, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(present, compose, 0, 0);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 12);  // 9 points at 96 pixels an inch
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    const int fillWidth = w * position / 100;
    const double e = fillWidth - 1;
    const double tx = 5, baseline = std::floor(h / 2.0 - (font.ascent + font.descent) / 2.0) + font.ascent;
    auto peer = [&] {
        if (fresh) text = texts[next].c_str();
        cairo_set_source_surface(cr, background, 0, 0);
        cairo_paint(cr);
        cairo_set_source_surface(cr, fill, 0, 0);
        cairo_rectangle(cr, 0, 0, fillWidth, h);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_rectangle(cr, 0, 0, e + 1, 1);
        cairo_rectangle(cr, 0, 0, 1, h);
        cairo_rectangle(cr, e, 0, 1, h);
        cairo_rectangle(cr, 0, h - 1, e + 1, 1);
        cairo_fill(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        const int dx[] = {-1, 0, 1, 0}, dy[] = {0, -1, 0, 1};
        for (int i = 0; i < 4; ++i) {
            cairo_move_to(cr, tx + dx[i], baseline + dy[i]);
            cairo_show_text(cr, text);
        }
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_move_to(cr, tx, baseline);
        cairo_show_text(cr, text);
        cairo_paint(present);
        cairo_surface_flush(screen);
    };
    auto cairoSide = [&] {
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        peer();
        if (fresh) next = (next + 1) % texts.size();
    };
    std::size_t oursNext = 0;
    auto ours = [&] {
        if (fresh) {
            bar->Text = texts[oursNext];
            oursNext = (oursNext + 1) % texts.size();
        }
        forcedRepaint(bar);
    };

    if (fresh) bar->Methods->SetText(bar, texts[0]);
    forcedRepaint(bar);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    peer();
    Pixels ourPixels = shown(bar), peerPixels = cairoPixels(screen);
    std::string file = fresh ? "repaint_fresh_text" : "repaint_text";
    writePng(file + "_ours.png", w, h, ourPixels);
    writePng(file + "_cairo.png", w, h, peerPixels);
    Difference d = compare(ourPixels, peerPixels);

    Pair t = measure(ours, cairoSide);
    cairo_destroy(cr);
    cairo_destroy(present);
    for (cairo_surface_t* s : {background, fill, compose, screen}) cairo_surface_destroy(s);
    // Glyph edges are rasterised differently (cairo greyscale, ours by
    // channel); everything else is the same picture.
    return {fresh ? "Repaint 400 x 30, new 20-char outlined text each"
                  : "Forced repaint 400 x 30, 20-char outlined text",
            fresh ? "cairo, same frame, same new text" : "cairo, same frame",
            t,
            1.0,
            describe(d),
            d.mean < 6.0};
}

Row repaintWithoutText() {
    const int w = 400, h = 30, position = 60;
    bench::BarPage page("Plain", w, h);
    page.run("Velumbar.Create('Plain', {BorderType = 0}) Velumbar.SetCurrentPosition('Plain', 60)");
    control::BarControl* bar = page.bar("Plain");
    if (!bar) return {"Forced repaint 400 x 30, no text", "memcpy", {}, 1.25, "no bar", false};

    // The floor: every row of the frame moved once into the composed
    // picture (fill part, then background part) and once onto the screen.
    const std::size_t rowBytes = static_cast<std::size_t>(w) * 4;
    const int fillWidth = w * position / 100;
    Pixels compose(static_cast<std::size_t>(w) * h), screen(compose.size());
    const std::uint32_t* fill = bar->BarImage->pixels.data();
    const std::uint32_t* background = bar->BackgroundImage->pixels.data();
    auto peer = [&] {
        for (int y = 0; y < h; ++y) {
            std::memcpy(&compose[y * w], fill + y * w, fillWidth * 4);
            std::memcpy(&compose[y * w + fillWidth], background + y * w + fillWidth,
                        rowBytes - fillWidth * 4);
        }
        std::memcpy(screen.data(), compose.data(), rowBytes * h);
        asm volatile("" : : "r"(screen.data()) : "memory");
    };

    forcedRepaint(bar);
    peer();
    Pixels ourPixels = shown(bar);
    for (auto& px : screen) px &= 0xFFFFFF;
    writePng("repaint_plain_ours.png", w, h, ourPixels);
    writePng("repaint_plain_memcpy.png", w, h, screen);
    Difference d = compare(ourPixels, screen);

    Pair t = measure([&] { forcedRepaint(bar); }, peer);
    return {"Forced repaint 400 x 30, no text",
            "memcpy of 2 x 48,000 bytes",
            t,
            1.25,
            describe(d),
            d.largest == 0};
}

// ---- Lua side -------------------------------------------------------------------------------

std::string eventSeen;

// Records the event table a callback received, keys in order.
int recordEvent(lua_State* L) {
    lua_getglobal(L, "describe");
    lua_pushvalue(L, 1);
    lua_call(L, 1, 1);
    eventSeen = lua_tostring(L, -1);
    lua_pop(L, 1);
    return 0;
}

const char* kDescribe =
    "function describe(e) local m = e.Mouse return table.concat({tostring(e.ObjectName),"
    " tostring(e.EventCode), tostring(m.StateHover), tostring(m.x), tostring(m.y),"
    " tostring(m.LeftButtonDown), tostring(m.RightButtonDown), tostring(m.MiddleButtonDown)}, ' ') end";

Row dispatch() {
    bench::BarPage page("Events", 200, 24);
    page.run(kDescribe);
    page.run("Velumbar.Create('Events') count = 0");
    lua_State* bare = luaL_newstate();
    luaL_openlibs(bare);
    luaL_dostring(bare, kDescribe);
    luaL_dostring(bare, "count = 0");

    auto* bar = page.bar("Events");
    if (!bar) return {"Event dispatch to a trivial callback", "bare lua_pcall", {}, 1.05, "no bar", false};
    platform::Window canvas = bar->Methods->GetCanvas(bar);
    events::EventData event{65539, 40, 10, 0};

    // Once with callbacks that describe the table they got.
    lua_getglobal(page.L, "Velumbar");
    lua_getfield(page.L, -1, "SetCallback");
    lua_pushstring(page.L, "Events");
    lua_pushcfunction(page.L, recordEvent);
    lua_call(page.L, 2, 1);
    lua_settop(page.L, 0);
    events::Dispatch(canvas, event);
    std::string ours = eventSeen;
    lua_pushcfunction(bare, recordEvent);
    lua_pushcclosure(bare, bench::CallWithMouseMoveTable, 1);
    lua_call(bare, 0, 0);
    std::string theirs = eventSeen;

    page.run("Velumbar.SetCallback('Events', function(e) count = count + 1 end)");
    luaL_dostring(bare, "return function(e) count = count + 1 end");
    lua_pushcclosure(bare, bench::CallWithMouseMoveTable, 1);
    int function = lua_gettop(bare);
    Pair t = measure([&] { events::Dispatch(canvas, event); },
                     [&] {
                         lua_pushvalue(bare, function);
                         lua_call(bare, 0, 0);
                     });
    lua_close(bare);
    return {"Event dispatch to a trivial callback",
            "bare lua_pcall building the table",
            t,
            1.05,
            ours == theirs ? "same table" : "tables differ: " + ours + " / " + theirs,
            ours == theirs};
}

// The unavoidable part of an action: the host's last error cleared, the
// arguments read, the host asked for the object's window.
int bareHostCall(lua_State* L) {
    binding::ResetHostLastError(L);
    binding::CheckArgCount(L, 2);
    const char* name = binding::CheckStringArg(L, 1);
    binding::ReadIntegerArg(L, 2);
    lua_pushboolean(L, binding::ResolveHostWindow(L, name) != nullptr);
    return 1;
}

Row unchangedPosition() {
    bench::BarPage page("Unchanged", 400, 30);
    page.run(
        "Velumbar.Create('Unchanged') Velumbar.SetCurrentPosition('Unchanged', 50)"
        "Page.GetObjectType = function(name) return 11 end "
        "DialogEx.GetObjectType = function(name) return -1 end");
    // Reached as the action is, as a field of a global table.
    lua_newtable(page.L);
    lua_pushcfunction(page.L, bareHostCall);
    lua_setfield(page.L, -2, "SetCurrentPosition");
    lua_setglobal(page.L, "Bare");
    control::BarControl* bar = page.bar("Unchanged");
    if (!bar) return {"SetCurrentPosition, unchanged position", "bare call", {}, 1.2, "no bar", false};
    Pixels before = shown(bar);

    auto call = [&](const char* table, const char* field) {
        lua_getglobal(page.L, table);
        lua_getfield(page.L, -1, field);
        lua_pushstring(page.L, "Unchanged");
        lua_pushnumber(page.L, 50);
        lua_call(page.L, 2, 1);
        bool result = lua_toboolean(page.L, -1);
        lua_settop(page.L, 0);
        return result;
    };
    bool oursTrue = call("Velumbar", "SetCurrentPosition");
    bool bareTrue = call("Bare", "SetCurrentPosition");
    bool same = oursTrue && bareTrue && shown(bar) == before;

    Pair t =
        measure([&] { call("Velumbar", "SetCurrentPosition"); }, [&] { call("Bare", "SetCurrentPosition"); });
    return {"SetCurrentPosition from Lua, unchanged position",
            "bare C call, same host look-ups",
            t,
            1.2,
            same ? "both true, picture unchanged" : "results differ",
            same};
}

// ---- updates as scripts make them ------------------------------------------------------

// Positions 1 .. 100 in turn, so every call moves the bar.
struct Positions {
    int last = 0;
    int operator()() { return last = last % 100 + 1; }
};

bool setUp(bench::BarPage& page, const std::string& name, bool scale, const char* text = "50%") {
    return page.run(bench::UpdateBarSetup(name, scale, text).c_str()) && page.bar(name.c_str());
}

Row scaleUpdate() {
    bench::BarPage page("ScaledUpdate", 400, 30);
    page.add("RevealedUpdate", 400, 30, 0, 40);
    if (!setUp(page, "ScaledUpdate", true) || !setUp(page, "RevealedUpdate", false))
        return {"Update, scale bar, position only", "no-scale update", {}, 1.5, "no bar", false};
    Positions a, b;
    bool both = bench::CallAction(page.L, "SetCurrentPosition", "ScaledUpdate", 37) &&
                bench::CallAction(page.L, "SetCurrentPosition", "RevealedUpdate", 37);
    Pair t = measure([&] { bench::CallAction(page.L, "SetCurrentPosition", "ScaledUpdate", a()); },
                     [&] { bench::CallAction(page.L, "SetCurrentPosition", "RevealedUpdate", b()); });
    return {"Update from Lua, scale bar, position only",
            "the same update of a no-scale bar",
            t,
            1.5,
            both ? "both true" : "an update failed",
            both};
}

// The scale bar's paint without text beside pixman squeezing the same fill
// into the same frame with a box filter, then copying the frame.
Row scalePaint() {
    const int w = 400, h = 30;
    bench::BarPage page("ScaledPaint", w, h);
    page.run(
        "local stops = Velumbar.AllocColor({Index = 0, Color = 255}, {Index = 50, Color = 65280},"
        " {Index = 100, Color = 16711680}) "
        "Velumbar.Create('ScaledPaint', {ColorType = VELUMBAR_GRADIENT, GradientColors = stops,"
        " ScaleType = VELUMBAR_SCALE, BorderType = 0})");
    control::BarControl* bar = page.bar("ScaledPaint");
    if (!bar) return {"Scale-bar paint 400 x 30", "pixman", {}, 1.0, "no bar", false};
    const pixels::Picture& barImage = *bar->BarImage;

    auto pixmanOf = [](const pixels::Picture& p) {
        pixman_image_t* image = pixman_image_create_bits(PIXMAN_x8r8g8b8, p.width, p.height, nullptr, 0);
        auto* bits = pixman_image_get_data(image);
        for (std::size_t i = 0; i < p.pixels.size(); ++i) bits[i] = swapRedBlue(p.pixels[i]) & 0xFFFFFF;
        return image;
    };
    pixman_image_t* fill = pixmanOf(barImage);
    pixman_image_t* background = pixmanOf(*bar->BackgroundImage);
    pixman_image_t* compose = pixman_image_create_bits(PIXMAN_x8r8g8b8, w, h, nullptr, 0);
    Pixels screen(static_cast<std::size_t>(w) * h);
    auto peerAt = [&](int position) {
        int n = w * position / 100;
        pixman_image_composite32(PIXMAN_OP_SRC, background, nullptr, compose, 0, 0, 0, 0, 0, 0, w, h);
        if (n >= 1) {
            pixman_fixed_t scale = pixman_double_to_fixed(static_cast<double>(barImage.width) / n);
            pixman_transform_t transform;
            pixman_transform_init_scale(&transform, scale, pixman_fixed_1);
            pixman_image_set_transform(fill, &transform);
            int count = 0;
            pixman_fixed_t* params = pixman_filter_create_separable_convolution(
                &count, scale, pixman_fixed_1, PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_IMPULSE,
                PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, 4, 0);
            pixman_image_set_filter(fill, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, count);
            free(params);
            pixman_image_composite32(PIXMAN_OP_SRC, fill, nullptr, compose, 0, 0, 0, 0, 0, 0, n, h);
        }
        std::memcpy(screen.data(), pixman_image_get_data(compose), screen.size() * 4);
        asm volatile("" : : "r"(screen.data()) : "memory");
    };

    // Compared at a few fills, the pictures of one kept.
    Difference worst;
    for (int position : {1, 37, 50, 99, 100}) {
        bar->Methods->SetCurrentPosition(bar, position);
        peerAt(position);
        Pixels ours = shown(bar), theirs(screen.size());
        for (std::size_t i = 0; i < screen.size(); ++i) theirs[i] = swapRedBlue(screen[i]) & 0xFFFFFF;
        Difference d = compare(ours, theirs);
        worst.largest = std::max(worst.largest, d.largest);
        worst.mean = std::max(worst.mean, d.mean);
        if (position == 37) {
            writePng("scale_ours.png", w, h, ours);
            writePng("scale_pixman.png", w, h, theirs);
        }
    }
    Positions a, b;
    Pair t = measure([&] { bar->Methods->SetCurrentPosition(bar, a()); }, [&] { peerAt(b()); });
    for (pixman_image_t* image : {fill, background, compose}) pixman_image_unref(image);
    // Pixman samples the box at sixteenth-pixel steps; ours averages exact
    // areas: a level apart at most.
    return {"Scale-bar paint 400 x 30, no text, positions 1..100",
            "pixman box-filter squeeze + copy",
            t,
            1.0,
            describe(worst),
            worst.largest <= 2};
}

Row freshTextUpdate() {
    bench::BarPage page("FreshText", 400, 30);
    page.add("FixedText", 400, 30, 0, 40);
    if (!setUp(page, "FreshText", false) || !setUp(page, "FixedText", false))
        return {"Update with a new percentage text", "fixed text", {}, 1.2, "no bar", false};
    const auto& texts = bench::PercentTexts();
    Positions a, b;
    bool both = bench::CallSetText(page.L, "FreshText", "37%") &&
                bench::CallAction(page.L, "SetCurrentPosition", "FreshText", 37);
    Pair t = measure(
        [&] {
            int p = a();
            bench::CallSetText(page.L, "FreshText", texts[p - 1].c_str());
            bench::CallAction(page.L, "SetCurrentPosition", "FreshText", p);
        },
        [&] { bench::CallAction(page.L, "SetCurrentPosition", "FixedText", b()); });
    return {"Update from Lua: SetText(new %) + position",
            "position only, fixed text",
            t,
            1.2,
            both ? "both true" : "an update failed",
            both};
}

Row pageOfBars() {
    bench::BarPage page("SingleOfPage", 400, 30);
    if (!setUp(page, "SingleOfPage", false)) return {"100 bars", "100 x one", {}, 1.5, "no bar", false};
    std::vector<std::string> names;
    bool made = true;
    for (int i = 1; i <= 100 && made; ++i) {
        names.push_back("PageBar" + std::to_string(i));
        made = page.add(names.back(), 400, 30, 0, 40 * i) && setUp(page, names.back(), false);
    }
    if (!made) return {"100 bars", "100 x one", {}, 1.5, "no bar", false};
    Positions a, b;
    Pair t = measure(
        [&] {
            int p = a();
            for (const std::string& name : names)
                bench::CallAction(page.L, "SetCurrentPosition", name.c_str(), p);
        },
        [&] {
            for (int i = 0; i < 100; ++i)
                bench::CallAction(page.L, "SetCurrentPosition", "SingleOfPage", b());
        });
    return {
        "Page of 100 bars 400 x 30, one update each", "100 updates of one bar", t, 1.5, "same updates", true};
}

// GetCurrentPosition on the last of 1,000 bars, against the same call when
// the page holds that one bar only.
Row lastOfThousand() {
    bench::BarPage page("Solo", 100, 10);
    if (!page.run("Velumbar.Create('Solo') Velumbar.SetCurrentPosition('Solo', 42)"))
        return {"Action on the last of 1,000 bars", "one bar", {}, 1.1, "no bar", false};
    bool made = true;
    double soloAnswer = 0, lastAnswer = 0;
    auto crowd = [&] {
        for (int i = 1; i < 1000 && made; ++i) {
            std::string name = "Crowd" + std::to_string(i);
            made =
                page.add(name, 100, 10, 0, 12 * (i % 50)) &&
                page.run(("Velumbar.Create('" + name + "') Velumbar.SetCurrentPosition('" + name + "', 42)")
                             .c_str());
        }
    };
    Pair t = measurePhased([&] { lastAnswer = bench::CallGetPosition(page.L, "Crowd999"); },
                           [&] { soloAnswer = bench::CallGetPosition(page.L, "Solo"); }, crowd,
                           [&] { page.removeAll(1); });
    bool same = made && soloAnswer == 42 && lastAnswer == 42;
    return {"GetCurrentPosition, last of 1,000 bars",
            "the same call, one bar on the page",
            t,
            1.1,
            same ? "both 42" : "answers differ",
            same};
}

// A copy loop's updates: range 0 .. 10,000 on 400 columns, so 25 positions
// share a column and most moves leave the picture as it is, beside the same
// bar with range 0 .. 100, where every move shifts the fill's edge.
Row wideRange() {
    bench::BarPage page("WideRange", 400, 30);
    page.add("NarrowRange", 400, 30, 0, 40);
    if (!setUp(page, "WideRange", false) || !setUp(page, "NarrowRange", false) ||
        !page.run("Velumbar.SetRange('WideRange', 0, 10000)"))
        return {"Update, range 0..10000", "range 0..100", {}, 0, "no bar", false};
    int wide = 0;
    Positions narrow;
    Pair t = measure(
        [&] {
            wide = wide % 10000 + 1;
            bench::CallAction(page.L, "SetCurrentPosition", "WideRange", wide);
        },
        [&] { bench::CallAction(page.L, "SetCurrentPosition", "NarrowRange", narrow()); });
    return {"Update from Lua, range 0..10000, 400 columns",
            "the same update, range 0..100",
            t,
            0,
            "both move every call",
            true};
}

// The whole action (Lua call, host look-ups, paint, present) beside a bare
// C call that reads the same host property.
Row wholeAction() {
    bench::BarPage page("Whole", 400, 30);
    if (!setUp(page, "Whole", false)) return {"Whole action", "bare call", {}, 0, "no bar", false};
    lua_newtable(page.L);
    lua_pushcfunction(page.L, bareHostCall);
    lua_setfield(page.L, -2, "SetCurrentPosition");
    lua_setglobal(page.L, "Bare");
    Positions a, b;
    lua_State* L = page.L;
    auto bare = [&](int p) {
        lua_getglobal(L, "Bare");
        lua_getfield(L, -1, "SetCurrentPosition");
        lua_pushstring(L, "Whole");
        lua_pushnumber(L, p);
        lua_call(L, 2, 1);
        bool found = lua_toboolean(L, -1);
        lua_settop(L, 0);
        return found;
    };
    bool both = bench::CallAction(L, "SetCurrentPosition", "Whole", 37) && bare(37);
    Pair t = measure([&] { bench::CallAction(L, "SetCurrentPosition", "Whole", a()); }, [&] { bare(b()); });
    return {"SetCurrentPosition from Lua, moving, 400 x 30 + text",
            "bare C call, same host look-ups",
            t,
            0,
            both ? "both true" : "results differ",
            both};
}

// ---- unpacking ---------------------------------------------------------------------------------

std::vector<std::uint8_t> mixedText(std::size_t size) {
    // Prose, code and numbers from a fixed generator: repeats near and far.
    static const char* words[] = {
        "progress", "bar", "the",    "of",  "copying", "files",    "local",
        "function", "end", "return", "if",  "then",    "Velumbar", "SetCurrentPosition",
        "for",      "in",  "pairs",  "nil", "true",    "window",   "=",
        "(",        ")",   "..",     "\n",  "  "};
    std::vector<std::uint8_t> text;
    std::uint32_t state = 12345;
    while (text.size() < size) {
        state = state * 1103515245u + 12345u;
        unsigned pick = (state >> 16) % 40;
        std::string piece = pick < 26 ? words[pick] : std::to_string((state >> 8) % 100000);
        piece += pick % 3 ? " " : "";
        text.insert(text.end(), piece.begin(), piece.end());
    }
    text.resize(size);
    return text;
}

Row unpackBeside(const char* work, const std::vector<std::uint8_t>& plain) {
    std::vector<std::uint8_t> jc = jc::packJcStream(plain);
    uLongf zipSize = compressBound(uLong(plain.size()));
    std::vector<std::uint8_t> zip(zipSize);
    compress2(zip.data(), &zipSize, plain.data(), uLong(plain.size()), 9);
    std::vector<std::uint8_t> a(plain.size() + 8), b(plain.size());

    std::size_t n = script::unpackJc(jc.data(), jc.size(), a.data(), a.size());
    uLongf m = uLongf(b.size());
    int status = uncompress(b.data(), &m, zip.data(), zipSize);
    bool same = n == plain.size() && std::equal(plain.begin(), plain.end(), a.begin()) && status == Z_OK &&
                m == plain.size() && b == plain;

    Pair t = measure([&] { script::unpackJc(jc.data(), jc.size(), a.data(), a.size()); },
                     [&] {
                         uLongf size = uLongf(b.size());
                         uncompress(b.data(), &size, zip.data(), zipSize);
                     });
    char check[96];
    std::snprintf(check, sizeof check, "%s; %zu vs %lu bytes packed", same ? "both exact" : "OUTPUT DIFFERS",
                  jc.size(), static_cast<unsigned long>(zipSize));
    return {work, "zlib inflate (level 9)", t, 1.0, check, same};
}

Row unpackClassScript() {
    script::JcBlock block;
    script::readJcBlock(script::kClassScriptBlock, script::kClassScriptBlockSize, &block);
    std::vector<std::uint8_t> plain(block.unpackedSize);
    script::unpackJc(block.stream, block.packedSize, plain.data(), plain.size());
    return unpackBeside("Unpack, class script", plain);
}

// ---- bars in motion ------------------------------------------------------------

// One frame of a moving bar as the window system delivers it (the clock
// moves a frame on, the timer fires, the band or the glide is painted and
// shown), beside a forced repaint of the same bar standing still.
Row motionFrame(bool busy) {
    const char* work =
        busy ? "Busy frame 400 x 30, gradient + text" : "Glide frame 400 x 30, gradient + text";
    const std::string name = busy ? "BusyFrame" : "GlideFrame";
    const std::string twin = name + "Still";
    bench::BarPage page(name, 400, 30);
    page.add(twin, 400, 30, 0, 40);
    if (!setUp(page, name, false) || !setUp(page, twin, false))
        return {work, "forced repaint", {}, 1.1, "no bar", false};
    control::BarControl* bar = page.bar(name.c_str());
    control::BarControl* still = page.bar(twin.c_str());
    if (busy) {
        page.run(("Velumbar.SetBusy('" + name + "', true)").c_str());
    } else {
        page.run(("Velumbar.SetGlide('" + name + "', 60000)").c_str());
    }
    int target = 0;
    auto ours = [&] {
        // A glide that arrived starts again toward the other end.
        if (!busy && !bar->Animation.gliding) {
            target = target == 100 ? 0 : 100;
            bar->Methods->SetCurrentPosition(bar, target);
        }
        vb::platform::driver::advanceClock(static_cast<int>(control::kFrameMs));
    };
    ours();
    bool moving =
        vb::platform::driver::timerCount(bar->Canvas) == 1 && (bar->Animation.busy || bar->Animation.gliding);
    Pair t = measure(ours, [&] { forcedRepaint(still); });
    return {work, "forced repaint of the bar standing",        t,
            1.1,  moving ? "frames on its timer" : "no timer", moving};
}

// What 100 idle bars cost between calls: the clock moving on (a host's
// message loop waiting) with the bars on the page, beside the same wait
// with the page empty. No idle bar has a timer.
Row idlePage() {
    bench::BarPage page("IdleFirst", 400, 30);
    bool made = true;
    int timers = 0, round = 0;
    auto fill = [&] {  // names are never used twice: a removed object's stays taken
        ++round;
        made = made && setUp(page, "IdleFirst", false);
        for (int i = 2; i <= 100 && made; ++i) {
            std::string name = "Idle" + std::to_string(round) + "_" + std::to_string(i);
            made = page.add(name, 400, 30, 0, 40 * i) && setUp(page, name, false);
        }
        timers = 0;
        for (const std::string& n : page.names)
            if (control::BarControl* bar = page.bar(n.c_str()))
                timers += vb::platform::driver::timerCount(bar->Canvas);
    };
    auto wait = [] { vb::platform::driver::advanceClock(static_cast<int>(control::kFrameMs)); };
    Pair t = measurePhased(wait, wait, fill, [&] { page.removeAll(1); });
    bool idle = made && timers == 0;
    return {"Idle page of 100 bars, a frame's wait",
            "the same wait, page without them",
            t,
            1.1,
            idle ? "no timers" : "bars or timers wrong",
            idle};
}

}  // namespace

// With an argument, only the rows whose key holds it (for a profiler).
int main(int argc, char** argv) {
    mkdir(kOut, 0755);
    const std::vector<std::pair<const char*, Row (*)()>> makers = {
        {"image-gradient", gradientImage},
        {"image-solid", solidImage},
        {"repaint-text", [] { return repaintWithText(false); }},
        {"repaint-plain", repaintWithoutText},
        {"dispatch", dispatch},
        {"unchanged", unchangedPosition},
        {"fresh-text-repaint", [] { return repaintWithText(true); }},
        {"scale-update", scaleUpdate},
        {"scale-paint", scalePaint},
        {"fresh-text-update", freshTextUpdate},
        {"page", pageOfBars},
        {"last-of-1000", lastOfThousand},
        {"whole-action", wholeAction},
        {"wide-range", wideRange},
        {"busy", [] { return motionFrame(true); }},
        {"glide", [] { return motionFrame(false); }},
        {"idle-page", idlePage},
        {"unpack-class", unpackClassScript},
        {"unpack-1mb", [] { return unpackBeside("Unpack, 1 MB mixed text", mixedText(1 << 20)); }}};
    std::vector<Row> rows;
    for (const auto& [key, make] : makers)
        if (argc < 2 || std::string(key).find(argv[1]) != std::string::npos) rows.push_back(make());

    std::printf("%-50s %11s %11s %7s %7s  %-36s %s\n", "Work", "Velumbar", "Peer", "Ratio", "Target",
                "Peer on the same work", "Same work?");
    bool allChecked = true;
    for (const Row& r : rows) {
        double ratio = r.time.ours / r.time.peer;
        char target[16] = "-";
        if (r.target > 0)
            std::snprintf(target, sizeof target, "%s%.2f", ratio <= r.target ? "<=" : "> ", r.target);
        std::printf("%-50s %11s %11s %6.2fx %7s  %-36s %s%s\n", r.work.c_str(), human(r.time.ours).c_str(),
                    human(r.time.peer).c_str(), ratio, target, r.peerName.c_str(),
                    r.checked ? "" : "CHECK FAILED: ", r.check.c_str());
        allChecked = allChecked && r.checked;
    }
    std::printf("Best of 25 alternating batches each; pictures of each pair in %s/.\n", kOut);
    return allChecked ? 0 : 1;
}
