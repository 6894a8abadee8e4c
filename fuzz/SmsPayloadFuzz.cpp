// Parses a "Kestrel_SMS" clipboard payload from arbitrary bytes, with or without its trailer (UTF-8
// texts, kept records). Whatever parses must fit SMS entries and come back unchanged through the
// writer and the parser again.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include <QByteArray>

#include "codec/DialDigits.h"
#include "sms/SmsClipboard.h"

using namespace kestrel;

namespace {

bool fits(const std::string& text, std::size_t size)
{
    return text.size() < size && text.find('\0') == std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<SmsPayload> parsed = decodeSmsPayload(bytes);
    if (!parsed)
        return 0;

    std::vector<SmsEntry> entries;
    for (const SmsClipItem& m : parsed->items) {
        if (!IsValidDialNumber(m.number) || !IsValidDialNumber(m.scNumber) || m.status < 0 || m.status > 3)
            std::abort();
        if (!fits(m.text, kSmsTextSize) || !fits(m.scNumber, kSmsNumberSize) || !fits(m.number, kSmsNumberSize) ||
            !fits(m.when, kSmsWhenSize) || m.kept.size() > static_cast<std::size_t>(kSmsRecordMax))
            std::abort();
        SmsEntry e;
        e.position = static_cast<uint16_t>(m.position);
        applyClipItem(m, e);
        e.modified = m.modified;
        entries.push_back(e);
    }
    std::vector<const SmsEntry*> pointers;
    for (const SmsEntry& e : entries)
        pointers.push_back(&e);

    const std::optional<SmsPayload> again = decodeSmsPayload(encodeSmsPayload(parsed->sourceList, pointers));
    if (!again || again->sourceList != parsed->sourceList || again->items.size() != parsed->items.size())
        std::abort();
    for (std::size_t i = 0; i < again->items.size(); ++i) {
        const SmsClipItem& a = again->items[i];
        const SmsClipItem& b = parsed->items[i];
        if (a.position != b.position || a.valid != (b.valid != 0 ? 1 : 0) || a.text != b.text ||
            a.scNumber != b.scNumber || a.number != b.number || a.when != b.when || a.numberTon != b.numberTon ||
            a.numberNpi != b.numberNpi || a.scTon != b.scTon || a.scNpi != b.scNpi || a.status != b.status ||
            a.modified != b.modified || a.kept != b.kept)
            std::abort();
    }
    smsClipText(pointers);
    return 0;
}
