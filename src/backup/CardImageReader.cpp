#include <algorithm>
#include <set>

#include <QDateTime>

#include "app/CardOperation.h"
#include "app/Prompter.h"
#include "backup/BackupOperations.h"
#include "backup/CardImage.h"
#include "base/StringIds.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "gsm/Responses.h"
#include "gsm/StandardFiles.h"
#include "gsm/StatusWords.h"
#include "info/SimInformationReader.h"
#include "sim/SimCard.h"

namespace kestrel {

namespace {

using emulator::AccessLevel;
using emulator::SimFile;
namespace rsp = gsm::response;

constexpr int kCaptionBackup = sid::BackingUpSimCard_5108; // "Kestrel! - Backing-Up SIM Card"
constexpr int kReadingFile = sid::ReadingCardFile_9960;    // "Reading card file %1 (%2)"
constexpr int kSearching = sid::SearchingForFurtherFiles_9962;
constexpr int kWrittenWithout = sid::TheCardImageWasWritten_9963;
constexpr int kWritten = sid::TheCardImageWasWritten_9964;
constexpr int kReadCondition = sid::ItsReadAccessConditionIs_9965;
constexpr int kInvalidated = sid::InvalidatedAndNotReadableWhile_9966;
constexpr int kRefused = sid::TheCardRefusedIt_9967;
constexpr int kBeyondBounds = sid::ItsRecordsOrSizeAre_9968;
constexpr int kNote = sid::AnImageOfAReal_9983;
constexpr int kServicesOff = sid::ServicesOfTheCardsService_9984;

// READ/UPDATE BINARY offsets are 15 bits; record numbers run from 1 to 254.
constexpr int kMaxTransparentSize = 0x7FFF;
constexpr int kMaxRecords = 254;
// EF_ICCID: 10 bytes of BCD.
constexpr std::size_t kMaxIccidDigits = 20;

AccessLevel accessLevel(uint8_t nibble)
{
    switch (nibble & 0x0F) {
    case rsp::kAlways:
        return AccessLevel::Always;
    case rsp::kChv1:
        return AccessLevel::Chv1;
    case rsp::kChv2:
        return AccessLevel::Chv2;
    case rsp::kNever:
        return AccessLevel::Never;
    default: // 3 is reserved, 4-E administrative
        return AccessLevel::Adm;
    }
}

SimFile directory(std::vector<uint16_t> path)
{
    SimFile f;
    f.type = path.size() == 1 ? emulator::FileType::MF : emulator::FileType::DF;
    f.name = emulator::standardFileName(path);
    f.path = std::move(path);
    return f;
}

std::vector<uint16_t> pathOf(uint16_t df, uint16_t ef)
{
    if (df == gsm::fid::kMf)
        return {gsm::fid::kMf, ef};
    return {gsm::fid::kMf, df, ef};
}

QString nameOf(const std::vector<uint16_t>& path)
{
    const std::string name = emulator::standardFileName(path);
    return QString::fromStdString(name.empty() ? emulator::formatPath({path.back()}) : name);
}

// A file whose service EF_SST offers (both bits) while the image lacks it.
bool serviceOn(const std::vector<uint8_t>& sst, int service)
{
    const std::size_t byte = static_cast<std::size_t>(service - 1) / 4;
    const int shift = ((service - 1) % 4) * 2;
    return byte < sst.size() && ((sst[byte] >> shift) & 0x03) == 0x03;
}

void switchOff(std::vector<uint8_t>& sst, int service)
{
    const std::size_t byte = static_cast<std::size_t>(service - 1) / 4;
    sst[byte] = static_cast<uint8_t>(sst[byte] & ~(0x03 << (((service - 1) % 4) * 2)));
}

} // namespace

CardImage::CardImage(SimCard& card, Prompter& prompter, ProgressSink* progress)
    : m_card(card), m_prompter(prompter), m_progress(progress)
{}

int CardImage::readEf(uint16_t df, uint16_t ef, int percent)
{
    FileInfo info;
    if (!m_card.selectFile(df, ef, nullptr, &info)) {
        if (m_card.lastSw() != gsm::sw::kNotFound)
            return -1;
        m_card.setLastStatus(CardStatus::Ok);
        return 0;
    }
    if (info.bytes[rsp::kFileType] != rsp::kTypeEf)
        return 0;
    SimFile file;
    file.path = pathOf(df, ef);
    file.name = emulator::standardFileName(file.path);
    const QString name = nameOf(file.path);
    const QString path = QString::fromStdString(emulator::formatPath(file.path));
    if (!m_card.showProgress(StringTable::text(kReadingFile).arg(name, path), percent))
        return -1;
    auto leaveOut = [&](const QString& reason) {
        m_leftOut.push_back(ImageFileLeftOut{name, path, reason});
        return 1;
    };
    const AccessLevel read = accessLevel(info.access[0] >> 4);
    if (read == AccessLevel::Adm || read == AccessLevel::Never)
        return leaveOut(StringTable::text(kReadCondition)
                            .arg(read == AccessLevel::Adm ? QStringLiteral("ADM") : QStringLiteral("NEV")));
    const bool readableWhenInvalidated = (info.status & rsp::kReadableWhenInvalidatedBit) != 0;
    if (info.invalidated && !readableWhenInvalidated)
        return leaveOut(StringTable::text(kInvalidated));
    const bool records = info.isRecordFile();
    const int count = records ? info.recordCount : 1;
    if (info.structure == FileStructure::Other || info.fileSize < 1 ||
        (!records && info.fileSize > kMaxTransparentSize) ||
        (records &&
         (info.recordLength < 1 || count < 1 || count > kMaxRecords || info.fileSize != count * info.recordLength)))
        return leaveOut(StringTable::text(kBeyondBounds));

    file.structure = info.structure == FileStructure::Transparent ? emulator::FileStructure::Transparent
                     : info.structure == FileStructure::Cyclic    ? emulator::FileStructure::Cyclic
                                                                  : emulator::FileStructure::LinearFixed;
    file.recordLength = records ? info.recordLength : 0;
    file.access = {read, accessLevel(info.access[0]), accessLevel(info.access[1] >> 4), accessLevel(info.access[2]),
                   accessLevel(info.access[2] >> 4)};
    file.invalidated = info.invalidated;
    file.readableWhenInvalidated = readableWhenInvalidated;
    file.response.assign(info.bytes.begin(), info.bytes.end());
    file.data.assign(static_cast<std::size_t>(info.fileSize), 0xFF);
    const int chunk = records ? info.recordLength : info.fileSize;
    for (int r = 1; r <= count; ++r) {
        int length = chunk;
        const std::span<uint8_t> into = std::span<uint8_t>(file.data).subspan(static_cast<std::size_t>((r - 1) * chunk),
                                                                              static_cast<std::size_t>(chunk));
        if (m_card.readFile(df, ef, into, length, r, 4))
            continue;
        // A refusal costs this file only; a card pulled or a broken answer ends the image.
        const uint16_t sw = m_card.lastSw();
        if (sw != gsm::sw::kAccessNotFulfilled && sw != gsm::sw::kInvalidationContradiction)
            return -1;
        m_card.setLastStatus(CardStatus::Ok);
        return leaveOut(StringTable::text(kRefused).arg(QStringLiteral("%1 %2")
                                                            .arg(sw >> 8, 2, 16, QLatin1Char('0'))
                                                            .arg(sw & 0xFF, 2, 16, QLatin1Char('0'))
                                                            .toUpper()));
    }
    m_image.files.push_back(std::move(file));
    return 1;
}

bool CardImage::readDirectory(uint16_t df, int efCount, int percentFrom, int percentTo)
{
    // DF_DCS1800 holds the files of DF_GSM.
    const uint16_t key = df == gsm::fid::kMf ? 0 : df == gsm::fid::kDfDcs1800 ? gsm::fid::kDfGsm : df;
    std::vector<uint16_t> known;
    for (const gsm::StandardFile& f : gsm::kStandardFiles) {
        if (f.df == key && (f.id >> 8) != 0x7F)
            known.push_back(f.id);
    }
    const int span = percentTo - percentFrom;
    int found = 0;
    for (std::size_t i = 0; i < known.size(); ++i) {
        const int r =
            readEf(df, known[i], percentFrom + span / 2 * static_cast<int>(i) / static_cast<int>(known.size()));
        if (r < 0)
            return false;
        found += r;
    }
    // The card's own EFs beyond those of the standard, until the directory's count is reached.
    const uint16_t base = df == gsm::fid::kMf ? 0x2F00 : 0x6F00;
    const std::set<uint16_t> tried(known.begin(), known.end());
    const QString dfName = nameOf({gsm::fid::kMf, df});
    for (int low = 0; low <= 0xFF && found < efCount; ++low) {
        const auto ef = static_cast<uint16_t>(base | low);
        if (tried.contains(ef))
            continue;
        const int percent = percentFrom + span / 2 + span / 2 * low / 256;
        if ((low % 16) == 0 && !m_card.showProgress(StringTable::text(kSearching).arg(dfName), percent))
            return false;
        const int r = readEf(df, ef, percent);
        if (r < 0)
            return false;
        found += r;
    }
    return true;
}

void CardImage::finishImage(int freeMemory)
{
    const emulator::SimCardData standard = emulator::StandardCard::simCard();
    emulator::SimCardData& image = m_image;
    image.kind = emulator::CardKind::Sim;
    const std::vector<uint8_t>& atr = m_card.answerToReset();
    image.atr = atr.size() >= 2 && atr.size() <= 33 && (atr[0] == 0x3B || atr[0] == 0x3F) ? atr : standard.atr;
    image.ki = standard.ki;
    image.chv1 = standard.chv1;
    image.chv2 = standard.chv2;
    image.chv1.enabled = m_card.isChv1Enabled();
    long used = 0;
    for (const SimFile& f : image.files)
        used += f.size();
    image.memorySize = static_cast<int>(std::clamp<long>(freeMemory + used, 0, 0xFFFF));

    emulator::CardImageInfo info;
    info.madeAt = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
    // The note never costs the image: what is not a hex digit, and digits beyond the 20 of an
    // ICCID, stay out of it.
    for (const QChar c : SimInformationReader::iccidText(m_card.iccid())) {
        if (info.iccid.size() < kMaxIccidDigits && QStringLiteral("0123456789ABCDEFabcdef").contains(c))
            info.iccid.push_back(static_cast<char>(c.unicode()));
    }
    info.note =
        StringTable::text(kNote)
            .arg(QString::fromStdString(standard.chv1.code), QString::fromStdString(standard.chv2.code),
                 QString::fromStdString(standard.chv1.unblockCode), QString::fromStdString(standard.chv2.unblockCode))
            .toStdString();
    // The virtual card must not promise a file the image lacks (a file left out, or one the card
    // offers but does not have).
    auto has = [&image](uint16_t df, uint16_t ef) {
        return std::any_of(image.files.begin(), image.files.end(), [&](const SimFile& f) {
            const uint16_t dir = f.path.size() == 3 ? f.path[1] : 0;
            return f.id() == ef &&
                   (dir == df || (df == gsm::fid::kDfGsm && dir == gsm::fid::kDfDcs1800 && f.path.size() == 3));
        });
    };
    auto sst = std::find_if(image.files.begin(), image.files.end(), [](const SimFile& f) {
        return f.id() == gsm::fid::kEfSst && f.path.size() == 3 && !f.invalidated;
    });
    QStringList off;
    if (sst != image.files.end()) {
        for (const emulator::StandardCard::ServiceFile& s : emulator::StandardCard::serviceFiles()) {
            if (serviceOn(sst->data, s.service) && !has(s.df, s.ef)) {
                switchOff(sst->data, s.service);
                off.append(QString::number(s.service));
            }
        }
    }
    off.removeDuplicates();
    if (!off.isEmpty())
        info.note += " " + StringTable::text(kServicesOff).arg(off.join(QStringLiteral(", "))).toStdString();
    image.image = std::move(info);
}

bool CardImage::readCardFiles()
{
    using namespace gsm::fid;
    DirectoryInfo mf;
    if (!m_card.selectFile(kMf, 0, &mf))
        return false;
    m_image.files.push_back(directory({kMf}));
    if (!readDirectory(kMf, mf.efCount, 0, 10))
        return false;
    struct Stage
    {
        uint16_t df;
        uint16_t fallback;
        int from, to;
    };
    for (const Stage& stage : {Stage{kDfTelecom, 0, 10, 50}, Stage{kDfGsm, kDfDcs1800, 50, 100}}) {
        DirectoryInfo info;
        uint16_t df = stage.df;
        bool there = m_card.selectFile(df, 0, &info);
        if (!there && m_card.lastSw() == gsm::sw::kNotFound && stage.fallback != 0) {
            df = stage.fallback;
            there = m_card.selectFile(df, 0, &info);
        }
        if (!there && m_card.lastSw() != gsm::sw::kNotFound)
            return false;
        m_card.setLastStatus(CardStatus::Ok);
        if (!there)
            continue;
        m_image.files.push_back(directory({kMf, df}));
        if (!readDirectory(df, info.efCount, stage.from, stage.to))
            return false;
    }
    finishImage(mf.freeMemory);
    return true;
}

ImageOutcome CardImage::BackupImage(const TargetChooser& chooseTarget)
{
    ImageOutcome outcome;
    m_image = emulator::SimCardData{};
    m_leftOut.clear();
    // Every file comes from the card itself.
    m_card.flushCaches();
    CardOperation operation(m_card, m_prompter, m_progress);
    OpenFlags flags;
    flags.chv1 = true;
    flags.offerUnblock = true;
    if (!operation.run(kCaptionBackup, flags, [this] { return readCardFiles(); })) {
        m_prompter.message(kBackupNotRead, PromptIcon::Exclamation);
        outcome.shown = true;
        return outcome;
    }
    const std::optional<QString> path = chooseTarget();
    if (!path)
        return outcome;
    outcome.shown = true;
    QString error = emulator::CardFile::check(m_image);
    if (error.isEmpty() && emulator::CardFile::save(m_image, *path, error)) {
        outcome.ok = true;
        for (const SimFile& f : m_image.files)
            outcome.filesSaved += f.isDirectory() ? 0 : 1;
        outcome.leftOut = m_leftOut;
    }
    if (!outcome.ok) {
        m_prompter.messageText(error, PromptIcon::Exclamation);
        return outcome;
    }
    QString text = StringTable::text(kWritten).arg(outcome.filesSaved);
    if (!m_leftOut.empty()) {
        text += QStringLiteral("\n\n") + StringTable::text(kWrittenWithout);
        for (const ImageFileLeftOut& f : m_leftOut)
            text += QStringLiteral("\n%1 (%2): %3").arg(f.name, f.path, f.reason);
    }
    m_prompter.messageText(text, m_leftOut.empty() ? PromptIcon::Information : PromptIcon::Exclamation);
    return outcome;
}

ImageOutcome CardImage::BackupImage(const QString& path)
{
    return BackupImage([&path]() -> std::optional<QString> { return path; });
}

} // namespace kestrel
