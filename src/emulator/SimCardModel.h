#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include <QString>

#include "emulator/CardFileSystem.h"
#include "emulator/CardHolderVerification.h"
#include "emulator/Icc.h"
#include "emulator/SimCardData.h"
#include "emulator/ToolkitApplet.h"

namespace kestrel::emulator {

// A GSM 11.11 SIM (class A0, T=0) over a SimCardData: takes each command and hands it to its file
// system (CardFileSystem: selection, the file commands with their access conditions and
// invalidation) or its CHV state (CardHolderVerification: CHV1/CHV2 with their unblock codes and
// counters), runs RUN GSM ALGORITHM and passes the GSM 11.14 toolkit commands to its
// ToolkitApplet; it keeps the data waiting for GET RESPONSE. A card made from a file keeps the
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
    // The file system and CHV state work on this card's contents in place.
    SimCardModel(const SimCardModel&) = delete;
    SimCardModel& operator=(const SimCardModel&) = delete;

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
    CardResponse dispatch(const Apdu& apdu);
    CardResponse status(const Apdu& apdu);
    CardResponse sleep(const Apdu& apdu);
    CardResponse getResponse(const Apdu& apdu);
    CardResponse runGsmAlgorithm(const Apdu& apdu);
    CardResponse toolkit(const Apdu& apdu);
    bool isProactive() const;
    // Saves the card after a change; false (and 92 40 for the caller) when the file was not written.
    bool persist();

    SimCardData m_card;
    QString m_path;
    QString m_saveError;
    bool m_sound = false; // the contents passed CardFile::check
    bool m_present = true;
    bool m_powered = false;
    CardHolderVerification m_chv;
    CardFileSystem m_files;
    std::vector<uint8_t> m_response; // waiting for GET RESPONSE
    ToolkitApplet m_toolkit;
};

} // namespace kestrel::emulator
