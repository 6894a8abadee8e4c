#include "emulator/ModernRecords.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "emulator/StandardCardContents.h"
#include "gsm/FileIds.h"

namespace kestrel::emulator::standard {

using namespace gsm::fid;

namespace {

// The bytes are put together here by hand, from GSM 11.11 annex B (alpha identifiers) and
// GSM 03.40 / 03.38 (TPDUs, data coding), not with the program's own encoders: the card then
// checks those encoders rather than agreeing with them.

void appendUcs2(std::vector<uint8_t>& out, std::u16string_view text)
{
    for (const char16_t unit : text) {
        out.push_back(static_cast<uint8_t>(unit >> 8));
        out.push_back(static_cast<uint8_t>(unit & 0xFF));
    }
}

// The 14 bytes after the alpha identifier of a dialling-number record: an international ISDN
// number without extension record.
std::vector<uint8_t> numberPart(std::string_view digits)
{
    std::vector<uint8_t> out;
    out.push_back(static_cast<uint8_t>((digits.size() + 1) / 2 + 1));
    out.push_back(0x91);
    const std::vector<uint8_t> bcd = swappedBcd(digits, 10);
    out.insert(out.end(), bcd.begin(), bcd.end());
    out.push_back(0xFF); // capability/configuration: none
    out.push_back(0xFF); // no extension record
    return out;
}

struct NameSeed
{
    int record;
    std::vector<uint8_t> alpha; // the alpha identifier, unused bytes to follow as FF
    const char* number;
};

std::vector<NameSeed> nameSeeds()
{
    // 0x80: UCS2 units, big-endian. "Ελένη" (Greek).
    std::vector<uint8_t> greek{0x80};
    appendUcs2(greek, u"\u0395\u03BB\u03AD\u03BD\u03B7");
    // 0x81: character count, base pointer bits 15-8 (base = byte << 7), then one byte a character:
    // below 0x80 a default-alphabet code, from 0x80 the base plus its low seven bits. "Čeněk Růžek":
    // Č U+010C, ě U+011B, ů U+016F, ž U+017E all in the half-page 0x0100-0x017F.
    const std::vector<uint8_t> czech{0x81, 0x0B, 0x02, 0x8C, 0x65, 0x6E, 0x9B,
                                     0x6B, 0x20, 0x52, 0xEF, 0xFE, 0x65, 0x6B};
    // 0x82: character count, a 16-bit base, then the same. "Світлана" (Ukrainian), base U+0400.
    const std::vector<uint8_t> cyrillic{0x82, 0x08, 0x04, 0x00, 0xA1, 0xB2, 0xD6, 0xC2, 0xBB, 0xB0, 0xBD, 0xB0};
    return {
        {14, greek, "302101234567"},
        {15, czech, "420777123456"},
        {16, cyrillic, "380441234567"},
    };
}

void putName(SimFile& file, const NameSeed& seed)
{
    const std::size_t x = static_cast<std::size_t>(file.recordLength) - 14;
    if (seed.record > file.recordCount() || seed.alpha.size() > x)
        return;
    const std::span<uint8_t> target = record(file, seed.record);
    std::fill(target.begin(), target.end(), 0xFF);
    std::copy(seed.alpha.begin(), seed.alpha.end(), target.begin());
    const std::vector<uint8_t> tail = numberPart(seed.number);
    std::copy(tail.begin(), tail.end(), target.begin() + static_cast<std::ptrdiff_t>(x));
}

// Status byte, service centre +420602909909, then the TPDU.
std::vector<uint8_t> smsHeader(uint8_t status)
{
    std::vector<uint8_t> out{status, 0x07, 0x91};
    const std::vector<uint8_t> sc = swappedBcd("420602909909", 6);
    out.insert(out.end(), sc.begin(), sc.end());
    return out;
}

void appendAddress(std::vector<uint8_t>& out, std::string_view digits)
{
    out.push_back(static_cast<uint8_t>(digits.size()));
    out.push_back(0x91);
    const std::vector<uint8_t> bcd = swappedBcd(digits, (digits.size() + 1) / 2);
    out.insert(out.end(), bcd.begin(), bcd.end());
}

// TP-SCTS 24-03-16 hh:mm:00, time zone +01:00 (4 quarter hours), swapped-nibble BCD.
void appendTime(std::vector<uint8_t>& out, uint8_t hour, uint8_t minute)
{
    auto bcd = [](uint8_t v) { return static_cast<uint8_t>((v % 10) << 4 | v / 10); };
    for (const uint8_t v : {uint8_t{24}, uint8_t{3}, uint8_t{16}, hour, minute, uint8_t{0}, uint8_t{4}})
        out.push_back(bcd(v));
}

// One part of a UCS2 message concatenated with an 8-bit reference (IEI 00).
std::vector<uint8_t> ucs2Part(uint8_t part, uint8_t parts, std::u16string_view text)
{
    std::vector<uint8_t> out = smsHeader(0x01);
    out.push_back(0x44); // SMS-DELIVER, TP-MMS, TP-UDHI
    appendAddress(out, "420602111222");
    out.push_back(0x00); // TP-PID
    out.push_back(0x08); // TP-DCS: UCS2
    appendTime(out, 10, 15);
    out.push_back(static_cast<uint8_t>(6 + 2 * text.size()));
    for (const uint8_t b : {uint8_t{0x05}, uint8_t{0x00}, uint8_t{0x03}, uint8_t{0x5C}, parts, part})
        out.push_back(b);
    appendUcs2(out, text);
    return out;
}

std::vector<std::vector<uint8_t>> messageSeeds()
{
    std::vector<std::vector<uint8_t>> records;
    // A UCS2 message in three parts (at most 67 characters each beside the header): kModernMessage.
    records.push_back(ucs2Part(1, 3, u"Ahoj Pet\u0159e, pos\u00EDl\u00E1m ti adresu chaty: "));
    records.push_back(ucs2Part(2, 3,
                               u"Horn\u00ED M\u00ED\u0161e\u010Dky 24, \u0160pindler\u016Fv Ml\u00FDn. "
                               u"Kl\u00ED\u010D je u soused\u016F "));
    records.push_back(ucs2Part(3, 3,
                               u"v \u010D\u00EDsle 22. P\u0159ije\u010F v p\u00E1tek do \u0161esti, a\u0165 "
                               u"stihneme ve\u010De\u0159i."));

    // An 8-bit message (TP-DCS 0x04): a vCard pushed to a phone, received and not yet read.
    std::vector<uint8_t> binary = smsHeader(0x03);
    binary.push_back(0x04); // SMS-DELIVER, TP-MMS
    appendAddress(binary, "420731000111");
    binary.push_back(0x00);
    binary.push_back(0x04);
    appendTime(binary, 11, 2);
    constexpr std::string_view vcard = "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Weber;Jens\r\nTEL:+4930123456\r\nEND:VCARD\r\n";
    binary.push_back(static_cast<uint8_t>(vcard.size()));
    binary.insert(binary.end(), vcard.begin(), vcard.end());
    records.push_back(binary);

    // The status report of the sent message (TP-MR 2A): delivered to +420731000111.
    std::vector<uint8_t> report = smsHeader(0x01);
    report.push_back(0x06); // SMS-STATUS-REPORT, TP-MMS
    report.push_back(0x2A); // TP-MR
    appendAddress(report, "420731000111");
    appendTime(report, 9, 30); // TP-SCTS
    appendTime(report, 9, 31); // TP-DT
    report.push_back(0x00);    // TP-ST: received by the recipient
    records.push_back(report);
    return records;
}

} // namespace

void fillModernRecords(SimCardData& card)
{
    SimFile* adn = fileAt(card, {kMf, kDfTelecom, kEfAdn});
    for (const NameSeed& seed : nameSeeds())
        putName(*adn, seed);

    SimFile* sms = fileAt(card, {kMf, kDfTelecom, kEfSms});
    int number = kFirstModernMessage;
    for (const std::vector<uint8_t>& bytes : messageSeeds()) {
        if (number <= sms->recordCount() && bytes.size() <= static_cast<std::size_t>(sms->recordLength)) {
            const std::span<uint8_t> target = record(*sms, number);
            std::fill(target.begin(), target.end(), 0xFF);
            std::copy(bytes.begin(), bytes.end(), target.begin());
        }
        ++number;
    }
}

} // namespace kestrel::emulator::standard
