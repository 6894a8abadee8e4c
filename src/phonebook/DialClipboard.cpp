#include "phonebook/DialClipboard.h"

#include <algorithm>
#include <cstring>

#include "codec/ByteStream.h"
#include "codec/DialRecord.h"
#include "codec/DialDigits.h"
#include "codec/PcText.h"
#include "phonebook/EntryFields.h"

namespace kestrel {

namespace {

constexpr int32_t kEndMark = -1;
constexpr std::string_view kTrailerMark = "Kestrel-UTF8";
// A name of the rows holds what the entries of the program's first versions held.
constexpr std::size_t kRowNameBytes = 49;

// What a DialEntry can hold: the payload of a foreign program (or a damaged one) must not put a
// name, number or type into an entry that the card codec or the window could not handle.
bool fitsAnEntry(const DialClipRecord& r)
{
    if (r.name.size() > kRowNameBytes || r.name.find('\0') != std::string::npos)
        return false;
    if (r.number.size() > static_cast<std::size_t>(kMaxDialDigits))
        return false;
    if (!std::all_of(r.number.begin(), r.number.end(), IsDialDigit))
        return false;
    return r.ton <= 7 && r.npi <= 15;
}

void writeKept(ByteWriter& w, const DialRecordBytes& kept)
{
    w.u8(kept.recordLength);
    w.u8(kept.extensionCount);
    std::string bytes(kept.record.begin(), kept.record.begin() + kept.recordLength);
    for (std::size_t i = 0; i < kept.extensionCount; ++i)
        bytes.append(kept.extensions[i].begin(), kept.extensions[i].end());
    w.string(bytes);
}

bool readKept(ByteReader& r, DialRecordBytes& kept)
{
    uint8_t length = 0;
    uint8_t count = 0;
    std::string bytes;
    if (!r.u8(length) || !r.u8(count) || !r.string(bytes))
        return false;
    const bool none = length == 0 && count == 0;
    const bool sound = length >= kDialRecordOverhead && length <= kKeptRecordBytes && count <= kMaxKeptExtensions;
    if ((!none && !sound) || bytes.size() != std::size_t{length} + std::size_t{count} * kKeptExtensionBytes)
        return false;
    kept.recordLength = length;
    kept.extensionCount = count;
    std::copy_n(bytes.begin(), length, kept.record.begin());
    for (std::size_t i = 0; i < count; ++i)
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(length + i * kKeptExtensionBytes), kKeptExtensionBytes,
                    kept.extensions[i].begin());
    return true;
}

// Gives the rows the trailer's names and kept bytes when the trailer is whole and sound.
void readTrailer(ByteReader& r, std::vector<DialClipRecord>& records)
{
    std::string mark;
    int32_t count = 0;
    if (!r.string(mark, kTrailerMark.size() + 1) || mark != kTrailerMark || !r.i32(count) ||
        count != static_cast<int32_t>(records.size()))
        return;
    std::vector<std::pair<std::string, DialRecordBytes>> rows(records.size());
    for (auto& [name, kept] : rows) {
        if (!r.string(name) || name.size() > static_cast<std::size_t>(kDialNameSize - 1) ||
            name.find('\0') != std::string::npos || !readKept(r, kept))
            return;
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i].name = std::move(rows[i].first);
        records[i].kept = rows[i].second;
    }
}

} // namespace

QByteArray encodeDialPayload(int32_t sourceList, std::span<const DialEntry* const> entries)
{
    ByteWriter w;
    w.i32(sourceList);
    for (const DialEntry* e : entries) {
        w.i32(e->position);
        w.i32(e->valid);
        w.string(toWindows1250(entryFieldText(e->name)).substr(0, kRowNameBytes));
        w.string(entryFieldText(e->number));
        w.u8(e->ton);
        w.u8(e->npi);
        w.u8(e->ccpId);
        w.u8(e->extId);
        w.i32(e->modified);
    }
    w.i32(kEndMark);
    w.string(kTrailerMark);
    w.i32(static_cast<int32_t>(entries.size()));
    for (const DialEntry* e : entries) {
        w.string(entryFieldText(e->name));
        writeKept(w, e->kept);
    }
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
        if (rec.position == kEndMark) {
            for (DialClipRecord& row : result.records)
                row.name = fromWindows1250(row.name);
            readTrailer(r, result.records);
            return result;
        }
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
