#include "info/SimInformationReader.h"

#include <array>
#include <cmath>

#include "app/CardOperation.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "codec/DialDigits.h"
#include "codec/FixedText.h"
#include "codec/PcText.h"
#include "sim/DialFiles.h"
#include "gsm/StatusWords.h"
#include "sim/SimCard.h"

namespace kestrel {

namespace {

constexpr int kCaptionWorking = sid::WorkingOnSimCard_5106;   // "Kestrel! - Working on SIM Card"
constexpr int kCaptionPhoneBook = sid::ReadingPhoneBook_5100; // "Kestrel! - Reading Phone Book"
constexpr int kYes = sid::Yes_57905;
constexpr int kNo = sid::No_57906;
constexpr int kNone = sid::None_6150;
constexpr int kAuthenticationBlocked = sid::CardIsBlockedByAuthentification_5615;
constexpr int kImsiNotReadable = sid::EntryCanNotBeOvewritten_5610;
constexpr int kListProtected = sid::EntryCanNotBeOverwritten_5609;
constexpr int kReaderOperationError =
    sid::ErrorDuringSmartcardReaderOperation_57642; // "Error during smartcard reader operation:"
constexpr int kGlobalPage = sid::Global_6100;
constexpr int kCapacityPage = sid::PhoneBookAndSms_6101;
constexpr int kCalledPage = sid::CalledNumbers_6102;
constexpr int kPersonalPage = sid::PersonalNumbers_6103;

// RUN GSM ALGORITHM is only a probe of the authentication counter here: the answer is not used,
// so any fixed challenge serves.
constexpr std::array<uint8_t, 16> kChallenge = {0x4B, 0x65, 0x73, 0x74, 0x72, 0x65, 0x6C, 0x21,
                                                0x53, 0x49, 0x4D, 0x20, 0x69, 0x6E, 0x66, 0x6F};

// EF_LND and EF_MSISDN are read into room for 150 records.
constexpr std::size_t kListRoom = 150;

// Dialling-number records: 14 bytes besides the alpha identifier.
constexpr int kDialRecordOverhead = 14;

QString yesNo(bool yes)
{
    return StringTable::text(yes ? kYes : kNo);
}

uint32_t meterValue(std::span<const uint8_t> bytes)
{
    return static_cast<uint32_t>(bytes[0]) << 16 | static_cast<uint32_t>(bytes[1]) << 8 | bytes[2];
}

char hexNibble(uint8_t n)
{
    return "0123456789ABCDEF"[n & 0x0F];
}

} // namespace

SimInformationReader::SimInformationReader(SimCard& card, Prompter& prompter, ProgressSink* progress)
    : m_card(card), m_prompter(prompter), m_progress(progress)
{}

// ---- operations ---------------------------------------------------------------------------------

bool SimInformationReader::readAll(SimInformation& info)
{
    info = SimInformation{};
    CardOperation operation(m_card, m_prompter, m_progress);
    const bool ok = operation.run(kCaptionWorking, OpenFlags{true, false, true, false, true}, [&] {
        m_stepText = StringTable::text(kGlobalPage);
        if (!globalWork(info.global))
            return false;
        m_stepText = StringTable::text(kCapacityPage);
        if (!capacityWork(info.capacities))
            return false;
        m_stepText = StringTable::text(kCalledPage);
        if (!numberListWork(gsm::fid::kEfLnd, info.lastDialled))
            return false;
        m_stepText = StringTable::text(kPersonalPage);
        return numberListWork(gsm::fid::kEfMsisdn, info.ownNumbers);
    });
    m_errorText = operation.errorText();
    tellAfterRun(&info.global, &info.lastDialled, &info.ownNumbers);
    return ok;
}

bool SimInformationReader::readGlobal(GlobalInfo& global)
{
    global = GlobalInfo{};
    m_stepText = StringTable::text(kGlobalPage);
    const bool ok = runPage([&] { return globalWork(global); });
    tellAfterRun(&global, nullptr, nullptr);
    return ok;
}

bool SimInformationReader::readCapacities(CapacityInfo& capacities)
{
    capacities = CapacityInfo{};
    m_stepText = StringTable::text(kCapacityPage);
    return runPage([&] { return capacityWork(capacities); });
}

bool SimInformationReader::runPage(const std::function<bool()>& work)
{
    CardOperation operation(m_card, m_prompter, m_progress);
    operation.setShowFailure(false);
    const bool ok = operation.run(kCaptionWorking, OpenFlags{true, false, true, false, true}, work);
    m_errorText.clear();
    if (!ok) {
        m_errorText = StringTable::text(kReaderOperationError) + QStringLiteral("\r\n") +
                      cardStatusMessage(operation.failureStatus());
        if (operation.failureToShow())
            m_prompter.messageText(m_errorText, PromptIcon::Stop);
    }
    return ok;
}

bool SimInformationReader::readNumberList(uint16_t fileId, NumberListInfo& list)
{
    list = NumberListInfo{};
    CardOperation operation(m_card, m_prompter, m_progress);
    m_stepText = StringTable::text(fileId == gsm::fid::kEfLnd ? kCalledPage : kPersonalPage);
    const bool ok = operation.run(kCaptionPhoneBook, OpenFlags{true, false, true, false, true},
                                  [&] { return numberListWork(fileId, list); });
    m_errorText = operation.errorText();
    tellAfterRun(nullptr, &list, nullptr);
    return ok;
}

// What a page tells beyond a failed operation: a card blocked by its authentication counter, a
// number list behind a code.
void SimInformationReader::tellAfterRun(const GlobalInfo* global, const NumberListInfo* lnd,
                                        const NumberListInfo* msisdn)
{
    if (global && global->authenticationBlocked)
        m_prompter.showCardError(StringTable::text(kAuthenticationBlocked));
    for (const NumberListInfo* list : {lnd, msisdn}) {
        if (list && list->passwordProtected)
            m_prompter.message(kListProtected, PromptIcon::Stop);
    }
}

bool SimInformationReader::step(int percent)
{
    return m_card.showProgress(m_stepText, percent);
}

bool SimInformationReader::readTransparent(uint16_t df, uint16_t ef, std::vector<uint8_t>& data)
{
    FileInfo info;
    if (!m_card.selectFile(df, ef, nullptr, &info))
        return false;
    data.assign(static_cast<std::size_t>(info.fileSize), 0);
    int length = info.fileSize;
    if (!m_card.readFile(df, ef, data, length))
        return false;
    data.resize(static_cast<std::size_t>(length));
    return true;
}

// ---- global values ------------------------------------------------------------------------------

bool SimInformationReader::globalWork(GlobalInfo& global)
{
    std::array<uint8_t, 12> response{};
    uint16_t sw = 0;
    if (!m_card.runGsmAlgorithm(kChallenge, response, sw)) {
        if (m_card.lastStatus() == CardStatus::AuthenticationBlocked) {
            global.authenticationBlocked = true;
            m_card.setLastStatus(CardStatus::Ok);
            return true;
        }
        // 98 xx (a code not presented) leaves the counter's state unknown but the card usable.
        if (m_card.lastStatus() != CardStatus::WrongPin)
            return false;
    }

    DirectoryInfo mf;
    if (!m_card.selectFile(gsm::fid::kMf, 0, &mf))
        return false;
    // Rows PIN1, PIN2, PUK1, PUK2: whether the code is set up, and the attempts it has left.
    const std::array<const CodeStatus*, 4> codes = {&mf.chv1, &mf.chv2, &mf.unblockChv1, &mf.unblockChv2};
    for (std::size_t k = 0; k < global.chv.size(); ++k) {
        global.chv[k].supported = yesNo(codes[k]->initialised);
        global.chv[k].limit = QString::number(codes[k]->attemptsLeft);
    }
    global.chv[0].activated = yesNo(mf.chv1Enabled);
    if (!step(10))
        return false;

    std::vector<uint8_t> data;
    if (!readTransparent(gsm::fid::kMf, gsm::fid::kEfIccid, data))
        return false;
    global.iccid = iccidText(data);
    if (!step(20))
        return false;

    if (!readTransparent(gsm::fid::kDfGsm, gsm::fid::kEfPhase, data))
        return false;
    global.phase = data.empty() ? QString() : SimCard::phaseText(data[0]);
    if (!step(40))
        return false;

    if (readTransparent(gsm::fid::kDfGsm, gsm::fid::kEfImsi, data)) {
        global.imsi = imsiText(data);
    } else if (m_card.lastSw() == gsm::sw::kInvalidationContradiction) {
        global.imsi = StringTable::text(kImsiNotReadable);
    } else if (m_card.lastSw() != gsm::sw::kAccessNotFulfilled) {
        return false;
    }
    m_card.setLastStatus(CardStatus::Ok);
    if (!step(50))
        return false;

    if (!m_card.hasService(gsm::service::kAdviceOfCharge)) {
        const QString none = StringTable::text(kNone);
        global.currency = global.pricePerUnit = global.sumUsed = global.creditRemaining = none;
        return step(100);
    }
    return callCosts(global);
}

// EF_PUCT, EF_ACM and EF_ACMmax (GSM 11.11 advice of charge).
bool SimInformationReader::callCosts(GlobalInfo& global)
{
    std::vector<uint8_t> puct;
    if (!readTransparent(gsm::fid::kDfGsm, gsm::fid::kEfPuct, puct))
        return false;
    global.currency = currencyText(puct);
    global.price = unitPrice(puct);
    global.pricePerUnit = global.price ? amountText(*global.price) : QStringLiteral("???");
    if (!step(60))
        return false;

    // EF_ACM: the first record holding a non-zero meter counts.
    FileInfo info;
    if (!m_card.selectFile(gsm::fid::kDfGsm, gsm::fid::kEfAcm, nullptr, &info))
        return false;
    uint32_t acm = 0;
    for (int record = 1; record <= info.recordCount && acm == 0; ++record) {
        std::array<uint8_t, 3> value{};
        int length = static_cast<int>(value.size());
        if (!m_card.readFile(gsm::fid::kDfGsm, gsm::fid::kEfAcm, value, length, record, 4))
            return false;
        if (length >= 3)
            acm = meterValue(value);
    }
    global.acmUnits = acm;
    if (acm != 0 && global.price)
        global.sumUsed = amountText(acm * *global.price);
    if (!step(80))
        return false;

    std::vector<uint8_t> max;
    if (!readTransparent(gsm::fid::kDfGsm, gsm::fid::kEfAcmMax, max))
        return false;
    const uint32_t acmMax = max.size() >= 3 ? meterValue(max) : 0;
    global.acmMaxUnits = acmMax;
    if (acmMax != 0 && global.price && acmMax >= acm)
        global.creditRemaining = amountText((acmMax - acm) * *global.price);
    return step(90) && step(100);
}

// ---- capacities ---------------------------------------------------------------------------------

bool SimInformationReader::capacityWork(CapacityInfo& capacities)
{
    // Selected afresh, from the MF down.
    DirectoryInfo mf;
    if (!m_card.selectFile(gsm::fid::kMf, 0, &mf))
        return false;
    struct File
    {
        uint16_t id;
        int service;
        FileCapacity& out;
        bool named;
        int percent;
    };
    const File files[] = {
        {gsm::fid::kEfAdn, gsm::service::kAdn, capacities.phoneBook, true, 20},
        {gsm::fid::kEfFdn, gsm::service::kFdn, capacities.fdn, true, 40},
        {gsm::fid::kEfSms, gsm::service::kSms, capacities.sms, false, 60},
    };
    for (const File& f : files) {
        if (m_card.hasService(f.service)) {
            FileInfo info;
            if (!m_card.selectFile(gsm::fid::kDfTelecom, f.id, nullptr, &info))
                return false;
            f.out.items = QString::number(info.recordCount);
            if (f.named)
                f.out.nameLength = QString::number(std::max(info.recordLength - kDialRecordOverhead, 0));
        } else {
            f.out.items = StringTable::text(kNone);
            if (f.named)
                f.out.nameLength = StringTable::text(kNone);
        }
        if (!step(f.percent))
            return false;
    }
    return step(100);
}

// ---- number lists -------------------------------------------------------------------------------

bool SimInformationReader::numberListWork(uint16_t fileId, NumberListInfo& list)
{
    // A card without the file's service has no such list; that is no failure.
    const int service = fileId == gsm::fid::kEfLnd ? gsm::service::kLnd : gsm::service::kMsisdn;
    if (!m_card.hasService(service)) {
        list.items = list.nameLength = StringTable::text(kNone);
        return true;
    }
    std::vector<DialEntry> entries(kListRoom);
    DialListSize size;
    if (!DialFiles(m_card).readDialList(fileId, entries, size)) {
        if (m_card.lastStatus() != CardStatus::InaccessibleRecord)
            return false;
        list.passwordProtected = true;
        m_card.setLastStatus(CardStatus::Ok);
        return true;
    }
    list.items = QString::number(size.count);
    list.nameLength = QString::number(size.alphaLength);
    entries.resize(static_cast<std::size_t>(size.count));
    for (const DialEntry& e : entries)
        list.lines.push_back(numberLine(e));
    list.entries = std::move(entries);
    return true;
}

// ---- decoding -----------------------------------------------------------------------------------

QString SimInformationReader::iccidText(std::span<const uint8_t> data)
{
    QString text;
    for (uint8_t b : data) {
        for (uint8_t nibble : {static_cast<uint8_t>(b & 0x0F), static_cast<uint8_t>(b >> 4)}) {
            if (nibble != 0x0F)
                text += QLatin1Char(hexNibble(nibble));
        }
    }
    return text;
}

QString SimInformationReader::imsiText(std::span<const uint8_t> data)
{
    QString text;
    if (data.empty())
        return text;
    // Nibble 0 (low of the first data byte) is the parity; the digits follow. A length byte
    // pointing past the file reads only what is there.
    const std::size_t digits = data[0] > 0 ? 2u * data[0] - 1 : 0;
    const std::size_t available = (data.size() - 1) * 2;
    for (std::size_t i = 1; i <= digits && i < available; ++i) {
        const uint8_t b = data[1 + i / 2];
        const uint8_t nibble = i % 2 == 0 ? (b & 0x0F) : (b >> 4);
        if (nibble != 0x0F)
            text += QLatin1Char(hexNibble(nibble));
    }
    return text;
}

QString SimInformationReader::currencyText(std::span<const uint8_t> puct)
{
    if (puct.empty() || puct[0] == 0xFF)
        return QStringLiteral("???");
    QString text;
    for (std::size_t i = 0; i < 3 && i < puct.size(); ++i) {
        const uint8_t c = puct[i];
        text += QLatin1Char(c >= 0x20 && c < 0x80 ? static_cast<char>(c) : '?');
    }
    return text;
}

std::optional<double> SimInformationReader::unitPrice(std::span<const uint8_t> puct)
{
    if (puct.size() < 5)
        return std::nullopt;
    // Byte 4: EPPU bits 12-5; byte 5: EPPU bits 4-1 in bits 1-4, the sign of EX in bit 5, |EX|
    // in bits 6-8.
    const int eppu = puct[3] << 4 | (puct[4] & 0x0F);
    if (eppu == 0)
        return std::nullopt;
    int ex = puct[4] >> 5;
    if ((puct[4] & 0x10) != 0)
        ex = -ex;
    return eppu * std::pow(10.0, ex);
}

QString SimInformationReader::amountText(double amount)
{
    return QString::asprintf("%7.2f", amount);
}

QString SimInformationReader::numberLine(const DialEntry& entry)
{
    const unsigned record = entry.position + 1u;
    if (entry.valid == 0)
        return QString::number(record);
    const std::string number = JoinPlus(fixedText(entry.number), entry.ton);
    return QStringLiteral("%1\t%2\t%3")
        .arg(record)
        .arg(pcTextToUnicode(fixedText(entry.name)), QString::fromLatin1(number.c_str()));
}

} // namespace kestrel
