#include "platform/ui/TextView.h"

#include "platform/foundation/Text.h"
#include "platform/ui/Window.h"

namespace ui {

TextView::TextView(const Rect& frame) : ScrollView(frame) { setBackgroundColor(Color::whiteColor()); }

TextView::~TextView() = default;

void TextView::setText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    setNeedsDisplay();
}
void TextView::setFont(const Font& f) { font_ = f; setNeedsDisplay(); }
void TextView::setTextColor(const Color& c) { textColor_ = c; setNeedsDisplay(); }
void TextView::setTextAlignment(TextAlignment a) { alignment_ = a; setNeedsDisplay(); }

void TextView::setEditable(bool e) {
    editable_ = e;
    if (!e && isFirstResponder()) resignFirstResponder();
}

bool TextView::becomeFirstResponder() {
    if (isFirstResponder()) return true;
    Window* w = window();
    if (!w || !editable_) return false;
    std::shared_ptr<View> keep = shared_from_this();
    if (delegate_ && !delegate_->textViewShouldBeginEditing(*this)) return false;
    if (!w->setFirstResponder(this)) return false;
    editing_ = true;
    setNeedsDisplay();
    if (delegate_) delegate_->textViewDidBeginEditing(*this);
    w->updateKeyboard();
    return true;
}

bool TextView::resignFirstResponder() {
    Window* w = window();
    if (!w || w->firstResponder() != this) return true;
    if (delegate_ && !delegate_->textViewShouldEndEditing(*this)) return false;
    std::shared_ptr<View> keep = shared_from_this();
    TextInput::setMarkedText("");
    w->resignFirstResponderFor(this);
    editing_ = false;
    setNeedsDisplay();
    if (delegate_) delegate_->textViewDidEndEditing(*this);
    w->updateKeyboard();
    return true;
}

void TextView::touchesEnded(const TouchSet& touches, const Event* event) {
    if (editable_) becomeFirstResponder();
    else ScrollView::touchesEnded(touches, event);
}

bool TextView::replace(std::size_t location, std::size_t length, const std::string& replacement) {
    std::u16string u = platform::toUtf16(text_);
    if (location > u.size()) location = u.size();
    if (length > u.size() - location) length = u.size() - location;
    if (delegate_ && !delegate_->shouldChangeText(*this, location, length, replacement)) return false;
    u = platform::toUtf16(text_);
    if (location > u.size()) location = u.size();
    if (length > u.size() - location) length = u.size() - location;
    std::u16string rep = platform::toUtf16(replacement);
    std::size_t rest = u.size() - length;
    if (maxLength_ > 0 && rest + rep.size() > maxLength_) {
        std::size_t room = maxLength_ > rest ? maxLength_ - rest : 0;
        if (room > 0 && rep[room - 1] >= 0xD800 && rep[room - 1] <= 0xDBFF) --room;
        rep.resize(room);
    }
    u.replace(location, length, rep);
    text_ = platform::fromUtf16(u);
    setNeedsDisplay();
    if (delegate_) delegate_->textViewDidChange(*this);
    return true;
}

void TextView::insertText(std::string_view text) {
    TextInput::setMarkedText("");
    replace(platform::toUtf16(text_).size(), 0, std::string(text));
}

void TextView::deleteBackward() {
    std::u16string u = platform::toUtf16(text_);
    if (u.empty()) return;
    std::size_t n = u.size() >= 2 && u.back() >= 0xDC00 && u.back() <= 0xDFFF ? 2 : 1;
    replace(u.size() - n, n, "");
}

void TextView::returnKey() { insertText("\n"); }

}  // namespace ui
