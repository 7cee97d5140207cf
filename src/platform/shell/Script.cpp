#include "platform/shell/Script.h"

#include <cerrno>
#include <cmath>
#include <climits>
#include <cstdlib>

#include "platform/foundation/FileSystem.h"

namespace shell {

namespace {

struct Token {
    std::string text;
    bool quoted = false;
};

// Splits a line into words and quoted texts; answers the failure, or nothing.
std::optional<std::string> tokenize(std::string_view line, std::vector<Token>& out) {
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') { ++i; continue; }
        if (c == '#') break;
        Token t;
        if (c == '"') {
            t.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char d = line[i++];
                if (d == '"') { closed = true; break; }
                if (d == '\\') {
                    if (i >= line.size()) break;
                    const char e = line[i++];
                    switch (e) {
                    case 'n': d = '\n'; break;
                    case 't': d = '\t'; break;
                    case 'r': d = '\r'; break;
                    case '"': case '\\': d = e; break;
                    case 'x': {
                        // Any byte by two hex digits, as the dump prints a control character.
                        const auto hex = [](char h) {
                            return h >= '0' && h <= '9' ? h - '0' : h >= 'a' && h <= 'f' ? h - 'a' + 10
                                 : h >= 'A' && h <= 'F' ? h - 'A' + 10 : -1;
                        };
                        const int hi = i < line.size() ? hex(line[i]) : -1;
                        const int lo = i + 1 < line.size() ? hex(line[i + 1]) : -1;
                        if (hi < 0 || lo < 0) return std::string("\\x needs two hex digits");
                        d = static_cast<char>(hi * 16 + lo);
                        i += 2;
                        break;
                    }
                    default: return std::string("unknown escape \\") + e;
                    }
                }
                t.text += d;
            }
            if (!closed) return std::string("unterminated quote");
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') t.text += line[i++];
        }
        out.push_back(std::move(t));
    }
    return std::nullopt;
}

std::optional<double> number(const Token& t) {
    if (t.quoted || t.text.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(t.text.c_str(), &end);
    if (errno != 0 || end != t.text.c_str() + t.text.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<int> integer(const Token& t) {
    if (t.quoted || t.text.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(t.text.c_str(), &end, 10);
    if (errno != 0 || end != t.text.c_str() + t.text.size() || v < INT_MIN || v > INT_MAX) return std::nullopt;
    return static_cast<int>(v);
}

bool isWord(const Token& t, const char* word) { return !t.quoted && t.text == word; }

// Reads what a step aims at from t[i] on: "tag N", a point "X Y" (where allowed) or a title;
// moves i past it. Answers the failure, or nothing.
std::optional<std::string> parseTarget(const std::vector<Token>& t, std::size_t& i, bool allowPoint, ScriptStep& step) {
    using Target = ScriptStep::Target;
    if (i >= t.size()) return std::string("needs a title or \"tag N\"") + (allowPoint ? " or a point X Y" : "");
    if (isWord(t[i], "tag")) {
        auto tag = i + 1 < t.size() ? integer(t[i + 1]) : std::nullopt;
        if (!tag) return std::string("tag needs a whole number");
        step.target = Target::Tag;
        step.tag = *tag;
        i += 2;
        return std::nullopt;
    }
    if (allowPoint && i + 1 < t.size()) {
        auto x = number(t[i]), y = number(t[i + 1]);
        if (x && y) {
            step.target = Target::Point;
            step.x = *x;
            step.y = *y;
            i += 2;
            return std::nullopt;
        }
    }
    step.target = Target::Title;
    step.text = t[i].text;
    ++i;
    return std::nullopt;
}

// Reads an optional "over SECONDS" at t[i], the last words of a drag or swipe.
std::optional<std::string> parseOver(const std::vector<Token>& t, std::size_t i, ScriptStep& step) {
    if (i == t.size()) return std::nullopt;
    auto s = i + 2 == t.size() && isWord(t[i], "over") ? number(t[i + 1]) : std::nullopt;
    if (!s || *s < 0 || *s > kMaxDragSeconds) return std::string("ends with \"over SECONDS\" (0 to 60) or nothing");
    step.seconds = *s;
    return std::nullopt;
}

bool distanceOk(double d) { return std::fabs(d) <= kMaxDragDistance; }

std::optional<std::string> parseDrag(const std::vector<Token>& t, ScriptStep& step) {
    std::size_t i = 1;
    step.kind = ScriptStep::Kind::Drag;
    step.seconds = kDragSeconds;
    if (auto f = parseTarget(t, i, true, step)) return "drag " + *f;
    auto dx = i + 2 < t.size() && isWord(t[i], "by") ? number(t[i + 1]) : std::nullopt;
    auto dy = dx ? number(t[i + 2]) : std::nullopt;
    if (!dx || !dy || !distanceOk(*dx) || !distanceOk(*dy)) return std::string("drag needs \"by DX DY\" after where it starts");
    step.dx = *dx;
    step.dy = *dy;
    if (auto f = parseOver(t, i + 3, step)) return "drag " + *f;
    return std::nullopt;
}

std::optional<std::string> parseSwipe(const std::vector<Token>& t, ScriptStep& step) {
    std::size_t i = 1;
    step.kind = ScriptStep::Kind::Swipe;
    step.seconds = kSwipeSeconds;
    if (auto f = parseTarget(t, i, true, step)) return "swipe " + *f;
    static const struct { const char* word; double x, y; } kDirections[] = {
        {"left", -1, 0}, {"right", 1, 0}, {"up", 0, -1}, {"down", 0, 1},
    };
    const Token* way = i < t.size() ? &t[i] : nullptr;
    auto distance = i + 1 < t.size() ? number(t[i + 1]) : std::nullopt;
    bool found = false;
    for (const auto& d : kDirections)
        if (way && distance && isWord(*way, d.word)) {
            step.dx = d.x * *distance;
            step.dy = d.y * *distance;
            found = true;
        }
    if (!found || *distance <= 0 || !distanceOk(*distance))
        return std::string("swipe needs left, right, up or down and a distance after where it starts");
    if (auto f = parseOver(t, i + 2, step)) return "swipe " + *f;
    return std::nullopt;
}

std::optional<std::string> parseExpect(const std::vector<Token>& t, ScriptStep& step) {
    std::size_t i = 1;
    step.kind = ScriptStep::Kind::Expect;
    if (i < t.size() && isWord(t[i], "no")) {
        step.absent = true;
        ++i;
    }
    if (auto f = parseTarget(t, i, false, step)) return "expect " + *f;
    if (i + 1 == t.size() && step.target == ScriptStep::Target::Tag && !step.absent) {
        step.shows = t[i].text;
        return std::nullopt;
    }
    if (i != t.size()) return std::string("expect takes [no] a title or \"tag N\", or \"tag N\" and the text it shows");
    return std::nullopt;
}

// Reads one line's step; answers the failure, or nothing.
std::optional<std::string> parseStep(const std::vector<Token>& t, ScriptStep& step) {
    using Kind = ScriptStep::Kind;
    const std::string& verb = t[0].text;
    const std::size_t n = t.size();
    if (t[0].quoted) return "a step starts with its name";
    if (verb == "try") {
        // "try STEP": the step may be refused; the script notes why and goes on.
        if (n < 2 || isWord(t[1], "try")) return "try needs a step after it";
        const std::vector<Token> rest(t.begin() + 1, t.end());
        auto failure = parseStep(rest, step);
        if (failure) return failure;
        if (step.kind == Kind::Expect) return "try takes no expect: an expectation that may fail checks nothing";
        step.mayFail = true;
        return std::nullopt;
    }
    if (verb == "tap") {
        std::size_t i = 1;
        if (auto f = parseTarget(t, i, true, step)) return "tap " + *f;
        if (i != n) return "tap needs a title, \"tag N\" or a point X Y";
        using Target = ScriptStep::Target;
        step.kind = step.target == Target::Tag ? Kind::TapTag : step.target == Target::Point ? Kind::TapPoint : Kind::TapTitle;
        return std::nullopt;
    }
    // A step of one text: what to type, or the title of a picker row.
    auto textStep = [&](Kind kind, const char* failure) -> std::optional<std::string> {
        if (n != 2) return failure;
        step.kind = kind;
        step.text = t[1].text;
        return std::nullopt;
    };
    if (verb == "type") return textStep(Kind::Type, "type needs one text");
    if (verb == "pick") return textStep(Kind::Pick, "pick needs the title of a row");
    if (verb == "advance") {
        auto s = n == 2 ? number(t[1]) : std::nullopt;
        if (!s || *s < 0 || *s > kMaxAdvanceSeconds) return "advance needs seconds from 0 to 3600";
        step.kind = Kind::Advance;
        step.seconds = *s;
        return std::nullopt;
    }
    if (verb == "drag") return parseDrag(t, step);
    if (verb == "swipe") return parseSwipe(t, step);
    if (verb == "expect") return parseExpect(t, step);
    if (verb == "backspace") {
        auto count = n == 2 ? integer(t[1]) : std::optional<int>(1);
        if (n > 2 || !count || *count < 1 || *count > kMaxBackspaces) return "backspace takes a count from 1 to 1000, or nothing";
        step.kind = Kind::Backspace;
        step.count = *count;
        return std::nullopt;
    }
    if (verb == "return") {
        if (n != 1) return "return takes nothing";
        step.kind = Kind::Return;
        return std::nullopt;
    }
    if (verb == "wait") {
        auto s = n == 2 ? number(t[1]) : std::optional<double>(kWaitSeconds);
        if (n > 2 || !s || *s <= 0 || *s > kMaxWaitSeconds) return "wait takes seconds above 0 and at most 60, or nothing";
        step.kind = Kind::Wait;
        step.seconds = *s;
        return std::nullopt;
    }
    if (verb == "dump") {
        if (n > 2) return "dump takes at most a file";
        step.kind = Kind::Dump;
        if (n == 2) step.text = t[1].text;
        return std::nullopt;
    }
    if (verb == "screenshot") {
        if (n != 2 || t[1].text.empty()) return "screenshot needs a file";
        step.kind = Kind::Screenshot;
        step.text = t[1].text;
        return std::nullopt;
    }
    return "unknown step \"" + verb + "\"";
}

}  // namespace

Script parseScript(std::string_view source) {
    Script script;
    int lineNo = 0;
    std::size_t start = 0;
    while (start <= source.size()) {
        std::size_t end = source.find('\n', start);
        if (end == std::string_view::npos) end = source.size();
        const std::string_view line = source.substr(start, end - start);
        ++lineNo;
        std::vector<Token> tokens;
        auto failure = tokenize(line, tokens);
        ScriptStep step;
        step.line = lineNo;
        if (!failure && !tokens.empty()) failure = parseStep(tokens, step);
        if (failure) {
            script.steps.clear();
            script.error = "line " + std::to_string(lineNo) + ": " + *failure;
            return script;
        }
        if (!tokens.empty()) script.steps.push_back(std::move(step));
        if (end == source.size()) break;
        start = end + 1;
    }
    return script;
}

Script loadScript(const std::string& path) {
    auto bytes = platform::fs::readAll(path, kMaxScriptBytes);
    if (!bytes) {
        Script s;
        s.error = "cannot read the script " + path;
        return s;
    }
    return parseScript(*bytes);
}

}  // namespace shell
