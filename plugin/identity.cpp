#include "plugin/identity.h"

#include <cstring>

namespace vb::plugin {

int CopyTextOut(const char* text, char* buffer, int* size) {
    if (!size) return -1;
    int length = static_cast<int>(std::strlen(text));
    int needed = length + 1;
    if (*size < needed || !buffer) {
        *size = needed;
        return -1;
    }
    std::memset(buffer, 0, static_cast<std::size_t>(needed));
    std::memcpy(buffer, text, static_cast<std::size_t>(length));
    return length;
}

}  // namespace vb::plugin
