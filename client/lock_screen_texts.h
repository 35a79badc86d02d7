// Every text the lock window shows, in one place: the guest reads them, so they are never changed
// in passing. UTF-8.
#pragma once

#include <string_view>

#include "formats/defaults.h"

namespace sentavo::client::texts {

// Window and top bar.
inline constexpr std::string_view kApplicationTitle = "Sentavo";
inline constexpr std::string_view kWindowCaption = "Sentavo - Client - Korvalen";
inline constexpr std::string_view kVersion = "1.2";
inline constexpr std::string_view kLcdAtDesign = "00:00:00";
inline constexpr std::string_view kLocked = "locked";
inline constexpr std::string_view kTrialMode =
    "ZKUŠEBNÍ REŽIM – klávesy ani části Windows se neblokují.";

// The login page.
inline constexpr std::string_view kTabSheet1 = "Přihlášení";
inline constexpr std::string_view kZamceno =
    "Tento počítač je uzamčen. Pro odemknutí zadejte Váš odemykací kód.";
inline constexpr std::string_view kLabel1 = "Zadejte odemykací kód:";
inline constexpr std::string_view kOdhlasitUseraBut = "Odhlásit se";
inline constexpr std::string_view kPrihlasitBut = "Zkontrolovat";
inline constexpr std::string_view kSkrytBut = "Skrýt Sentavo";

// The settings page.
inline constexpr std::string_view kTabSheet2 = "Administrační režim - Nastavení";
inline constexpr std::string_view kAdminpass = " Administrační heslo: ";
inline constexpr std::string_view kNastaveni = " Nastavení: ";
inline constexpr std::string_view kServercestaLabel = "Cesta pro komunikaci se serverem:";
inline constexpr std::string_view kUserAds = " Práva posledního uživatele: ";
inline constexpr std::string_view kUidLabel = "Unikátní číslo aplikace:";
inline constexpr std::string_view kProvozLabel = "Provozovna:";
inline constexpr std::string_view kPozadiLabel = "Pozadí:";
inline constexpr std::string_view kKonecBut = "Konec";
inline constexpr std::string_view kPovolitVseBut = "Povolit vše";
inline constexpr std::string_view kOdhlasitAdmina = "Odhlásit admina";
inline constexpr std::string_view kZamknoutBut = "Zamknout";
inline constexpr std::string_view kZrusitBut = "Zrušit ochranu";
inline constexpr std::string_view kUlozitDefaultBut = "Uložit default";
inline constexpr std::string_view kOrderLink = "Objednat Sentavo můžete zde...";

// The tray menu.
inline constexpr std::string_view kZobrazitSentavo = "Zobrazit Sentavo";

// Status and refusals in InfoLabel.
inline constexpr std::string_view kAdminLoggedIn = "Přihlášen ADMIN.";
inline constexpr std::string_view kUserLoggedIn = "Přihlášen uživatel.";
inline constexpr std::string_view kCodeMissing =
    "Zadaný odemykací kód neexistuje! Zadejte prosím platný kód.";
inline constexpr std::string_view kCodeUnreadable =
    "Odemykací kód se nepodařilo načíst. Zkuste to prosím znovu.";
inline constexpr std::string_view kAlreadyLoggedIn =
    "Uživatel je již v síti přihlášen. Použijte jiný kód, nebo se odhlašte na jiném PC.";
inline constexpr std::string_view kWrongEstablishment =
    "Zadaný odemykací kód není platný pro tuto provozovnu! Zadejte prosím platný kód.";
inline constexpr std::string_view kNotActive =
    "Zadaný odemykací kód je již neplatný! Zadejte prosím platný kód.";
inline constexpr std::string_view kNotToday =
    "Zadaný odemykací kód je pro dnešek již neplatný! Zadejte prosím platný kód, nebo jej použijte "
    "zítra.";
inline constexpr std::string_view kOutsideWindow =
    "Zadaný odemykací kód je mimo svou povolenou dobu platnosti.";
inline constexpr std::string_view kTooManyAttempts =
    "Příliš mnoho neplatných pokusů. Zkuste to prosím znovu za 30 sekund.";
inline constexpr std::string_view kCodeExpired = "Kód vypršel! Zadejte prosím platný kód.";
inline constexpr std::string_view kCodeChangedByOperator = "Kód byl změněn správcem.";
inline constexpr std::string_view kTimeUp =
    "Vypršela doba pro použití tohoto PC. Pro pokračování zadejte platný odemykací kód.";
// "Uložit default" with a text that Sentavo.cfg cannot hold, followed by the character's name.
inline constexpr std::string_view kSettingsNotSavedPrefix =
    "Nastavení nebylo uloženo: tento znak nelze do souboru Sentavo.cfg zapsat: ";

// The details of an accepted code.
inline constexpr std::string_view kValidFrom = "Kód platí od: ";
inline constexpr std::string_view kValidTo = "Kód platí do: ";
inline constexpr std::string_view kTime = " Čas: ";
inline constexpr std::string_view kReusable =
    "Uživatel smí kód použít opakovaně v rámci platnosti.";
inline constexpr std::string_view kOneTime =
    "Kód je jednorázový, po odhlášení nebude možno jej použít!";

// The one message box of the client.
inline constexpr std::string_view kGinaInstalled =
    "Byla instalována systémová součást Sentavo. Prosím restartujte PC pro zajištění bezpečnosti "
    "PC.";

// The guest's notices: before the period ends, and the operator's messages.
inline constexpr std::string_view kNoticeCaption = "Sentavo - upozornění";
inline constexpr std::string_view kFiveMinutesLeft = "Zbývá 5 minut.";
inline constexpr std::string_view kOneMinuteLeft = "Zbývá 1 minuta.";
// The tray icon's tip during a guest's period, followed by the time left ("0:42:10").
inline constexpr std::string_view kTrayTimeLeft = "Sentavo – zbývá ";
}  // namespace sentavo::client::texts
