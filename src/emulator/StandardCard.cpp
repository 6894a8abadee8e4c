#include "emulator/StandardCard.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "emulator/ModernRecords.h"
#include "emulator/StandardCardContents.h"
#include "gsm/FileIds.h"
#include "gsm/Services.h"

namespace kestrel::emulator {

namespace {

using namespace gsm::fid;
namespace service = gsm::service;
using standard::record;
using standard::swappedBcd;

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

constexpr const char* kImsiDigits = "230011234567890"; // home network 230 01, MNC of two digits

// EF_BCCH: the BCCH allocation list as a neighbour cell description in bit map 0 format (GSM
// 04.08): byte 1 holds the format (bits 8-7 = 00) and ARFCNs 124-121 in bits 4-1, byte n + 1 the
// ARFCNs 120 - 8(n - 1) down to 113 - 8(n - 1).
std::vector<uint8_t> bcchList(std::initializer_list<int> arfcns)
{
    std::vector<uint8_t> list(16, 0x00);
    for (int n : arfcns) {
        uint8_t& b = list[static_cast<std::size_t>(15 - (n - 1) / 8)];
        b = static_cast<uint8_t>(b | 1 << ((n - 1) % 8));
    }
    return list;
}

// The card's identity and the files a phone keeps up to date. They stay on a blank card.
void addGsmFiles(std::vector<SimFile>& files)
{
    const std::vector<uint16_t> gsm{kMf, kDfGsm};
    const auto at = [&gsm](uint16_t id) {
        std::vector<uint16_t> p = gsm;
        p.push_back(id);
        return p;
    };
    files.push_back(directory(gsm));
    // EF_LP: cell broadcast language codes of GSM 03.38: Czech (0010 0000), English (0000 0001).
    files.push_back(transparent(at(kEfLp), {0x20, 0x01, 0xFF, 0xFF}, access(A::Always, A::Chv1)));
    // EF_IMSI: length 8, then the parity nibble 9 (odd count, IMSI) and 15 digits.
    std::vector<uint8_t> imsi{0x08};
    const auto imsiDigits = swappedBcd(std::string("9") + kImsiDigits, 8);
    imsi.insert(imsi.end(), imsiDigits.begin(), imsiDigits.end());
    files.push_back(transparent(at(kEfImsi), imsi, access(A::Chv1, A::Adm, A::Adm, A::Chv1)));
    // EF_Kc: no cipher key yet (key sequence number 07).
    std::vector<uint8_t> kc(8, 0xFF);
    kc.push_back(0x07);
    files.push_back(transparent(at(kEfKc), kc, access(A::Chv1, A::Chv1)));
    files.push_back(transparent(at(kEfPlmnSel), std::vector<uint8_t>(24, 0xFF), access(A::Chv1, A::Chv1)));
    // EF_HPLMN: search for the home network every 5 x 6 minutes.
    files.push_back(transparent(at(kEfHplmn), {0x05}, access(A::Chv1, A::Adm)));
    files.push_back(transparent(at(kEfAcmMax), {0x00, 0x00, 0x00}, access(A::Chv1, A::Chv2)));
    // Filled in from the files once the tree is complete.
    files.push_back(
        transparent(at(kEfSst), std::vector<uint8_t>(StandardCard::kServiceTableSize, 0x00), access(A::Chv1, A::Adm)));
    files.push_back(
        records(at(kEfAcm), FileStructure::Cyclic, 5, 3, access(A::Chv1, A::Chv1, A::Adm, A::Adm, A::Chv1), 0x00));
    files.push_back(transparent(at(kEfGid1), {0xFF, 0xFF}, access(A::Chv1, A::Adm)));
    // EF_PUCT: no currency, price per unit 0.
    files.push_back(transparent(at(kEfPuct), {0xFF, 0xFF, 0xFF, 0x00, 0x00}, access(A::Chv1, A::Chv2)));
    files.push_back(transparent(at(kEfCbmi), std::vector<uint8_t>(10, 0xFF), access(A::Chv1, A::Chv1)));
    // EF_SPN: display condition (bit 1: show the registered network too, when it is the home
    // network), then the name in the default alphabet, FF after it.
    std::vector<uint8_t> spn(17, 0xFF);
    spn[0] = 0x01;
    const std::string_view name = "Paegas"; // RadioMobil's brand, the home network 230 01
    std::copy(name.begin(), name.end(), spn.begin() + 1);
    files.push_back(transparent(at(kEfSpn), spn, access(A::Always, A::Adm)));
    files.push_back(transparent(at(kEfBcch), bcchList({3, 17, 29, 45, 61, 78, 96, 112}), access(A::Chv1, A::Chv1)));
    // EF_ACC: access class 0 (the last digit of the IMSI), byte 2 bit 1.
    files.push_back(transparent(at(kEfAcc), {0x00, 0x01}, access(A::Chv1, A::Adm)));
    files.push_back(transparent(at(kEfFplmn), std::vector<uint8_t>(12, 0xFF), access(A::Chv1, A::Chv1)));
    // EF_LOCI: no TMSI, LAI 230-01 with LAC 1234, no TMSI time, location updated.
    std::vector<uint8_t> loci{0xFF, 0xFF, 0xFF, 0xFF};
    const auto lai = standard::plmnBytes({{230, 1}}, 3);
    loci.insert(loci.end(), lai.begin(), lai.end());
    loci.insert(loci.end(), {0x12, 0x34, 0xFF, 0x00});
    files.push_back(transparent(at(kEfLoci), loci, access(A::Chv1, A::Chv1, A::Adm, A::Chv1)));
    // EF_AD: normal operation, no additional information, MNC of two digits in the IMSI.
    files.push_back(transparent(at(kEfAd), {0x00, 0x00, 0x00, 0x02}, access(A::Always, A::Adm)));
    files.push_back(transparent(at(kEfPhase), {gsm::phase::kPhase2Plus}, access(A::Always, A::Adm)));
}

void addTelecomFiles(std::vector<SimFile>& files, const StandardCard::Shape& shape)
{
    const std::vector<uint16_t> telecom{kMf, kDfTelecom};
    const auto at = [&telecom](uint16_t id) {
        std::vector<uint16_t> p = telecom;
        p.push_back(id);
        return p;
    };
    const int dialLength = shape.nameLength + 14;
    files.push_back(directory(telecom));
    files.push_back(records(at(kEfAdn), FileStructure::LinearFixed, shape.adnRecords, dialLength,
                            access(A::Chv1, A::Chv1, A::Chv2, A::Chv2)));
    files.push_back(records(at(kEfFdn), FileStructure::LinearFixed, 10, dialLength, access(A::Chv1, A::Chv2)));
    SimFile sms = records(at(kEfSms), FileStructure::LinearFixed, shape.smsRecords, 176, access(A::Chv1, A::Chv1));
    for (int r = 1; r <= sms.recordCount(); ++r)
        record(sms, r)[0] = 0x00; // status byte of a free record
    files.push_back(std::move(sms));
    files.push_back(records(at(kEfMsisdn), FileStructure::LinearFixed, 2, dialLength, access(A::Chv1, A::Chv1)));
    files.push_back(records(at(kEfSmsp), FileStructure::LinearFixed, 2, 40, access(A::Chv1, A::Chv1)));
    // EF_SMSS: last message reference FF, memory capacity not exceeded (FF).
    files.push_back(transparent(at(kEfSmss), {0xFF, 0xFF}, access(A::Chv1, A::Chv1)));
    files.push_back(records(at(kEfLnd), FileStructure::Cyclic, 10, dialLength, access(A::Chv1, A::Chv1)));
    files.push_back(records(at(kEfSdn), FileStructure::LinearFixed, 5, dialLength, access(A::Chv1, A::Adm)));
    files.push_back(records(at(kEfExt1), FileStructure::LinearFixed, 10, 13, access(A::Chv1, A::Chv1)));
    files.push_back(records(at(kEfExt2), FileStructure::LinearFixed, 10, 13, access(A::Chv1, A::Chv2)));
}

StandardCard::Shape withinRanges(StandardCard::Shape shape)
{
    using Shape = StandardCard::Shape;
    shape.adnRecords = std::clamp(shape.adnRecords, 1, Shape::kMaxRecords);
    shape.smsRecords = std::clamp(shape.smsRecords, 1, Shape::kMaxRecords);
    shape.nameLength = std::clamp(shape.nameLength, 0, Shape::kMaxNameLength);
    return shape;
}

} // namespace

std::span<const StandardCard::ServiceFile> StandardCard::serviceFiles()
{
    static constexpr ServiceFile kFiles[] = {
        {kDfTelecom, kEfAdn, service::kAdn},
        {kDfTelecom, kEfFdn, service::kFdn},
        {kDfTelecom, kEfSms, service::kSms},
        {kDfTelecom, kEfSmss, service::kSms},
        {kDfGsm, kEfAcm, service::kAdviceOfCharge},
        {kDfGsm, kEfAcmMax, service::kAdviceOfCharge},
        {kDfGsm, kEfPuct, service::kAdviceOfCharge},
        {kDfTelecom, kEfCcp, service::kCcp},
        {kDfGsm, kEfPlmnSel, service::kPlmnSel},
        {kDfTelecom, kEfMsisdn, service::kMsisdn},
        {kDfTelecom, kEfExt1, service::kExt1},
        {kDfTelecom, kEfExt2, service::kExt2},
        {kDfTelecom, kEfSmsp, service::kSmsp},
        {kDfTelecom, kEfLnd, service::kLnd},
        {kDfGsm, kEfCbmi, service::kCbmi},
        {kDfGsm, kEfGid1, service::kGid1},
        {kDfGsm, kEfGid2, service::kGid2},
        {kDfGsm, kEfSpn, service::kSpn},
        {kDfTelecom, kEfSdn, service::kSdn},
        {kDfTelecom, kEfExt3, service::kExt3},
        {kDfGsm, kEfCbmid, service::kCbDataDownload},
        {kDfGsm, kEfCbmir, service::kCbmir},
        {kDfTelecom, kEfBdn, service::kBdn},
        {kDfTelecom, kEfExt4, service::kExt4},
        {kDfTelecom, kEfSmsr, service::kSmsStatusReports},
        {kDfGsm, kEfKcGprs, service::kGprs},
        {kDfGsm, kEfLociGprs, service::kGprs},
    };
    return kFiles;
}

// EF_SST: two bits per service (allocated, activated), service 1 in the low bits of byte 1.
std::vector<uint8_t> StandardCard::serviceTable(const SimCardData& card)
{
    std::vector<uint8_t> sst(kServiceTableSize, 0x00);
    const auto offer = [&sst](int n) {
        const auto byte = static_cast<std::size_t>((n - 1) / 4);
        if (byte < sst.size())
            sst[byte] = static_cast<uint8_t>(sst[byte] | 3 << (2 * ((n - 1) % 4)));
    };
    offer(service::kChv1Disable);
    offer(service::kProactiveSim);
    for (const SimFile& f : card.files) {
        if (f.isDirectory() || f.path.size() != 3)
            continue;
        for (const ServiceFile& s : serviceFiles()) {
            if (s.df == f.path[1] && s.ef == f.id())
                offer(s.service);
        }
    }
    return sst;
}

SimCardData StandardCard::simCard()
{
    return simCard(Shape{});
}

SimCardData StandardCard::simCard(const Shape& requested)
{
    const Shape shape = withinRanges(requested);
    SimCardData card;
    card.kind = CardKind::Sim;
    // TS direct convention; T0: TA1 and TD1 follow, 6 historical bytes; TA1 11 = F 372, D 1;
    // TD1 00 = T=0 only; historical bytes "KESTRL".
    card.atr = {0x3B, 0x96, 0x11, 0x00, 'K', 'E', 'S', 'T', 'R', 'L'};
    for (std::size_t i = 0; i < card.ki.size(); ++i)
        card.ki[i] = static_cast<uint8_t>(0x4B + 17 * i);
    card.chv1 =
        ChvState{"1234", "12345678", ChvState::kMaxAttempts, ChvState::kMaxUnblockAttempts, !shape.pin1Disabled};
    card.chv2 = ChvState{"5678", "87654321", ChvState::kMaxAttempts, ChvState::kMaxUnblockAttempts, true};

    auto& files = card.files;
    files.push_back(directory({kMf}));
    std::string iccid = kIccidDigits;
    iccid += luhnCheckDigit(iccid);
    files.push_back(transparent({kMf, kEfIccid}, swappedBcd(iccid, 10), access(A::Always, A::Never)));
    // EF_ELP: the same languages as ISO 639 pairs, "cs" and "en".
    files.push_back(transparent({kMf, kEfElp}, {'c', 's', 'e', 'n'}, access(A::Always, A::Chv1)));
    addTelecomFiles(files, shape);
    addGsmFiles(files);

    if (!shape.blank) {
        standard::fillContents(card);
        if (shape.modernRecords)
            standard::fillModernRecords(card);
    }
    standard::fileAt(card, {kMf, kDfGsm, kEfSst})->data = serviceTable(card);
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
