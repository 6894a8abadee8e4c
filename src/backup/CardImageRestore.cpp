#include <algorithm>

#include "app/CardOperation.h"
#include "app/Prompter.h"
#include "backup/BackupOperations.h"
#include "backup/CardImage.h"
#include "base/StringIds.h"
#include "emulator/CardFile.h"
#include "gsm/StatusWords.h"
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

// READ/UPDATE RECORD mode of P2: the previous record (the oldest of a cyclic file), absolute.
constexpr int kModePrevious = 3;
constexpr int kModeAbsolute = 4;

struct UserFile
{
    uint16_t df;
    uint16_t ef;
    bool needsPin2; // UPDATE is CHV2 on the standard card
};
// The files a user or a phone writes. EF_SMSS is not among them: its message reference and
// "memory capacity exceeded" flag are the state of the card's own dealings with the network.
constexpr UserFile kUserFiles[] = {
    {gsm::fid::kDfTelecom, gsm::fid::kEfAdn, false},  {gsm::fid::kDfTelecom, gsm::fid::kEfFdn, true},
    {gsm::fid::kDfTelecom, gsm::fid::kEfExt1, false}, {gsm::fid::kDfTelecom, gsm::fid::kEfExt2, true},
    {gsm::fid::kDfTelecom, gsm::fid::kEfSms, false},  {gsm::fid::kDfTelecom, gsm::fid::kEfSmsp, false},
    {gsm::fid::kDfTelecom, gsm::fid::kEfLnd, false},  {gsm::fid::kDfTelecom, gsm::fid::kEfMsisdn, false},
    {gsm::fid::kDfGsm, gsm::fid::kEfPlmnSel, false},  {gsm::fid::kDfGsm, gsm::fid::kEfFplmn, false},
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
    uint16_t df = 0;
    QString name;
    QString path;
    std::vector<PlannedWrite> writes;
};

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
        return std::equal(rec.begin(), rec.end(), empty.begin(), empty.end());
    };
    FileInfo info;
    if (!card.selectFile(df, user.ef, nullptr, &info)) {
        if (card.lastSw() != gsm::sw::kNotFound)
            return false;
        card.setLastStatus(CardStatus::Ok);
        // An empty file needs no room on the card.
        bool imageEmpty = image.structure == emulator::FileStructure::Transparent ? allFf(image.data) : true;
        for (int r = 0; r < imageCount && image.structure != emulator::FileStructure::Transparent; ++r)
            imageEmpty = imageEmpty && imageRecordEmpty(r);
        if (!imageEmpty)
            mismatch = StringTable::text(kNotOnCard).arg(name);
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

const SimFile* imageFile(const emulator::SimCardData& image, uint16_t df, uint16_t ef, uint16_t& foundDf)
{
    for (const SimFile& f : image.files) {
        if (f.isDirectory() || f.path.size() != 3 || f.id() != ef)
            continue;
        if (f.path[1] == df || (df == gsm::fid::kDfGsm && f.path[1] == gsm::fid::kDfDcs1800)) {
            foundDf = f.path[1];
            return &f;
        }
    }
    return nullptr;
}

} // namespace

bool CardImage::restoreFiles(const emulator::SimCardData& image, ImageOutcome& outcome)
{
    std::vector<FilePlan> plans;
    for (const UserFile& user : kUserFiles) {
        uint16_t df = user.df;
        const SimFile* file = imageFile(image, user.df, user.ef, df);
        if (!file)
            continue;
        FilePlan plan;
        plan.file = &user;
        plan.df = df;
        plan.name = QString::fromStdString(file->name.empty() ? emulator::formatPath({user.ef}) : file->name);
        plan.path = QString::fromStdString(emulator::formatPath(file->path));
        if (!m_card.showProgress(StringTable::text(sid::ReadingCardFile_9960).arg(plan.name, plan.path), 0) ||
            !planFile(m_card, *file, df, user, plan, outcome.mismatch))
            return false;
        // Nothing is written unless every file fits.
        if (!outcome.mismatch.isEmpty())
            return true;
        plans.push_back(std::move(plan));
    }
    const bool needsPin2 = std::any_of(plans.begin(), plans.end(),
                                       [](const FilePlan& p) { return p.file->needsPin2 && !p.writes.empty(); });
    if (needsPin2 && !m_card.openCard(true, true, true, false))
        return false;
    std::size_t total = 0;
    for (const FilePlan& p : plans)
        total += p.writes.size();
    std::size_t done = 0;
    for (const FilePlan& p : plans) {
        if (p.writes.empty())
            continue;
        for (const PlannedWrite& w : p.writes) {
            const int percent = static_cast<int>(100 * done++ / std::max<std::size_t>(total, 1));
            if (!m_card.showProgress(StringTable::text(kWritingFile).arg(p.name, p.path), percent))
                return false;
            int length = static_cast<int>(w.bytes.size());
            if (!m_card.updateFile(p.df, p.file->ef, w.bytes, length, w.record, w.mode))
                return false;
        }
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
        m_prompter.message(kRestoreNotWritten, PromptIcon::Exclamation);
        return outcome;
    }
    if (!outcome.mismatch.isEmpty()) {
        m_prompter.messageText(StringTable::text(kDoesNotFit).arg(outcome.mismatch), PromptIcon::Stop);
        return outcome;
    }
    int records = 0;
    for (const ImageFileWritten& w : outcome.written)
        records += w.records;
    outcome.ok = true;
    m_prompter.messageText(StringTable::text(kRestored).arg(records).arg(outcome.written.size()),
                           PromptIcon::Information);
    return outcome;
}

} // namespace kestrel
