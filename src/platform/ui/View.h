#pragma once
// A rectangle of the screen and the base of every control: frame, bounds, ordered subviews,
// visibility, transparency, tag, background colour, user interaction and transform; hit-testing
// and the touches of the responder chain. A view holds its subviews; the superview is an
// observer pointer. Views live in std::shared_ptr (make them with std::make_shared).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Geometry.h"
#include "platform/ui/Responder.h"

namespace ui {

class ViewController;
class Window;

class View : public Responder, public std::enable_shared_from_this<View> {
public:
    View();
    explicit View(const Rect& frame);
    ~View() override;
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // The class name the tree dump shows ("View", "Label", "Button", ...).
    virtual const char* className() const { return "View"; }

    // --- Geometry ---------------------------------------------------------------------------
    // The frame is the untransformed rectangle in the superview's coordinates; the transform
    // applies about its centre when drawn and hit-tested.
    Rect frame() const { return frame_; }
    virtual void setFrame(const Rect& frame);
    // Origin = the scroll position of the content (a scroll view's content offset); size = the
    // frame's size.
    Rect bounds() const { return {boundsOrigin_, frame_.size}; }
    void setBounds(const Rect& bounds);
    Point center() const { return frame_.center(); }
    void setCenter(Point center);
    Transform transform() const { return transform_; }
    void setTransform(const Transform& t);

    // While an animation of this view runs, the values to draw now (else the model values).
    Rect presentationFrame() const;
    Rect presentationBounds() const;
    double presentationAlpha() const;
    bool isAnimating() const;

    // --- Appearance ---------------------------------------------------------------------------
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden);
    double alpha() const { return alpha_; }
    void setAlpha(double alpha);
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    // Clear (alpha 0) by default: nothing is painted behind the content.
    Color backgroundColor() const { return background_; }
    void setBackgroundColor(const Color& c);
    bool clipsToBounds() const { return clipsToBounds_; }
    void setClipsToBounds(bool clips);
    bool isOpaque() const { return opaque_; }
    void setOpaque(bool opaque) { opaque_ = opaque; }
    // Rounded corners and a border line, as the layer of a view offers them.
    double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double r);
    double borderWidth() const { return borderWidth_; }
    Color borderColor() const { return borderColor_; }
    void setBorder(double width, const Color& color);

    // --- Interaction --------------------------------------------------------------------------
    bool isUserInteractionEnabled() const { return userInteraction_; }
    void setUserInteractionEnabled(bool enabled) { userInteraction_ = enabled; }
    bool isMultipleTouchEnabled() const { return multipleTouch_; }
    void setMultipleTouchEnabled(bool enabled) { multipleTouch_ = enabled; }
    // What a view that shows no text of its own stands for (the key drawn on a picture): the
    // headless driver and its dump name the view by it.
    const std::string& accessibilityLabel() const { return accessibilityLabel_; }
    void setAccessibilityLabel(std::string label) { accessibilityLabel_ = std::move(label); }

    // --- Hierarchy ----------------------------------------------------------------------------
    View* superview() const { return superview_; }
    const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
    // Adding a view that has a superview moves it; adding an ancestor or itself is refused.
    void addSubview(const std::shared_ptr<View>& view);
    // `index` is clamped to 0..count (position 0 is at the back).
    void insertSubview(const std::shared_ptr<View>& view, std::size_t index);
    void insertSubviewAbove(const std::shared_ptr<View>& view, const View* sibling);
    void insertSubviewBelow(const std::shared_ptr<View>& view, const View* sibling);
    void bringSubviewToFront(const View* view);
    void sendSubviewToBack(const View* view);
    void exchangeSubviews(std::size_t a, std::size_t b);
    // The view may be destroyed by this call when nothing else holds it.
    void removeFromSuperview();
    bool isDescendantOf(const View* ancestor) const;  // true for itself
    // Depth first, this view included; null when there is none.
    View* viewWithTag(int tag);
    std::shared_ptr<View> sharedViewWithTag(int tag);
    // The window at the root of this view's tree, or null.
    Window* window() const;
    // The controller whose view this is (set by ViewController), or null.
    ViewController* viewController() const { return controller_; }

    // --- Coordinates --------------------------------------------------------------------------
    // `other` null = the window's coordinates.
    Point convertPointTo(Point p, const View* other) const;
    Point convertPointFrom(Point p, const View* other) const;
    Rect convertRectTo(const Rect& r, const View* other) const;
    Rect convertRectFrom(const Rect& r, const View* other) const;

    // --- Hit-testing --------------------------------------------------------------------------
    // The deepest visible, interactive view containing `p` (in this view's coordinates), front
    // subviews first; null when this view is hidden, nearly transparent (alpha < 0.01),
    // non-interactive or misses the point.
    virtual View* hitTest(Point p, const Event* event);
    virtual bool pointInside(Point p, const Event* event) const;

    // --- Responder ----------------------------------------------------------------------------
    Responder* nextResponder() const override;
    virtual bool canBecomeFirstResponder() const { return false; }
    // Needs a window; answers whether this view is now the first responder.
    virtual bool becomeFirstResponder();
    virtual bool resignFirstResponder();
    bool isFirstResponder() const;
    // Makes the first responder inside this view (itself included) resign.
    bool endEditing(bool force);

    // --- Layout and display -------------------------------------------------------------------
    // Called after the frame's size changed; views that place their own parts override it.
    virtual void layoutSubviews() {}
    virtual Size sizeThatFits(Size size) const { return size; }
    void sizeToFit();
    // Tells the window that something visible changed, so the shell draws a new frame.
    void setNeedsDisplay();

protected:
    // Hooks after the hierarchy changed.
    virtual void didMoveToSuperview() {}
    virtual void didMoveToWindow() {}
    virtual void willRemoveSubview(View*) {}
    virtual void didAddSubview(View*) {}

private:
    friend class ViewController;
    friend class Animation;
    friend class Window;
    friend class ScrollView;

    struct RunningAnimation {
        enum class Property { Frame, Alpha, BoundsOrigin } property;
        Rect fromRect;
        double fromValue = 0;
        double start = 0, duration = 0;
        int curve = 0;
        std::uint64_t block = 0;  // the animation block it belongs to
    };
    // Linear progress of `a` at `now` after its curve, 0..1; negative when it has ended.
    static double progressOf(const RunningAnimation& a, double now);
    const RunningAnimation* runningAnimation(RunningAnimation::Property p, double now, double& progress) const;
    void addAnimation(const RunningAnimation& a);
    // Stops the animations of `p` that have not ended by `now` (a newer block takes the property
    // over) and answers the blocks they belonged to.
    std::vector<std::uint64_t> cutAnimations(RunningAnimation::Property p, double now);
    Point toLocal(Point inSuperview) const;
    Point toSuperview(Point local) const;
    void propagateWindowChange(Window* oldWindow, Window* newWindow);
    void detachChild(View* child);

    Rect frame_;
    Point boundsOrigin_;
    Transform transform_;
    bool hidden_ = false;
    double alpha_ = 1.0;
    int tag_ = 0;
    Color background_ = Color::clearColor();
    bool clipsToBounds_ = false;
    bool opaque_ = false;
    double cornerRadius_ = 0;
    double borderWidth_ = 0;
    Color borderColor_ = Color::blackColor();
    bool userInteraction_ = true;
    bool multipleTouch_ = false;
    std::string accessibilityLabel_;
    View* superview_ = nullptr;
    std::vector<std::shared_ptr<View>> subviews_;
    ViewController* controller_ = nullptr;
    mutable std::vector<RunningAnimation> animations_;

protected:
    // Set by subclasses that take no touches by default (labels, image views).
    void setDefaultInteraction(bool enabled) { userInteraction_ = enabled; }
};

}  // namespace ui
