#include "host/DateTime.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace korva {

namespace {

// Days from 1 January 1970 in the proleptic Gregorian calendar, and back.
constexpr int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

// Day 0 of the machine's dates, 30 December 1899, counted from 1 January 1970.
constexpr int64_t Epoch = DaysFromCivil(1899, 12, 30);
constexpr double FirstDate = static_cast<double>(DaysFromCivil(100, 1, 1) - Epoch);
constexpr double LastDate = static_cast<double>(DaysFromCivil(9999, 12, 31) - Epoch) + 86399.0 / 86400.0;

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int DaysIn(int y, int m) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// A fixed count of decimal digits at pos.
bool Digits(std::string_view s, size_t pos, size_t count, int& out) {
  if (pos + count > s.size()) return false;
  out = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    out = out * 10 + (s[i] - '0');
  }
  return true;
}

}  // namespace

std::optional<double> DateSerial(int year, int month, int day, int hour, int minute, int second) {
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysIn(year, month)) return {};
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) return {};
  const double days = static_cast<double>(DaysFromCivil(year, month, day) - Epoch);
  return days + (hour * 3600 + minute * 60 + second) / 86400.0;
}

bool IsDateInRange(double date) { return date >= FirstDate && date <= LastDate; }

DateParts SplitDate(double date) {
  if (std::isnan(date)) date = 0;
  if (date < FirstDate) date = FirstDate;
  if (date > LastDate) date = LastDate;
  const int64_t total = std::llround(date * 86400.0);
  int64_t days = total / 86400, secs = total % 86400;
  if (secs < 0) secs += 86400, --days;
  DateParts p;
  CivilFromDays(days + Epoch, p.Year, p.Month, p.Day);
  p.Hour = static_cast<int>(secs / 3600);
  p.Minute = static_cast<int>(secs / 60 % 60);
  p.Second = static_cast<int>(secs % 60);
  p.Weekday = static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;  // day 0 was a Saturday
  return p;
}

std::string DateText(double date) {
  const DateParts p = SplitDate(date);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", p.Year, p.Month, p.Day, p.Hour, p.Minute,
                p.Second);
  return buf;
}

std::optional<double> ParseDateText(std::string_view text) {
  text = Trim(text);
  int y, mo, d, h, mi, s;
  if (text.size() == 19 && text[4] == '-' && text[7] == '-' && (text[10] == ' ' || text[10] == 'T') &&
      text[13] == ':' && text[16] == ':' && Digits(text, 0, 4, y) && Digits(text, 5, 2, mo) &&
      Digits(text, 8, 2, d) && Digits(text, 11, 2, h) && Digits(text, 14, 2, mi) && Digits(text, 17, 2, s))
    return DateSerial(y, mo, d, h, mi, s);
  const std::optional<double> days = ParseNumberText(text);
  if (days && IsDateInRange(*days)) return days;
  return {};
}

std::string NumberText(double value) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, r.ptr);
}

std::string DisplayNumberText(double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15G", value);
  return buf;
}

std::optional<double> ParseNumberText(std::string_view text) {
  std::string t(Trim(text));
  if (!t.empty() && t.front() == '+') t.erase(0, 1);
  if (t.find('.') == std::string::npos)
    if (const size_t comma = t.find(','); comma != std::string::npos && t.find(',', comma + 1) == std::string::npos)
      t[comma] = '.';
  double v = 0;
  const char* end = t.data() + t.size();
  const auto r = std::from_chars(t.data(), end, v, std::chars_format::fixed | std::chars_format::scientific);
  if (t.empty() || r.ec != std::errc() || r.ptr != end || !std::isfinite(v)) return {};
  return v;
}

double SystemNow() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const auto whole = floor<seconds>(now);
  const std::time_t t = system_clock::to_time_t(whole);
  std::tm lt{};
  localtime_r(&t, &lt);
  const std::optional<double> date = DateSerial(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday, lt.tm_hour, lt.tm_min,
                                                lt.tm_sec > 59 ? 59 : lt.tm_sec);
  return date.value_or(0.0) + static_cast<double>(duration_cast<milliseconds>(now - whole).count()) / 86400000.0;
}

}  // namespace korva
