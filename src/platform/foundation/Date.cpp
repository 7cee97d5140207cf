#include "platform/foundation/Date.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <ctime>

namespace platform {

namespace {

std::atomic<double> gFixedDate{-1.0};

std::string padded(long long value, std::size_t digits) {
    std::string s = std::to_string(value < 0 ? -value : value);
    if (s.size() < digits) s.insert(0, digits - s.size(), '0');
    return value < 0 ? "-" + s : s;
}

bool isPatternLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

double currentDate() {
    double fixed = gFixedDate.load();
    if (fixed >= 0) return fixed;
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

void setCurrentDateForTesting(double secondsSince1970) {
    gFixedDate.store(std::isnan(secondsSince1970) ? -1.0 : secondsSince1970);
}

std::string formatDate(double secondsSince1970, std::string_view pattern, bool utc) {
    double t = std::isfinite(secondsSince1970) ? secondsSince1970 : 0.0;
    // Far beyond any real date; keeps the conversion to time_t defined.
    t = std::fmax(-1e14, std::fmin(1e14, t));
    // Whole milliseconds first: 1234567890.123 is stored as ...122999 and must still show 123.
    long long ms = std::llround(t * 1000.0);
    long long secs = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
    int millis = static_cast<int>(ms - secs * 1000);
    std::time_t tt = static_cast<std::time_t>(secs);
    std::tm tm{};
    if (!(utc ? ::gmtime_r(&tt, &tm) : ::localtime_r(&tt, &tm))) return std::string();

    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        char c = pattern[i];
        if (c == '\'') {
            if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                out += '\'';
                i += 2;
                continue;
            }
            // Quoted literal text; '' inside it is one quote.
            for (++i; i < pattern.size(); ++i) {
                if (pattern[i] != '\'') {
                    out += pattern[i];
                } else if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                    out += '\'';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
            continue;
        }
        if (!isPatternLetter(c)) {
            out += c;
            ++i;
            continue;
        }
        std::size_t n = 1;
        while (i + n < pattern.size() && pattern[i + n] == c) ++n;
        switch (c) {
        case 'y':
        case 'Y':  // week-based year in the pattern language; the calendar year is what is meant
            out += n == 2 ? padded((tm.tm_year + 1900) % 100, 2) : padded(tm.tm_year + 1900, n);
            break;
        case 'M': out += padded(tm.tm_mon + 1, n); break;
        case 'd': out += padded(tm.tm_mday, n); break;
        case 'H': out += padded(tm.tm_hour, n); break;
        case 'h': out += padded(tm.tm_hour % 12 == 0 ? 12 : tm.tm_hour % 12, n); break;
        case 'm': out += padded(tm.tm_min, n); break;
        case 's': out += padded(tm.tm_sec, n); break;
        case 'S': {
            std::string digits = padded(millis, 3);
            digits.resize(n, '0');
            out += digits;
            break;
        }
        case 'a': out += tm.tm_hour < 12 ? "AM" : "PM"; break;
        default: out.append(pattern.substr(i, n)); break;
        }
        i += n;
    }
    return out;
}

}  // namespace platform
