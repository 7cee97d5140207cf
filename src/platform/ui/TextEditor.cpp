#include "platform/ui/TextEditor.h"

#include <memory>

#include "platform/foundation/Text.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Clamps (location, length) to the text.
void clampRange(const std::u16string& u, std::size_t& location, std::size_t& length) {
    if (location > u.size()) location = u.size();
    if (length > u.size() - location) length = u.size() - location;
}

}  // namespace

std::string typeableOn(KeyboardType keyboard, std::string_view text) {
    const bool point = keyboard == KeyboardType::DecimalPad;
    if (keyboard != KeyboardType::NumberPad && !point) return std::string(text);
    std::string out;
    for (char c : text)
        if ((c >= '0' && c <= '9') || (point && c == '.')) out += c;
    return out;
}

bool TextEditor::beginEditing(View& self) {
    if (self.isFirstResponder()) return true;
    Window* w = self.window();
    if (!w || !self.canBecomeFirstResponder()) return false;
    // The delegate may let go of the editor while it is asked.
    std::shared_ptr<View> keep = self.shared_from_this();
    if (!shouldBeginEditing()) return false;
    if (!w->setFirstResponder(&self)) return false;
    editing_ = true;
    didBeginEditing();
    w->updateKeyboard();
    return true;
}

bool TextEditor::finishEditing(View& self) {
    Window* w = self.window();
    if (!w || w->firstResponder() != &self) return true;
    if (!shouldEndEditing()) return false;
    std::shared_ptr<View> keep = self.shared_from_this();
    // Whatever the input method was composing is dropped, as when the keyboard goes.
    TextInput::setMarkedText("");
    w->resignFirstResponderFor(&self);
    editing_ = false;
    didEndEditing();
    w->updateKeyboard();
    return true;
}

void TextEditor::setText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    redraw();
}

void TextEditor::replace(std::size_t location, std::size_t length, const std::string& replacement) {
    std::u16string u = platform::toUtf16(text_);
    clampRange(u, location, length);
    if (!shouldReplace(location, length, replacement)) return;
    u = platform::toUtf16(text_);
    clampRange(u, location, length);
    std::u16string rep = platform::toUtf16(replacement);
    const std::size_t rest = u.size() - length;
    if (maxLength_ > 0 && rest + rep.size() > maxLength_) {
        std::size_t room = maxLength_ > rest ? maxLength_ - rest : 0;
        // Never half a surrogate pair.
        if (room > 0 && isHighSurrogate(rep[room - 1])) --room;
        rep.resize(room);
    }
    u.replace(location, length, rep);
    text_ = platform::fromUtf16(u);
    redraw();
    didReplace();
}

void TextEditor::insertText(std::string_view text) {
    TextInput::setMarkedText("");
    const std::string typed = typeableOn(keyboard_, text);
    if (typed.empty() && !text.empty()) {
        redraw();
        return;
    }
    replace(platform::toUtf16(text_).size(), 0, typed);
}

void TextEditor::deleteBackward() {
    const std::u16string u = platform::toUtf16(text_);
    if (u.empty()) return;
    const std::size_t n = u.size() >= 2 && isLowSurrogate(u.back()) ? 2 : 1;
    replace(u.size() - n, n, "");
}

void TextEditor::setMarkedText(std::string text) {
    TextInput::setMarkedText(typeableOn(keyboard_, text));
    redraw();
}

}  // namespace ui
