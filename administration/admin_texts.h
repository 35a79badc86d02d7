// The administration program's own texts: captions of its windows and controls, and the messages
// it shows. The windows and the model take them from here, so a test can name the exact text.
#pragma once

#include <string>
#include <string_view>

#include "formats/defaults.h"

namespace sentavo::admin::text {

inline constexpr std::string_view kAppTitle = "Sentavo ADMIN";
inline constexpr std::string_view kErrorCaption = "Error";
inline constexpr std::string_view kInformationCaption = "Information";
inline constexpr std::string_view kOkButton = "OK";

// Messages.
inline constexpr std::string_view kDefaultPasswordWarning =
    "Používáte základní heslo \"vamor\", prosím změňte si jej!!!";
inline constexpr std::string_view kWrongPassword = "Chybné heslo.";
inline constexpr std::string_view kChooseCodeType = "Vyberte prosím typ kódu!";
inline constexpr std::string_view kEnterCodeName = "Zadejte prosím označení kódu!";
inline constexpr std::string_view kBadCodeName =
    "Označení kódu nesmí obsahovat znaky \\ / : * ? \" < > | ani název zařízení.";
inline constexpr std::string_view kUnstorableText =
    "Text obsahuje znaky, které nelze uložit (povolena je čeština a západoevropské znaky).";
inline constexpr std::string_view kCodeReplaced = "Kód byl přepsán a aktivován.";
inline constexpr std::string_view kCodeCreated = "Kód byl vytvořen a aktivován.";
inline constexpr std::string_view kSettingsSaved = "Změny uloženy.";
inline constexpr std::string_view kCodesListNotSaved =
    "Seznam vydaných kódů (codes.dat) nelze načíst, proto nebyl uložen.";
inline constexpr std::string_view kCodeFileMissing =
    "Soubor kódu nebyl nalezen; záznam byl odebrán.";
// "Kód <name> nelze odstranit: <the file system's reason>".
inline std::string CodeNotDeleted(std::string_view name, std::string_view reason) {
  return "Kód " + std::string(name) + " nelze odstranit: " + std::string(reason);
}

// The login window.
inline constexpr std::string_view kLoginCaption = "Sentavo - Admin";
inline constexpr std::string_view kLoginGroup = " Přihlášení administrátora: ";
inline constexpr std::string_view kLoginLabel = "Administrátorské heslo:";
inline constexpr std::string_view kKonecBut = "Konec";
inline constexpr std::string_view kOveritKodBut = "Ověřit kód";

// The code-management window and its three tabs, in tab order.
inline constexpr std::string_view kCodeWindowCaption = "Správa uživatelských kódů";
inline constexpr std::string_view kTabIssued = "Vydané kódy";
inline constexpr std::string_view kTabCreation = "Vytváření kódů";
inline constexpr std::string_view kTabSettings = "Nastavení";

// "Vydané kódy".
inline constexpr std::string_view kOdstranit = "Odstranit";
inline constexpr std::string_view kIssuedListFont = "Courier New";

// "Vytváření kódů".
inline constexpr std::string_view kKodLabel = "Kód:";
inline constexpr std::string_view kRightsGroup = " Práva uživatele po přihlášení: ";
inline constexpr std::string_view kCanDivide = "Uživatel smí dělit dobu užití";
inline constexpr std::string_view kBudgetLabel = "Doba platnosti:";
inline constexpr std::string_view kBudgetUnit = "vteřin";
inline constexpr std::string_view kTypeOnce = "Jednorázový";
inline constexpr std::string_view kTypeDaily = "Denní";
inline constexpr std::string_view kValidFrom = "Platnost od:";
inline constexpr std::string_view kValidTo = "Platnost do:";
inline constexpr std::string_view kNavrhnout = "Navrhnout";
inline constexpr std::string_view kOneHour = "1. hodina";
inline constexpr std::string_view kTwoHours = "2. hodiny";
inline constexpr std::string_view kThreeHours = "3. hodiny";
inline constexpr std::string_view kUlozitKod = "Uložit kód";

// "Nastavení".
inline constexpr std::string_view kPasswordGroup = " Administrační heslo: ";
inline constexpr std::string_view kSettingsGroup = " Nastavení: ";
inline constexpr std::string_view kServerPathLabel = "Cesta pro komunikaci se serverem:";
inline constexpr std::string_view kBackgroundLabel = "Pozadí:";
inline constexpr std::string_view kEstablishmentLabel = "Provozovna:";
inline constexpr std::string_view kUlozitNastaveni = "Uložit nastavení";
inline constexpr std::string_view kPredpravaGroup =
    " Přednastavená práva PC (platná i po přihlášení): ";
inline constexpr std::string_view kOrderLink = "Objednat Sentavo můžete zde...";

}  // namespace sentavo::admin::text
