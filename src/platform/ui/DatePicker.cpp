#include "platform/ui/DatePicker.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace ui {

namespace {
constexpr double kRowHeight = 40;

std::tm local(double t) {
    std::time_t s = static_cast<std::time_t>(std::floor(t));
    std::tm tm{};
    localtime_r(&s, &tm);
    return tm;
}

double fromLocal(std::tm tm, double fraction) {
    tm.tm_isdst = -1;
    return static_cast<double>(std::mktime(&tm)) + fraction;
}

int daysInMonth(int year, int month0) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int y = year + 1900;
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return month0 == 1 && leap ? 29 : days[month0];
}

int mod(int a, int n) { return ((a % n) + n) % n; }
}  // namespace

DatePicker::DatePicker(const Rect& frame) : Control(frame) { setBackgroundColor(Color::whiteColor()); }

void DatePicker::setMode(Mode m) {
    mode_ = m;
    setNeedsDisplay();
}

double DatePicker::clamp(double d) const {
    if (!std::isfinite(d)) return date_;
    if (min_ && d < *min_) d = *min_;
    if (max_ && d > *max_) d = *max_;
    return d;
}

void DatePicker::setDate(double d, bool) {
    date_ = clamp(d);
    setNeedsDisplay();
}

void DatePicker::setMinimumDate(std::optional<double> d) { min_ = d; date_ = clamp(date_); }
void DatePicker::setMaximumDate(std::optional<double> d) { max_ = d; date_ = clamp(date_); }

void DatePicker::setMinuteInterval(int minutes) {
    interval_ = minutes >= 1 && minutes <= 30 && 60 % minutes == 0 ? minutes : 1;
    setNeedsDisplay();
}

std::vector<DatePicker::Column> DatePicker::columns() const {
    switch (mode_) {
        case Mode::Date: return {Column::Year, Column::Month, Column::Day};
        case Mode::Time:
        case Mode::CountDownTimer: return {Column::Hour, Column::Minute};
        case Mode::DateAndTime: return {Column::Year, Column::Month, Column::Day, Column::Hour, Column::Minute};
    }
    return {};
}

double DatePicker::stepped(Column column, int steps) const {
    std::tm tm = local(date_);
    double fraction = date_ - std::floor(date_);
    switch (column) {
        case Column::Year:
        case Column::Month: {
            int months = tm.tm_year * 12 + tm.tm_mon + (column == Column::Year ? steps * 12 : steps);
            tm.tm_year = months / 12 - (months % 12 < 0 ? 1 : 0);
            tm.tm_mon = mod(months, 12);
            // The 31st of a month that has 30 days becomes the 30th, as the wheels do.
            tm.tm_mday = std::min(tm.tm_mday, daysInMonth(tm.tm_year, tm.tm_mon));
            break;
        }
        case Column::Day:
            tm.tm_mday = 1 + mod(tm.tm_mday - 1 + steps, daysInMonth(tm.tm_year, tm.tm_mon));
            break;
        case Column::Hour:
            tm.tm_hour = mod(tm.tm_hour + steps, 24);
            break;
        case Column::Minute: {
            // The minute wheel only holds multiples of the interval and turns within the hour.
            int base = tm.tm_min - tm.tm_min % interval_;
            tm.tm_min = mod(base + steps * interval_, 60);
            tm.tm_sec = 0;
            fraction = 0;
            break;
        }
    }
    return clamp(fromLocal(tm, fraction));
}

std::string DatePicker::columnTitle(Column column, int offset) const {
    std::tm tm = local(offset == 0 ? date_ : stepped(column, offset));
    char buf[16];
    switch (column) {
        case Column::Year: std::snprintf(buf, sizeof buf, "%04d", tm.tm_year + 1900); break;
        case Column::Month: std::snprintf(buf, sizeof buf, "%02d", tm.tm_mon + 1); break;
        case Column::Day: std::snprintf(buf, sizeof buf, "%02d", tm.tm_mday); break;
        case Column::Hour: std::snprintf(buf, sizeof buf, "%02d", tm.tm_hour); break;
        case Column::Minute: std::snprintf(buf, sizeof buf, "%02d", tm.tm_min - (offset == 0 ? tm.tm_min % interval_ : 0)); break;
    }
    return buf;
}

void DatePicker::step(Column column, int steps) {
    if (steps == 0) return;
    double d = stepped(column, steps);
    if (d == date_) return;
    date_ = d;
    setNeedsDisplay();
    sendActions(ControlEvent::ValueChanged);
}

Rect DatePicker::rectForColumn(std::size_t index) const {
    auto cols = columns();
    if (index >= cols.size()) return {};
    double w = bounds().width() / static_cast<double>(cols.size());
    return {w * static_cast<double>(index), 0, w, bounds().height()};
}

void DatePicker::touchesBegan(const TouchSet& touches, const Event* event) {
    Control::touchesBegan(touches, event);
    if (Touch* t = touches.anyObject()) touchStart_ = t->locationInView(this);
}

void DatePicker::touchesEnded(const TouchSet& touches, const Event* event) {
    Touch* t = touches.anyObject();
    bool enabled = isEnabled();
    Control::touchesEnded(touches, event);
    if (!t || !enabled) return;
    Point end = t->locationInView(this);
    auto cols = columns();
    for (std::size_t i = 0; i < cols.size(); ++i) {
        if (!rectForColumn(i).contains(touchStart_)) continue;
        int steps = std::abs(end.y - touchStart_.y) < 5
                        ? static_cast<int>(std::lround((end.y - bounds().height() / 2) / kRowHeight))
                        : static_cast<int>(std::lround((touchStart_.y - end.y) / kRowHeight));
        step(cols[i], steps);
        return;
    }
}

}  // namespace ui
