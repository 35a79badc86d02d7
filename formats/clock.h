// The clock and the user's date and time formats, as services so that tests can fix them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "formats/oledate.h"

namespace sentavo {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime LocalNow() const = 0;
  // Milliseconds since midnight UTC: the seed of the code-name generator.
  virtual std::uint32_t UtcMillisecondsOfDay() const = 0;
  // Milliseconds on a clock that only moves forward, whatever happens to the wall clock: the
  // measure of a guest's time, so that neither a late tick nor a changed system time moves it.
  virtual std::uint64_t MonotonicMilliseconds() const = 0;
  // Minutes that local time is ahead of UTC now (negative west of Greenwich); a clock of a test
  // keeps UTC unless it says otherwise.
  virtual int UtcOffsetMinutes() const { return 0; }
};

class SystemClock final : public Clock {
 public:
  DateTime LocalNow() const override;
  std::uint32_t UtcMillisecondsOfDay() const override;
  std::uint64_t MonotonicMilliseconds() const override;  // GetTickCount64 on Windows
  int UtcOffsetMinutes() const override;
};

class DateTimeFormats {
 public:
  virtual ~DateTimeFormats() = default;
  virtual std::string ShortDate(const DateTime& dt) const = 0;  // UTF-8
  virtual std::string LongTime(const DateTime& dt) const = 0;   // UTF-8
};

// The Czech formats, "9.12.2026" and "14:30:00", used where there is no Windows locale.
class CzechFormats final : public DateTimeFormats {
 public:
  std::string ShortDate(const DateTime& dt) const override;
  std::string LongTime(const DateTime& dt) const override;
};

}  // namespace sentavo

namespace sentavo {

// The user's short date and long time formats on Windows; the Czech formats elsewhere.
std::unique_ptr<DateTimeFormats> MakeSystemFormats();

}  // namespace sentavo
