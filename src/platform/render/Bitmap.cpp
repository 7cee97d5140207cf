#include "platform/render/Bitmap.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <png.h>

#include "platform/foundation/FileSystem.h"

namespace render {

namespace {

// Pictures come from the network and the package; a file this large is not a picture we show.
constexpr std::uint64_t kMaxImageFileBytes = 64ull * 1024 * 1024;

bool sideOk(long long w, long long h) {
    return w > 0 && h > 0 && w <= kMaxImageSide && h <= kMaxImageSide;
}

std::uint32_t readLE32(std::string_view b, std::size_t at) {
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}
std::uint16_t readLE16(std::string_view b, std::size_t at) {
    return std::uint16_t(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}

// libjpeg reports fatal errors through a callback that must not return.
struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void jpegErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}
void jpegQuiet(j_common_ptr) {}

// Kept free of objects with destructors between setjmp and the libjpeg calls, so the jump back
// skips nothing that needs cleaning up.
bool decodeJpegInto(std::string_view bytes, Bitmap& out) {
    jpeg_decompress_struct info;
    JpegError err;
    info.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = jpegErrorExit;
    err.mgr.output_message = jpegQuiet;
    JSAMPLE* volatile row = nullptr;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        delete[] row;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || !sideOk(info.image_width, info.image_height)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    out.pixels.assign(static_cast<std::size_t>(out.width) * out.height, 0xFF000000u);
    row = new JSAMPLE[static_cast<std::size_t>(out.width) * 3];
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {row};
        const unsigned y = info.output_scanline;
        if (jpeg_read_scanlines(&info, rows, 1) != 1) break;
        std::uint32_t* dst = &out.pixels[static_cast<std::size_t>(y) * out.width];
        for (int x = 0; x < out.width; ++x)
            dst[x] = 0xFF000000u | std::uint32_t(row[3 * x]) << 16 | std::uint32_t(row[3 * x + 1]) << 8 | row[3 * x + 2];
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    delete[] row;
    return true;
}

}  // namespace

ImageFormat sniffImageFormat(std::string_view b) {
    if (b.size() >= 8 && std::memcmp(b.data(), "\x89PNG\r\n\x1a\n", 8) == 0) return ImageFormat::Png;
    if (b.size() >= 3 && std::memcmp(b.data(), "\xFF\xD8\xFF", 3) == 0) return ImageFormat::Jpeg;
    if (b.size() >= 2 && b[0] == 'B' && b[1] == 'M') return ImageFormat::Bmp;
    return ImageFormat::Unknown;
}

std::optional<Bitmap> decodeImage(std::string_view bytes) {
    switch (sniffImageFormat(bytes)) {
    case ImageFormat::Png: return decodePng(bytes);
    case ImageFormat::Jpeg: return decodeJpeg(bytes);
    case ImageFormat::Bmp: return decodeBmp(bytes);
    case ImageFormat::Unknown: break;
    }
    return std::nullopt;
}

std::optional<Bitmap> decodePng(std::string_view bytes) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return std::nullopt;
    if (!sideOk(image.width, image.height)) {
        png_image_free(&image);
        return std::nullopt;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    Bitmap out;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
    for (std::size_t i = 0; i < out.pixels.size(); ++i)
        out.pixels[i] = premultipliedPixel(rgba[4 * i], rgba[4 * i + 1], rgba[4 * i + 2], rgba[4 * i + 3]);
    return out;
}

std::optional<Bitmap> decodeJpeg(std::string_view bytes) {
    if (bytes.size() < 4) return std::nullopt;
    Bitmap out;
    if (!decodeJpegInto(bytes, out)) return std::nullopt;
    return out;
}

std::optional<Bitmap> decodeBmp(std::string_view b) {
    // File header (14 bytes) and at least the 40-byte information header.
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
    const std::uint32_t dataOffset = readLE32(b, 10);
    const std::uint32_t headerSize = readLE32(b, 14);
    if (headerSize < 40) return std::nullopt;
    const auto width = static_cast<std::int32_t>(readLE32(b, 18));
    const auto rawHeight = static_cast<std::int32_t>(readLE32(b, 22));
    const std::uint16_t bits = readLE16(b, 28);
    const std::uint32_t compression = readLE32(b, 30);
    const bool topDown = rawHeight < 0;
    const long long height = topDown ? -static_cast<long long>(rawHeight) : rawHeight;
    if (!sideOk(width, height) || (bits != 8 && bits != 24 && bits != 32)) return std::nullopt;

    // Plain pixels, or 32-bit pixels described by the usual masks (the masks follow the
    // 40-byte header, or sit inside the longer headers at the same place).
    bool alpha = false;
    if (compression == 3 && bits == 32) {
        if (b.size() < 66 || readLE32(b, 54) != 0x00FF0000u || readLE32(b, 58) != 0x0000FF00u ||
            readLE32(b, 62) != 0x000000FFu)
            return std::nullopt;
        alpha = headerSize >= 56 && b.size() >= 70 && readLE32(b, 66) == 0xFF000000u;
    } else if (compression != 0) {
        return std::nullopt;
    }

    const std::uint64_t stride = ((std::uint64_t(width) * bits + 31) / 32) * 4;
    if (dataOffset < 14 + headerSize || dataOffset > b.size() ||
        stride * std::uint64_t(height) > b.size() - dataOffset)
        return std::nullopt;

    // An 8-bit picture indexes a palette of blue, green, red, unused entries between the header
    // and the pixels: as many as the header declares (0: all 256), and only those that are there.
    std::vector<std::uint32_t> palette;
    if (bits == 8) {
        const std::uint32_t declared = readLE32(b, 46);
        if (declared > 256) return std::nullopt;
        const std::size_t first = 14 + headerSize;
        const std::size_t room = (dataOffset - first) / 4;
        const std::size_t count = std::min<std::size_t>(declared == 0 ? 256 : declared, room);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = first + 4 * i;
            palette.push_back(premultipliedPixel(std::uint8_t(b[at + 2]), std::uint8_t(b[at + 1]), std::uint8_t(b[at]), 0xFF));
        }
    }

    Bitmap out;
    out.width = width;
    out.height = static_cast<int>(height);
    out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
    const std::size_t step = bits / 8;
    for (int y = 0; y < out.height; ++y) {
        const int srcRow = topDown ? y : out.height - 1 - y;
        const auto* src = reinterpret_cast<const std::uint8_t*>(b.data()) + dataOffset + stride * srcRow;
        std::uint32_t* dst = &out.pixels[static_cast<std::size_t>(y) * out.width];
        for (int x = 0; x < out.width; ++x, src += step) {
            if (bits == 8) {
                // An index past the palette is a damaged file, not a colour.
                if (*src >= palette.size()) return std::nullopt;
                dst[x] = palette[*src];
                continue;
            }
            const std::uint8_t a = alpha ? src[3] : 0xFF;
            dst[x] = premultipliedPixel(src[2], src[1], src[0], a);
        }
    }
    return out;
}

std::optional<Bitmap> decodeImageFile(const std::string& path) {
    auto bytes = platform::fs::readAll(path, kMaxImageFileBytes);
    if (!bytes) return std::nullopt;
    return decodeImage(*bytes);
}

std::optional<Bitmap> decodePackageImage(const std::string& name) {
    auto path = platform::Bundle::pathForResource(name);
    if (!path) return std::nullopt;
    return decodeImageFile(*path);
}

}  // namespace render
