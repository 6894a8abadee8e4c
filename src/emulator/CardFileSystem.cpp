#include "emulator/CardFileSystem.h"

#include <algorithm>

#include "emulator/CardAnswers.h"
#include "emulator/CardHolderVerification.h"
#include "gsm/FileIds.h"
#include "gsm/Instructions.h"
#include "gsm/Responses.h"

namespace kestrel::emulator {

namespace sw = gsm::sw;
namespace rsp = gsm::response;
namespace recordMode = gsm::recordMode;
using answer::expectedLength;
using answer::responseWaiting;
using answer::status;
using answer::wrongLength;

namespace {

// The MF/DF response: the GSM data and 12 bytes for administrative use, all 00.
constexpr std::size_t kDirectoryResponseLength = rsp::kDirectoryMinimum + 12;
// The EF response holds the GSM data only.
constexpr std::size_t kEfResponseLength = rsp::kEfMinimum;
// The GSM data of either response ends with byte 13 and the bytes after it.
constexpr std::size_t kFixedPartLength = rsp::kFollowingLength + 1;
// CHV1, CHV2 and their unblock codes.
constexpr uint8_t kCodeCount = 4;
// The length of the one INCREASE value and of a record of the files it works on.
constexpr int kIncreaseLength = 3;
constexpr uint32_t kMaxIncreaseValue = 0xFFFFFF;
// The longest SEEK pattern.
constexpr int kMaxSeekPattern = 16;

void putWord(std::vector<uint8_t>& r, std::size_t offset, unsigned value)
{
    r[offset] = static_cast<uint8_t>(value >> 8);
    r[offset + 1] = static_cast<uint8_t>(value);
}

uint8_t nibble(AccessLevel level)
{
    return static_cast<uint8_t>(level);
}

uint8_t chvStatusByte(int attemptsLeft)
{
    return static_cast<uint8_t>(rsp::kCodeInitialisedBit | (attemptsLeft & rsp::kAttemptsMask));
}

} // namespace

CardFileSystem::CardFileSystem(SimCardData& card, const CardHolderVerification& chv, std::function<bool()> save)
    : m_card(card), m_chv(chv), m_save(std::move(save))
{}

void CardFileSystem::reset()
{
    m_currentDf = 0;
    m_currentEf = -1;
    m_recordPointer = 0;
}

const SimFile* CardFileSystem::file(const std::vector<uint16_t>& path) const
{
    for (const SimFile& f : m_card.files) {
        if (f.path == path)
            return &f;
    }
    return nullptr;
}

int CardFileSystem::findChild(int directory, uint16_t id) const
{
    const auto& parentPath = m_card.files[static_cast<std::size_t>(directory)].path;
    for (std::size_t i = 0; i < m_card.files.size(); ++i) {
        const auto& p = m_card.files[i].path;
        if (p.size() == parentPath.size() + 1 && p.back() == id &&
            std::equal(parentPath.begin(), parentPath.end(), p.begin()))
            return static_cast<int>(i);
    }
    return -1;
}

int CardFileSystem::parentOf(int file) const
{
    const auto& path = m_card.files[static_cast<std::size_t>(file)].path;
    if (path.size() < 2)
        return -1;
    const std::vector<uint16_t> parentPath(path.begin(), path.end() - 1);
    for (std::size_t i = 0; i < m_card.files.size(); ++i) {
        if (m_card.files[i].path == parentPath)
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<uint8_t> CardFileSystem::directoryResponse(int directory) const
{
    const SimFile& dir = m_card.files[static_cast<std::size_t>(directory)];
    std::vector<uint8_t> r(kDirectoryResponseLength, 0x00);
    long used = 0;
    int dfs = 0;
    int efs = 0;
    for (const SimFile& f : m_card.files) {
        used += f.size();
        if (f.path.size() == dir.path.size() + 1 && std::equal(dir.path.begin(), dir.path.end(), f.path.begin()))
            (f.isDirectory() ? dfs : efs) += 1;
    }
    putWord(r, rsp::kSizeOrFreeMemory, static_cast<unsigned>(std::clamp<long>(m_card.memorySize - used, 0, 0xFFFF)));
    putWord(r, rsp::kFileId, dir.id());
    r[rsp::kFileType] = static_cast<uint8_t>(dir.type);
    r[rsp::kFollowingLength] = static_cast<uint8_t>(kDirectoryResponseLength - kFixedPartLength);
    // File characteristics: clock stop allowed; bit 8 set when CHV1 is disabled.
    r[rsp::kCharacteristics] =
        static_cast<uint8_t>(rsp::kClockStopAllowedBit | (m_card.chv1.enabled ? 0x00 : rsp::kChv1DisabledBit));
    r[rsp::kDfCount] = static_cast<uint8_t>(dfs);
    r[rsp::kEfCount] = static_cast<uint8_t>(efs);
    r[rsp::kChvCount] = kCodeCount;
    r[rsp::kChv1Status] = chvStatusByte(m_card.chv1.attemptsLeft);
    r[rsp::kUnblockChv1Status] = chvStatusByte(m_card.chv1.unblockAttemptsLeft);
    r[rsp::kChv2Status] = chvStatusByte(m_card.chv2.attemptsLeft);
    r[rsp::kUnblockChv2Status] = chvStatusByte(m_card.chv2.unblockAttemptsLeft);
    return r;
}

std::vector<uint8_t> CardFileSystem::efResponse(int index) const
{
    const SimFile& ef = m_card.files[static_cast<std::size_t>(index)];
    std::vector<uint8_t> r(kEfResponseLength, 0x00);
    putWord(r, rsp::kSizeOrFreeMemory, static_cast<unsigned>(ef.size()));
    putWord(r, rsp::kFileId, ef.id());
    r[rsp::kFileType] = static_cast<uint8_t>(FileType::EF);
    if (ef.structure == FileStructure::Cyclic && ef.access.increase != AccessLevel::Never)
        r[rsp::kIncreaseAllowed] = rsp::kIncreaseAllowedBit;
    r[rsp::kAccessReadUpdate] = static_cast<uint8_t>(nibble(ef.access.read) << 4 | nibble(ef.access.update));
    r[rsp::kAccessIncrease] = static_cast<uint8_t>(nibble(ef.access.increase) << 4);
    r[rsp::kAccessInvalidateRehabilitate] =
        static_cast<uint8_t>(nibble(ef.access.rehabilitate) << 4 | nibble(ef.access.invalidate));
    r[rsp::kFileStatus] = static_cast<uint8_t>((ef.invalidated ? 0x00 : rsp::kNotInvalidatedBit) |
                                               (ef.readableWhenInvalidated ? rsp::kReadableWhenInvalidatedBit : 0x00));
    r[rsp::kFollowingLength] = static_cast<uint8_t>(kEfResponseLength - kFixedPartLength);
    r[rsp::kStructure] = static_cast<uint8_t>(ef.structure);
    r[rsp::kRecordLength] = ef.structure == FileStructure::Transparent ? 0 : static_cast<uint8_t>(ef.recordLength);
    return r;
}

CardResponse CardFileSystem::select(const Apdu& apdu)
{
    if (apdu.p1 != 0 || apdu.p2 != 0)
        return status(sw::kWrongP1P2);
    if (apdu.p3 != 2)
        return wrongLength(2);
    const uint16_t id = static_cast<uint16_t>(apdu.data[0] << 8 | apdu.data[1]);

    // Selectable from the current directory: the MF, the directory itself, its children, its
    // parent and the DFs beside it.
    const SimFile& current = m_card.files[static_cast<std::size_t>(m_currentDf)];
    const int parent = parentOf(m_currentDf);
    int found = findChild(m_currentDf, id);
    if (id == gsm::fid::kMf)
        found = 0;
    else if (id == current.id())
        found = m_currentDf;
    else if (found < 0 && parent >= 0) {
        if (m_card.files[static_cast<std::size_t>(parent)].id() == id)
            found = parent;
        const int sibling = findChild(parent, id);
        if (found < 0 && sibling >= 0 && m_card.files[static_cast<std::size_t>(sibling)].isDirectory())
            found = sibling;
    }
    if (found < 0)
        return status(sw::kNotFound);

    if (m_card.files[static_cast<std::size_t>(found)].isDirectory()) {
        m_currentDf = found;
        m_currentEf = -1;
        m_recordPointer = 0;
        return responseWaiting(directoryResponse(found));
    }
    m_currentEf = found;
    m_recordPointer = 0;
    return responseWaiting(efResponse(found));
}

uint16_t CardFileSystem::checkAccess(const SimFile& ef, AccessLevel level) const
{
    if (!m_chv.fulfilled(level))
        return sw::kAccessNotFulfilled;
    if (ef.invalidated && !ef.readableWhenInvalidated)
        return sw::kInvalidationContradiction;
    return 0;
}

CardResponse CardFileSystem::readBinary(const Apdu& apdu)
{
    if (m_currentEf < 0)
        return status(sw::kNoEfSelected);
    const SimFile& ef = m_card.files[static_cast<std::size_t>(m_currentEf)];
    if (ef.structure != FileStructure::Transparent)
        return status(sw::kFileInconsistent);
    if (const uint16_t denied = checkAccess(ef, ef.access.read))
        return status(denied);
    const int offset = apdu.p1 << 8 | apdu.p2;
    if ((apdu.p1 & 0x80) != 0 || offset >= ef.size())
        return status(sw::kWrongP1P2);
    const int length = expectedLength(apdu.p3);
    if (offset + length > ef.size())
        return status(sw::kWrongP3);
    const auto from = ef.data.begin() + offset;
    return CardResponse{std::vector<uint8_t>(from, from + length), sw::kOk};
}

CardResponse CardFileSystem::updateBinary(const Apdu& apdu)
{
    if (m_currentEf < 0)
        return status(sw::kNoEfSelected);
    SimFile& ef = m_card.files[static_cast<std::size_t>(m_currentEf)];
    if (ef.structure != FileStructure::Transparent)
        return status(sw::kFileInconsistent);
    if (const uint16_t denied = checkAccess(ef, ef.access.update))
        return status(denied);
    const int offset = apdu.p1 << 8 | apdu.p2;
    if ((apdu.p1 & 0x80) != 0 || offset >= ef.size())
        return status(sw::kWrongP1P2);
    if (apdu.p3 == 0 || offset + apdu.p3 > ef.size())
        return status(sw::kWrongP3);
    const std::vector<uint8_t> before = ef.data;
    std::copy(apdu.data.begin(), apdu.data.end(), ef.data.begin() + offset);
    if (!m_save()) {
        ef.data = before;
        return status(sw::kMemoryProblem);
    }
    return status(sw::kOk);
}

int CardFileSystem::resolveRecord(const SimFile& ef, uint8_t p1, uint8_t mode, uint16_t& word)
{
    const int count = ef.recordCount();
    const bool cyclic = ef.structure == FileStructure::Cyclic;
    switch (mode) {
    case recordMode::kAbsolute:
        // Record 0 is the current record; absolute addressing leaves the pointer where it is.
        if (p1 == 0) {
            if (m_recordPointer == 0)
                word = sw::kOutOfRange;
            return m_recordPointer;
        }
        if (p1 > count) {
            word = sw::kOutOfRange;
            return 0;
        }
        return p1;
    case recordMode::kNext:
    case recordMode::kPrevious: {
        // P1 means nothing in these modes; a phase 1 ME may send any value there, and a phase 2
        // card does not look at it.
        int next = 0;
        if (mode == recordMode::kNext) {
            if (m_recordPointer == 0)
                next = 1;
            else if (m_recordPointer < count)
                next = m_recordPointer + 1;
            else if (cyclic)
                next = 1;
        } else {
            if (m_recordPointer == 0)
                next = count;
            else if (m_recordPointer > 1)
                next = m_recordPointer - 1;
            else if (cyclic)
                next = count;
        }
        if (next == 0) {
            word = sw::kOutOfRange;
            return 0;
        }
        m_recordPointer = next;
        return next;
    }
    default:
        word = sw::kWrongP1P2;
        return 0;
    }
}

CardResponse CardFileSystem::readRecord(const Apdu& apdu)
{
    if (m_currentEf < 0)
        return status(sw::kNoEfSelected);
    const SimFile& ef = m_card.files[static_cast<std::size_t>(m_currentEf)];
    if (ef.structure == FileStructure::Transparent)
        return status(sw::kFileInconsistent);
    if (const uint16_t denied = checkAccess(ef, ef.access.read))
        return status(denied);
    if (apdu.p2 != recordMode::kNext && apdu.p2 != recordMode::kPrevious && apdu.p2 != recordMode::kAbsolute)
        return status(sw::kWrongP1P2);
    if (expectedLength(apdu.p3) != ef.recordLength)
        return wrongLength(static_cast<std::size_t>(ef.recordLength));
    uint16_t word = sw::kOk;
    const int record = resolveRecord(ef, apdu.p1, apdu.p2, word);
    if (word != sw::kOk)
        return status(word);
    const auto from = ef.data.begin() + static_cast<std::ptrdiff_t>(record - 1) * ef.recordLength;
    return CardResponse{std::vector<uint8_t>(from, from + ef.recordLength), sw::kOk};
}

CardResponse CardFileSystem::updateRecord(const Apdu& apdu)
{
    if (m_currentEf < 0)
        return status(sw::kNoEfSelected);
    SimFile& ef = m_card.files[static_cast<std::size_t>(m_currentEf)];
    if (ef.structure == FileStructure::Transparent)
        return status(sw::kFileInconsistent);
    if (const uint16_t denied = checkAccess(ef, ef.access.update))
        return status(denied);
    const bool cyclic = ef.structure == FileStructure::Cyclic;
    // A cyclic file is written in PREVIOUS mode only (P1 not looked at): the oldest record is
    // overwritten and becomes record 1.
    if (cyclic ? apdu.p2 != recordMode::kPrevious
               : (apdu.p2 != recordMode::kNext && apdu.p2 != recordMode::kPrevious && apdu.p2 != recordMode::kAbsolute))
        return status(sw::kWrongP1P2);
    if (apdu.p3 != ef.recordLength)
        return wrongLength(static_cast<std::size_t>(ef.recordLength));

    const std::vector<uint8_t> before = ef.data;
    const int pointerBefore = m_recordPointer;
    if (cyclic) {
        ef.data.resize(ef.data.size() - static_cast<std::size_t>(ef.recordLength));
        ef.data.insert(ef.data.begin(), apdu.data.begin(), apdu.data.end());
        m_recordPointer = 1;
    } else {
        uint16_t word = sw::kOk;
        const int record = resolveRecord(ef, apdu.p1, apdu.p2, word);
        if (word != sw::kOk)
            return status(word);
        std::copy(apdu.data.begin(), apdu.data.end(),
                  ef.data.begin() + static_cast<std::ptrdiff_t>(record - 1) * ef.recordLength);
    }
    if (!m_save()) {
        ef.data = before;
        m_recordPointer = pointerBefore;
        return status(sw::kMemoryProblem);
    }
    return status(sw::kOk);
}

CardResponse CardFileSystem::seek(const Apdu& apdu)
{
    if (m_currentEf < 0)
        return status(sw::kNoEfSelected);
    const SimFile& ef = m_card.files[static_cast<std::size_t>(m_currentEf)];
    if (ef.structure != FileStructure::LinearFixed)
        return status(sw::kFileInconsistent);
    if (const uint16_t denied = checkAccess(ef, ef.access.read))
        return status(denied);
    // P2: high nibble type 0 (pointer only) or 1 (record number returned); low nibble the mode:
    // 0 from the beginning forwards, 1 from the end backwards, 2 from the next record forwards,
    // 3 from the previous record backwards.
    const uint8_t type = apdu.p2 >> 4;
    const uint8_t mode = apdu.p2 & 0x0F;
    if (apdu.p1 != 0 || type > 1 || mode > 3)
        return status(sw::kWrongP1P2);
    if (apdu.p3 == 0 || apdu.p3 > kMaxSeekPattern || apdu.p3 > ef.recordLength)
        return status(sw::kWrongP3);
    const int count = ef.recordCount();
    int record = 0;
    int step = 1;
    switch (mode) {
    case 0:
        record = 1;
        break;
    case 1:
        record = count;
        step = -1;
        break;
    case 2:
        record = m_recordPointer + 1;
        break;
    default:
        record = m_recordPointer == 0 ? count : m_recordPointer - 1;
        step = -1;
        break;
    }
    for (; record >= 1 && record <= count; record += step) {
        const auto from = ef.data.begin() + static_cast<std::ptrdiff_t>(record - 1) * ef.recordLength;
        if (std::equal(apdu.data.begin(), apdu.data.end(), from)) {
            m_recordPointer = record;
            if (type == 1)
                return responseWaiting({static_cast<uint8_t>(record)});
            return status(sw::kOk);
        }
    }
    return status(sw::kNotFound);
}

CardResponse CardFileSystem::increase(const Apdu& apdu)
{
    if (m_currentEf < 0)
        return status(sw::kNoEfSelected);
    SimFile& ef = m_card.files[static_cast<std::size_t>(m_currentEf)];
    if (ef.structure != FileStructure::Cyclic || ef.recordLength != kIncreaseLength)
        return status(sw::kFileInconsistent);
    if (const uint16_t denied = checkAccess(ef, ef.access.increase))
        return status(denied);
    if (apdu.p1 != 0 || apdu.p2 != 0)
        return status(sw::kWrongP1P2);
    if (apdu.p3 != kIncreaseLength)
        return wrongLength(kIncreaseLength);
    const uint32_t current = static_cast<uint32_t>(ef.data[0] << 16 | ef.data[1] << 8 | ef.data[2]);
    const uint32_t added = static_cast<uint32_t>(apdu.data[0] << 16 | apdu.data[1] << 8 | apdu.data[2]);
    const uint32_t sum = current + added;
    if (sum > kMaxIncreaseValue)
        return status(sw::kMaxValueReached);
    const std::vector<uint8_t> value{static_cast<uint8_t>(sum >> 16), static_cast<uint8_t>(sum >> 8),
                                     static_cast<uint8_t>(sum)};
    const std::vector<uint8_t> before = ef.data;
    const int pointerBefore = m_recordPointer;
    // Like an UPDATE in PREVIOUS mode: the result overwrites the oldest record, now record 1.
    ef.data.resize(ef.data.size() - kIncreaseLength);
    ef.data.insert(ef.data.begin(), value.begin(), value.end());
    m_recordPointer = 1;
    if (!m_save()) {
        ef.data = before;
        m_recordPointer = pointerBefore;
        return status(sw::kMemoryProblem);
    }
    std::vector<uint8_t> response = value;
    response.insert(response.end(), apdu.data.begin(), apdu.data.end());
    return responseWaiting(std::move(response));
}

CardResponse CardFileSystem::setInvalidated(const Apdu& apdu, bool invalidate)
{
    if (m_currentEf < 0)
        return status(sw::kNoEfSelected);
    SimFile& ef = m_card.files[static_cast<std::size_t>(m_currentEf)];
    if (apdu.p1 != 0 || apdu.p2 != 0)
        return status(sw::kWrongP1P2);
    if (apdu.p3 != 0)
        return wrongLength(0);
    if (!m_chv.fulfilled(invalidate ? ef.access.invalidate : ef.access.rehabilitate))
        return status(sw::kAccessNotFulfilled);
    if (ef.invalidated == invalidate)
        return status(sw::kOk);
    ef.invalidated = invalidate;
    if (!m_save()) {
        ef.invalidated = !invalidate;
        return status(sw::kMemoryProblem);
    }
    return status(sw::kOk);
}

} // namespace kestrel::emulator
