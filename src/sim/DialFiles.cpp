#include "sim/DialFiles.h"

#include <algorithm>
#include <vector>

#include "base/StringIds.h"
#include "codec/DialRecord.h"
#include "gsm/Instructions.h"
#include "sim/DialChain.h"
#include "sim/DialWritePlan.h"

namespace kestrel {

namespace {

using namespace gsm::fid;
using namespace dialchain;

// Record numbers travel in one byte (P1 of READ/UPDATE RECORD, the link bytes) and GSM 11.11
// reserves 0xFF (no link, RFU as a record number): a record file is used up to record 254.
constexpr int kMaxRecords = 254;
constexpr int kExtRecordLength = static_cast<int>(kExtensionRecordLength);

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
        {kEfAdn, CachedFile::Adn, gsm::service::kAdn, kEfExt1, CachedFile::Ext1, 0, LinkFlag::kFromAdnOrFdn,
         LinkFlag::kFromLnd | LinkFlag::kFromMsisdn, sid::ReadingPhoneBookFromSim_5001, sid::WritingPhoneBookToSim_5003,
         sid::CheckingPhoneBookFromSim_5002, DialScan::kAdn},
        {kEfFdn, CachedFile::Fdn, gsm::service::kFdn, kEfExt2, CachedFile::Ext2, 1, LinkFlag::kFromAdnOrFdn, 0,
         sid::ReadingPhoneBookFromSim_5004, sid::WritingFixedDialingNumbersTo_5005,
         sid::CheckingFixedDialingNumbersOn_5006, DialScan::kFdn},
        {kEfLnd, CachedFile::Lnd, gsm::service::kLnd, kEfExt1, CachedFile::Ext1, 0, LinkFlag::kFromLnd,
         LinkFlag::kFromAdnOrFdn | LinkFlag::kFromMsisdn, sid::ReadingPhoneBookFromSim_5012,
         sid::WritingPhoneBookToSim_5014, sid::CheckingPhoneNumberExtensionsChecking_5011, DialScan::kLnd},
        {kEfMsisdn, CachedFile::Msisdn, gsm::service::kMsisdn, kEfExt1, CachedFile::Ext1, 0, LinkFlag::kFromMsisdn,
         LinkFlag::kFromAdnOrFdn | LinkFlag::kFromLnd, sid::ReadingPhoneBookFromSim_5013,
         sid::WritingPhoneBookToSim_5015, sid::CheckingPhoneNumberExtensionsChecking_5011, DialScan::kMsisdn},
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
    FileInfo info;
    if (!m_card.selectFile(kDfTelecom, fileId, nullptr, &info))
        return false;
    // GSM 11.11 extension records are 13 bytes; a shorter one could not hold a piece of a number.
    if (!info.isRecordFile() || info.recordLength < kExtRecordLength)
        return fail(CardStatus::NonSpecificError);
    const int count = std::min(info.recordCount, kMaxRecords);
    m_extRecordLength[slot] = info.recordLength;
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
        if (!m_card.readFile(kDfTelecom, fileId, record, length, i, gsm::recordMode::kAbsolute))
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

    if (m_card.hasService(gsm::service::kAdn)) {
        FileInfo info;
        if (!m_card.selectFile(kDfTelecom, kEfAdn, nullptr, &info))
            return failAndFlush(m_card.lastStatus());
        m_adnInvalidated = info.invalidated;
    }
    m_extBroken = {CardStatus::Ok, CardStatus::Ok};
    // An extension file the card does not have although its service table says so, or that is not
    // laid out as one (wrong structure, short records), is taken as empty and remembered as broken:
    // only the numbers that need it suffer when reading, and nothing is written to it. A reader
    // failure, or a card failing while its records are read, still ends the load.
    auto brokenFile = [this](CachedFile cached) {
        const CardStatus status = m_card.lastStatus();
        if (status != CardStatus::BadCardResponse && status != CardStatus::NoValidPin &&
            status != CardStatus::NonSpecificError)
            return false;
        m_extBroken[cached == CachedFile::Ext1 ? 0 : 1] = status;
        m_card.image(cached) = FileImage{};
        m_card.recordMap(cached) = RecordMap{};
        return true;
    };
    bool readExt2 = false;
    bool readExt1 = false;
    if (!loadExtension(kEfExt2, CachedFile::Ext2, gsm::service::kExt2, readExt2) && !brokenFile(CachedFile::Ext2))
        return failAndFlush(m_card.lastStatus());
    if (!loadExtension(kEfExt1, CachedFile::Ext1, gsm::service::kExt1, readExt1) && !brokenFile(CachedFile::Ext1))
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
    if ((scanBits & DialScan::kSms) && m_card.hasService(gsm::service::kSms)) {
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

bool DialFiles::selectDialFile(const Kind& kind, FileInfo& info)
{
    if (!m_card.selectFile(kDfTelecom, kind.id, nullptr, &info))
        return false;
    // Records of 14 to 64 bytes (alpha identifiers up to 50 bytes) in a record file.
    if (!info.isRecordFile() || !IsDialRecordLength(static_cast<std::size_t>(info.recordLength)))
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

    FileInfo info;
    if (!selectDialFile(*kind, info))
        return false;
    const int n = std::min(info.recordCount, kMaxRecords);
    const int recordLength = info.recordLength;
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
            ok = m_card.readFile(kDfTelecom, fileId, image->record(i), length, i, gsm::recordMode::kAbsolute);
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
        if (!dialRecordUsed(record, x))
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
const DialFiles::Kind* DialFiles::openDialFile(uint16_t fileId, FileInfo& info)
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
    // Nothing was read: the images stay (a backup goes on with the other files).
    if (info.invalidated) {
        fail(CardStatus::InaccessibleRecord);
        return nullptr;
    }
    return kind;
}

bool DialFiles::readDialList(uint16_t fileId, std::span<DialEntry> entries, DialListSize& result)
{
    FileInfo info;
    const Kind* kind = openDialFile(fileId, info);
    if (!kind)
        return false;

    const int n = std::min(info.recordCount, kMaxRecords);
    const int count = std::min(static_cast<int>(std::min<std::size_t>(entries.size(), kMaxRecords)), n);
    result = DialListSize{count, info.recordLength - static_cast<int>(kDialRecordOverhead)};
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

// Everything a write needs before its first UPDATE: the file open, every position inside it, the
// images and link maps loaded with each file sharing the extension file scanned, and the plan.
const DialFiles::Kind* DialFiles::planWrite(uint16_t fileId, std::span<DialEntry> entries, DialListSize& result,
                                            DialWritePlan& plan, bool& cyclic)
{
    FileInfo info;
    const Kind* kind = openDialFile(fileId, info);
    if (!kind)
        return nullptr;

    const int n = std::min(info.recordCount, kMaxRecords);
    const int recordLength = info.recordLength;
    result = DialListSize{n, recordLength - static_cast<int>(kDialRecordOverhead)};
    for (const DialEntry& e : entries) {
        if (e.valid && e.position >= n) {
            failAndFlush(CardStatus::PositionsOverflow);
            return nullptr;
        }
    }

    // Every file sharing the extension file is scanned, so that records linked from the others are
    // neither freed nor reused.
    if (!loadLinkMaps(kind->ext == kEfExt1 ? kSharersOfExt1 : kSharersOfExt2, 0))
        return nullptr;
    // With the extension file unreadable, a record that links into it holds digits the entries
    // never saw, and new long numbers have nowhere to go: only a file without either is written.
    const CardStatus broken = m_extBroken[kind->extIndex];
    if (broken != CardStatus::Ok && linksIntoExtension(*kind)) {
        failAndFlush(broken);
        return nullptr;
    }
    const std::optional<FileImage>& image = m_card.image(kind->cached);
    const std::optional<FileImage>& ext = m_card.image(kind->extCached);
    const std::optional<RecordMap>& links = m_card.recordMap(kind->extCached);
    if (!image || !ext || !links || image->recordCount != n || image->recordLength != recordLength ||
        links->count() != ext->recordCount) {
        failAndFlush(CardStatus::NonSpecificError);
        return nullptr;
    }
    cyclic = info.structure == FileStructure::Cyclic;
    DialWriteSource source{*image,
                           *ext,
                           *links,
                           kind->owner,
                           kind->ext == kEfExt1 && m_adnLinksUnknown,
                           cyclic,
                           {},
                           m_card.settings().unicodeNames};
    for (const uint16_t other : {kEfAdn, kEfLnd, kEfMsisdn}) {
        const Kind& sharer = *kindOf(other);
        if (other != fileId && sharer.ext == kind->ext && m_card.image(sharer.cached))
            source.sharers.push_back(&*m_card.image(sharer.cached));
    }
    plan = PlanDialWrite(source, entries);
    if (plan.status != CardStatus::Ok) {
        failAndFlush(plan.status == CardStatus::ExtensionSpaceOverflow && broken != CardStatus::Ok ? broken
                                                                                                   : plan.status);
        return nullptr;
    }
    return kind;
}

bool DialFiles::linksIntoExtension(const Kind& kind) const
{
    const std::optional<FileImage>& image = m_card.image(kind.cached);
    if (!image)
        return false;
    const std::size_t x = static_cast<std::size_t>(image->recordLength) - kDialRecordOverhead;
    for (int g = 1; g <= image->recordCount; ++g) {
        const std::span<const uint8_t> record = image->record(g);
        if (dialRecordUsed(record, x) && record[x + 13] != kNoLink)
            return true;
    }
    return false;
}

bool DialFiles::extensionDigitsLost(uint16_t fileId) const
{
    const Kind* kind = kindOf(fileId);
    return kind && m_extBroken[kind->extIndex] != CardStatus::Ok && linksIntoExtension(*kind);
}

bool DialFiles::checkDialList(uint16_t fileId, std::span<DialEntry> entries, DialListSize& result)
{
    DialWritePlan plan;
    bool cyclic = false;
    if (!planWrite(fileId, entries, result, plan, cyclic))
        return false;
    m_card.setLastStatus(CardStatus::Ok);
    return true;
}

bool DialFiles::writeDialList(uint16_t fileId, std::span<DialEntry> entries, DialListSize& result)
{
    DialWritePlan plan;
    bool cyclic = false;
    const Kind* kind = planWrite(fileId, entries, result, plan, cyclic);
    if (!kind)
        return false;
    FileImage& image = *m_card.image(kind->cached);
    FileImage& ext = *m_card.image(kind->extCached);
    RecordMap& links = *m_card.recordMap(kind->extCached);
    const int n = result.count;
    const int recordLength = image.recordLength;
    const int extLength = std::max(m_extRecordLength[kind->extIndex], kExtRecordLength);

    // A record whose new bytes are what the card holds (this access's image) is not sent again.
    auto writeExtension = [&](int j, std::span<const uint8_t> bytes) {
        const std::span<const uint8_t> held = ext.record(j);
        if (std::equal(bytes.begin(), bytes.end(), held.begin(), held.end()))
            return true;
        std::vector<uint8_t> padded(static_cast<std::size_t>(extLength), kUnused);
        std::copy(bytes.begin(), bytes.end(), padded.begin());
        int length = extLength;
        if (!m_card.updateFile(kDfTelecom, kind->ext, padded, length, j, gsm::recordMode::kAbsolute))
            return false;
        std::copy(bytes.begin(), bytes.end(), ext.record(j).begin());
        return true;
    };
    std::array<uint8_t, kExtensionRecordLength> empty;
    empty.fill(kUnused);

    // A cyclic file (EF_LND) is written in PREVIOUS mode only: each update replaces the oldest
    // record and makes it record 1, so the records go from the last to the first.
    int shown = 0;
    for (const DialWriteStep& step : plan.steps) {
        if (step.record != 0 &&
            !m_card.showProgressItem(kind->writeText, static_cast<unsigned>(++shown), static_cast<unsigned>(n), true))
            return failAndFlush(CardStatus::CancelledByUser);
        if (!step.keep) {
            for (const ExtensionRecord& piece : step.pieces) {
                if (!writeExtension(piece.id, piece.bytes))
                    return failAndFlush(m_card.lastStatus());
                links.flags[static_cast<std::size_t>(piece.id) - 1] =
                    LinkFlag::kInUse | LinkFlag::kLinked | kind->owner;
            }
            const std::span<const uint8_t> record(step.bytes.data(), static_cast<std::size_t>(recordLength));
            const std::span<uint8_t> held = image.record(step.record);
            // A cyclic file is written whole: each update in PREVIOUS mode moves the records on.
            if (cyclic || !std::equal(record.begin(), record.end(), held.begin(), held.end())) {
                int length = recordLength;
                if (!m_card.updateFile(kDfTelecom, fileId, record, length, cyclic ? 0 : step.record,
                                       cyclic ? gsm::recordMode::kPrevious : gsm::recordMode::kAbsolute))
                    return failAndFlush(m_card.lastStatus());
                std::copy(record.begin(), record.end(), held.begin());
            }
            if (step.entry) {
                step.entry->modified = 0;
                // What the card holds now is what the entry keeps: its next write sends nothing.
                step.entry->kept = DecodeDialRecord(held, step.record, ext.records).kept;
            }
        }
        for (const int j : step.released) {
            if (!writeExtension(j, empty))
                return failAndFlush(m_card.lastStatus());
            links.flags[static_cast<std::size_t>(j) - 1] = 0;
        }
    }
    m_card.setLastStatus(CardStatus::Ok);
    return true;
}

} // namespace kestrel
