#include <windows.h>

#include "formats/clock.h"
#include "formats/wide_win.h"

namespace sentavo {
namespace {

// The user's own formats, as the Regional settings of the operator's PC give them.
class WindowsFormats final : public DateTimeFormats {
 public:
  std::string ShortDate(const DateTime& dt) const override {
    const SYSTEMTIME st = ToSystemTime(dt);
    wchar_t buf[128];
    const int n =
        GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buf, 128, nullptr);
    return n > 0 ? Narrow(std::wstring_view(buf, static_cast<std::size_t>(n - 1)))
                 : CzechFormats().ShortDate(dt);
  }
  std::string LongTime(const DateTime& dt) const override {
    const SYSTEMTIME st = ToSystemTime(dt);
    wchar_t buf[128];
    const int n = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, buf, 128);
    return n > 0 ? Narrow(std::wstring_view(buf, static_cast<std::size_t>(n - 1)))
                 : CzechFormats().LongTime(dt);
  }
};

}  // namespace

std::unique_ptr<DateTimeFormats> MakeSystemFormats() {
  return std::make_unique<WindowsFormats>();
}

}  // namespace sentavo
