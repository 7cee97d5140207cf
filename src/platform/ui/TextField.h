#pragma once
// A one-line text editor: placeholder, border style, secure entry, keyboard and return key
// types, and a delegate asked before editing begins, told when it began and ended, asked before
// each change and when return is pressed. Becoming first responder raises the keyboard.

#include <optional>
#include <string>

#include "platform/ui/Control.h"
#include "platform/ui/Font.h"
#include "platform/ui/TextInput.h"

namespace ui {

class TextField;

// All optional; an observer pointer the delegate clears before it goes away.
class TextFieldDelegate {
public:
    virtual ~TextFieldDelegate() = default;
    virtual bool textFieldShouldBeginEditing(TextField&) { return true; }
    virtual void textFieldDidBeginEditing(TextField&) {}
    virtual bool textFieldShouldEndEditing(TextField&) { return true; }
    virtual void textFieldDidEndEditing(TextField&) {}
    // `range` is (location, length) in UTF-16 units of the current text, as the platform counts.
    virtual bool shouldChangeCharacters(TextField&, std::size_t /*location*/, std::size_t /*length*/,
                                        const std::string& /*replacement*/) { return true; }
    virtual bool textFieldShouldClear(TextField&) { return true; }
    virtual bool textFieldShouldReturn(TextField&) { return true; }
};

class TextField : public Control, public TextInput {
public:
    enum class BorderStyle { None, Line, Bezel, RoundedRect };

    TextField();
    explicit TextField(const Rect& frame);
    ~TextField() override;
    const char* className() const override { return "TextField"; }

    const std::string& text() const { return text_; }
    // Setting the text does not ask the delegate (as in code, not typing).
    void setText(std::string text);
    const std::string& placeholder() const { return placeholder_; }
    void setPlaceholder(std::string placeholder);
    const Font& font() const { return font_; }
    void setFont(const Font& font);
    Color textColor() const { return textColor_; }
    void setTextColor(const Color& c);
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment a);
    BorderStyle borderStyle() const { return border_; }
    void setBorderStyle(BorderStyle s);
    bool isSecureTextEntry() const { return secure_; }
    void setSecureTextEntry(bool secure);
    KeyboardType keyboardType() const override { return keyboard_; }
    void setKeyboardType(KeyboardType k) { keyboard_ = k; }
    ReturnKeyType returnKeyType() const { return returnKey_; }
    void setReturnKeyType(ReturnKeyType r) { returnKey_ = r; }
    bool clearsOnBeginEditing() const { return clearsOnBegin_; }
    void setClearsOnBeginEditing(bool clears) { clearsOnBegin_ = clears; }
    // Characters at most (0 = no limit); longer typed text is cut. Guards the screens' fields
    // against pasted novels.
    std::size_t maxLength() const { return maxLength_; }
    void setMaxLength(std::size_t n) { maxLength_ = n; }
    TextFieldDelegate* delegate() const { return delegate_; }
    void setDelegate(TextFieldDelegate* d) { delegate_ = d; }
    bool isEditing() const { return editing_; }
    // What is drawn: bullets for secure entry, the marked text after the text while composing.
    std::string displayText() const;

    bool canBecomeFirstResponder() const override;
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;

    void insertText(std::string_view text) override;
    void deleteBackward() override;
    void returnKey() override;
    void setMarkedText(std::string text) override;

protected:
    void didTapInside() override;

private:
    // Offers a replacement of (location, length) to the delegate, then applies it.
    bool replace(std::size_t location, std::size_t length, const std::string& replacement);

    std::string text_;
    std::string placeholder_;
    Font font_ = Font::systemFont(17);
    Color textColor_ = Color::blackColor();
    TextAlignment alignment_ = TextAlignment::Left;
    BorderStyle border_ = BorderStyle::None;
    bool secure_ = false;
    KeyboardType keyboard_ = KeyboardType::Default;
    ReturnKeyType returnKey_ = ReturnKeyType::Default;
    bool clearsOnBegin_ = false;
    std::size_t maxLength_ = 4096;
    TextFieldDelegate* delegate_ = nullptr;
    bool editing_ = false;
};

}  // namespace ui
