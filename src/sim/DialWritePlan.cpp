#include "sim/DialWritePlan.h"

#include <algorithm>
#include <optional>

#include "codec/FixedText.h"
#include "codec/PcText.h"
#include "sim/DialChain.h"

namespace kestrel {

namespace {

using namespace dialchain;

// The bookkeeping of one plan over the extension file: for each extension record (from 1) whether
// it is this file's alone, how many links from records not yet written still reach it, and
// whether the plan has given it new contents.
class ExtensionLedger
{
public:
    explicit ExtensionLedger(const DialWriteSource& source)
        : m_size(static_cast<std::size_t>(source.extension.recordCount) + 1), m_own(m_size, false),
          m_free(m_size, false), m_refs(m_size, 0), m_taken(m_size, false), m_released(m_size, false)
    {
        for (std::size_t j = 1; j < m_size; ++j) {
            const uint8_t f = source.links.flags[j - 1];
            m_own[j] =
                !source.linksUnknown && (f & LinkFlag::kInUse) && (f & source.owner) && !(f & LinkFlag::kSharedByFiles);
            // Nothing links to it; with a sharing file unscanned only an empty record is surely free.
            m_free[j] = !(f & LinkFlag::kLinked) && !(source.linksUnknown && (f & LinkFlag::kInUse));
        }
    }

    void addLink(int j) { ++m_refs[index(j)]; }

    // The record is no longer linked from a record still to be written; true when it is this
    // file's and so becomes free (to be cleared once the record linking it is written).
    bool dropLink(int j)
    {
        const std::size_t u = index(j);
        --m_refs[u];
        return releasable(u);
    }

    // The first record a new piece may go to: nothing that will still be read links to it.
    std::optional<uint8_t> takeFree()
    {
        for (std::size_t j = 1; j < m_size; ++j) {
            if (!m_taken[j] && m_refs[j] == 0 && (m_free[j] || m_own[j])) {
                m_taken[j] = true;
                return static_cast<uint8_t>(j);
            }
        }
        return std::nullopt;
    }

    // A link that no write will drop: from a file sharing the extension file.
    void block(int j) { ++m_refs[index(j)]; }
    void take(int j) { m_taken[index(j)] = true; }
    void untake(int j) { m_taken[index(j)] = false; }
    bool taken(int j) const { return m_taken[index(j)]; }

    // Own records no walk reached: nothing links to them and they are cleared at the end.
    std::vector<int> unreached()
    {
        std::vector<int> out;
        for (std::size_t j = 1; j < m_size; ++j) {
            if (releasable(j))
                out.push_back(static_cast<int>(j));
        }
        return out;
    }

private:
    std::size_t index(int j) const { return static_cast<std::size_t>(j); }
    bool releasable(std::size_t u)
    {
        if (!m_own[u] || m_taken[u] || m_refs[u] > 0 || m_released[u])
            return false;
        m_released[u] = true;
        return true;
    }

    std::size_t m_size;
    std::vector<bool> m_own;
    std::vector<bool> m_free;
    std::vector<int> m_refs;
    std::vector<bool> m_taken;
    std::vector<bool> m_released;
};

DialEntry* entryAt(std::span<DialEntry> entries, int position)
{
    for (DialEntry& e : entries) {
        if (e.position == position)
            return &e;
    }
    return nullptr;
}

// The number of the entry in exactly the extension records its record links to now, byte for
// byte: nothing needs to be written to them, and no moment leaves the record torn.
bool encodeInPlace(const DialEntry& entry, std::span<uint8_t> record, const std::vector<int>& chain,
                   const FileImage& ext, ExtensionLedger& ledger, DialEncodeResult& result, bool unicodeNames)
{
    // The pieces are made from the last to the first: the chain is handed out from its end.
    std::size_t handed = 0;
    result = EncodeDialRecord(
        entry, record,
        [&]() -> std::optional<uint8_t> {
            if (handed >= chain.size())
                return std::nullopt;
            const int j = chain[chain.size() - 1 - handed++];
            if (ledger.taken(j))
                return std::nullopt;
            return static_cast<uint8_t>(j);
        },
        unicodeNames);
    if (!result.ok || result.extensions.empty())
        return false;
    for (const ExtensionRecord& piece : result.extensions) {
        const std::span<const uint8_t> now = ext.record(piece.id);
        if (now.size() < piece.bytes.size() || !std::equal(piece.bytes.begin(), piece.bytes.end(), now.begin()))
            return false;
    }
    return true;
}

// Lays the kept bytes of an entry unchanged since it was read into record: its chain stays where
// the card still holds it so, else it moves to free extension records (step.pieces).
// sid::ExtensionCardSpaceOverflow_148, nothing taken, when there are too few of them.
CardStatus placeKeptBytes(const DialRecordBytes& kept, std::span<uint8_t> record, const std::vector<int>& chain,
                          const FileImage& ext, ExtensionLedger& ledger, DialWriteStep& step)
{
    std::vector<uint8_t> ids(chain.begin(), chain.end());
    KeptRecord relinked = RelinkKeptBytes(kept, ids);
    const bool inPlace =
        chain.size() == kept.extensionCount &&
        std::all_of(relinked.extensions.begin(), relinked.extensions.end(), [&](const ExtensionRecord& piece) {
            const std::span<const uint8_t> held = ext.record(piece.id);
            return !ledger.taken(piece.id) && std::equal(piece.bytes.begin(), piece.bytes.end(), held.begin());
        });
    if (!inPlace) {
        ids.clear();
        for (std::size_t i = 0; i < kept.extensionCount; ++i) {
            const std::optional<uint8_t> j = ledger.takeFree();
            if (!j) {
                for (const uint8_t taken : ids)
                    ledger.untake(taken);
                return CardStatus::ExtensionSpaceOverflow;
            }
            ids.push_back(*j);
        }
        relinked = RelinkKeptBytes(kept, ids);
        step.pieces = relinked.extensions;
    } else {
        for (const ExtensionRecord& piece : relinked.extensions)
            ledger.take(piece.id);
    }
    std::copy_n(relinked.record.begin(), record.size(), record.begin());
    return CardStatus::Ok;
}

// Whether the entry asks for nothing but what the card's record holds now: its fields are the
// record's, or (an entry that never saw a card: a file, a backup) the record's as a Windows-1250
// file gives them back, so that a name no such file can hold is not overwritten by its "?".
bool holdsCardRecord(const DialEntry& entry, const DialEntry& card)
{
    if (SameDialFields(entry, card))
        return true;
    if (!entry.kept.empty() || entry.valid == 0 || card.valid == 0)
        return false;
    DialEntry seen = card;
    setFixedText(seen.name, throughWindows1250(fixedText(card.name)));
    return SameDialFields(entry, seen);
}

} // namespace

DialWritePlan PlanDialWrite(const DialWriteSource& source, std::span<DialEntry> entries)
{
    DialWritePlan plan;
    const FileImage& file = source.file;
    const int n = file.recordCount;
    const auto recordLength = static_cast<std::size_t>(file.recordLength);
    ExtensionLedger ledger(source);

    // An extension record the other files link to, or point to while it is empty, is never taken.
    for (const FileImage* sharer : source.sharers) {
        const std::size_t sx = static_cast<std::size_t>(sharer->recordLength) - kDialRecordOverhead;
        for (int g = 1; g <= sharer->recordCount; ++g) {
            const std::span<const uint8_t> record = sharer->record(g);
            if (dialRecordUsed(record, sx))
                walkChain(
                    record[sx + 13], source.extension, [&](int j, bool) { ledger.block(j); },
                    [&](int j) { ledger.block(j); });
        }
    }
    // The chains the records hold now; their links count until the record is written.
    const std::size_t x = recordLength - kDialRecordOverhead;
    std::vector<std::vector<int>> oldChains(static_cast<std::size_t>(n) + 1);
    for (int g = 1; g <= n; ++g) {
        const std::span<const uint8_t> record = file.record(g);
        if (!dialRecordUsed(record, x))
            continue;
        auto& chain = oldChains[static_cast<std::size_t>(g)];
        auto linked = [&](int j) {
            chain.push_back(j);
            ledger.addLink(j);
        };
        walkChain(
            record[x + 13], source.extension, [&](int j, bool) { linked(j); }, linked);
    }

    // Plans record g; sid::ExtensionCardSpaceOverflow_148 (nothing of it planned) when its number finds no room yet.
    auto planRecord = [&](int g) -> CardStatus {
        DialWriteStep step;
        step.record = g;
        step.bytes.fill(kUnused);
        DialEntry* entry = entryAt(entries, g - 1);
        const std::vector<int>& chain = oldChains[static_cast<std::size_t>(g)];
        if (!entry && g > kDialListRecords && !source.cyclic) {
            // Beyond what any entry list covers: the record stays, and so do the records it links to.
            step.keep = true;
            plan.steps.push_back(std::move(step));
            return CardStatus::Ok;
        }
        step.entry = entry;
        const std::span<uint8_t> record(step.bytes.data(), recordLength);
        const std::span<const uint8_t> now = file.record(g);
        if (entry && entry->valid && holdsCardRecord(*entry, DecodeDialRecord(now, g, source.extension.records))) {
            // The record stays as the card holds it, with its chain.
            std::copy(now.begin(), now.end(), record.begin());
            for (const int j : chain)
                ledger.take(j);
        } else if (entry && entry->valid && KeptBytesCurrent(*entry) && entry->kept.recordLength == recordLength) {
            // Unchanged since it was read: its own bytes.
            if (const CardStatus placed = placeKeptBytes(entry->kept, record, chain, source.extension, ledger, step);
                placed != CardStatus::Ok)
                return placed;
        } else if (entry && entry->valid) {
            DialEncodeResult encoded;
            if (encodeInPlace(*entry, record, chain, source.extension, ledger, encoded, source.unicodeNames)) {
                for (const ExtensionRecord& piece : encoded.extensions)
                    ledger.take(piece.id);
            } else {
                std::fill(record.begin(), record.end(), kUnused);
                std::vector<int> tentative;
                encoded = EncodeDialRecord(
                    *entry, record,
                    [&]() -> std::optional<uint8_t> {
                        const std::optional<uint8_t> j = ledger.takeFree();
                        if (j)
                            tentative.push_back(*j);
                        return j;
                    },
                    source.unicodeNames);
                if (!encoded.ok) {
                    for (const int j : tentative)
                        ledger.untake(j);
                    return encoded.status == DialEncodeStatus::NoFreeExtension ? CardStatus::ExtensionSpaceOverflow
                                                                               : CardStatus::NonSpecificError;
                }
                step.pieces = std::move(encoded.extensions);
            }
        }
        for (const int j : chain) {
            if (ledger.dropLink(j))
                step.released.push_back(j);
        }
        plan.steps.push_back(std::move(step));
        return CardStatus::Ok;
    };

    // A record short of room waits until the records after it have given theirs up (a record file
    // can be written in any order; a cyclic one only in its own).
    std::vector<int> waiting;
    for (int i = 1; i <= n; ++i) {
        const int g = source.cyclic ? n - i + 1 : i;
        const CardStatus status = planRecord(g);
        if (status == CardStatus::ExtensionSpaceOverflow && !source.cyclic) {
            waiting.push_back(g);
        } else if (status != CardStatus::Ok) {
            plan.status = status;
            plan.steps.clear();
            return plan;
        }
    }
    while (!waiting.empty()) {
        const std::size_t before = waiting.size();
        std::erase_if(waiting, [&](int g) { return planRecord(g) == CardStatus::Ok; });
        if (waiting.size() == before) {
            plan.status = CardStatus::ExtensionSpaceOverflow;
            plan.steps.clear();
            return plan;
        }
    }
    DialWriteStep closing;
    closing.keep = true;
    closing.released = ledger.unreached();
    if (!closing.released.empty())
        plan.steps.push_back(std::move(closing));
    return plan;
}

} // namespace kestrel
