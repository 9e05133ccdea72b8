#include "wmi/date_format.h"

#include <cmath>

namespace brevane::wmi {

namespace {

// 1 January 100 and 31 December 9999 as OLE day numbers: the range the platform accepts.
constexpr int64_t kFirstOleDay = -657434;
constexpr int64_t kLastOleDay = 2958465;
constexpr int64_t kOleDayOfUnixEpoch = 25569;  // 1 January 1970
constexpr int64_t kSecondsPerDay = 86400;

// Days since 1 January 1970 to a proleptic Gregorian date (H. Hinnant's civil_from_days).
void CivilFromDays(int64_t days, int& year, int& month, int& day) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t dayOfEra = days - era * 146097;
  const int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

std::string Padded(int value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < width) {
    digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
  }
  return digits;
}

// The first UTF-8 character, not just its first byte.
std::string_view FirstCharacter(std::string_view text) {
  if (text.empty()) return text;
  size_t end = 1;
  while (end < text.size() && end < 4 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
    ++end;
  }
  return text.substr(0, end);
}

size_t RunLength(std::string_view picture, size_t at) {
  size_t end = at;
  while (end < picture.size() && picture[end] == picture[at]) ++end;
  return end - at;
}

// Copies a quoted literal starting at picture[at] (the opening quote) and returns the index
// after it. An unterminated literal runs to the end of the picture.
size_t CopyLiteral(std::string_view picture, size_t at, std::string& out) {
  const char quote = picture[at];
  size_t i = at + 1;
  while (i < picture.size()) {
    if (picture[i] == quote) {
      if (quote == '\'' && i + 1 < picture.size() && picture[i + 1] == '\'') {
        out += '\'';
        i += 2;
        continue;
      }
      return i + 1;
    }
    out += picture[i++];
  }
  return i;
}

// Walks a picture, handing every run of a field letter to `field` (which returns false when
// the letter is not one of its fields) and copying literals and other characters.
template <typename FieldWriter>
std::string WalkPicture(std::string_view picture, FieldWriter&& field) {
  std::string out;
  out.reserve(picture.size() + 8);
  size_t i = 0;
  while (i < picture.size()) {
    const char c = picture[i];
    if (c == '\'' || c == '"') {
      i = CopyLiteral(picture, i, out);
      continue;
    }
    const size_t run = RunLength(picture, i);
    if (field(c, run, out)) {
      i += run;
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

}  // namespace

std::optional<OleDateParts> DecodeOleDate(double oleDate) {
  if (!std::isfinite(oleDate)) return std::nullopt;
  // Checked before any conversion to an integer, so that huge values cannot overflow it.
  if (oleDate <= static_cast<double>(kFirstOleDay - 1) ||
      oleDate >= static_cast<double>(kLastOleDay + 1)) {
    return std::nullopt;
  }
  const double whole = std::trunc(oleDate);
  int64_t day = static_cast<int64_t>(whole);
  int64_t seconds = std::llround(std::fabs(oleDate - whole) * kSecondsPerDay);
  if (seconds >= kSecondsPerDay) {
    seconds -= kSecondsPerDay;
    ++day;
  }
  if (day < kFirstOleDay || day > kLastOleDay) return std::nullopt;

  OleDateParts parts;
  CivilFromDays(day - kOleDayOfUnixEpoch, parts.year, parts.month, parts.day);
  // OLE day 0 was a Saturday.
  parts.dayOfWeek = static_cast<int>(((day + 6) % 7 + 7) % 7);
  parts.hour = static_cast<int>(seconds / 3600);
  parts.minute = static_cast<int>(seconds / 60 % 60);
  parts.second = static_cast<int>(seconds % 60);
  return parts;
}

std::string FormatDatePicture(std::string_view picture, const OleDateParts& date,
                              const RegionalSettings& regional) {
  // Parts need not come from DecodeOleDate: any month picks some name, never one outside the
  // table, and no month number can overflow the arithmetic.
  const size_t monthIndex = static_cast<size_t>(((int64_t{date.month} - 1) % 12 + 12) % 12);
  const size_t dayIndex = static_cast<size_t>((date.dayOfWeek % 7 + 7) % 7);
  return WalkPicture(picture, [&](char c, size_t run, std::string& out) {
    switch (c) {
      case 'd':
        if (run == 1)
          out += std::to_string(date.day);
        else if (run == 2)
          out += Padded(date.day, 2);
        else if (run == 3)
          out += regional.dayAbbreviations[dayIndex];
        else
          out += regional.dayNames[dayIndex];
        return true;
      case 'M':
        if (run == 1)
          out += std::to_string(date.month);
        else if (run == 2)
          out += Padded(date.month, 2);
        else if (run == 3)
          out += regional.monthAbbreviations[monthIndex];
        else
          out += regional.monthNames[monthIndex];
        return true;
      case 'y':
        if (run == 1)
          out += std::to_string(date.year % 100);
        else if (run == 2)
          out += Padded(date.year % 100, 2);
        else
          out += Padded(date.year, 4);
        return true;
      default:
        return false;
    }
  });
}

std::string FormatTimePicture(std::string_view picture, const OleDateParts& time,
                              const RegionalSettings& regional) {
  const std::string& designator = time.hour < 12 ? regional.amDesignator : regional.pmDesignator;
  const int hour12 = time.hour % 12 == 0 ? 12 : time.hour % 12;
  return WalkPicture(picture, [&](char c, size_t run, std::string& out) {
    switch (c) {
      case 'h':
        out += run == 1 ? std::to_string(hour12) : Padded(hour12, 2);
        return true;
      case 'H':
        out += run == 1 ? std::to_string(time.hour) : Padded(time.hour, 2);
        return true;
      case 'm':
        out += run == 1 ? std::to_string(time.minute) : Padded(time.minute, 2);
        return true;
      case 's':
        out += run == 1 ? std::to_string(time.second) : Padded(time.second, 2);
        return true;
      case 't':
        if (run == 1) {
          out += FirstCharacter(designator);
        } else {
          out += designator;
        }
        return true;
      default:
        return false;
    }
  });
}

}  // namespace brevane::wmi
