#include "platform/ui/SearchBar.h"

namespace ui {

namespace {
// The background of a search bar; screens find it by this class name and take it away.
class SearchBarBackground : public View {
public:
    using View::View;
    const char* className() const override { return "UISearchBarBackground"; }
};
constexpr double kCancelWidth = 64;
}  // namespace

SearchBar::SearchBar(const Rect& frame) : View(frame) {
    background_ = std::make_shared<SearchBarBackground>(bounds());
    background_->setBackgroundColor(tint_);
    background_->setUserInteractionEnabled(false);
    addSubview(background_);
    field_ = std::make_shared<TextField>();
    field_->setBorderStyle(TextField::BorderStyle::RoundedRect);
    field_->setBackgroundColor(Color::whiteColor());
    field_->setReturnKeyType(ReturnKeyType::Search);
    field_->setDelegate(this);
    // Typed changes are told after they happened, with the new text.
    field_->addTarget(ControlEvent::EditingChanged, [this](Control&) {
        if (delegate_) delegate_->searchBarTextDidChange(*this, field_->text());
    });
    addSubview(field_);
    cancel_ = std::make_shared<Button>(Button::Type::RoundedRect);
    cancel_->setTitle("Cancel");
    cancel_->setHidden(true);
    cancel_->addTarget(ControlEvent::TouchUpInside, [this](Control&) {
        if (delegate_) delegate_->searchBarCancelButtonClicked(*this);
    });
    addSubview(cancel_);
    layoutSubviews();
}

SearchBar::~SearchBar() {
    // The parts may outlive the bar (someone else holds them); their actions point at it.
    field_->setDelegate(nullptr);
    field_->removeAllTargets();
    cancel_->removeAllTargets();
}

const std::string& SearchBar::text() const { return field_->text(); }

void SearchBar::setText(std::string text) {
    if (text == field_->text()) return;
    field_->setText(std::move(text));
    if (delegate_) delegate_->searchBarTextDidChange(*this, field_->text());
}

const std::string& SearchBar::placeholder() const { return field_->placeholder(); }
void SearchBar::setPlaceholder(std::string p) { field_->setPlaceholder(std::move(p)); }

void SearchBar::setShowsCancelButton(bool shows) {
    showsCancel_ = shows;
    cancel_->setHidden(!shows);
    layoutSubviews();
}

void SearchBar::setTintColor(const Color& c) {
    tint_ = c;
    background_->setBackgroundColor(c);
}

bool SearchBar::becomeFirstResponder() { return field_->becomeFirstResponder(); }
bool SearchBar::resignFirstResponder() { return field_->resignFirstResponder(); }

void SearchBar::layoutSubviews() {
    Rect b = bounds();
    if (background_) background_->setFrame(b);
    double right = showsCancel_ ? kCancelWidth + 8 : 0;
    if (field_) field_->setFrame({8, (b.height() - 31) / 2, std::max(0.0, b.width() - 16 - right), 31});
    if (cancel_) cancel_->setFrame({b.width() - kCancelWidth - 8, (b.height() - 31) / 2, kCancelWidth, 31});
}

bool SearchBar::textFieldShouldBeginEditing(TextField&) {
    return delegate_ ? delegate_->searchBarShouldBeginEditing(*this) : true;
}
void SearchBar::textFieldDidBeginEditing(TextField&) {
    if (delegate_) delegate_->searchBarTextDidBeginEditing(*this);
}
bool SearchBar::textFieldShouldEndEditing(TextField&) {
    return delegate_ ? delegate_->searchBarShouldEndEditing(*this) : true;
}
void SearchBar::textFieldDidEndEditing(TextField&) {
    if (delegate_) delegate_->searchBarTextDidEndEditing(*this);
}
bool SearchBar::shouldChangeCharacters(TextField&, std::size_t, std::size_t, const std::string&) { return true; }
bool SearchBar::textFieldShouldReturn(TextField&) {
    if (delegate_) delegate_->searchBarSearchButtonClicked(*this);
    return false;
}

}  // namespace ui
