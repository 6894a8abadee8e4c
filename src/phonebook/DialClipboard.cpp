#include "phonebook/DialClipboard.h"

#include <algorithm>
#include <cstring>

#include "codec/ByteStream.h"
#include "codec/DialDigits.h"
#include "phonebook/EntryFields.h"

namespace kestrel {

namespace {

constexpr int32_t kEndMark = -1;

// What a DialEntry can hold: the payload of a foreign program (or a damaged one) must not put a
// name, number or type into an entry that the card codec or the window could not handle.
bool fitsAnEntry(const DialClipRecord& r)
{
    if (r.name.size() > static_cast<std::size_t>(kDialNameSize - 1) || r.name.find('\0') != std::string::npos)
        return false;
    if (r.number.size() > static_cast<std::size_t>(kMaxDialDigits))
        return false;
    if (!std::all_of(r.number.begin(), r.number.end(), IsDialDigit))
        return false;
    return r.ton <= 7 && r.npi <= 15;
}

} // namespace

QByteArray encodeDialPayload(int32_t sourceList, std::span<const DialEntry* const> entries)
{
    ByteWriter w;
    w.i32(sourceList);
    for (const DialEntry* e : entries) {
        w.i32(e->position);
        w.i32(e->valid);
        w.string(entryFieldText(e->name));
        w.string(entryFieldText(e->number));
        w.u8(e->ton);
        w.u8(e->npi);
        w.u8(e->ccpId);
        w.u8(e->extId);
        w.i32(e->modified);
    }
    w.i32(kEndMark);
    const auto& bytes = w.bytes();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

std::optional<DialPayload> decodeDialPayload(const QByteArray& payload)
{
    ByteReader r(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(payload.constData()),
                                          static_cast<std::size_t>(payload.size())));
    DialPayload result;
    if (!r.i32(result.sourceList))
        return std::nullopt;
    for (;;) {
        DialClipRecord rec;
        if (!r.i32(rec.position))
            return std::nullopt;
        if (rec.position == kEndMark)
            return result;
        // Strings are read whole (their length is checked against what is left) and refused
        // below when longer than an entry holds.
        if (!r.i32(rec.valid) || !r.string(rec.name) || !r.string(rec.number) || !r.u8(rec.ton) || !r.u8(rec.npi) ||
            !r.u8(rec.ccpId) || !r.u8(rec.extId) || !r.i32(rec.modified))
            return std::nullopt;
        if (!fitsAnEntry(rec))
            return std::nullopt;
        result.records.push_back(std::move(rec));
    }
}

std::string dialClipText(std::span<const DialEntry* const> entries)
{
    std::string text;
    for (const DialEntry* e : entries) {
        if (e->valid == 0)
            continue;
        text += entryFieldText(e->name);
        text += "\t'";
        text += JoinPlus(entryFieldText(e->number), e->ton);
        text += "\r\n";
    }
    return text;
}

} // namespace kestrel
