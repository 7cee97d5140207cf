#pragma once
// The terminal's one palette, as the generated pictures use it.

namespace artgen {

struct Rgb {
    double r, g, b;
};

constexpr Rgb hex(unsigned v) {
    return {((v >> 16) & 0xff) / 255.0, ((v >> 8) & 0xff) / 255.0, (v & 0xff) / 255.0};
}

namespace palette {
// The screens' own colours (kit:: in src/screens/kit/ScreenKit.h), so that drawn controls and
// pictures match.
constexpr Rgb paper = hex(0xF6F2EA);      // screen background
constexpr Rgb card = hex(0xFFFFFF);       // panels, wells, light keys
constexpr Rgb line = hex(0xD6CCBE);       // separators and borders
constexpr Rgb bar = hex(0x3A2E28);        // title bars
constexpr Rgb ink = hex(0x28221E);        // text and glyphs on light faces
constexpr Rgb muted = hex(0x645C54);      // secondary glyphs
constexpr Rgb brand = hex(0xC4542C);      // the accent: primary buttons
constexpr Rgb key = hex(0xE2DACE);        // secondary (quiet) button faces
// Shades of the same family for edges, presses and states.
constexpr Rgb brandDark = hex(0x93391B);  // pressed accent, edges
constexpr Rgb green = hex(0x2E8B57);      // free desk, go, OK
constexpr Rgb greenDark = hex(0x1F6840);
constexpr Rgb goPlate = hex(0x287D4E);    // OK plates under white labels (green is too light for them)
constexpr Rgb amber = hex(0xD99A1E);      // reserved desk, hold
constexpr Rgb blue = hex(0x2F6FB3);       // informational states
constexpr Rgb slate = hex(0x5B6470);      // cancel
constexpr Rgb slateDark = hex(0x3E454E);
constexpr Rgb red = hex(0xC23B32);        // urgent, returned
// Pale fills of the desk tiles: dark text stays readable on each.
constexpr Rgb paleGreen = hex(0xDCEFE2);
constexpr Rgb paleAmber = hex(0xF8EACB);
constexpr Rgb paleBrand = hex(0xF6DACD);
constexpr Rgb paleBlue = hex(0xDAE6F4);
}  // namespace palette

// The one font of the terminal; pictures that carry glyphs (key faces, badges) use it too.
inline constexpr const char* kFontFamily = "WenQuanYi Micro Hei";

}  // namespace artgen
