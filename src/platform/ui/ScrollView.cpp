#include "platform/ui/ScrollView.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Animation.h"

namespace ui {

namespace {
constexpr double kDragThreshold = 10;
constexpr double kSettleSeconds = 0.3;
}  // namespace

ScrollView::ScrollView() { setClipsToBounds(true); }
ScrollView::ScrollView(const Rect& frame) : View(frame) { setClipsToBounds(true); }

void ScrollView::setContentSize(Size s) {
    contentSize_ = {std::max(0.0, s.width), std::max(0.0, s.height)};
    setNeedsDisplay();
}

void ScrollView::setContentInset(EdgeInsets inset) {
    inset_ = inset;
    setNeedsDisplay();
    // Outside a drag the content stays within the insets: a header that an inset held open
    // closes when the inset goes (moving in the caller's animation block, if any).
    if (!dragging_) {
        const Point inside = clampedOffset(contentOffset());
        if (inside != contentOffset()) setContentOffset(inside);
    }
}

void ScrollView::contentOffsetDidChange() {
    if (delegate_) delegate_->scrollViewDidScroll(*this);
}

void ScrollView::setContentOffset(Point offset, bool animated) {
    if (!std::isfinite(offset.x) || !std::isfinite(offset.y)) return;
    if (offset == contentOffset()) return;
    if (animated) {
        Animation::begin();
        Animation::setDuration(kSettleSeconds);
        setBounds({offset, bounds().size});
        Animation::commit();
        std::weak_ptr<View> weak = weak_from_this();
        platform::RunLoop::main().schedule(kSettleSeconds, [weak] {
            if (auto v = weak.lock()) {
                auto* s = static_cast<ScrollView*>(v.get());
                if (s->delegate_) s->delegate_->scrollViewDidEndScrollingAnimation(*s);
            }
        });
    } else {
        setBounds({offset, bounds().size});
    }
    contentOffsetDidChange();
}

Point ScrollView::minimumContentOffset() const { return {-inset_.left, -inset_.top}; }

Point ScrollView::maximumContentOffset() const {
    Point lo = minimumContentOffset();
    return {std::max(lo.x, contentSize_.width + inset_.right - bounds().width()),
            std::max(lo.y, contentSize_.height + inset_.bottom - bounds().height())};
}

Point ScrollView::clampedOffset(Point p) const {
    Point lo = minimumContentOffset(), hi = maximumContentOffset();
    return {std::clamp(p.x, lo.x, hi.x), std::clamp(p.y, lo.y, hi.y)};
}

// Past an edge the content follows the finger at half speed.
Point ScrollView::rubberBand(Point p) const {
    Point c = clampedOffset(p);
    if (!bounces_) return c;
    return {c.x + (p.x - c.x) / 2, c.y + (p.y - c.y) / 2};
}

bool ScrollView::wantsDrag(Point delta) const {
    if (!scrollEnabled_ || isHidden() || !isUserInteractionEnabled()) return false;
    double dx = std::abs(delta.x), dy = std::abs(delta.y);
    if (std::max(dx, dy) < kDragThreshold) return false;
    Point lo = minimumContentOffset(), hi = maximumContentOffset();
    bool canH = hi.x > lo.x || (bounces_ && alwaysBounceHorizontal_);
    bool canV = hi.y > lo.y || (bounces_ && alwaysBounceVertical_);
    return dx > dy ? canH : canV;
}

void ScrollView::beginDrag(Point start) {
    dragging_ = true;
    dragStart_ = start;
    offsetAtDragStart_ = contentOffset();
    if (delegate_) delegate_->scrollViewWillBeginDragging(*this);
}

void ScrollView::dragTo(Point now) {
    if (!dragging_) return;
    Point lo = minimumContentOffset(), hi = maximumContentOffset();
    bool canH = hi.x > lo.x || alwaysBounceHorizontal_;
    bool canV = hi.y > lo.y || alwaysBounceVertical_;
    Point target = offsetAtDragStart_;
    if (canH) target.x -= now.x - dragStart_.x;
    if (canV) target.y -= now.y - dragStart_.y;
    setContentOffset(rubberBand(target));
}

void ScrollView::endDrag() {
    if (!dragging_) return;
    std::shared_ptr<View> keep = shared_from_this();
    dragging_ = false;
    // The delegate sees the offset where the finger left it (a pull past the top is read here),
    // and may change the insets: the content then comes to rest within the new insets (a header
    // that a pull opened stays open at its inset).
    const Point now = contentOffset();
    if (delegate_) delegate_->scrollViewDidEndDragging(*this, restingOffset() != now);
    const Point rest = restingOffset();
    if (rest == now) return;
    decelerating_ = true;
    Animation::begin();
    Animation::setDuration(kSettleSeconds);
    setBounds({rest, bounds().size});
    Animation::commit();
    contentOffsetDidChange();
    std::weak_ptr<View> weak = weak_from_this();
    platform::RunLoop::main().schedule(kSettleSeconds, [weak] {
        if (auto v = weak.lock()) {
            auto* s = static_cast<ScrollView*>(v.get());
            s->decelerating_ = false;
            if (s->delegate_) s->delegate_->scrollViewDidEndDecelerating(*s);
        }
    });
}

Point ScrollView::restingOffset() const {
    Point rest = clampedOffset(contentOffset());
    if (paging_) {
        double w = bounds().width(), h = bounds().height();
        if (w > 0) rest.x = std::round(rest.x / w) * w;
        if (h > 0) rest.y = std::round(rest.y / h) * h;
        rest = clampedOffset(rest);
    }
    return rest;
}

void ScrollView::setMinimumZoomScale(double s) {
    if (std::isfinite(s) && s > 0) minZoom_ = s;
}

void ScrollView::setMaximumZoomScale(double s) {
    if (std::isfinite(s) && s > 0) maxZoom_ = s;
}

void ScrollView::setZoomScale(double scale, bool) {
    if (!std::isfinite(scale)) return;
    scale = std::clamp(scale, minZoom_, std::max(minZoom_, maxZoom_));
    View* zoomed = delegate_ ? delegate_->viewForZooming(*this) : nullptr;
    if (!zoomed) {
        zoomScale_ = scale;
        return;
    }
    if (!haveUnzoomedSize_) {
        unzoomedSize_ = {zoomed->frame().width() / zoomScale_, zoomed->frame().height() / zoomScale_};
        haveUnzoomedSize_ = true;
    }
    double old = zoomScale_;
    Point centre{contentOffset().x + bounds().width() / 2, contentOffset().y + bounds().height() / 2};
    zoomScale_ = scale;
    Size sz{unzoomedSize_.width * scale, unzoomedSize_.height * scale};
    zoomed->setFrame({{0, 0}, sz});
    setContentSize(sz);
    // Keep the middle of what was shown in the middle.
    double f = old > 0 ? scale / old : 1;
    setContentOffset(clampedOffset({centre.x * f - bounds().width() / 2, centre.y * f - bounds().height() / 2}));
    if (delegate_) {
        delegate_->scrollViewDidZoom(*this);
        delegate_->scrollViewDidEndZooming(*this, zoomed, scale);
    }
}

void ScrollView::zoomToRect(const Rect& rect, bool animated) {
    if (rect.isEmpty()) return;
    double scale = std::min(bounds().width() / rect.width(), bounds().height() / rect.height());
    setZoomScale(scale, animated);
    double s = zoomScale_;
    setContentOffset(clampedOffset({rect.midX() * s - bounds().width() / 2, rect.midY() * s - bounds().height() / 2}));
}

}  // namespace ui
