#pragma once
// Wall-clock dates and a date formatter with the usual pattern letters
// (yyyy YYYY MM dd HH mm ss SSS, and literal text in single quotes).

#include <string>
#include <string_view>

namespace platform {

// Seconds since 1970-01-01 UTC.
double currentDate();
// Replaces the wall clock, for tests (a negative value restores the real clock).
void setCurrentDateForTesting(double secondsSince1970);

// Formats in the machine's local time zone, or in UTC when `utc` is set.
std::string formatDate(double secondsSince1970, std::string_view pattern, bool utc = false);

}  // namespace platform
