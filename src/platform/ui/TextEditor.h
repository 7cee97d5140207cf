#pragma once
// The editing that text fields and text views share: taking and giving up the focus with the
// keyboard, the text, typing at its end, backspace over whole characters, the length limit
// counted in UTF-16 units (a character beyond the basic plane counts two), the input method's
// marked text, and what the keyboard can type (the number pad types digits only, the decimal pad
// digits and its point; whatever else arrives, from the keyboard or an input method, is dropped).

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/ui/TextInput.h"

namespace ui {

class View;

// What of `text` the keyboard could have typed, in order.
std::string typeableOn(KeyboardType keyboard, std::string_view text);

class TextEditor : public TextInput {
public:
    const std::string& text() const { return text_; }
    // Between taking the focus and giving it up.
    bool isEditing() const { return editing_; }
    // The text as code sets it: no delegate is asked, no limit applies.
    void setText(std::string text);
    KeyboardType keyboardType() const override { return keyboard_; }
    void setKeyboardType(KeyboardType k) { keyboard_ = k; }
    // Characters at most, in UTF-16 units (0 = no limit); longer typed text is cut. Guards the
    // screens' fields against pasted novels.
    std::size_t maxLength() const { return maxLength_; }
    void setMaxLength(std::size_t n) { maxLength_ = n; }

    // Typing: committed text goes at the end and ends the composition; backspace removes the
    // last character; the composition shows only what the keyboard can type.
    void insertText(std::string_view text) override;
    void deleteBackward() override;
    void setMarkedText(std::string text) override;

protected:
    explicit TextEditor(std::size_t maxLength) : maxLength_(maxLength) {}
    // The focus of `self` (the editor's own view): asked of the delegate, then the first
    // responder slot and the keyboard; each answers whether `self` now has (or no longer has) it.
    bool beginEditing(View& self);
    bool finishEditing(View& self);
    virtual bool shouldBeginEditing() = 0;
    // After the focus came (before the keyboard shows).
    virtual void didBeginEditing() = 0;
    virtual bool shouldEndEditing() = 0;
    // After the focus went (before the keyboard hides).
    virtual void didEndEditing() = 0;
    // Asked before a typed change of (location, length) in UTF-16 units; the delegate behind it
    // may refuse, or change the text itself (the change then applies to the text it left).
    virtual bool shouldReplace(std::size_t location, std::size_t length, const std::string& replacement) = 0;
    // After a typed change (after redraw()).
    virtual void didReplace() = 0;
    // The text or the composition changed.
    virtual void redraw() = 0;

private:
    void replace(std::size_t location, std::size_t length, const std::string& replacement);

    std::string text_;
    bool editing_ = false;
    KeyboardType keyboard_ = KeyboardType::Default;
    std::size_t maxLength_;
};

}  // namespace ui
