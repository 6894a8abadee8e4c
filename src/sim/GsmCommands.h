#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "base/CardStatus.h"
#include "reader/CardReader.h"
#include "reader/ReaderBuffer.h"
#include "sim/FileResponses.h"

namespace kestrel {

// How a status word is judged after a command. Every rule of the program is in judgeStatusWord
// and nowhere else.
enum class SwRule
{
    Select,   // SELECT: 90 00 or 9F xx pass; else sid::BadSimCardResponse_132
    Strict,   // GET RESPONSE, INVALIDATE, REHABILITATE: 90 00 only; else sid::BadSimCardResponse_132
    Transfer, // READ/UPDATE BINARY and RECORD of whole-file transfers: 90 00; 98 04 -> sid::NoValidPinEntered_135; else
              // sid::BadSimCardResponse_132
    Chv,      // VERIFY, CHANGE, DISABLE, ENABLE, UNBLOCK CHV, absolute record transfers: 90 00; 98 xx ->
              // sid::NoValidPinEntered_135
    General,  // a command sent with sendCommand: 90 00 and 9F xx pass; 98 xx -> sid::WrongPin_136; else
              // sid::BadSimCardResponse_132
    Authenticate, // RUN GSM ALGORITHM: as General, but a failure with 94 08 or 6F 00 is
                  // sid::CardIsBlockedByAuthentification_153
};

CardStatus judgeStatusWord(SwRule rule, uint16_t sw);

// 9F xx: the card holds xx response bytes (00: 256) for GET RESPONSE.
bool responseWaiting(uint16_t sw);
// 91 xx: the command ended normally and a proactive command of xx bytes waits for FETCH. The one
// test that hands a card's answer over to the proactive session.
bool proactiveCommandWaiting(uint16_t sw);
// SW1 90 or 91: the command ended normally, so data read from the card is valid.
bool endedNormally(uint16_t sw);

// What the card-access layer remembers from one access to the next: the reader it was on, the
// ICCID seen when the last access was opened there, and whether an access is open. A SimCard
// keeps one; another reader starts it afresh.
struct CardAccessState
{
    const CardReader* reader = nullptr;
    std::array<uint8_t, 10> lastIccid{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    bool open = false;
};

// The GSM 11.11 command set (class A0) on top of a reader's T=0 transmit. Non-virtual: every
// reader kind gets the same commands. Each command returns the transmit's CardStatus and puts the
// status word SW1 * 256 + SW2 into sw; the CHV commands judge their status word themselves (rule
// Chv), so their result is final. Operations marked † end with deactivateCard when transmit fails.
//
// Every command goes through sendRaw, which logs it in hex under the logging category
// "kestrel.apdu" (debug level, off unless enabled with QT_LOGGING_RULES), with the data of
// VERIFY, CHANGE, DISABLE, ENABLE and UNBLOCK CHV shown as "**".
class GsmCommands
{
public:
    explicit GsmCommands(CardReader& reader) : m_reader(reader) {}

    CardReader& reader() { return m_reader; }

    // One command: p3 bytes of data to the card (toCard) or from it (p3 0 reads 256).
    CardStatus sendRaw(uint8_t cla, uint8_t ins, uint8_t p1, uint8_t p2, uint8_t p3, std::span<uint8_t> data,
                       bool toCard, uint16_t& sw);

    // SELECT alone; its status word is left to the caller.
    CardStatus selectId(uint16_t fid, uint16_t& sw);
    // SELECT, and when the card answers 9F xx, GET RESPONSE of those xx bytes (00: 256) into
    // response: the one way the program selects a file. The SELECT must answer 90 00 or 9F xx, the
    // GET RESPONSE 90 00 (else sid::BadSimCardResponse_132); a response longer than response.size() gives 255 without a
    // GET RESPONSE. length receives the number of response bytes, 0 after 90 00. A failed transmit
    // ends as transportFailed. †
    CardStatus select(uint16_t fid, std::span<uint8_t> response, std::size_t& length, uint16_t& sw);
    // buffer must hold length bytes (256 for 0).
    CardStatus getResponse(uint8_t length, std::span<uint8_t> buffer, uint16_t& sw);
    CardStatus readBinary(std::span<uint8_t> buffer, uint16_t offset, uint8_t length, uint16_t& sw);
    CardStatus updateBinary(std::span<const uint8_t> buffer, uint16_t offset, uint8_t length, uint16_t& sw);
    CardStatus readRecord(std::span<uint8_t> buffer, uint8_t record, uint8_t mode, uint8_t length, uint16_t& sw);
    CardStatus updateRecord(std::span<const uint8_t> buffer, uint8_t record, uint8_t mode, uint8_t length,
                            uint16_t& sw);

    // PIN texts become 8-byte blocks (pinBlock); a text with fewer than 4 leading digits or a CHV
    // number other than 1 or 2 gives sid::WrongPin_136 without any command, so no attempt is spent.
    CardStatus verifyChv(std::string_view pin, int chv, uint16_t& sw); // †
    CardStatus changeChv(int chv, std::string_view oldPin, std::string_view newPin, uint16_t& sw);
    CardStatus setChv1Enabled(std::string_view pin, bool enable, uint16_t& sw);
    CardStatus unblockChv(std::string_view puk, std::string_view newPin, int chv, uint16_t& sw); // †

    CardStatus invalidate(uint16_t& sw);
    CardStatus rehabilitate(uint16_t& sw);
    // STATUS: the current directory's response, length bytes.
    CardStatus status(std::span<uint8_t> buffer, uint8_t length, uint16_t& sw);
    CardStatus runGsmAlgorithm(std::span<uint8_t, 16> challenge, uint16_t& sw);
    // GSM 11.14 commands.
    CardStatus terminalProfile(std::span<uint8_t> profile, uint16_t& sw);
    CardStatus envelope(std::span<uint8_t> data, uint16_t& sw);
    CardStatus fetch(std::span<uint8_t> buffer, uint8_t length, uint16_t& sw);
    CardStatus terminalResponse(std::span<uint8_t> data, uint16_t& sw);

    // Composite operations of a card access.

    // Opens a reader access: raises the process priority, powers (or with forceReset resets) the
    // card, selects the MF (chv1Enabled, when given, receives DirectoryInfo::chv1Enabled when the
    // response reaches the file characteristics) and reads EF_ICCID. The ICCID is compared with
    // access.lastIccid: for a freshly powered card a different one is stored and otherCard set; for
    // a card that stayed powered a different one gives sid::CardChangedDuringOperation_133 (otherCard set too). atr may
    // be null.
    CardStatus beginCardAccess(CardAccessState& access, bool forceReset, ReaderBuffer* atr, bool* chv1Enabled,
                               bool& otherCard);
    // Restores the process priority; if an access is open, closes it and powers the card down.
    CardStatus endCardAccess(CardAccessState& access);
    // READ/UPDATE RECORD in absolute mode with the record length of info (rule Chv). The read copies
    // at most buffer.size() bytes. †
    CardStatus readRecordAbsolute(std::span<uint8_t> buffer, int record, const FileInfo& info, uint16_t& sw);
    CardStatus updateRecordAbsolute(std::span<const uint8_t> buffer, int record, const FileInfo& info, uint16_t& sw);

    // The 8-byte block of a PIN text: its leading digits "0"-"9", at most 8, then 0xFF. False when
    // there are fewer than 4 digits.
    static bool pinBlock(std::string_view text, std::array<uint8_t, 8>& block);

    // After a failed transmit: the card is powered down, and a card that has left the reader is
    // reported as sid::CardNotInserted_131 rather than as the transport's failure. Returns the status to report.
    CardStatus transportFailed(CardStatus status);

private:
    CardStatus chvCommand(uint8_t ins, uint8_t p2, std::span<uint8_t> blocks, uint16_t& sw);
    // access as it stands for this reader (started afresh when it was another's).
    CardAccessState& onThisReader(CardAccessState& access) const;

    CardReader& m_reader;
};

} // namespace kestrel
