#include "platform/ui/ViewController.h"

#include "platform/ui/Window.h"

namespace ui {

ViewController::ViewController() = default;
ViewController::ViewController(std::string nibName) : nibName_(std::move(nibName)) {}

ViewController::~ViewController() {
    // The view may outlive its controller (an animation or a superview holds it).
    if (view_ && view_->controller_ == this) view_->controller_ = nullptr;
}

const std::shared_ptr<View>& ViewController::view() {
    if (!view_) {
        loadView();
        if (!view_) setView(std::make_shared<View>(Rect{0, 0, Window::kScreenWidth,
                                                         Window::kScreenHeight - Window::kStatusBarHeight}));
        viewDidLoad();
    }
    return view_;
}

void ViewController::setView(std::shared_ptr<View> view) {
    if (view_ && view_->controller_ == this) view_->controller_ = nullptr;
    view_ = std::move(view);
    if (view_) view_->controller_ = this;
}

void ViewController::loadView() {
    auto v = std::make_shared<View>(Rect{0, 0, Window::kScreenWidth, Window::kScreenHeight - Window::kStatusBarHeight});
    v->setBackgroundColor(Color::whiteColor());
    setView(std::move(v));
}

void ViewController::didReceiveMemoryWarning() {
    if (view_ && !view_->window()) {
        setView(nullptr);
        viewDidUnload();
    }
}

Responder* ViewController::nextResponder() const { return view_ ? view_->superview() : nullptr; }

}  // namespace ui
