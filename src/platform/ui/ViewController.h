#pragma once
// Manages one screen's view: made lazily on first request (loadView, then viewDidLoad), told when
// it appears and disappears, and asked to let go of an off-screen view on a memory warning.
// Every screen builds its layout in code, in loadView or viewDidLoad; the layout name a screen is
// made with is only kept, nothing is read by it.

#include <memory>
#include <string>

#include "platform/ui/View.h"

namespace ui {

class ViewController : public Responder, public std::enable_shared_from_this<ViewController> {
public:
    ViewController();
    explicit ViewController(std::string nibName);
    ~ViewController() override;
    ViewController(const ViewController&) = delete;
    ViewController& operator=(const ViewController&) = delete;

    // The view, loaded on first request.
    const std::shared_ptr<View>& view();
    bool isViewLoaded() const { return view_ != nullptr; }
    void setView(std::shared_ptr<View> view);
    const std::string& nibName() const { return nibName_; }
    // A title some screens show in their bars.
    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }

    // Makes the view; the default is a plain view of the application frame (0, 20, 768, 1004)
    // placed at (0, 0).
    virtual void loadView();
    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool /*animated*/) {}
    virtual void viewDidAppear(bool /*animated*/) {}
    virtual void viewWillDisappear(bool /*animated*/) {}
    virtual void viewDidDisappear(bool /*animated*/) {}
    // The default lets go of the view when it is not in a window (then viewDidUnload).
    virtual void didReceiveMemoryWarning();
    virtual void viewDidUnload() {}
    virtual bool shouldAutorotateToInterfaceOrientation(int /*orientation*/) { return true; }

    // The view's superview: touches that the view does not handle go on there.
    Responder* nextResponder() const override;

private:
    std::string nibName_;
    std::string title_;
    std::shared_ptr<View> view_;
};

}  // namespace ui
