// The file side of the SimCard: selecting a file from the MF down (SELECT with GET RESPONSE, the
// response parsed once into DirectoryInfo / FileInfo), transparent and record transfers, and
// INVALIDATE / REHABILITATE of the selected EF.

#include "sim/SimCard.h"

#include <algorithm>

#include "reader/CardReader.h"

namespace kestrel {

namespace {

using gsm::fid::kMf;

// Data of one READ BINARY (P3 0 reads 256) and of one UPDATE BINARY (P3 0 would carry nothing).
constexpr int kMaxReadChunk = 256;
constexpr int kMaxWriteChunk = 255;

} // namespace

bool SimCard::selectFile(uint16_t df, uint16_t ef, DirectoryInfo* dfInfo, FileInfo* efInfoOut)
{
    CardReader* r = reader();
    if (!r)
        return fail(CardStatus::ReaderInaccessible);
    GsmCommands gsm(*r);
    std::size_t length = 0;

    if (df != m_currentDf || dfInfo) {
        m_currentDf = 0;
        m_currentEf = 0;
        std::array<uint8_t, DirectoryInfo::kRawSize> response{};
        if (df != kMf) {
            if (const CardStatus s = gsm.select(kMf, response, length, m_lastSw); s != CardStatus::Ok)
                return fail(s);
            response.fill(0);
        }
        if (const CardStatus s = gsm.select(df, response, length, m_lastSw); s != CardStatus::Ok)
            return fail(s);
        m_currentDf = df;
        if (dfInfo)
            *dfInfo = DirectoryInfo::parse(std::span(response).first(length));
    }

    if (ef != 0 && (ef != m_currentEf || efInfoOut)) {
        m_currentEf = 0;
        m_efInfo = FileInfo{};
        std::array<uint8_t, FileInfo::kRawSize> response{};
        if (const CardStatus s = gsm.select(ef, response, length, m_lastSw); s != CardStatus::Ok)
            return fail(s);
        m_efInfo = FileInfo::parse(std::span(response).first(length));
        m_currentEf = ef;
        if (efInfoOut)
            *efInfoOut = m_efInfo;
    }
    m_lastStatus = CardStatus::Ok;
    return true;
}

bool SimCard::transferTransparent(GsmCommands& gsm, std::span<uint8_t> read, std::span<const uint8_t> write, int size)
{
    const bool reading = !read.empty() || write.empty();
    const int chunk = reading ? kMaxReadChunk : kMaxWriteChunk;
    for (int offset = 0; offset < size; offset += chunk) {
        const int n = std::min(chunk, size - offset);
        const auto p3 = static_cast<uint8_t>(n & 0xFF); // 256 travels as 0
        const auto at = static_cast<std::size_t>(offset);
        CardStatus s = reading ? gsm.readBinary(read.subspan(at), static_cast<uint16_t>(offset), p3, m_lastSw)
                               : gsm.updateBinary(write.subspan(at, static_cast<std::size_t>(n)),
                                                  static_cast<uint16_t>(offset), p3, m_lastSw);
        if (s != CardStatus::Ok)
            return fail(gsm.transportFailed(s));
        s = judgeStatusWord(SwRule::Transfer, m_lastSw);
        if (s != CardStatus::Ok)
            return fail(s);
    }
    return true;
}

bool SimCard::readFile(uint16_t df, uint16_t ef, std::span<uint8_t> buffer, int& length, int record, int mode)
{
    if (!selectFile(df, ef))
        return false;
    GsmCommands gsm(*reader());
    switch (m_efInfo.structure) {
    case FileStructure::Transparent: {
        const int size = m_efInfo.fileSize;
        if (length < size || buffer.size() < static_cast<std::size_t>(size))
            return fail(CardStatus::NonSpecificError);
        if (!transferTransparent(gsm, buffer, {}, size))
            return false;
        length = size;
        break;
    }
    case FileStructure::LinearFixed:
    case FileStructure::Cyclic: {
        const int recordLength = m_efInfo.recordLength;
        if (recordLength < 1 || record < 0 || record > 255 || mode < 0 || mode > 255)
            return fail(CardStatus::NonSpecificError);
        std::array<uint8_t, 256> data{};
        const CardStatus s = gsm.readRecord(data, static_cast<uint8_t>(record), static_cast<uint8_t>(mode),
                                            static_cast<uint8_t>(recordLength), m_lastSw);
        if (s != CardStatus::Ok)
            return fail(gsm.transportFailed(s));
        if (const CardStatus judged = judgeStatusWord(SwRule::Transfer, m_lastSw); judged != CardStatus::Ok)
            return fail(judged);
        const auto n = std::min(
            {static_cast<std::size_t>(std::max(length, 0)), static_cast<std::size_t>(recordLength), buffer.size()});
        std::copy_n(data.begin(), n, buffer.begin());
        length = recordLength;
        break;
    }
    case FileStructure::Other:
        return fail(CardStatus::NonSpecificError);
    }
    m_lastStatus = CardStatus::Ok;
    return true;
}

bool SimCard::updateFile(uint16_t df, uint16_t ef, std::span<const uint8_t> buffer, int& length, int record, int mode)
{
    if (!selectFile(df, ef))
        return false;
    GsmCommands gsm(*reader());
    switch (m_efInfo.structure) {
    case FileStructure::Transparent: {
        const int size = m_efInfo.fileSize;
        if (length < size || buffer.size() < static_cast<std::size_t>(size))
            return fail(CardStatus::NonSpecificError);
        if (!transferTransparent(gsm, {}, buffer, size))
            return false;
        length = size;
        break;
    }
    case FileStructure::LinearFixed:
    case FileStructure::Cyclic: {
        const int recordLength = m_efInfo.recordLength;
        if (recordLength < 1 || record < 0 || record > 255 || mode < 0 || mode > 255)
            return fail(CardStatus::NonSpecificError);
        std::vector<uint8_t> data(static_cast<std::size_t>(recordLength), 0x00);
        const auto n = std::min({static_cast<std::size_t>(std::max(length, 0)), data.size(), buffer.size()});
        std::copy_n(buffer.begin(), n, data.begin());
        const CardStatus s = gsm.updateRecord(data, static_cast<uint8_t>(record), static_cast<uint8_t>(mode),
                                              static_cast<uint8_t>(recordLength), m_lastSw);
        if (s != CardStatus::Ok)
            return fail(gsm.transportFailed(s));
        if (const CardStatus judged = judgeStatusWord(SwRule::Transfer, m_lastSw); judged != CardStatus::Ok)
            return fail(judged);
        length = recordLength;
        break;
    }
    case FileStructure::Other:
        return fail(CardStatus::NonSpecificError);
    }
    m_lastStatus = CardStatus::Ok;
    return true;
}

bool SimCard::readRecordAbsolute(std::span<uint8_t> buffer, int record)
{
    CardReader* r = reader();
    if (!r)
        return fail(CardStatus::ReaderInaccessible);
    const CardStatus s = GsmCommands(*r).readRecordAbsolute(buffer, record, m_efInfo, m_lastSw);
    m_lastStatus = s;
    return s == CardStatus::Ok;
}

bool SimCard::updateRecordAbsolute(std::span<const uint8_t> buffer, int record)
{
    CardReader* r = reader();
    if (!r)
        return fail(CardStatus::ReaderInaccessible);
    const CardStatus s = GsmCommands(*r).updateRecordAbsolute(buffer, record, m_efInfo, m_lastSw);
    m_lastStatus = s;
    return s == CardStatus::Ok;
}

bool SimCard::invalidateFile(uint16_t df, uint16_t ef)
{
    if (!selectFile(df, ef))
        return false;
    if (m_efInfo.invalidated)
        return true;
    GsmCommands gsm(*reader());
    const CardStatus s = gsm.invalidate(m_lastSw);
    if (s != CardStatus::Ok)
        return fail(gsm.transportFailed(s));
    if (const CardStatus judged = judgeStatusWord(SwRule::Strict, m_lastSw); judged != CardStatus::Ok)
        return fail(judged);
    m_efInfo.setInvalidated(true);
    m_lastStatus = CardStatus::Ok;
    return true;
}

bool SimCard::rehabilitateFile(uint16_t df, uint16_t ef)
{
    if (!selectFile(df, ef))
        return false;
    if (!m_efInfo.invalidated)
        return true;
    GsmCommands gsm(*reader());
    const CardStatus s = gsm.rehabilitate(m_lastSw);
    if (s != CardStatus::Ok)
        return fail(gsm.transportFailed(s));
    if (const CardStatus judged = judgeStatusWord(SwRule::Strict, m_lastSw); judged != CardStatus::Ok)
        return fail(judged);
    m_efInfo.setInvalidated(false);
    m_lastStatus = CardStatus::Ok;
    return true;
}

} // namespace kestrel
