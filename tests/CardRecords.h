#pragma once

// The dialling-number records of a virtual card as entries, decoded with their chains straight
// from the card's files, and the test that a record is either as it was or as written.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "SimBench.h"
#include "codec/DialRecord.h"
#include "codec/FixedText.h"
#include "sim/SimCard.h"

namespace kestrel::test {

// A valid, modified entry; ton 1 for an international number.
inline DialEntry entry(uint16_t position, const char* name, const std::string& number, uint8_t ton = 0)
{
    DialEntry e;
    e.valid = 1;
    e.position = position;
    setFixedText(e.name, name);
    setFixedText(e.number, number);
    e.ton = ton;
    e.npi = 1;
    e.modified = 1;
    return e;
}

// n digits, not all alike.
inline std::string digits(int n)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += static_cast<char>('0' + (i * 7 + 3) % 10);
    return s;
}

// Puts entries into EF_ADN of a card, each in record position + 1, their extension pieces in
// EF_EXT1 records taken one after the other from nextExtension.
inline void putDialEntries(emulator::SimCardData& data, const std::vector<DialEntry>& entries, uint8_t nextExtension)
{
    for (const DialEntry& e : entries) {
        const DialEncodeResult encoded = EncodeDialRecord(e, fileRecord(data, gsm::fid::kEfAdn, e.position + 1),
                                                          [&]() -> std::optional<uint8_t> { return nextExtension++; });
        for (const ExtensionRecord& piece : encoded.extensions)
            std::copy(piece.bytes.begin(), piece.bytes.end(), fileRecord(data, gsm::fid::kEfExt1, piece.id).begin());
    }
}

// Every record of a dialling-number file (EF_ADN, EF_FDN, EF_LND, EF_MSISDN) decoded with its
// extension file.
inline std::vector<DialEntry> decodeDialFile(const emulator::SimCardData& data, uint16_t id)
{
    const uint16_t extId = id == gsm::fid::kEfFdn ? gsm::fid::kEfExt2 : gsm::fid::kEfExt1;
    const emulator::SimFile* file = findFile(data, id);
    const emulator::SimFile* ext = findFile(data, extId);
    std::vector<DialEntry> out;
    for (int r = 1; r <= file->recordCount(); ++r) {
        const auto record = std::span<const uint8_t>(file->data)
                                .subspan(static_cast<std::size_t>((r - 1) * file->recordLength),
                                         static_cast<std::size_t>(file->recordLength));
        out.push_back(
            DecodeDialRecord(record, r, ext ? std::span<const uint8_t>(ext->data) : std::span<const uint8_t>{}));
    }
    return out;
}

// The same contact: both free, or both valid with the same name, number and type of number.
inline bool sameContact(const DialEntry& a, const DialEntry& b)
{
    if (!a.valid || !b.valid)
        return !a.valid && !b.valid;
    return fixedText(a.name) == fixedText(b.name) && fixedText(a.number) == fixedText(b.number) && a.ton == b.ton;
}

// The position of the first record that is neither as it was nor as written (entry with its
// position, a free record where there is none among the first `covered`), -1 when every one is.
inline int firstTornRecord(const std::vector<DialEntry>& before, const std::vector<DialEntry>& now,
                           std::span<const DialEntry> written, std::size_t covered = 250)
{
    for (std::size_t k = 0; k < now.size(); ++k) {
        DialEntry wanted{};
        bool named = k < covered;
        for (const DialEntry& e : written) {
            if (e.position == k) {
                wanted = e;
                named = true;
                break;
            }
        }
        if (!sameContact(now[k], before[k]) && !(named && sameContact(now[k], wanted)))
            return static_cast<int>(k);
    }
    return -1;
}

} // namespace kestrel::test
