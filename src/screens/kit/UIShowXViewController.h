#pragma once
// The popup: a small panel showing one text, in an upper or a lower variant (the arrow side),
// that tells its owner when it is touched so the owner can close it.

#include <memory>
#include <string>

#include "platform/ui/Label.h"
#include "platform/ui/ViewController.h"

// The owner of a popup: a touch on the popup asks it to close the popup.
class UIShowXOwner {
public:
    virtual ~UIShowXOwner() = default;
    virtual void clearShow() = 0;
};

class UIShowXViewController : public ui::ViewController {
public:
    static constexpr double kWidth = 300;
    static constexpr double kHeight = 110;

    explicit UIShowXViewController(std::string nibName = "UIShowXViewController");

    void loadView() override;
    // YES: the upper variant becomes the popup's view; NO: the lower one.
    void setUpDowm(bool up);
    // The text of the variant in use.
    void setMessage(const std::string& text);
    // Kept without ownership: the owner holds the popup.
    void setLastViewController(UIShowXOwner* owner) { lastViewController_ = owner; }
    void touchesEnded(const ui::TouchSet& touches, const ui::Event* event) override;
    bool shouldAutorotateToInterfaceOrientation(int) override { return true; }
    void viewDidUnload() override;

    bool isUp() const { return m_isup_; }
    const std::shared_ptr<ui::View>& view1() const { return view1_; }
    const std::shared_ptr<ui::View>& view2() const { return view2_; }
    const std::shared_ptr<ui::Label>& label1() const { return label1_; }
    const std::shared_ptr<ui::Label>& label2() const { return label2_; }

private:
    std::shared_ptr<ui::View> view1_;
    std::shared_ptr<ui::View> view2_;
    std::shared_ptr<ui::Label> label1_;
    std::shared_ptr<ui::Label> label2_;
    bool m_isup_ = false;
    UIShowXOwner* lastViewController_ = nullptr;
};
