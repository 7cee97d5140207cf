#include "platform/ui/ActivityIndicatorView.h"

#include <cmath>

#include "platform/foundation/RunLoop.h"

namespace ui {

namespace {
int gSpinning = 0;
}

ActivityIndicatorView::ActivityIndicatorView(Style style) : style_(style) {
    double side = style == Style::WhiteLarge ? 37 : 20;
    setFrame({0, 0, side, side});
    setHidden(true);
    setDefaultInteraction(false);
}

ActivityIndicatorView::~ActivityIndicatorView() {
    if (animating_) --gSpinning;
}

void ActivityIndicatorView::setStyle(Style s) {
    style_ = s;
    setNeedsDisplay();
}

void ActivityIndicatorView::startAnimating() {
    if (animating_) return;
    animating_ = true;
    ++gSpinning;
    startedAt_ = platform::RunLoop::main().now();
    setHidden(false);
    setNeedsDisplay();
}

void ActivityIndicatorView::stopAnimating() {
    if (!animating_) return;
    animating_ = false;
    --gSpinning;
    if (hidesWhenStopped_) setHidden(true);
    setNeedsDisplay();
}

void ActivityIndicatorView::setHidesWhenStopped(bool h) {
    hidesWhenStopped_ = h;
    if (!animating_) setHidden(h);
}

int ActivityIndicatorView::phase() const {
    if (!animating_) return 0;
    // One turn a second, twelve spokes.
    double t = platform::RunLoop::main().now() - startedAt_;
    return static_cast<int>(std::floor(t * 12)) % 12;
}

int ActivityIndicatorView::spinningCount() { return gSpinning; }

}  // namespace ui
