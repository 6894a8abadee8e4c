#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace kestrel {

// The structure of an EF (response byte 14). Other stands for a coding GSM 11.11 does not define;
// no transfer is made on such a file.
enum class FileStructure
{
    Transparent,
    LinearFixed,
    Cyclic,
    Other,
};

// What SELECT and GET RESPONSE tell about an EF, parsed once from the response data. Bytes the
// card did not send read as 0.
struct FileInfo
{
    // The first bytes of the response as the card sent them (sizes and ids high byte first),
    // zero-padded; shown where a caller displays the raw response.
    static constexpr std::size_t kRawSize = 18;
    std::array<uint8_t, kRawSize> bytes{};

    FileStructure structure = FileStructure::Transparent;
    int fileSize = 0;
    uint16_t fileId = 0;
    // Record files only (0 for a transparent one): the length of one record and how many fit.
    int recordLength = 0;
    int recordCount = 0;
    uint8_t status = 0;       // the file status byte
    bool invalidated = false; // its "not invalidated" bit clear
    // Access conditions: READ/UPDATE, INCREASE, INVALIDATE/REHABILITATE (one nibble each).
    std::array<uint8_t, 3> access{};

    bool isRecordFile() const { return structure == FileStructure::LinearFixed || structure == FileStructure::Cyclic; }
    // Sets the invalidated state, keeping status and the raw bytes in step with it.
    void setInvalidated(bool invalid);

    static FileInfo parse(std::span<const uint8_t> response);
};

// The state of one secret code (a code status byte of an MF/DF response).
struct CodeStatus
{
    bool initialised = false;
    int attemptsLeft = 0; // false presentations left
};

// What SELECT and GET RESPONSE (or STATUS) tell about the MF or a DF, parsed once. Bytes the card
// did not send read as 0.
struct DirectoryInfo
{
    static constexpr std::size_t kRawSize = 36;
    std::array<uint8_t, kRawSize> bytes{};

    int freeMemory = 0;
    uint16_t fileId = 0;
    bool chv1Enabled = false; // the file characteristics' "CHV1 disabled" bit clear
    int dfCount = 0;
    int efCount = 0;
    int codeCount = 0; // CHVs, unblocking codes and administrative codes
    CodeStatus chv1;
    CodeStatus unblockChv1;
    CodeStatus chv2;
    CodeStatus unblockChv2;

    // CHV1 / CHV2 (chv), or its unblocking code.
    const CodeStatus& code(int chv, bool unblock) const;
    int chvAttemptsLeft(int chv, bool unblock) const { return code(chv, unblock).attemptsLeft; }
    // No try left: for CHV1 whenever its counter stands at 0, for CHV2 only when it is set up.
    bool chvBlocked(int chv) const;

    static DirectoryInfo parse(std::span<const uint8_t> response);
};

} // namespace kestrel
