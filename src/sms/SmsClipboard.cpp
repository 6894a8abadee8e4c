#include "sms/SmsClipboard.h"

#include <algorithm>

#include "codec/ByteStream.h"
#include "codec/DialDigits.h"
#include "codec/FixedText.h"
#include "codec/PcText.h"
#include "codec/SmsCodec.h"
#include "phonebook/DialClipboard.h"
#include "phonebook/EntryFields.h"

namespace kestrel {

namespace {

constexpr int32_t kEndMark = -1;
constexpr std::string_view kTrailerMagic = "KSMSU8";
constexpr uint8_t kTrailerVersion = 1;

bool hasNul(const std::string& s)
{
    return s.find('\0') != std::string::npos;
}

bool dialDigitsOnly(const std::string& s)
{
    return std::all_of(s.begin(), s.end(), IsDialDigit);
}

// What an SmsEntry of this program can hold: a foreign or damaged payload must not put a number
// the record codec cannot encode, or a status it cannot write, into a row.
bool fitsAMessage(const SmsClipItem& m)
{
    if (m.position < 0 || m.position > 0xFFFF)
        return false;
    if (hasNul(m.text) || hasNul(m.when) || !dialDigitsOnly(m.scNumber) || !dialDigitsOnly(m.number))
        return false;
    return m.numberTon <= 7 && m.numberNpi <= 15 && m.scTon <= 7 && m.scNpi <= 15 && m.status >= 0 && m.status <= 3;
}

// The trailer after the end mark; false (items unchanged) when r does not hold a whole one.
bool readTrailer(ByteReader& r, std::vector<SmsClipItem>& items)
{
    for (char c : kTrailerMagic) {
        uint8_t b = 0;
        if (!r.u8(b) || b != static_cast<uint8_t>(c))
            return false;
    }
    uint8_t version = 0;
    int32_t count = 0;
    if (!r.u8(version) || version != kTrailerVersion || !r.i32(count) || count < 0 ||
        static_cast<std::size_t>(count) != items.size())
        return false;
    std::vector<std::pair<std::string, std::vector<uint8_t>>> extra(items.size());
    for (auto& [text, kept] : extra) {
        uint16_t length = 0;
        if (!r.string(text, kSmsTextSize - 1) || hasNul(text) || !r.u16(length) || length > kSmsRecordMax ||
            r.remaining() < length)
            return false;
        text.resize(utf8Prefix(text, kSmsTextSize - 1));
        kept.resize(length);
        for (uint8_t& b : kept)
            r.u8(b);
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i].text = std::move(extra[i].first);
        items[i].kept = std::move(extra[i].second);
    }
    return true;
}

} // namespace

QByteArray encodeSmsPayload(int32_t sourceList, std::span<const SmsEntry* const> entries)
{
    ByteWriter w;
    w.i32(sourceList);
    for (const SmsEntry* e : entries) {
        w.i32(static_cast<int32_t>(e->position));
        w.i32(e->valid);
        w.string(toWindows1250(entryFieldText(e->text)));
        w.string(entryFieldText(e->scNumber));
        w.string(entryFieldText(e->number));
        w.u8(e->numberTon);
        w.u8(e->numberNpi);
        w.u8(e->scTon);
        w.u8(e->scNpi);
        w.string(entryFieldText(e->when));
        w.i32(e->status);
        w.i32(e->modified);
    }
    w.i32(kEndMark);
    for (char c : kTrailerMagic)
        w.u8(static_cast<uint8_t>(c));
    w.u8(kTrailerVersion);
    w.i32(static_cast<int32_t>(entries.size()));
    for (const SmsEntry* e : entries) {
        w.string(entryFieldText(e->text));
        const uint16_t kept = std::min<uint16_t>(e->keptLength, kSmsRecordMax);
        w.u16(kept);
        for (std::size_t i = 0; i < kept; ++i)
            w.u8(e->kept[i]);
    }
    const auto& bytes = w.bytes();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

std::optional<SmsPayload> decodeSmsPayload(const QByteArray& payload)
{
    ByteReader r(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(payload.constData()),
                                          static_cast<std::size_t>(payload.size())));
    SmsPayload result;
    if (!r.i32(result.sourceList))
        return std::nullopt;
    for (;;) {
        SmsClipItem m;
        if (!r.i32(m.position))
            return std::nullopt;
        if (m.position == kEndMark) {
            readTrailer(r, result.items);
            return result;
        }
        // Strings are read whole (their length is checked against what is left) and kept only as
        // far as a row holds them.
        if (!r.i32(m.valid) || !r.string(m.text, kSmsTextSize - 1) || !r.string(m.scNumber, kSmsNumberSize - 1) ||
            !r.string(m.number, kSmsNumberSize - 1) || !r.u8(m.numberTon) || !r.u8(m.numberNpi) || !r.u8(m.scTon) ||
            !r.u8(m.scNpi) || !r.string(m.when, kSmsWhenSize - 1) || !r.i32(m.status) || !r.i32(m.modified))
            return std::nullopt;
        if (!fitsAMessage(m))
            return std::nullopt;
        m.text = fromWindows1250(m.text);
        m.text.resize(utf8Prefix(m.text, kSmsTextSize - 1));
        result.items.push_back(std::move(m));
    }
}

void applyClipItem(const SmsClipItem& m, SmsEntry& e)
{
    if (m.kept.empty()) {
        MakePlainSms(e);
    } else {
        SmsEntry record = DecodeSmsRecord(m.kept, e.position);
        record.modified = e.modified;
        record.dragMark = e.dragMark;
        e = record;
    }
    e.valid = m.valid != 0 ? 1 : 0;
    setEntryField(e.text, m.text);
    setEntryField(e.scNumber, m.scNumber);
    setEntryField(e.number, m.number);
    e.numberTon = m.numberTon;
    e.numberNpi = m.numberNpi;
    e.scTon = m.scTon;
    e.scNpi = m.scNpi;
    setEntryField(e.when, m.when);
    e.status = m.status;
}

std::string smsClipText(std::span<const SmsEntry* const> entries)
{
    std::string text;
    for (const SmsEntry* e : entries) {
        if (e->valid == 0)
            continue;
        text += entryFieldText(e->text);
        text += "\r\n";
    }
    return text;
}

} // namespace kestrel
