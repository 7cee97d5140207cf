#pragma once
// Picks a date, a time of day, or both, in the machine's local time zone, with a minute interval
// (e.g. 5). Shown as wheels: a tap above or below the centre of a wheel steps it (minutes by the
// interval) and sends value-changed.

#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Control.h"

namespace ui {

class DatePicker : public Control {
public:
    enum class Mode { Time, Date, DateAndTime, CountDownTimer };
    enum class Column { Year, Month, Day, Hour, Minute };

    explicit DatePicker(const Rect& frame = {});
    const char* className() const override { return "DatePicker"; }

    Mode mode() const { return mode_; }
    void setMode(Mode m);
    // Seconds since 1970 (as platform::currentDate gives).
    double date() const { return date_; }
    // Kept within the minimum and maximum dates; tells no target.
    void setDate(double secondsSince1970, bool animated = false);
    const std::optional<double>& minimumDate() const { return min_; }
    void setMinimumDate(std::optional<double> d);
    const std::optional<double>& maximumDate() const { return max_; }
    void setMaximumDate(std::optional<double> d);
    // 1..30 and a divisor of 60; anything else is taken as 1.
    int minuteInterval() const { return interval_; }
    void setMinuteInterval(int minutes);

    // The wheels of the mode, left to right.
    std::vector<Column> columns() const;
    // The text of `column` `offset` steps from the shown value (offset 0 = the centre row).
    std::string columnTitle(Column column, int offset) const;
    // The date after stepping one wheel by `steps` rows (the minute wheel moves by the
    // interval), kept within the limits.
    double stepped(Column column, int steps) const;
    // A person turning a wheel: sets the date and sends value-changed.
    void step(Column column, int steps);
    Rect rectForColumn(std::size_t index) const;

    void touchesBegan(const TouchSet& touches, const Event* event) override;
    void touchesEnded(const TouchSet& touches, const Event* event) override;

private:
    double clamp(double d) const;

    Mode mode_ = Mode::DateAndTime;
    double date_ = 0;
    std::optional<double> min_;
    std::optional<double> max_;
    int interval_ = 1;
    Point touchStart_;
};

}  // namespace ui
