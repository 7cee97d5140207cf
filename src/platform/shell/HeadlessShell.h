#pragma once
// The program without a window: the same window and view tree in memory, on the main run loop's
// manual clock, worked by the steps of a script (or by tests calling the steps directly). A step
// that cannot be done as a person would do it (a covered or disabled control, no text field with
// the focus), or an expectation that does not hold, fails; a script stops at its first failure and
// shows the view tree as it was then.

#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "platform/shell/Script.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"

namespace shell {

class HeadlessShell {
public:
    // Makes the window (the full screen) and connects the drawing layer to the view layer.
    HeadlessShell();
    ~HeadlessShell();
    HeadlessShell(const HeadlessShell&) = delete;
    HeadlessShell& operator=(const HeadlessShell&) = delete;

    ui::Window& window() { return *window_; }
    const std::shared_ptr<ui::Window>& sharedWindow() const { return window_; }

    // Hands the window to the delegate, makes it key and visible, and runs what launching
    // queued. Answers the delegate's answer.
    bool launch(ui::ApplicationDelegate& delegate);
    // Tells the delegate the program ends (once; also done by the destructor after a launch).
    void terminate();

    // The steps. Each answers the failure, or "" when it succeeded; each then runs what the
    // step queued on the run loop for now.
    std::string tapTitle(const std::string& title);
    std::string tapTag(int tag);
    std::string tapPoint(double x, double y);
    // "\n" presses the return key.
    std::string type(const std::string& text);
    // Needs the manual clock (tests and --headless run on one).
    std::string advance(double seconds);
    std::string backspace(int count = 1);
    std::string pressReturn();
    // Turns a picker to the row with this title.
    std::string pick(const std::string& title);
    // Waits in real time, at most `seconds`, until a worker thread posts work to the main run
    // loop, then runs it and what it queued for now.
    std::string wait(double seconds);
    // A drag or swipe step: the finger from the step's target, by its distance, over its time.
    std::string drag(const ScriptStep& step);
    // An expect step.
    std::string expect(const ScriptStep& step);
    std::string dump(std::ostream& out) const;
    std::string dumpToFile(const std::string& path) const;
    std::string screenshot(const std::string& path) const;

    std::string runStep(const ScriptStep& step, std::ostream& out);
    // Runs every step; at the first failure writes "line N: failure" and the view tree to `err`
    // and answers 1, else 0.
    int runScript(const Script& script, std::ostream& out, std::ostream& err);
    // Runs steps as they come, one line at a time, until the input ends: a program that chooses
    // each step from what the last dump showed (the explorer in the tests). What a step prints
    // comes first, then one line answers it: "= ok", "= refused WHY" (the run goes on) or
    // "= error WHY" (a line that is no step). A line that came while a step held the screen in
    // an exchange (ui::Window::holdCount) is not run: "= refused" says so.
    void runSteps(std::istream& in, std::ostream& out);

private:
    void settle();

    std::shared_ptr<ui::Window> window_;
    ui::ApplicationDelegate* delegate_ = nullptr;
};

}  // namespace shell
