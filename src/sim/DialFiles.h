#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "codec/DialEntry.h"
#include "sim/SimCard.h"

namespace kestrel {

struct DialWritePlan;

// Bits of loadLinkMaps' scanBits: which files to scan after the extension files are read.
namespace DialScan {
inline constexpr int kAdn = 0x01;
inline constexpr int kFdn = 0x02;
inline constexpr int kLnd = 0x04;
inline constexpr int kMsisdn = 0x08;
inline constexpr int kSms = 0x10;
} // namespace DialScan

// Flags of a link map (one byte per record of EF_EXT1 or EF_EXT2).
namespace LinkFlag {
inline constexpr uint8_t kInUse = 0x01;         // first byte not 0xFF
inline constexpr uint8_t kLinked = 0x02;        // linked to at least once
inline constexpr uint8_t kLinkedTwice = 0x04;   // linked to more than once
inline constexpr uint8_t kSharedByFiles = 0x08; // linked to from two different dialling-number files
inline constexpr uint8_t kFromChain = 0x10;     // linked to from another extension record
inline constexpr uint8_t kFromAdnOrFdn = 0x20;  // EF_ADN (in EF_EXT1) or EF_FDN (in EF_EXT2)
inline constexpr uint8_t kFromMsisdn = 0x40;
inline constexpr uint8_t kFromLnd = 0x80;
} // namespace LinkFlag

// Flags of a check map (one byte per record of a dialling-number file).
namespace CheckFlag {
inline constexpr uint8_t kInUse = 0x01;          // first alpha byte not 0xFF
inline constexpr uint8_t kAdditionalData = 0x02; // its chain holds an additional-data record
inline constexpr uint8_t kSubaddress = 0x04;     // its chain holds a called-party-subaddress record
inline constexpr uint8_t kCcp = 0x08;            // capability/configuration identifier set
inline constexpr uint8_t kBadLink = 0x10;        // its own extension link is 0 or past the file
inline constexpr uint8_t kBadChainLink = 0x20;   // a later link is 0 or past the file
inline constexpr uint8_t kEmptyLink = 0x40;      // its own extension link points to an empty record
inline constexpr uint8_t kEmptyChainLink = 0x80; // a later link points to an empty record
} // namespace CheckFlag

// The size of a dialling-number file as read or written: the number of entries and the alpha
// length X of its records (record length - 14).
struct DialListSize
{
    int count = 0;
    int alphaLength = 0;
};

// Bulk reading and writing of the dialling-number files of DF_TELECOM (EF_ADN, EF_FDN, EF_LND,
// EF_MSISDN) with their extension files (EF_EXT1 for ADN, LND and MSISDN; EF_EXT2 for FDN).
//
// Everything it knows lives in the SimCard: the images of the six files, the link maps of EF_EXT1
// and EF_EXT2 (which extension record is used, by which file, how often) and the check maps of the
// dialling-number files. DialFiles is a worker over that state for one card operation; it assumes
// an open card and updates the SimCard's progress window record by record. On false the reason is
// the SimCard's lastStatus; after a failed read or write the images are dropped (flushCaches), so
// the next operation reads the card again.
class DialFiles
{
public:
    explicit DialFiles(SimCard& card) : m_card(card) {}

    // Reads EF_SMS into its image for DialScan::kSms (EF_SMS is not a dialling-number file; its
    // reader is given by its owner). textId as for loadLinkMaps.
    using SmsScan = std::function<bool(int textId)>;
    void setSmsScan(SmsScan scan) { m_smsScan = std::move(scan); }

    // Reads the extension files into their images (only when there are none), rebuilds both link
    // maps, then scans the files named by scanBits (DialScan). textId 0: each file's own scan text.
    bool loadLinkMaps(int scanBits, int textId = 0);
    // Reads one dialling-number file into its image (when there is none), marks its links in the
    // link map of its extension file and stores its check map in the SimCard.
    bool scanDialFile(uint16_t fileId, int textId = 0);
    // Decodes the file into entries (entry k is record k + 1; the rest of entries cleared, each
    // with its position). result: the entries read (at most entries.size()) and the alpha length.
    bool readDialList(uint16_t fileId, std::span<DialEntry> entries, DialListSize& result);
    // Rewrites every record of the file: record g from the first entry whose position is g - 1, an
    // empty record where there is none or it is not valid. Extension records of this file are
    // freed and allocated as needed; those linked from other files are never touched. Written
    // entries lose their modified flag. result: the record count and the alpha length.
    //
    // The whole write is planned before the first UPDATE (positions, room in the extension file),
    // so a list that cannot be written whole writes nothing. Records beyond the 250 an entry list
    // covers that no entry names keep their contents and their extension records. An extension
    // record is reused only when no record still to be written links to it: a write stopped at
    // any record (Abort, a pulled card, an error) leaves every record either as it was or as
    // written, each with a sound chain.
    bool writeDialList(uint16_t fileId, std::span<DialEntry> entries, DialListSize& result);
    // Everything writeDialList checks before its first UPDATE, without writing: true when the
    // entries can be written whole (lastStatus sid::CardPositionsNumberOverflow_147,
    // sid::ExtensionCardSpaceOverflow_148, ... when not).
    bool checkDialList(uint16_t fileId, std::span<DialEntry> entries, DialListSize& result);

    // Whether the last loadLinkMaps found EF_ADN invalidated (fixed dialling in force).
    bool adnInvalidated() const { return m_adnInvalidated; }
    // How reading EF_EXT1 (ext2 false) or EF_EXT2 failed at the last loadLinkMaps: Ok when it was
    // read (or the card does not have it); otherwise it counted as empty.
    CardStatus extensionStatus(bool ext2) const { return m_extBroken[ext2 ? 1 : 0]; }
    // After a read: some record of the file links into its extension file, which could not be
    // read, so those numbers lack their extension digits.
    bool extensionDigitsLost(uint16_t fileId) const;

    // The slot of a dialling-number file's image and check map in the SimCard (image(),
    // recordMap()); none for any other file id.
    static std::optional<CachedFile> cachedFileOf(uint16_t fileId);

private:
    struct Kind;
    static const Kind* kindOf(uint16_t fileId);
    bool fail(CardStatus status);
    bool failAndFlush(CardStatus status);
    bool loadExtension(uint16_t fileId, CachedFile cached, int service, bool& readRecords);
    bool readExtensionRecords(uint16_t fileId, CachedFile cached);
    bool selectDialFile(const Kind& kind, FileInfo& info);
    const Kind* openDialFile(uint16_t fileId, FileInfo& info);
    bool linksIntoExtension(const Kind& kind) const;
    const Kind* planWrite(uint16_t fileId, std::span<DialEntry> entries, DialListSize& result, DialWritePlan& plan,
                          bool& cyclic);

    SimCard& m_card;
    SmsScan m_smsScan;
    bool m_adnInvalidated = false;
    // EF_ADN could not be scanned (invalidated) although it shares EF_EXT1: its links are unknown.
    bool m_adnLinksUnknown = false;
    // Record lengths the card gave for EF_EXT1 and EF_EXT2 (13 in GSM 11.11; longer ones are
    // written padded with 0xFF).
    std::array<int, 2> m_extRecordLength{};
    // EF_EXT1 and EF_EXT2 as the last loadLinkMaps found them (Ok: read, or not on the card).
    std::array<CardStatus, 2> m_extBroken{CardStatus::Ok, CardStatus::Ok};
};

} // namespace kestrel
