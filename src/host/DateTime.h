// Dates and times as the machine keeps them: a double counting days from
// 30 December 1899 00:00 local time, the fraction being the time of day.
// Whole dates run from 1 January 100 to 31 December 9999. Stored texts are
// locale-independent: "yyyy-mm-dd hh:mm:ss" for dates, a "." decimal point for
// numbers.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace korva {

struct DateParts {
  int Year = 1899, Month = 12, Day = 30;
  int Hour = 0, Minute = 0, Second = 0;
  int Weekday = 7;  // 1 = Sunday ... 7 = Saturday
};

// The date of the given parts, or nothing when they do not form a valid date
// and time (year 100-9999, month 1-12, the day within the month, 0-23, 0-59, 0-59).
std::optional<double> DateSerial(int year, int month, int day, int hour, int minute, int second);
// The parts of a date, rounded to the nearest second. A date outside the range
// is taken at its nearest end; a value that is not a number as day 0.
DateParts SplitDate(double date);
// True when the date lies within 1 January 100 .. 31 December 9999 23:59:59.
bool IsDateInRange(double date);

// "yyyy-mm-dd hh:mm:ss".
std::string DateText(double date);
// "yyyy-mm-dd hh:mm:ss" (or with "T" between date and time), or a number of days.
std::optional<double> ParseDateText(std::string_view text);

// The shortest text that reads back as the same number.
std::string NumberText(double value);
// At most fifteen significant digits, for display.
std::string DisplayNumberText(double value);
// A finite decimal number; blanks around it allowed, and "," read as the decimal
// point when the text has no ".".
std::optional<double> ParseNumberText(std::string_view text);

// The system's present local date and time.
double SystemNow();

}  // namespace korva
