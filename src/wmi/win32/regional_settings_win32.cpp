#include "wmi/win32/regional_settings_win32.h"

#include <windows.h>

#include <string>

#include "framework/win32/com_variant.h"
#include "framework/win32/encoding.h"

namespace brevane::wmi::win32 {

namespace {

// Locale texts are short; the limit of GetLocaleInfoEx itself is 80 characters.
constexpr int kMaxLocaleText = 128;

enum class Empty { kKeepDefault, kAllowed };

void ReadLocaleText(LCTYPE item, std::string& target, Empty empty = Empty::kKeepDefault) {
  wchar_t buffer[kMaxLocaleText] = {};
  const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, buffer, kMaxLocaleText);
  // The length counts the terminating NUL. Only the AM/PM designators may well be empty (in
  // 24-hour locales); an empty picture or separator would be useless.
  if (length <= 0 || (length == 1 && empty == Empty::kKeepDefault)) return;
  target = brevane::framework::win32::WideToUtf8(
      std::wstring_view(buffer, static_cast<size_t>(length - 1)));
}

}  // namespace

std::optional<std::string> PlatformRealText(double value, bool single) {
  VARIANT real;
  VariantInit(&real);
  if (single) {
    real.vt = VT_R4;
    real.fltVal = static_cast<float>(value);
  } else {
    real.vt = VT_R8;
    real.dblVal = value;
  }
  brevane::framework::win32::Variant text;
  if (FAILED(VariantChangeTypeEx(text.Receive(), &real, LOCALE_USER_DEFAULT, 0, VT_BSTR)) ||
      text.Get().vt != VT_BSTR || !text.Get().bstrVal) {
    return std::nullopt;
  }
  const BSTR bstr = text.Get().bstrVal;
  return brevane::framework::win32::WideToUtf8(std::wstring_view(bstr, SysStringLen(bstr)));
}

RegionalSettings ReadUserRegionalSettings() {
  RegionalSettings settings;
  settings.realText = PlatformRealText;
  ReadLocaleText(LOCALE_SSHORTDATE, settings.shortDatePicture);
  ReadLocaleText(LOCALE_SDECIMAL, settings.decimalSeparator);
  ReadLocaleText(LOCALE_STIMEFORMAT, settings.longTimePicture);
  ReadLocaleText(LOCALE_S1159, settings.amDesignator, Empty::kAllowed);
  ReadLocaleText(LOCALE_S2359, settings.pmDesignator, Empty::kAllowed);
  for (int month = 0; month < 12; ++month) {
    ReadLocaleText(LOCALE_SMONTHNAME1 + month, settings.monthNames[month]);
    ReadLocaleText(LOCALE_SABBREVMONTHNAME1 + month, settings.monthAbbreviations[month]);
  }
  // Windows counts the days from Monday (SDAYNAME1); ours start on Sunday (SDAYNAME7).
  for (int day = 0; day < 7; ++day) {
    const int windowsDay = day == 0 ? 6 : day - 1;
    ReadLocaleText(LOCALE_SDAYNAME1 + windowsDay, settings.dayNames[day]);
    ReadLocaleText(LOCALE_SABBREVDAYNAME1 + windowsDay, settings.dayAbbreviations[day]);
  }
  return settings;
}

}  // namespace brevane::wmi::win32
