#include "platform/shell/HeadlessShell.h"

#include "platform/foundation/FileSystem.h"
#include "platform/foundation/RunLoop.h"
#include "platform/render/Renderer.h"
#include "platform/render/UiHooks.h"
#include "platform/ui/Application.h"
#include "platform/ui/Driver.h"

namespace shell {

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
    return r.ok ? "" : "tap \"" + title + "\": " + r.error;
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
        if (!piece.empty() && !window_->insertText(piece)) return "type: no text field has the focus";
        if (nl == std::string::npos) break;
        if (!window_->pressReturn()) return "type: no text field has the focus";
        settle();
        start = nl + 1;
    }
    settle();
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
        if (!failure.empty()) {
            err << "line " << step.line << ": " << failure << "\n";
            return 1;
        }
    }
    return 0;
}

}  // namespace shell
