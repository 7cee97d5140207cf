#include "platform/ui/Animation.h"

#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/View.h"

namespace ui {

namespace {

struct Change {
    std::weak_ptr<View> view;
    int property;
    Rect fromRect;
    double fromValue;
};

struct TransitionOf {
    std::weak_ptr<View> view;
    Animation::Transition transition;
};

struct Block {
    std::optional<std::string> name;
    void* context = nullptr;
    double duration = 0.2;
    double delay = 0;
    Animation::Curve curve = Animation::Curve::EaseInOut;
    Animation::DidStop didStop;
    std::vector<Change> changes;
    std::vector<TransitionOf> transitions;
};

struct RunningTransition {
    std::weak_ptr<View> view;
    Animation::Transition transition;
    double start, duration;
    Animation::Curve curve;
};

// The did-stop handler of a committed block, until it runs.
struct Pending {
    Animation::DidStop didStop;
    std::optional<std::string> name;
    void* context = nullptr;
};

struct State {
    std::vector<Block> open;
    std::uint64_t nextBlock = 1;
    // By block; a block leaves when its handler is called, at its end or when it is cut short.
    std::map<std::uint64_t, Pending> pending;
    bool enabled = true;
    double latestEnd = -1e300;
    // The loop whose clock latestEnd is on (tests make a new loop for each case).
    const platform::RunLoop* latestLoop = nullptr;
    // The transitions running or finished lately, by view.
    std::map<const View*, RunningTransition> transitions;
};

State& state() {
    static State s;
    return s;
}

// Tells a block's handler that it ended; false when a newer block cut it short.
void stopBlock(std::uint64_t id, bool finished) {
    auto& pending = state().pending;
    auto it = pending.find(id);
    if (it == pending.end()) return;
    Pending p = std::move(it->second);
    pending.erase(it);
    p.didStop(p.name, finished, p.context);
}

}  // namespace

void Animation::begin(std::optional<std::string> name, void* context) {
    Block b;
    b.name = std::move(name);
    b.context = context;
    state().open.push_back(std::move(b));
}

void Animation::setDuration(double seconds) {
    if (!state().open.empty()) state().open.back().duration = std::isfinite(seconds) && seconds > 0 ? seconds : 0;
}

void Animation::setDelay(double seconds) {
    if (!state().open.empty()) state().open.back().delay = std::isfinite(seconds) && seconds > 0 ? seconds : 0;
}

void Animation::setCurve(Curve curve) {
    if (!state().open.empty()) state().open.back().curve = curve;
}

void Animation::setDidStop(DidStop handler) {
    if (!state().open.empty()) state().open.back().didStop = std::move(handler);
}

void Animation::setTransition(Transition transition, View& view, bool) {
    if (state().open.empty()) return;
    state().open.back().transitions.push_back({view.weak_from_this(), transition});
    view.setNeedsDisplay();
}

bool Animation::isInBlock() { return !state().open.empty(); }
void Animation::setAnimationsEnabled(bool enabled) { state().enabled = enabled; }
bool Animation::areAnimationsEnabled() { return state().enabled; }
bool Animation::recording() { return !state().open.empty() && state().enabled; }

void Animation::record(View& view, int property, const Rect& fromRect, double fromValue) {
    if (!recording()) return;
    auto& changes = state().open.back().changes;
    std::weak_ptr<View> w = view.weak_from_this();
    // The first old value within a block is where the movement starts.
    for (auto& c : changes)
        if (c.property == property && !c.view.owner_before(w) && !w.owner_before(c.view)) return;
    changes.push_back({w, property, fromRect, fromValue});
}

void Animation::commit() {
    State& s = state();
    if (s.open.empty()) return;
    Block b = std::move(s.open.back());
    s.open.pop_back();

    platform::RunLoop& loop = platform::RunLoop::main();
    const std::uint64_t id = s.nextBlock++;
    double now = loop.now();
    double start = now + b.delay;
    double end = start + b.duration;
    bool moves = b.duration > 0;
    for (auto& c : b.changes) {
        auto v = c.view.lock();
        if (!v) continue;
        // A newer change of a property that is still moving cuts the older block short, even
        // when the newer one does not move at all; its handler hears finished = false on the
        // next turn, instead of at its end.
        for (std::uint64_t older : v->cutAnimations(static_cast<View::RunningAnimation::Property>(c.property), now))
            if (older != id && s.pending.count(older)) loop.schedule(0, [older] { stopBlock(older, false); });
        if (!moves) continue;
        View::RunningAnimation a;
        a.property = static_cast<View::RunningAnimation::Property>(c.property);
        a.fromRect = c.fromRect;
        a.fromValue = c.fromValue;
        a.start = start;
        a.duration = b.duration;
        a.curve = static_cast<int>(b.curve);
        a.block = id;
        v->addAnimation(a);
        v->setNeedsDisplay();
    }
    for (auto& t : b.transitions) {
        auto v = t.view.lock();
        if (!v || t.transition == Transition::None) continue;
        // Forget transitions of views that are gone.
        std::erase_if(s.transitions, [](auto& kv) { return kv.second.view.expired(); });
        s.transitions[v.get()] = {t.view, t.transition, start, b.duration, b.curve};
        v->setNeedsDisplay();
    }
    if (s.latestLoop != &loop || end > s.latestEnd) {
        s.latestEnd = end;
        s.latestLoop = &loop;
    }

    if (b.didStop) {
        // The end runs from the run loop, never inside commit(), even for a zero duration.
        s.pending[id] = {std::move(b.didStop), std::move(b.name), b.context};
        loop.schedule(b.delay + b.duration, [id] { stopBlock(id, true); });
    }
}

bool Animation::anyRunning() {
    platform::RunLoop& loop = platform::RunLoop::main();
    return state().latestLoop == &loop && loop.now() < state().latestEnd;
}

namespace {
bool endStatesDrawn = false;
}  // namespace

void Animation::setDrawingEndStates(bool endStates) { endStatesDrawn = endStates; }
bool Animation::drawingEndStates() { return endStatesDrawn; }

Animation::TransitionState Animation::transitionOf(const View& view) {
    if (endStatesDrawn) return {};
    State& s = state();
    auto it = s.transitions.find(&view);
    if (it == s.transitions.end()) return {};
    auto v = it->second.view.lock();
    if (v.get() != &view) {
        s.transitions.erase(it);
        return {};
    }
    double now = platform::RunLoop::main().now();
    const RunningTransition& t = it->second;
    if (now >= t.start + t.duration) {
        s.transitions.erase(it);
        return {};
    }
    double p = now <= t.start || t.duration <= 0 ? 0 : (now - t.start) / t.duration;
    return {t.transition, ease(t.curve, p)};
}

double Animation::ease(Curve curve, double t) {
    t = std::clamp(t, 0.0, 1.0);
    switch (curve) {
        case Curve::Linear: return t;
        case Curve::EaseIn: return t * t;
        case Curve::EaseOut: return t * (2 - t);
        case Curve::EaseInOut: return t < 0.5 ? 2 * t * t : 1 - 2 * (1 - t) * (1 - t);
    }
    return t;
}

}  // namespace ui
