#include "platform/ui/AlertView.h"

#include <algorithm>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {
std::vector<std::shared_ptr<AlertView>>& shown() {
    static std::vector<std::shared_ptr<AlertView>> v;
    return v;
}
// Every alert alive, for the delegates that go before their alerts. Never destroyed: a delegate
// may go during the program's exit, after this file's statics; it holds no alert, only their
// addresses while they live.
std::vector<AlertView*>& liveAlerts() {
    static auto* v = new std::vector<AlertView*>();
    return *v;
}
constexpr double kPanelWidth = 284;
constexpr double kButtonHeight = 43;
constexpr double kMargin = 12;
}  // namespace

AlertViewDelegate::~AlertViewDelegate() {
    for (AlertView* alert : liveAlerts())
        if (alert->delegate() == this) alert->setDelegate(nullptr);
}

AlertView::AlertView(std::optional<std::string> title, std::optional<std::string> message,
                     AlertViewDelegate* delegate, std::optional<std::string> cancelButtonTitle,
                     std::vector<std::string> otherButtonTitles)
    : title_(std::move(title)), message_(std::move(message)), delegate_(delegate) {
    if (cancelButtonTitle) {
        buttonTitles_.push_back(std::move(*cancelButtonTitle));
        cancelIndex_ = 0;
    }
    for (auto& t : otherButtonTitles) {
        if (buttonTitles_.size() >= kMaxButtons) break;
        buttonTitles_.push_back(std::move(t));
    }
    setBackgroundColor(Color(0, 0, 0, 0.4));
    panel_ = std::make_shared<View>();
    panel_->setBackgroundColor(Color(0.08, 0.16, 0.35, 0.92));
    panel_->setCornerRadius(10);
    panel_->setBorder(2, Color(1, 1, 1, 0.8));
    addSubview(panel_);
    titleLabel_ = std::make_shared<Label>();
    titleLabel_->setFont(Font::boldSystemFont(18));
    titleLabel_->setTextColor(Color::whiteColor());
    titleLabel_->setTextAlignment(TextAlignment::Center);
    titleLabel_->setNumberOfLines(0);
    messageLabel_ = std::make_shared<Label>();
    messageLabel_->setFont(Font::systemFont(16));
    messageLabel_->setTextColor(Color::whiteColor());
    messageLabel_->setTextAlignment(TextAlignment::Center);
    messageLabel_->setNumberOfLines(0);
    panel_->addSubview(titleLabel_);
    panel_->addSubview(messageLabel_);
    liveAlerts().push_back(this);
}

AlertView::~AlertView() {
    auto& live = liveAlerts();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

void AlertView::setTitle(std::optional<std::string> t) { title_ = std::move(t); if (visible_) rebuild(); }
void AlertView::setMessage(std::optional<std::string> m) { message_ = std::move(m); if (visible_) rebuild(); }

int AlertView::addButtonWithTitle(std::string title) {
    if (buttonTitles_.size() >= kMaxButtons) return -1;
    buttonTitles_.push_back(std::move(title));
    if (visible_) rebuild();
    return static_cast<int>(buttonTitles_.size()) - 1;
}

std::string AlertView::buttonTitleAtIndex(int index) const {
    if (index < 0 || index >= numberOfButtons()) return "";
    return buttonTitles_[static_cast<std::size_t>(index)];
}

std::shared_ptr<Button> AlertView::buttonAtIndex(int index) const {
    if (index < 0 || index >= static_cast<int>(buttons_.size())) return nullptr;
    return buttons_[static_cast<std::size_t>(index)];
}

void AlertView::rebuild() {
    Window* w = Window::keyWindow();
    Rect screen = w ? w->bounds() : Rect{0, 0, Window::kScreenWidth, Window::kScreenHeight};
    setFrame(screen);
    double inner = kPanelWidth - 2 * kMargin;
    double y = kMargin;
    titleLabel_->setText(title_.value_or(""));
    Size ts = title_ ? titleLabel_->sizeThatFits({inner, 0}) : Size{};
    titleLabel_->setFrame({kMargin, y, inner, ts.height});
    y += ts.height + (title_ ? 8 : 0);
    messageLabel_->setText(message_.value_or(""));
    // A very long message is cut to what fits on the screen rather than pushing the buttons off.
    Size ms = message_ ? messageLabel_->sizeThatFits({inner, 0}) : Size{};
    ms.height = std::min(ms.height, screen.height() / 2);
    messageLabel_->setFrame({kMargin, y, inner, ms.height});
    y += ms.height + (message_ ? 12 : 0);

    for (auto& b : buttons_) b->removeFromSuperview();
    buttons_.clear();
    std::size_t n = buttonTitles_.size();
    // Two buttons stand side by side, the cancel button on the left; one or three are stacked.
    bool sideBySide = n == 2;
    for (std::size_t i = 0; i < n; ++i) {
        auto b = std::make_shared<Button>(Button::Type::Custom);
        b->setTitle(buttonTitles_[i]);
        b->setTitleFont(Font::boldSystemFont(18));
        b->setBackgroundColor(Color(1, 1, 1, 0.15));
        b->setCornerRadius(6);
        b->setBorder(1, Color(1, 1, 1, 0.5));
        if (sideBySide) {
            double bw = (inner - 8) / 2;
            b->setFrame({kMargin + static_cast<double>(i) * (bw + 8), y, bw, kButtonHeight});
        } else {
            b->setFrame({kMargin, y, inner, kButtonHeight});
            y += kButtonHeight + 8;
        }
        int index = static_cast<int>(i);
        std::weak_ptr<View> weak = weak_from_this();
        b->addTarget(ControlEvent::TouchUpInside, [weak, index](Control&) {
            if (auto self = weak.lock()) static_cast<AlertView*>(self.get())->buttonTapped(index);
        });
        panel_->addSubview(b);
        buttons_.push_back(b);
    }
    if (sideBySide) y += kButtonHeight + 8;
    if (n == 0) y += 4;
    double h = y + kMargin - 8;
    panel_->setFrame({(screen.width() - kPanelWidth) / 2, (screen.height() - h) / 2, kPanelWidth, h});
}

bool AlertView::show() {
    Window* w = Window::keyWindow();
    if (!w || visible_) return false;
    auto self = std::static_pointer_cast<AlertView>(shared_from_this());
    rebuild();
    if (delegate_) delegate_->willPresentAlertView(*this);
    w->addSubview(self);
    visible_ = true;
    shown().push_back(self);
    if (delegate_) delegate_->didPresentAlertView(*this);
    return true;
}

void AlertView::dismissWithClickedButtonIndex(int index, bool) {
    if (!visible_) return;
    auto self = std::static_pointer_cast<AlertView>(shared_from_this());
    if (delegate_) delegate_->alertViewWillDismissWithButtonIndex(*this, index);
    visible_ = false;
    removeFromSuperview();
    std::erase(shown(), self);
    // The delegate may drop its last reference in its handler; the alert goes on the next turn.
    platform::RunLoop::main().releaseLater(self);
    if (delegate_) delegate_->alertViewDidDismissWithButtonIndex(*this, index);
}

bool AlertView::keyPressed(const std::string& key) {
    if (!visible_) return false;
    const int n = static_cast<int>(buttonTitles_.size());
    int index = -1;
    // Escape answers as the cancel button; Return as the only button, or the one beside cancel.
    if (key == Window::kKeyEscape) index = cancelIndex_ >= 0 ? cancelIndex_ : (n == 1 ? 0 : -1);
    else if (key == Window::kKeyReturn) index = n == 1 ? 0 : (n == 2 && cancelIndex_ >= 0 ? 1 - cancelIndex_ : -1);
    if (index < 0) return false;
    buttonTapped(index);
    return true;
}

void AlertView::buttonTapped(int index) {
    if (!visible_) return;
    auto self = shared_from_this();
    // The answer is given: a handler that blocks (an exchange with its wait logo) draws the screen
    // without the question it answered.
    setHidden(true);
    if (delegate_) delegate_->alertViewClickedButtonAtIndex(*this, index);
    dismissWithClickedButtonIndex(index, true);
}

std::vector<std::shared_ptr<AlertView>> AlertView::visibleAlerts() { return shown(); }

}  // namespace ui
