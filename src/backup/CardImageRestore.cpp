#include <algorithm>

#include "app/CardOperation.h"
#include "app/Prompter.h"
#include "backup/BackupOperations.h"
#include "backup/CardImage.h"
#include "base/StringIds.h"
#include "codec/DialRecord.h"
#include "emulator/CardFile.h"
#include "gsm/Responses.h"
#include "gsm/StatusWords.h"
#include "sim/DialChain.h"
#include "sim/SimCard.h"

namespace kestrel {

namespace {

using emulator::SimFile;

constexpr int kCaptionRestore = sid::RestoringSimCard_5109; // "Kestrel! - Restoring SIM Card"
constexpr int kWritingFile = sid::WritingCardFile_9961;     // "Writing card file %1 (%2)"
constexpr int kNotAnImage = sid::TheFileIsNotA_9969;
constexpr int kDoesNotFit = sid::TheCardImageDoesNot_9970;
constexpr int kNotOnCard = sid::InTheImageNotOn_9971;
constexpr int kStructureDiffers = sid::InTheImageOnThis_9972;
constexpr int kRecordLengthDiffers = sid::RecordsOfBytesInThe_9973;
constexpr int kRecordCountDiffers = sid::RecordsInTheImageOn_9974;
constexpr int kSizeDiffers = sid::BytesInTheImageOn_9975;
constexpr int kRestored = sid::TheCardImageWasRestored_9979;
constexpr int kTelephoneImage = sid::TheCardImageIsOne_9985;
constexpr int kUpdateAdm = sid::UpdatedOnlyByTheCards_9986;
constexpr int kUpdateNever = sid::NeverUpdatedNevOnThis_9987;
constexpr int kNotUpdatable = sid::InvalidatedOnThisCardAnd_9988;
constexpr int kGoOn = sid::RecordsInFilesOfThe_9989;
constexpr int kAlreadyHeld = sid::TheCardAlreadyHoldsThe_9990;
constexpr int kWrittenBefore = sid::WrittenBeforeTheFailure_9991;
constexpr int kNothingBefore = sid::NothingWasWrittenBeforeThe_9992;
constexpr int kFailedWhile = sid::TheFailureCameWhileWriting_9993;

// READ/UPDATE RECORD mode of P2: the previous record (the oldest of a cyclic file), absolute.
constexpr int kModePrevious = 3;
constexpr int kModeAbsolute = 4;

struct UserFile
{
    uint16_t df; // DF_GSM stands for DF_GSM or DF_DCS1800
    uint16_t ef;
};
// The files a user or a phone writes. EF_SMSS is not among them: its message reference and
// "memory capacity exceeded" flag are the state of the card's own dealings with the network.
constexpr UserFile kUserFiles[] = {
    {gsm::fid::kDfTelecom, gsm::fid::kEfAdn},  {gsm::fid::kDfTelecom, gsm::fid::kEfFdn},
    {gsm::fid::kDfTelecom, gsm::fid::kEfExt1}, {gsm::fid::kDfTelecom, gsm::fid::kEfExt2},
    {gsm::fid::kDfTelecom, gsm::fid::kEfSms},  {gsm::fid::kDfTelecom, gsm::fid::kEfSmsp},
    {gsm::fid::kDfTelecom, gsm::fid::kEfLnd},  {gsm::fid::kDfTelecom, gsm::fid::kEfMsisdn},
    {gsm::fid::kDfGsm, gsm::fid::kEfPlmnSel},  {gsm::fid::kDfGsm, gsm::fid::kEfFplmn},
};

// The empty record of a file: a free EF_SMS record has status 00, every other byte FF.
std::vector<uint8_t> emptyRecord(uint16_t ef, int length)
{
    std::vector<uint8_t> r(static_cast<std::size_t>(length), 0xFF);
    if (ef == gsm::fid::kEfSms && length > 0)
        r[0] = 0x00;
    return r;
}

bool allFf(std::span<const uint8_t> bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0xFF; });
}

// Whether a record of an image's file holds nothing, by what it means rather than byte for byte:
// a phone frees an EF_SMS record by its status byte and leaves the message's bytes behind.
bool recordFree(uint16_t ef, std::span<const uint8_t> record, std::span<const uint8_t> empty)
{
    using namespace gsm::fid;
    if (record.empty())
        return true;
    switch (ef) {
    case kEfSms: // status byte bit 1 clear: free
        return (record[0] & 0x01) == 0;
    case kEfAdn:
    case kEfFdn:
    case kEfLnd:
    case kEfMsisdn: {
        if (record.size() < kDialRecordOverhead)
            break;
        // No name, and a number length of FF (empty) or 00 (no number).
        const std::size_t x = record.size() - kDialRecordOverhead;
        return !dialchain::dialRecordUsed(record, x) || ((x == 0 || record[0] == 0xFF) && record[x] == 0x00);
    }
    case kEfExt1:
    case kEfExt2: // record type 00 or FF: neither a subaddress nor additional data
        return record[0] == 0x00 || record[0] == 0xFF;
    case kEfSmsp:
        return allFf(record);
    default:
        break;
    }
    return std::equal(record.begin(), record.end(), empty.begin(), empty.end());
}

QString structureText(emulator::FileStructure s)
{
    switch (s) {
    case emulator::FileStructure::LinearFixed:
        return StringTable::text(sid::LinearFixed_9977);
    case emulator::FileStructure::Cyclic:
        return StringTable::text(sid::Cyclic_9978);
    case emulator::FileStructure::Transparent:
        break;
    }
    return StringTable::text(sid::Transparent_9976);
}

emulator::FileStructure structureOf(const FileInfo& info)
{
    switch (info.structure) {
    case FileStructure::LinearFixed:
        return emulator::FileStructure::LinearFixed;
    case FileStructure::Cyclic:
        return emulator::FileStructure::Cyclic;
    default:
        return emulator::FileStructure::Transparent;
    }
}

// One UPDATE of the plan: a record (or, record 0, the transparent body) and its bytes.
struct PlannedWrite
{
    int record = 0;
    int mode = kModeAbsolute;
    std::vector<uint8_t> bytes;
};

struct FilePlan
{
    const UserFile* file = nullptr;
    uint16_t df = 0; // the card's DF
    QString name;
    QString path;
    uint8_t update = gsm::response::kAlways; // the card's UPDATE access condition
    std::vector<PlannedWrite> writes;
};

// Why the card does not let a planned file be written (empty when it does).
QString notWritable(const FilePlan& plan)
{
    if (plan.writes.empty())
        return {};
    if (plan.update == gsm::response::kNever)
        return StringTable::text(kUpdateNever).arg(plan.name);
    // 3 is reserved, 4-E administrative: neither is a code this program presents.
    if (plan.update > gsm::response::kChv2)
        return StringTable::text(kUpdateAdm).arg(plan.name);
    return {};
}

// The card's DF holding the files of DF_GSM: DF_GSM, else DF_DCS1800 (DF_GSM when it has neither,
// whose files are then not on the card). False on a card failure.
bool gsmDirectory(SimCard& card, uint16_t& df)
{
    for (const uint16_t candidate : {gsm::fid::kDfGsm, gsm::fid::kDfDcs1800}) {
        if (card.selectFile(candidate, 0)) {
            df = candidate;
            return true;
        }
        if (card.lastSw() != gsm::sw::kNotFound)
            return false;
        card.setLastStatus(CardStatus::Ok);
    }
    df = gsm::fid::kDfGsm;
    return true;
}

} // namespace

namespace {

// Checks one image file against the card's and plans the UPDATEs that make the card's equal to
// it. False with the card's status on a card failure; mismatch set when the file does not fit.
bool planFile(SimCard& card, const SimFile& image, uint16_t df, const UserFile& user, FilePlan& plan, QString& mismatch)
{
    const QString& name = plan.name;
    const int imageCount = image.structure == emulator::FileStructure::Transparent ? 1 : image.recordCount();
    const std::vector<uint8_t> empty = emptyRecord(user.ef, image.recordLength);
    auto imageRecordEmpty = [&](int r) {
        const std::span<const uint8_t> rec(image.data.data() + static_cast<std::ptrdiff_t>(r) * image.recordLength,
                                           static_cast<std::size_t>(image.recordLength));
        return recordFree(user.ef, rec, empty);
    };
    auto imageEmpty = [&] {
        if (image.structure == emulator::FileStructure::Transparent)
            return allFf(image.data);
        for (int r = 0; r < imageCount; ++r) {
            if (!imageRecordEmpty(r))
                return false;
        }
        return true;
    };
    FileInfo info;
    if (!card.selectFile(df, user.ef, nullptr, &info)) {
        if (card.lastSw() != gsm::sw::kNotFound)
            return false;
        card.setLastStatus(CardStatus::Ok);
        // An empty file needs no room on the card.
        if (!imageEmpty())
            mismatch = StringTable::text(kNotOnCard).arg(name);
        return true;
    }
    plan.update = info.access[0] & 0x0F;
    // Such a file can be neither read nor written; one the image holds nothing in needs neither.
    if (info.invalidated && (info.status & gsm::response::kReadableWhenInvalidatedBit) == 0) {
        if (!imageEmpty())
            mismatch = StringTable::text(kNotUpdatable).arg(name);
        return true;
    }
    const emulator::FileStructure structure = structureOf(info);
    if (info.structure == FileStructure::Other || structure != image.structure) {
        mismatch = StringTable::text(kStructureDiffers)
                       .arg(name, structureText(image.structure),
                            info.structure == FileStructure::Other ? QStringLiteral("?") : structureText(structure));
        return true;
    }
    if (structure == emulator::FileStructure::Transparent) {
        const auto size = static_cast<std::size_t>(info.fileSize);
        if (size < image.data.size() && !allFf(std::span(image.data).subspan(size)))
            mismatch = StringTable::text(kSizeDiffers).arg(name).arg(image.size()).arg(info.fileSize);
        if (!mismatch.isEmpty() || size == 0)
            return true;
        std::vector<uint8_t> want(size, 0xFF);
        std::copy_n(image.data.begin(), std::min(size, image.data.size()), want.begin());
        std::vector<uint8_t> have(size, 0xFF);
        int length = static_cast<int>(size);
        if (!card.readFile(df, user.ef, have, length))
            return false;
        if (have != want)
            plan.writes.push_back(PlannedWrite{1, kModeAbsolute, std::move(want)});
        return true;
    }
    if (info.recordLength != image.recordLength) {
        mismatch = StringTable::text(kRecordLengthDiffers).arg(name).arg(image.recordLength).arg(info.recordLength);
        return true;
    }
    const int cardCount = info.recordCount;
    for (int r = cardCount; r < imageCount && mismatch.isEmpty(); ++r) {
        if (!imageRecordEmpty(r))
            mismatch = StringTable::text(kRecordCountDiffers).arg(name).arg(imageCount).arg(cardCount);
    }
    if (!mismatch.isEmpty())
        return true;
    const auto length = static_cast<std::size_t>(info.recordLength);
    std::vector<std::vector<uint8_t>> want(static_cast<std::size_t>(cardCount), empty);
    for (int r = 0; r < std::min(cardCount, imageCount); ++r) {
        const auto at = image.data.begin() + static_cast<std::ptrdiff_t>(r) * image.recordLength;
        want[static_cast<std::size_t>(r)].assign(at, at + image.recordLength);
    }
    bool anyDiffers = false;
    std::vector<bool> differs(static_cast<std::size_t>(cardCount), false);
    for (int r = 1; r <= cardCount; ++r) {
        std::vector<uint8_t> have(length, 0xFF);
        int read = info.recordLength;
        if (!card.readFile(df, user.ef, have, read, r, kModeAbsolute))
            return false;
        differs[static_cast<std::size_t>(r - 1)] = have != want[static_cast<std::size_t>(r - 1)];
        anyDiffers = anyDiffers || differs[static_cast<std::size_t>(r - 1)];
    }
    if (structure == emulator::FileStructure::Cyclic) {
        // Each UPDATE in PREVIOUS mode writes the oldest record and makes it record 1: the last
        // record goes first so that record 1 ends up the image's newest.
        for (int r = cardCount; anyDiffers && r >= 1; --r)
            plan.writes.push_back(PlannedWrite{0, kModePrevious, want[static_cast<std::size_t>(r - 1)]});
        return true;
    }
    for (int r = 1; r <= cardCount; ++r) {
        if (differs[static_cast<std::size_t>(r - 1)])
            plan.writes.push_back(PlannedWrite{r, kModeAbsolute, want[static_cast<std::size_t>(r - 1)]});
    }
    return true;
}

const SimFile* imageFile(const emulator::SimCardData& image, uint16_t df, uint16_t ef)
{
    for (const SimFile& f : image.files) {
        if (f.isDirectory() || f.path.size() != 3 || f.id() != ef)
            continue;
        // DF_GSM and DF_DCS1800 hold the same files.
        if (f.path[1] == df ||
            (df == gsm::fid::kDfGsm && (f.path[1] == gsm::fid::kDfGsm || f.path[1] == gsm::fid::kDfDcs1800))) {
            return &f;
        }
    }
    return nullptr;
}

} // namespace

bool CardImage::restoreFiles(const emulator::SimCardData& image, ImageOutcome& outcome)
{
    std::vector<FilePlan> plans;
    std::optional<uint16_t> gsmDf;
    for (const UserFile& user : kUserFiles) {
        const SimFile* file = imageFile(image, user.df, user.ef);
        if (!file)
            continue;
        uint16_t df = user.df;
        if (df == gsm::fid::kDfGsm) {
            if (!gsmDf && !gsmDirectory(m_card, gsmDf.emplace()))
                return false;
            df = *gsmDf;
        }
        FilePlan plan;
        plan.file = &user;
        plan.df = df;
        plan.name = QString::fromStdString(file->name.empty() ? emulator::formatPath({user.ef}) : file->name);
        plan.path = QString::fromStdString(emulator::formatPath({gsm::fid::kMf, df, user.ef}));
        if (!m_card.showProgress(StringTable::text(sid::ReadingCardFile_9960).arg(plan.name, plan.path), 0) ||
            !planFile(m_card, *file, df, user, plan, outcome.mismatch))
            return false;
        if (outcome.mismatch.isEmpty())
            outcome.mismatch = notWritable(plan);
        // Nothing is written unless every file fits and can be written.
        if (!outcome.mismatch.isEmpty())
            return true;
        if (!plan.writes.empty())
            plans.push_back(std::move(plan));
    }
    std::size_t total = 0;
    QStringList files;
    for (const FilePlan& p : plans) {
        total += p.writes.size();
        files.append(QStringLiteral("%1 (%2)").arg(p.name).arg(p.writes.size()));
    }
    if (total == 0)
        return true;
    if (m_prompter.questionText(
            StringTable::text(kGoOn).arg(total).arg(plans.size()).arg(files.join(QStringLiteral(", "))),
            PromptButtons::YesNo, PromptIcon::Question) != PromptAnswer::Yes) {
        outcome.declined = true;
        return true;
    }
    const bool needsPin2 =
        std::any_of(plans.begin(), plans.end(), [](const FilePlan& p) { return p.update == gsm::response::kChv2; });
    if (needsPin2 && !m_card.openCard(true, true, true, false))
        return false;
    std::size_t done = 0;
    for (const FilePlan& p : plans) {
        ImageWriteFailure& at =
            outcome.failedAt.emplace(ImageWriteFailure{p.name, 0, static_cast<int>(p.writes.size())});
        for (const PlannedWrite& w : p.writes) {
            const int percent = static_cast<int>(100 * done++ / total);
            if (!m_card.showProgress(StringTable::text(kWritingFile).arg(p.name, p.path), percent))
                return false;
            int length = static_cast<int>(w.bytes.size());
            if (!m_card.updateFile(p.df, p.file->ef, w.bytes, length, w.record, w.mode))
                return false;
            ++at.recordsWritten;
        }
        outcome.failedAt.reset();
        outcome.written.push_back(ImageFileWritten{p.name, static_cast<int>(p.writes.size())});
    }
    return true;
}

ImageOutcome CardImage::RestoreImage(const QString& path)
{
    ImageOutcome outcome;
    outcome.shown = true;
    const emulator::CardFileResult loaded = emulator::CardFile::load(path);
    if (!loaded.ok) {
        m_prompter.messageText(StringTable::text(kNotAnImage).arg(loaded.error), PromptIcon::Exclamation);
        return outcome;
    }
    if (loaded.card.kind != emulator::CardKind::Sim) {
        m_prompter.message(kTelephoneImage, PromptIcon::Exclamation);
        return outcome;
    }
    CardOperation operation(m_card, m_prompter, m_progress);
    OpenFlags flags;
    flags.chv1 = true;
    flags.offerUnblock = true;
    const bool ran = operation.run(kCaptionRestore, flags, [&] { return restoreFiles(loaded.card, outcome); });
    // The card's files changed under every image and map the SimCard keeps.
    m_card.flushCaches();
    if (!ran) {
        // What the card holds now: the files written whole, the one the failure stopped.
        QStringList written;
        for (const ImageFileWritten& w : outcome.written)
            written.append(QStringLiteral("%1 (%2)").arg(w.name).arg(w.records));
        QStringList said;
        if (!written.isEmpty())
            said.append(StringTable::text(kWrittenBefore).arg(written.join(QStringLiteral(", "))));
        else if (!outcome.failedAt || outcome.failedAt->recordsWritten == 0)
            said.append(StringTable::text(kNothingBefore));
        if (outcome.failedAt)
            said.append(StringTable::text(kFailedWhile)
                            .arg(outcome.failedAt->name)
                            .arg(outcome.failedAt->recordsWritten)
                            .arg(outcome.failedAt->records));
        const QString text =
            StringTable::text(kRestoreNotWritten) + QStringLiteral("\n\n") + said.join(QLatin1Char(' '));
        m_prompter.messageText(text, PromptIcon::Exclamation);
        return outcome;
    }
    // No to the question: nothing written, nothing more said.
    if (outcome.declined) {
        outcome.shown = false;
        return outcome;
    }
    if (!outcome.mismatch.isEmpty()) {
        m_prompter.messageText(StringTable::text(kDoesNotFit).arg(outcome.mismatch), PromptIcon::Stop);
        return outcome;
    }
    outcome.ok = true;
    if (outcome.written.empty()) {
        m_prompter.message(kAlreadyHeld, PromptIcon::Information);
        return outcome;
    }
    int records = 0;
    for (const ImageFileWritten& w : outcome.written)
        records += w.records;
    m_prompter.messageText(StringTable::text(kRestored).arg(records).arg(outcome.written.size()),
                           PromptIcon::Information);
    return outcome;
}

} // namespace kestrel
