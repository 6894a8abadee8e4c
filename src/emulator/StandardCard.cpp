#include "emulator/StandardCard.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string>

#include "codec/DialDigits.h"
#include "codec/DialRecord.h"
#include "codec/FixedText.h"
#include "codec/PlmnCodec.h"
#include "codec/SmsCodec.h"
#include "codec/SmsTime.h"
#include "gsm/FileIds.h"
#include "gsm/Services.h"

namespace kestrel::emulator {

namespace {

using namespace gsm::fid;
namespace service = gsm::service;

using A = AccessLevel;

AccessConditions access(A read, A update, A invalidate = A::Adm, A rehabilitate = A::Adm, A increase = A::Never)
{
    AccessConditions a;
    a.read = read;
    a.update = update;
    a.increase = increase;
    a.invalidate = invalidate;
    a.rehabilitate = rehabilitate;
    return a;
}

SimFile directory(std::vector<uint16_t> path)
{
    SimFile f;
    f.type = path.size() == 1 ? FileType::MF : FileType::DF;
    f.name = standardFileName(path);
    f.path = std::move(path);
    return f;
}

SimFile transparent(std::vector<uint16_t> path, std::vector<uint8_t> data, AccessConditions ac)
{
    SimFile f;
    f.name = standardFileName(path);
    f.path = std::move(path);
    f.structure = FileStructure::Transparent;
    f.data = std::move(data);
    f.access = ac;
    return f;
}

SimFile records(std::vector<uint16_t> path, FileStructure structure, int count, int length, AccessConditions ac,
                uint8_t fill = 0xFF)
{
    SimFile f;
    f.name = standardFileName(path);
    f.path = std::move(path);
    f.structure = structure;
    f.recordLength = length;
    f.data.assign(static_cast<std::size_t>(count * length), fill);
    f.access = ac;
    return f;
}

std::span<uint8_t> record(SimFile& f, int number)
{
    return std::span<uint8_t>(f.data).subspan(static_cast<std::size_t>((number - 1) * f.recordLength),
                                              static_cast<std::size_t>(f.recordLength));
}

// Digit pairs of GSM 11.11 BCD fields: first digit in the low nibble, 0xF filler.
std::vector<uint8_t> swappedBcd(std::string_view digits, std::size_t bytes)
{
    std::vector<uint8_t> out(bytes, 0xFF);
    for (std::size_t i = 0; i < digits.size() && i / 2 < bytes; ++i) {
        const uint8_t d = DigitToNibble(digits[i]);
        uint8_t& b = out[i / 2];
        b = (i % 2 == 0) ? static_cast<uint8_t>((b & 0xF0) | d) : static_cast<uint8_t>((b & 0x0F) | d << 4);
    }
    return out;
}

char luhnCheckDigit(std::string_view digits)
{
    int sum = 0;
    bool twice = true; // the digit next to the check digit is doubled
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        int d = *it - '0';
        if (twice) {
            d *= 2;
            if (d > 9)
                d -= 9;
        }
        sum += d;
        twice = !twice;
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

DialEntry dial(const char* name, const char* number, uint8_t ton)
{
    DialEntry e = DialEntry::emptyAt(0);
    e.valid = 1;
    setFixedText(e.name, name);
    setFixedText(e.number, number);
    e.ton = ton;
    e.npi = 1; // ISDN/telephony numbering plan
    return e;
}

// Writes a dialling-number record, with the extension records its number needs in ext.
void putDial(SimFile& file, int number, const DialEntry& entry, SimFile& ext)
{
    std::set<uint8_t> taken;
    auto allocate = [&ext, &taken]() -> std::optional<uint8_t> {
        for (int r = 1; r <= ext.recordCount(); ++r) {
            const auto bytes = record(ext, r);
            if (std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0xFF; }) &&
                !taken.contains(static_cast<uint8_t>(r))) {
                taken.insert(static_cast<uint8_t>(r));
                return static_cast<uint8_t>(r);
            }
        }
        return std::nullopt;
    };
    const DialEncodeResult result = EncodeDialRecord(entry, record(file, number), allocate);
    for (const ExtensionRecord& x : result.extensions)
        std::copy(x.bytes.begin(), x.bytes.end(), record(ext, x.id).begin());
}

SmsEntry sms(SmsStatus status, const char* number, const char* when, const char* text)
{
    SmsEntry e;
    e.valid = 1;
    e.status = static_cast<int32_t>(status);
    setFixedText(e.scNumber, "420602909909");
    e.scTon = 1;
    e.scNpi = 1;
    setFixedText(e.number, number);
    e.numberTon = 1;
    e.numberNpi = 1;
    setFixedText(e.when, when);
    setFixedText(e.text, text);
    return e;
}

void putSms(SimFile& file, int number, const SmsEntry& entry)
{
    const SmsEncodeResult encoded = EncodeSmsRecord(entry, file.recordLength);
    if (encoded.fits)
        std::copy(encoded.record.begin(), encoded.record.end(), record(file, number).begin());
}

// EF_SMSP record: alpha identifier, then the 28 bytes of parameters (GSM 11.11).
std::vector<uint8_t> smsParameters(int recordLength)
{
    std::vector<uint8_t> r(static_cast<std::size_t>(recordLength), 0xFF);
    const std::size_t p = static_cast<std::size_t>(recordLength - 28);
    const std::string alpha = "Kestrel SMSC";
    std::copy_n(alpha.begin(), std::min(alpha.size(), p), r.begin());
    // Indicators: service centre, protocol id, coding scheme and validity present (bits 2-5 clear);
    // no destination address.
    r[p] = 0xE1;
    const std::string sc = "420602909909";
    r[p + 13] = static_cast<uint8_t>((sc.size() + 1) / 2 + 1);
    r[p + 14] = 0x91; // international, ISDN/telephony
    const auto digits = swappedBcd(sc, 10);
    std::copy(digits.begin(), digits.end(), r.begin() + static_cast<std::ptrdiff_t>(p + 15));
    r[p + 25] = 0x00; // TP-PID: plain short message
    r[p + 26] = 0x00; // TP-DCS: default alphabet
    r[p + 27] = 167;  // TP-VP: one day
    return r;
}

// EF_SST: two bits per service (allocated, activated), service 1 in the low bits of byte 1.
std::vector<uint8_t> serviceTable(std::initializer_list<int> services, std::size_t size)
{
    std::vector<uint8_t> sst(size, 0x00);
    for (int n : services) {
        const auto byte = static_cast<std::size_t>((n - 1) / 4);
        sst[byte] = static_cast<uint8_t>(sst[byte] | 3 << (2 * ((n - 1) % 4)));
    }
    return sst;
}

std::vector<uint8_t> plmns(std::initializer_list<std::pair<uint32_t, uint32_t>> networks, std::size_t size)
{
    std::vector<PlmnEntry> list;
    for (const auto& [mcc, mnc] : networks)
        list.push_back(PlmnEntry{1, 0, mcc, mnc});
    return EncodePlmnList(list, size);
}

std::vector<uint8_t> meter(uint32_t units)
{
    return {static_cast<uint8_t>(units >> 16), static_cast<uint8_t>(units >> 8), static_cast<uint8_t>(units)};
}

} // namespace

SimCardData StandardCard::simCard()
{
    SimCardData card;
    card.kind = CardKind::Sim;
    // TS direct convention; T0: TA1 and TD1 follow, 6 historical bytes; TA1 11 = F 372, D 1;
    // TD1 00 = T=0 only; historical bytes "KESTRL".
    card.atr = {0x3B, 0x96, 0x11, 0x00, 'K', 'E', 'S', 'T', 'R', 'L'};
    for (std::size_t i = 0; i < card.ki.size(); ++i)
        card.ki[i] = static_cast<uint8_t>(0x4B + 17 * i);
    card.chv1 = ChvState{"1234", "12345678", ChvState::kMaxAttempts, ChvState::kMaxUnblockAttempts, true};
    card.chv2 = ChvState{"5678", "87654321", ChvState::kMaxAttempts, ChvState::kMaxUnblockAttempts, true};

    auto& files = card.files;
    files.push_back(directory({kMf}));

    std::string iccid = kIccidDigits;
    iccid += luhnCheckDigit(iccid);
    files.push_back(transparent({kMf, kEfIccid}, swappedBcd(iccid, 10), access(A::Always, A::Never)));

    // DF_TELECOM.
    files.push_back(directory({kMf, kDfTelecom}));
    SimFile adn = records({kMf, kDfTelecom, kEfAdn}, FileStructure::LinearFixed, 250, 28,
                          access(A::Chv1, A::Chv1, A::Chv2, A::Chv2));
    SimFile fdn = records({kMf, kDfTelecom, kEfFdn}, FileStructure::LinearFixed, 10, 28, access(A::Chv1, A::Chv2));
    SimFile smsFile = records({kMf, kDfTelecom, kEfSms}, FileStructure::LinearFixed, 20, 176, access(A::Chv1, A::Chv1));
    for (int r = 1; r <= smsFile.recordCount(); ++r)
        record(smsFile, r)[0] = 0x00; // status byte of a free record
    SimFile msisdn = records({kMf, kDfTelecom, kEfMsisdn}, FileStructure::LinearFixed, 2, 28, access(A::Chv1, A::Chv1));
    SimFile smsp = records({kMf, kDfTelecom, kEfSmsp}, FileStructure::LinearFixed, 2, 40, access(A::Chv1, A::Chv1));
    SimFile lnd = records({kMf, kDfTelecom, kEfLnd}, FileStructure::Cyclic, 10, 28, access(A::Chv1, A::Chv1));
    SimFile ext1 = records({kMf, kDfTelecom, kEfExt1}, FileStructure::LinearFixed, 10, 13, access(A::Chv1, A::Chv1));
    SimFile ext2 = records({kMf, kDfTelecom, kEfExt2}, FileStructure::LinearFixed, 10, 13, access(A::Chv1, A::Chv2));

    putDial(adn, 1, dial("Mother", "420602111222", 1), ext1);
    putDial(adn, 2, dial("Office", "224123456", 0), ext1);
    putDial(adn, 3, dial("Voicemail", "*77#", 0), ext1);
    putDial(adn, 4, dial("Conference bridge", "123456789012345678901234", 0), ext1);
    putDial(adn, 6, dial("Pizza", "777888999", 0), ext1);
    putDial(adn, 7, dial("Hotel Vienna", "43153163001", 1), ext1);
    putDial(fdn, 1, dial("Emergency", "112", 0), ext2);
    putDial(fdn, 2, dial("Mother", "420602111222", 1), ext2);
    putDial(msisdn, 1, dial("My number", "420603123456", 1), ext1);
    // EF_LND: record 1 is the number dialled last.
    putDial(lnd, 1, dial("Office", "224123456", 0), ext1);
    putDial(lnd, 2, dial("", "800123456", 0), ext1);

    const std::string week = ValidityChoiceText(2);
    putSms(smsFile, 1, sms(SmsStatus::Read, "420602111222", "12.03.24 18:45", "Dinner at seven?"));
    putSms(smsFile, 2,
           sms(SmsStatus::Received, "420731000111", "14.03.24 09:02", "Your parcel is waiting at the post office."));
    putSms(smsFile, 3, sms(SmsStatus::ToBeSent, "420602111222", week.c_str(), "See you on Sunday"));
    const auto parameters = smsParameters(smsp.recordLength);
    std::copy(parameters.begin(), parameters.end(), record(smsp, 1).begin());

    for (SimFile* f : {&adn, &fdn, &smsFile, &msisdn, &smsp, &lnd, &ext1, &ext2})
        files.push_back(std::move(*f));

    // DF_GSM.
    files.push_back(directory({kMf, kDfGsm}));
    // EF_IMSI: length 8, then the parity nibble 9 (odd count, IMSI) and 15 digits.
    std::vector<uint8_t> imsi{0x08};
    const auto imsiDigits = swappedBcd("9230011234567890", 8);
    imsi.insert(imsi.end(), imsiDigits.begin(), imsiDigits.end());
    files.push_back(transparent({kMf, kDfGsm, kEfImsi}, imsi, access(A::Chv1, A::Adm, A::Adm, A::Chv1)));
    files.push_back(transparent({kMf, kDfGsm, kEfPlmnSel}, plmns({{230, 2}, {262, 1}}, 24), access(A::Chv1, A::Chv1)));
    files.push_back(
        transparent({kMf, kDfGsm, kEfSst},
                    serviceTable({service::kChv1Disable, service::kAdn, service::kFdn, service::kSms,
                                  service::kAdviceOfCharge, service::kPlmnSel, service::kMsisdn, service::kExt1,
                                  service::kExt2, service::kSmsp, service::kLnd, service::kProactiveSim},
                                 10),
                    access(A::Chv1, A::Adm)));
    files.push_back(transparent({kMf, kDfGsm, kEfFplmn}, plmns({{230, 3}}, 12), access(A::Chv1, A::Chv1)));
    // EF_LOCI: no TMSI, LAI 230-01 with LAC 1234, no TMSI time, location updated.
    std::vector<uint8_t> loci{0xFF, 0xFF, 0xFF, 0xFF};
    const auto lai = plmns({{230, 1}}, 3);
    loci.insert(loci.end(), lai.begin(), lai.end());
    loci.insert(loci.end(), {0x12, 0x34, 0xFF, 0x00});
    files.push_back(transparent({kMf, kDfGsm, kEfLoci}, loci, access(A::Chv1, A::Chv1, A::Adm, A::Chv1)));
    files.push_back(transparent({kMf, kDfGsm, kEfPhase}, {gsm::phase::kPhase2Plus}, access(A::Always, A::Adm)));
    // EF_PUCT: "CZK", 2.50 per unit = EPPU 250 (0x0FA) x 10^-2 (byte 5: |EX| 2 in bits 6-8, sign
    // bit 5 set, EPPU low nibble A).
    files.push_back(transparent({kMf, kDfGsm, kEfPuct}, {'C', 'Z', 'K', 0x0F, 0x5A}, access(A::Chv1, A::Chv2)));
    // EF_ACM: newest meter value first.
    SimFile acm = records({kMf, kDfGsm, kEfAcm}, FileStructure::Cyclic, 5, 3,
                          access(A::Chv1, A::Chv1, A::Adm, A::Adm, A::Chv1), 0x00);
    const uint32_t history[] = {42, 40, 32};
    for (int i = 0; i < 3; ++i) {
        const auto v = meter(history[i]);
        std::copy(v.begin(), v.end(), record(acm, i + 1).begin());
    }
    files.push_back(std::move(acm));
    files.push_back(transparent({kMf, kDfGsm, kEfAcmMax}, meter(1000), access(A::Chv1, A::Chv2)));
    return card;
}

SimCardData StandardCard::telephoneCard()
{
    SimCardData card;
    card.kind = CardKind::TelephoneCard;
    auto& b = card.memory;
    b.fill(0x00);
    b[0] = 0x98; // header byte of the chip
    b[1] = 0x83; // telephone card
    // Units as three decimal digits in b[2] (low nibble) and b[3]: 052 = 50 units plus the two
    // units every counter starts with.
    b[2] = 0x00;
    b[3] = 0x52;
    const uint8_t serial[] = {0x10, 0x24, 0x77, 0x31, 0x05, 0x16, 0x80};
    std::copy(std::begin(serial), std::end(serial), b.begin() + 4);
    b[11] = 85; // Czech Republic
    // Unit counter: the two initial units and 12 used ones.
    b[12] = 0xFF;
    b[13] = 0xFC;
    b[31] = 0x00;
    return card;
}

} // namespace kestrel::emulator
