#include "images/icon_image.h"

#include "render/raster.h"

namespace vb::images {

int IconSide(int size) {
    constexpr int kSides[] = {16, 24, 32, 48};
    return size >= kIcon16 && size <= kIcon48 ? kSides[size - kIcon16] : kSides[0];
}

std::optional<pixels::Picture> BuildIconImage(const ImageRecord& record, int width, int height) {
    constexpr int kDrawSide = 32;
    std::optional<pixels::Picture> picture;
    if (record.kind >= kAssociation && record.kind <= kExecutable) {
        picture = pixels::makePicture(kDrawSide, kDrawSide, true);  // alpha 0: transparent
        if (!picture || !platform::drawIcon(record.icon.get(), kDrawSide, kDrawSide, picture->pixels.data()))
            return std::nullopt;
    } else if (record.kind == kImageFile) {
        picture = render::CopyPicture(record.picture);
        if (!picture) return std::nullopt;
    } else {
        return std::nullopt;
    }
    if ((picture->width != width || picture->height != height) && !render::Resize(*picture, width, height))
        return std::nullopt;
    return picture;
}

}  // namespace vb::images
