#pragma once
// A decoded picture in cairo's pixel layout (32-bit premultiplied ARGB, rows of width pixels),
// and the decoders that make one from PNG, JPEG or BMP bytes, a file, or the program package.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace render {

// Pictures wider or taller than this are refused: a hostile header must not make us allocate
// gigabytes.
constexpr int kMaxImageSide = 8192;

struct Bitmap {
    int width = 0;
    int height = 0;
    // 0xAARRGGBB with premultiplied colour, row after row, top row first.
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

enum class ImageFormat { Unknown, Png, Jpeg, Bmp };
ImageFormat sniffImageFormat(std::string_view bytes);

// Nothing when the bytes are not a picture we read, are damaged, or exceed kMaxImageSide.
std::optional<Bitmap> decodeImage(std::string_view bytes);
std::optional<Bitmap> decodePng(std::string_view bytes);
std::optional<Bitmap> decodeJpeg(std::string_view bytes);
// Uncompressed 8-bit (palette), 24- and 32-bit BMP, bottom-up or top-down.
std::optional<Bitmap> decodeBmp(std::string_view bytes);

std::optional<Bitmap> decodeImageFile(const std::string& path);
// A picture of the program package by its full name ("2-16.png").
std::optional<Bitmap> decodePackageImage(const std::string& name);

// Premultiplies straight-alpha colour into the layout above.
inline std::uint32_t premultipliedPixel(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
    auto mul = [a](std::uint8_t c) -> std::uint32_t { return (c * a + 127) / 255; };
    return (std::uint32_t(a) << 24) | (mul(r) << 16) | (mul(g) << 8) | mul(b);
}

}  // namespace render
