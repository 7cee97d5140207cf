#include "platform/ui/TextField.h"

#include "platform/foundation/Text.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {
// A one-line field holds this many characters unless told otherwise.
constexpr std::size_t kFieldMaxLength = 4096;
}  // namespace

TextField::TextField() : TextEditor(kFieldMaxLength) {}
TextField::TextField(const Rect& frame) : Control(frame), TextEditor(kFieldMaxLength) {}

TextField::~TextField() = default;

void TextField::setPlaceholder(std::string p) { placeholder_ = std::move(p); setNeedsDisplay(); }
void TextField::setFont(const Font& f) { font_ = f; setNeedsDisplay(); }
void TextField::setTextColor(const Color& c) { textColor_ = c; setNeedsDisplay(); }
void TextField::setTextAlignment(TextAlignment a) { alignment_ = a; setNeedsDisplay(); }
void TextField::setBorderStyle(BorderStyle s) { border_ = s; setNeedsDisplay(); }
void TextField::setSecureTextEntry(bool s) { secure_ = s; setNeedsDisplay(); }

std::string TextField::displayText() const {
    std::string shown;
    if (secure_) {
        for (std::size_t i = 0; i < platform::toUtf16(text()).size(); ++i) shown += "\u2022";
    } else {
        shown = text();
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
    if (clearsOnBegin_) setText("");
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

bool TextField::shouldReplace(std::size_t location, std::size_t length, const std::string& replacement) {
    return !delegate_ || delegate_->shouldChangeCharacters(*this, location, length, replacement);
}

void TextField::didReplace() {
    sendActions(ControlEvent::EditingChanged);
}

void TextField::returnKey() {
    std::shared_ptr<View> keep = shared_from_this();
    bool go = delegate_ ? delegate_->textFieldShouldReturn(*this) : true;
    if (go && hasTargets(ControlEvent::EditingDidEndOnExit)) {
        sendActions(ControlEvent::EditingDidEndOnExit);
        resignFirstResponder();
    }
}

void TextField::didTapInside() { becomeFirstResponder(); }

}  // namespace ui
