#include "sim/DialFiles.h"

#include <algorithm>
#include <vector>

#include "codec/DialRecord.h"

namespace kestrel {

namespace {

using namespace SimFiles;

constexpr uint8_t kUnused = 0xFF;
constexpr uint8_t kNoLink = 0xFF;
// Record numbers travel in one byte (P1 of READ/UPDATE RECORD, the link bytes) and GSM 11.11
// reserves 0xFF (no link, RFU as a record number): a record file is used up to record 254.
constexpr int kMaxRecords = 254;
constexpr int kExtRecordLength = static_cast<int>(kExtensionRecordLength);
constexpr int kModeAbsolute = 4;
constexpr int kModePrevious = 3;
// Extension record type (byte 0, low two bits): 1 called-party subaddress, 2 additional data.
constexpr uint8_t kTypeSubaddress = 1;
constexpr uint8_t kTypeAdditionalData = 2;

bool inUse(const FileImage& image, int record)
{
    const auto bytes = image.record(record);
    return !bytes.empty() && bytes[0] != kUnused;
}

// Walks the extension chain of one dialling-number record from its first link through the
// extension image, as far as it is sound: calls link(record, fromChain) for every extension record
// it is linked to (a record that closes a loop once more, then the walk ends), and returns the
// check-map flags of what it found. A chain is followed for at most as many links as the
// extension file has records.
template <typename Link>
uint8_t walkChain(uint8_t first, const FileImage& ext, Link&& link)
{
    if (first == kNoLink)
        return 0;
    const int count = ext.recordCount;
    if (first == 0 || first > count)
        return CheckFlag::kBadLink;
    if (!inUse(ext, first))
        return CheckFlag::kEmptyLink;
    link(first, false);
    uint8_t flags = 0;
    std::vector<bool> seen(static_cast<std::size_t>(count) + 1, false);
    int current = first;
    for (int links = 0; links < count; ++links) {
        seen[static_cast<std::size_t>(current)] = true;
        const auto bytes = ext.record(current);
        const uint8_t type = bytes[0] & 0x03;
        if (type == kTypeAdditionalData)
            flags |= CheckFlag::kAdditionalData;
        else if (type == kTypeSubaddress)
            flags |= CheckFlag::kSubaddress;
        const uint8_t next = bytes[12];
        if (next == kNoLink)
            break;
        if (next == 0 || next > count) {
            flags |= CheckFlag::kBadChainLink;
            break;
        }
        if (!inUse(ext, next)) {
            flags |= CheckFlag::kEmptyChainLink;
            break;
        }
        link(next, true);
        if (seen[next])
            break;
        current = next;
    }
    return flags;
}

} // namespace

// One dialling-number file: its service, extension file, owner bit in the extension file's link
// map (and those of the other files sharing it), progress texts and scan bit.
struct DialFiles::Kind
{
    uint16_t id;
    CachedFile cached;
    int service;
    uint16_t ext;
    CachedFile extCached;
    std::size_t extIndex;
    uint8_t owner;
    uint8_t others;
    int readText;
    int writeText;
    int scanText;
    int scanBit;
};

namespace {

constexpr int kSharersOfExt1 = DialScan::kAdn | DialScan::kLnd | DialScan::kMsisdn;
constexpr int kSharersOfExt2 = DialScan::kFdn;

} // namespace

const DialFiles::Kind* DialFiles::kindOf(uint16_t fileId)
{
    static const Kind kinds[] = {
        {kEfAdn, CachedFile::Adn, SimService::kAdn, kEfExt1, CachedFile::Ext1, 0, LinkFlag::kFromAdnOrFdn,
         LinkFlag::kFromLnd | LinkFlag::kFromMsisdn, 5001, 5003, 5002, DialScan::kAdn},
        {kEfFdn, CachedFile::Fdn, SimService::kFdn, kEfExt2, CachedFile::Ext2, 1, LinkFlag::kFromAdnOrFdn, 0, 5004,
         5005, 5006, DialScan::kFdn},
        {kEfLnd, CachedFile::Lnd, SimService::kLnd, kEfExt1, CachedFile::Ext1, 0, LinkFlag::kFromLnd,
         LinkFlag::kFromAdnOrFdn | LinkFlag::kFromMsisdn, 5012, 5014, 5011, DialScan::kLnd},
        {kEfMsisdn, CachedFile::Msisdn, SimService::kMsisdn, kEfExt1, CachedFile::Ext1, 0, LinkFlag::kFromMsisdn,
         LinkFlag::kFromAdnOrFdn | LinkFlag::kFromLnd, 5013, 5015, 5011, DialScan::kMsisdn},
    };
    for (const Kind& k : kinds) {
        if (k.id == fileId)
            return &k;
    }
    return nullptr;
}

std::optional<CachedFile> DialFiles::cachedFileOf(uint16_t fileId)
{
    if (const Kind* kind = kindOf(fileId))
        return kind->cached;
    return std::nullopt;
}

bool DialFiles::fail(CardStatus status)
{
    m_card.setLastStatus(status);
    return false;
}

bool DialFiles::failAndFlush(CardStatus status)
{
    m_card.flushCaches();
    m_card.setLastStatus(status);
    return false;
}

// ---- link maps ---------------------------------------------------------------------------------

bool DialFiles::loadExtension(uint16_t fileId, CachedFile cached, int service, bool& readRecords)
{
    readRecords = false;
    std::optional<FileImage>& image = m_card.image(cached);
    std::optional<RecordMap>& map = m_card.recordMap(cached);
    const std::size_t slot = cached == CachedFile::Ext1 ? 0 : 1;
    if (!m_card.hasService(service)) {
        image = FileImage{};
        map = RecordMap{};
        m_extRecordLength[slot] = 0;
        return true;
    }
    EfInfo info;
    if (!m_card.selectFile(kDfTelecom, fileId, nullptr, &info))
        return false;
    // GSM 11.11 extension records are 13 bytes; a shorter one could not hold a piece of a number.
    if ((info.structure() != 1 && info.structure() != 3) || info.recordLength() < kExtRecordLength)
        return fail(CardStatus::NonSpecificError);
    const int count = std::min(info.recordCount(), kMaxRecords);
    m_extRecordLength[slot] = info.recordLength();
    if (!image || image->recordCount != count || image->recordLength != kExtRecordLength) {
        image = FileImage(count, kExtRecordLength);
        readRecords = true;
    }
    map = RecordMap{};
    map->flags.assign(static_cast<std::size_t>(count), 0);
    return true;
}

bool DialFiles::readExtensionRecords(uint16_t fileId, CachedFile cached)
{
    FileImage& image = *m_card.image(cached);
    for (int i = 1; i <= image.recordCount; ++i) {
        const std::span<uint8_t> record = image.record(i);
        std::fill(record.begin(), record.end(), kUnused);
        int length = kExtRecordLength;
        if (!m_card.readFile(kDfTelecom, fileId, record, length, i, kModeAbsolute))
            return false;
    }
    return true;
}

bool DialFiles::loadLinkMaps(int scanBits, int textId)
{
    m_card.recordMap(CachedFile::Ext1).reset();
    m_card.recordMap(CachedFile::Ext2).reset();
    m_adnInvalidated = false;
    m_adnLinksUnknown = false;

    if (m_card.hasService(SimService::kAdn)) {
        EfInfo info;
        if (!m_card.selectFile(kDfTelecom, kEfAdn, nullptr, &info))
            return failAndFlush(m_card.lastStatus());
        m_adnInvalidated = info.invalidated();
    }
    bool readExt2 = false;
    bool readExt1 = false;
    if (!loadExtension(kEfExt2, CachedFile::Ext2, SimService::kExt2, readExt2) ||
        !loadExtension(kEfExt1, CachedFile::Ext1, SimService::kExt1, readExt1))
        return failAndFlush(m_card.lastStatus());

    for (const CachedFile cached : {CachedFile::Ext1, CachedFile::Ext2}) {
        const bool ext1 = cached == CachedFile::Ext1;
        if ((ext1 ? readExt1 : readExt2) && !readExtensionRecords(ext1 ? kEfExt1 : kEfExt2, cached))
            return failAndFlush(m_card.lastStatus());
        const FileImage& image = *m_card.image(cached);
        RecordMap& map = *m_card.recordMap(cached);
        for (int i = 1; i <= image.recordCount; ++i) {
            if (inUse(image, i))
                map.flags[static_cast<std::size_t>(i - 1)] |= LinkFlag::kInUse;
        }
    }

    for (const uint16_t id : {kEfAdn, kEfFdn, kEfLnd, kEfMsisdn}) {
        const Kind& kind = *kindOf(id);
        if (!(scanBits & kind.scanBit) || !m_card.hasService(kind.service))
            continue;
        if (id == kEfAdn && m_adnInvalidated) {
            m_adnLinksUnknown = true;
            continue;
        }
        if (!scanDialFile(id, textId))
            return failAndFlush(m_card.lastStatus());
    }
    if ((scanBits & DialScan::kSms) && m_card.hasService(SimService::kSms)) {
        // Nobody to read EF_SMS: a caller asking for it gets no silent half of what it asked.
        if (!m_smsScan)
            return failAndFlush(CardStatus::NonSpecificError);
        if (!m_smsScan(textId))
            return failAndFlush(m_card.lastStatus());
    }
    m_card.setLastStatus(CardStatus::Ok);
    return true;
}

// ---- scanning ----------------------------------------------------------------------------------

bool DialFiles::selectDialFile(const Kind& kind, EfInfo& info)
{
    if (!m_card.selectFile(kDfTelecom, kind.id, nullptr, &info))
        return false;
    // Records of 14 to 64 bytes (alpha identifiers up to 50 bytes) in a record file.
    if ((info.structure() != 1 && info.structure() != 3) ||
        !IsDialRecordLength(static_cast<std::size_t>(info.recordLength())))
        return fail(CardStatus::NonSpecificError);
    return true;
}

bool DialFiles::scanDialFile(uint16_t fileId, int textId)
{
    const Kind* kind = kindOf(fileId);
    if (!kind)
        return fail(CardStatus::NonSpecificError);
    if (!m_card.requireService(kind->service))
        return false;
    std::optional<RecordMap>& links = m_card.recordMap(kind->extCached);
    const std::optional<FileImage>& ext = m_card.image(kind->extCached);
    if (!links || !ext || links->count() != ext->recordCount ||
        (ext->recordCount > 0 && ext->recordLength != kExtRecordLength))
        return fail(CardStatus::NonSpecificError);
    std::optional<RecordMap>& checkMap = m_card.recordMap(kind->cached);
    checkMap.reset();

    EfInfo info;
    if (!selectDialFile(*kind, info))
        return false;
    const int n = std::min(info.recordCount(), kMaxRecords);
    const int recordLength = info.recordLength();
    const std::size_t x = static_cast<std::size_t>(recordLength) - kDialRecordOverhead;
    std::optional<FileImage>& image = m_card.image(kind->cached);
    const bool fromCard = !image || image->recordCount != n || image->recordLength != recordLength;
    if (fromCard)
        image = FileImage(n, recordLength);

    RecordMap map;
    map.flags.assign(static_cast<std::size_t>(n), 0);
    // The links of this file are marked into a copy: a scan that stops leaves the map as it was.
    RecordMap marked = *links;
    auto mark = [&](int record, bool fromChain) {
        uint8_t& f = marked.flags[static_cast<std::size_t>(record - 1)];
        f |= kind->owner;
        f |= (f & LinkFlag::kLinked) ? LinkFlag::kLinkedTwice : LinkFlag::kLinked;
        if (f & kind->others)
            f |= LinkFlag::kSharedByFiles;
        if (fromChain)
            f |= LinkFlag::kFromChain;
    };

    const int text = textId != 0 ? textId : kind->scanText;
    for (int i = 1; i <= n; ++i) {
        bool ok = m_card.showProgressItem(text, static_cast<unsigned>(i), static_cast<unsigned>(n), false);
        if (ok && fromCard) {
            int length = recordLength;
            ok = m_card.readFile(kDfTelecom, fileId, image->record(i), length, i, kModeAbsolute);
        }
        if (!ok) {
            // A half-read image must not pass for the file.
            if (fromCard)
                image.reset();
            return false;
        }
        const std::span<const uint8_t> record = image->record(i);
        uint8_t& flags = map.flags[static_cast<std::size_t>(i - 1)];
        const bool named = record[0] != kUnused;
        // A record without a name but with a number is free in the check map, yet it is read as an
        // entry: its extension records are in use all the same and must be marked as such.
        if (!named && record[x] == kUnused)
            continue;
        if (named) {
            flags |= CheckFlag::kInUse;
            if (record[x + 12] != kUnused)
                flags |= CheckFlag::kCcp;
        }
        flags |= walkChain(record[x + 13], *ext, mark);
    }
    *links = std::move(marked);
    checkMap = std::move(map);
    m_card.setLastStatus(CardStatus::Ok);
    return true;
}

// ---- reading -----------------------------------------------------------------------------------

// The steps every bulk read and write of a dialling-number file starts with: a reader, a known
// file, its service allocated, the file selected and not invalidated. Null (lastStatus set) when
// one fails.
const DialFiles::Kind* DialFiles::openDialFile(uint16_t fileId, EfInfo& info)
{
    if (!m_card.reader()) {
        fail(CardStatus::ReaderInaccessible);
        return nullptr;
    }
    const Kind* kind = kindOf(fileId);
    if (!kind) {
        failAndFlush(CardStatus::NonSpecificError);
        return nullptr;
    }
    if (!m_card.requireService(kind->service))
        return nullptr;
    if (!selectDialFile(*kind, info)) {
        failAndFlush(m_card.lastStatus());
        return nullptr;
    }
    if (info.invalidated()) {
        failAndFlush(CardStatus::InaccessibleRecord);
        return nullptr;
    }
    return kind;
}

bool DialFiles::readDialList(uint16_t fileId, std::span<DialEntry> entries, DialListSize& result)
{
    EfInfo info;
    const Kind* kind = openDialFile(fileId, info);
    if (!kind)
        return false;

    const int n = std::min(info.recordCount(), kMaxRecords);
    const int count = std::min(static_cast<int>(std::min<std::size_t>(entries.size(), kMaxRecords)), n);
    result = DialListSize{count, info.recordLength() - static_cast<int>(kDialRecordOverhead)};
    for (std::size_t k = 0; k < entries.size(); ++k) {
        entries[k] = DialEntry{};
        entries[k].position = static_cast<uint16_t>(k);
    }

    if (!loadLinkMaps(kind->scanBit, kind->readText))
        return false;
    const std::optional<FileImage>& image = m_card.image(kind->cached);
    const std::optional<FileImage>& ext = m_card.image(kind->extCached);
    if (!image || !ext || image->recordCount < count)
        return failAndFlush(CardStatus::NonSpecificError);
    for (int k = 0; k < count; ++k)
        entries[static_cast<std::size_t>(k)] = DecodeDialRecord(image->record(k + 1), k + 1, ext->records);
    m_card.setLastStatus(CardStatus::Ok);
    return true;
}

// ---- writing -----------------------------------------------------------------------------------

bool DialFiles::writeDialList(uint16_t fileId, std::span<DialEntry> entries, DialListSize& result)
{
    EfInfo info;
    const Kind* kind = openDialFile(fileId, info);
    if (!kind)
        return false;

    const int n = std::min(info.recordCount(), kMaxRecords);
    const int recordLength = info.recordLength();
    const std::size_t x = static_cast<std::size_t>(recordLength) - kDialRecordOverhead;
    result = DialListSize{n, static_cast<int>(x)};
    for (const DialEntry& e : entries) {
        if (e.valid && e.position >= n)
            return failAndFlush(CardStatus::PositionsOverflow);
    }

    // Every file sharing the extension file is scanned, so that records linked from the others are
    // neither freed nor reused.
    if (!loadLinkMaps(kind->ext == kEfExt1 ? kSharersOfExt1 : kSharersOfExt2, 0))
        return false;
    std::optional<FileImage>& image = m_card.image(kind->cached);
    std::optional<FileImage>& ext = m_card.image(kind->extCached);
    std::optional<RecordMap>& links = m_card.recordMap(kind->extCached);
    if (!image || !ext || !links || image->recordCount != n || image->recordLength != recordLength ||
        links->count() != ext->recordCount)
        return failAndFlush(CardStatus::NonSpecificError);
    const bool linksUnknown = kind->ext == kEfExt1 && m_adnLinksUnknown;
    const int extLength = m_extRecordLength[kind->extIndex];

    // This file's own extension records (linked from it alone) are given up as the records
    // linking them are rewritten, not all before the first write: a write that stops part-way
    // leaves the records after it whole, chains included. refs counts the links from records
    // not rewritten yet. With EF_ADN unreadable (fixed dialling) nothing counts as this file's
    // alone, and only empty records are taken.
    const auto extCount = static_cast<std::size_t>(ext->recordCount);
    std::vector<bool> own(extCount + 1, false);
    std::vector<int> refs(extCount + 1, 0);
    std::vector<bool> taken(extCount + 1, false);
    std::vector<std::vector<int>> oldChains(static_cast<std::size_t>(n) + 1);
    for (std::size_t j = 1; j <= extCount; ++j) {
        const uint8_t f = links->flags[j - 1];
        own[j] = !linksUnknown && (f & LinkFlag::kInUse) && (f & kind->owner) && !(f & LinkFlag::kSharedByFiles);
    }
    for (int g = 1; g <= n; ++g) {
        const std::span<const uint8_t> record = image->record(g);
        if (record[0] == kUnused && record[x] == kUnused)
            continue;
        auto& chain = oldChains[static_cast<std::size_t>(g)];
        walkChain(record[x + 13], *ext, [&](int j, bool) {
            chain.push_back(j);
            ++refs[static_cast<std::size_t>(j)];
        });
    }

    auto writeExtension = [&](int j, std::span<const uint8_t> bytes) {
        std::vector<uint8_t> padded(static_cast<std::size_t>(std::max(extLength, kExtRecordLength)), kUnused);
        std::copy(bytes.begin(), bytes.end(), padded.begin());
        int length = static_cast<int>(padded.size());
        if (!m_card.updateFile(kDfTelecom, kind->ext, padded, length, j, kModeAbsolute))
            return false;
        std::copy(bytes.begin(), bytes.end(), ext->record(j).begin());
        return true;
    };
    // Clears an own record nothing links to any more.
    auto release = [&](int j) {
        const auto u = static_cast<std::size_t>(j);
        if (!own[u] || taken[u] || refs[u] > 0)
            return true;
        own[u] = false;
        const std::array<uint8_t, kExtensionRecordLength> empty = [] {
            std::array<uint8_t, kExtensionRecordLength> a;
            a.fill(kUnused);
            return a;
        }();
        if (!writeExtension(j, empty))
            return false;
        links->flags[u - 1] = 0;
        return true;
    };
    // First a record no file links to; then one of this file's own that no record still to be
    // written links to; last one of its own still linked from a record about to be rewritten.
    auto allocate = [&]() -> std::optional<uint8_t> {
        const int last = ext->recordCount;
        for (int pass = 0; pass < 3; ++pass) {
            for (int j = 1; j <= last; ++j) {
                const auto u = static_cast<std::size_t>(j);
                const uint8_t f = links->flags[u - 1];
                if (taken[u])
                    continue;
                const bool ok = pass == 0   ? !(f & LinkFlag::kLinked) && !(linksUnknown && (f & LinkFlag::kInUse))
                                : pass == 1 ? own[u] && refs[u] == 0
                                            : own[u];
                if (ok) {
                    taken[u] = true;
                    return static_cast<uint8_t>(j);
                }
            }
        }
        return std::nullopt;
    };

    // A cyclic file (EF_LND) is written in PREVIOUS mode only: each update replaces the oldest
    // record and makes it record 1, so the records go from the last to the first.
    const bool cyclic = info.structure() == 3;
    for (int i = 1; i <= n; ++i) {
        const int g = cyclic ? n - i + 1 : i;
        if (!m_card.showProgressItem(kind->writeText, static_cast<unsigned>(i), static_cast<unsigned>(n), true))
            return failAndFlush(CardStatus::CancelledByUser);

        DialEntry* entry = nullptr;
        for (DialEntry& e : entries) {
            if (e.position == g - 1) {
                entry = &e;
                break;
            }
        }
        std::array<uint8_t, kMaxDialRecordLength> bytes;
        bytes.fill(kUnused);
        const std::span<uint8_t> record(bytes.data(), static_cast<std::size_t>(recordLength));
        if (entry && entry->valid) {
            std::vector<std::size_t> tentative;
            const DialEncodeResult encoded = EncodeDialRecord(*entry, record, [&]() -> std::optional<uint8_t> {
                const std::optional<uint8_t> j = allocate();
                if (j)
                    tentative.push_back(*j);
                return j;
            });
            if (!encoded.ok) {
                for (const std::size_t u : tentative)
                    taken[u] = false;
                return failAndFlush(encoded.status == DialEncodeStatus::NoFreeExtension
                                        ? CardStatus::ExtensionSpaceOverflow
                                        : CardStatus::NonSpecificError);
            }
            for (const ExtensionRecord& piece : encoded.extensions) {
                if (!writeExtension(piece.id, piece.bytes))
                    return failAndFlush(m_card.lastStatus());
                own[piece.id] = false;
                links->flags[static_cast<std::size_t>(piece.id) - 1] =
                    LinkFlag::kInUse | LinkFlag::kLinked | kind->owner;
            }
        }
        int length = recordLength;
        if (!m_card.updateFile(kDfTelecom, fileId, record, length, cyclic ? 0 : g,
                               cyclic ? kModePrevious : kModeAbsolute))
            return failAndFlush(m_card.lastStatus());
        std::copy(record.begin(), record.end(), image->record(g).begin());
        if (entry)
            entry->modified = 0;

        for (const int j : oldChains[static_cast<std::size_t>(g)]) {
            --refs[static_cast<std::size_t>(j)];
            if (!release(j))
                return failAndFlush(m_card.lastStatus());
        }
    }
    // Own records that no walk reached (nothing should be left; a sound card has none).
    for (std::size_t j = 1; j <= extCount; ++j) {
        refs[j] = 0;
        if (!release(static_cast<int>(j)))
            return failAndFlush(m_card.lastStatus());
    }
    m_card.setLastStatus(CardStatus::Ok);
    return true;
}

} // namespace kestrel
