#pragma once
// The custom alert: a panel over the root's view with a title, a message, room on which its
// delegate places its own input fields, a cancel button and a column of further buttons. The
// delegate learns of the further buttons by their index (1, 2, ...) and tells several panels
// apart by the panel body's tag.

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewController.h"

// What the custom alert's delegate answers; it receives the panel body, not the alert.
class UIMyAlertViewDelegate {
public:
    virtual ~UIMyAlertViewDelegate() = default;
    // Before the panel shows: the delegate adds its labels and fields to the body.
    virtual void willPresentAlertView(ui::View& panel) = 0;
    // A further button was pressed (index 1 for the first); the cancel button never comes here.
    virtual void alertViewClickedButtonAtIndex(ui::View& panel, int buttonIndex) = 0;
};

class UIMyAlertViewController : public ui::ViewController {
public:
    static constexpr double kWidth = 300;
    static constexpr double kHeight = 400;
    static constexpr double kButtonHeight = 45;
    static constexpr double kCancelTop = 355;

    explicit UIMyAlertViewController(std::string nibName = "UIMyAlertViewController");

    void updateWithTitle(const std::string& title, const std::string& message,
                         std::shared_ptr<UIMyAlertViewDelegate> delegate, const std::string& cancelButtonTitle,
                         const std::vector<std::string>& otherButtonTitles);
    void setTag(int tag) { tag_ = tag; }
    int tag() const { return tag_; }

    void loadView() override;
    // Builds the buttons and shows the panel on top of the root's view; the panel keeps itself
    // alive until it closes.
    void show();
    // The action of every further button.
    void buttonDown(ui::Button& button);
    // Closes the panel; also the cancel button's action.
    void unShow();

    const std::shared_ptr<ui::Label>& lb_title() const { return lb_title_; }
    const std::shared_ptr<ui::Label>& lb_message() const { return lb_message_; }
    const std::shared_ptr<ui::View>& v_view1() const { return v_view1_; }

private:
    int tag_ = 0;
    std::shared_ptr<ui::Label> lb_title_;
    std::shared_ptr<ui::Label> lb_message_;
    std::shared_ptr<ui::View> v_view1_;
    std::string s_title_;
    std::string s_message_;
    std::shared_ptr<UIMyAlertViewDelegate> upobj_;
    std::string cbTitle_;
    std::vector<std::string> obTitles_;
    // Held while shown.
    std::shared_ptr<UIMyAlertViewController> self_;
};
