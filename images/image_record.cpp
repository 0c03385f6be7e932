// The image registry and the six loaders.
#include "images/image_record.h"

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "images/image_file.h"

namespace vb::images {
namespace {

// Lives until the library's own unload step has released the images: a
// static object would be destroyed before that step runs.
std::vector<std::unique_ptr<ImageRecord>>& registry() {
    static auto* records = new std::vector<std::unique_ptr<ImageRecord>>;
    return *records;
}

ImageHandle handleOf(const ImageRecord* record) { return reinterpret_cast<ImageHandle>(record); }

// The shell gives a type, folder or drive icon, or else the first icon of
// its own library.
platform::Icon orFallback(platform::Icon icon) { return icon ? icon : platform::shellFallbackIcon(); }

platform::Icon loadIcon(int type, const char* wParam, int lParam) {
    switch (type) {
        case kAssociation:
            return PassesFileTest(wParam) ? platform::shellFileIcon(wParam) : nullptr;
        case kExtension: {
            std::string extension = ".";
            extension += wParam;
            return orFallback(platform::shellTypeIcon(extension.c_str()));
        }
        case kFolder: {
            std::string path = wParam;
            if (path.empty() || path.back() != '\\') path += '\\';
            return orFallback(platform::shellFolderIcon(path.c_str()));
        }
        case kDrive:
            return orFallback(platform::shellDriveIcon(wParam));
        case kExecutable:
            return PassesFileTest(wParam) ? platform::extractIcon(wParam, lParam) : nullptr;
        default:
            return nullptr;
    }
}

bool fillRecord(ImageRecord* record, int type, const char* wParam, int lParam) {
    record->kind = type;
    if (type == kImageFile) {
        std::optional<pixels::Picture> picture = LoadImageFile(wParam);
        if (!picture) return false;
        record->picture = std::move(*picture);
        return true;
    }
    record->icon.reset(loadIcon(type, wParam, lParam));
    return record->icon != nullptr;
}

}  // namespace

bool PassesFileTest(const char* path) { return path && *path && platform::isExistingFile(path); }

ImageHandle LoadImageRecord(int type, const char* wParam, int lParam) {
    if (type < kAssociation || type > kImageFile || !wParam) return 0;
    auto record = std::make_unique<ImageRecord>();
    if (!fillRecord(record.get(), type, wParam, lParam)) return 0;
    registry().push_back(std::move(record));
    return handleOf(registry().back().get());
}

int ImageRegistryPosition(ImageHandle handle) {
    const auto& records = registry();
    for (std::size_t i = 0; i < records.size(); ++i)
        if (handleOf(records[i].get()) == handle) return static_cast<int>(i + 1);
    return 0;
}

std::size_t ImageRegistrySize() { return registry().size(); }

const ImageRecord* FindImageRecord(ImageHandle handle) {
    int position = handle ? ImageRegistryPosition(handle) : 0;
    return position ? registry()[static_cast<std::size_t>(position - 1)].get() : nullptr;
}

bool FreeImageRecord(ImageHandle handle) {
    int position = handle ? ImageRegistryPosition(handle) : 0;
    if (!position) return false;
    auto& records = registry();
    auto it = records.begin() + (position - 1);
    records.erase(it);  // the record's icon goes with it
    return true;
}

int CountIconsInFile(const char* path) { return PassesFileTest(path) ? platform::iconCount(path) : 0; }

void ReleaseAllImages() {
    // The icons stay with the system, as they do when the library unloads.
    for (auto& record : registry()) (void)record->icon.release();
    registry().clear();
}

ImageHandle ImageHandleFromNumber(double number) {
    // The bound is exclusive: the largest handle rounds up to a double just
    // past it, which would not convert.
    if (!(number >= 1.0) || number != std::floor(number) ||
        number >= static_cast<double>(std::numeric_limits<ImageHandle>::max()))
        return 0;
    return static_cast<ImageHandle>(number);
}

double ImageHandleToNumber(ImageHandle handle) { return static_cast<double>(handle); }

}  // namespace vb::images
