#include "sim/SmsFiles.h"

#include <algorithm>
#include <array>
#include <thread>
#include <vector>

#include "base/StringTable.h"
#include "codec/SmsCodec.h"
#include "gsm/Instructions.h"
#include "sim/DialFiles.h"
#include "sim/SimCard.h"

namespace kestrel {

namespace {

using namespace gsm::fid;

// READ/UPDATE RECORD carry the record number in P1: a file may hold more, but no more can be
// addressed.
constexpr int kMaxRecords = 255;

constexpr int kTextChecking =
    sid::CheckingSmsMessagesOnSim_5016; // "Checking SMS messages on SIM\nChecking Item %u (total %u)"
constexpr int kTextReading =
    sid::ReadingSmsMessagesFromSim_5017; // "Reading SMS messages from SIM\nReading item %u (total %u)"
constexpr int kTextWriting =
    sid::WritingSmsMessagesToSim_5018;                    // "Writing SMS messages to SIM\nWriting Item %u (total %u)"
constexpr int kTextTooLong = sid::MessageIsTooLong_57722; // "Message is too long"

bool isRecordFile(const FileInfo& info)
{
    return info.isRecordFile();
}

int recordCount(const FileInfo& info)
{
    return std::min(info.recordCount, kMaxRecords);
}

} // namespace

bool SmsFiles::failAndFlush()
{
    // No image of unknown state survives a failure; the status (and its detail) stay.
    m_card.flushCaches();
    return false;
}

bool SmsFiles::readSmsFile(int textId)
{
    FileInfo info;
    if (!m_card.selectFile(kDfTelecom, kEfSms, nullptr, &info))
        return failAndFlush();
    if (!isRecordFile(info)) {
        m_card.setLastStatus(CardStatus::NonSpecificError);
        return failAndFlush();
    }
    const int length = info.recordLength;
    const int n = recordCount(info);

    std::optional<FileImage>& image = m_card.image(CachedFile::Sms);
    // An image of another shape than the file on the card is not this file's.
    if (image && (image->recordCount != n || image->recordLength != length))
        image.reset();
    const bool fromCard = !image;
    if (fromCard)
        image.emplace(n, length);

    const int format = textId != 0 ? textId : kTextChecking;
    for (int i = 1; i <= n; ++i) {
        if (!m_card.showProgressItem(format, static_cast<unsigned>(i), static_cast<unsigned>(n), false))
            return failAndFlush();
        if (fromCard) {
            std::array<uint8_t, 256> buffer;
            buffer.fill(0xFF);
            int got = static_cast<int>(buffer.size());
            if (!m_card.readFile(kDfTelecom, kEfSms, buffer, got, i, gsm::recordMode::kAbsolute))
                return failAndFlush();
            const std::span<uint8_t> target = image->record(i);
            std::copy_n(buffer.begin(), std::min(target.size(), buffer.size()), target.begin());
        } else if (m_card.progress().showing() && m_imagePause.count() > 0) {
            std::this_thread::sleep_for(m_imagePause);
        }
    }
    m_card.setLastStatus(CardStatus::Ok);
    return true;
}

// A reader, the SMS service allocated and EF_SMS selected; false (lastStatus set) when one fails.
bool SmsFiles::openSmsFile(FileInfo& info)
{
    if (!m_card.reader()) {
        m_card.setLastStatus(CardStatus::ReaderInaccessible);
        return false;
    }
    if (!m_card.requireService(gsm::service::kSms))
        return failAndFlush();
    if (!m_card.selectFile(kDfTelecom, kEfSms, nullptr, &info))
        return failAndFlush();
    return true;
}

bool SmsFiles::readSmsList(std::span<SmsEntry> entries, int& count)
{
    count = 0;
    FileInfo info;
    if (!openSmsFile(info))
        return false;
    const int filled =
        static_cast<int>(std::min<std::size_t>(entries.size(), static_cast<std::size_t>(recordCount(info))));
    // Every row of the buffer gets its own position, also those past the card's records: a row
    // filled later must not pass for record 1.
    for (std::size_t k = 0; k < entries.size(); ++k) {
        entries[k] = SmsEntry{};
        entries[k].position = static_cast<uint16_t>(k);
    }

    // The extension files' images and maps come first, then EF_SMS itself, as every scan loads them.
    DialFiles dialFiles(m_card);
    dialFiles.setSmsScan([this](int textId) { return readSmsFile(textId); });
    if (!dialFiles.loadLinkMaps(DialScan::kSms, kTextReading))
        return failAndFlush();
    const std::optional<FileImage>& image = m_card.image(CachedFile::Sms);
    if (!image) {
        m_card.setLastStatus(CardStatus::NonSpecificError);
        return failAndFlush();
    }
    for (int k = 0; k < filled; ++k)
        entries[static_cast<std::size_t>(k)] = DecodeSmsRecord(image->record(k + 1), static_cast<uint16_t>(k));
    count = filled;
    m_card.setLastStatus(CardStatus::Ok);
    return true;
}

// Everything is checked and encoded before the first record is written, so that a refused list
// leaves the card as it was: chosen[g - 1] is the entry of record g (-1: none, the record stays),
// records[g - 1] its bytes.
bool SmsFiles::prepareWrite(std::span<SmsEntry> entries, int& count, SmsWritePlan& plan)
{
    count = 0;
    FileInfo info;
    if (!openSmsFile(info))
        return false;
    if (!isRecordFile(info)) {
        m_card.setLastStatus(CardStatus::NonSpecificError);
        return failAndFlush();
    }
    const int length = info.recordLength;
    const int n = recordCount(info);
    count = n;
    plan.length = length;
    std::vector<int>& chosen = plan.chosen;
    chosen.assign(static_cast<std::size_t>(n), -1);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const SmsEntry& e = entries[i];
        if (e.valid && e.position >= n) {
            m_card.setLastStatus(CardStatus::PositionsOverflow);
            return failAndFlush();
        }
        if (e.position < n && chosen[e.position] < 0)
            chosen[e.position] = static_cast<int>(i);
    }
    plan.records.assign(static_cast<std::size_t>(n), {});
    plan.current.assign(static_cast<std::size_t>(n), {});
    const std::optional<FileImage>& image = m_card.image(CachedFile::Sms);
    const bool imageFits = image && image->recordLength == length && image->recordCount == n;
    for (int g = 1; g <= n; ++g) {
        const int i = chosen[static_cast<std::size_t>(g - 1)];
        if (i < 0)
            continue;
        if (imageFits) {
            const std::span<const uint8_t> r = image->record(g);
            plan.current[static_cast<std::size_t>(g - 1)].assign(r.begin(), r.end());
        }
        SmsEntry e = entries[static_cast<std::size_t>(i)];
        if (e.keptLength == 0) {
            // From a file or a backup: the card's record stays when that is all the file could
            // hold of it, or when both are free.
            if (!currentRecord(g, length, plan))
                return failAndFlush();
            const std::vector<uint8_t>& now = plan.current[static_cast<std::size_t>(g - 1)];
            SmsEntry card = DecodeSmsRecord(now, e.position);
            if ((!e.valid && !card.valid) || SmsIsStoredCopy(e, card)) {
                card.status = e.valid ? e.status : card.status;
                e = card;
            }
        }
        SmsEncodeResult encoded = EncodeSmsRecord(e, length);
        if (!encoded.fits) {
            m_card.setLastStatus(CardStatus::NonSpecificError,
                                 StringTable::text(kTextTooLong) + QStringLiteral(" (%1)").arg(g));
            return failAndFlush();
        }
        plan.records[static_cast<std::size_t>(g - 1)] = std::move(encoded.record);
    }
    return true;
}

// The card's record g into plan.current, read from the card when no image gave it.
bool SmsFiles::currentRecord(int g, int length, SmsWritePlan& plan)
{
    std::vector<uint8_t>& now = plan.current[static_cast<std::size_t>(g - 1)];
    if (!now.empty())
        return true;
    std::array<uint8_t, 256> buffer;
    buffer.fill(0xFF);
    int got = static_cast<int>(buffer.size());
    if (!m_card.readFile(kDfTelecom, kEfSms, buffer, got, g, gsm::recordMode::kAbsolute))
        return false;
    now.assign(buffer.begin(), buffer.begin() + std::min<std::size_t>(buffer.size(), static_cast<std::size_t>(length)));
    return true;
}

bool SmsFiles::checkSmsList(std::span<SmsEntry> entries, int& count)
{
    SmsWritePlan plan;
    if (!prepareWrite(entries, count, plan))
        return false;
    m_card.setLastStatus(CardStatus::Ok);
    return true;
}

bool SmsFiles::writeSmsList(std::span<SmsEntry> entries, int& count)
{
    SmsWritePlan plan;
    if (!prepareWrite(entries, count, plan))
        return false;
    const int n = count;
    const int length = plan.length;
    const std::vector<int>& chosen = plan.chosen;
    const std::vector<std::vector<uint8_t>>& records = plan.records;

    for (int g = 1; g <= n; ++g) {
        if (!m_card.showProgressItem(kTextWriting, static_cast<unsigned>(g), static_cast<unsigned>(n), true))
            return failAndFlush();
        const int i = chosen[static_cast<std::size_t>(g - 1)];
        if (i < 0)
            continue;
        const std::vector<uint8_t>& record = records[static_cast<std::size_t>(g - 1)];
        // What the card already holds is not written again.
        if (record == plan.current[static_cast<std::size_t>(g - 1)]) {
            entries[static_cast<std::size_t>(i)].modified = 0;
            continue;
        }
        int written = length;
        if (!m_card.updateFile(kDfTelecom, kEfSms, record, written, g, gsm::recordMode::kAbsolute))
            return failAndFlush();
        std::optional<FileImage>& image = m_card.image(CachedFile::Sms);
        if (image) {
            const std::span<uint8_t> target = image->record(g);
            if (image->recordLength == length && target.size() == record.size())
                std::copy(record.begin(), record.end(), target.begin());
            else
                image.reset(); // not this file's shape: read afresh next time
        }
        entries[static_cast<std::size_t>(i)].modified = 0;
    }
    m_card.setLastStatus(CardStatus::Ok);
    return true;
}

} // namespace kestrel
