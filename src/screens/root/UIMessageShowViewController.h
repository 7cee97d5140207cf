#pragma once
// The message panel: a small non-modal panel with one line of text near the top of the screen.
// The root fades it in, replaces its text while it is up and fades it out after a while; a touch
// on it asks the root to fade it out at once.

#include <memory>
#include <string>

#include "platform/ui/Label.h"
#include "platform/ui/ViewController.h"

class UIMessageShowViewController : public ui::ViewController {
public:
    // Where the panel stands, whatever the screen rectangle.
    static constexpr ui::Rect kFrame{60, 10, 200, 80};

    explicit UIMessageShowViewController(std::string nibName = "UIMessageShowViewController");

    void loadView() override;
    void viewDidLoad() override;
    // Sets the panel's text.
    void showMessage(const std::string& text);
    const std::shared_ptr<ui::Label>& messageLabel() const { return messageLabel_; }

    bool shouldAutorotateToInterfaceOrientation(int) override { return true; }

private:
    std::shared_ptr<ui::Label> messageLabel_;
};
