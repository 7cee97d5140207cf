#pragma once
// The spinning wait mark. Hidden while stopped when hidesWhenStopped (the default); while it
// spins, the window keeps drawing frames.

#include "platform/ui/View.h"

namespace ui {

class ActivityIndicatorView : public View {
public:
    enum class Style { WhiteLarge, White, Gray };

    explicit ActivityIndicatorView(Style style = Style::White);
    ~ActivityIndicatorView() override;
    const char* className() const override { return "ActivityIndicatorView"; }

    Style style() const { return style_; }
    void setStyle(Style s);
    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return animating_; }
    bool hidesWhenStopped() const { return hidesWhenStopped_; }
    void setHidesWhenStopped(bool h);
    // The spoke that is brightest now (0..11), from the run loop's clock.
    int phase() const;
    // How many indicators are spinning in any window (the shell keeps drawing while > 0).
    static int spinningCount();

private:
    Style style_;
    bool animating_ = false;
    bool hidesWhenStopped_ = true;
    double startedAt_ = 0;
};

}  // namespace ui
