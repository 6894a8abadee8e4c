#include "app/SetupModel.h"

#include "app/AppState.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "codec/DialDigits.h"
#include "reader/PcscReader.h"
#include "reader/ReaderManager.h"
#include "reader/SerialReader.h"

namespace kestrel {

namespace {

const QString kNothing = QStringLiteral("NOTHING");
const QString kPcscPrefix = QStringLiteral("PCSC:");
// The user's own virtual card, offered so that the program can be used without any hardware.
const QString kVirtual = QStringLiteral("VIRTUAL");

constexpr int kCountryCodeError = strId(sid::ErrorInInternationalDialingCode_57561);
constexpr int kDigitsOnlyError = strId(sid::ErrorInItemEnteredMust_57562);
constexpr int kReaderInaccessible = strId(sid::ReaderInaccessibleUseMenuOther_142);
constexpr int kInaccessibleReason = strId(sid::Text_9521);
constexpr int kReaderFound = strId(sid::SmartcardReaderIsConnectedTo_9509);
constexpr int kNoReaderFound = strId(sid::NoSmartcardReaderFound_9510);

bool onlyDigits(const QString& text)
{
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

} // namespace

SetupModel::SetupModel(AppState& state, Prompter& prompter, ReaderLister lister)
    : m_state(state), m_prompter(prompter), m_lister(std::move(lister)), m_candidates(defaultSearchCandidates())
{
    const AppSettings& s = state.settings();
    m_values.device = state.readers().currentDevice();
    m_values.autoRead = s.autoRead != 0;
    m_values.confirm = s.confirm != 0;
    m_values.startWMin = s.startWMin != 0;
    m_values.enCache = s.enCache != 0;
    m_values.unicodeNames = s.unicodeNames != 0;
    m_values.prnHdrAdj = s.prnHdrAdj != 0;
    m_values.intNumber = s.intNumber;
    m_values.intSelector = s.intSelector;
    m_values.language = QStringLiteral("auto");
    for (const LanguageChoice& choice : languageChoices()) {
        if (s.language == QLatin1String(choice.value))
            m_values.language = s.language;
    }
    m_openedWith = m_values.device;
    listDevices(m_lister ? m_lister() : QStringList());
}

const std::vector<LanguageChoice>& SetupModel::languageChoices()
{
    static const std::vector<LanguageChoice> choices = {
        {"auto", strId(sid::AutomaticSystem_9914)},
        {"en", strId(sid::English_9915)},
        {"cs", strId(sid::Cestina_9916)},
    };
    return choices;
}

QStringList SetupModel::systemPcscReaders()
{
    QStringList names;
    if (!PcscReader::listPcscReaders(names))
        return {};
    return names;
}

QString SetupModel::deviceLabel(const QString& device)
{
    if (!device.startsWith(QLatin1String("COM")))
        return device;
    const QString path = SerialReader::portPath(device);
    return path.isEmpty() ? device : device + QStringLiteral(" (") + path + QLatin1Char(')');
}

QStringList SetupModel::fixedDevices()
{
    QStringList out;
    for (int i = 1; i <= 8; ++i)
        out.append(QStringLiteral("COM%1").arg(i));
    out << QStringLiteral("PCMCIA FY-1300") << QStringLiteral("KVRI DRIVER");
    return out;
}

QStringList SetupModel::defaultSearchCandidates()
{
    QStringList out{QStringLiteral("KVRI DRIVER")};
    for (int i = 1; i <= 8; ++i)
        out.append(QStringLiteral("COM%1").arg(i));
    out << QStringLiteral("PCMCIA FY-1300");
    return out;
}

void SetupModel::listDevices(const QStringList& pcscNames)
{
    m_devices = QStringList{kNothing} + fixedDevices();
    // Each reader goes in right after "NOTHING", so they stand in reverse order of listing.
    for (const QString& name : pcscNames)
        m_devices.insert(1, kPcscPrefix + name);
    m_devices.append(kVirtual);
    // A device chosen elsewhere (a card file of the virtual card, a PC/SC reader gone from the
    // service) is still shown rather than silently replaced by another entry, and stays on offer
    // after a search moved away from it.
    for (const QString& device : {m_openedWith, m_values.device}) {
        if (!device.isEmpty() && !m_devices.contains(device))
            m_devices.append(device);
    }
}

CardStatus SetupModel::findReader(const CandidateShown& showCandidate, const SearchEnded& searchEnded)
{
    ReaderManager& readers = m_state.readers();
    const QStringList pcscNames = m_lister ? m_lister() : QStringList();
    const QString inUse = readers.currentDevice();

    QString found;
    CardStatus r = CardStatus::NonSpecificError;
    if (!pcscNames.isEmpty() && !pcscNames.first().isEmpty()) {
        found = kPcscPrefix + pcscNames.first();
        r = readers.selectDevice(found);
        if (r != CardStatus::Ok)
            found.clear();
    }
    if (found.isEmpty()) {
        // Each candidate that fails is passed over silently; only the outcome is reported.
        for (const QString& candidate : m_candidates) {
            if (showCandidate)
                showCandidate(candidate);
            r = readers.selectDevice(candidate);
            if (r == CardStatus::Ok) {
                found = candidate;
                break;
            }
        }
    }
    if (searchEnded)
        searchEnded();

    if (r == CardStatus::Ok) {
        m_values.device = found;
        m_prompter.messageText(StringTable::text(kReaderFound) + found, PromptIcon::Information);
    } else if (inUse != kNothing && readers.selectDevice(inUse) == CardStatus::Ok) {
        // Nothing found: the reader in use before the search is taken up again and the dialog keeps
        // the device chosen in it, rather than leaving the user with no reader at all.
        m_prompter.messageText(StringTable::text(kNoReaderFound) + QLatin1Char('\n') +
                                   StringTable::text(sid::TheReaderStaysInUse_9839).arg(inUse),
                               PromptIcon::Information);
    } else {
        readers.selectDevice(kNothing);
        m_prompter.message(kNoReaderFound, PromptIcon::Information);
    }
    // Listed afresh (a reader may have been plugged in since the dialog opened), without the
    // fixed entries appearing twice.
    listDevices(pcscNames);
    return r;
}

void SetupModel::takeCountryCode(const QString& code)
{
    if (code.isEmpty())
        return;
    m_values.intNumber = code.startsWith(u'+') ? code.mid(1) : code;
}

int SetupModel::checkInternational(const QString& intNumber, const QString& intSelector, QString& countryCode)
{
    if (!IsValidDialNumber(intNumber.toStdString()))
        return kCountryCodeError;
    countryCode = intNumber.startsWith(u'+') ? intNumber.mid(1) : intNumber;
    if (!onlyDigits(intSelector))
        return kDigitsOnlyError;
    return 0;
}

bool SetupModel::accept()
{
    QString countryCode;
    if (const int problem = checkInternational(m_values.intNumber, m_values.intSelector, countryCode)) {
        m_prompter.message(problem, PromptIcon::Stop);
        return false;
    }
    m_values.intNumber = countryCode;

    ReaderManager& readers = m_state.readers();
    const CardStatus r = readers.selectDevice(m_values.device);
    if (r != CardStatus::Ok) {
        QString text = StringTable::text(kReaderInaccessible) + m_values.device +
                       StringTable::text(kInaccessibleReason) + cardStatusMessage(r);
        // Why a card file of the virtual card or the PC/SC service could not be used.
        if (!readers.lastDetail().isEmpty())
            text += QStringLiteral(" (") + readers.lastDetail() + QLatin1Char(')');
        m_prompter.messageText(text, PromptIcon::Exclamation);
        return false;
    }

    AppSettings& s = m_state.settings();
    s.autoRead = m_values.autoRead ? 1 : 0;
    s.confirm = m_values.confirm ? 1 : 0;
    s.startWMin = m_values.startWMin ? 1 : 0;
    s.intNumber = m_values.intNumber;
    s.intSelector = m_values.intSelector;
    s.enCache = m_values.enCache ? 1 : 0;
    s.unicodeNames = m_values.unicodeNames ? 1 : 0;
    s.prnHdrAdj = m_values.prnHdrAdj ? 1 : 0;
    s.device = m_values.device;
    s.language = m_values.language;
    s.scrFree = 1;
    m_state.saveSettings();
    return true;
}

} // namespace kestrel
