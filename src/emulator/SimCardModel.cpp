#include "emulator/SimCardModel.h"

#include <algorithm>

#include <QCryptographicHash>

#include "emulator/CardFile.h"

namespace kestrel::emulator {

namespace {

// GSM 11.11 instructions.
enum Ins : uint8_t
{
    kSelect = 0xA4,
    kStatus = 0xF2,
    kReadBinary = 0xB0,
    kUpdateBinary = 0xD6,
    kReadRecord = 0xB2,
    kUpdateRecord = 0xDC,
    kSeek = 0xA2,
    kIncrease = 0x32,
    kVerifyChv = 0x20,
    kChangeChv = 0x24,
    kDisableChv = 0x26,
    kEnableChv = 0x28,
    kUnblockChv = 0x2C,
    kInvalidate = 0x04,
    kRehabilitate = 0x44,
    kRunGsmAlgorithm = 0x88,
    kSleep = 0xFA,
    kGetResponse = 0xC0,
    kTerminalProfile = 0x10,
    kEnvelope = 0xC2,
    kFetch = 0x12,
    kTerminalResponse = 0x14,
};

// GSM 11.11 status words.
constexpr uint16_t kOk = 0x9000;
constexpr uint16_t kMemoryProblem = 0x9240;
constexpr uint16_t kNoEfSelected = 0x9400;
constexpr uint16_t kOutOfRange = 0x9402;
constexpr uint16_t kNotFound = 0x9404;
constexpr uint16_t kInconsistent = 0x9408;
constexpr uint16_t kAccessNotFulfilled = 0x9804;
constexpr uint16_t kChvContradiction = 0x9808;
constexpr uint16_t kInvalidationContradiction = 0x9810;
constexpr uint16_t kChvBlocked = 0x9840;
constexpr uint16_t kMaxValueReached = 0x9850;
constexpr uint16_t kWrongP3 = 0x6700;
constexpr uint16_t kWrongP1P2 = 0x6B00;
constexpr uint16_t kUnknownIns = 0x6D00;
constexpr uint16_t kWrongClass = 0x6E00;
constexpr uint16_t kTechnicalProblem = 0x6F00;

constexpr uint8_t kGsmClass = 0xA0;
constexpr uint8_t kModeNext = 0x02;
constexpr uint8_t kModePrevious = 0x03;
constexpr uint8_t kModeAbsolute = 0x04;

// SIM service table: service 29, proactive SIM.
constexpr int kServiceProactive = 29;
constexpr uint8_t kPhase2Plus = 0x03;

// Length of the MF/DF response: 22 bytes of GSM data and 12 bytes for administrative use.
constexpr std::size_t kDirectoryResponseLength = 34;
constexpr std::size_t kEfResponseLength = 15;

CardResponse sw(uint16_t word)
{
    return CardResponse{{}, word};
}

CardResponse wrongP3(std::size_t expected)
{
    return sw(static_cast<uint16_t>(kWrongP3 | (expected & 0xFF)));
}

// Bytes a reading command expects: P3, 256 for 0.
int expectedLength(uint8_t p3)
{
    return p3 == 0 ? 256 : p3;
}

void putWord(std::vector<uint8_t>& r, std::size_t at, unsigned value)
{
    r[at] = static_cast<uint8_t>(value >> 8);
    r[at + 1] = static_cast<uint8_t>(value);
}

uint8_t nibble(AccessLevel level)
{
    return static_cast<uint8_t>(level);
}

uint8_t chvStatusByte(int attemptsLeft)
{
    // Bit 8: secret code initialised; bits 1-4: attempts left.
    return static_cast<uint8_t>(0x80 | (attemptsLeft & 0x0F));
}

std::array<uint8_t, 8> blockAt(const std::vector<uint8_t>& data, std::size_t offset)
{
    std::array<uint8_t, 8> block;
    std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(offset), 8, block.begin());
    return block;
}

} // namespace

SimCardModel::SimCardModel(SimCardData card) : m_card(std::move(card)), m_sound(CardFile::check(m_card).isEmpty()) {}

SimCardModel::SimCardModel(SimCardData card, QString path)
    : m_card(std::move(card)), m_path(std::move(path)), m_sound(CardFile::check(m_card).isEmpty())
{}

std::unique_ptr<SimCardModel> SimCardModel::fromFile(const QString& path, QString& error)
{
    CardFileResult loaded = CardFile::load(path);
    if (!loaded.ok) {
        error = loaded.error;
        return nullptr;
    }
    error.clear();
    return std::make_unique<SimCardModel>(std::move(loaded.card), path);
}

std::vector<uint8_t> SimCardModel::powerOn()
{
    if (!m_present || !m_sound)
        return {};
    m_powered = true;
    m_currentDf = 0;
    m_currentEf = -1;
    m_recordPointer = 0;
    m_chv1Verified = false;
    m_chv2Verified = false;
    m_response.clear();
    m_toolkit.reset();
    if (m_card.kind == CardKind::TelephoneCard)
        return std::vector<uint8_t>(m_card.memory.begin(), m_card.memory.begin() + 4);
    return m_card.atr;
}

void SimCardModel::powerOff()
{
    m_powered = false;
    m_chv1Verified = false;
    m_chv2Verified = false;
    m_response.clear();
}

void SimCardModel::setPresent(bool present)
{
    m_present = present;
    if (!present)
        powerOff();
}

bool SimCardModel::readMemory(std::array<uint8_t, 32>& out) const
{
    if (m_card.kind != CardKind::TelephoneCard || !m_present)
        return false;
    out = m_card.memory;
    return true;
}

CardResponse SimCardModel::process(const Apdu& apdu)
{
    if (!m_present || !m_powered || !m_sound || m_card.kind != CardKind::Sim)
        return sw(kTechnicalProblem);
    if (apdu.cla != kGsmClass)
        return sw(kWrongClass);
    if (Icc::isIncoming(apdu.ins) && apdu.data.size() != apdu.p3)
        return wrongP3(apdu.data.size());
    if (apdu.ins == kGetResponse)
        return getResponse(apdu);
    m_response.clear();

    switch (apdu.ins) {
    case kSelect:
        return select(apdu);
    case kStatus:
        return status(apdu);
    case kReadBinary:
        return readBinary(apdu);
    case kUpdateBinary:
        return updateBinary(apdu);
    case kReadRecord:
        return readRecord(apdu);
    case kUpdateRecord:
        return updateRecord(apdu);
    case kSeek:
        return seek(apdu);
    case kIncrease:
        return increase(apdu);
    case kInvalidate:
        return setInvalidated(apdu, true);
    case kRehabilitate:
        return setInvalidated(apdu, false);
    case kVerifyChv:
        return verifyChv(apdu);
    case kChangeChv:
        return changeChv(apdu);
    case kDisableChv:
        return setChv1Enabled(apdu, false);
    case kEnableChv:
        return setChv1Enabled(apdu, true);
    case kUnblockChv:
        return unblockChv(apdu);
    case kRunGsmAlgorithm:
        return runGsmAlgorithm(apdu);
    case kSleep:
        return sw(kOk);
    case kTerminalProfile:
    case kEnvelope:
    case kFetch:
    case kTerminalResponse:
        return toolkit(apdu);
    default:
        return sw(kUnknownIns);
    }
}

// ---- file system -------------------------------------------------------------------------------

int SimCardModel::findChild(int directory, uint16_t id) const
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

int SimCardModel::parentOf(int file) const
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

std::vector<uint8_t> SimCardModel::directoryResponse(int directory) const
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
    putWord(r, 2, static_cast<unsigned>(std::clamp<long>(m_card.memorySize - used, 0, 0xFFFF)));
    putWord(r, 4, dir.id());
    r[6] = static_cast<uint8_t>(dir.type);
    r[12] = static_cast<uint8_t>(kDirectoryResponseLength - 13); // bytes that follow byte 13
    // File characteristics: clock stop allowed; bit 8 set when CHV1 is disabled.
    r[13] = static_cast<uint8_t>(0x01 | (m_card.chv1.enabled ? 0x00 : 0x80));
    r[14] = static_cast<uint8_t>(dfs);
    r[15] = static_cast<uint8_t>(efs);
    r[16] = 4; // CHV1, CHV2 and their unblock codes
    r[18] = chvStatusByte(m_card.chv1.attemptsLeft);
    r[19] = chvStatusByte(m_card.chv1.unblockAttemptsLeft);
    r[20] = chvStatusByte(m_card.chv2.attemptsLeft);
    r[21] = chvStatusByte(m_card.chv2.unblockAttemptsLeft);
    return r;
}

std::vector<uint8_t> SimCardModel::efResponse(int index) const
{
    const SimFile& ef = m_card.files[static_cast<std::size_t>(index)];
    std::vector<uint8_t> r(kEfResponseLength, 0x00);
    putWord(r, 2, static_cast<unsigned>(ef.size()));
    putWord(r, 4, ef.id());
    r[6] = static_cast<uint8_t>(FileType::EF);
    // Byte 8 of a cyclic file: bit 7 set when INCREASE is allowed.
    if (ef.structure == FileStructure::Cyclic && ef.access.increase != AccessLevel::Never)
        r[7] = 0x40;
    r[8] = static_cast<uint8_t>(nibble(ef.access.read) << 4 | nibble(ef.access.update));
    r[9] = static_cast<uint8_t>(nibble(ef.access.increase) << 4);
    r[10] = static_cast<uint8_t>(nibble(ef.access.rehabilitate) << 4 | nibble(ef.access.invalidate));
    r[11] = static_cast<uint8_t>((ef.invalidated ? 0x00 : 0x01) | (ef.readableWhenInvalidated ? 0x04 : 0x00));
    r[12] = 2; // bytes that follow byte 13
    r[13] = static_cast<uint8_t>(ef.structure);
    r[14] = ef.structure == FileStructure::Transparent ? 0 : static_cast<uint8_t>(ef.recordLength);
    return r;
}

CardResponse SimCardModel::respond(std::vector<uint8_t> response)
{
    const auto length = response.size();
    m_response = std::move(response);
    return sw(static_cast<uint16_t>(0x9F00 | (length & 0xFF)));
}

CardResponse SimCardModel::select(const Apdu& apdu)
{
    if (apdu.p1 != 0 || apdu.p2 != 0)
        return sw(kWrongP1P2);
    if (apdu.p3 != 2)
        return wrongP3(2);
    const uint16_t id = static_cast<uint16_t>(apdu.data[0] << 8 | apdu.data[1]);

    // Selectable from the current directory: the MF, the directory itself, its children, its
    // parent and the DFs beside it.
    const SimFile& current = m_card.files[static_cast<std::size_t>(m_currentDf)];
    const int parent = parentOf(m_currentDf);
    int found = findChild(m_currentDf, id);
    if (id == 0x3F00)
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
        return sw(kNotFound);

    if (m_card.files[static_cast<std::size_t>(found)].isDirectory()) {
        m_currentDf = found;
        m_currentEf = -1;
        m_recordPointer = 0;
        return respond(directoryResponse(found));
    }
    m_currentEf = found;
    m_recordPointer = 0;
    return respond(efResponse(found));
}

CardResponse SimCardModel::status(const Apdu& apdu)
{
    if (apdu.p1 != 0 || apdu.p2 != 0)
        return sw(kWrongP1P2);
    std::vector<uint8_t> r = directoryResponse(m_currentDf);
    const auto length = static_cast<std::size_t>(expectedLength(apdu.p3));
    if (length > r.size())
        return wrongP3(r.size());
    r.resize(length);
    // STATUS is the terminal's polling command: it learns of a pending proactive command here too.
    return CardResponse{std::move(r), m_toolkit.withPending(kOk)};
}

CardResponse SimCardModel::getResponse(const Apdu& apdu)
{
    if (apdu.p1 != 0 || apdu.p2 != 0)
        return sw(kWrongP1P2);
    const auto length = static_cast<std::size_t>(expectedLength(apdu.p3));
    if (m_response.empty() || length > m_response.size())
        return wrongP3(m_response.size());
    return CardResponse{
        std::vector<uint8_t>(m_response.begin(), m_response.begin() + static_cast<std::ptrdiff_t>(length)), kOk};
}

bool SimCardModel::fulfilled(AccessLevel level) const
{
    switch (level) {
    case AccessLevel::Always:
        return true;
    case AccessLevel::Chv1:
        return !m_card.chv1.enabled || m_chv1Verified;
    case AccessLevel::Chv2:
        return m_chv2Verified;
    case AccessLevel::Adm:
    case AccessLevel::Never:
        return false;
    }
    return false;
}

uint16_t SimCardModel::checkAccess(const SimFile& ef, AccessLevel level) const
{
    if (!fulfilled(level))
        return kAccessNotFulfilled;
    if (ef.invalidated && !ef.readableWhenInvalidated)
        return kInvalidationContradiction;
    return 0;
}

bool SimCardModel::persist()
{
    if (m_path.isEmpty())
        return true;
    QString error;
    if (!CardFile::save(m_card, m_path, error)) {
        m_saveError = error;
        return false;
    }
    m_saveError.clear();
    return true;
}

CardResponse SimCardModel::readBinary(const Apdu& apdu)
{
    if (m_currentEf < 0)
        return sw(kNoEfSelected);
    const SimFile& ef = m_card.files[static_cast<std::size_t>(m_currentEf)];
    if (ef.structure != FileStructure::Transparent)
        return sw(kInconsistent);
    if (const uint16_t denied = checkAccess(ef, ef.access.read))
        return sw(denied);
    const int offset = apdu.p1 << 8 | apdu.p2;
    if ((apdu.p1 & 0x80) != 0 || offset >= ef.size())
        return sw(kWrongP1P2);
    const int length = expectedLength(apdu.p3);
    if (offset + length > ef.size())
        return sw(kWrongP3);
    const auto from = ef.data.begin() + offset;
    return CardResponse{std::vector<uint8_t>(from, from + length), kOk};
}

CardResponse SimCardModel::updateBinary(const Apdu& apdu)
{
    if (m_currentEf < 0)
        return sw(kNoEfSelected);
    SimFile& ef = m_card.files[static_cast<std::size_t>(m_currentEf)];
    if (ef.structure != FileStructure::Transparent)
        return sw(kInconsistent);
    if (const uint16_t denied = checkAccess(ef, ef.access.update))
        return sw(denied);
    const int offset = apdu.p1 << 8 | apdu.p2;
    if ((apdu.p1 & 0x80) != 0 || offset >= ef.size())
        return sw(kWrongP1P2);
    if (apdu.p3 == 0 || offset + apdu.p3 > ef.size())
        return sw(kWrongP3);
    const std::vector<uint8_t> before = ef.data;
    std::copy(apdu.data.begin(), apdu.data.end(), ef.data.begin() + offset);
    if (!persist()) {
        ef.data = before;
        return sw(kMemoryProblem);
    }
    return sw(kOk);
}

int SimCardModel::resolveRecord(const SimFile& ef, uint8_t p1, uint8_t mode, uint16_t& word)
{
    const int count = ef.recordCount();
    const bool cyclic = ef.structure == FileStructure::Cyclic;
    switch (mode) {
    case kModeAbsolute:
        // Record 0 is the current record; absolute addressing leaves the pointer where it is.
        if (p1 == 0) {
            if (m_recordPointer == 0)
                word = kOutOfRange;
            return m_recordPointer;
        }
        if (p1 > count) {
            word = kOutOfRange;
            return 0;
        }
        return p1;
    case kModeNext:
    case kModePrevious: {
        if (p1 != 0) {
            word = kWrongP1P2;
            return 0;
        }
        int next = 0;
        if (mode == kModeNext) {
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
            word = kOutOfRange;
            return 0;
        }
        m_recordPointer = next;
        return next;
    }
    default:
        word = kWrongP1P2;
        return 0;
    }
}

CardResponse SimCardModel::readRecord(const Apdu& apdu)
{
    if (m_currentEf < 0)
        return sw(kNoEfSelected);
    const SimFile& ef = m_card.files[static_cast<std::size_t>(m_currentEf)];
    if (ef.structure == FileStructure::Transparent)
        return sw(kInconsistent);
    if (const uint16_t denied = checkAccess(ef, ef.access.read))
        return sw(denied);
    if (apdu.p2 != kModeNext && apdu.p2 != kModePrevious && apdu.p2 != kModeAbsolute)
        return sw(kWrongP1P2);
    if (expectedLength(apdu.p3) != ef.recordLength)
        return wrongP3(static_cast<std::size_t>(ef.recordLength));
    uint16_t word = kOk;
    const int record = resolveRecord(ef, apdu.p1, apdu.p2, word);
    if (word != kOk)
        return sw(word);
    const auto from = ef.data.begin() + static_cast<std::ptrdiff_t>(record - 1) * ef.recordLength;
    return CardResponse{std::vector<uint8_t>(from, from + ef.recordLength), kOk};
}

CardResponse SimCardModel::updateRecord(const Apdu& apdu)
{
    if (m_currentEf < 0)
        return sw(kNoEfSelected);
    SimFile& ef = m_card.files[static_cast<std::size_t>(m_currentEf)];
    if (ef.structure == FileStructure::Transparent)
        return sw(kInconsistent);
    if (const uint16_t denied = checkAccess(ef, ef.access.update))
        return sw(denied);
    const bool cyclic = ef.structure == FileStructure::Cyclic;
    // A cyclic file is written in PREVIOUS mode only: the oldest record is overwritten and becomes
    // record 1.
    if (cyclic ? (apdu.p2 != kModePrevious || apdu.p1 != 0)
               : (apdu.p2 != kModeNext && apdu.p2 != kModePrevious && apdu.p2 != kModeAbsolute))
        return sw(kWrongP1P2);
    if (apdu.p3 != ef.recordLength)
        return wrongP3(static_cast<std::size_t>(ef.recordLength));

    const std::vector<uint8_t> before = ef.data;
    const int pointerBefore = m_recordPointer;
    if (cyclic) {
        ef.data.resize(ef.data.size() - static_cast<std::size_t>(ef.recordLength));
        ef.data.insert(ef.data.begin(), apdu.data.begin(), apdu.data.end());
        m_recordPointer = 1;
    } else {
        uint16_t word = kOk;
        const int record = resolveRecord(ef, apdu.p1, apdu.p2, word);
        if (word != kOk)
            return sw(word);
        std::copy(apdu.data.begin(), apdu.data.end(),
                  ef.data.begin() + static_cast<std::ptrdiff_t>(record - 1) * ef.recordLength);
    }
    if (!persist()) {
        ef.data = before;
        m_recordPointer = pointerBefore;
        return sw(kMemoryProblem);
    }
    return sw(kOk);
}

CardResponse SimCardModel::seek(const Apdu& apdu)
{
    if (m_currentEf < 0)
        return sw(kNoEfSelected);
    const SimFile& ef = m_card.files[static_cast<std::size_t>(m_currentEf)];
    if (ef.structure != FileStructure::LinearFixed)
        return sw(kInconsistent);
    if (const uint16_t denied = checkAccess(ef, ef.access.read))
        return sw(denied);
    // P2: high nibble type 0 (pointer only) or 1 (record number returned); low nibble the mode:
    // 0 from the beginning forwards, 1 from the end backwards, 2 from the next record forwards,
    // 3 from the previous record backwards.
    const uint8_t type = apdu.p2 >> 4;
    const uint8_t mode = apdu.p2 & 0x0F;
    if (apdu.p1 != 0 || type > 1 || mode > 3)
        return sw(kWrongP1P2);
    if (apdu.p3 == 0 || apdu.p3 > 16 || apdu.p3 > ef.recordLength)
        return sw(kWrongP3);
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
                return respond({static_cast<uint8_t>(record)});
            return sw(kOk);
        }
    }
    return sw(kNotFound);
}

CardResponse SimCardModel::increase(const Apdu& apdu)
{
    if (m_currentEf < 0)
        return sw(kNoEfSelected);
    SimFile& ef = m_card.files[static_cast<std::size_t>(m_currentEf)];
    if (ef.structure != FileStructure::Cyclic || ef.recordLength != 3)
        return sw(kInconsistent);
    if (const uint16_t denied = checkAccess(ef, ef.access.increase))
        return sw(denied);
    if (apdu.p1 != 0 || apdu.p2 != 0)
        return sw(kWrongP1P2);
    if (apdu.p3 != 3)
        return wrongP3(3);
    const uint32_t current = static_cast<uint32_t>(ef.data[0] << 16 | ef.data[1] << 8 | ef.data[2]);
    const uint32_t added = static_cast<uint32_t>(apdu.data[0] << 16 | apdu.data[1] << 8 | apdu.data[2]);
    const uint32_t sum = current + added;
    if (sum > 0xFFFFFF)
        return sw(kMaxValueReached);
    const std::vector<uint8_t> value{static_cast<uint8_t>(sum >> 16), static_cast<uint8_t>(sum >> 8),
                                     static_cast<uint8_t>(sum)};
    const std::vector<uint8_t> before = ef.data;
    const int pointerBefore = m_recordPointer;
    // Like an UPDATE in PREVIOUS mode: the result overwrites the oldest record, now record 1.
    ef.data.resize(ef.data.size() - 3);
    ef.data.insert(ef.data.begin(), value.begin(), value.end());
    m_recordPointer = 1;
    if (!persist()) {
        ef.data = before;
        m_recordPointer = pointerBefore;
        return sw(kMemoryProblem);
    }
    std::vector<uint8_t> response = value;
    response.insert(response.end(), apdu.data.begin(), apdu.data.end());
    return respond(std::move(response));
}

CardResponse SimCardModel::setInvalidated(const Apdu& apdu, bool invalidate)
{
    if (m_currentEf < 0)
        return sw(kNoEfSelected);
    SimFile& ef = m_card.files[static_cast<std::size_t>(m_currentEf)];
    if (apdu.p1 != 0 || apdu.p2 != 0)
        return sw(kWrongP1P2);
    if (apdu.p3 != 0)
        return wrongP3(0);
    if (!fulfilled(invalidate ? ef.access.invalidate : ef.access.rehabilitate))
        return sw(kAccessNotFulfilled);
    if (ef.invalidated == invalidate)
        return sw(kOk);
    ef.invalidated = invalidate;
    if (!persist()) {
        ef.invalidated = !invalidate;
        return sw(kMemoryProblem);
    }
    return sw(kOk);
}

// ---- card holder verification ------------------------------------------------------------------

uint16_t SimCardModel::wrongCode(int& attemptsLeft, bool& isVerified)
{
    attemptsLeft = std::max(0, attemptsLeft - 1);
    isVerified = false;
    // The attempt stays used even when it cannot be saved: a full disk must not give free tries.
    if (!persist())
        return kMemoryProblem;
    return attemptsLeft == 0 ? kChvBlocked : kAccessNotFulfilled;
}

CardResponse SimCardModel::verifyChv(const Apdu& apdu)
{
    if (apdu.p1 != 0 || (apdu.p2 != 1 && apdu.p2 != 2))
        return sw(kWrongP1P2);
    if (apdu.p3 != 8)
        return wrongP3(8);
    ChvState& c = chv(apdu.p2);
    bool& isVerified = verified(apdu.p2);
    if (apdu.p2 == 1 && !c.enabled)
        return sw(kChvContradiction);
    if (c.attemptsLeft == 0)
        return sw(kChvBlocked);
    if (blockAt(apdu.data, 0) != chvBlock(c.code))
        return sw(wrongCode(c.attemptsLeft, isVerified));
    isVerified = true;
    if (c.attemptsLeft != ChvState::kMaxAttempts) {
        c.attemptsLeft = ChvState::kMaxAttempts;
        if (!persist())
            return sw(kMemoryProblem);
    }
    return sw(kOk);
}

CardResponse SimCardModel::changeChv(const Apdu& apdu)
{
    if (apdu.p1 != 0 || (apdu.p2 != 1 && apdu.p2 != 2))
        return sw(kWrongP1P2);
    if (apdu.p3 != 16)
        return wrongP3(16);
    ChvState& c = chv(apdu.p2);
    bool& isVerified = verified(apdu.p2);
    if (apdu.p2 == 1 && !c.enabled)
        return sw(kChvContradiction);
    if (c.attemptsLeft == 0)
        return sw(kChvBlocked);
    const auto newBlock = blockAt(apdu.data, 8);
    // A new code the card could not present again (not 4-8 digits) is refused before the old one
    // is checked, so no attempt is spent on it.
    if (!isValidChvBlock(newBlock))
        return sw(kTechnicalProblem);
    if (blockAt(apdu.data, 0) != chvBlock(c.code))
        return sw(wrongCode(c.attemptsLeft, isVerified));
    const ChvState before = c;
    c.code = chvDigits(newBlock);
    c.attemptsLeft = ChvState::kMaxAttempts;
    if (!persist()) {
        c = before;
        return sw(kMemoryProblem);
    }
    isVerified = true;
    return sw(kOk);
}

CardResponse SimCardModel::setChv1Enabled(const Apdu& apdu, bool enable)
{
    if (apdu.p1 != 0 || apdu.p2 != 1)
        return sw(kWrongP1P2);
    if (apdu.p3 != 8)
        return wrongP3(8);
    ChvState& c = m_card.chv1;
    if (c.enabled == enable)
        return sw(kChvContradiction);
    if (c.attemptsLeft == 0)
        return sw(kChvBlocked);
    if (blockAt(apdu.data, 0) != chvBlock(c.code))
        return sw(wrongCode(c.attemptsLeft, m_chv1Verified));
    const ChvState before = c;
    c.enabled = enable;
    c.attemptsLeft = ChvState::kMaxAttempts;
    if (!persist()) {
        c = before;
        return sw(kMemoryProblem);
    }
    m_chv1Verified = enable;
    return sw(kOk);
}

CardResponse SimCardModel::unblockChv(const Apdu& apdu)
{
    // P2: 00 unblocks CHV1, 02 CHV2.
    if (apdu.p1 != 0 || (apdu.p2 != 0 && apdu.p2 != 2))
        return sw(kWrongP1P2);
    if (apdu.p3 != 16)
        return wrongP3(16);
    const int number = apdu.p2 == 0 ? 1 : 2;
    ChvState& c = chv(number);
    bool& isVerified = verified(number);
    if (c.unblockAttemptsLeft == 0)
        return sw(kChvBlocked);
    const auto newBlock = blockAt(apdu.data, 8);
    if (!isValidChvBlock(newBlock))
        return sw(kTechnicalProblem);
    if (blockAt(apdu.data, 0) != chvBlock(c.unblockCode))
        return sw(wrongCode(c.unblockAttemptsLeft, isVerified));
    const ChvState before = c;
    c.code = chvDigits(newBlock);
    c.attemptsLeft = ChvState::kMaxAttempts;
    c.unblockAttemptsLeft = ChvState::kMaxUnblockAttempts;
    // A successful unblock leaves CHV1 enabled.
    c.enabled = true;
    if (!persist()) {
        c = before;
        return sw(kMemoryProblem);
    }
    isVerified = true;
    return sw(kOk);
}

// ---- authentication and toolkit ---------------------------------------------------------------

std::array<uint8_t, 12> SimCardModel::gsmAlgorithm(const std::array<uint8_t, 16>& ki, std::span<const uint8_t, 16> rand)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArrayView("kestrel-a3a8"));
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(ki.data()), static_cast<qsizetype>(ki.size())));
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(rand.data()), static_cast<qsizetype>(rand.size())));
    const QByteArray digest = hash.result();
    std::array<uint8_t, 12> out;
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<uint8_t>(digest[static_cast<qsizetype>(i)]);
    return out;
}

CardResponse SimCardModel::runGsmAlgorithm(const Apdu& apdu)
{
    if (apdu.p1 != 0 || apdu.p2 != 0)
        return sw(kWrongP1P2);
    if (apdu.p3 != 16)
        return wrongP3(16);
    if (!fulfilled(AccessLevel::Chv1))
        return sw(kAccessNotFulfilled);
    if (m_card.options.authenticationExhausted)
        return sw(kInconsistent);
    const auto result = gsmAlgorithm(m_card.ki, std::span<const uint8_t, 16>(apdu.data.data(), 16));
    return respond(std::vector<uint8_t>(result.begin(), result.end()));
}

bool SimCardModel::isProactive() const
{
    const SimFile* phase = nullptr;
    const SimFile* sst = nullptr;
    for (const SimFile& f : m_card.files) {
        if (f.path == std::vector<uint16_t>{0x3F00, 0x7F20, 0x6FAE})
            phase = &f;
        else if (f.path == std::vector<uint16_t>{0x3F00, 0x7F20, 0x6F38})
            sst = &f;
    }
    if (!phase || phase->data.empty() || phase->data[0] < kPhase2Plus || !sst)
        return false;
    // Service n: byte (n-1)/4, bits 2*((n-1)%4) (allocated) and the one above (activated).
    const int n = kServiceProactive - 1;
    const auto byte = static_cast<std::size_t>(n / 4);
    const int bits = 3 << (2 * (n % 4));
    return byte < sst->data.size() && (sst->data[byte] & bits) == bits;
}

CardResponse SimCardModel::toolkit(const Apdu& apdu)
{
    if (apdu.p1 != 0 || apdu.p2 != 0)
        return sw(kWrongP1P2);
    switch (apdu.ins) {
    case kTerminalProfile:
        if (apdu.p3 == 0)
            return sw(kWrongP3);
        return sw(m_toolkit.terminalProfile(apdu.data, isProactive()));
    case kFetch:
        return m_toolkit.fetch(expectedLength(apdu.p3));
    case kTerminalResponse:
        return sw(m_toolkit.terminalResponse(apdu.data));
    default:
        return sw(m_toolkit.envelope(apdu.data));
    }
}

} // namespace kestrel::emulator
