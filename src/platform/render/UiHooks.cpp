#include "platform/render/UiHooks.h"

#include <memory>

#include "platform/render/Bitmap.h"
#include "platform/render/Png.h"

namespace render {

namespace {

std::shared_ptr<void> holdSurface(cairo_surface_t* surface) {
    return std::shared_ptr<void>(surface, [](void* s) { cairo_surface_destroy(static_cast<cairo_surface_t*>(s)); });
}

std::shared_ptr<ui::Image> decodeForUi(std::string_view bytes) {
    auto bitmap = decodeImage(bytes);
    if (!bitmap) return nullptr;
    cairo_surface_t* surface = surfaceFromBitmap(*bitmap);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    return std::make_shared<ui::Image>(bitmap->width, bitmap->height, holdSurface(surface));
}

}  // namespace

void installUiHooks() {
    ui::Image::setDecoder(decodeForUi);
    ui::setTextMeasurer([](std::string_view text, const ui::Font& font, double maxWidth) {
        TextStyle style;
        style.font = fontSpec(font);
        style.maxLines = 0;
        style.ellipsis = Ellipsis::None;
        auto e = measureText(std::string(text), style, maxWidth);
        return ui::Size{e.width, e.height};
    });
}

FontSpec fontSpec(const ui::Font& font) {
    return FontSpec{font.name, font.size, font.bold};
}

Rgba rgba(const ui::Color& c) {
    return Rgba{c.red, c.green, c.blue, c.alpha};
}

TextAlign textAlign(ui::TextAlignment a) {
    switch (a) {
    case ui::TextAlignment::Center: return TextAlign::Center;
    case ui::TextAlignment::Right: return TextAlign::Right;
    case ui::TextAlignment::Left: break;
    }
    return TextAlign::Left;
}

cairo_surface_t* surfaceOf(const ui::Image& image) {
    if (image.native()) return static_cast<cairo_surface_t*>(image.native().get());
    const auto& rgbaBytes = image.rgba();
    const std::size_t n = static_cast<std::size_t>(image.width()) * image.height();
    if (image.width() <= 0 || image.height() <= 0 || rgbaBytes.size() < n * 4) return nullptr;
    Bitmap b;
    b.width = image.width();
    b.height = image.height();
    b.pixels.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        b.pixels[i] = premultipliedPixel(rgbaBytes[4 * i], rgbaBytes[4 * i + 1], rgbaBytes[4 * i + 2], rgbaBytes[4 * i + 3]);
    cairo_surface_t* surface = surfaceFromBitmap(b);
    image.setNative(holdSurface(surface));
    return surface;
}

}  // namespace render
