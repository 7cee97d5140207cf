#include <string>

#include <gtest/gtest.h>

#include "platform/render/Png.h"
#include "platform/render/Text.h"

namespace {

using render::FontSpec;
using render::TextStyle;

TextStyle style(double size, int lines = 1, bool bold = false) {
    TextStyle s;
    s.font = FontSpec{"", size, bold};
    s.maxLines = lines;
    return s;
}

// The bounding box of the pixels that are not fully transparent.
struct Ink {
    int minX = 1 << 30, minY = 1 << 30, maxX = -1, maxY = -1;
    bool any() const { return maxX >= 0; }
};
Ink inkOf(cairo_surface_t* s) {
    render::Bitmap b = render::bitmapFromSurface(s);
    Ink ink;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x)
            if (b.at(x, y) >> 24) {
                ink.minX = std::min(ink.minX, x);
                ink.maxX = std::max(ink.maxX, x);
                ink.minY = std::min(ink.minY, y);
                ink.maxY = std::max(ink.maxY, y);
            }
    return ink;
}

}  // namespace

TEST(TextLayout, FontsFallBackToTheCjkFontAndKeepInstalledFamilies) {
    EXPECT_EQ(render::fontFamilies(FontSpec{"", 14, false}).rfind("WenQuanYi Micro Hei", 0), 0u);
    EXPECT_EQ(render::fontFamilies(FontSpec{"宋体", 17, false}).rfind("WenQuanYi Micro Hei", 0), 0u);
    EXPECT_EQ(render::fontFamilies(FontSpec{"DejaVu Sans", 12, false}).rfind("DejaVu Sans,", 0), 0u);
    EXPECT_TRUE(render::isBold(FontSpec{"Helvetica-Bold", 12, false}));
    EXPECT_FALSE(render::isBold(FontSpec{"Helvetica", 12, false}));
}

TEST(TextLayout, MeasuresChineseAndLatinByFontSizeWidthAndLines) {
    const auto one = render::measureText("菜", style(20));
    const auto four = render::measureText("菜单菜单", style(20));
    // A CJK glyph is about as wide as the font is tall.
    EXPECT_NEAR(one.width, 20, 3);
    EXPECT_NEAR(four.width, 4 * one.width, 2);
    EXPECT_GT(render::measureText("菜", style(40)).width, 1.8 * one.width);
    EXPECT_GT(render::measureText("iiii", style(20)).width, 0);
    EXPECT_LT(render::measureText("iiii", style(20)).width, render::measureText("MMMM", style(20)).width);

    // Narrow boxes break lines; the line limit caps them.
    const double line = render::lineHeight(FontSpec{"", 20, false});
    const std::string longText = "今天的特色菜是红烧肉和清蒸鱼";
    EXPECT_NEAR(render::measureText(longText, style(20, 0), 100).height, 3 * line, 1);
    EXPECT_NEAR(render::measureText(longText, style(20, 2), 100).height, 2 * line, 1);
    EXPECT_LE(render::measureText(longText, style(20, 0), 100).width, 100);
}

TEST(TextLayout, TextThatIsNotUtf8StillMeasuresAndDraws) {
    const std::string broken = "ab\xFF\xFE" "cd";
    EXPECT_GT(render::measureText(broken, style(14)).width, render::measureText("abcd", style(14)).width);
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 100, 30);
    cairo_t* cr = cairo_create(s);
    render::drawText(cr, broken, style(14), 0, 0, 100, 30, {});
    cairo_destroy(cr);
    EXPECT_TRUE(inkOf(s).any());
    cairo_surface_destroy(s);
}

TEST(TextLayout, DrawsAlignedAndCentredInsideItsBoxOnly) {
    struct Case { render::TextAlign align; double expectedMidX; } cases[] = {
        {render::TextAlign::Left, 20}, {render::TextAlign::Center, 100}, {render::TextAlign::Right, 180},
    };
    for (auto& c : cases) {
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 300, 100);
        cairo_t* cr = cairo_create(s);
        TextStyle st = style(20);
        st.align = c.align;
        render::drawText(cr, "确定", st, 0, 20, 200, 60, {0, 0, 0, 1});
        cairo_destroy(cr);
        Ink ink = inkOf(s);
        ASSERT_TRUE(ink.any());
        EXPECT_NEAR((ink.minX + ink.maxX) / 2.0, c.expectedMidX, 4) << int(c.align);
        EXPECT_NEAR((ink.minY + ink.maxY) / 2.0, 50, 4);
        cairo_surface_destroy(s);
    }

    // A text longer than its box stays inside it.
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 300, 100);
    cairo_t* cr = cairo_create(s);
    render::drawText(cr, "一二三四五六七八九十一二三四五六七八九十", style(20), 50, 40, 100, 24, {0, 0, 0, 1});
    cairo_destroy(cr);
    Ink ink = inkOf(s);
    EXPECT_GE(ink.minX, 50);
    EXPECT_LT(ink.maxX, 150);
    EXPECT_GE(ink.minY, 40);
    EXPECT_LT(ink.maxY, 64);
    cairo_surface_destroy(s);
}
