#pragma once

#include <functional>
#include <vector>

#include <QString>
#include <QStringList>

#include "base/CardStatus.h"

namespace kestrel {

class AppState;
class Prompter;

// What the Setup dialog edits: copies of the settings (and the device string) that reach the
// settings only when the dialog is confirmed.
struct SetupValues
{
    QString device;
    bool autoRead = false;
    bool confirm = false;
    bool startWMin = false; // "Kestrel! as toolbar"
    bool enCache = false;
    bool unicodeNames = false; // "Keep accents and other letters on the card"
    bool prnHdrAdj = false;    // "Prompt before print"
    QString intNumber;         // own country code, stored without "+"
    QString intSelector;       // international access prefix, digits only
    QString language;          // "auto" (by the system locale), "en" or "cs"; used from the next start
};

// A language Setup offers: the value of the setting and the string-table id of its name.
struct LanguageChoice
{
    const char* value;
    int nameId;
};

// The Setup dialog without its widgets: the device list, the values, the reader search, the
// country code taken from the chooser and the checks and storing of OK. Messages go through the
// Prompter.
class SetupModel
{
public:
    // The PC/SC reader names to offer, in the order the service lists them (empty when there is no
    // service or no reader).
    using ReaderLister = std::function<QStringList()>;
    // Called before each search candidate is tried, so that a window can show it.
    using CandidateShown = std::function<void(const QString& device)>;
    // Called once the candidates have been tried, before the outcome is told.
    using SearchEnded = std::function<void()>;

    // Fills the values from the settings and the reader manager's current device, and the device
    // list with the readers lister gives.
    SetupModel(AppState& state, Prompter& prompter, ReaderLister lister = systemPcscReaders);

    // The readers of the PC/SC service (PcscReader::listPcscReaders).
    static QStringList systemPcscReaders();
    // The serial, PCMCIA and driver-library entries that follow "NOTHING" and the PC/SC readers.
    static QStringList fixedDevices();
    // A device as the list shows it: a serial port with the device it opens beside its name
    // ("COM1 (/dev/ttyS0)", or the device the setting commData/COMn names); others as they are.
    static QString deviceLabel(const QString& device);
    // The languages offered, "auto" first: a stored value that is none of them shows as "auto".
    static const std::vector<LanguageChoice>& languageChoices();
    // The devices the search tries after the first PC/SC reader, in order.
    static QStringList defaultSearchCandidates();

    // "NOTHING", "PCSC:" + each listed reader in reverse order of listing, the fixed entries, the
    // user's virtual card "VIRTUAL", and last the device current when the dialog opened and the
    // device chosen now, when they are none of these.
    const QStringList& devices() const { return m_devices; }
    SetupValues& values() { return m_values; }
    const SetupValues& values() const { return m_values; }

    const QStringList& searchCandidates() const { return m_candidates; }
    void setSearchCandidates(QStringList candidates) { m_candidates = std::move(candidates); }

    // "&Find Reader": the first listed PC/SC reader, then each search candidate until one opens.
    // The reader found stays open and becomes the value's device; when none is found the reader in
    // use before the search is opened again and the value's device stays as it was chosen (no
    // reader is left open when that one cannot be). The outcome is told through the Prompter; the
    // result is sid::OK_102 when a reader was found. The device list is listed afresh.
    CardStatus findReader(const CandidateShown& showCandidate = {}, const SearchEnded& searchEnded = {});

    // "From &Database": a code chosen in the country code chooser becomes the own country code
    // without its leading "+"; an empty choice changes nothing.
    void takeCountryCode(const QString& code);

    // OK: checks the country code and the access prefix, opens the device and, only when it
    // opened, stores the values (scrFree set to 1) and saves every setting. False when the dialog
    // has to stay open (the reason has been shown).
    bool accept();

    // The checks of OK, in order: 0 when both pass, else the number of the message to show.
    // countryCode receives the code without its leading "+".
    static int checkInternational(const QString& intNumber, const QString& intSelector, QString& countryCode);

private:
    void listDevices(const QStringList& pcscNames);

    AppState& m_state;
    Prompter& m_prompter;
    ReaderLister m_lister;
    QStringList m_devices;
    QStringList m_candidates;
    QString m_openedWith; // the device current when the dialog opened
    SetupValues m_values;
};

} // namespace kestrel
