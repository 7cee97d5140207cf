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
                    case '"': case '\\': d = e; break;
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

// Reads one line's step; answers the failure, or nothing.
std::optional<std::string> parseStep(const std::vector<Token>& t, ScriptStep& step) {
    using Kind = ScriptStep::Kind;
    const std::string& verb = t[0].text;
    const std::size_t n = t.size();
    if (t[0].quoted) return "a step starts with its name";
    if (verb == "tap") {
        if (n == 2) {
            step.kind = Kind::TapTitle;
            step.text = t[1].text;
            return std::nullopt;
        }
        if (n == 3 && t[1].text == "tag" && !t[1].quoted) {
            auto tag = integer(t[2]);
            if (!tag) return "tap tag needs a whole number";
            step.kind = Kind::TapTag;
            step.tag = *tag;
            return std::nullopt;
        }
        if (n == 3) {
            auto x = number(t[1]), y = number(t[2]);
            if (!x || !y) return "tap needs a title, \"tag N\" or a point X Y";
            step.kind = Kind::TapPoint;
            step.x = *x;
            step.y = *y;
            return std::nullopt;
        }
        return "tap needs a title, \"tag N\" or a point X Y";
    }
    if (verb == "type") {
        if (n != 2) return "type needs one text";
        step.kind = Kind::Type;
        step.text = t[1].text;
        return std::nullopt;
    }
    if (verb == "advance") {
        auto s = n == 2 ? number(t[1]) : std::nullopt;
        if (!s || *s < 0 || *s > kMaxAdvanceSeconds) return "advance needs seconds from 0 to 3600";
        step.kind = Kind::Advance;
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
