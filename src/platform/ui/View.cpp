#include "platform/ui/View.h"

#include <algorithm>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Animation.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {
double nowOnMain() { return platform::RunLoop::main().now(); }
}  // namespace

View::View() = default;
View::View(const Rect& frame) : frame_(frame) {}

View::~View() {
    // Children outlive their parent only if someone else holds them; they must not point back.
    for (auto& child : subviews_) child->superview_ = nullptr;
}

// --- Geometry ----------------------------------------------------------------------------------

void View::setFrame(const Rect& frame) {
    if (frame == frame_) return;
    if (Animation::recording()) {
        Animation::record(*this, static_cast<int>(RunningAnimation::Property::Frame), presentationFrame(), 0);
    }
    bool resized = frame.size != frame_.size;
    frame_ = frame;
    if (resized) layoutSubviews();
    setNeedsDisplay();
}

void View::setBounds(const Rect& bounds) {
    if (bounds.origin != boundsOrigin_) {
        if (Animation::recording()) {
            Animation::record(*this, static_cast<int>(RunningAnimation::Property::BoundsOrigin), presentationBounds(), 0);
        }
        boundsOrigin_ = bounds.origin;
        setNeedsDisplay();
    }
    if (bounds.size != frame_.size) {
        // The size grows or shrinks about the centre, which stays where it is.
        Point c = center();
        setFrame({c.x - bounds.size.width / 2, c.y - bounds.size.height / 2, bounds.size.width, bounds.size.height});
    }
}

void View::setCenter(Point c) {
    setFrame({c.x - frame_.size.width / 2, c.y - frame_.size.height / 2, frame_.size.width, frame_.size.height});
}

void View::setTransform(const Transform& t) {
    if (t == transform_) return;
    transform_ = t;
    setNeedsDisplay();
}

double View::progressOf(const RunningAnimation& a, double now) {
    if (now >= a.start + a.duration) return -1;
    if (now <= a.start || a.duration <= 0) return 0;
    return Animation::ease(static_cast<Animation::Curve>(a.curve), (now - a.start) / a.duration);
}

const View::RunningAnimation* View::runningAnimation(RunningAnimation::Property p, double now,
                                                     double& progress) const {
    if (animations_.empty() || Animation::drawingEndStates()) return nullptr;
    // Forget what has ended.
    std::erase_if(animations_, [now](const RunningAnimation& a) { return now >= a.start + a.duration; });
    for (auto it = animations_.rbegin(); it != animations_.rend(); ++it) {
        if (it->property == p) {
            progress = progressOf(*it, now);
            return &*it;
        }
    }
    return nullptr;
}

std::vector<std::uint64_t> View::cutAnimations(RunningAnimation::Property p, double now) {
    std::vector<std::uint64_t> cut;
    for (const auto& a : animations_)
        if (a.property == p && now < a.start + a.duration) cut.push_back(a.block);
    std::erase_if(animations_, [p](const RunningAnimation& a) { return a.property == p; });
    return cut;
}

void View::addAnimation(const RunningAnimation& a) {
    // A newer animation of a property takes over from the older one.
    std::erase_if(animations_, [&](const RunningAnimation& o) { return o.property == a.property; });
    animations_.push_back(a);
}

static Rect lerp(const Rect& a, const Rect& b, double t) {
    return {a.x() + (b.x() - a.x()) * t, a.y() + (b.y() - a.y()) * t,
            a.width() + (b.width() - a.width()) * t, a.height() + (b.height() - a.height()) * t};
}

Rect View::presentationFrame() const {
    double t = 0;
    if (auto* a = runningAnimation(RunningAnimation::Property::Frame, nowOnMain(), t)) return lerp(a->fromRect, frame_, t);
    return frame_;
}

Rect View::presentationBounds() const {
    double t = 0;
    Rect b = bounds();
    if (auto* a = runningAnimation(RunningAnimation::Property::BoundsOrigin, nowOnMain(), t)) {
        Rect r = lerp(a->fromRect, b, t);
        return {r.origin, b.size};
    }
    return b;
}

double View::presentationAlpha() const {
    double t = 0;
    if (auto* a = runningAnimation(RunningAnimation::Property::Alpha, nowOnMain(), t))
        return a->fromValue + (alpha_ - a->fromValue) * t;
    return alpha_;
}

bool View::isAnimating() const {
    double now = nowOnMain();
    std::erase_if(animations_, [now](const RunningAnimation& a) { return now >= a.start + a.duration; });
    return !animations_.empty();
}

// --- Appearance ----------------------------------------------------------------------------------

void View::setHidden(bool hidden) {
    if (hidden == hidden_) return;
    hidden_ = hidden;
    setNeedsDisplay();
}

void View::setAlpha(double alpha) {
    alpha = std::clamp(alpha, 0.0, 1.0);
    if (alpha == alpha_) return;
    if (Animation::recording()) {
        Animation::record(*this, static_cast<int>(RunningAnimation::Property::Alpha), {}, presentationAlpha());
    }
    alpha_ = alpha;
    setNeedsDisplay();
}

void View::setBackgroundColor(const Color& c) {
    if (c == background_) return;
    background_ = c;
    setNeedsDisplay();
}

void View::setClipsToBounds(bool clips) {
    clipsToBounds_ = clips;
    setNeedsDisplay();
}

void View::setCornerRadius(double r) {
    cornerRadius_ = r;
    setNeedsDisplay();
}

void View::setBorder(double width, const Color& color) {
    borderWidth_ = width;
    borderColor_ = color;
    setNeedsDisplay();
}

// --- Hierarchy ----------------------------------------------------------------------------------

void View::detachChild(View* child) {
    auto it = std::find_if(subviews_.begin(), subviews_.end(), [child](auto& v) { return v.get() == child; });
    if (it == subviews_.end()) return;
    willRemoveSubview(child);
    subviews_.erase(it);
    child->superview_ = nullptr;
}

// A first responder that leaves its window gives up the keyboard first, while it can still
// reach the window (its delegate hears of it as usual; a refusal is overridden).
static void resignBeforeLeaving(View& leaving, Window* w) {
    if (!w) return;
    View* fr = w->firstResponder();
    if (!fr || !fr->isDescendantOf(&leaving)) return;
    fr->resignFirstResponder();
    if (w->firstResponder() == fr) {
        w->resignFirstResponderFor(fr);
        w->updateKeyboard();
    }
}

void View::propagateWindowChange(Window* oldWindow, Window* newWindow) {
    if (oldWindow == newWindow) return;
    if (oldWindow) oldWindow->noteChange();
    if (newWindow) newWindow->noteChange();
    // Copy: a hook may change the children.
    auto children = subviews_;
    didMoveToWindow();
    for (auto& c : children) c->propagateWindowChange(oldWindow, newWindow);
}

void View::addSubview(const std::shared_ptr<View>& view) {
    insertSubview(view, subviews_.size() + (view && view->superview_ == this ? 0 : 0));
}

void View::insertSubview(const std::shared_ptr<View>& view, std::size_t index) {
    if (!view || view.get() == this || isDescendantOf(view.get())) return;
    std::shared_ptr<View> keep = view;
    Window* oldWindow = view->window();
    if (oldWindow != window()) resignBeforeLeaving(*view, oldWindow);
    if (View* old = view->superview_) {
        old->detachChild(view.get());
        if (old == this) {
            index = std::min(index, subviews_.size());
            subviews_.insert(subviews_.begin() + static_cast<std::ptrdiff_t>(index), keep);
            view->superview_ = this;
            setNeedsDisplay();
            return;
        }
    }
    index = std::min(index, subviews_.size());
    subviews_.insert(subviews_.begin() + static_cast<std::ptrdiff_t>(index), keep);
    view->superview_ = this;
    Window* newWindow = window();
    view->propagateWindowChange(oldWindow, newWindow);
    view->didMoveToSuperview();
    didAddSubview(view.get());
    setNeedsDisplay();
}

static std::size_t indexOf(const std::vector<std::shared_ptr<View>>& v, const View* x) {
    for (std::size_t i = 0; i < v.size(); ++i)
        if (v[i].get() == x) return i;
    return v.size();
}

void View::insertSubviewAbove(const std::shared_ptr<View>& view, const View* sibling) {
    std::size_t i = indexOf(subviews_, sibling);
    if (view && view->superview_ == this && indexOf(subviews_, view.get()) < i) --i;
    insertSubview(view, i == subviews_.size() ? i : i + 1);
}

void View::insertSubviewBelow(const std::shared_ptr<View>& view, const View* sibling) {
    std::size_t i = indexOf(subviews_, sibling);
    if (view && view->superview_ == this && indexOf(subviews_, view.get()) < i) --i;
    insertSubview(view, i);
}

void View::bringSubviewToFront(const View* view) {
    std::size_t i = indexOf(subviews_, view);
    if (i == subviews_.size()) return;
    auto v = subviews_[i];
    subviews_.erase(subviews_.begin() + static_cast<std::ptrdiff_t>(i));
    subviews_.push_back(v);
    setNeedsDisplay();
}

void View::sendSubviewToBack(const View* view) {
    std::size_t i = indexOf(subviews_, view);
    if (i == subviews_.size()) return;
    auto v = subviews_[i];
    subviews_.erase(subviews_.begin() + static_cast<std::ptrdiff_t>(i));
    subviews_.insert(subviews_.begin(), v);
    setNeedsDisplay();
}

void View::exchangeSubviews(std::size_t a, std::size_t b) {
    if (a >= subviews_.size() || b >= subviews_.size()) return;
    std::swap(subviews_[a], subviews_[b]);
    setNeedsDisplay();
}

void View::removeFromSuperview() {
    View* parent = superview_;
    if (!parent) return;
    Window* oldWindow = window();
    std::size_t i = indexOf(parent->subviews_, this);
    // Keep this view alive through its own hooks; it may go when `keep` does.
    std::shared_ptr<View> keep = i < parent->subviews_.size() ? parent->subviews_[i] : nullptr;
    resignBeforeLeaving(*this, oldWindow);
    if (superview_ != parent) return;  // a hook moved it meanwhile
    parent->detachChild(this);
    parent->setNeedsDisplay();
    propagateWindowChange(oldWindow, nullptr);
    didMoveToSuperview();
}

bool View::isDescendantOf(const View* ancestor) const {
    for (const View* v = this; v; v = v->superview_)
        if (v == ancestor) return true;
    return false;
}

View* View::viewWithTag(int tag) {
    if (tag_ == tag) return this;
    for (auto& c : subviews_)
        if (View* v = c->viewWithTag(tag)) return v;
    return nullptr;
}

std::shared_ptr<View> View::sharedViewWithTag(int tag) {
    View* v = viewWithTag(tag);
    if (!v) return nullptr;
    if (v == this) return shared_from_this();
    for (auto& c : v->superview_->subviews_)
        if (c.get() == v) return c;
    return nullptr;
}

Window* View::window() const {
    const View* v = this;
    while (v->superview_) v = v->superview_;
    return dynamic_cast<Window*>(const_cast<View*>(v));
}

// --- Coordinates ----------------------------------------------------------------------------------

Point View::toLocal(Point p) const {
    Point q{p.x - frame_.x(), p.y - frame_.y()};
    if (!transform_.isIdentity()) {
        Point c{frame_.width() / 2, frame_.height() / 2};
        Point r = transform_.inverted().apply({q.x - c.x, q.y - c.y});
        q = {r.x + c.x, r.y + c.y};
    }
    return {q.x + boundsOrigin_.x, q.y + boundsOrigin_.y};
}

Point View::toSuperview(Point p) const {
    Point q{p.x - boundsOrigin_.x, p.y - boundsOrigin_.y};
    if (!transform_.isIdentity()) {
        Point c{frame_.width() / 2, frame_.height() / 2};
        Point r = transform_.apply({q.x - c.x, q.y - c.y});
        q = {r.x + c.x, r.y + c.y};
    }
    return {q.x + frame_.x(), q.y + frame_.y()};
}

// Window coordinates are those of the root of the tree (the window's own bounds).
Point View::convertPointTo(Point p, const View* other) const {
    const View* v = this;
    while (v->superview_) {
        p = v->toSuperview(p);
        v = v->superview_;
    }
    if (!other) return p;
    return other->convertPointFrom(p, nullptr);
}

Point View::convertPointFrom(Point p, const View* other) const {
    if (other) p = other->convertPointTo(p, nullptr);
    std::vector<const View*> chain;
    for (const View* v = this; v->superview_; v = v->superview_) chain.push_back(v);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) p = (*it)->toLocal(p);
    return p;
}

Rect View::convertRectTo(const Rect& r, const View* other) const {
    Point a = convertPointTo(r.origin, other);
    Point b = convertPointTo({r.maxX(), r.maxY()}, other);
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x), std::abs(b.y - a.y)};
}

Rect View::convertRectFrom(const Rect& r, const View* other) const {
    Point a = convertPointFrom(r.origin, other);
    Point b = convertPointFrom({r.maxX(), r.maxY()}, other);
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x), std::abs(b.y - a.y)};
}

// --- Hit-testing ----------------------------------------------------------------------------------

bool View::pointInside(Point p, const Event*) const { return bounds().contains(p); }

View* View::hitTest(Point p, const Event* event) {
    if (hidden_ || !userInteraction_ || alpha_ < 0.01) return nullptr;
    if (!pointInside(p, event)) return nullptr;
    // Copy: hit-testing must not be upset by a view that changes the tree.
    auto children = subviews_;
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (View* hit = (*it)->hitTest((*it)->toLocal(p), event)) return hit;
    }
    return this;
}

// --- Responder ----------------------------------------------------------------------------------

Responder* View::nextResponder() const {
    if (controller_) return controller_;
    return superview_;
}

bool View::becomeFirstResponder() {
    if (!canBecomeFirstResponder()) return false;
    Window* w = window();
    if (!w) return false;
    if (!w->setFirstResponder(this)) return false;
    w->updateKeyboard();
    return true;
}

bool View::resignFirstResponder() {
    if (Window* w = window(); w && w->firstResponder() == this) {
        w->resignFirstResponderFor(this);
        w->updateKeyboard();
    }
    return true;
}

bool View::isFirstResponder() const {
    Window* w = window();
    return w && w->firstResponder() == this;
}

bool View::endEditing(bool force) {
    Window* w = window();
    if (!w) return true;
    View* fr = w->firstResponder();
    if (!fr || !fr->isDescendantOf(this)) return true;
    if (fr->resignFirstResponder()) return true;
    if (force) {
        w->resignFirstResponderFor(fr);
        w->updateKeyboard();
        return true;
    }
    return false;
}

// --- Layout and display ---------------------------------------------------------------------------

void View::sizeToFit() {
    Size s = sizeThatFits(frame_.size);
    setFrame({frame_.origin, s});
}

void View::setNeedsDisplay() {
    if (Window* w = window()) w->noteChange();
}

}  // namespace ui
