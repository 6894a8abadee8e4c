#include "emulator/StandardCardContents.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string>

#include "codec/AlphaCodec.h"
#include "codec/DialDigits.h"
#include "codec/DialRecord.h"
#include "codec/FixedText.h"
#include "codec/PlmnCodec.h"
#include "codec/SmsCodec.h"
#include "codec/SmsTime.h"
#include "gsm/FileIds.h"

namespace kestrel::emulator::standard {

namespace {

using namespace gsm::fid;

// One dialling-number record of the card. Names are given as Unicode and stored with the code
// of each letter in the default alphabet, as a phone stores them. The program itself writes an
// accented letter as its base letter ("é" as "e") and a .DIA import folds "ß" to ".", so the
// names keep to letters that come back from a write and an import unchanged.
struct DialSeed
{
    int record;
    const char16_t* name;
    const char* number;
    uint8_t ton; // 1 = international
};

// Every character of name has its own code in the default alphabet; one that had none would be
// stored as "?".
std::vector<uint8_t> alphaBytes(std::u16string_view name)
{
    std::vector<uint8_t> out;
    for (char16_t c : name) {
        const auto it = std::find(GsmAlphabetTable.begin(), GsmAlphabetTable.end(), c);
        out.push_back(it == GsmAlphabetTable.end() ? uint8_t{0x3F}
                                                   : static_cast<uint8_t>(it - GsmAlphabetTable.begin()));
    }
    return out;
}

// Writes seed into its record of file (when the file has that record), with the extension
// records its number needs in ext (a number that needs them is left out when there is no ext). The alpha identifier is
// cut to the record's X bytes; records longer than the dialling-number codec handles get the same 14 bytes after a
// longer alpha field.
void putDial(SimFile& file, const DialSeed& seed, SimFile* ext)
{
    if (seed.record > file.recordCount())
        return;
    std::set<uint8_t> taken;
    auto allocate = [ext, &taken]() -> std::optional<uint8_t> {
        for (int r = 1; ext && r <= ext->recordCount(); ++r) {
            const auto bytes = record(*ext, r);
            if (std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0xFF; }) &&
                !taken.contains(static_cast<uint8_t>(r))) {
                taken.insert(static_cast<uint8_t>(r));
                return static_cast<uint8_t>(r);
            }
        }
        return std::nullopt;
    };
    DialEntry entry = DialEntry::emptyAt(static_cast<uint16_t>(seed.record - 1));
    entry.valid = 1;
    setFixedText(entry.number, seed.number);
    entry.ton = seed.ton;
    entry.npi = 1; // ISDN/telephony numbering plan

    const std::size_t x = static_cast<std::size_t>(file.recordLength) - kDialRecordOverhead;
    std::vector<uint8_t> encoded(std::min(kMaxDialRecordLength, x + kDialRecordOverhead), 0xFF);
    const DialEncodeResult result = EncodeDialRecord(entry, encoded, allocate);
    if (!result.ok)
        return;
    for (const ExtensionRecord& e : result.extensions)
        std::copy(e.bytes.begin(), e.bytes.end(), record(*ext, e.id).begin());
    const std::span<uint8_t> target = record(file, seed.record);
    std::copy(encoded.end() - static_cast<std::ptrdiff_t>(kDialRecordOverhead), encoded.end(),
              target.end() - static_cast<std::ptrdiff_t>(kDialRecordOverhead));
    const std::vector<uint8_t> alpha = alphaBytes(seed.name);
    std::copy_n(alpha.begin(), std::min(alpha.size(), x), target.begin());
}

void putDials(SimCardData& card, uint16_t id, std::initializer_list<DialSeed> seeds, uint16_t extId)
{
    SimFile* file = fileAt(card, {kMf, kDfTelecom, id});
    SimFile* ext = fileAt(card, {kMf, kDfTelecom, extId});
    for (const DialSeed& s : seeds)
        putDial(*file, s, ext);
}

constexpr const char* kServiceCentre = "420602909909";

SmsEntry sms(SmsStatus status, const char* number, const char* when, const char* text)
{
    SmsEntry e;
    e.valid = 1;
    e.status = static_cast<int32_t>(status);
    setFixedText(e.scNumber, kServiceCentre);
    e.scTon = 1;
    e.scNpi = 1;
    setFixedText(e.number, number);
    e.numberTon = 1;
    e.numberNpi = 1;
    setFixedText(e.when, when);
    setFixedText(e.text, text);
    return e;
}

// Writes entry into its record when the file has it; a sent message carries the reference the
// network acknowledged it with (TP-MR, after the service centre address and the first octet).
// The record as the program itself writes it (a sent message keeps TP-MR FF, as a backup restores
// it), so that a read, backup and restore of the card give its records back unchanged.
void putSms(SimFile& file, int number, const SmsEntry& entry)
{
    if (number > file.recordCount())
        return;
    const SmsEncodeResult encoded = EncodeSmsRecord(entry, file.recordLength);
    if (!encoded.fits)
        return;
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
    const std::string sc = kServiceCentre;
    r[p + 13] = static_cast<uint8_t>((sc.size() + 1) / 2 + 1);
    r[p + 14] = 0x91; // international, ISDN/telephony
    const auto digits = swappedBcd(sc, 10);
    std::copy(digits.begin(), digits.end(), r.begin() + static_cast<std::ptrdiff_t>(p + 15));
    r[p + 25] = 0x00; // TP-PID: plain short message
    r[p + 26] = 0x00; // TP-DCS: default alphabet
    r[p + 27] = 167;  // TP-VP: one day
    return r;
}

std::vector<uint8_t> meter(uint32_t units)
{
    return {static_cast<uint8_t>(units >> 16), static_cast<uint8_t>(units >> 8), static_cast<uint8_t>(units)};
}

void setData(SimCardData& card, uint16_t id, std::vector<uint8_t> data)
{
    fileAt(card, {kMf, kDfGsm, id})->data = std::move(data);
}

constexpr uint8_t kSentReference = 0x2A;

void fillMessages(SimCardData& card)
{
    SimFile& file = *fileAt(card, {kMf, kDfTelecom, kEfSms});
    const std::string week = ValidityChoiceText(2);
    putSms(file, 1, sms(SmsStatus::Read, "420602111222", "12.03.24 18:45", "Dinner at seven?"));
    putSms(file, 2,
           sms(SmsStatus::Received, "420731000111", "14.03.24 09:02", "Your parcel is waiting at the post office."));
    putSms(file, 3, sms(SmsStatus::ToBeSent, "420602111222", week.c_str(), "See you on Sunday"));
    putSms(file, 4, sms(SmsStatus::Sent, "420731000111", week.c_str(), "I will pick it up tomorrow"));
    // EF_SMSS: the reference of the last message sent, memory capacity not exceeded.
    fileAt(card, {kMf, kDfTelecom, kEfSmss})->data = {kSentReference, 0xFF};
    SimFile& smsp = *fileAt(card, {kMf, kDfTelecom, kEfSmsp});
    const auto parameters = smsParameters(smsp.recordLength);
    std::copy(parameters.begin(), parameters.end(), record(smsp, 1).begin());
}

} // namespace

std::span<uint8_t> record(SimFile& file, int number)
{
    return std::span<uint8_t>(file.data).subspan(static_cast<std::size_t>((number - 1) * file.recordLength),
                                                 static_cast<std::size_t>(file.recordLength));
}

SimFile* fileAt(SimCardData& card, const std::vector<uint16_t>& path)
{
    for (SimFile& f : card.files) {
        if (f.path == path)
            return &f;
    }
    return nullptr;
}

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

std::vector<uint8_t> plmnBytes(std::initializer_list<std::pair<uint32_t, uint32_t>> networks, std::size_t size)
{
    std::vector<PlmnEntry> list;
    for (const auto& [mcc, mnc] : networks)
        list.push_back(PlmnEntry{1, 0, mcc, mnc});
    return EncodePlmnList(list, size);
}

void fillContents(SimCardData& card)
{
    // Record 5 is free; record 4's 24 digits run on into EF_EXT1 record 1. Names longer than the
    // records' alpha bytes are cut.
    putDials(card, kEfAdn,
             {
                 {1, u"Mother", "420602111222", 1},
                 {2, u"Office", "224123456", 0},
                 {3, u"Voicemail", "*77#", 0},
                 {4, u"Conference bridge", "123456789012345678901234", 0},
                 {6, u"Pizza", "777888999", 0},
                 {7, u"Hotel Vienna", "43153163001", 1},
                 {8, u"Jens Weber", "4930123456", 1},
                 {9, u"Frau Grossmann", "4315121234", 1},
                 {10, u"Dr. Strauss", "4989765432", 1},
                 {11, u"Taxi", "14014", 0},
                 {12, u"Anne Marie", "33145678901", 1},
                 {13, u"Dentist", "241012345", 0},
             },
             kEfExt1);
    putDials(card, kEfFdn, {{1, u"Emergency", "112", 0}, {2, u"Mother", "420602111222", 1}}, kEfExt2);
    putDials(card, kEfMsisdn, {{1, u"My number", "420603123456", 1}}, kEfExt1);
    // EF_LND: record 1 is the number dialled last.
    putDials(card, kEfLnd, {{1, u"Office", "224123456", 0}, {2, u"", "800123456", 0}}, kEfExt1);
    // The home network's service numbers.
    putDials(card, kEfSdn, {{1, u"Customer care", "4603", 0}, {2, u"Credit balance", "*101#", 0}}, kEfExt3);
    fillMessages(card);

    // Networks of the operator table: the other Czech network and one abroad preferred, the third
    // Czech network forbidden.
    setData(card, kEfPlmnSel, plmnBytes({{230, 2}, {262, 1}}, 24));
    setData(card, kEfFplmn, plmnBytes({{230, 3}}, 12));

    // EF_PUCT: "CZK", 2.50 per unit = EPPU 250 (0x0FA) x 10^-2 (byte 5: |EX| 2 in bits 6-8, sign
    // bit 5 set, EPPU low nibble A).
    setData(card, kEfPuct, {'C', 'Z', 'K', 0x0F, 0x5A});
    // EF_ACM: newest meter value first.
    SimFile& acm = *fileAt(card, {kMf, kDfGsm, kEfAcm});
    const uint32_t history[] = {42, 40, 32};
    for (int i = 0; i < 3; ++i) {
        const auto v = meter(history[i]);
        std::copy(v.begin(), v.end(), record(acm, i + 1).begin());
    }
    setData(card, kEfAcmMax, meter(1000));
    setData(card, kEfGid1, {0x01, 0xFF}); // the operator's group 01
    // EF_CBMI: cell broadcast channel 50 (the cell's area name).
    std::vector<uint8_t> cbmi(10, 0xFF);
    cbmi[0] = 0x00;
    cbmi[1] = 0x32;
    setData(card, kEfCbmi, cbmi);
}

} // namespace kestrel::emulator::standard
