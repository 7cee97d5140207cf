#include "platform/shell/HeadlessShell.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <sstream>
#include <thread>
#include <utility>

#include "platform/foundation/FileSystem.h"
#include "platform/foundation/RunLoop.h"
#include "platform/render/Renderer.h"
#include "platform/render/UiHooks.h"
#include "platform/ui/Application.h"
#include "platform/ui/Driver.h"

namespace shell {

namespace {

const std::string kNoFocus = "no text field has the focus";

// Seconds or points as a step would write them.
std::string number(double v) {
    std::ostringstream s;
    s << v;
    return s.str();
}

std::string quote(const std::string& text) { return "\"" + text + "\""; }

// How a message names what a step aims at.
std::string targetName(const ScriptStep& step) {
    switch (step.target) {
    case ScriptStep::Target::Title: return quote(step.text);
    case ScriptStep::Target::Tag: return "tag " + std::to_string(step.tag);
    case ScriptStep::Target::Point: return "at (" + number(step.x) + "," + number(step.y) + ")";
    }
    return "";
}

}  // namespace

HeadlessShell::HeadlessShell() {
    render::installUiHooks();
    window_ = std::make_shared<ui::Window>(ui::Rect{0, 0, ui::Window::kScreenWidth, ui::Window::kScreenHeight});
}

HeadlessShell::~HeadlessShell() {
    terminate();
}

bool HeadlessShell::launch(ui::ApplicationDelegate& delegate) {
    delegate_ = &delegate;
    const bool ok = delegate.didFinishLaunching(*window_);
    window_->makeKeyAndVisible();
    ui::Application::shared().didBecomeActive(&delegate);
    settle();
    return ok;
}

void HeadlessShell::terminate() {
    if (!delegate_) return;
    auto* d = delegate_;
    delegate_ = nullptr;
    d->willTerminate();
}

void HeadlessShell::settle() {
    platform::RunLoop::main().drain();
}

std::string HeadlessShell::tapTitle(const std::string& title) {
    auto r = ui::tapTitle(*window_, title);
    settle();
    return r.ok ? "" : "tap " + quote(title) + ": " + r.error;
}

std::string HeadlessShell::tapTag(int tag) {
    auto r = ui::tapTag(*window_, tag);
    settle();
    return r.ok ? "" : "tap tag " + std::to_string(tag) + ": " + r.error;
}

std::string HeadlessShell::tapPoint(double x, double y) {
    auto r = ui::tapAt(*window_, ui::Point{x, y});
    settle();
    return r.ok ? "" : "tap at a point: " + r.error;
}

std::string HeadlessShell::type(const std::string& text) {
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t nl = text.find('\n', start);
        const std::string piece = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        if (!piece.empty() && !window_->insertText(piece)) return "type: " + kNoFocus;
        if (nl == std::string::npos) break;
        if (!window_->pressReturn()) return "type: " + kNoFocus;
        settle();
        start = nl + 1;
    }
    settle();
    return "";
}

std::string HeadlessShell::backspace(int count) {
    for (int i = 0; i < count; ++i) {
        if (!window_->deleteBackward()) return "backspace: " + kNoFocus;
        settle();
    }
    return "";
}

std::string HeadlessShell::pressReturn() {
    const bool pressed = window_->pressReturn();
    settle();
    return pressed ? "" : "return: " + kNoFocus;
}

std::string HeadlessShell::pick(const std::string& title) {
    auto r = ui::pickRow(*window_, title);
    settle();
    return r.ok ? "" : "pick " + quote(title) + ": " + r.error;
}

std::string HeadlessShell::wait(double seconds) {
    if (!platform::RunLoop::main().waitForPosted(seconds))
        return "wait: no worker thread posted anything within " + number(seconds) + " s";
    settle();
    return "";
}

std::string HeadlessShell::drag(const ScriptStep& step) {
    const std::string what = (step.kind == ScriptStep::Kind::Swipe ? "swipe " : "drag ") + targetName(step) + ": ";
    const ui::Point by{step.dx, step.dy};
    ui::TapResult r;
    if (step.target == ScriptStep::Target::Point) {
        r = ui::dragBy(*window_, {step.x, step.y}, by, step.seconds);
    } else {
        auto found = step.target == ScriptStep::Target::Tag ? ui::findViewsWithTag(*window_, step.tag)
                                                            : ui::findViewsWithTitle(*window_, step.text);
        if (found.empty()) return what + "no visible view";
        r = ui::dragViewBy(*window_, *found.front(), by, step.seconds);
    }
    settle();
    return r.ok ? "" : what + r.error;
}

std::string HeadlessShell::expect(const ScriptStep& step) {
    const std::string what = std::string("expect ") + (step.absent ? "no " : "") + targetName(step);
    auto found = step.target == ScriptStep::Target::Tag ? ui::onScreenWithTag(*window_, step.tag)
                                                        : ui::onScreenWithTitle(*window_, step.text);
    if (step.absent) return found.empty() ? "" : what + ": it is on screen";
    if (found.empty()) return what + ": it is not on screen";
    if (step.shows && ui::titleOf(*found.front()) != *step.shows)
        return what + " " + quote(*step.shows) + ": it shows " + quote(ui::titleOf(*found.front()));
    return "";
}

std::string HeadlessShell::advance(double seconds) {
    auto& loop = platform::RunLoop::main();
    if (!loop.manualClock()) return "advance: the run loop is not on the manual clock";
    loop.advanceBy(seconds);
    settle();
    return "";
}

std::string HeadlessShell::dump(std::ostream& out) const {
    out << ui::dumpTree(*window_);
    return "";
}

std::string HeadlessShell::dumpToFile(const std::string& path) const {
    return platform::fs::writeAtomically(path, ui::dumpTree(*window_)) ? "" : "dump: cannot write " + path;
}

std::string HeadlessShell::screenshot(const std::string& path) const {
    return render::saveScreenshot(*window_, path) ? "" : "screenshot: cannot write " + path;
}

std::string HeadlessShell::runStep(const ScriptStep& step, std::ostream& out) {
    using Kind = ScriptStep::Kind;
    switch (step.kind) {
    case Kind::TapTitle: return tapTitle(step.text);
    case Kind::TapTag: return tapTag(step.tag);
    case Kind::TapPoint: return tapPoint(step.x, step.y);
    case Kind::Type: return type(step.text);
    case Kind::Advance: return advance(step.seconds);
    case Kind::Dump: return step.text.empty() ? dump(out) : dumpToFile(step.text);
    case Kind::Screenshot: return screenshot(step.text);
    case Kind::Drag:
    case Kind::Swipe: return drag(step);
    case Kind::Backspace: return backspace(step.count);
    case Kind::Return: return pressReturn();
    case Kind::Pick: return pick(step.text);
    case Kind::Wait: return wait(step.seconds);
    case Kind::Expect: return expect(step);
    }
    return "unknown step";
}

int HeadlessShell::runScript(const Script& script, std::ostream& out, std::ostream& err) {
    if (!script.ok()) {
        err << script.error << "\n";
        return 1;
    }
    for (const auto& step : script.steps) {
        const std::string failure = runStep(step, out);
        if (!failure.empty() && step.mayFail) {
            err << "line " << step.line << ": tried, refused: " << failure << "\n";
            continue;
        }
        if (!failure.empty()) {
            // What was on screen when it failed, so the failure can be read without a rerun.
            err << "line " << step.line << ": " << failure << "\n" << ui::dumpTree(*window_);
            return 1;
        }
    }
    return 0;
}

void HeadlessShell::runSteps(std::istream& in, std::ostream& out) {
    // The lines are read as they come, on a thread of their own that notes when each came, so
    // that a line sent while a step held the screen in an exchange is told from one sent before
    // it: such a line is refused, as the window drops a tap made at a terminal that seemed stuck.
    using Clock = std::chrono::steady_clock;
    struct Line {
        std::string text;
        Clock::time_point came;
    };
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<Line> lines;
    bool ended = false;
    // Reading must not flush `out` from the reading thread (std::cin flushes std::cout first).
    std::ostream* const tied = in.tie(nullptr);
    std::thread reader([&] {
        std::string text;
        while (std::getline(in, text)) {
            const Clock::time_point came = Clock::now();
            std::lock_guard<std::mutex> lock(mutex);
            lines.push_back({std::move(text), came});
            arrived.notify_one();
        }
        std::lock_guard<std::mutex> lock(mutex);
        ended = true;
        arrived.notify_one();
    });
    // When steps held the screen, oldest first.
    std::deque<std::pair<Clock::time_point, Clock::time_point>> holds;
    for (;;) {
        Line line;
        {
            std::unique_lock<std::mutex> lock(mutex);
            arrived.wait(lock, [&] { return ended || !lines.empty(); });
            if (lines.empty()) break;
            line = std::move(lines.front());
            lines.pop_front();
        }
        while (!holds.empty() && holds.front().second < line.came) holds.pop_front();
        std::string answer = "= ok";
        if (!holds.empty() && holds.front().first <= line.came) {
            answer = "= refused the step came while an exchange held the screen";
        } else {
            const Clock::time_point began = Clock::now();
            const std::uint64_t held = window_->holdCount();
            const Script one = parseScript(line.text);
            if (!one.ok()) answer = "= error " + one.error;
            for (const auto& step : one.steps) {
                const std::string failure = runStep(step, out);
                if (!failure.empty()) {
                    answer = "= refused " + failure;
                    break;
                }
            }
            if (window_->holdCount() != held) holds.emplace_back(began, Clock::now());
        }
        // The answer stays on one line whatever the failure quotes.
        for (char& c : answer)
            if (c == '\n' || c == '\r') c = ' ';
        out << answer << std::endl;
    }
    reader.join();
    in.tie(tied);
}

}  // namespace shell
