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

bool TextView::becomeFirstResponder() { return beginEditing(*this); }
bool TextView::resignFirstResponder() { return finishEditing(*this); }

bool TextView::shouldBeginEditing() { return !delegate_ || delegate_->textViewShouldBeginEditing(*this); }

void TextView::didBeginEditing() {
    setNeedsDisplay();
    if (delegate_) delegate_->textViewDidBeginEditing(*this);
}

bool TextView::shouldEndEditing() { return !delegate_ || delegate_->textViewShouldEndEditing(*this); }

void TextView::didEndEditing() {
    setNeedsDisplay();
    if (delegate_) delegate_->textViewDidEndEditing(*this);
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
