#include "platform/ui/Window.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Control.h"
#include "platform/ui/NotificationCenter.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextInput.h"
#include "platform/ui/ViewController.h"

namespace ui {

namespace {
Window* gKeyWindow = nullptr;
constexpr double kDoubleTapSeconds = 0.35;
constexpr double kDoubleTapDistance = 20;
}  // namespace

Window::Window() : Window(Rect{0, 0, kScreenWidth, kScreenHeight}) {}

Window::Window(const Rect& frame) : View(frame) { setBackgroundColor(Color::blackColor()); }

Window::~Window() {
    // The screens go first, while the focus and the touches they may still reach are in place;
    // then the touches and the focus. Left to the members' order, the focus went first and a
    // screen giving it up from its destructor released it a second time.
    root_.reset();
    touches_.clear();
    firstResponder_.reset();
    if (gKeyWindow == this) gKeyWindow = nullptr;
}

Rect Window::applicationFrame() const {
    return {0, kStatusBarHeight, frame().width(), frame().height() - kStatusBarHeight};
}

void Window::setRootViewController(std::shared_ptr<ViewController> controller) {
    if (controller == root_) return;
    if (root_ && root_->isViewLoaded() && root_->view()->superview() == this) {
        root_->viewWillDisappear(false);
        root_->view()->removeFromSuperview();
        root_->viewDidDisappear(false);
    }
    root_ = std::move(controller);
    if (!root_) return;
    const auto& v = root_->view();
    v->setFrame(applicationFrame());
    root_->viewWillAppear(false);
    addSubview(v);
    root_->viewDidAppear(false);
}

void Window::makeKeyAndVisible() {
    gKeyWindow = this;
    setHidden(false);
    noteChange();
}

bool Window::isKeyWindow() const { return gKeyWindow == this; }
Window* Window::keyWindow() { return gKeyWindow; }

// --- Touches -------------------------------------------------------------------------------------

static ScrollView* scrollViewTakingOver(View* from, Point delta) {
    for (View* v = from; v; v = v->superview()) {
        if (auto* s = dynamic_cast<ScrollView*>(v); s && s->wantsDrag(delta)) return s;
    }
    return nullptr;
}

View* Window::touchBegan(int finger, Point p) {
    if (touches_.count(finger)) touchCancelled(finger);
    View* hit = hitTest(p, nullptr);
    if (!hit) return nullptr;
    double now = platform::RunLoop::main().now();
    auto touch = std::make_shared<Touch>();
    touch->view_ = hit->shared_from_this();
    touch->window_ = this;
    touch->location_ = touch->previousLocation_ = touch->startLocation_ = p;
    touch->timestamp_ = now;
    touch->phase_ = Touch::Phase::Began;
    bool near = lastTapPoint_ && std::hypot(p.x - lastTapPoint_->x, p.y - lastTapPoint_->y) <= kDoubleTapDistance;
    touch->tapCount_ = near && now - lastTapTime_ <= kDoubleTapSeconds ? lastTapCount_ + 1 : 1;
    touches_[finger] = touch;
    TouchSet set({touch});
    Event event(set, now);
    touch->view_->touchesBegan(set, &event);
    return hit;
}

void Window::touchMoved(int finger, Point p) {
    auto it = touches_.find(finger);
    if (it == touches_.end()) return;
    auto touch = it->second;
    double now = platform::RunLoop::main().now();
    touch->previousLocation_ = touch->location_;
    touch->location_ = p;
    touch->timestamp_ = now;
    touch->phase_ = Touch::Phase::Moved;
    TouchSet set({touch});
    Event event(set, now);
    if (touch->dragging_) {
        static_cast<ScrollView*>(touch->dragging_.get())->dragTo(p);
        return;
    }
    Point delta{p.x - touch->startLocation_.x, p.y - touch->startLocation_.y};
    if (ScrollView* s = scrollViewTakingOver(touch->view_.get(), delta)) {
        // The drag belongs to the scroll view from now on; the view the touch began in is told
        // that its touch is gone.
        touch->phase_ = Touch::Phase::Cancelled;
        touch->view_->touchesCancelled(set, &event);
        touch->phase_ = Touch::Phase::Moved;
        touch->dragging_ = s->shared_from_this();
        s->beginDrag(touch->startLocation_);
        s->dragTo(p);
        return;
    }
    touch->view_->touchesMoved(set, &event);
}

void Window::touchEnded(int finger, Point p) {
    auto it = touches_.find(finger);
    if (it == touches_.end()) return;
    auto touch = it->second;
    touches_.erase(it);
    double now = platform::RunLoop::main().now();
    if (p != touch->location_) {
        touch->previousLocation_ = touch->location_;
        touch->location_ = p;
    }
    touch->timestamp_ = now;
    touch->phase_ = Touch::Phase::Ended;
    lastTapPoint_ = p;
    lastTapTime_ = now;
    lastTapCount_ = touch->tapCount_;
    if (touch->dragging_) {
        auto* s = static_cast<ScrollView*>(touch->dragging_.get());
        s->dragTo(p);
        s->endDrag();
        lastTapPoint_.reset();
        return;
    }
    TouchSet set({touch});
    Event event(set, now);
    touch->view_->touchesEnded(set, &event);
}

void Window::touchCancelled(int finger) {
    auto it = touches_.find(finger);
    if (it == touches_.end()) return;
    auto touch = it->second;
    touches_.erase(it);
    touch->phase_ = Touch::Phase::Cancelled;
    if (touch->dragging_) {
        static_cast<ScrollView*>(touch->dragging_.get())->endDrag();
        return;
    }
    TouchSet set({touch});
    Event event(set, platform::RunLoop::main().now());
    touch->view_->touchesCancelled(set, &event);
}

View* Window::tap(Point p) {
    View* hit = touchBegan(0, p);
    touchEnded(0, p);
    return hit;
}

// --- First responder and keyboard -----------------------------------------------------------------

bool Window::setFirstResponder(View* view) {
    if (firstResponder_.get() == view) return true;
    if (firstResponder_) {
        auto old = firstResponder_;
        // Switching between editors keeps the keyboard up: no hide and show in between.
        ++keyboardHold_;
        bool resigned = old->resignFirstResponder();
        --keyboardHold_;
        if (!resigned) return false;
        if (firstResponder_ == old) firstResponder_.reset();
    }
    firstResponder_ = view ? view->shared_from_this() : nullptr;
    noteChange();
    return true;
}

void Window::resignFirstResponderFor(View* view) {
    if (firstResponder_.get() != view) return;
    firstResponder_.reset();
    noteChange();
}

TextInput* Window::textInput() const { return dynamic_cast<TextInput*>(firstResponder_.get()); }

Rect Window::keyboardFrame() const {
    if (!keyboardVisible_ || hardwareKeyboard_) return {};
    return {0, frame().height() - kKeyboardHeight, frame().width(), kKeyboardHeight};
}

bool Window::keyboardCoversScreen(const View& view) {
    const Window* w = view.window();
    return !w || !w->hardwareKeyboard_;
}

std::vector<View*> Window::reachableViews(const std::function<bool(View&)>& wanted) {
    std::vector<View*> found;
    std::function<void(View&)> walk = [&](View& v) {
        if (v.isHidden() || v.alpha() <= 0.01) return;
        if (wanted(v)) {
            const Rect r = v.convertRectTo(v.bounds(), this);
            View* hit = hitTest({r.midX(), r.midY()}, nullptr);
            if (hit && hit->isDescendantOf(&v)) found.push_back(&v);
        }
        for (auto& child : v.subviews()) walk(*child);
    };
    for (auto& child : subviews()) walk(*child);
    return found;
}

bool Window::focusNextField(bool backwards) {
    struct Field {
        Point at;
        View* view;
    };
    std::vector<Field> fields;
    for (View* v : reachableViews([](View& v) { return v.canBecomeFirstResponder() && dynamic_cast<TextInput*>(&v); }))
        fields.push_back({v->convertRectTo(v->bounds(), this).origin, v});
    if (fields.empty()) return false;
    // Reading order: rows from the top (fields on one line within a few points), then from the left.
    std::stable_sort(fields.begin(), fields.end(), [](const Field& a, const Field& b) {
        if (std::abs(a.at.y - b.at.y) > 4) return a.at.y < b.at.y;
        return a.at.x < b.at.x;
    });
    const auto n = static_cast<std::ptrdiff_t>(fields.size());
    std::ptrdiff_t current = -1;
    for (std::ptrdiff_t i = 0; i < n; ++i)
        if (fields[static_cast<std::size_t>(i)].view == firstResponder_.get()) current = i;
    for (std::ptrdiff_t step = 1; step <= n; ++step) {
        std::ptrdiff_t i = current < 0 ? (backwards ? n - step : step - 1)
                                       : ((current + (backwards ? -step : step)) % n + n) % n;
        View* next = fields[static_cast<std::size_t>(i)].view;
        if (next == firstResponder_.get()) return true;
        if (next->becomeFirstResponder() && firstResponder_.get() == next) return true;
    }
    return false;
}

bool Window::pressKey(const std::string& key) {
    if (key.empty()) return false;
    // In drawing order: the last one reachable stands in front.
    const std::vector<View*> reachable = reachableViews([](View&) { return true; });
    for (auto it = reachable.rbegin(); it != reachable.rend(); ++it) {
        // The one that takes the key may close its screen: the view lives until the key is done.
        auto keep = (*it)->shared_from_this();
        bool taken = (*it)->keyPressed(key);
        if (!taken)
            if (ViewController* controller = (*it)->viewController()) taken = controller->keyPressed(key);
        if (taken) {
            noteChange();
            return true;
        }
    }
    return false;
}

void Window::updateKeyboard() {
    if (keyboardHold_ > 0) return;
    bool wanted = textInput() != nullptr;
    if (wanted == keyboardVisible_) return;
    if (hardwareKeyboard_) {
        // The keys are on the desk: nothing appears, nothing to announce.
        keyboardVisible_ = wanted;
        noteChange();
        return;
    }
    auto& center = NotificationCenter::defaultCenter();
    Rect shown{0, frame().height() - kKeyboardHeight, frame().width(), kKeyboardHeight};
    Rect hidden{0, frame().height(), frame().width(), kKeyboardHeight};
    std::map<std::string, std::any> info{{KeyboardFrameEndUserInfoKey, wanted ? shown : hidden}};
    center.post(wanted ? KeyboardWillShowNotification : KeyboardWillHideNotification, this, info);
    keyboardVisible_ = wanted;
    noteChange();
    center.post(wanted ? KeyboardDidShowNotification : KeyboardDidHideNotification, this, info);
}

bool Window::insertText(std::string_view utf8) {
    TextInput* in = textInput();
    if (!in) return false;
    in->insertText(utf8);
    noteChange();
    return true;
}

bool Window::deleteBackward() {
    TextInput* in = textInput();
    if (!in) return false;
    in->deleteBackward();
    noteChange();
    return true;
}

bool Window::pressReturn() {
    TextInput* in = textInput();
    if (!in) return false;
    in->returnKey();
    noteChange();
    return true;
}

bool Window::setMarkedText(std::string text) {
    TextInput* in = textInput();
    if (!in) return false;
    in->setMarkedText(std::move(text));
    noteChange();
    return true;
}

namespace {
std::function<void(Window&)>& displayNowHandler() {
    static std::function<void(Window&)> handler;
    return handler;
}
}  // namespace

void Window::displayNow() {
    ++holds_;
    if (displayNowHandler()) displayNowHandler()(*this);
}

void Window::setDisplayNowHandler(std::function<void(Window&)> handler) {
    displayNowHandler() = std::move(handler);
}

}  // namespace ui
