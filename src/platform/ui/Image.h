#pragma once
// A decoded picture: its size in pixels (one pixel per point) and either straight RGBA bytes or
// an opaque decoded form that the drawing layer made. Decoding belongs to the drawing layer,
// which installs its decoder here; without one, pictures from bytes or files are not available.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Geometry.h"

namespace ui {

class Image {
public:
    // `rgba` holds width * height * 4 bytes, rows top to bottom, straight alpha.
    Image(int width, int height, std::vector<std::uint8_t> rgba);
    // A picture in the drawing layer's own form (e.g. a cairo surface).
    Image(int width, int height, std::shared_ptr<void> native);

    int width() const { return width_; }
    int height() const { return height_; }
    Size size() const { return {static_cast<double>(width_), static_cast<double>(height_)}; }
    // Empty when the picture is held in native form only.
    const std::vector<std::uint8_t>& rgba() const { return rgba_; }
    // The drawing layer's form; it may attach one once to a picture made from RGBA bytes.
    const std::shared_ptr<void>& native() const { return native_; }
    void setNative(std::shared_ptr<void> native) const { native_ = std::move(native); }
    // Where the picture came from (resource name or file), for the tree dump.
    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }

    // A copy whose middle stretches and whose caps (left/right `leftCap`, top/bottom `topCap`
    // pixels) keep their size when drawn larger.
    std::shared_ptr<Image> stretchable(int leftCap, int topCap) const;
    int leftCapWidth() const { return leftCap_; }
    int topCapHeight() const { return topCap_; }

    // Bytes of a PNG, JPEG or BMP file -> picture, or null when they cannot be decoded.
    using Decoder = std::function<std::shared_ptr<Image>(std::string_view bytes)>;
    static void setDecoder(Decoder decoder);
    static bool hasDecoder();

    // A picture of the program package by file name ("5-48.png"), cached by name; null when the
    // resource is missing or undecodable.
    static std::shared_ptr<Image> named(const std::string& name);
    // A picture file read whole (at most 64 MiB); null when missing or undecodable.
    static std::shared_ptr<Image> withContentsOfFile(const std::string& path);
    static std::shared_ptr<Image> withData(std::string_view bytes);
    // Forgets the pictures cached by `named` (the memory warning).
    static void clearCache();

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> rgba_;
    mutable std::shared_ptr<void> native_;
    std::string name_;
    int leftCap_ = 0;
    int topCap_ = 0;
};

}  // namespace ui
