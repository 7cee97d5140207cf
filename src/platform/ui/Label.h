#pragma once
// A read-only text: font, colour, alignment, number of lines, line breaks and an optional shadow.
// Takes no touches by default.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/ui/Font.h"
#include "platform/ui/View.h"

namespace ui {

class Label : public View {
public:
    Label();
    explicit Label(const Rect& frame);
    const char* className() const override { return "Label"; }

    const std::string& text() const { return text_; }
    void setText(std::string text);
    const Font& font() const { return font_; }
    void setFont(const Font& font);
    Color textColor() const { return textColor_; }
    void setTextColor(const Color& c);
    Color highlightedTextColor() const { return highlightedTextColor_; }
    void setHighlightedTextColor(const Color& c) { highlightedTextColor_ = c; }
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool h);
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment a);
    // 0 = as many lines as fit.
    int numberOfLines() const { return lines_; }
    void setNumberOfLines(int lines);
    LineBreakMode lineBreakMode() const { return lineBreak_; }
    void setLineBreakMode(LineBreakMode m);
    // No shadow when absent.
    const std::optional<Color>& shadowColor() const { return shadowColor_; }
    void setShadowColor(std::optional<Color> c);
    Size shadowOffset() const { return shadowOffset_; }
    void setShadowOffset(Size offset);
    bool adjustsFontSizeToFitWidth() const { return adjustsFont_; }
    void setAdjustsFontSizeToFitWidth(bool adjusts);
    double minimumFontSize() const { return minimumFontSize_; }
    void setMinimumFontSize(double size);
    // The font the text is drawn in: the label's own, or for a one-line label that shrinks to fit,
    // the size at which the text fits its width, down to the minimum size (half the font's size
    // when none is set).
    Font shownFont() const;

    Size sizeThatFits(Size size) const override;

private:
    std::string text_;
    Font font_ = Font::systemFont(17);
    Color textColor_ = Color::blackColor();
    Color highlightedTextColor_ = Color::whiteColor();
    bool highlighted_ = false;
    TextAlignment alignment_ = TextAlignment::Left;
    int lines_ = 1;
    LineBreakMode lineBreak_ = LineBreakMode::TruncateTail;
    std::optional<Color> shadowColor_;
    Size shadowOffset_{0, -1};
    bool adjustsFont_ = false;
    double minimumFontSize_ = 0;
    // The shrunk font is measured once for a text, font and width, not on every draw: a screen
    // full of such labels is drawn again on every frame of a scroll or an animation. The width
    // and the measurer it was measured with are checked when it is read; the setters forget it.
    mutable std::optional<Font> shown_;
    mutable double shownWidth_ = 0;
    mutable std::uint64_t shownMeasurer_ = 0;
};

}  // namespace ui
