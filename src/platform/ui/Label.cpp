#include "platform/ui/Label.h"

#include <algorithm>

namespace ui {

Label::Label() { setDefaultInteraction(false); }
Label::Label(const Rect& frame) : View(frame) { setDefaultInteraction(false); }

void Label::setText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    setNeedsDisplay();
}
void Label::setFont(const Font& font) { font_ = font; setNeedsDisplay(); }
void Label::setTextColor(const Color& c) { textColor_ = c; setNeedsDisplay(); }
void Label::setHighlighted(bool h) { highlighted_ = h; setNeedsDisplay(); }
void Label::setTextAlignment(TextAlignment a) { alignment_ = a; setNeedsDisplay(); }
void Label::setNumberOfLines(int lines) { lines_ = std::max(0, lines); setNeedsDisplay(); }
void Label::setLineBreakMode(LineBreakMode m) { lineBreak_ = m; setNeedsDisplay(); }
void Label::setShadowColor(std::optional<Color> c) { shadowColor_ = c; setNeedsDisplay(); }
void Label::setShadowOffset(Size offset) { shadowOffset_ = offset; setNeedsDisplay(); }

Size Label::sizeThatFits(Size size) const {
    if (lines_ == 1) return measureText(text_, font_, 0);
    Size s = measureText(text_, font_, size.width > 0 ? size.width : 0);
    if (lines_ > 0) s.height = std::min(s.height, font_.lineHeight() * lines_);
    return s;
}

}  // namespace ui
