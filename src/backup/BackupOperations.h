#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QString>

#include "base/CardStatus.h"
#include "base/StringTable.h"
#include "codec/BackupContents.h"

namespace kestrel {

class ProgressSink;
class Prompter;
class SimCard;

// Messages the two commands end with (besides the card-error dialog of a failed card step).
constexpr int kBackupNotRead = strId(sid::DataNotFullyReadFrom_57421); // "Data not fully read from SIM Card..."
constexpr int kBackupDone =
    strId(sid::BackupOfSimCardSuccessfully_57424); // "Backup of SIM Card successfully completed"
constexpr int kRestoreNotWritten = strId(sid::DataNotFullyWrittenTo_57429); // "Data not fully written to SIM Card..."
constexpr int kRestoreDone =
    strId(sid::RestorationOfSimCardSuccessfully_57430); // "Restoration of SIM Card successfully completed"
constexpr int kBackupPartial =
    strId(sid::TheBackupFileWasWritten_9401); // "The backup file was written without these parts:"

// What to write back to the card; the restore-choice dialog opens with everything ticked.
struct RestoreChoice
{
    bool phoneBook = true;
    bool fdn = true;
    bool sms = true;
    bool smsParameters = true;
    bool networks = true;
};

// The pauses that let the user see a finished progress window on the desktop. The command line
// and the tests run without them.
struct BackupPacing
{
    // Before the final message of a restore.
    std::chrono::milliseconds restoreEnd{400};
    // The EF_SMSP window stays at 100 % this long.
    std::chrono::milliseconds smsParameters{500};

    static BackupPacing unpaced() { return {std::chrono::milliseconds(0), std::chrono::milliseconds(0)}; }
};

// A part of the card a backup could not read (the card refused it: EF_ADN invalidated while fixed
// dialling is in force, a file it does not grant access to; or its extension file was unreadable
// and numbers would be cut short), saved empty.
struct SkippedPart
{
    int nameId = 0; // the part's name in the string table ("Phone book", ...)
    CardStatus status = CardStatus::Ok;
};

// How a command ended.
struct BackupOutcome
{
    bool ok = false;
    // The message shown last (57421-57430), 0 when the user cancelled a dialog and nothing was
    // shown.
    int messageId = 0;
};

// The whole-card commands over a .SIM backup file, without a display: the file name and the
// restore choice come from the caller (or from its dialogs, through the callbacks), progress goes
// to the SimCard's window, and questions, PIN prompts, the card error and the final message go to
// the Prompter.
//
// BackupCard reads EF_ADN, EF_FDN and EF_SMS (each only when the card has it), EF_PLMNsel and
// EF_FPLMN in one card operation, then EF_SMSP in its own access, and only then writes the file,
// atomically: an existing file is replaced only by a complete new one. A part the card refuses to
// give (EF_ADN while fixed dialling is in force) is saved empty and named in the closing message
// (sid::TheBackupFileWasWritten_9401) instead of "successfully completed"; the outcome is then not ok.
//
// RestoreCard reads the whole file first (a broken file writes nothing), then checks every chosen
// part against the card (positions inside its files, messages that fit its records, long numbers
// that fit its free extension records, a service centre that can be written) before the first
// UPDATE: a file that cannot be restored whole writes nothing, and the card error names the part.
// It then writes the chosen parts to the stored positions in one card operation, asking for PIN2
// only when fixed dialling numbers are to be written, then the SMS parameters in their own access.
// A part the file holds no records of (its card had no such file, or refused it) is left alone on
// the target card rather than wiped.
class BackupOperations
{
public:
    using TargetChooser = std::function<std::optional<QString>()>;
    using RestoreChooser = std::function<std::optional<RestoreChoice>(const BackupContents&)>;

    BackupOperations(SimCard& card, Prompter& prompter, ProgressSink* progress = nullptr,
                     BackupPacing pacing = BackupPacing{});
    ~BackupOperations();
    BackupOperations(const BackupOperations&) = delete;
    BackupOperations& operator=(const BackupOperations&) = delete;

    // Reads the card, then asks chooseTarget for the file (nullopt: cancelled, no message) and
    // saves it.
    BackupOutcome BackupCard(const TargetChooser& chooseTarget);
    BackupOutcome BackupCard(const QString& path);

    // Reads the file, asks chooseParts what to restore (nullopt: cancelled, no message) and writes
    // it to the card.
    BackupOutcome RestoreCard(const QString& path, const RestoreChooser& chooseParts);
    BackupOutcome RestoreCard(const QString& path, const RestoreChoice& choice);

    // The steps on their own. readCard fills contents() from the card (0 or sid::DataNotFullyReadFrom_57421, shown);
    // readBackupFile fills it from a file (0 or sid::CannotOpenBackupFileRestore_57426,
    // sid::ErrorInBackupFileStructure_57427 or sid::ErrorWhileReadingFileRestore_57428, shown); writeCard writes
    // contents() to the card (sid::RestorationOfSimCardSuccessfully_57430 or sid::DataNotFullyWrittenTo_57429, shown).
    int readCard();
    int readBackupFile(const QString& path);
    int writeCard(const RestoreChoice& choice);

    // What the last read (card or file) found.
    const BackupContents& contents() const { return *m_contents; }
    // The parts the last card read saved empty because the card refused them.
    const std::vector<SkippedPart>& skipped() const { return m_skipped; }

private:
    // hasSmsParameters: whether the card has EF_SMSP.
    bool readCardFiles(bool& hasSmsParameters);
    bool writeCardFiles(const RestoreChoice& choice);
    bool checkCardFiles(const RestoreChoice& choice);
    // Reads one part; a refusal by the card skips it (true), any other failure is false.
    template <typename Read>
    bool readPart(int nameId, Read&& read);
    // The part is saved empty and named in the closing message; true unless the card cannot be
    // made ready again for the next part.
    bool skipPart(int nameId, CardStatus status);
    int show(int messageId, bool failure);

    SimCard& m_card;
    Prompter& m_prompter;
    ProgressSink* m_progress;
    BackupPacing m_pacing;
    // Some 100 KiB: kept off the stack.
    std::unique_ptr<BackupContents> m_contents;
    std::vector<SkippedPart> m_skipped;
};

} // namespace kestrel
