#pragma once

#include <memory>

#include <QString>

#include "base/Result.h"

class QSettings;

namespace kestrel {

// The program-wide settings, kept per user in QSettings (organisation "Brantwick", application
// "Kestrel! 4.0"; each section a group). Loaded once at start-up; saved when the Setup, SMS
// parameter, Find and replace or Report header dialog is confirmed, never at exit.
struct AppSettings
{
    // [commData]
    QString device = QStringLiteral("COM2");
    int sleepDelay = 3; // kept and saved, used by nothing
    // [confirmations]
    int autoRead = 1;     // a new editor window reads the card at once
    int confirm = 1;      // ask before deleting, overwriting and writing to the card
    int scrFree = 0;      // set to 1 each time Setup is confirmed
    int startWMin = 0;    // the main window starts as a toolbar
    int enCache = 1;      // key "EnCache": the SimCard keeps its file images between operations
    int unicodeNames = 0; // names the default alphabet lacks are written in UCS2 (else folded)
    // [findData]
    QString findStr;
    QString replStr;
    int itemSrch = 0;
    // [SMSData]
    int validPer = 0; // TP-VP byte of new messages
    QString servCenter;
    QString intNumber;   // own country code; default string sid::N49_59000
    QString intSelector; // international access prefix; default string sid::N00_59001
    // [PrintHdr]
    int prnHdrAdj = 0;
    QString provozovna; // shop
    QString prodejce;   // salesperson
    QString poznamka;   // comment
    QString address;
    QString phone;
    QString fax;
    QString email;
    // [general]
    QString language = QStringLiteral("auto"); // "auto" (by the system locale), "en" or "cs"

    // The defaults, with intNumber and intSelector taken from the string table.
    static AppSettings defaults();

    // Every key in table order, each with the current value as its default. A store that cannot
    // be read leaves the values as they were and gives sid::ErrorWhileReadingDataFrom_57689 with the store's file name.
    Result LoadSettings(QSettings& store);
    // Every key in the same order. A store that cannot be written keeps the old file and gives
    // sid::ErrorWhileWritingDataTo_57686 with the store's file name.
    Result SaveSettings(QSettings& store) const;

    // The user's settings store (organisation "Brantwick", application sid::Kestrel40_57344).
    static std::unique_ptr<QSettings> openUserStore();
    // Installs the language the user's store names (installLanguage; "auto" when it names none).
    // Called by each program once its QCoreApplication exists, before any text is shown.
    static void installStoredLanguage();
};

} // namespace kestrel
