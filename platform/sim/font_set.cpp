#include "platform/sim/font_set.h"

#include <strings.h>

namespace vb::platform {

namespace {

constexpr const char* kDefaultFamily = "DejaVu Sans";

// The files of fonts-dejavu-core, fonts-dejavu-extra and fonts-liberation
// that stand for the faces scripts name. A file that is missing is simply
// not in the set.
constexpr const char* kFontFiles[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Oblique.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-BoldOblique.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Italic.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif-BoldItalic.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Oblique.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-BoldOblique.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-Italic.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-BoldItalic.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSerif-Bold.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSerif-Italic.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSerif-BoldItalic.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationMono-Bold.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationMono-Italic.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationMono-BoldItalic.ttf",
};

constexpr const char* kFamilies[] = {
    "DejaVu Sans",     "DejaVu Serif",     "DejaVu Sans Mono",
    "Liberation Sans", "Liberation Serif", "Liberation Mono",
};

struct Substitute {
    const char* face;
    const char* family;
};

// Liberation's metrics match the three Windows core faces; other common
// Windows faces get the DejaVu face of their kind.
constexpr Substitute kSubstitutes[] = {
    {"Arial", "Liberation Sans"},
    {"Helvetica", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Times", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Courier", "Liberation Mono"},
    {"MS Sans Serif", "DejaVu Sans"},
    {"Microsoft Sans Serif", "DejaVu Sans"},
    {"Tahoma", "DejaVu Sans"},
    {"Verdana", "DejaVu Sans"},
    {"Segoe UI", "DejaVu Sans"},
    {"sans-serif", "DejaVu Sans"},
    {"Georgia", "DejaVu Serif"},
    {"MS Serif", "DejaVu Serif"},
    {"serif", "DejaVu Serif"},
    {"Consolas", "DejaVu Sans Mono"},
    {"Lucida Console", "DejaVu Sans Mono"},
    {"monospace", "DejaVu Sans Mono"},
};

FcConfig*& config() {
    static FcConfig* made = nullptr;
    return made;
}

bool configTried = false;

}  // namespace

std::string FamilyForFace(const std::string& face) {
    for (const char* family : kFamilies)
        if (strcasecmp(face.c_str(), family) == 0) return family;
    for (const Substitute& s : kSubstitutes)
        if (strcasecmp(face.c_str(), s.face) == 0) return s.family;
    return kDefaultFamily;
}

FcConfig* FontSetConfig() {
    if (configTried) return config();
    configTried = true;
    FcConfig* made = FcConfigCreate();
    if (!made) return nullptr;
    for (const char* file : kFontFiles) FcConfigAppFontAddFile(made, reinterpret_cast<const FcChar8*>(file));
    config() = made;
    return made;
}

void ReleaseFontSet() {
    if (config()) FcConfigDestroy(config());
    config() = nullptr;
    configTried = false;
}

}  // namespace vb::platform
