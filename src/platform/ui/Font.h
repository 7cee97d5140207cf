#pragma once
// A font by family name and size, and the text measurement the controls use. The drawing layer
// installs a measurer that lays text out as it will be drawn; until then an estimate stands in
// (a CJK character as wide as the font size, other characters 0.55 of it).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/ui/Geometry.h"

namespace ui {

struct Font {
    // Empty = the system font.
    std::string name;
    double size = 17;
    bool bold = false;

    bool operator==(const Font&) const = default;
    static Font systemFont(double size) { return {"", size, false}; }
    static Font boldSystemFont(double size) { return {"", size, true}; }
    static Font withName(std::string name, double size) { return {std::move(name), size, false}; }
    double lineHeight() const { return size * 1.2; }
};

enum class TextAlignment { Left, Center, Right };
enum class LineBreakMode { WordWrap, CharacterWrap, Clip, TruncateHead, TruncateTail, TruncateMiddle };

// The size `text` takes in `font` when wrapped at `maxWidth` (<= 0: one line, no wrapping).
// What the installed measurer answered is remembered for the same text, font and width (see
// kRememberedMeasurements), so labels built afresh with a text seen before are not laid out again.
// Main thread only, like the views it serves.
Size measureText(std::string_view text, const Font& font, double maxWidth = 0);

// The bound on what measureText remembers: this many sizes at most, the least recently used
// forgotten first, each of a text no longer than kLongestRememberedText bytes (a longer one is
// measured every time), so the memory stays near 600 KB at worst and a few tens of KB for the
// short labels it is asked about.
inline constexpr std::size_t kRememberedMeasurements = 512;
inline constexpr std::size_t kLongestRememberedText = 1024;

using TextMeasurer = std::function<Size(std::string_view text, const Font& font, double maxWidth)>;
// Null restores the estimate. Either way the sizes measured before are forgotten.
void setTextMeasurer(TextMeasurer measurer);
// Changes with every setTextMeasurer, so that a remembered measurement knows when it is stale.
std::uint64_t textMeasurerGeneration();

}  // namespace ui
