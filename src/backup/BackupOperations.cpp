#include "backup/BackupOperations.h"

#include <span>
#include <thread>

#include "app/CardOperation.h"
#include "app/Prompter.h"
#include "backup/BackupFile.h"
#include "base/StringIds.h"
#include "codec/FixedText.h"
#include "codec/PcText.h"
#include "sim/DialFiles.h"
#include "sim/NetworkFiles.h"
#include "sim/SimCard.h"
#include "sim/SmsFiles.h"
#include "sim/SmsParameters.h"

namespace kestrel {

namespace {

constexpr int kCaptionBackup = sid::BackingUpSimCard_5108;              // "Kestrel! - Backing-Up SIM Card"
constexpr int kCaptionRestore = sid::RestoringSimCard_5109;             // "Kestrel! - Restoring SIM Card"
constexpr int kReadingPlmn = sid::ReadingPreferredNetworks_5009;        // "Reading preferred networks"
constexpr int kWritingPlmn = sid::WritingPreferredNetworks_5010;        // "Writing preferred networks"
constexpr int kReadingFplmn = sid::ReadingListOfForbiddenNetworks_5019; // "Reading list of forbidden networks"
constexpr int kWritingFplmn = sid::WritingListOfForbiddenNetworks_5020; // "Writing list of forbidden networks"
constexpr int kBadCentre = sid::BadSmsCenterNumberEntered_57347;        // "Bad SMS center number entered"
constexpr int kPartNotRestorable =
    strId(sid::CannotBeRestoredToThis_9400);                   // "%1 cannot be restored to this card whole; ..."
constexpr int kPartPhoneBook = strId(sid::PhoneBook_1096);     // "Phone book"
constexpr int kPartFdn = strId(sid::FixedDialingNumbers_1097); // "Fixed Dialing Numbers"
constexpr int kPartSms = strId(sid::SmsMessages_1098);         // "SMS messages"

// EF_SMSP is service 12 of the GSM 11.11 service table.
constexpr int kSmsParametersService = 12;
// SW 94 04: the file (or its DF) is not on the card.
constexpr uint16_t kFileNotFound = 0x9404;

// Both commands make the card ready with CHV1 and the offer to unblock a blocked card; a restore
// of fixed dialling numbers also needs CHV2.
OpenFlags openFlags(bool chv2)
{
    OpenFlags flags;
    flags.chv1 = true;
    flags.chv2 = chv2;
    flags.strict = true;
    flags.toolkit = false;
    flags.offerUnblock = true;
    return flags;
}

template <typename Entry, std::size_t N>
std::span<Entry> firstEntries(std::array<Entry, N>& entries, int count)
{
    return std::span<Entry>(entries.data(), static_cast<std::size_t>(count));
}

// A network list the card does not have reads as an empty list.
bool readNetworkList(SimCard& card, std::vector<PlmnEntry>& list, bool forbidden)
{
    NetworkFiles files(card);
    if (files.readPlmnList(list, forbidden))
        return true;
    if (card.lastSw() != kFileNotFound)
        return false;
    list.clear();
    card.setLastStatus(CardStatus::Ok);
    return true;
}

void pause(std::chrono::milliseconds duration)
{
    if (duration.count() > 0)
        std::this_thread::sleep_for(duration);
}

} // namespace

BackupOperations::BackupOperations(SimCard& card, Prompter& prompter, ProgressSink* progress, BackupPacing pacing)
    : m_card(card), m_prompter(prompter), m_progress(progress), m_pacing(pacing),
      m_contents(std::make_unique<BackupContents>())
{}

BackupOperations::~BackupOperations() = default;

namespace {

// Names and message texts whose characters the file's Windows-1250 fields cannot all hold (they
// are saved with "?" in their place).
int textsTheFileCannotHold(const BackupContents& c)
{
    int count = 0;
    auto check = [&count](std::string_view text) {
        bool lossy = false;
        (void)toWindows1250(text, &lossy);
        count += lossy ? 1 : 0;
    };
    for (int i = 0; i < c.phoneBookCount; ++i)
        check(fixedText(c.phoneBook[static_cast<std::size_t>(i)].name));
    for (int i = 0; i < c.fdnCount; ++i)
        check(fixedText(c.fdn[static_cast<std::size_t>(i)].name));
    for (int i = 0; i < c.smsCount; ++i)
        check(fixedText(c.sms[static_cast<std::size_t>(i)].text));
    return count;
}

} // namespace

int BackupOperations::show(int messageId, bool failure)
{
    m_prompter.message(messageId, failure ? PromptIcon::Exclamation : PromptIcon::Information);
    return messageId;
}

namespace {

// What an EF_SMSP access that did not succeed has to say, if anything (a closed PIN prompt says
// nothing).
void showSmspFailure(Prompter& prompter, const SmsParameters& result)
{
    if (result.messageId() == kBadCentre)
        prompter.message(kBadCentre, PromptIcon::Stop);
    else if (result.messageId() != 0)
        prompter.showCardError(result.message());
}

} // namespace

// ---- backup ------------------------------------------------------------------------------------

template <typename Read>
bool BackupOperations::readPart(int nameId, Read&& read)
{
    if (read())
        return true;
    // The card refusing one file (EF_ADN invalidated while fixed dialling is in force, an access
    // condition not fulfilled) costs that part only; a reader failure or Abort ends the backup.
    const CardStatus status = m_card.lastStatus();
    if (status != CardStatus::InaccessibleRecord && status != CardStatus::NoValidPin &&
        status != CardStatus::FileNotAccessible)
        return false;
    return skipPart(nameId, status);
}

bool BackupOperations::skipPart(int nameId, CardStatus status)
{
    m_skipped.push_back(SkippedPart{nameId, status});
    // A read that failed part-way dropped the caches, the service table with them: the card is
    // made ready again for the next part (the same card, no prompt for a remembered PIN1).
    if (m_card.serviceTable().empty() && !m_card.openCard(true, false, true, false))
        return false;
    m_card.setLastStatus(CardStatus::Ok);
    return true;
}

bool BackupOperations::readCardFiles(bool& hasSmsParameters)
{
    BackupContents& c = *m_contents;
    // Noted while the service table is there: a failed read drops it with the images.
    hasSmsParameters = m_card.hasService(kSmsParametersService);
    const bool hasAdn = m_card.hasService(gsm::service::kAdn);
    const bool hasFdn = m_card.hasService(gsm::service::kFdn);
    const bool hasSms = m_card.hasService(gsm::service::kSms);
    DialFiles dial(m_card);
    DialListSize size;
    // Numbers cut short (their extension file unreadable) are not saved as if they were whole.
    auto dialPart = [&](uint16_t file, int nameId, std::span<DialEntry> entries, int& count) {
        return readPart(nameId, [&] {
            if (!dial.readDialList(file, entries, size))
                return false;
            if (dial.extensionDigitsLost(file))
                return skipPart(nameId, dial.extensionStatus(file == gsm::fid::kEfFdn));
            count = size.count;
            return true;
        });
    };
    if (hasAdn && !dialPart(gsm::fid::kEfAdn, kPartPhoneBook, c.phoneBook, c.phoneBookCount))
        return false;
    if (hasFdn && !dialPart(gsm::fid::kEfFdn, kPartFdn, c.fdn, c.fdnCount))
        return false;
    if (hasSms && !readPart(kPartSms, [&] {
            int count = 0;
            if (!SmsFiles(m_card).readSmsList(c.sms, count))
                return false;
            c.smsCount = count;
            return true;
        }))
        return false;
    if (!m_card.showProgressText(kReadingPlmn, 70) || !readNetworkList(m_card, c.plmn, false))
        return false;
    if (!m_card.showProgressText(kReadingFplmn, 70) || !readNetworkList(m_card, c.fplmn, true))
        return false;
    return true;
}

int BackupOperations::readCard()
{
    // Every file comes from the card itself, none from an image of an earlier operation.
    m_card.flushCaches();
    *m_contents = BackupContents{};
    m_skipped.clear();

    CardOperation operation(m_card, m_prompter, m_progress);
    bool hasSmsParameters = false;
    if (!operation.run(kCaptionBackup, openFlags(false), [&] { return readCardFiles(hasSmsParameters); })) {
        *m_contents = BackupContents{};
        return show(kBackupNotRead, true);
    }

    if (hasSmsParameters) {
        const SmsParameters parameters = ReadSmsParameters(m_card, &m_prompter, m_progress, m_pacing.smsParameters);
        if (!parameters.result) {
            showSmspFailure(m_prompter, parameters);
            *m_contents = BackupContents{};
            return show(kBackupNotRead, true);
        }
        m_contents->serviceCentre = parameters.serviceCentre;
        m_contents->validity = parameters.validity;
    }
    return 0;
}

BackupOutcome BackupOperations::BackupCard(const TargetChooser& chooseTarget)
{
    if (const int failed = readCard(); failed != 0)
        return {false, failed};
    const std::optional<QString> path = chooseTarget();
    if (!path)
        return {false, 0};
    if (const Result saved = saveBackupFile(*path, *m_contents); !saved)
        return {false, show(saved.messageId(), true)};
    if (!m_skipped.empty()) {
        QString text = StringTable::text(kBackupPartial);
        for (const SkippedPart& part : m_skipped)
            text += QStringLiteral("\n") + StringTable::text(part.nameId) + QStringLiteral(": ") +
                    cardStatusMessage(part.status);
        m_prompter.messageText(text, PromptIcon::Exclamation);
        return {false, kBackupPartial};
    }
    if (const int lossy = textsTheFileCannotHold(*m_contents); lossy > 0) {
        m_prompter.messageText(StringTable::text(kBackupDone) + QStringLiteral("\n\n") +
                                   StringTable::text(sid::NamesOrMessageTextsHold_9910).arg(lossy),
                               PromptIcon::Information);
        return {true, kBackupDone};
    }
    return {true, show(kBackupDone, false)};
}

BackupOutcome BackupOperations::BackupCard(const QString& path)
{
    return BackupCard([&path]() -> std::optional<QString> { return path; });
}

// ---- restore -----------------------------------------------------------------------------------

int BackupOperations::readBackupFile(const QString& path)
{
    const Result loaded = loadBackupFile(path, *m_contents);
    return loaded ? 0 : show(loaded.messageId(), true);
}

bool BackupOperations::checkCardFiles(const RestoreChoice& choice)
{
    BackupContents& c = *m_contents;
    DialFiles dial(m_card);
    DialListSize size;
    int records = 0;
    auto refuse = [this](int nameId) {
        QString detail = m_card.statusDetail();
        if (!detail.isEmpty())
            detail += QStringLiteral("\r\n");
        detail += StringTable::text(kPartNotRestorable).arg(StringTable::text(nameId));
        m_card.setLastStatus(m_card.lastStatus(), detail);
        return false;
    };
    if (choice.phoneBook && c.phoneBookCount > 0 &&
        !dial.checkDialList(gsm::fid::kEfAdn, firstEntries(c.phoneBook, c.phoneBookCount), size))
        return refuse(kPartPhoneBook);
    if (choice.fdn && c.fdnCount > 0 && !dial.checkDialList(gsm::fid::kEfFdn, firstEntries(c.fdn, c.fdnCount), size))
        return refuse(kPartFdn);
    if (choice.sms && c.smsCount > 0 && !SmsFiles(m_card).checkSmsList(firstEntries(c.sms, c.smsCount), records))
        return refuse(kPartSms);
    return true;
}

bool BackupOperations::writeCardFiles(const RestoreChoice& choice)
{
    // Nothing is written unless every chosen part fits the card.
    if (!checkCardFiles(choice))
        return false;
    BackupContents& c = *m_contents;
    DialFiles dial(m_card);
    DialListSize size;
    if (choice.phoneBook && c.phoneBookCount > 0 &&
        !dial.writeDialList(gsm::fid::kEfAdn, firstEntries(c.phoneBook, c.phoneBookCount), size))
        return false;
    if (choice.fdn && c.fdnCount > 0 && !dial.writeDialList(gsm::fid::kEfFdn, firstEntries(c.fdn, c.fdnCount), size))
        return false;
    if (choice.sms && c.smsCount > 0) {
        SmsFiles sms(m_card);
        int records = 0;
        if (!sms.writeSmsList(firstEntries(c.sms, c.smsCount), records))
            return false;
    }
    if (choice.networks) {
        NetworkFiles networks(m_card);
        if (!m_card.showProgressText(kWritingPlmn, 40) || (!c.plmn.empty() && !networks.writePlmnList(c.plmn, false)))
            return false;
        if (!m_card.showProgressText(kWritingFplmn, 70) || (!c.fplmn.empty() && !networks.writePlmnList(c.fplmn, true)))
            return false;
    }
    return true;
}

int BackupOperations::writeCard(const RestoreChoice& choice)
{
    const BackupContents& c = *m_contents;
    // PIN2 only when fixed dialling numbers will really be written.
    const bool needsPin2 = choice.fdn && c.fdnCount > 0;
    const bool writesSmsParameters = choice.smsParameters && (!c.serviceCentre.empty() || !c.validity.empty());
    // The service centre is judged before the card is touched, like every other part.
    if (writesSmsParameters && !IsWritableServiceCentre(c.serviceCentre)) {
        m_prompter.message(kBadCentre, PromptIcon::Stop);
        return show(kRestoreNotWritten, true);
    }
    CardOperation operation(m_card, m_prompter, m_progress);
    bool ok = operation.run(kCaptionRestore, openFlags(needsPin2), [&] { return writeCardFiles(choice); });

    if (ok && writesSmsParameters) {
        const SmsParameters written =
            WriteSmsParameters(m_card, &m_prompter, m_progress, c.serviceCentre, c.validity, m_pacing.smsParameters);
        if (!written.result) {
            showSmspFailure(m_prompter, written);
            ok = false;
        }
    }
    pause(m_pacing.restoreEnd);
    return ok ? show(kRestoreDone, false) : show(kRestoreNotWritten, true);
}

BackupOutcome BackupOperations::RestoreCard(const QString& path, const RestoreChooser& chooseParts)
{
    if (const int failed = readBackupFile(path); failed != 0)
        return {false, failed};
    const std::optional<RestoreChoice> choice = chooseParts(*m_contents);
    if (!choice)
        return {false, 0};
    const int shown = writeCard(*choice);
    return {shown == kRestoreDone, shown};
}

BackupOutcome BackupOperations::RestoreCard(const QString& path, const RestoreChoice& choice)
{
    return RestoreCard(path, [&choice](const BackupContents&) -> std::optional<RestoreChoice> { return choice; });
}

} // namespace kestrel
