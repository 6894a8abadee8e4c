#include "codec/DialRecord.h"

#include <algorithm>
#include <bitset>
#include <string>
#include <string_view>

#include "codec/AlphaCodec.h"
#include "codec/DialDigits.h"
#include "codec/FixedText.h"

namespace kestrel {

namespace {

constexpr uint8_t kUnused = 0xFF;
constexpr uint8_t kFiller = 0x0F;
constexpr uint8_t kAdditionalData = 0x02;
constexpr std::size_t kDigitBytes = 10;

// Appends the BCD digits of bytes[0 .. nibbleCount/2), low nibble first, until the number holds
// 60 digits. Returns false when a filler nibble ended the digits: the number ends there.
bool appendDigits(std::string& number, std::span<const uint8_t> bytes, std::size_t nibbleCount)
{
    nibbleCount = std::min(nibbleCount, bytes.size() * 2);
    for (std::size_t i = 0; i < nibbleCount && number.size() < kMaxDialDigits; ++i) {
        const uint8_t byte = bytes[i / 2];
        const uint8_t nibble = (i % 2 == 0) ? (byte & 0x0F) : (byte >> 4);
        if (nibble == kFiller)
            return false;
        number.push_back(NibbleToDigit(nibble));
    }
    return true;
}

// Packs digits two to a byte, first of a pair in the low nibble; an odd count leaves the filler in
// the last high nibble. Bytes beyond the digits are not touched.
void packDigits(std::string_view digits, std::span<uint8_t> out)
{
    for (std::size_t i = 0; i < digits.size() && i / 2 < out.size(); ++i) {
        const uint8_t nibble = DigitToNibble(digits[i]);
        uint8_t& byte = out[i / 2];
        if (i % 2 == 0)
            byte = static_cast<uint8_t>(kFiller << 4 | nibble);
        else
            byte = static_cast<uint8_t>((byte & 0x0F) | nibble << 4);
    }
}

} // namespace

bool IsDialRecordLength(std::size_t recordLength)
{
    return recordLength >= kMinDialRecordLength && recordLength <= kMaxDialRecordLength;
}

DialEntry DecodeDialRecord(std::span<const uint8_t> record, int recordNumber, std::span<const uint8_t> extensionFile)
{
    DialEntry entry;
    entry.position = static_cast<uint16_t>(recordNumber > 0 ? recordNumber - 1 : 0);
    if (!IsDialRecordLength(record.size()))
        return entry;

    const std::size_t x = record.size() - kDialRecordOverhead;
    const uint8_t length = record[x];
    if (length == kUnused)
        return entry;

    entry.valid = 1;
    entry.ccpId = record[x + 12];
    entry.extId = record[x + 13];
    setFixedText(entry.name, DecodeAlphaId(record.first(x)));

    // The record and the chain it links to are kept as read. Each extension record is visited at
    // most once, so a chain that loops ends; so does a link past the last whole record of the
    // image. A chain too long to keep, or one that loops or points outside the image, keeps nothing.
    const std::size_t extensionCount = extensionFile.size() / kExtensionRecordLength;
    std::vector<std::span<const uint8_t>> chain;
    std::bitset<256> visited;
    bool sound = true;
    for (uint8_t id = record[x + 13]; id != kUnused && id != 0; id = chain.back()[12]) {
        if (id > extensionCount || visited[id] || chain.size() == kMaxKeptExtensions) {
            sound = false;
            break;
        }
        visited[id] = true;
        chain.push_back(extensionFile.subspan((std::size_t{id} - 1) * kExtensionRecordLength, kExtensionRecordLength));
    }
    if (sound) {
        entry.kept.recordLength = static_cast<uint8_t>(record.size());
        std::copy(record.begin(), record.end(), entry.kept.record.begin());
        entry.kept.extensionCount = static_cast<uint8_t>(chain.size());
        for (std::size_t i = 0; i < chain.size(); ++i)
            std::copy(chain[i].begin(), chain[i].end(), entry.kept.extensions[i].begin());
    }

    if (length == 0)
        return entry;

    entry.ton = (record[x + 1] >> 4) & 0x07;
    entry.npi = record[x + 1] & 0x0F;

    std::string number;
    bool more = appendDigits(number, record.subspan(x + 2, kDigitBytes), 2 * (std::size_t{length} - 1));

    // Follow the chain of additional-data records, each at most once.
    visited.reset();
    uint8_t id = record[x + 13];
    while (more && id != kUnused && id != 0 && id <= extensionCount && !visited[id] && number.size() < kMaxDialDigits) {
        visited[id] = true;
        const auto ext = extensionFile.subspan((std::size_t{id} - 1) * kExtensionRecordLength, kExtensionRecordLength);
        if ((ext[0] & 0x03) == kAdditionalData)
            more = appendDigits(number, ext.subspan(2, kDigitBytes), 2 * std::size_t{ext[1]});
        id = ext[12];
    }
    setFixedText(entry.number, number);
    return entry;
}

KeptRecord RelinkKeptBytes(const DialRecordBytes& kept, std::span<const uint8_t> ids)
{
    KeptRecord out;
    const std::size_t length = kept.recordLength;
    std::copy_n(kept.record.begin(), length, out.record.begin());
    if (!IsDialRecordLength(length) || ids.size() < kept.extensionCount)
        return out;
    const std::size_t x = length - kDialRecordOverhead;
    for (std::size_t i = 0; i < kept.extensionCount; ++i) {
        ExtensionRecord piece;
        piece.id = ids[i];
        std::copy(kept.extensions[i].begin(), kept.extensions[i].end(), piece.bytes.begin());
        if (i + 1 < kept.extensionCount)
            piece.bytes[12] = ids[i + 1];
        out.extensions.push_back(piece);
    }
    if (kept.extensionCount > 0)
        out.record[x + 13] = ids[0];
    return out;
}

std::optional<DialEntry> DecodeKeptBytes(const DialRecordBytes& kept, uint16_t position)
{
    if (kept.empty() || !IsDialRecordLength(kept.recordLength) || kept.extensionCount > kMaxKeptExtensions)
        return std::nullopt;
    // The chain laid out as extension records 1, 2, ... of an image of its own.
    std::array<uint8_t, kMaxKeptExtensions> ids{};
    for (std::size_t i = 0; i < ids.size(); ++i)
        ids[i] = static_cast<uint8_t>(i + 1);
    const KeptRecord laid = RelinkKeptBytes(kept, ids);
    std::vector<uint8_t> image(std::size_t{kept.extensionCount} * kExtensionRecordLength, kUnused);
    for (const ExtensionRecord& piece : laid.extensions)
        std::copy(piece.bytes.begin(), piece.bytes.end(),
                  image.begin() + static_cast<std::ptrdiff_t>((piece.id - 1U) * kExtensionRecordLength));
    DialEntry entry = DecodeDialRecord(std::span(laid.record).first(kept.recordLength), position + 1, image);
    entry.kept = kept;
    return entry;
}

bool KeptBytesCurrent(const DialEntry& entry)
{
    const std::optional<DialEntry> read = DecodeKeptBytes(entry.kept, entry.position);
    return read && SameDialFields(*read, entry);
}

bool SameDialFields(const DialEntry& a, const DialEntry& b)
{
    if ((a.valid != 0) != (b.valid != 0))
        return false;
    if (a.valid == 0)
        return true;
    return fixedText(a.name) == fixedText(b.name) && fixedText(a.number) == fixedText(b.number) && a.ton == b.ton &&
           a.npi == b.npi;
}

DialEncodeResult EncodeDialRecord(const DialEntry& entry, std::span<uint8_t> record,
                                  const std::function<std::optional<uint8_t>()>& allocateExtension, bool unicodeNames)
{
    DialEncodeResult result;
    if (!IsDialRecordLength(record.size())) {
        result.ok = false;
        result.status = DialEncodeStatus::BadRecordLength;
        return result;
    }

    std::array<uint8_t, kMaxDialRecordLength> out;
    out.fill(kUnused);
    const std::size_t x = record.size() - kDialRecordOverhead;

    if (entry.valid != 0) {
        EncodeAlphaId(fixedText(entry.name), std::span(out).first(x), unicodeNames);

        out[x + 1] = static_cast<uint8_t>(0x80 | (entry.ton & 0x07) << 4 | (entry.npi & 0x0F));

        const std::string_view digits = fixedText(entry.number).substr(0, kMaxDialDigits);
        std::size_t n = digits.size();
        uint8_t link = kUnused;
        while (n > kMaxMainRecordDigits) {
            const std::size_t k = (n - 1) % kMaxMainRecordDigits + 1;
            ExtensionRecord piece;
            piece.bytes.fill(kUnused);
            piece.bytes[0] = kAdditionalData;
            piece.bytes[1] = static_cast<uint8_t>((k + 1) / 2);
            packDigits(digits.substr(n - k, k), std::span(piece.bytes).subspan(2, kDigitBytes));
            piece.bytes[12] = link;

            const std::optional<uint8_t> id = allocateExtension ? allocateExtension() : std::nullopt;
            if (!id || *id == 0 || *id == kUnused) {
                result.ok = false;
                result.status = DialEncodeStatus::NoFreeExtension;
                result.extensions.clear();
                return result;
            }
            piece.id = *id;
            link = *id;
            result.extensions.push_back(piece);
            n -= k;
        }
        packDigits(digits.substr(0, n), std::span(out).subspan(x + 2, kDigitBytes));
        out[x] = static_cast<uint8_t>((n + 1) / 2 + 1);
        // out[x + 12] stays 0xFF: the capability/configuration identifier read is never written back.
        out[x + 13] = link;
    }

    std::copy_n(out.begin(), record.size(), record.begin());
    return result;
}

DialEntry StoredDialEntry(const DialEntry& entry, std::size_t alphaLength, bool unicodeNames)
{
    const std::size_t length = alphaLength + kDialRecordOverhead;
    if (entry.valid == 0 || !IsDialRecordLength(length))
        return entry;
    std::array<uint8_t, kMaxDialRecordLength> record{};
    // The pieces beyond 20 digits go into extension records 1, 2, ... of an image of their own.
    uint8_t next = 0;
    const DialEncodeResult encoded = EncodeDialRecord(
        entry, std::span(record).first(length), [&next]() -> std::optional<uint8_t> { return ++next; }, unicodeNames);
    if (!encoded.ok)
        return entry;
    std::vector<uint8_t> extensions(std::size_t{next} * kExtensionRecordLength, kUnused);
    for (const ExtensionRecord& piece : encoded.extensions)
        std::copy(piece.bytes.begin(), piece.bytes.end(),
                  extensions.begin() + static_cast<std::ptrdiff_t>((piece.id - 1U) * kExtensionRecordLength));
    const DialEntry decoded = DecodeDialRecord(std::span(record).first(length), entry.position + 1, extensions);
    DialEntry stored = entry;
    std::copy(std::begin(decoded.name), std::end(decoded.name), std::begin(stored.name));
    std::copy(std::begin(decoded.number), std::end(decoded.number), std::begin(stored.number));
    return stored;
}

} // namespace kestrel
