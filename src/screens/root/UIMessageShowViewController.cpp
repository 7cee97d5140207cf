#include "screens/root/UIMessageShowViewController.h"

#include "core/NSServer.h"
#include "screens/kit/ScreenKit.h"
#include "screens/root/SwitchViewController.h"

namespace {

// The panel's view: a touch that ends on it closes the panel through the root.
class MessagePanelView : public ui::View {
public:
    using ui::View::View;
    void touchesEnded(const ui::TouchSet&, const ui::Event*) override {
        if (auto root = NSServer::getRootController()) root->clearShow();
    }
};

}  // namespace

UIMessageShowViewController::UIMessageShowViewController(std::string nibName)
    : ui::ViewController(std::move(nibName)) {}

void UIMessageShowViewController::loadView() {
    auto view = std::make_shared<MessagePanelView>(ui::Rect{0, 0, kFrame.width(), kFrame.height()});
    view->setBackgroundColor(kit::kBar);
    view->setCornerRadius(10);
    messageLabel_ = kit::label(*view, {10, 4, kFrame.width() - 20, kFrame.height() - 8}, "", kit::smallFont(),
                               ui::TextAlignment::Center, kit::kOnDark);
    messageLabel_->setNumberOfLines(3);
    setView(view);
}

void UIMessageShowViewController::viewDidLoad() { messageLabel_->setText(""); }

void UIMessageShowViewController::showMessage(const std::string& text) {
    view();  // the label exists once the view is loaded
    messageLabel_->setText(text);
}
