#pragma once
// A one-line text editor: placeholder, border style, secure entry, keyboard and return key
// types, and a delegate asked before editing begins, told when it began and ended, asked before
// each change and when return is pressed. Becoming first responder raises the keyboard.

#include <optional>
#include <string>

#include "platform/ui/Control.h"
#include "platform/ui/Font.h"
#include "platform/ui/TextEditor.h"

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
    // `range` is (location, length) in UTF-16 units of the current text (a character beyond the
    // basic plane counts two).
    virtual bool shouldChangeCharacters(TextField&, std::size_t /*location*/, std::size_t /*length*/,
                                        const std::string& /*replacement*/) { return true; }
    virtual bool textFieldShouldClear(TextField&) { return true; }
    virtual bool textFieldShouldReturn(TextField&) { return true; }
};

class TextField : public Control, public TextEditor {
public:
    enum class BorderStyle { None, Line, Bezel, RoundedRect };

    TextField();
    explicit TextField(const Rect& frame);
    ~TextField() override;
    const char* className() const override { return "TextField"; }

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
    ReturnKeyType returnKeyType() const { return returnKey_; }
    void setReturnKeyType(ReturnKeyType r) { returnKey_ = r; }
    bool clearsOnBeginEditing() const { return clearsOnBegin_; }
    void setClearsOnBeginEditing(bool clears) { clearsOnBegin_ = clears; }
    TextFieldDelegate* delegate() const { return delegate_; }
    void setDelegate(TextFieldDelegate* d) { delegate_ = d; }
    // What is drawn: bullets for secure entry, the marked text after the text while composing.
    std::string displayText() const;

    bool canBecomeFirstResponder() const override;
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;

    void returnKey() override;

protected:
    void didTapInside() override;
    bool shouldBeginEditing() override;
    void didBeginEditing() override;
    bool shouldEndEditing() override;
    void didEndEditing() override;
    bool shouldReplace(std::size_t location, std::size_t length, const std::string& replacement) override;
    void didReplace() override;
    void redraw() override { setNeedsDisplay(); }

private:
    std::string placeholder_;
    Font font_ = Font::systemFont(17);
    Color textColor_ = Color::blackColor();
    TextAlignment alignment_ = TextAlignment::Left;
    BorderStyle border_ = BorderStyle::None;
    bool secure_ = false;
    ReturnKeyType returnKey_ = ReturnKeyType::Default;
    bool clearsOnBegin_ = false;
    TextFieldDelegate* delegate_ = nullptr;
};

}  // namespace ui
