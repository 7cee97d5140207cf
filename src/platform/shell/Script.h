#pragma once
// The headless driver's script: one step per line, read from a file a tester wrote.
//
//   # a comment; blank lines are ignored
//   tap "确定"          tap the control whose title or text this is
//   tap tag 12         tap the view with this tag
//   tap 120 340        tap this point of the screen
//   type "1234"        type into the first responder ("\n" is the return key)
//   advance 0.5        move the clock on, firing every timer and animation end on the way
//   dump               print the view tree; "dump FILE" writes it to a file
//   screenshot FILE    draw the screen and save it as PNG
//
// Quoted texts take the escapes \" \\ \n and \t; a word without spaces needs no quotes.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace shell {

struct ScriptStep {
    enum class Kind { TapTitle, TapTag, TapPoint, Type, Advance, Dump, Screenshot };
    Kind kind = Kind::Dump;
    int line = 0;          // in the script file, for messages
    std::string text;      // title, typed text, or file (empty: dump to standard output)
    int tag = 0;
    double x = 0, y = 0;
    double seconds = 0;
};

struct Script {
    std::vector<ScriptStep> steps;
    std::string error;     // "line N: why" when the script could not be read; then no steps
    bool ok() const { return error.empty(); }
};

// A step moves the clock by at most an hour: a repeating timer must not turn a typing slip
// into a run that never ends.
constexpr double kMaxAdvanceSeconds = 3600;
constexpr std::size_t kMaxScriptBytes = 1024 * 1024;

Script parseScript(std::string_view source);
Script loadScript(const std::string& path);

}  // namespace shell
