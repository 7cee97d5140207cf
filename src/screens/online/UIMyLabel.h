#pragma once
// A one-line label whose text, when wider than the label, glides left until its end shows,
// pauses, glides back and starts again, with both edges faded; and its variant that takes over
// the look of a plain label whose text does not fit. The loop stops while the label's screen is
// covered by navigation and while the application is in the background.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Label.h"
#include "platform/ui/NotificationCenter.h"
#include "platform/ui/View.h"

class MarqueeLabel : public ui::View {
public:
    // The notification a navigation posts; user info "UINavigationControllerLastVisibleViewController"
    // and "UINavigationControllerNextVisibleViewController" hold the ui::ViewController* concerned.
    static constexpr const char* kNavigationDidShow = "UINavigationControllerDidShowViewControllerNotification";
    static constexpr std::uint32_t kAllowUserInteraction = 2;

    // Duration mode: each leg takes `duration` seconds.
    explicit MarqueeLabel(const ui::Rect& frame, double duration = 7.0, double fadeLength = 0);
    // Rate mode: the text moves `rate` points per second.
    static std::shared_ptr<MarqueeLabel> withRate(const ui::Rect& frame, double rate, double fadeLength);
    ~MarqueeLabel() override;
    const char* className() const override { return "MarqueeLabel"; }

    void setText(const std::optional<std::string>& text);
    const std::optional<std::string>& text() const { return labelText_; }
    void setLabelize(bool labelize);
    bool labelize() const { return labelize_; }
    void setFadeLength(double fade);
    double fadeLength() const { return fadeLength_; }
    bool labelShouldScroll() const;

    void restartLabel();
    void shutdownLabel();
    void returnLabelToOriginImmediately();
    void scrollLeftWithInterval(double interval);
    void scrollRightWithInterval(double interval);
    void observedViewControllerChange(const ui::Notification& n);

    // The inner label that carries the text; its look (font, colours, alignment...) is the label's.
    const std::shared_ptr<ui::Label>& subLabel() const { return subLabel_; }
    void setBackgroundColor(const ui::Color& c);

    bool awayFromHome() const { return awayFromHome_; }
    double rate() const { return rate_; }
    double lengthOfScroll() const { return lengthOfScroll_; }
    double animationDuration() const { return animationDuration_; }
    const ui::Rect& homeLabelFrame() const { return homeLabelFrame_; }
    const ui::Rect& awayLabelFrame() const { return awayLabelFrame_; }
    // The faded band of each edge as a fraction of the width (0: no fade).
    double maskFraction() const { return maskFraction_; }

protected:
    struct RateMode {};
    MarqueeLabel(const ui::Rect& frame, RateMode, double rate, double fadeLength);

private:
    void setUp(double fadeLength);
    void applyGradientMask();
    void fadeInText(const std::string& text);
    std::shared_ptr<ui::Label> subLabel_;
    std::optional<std::string> labelText_;
    bool awayFromHome_ = false;
    bool labelize_ = false;
    double rate_ = 0;
    double baseAlpha_ = 1;
    double fadeLength_ = 0;
    double animationDuration_ = 0;
    double lengthOfScroll_ = 0;
    double maskFraction_ = 0;
    ui::Rect homeLabelFrame_;
    ui::Rect awayLabelFrame_;
    std::vector<ui::NotificationCenter::Token> observers_;
};

class UIMyLabel : public MarqueeLabel {
public:
    // Rate mode at 7 points a second with 10-point fades, in the look of `label`.
    explicit UIMyLabel(const ui::Label& label);
    // The view to use in the label's place: a scrolling label added to `parent` when the text does
    // not fit the label (which leaves its parent), else the label itself.
    static std::shared_ptr<ui::View> labelScroll(ui::View& parent, const std::shared_ptr<ui::Label>& label);
};
