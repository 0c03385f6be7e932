// Fonts of the stand-in: the fixed font set picks the face file as the
// system's font mapper would (a name it does not know gets a substitute), FreeType
// draws the glyphs as 8-bit coverage. Font handles are numbers looked up in
// a table, so a stale or invented handle is simply not found.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/font_set.h"

namespace vb::platform {

namespace {

constexpr int kDefaultEm = 11;  // 8 pt at 96 dpi: a 13-pixel cell, like the GUI font
constexpr const char* kDefaultFace = "DejaVu Sans";
constexpr int kMaxEm = 1024;                   // larger requests are drawn at this size
constexpr long long kMaxCoverage = 1LL << 26;  // pixels in one text mask
constexpr long long kMaxWidth = INT_MAX / 2;

// Windows-1252 at 0x80..0x9F; the five unassigned bytes stand for themselves.
// Every other byte is Latin-1.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

unsigned codePoint(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? kCp1252High[byte - 0x80] : byte;
}

struct LibraryDone {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDone {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
struct PatternDone {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using LibraryPtr = std::unique_ptr<FT_LibraryRec_, LibraryDone>;
using FacePtr = std::unique_ptr<FT_FaceRec_, FaceDone>;
using PatternPtr = std::unique_ptr<FcPattern, PatternDone>;

struct Glyph {
    int left = 0, top = 0;  // ink offset from the pen; top counts rows above the baseline
    int width = 0, rows = 0;
    int advance = 0;
    std::vector<std::uint8_t> coverage;  // width x rows
};

// A face file at a pixel size, with what the file lacks and we synthesise.
struct FaceKey {
    std::string file;
    int index = 0;
    int em = 0;
    bool embolden = false;
    bool slant = false;
    auto operator<=>(const FaceKey&) const = default;
};

// One face at one size, with the glyphs drawn so far (by cp1252 byte).
struct SizedFace {
    FacePtr face;
    FaceKey key;
    bool symbol = false;  // symbol fonts map bytes to U+F000 + byte
    int ascent = 0, descent = 0;
    int underlineBelow = 1, underlineSize = 1;  // first row, counted below the baseline
    int strikeAbove = 3, strikeSize = 1;        // first row, counted above the baseline
    std::array<std::optional<Glyph>, 256> glyphs;
};

struct FontRecord {
    SizedFace* face = nullptr;
    bool italic = false, underline = false, strikeOut = false;
};

struct FontState {
    LibraryPtr library;  // first member: outlives the faces made from it
    bool libraryTried = false;
    std::map<FaceKey, std::unique_ptr<SizedFace>> faces;
    std::map<std::uintptr_t, FontRecord> fonts;
    std::uintptr_t nextId = 0x0A0A0010;  // handle-like numbers, multiples of 4
    std::optional<FontRecord> defaultFont;
    bool defaultTried = false;
    bool fontconfigUsed = false;

    FontState() = default;
    FontState(const FontState&) = delete;
    FontState& operator=(const FontState&) = delete;
    // At exit: faces before the library, and fontconfig's parsed
    // configuration last, which it keeps otherwise.
    ~FontState() {
        fonts.clear();
        defaultFont.reset();
        faces.clear();
        library.reset();
        if (fontconfigUsed) {
            ReleaseFontSet();
            FcFini();
        }
    }
};

FontState& state() {
    static FontState s;
    return s;
}

FT_Library library() {
    FontState& s = state();
    if (!s.libraryTried) {
        s.libraryTried = true;
        FT_Library made = nullptr;
        if (FT_Init_FreeType(&made) == 0) s.library.reset(made);
    }
    return s.library.get();
}

// ---- choosing the face ------------------------------------------------------

struct Match {
    std::string file;
    int index = 0;
    bool bold = false;
    bool italic = false;
};

int matchedInteger(FcPattern* pattern, const char* object, int fallback) {
    int value = fallback;
    double real = 0;
    if (FcPatternGetInteger(pattern, object, 0, &value) != FcResultMatch) {
        value = fallback;
        if (FcPatternGetDouble(pattern, object, 0, &real) == FcResultMatch) value = static_cast<int>(real);
    }
    return value;
}

// The set's best face for the request: the family comes from the face
// table, fontconfig picks its weight and slant among the set's files.
std::optional<Match> matchFace(const FontRequest& request) {
    std::optional<Match> found;
    state().fontconfigUsed = true;
    FcConfig* config = FontSetConfig();
    PatternPtr pattern(FcPatternCreate());
    if (!config || !pattern) return found;
    std::string family = FamilyForFace(request.face);
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    int weight = request.weight > 0 ? std::min(request.weight, 1000) : 400;  // 0: don't care
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern.get(), FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(config, pattern.get(), &result));
    FcChar8* file = nullptr;
    if (match && FcPatternGetString(match.get(), FC_FILE, 0, &file) == FcResultMatch && file) {
        Match m;
        m.file = reinterpret_cast<const char*>(file);
        m.index = matchedInteger(match.get(), FC_INDEX, 0);
        m.bold = matchedInteger(match.get(), FC_WEIGHT, FC_WEIGHT_REGULAR) >= FC_WEIGHT_DEMIBOLD;
        m.italic = matchedInteger(match.get(), FC_SLANT, FC_SLANT_ROMAN) != FC_SLANT_ROMAN;
        found = std::move(m);
    }
    return found;
}

FacePtr openFace(const std::string& file, int index) {
    FacePtr face;
    FT_Face opened = nullptr;
    FT_Library lib = library();
    if (lib && FT_New_Face(lib, file.c_str(), index, &opened) == 0) face.reset(opened);
    if (face && (!FT_IS_SCALABLE(face.get()) || face->units_per_EM == 0)) face.reset();
    return face;
}

// The face's cell in font units, from the metrics the system's GDI uses.
struct CellUnits {
    long ascent = 0, descent = 0;
};

CellUnits cellUnits(FT_Face face) {
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0)
        return {os2->usWinAscent, os2->usWinDescent};
    return {face->ascender, -face->descender};
}

// A negative height is the character (em) height, a positive one the cell
// height, and 0 asks for the default size.
int emFor(int height, FT_Face face) {
    long long em = kDefaultEm;
    if (height < 0) em = -static_cast<long long>(height);
    if (height > 0 && face) {
        CellUnits cell = cellUnits(face);
        long units = std::max(cell.ascent + cell.descent, 1L);
        em = std::llround(static_cast<double>(height) * face->units_per_EM / units);
    }
    return static_cast<int>(std::clamp(em, 1LL, static_cast<long long>(kMaxEm)));
}

void measure(SizedFace& sized) {
    FT_Face face = sized.face.get();
    double scale = static_cast<double>(sized.key.em) / face->units_per_EM;
    CellUnits cell = cellUnits(face);
    sized.ascent = static_cast<int>(std::lround(cell.ascent * scale));
    sized.descent = std::max(static_cast<int>(std::lround(cell.descent * scale)), sized.ascent > 0 ? 0 : 1);
    sized.underlineSize = std::max(1, static_cast<int>(std::lround(face->underline_thickness * scale)));
    sized.underlineBelow = std::max(
        0, static_cast<int>(std::lround(-face->underline_position * scale)) - sized.underlineSize / 2);
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    bool hasStrike = os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0;
    double strikeAt = hasStrike ? os2->yStrikeoutPosition * scale : sized.key.em * 0.26;
    sized.strikeSize = hasStrike ? std::max(1, static_cast<int>(std::lround(os2->yStrikeoutSize * scale)))
                                 : sized.underlineSize;
    sized.strikeAbove = static_cast<int>(std::lround(strikeAt));
}

SizedFace* sizedFace(FacePtr face, const FaceKey& key) {
    FontState& s = state();
    auto cached = s.faces.find(key);
    if (cached != s.faces.end()) return cached->second.get();
    if (!face) face = openFace(key.file, key.index);
    if (!face || FT_Set_Pixel_Sizes(face.get(), 0, static_cast<FT_UInt>(key.em)) != 0) return nullptr;
    auto sized = std::make_unique<SizedFace>();
    sized->key = key;
    if (FT_Select_Charmap(face.get(), FT_ENCODING_UNICODE) != 0)
        sized->symbol = FT_Select_Charmap(face.get(), FT_ENCODING_MS_SYMBOL) == 0;
    sized->face = std::move(face);
    measure(*sized);
    SizedFace* raw = sized.get();
    s.faces.emplace(key, std::move(sized));
    return raw;
}

std::optional<FontRecord> makeRecord(const FontRequest& request) {
    std::optional<FontRecord> record;
    std::optional<Match> match = matchFace(request);
    if (!match) return record;
    FaceKey key;
    key.file = match->file;
    key.index = match->index;
    key.embolden = request.weight >= 600 && !match->bold;
    key.slant = request.italic && !match->italic;
    FacePtr face;
    if (request.height > 0) face = openFace(key.file, key.index);  // the cell needs its metrics
    key.em = emFor(request.height, face.get());
    if (SizedFace* sized = sizedFace(std::move(face), key))
        record = FontRecord{sized, request.italic, request.underline, request.strikeOut};
    return record;
}

const FontRecord* recordOf(Font font) {
    FontState& s = state();
    if (!font) {
        if (!s.defaultTried) {
            s.defaultTried = true;
            FontRequest request;
            request.face = kDefaultFace;
            request.height = -kDefaultEm;
            s.defaultFont = makeRecord(request);
        }
        return s.defaultFont ? &*s.defaultFont : nullptr;
    }
    auto it = s.fonts.find(reinterpret_cast<std::uintptr_t>(font));
    return it == s.fonts.end() ? nullptr : &it->second;
}

// ---- glyphs -----------------------------------------------------------------

void copyBitmap(const FT_Bitmap& bitmap, Glyph& glyph) {
    bool gray = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
    bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    if ((!gray && !mono) || !bitmap.buffer || bitmap.width == 0 || bitmap.rows == 0) return;
    int pitch = bitmap.pitch;
    const unsigned char* top =
        pitch >= 0 ? bitmap.buffer : bitmap.buffer + static_cast<std::ptrdiff_t>(bitmap.rows - 1) * -pitch;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.coverage.assign(static_cast<std::size_t>(glyph.width) * glyph.rows, 0);
    for (int r = 0; r < glyph.rows; ++r) {
        const unsigned char* row = top + static_cast<std::ptrdiff_t>(r) * pitch;
        std::uint8_t* out = &glyph.coverage[static_cast<std::size_t>(r) * glyph.width];
        for (int c = 0; c < glyph.width; ++c)
            out[c] = gray ? row[c] : ((row[c >> 3] >> (7 - (c & 7))) & 1) * 255;
    }
}

Glyph drawGlyph(SizedFace& sized, unsigned char byte) {
    Glyph glyph;
    FT_Face face = sized.face.get();
    FT_ULong code = sized.symbol ? 0xF000u + byte : codePoint(byte);
    if (FT_Load_Char(face, code, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0) return glyph;
    FT_GlyphSlot slot = face->glyph;
    if (sized.key.slant) FT_GlyphSlot_Oblique(slot);
    if (sized.key.embolden) FT_GlyphSlot_Embolden(slot);
    glyph.advance = static_cast<int>(std::max<FT_Pos>(0, (slot->advance.x + 32) >> 6));
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    copyBitmap(slot->bitmap, glyph);
    return glyph;
}

const Glyph& glyphOf(SizedFace& sized, unsigned char byte) {
    std::optional<Glyph>& slot = sized.glyphs[byte];
    if (!slot) slot = drawGlyph(sized, byte);
    return *slot;
}

// ---- layout -------------------------------------------------------------------

// A box in cell coordinates: origin at the cell's top-left, baseline at ascent.
struct Box {
    long long left = LLONG_MAX, top = LLONG_MAX, right = LLONG_MIN, bottom = LLONG_MIN;
    bool empty() const { return left >= right || top >= bottom; }
    void add(long long l, long long t, long long r, long long b) {
        if (l >= r || t >= b) return;
        left = std::min(left, l);
        top = std::min(top, t);
        right = std::max(right, r);
        bottom = std::max(bottom, b);
    }
};

struct Layout {
    long long advance = 0;  // sum of advances
    Box ink;                // glyphs only
};

Layout layOut(const FontRecord& font, const char* text, std::size_t length) {
    Layout layout;
    SizedFace& sized = *font.face;
    for (std::size_t i = 0; i < length && layout.advance < kMaxWidth; ++i) {
        const Glyph& g = glyphOf(sized, static_cast<unsigned char>(text[i]));
        long long x = layout.advance + g.left, y = sized.ascent - g.top;
        layout.ink.add(x, y, x + g.width, y + g.rows);
        layout.advance += g.advance;
    }
    layout.advance = std::min(layout.advance, kMaxWidth);
    return layout;
}

long long cellWidth(const FontRecord& font, const Layout& layout) {
    long long width = layout.advance;
    if (font.italic && !layout.ink.empty()) width = std::max(width, layout.ink.right);  // overhang
    return std::min(width, kMaxWidth);
}

struct Line {
    long long top = 0, size = 0;
};

std::vector<Line> decorations(const FontRecord& font) {
    std::vector<Line> lines;
    const SizedFace& f = *font.face;
    if (font.underline) lines.push_back({f.ascent + f.underlineBelow, f.underlineSize});
    if (font.strikeOut) lines.push_back({f.ascent - f.strikeAbove, f.strikeSize});
    return lines;
}

void paintCoverage(const FontRecord& font, const char* text, std::size_t length, const Layout& layout,
                   const Box& box, std::vector<std::uint8_t>& mask) {
    long long width = box.right - box.left;
    SizedFace& sized = *font.face;
    long long pen = 0;
    for (std::size_t i = 0; i < length && pen < kMaxWidth; ++i) {
        const Glyph& g = glyphOf(sized, static_cast<unsigned char>(text[i]));
        long long x0 = pen + g.left - box.left, y0 = sized.ascent - g.top - box.top;
        for (int r = 0; r < g.rows; ++r) {
            // A glyph's own coverage never overlaps the mask: the loop is vector code.
            std::uint8_t* __restrict out = &mask[static_cast<std::size_t>((y0 + r) * width + x0)];
            const std::uint8_t* __restrict in = &g.coverage[static_cast<std::size_t>(r) * g.width];
            for (int c = 0; c < g.width; ++c) out[c] = std::max(out[c], in[c]);
        }
        pen += g.advance;
    }
    for (const Line& line : decorations(font))
        for (long long y = line.top; y < line.top + line.size; ++y)
            std::fill_n(&mask[static_cast<std::size_t>((y - box.top) * width - box.left)], layout.advance,
                        std::uint8_t{255});
}

bool buildCoverage(const FontRecord& font, const char* text, std::size_t length, TextCoverage* out) {
    Layout layout = layOut(font, text, length);
    Box box = layout.ink;
    for (const Line& line : decorations(font)) box.add(0, line.top, layout.advance, line.top + line.size);
    // The caller's buffer is reused: a new text each paint allocates nothing.
    out->left = out->top = out->width = out->height = 0;
    out->grey = true;
    out->rgb.clear();
    if (box.empty()) return true;  // nothing but blanks
    long long width = box.right - box.left, height = box.bottom - box.top;
    if (width > kMaxCoverage / height || box.left < INT_MIN / 2 || box.top < INT_MIN / 2) return false;
    // Grey smoothing: one coverage for red, green and blue, painted straight
    // into the caller's buffer.
    out->rgb.assign(static_cast<std::size_t>(width * height), 0);
    paintCoverage(font, text, length, layout, box, out->rgb);
    out->left = static_cast<int>(box.left);
    out->top = static_cast<int>(box.top);
    out->width = static_cast<int>(width);
    out->height = static_cast<int>(height);
    return true;
}

}  // namespace

int logicalPixelsPerInchY() { return 96; }

Font createFont(const FontRequest& request) {
    Font font = nullptr;
    try {
        std::optional<FontRecord> record = makeRecord(request);
        if (record) {
            FontState& s = state();
            std::uintptr_t id = s.nextId;
            s.nextId += 4;
            s.fonts[id] = *record;
            font = reinterpret_cast<Font>(id);
        }
    } catch (...) {
        font = nullptr;
    }
    return font;
}

void destroyFont(Font font) {
    if (font) state().fonts.erase(reinterpret_cast<std::uintptr_t>(font));
}

bool isFont(Font font) { return font && state().fonts.count(reinterpret_cast<std::uintptr_t>(font)) != 0; }

Size textExtent(Font font, const char* text, std::size_t length) {
    Size size;
    try {
        const FontRecord* record = recordOf(font);
        if (record && (text || length == 0)) {
            size.width = static_cast<int>(cellWidth(*record, layOut(*record, text, length)));
            size.height = record->face->ascent + record->face->descent;
        }
    } catch (...) {
        size = Size{};
    }
    return size;
}

bool textCoverage(Font font, const char* text, std::size_t length, TextCoverage* out) {
    bool made = false;
    if (!out || (!text && length != 0)) return made;
    try {
        const FontRecord* record = recordOf(font);
        made = record && buildCoverage(*record, text, length, out);
    } catch (...) {
        *out = TextCoverage{};
        made = false;
    }
    return made;
}

}  // namespace vb::platform
