// The control IDs of the lock window, shared by the window and the programs that drive it.
#pragma once

#include <cstddef>

namespace sentavo::client::ids {

// The top bar.
inline constexpr int kOdpocetLED = 101;
inline constexpr int kHodinky = 102;
inline constexpr int kTit = 103;
inline constexpr int kTrialMode = 104;
inline constexpr int kPages = 110;

// TabSheet1, the lock screen.
inline constexpr int kPozadi = 120;
inline constexpr int kLogoBig = 121;
inline constexpr int kZamceno = 122;
inline constexpr int kInfoLabel = 123;
inline constexpr int kBevel1 = 124;
inline constexpr int kLabel1 = 125;
inline constexpr int kKod = 126;
inline constexpr int kOdhlasitUseraBut = 127;
inline constexpr int kPrihlasitBut = 128;
inline constexpr int kSkrytBut = 129;
inline constexpr int kDatod = 130;
inline constexpr int kDatdo = 131;
inline constexpr int kSmidelit = 132;

// TabSheet2, the settings page.
inline constexpr int kPozadi2 = 140;
inline constexpr int kHeading = 141;
inline constexpr int kAdminpass = 142;
inline constexpr int kAdminheslo = 143;
inline constexpr int kNastaveni = 144;
inline constexpr int kServercestaLabel = 145;
inline constexpr int kServercesta = 146;
inline constexpr int kUserAds = 147;
inline constexpr int kUidLabel = 148;
inline constexpr int kUid = 149;
inline constexpr int kProvozLabel = 150;
inline constexpr int kProvoz = 151;
inline constexpr int kPozadiLabel = 152;
inline constexpr int kPozadiFile = 153;
inline constexpr int kKonecBut = 160;
inline constexpr int kPovolitVseBut = 161;
inline constexpr int kOdhlasitAdmina = 162;
inline constexpr int kZamknoutBut = 163;
inline constexpr int kZrusitBut = 164;
inline constexpr int kUlozitDefaultBut = 165;
inline constexpr int kOrderLink = 166;
// The sixteen switch check boxes: asFrontApp, then the rights set in order.
inline constexpr int kFirstSwitch = 170;
// The guest's notice window (its own top-level window): the text and the live countdown.
inline constexpr int kNoticeText = 190;
inline constexpr int kNoticeCountdown = 191;

constexpr int SwitchBox(std::size_t switchIndex) {
  return kFirstSwitch + static_cast<int>(switchIndex);
}

}  // namespace sentavo::client::ids
