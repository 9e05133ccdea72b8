// The date and time picture formatter with arbitrary pictures, regional texts and dates:
// OLE dates as the platform hands them, and date parts no decoder would make.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "wmi/date_format.h"

namespace {

using brevane::wmi::OleDateParts;
using brevane::wmi::RegionalSettings;

bool IsLeap(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

void CheckParts(const OleDateParts& p) {
  FUZZ_CHECK(p.year >= 100 && p.year <= 9999);
  FUZZ_CHECK(p.month >= 1 && p.month <= 12);
  FUZZ_CHECK(p.day >= 1 && p.day <= DaysInMonth(p.year, p.month));
  FUZZ_CHECK(p.dayOfWeek >= 0 && p.dayOfWeek <= 6);
  FUZZ_CHECK(p.hour >= 0 && p.hour <= 23);
  FUZZ_CHECK(p.minute >= 0 && p.minute <= 59);
  FUZZ_CHECK(p.second >= 0 && p.second <= 59);
}

// The day after `p`, by the calendar rules.
bool IsNextDay(const OleDateParts& p, const OleDateParts& next) {
  if (next.dayOfWeek != (p.dayOfWeek + 1) % 7) return false;
  if (p.day < DaysInMonth(p.year, p.month)) {
    return next.year == p.year && next.month == p.month && next.day == p.day + 1;
  }
  if (p.month < 12) return next.year == p.year && next.month == p.month + 1 && next.day == 1;
  return next.year == p.year + 1 && next.month == 1 && next.day == 1;
}

size_t LongestName(const RegionalSettings& r) {
  size_t longest = std::max(r.amDesignator.size(), r.pmDesignator.size());
  for (const auto& s : r.monthNames) longest = std::max(longest, s.size());
  for (const auto& s : r.monthAbbreviations) longest = std::max(longest, s.size());
  for (const auto& s : r.dayNames) longest = std::max(longest, s.size());
  for (const auto& s : r.dayAbbreviations) longest = std::max(longest, s.size());
  return longest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  RegionalSettings regional;
  if (in.ConsumeBool()) {
    regional.amDesignator = in.ConsumeRandomLengthString(16);
    regional.pmDesignator = in.ConsumeRandomLengthString(16);
    regional.monthNames[in.ConsumeIntegralInRange<size_t>(0, 11)] =
        in.ConsumeRandomLengthString(16);
    regional.dayNames[in.ConsumeIntegralInRange<size_t>(0, 6)] = in.ConsumeRandomLengthString(16);
  }
  const double oleDate = in.ConsumeBool() ? in.ConsumeFloatingPoint<double>()
                                          : in.ConsumeIntegralInRange<int32_t>(-700000, 3000000) +
                                                in.ConsumeProbability<double>();
  OleDateParts raw;
  raw.year = in.ConsumeIntegral<int>();
  raw.month = in.ConsumeIntegral<int>();
  raw.day = in.ConsumeIntegral<int>();
  raw.dayOfWeek = in.ConsumeIntegral<int>();
  raw.hour = in.ConsumeIntegral<int>();
  raw.minute = in.ConsumeIntegral<int>();
  raw.second = in.ConsumeIntegral<int>();
  const std::string datePicture = in.ConsumeRandomLengthString(256);
  const std::string timePicture = in.ConsumeRemainingBytesAsString();

  // Every field writes at most one name or eleven digits and a sign in place of at least one
  // picture character.
  const size_t bound = (datePicture.size() + timePicture.size()) * (LongestName(regional) + 12);
  const auto formatBoth = [&](const OleDateParts& parts) {
    const std::string date = FormatDatePicture(datePicture, parts, regional);
    const std::string time = FormatTimePicture(timePicture, parts, regional);
    FUZZ_CHECK(date.size() + time.size() <= bound);
  };
  formatBoth(raw);

  if (const auto parts = brevane::wmi::DecodeOleDate(oleDate)) {
    CheckParts(*parts);
    formatBoth(*parts);
    const double whole = std::trunc(oleDate);
    if (whole >= 0) {
      // Whole days count forwards from day 0; the fraction is the time of that day.
      if (const auto next = brevane::wmi::DecodeOleDate(whole + 1)) {
        const auto today = brevane::wmi::DecodeOleDate(whole);
        FUZZ_CHECK(today && IsNextDay(*today, *next));
      }
    }
  } else {
    // Only the last second of 9999 can round past the end.
    FUZZ_CHECK(!std::isfinite(oleDate) || oleDate <= -657435 || oleDate > 2958465.9999);
  }
  return 0;
}
