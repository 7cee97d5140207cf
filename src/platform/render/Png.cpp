#include "platform/render/Png.h"

#include <cstring>

#include "platform/foundation/FileSystem.h"

namespace render {

namespace {

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::optional<std::string> encodePng(cairo_surface_t* surface) {
    std::string bytes;
    if (!surface || cairo_surface_write_to_png_stream(surface, appendBytes, &bytes) != CAIRO_STATUS_SUCCESS)
        return std::nullopt;
    return bytes;
}

bool writePng(cairo_surface_t* surface, const std::string& path) {
    auto bytes = encodePng(surface);
    return bytes && platform::fs::writeAtomically(path, *bytes);
}

bool writePng(const Bitmap& bitmap, const std::string& path) {
    cairo_surface_t* surface = surfaceFromBitmap(bitmap);
    const bool ok = writePng(surface, path);
    cairo_surface_destroy(surface);
    return ok;
}

Bitmap bitmapFromSurface(cairo_surface_t* surface) {
    Bitmap out;
    if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) return out;
    cairo_surface_flush(surface);
    const cairo_format_t format = cairo_image_surface_get_format(surface);
    if (format != CAIRO_FORMAT_ARGB32 && format != CAIRO_FORMAT_RGB24) return out;
    out.width = cairo_image_surface_get_width(surface);
    out.height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y) {
        std::memcpy(&out.pixels[static_cast<std::size_t>(y) * out.width], data + static_cast<std::size_t>(y) * stride,
                    static_cast<std::size_t>(out.width) * 4);
        if (format == CAIRO_FORMAT_RGB24)
            for (int x = 0; x < out.width; ++x) out.pixels[static_cast<std::size_t>(y) * out.width + x] |= 0xFF000000u;
    }
    return out;
}

cairo_surface_t* surfaceFromBitmap(const Bitmap& bitmap) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, bitmap.width, bitmap.height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS || bitmap.pixels.empty()) return surface;
    cairo_surface_flush(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    for (int y = 0; y < bitmap.height; ++y)
        std::memcpy(data + static_cast<std::size_t>(y) * stride, &bitmap.pixels[static_cast<std::size_t>(y) * bitmap.width],
                    static_cast<std::size_t>(bitmap.width) * 4);
    cairo_surface_mark_dirty(surface);
    return surface;
}

}  // namespace render
