// The whole LoadImage path for each load type: the first byte chooses the
// type (1-6), the second the icon index; the rest is the file's contents
// (types 1, 5, 6) or the name given (types 2-4). Each record made is drawn
// at every icon size and freed, as the plug-in would.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "images/icon_image.h"
#include "images/image_file.h"
#include "images/image_record.h"

namespace {

// One file per process, rewritten for each input.
const std::string& scratchPath() {
    static const std::string path = [] {
        char name[] = "/tmp/fuzz_load_image.XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0) std::abort();
        close(fd);
        std::atexit([] { std::remove(scratchPath().c_str()); });
        return std::string(name);
    }();
    return path;
}

bool writeScratch(const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(scratchPath().c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vb::images;
    if (size < 2) return 0;
    const int type = 1 + data[0] % 6;
    const int index = static_cast<std::int8_t>(data[1]);
    std::string wParam;
    if (type == kAssociation || type == kExecutable || type == kImageFile) {
        if (!writeScratch(data + 2, size - 2)) return 0;
        wParam = scratchPath();
        if (CountIconsInFile(wParam.c_str()) < 0) std::abort();
    } else {
        wParam.assign(reinterpret_cast<const char*>(data + 2), size - 2);
    }

    const ImageHandle handle = LoadImageRecord(type, wParam.c_str(), index);
    if (!handle) return 0;
    const ImageRecord* record = FindImageRecord(handle);
    if (!record || record->kind != type) std::abort();
    if (type == kImageFile && (record->picture.width > kImageBox || record->picture.height > kImageBox))
        std::abort();
    for (int side : {16, 24, 32, 48}) {
        auto picture = BuildIconImage(*record, side, side);
        if (picture && picture->pixels.size() != std::size_t(side) * side) std::abort();
    }
    if (!FreeImageRecord(handle)) std::abort();
    return 0;
}
