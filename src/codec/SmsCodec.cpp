#include "codec/SmsCodec.h"

#include <algorithm>

#include "codec/DialDigits.h"
#include "codec/FixedText.h"
#include "codec/PcText.h"
#include "codec/SmsTime.h"
#include "codec/SmsUserData.h"

namespace kestrel {

namespace {

constexpr std::size_t kWorkSize = 256;
constexpr std::size_t kMaxDigits = 20;
constexpr int kMaxTextChars = 199;

// First octet of the TPDU (GSM 03.40 9.2.3).
constexpr uint8_t kMtiMask = 0x03;
constexpr uint8_t kMtiSubmit = 0x01;
constexpr uint8_t kMtiStatusReport = 0x02;
constexpr uint8_t kMtiReserved = 0x03;
constexpr uint8_t kUdhi = 0x40;
constexpr uint8_t kFoDeliver = 0x00;
constexpr uint8_t kFoSubmitRelative = 0x11; // SMS-SUBMIT, TP-VPF relative
constexpr uint8_t kFoSubmitAbsolute = 0x19; // SMS-SUBMIT, TP-VPF absolute

enum ValidityFormat
{
    VpfNone = 0,
    VpfEnhanced = 1,
    VpfRelative = 2,
    VpfAbsolute = 3,
};

// BCD address digits, low nibble first, starting at byte start; at most maxNibbles and never more
// than 20 digits; a 0xF nibble or the end of the record ends them.
std::string readDigits(std::span<const uint8_t> r, std::size_t start, std::size_t maxNibbles)
{
    std::string digits;
    const std::size_t count = std::min(maxNibbles, kMaxDigits);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = start + i / 2;
        if (at >= r.size())
            break;
        const uint8_t nibble = (i % 2 == 0) ? (r[at] & 0x0F) : (r[at] >> 4);
        if (nibble == 0x0F)
            break;
        digits.push_back(NibbleToDigit(nibble));
    }
    return digits;
}

// Two digits a byte, the first in the low nibble; an odd count leaves 0xF in the last high
// nibble. Returns the bytes used.
std::size_t writeDigits(std::string_view digits, uint8_t* out)
{
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const uint8_t nibble = DigitToNibble(digits[i]) & 0x0F;
        uint8_t& byte = out[i / 2];
        byte = (i % 2 == 0) ? static_cast<uint8_t>(0xF0 | nibble) : static_cast<uint8_t>((byte & 0x0F) | nibble << 4);
    }
    return (digits.size() + 1) / 2;
}

uint8_t typeOfAddress(uint8_t ton, uint8_t npi)
{
    return static_cast<uint8_t>(0x80 | (ton & 7) << 4 | (npi & 0x0F));
}

// TP-SCTS / absolute TP-VP: seven swapped-nibble BCD bytes, year first.
SmsTime readTimeStamp(const uint8_t* p)
{
    uint8_t v[7];
    for (int i = 0; i < 7; ++i)
        v[i] = static_cast<uint8_t>((p[i] >> 4) + (p[i] & 0x0F) * 10);
    SmsTime t;
    t.isAbsolute = 1;
    t.year = v[0];
    t.month = v[1];
    t.day = v[2];
    t.hour = v[3];
    t.minute = v[4];
    t.second = v[5];
    t.timeZone = v[6];
    return t;
}

uint8_t swappedBcd(uint8_t value)
{
    return static_cast<uint8_t>((value % 10) << 4 | (value / 10));
}

} // namespace

namespace {

// TP-OA / TP-DA / TP-RA at pos: digit count, TON/NPI, BCD digits. False when the record ends first.
bool readAddress(std::span<const uint8_t> r, std::size_t& pos, SmsEntry& entry)
{
    if (pos + 2 > r.size())
        return false;
    const std::size_t digitCount = r[pos];
    entry.numberTon = (r[pos + 1] >> 4) & 7;
    entry.numberNpi = r[pos + 1] & 0x0F;
    pos += 2;
    setFixedText(entry.number, readDigits(r, pos, digitCount));
    pos += (digitCount + 1) / 2;
    return true;
}

// A seven-octet time stamp at pos as text; false when the record ends first.
template <std::size_t N>
bool readTimeText(std::span<const uint8_t> r, std::size_t& pos, char (&field)[N])
{
    if (pos + 7 > r.size())
        return false;
    setFixedText(field, FormatSmsTime(readTimeStamp(&r[pos]), N));
    pos += 7;
    return true;
}

// TP-UDL and TP-UD at pos, read by the coding and after the header when udhi is set.
void readUserData(std::span<const uint8_t> r, std::size_t pos, bool udhi, SmsEntry& entry)
{
    if (pos >= r.size())
        return;
    const std::size_t udl = r[pos++];
    const std::span<const uint8_t> ud = r.subspan(pos);
    std::size_t headerOctets = 0;
    if (udhi) {
        entry.hasHeader = 1;
        const SmsUserDataHeader h = ParseUserDataHeader(ud);
        // A header that runs past its user data leaves nothing to show (the record is kept).
        const std::size_t udOctets = entry.encoding == SmsEncoding::Default ? (udl * 7 + 7) / 8 : udl;
        if (!h.valid || h.octets > udOctets)
            return;
        headerOctets = h.octets;
        if (h.concatenated) {
            entry.concatRef = h.reference;
            entry.concatTotal = h.total;
            entry.concatPart = h.part;
        }
    }
    switch (entry.encoding) {
    case SmsEncoding::Default: {
        // The text starts at the septet boundary after the header (fill bits in between).
        const std::size_t first = (headerOctets * 8 + 6) / 7;
        const std::vector<uint8_t> septets = UnpackSeptetValues(ud, first, udl);
        setFixedText(entry.text, GsmSeptetsToText(septets, kMaxTextChars));
        break;
    }
    case SmsEncoding::EightBit:
    case SmsEncoding::Ucs2: {
        const std::size_t end = std::min(udl, ud.size());
        const std::span<const uint8_t> octets =
            headerOctets < end ? ud.subspan(headerOctets, end - headerOctets) : std::span<const uint8_t>();
        setFixedText(entry.text, entry.encoding == SmsEncoding::Ucs2 ? Ucs2ToText(octets) : OctetsAsHex(octets));
        break;
    }
    case SmsEncoding::Undecodable:
        break;
    }
}

void applyCoding(uint8_t dcs, SmsEntry& entry)
{
    const SmsDataCoding coding = DecodeDataCoding(dcs);
    entry.encoding = coding.encoding;
    entry.messageClass = coding.messageClass;
}

// SMS-STATUS-REPORT after its first octet: TP-MR, TP-RA, TP-SCTS, TP-DT, TP-ST, then the
// optional TP-PI with TP-PID, TP-DCS and TP-UDL/TP-UD.
void readStatusReport(std::span<const uint8_t> r, std::size_t pos, uint8_t fo, SmsEntry& entry)
{
    entry.kind = SmsKind::StatusReport;
    if (pos >= r.size())
        return;
    entry.messageRef = r[pos++];
    if (!readAddress(r, pos, entry) || !readTimeText(r, pos, entry.when) || !readTimeText(r, pos, entry.dischargeTime))
        return;
    if (pos >= r.size())
        return;
    entry.reportStatus = r[pos++];
    // The 0xFF filling the rest of a record is no parameter indicator (its extension bit is set).
    if (pos >= r.size() || (r[pos] & 0x80) != 0)
        return;
    const uint8_t pi = r[pos++];
    if (pi & 0x01)
        ++pos; // TP-PID
    if (pi & 0x02) {
        if (pos >= r.size())
            return;
        applyCoding(r[pos++], entry);
    }
    if (pi & 0x04)
        readUserData(r, pos, (fo & kUdhi) != 0, entry);
}

} // namespace

SmsEntry DecodeSmsRecord(std::span<const uint8_t> record, uint16_t position)
{
    SmsEntry entry;
    entry.position = position;
    const std::span<const uint8_t> r = record.first(std::min(record.size(), kWorkSize));
    const std::size_t n = r.size();
    entry.keptLength = static_cast<uint16_t>(n);
    std::copy(r.begin(), r.end(), entry.kept.begin());

    if (n < 1 || r[0] == 0xFF || (r[0] & 0x07) == 0)
        return entry;
    entry.valid = 1;
    entry.status = (r[0] >> 1) & 3;

    // Service-centre address: length (TON/NPI byte included), TON/NPI, BCD digits.
    if (n < 2)
        return entry;
    const std::size_t scLength = r[1];
    if (scLength > 0) {
        if (n < 3)
            return entry;
        entry.scTon = (r[2] >> 4) & 7;
        entry.scNpi = r[2] & 0x0F;
        setFixedText(entry.scNumber, readDigits(r, 3, 2 * scLength - 2));
    }

    std::size_t pos = scLength + 2;
    if (pos >= n)
        return entry;
    const uint8_t fo = r[pos++];
    if ((fo & kMtiMask) == kMtiStatusReport) {
        readStatusReport(r, pos, fo, entry);
        return entry;
    }
    if ((fo & kMtiMask) == kMtiReserved) {
        entry.kind = SmsKind::Other;
        return entry;
    }
    const bool submit = (fo & kMtiSubmit) != 0;
    if (submit) {
        if (pos >= n)
            return entry;
        entry.messageRef = r[pos++];
    }

    if (!readAddress(r, pos, entry))
        return entry;
    if (pos + 2 > n)
        return entry;
    applyCoding(r[pos + 1], entry); // TP-PID is not used
    pos += 2;

    std::size_t timeLength = 7;
    bool relative = false;
    bool shown = true;
    if (submit) {
        switch ((fo >> 3) & 3) {
        case VpfRelative:
            timeLength = 1;
            relative = true;
            break;
        case VpfAbsolute:
            break;
        case VpfEnhanced:
            // Seven octets this program does not show; skipped so the user data stay in place.
            shown = false;
            break;
        default:
            timeLength = 0;
            break;
        }
    }
    if (pos + timeLength > n)
        return entry;
    if (timeLength > 0 && shown) {
        SmsTime t;
        if (relative)
            t.validity = r[pos];
        else
            t = readTimeStamp(&r[pos]);
        setFixedText(entry.when, FormatSmsTime(t, sizeof entry.when));
    }
    pos += timeLength;

    readUserData(r, pos, (fo & kUdhi) != 0, entry);
    return entry;
}

bool SmsIsPlain(const SmsEntry& e)
{
    return e.kind == SmsKind::Message && e.encoding == SmsEncoding::Default && e.hasHeader == 0 && e.messageClass < 0;
}

void MakePlainSms(SmsEntry& e)
{
    e.kind = SmsKind::Message;
    e.encoding = SmsEncoding::Default;
    e.messageClass = -1;
    e.hasHeader = 0;
    e.concatRef = 0;
    e.concatTotal = 0;
    e.concatPart = 0;
    e.reportStatus = 0;
    setFixedText(e.dischargeTime, "");
    e.keptLength = 0;
    e.kept.fill(0);
}

namespace {

// A text as a file field gives it back: through Windows-1250, at most 199 characters (one byte
// each there), without carriage returns (a .SMS file drops them).
std::string asStoredText(std::string_view text)
{
    std::string through = throughWindows1250(text);
    std::erase(through, '\r');
    std::size_t chars = 0;
    std::size_t cut = 0;
    while (cut < through.size() && chars < kMaxTextChars) {
        ++chars;
        ++cut;
        while (cut < through.size() && (static_cast<unsigned char>(through[cut]) & 0xC0) == 0x80)
            ++cut;
    }
    through.resize(cut);
    return through;
}

bool sameOrUnstored(uint8_t stored, uint8_t card)
{
    return stored == card || stored == 0;
}

} // namespace

bool SmsIsStoredCopy(const SmsEntry& stored, const SmsEntry& card)
{
    if (!stored.valid || !card.valid || stored.status / 2 != card.status / 2)
        return false;
    std::string storedText(fixedText(stored.text));
    std::erase(storedText, '\r');
    if (storedText != asStoredText(fixedText(card.text)))
        return false;
    if (fixedText(stored.scNumber) != fixedText(card.scNumber) || fixedText(stored.number) != fixedText(card.number) ||
        stored.scTon != card.scTon || stored.numberTon != card.numberTon || !sameOrUnstored(stored.scNpi, card.scNpi) ||
        !sameOrUnstored(stored.numberNpi, card.numberNpi))
        return false;
    SmsTime t;
    return fixedText(stored.when) == fixedText(card.when) || !ParseSmsTime(fixedText(card.when), t);
}

bool SmsKeepsRecord(const SmsEntry& e)
{
    if (e.keptLength == 0)
        return false;
    SmsEntry d = DecodeSmsRecord(std::span<const uint8_t>(e.kept.data(), e.keptLength), e.position);
    // Received stays received, sent stays sent: anything else is another kind of TPDU.
    if (d.valid && e.valid && d.status / 2 != e.status / 2)
        return false;
    d.status = e.status;
    d.modified = e.modified;
    d.dragMark = e.dragMark;
    return d == e;
}

int EncodeSmsRecord(const SmsEntry& entry, std::array<uint8_t, 256>& b)
{
    b.fill(0xFF);
    if (!entry.valid) {
        b[0] = 0x00;
        return 1;
    }
    const int status = entry.status & 3;
    b[0] = static_cast<uint8_t>(status * 2 + 1);

    const std::string_view sc = fixedText(entry.scNumber).substr(0, kMaxDigits);
    b[1] = static_cast<uint8_t>((sc.size() + 1) / 2 + 1);
    b[2] = typeOfAddress(entry.scTon, entry.scNpi);
    std::size_t pos = 3 + writeDigits(sc, &b[3]);

    SmsTime t; // stays all zero when the text does not parse
    ParseSmsTime(fixedText(entry.when), t);

    const bool submit = status == static_cast<int>(SmsStatus::Sent) || status == static_cast<int>(SmsStatus::ToBeSent);
    const bool relative = submit && !t.isAbsolute;
    b[pos++] = submit ? (t.isAbsolute ? kFoSubmitAbsolute : kFoSubmitRelative) : kFoDeliver;
    if (submit)
        b[pos++] = 0xFF; // TP-MR: the phone assigns the reference when it sends the message

    const std::string_view number = fixedText(entry.number).substr(0, kMaxDigits);
    b[pos++] = static_cast<uint8_t>(number.size());
    b[pos++] = typeOfAddress(entry.numberTon, entry.numberNpi);
    pos += writeDigits(number, &b[pos]);

    b[pos++] = 0x00; // TP-PID
    b[pos++] = 0x00; // TP-DCS: default alphabet

    if (relative) {
        b[pos++] = t.validity;
    } else {
        const uint8_t fields[7] = {t.year, t.month, t.day, t.hour, t.minute, 0, 0};
        for (uint8_t f : fields)
            b[pos++] = swappedBcd(f);
    }

    // At most 12 + 2 + 12 + 2 + 7 = 35 bytes so far; 200 characters need 176 more.
    pos += static_cast<std::size_t>(PackSeptets(fixedText(entry.text), std::span<uint8_t>(b).subspan(pos)));
    return static_cast<int>(pos);
}

namespace {

// The first used bytes of bytes as a record of recordLength bytes, 0xFF after them; refused (fits
// false, no record) when they do not fit. A linear-fixed record length is one byte in the file's
// FCI, so anything far beyond is no record.
SmsEncodeResult intoRecord(std::span<const uint8_t> bytes, int used, int recordLength)
{
    SmsEncodeResult result;
    result.length = used;
    if (recordLength < used || recordLength > 0xFFFF)
        return result;
    result.fits = true;
    result.record.assign(static_cast<std::size_t>(recordLength), 0xFF);
    std::copy_n(bytes.begin(), std::min(bytes.size(), result.record.size()), result.record.begin());
    return result;
}

// The kept record for a record of recordLength bytes: cut only where nothing but 0xFF filling is
// lost, padded with 0xFF; its status byte as the entry says.
SmsEncodeResult keptRecord(const SmsEntry& e, int recordLength)
{
    const std::span<const uint8_t> kept(e.kept.data(), e.keptLength);
    const auto used = std::find_if(kept.rbegin(), kept.rend(), [](uint8_t b) { return b != 0xFF; });
    SmsEncodeResult result = intoRecord(kept, static_cast<int>(kept.rend() - used), recordLength);
    if (result.fits && e.valid && ((kept[0] >> 1) & 3) != (e.status & 3))
        result.record[0] = static_cast<uint8_t>((e.status & 3) * 2 + 1);
    return result;
}

} // namespace

SmsEncodeResult EncodeSmsRecord(const SmsEntry& entry, int recordLength)
{
    if (SmsKeepsRecord(entry))
        return keptRecord(entry, recordLength);
    std::array<uint8_t, 256> buffer;
    const int used = EncodeSmsRecord(entry, buffer);
    return intoRecord(buffer, used, recordLength);
}

std::string UnpackSeptets(std::span<const uint8_t> data, int udl)
{
    const std::vector<uint8_t> septets = UnpackSeptetValues(data, 0, static_cast<std::size_t>(std::max(udl, 0)));
    return GsmSeptetsToText(septets, kMaxTextChars);
}

int PackSeptets(std::string_view text, std::span<uint8_t> out)
{
    if (out.empty())
        return 0;
    std::vector<uint8_t> septets = TextToGsmSeptets(text);
    const std::size_t fitting = std::min((out.size() - 1) * 8 / 7, std::size_t{255});
    if (septets.size() > fitting) {
        // Never end on an escape whose character was cut off.
        std::size_t count = 0;
        for (std::size_t i = 0; i < fitting;) {
            const std::size_t width = septets[i] == 0x1B ? 2 : 1;
            if (i + width > fitting)
                break;
            i += width;
            count = i;
        }
        septets.resize(count);
    }
    const std::size_t count = septets.size();
    out[0] = static_cast<uint8_t>(count);
    const std::span<uint8_t> data = out.subspan(1, (7 * count + 7) / 8);
    // The record is 0xFF-filled; bits no septet covers keep that value.
    std::fill(data.begin(), data.end(), uint8_t{0xFF});
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned septet = septets[i] & 0x7Fu;
        const std::size_t bit = 7 * i;
        const std::size_t k = bit / 8;
        const unsigned o = bit % 8;
        const unsigned keep = ~(0x7Fu << o) & 0xFFu;
        data[k] = static_cast<uint8_t>((data[k] & keep) | ((septet << o) & 0xFFu));
        if (o >= 2)
            data[k + 1] = static_cast<uint8_t>(septet >> (8 - o));
    }
    return static_cast<int>(1 + data.size());
}

const char* smsStatusName(int status)
{
    switch (status) {
    case static_cast<int>(SmsStatus::Read):
        return "Read";
    case static_cast<int>(SmsStatus::Received):
        return "Received";
    case static_cast<int>(SmsStatus::Sent):
        return "Sent";
    case static_cast<int>(SmsStatus::ToBeSent):
        return "ToBeSent";
    default:
        return "Unknown";
    }
}

} // namespace kestrel
