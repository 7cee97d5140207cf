#pragma once
// What the window hands typed text to: the first responder when it edits text (text field, text
// view). The shell's keyboard and input method arrive here through the window.

#include <string>
#include <string_view>

namespace ui {

enum class KeyboardType { Default, ASCIICapable, NumbersAndPunctuation, URL, NumberPad, PhonePad, EmailAddress, DecimalPad };
enum class ReturnKeyType { Default, Go, Google, Join, Next, Route, Search, Send, Yahoo, Done, EmergencyCall };

class TextInput {
public:
    virtual ~TextInput() = default;
    // Committed text (a key, a paste, or what an input method composed), inserted at the end.
    virtual void insertText(std::string_view text) = 0;
    // Removes the last character (a whole UTF-8 sequence).
    virtual void deleteBackward() = 0;
    // The return key.
    virtual void returnKey() = 0;
    // The input method's text still being composed (shown, not yet part of the text); "" ends it.
    virtual void setMarkedText(std::string text) { marked_ = std::move(text); }
    const std::string& markedText() const { return marked_; }
    virtual KeyboardType keyboardType() const { return KeyboardType::Default; }

private:
    std::string marked_;
};

}  // namespace ui
