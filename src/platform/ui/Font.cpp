#include "platform/ui/Font.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {
TextMeasurer& measurer() {
    static TextMeasurer m;
    return m;
}

std::uint64_t& generation() {
    static std::uint64_t g = 0;
    return g;
}

// Width of one character in the estimate: CJK and other wide scripts take the full em.
double estimateWidth(char32_t c, double size) {
    if (c >= 0x1100 && (c <= 0x115F || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
                        (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
                        (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6)))
        return size;
    return size * 0.55;
}

// Decodes UTF-8 leniently: a stray byte counts as one character.
std::vector<char32_t> codepoints(std::string_view s) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        int n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 1;
        if (i + static_cast<std::size_t>(n) > s.size()) n = 1;
        char32_t c = n == 1 ? b : b & (0x3F >> (n - 1));
        for (int k = 1; k < n; ++k) c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(c);
        i += static_cast<std::size_t>(n);
    }
    return out;
}

Size estimate(std::string_view text, const Font& font, double maxWidth) {
    double lineW = 0, widest = 0;
    int lines = 1;
    for (char32_t c : codepoints(text)) {
        if (c == '\n') {
            widest = std::max(widest, lineW);
            lineW = 0;
            ++lines;
            continue;
        }
        double w = estimateWidth(c, font.size);
        if (maxWidth > 0 && lineW + w > maxWidth && lineW > 0) {
            widest = std::max(widest, lineW);
            lineW = 0;
            ++lines;
        }
        lineW += w;
    }
    widest = std::max(widest, lineW);
    return {std::ceil(widest), std::ceil(font.lineHeight() * lines)};
}
}  // namespace

Size measureText(std::string_view text, const Font& font, double maxWidth) {
    if (measurer()) return measurer()(text, font, maxWidth);
    return estimate(text, font, maxWidth);
}

void setTextMeasurer(TextMeasurer m) {
    measurer() = std::move(m);
    ++generation();
}

std::uint64_t textMeasurerGeneration() { return generation(); }

}  // namespace ui
