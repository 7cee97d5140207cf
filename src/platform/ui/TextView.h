#pragma once
// A multi-line text, editable or not; when editable it takes the keyboard like a text field.

#include <string>

#include "platform/ui/Font.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextEditor.h"

namespace ui {

class TextView;

// All optional; an observer pointer the delegate clears before it goes away.
class TextViewDelegate {
public:
    virtual ~TextViewDelegate() = default;
    virtual bool textViewShouldBeginEditing(TextView&) { return true; }
    virtual void textViewDidBeginEditing(TextView&) {}
    virtual bool textViewShouldEndEditing(TextView&) { return true; }
    virtual void textViewDidEndEditing(TextView&) {}
    virtual bool shouldChangeText(TextView&, std::size_t /*location*/, std::size_t /*length*/,
                                  const std::string& /*replacement*/) { return true; }
    virtual void textViewDidChange(TextView&) {}
};

class TextView : public ScrollView, public TextEditor {
public:
    explicit TextView(const Rect& frame = {});
    ~TextView() override;
    const char* className() const override { return "TextView"; }

    const Font& font() const { return font_; }
    void setFont(const Font& f);
    Color textColor() const { return textColor_; }
    void setTextColor(const Color& c);
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment a);
    bool isEditable() const { return editable_; }
    void setEditable(bool e);
    ReturnKeyType returnKeyType() const { return returnKey_; }
    void setReturnKeyType(ReturnKeyType r) { returnKey_ = r; }
    TextViewDelegate* delegate() const { return delegate_; }
    void setDelegate(TextViewDelegate* d) { delegate_ = d; }

    bool canBecomeFirstResponder() const override { return editable_; }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    void touchesEnded(const TouchSet& touches, const Event* event) override;

    // Return inserts a new line.
    void returnKey() override;

protected:
    bool shouldBeginEditing() override;
    void didBeginEditing() override;
    bool shouldEndEditing() override;
    void didEndEditing() override;
    bool shouldReplace(std::size_t location, std::size_t length, const std::string& replacement) override;
    void didReplace() override;
    void redraw() override { setNeedsDisplay(); }

private:
    Font font_ = Font::systemFont(17);
    Color textColor_ = Color::blackColor();
    TextAlignment alignment_ = TextAlignment::Left;
    bool editable_ = true;
    ReturnKeyType returnKey_ = ReturnKeyType::Default;
    TextViewDelegate* delegate_ = nullptr;
};

}  // namespace ui
