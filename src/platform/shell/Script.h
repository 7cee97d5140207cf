#pragma once
// The headless driver's script: one step per line, read from a file a tester wrote. The steps
// are listed in README.md beside this file.
//
// Quoted texts take the escapes \" \\ \n \t \r and \xHH (any byte); a word without spaces needs
// no quotes. A title that is itself a step word ("tag", "no", "by", "over") or a number is written
// in quotes.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace shell {

struct ScriptStep {
    enum class Kind {
        TapTitle, TapTag, TapPoint, Type, Advance, Dump, Screenshot,
        Drag, Swipe, Backspace, Return, Pick, Wait, Expect,
    };
    // What a drag, swipe or expect aims at: a view by its title or tag, or a point of the screen.
    enum class Target { Title, Tag, Point };
    Kind kind = Kind::Dump;
    int line = 0;          // in the script file, for messages
    Target target = Target::Title;
    std::string text;      // title, typed text, picker row, or file (empty: dump to standard output)
    int tag = 0;
    double x = 0, y = 0;
    double dx = 0, dy = 0; // how far a drag or swipe moves the finger
    double seconds = 0;    // advance; how long a drag takes; how long a wait may last
    int count = 1;         // backspace presses
    bool absent = false;   // "expect no": the view must not be on screen
    bool mayFail = false;  // "try STEP": a refusal is noted and the script goes on
    std::optional<std::string> shows;  // "expect tag N TEXT": the text the view must show
};

struct Script {
    std::vector<ScriptStep> steps;
    std::string error;     // "line N: why" when the script could not be read; then no steps
    bool ok() const { return error.empty(); }
};

// A step moves the clock by at most an hour: a repeating timer must not turn a typing slip
// into a run that never ends.
constexpr double kMaxAdvanceSeconds = 3600;
// A drag takes this long on the clock unless the step says otherwise; a swipe is quicker.
constexpr double kDragSeconds = 0.5;
constexpr double kSwipeSeconds = 0.1;
// A drag lasts at most a minute of the clock; a finger moves at most this far.
constexpr double kMaxDragSeconds = 60;
constexpr double kMaxDragDistance = 10000;
// A wait for worker threads lasts this long in real time unless the step says otherwise, and
// never longer than the maximum: a worker that never answers must not hang the run.
constexpr double kWaitSeconds = 5;
constexpr double kMaxWaitSeconds = 60;
constexpr int kMaxBackspaces = 1000;
constexpr std::size_t kMaxScriptBytes = 1024 * 1024;

Script parseScript(std::string_view source);
Script loadScript(const std::string& path);

}  // namespace shell
