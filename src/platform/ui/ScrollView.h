#pragma once
// A view whose content is larger than itself: content size, offset (the bounds origin) and
// insets; dragging with a bounce past the edges that springs back when the finger lifts; paging
// by whole pages; zooming one content view between a minimum and maximum scale. A touch that
// moves more than a few points inside a scroll view becomes a drag of that scroll view (the view
// it began in gets touchesCancelled); a touch that does not move is delivered as usual.

#include "platform/ui/View.h"

namespace ui {

class ScrollView;

// All optional; an observer pointer the delegate clears before it goes away.
class ScrollViewDelegate {
public:
    virtual ~ScrollViewDelegate() = default;
    virtual void scrollViewDidScroll(ScrollView&) {}
    virtual void scrollViewWillBeginDragging(ScrollView&) {}
    virtual void scrollViewDidEndDragging(ScrollView&, bool /*willDecelerate*/) {}
    virtual void scrollViewDidEndDecelerating(ScrollView&) {}
    virtual void scrollViewDidEndScrollingAnimation(ScrollView&) {}
    virtual View* viewForZooming(ScrollView&) { return nullptr; }
    virtual void scrollViewDidZoom(ScrollView&) {}
    virtual void scrollViewDidEndZooming(ScrollView&, View* /*view*/, double /*scale*/) {}
    virtual bool scrollViewShouldScrollToTop(ScrollView&) { return true; }
};

class ScrollView : public View {
public:
    ScrollView();
    explicit ScrollView(const Rect& frame);
    const char* className() const override { return "ScrollView"; }

    Size contentSize() const { return contentSize_; }
    void setContentSize(Size s);
    Point contentOffset() const { return bounds().origin; }
    // Not clamped: code may place the content anywhere. Tells the delegate it scrolled.
    void setContentOffset(Point offset, bool animated = false);
    EdgeInsets contentInset() const { return inset_; }
    // Outside a drag, an offset that the new insets leave out of range moves back within them.
    void setContentInset(EdgeInsets inset);
    // The offsets a drag may come to rest at.
    Point minimumContentOffset() const;
    Point maximumContentOffset() const;

    bool isScrollEnabled() const { return scrollEnabled_; }
    void setScrollEnabled(bool e) { scrollEnabled_ = e; }
    bool isPagingEnabled() const { return paging_; }
    void setPagingEnabled(bool e) { paging_ = e; }
    bool bounces() const { return bounces_; }
    void setBounces(bool b) { bounces_ = b; }
    bool alwaysBounceVertical() const { return alwaysBounceVertical_; }
    void setAlwaysBounceVertical(bool b) { alwaysBounceVertical_ = b; }
    bool alwaysBounceHorizontal() const { return alwaysBounceHorizontal_; }
    void setAlwaysBounceHorizontal(bool b) { alwaysBounceHorizontal_ = b; }
    bool bouncesZoom() const { return bouncesZoom_; }
    void setBouncesZoom(bool b) { bouncesZoom_ = b; }
    bool showsHorizontalScrollIndicator() const { return showsH_; }
    void setShowsHorizontalScrollIndicator(bool s) { showsH_ = s; }
    bool showsVerticalScrollIndicator() const { return showsV_; }
    void setShowsVerticalScrollIndicator(bool s) { showsV_ = s; }
    bool scrollsToTop() const { return scrollsToTop_; }
    void setScrollsToTop(bool s) { scrollsToTop_ = s; }
    bool isDragging() const { return dragging_; }
    bool isDecelerating() const { return decelerating_; }
    bool isTracking() const { return dragging_; }

    // Zoom: the delegate's viewForZooming is sized to its unzoomed size times the scale, which
    // also becomes the content size. The scale stays within the limits.
    double zoomScale() const { return zoomScale_; }
    void setZoomScale(double scale, bool animated = false);
    double minimumZoomScale() const { return minZoom_; }
    void setMinimumZoomScale(double s);
    double maximumZoomScale() const { return maxZoom_; }
    void setMaximumZoomScale(double s);
    bool isZooming() const { return false; }
    // Zooms so that `rect` (in the zoom view's unzoomed coordinates) fills the view.
    void zoomToRect(const Rect& rect, bool animated);

    ScrollViewDelegate* delegate() const { return delegate_; }
    void setDelegate(ScrollViewDelegate* d) { delegate_ = d; }

    // Window: whether this scroll view takes over a touch that moved from its start by `delta`.
    bool wantsDrag(Point delta) const;
    // The drag: began at `start` (window coordinates), now at `now`.
    void beginDrag(Point start);
    void dragTo(Point now);
    void endDrag();

protected:
    // Table views update their rows here; the default tells the delegate.
    virtual void contentOffsetDidChange();

private:
    Point clampedOffset(Point p) const;
    // Where the content comes to rest from where it is now: within the insets, on a page.
    Point restingOffset() const;
    Point rubberBand(Point p) const;

    Size contentSize_;
    EdgeInsets inset_;
    bool scrollEnabled_ = true;
    bool paging_ = false;
    bool bounces_ = true;
    bool alwaysBounceVertical_ = false;
    bool alwaysBounceHorizontal_ = false;
    bool bouncesZoom_ = true;
    bool showsH_ = true;
    bool showsV_ = true;
    bool scrollsToTop_ = true;
    bool dragging_ = false;
    bool decelerating_ = false;
    Point dragStart_;
    Point offsetAtDragStart_;
    double zoomScale_ = 1;
    double minZoom_ = 1;
    double maxZoom_ = 1;
    Size unzoomedSize_;
    bool haveUnzoomedSize_ = false;
    ScrollViewDelegate* delegate_ = nullptr;
};

}  // namespace ui
