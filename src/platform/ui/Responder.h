#pragma once
// Touches and the responder chain. A touch belongs to the view that was hit when it began and is
// delivered there until it ends; a responder that does not handle a touch passes it to its next
// responder (a view's controller, else its superview).

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Geometry.h"

namespace ui {

class View;
class Window;

class Touch {
public:
    enum class Phase { Began, Moved, Stationary, Ended, Cancelled };

    // The location in `view`'s coordinates (its bounds); null means the window's.
    Point locationInView(const View* view) const;
    Point previousLocationInView(const View* view) const;
    // 1 for a single tap, 2 for the second tap of a double tap at about the same place, ...
    int tapCount() const { return tapCount_; }
    double timestamp() const { return timestamp_; }
    Phase phase() const { return phase_; }
    // The view the touch began in (held until the touch ends).
    View* view() const { return view_.get(); }
    Window* window() const { return window_; }

private:
    friend class Window;
    std::shared_ptr<View> view_;
    std::shared_ptr<View> dragging_;  // the scroll view that took the touch over, if any
    Window* window_ = nullptr;
    Point location_;          // window coordinates
    Point previousLocation_;  // window coordinates
    Point startLocation_;     // window coordinates
    int tapCount_ = 1;
    double timestamp_ = 0;
    Phase phase_ = Phase::Began;
};

// The touches of one delivery (one finger with a mouse; several on a touch screen).
class TouchSet {
public:
    TouchSet() = default;
    explicit TouchSet(std::vector<std::shared_ptr<Touch>> touches) : touches_(std::move(touches)) {}
    Touch* anyObject() const { return touches_.empty() ? nullptr : touches_.front().get(); }
    std::size_t count() const { return touches_.size(); }
    bool empty() const { return touches_.empty(); }
    auto begin() const { return touches_.begin(); }
    auto end() const { return touches_.end(); }
    const std::vector<std::shared_ptr<Touch>>& all() const { return touches_; }

private:
    std::vector<std::shared_ptr<Touch>> touches_;
};

class Event {
public:
    explicit Event(TouchSet all = {}, double timestamp = 0) : all_(std::move(all)), timestamp_(timestamp) {}
    const TouchSet& allTouches() const { return all_; }
    double timestamp() const { return timestamp_; }

private:
    TouchSet all_;
    double timestamp_;
};

class Responder {
public:
    virtual ~Responder() = default;
    virtual Responder* nextResponder() const { return nullptr; }

    // Each default passes the touches on to the next responder.
    virtual void touchesBegan(const TouchSet& touches, const Event* event);
    virtual void touchesMoved(const TouchSet& touches, const Event* event);
    virtual void touchesEnded(const TouchSet& touches, const Event* event);
    virtual void touchesCancelled(const TouchSet& touches, const Event* event);
    // A key of a hardware keyboard while no text field has the focus (see
    // Window::pressKeyEquivalent); true when it was taken. Nothing takes it by default.
    virtual bool keyPressed(const std::string& key);
};

}  // namespace ui
