// Control IDs of SentavoAdmin's windows, shared with the end-to-end tests that drive them.
#pragma once

#include "formats/rights.h"

namespace sentavo::admin::ids {

// The login window "Sentavo - Admin".
inline constexpr int kLoginGroup = 1001;
inline constexpr int kLoginLabel = 1002;
inline constexpr int kAdminPass = 1003;
inline constexpr int kKonecBut = 1004;
inline constexpr int kOveritKodBut = 1005;

// The code-management window: its page control (its tab row is the child with ID 1).
inline constexpr int kPages = 2000;
inline constexpr int kPageTabs = 1;

// "Přehled", and the small dialogs of its actions.
inline constexpr int kPrehled = 2401;
inline constexpr int kZamknout = 2402;
inline constexpr int kPridatCas = 2403;
inline constexpr int kZprava = 2404;
inline constexpr int kPrikazInfo = 2405;
inline constexpr int kInputPrompt = 2410;
inline constexpr int kInputEdit = 2411;

// "Vydané kódy".
inline constexpr int kVydane = 2101;
inline constexpr int kOdstranit = 2102;
inline constexpr int kHledatLabel = 2103;
inline constexpr int kHledat = 2104;

// "Vytváření kódů".
inline constexpr int kKodLabel = 2200;
inline constexpr int kKod = 2201;
inline constexpr int kRightsGroup = 2202;
inline constexpr int kFirstRight = 2210;  // the fifteen rights in rights-set order
constexpr int RightBox(Right r) {
  return kFirstRight + static_cast<int>(RightIndex(r));
}
inline constexpr int kCanDivide = 2230;
inline constexpr int kBudgetLabel = 2231;
inline constexpr int kBudgetBox = 2232;
inline constexpr int kBudgetArrows = 2233;
inline constexpr int kBudgetUnit = 2234;
inline constexpr int kTypKodu = 2235;
inline constexpr int kValidFromLabel = 2236;
inline constexpr int kDatumOd = 2237;
inline constexpr int kCasOd = 2238;
inline constexpr int kValidToLabel = 2239;
inline constexpr int kDatumDo = 2240;
inline constexpr int kCasDo = 2241;
inline constexpr int kNavrhnout = 2242;
inline constexpr int kOneHour = 2243;
inline constexpr int kTwoHours = 2244;
inline constexpr int kThreeHours = 2245;
inline constexpr int kUlozitKod = 2246;
inline constexpr int kTiskPoukazek = 2247;

// The dialog "Tisk poukázek"; its "Tisk…" is IDOK and its "Zavřít" IDCANCEL.
inline constexpr int kVoucherCountLabel = 2600;
inline constexpr int kVoucherCount = 2601;
inline constexpr int kVoucherInfo = 2602;
inline constexpr int kVoucherPreview = 2603;

// "Nastavení". The path boxes' own edit fields carry widgets::kBoxEditId inside them.
inline constexpr int kPasswordGroup = 2300;
inline constexpr int kAdminHeslo = 2301;
inline constexpr int kSettingsGroup = 2302;
inline constexpr int kServerPathLabel = 2303;
inline constexpr int kServerCesta = 2304;
inline constexpr int kBackgroundLabel = 2305;
inline constexpr int kPozadiFile = 2306;
inline constexpr int kEstablishmentLabel = 2307;
inline constexpr int kProvoz = 2308;
inline constexpr int kUlozitNastaveni = 2309;
inline constexpr int kPredprava = 2310;
inline constexpr int kFirstPredprava = 2311;  // sixteen: asFrontApp, then the rights set
inline constexpr int kOrderLink = 2330;

// "Statistika".
inline constexpr int kMesicLabel = 2500;
inline constexpr int kMesic = 2501;
inline constexpr int kExportovatCsv = 2502;
inline constexpr int kStatistikaGraf = 2503;
inline constexpr int kStatistikaTabulka = 2504;
inline constexpr int kStatistikaSouhrn = 2505;

}  // namespace sentavo::admin::ids
