#pragma once
// A modal question: title, message and up to three buttons (a cancel button at index 0, then the
// other buttons 1, 2...), a tag, and a delegate told which button answered. Shown on top of the
// key window with real buttons, so it is tapped like any control; it keeps itself alive while
// shown and is let go of on the run loop's next turn after it closed.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

namespace ui {

class AlertView;

// All optional. The alert holds its delegate as an observer pointer; a delegate that goes away
// is forgotten by every alert still alive, so none calls it afterwards.
class AlertViewDelegate {
public:
    virtual ~AlertViewDelegate();
    virtual void willPresentAlertView(AlertView&) {}
    virtual void didPresentAlertView(AlertView&) {}
    virtual void alertViewClickedButtonAtIndex(AlertView&, int /*buttonIndex*/) {}
    virtual void alertViewWillDismissWithButtonIndex(AlertView&, int /*buttonIndex*/) {}
    virtual void alertViewDidDismissWithButtonIndex(AlertView&, int /*buttonIndex*/) {}
};

class AlertView : public View {
public:
    static constexpr std::size_t kMaxButtons = 3;

    // Buttons beyond three are dropped; a missing cancel title means no cancel button (the other
    // buttons then start at index 0).
    AlertView(std::optional<std::string> title, std::optional<std::string> message,
              AlertViewDelegate* delegate, std::optional<std::string> cancelButtonTitle,
              std::vector<std::string> otherButtonTitles = {});
    ~AlertView() override;
    const char* className() const override { return "AlertView"; }

    const std::optional<std::string>& title() const { return title_; }
    void setTitle(std::optional<std::string> title);
    const std::optional<std::string>& message() const { return message_; }
    void setMessage(std::optional<std::string> message);
    AlertViewDelegate* delegate() const { return delegate_; }
    void setDelegate(AlertViewDelegate* d) { delegate_ = d; }
    // Answers the new button's index, or -1 when three buttons exist already.
    int addButtonWithTitle(std::string title);
    int numberOfButtons() const { return static_cast<int>(buttonTitles_.size()); }
    std::string buttonTitleAtIndex(int index) const;
    // With a keyboard: Escape answers as the cancel button (or the only button), Return as the
    // only button or the one beside the cancel button; other keys and other layouts do nothing.
    bool keyPressed(const std::string& key) override;
    int cancelButtonIndex() const { return cancelIndex_; }
    int firstOtherButtonIndex() const { return cancelIndex_ == 0 ? 1 : 0; }
    bool isVisible() const { return visible_; }
    // The panel holding the texts and buttons (a screen may add its own fields to it).
    const std::shared_ptr<View>& panel() const { return panel_; }
    // The button views, by index.
    std::shared_ptr<Button> buttonAtIndex(int index) const;

    // Covers the key window (tells the delegate it will and did present). False without one.
    bool show();
    // Closes as if `index` was tapped, without telling the delegate of a click.
    void dismissWithClickedButtonIndex(int index, bool animated);
    // The alerts on screen now, oldest first.
    static std::vector<std::shared_ptr<AlertView>> visibleAlerts();

private:
    void rebuild();
    void buttonTapped(int index);

    std::optional<std::string> title_;
    std::optional<std::string> message_;
    AlertViewDelegate* delegate_;
    std::vector<std::string> buttonTitles_;
    int cancelIndex_ = -1;
    bool visible_ = false;
    std::shared_ptr<View> panel_;
    std::shared_ptr<Label> titleLabel_;
    std::shared_ptr<Label> messageLabel_;
    std::vector<std::shared_ptr<Button>> buttons_;
};

}  // namespace ui
