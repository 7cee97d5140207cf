#include "platform/ui/TextField.h"

#include "platform/foundation/Text.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {
// Keeps at most `max` UTF-16 units without splitting a surrogate pair.
void cutUtf16(std::u16string& s, std::size_t max) {
    if (max == 0 || s.size() <= max) return;
    std::size_t n = max;
    if (n > 0 && s[n - 1] >= 0xD800 && s[n - 1] <= 0xDBFF) --n;
    s.resize(n);
}
}  // namespace

TextField::TextField() = default;
TextField::TextField(const Rect& frame) : Control(frame) {}

TextField::~TextField() = default;

void TextField::setText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    setNeedsDisplay();
}
void TextField::setPlaceholder(std::string p) { placeholder_ = std::move(p); setNeedsDisplay(); }
void TextField::setFont(const Font& f) { font_ = f; setNeedsDisplay(); }
void TextField::setTextColor(const Color& c) { textColor_ = c; setNeedsDisplay(); }
void TextField::setTextAlignment(TextAlignment a) { alignment_ = a; setNeedsDisplay(); }
void TextField::setBorderStyle(BorderStyle s) { border_ = s; setNeedsDisplay(); }
void TextField::setSecureTextEntry(bool s) { secure_ = s; setNeedsDisplay(); }

std::string TextField::displayText() const {
    std::string shown;
    if (secure_) {
        for (std::size_t i = 0; i < platform::toUtf16(text_).size(); ++i) shown += "\u2022";
    } else {
        shown = text_;
    }
    return shown + markedText();
}

bool TextField::canBecomeFirstResponder() const { return isEnabled(); }

bool TextField::becomeFirstResponder() {
    if (isFirstResponder()) return true;
    Window* w = window();
    if (!w || !canBecomeFirstResponder()) return false;
    std::shared_ptr<View> keep = shared_from_this();
    if (delegate_ && !delegate_->textFieldShouldBeginEditing(*this)) return false;
    if (!w->setFirstResponder(this)) return false;
    editing_ = true;
    if (clearsOnBegin_) text_.clear();
    setNeedsDisplay();
    if (delegate_) delegate_->textFieldDidBeginEditing(*this);
    sendActions(ControlEvent::EditingDidBegin);
    w->updateKeyboard();
    return true;
}

bool TextField::resignFirstResponder() {
    Window* w = window();
    if (!w || w->firstResponder() != this) return true;
    if (delegate_ && !delegate_->textFieldShouldEndEditing(*this)) return false;
    std::shared_ptr<View> keep = shared_from_this();
    // Whatever the input method was composing is dropped, as when the keyboard goes.
    TextInput::setMarkedText("");
    w->resignFirstResponderFor(this);
    editing_ = false;
    setNeedsDisplay();
    if (delegate_) delegate_->textFieldDidEndEditing(*this);
    sendActions(ControlEvent::EditingDidEnd);
    w->updateKeyboard();
    return true;
}

bool TextField::replace(std::size_t location, std::size_t length, const std::string& replacement) {
    std::u16string u = platform::toUtf16(text_);
    if (location > u.size()) location = u.size();
    if (length > u.size() - location) length = u.size() - location;
    if (delegate_ && !delegate_->shouldChangeCharacters(*this, location, length, replacement)) return false;
    // The delegate may have changed the text itself; apply to what is there now.
    u = platform::toUtf16(text_);
    if (location > u.size()) location = u.size();
    if (length > u.size() - location) length = u.size() - location;
    std::u16string rep = platform::toUtf16(replacement);
    if (maxLength_ > 0 && u.size() - length + rep.size() > maxLength_) {
        std::size_t room = maxLength_ > u.size() - length ? maxLength_ - (u.size() - length) : 0;
        cutUtf16(rep, room);
        if (room == 0) rep.clear();
    }
    u.replace(location, length, rep);
    text_ = platform::fromUtf16(u);
    setNeedsDisplay();
    sendActions(ControlEvent::EditingChanged);
    return true;
}

void TextField::insertText(std::string_view text) {
    TextInput::setMarkedText("");
    replace(platform::toUtf16(text_).size(), 0, std::string(text));
}

void TextField::deleteBackward() {
    std::u16string u = platform::toUtf16(text_);
    if (u.empty()) return;
    std::size_t n = 1;
    if (u.size() >= 2 && u.back() >= 0xDC00 && u.back() <= 0xDFFF) n = 2;
    replace(u.size() - n, n, "");
}

void TextField::returnKey() {
    std::shared_ptr<View> keep = shared_from_this();
    bool go = delegate_ ? delegate_->textFieldShouldReturn(*this) : true;
    if (go && hasTargets(ControlEvent::EditingDidEndOnExit)) {
        sendActions(ControlEvent::EditingDidEndOnExit);
        resignFirstResponder();
    }
}

void TextField::setMarkedText(std::string text) {
    TextInput::setMarkedText(std::move(text));
    setNeedsDisplay();
}

void TextField::didTapInside() { becomeFirstResponder(); }

}  // namespace ui
