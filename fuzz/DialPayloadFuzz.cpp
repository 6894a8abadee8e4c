// Parses a "Kestrel_Dial" clipboard payload from arbitrary bytes, its trailer (UTF-8 names, kept
// record bytes) included. Whatever parses must fit phone book entries and come back unchanged
// through the writer and the parser again.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <QByteArray>

#include "FuzzCheck.h"
#include "codec/DialDigits.h"
#include "phonebook/DialClipboard.h"

using namespace kestrel;
using kestrel::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<DialPayload> parsed = decodeDialPayload(bytes);
    if (!parsed)
        return 0;

    std::vector<DialEntry> entries;
    for (const DialClipRecord& r : parsed->records) {
        check(r.name.size() < sizeof DialEntry::name && r.number.size() < sizeof DialEntry::number);
        check(IsValidDialNumber(r.number) && r.number.find('+') == std::string::npos);
        DialEntry e;
        e.position = static_cast<uint16_t>(r.position);
        e.valid = r.valid;
        std::memcpy(e.name, r.name.data(), r.name.size());
        std::memcpy(e.number, r.number.data(), r.number.size());
        e.ton = r.ton;
        e.npi = r.npi;
        e.ccpId = r.ccpId;
        e.extId = r.extId;
        e.modified = r.modified;
        e.kept = r.kept;
        entries.push_back(e);
    }
    std::vector<const DialEntry*> pointers;
    for (const DialEntry& e : entries)
        pointers.push_back(&e);

    const std::optional<DialPayload> again = decodeDialPayload(encodeDialPayload(parsed->sourceList, pointers));
    check(again && again->sourceList == parsed->sourceList && again->records.size() == parsed->records.size());
    for (std::size_t i = 0; i < again->records.size(); ++i) {
        const DialClipRecord& a = again->records[i];
        const DialClipRecord& b = parsed->records[i];
        check(a.name == b.name && a.number == b.number && a.valid == b.valid && a.ton == b.ton && a.npi == b.npi &&
              a.ccpId == b.ccpId && a.extId == b.extId && a.modified == b.modified && a.kept == b.kept &&
              a.position == static_cast<uint16_t>(b.position));
    }
    dialClipText(pointers);
    return 0;
}
