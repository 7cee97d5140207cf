#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>
#include <jpeglib.h>

#include "platform/foundation/FileSystem.h"
#include "platform/render/Bitmap.h"
#include "platform/render/Png.h"
#include "support/TempHome.h"

namespace {

using render::Bitmap;

void put32(std::string& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
void put16(std::string& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
}

// A BMP with the 40-byte header (or a longer one carrying masks) and the given pixel rows
// (BGR or BGRA bytes, each row padded to four bytes), written in file order.
std::string bmp(int width, int height, int bits, std::uint32_t compression, const std::string& rows,
                std::uint32_t headerSize = 40) {
    std::string b(14 + headerSize, '\0');
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, static_cast<std::uint32_t>(b.size() + rows.size()));
    put32(b, 10, static_cast<std::uint32_t>(b.size()));
    put32(b, 14, headerSize);
    put32(b, 18, static_cast<std::uint32_t>(width));
    put32(b, 22, static_cast<std::uint32_t>(height));
    put16(b, 26, 1);
    put16(b, 28, static_cast<std::uint16_t>(bits));
    put32(b, 30, compression);
    if (headerSize >= 56) {
        put32(b, 54, 0x00FF0000u);
        put32(b, 58, 0x0000FF00u);
        put32(b, 62, 0x000000FFu);
        put32(b, 66, 0xFF000000u);
    }
    return b + rows;
}

// An 8-bit BMP: the palette (blue, green, red, unused per entry) between the header and the rows
// of indexes; `declared` is the header's count of palette entries (0: all 256).
std::string bmp8(int width, int height, const std::string& palette, std::uint32_t declared, const std::string& rows) {
    std::string b = bmp(width, height, 8, 0, "");
    put32(b, 46, declared);
    put32(b, 10, static_cast<std::uint32_t>(b.size() + palette.size()));
    return b + palette + rows;
}

// JPEG bytes of a picture whose left half is red and right half blue.
std::string jpegOfTwoHalves(int width, int height) {
    jpeg_compress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::string row(static_cast<std::size_t>(width) * 3, '\0');
    for (int x = 0; x < width; ++x) {
        row[3 * x] = x < width / 2 ? '\xFF' : 0;
        row[3 * x + 2] = x < width / 2 ? 0 : '\xFF';
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW r = reinterpret_cast<JSAMPROW>(row.data());
        jpeg_write_scanlines(&info, &r, 1);
    }
    jpeg_finish_compress(&info);
    std::string bytes(reinterpret_cast<char*>(out), size);
    jpeg_destroy_compress(&info);
    free(out);
    return bytes;
}

std::string pngOf(const Bitmap& b) {
    cairo_surface_t* s = render::surfaceFromBitmap(b);
    auto bytes = render::encodePng(s);
    cairo_surface_destroy(s);
    return bytes.value_or("");
}

}  // namespace

TEST(Bitmap, PngKeepsEveryPixelIncludingTranslucentOnes) {
    Bitmap in;
    in.width = 3;
    in.height = 2;
    in.pixels = {render::premultipliedPixel(255, 0, 0, 255), render::premultipliedPixel(0, 255, 0, 255),
                 render::premultipliedPixel(0, 0, 255, 255), render::premultipliedPixel(255, 255, 255, 128),
                 0u, render::premultipliedPixel(10, 20, 30, 255)};
    auto out = render::decodeImage(pngOf(in));
    ASSERT_TRUE(out);
    EXPECT_EQ(out->width, 3);
    EXPECT_EQ(out->height, 2);
    for (std::size_t i = 0; i < in.pixels.size(); ++i) EXPECT_EQ(out->pixels[i], in.pixels[i]) << i;
}

TEST(Bitmap, JpegDecodesToItsColoursWithinCompressionLoss) {
    auto out = render::decodeImage(jpegOfTwoHalves(32, 16));
    ASSERT_TRUE(out);
    EXPECT_EQ(out->width, 32);
    EXPECT_EQ(out->height, 16);
    auto near = [](std::uint32_t p, int r, int g, int b) {
        return std::abs(int((p >> 16) & 0xFF) - r) < 24 && std::abs(int((p >> 8) & 0xFF) - g) < 24 &&
               std::abs(int(p & 0xFF) - b) < 24 && (p >> 24) == 0xFF;
    };
    EXPECT_TRUE(near(out->at(2, 8), 255, 0, 0));
    EXPECT_TRUE(near(out->at(29, 8), 0, 0, 255));
}

TEST(Bitmap, BmpRowsReadBottomUpOrTopDownWithPadding) {
    // Two rows of three pixels: 9 bytes padded to 12. In file order the first row is the bottom
    // one unless the height is negative.
    std::string rows;
    rows += std::string("\x00\x00\xFF" "\x00\xFF\x00" "\xFF\x00\x00", 9) + std::string(3, '\x7F');  // red green blue
    rows += std::string("\xFF\xFF\xFF" "\x00\x00\x00" "\x80\x80\x80", 9) + std::string(3, '\x7F');  // white black grey
    auto up = render::decodeBmp(bmp(3, 2, 24, 0, rows));
    ASSERT_TRUE(up);
    EXPECT_EQ(up->at(0, 1), 0xFFFF0000u);
    EXPECT_EQ(up->at(1, 1), 0xFF00FF00u);
    EXPECT_EQ(up->at(2, 1), 0xFF0000FFu);
    EXPECT_EQ(up->at(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(up->at(2, 0), 0xFF808080u);

    auto down = render::decodeBmp(bmp(3, -2, 24, 0, rows));
    ASSERT_TRUE(down);
    EXPECT_EQ(down->at(0, 0), 0xFFFF0000u);
    EXPECT_EQ(down->at(0, 1), 0xFFFFFFFFu);
}

TEST(Bitmap, Bmp32BitUsesAlphaOnlyWhenTheHeaderDeclaresIt) {
    const std::string pixel("\x00\x00\xFF\x80", 4);  // red, alpha byte 0x80
    auto plain = render::decodeBmp(bmp(1, 1, 32, 0, pixel));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->at(0, 0), 0xFFFF0000u);
    auto masked = render::decodeBmp(bmp(1, 1, 32, 3, pixel, 108));
    ASSERT_TRUE(masked);
    EXPECT_EQ(masked->at(0, 0), render::premultipliedPixel(255, 0, 0, 0x80));
}

// A palette of red, green and blue, and two rows of three indexes into it, each padded to four
// bytes; the bottom row comes first.
const std::string kPalette("\x00\x00\xFF\x00" "\x00\xFF\x00\x00" "\xFF\x00\x00\x00", 12);
const std::string kIndexRows("\x00\x01\x02\x00" "\x02\x02\x00\x00", 8);

// Dish pictures often come as 8-bit BMP.
TEST(Bitmap, Bmp8BitLooksItsColoursUpInThePalette) {
    auto out = render::decodeBmp(bmp8(3, 2, kPalette, 3, kIndexRows));
    ASSERT_TRUE(out);
    EXPECT_EQ(out->at(0, 1), 0xFFFF0000u);
    EXPECT_EQ(out->at(1, 1), 0xFF00FF00u);
    EXPECT_EQ(out->at(2, 1), 0xFF0000FFu);
    EXPECT_EQ(out->at(0, 0), 0xFF0000FFu);
    EXPECT_EQ(out->at(2, 0), 0xFFFF0000u);
    // A count of 0 means a full palette, of which only the entries present are read.
    EXPECT_TRUE(render::decodeBmp(bmp8(3, 2, kPalette, 0, kIndexRows)));
}

TEST(Bitmap, DamagedOrHostilePicturesAreRefused) {
    const std::string row(12, '\0');
    std::string hugeBmp = bmp(9000, 1, 24, 0, "");
    std::string pastEnd = bmp(3, 2, 24, 0, row);                 // one row short
    std::string badOffset = bmp(1, 1, 24, 0, row);
    put32(badOffset, 10, 0xFFFFFFF0u);
    std::string minHeight = bmp(1, 1, 24, 0, row);
    put32(minHeight, 22, 0x80000000u);

    Bitmap wide;
    wide.width = render::kMaxImageSide + 1;
    wide.height = 1;
    wide.pixels.assign(wide.width, 0xFF000000u);
    const std::string widePng = pngOf(wide);
    std::string truncatedPng = pngOf(Bitmap{2, 2, {0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFF000000u}});
    truncatedPng.resize(truncatedPng.size() / 2);
    std::string jpeg = jpegOfTwoHalves(16, 16);

    struct Case { const char* what; std::string bytes; } cases[] = {
        {"empty", ""},
        {"not a picture", "hello, world"},
        {"BMP wider than the limit", hugeBmp},
        {"BMP pixel data short", pastEnd},
        {"BMP data offset past the end", badOffset},
        {"BMP height INT_MIN", minHeight},
        {"BMP 16-bit", bmp(1, 1, 16, 0, row)},
        {"BMP run-length", bmp(1, 1, 24, 1, row)},
        {"BMP zero width", bmp(0, 1, 24, 0, row)},
        {"BMP header only", std::string("BM", 2) + std::string(20, '\0')},
        {"BMP 8-bit index past the declared palette", bmp8(3, 2, kPalette, 2, kIndexRows)},
        {"BMP 8-bit index past the palette present", bmp8(3, 2, kPalette.substr(0, 8), 0, kIndexRows)},
        {"BMP 8-bit with more than 256 colours", bmp8(3, 2, kPalette, 300, kIndexRows)},
        {"BMP 8-bit rows cut short", bmp8(3, 2, kPalette, 3, kIndexRows.substr(0, 6))},
        {"PNG wider than the limit", widePng},
        {"PNG cut in half", truncatedPng},
        {"JPEG cut after the header", jpeg.substr(0, 20)},
        {"JPEG signature only", std::string("\xFF\xD8\xFF", 3)},
    };
    for (auto& c : cases) EXPECT_FALSE(render::decodeImage(c.bytes)) << c.what;
}

// Every byte of a small palette picture damaged in turn, and every length it could be cut to:
// the decoder refuses or decodes, and never reads past the bytes (the sanitizers watch).
TEST(Bitmap, Bmp8BitDamagedAnywhereIsReadWithinItsBytes) {
    const std::string good = bmp8(3, 2, kPalette, 3, kIndexRows);
    for (std::size_t n = 0; n < good.size(); ++n) (void)render::decodeImage(good.substr(0, n));
    for (std::size_t at = 2; at < good.size(); ++at)
        for (char value : {'\x00', '\x7F', '\xFF'}) {
            std::string damaged = good;
            damaged[at] = value;
            if (auto out = render::decodeImage(damaged)) {
                EXPECT_EQ(out->pixels.size(), std::size_t(out->width) * std::size_t(out->height)) << at;
            }
        }
}

TEST(Bitmap, JpegCutShortStillGivesAPictureOrNothingButNeverCrashes) {
    std::string jpeg = jpegOfTwoHalves(64, 64);
    for (std::size_t n = 0; n < jpeg.size(); n += 37) (void)render::decodeImage(jpeg.substr(0, n));
}

using PackagePictures = testsupport::TempHomeTest;

TEST_F(PackagePictures, PicturesLoadFromFilesAndThePackageButNotOutsideIt) {
    Bitmap one{1, 1, {0xFF00FF00u}};
    const std::string package = home.path() + "/package";
    ASSERT_TRUE(platform::fs::createFolder(package));
    ASSERT_TRUE(render::writePng(one, package + "/1-25.png"));
    home.writeFile("secret.png", pngOf(one));
    platform::Bundle::setResourceFolder(package);

    auto fromPackage = render::decodePackageImage("1-25.png");
    ASSERT_TRUE(fromPackage);
    EXPECT_EQ(fromPackage->at(0, 0), 0xFF00FF00u);
    EXPECT_TRUE(render::decodeImageFile(package + "/1-25.png"));
    EXPECT_FALSE(render::decodePackageImage("../secret.png"));
    EXPECT_FALSE(render::decodePackageImage("missing.png"));
}
