#pragma once
// A search field with a background, an optional cancel button and a delegate told of each change
// of the text and of the keyboard's search key. Its first subview is the background view, whose
// class name is "UISearchBarBackground" (screens remove it to show their own).

#include <memory>
#include <string>

#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"
#include "platform/ui/View.h"

namespace ui {

class SearchBar;

// All optional; an observer pointer the delegate clears before it goes away.
class SearchBarDelegate {
public:
    virtual ~SearchBarDelegate() = default;
    virtual bool searchBarShouldBeginEditing(SearchBar&) { return true; }
    virtual void searchBarTextDidBeginEditing(SearchBar&) {}
    virtual bool searchBarShouldEndEditing(SearchBar&) { return true; }
    virtual void searchBarTextDidEndEditing(SearchBar&) {}
    virtual void searchBarTextDidChange(SearchBar&, const std::string& /*text*/) {}
    virtual void searchBarSearchButtonClicked(SearchBar&) {}
    virtual void searchBarCancelButtonClicked(SearchBar&) {}
};

class SearchBar : public View, private TextFieldDelegate {
public:
    explicit SearchBar(const Rect& frame = {});
    ~SearchBar() override;
    const char* className() const override { return "SearchBar"; }

    const std::string& text() const;
    // Set in code, the text tells the delegate of the change as typing does.
    void setText(std::string text);
    const std::string& placeholder() const;
    void setPlaceholder(std::string p);
    bool showsCancelButton() const { return showsCancel_; }
    void setShowsCancelButton(bool shows);
    Color tintColor() const { return tint_; }
    void setTintColor(const Color& c);
    SearchBarDelegate* delegate() const { return delegate_; }
    void setDelegate(SearchBarDelegate* d) { delegate_ = d; }
    // The field that edits the text (the first responder while editing).
    const std::shared_ptr<TextField>& textField() const { return field_; }
    const std::shared_ptr<Button>& cancelButton() const { return cancel_; }

    bool canBecomeFirstResponder() const override { return true; }
    // Both act on the text field.
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    void layoutSubviews() override;

private:
    bool textFieldShouldBeginEditing(TextField&) override;
    void textFieldDidBeginEditing(TextField&) override;
    bool textFieldShouldEndEditing(TextField&) override;
    void textFieldDidEndEditing(TextField&) override;
    bool shouldChangeCharacters(TextField&, std::size_t, std::size_t, const std::string&) override;
    bool textFieldShouldReturn(TextField&) override;

    std::shared_ptr<View> background_;
    std::shared_ptr<TextField> field_;
    std::shared_ptr<Button> cancel_;
    bool showsCancel_ = false;
    Color tint_ = Color::rgb(176, 188, 205);
    SearchBarDelegate* delegate_ = nullptr;
};

}  // namespace ui
