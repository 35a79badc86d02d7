// The administration program's own texts: captions of its windows and controls, and the messages
// it shows. The windows and the model take them from here, so a test can name the exact text.
#pragma once

#include <cstdint>
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

// The code-management window and its four tabs, in tab order.
inline constexpr std::string_view kCodeWindowCaption = "Správa uživatelských kódů";
inline constexpr std::string_view kTabOverview = "Přehled";
inline constexpr std::string_view kTabIssued = "Vydané kódy";
inline constexpr std::string_view kTabCreation = "Vytváření kódů";
inline constexpr std::string_view kTabSettings = "Nastavení";

// "Přehled": the list's columns in order, the states, the actions and their messages.
inline constexpr std::string_view kColPocitac = "Počítač";
inline constexpr std::string_view kColStav = "Stav";
inline constexpr std::string_view kColKod = "Kód";
inline constexpr std::string_view kColZbyva = "Zbývá";
inline constexpr std::string_view kColOd = "Od";
inline constexpr std::string_view kColPosledniHlaseni = "Poslední hlášení";
inline constexpr std::string_view kColOchrana = "Ochrana";
inline constexpr std::string_view kStateLocked = "Zamčeno";
inline constexpr std::string_view kStateGuest = "Host";
inline constexpr std::string_view kStateAdmin = "Správce";
inline constexpr std::string_view kStateUnavailable = "Nedostupný";
inline constexpr std::string_view kGuardedYes = "ano";
inline constexpr std::string_view kGuardedNo = "ne";
inline constexpr std::string_view kZamknout = "Zamknout";
inline constexpr std::string_view kPridatCas = "Přidat čas…";
inline constexpr std::string_view kZprava = "Zpráva…";
inline constexpr std::string_view kAddTimeCaption = "Přidat čas";
inline constexpr std::string_view kAddTimePrompt = "Kolik minut přidat (1–600):";
inline constexpr std::string_view kMessageCaption = "Zpráva";
inline constexpr std::string_view kMessagePrompt = "Text zprávy (nejvýše 200 znaků):";
inline constexpr std::string_view kDialogOk = "OK";
inline constexpr std::string_view kDialogCancel = "Zrušit";
inline constexpr std::string_view kBadMinutes =
    "Zadejte prosím celý počet minut od 1 do 600. Nic nebylo odesláno.";
inline constexpr std::string_view kEmptyMessage = "Zpráva je prázdná. Nic nebylo odesláno.";
inline constexpr std::string_view kLongMessage =
    "Zpráva je delší než 200 znaků. Nic nebylo odesláno.";
inline constexpr std::string_view kNoSelection = "Vyberte prosím počítač v seznamu.";
// "Příkaz pro PC1 nelze zapsat: <the file system's reason>".
inline std::string CommandNotWritten(std::string_view pc, std::string_view reason) {
  return "Příkaz pro " + std::string(pc) + " nelze zapsat: " + std::string(reason);
}
// What the list's label says of the selected PC's commands.
inline constexpr std::string_view kLastCommandNone = "Poslední příkaz: žádný";
inline constexpr std::string_view kResultDone = "provedeno";
inline constexpr std::string_view kResultRefused = "odmítnuto";
// "Odesláno: Zamknout (14:05:00), čeká na vyzvednutí." while the command file is there.
inline std::string CommandSent(std::string_view command, std::string_view at, bool pickedUp) {
  return "Odesláno: " + std::string(command) + " (" + std::string(at) + "), " +
         (pickedUp ? "počítač si jej vyzvedl." : "čeká na vyzvednutí.");
}

// "Vydané kódy".
inline constexpr std::string_view kOdstranit = "Odstranit";
inline constexpr std::string_view kHledatLabel = "Hledat:";
inline constexpr std::string_view kIssuedListFont = "Courier New";

// "Statistika".
inline constexpr std::string_view kTabStatistics = "Statistika";
inline constexpr std::string_view kMesicLabel = "Měsíc:";
inline constexpr std::string_view kExportovatCsv = "Exportovat CSV…";
inline constexpr std::string_view kStatisticsStation = "Počítač";
inline constexpr std::string_view kStatisticsCode = "Kód";
inline constexpr std::string_view kColumnKind = "Druh";
inline constexpr std::string_view kColumnName = "Název";
inline constexpr std::string_view kColumnPeriods = "Období";
inline constexpr std::string_view kColumnMinutes = "Minut";
inline constexpr std::string_view kCsvFilter = "Soubory CSV (*.csv)";
inline std::string StatisticsSummary(int periods, std::int64_t minutes, int files, int unreadable) {
  std::string text = "Celkem období: " + std::to_string(periods) +
                     ", minut: " + std::to_string(minutes) +
                     " (přečteno souborů: " + std::to_string(files);
  if (unreadable > 0) text += ", nečitelných: " + std::to_string(unreadable);
  return text + ")";
}
inline std::string StatisticsExported(std::string_view path) {
  return "Tabulka byla uložena do souboru " + std::string(path) + ".";
}
inline std::string StatisticsNotExported(std::string_view path, std::string_view reason) {
  return "Tabulku nelze uložit do souboru " + std::string(path) + ": " + std::string(reason);
}

// "Tisk poukázek…".
inline constexpr std::string_view kTiskPoukazek = "Tisk poukázek…";
inline constexpr std::string_view kVoucherCaption = "Tisk poukázek";
inline constexpr std::string_view kVoucherCountLabel = "Počet poukázek (1–500):";
inline constexpr std::string_view kVoucherTisk = "Tisk…";
inline constexpr std::string_view kVoucherZavrit = "Zavřít";
inline constexpr std::string_view kVoucherCountRange = "Zadejte počet poukázek od 1 do 500.";
inline constexpr std::string_view kVoucherDocument = "Poukázky Sentavo";
inline constexpr std::string_view kNoPrinter =
    "Není nainstalována žádná tiskárna. Žádný kód nebyl vydán.";
inline std::string VoucherCountInfo(int count, int pages) {
  return "Poukázek: " + std::to_string(count) + ", stran A4: " + std::to_string(pages);
}
inline std::string PrintNotStarted(std::string_view reason) {
  return "Tisk nelze zahájit (" + std::string(reason) + "). Žádný kód nebyl vydán.";
}
inline std::string VouchersNotIssued(std::string_view path, std::string_view reason, int issued) {
  return "Kódy nelze vydat: " + std::string(path) + ": " + std::string(reason) +
         ". Vydáno a zapsáno do seznamu: " + std::to_string(issued) + ".";
}
inline std::string VouchersPrinted(int count) {
  return "Vytištěno poukázek: " + std::to_string(count) +
         ". Jejich kódy jsou v seznamu vydaných kódů.";
}
inline std::string VouchersNotPrinted(std::string_view reason, int count) {
  return "Tisk se nezdařil (" + std::string(reason) + "). Vydané kódy (" + std::to_string(count) +
         ") jsou v seznamu vydaných kódů.";
}

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
