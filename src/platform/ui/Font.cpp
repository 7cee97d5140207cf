#include "platform/ui/Font.h"

#include <algorithm>
#include <cmath>
#include <list>
#include <unordered_map>
#include <vector>

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

// Everything a measurement depends on, besides the measurer itself (installing one forgets all).
struct MeasurementKey {
    std::string text;
    std::string fontName;
    double fontSize;
    bool bold;
    double maxWidth;
    bool operator==(const MeasurementKey&) const = default;
};

struct MeasurementKeyHash {
    std::size_t operator()(const MeasurementKey& k) const {
        std::size_t h = std::hash<std::string>()(k.text);
        for (std::size_t part : {std::hash<std::string>()(k.fontName), std::hash<double>()(k.fontSize),
                                 std::hash<bool>()(k.bold), std::hash<double>()(k.maxWidth)})
            h ^= part + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
        return h;
    }
};

// The sizes the installed measurer gave, least recently used forgotten first. Laying a text out
// with pango costs far more than looking it up, and the same short texts come back all the time:
// a price like "38元/份" on many dishes and on every return to a category, each time in a tile
// built afresh. Bounded by kRememberedMeasurements entries of at most kLongestRememberedText
// bytes of text each. Not locked: measuring happens on the main thread only (the measurer it
// stands in front of shares one pango context, which is no safer).
class RememberedSizes {
public:
    const Size* find(const MeasurementKey& key) {
        auto it = sizes_.find(key);
        if (it == sizes_.end()) return nullptr;
        recent_.splice(recent_.begin(), recent_, it->second.recent);
        return &it->second.size;
    }
    void remember(MeasurementKey key, Size size) {
        if (sizes_.size() >= kRememberedMeasurements) {
            sizes_.erase(sizes_.find(*recent_.back()));
            recent_.pop_back();
        }
        auto [it, added] = sizes_.emplace(std::move(key), Entry{size, {}});
        if (!added) return;
        recent_.push_front(&it->first);
        it->second.recent = recent_.begin();
    }
    void clear() {
        sizes_.clear();
        recent_.clear();
    }

private:
    struct Entry {
        Size size;
        std::list<const MeasurementKey*>::iterator recent;
    };
    std::unordered_map<MeasurementKey, Entry, MeasurementKeyHash> sizes_;
    std::list<const MeasurementKey*> recent_;  // most recently used first; points at sizes_' keys
};

RememberedSizes& rememberedSizes() {
    static RememberedSizes r;
    return r;
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
    if (!measurer()) return estimate(text, font, maxWidth);
    // A NaN would never find itself again, so such a measurement is not remembered.
    if (text.size() > kLongestRememberedText || std::isnan(font.size) || std::isnan(maxWidth))
        return measurer()(text, font, maxWidth);
    MeasurementKey key{std::string(text), font.name, font.size, font.bold, maxWidth};
    if (const Size* known = rememberedSizes().find(key)) return *known;
    const Size size = measurer()(text, font, maxWidth);
    rememberedSizes().remember(std::move(key), size);
    return size;
}

void setTextMeasurer(TextMeasurer m) {
    measurer() = std::move(m);
    rememberedSizes().clear();
    ++generation();
}

std::uint64_t textMeasurerGeneration() { return generation(); }

}  // namespace ui
