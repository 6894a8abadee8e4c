#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include <QString>

#include "emulator/Icc.h"
#include "emulator/SimCardData.h"
#include "emulator/ToolkitApplet.h"

namespace kestrel::emulator {

// A GSM 11.11 SIM (class A0, T=0) over a SimCardData: file selection, the file commands with
// their access conditions and invalidation, CHV1/CHV2 with their unblock codes and counters,
// RUN GSM ALGORITHM and the toolkit commands of GSM 11.14. A card made from a file keeps the
// file's path and saves itself after every change of its persistent contents.
//
// A telephone (memory) card answers powerOn with the four header bytes a synchronous memory card
// gives at reset (ISO/IEC 7816-10), which no T=0 reader takes for an answer to reset, gives its
// 32 bytes through readMemory and answers every command 6F 00.
class SimCardModel final : public Icc
{
public:
    // An in-memory card: changes are never saved. Contents that fail CardFile::check make a card
    // that gives no answer to reset and answers every command 6F 00.
    explicit SimCardModel(SimCardData card);
    // A card that saves itself to path (the file it was loaded from) after every change.
    SimCardModel(SimCardData card, QString path);

    // Loads the card file at path; on failure nullptr and error holds the reason.
    static std::unique_ptr<SimCardModel> fromFile(const QString& path, QString& error);

    bool present() const override { return m_present; }
    std::vector<uint8_t> powerOn() override;
    void powerOff() override;
    CardResponse process(const Apdu& apdu) override;
    bool readMemory(std::array<uint8_t, 32>& out) const override;

    // Card taken out of (false) or put into (true) the reader; taking it out cuts its power.
    void setPresent(bool present);
    bool powered() const { return m_powered; }

    const SimCardData& data() const { return m_card; }
    const QString& path() const { return m_path; }
    // The reason the last save failed (the card then answered 92 40), empty after a good save.
    const QString& lastSaveError() const { return m_saveError; }

    // RUN GSM ALGORITHM of this card: SRES (4 bytes) and Kc (8 bytes) from Ki and RAND. A
    // deterministic one-way function (SHA-256 based) standing in for the operator's A3/A8; it is
    // not COMP128.
    static std::array<uint8_t, 12> gsmAlgorithm(const std::array<uint8_t, 16>& ki, std::span<const uint8_t, 16> rand);

private:
    CardResponse select(const Apdu& apdu);
    CardResponse status(const Apdu& apdu);
    CardResponse getResponse(const Apdu& apdu);
    CardResponse readBinary(const Apdu& apdu);
    CardResponse updateBinary(const Apdu& apdu);
    CardResponse readRecord(const Apdu& apdu);
    CardResponse updateRecord(const Apdu& apdu);
    CardResponse seek(const Apdu& apdu);
    CardResponse increase(const Apdu& apdu);
    CardResponse setInvalidated(const Apdu& apdu, bool invalidate);
    CardResponse verifyChv(const Apdu& apdu);
    CardResponse changeChv(const Apdu& apdu);
    CardResponse setChv1Enabled(const Apdu& apdu, bool enable);
    CardResponse unblockChv(const Apdu& apdu);
    CardResponse runGsmAlgorithm(const Apdu& apdu);
    CardResponse toolkit(const Apdu& apdu);

    int findChild(int directory, uint16_t id) const;
    int parentOf(int file) const;
    std::vector<uint8_t> directoryResponse(int directory) const;
    std::vector<uint8_t> efResponse(int ef) const;
    bool fulfilled(AccessLevel level) const;
    // Access condition (98 04) and invalidation (98 10) checks of a file command; 0 when it may run.
    uint16_t checkAccess(const SimFile& ef, AccessLevel level) const;
    bool isProactive() const;
    // The record READ/UPDATE RECORD address with p1 and mode (02 next, 03 previous, 04 absolute or
    // current); 0 and sw set when there is none. Next and previous move the record pointer.
    int resolveRecord(const SimFile& ef, uint8_t p1, uint8_t mode, uint16_t& sw);
    CardResponse respond(std::vector<uint8_t> response);
    // Saves the card after a change; false (and 92 40 for the caller) when the file was not written.
    bool persist();
    // Wrong code: one attempt used and saved; 98 04, or 98 40 when it was the last.
    uint16_t wrongCode(int& attemptsLeft, bool& verified);
    ChvState& chv(int number) { return number == 1 ? m_card.chv1 : m_card.chv2; }
    bool& verified(int number) { return number == 1 ? m_chv1Verified : m_chv2Verified; }

    SimCardData m_card;
    QString m_path;
    QString m_saveError;
    bool m_sound = false; // the contents passed CardFile::check
    bool m_present = true;
    bool m_powered = false;
    int m_currentDf = 0;     // index into m_card.files
    int m_currentEf = -1;    // index into m_card.files, -1 = none
    int m_recordPointer = 0; // current record of the current EF, 0 = none
    bool m_chv1Verified = false;
    bool m_chv2Verified = false;
    std::vector<uint8_t> m_response; // waiting for GET RESPONSE
    ToolkitApplet m_toolkit;
};

} // namespace kestrel::emulator
