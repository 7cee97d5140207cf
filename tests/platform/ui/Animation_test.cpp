#include <gtest/gtest.h>

#include "UiFixture.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Animation.h"

using namespace ui;

namespace {

class Animations : public uitest::ScreenTest {
protected:
    std::vector<std::string> ends;
    Animation::DidStop recorder() {
        return [this](const std::optional<std::string>& name, bool finished, void* context) {
            ends.push_back((name ? "'" + *name + "'" : std::string("(none)")) + (finished ? " finished" : " stopped") +
                           (context ? " ctx" : ""));
        };
    }
    void fade(View& v, const std::optional<std::string>& name, double duration, double delay = 0) {
        Animation::begin(name);
        Animation::setDuration(duration);
        Animation::setDelay(delay);
        Animation::setDidStop(recorder());
        v.setAlpha(0);
        Animation::commit();
    }
};

TEST_F(Animations, ModelValuesChangeAtOnceAndTheDrawingFollowsTheCurve) {
    auto v = add<View>(Rect{0, 0, 100, 100});
    Animation::begin("move");
    Animation::setDuration(1.0);
    Animation::setCurve(Animation::Curve::Linear);
    v->setFrame({100, 0, 100, 100});
    v->setAlpha(0.5);
    Animation::commit();
    EXPECT_EQ(v->frame().x(), 100);  // what the program reads
    EXPECT_EQ(v->alpha(), 0.5);
    EXPECT_EQ(v->presentationFrame().x(), 0);
    EXPECT_TRUE(Animation::anyRunning());
    home.loop().advanceBy(0.25);
    EXPECT_DOUBLE_EQ(v->presentationFrame().x(), 25);
    EXPECT_DOUBLE_EQ(v->presentationAlpha(), 0.875);
    home.loop().advanceBy(1.0);
    EXPECT_EQ(v->presentationFrame().x(), 100);
    EXPECT_FALSE(v->isAnimating());
    EXPECT_FALSE(Animation::anyRunning());
}

TEST_F(Animations, EndHandlersRunFromTheRunLoopAtTheirEndTimesInOrderWithTimers) {
    auto a = add<View>(), b = add<View>(), c = add<View>();
    fade(*a, "selectback", 0.3);
    fade(*b, "", 0.5);             // the empty name is a name
    fade(*c, std::nullopt, 0.1, 0.3);  // unnamed, delayed: ends at 0.4
    platform::Timer::schedule(home.loop(), 0.35, false, [this](platform::Timer&) { ends.push_back("timer"); });
    EXPECT_TRUE(ends.empty());  // never inside commit
    home.loop().advanceBy(0.29);
    EXPECT_TRUE(ends.empty());
    home.loop().advanceBy(1.0);
    EXPECT_EQ(ends, (std::vector<std::string>{"'selectback' finished", "timer", "(none) finished", "'' finished"}));
}

TEST_F(Animations, ZeroDurationEndsOnTheNextTurnAndContextIsPassedBack) {
    auto v = add<View>();
    int context = 0;
    Animation::begin("now", &context);
    Animation::setDuration(0);
    Animation::setDidStop(recorder());
    v->setAlpha(0);
    Animation::commit();
    EXPECT_TRUE(ends.empty());
    home.loop().runOnce();
    EXPECT_EQ(ends, (std::vector<std::string>{"'now' finished ctx"}));
}

TEST_F(Animations, ALaterBlockThatTakesOverAPropertyCutsTheEarlierOneShort) {
    auto v = add<View>(Rect{0, 0, 100, 100});
    auto other = add<View>(Rect{0, 0, 100, 100});
    auto move = [&](View& view, const char* name, double duration, double delay, double x) {
        Animation::begin(name);
        Animation::setDuration(duration);
        Animation::setDelay(delay);
        Animation::setDidStop(recorder());
        view.setFrame({x, 0, 100, 100});
        Animation::commit();
    };
    move(*v, "away", 1.0, 0, 200);
    fade(*v, "fade", 1.0);          // another property: runs on untouched
    move(*other, "other", 1.0, 0, 50);
    home.loop().advanceBy(0.5);
    move(*v, "home", 0, 0, 0);      // back at once, mid-way
    EXPECT_TRUE(ends.empty());      // never inside commit
    home.loop().runOnce();
    EXPECT_EQ(ends, (std::vector<std::string>{"'away' stopped", "'home' finished"}));
    EXPECT_EQ(v->presentationFrame().x(), 0);
    home.loop().advanceBy(1.0);
    EXPECT_EQ(ends, (std::vector<std::string>{"'away' stopped", "'home' finished", "'fade' finished", "'other' finished"}));

    // A leg still waiting out its delay is cut short too; one that has ended is not.
    ends.clear();
    move(*v, "later", 1.0, 1.0, 300);
    home.loop().advanceBy(0.5);
    move(*v, "now", 0.2, 0, 0);
    home.loop().advanceBy(2.0);
    move(*v, "after", 0.2, 0, 100);
    home.loop().advanceBy(1.0);
    EXPECT_EQ(ends, (std::vector<std::string>{"'later' stopped", "'now' finished", "'after' finished"}));
}

TEST_F(Animations, AnEndHandlerMayRemoveAndReleaseTheAnimatedView) {
    std::weak_ptr<View> weak;
    {
        auto dialog = add<View>(Rect{0, 0, 50, 50});
        weak = dialog;
        Animation::begin("numback");
        Animation::setDuration(0.3);
        Animation::setDidStop([this, weak](const std::optional<std::string>& name, bool, void*) {
            if (name == "numback")
                if (auto d = weak.lock()) d->removeFromSuperview();
        });
        dialog->setAlpha(0);
        Animation::commit();
    }
    home.loop().advanceBy(0.2);
    EXPECT_FALSE(weak.expired());
    EXPECT_EQ(window->subviews().size(), 1u);
    home.loop().advanceBy(0.2);
    EXPECT_TRUE(weak.expired());
    EXPECT_TRUE(window->subviews().empty());
}

TEST_F(Animations, NestedBlocksKeepTheirOwnSettingsAndTransitionsReportProgress) {
    auto root = add<View>(Rect{0, 0, 768, 1004});
    Animation::begin("begin");
    Animation::setDuration(0.75);
    Animation::setTransition(Animation::Transition::FlipFromRight, *root, true);
    Animation::setDidStop(recorder());
    Animation::begin("inner");
    Animation::setDuration(0.1);
    Animation::setDidStop(recorder());
    Animation::commit();
    Animation::commit();
    EXPECT_FALSE(Animation::isInBlock());
    home.loop().advanceBy(0.375);
    auto t = Animation::transitionOf(*root);
    EXPECT_EQ(t.transition, Animation::Transition::FlipFromRight);
    EXPECT_NEAR(t.progress, 0.5, 1e-9);  // ease-in-out is symmetric about the middle
    home.loop().advanceBy(0.5);
    EXPECT_EQ(Animation::transitionOf(*root).transition, Animation::Transition::None);
    EXPECT_EQ(ends, (std::vector<std::string>{"'inner' finished", "'begin' finished"}));
}

TEST_F(Animations, ChangesOutsideABlockOrWithAnimationsOffJumpAtOnce) {
    auto v = add<View>(Rect{0, 0, 10, 10});
    v->setFrame({50, 0, 10, 10});
    EXPECT_EQ(v->presentationFrame().x(), 50);
    Animation::setAnimationsEnabled(false);
    Animation::begin("off");
    Animation::setDuration(1);
    Animation::setDidStop(recorder());
    v->setFrame({0, 0, 10, 10});
    Animation::commit();
    Animation::setAnimationsEnabled(true);
    EXPECT_EQ(v->presentationFrame().x(), 0);
    home.loop().advanceBy(1);
    EXPECT_EQ(ends, (std::vector<std::string>{"'off' finished"}));  // the end still comes
}

}  // namespace
