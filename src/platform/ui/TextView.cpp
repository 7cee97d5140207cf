#include "platform/ui/TextView.h"

#include "platform/ui/Window.h"

namespace ui {

namespace {
// A text view holds this many characters unless told otherwise.
constexpr std::size_t kViewMaxLength = 65536;
}  // namespace

TextView::TextView(const Rect& frame) : ScrollView(frame), TextEditor(kViewMaxLength) {
    setBackgroundColor(Color::whiteColor());
}

TextView::~TextView() = default;

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

bool TextView::shouldReplace(std::size_t location, std::size_t length, const std::string& replacement) {
    return !delegate_ || delegate_->shouldChangeText(*this, location, length, replacement);
}

void TextView::didReplace() {
    if (delegate_) delegate_->textViewDidChange(*this);
}

void TextView::returnKey() { insertText("\n"); }

}  // namespace ui
