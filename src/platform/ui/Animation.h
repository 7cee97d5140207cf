#pragma once
// Named view animations in begin/commit blocks. Between begin() and commit(), changes of a view's
// frame, centre, bounds origin, alpha or transform take their new value at once (what the program
// reads) and are drawn moving from the old value over the block's duration, after its delay, along
// its curve. The block's did-stop handler runs from the main run loop at the animation's end time
// (delay + duration after commit; on the next turn for a zero duration) with the block's name,
// finished = true and its context. A later block that changes the same property of the same view
// before the movement ended (even with a zero duration) cuts the earlier block short: its handler
// runs on the next turn with finished = false, and not again at its end. With a manual clock,
// advancing it finishes animations in due order together with the timers.
//
//     ui::Animation::begin("selectback");
//     ui::Animation::setDuration(0.3);
//     ui::Animation::setDidStop([this](const auto& name, bool finished, void*) { animationFinish(name, finished); });
//     picker->setAlpha(0);
//     ui::Animation::commit();

#include <functional>
#include <optional>
#include <string>

#include "platform/ui/Geometry.h"

namespace ui {

class View;

class Animation {
public:
    enum class Curve { EaseInOut, EaseIn, EaseOut, Linear };
    enum class Transition { None, FlipFromLeft, FlipFromRight, CurlUp, CurlDown };
    // The name is absent for an unnamed animation; "" is a name of its own.
    using DidStop = std::function<void(const std::optional<std::string>& name, bool finished, void* context)>;

    // Blocks nest; each commit() ends the innermost open block.
    static void begin(std::optional<std::string> name = std::nullopt, void* context = nullptr);
    static void setDuration(double seconds);   // default 0.2 s
    static void setDelay(double seconds);      // default 0
    static void setCurve(Curve curve);         // default ease-in-out
    static void setDidStop(DidStop handler);   // called when the block's animations stop
    // The whole of `view` is redrawn turning over (flip) or curling (page curl) during the block.
    // `cache` changes nothing: every frame draws the view afresh.
    static void setTransition(Transition transition, View& view, bool cache);
    static void commit();
    static bool isInBlock();
    // Whether animations are enabled (changes inside a block animate). Default true.
    static void setAnimationsEnabled(bool enabled);
    static bool areAnimationsEnabled();

    // For the shell: whether something is still moving at the run loop's current time (draw
    // frames until it is not).
    static bool anyRunning();
    // For the shell: while set, views are drawn as they stand when their animations end (no
    // transition, final frames and alphas). A frame drawn just before the main thread blocks stays
    // on the screen for the whole wait, so it shows where things are going, not a moment of the way.
    static void setDrawingEndStates(bool endStates);
    static bool drawingEndStates();
    // For drawing: the transition of `view` running now and its progress 0..1 (after the curve).
    struct TransitionState {
        Transition transition = Transition::None;
        double progress = 0;
    };
    static TransitionState transitionOf(const View& view);

    // The curve applied to linear progress t in 0..1.
    static double ease(Curve curve, double t);

    // Whether a block is open and animations are enabled: View's setters then record changes.
    static bool recording();

private:
    friend class View;
    // The old value of a property of `view` that changes inside the open block.
    static void record(View& view, int property, const Rect& fromRect, double fromValue);
};

}  // namespace ui
