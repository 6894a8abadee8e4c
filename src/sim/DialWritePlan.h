#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "base/CardStatus.h"
#include "codec/DialEntry.h"
#include "codec/DialRecord.h"
#include "sim/FileImage.h"

namespace kestrel {

// An entry list covers at most this many records of a dialling-number file (the phone book
// windows and the .SIM file hold 250); records beyond it that no entry names keep their contents.
inline constexpr int kDialListRecords = 250;

// One record of a planned write, in the order the records are written.
struct DialWriteStep
{
    int record = 0;    // record number in the file; 0 for the closing step that only clears
    bool keep = false; // no entry and beyond the list: the record is not written
    std::array<uint8_t, kMaxDialRecordLength> bytes{};
    // Extension records written before the record; each one was free when it was taken.
    std::vector<ExtensionRecord> pieces;
    // Extension records of this file that nothing links to once the record is written: cleared
    // after it.
    std::vector<int> released;
    DialEntry* entry = nullptr; // the entry written (its modified flag is cleared), if any
};

// What a write of a dialling-number file starts from: the images of the file and of its extension
// file as the card holds them, the extension file's link map with every sharing file scanned, and
// which bit of the link map is this file's.
struct DialWriteSource
{
    const FileImage& file;
    const FileImage& extension;
    const RecordMap& links;
    uint8_t owner = 0;
    // Some file sharing the extension file could not be scanned: only records no file can be
    // linking to (empty ones) are taken, none is freed.
    bool linksUnknown = false;
    // A cyclic file (EF_LND) is written from its last record to its first, and always whole.
    bool cyclic = false;
    // The images of the other dialling-number files sharing the extension file: what they link
    // to, or point to while it is empty, is never taken.
    std::vector<const FileImage*> sharers;
    // Names the default alphabet cannot hold are written in UCS2 (EncodeAlphaId).
    bool unicodeNames = false;
};

struct DialWritePlan
{
    CardStatus status = CardStatus::Ok; // sid::ExtensionCardSpaceOverflow_148 (no free extension record),
                                        // sid::NonSpecificError_140 or Ok
    std::vector<DialWriteStep> steps;
};

// Plans a whole write without a card command: which bytes every record gets, which extension
// records carry its number and which become free. Record g is written from the first entry whose
// position is g - 1 (an empty record where that entry is not valid or there is none).
//
// An entry whose fields are those of the card's record g keeps that record and its chain as they
// are; so does one that never saw a card (kept bytes empty) whose fields are record g's as a
// Windows-1250 file gives them back. An entry unchanged since it was read (KeptBytesCurrent) is
// written with its kept bytes, byte for byte; its chain stays where the card holds it so and is
// otherwise moved to free extension records, only its links changed. Any other entry is encoded.
//
// The plan is safe to stop at any step: an extension record is taken only when no record still to
// be written links to it (free, or given up by a record already written), so every record on the
// card is at each moment either as it was or as planned, with its whole chain. A record whose new
// number needs exactly the extension records it already has, byte for byte, keeps them. A record
// short of room is written after the records that give theirs up (steps are in write order, not
// always record order). So a number that changes needs room for its new digits beside its old
// ones while it changes: a full extension file refuses it. A plan that cannot place every number
// fails as a whole (sid::ExtensionCardSpaceOverflow_148), before anything is written.
DialWritePlan PlanDialWrite(const DialWriteSource& source, std::span<DialEntry> entries);

} // namespace kestrel
