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

bool TextField::becomeFirstResponder() { return beginEditing(*this); }
bool TextField::resignFirstResponder() { return finishEditing(*this); }

bool TextField::shouldBeginEditing() { return !delegate_ || delegate_->textFieldShouldBeginEditing(*this); }

void TextField::didBeginEditing() {
    if (clearsOnBegin_) setText("");
    setNeedsDisplay();
    if (delegate_) delegate_->textFieldDidBeginEditing(*this);
    sendActions(ControlEvent::EditingDidBegin);
}

bool TextField::shouldEndEditing() { return !delegate_ || delegate_->textFieldShouldEndEditing(*this); }

void TextField::didEndEditing() {
    setNeedsDisplay();
    if (delegate_) delegate_->textFieldDidEndEditing(*this);
    sendActions(ControlEvent::EditingDidEnd);
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
