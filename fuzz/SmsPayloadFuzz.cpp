// Parses a "Kestrel_SMS" clipboard payload from arbitrary bytes. Whatever parses must fit SMS
// entries and come back unchanged through the writer and the parser again.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <QByteArray>

#include "codec/DialDigits.h"
#include "sms/SmsClipboard.h"

using namespace kestrel;

namespace {

template <std::size_t N>
void copyField(char (&field)[N], const std::string& text)
{
    if (text.size() >= N || text.find('\0') != std::string::npos)
        std::abort();
    std::memcpy(field, text.data(), text.size());
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
        SmsEntry e;
        e.position = static_cast<uint16_t>(m.position);
        e.valid = m.valid;
        copyField(e.text, m.text);
        copyField(e.scNumber, m.scNumber);
        copyField(e.number, m.number);
        copyField(e.when, m.when);
        e.numberTon = m.numberTon;
        e.numberNpi = m.numberNpi;
        e.scTon = m.scTon;
        e.scNpi = m.scNpi;
        e.status = m.status;
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
        if (a.position != b.position || a.valid != b.valid || a.text != b.text || a.scNumber != b.scNumber ||
            a.number != b.number || a.when != b.when || a.numberTon != b.numberTon || a.numberNpi != b.numberNpi ||
            a.scTon != b.scTon || a.scNpi != b.scNpi || a.status != b.status || a.modified != b.modified)
            std::abort();
    }
    smsClipText(pointers);
    return 0;
}
