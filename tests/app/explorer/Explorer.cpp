// kovra-explorer: works the headless terminal at random, as a careless person would, looking for
// what no person may ever cause: a crash, a sanitizer report, a hang. Each run starts the terminal
// (`--headless --script -`) on a fresh device, with the demo data taken or declined, against a
// back-office and a web-service simulator of its own on free loopback ports, and feeds it one step
// at a time, each chosen from the view tree the last dump showed. A step the driver refuses is no
// finding; the run goes on.
//
//   kovra-explorer --kovra PATH [--seed N] [--seconds S] [--steps N] [--findings DIR]
//   kovra-explorer --kovra PATH --replay FILE...
//
// Without --seed a fresh seed is drawn and printed. Run r of seed s explores with its own random
// stream, so a finding is reproduced from its script, or from (s, r). A finding is written to
// DIR (default: the current folder) as the script of every step the run took ("try" before each,
// so that a replay goes on past a refusal as the run did), shortened by dropping steps while it
// still fails the same way. --replay runs scripts so kept, each against fresh simulators, and
// fails when any of them still crashes, reports or hangs.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "backoffice/BackOfficeSim.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Text.h"
#include "websim/WebSim.h"

namespace {

using Clock = std::chrono::steady_clock;

// The limits below are counted in the terminal's own time (OwnTime): what a busy machine makes it
// wait for a processor does not count, so only a hang reaches them, never a slow run.
// A step that takes longer than this is a hang. Blocking exchanges with a server wait at most
// their time-out (20 s by default), so a step may take that long and a little more under the
// sanitizers.
constexpr double kStepSeconds = 60;
// The terminal must be gone this long after its input ends.
constexpr double kExitSeconds = 30;
// A kept script runs whole, then ends, within this time.
constexpr double kReplaySeconds = 240;
// The device stands in the web-service simulator's city.
const char* const kPosition[] = {"--position", "31.2304,121.4737", "--place", "上海市"};

// ---- the terminal as a child process ------------------------------------------------------------

// The time a process has had since a start: real time less what its main thread (which runs
// everything the terminal does) spent ready to run but waiting for a processor, as Linux counts
// it in /proc/PID/schedstat. On a busy machine a step takes longer in real time, but not in this;
// a deadlock, a wait that never ends or a loop that never returns takes long in both. Where the
// kernel keeps no such count, this is the real time.
class OwnTime {
public:
    explicit OwnTime(pid_t pid) : path_("/proc/" + std::to_string(pid) + "/schedstat") {
        start_ = Clock::now();
        waitedAtStart_ = waited();
    }
    double seconds() {
        const double real = std::chrono::duration<double>(Clock::now() - start_).count();
        return real - (waited() - waitedAtStart_);
    }

private:
    // Seconds spent waiting for a processor so far; the last count read once the process is gone.
    double waited() {
        std::ifstream in(path_);
        unsigned long long running = 0, waiting = 0;
        if (in >> running >> waiting) last_ = static_cast<double>(waiting) / 1e9;
        return last_;
    }
    std::string path_;
    Clock::time_point start_;
    double waitedAtStart_ = 0;
    double last_ = 0;
};

struct Outcome {
    bool finding = false;
    std::string kind;    // "signal 11", "exit 1", "sanitizer", "hang"
    std::string detail;  // the first lines of the report
};

// The lines of standard error that say what went wrong, at most a few.
std::string reportOf(const std::string& err) {
    static const char* const kMarks[] = {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                                         "ERROR: ThreadSanitizer", "WARNING: ThreadSanitizer", "SUMMARY: "};
    std::string out;
    std::istringstream lines(err);
    std::string line;
    int kept = 0;
    while (std::getline(lines, line) && kept < 6) {
        for (const char* mark : kMarks)
            if (line.find(mark) != std::string::npos) {
                out += line + "\n";
                ++kept;
                break;
            }
    }
    return out;
}

class Terminal {
public:
    Terminal(const std::string& kovra, const std::string& folder, int serverPort, const std::string& webService,
             const std::string& script) {
        errPath_ = folder + "/stderr.txt";
        // Everything the child needs is made before the fork: the simulators' threads run in
        // this process, and a child of a threaded process may only exec.
        const std::string data = folder + "/terminal", port = std::to_string(serverPort), home = "HOME=" + folder;
        std::vector<const char*> argv = {kovra.c_str(), "--data-dir", data.c_str()};
        for (const char* a : kPosition) argv.push_back(a);
        for (const char* a : {"--server-port", port.c_str(), "--web-service", webService.c_str(), "--headless",
                              "--script", script.c_str()})
            argv.push_back(a);
        argv.push_back(nullptr);
        std::vector<const char*> env = {home.c_str()};
        for (char** e = environ; *e; ++e)
            if (std::strncmp(*e, "HOME=", 5) != 0) env.push_back(*e);
        env.push_back(nullptr);
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(in[0], 0);
            ::dup2(out[1], 1);
            const int err = ::open(errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (err >= 0) ::dup2(err, 2);
            ::execve(kovra.c_str(), const_cast<char* const*>(argv.data()), const_cast<char* const*>(env.data()));
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        toChild_ = in[1];
        fromChild_ = out[0];
    }
    ~Terminal() {
        closeInput();
        if (fromChild_ >= 0) ::close(fromChild_);
        if (pid_ > 0 && !reaped_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    bool started() const { return pid_ > 0 && toChild_ >= 0; }

    // Sends one line and reads what the terminal prints up to its answer ("= ..."). None when the
    // terminal ended or did not answer in time (`hung` then says which).
    std::optional<std::string> exchange(const std::string& line, std::string& printed, bool& hung) {
        hung = false;
        printed.clear();
        const std::string bytes = line + "\n";
        for (std::size_t sent = 0; sent < bytes.size();) {
            const ssize_t n = ::write(toChild_, bytes.data() + sent, bytes.size() - sent);
            if (n <= 0) return std::nullopt;
            sent += static_cast<std::size_t>(n);
        }
        OwnTime took(pid_);
        for (;;) {
            const auto nl = buffer_.find('\n');
            if (nl != std::string::npos) {
                std::string got = buffer_.substr(0, nl);
                buffer_.erase(0, nl + 1);
                if (got.rfind("= ", 0) == 0) return got.substr(2);
                printed += got + "\n";
                continue;
            }
            // The answer may be waiting already when this process was the one kept waiting.
            const double left = kStepSeconds - took.seconds();
            pollfd p{fromChild_, POLLIN, 0};
            const int ready = ::poll(&p, 1, left > 0 ? static_cast<int>(left * 1000) + 1 : 0);
            if (ready <= 0 && left <= 0) {
                hung = true;
                return std::nullopt;
            }
            if (ready <= 0) continue;
            char chunk[65536];
            const ssize_t n = ::read(fromChild_, chunk, sizeof chunk);
            if (n <= 0) return std::nullopt;
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
    }

    void closeInput() {
        if (toChild_ >= 0) ::close(toChild_);
        toChild_ = -1;
    }

    // Waits at most `seconds` for the end (killing a terminal that does not end in time) and
    // judges it.
    Outcome finish(double seconds) {
        const bool hungAlready = seconds <= 0;
        closeInput();
        Outcome o;
        int status = 0;
        bool ended = false;
        OwnTime took(pid_);
        while (!ended) {
            const pid_t r = ::waitpid(pid_, &status, WNOHANG);
            if (r == pid_) ended = true;
            else if (took.seconds() >= seconds) break;
            else {
                // Keep its output flowing so that it never blocks on a full pipe.
                char chunk[65536];
                pollfd p{fromChild_, POLLIN, 0};
                if (::poll(&p, 1, 50) > 0 && ::read(fromChild_, chunk, sizeof chunk) <= 0) ::usleep(20000);
            }
        }
        if (!ended) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            reaped_ = true;
            o.finding = true;
            o.kind = "hang";
            o.detail = hungAlready ? "a step got no answer within the step's time" : "the terminal did not end after its input";
            return o;
        }
        reaped_ = true;
        const std::string err = platform::fs::readAll(errPath_, 64u << 20).value_or("");
        o.detail = reportOf(err);
        if (WIFSIGNALED(status)) {
            o.finding = true;
            o.kind = "signal " + std::to_string(WTERMSIG(status));
        } else if (WEXITSTATUS(status) != 0) {
            o.finding = true;
            o.kind = "exit " + std::to_string(WEXITSTATUS(status));
        }
        if (!o.detail.empty()) {
            o.finding = true;
            if (o.kind.empty()) o.kind = "sanitizer";
        }
        if (o.finding && o.detail.empty()) {
            // The last lines say what happened where no sanitizer did.
            const std::size_t from = err.size() > 600 ? err.size() - 600 : 0;
            o.detail = err.substr(from);
        }
        return o;
    }

private:
    pid_t pid_ = -1;
    bool reaped_ = false;
    int toChild_ = -1;
    int fromChild_ = -1;
    std::string buffer_;
    std::string errPath_;
};

// A fresh device with both simulators on ports of their own, in a folder removed afterwards.
class World {
public:
    World() {
        char tmpl[] = "/tmp/kovra-explorer-XXXXXX";
        if (::mkdtemp(tmpl)) folder_ = tmpl;
        office_.setLogging(false);
        web_.setLogging(false);
        ok_ = !folder_.empty() && office_.start(0) && web_.start(0) > 0;
    }
    ~World() {
        office_.stop();
        web_.stop();
        if (!folder_.empty()) platform::fs::remove(folder_);
    }
    bool ok() const { return ok_; }
    const std::string& folder() const { return folder_; }
    int serverPort() const { return office_.port(); }
    std::string webService() const { return web_.baseURL(); }

private:
    std::string folder_;
    backoffice::BackOfficeSim office_;
    websim::WebSim web_;
    bool ok_ = false;
};

// Runs a script file (not step by step) against fresh simulators and judges the end.
Outcome replay(const std::string& kovra, const std::string& script) {
    World world;
    if (!world.ok()) return {true, "setup", "cannot start the simulators"};
    Terminal t(kovra, world.folder(), world.serverPort(), world.webService(), script);
    if (!t.started()) return {true, "setup", "cannot start the terminal"};
    // A script run ends by itself: its steps and the exit together get the time of many steps.
    return t.finish(kReplaySeconds);
}

// ---- the view tree as the dump shows it ---------------------------------------------------------

struct Seen {
    std::string cls;
    double x = 0, y = 0, w = 0, h = 0;  // in the window
    int tag = 0;
    std::optional<std::string> title;
    bool visible = true;
    bool focus = false;
    bool row = false;  // a picker row: "pick" reaches it
};

// Reads a quoted text of the dump at s[i] (the opening quote), undoing its escapes.
std::string unquote(const std::string& s, std::size_t& i) {
    std::string out;
    ++i;
    while (i < s.size() && s[i] != '"') {
        char c = s[i++];
        if (c == '\\' && i < s.size()) {
            const char e = s[i++];
            if (e == 'n') c = '\n';
            else if (e == 't') c = '\t';
            else if (e == 'r') c = '\r';
            else if (e == 'x' && i + 1 < s.size()) {
                c = static_cast<char>(std::strtol(s.substr(i, 2).c_str(), nullptr, 16));
                i += 2;
            } else c = e;
        }
        out += c;
    }
    ++i;
    return out;
}

std::vector<Seen> parseDump(const std::string& dump) {
    std::vector<Seen> out;
    struct Level { double x, y; bool visible; };
    std::vector<Level> stack;
    std::istringstream lines(dump);
    std::string line;
    while (std::getline(lines, line)) {
        std::size_t depth = 0;
        while (depth < line.size() && line[depth] == ' ') ++depth;
        depth /= 2;
        Seen v;
        std::size_t i = line.find_first_not_of(' ');
        if (i == std::string::npos) continue;
        const std::size_t sp = line.find(' ', i);
        v.cls = line.substr(i, sp == std::string::npos ? std::string::npos : sp - i);
        stack.resize(std::min(stack.size(), depth));
        const Level parent = stack.empty() ? Level{0, 0, true} : stack.back();
        if (v.cls == "Row") {
            v.row = true;
            v.visible = parent.visible;
            if (auto t = line.find("title=\""); t != std::string::npos) {
                std::size_t at = t + 6;
                v.title = unquote(line, at);
                out.push_back(v);
            }
            continue;
        }
        if (auto f = line.find(" frame=("); f != std::string::npos)
            std::sscanf(line.c_str() + f, " frame=(%lf,%lf,%lf,%lf)", &v.x, &v.y, &v.w, &v.h);
        v.x += parent.x;
        v.y += parent.y;
        std::size_t rest = line.find(')', i);
        rest = rest == std::string::npos ? line.size() : rest + 1;
        if (line.compare(rest, 5, " tag=") == 0) {
            v.tag = std::atoi(line.c_str() + rest + 5);
            rest = line.find(' ', rest + 1);
            if (rest == std::string::npos) rest = line.size();
        }
        if (line.compare(rest, 8, " title=\"") == 0) {
            std::size_t at = rest + 7;
            v.title = unquote(line, at);
            rest = at;
        }
        const std::string flags = line.substr(std::min(rest, line.size()));
        const bool hidden = flags.find(" [hidden]") != std::string::npos;
        double alpha = 1;
        if (auto a = flags.find(" alpha="); a != std::string::npos) alpha = std::atof(flags.c_str() + a + 7);
        v.visible = parent.visible && !hidden && alpha >= 0.01;
        v.focus = flags.find(" [focus]") != std::string::npos;
        stack.push_back({v.x, v.y, v.visible});
        out.push_back(v);
    }
    return out;
}

// ---- the random person --------------------------------------------------------------------------

// A text as a script quotes it.
std::string quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') { out += '\\'; out += c; }
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else if (c == '\r') out += "\\r";
        else if (u < 0x20 || u == 0x7f) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02x", u);
            out += code;
        } else out += c;
    }
    return out + "\"";
}

std::string utf8(char32_t c) {
    std::string s;
    platform::appendUtf8(s, c);
    return s;
}

class Person {
public:
    explicit Person(std::uint64_t seed) : rng_(seed) {}

    int below(int n) { return n <= 1 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    double between(double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng_); }
    bool chance(double p) { return between(0, 1) < p; }

    // What a careless person types: digits, words, CJK, emoji, control characters, texts that
    // look like formats or markup, and now and then a very long text.
    std::string text() {
        static const char* const kPieces[] = {
            "1", "12", "0", "-3", "99999999999", "3.5", ".", "1e308", "abc", "Table 7", " ", "  ",
            "红烧肉", "大厅", "一二三四五六七八九十", "𠀀𪚥", "😀", "👩‍👩‍👧‍👦", "🇨🇳", "é", "e\xcc\x81", "\xe2\x80\x8f",
            "%@", "%s%s%n", "%d", "{}", "<a>", "&amp;", "]]>", "\"", "'", "\\", "/", "../", "\r\n", "\t",
            "\x01", "\x1b", "\x7f", "\x08", "\n",
        };
        std::string out;
        if (chance(0.05)) {
            // A very long text, of one piece or of many.
            const int n = 500 + below(4000);
            const std::string piece = kPieces[below(std::size(kPieces))];
            for (int i = 0; i < n; ++i) out += chance(0.7) ? piece : kPieces[below(std::size(kPieces))];
            return out;
        }
        const int n = 1 + below(6);
        for (int i = 0; i < n; ++i) {
            if (chance(0.2)) out += utf8(static_cast<char32_t>(0x4E00 + below(0x9FFF - 0x4E00)));
            else if (chance(0.1)) out += utf8(static_cast<char32_t>(0x1F300 + below(0x2FF)));
            else out += kPieces[below(std::size(kPieces))];
        }
        return out;
    }

    // The next step, chosen from what the screen shows.
    std::string step(const std::vector<Seen>& seen) {
        std::vector<const Seen*> targets, rows;
        bool focus = false;
        for (const Seen& v : seen) {
            if (!v.visible) continue;
            if (v.focus) focus = true;
            if (v.row) {
                if (v.title && !v.title->empty()) rows.push_back(&v);
            } else if ((v.title && !v.title->empty()) || v.tag != 0) {
                if (v.cls != "Window") targets.push_back(&v);
            }
        }
        auto aim = [&](const Seen& v) {
            if (v.title && !v.title->empty() && (v.tag == 0 || chance(0.7))) return quote(*v.title);
            return "tag " + std::to_string(v.tag);
        };
        auto point = [&] { return std::to_string(below(768)) + " " + std::to_string(below(1024)); };
        const double r = between(0, 100);
        if (r < 42 && !targets.empty()) return "tap " + aim(*targets[below(static_cast<int>(targets.size()))]);
        if (r < 47 && !rows.empty()) return "pick " + quote(*rows[below(static_cast<int>(rows.size()))]->title);
        if (r < 55) return "tap " + point();
        if (r < 60) {
            const std::string from = !targets.empty() && chance(0.5) ? aim(*targets[below(static_cast<int>(targets.size()))]) : point();
            return "drag " + from + " by " + std::to_string(below(801) - 400) + " " + std::to_string(below(1201) - 600) +
                   (chance(0.5) ? " over " + std::to_string(between(0, 2)) : "");
        }
        if (r < 63) {
            static const char* const kWays[] = {"left", "right", "up", "down"};
            return "swipe " + point() + " " + kWays[below(4)] + " " + std::to_string(20 + below(500));
        }
        if (r < (focus ? 78 : 66)) return "type " + quote(text());
        if (r < (focus ? 84 : 68)) return "backspace " + std::to_string(1 + (chance(0.8) ? below(3) : below(200)));
        if (r < (focus ? 88 : 70)) return "return";
        if (r < 96) {
            const double s = chance(0.85) ? between(0.05, 3) : chance(0.7) ? between(3, 60) : between(60, 900);
            return "advance " + std::to_string(s);
        }
        return "wait " + std::to_string(between(0.05, 0.5));
    }

private:
    std::mt19937_64 rng_;
};

// ---- runs, findings and their scripts -----------------------------------------------------------

// Run r of a seed explores with a stream of its own (splitmix64 of both).
std::uint64_t runSeed(std::uint64_t seed, int run) {
    std::uint64_t z = seed + 0x9e3779b97f4a7c15ull * static_cast<std::uint64_t>(run + 1);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

struct RunResult {
    Outcome outcome;
    std::vector<std::string> steps;  // as a script writes them
    int refused = 0;
};

// The start of every run: the demo data offered at the first start is taken, or declined.
std::vector<std::string> prelude(bool demo) {
    if (demo) return {"tap \"是\"", "advance 1"};
    return {"tap \"否\"", "advance 1"};
}

RunResult explore(const std::string& kovra, std::uint64_t seed, bool demo, int steps) {
    RunResult r;
    World world;
    if (!world.ok()) {
        r.outcome = {true, "setup", "cannot start the simulators"};
        return r;
    }
    Terminal t(kovra, world.folder(), world.serverPort(), world.webService(), "-");
    if (!t.started()) {
        r.outcome = {true, "setup", "cannot start the terminal"};
        return r;
    }
    Person person(seed);
    std::string printed;
    bool hung = false;
    auto send = [&](const std::string& step) {
        auto answer = t.exchange(step, printed, hung);
        if (!answer) return false;
        if (answer->rfind("refused", 0) == 0) ++r.refused;
        if (answer->rfind("error", 0) == 0) std::cerr << "explorer: the terminal did not read \"" << step << "\": " << *answer << "\n";
        r.steps.push_back(step);
        return true;
    };
    bool alive = true;
    for (const auto& step : prelude(demo))
        if (alive) alive = send(step);
    for (int i = 0; alive && i < steps; ++i) {
        auto answer = t.exchange("dump", printed, hung);
        if (!answer) {
            alive = false;
            break;
        }
        const std::string step = person.step(parseDump(printed));
        r.steps.push_back(step);  // before it runs: a crash in it keeps it
        auto done = t.exchange(step, printed, hung);
        if (!done) alive = false;
        else if (done->rfind("refused", 0) == 0) ++r.refused;
    }
    r.outcome = t.finish(hung ? 0 : kExitSeconds);
    return r;
}

std::string scriptOf(const std::vector<std::string>& steps) {
    std::string s;
    for (const auto& step : steps) s += "try " + step + "\n";
    return s;
}

// Whether the script, replayed, still fails in the same way.
bool failsAlike(const std::string& kovra, const std::string& path, const std::string& body, const Outcome& first) {
    if (!platform::fs::writeAtomically(path, body)) return false;
    const Outcome o = replay(kovra, path);
    return o.finding && o.kind == first.kind;
}

// Drops steps while the replay still fails alike: halves first, then single steps, within a
// bounded number of replays.
std::vector<std::string> shorten(const std::string& kovra, const std::string& path, std::vector<std::string> steps,
                                 const Outcome& first, int budget) {
    std::size_t chunk = steps.size() / 2;
    while (chunk >= 1 && budget > 0) {
        bool dropped = false;
        for (std::size_t at = 0; at < steps.size() && budget > 0;) {
            std::vector<std::string> fewer(steps.begin(), steps.begin() + static_cast<long>(at));
            fewer.insert(fewer.end(), steps.begin() + static_cast<long>(std::min(steps.size(), at + chunk)), steps.end());
            --budget;
            if (!fewer.empty() && failsAlike(kovra, path, scriptOf(fewer), first)) {
                steps = std::move(fewer);
                dropped = true;
            } else {
                at += chunk;
            }
        }
        if (!dropped) chunk /= 2;
    }
    return steps;
}

int usage() {
    std::cerr << "usage: kovra-explorer --kovra PATH [--seed N] [--seconds S] [--steps N] [--findings DIR]\n"
                 "       kovra-explorer --kovra PATH --replay FILE...\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    ::signal(SIGPIPE, SIG_IGN);
    std::string kovra, findings = ".";
    std::optional<std::uint64_t> seed;
    double seconds = 30;
    int steps = 80;
    int shortenBudget = 40;
    std::vector<std::string> replays;
    bool replaying = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool more = i + 1 < argc;
        if (a == "--kovra" && more) kovra = argv[++i];
        else if (a == "--seed" && more) seed = std::strtoull(argv[++i], nullptr, 10);
        else if (a == "--seconds" && more) seconds = std::atof(argv[++i]);
        else if (a == "--steps" && more) steps = std::atoi(argv[++i]);
        else if (a == "--findings" && more) findings = argv[++i];
        else if (a == "--shorten" && more) shortenBudget = std::atoi(argv[++i]);
        else if (a == "--replay") replaying = true;
        else if (replaying && a.rfind("--", 0) != 0) replays.push_back(a);
        else return usage();
    }
    if (kovra.empty()) return usage();

    if (replaying) {
        int failed = 0;
        for (const auto& script : replays) {
            const Outcome o = replay(kovra, script);
            std::cout << script << ": " << (o.finding ? o.kind : "ok") << "\n" << (o.finding ? o.detail : "");
            if (o.finding) ++failed;
        }
        return failed == 0 ? 0 : 1;
    }

    if (!seed) seed = std::random_device{}() ^ (static_cast<std::uint64_t>(std::random_device{}()) << 32);
    std::cout << "explorer: seed " << *seed << " (rerun with --seed " << *seed << ")" << std::endl;
    platform::fs::createFolder(findings);
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    int runs = 0, total = 0, refused = 0, found = 0;
    for (int run = 0; run == 0 || Clock::now() < end; ++run) {
        const bool demo = run % 2 == 0;
        RunResult r = explore(kovra, runSeed(*seed, run), demo, steps);
        ++runs;
        total += static_cast<int>(r.steps.size());
        refused += r.refused;
        if (!r.outcome.finding) continue;
        ++found;
        const std::string name = "finding-" + std::to_string(*seed) + "-" + std::to_string(run);
        const std::string path = findings + "/" + name + ".txt";
        std::cout << "explorer: run " << run << " (" << (demo ? "demo data" : "empty device") << "): "
                  << r.outcome.kind << "\n" << r.outcome.detail;
        platform::fs::writeAtomically(path, scriptOf(r.steps));
        auto fewer = shorten(kovra, path, r.steps, r.outcome, shortenBudget);
        std::string header = "# " + name + ": " + r.outcome.kind + " (" + std::to_string(fewer.size()) + " of " +
                             std::to_string(r.steps.size()) + " steps)\n";
        std::istringstream detail(r.outcome.detail);
        for (std::string line; std::getline(detail, line);) header += "#   " + line + "\n";
        platform::fs::writeAtomically(path, header + scriptOf(fewer));
        std::cout << "explorer: the steps are in " << path << ":\n" << header << scriptOf(fewer) << std::flush;
    }
    std::cout << "explorer: " << runs << " runs, " << total << " steps (" << refused << " refused), " << found
              << " findings" << std::endl;
    return found == 0 ? 0 : 1;
}
