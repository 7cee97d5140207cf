// Picture decoding (PNG, JPEG and our own BMP reader), as pictures downloaded from the server
// are decoded.
#include <cstdint>
#include <string_view>

#include "platform/render/Bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (auto decode : {render::decodePng, render::decodeJpeg, render::decodeBmp}) {
        auto bitmap = decode(bytes);
        if (!bitmap) continue;
        if (bitmap->width < 1 || bitmap->height < 1 || bitmap->width > render::kMaxImageSide ||
            bitmap->height > render::kMaxImageSide ||
            bitmap->pixels.size() != static_cast<std::size_t>(bitmap->width) * bitmap->height)
            __builtin_trap();
    }
    return 0;
}
