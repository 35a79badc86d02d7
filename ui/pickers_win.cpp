#include "ui/pickers_win.h"

#include <commctrl.h>

#include <algorithm>

#include "formats/wide_win.h"
#include "ui/number_text.h"

namespace sentavo::ui {
namespace {

DateTime FromSystemTime(const SYSTEMTIME& st) {
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

DateTime ReadPicker(HWND hwnd) {
  SYSTEMTIME st{};
  SendMessageW(hwnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
  return FromSystemTime(st);
}

void WritePicker(HWND hwnd, const DateTime& dt) {
  SYSTEMTIME st = ToSystemTime(dt);
  SendMessageW(hwnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

}  // namespace

std::string SystemThousandsSeparator() {
  wchar_t buf[8] = {};
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, buf, 8) <= 1) return ",";
  return Narrow(buf);
}

bool DatePicker::Create(HWND parent, int id, const Bounds& bounds) {
  return CreateSystem(parent, DATETIMEPICK_CLASSW, id, bounds, WS_TABSTOP | DTS_SHORTDATEFORMAT);
}

DateTime DatePicker::Date() const {
  return ReadPicker(hwnd());
}

void DatePicker::SetDate(const DateTime& date) {
  WritePicker(hwnd(), date);
}

bool DatePicker::OnNotify(NMHDR& header, LRESULT& result) {
  if (header.code != DTN_DATETIMECHANGE) return false;
  if (OnChange) OnChange();
  result = 0;
  return true;
}

bool TimePicker::Create(HWND parent, int id, const Bounds& bounds) {
  return CreateSystem(parent, DATETIMEPICK_CLASSW, id, bounds, WS_TABSTOP | DTS_TIMEFORMAT);
}

DateTime TimePicker::Time() const {
  return ReadPicker(hwnd());
}

void TimePicker::SetTime(const DateTime& time) {
  WritePicker(hwnd(), time);
}

bool TimePicker::OnNotify(NMHDR& header, LRESULT& result) {
  if (header.code != DTN_DATETIMECHANGE) return false;
  if (OnChange) OnChange();
  result = 0;
  return true;
}

bool UpDown::Create(HWND parent, int id, const Bounds& bounds) {
  // The range is kept by NumberBox; the control only reports the arrows pressed.
  if (!CreateSystem(parent, UPDOWN_CLASSW, id, bounds, UDS_ARROWKEYS)) return false;
  SendMessageW(hwnd(), UDM_SETRANGE32, static_cast<WPARAM>(-1000), 1000);
  SendMessageW(hwnd(), UDM_SETPOS32, 0, 0);
  return true;
}

bool UpDown::OnNotify(NMHDR& header, LRESULT& result) {
  if (header.code != UDN_DELTAPOS) return false;
  const auto& n = reinterpret_cast<NMUPDOWN&>(header);
  if (OnDelta) OnDelta(n.iDelta);
  result = 1;  // the control keeps its own position at 0: the box holds the number
  return true;
}

bool NumberBox::Create(HWND parent, int editId, int upDownId, const Bounds& bounds) {
  const int arrows = 17;
  if (!edit_.Create(parent, editId, {bounds.left, bounds.top, bounds.width - arrows, bounds.height},
                    ES_RIGHT)) {
    return false;
  }
  if (!arrows_.Create(parent, upDownId,
                      {bounds.left + bounds.width - arrows, bounds.top, arrows, bounds.height})) {
    return false;
  }
  arrows_.OnDelta = [this](int delta) {
    SetPosition(position_ + delta * increment_);
    if (OnChange) OnChange(position_);
  };
  edit_.OnChange = [this] { TextTyped(); };
  ShowPosition();
  return true;
}

void NumberBox::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  SetPosition(position_);
}

void NumberBox::SetThousands(bool thousands) {
  thousands_ = thousands;
  ShowPosition();
}

void NumberBox::SetPosition(int value) {
  position_ = std::clamp(value, min_, max_);
  ShowPosition();
}

void NumberBox::ShowPosition() {
  if (!edit_.hwnd()) return;
  showing_ = true;
  edit_.SetText(FormatGrouped(position_, thousands_ ? SystemThousandsSeparator() : ""));
  showing_ = false;
}

void NumberBox::TextTyped() {
  if (showing_) return;
  const std::optional<std::int32_t> typed = ParseGrouped(edit_.Text(), SystemThousandsSeparator());
  if (!typed || *typed < min_ || *typed > max_ || *typed == position_) return;
  position_ = *typed;
  if (OnChange) OnChange(position_);
}

}  // namespace sentavo::ui
