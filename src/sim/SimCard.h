#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include <QString>

#include "base/CardStatus.h"
#include "gsm/FileIds.h"
#include "gsm/Services.h"
#include "sim/CardProgress.h"
#include "sim/FileImage.h"
#include "sim/FileResponses.h"
#include "sim/GsmCommands.h"
#include "sim/PinPrompt.h"
#include "sim/SecretText.h"
#include "sim/SimCardSettings.h"
#include "sim/ToolkitHandler.h"

namespace kestrel {

class CardReader;
class ProgressSink;
class ReaderManager;

// The record files whose images the SimCard keeps, and their maps (link maps of EXT1/EXT2, check
// maps of ADN, FDN, LND, MSISDN).
enum class CachedFile
{
    Ext1,
    Ext2,
    Adn,
    Fdn,
    Lnd,
    Msisdn,
    Sms,
};

// cardFlags bits.
namespace CardFlag {
inline constexpr uint32_t kPoweredByOpening = 0x01;
inline constexpr uint32_t kIdentified = 0x02;
inline constexpr uint32_t kChv1Verified = 0x10;
inline constexpr uint32_t kChv2Verified = 0x20;
inline constexpr uint32_t kChv1Enabled = 0x40;
inline constexpr uint32_t kChv2Present = 0x80;
inline constexpr uint32_t kChv1Blocked = 0x100;
inline constexpr uint32_t kChv2Blocked = 0x200;
} // namespace CardFlag

// The card service object: the program owns exactly one for its whole run. Everything that talks
// to a SIM goes through it.
//
// A card operation always runs:
//   beginProgress(sink, sid::InitializingSimCard_5000, captionId)            progress window (CardProgress, below)
//   openCard(chv1, chv2, strict, toolkit)          power-up, identity, CHV1/CHV2, EF_SST, EF_Phase
//   ... selectFile / readFile / updateFile / readRecordAbsolute / updateRecordAbsolute,
//       showProgress... between records (false -> stop, lastStatus is then sid::OperationCancelledByUser_146) ...
//   closeCard()
//   endProgress(false); on failure statusMessage() to the user
// Every operation returns true or false; on false, lastStatus() holds the CardStatus and
// statusMessage() the text for the user. After a failed bulk read or write, call flushCaches() so
// that no image of unknown state survives.
//
// Records are addressed in absolute mode from 1; files by DF and EF from the MF. The selection is
// remembered (currentDf/currentEf): consecutive transfers on one file send SELECT once.
//
// The progress window belongs to the SimCard: it keeps one CardProgress, which borrows the front
// end's ProgressSink for the time between the outermost beginProgress and endProgress, so every
// layer holding the SimCard can update it. The PIN prompt and the toolkit handler are borrowed the
// same way (set by the front end, never owned). The remembered PIN1 and PIN2 texts live here for
// the whole run, wiped when forgotten.
class SimCard
{
public:
    // How the SimCard finds the current reader: null when there is none.
    using ReaderSource = std::function<CardReader*()>;

    explicit SimCard(ReaderSource readers);
    explicit SimCard(ReaderManager& readers);
    ~SimCard();
    SimCard(const SimCard&) = delete;
    SimCard& operator=(const SimCard&) = delete;

    // ---- program-wide state the SimCard works with -------------------------------------------
    void setSettings(const SimCardSettings& settings) { m_settings = settings; }
    const SimCardSettings& settings() const { return m_settings; }
    // The PIN1 (chv 1) or PIN2 text last accepted by the card; empty when none.
    const SecretText& rememberedPin(int chv) const { return chv == 2 ? m_pin2 : m_pin1; }
    void rememberPin(int chv, const SecretText& pin) { (chv == 2 ? m_pin2 : m_pin1) = pin; }
    void forgetPin(int chv) { (chv == 2 ? m_pin2 : m_pin1).clear(); }
    void setPinPrompt(PinPrompt* prompt) { m_pinPrompt = prompt; }
    PinPrompt* pinPrompt() const { return m_pinPrompt; }
    void setToolkitHandler(ToolkitHandler* handler) { m_toolkit = handler; }
    ToolkitHandler* toolkitHandler() const { return m_toolkit; }
    CardReader* reader() const { return m_readers ? m_readers() : nullptr; }

    // ---- progress (see CardProgress) ---------------------------------------------------------
    bool beginProgress(ProgressSink* parent, int textId, int titleId);
    void endProgress(bool force);
    bool showProgressText(int textId, int percent);
    // False (and lastStatus sid::OperationCancelledByUser_146) once Abort was pressed.
    bool showProgress(const QString& text, int percent);
    bool showProgressItem(int textId, unsigned i, unsigned n, bool writeLoop);
    CardProgress& progress() { return m_progress; }

    // ---- card access -------------------------------------------------------------------------
    // chv1/chv2: verify that code (remembered text or the prompt); strict: a closed CHV1 prompt or
    // a blocked CHV1 fails; toolkit: a proactive phase 2+ card gets TERMINAL PROFILE. On success
    // the card stays open until closeCard.
    bool openCard(bool chv1, bool chv2, bool strict, bool toolkit);
    // Ends the reader access (the card is powered down). Images and PINs stay. Always succeeds.
    void closeCard();

    // ---- files -------------------------------------------------------------------------------
    // ef 0 selects down to df only. dfInfo receives the MF/DF response; efInfoOut a copy of
    // efInfo. Giving either always selects again.
    bool selectFile(uint16_t df, uint16_t ef, DirectoryInfo* dfInfo = nullptr, FileInfo* efInfoOut = nullptr);
    // Transparent file: the whole file into buffer (length in: room, at least the file size; out:
    // the file size). Record file: record `record` in `mode` (4 = absolute), at most length bytes
    // copied; out: the record length.
    bool readFile(uint16_t df, uint16_t ef, std::span<uint8_t> buffer, int& length, int record = 1, int mode = 4);
    // Transparent file: the first file-size bytes of buffer (length in: at least the file size).
    // Record file: min(length, record length) bytes, zero-padded to a whole record.
    bool updateFile(uint16_t df, uint16_t ef, std::span<const uint8_t> buffer, int& length, int record = 1,
                    int mode = 4);
    // READ/UPDATE RECORD of the selected EF in absolute mode with its record length (from efInfo);
    // 98 xx gives 135.
    bool readRecordAbsolute(std::span<uint8_t> buffer, int record);
    bool updateRecordAbsolute(std::span<const uint8_t> buffer, int record);
    bool invalidateFile(uint16_t df, uint16_t ef);
    bool rehabilitateFile(uint16_t df, uint16_t ef);

    // Service n of EF_SST (both bits set); false without a service table.
    bool hasService(int n) const;
    // hasService, else false with 152.
    bool requireService(int n);
    bool isChvBlocked(int chv) const;
    bool isChv1Enabled() const { return (m_cardFlags & CardFlag::kChv1Enabled) != 0; }
    // The tries a code has left as the card told during this access (CHV1/CHV2, or their
    // unblocking codes); -1 when unknown. Forgotten at closeCard.
    int attemptsLeft(int chv, bool unblock = false) const
    {
        return m_attemptsLeft[(chv == 2 ? 2U : 0U) + (unblock ? 1U : 0U)];
    }

    // ---- PINs --------------------------------------------------------------------------------
    // chv 1: enable or disable CHV1 with pin when its state differs from `enable`, then, if newPin
    // is given, CHANGE CHV1 from pin to newPin. chv 2: CHANGE CHV2 (newPin required).
    bool setChv(const SecretText& pin, const SecretText* newPin, int chv, bool enable);
    bool unblockCard(const SecretText& puk, const SecretText& newPin, int chv);

    // ---- commands ----------------------------------------------------------------------------
    // Any command; the status word is not judged. SW1 = 91 (a proactive command waiting) is
    // handled (fetched, given to the ToolkitHandler, answered) before returning; sw is then that of
    // the last command of that exchange.
    bool sendCommand(uint8_t cla, uint8_t ins, uint8_t p1, uint8_t p2, uint8_t p3, std::span<uint8_t> data, bool toCard,
                     uint16_t& sw);
    // ENVELOPE (A0 C2) with data.
    bool sendEnvelope(std::span<const uint8_t> data, uint16_t& sw);
    // RUN GSM ALGORITHM with a challenge of up to 16 bytes (zero-padded); response receives up to
    // 12 bytes (SRES, Kc). 94 08 or 6F 00 give 153.
    bool runGsmAlgorithm(std::span<const uint8_t> challenge, std::span<uint8_t> response, uint16_t& sw);
    // TERMINAL RESPONSE to a fetched command: command details, device identities ME -> SIM, the
    // general result, optionally an item identifier and an 8-bit text.
    bool sendTerminalResponse(const ProactiveCommand& command, uint8_t result, std::optional<uint8_t> item = {},
                              std::span<const uint8_t> text = {}, bool withText = false);

    // ---- caches ------------------------------------------------------------------------------
    // Drops the service table, the identity copy, every image and every map.
    void flushCaches();
    std::optional<FileImage>& image(CachedFile file) { return m_images[index(file)]; }
    std::optional<RecordMap>& recordMap(CachedFile file) { return m_maps[index(file)]; }

    // ---- state -------------------------------------------------------------------------------
    CardStatus lastStatus() const { return m_lastStatus; }
    void setLastStatus(CardStatus status) { m_lastStatus = status; }
    // A refusal by the program's own checks rather than by the card (a message too long for its
    // record): the status, and a line saying what was refused that statusMessage shows under the
    // status's message. The line goes with the next failure and at the next openCard.
    void setLastStatus(CardStatus status, const QString& detail);
    const QString& statusDetail() const { return m_statusDetail; }
    // "Communication error:", a line break ("\r\n") and the message of lastStatus; then, after a
    // refusal with a detail, a line break and the detail.
    QString statusMessage() const;
    uint16_t lastSw() const { return m_lastSw; }
    uint32_t cardFlags() const { return m_cardFlags; }
    int simPhase() const { return m_simPhase; }
    // An EF_Phase byte as people name the phase: 0 "1", 1 "?", 2 "2", else "2+".
    static QString phaseText(int phase);
    const FileInfo& efInfo() const { return m_efInfo; }
    std::span<const uint8_t> serviceTable() const { return m_serviceTable; }
    // EF_ICCID as the last opening read it (0xFF beyond its length); all 0xFF before the first.
    // Kept through closeCard and flushCaches: it names the card the last read came from.
    const std::array<uint8_t, 10>& iccid() const { return m_iccid; }
    // The identity copy of the card the images belong to: the length read and the ICCID bytes;
    // none after flushCaches until the next openCard.
    const std::optional<std::vector<uint8_t>>& identityCopy() const { return m_identity; }
    // The answer to reset of the last power-up by openCard; empty before the first.
    const std::vector<uint8_t>& answerToReset() const { return m_atr; }
    uint16_t currentDf() const { return m_currentDf; }
    uint16_t currentEf() const { return m_currentEf; }

private:
    static std::size_t index(CachedFile file) { return static_cast<std::size_t>(file); }
    bool fail(CardStatus status);
    bool failAndClose(CardStatus status);
    bool transferTransparent(GsmCommands& gsm, std::span<uint8_t> read, std::span<const uint8_t> write, int size);
    bool verifyForOpen(int chv, bool strict);
    bool handleProactive(uint16_t sw);
    void noteChvResult(int chv, bool unblocked);
    // Before a code goes to the card: while its counter shows one try left the prompt asks once
    // more; declined, the command is not sent and lastStatus is 151. A code the card would not be
    // sent anyway (fewer than 4 digits) passes.
    bool mayPresent(std::string_view code, int chv, bool unblock);
    // After the card refused a code (sid::NoValidPinEntered_135): the counters are read again and the tries left of
    // that code become the status detail; lastStatus stays.
    void noteRefusedCode(int chv, bool unblock);
    void takeAttemptsLeft(const DirectoryInfo& mf);
    // A CHV command failed with status: false, with the tries left noted when it was a refusal.
    bool refused(CardStatus status, int chv, bool unblock);

    // Field order of the program's card object.
    std::vector<uint8_t> m_serviceTable;
    std::optional<std::vector<uint8_t>> m_identity; // length byte + ICCID of the cached card
    std::vector<uint8_t> m_atr;
    std::array<std::optional<FileImage>, 7> m_images;
    std::array<std::optional<RecordMap>, 7> m_maps; // Ext1, Ext2 link maps; Adn..Msisdn check maps
    CardProgress m_progress;
    FileInfo m_efInfo;
    uint16_t m_lastSw = 0;
    uint32_t m_cardFlags = 0;
    int m_simPhase = 0;
    std::array<uint8_t, 10> m_iccid{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    ReaderSource m_readers;
    CardStatus m_lastStatus = CardStatus::Ok;
    QString m_statusDetail;
    uint16_t m_currentDf = 0;
    uint16_t m_currentEf = 0;
    ToolkitHandler* m_toolkit = nullptr;
    CardAccessState m_access;

    SimCardSettings m_settings;
    SecretText m_pin1;
    SecretText m_pin2;
    PinPrompt* m_pinPrompt = nullptr;
    // Tries left of CHV1, UNBLOCK CHV1, CHV2, UNBLOCK CHV2 as the card last told; -1 unknown.
    std::array<int, 4> m_attemptsLeft{-1, -1, -1, -1};
    int m_proactiveDepth = 0;
};

} // namespace kestrel
