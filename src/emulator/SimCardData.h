#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/FaultPlan.h"
#include "gsm/Responses.h"

namespace kestrel::emulator {

// The persistent contents of a virtual card: what a card file holds and what the card model
// works on. Plain values; SimCardModel adds the volatile state of one power-up.

enum class CardKind
{
    Sim,           // a GSM 11.11 SIM speaking T=0
    TelephoneCard, // a prepaid memory card: 32 bytes, no processor
};

// GSM 11.11 file types as coded in byte 7 of the SELECT response.
enum class FileType : uint8_t
{
    MF = gsm::response::kTypeMf,
    DF = gsm::response::kTypeDf,
    EF = gsm::response::kTypeEf,
};

// Byte 14 of the EF response.
enum class FileStructure : uint8_t
{
    Transparent = gsm::response::kTransparent,
    LinearFixed = gsm::response::kLinearFixed,
    Cyclic = gsm::response::kCyclic,
};

// Access condition levels as coded in the nibbles of bytes 9-11 of the EF response. Only one ADM
// level is modelled; no command of the card can fulfil it.
enum class AccessLevel : uint8_t
{
    Always = gsm::response::kAlways,
    Chv1 = gsm::response::kChv1,
    Chv2 = gsm::response::kChv2,
    Adm = gsm::response::kAdministrative,
    Never = gsm::response::kNever,
};

struct AccessConditions
{
    AccessLevel read = AccessLevel::Always;
    AccessLevel update = AccessLevel::Always;
    AccessLevel increase = AccessLevel::Never;
    AccessLevel invalidate = AccessLevel::Adm;
    AccessLevel rehabilitate = AccessLevel::Adm;

    bool operator==(const AccessConditions&) const = default;
};

// One MF, DF or EF. The path runs from 3F00 down to the file itself.
struct SimFile
{
    FileType type = FileType::EF;
    std::vector<uint16_t> path;
    std::string name; // "EF_ADN", informative only
    FileStructure structure = FileStructure::Transparent;
    int recordLength = 0;      // record files only
    std::vector<uint8_t> data; // transparent body, or the records back to back from record 1
    AccessConditions access;
    bool invalidated = false;
    // Byte 12 bit 3 of the EF response: READ and UPDATE work on the invalidated file.
    bool readableWhenInvalidated = false;
    // An image of a real card: the SELECT response the card gave (informative; the virtual card
    // answers from the fields above). Empty otherwise.
    std::vector<uint8_t> response;

    uint16_t id() const { return path.empty() ? 0 : path.back(); }
    bool isDirectory() const { return type != FileType::EF; }
    int size() const { return static_cast<int>(data.size()); }
    int recordCount() const { return recordLength > 0 ? size() / recordLength : 0; }
    bool operator==(const SimFile&) const = default;
};

// A card holder verification code with its unblock code. Codes are kept as their digits; on the
// wire they travel as 8-byte blocks of ASCII digits padded with 0xFF.
struct ChvState
{
    static constexpr int kMaxAttempts = 3;
    static constexpr int kMaxUnblockAttempts = 10;

    std::string code;
    std::string unblockCode;
    int attemptsLeft = kMaxAttempts;
    int unblockAttemptsLeft = kMaxUnblockAttempts;
    bool enabled = true; // only CHV1 can be disabled

    bool operator==(const ChvState&) const = default;
};

struct CardOptions
{
    // RUN GSM ALGORITHM answers 94 08, as a card whose authentication counter has run out.
    bool authenticationExhausted = false;
    // Faults to rehearse against; the model itself ignores them, whoever puts the card into a
    // reader wraps it in a FaultyIcc with them.
    FaultPlan faults;

    bool operator==(const CardOptions&) const = default;
};

// What a card file made from a real card tells about its making. The codes of such a file are
// never the card's own: the note says whose they are.
struct CardImageInfo
{
    std::string madeAt; // ISO 8601, UTC
    std::string iccid;  // the digits of the card it was made from
    std::string note;

    bool operator==(const CardImageInfo&) const = default;
};

struct SimCardData
{
    static constexpr int kMemoryCardSize = 32;

    CardKind kind = CardKind::Sim;
    std::vector<uint8_t> atr;     // answer to reset of the SIM
    std::array<uint8_t, 16> ki{}; // secret key of RUN GSM ALGORITHM
    int memorySize = 16384;       // EEPROM size behind the "free memory" bytes of the DF response
    ChvState chv1;
    ChvState chv2;
    CardOptions options;
    std::vector<SimFile> files;                    // the MF first; every file after its directory
    std::array<uint8_t, kMemoryCardSize> memory{}; // telephone card contents
    std::optional<CardImageInfo> image;            // only in an image of a real card

    bool operator==(const SimCardData&) const = default;
};

// "8-byte CHV block": ASCII digits, 0xFF after them. Codes longer than 8 characters are cut.
std::array<uint8_t, 8> chvBlock(std::string_view digits);
// A block as a code may hold it: 4-8 ASCII digits, then only 0xFF.
bool isValidChvBlock(const std::array<uint8_t, 8>& block);
std::string chvDigits(const std::array<uint8_t, 8>& block);
// 4-8 ASCII digits.
bool isValidChvCode(std::string_view code);

// GSM 11.11 name of a standard file ("EF_ADN", "DF_TELECOM"), empty when the path is not one.
std::string standardFileName(const std::vector<uint16_t>& path);

// "3F00/7F10/6F3A".
std::string formatPath(const std::vector<uint16_t>& path);

} // namespace kestrel::emulator
