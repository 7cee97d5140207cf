#include "platform/ui/Label.h"

#include <algorithm>
#include <cmath>

namespace ui {

Label::Label() { setDefaultInteraction(false); }
Label::Label(const Rect& frame) : View(frame) { setDefaultInteraction(false); }

void Label::setText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    shown_.reset();
    setNeedsDisplay();
}
void Label::setFont(const Font& font) {
    font_ = font;
    shown_.reset();
    setNeedsDisplay();
}
void Label::setTextColor(const Color& c) { textColor_ = c; setNeedsDisplay(); }
void Label::setHighlighted(bool h) { highlighted_ = h; setNeedsDisplay(); }
void Label::setTextAlignment(TextAlignment a) { alignment_ = a; setNeedsDisplay(); }
void Label::setNumberOfLines(int lines) {
    lines_ = std::max(0, lines);
    shown_.reset();
    setNeedsDisplay();
}
void Label::setLineBreakMode(LineBreakMode m) { lineBreak_ = m; setNeedsDisplay(); }
void Label::setShadowColor(std::optional<Color> c) { shadowColor_ = c; setNeedsDisplay(); }
void Label::setShadowOffset(Size offset) { shadowOffset_ = offset; setNeedsDisplay(); }
void Label::setAdjustsFontSizeToFitWidth(bool adjusts) {
    adjustsFont_ = adjusts;
    shown_.reset();
}
void Label::setMinimumFontSize(double size) {
    minimumFontSize_ = size;
    shown_.reset();
}

Font Label::shownFont() const {
    if (!adjustsFont_ || lines_ != 1) return font_;
    const double width = frame().width();
    if (shown_ && shownWidth_ == width && shownMeasurer_ == textMeasurerGeneration()) return *shown_;
    Font font = font_;
    const double minimum = minimumFontSize_ > 0 ? minimumFontSize_ : font.size / 2;
    const double measured = measureText(text_, font).width;
    if (measured > width && measured > 0) font.size = std::max(minimum, std::floor(font.size * width / measured));
    shown_ = font;
    shownWidth_ = width;
    shownMeasurer_ = textMeasurerGeneration();
    return font;
}

Size Label::sizeThatFits(Size size) const {
    if (lines_ == 1) return measureText(text_, font_, 0);
    Size s = measureText(text_, font_, size.width > 0 ? size.width : 0);
    if (lines_ > 0) s.height = std::min(s.height, font_.lineHeight() * lines_);
    return s;
}

}  // namespace ui
