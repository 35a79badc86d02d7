// The validity window of a code and the countdown text: small pure rules both programs rely on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "formats/code_record.h"
#include "formats/oledate.h"

namespace sentavo {

// The window runs from day F at time FT to day E at time ET, both ends included to the second; the
// times bound only the first and the last day. Days are yyyymmdd and times hhnnss as integers.
struct ValidityWindow {
  int fromDay = 0;   // F
  int fromTime = 0;  // FT
  int toDay = 0;     // E
  int toTime = 0;    // ET
};

bool InsideValidityWindow(const ValidityWindow& window, int today, int timeNow);

// The window of a record: date parts of validFromDate/validToDate, time parts of
// validFromTime/validToTime. Empty when a field holds no date (NaN or out of range), which a
// damaged file may carry.
std::optional<ValidityWindow> ValidityWindowOf(const TCodeRecord& record);

// False for a record whose window cannot be read: a damaged record never unlocks a PC.
bool CodeInsideValidityWindow(const TCodeRecord& record, const DateTime& now);

// Seconds from `now` until the window has closed (it is still open in the last of them); empty
// when the record's window cannot be read. Negative once it has closed.
std::optional<std::int64_t> SecondsUntilValidityEnds(const TCodeRecord& record,
                                                     const DateTime& now);

// "h:mm:ss" with the hours unpadded: 3600 -> "1:00:00", 36000 -> "10:00:00". The countdown never
// shows a negative time, so a negative count is shown as 0:00:00.
std::string CountdownText(int seconds);

}  // namespace sentavo
