#pragma once

// The work of the GetResponse target, kept apart so the seed writer can run the same commands
// against the standard virtual card and keep its answers as seeds: a card opening through the
// SimCard (MF response with the CHV bytes, EF_ICCID, EF_SST, EF_Phase), transparent and record
// reads and writes sized by the EF response, and a bare card access with
// GsmCommands::select, all parsed into FileInfo and DirectoryInfo.

#include <array>
#include <cstdint>

#include "FuzzSupport.h"
#include "reader/CardReader.h"
#include "sim/GsmCommands.h"
#include "sim/SimCard.h"

namespace kestrel::fuzz {

inline void checkEfInfo(const FileInfo& info)
{
    check(info.fileSize >= 0 && info.fileSize <= 0xFFFF);
    check(info.recordLength >= 0 && info.recordLength <= 255);
    check(info.recordCount >= 0 && info.recordCount <= info.fileSize);
}

inline void checkDirectoryInfo(const DirectoryInfo& info)
{
    for (const int chv : {1, 2}) {
        for (const bool unblock : {false, true})
            check(info.chvAttemptsLeft(chv, unblock) >= 0 && info.chvAttemptsLeft(chv, unblock) <= 15);
    }
}

inline void driveSelectResponses(CardReader& reader)
{
    using namespace gsm::fid;
    {
        SimCard sim([&reader] { return &reader; });
        if (sim.openCard(false, false, false, false)) {
            check(sim.serviceTable().size() <= 0xFFFF);
            checkEfInfo(sim.efInfo());
        }
        // Transparent: the whole file, sized by the EF response, into a buffer that may be too small.
        std::array<uint8_t, 300> buffer{};
        for (const uint16_t ef : {kEfPlmnSel, kEfSst}) {
            int length = static_cast<int>(buffer.size());
            if (sim.readFile(kDfGsm, ef, buffer, length))
                check(length >= 0 && length <= static_cast<int>(buffer.size()));
            checkEfInfo(sim.efInfo());
        }
        // Record files: the record length of the EF response decides the transfer.
        DirectoryInfo mf;
        if (sim.selectFile(kMf, 0, &mf))
            checkDirectoryInfo(mf);
        FileInfo info;
        if (sim.selectFile(kDfTelecom, kEfAdn, nullptr, &info)) {
            checkEfInfo(info);
            int length = 28;
            if (sim.readFile(kDfTelecom, kEfAdn, buffer, length, 1, 4))
                check(length >= 0 && length <= 255);
            length = static_cast<int>(buffer.size());
            sim.updateFile(kDfTelecom, kEfAdn, buffer, length, 1, 4);
            sim.readRecordAbsolute(std::span<uint8_t>(buffer).first(40), 2);
            sim.updateRecordAbsolute(std::span<const uint8_t>(buffer).first(40), 2);
        }
        sim.invalidateFile(kDfTelecom, kEfSms);
        sim.rehabilitateFile(kDfTelecom, kEfSms);
        sim.closeCard();
    }

    GsmCommands gsm(reader);
    CardAccessState access;
    bool chv1Enabled = false;
    bool otherCard = false;
    if (gsm.beginCardAccess(access, false, nullptr, &chv1Enabled, otherCard) == CardStatus::Ok) {
        // The bare selection, its response as long as the card makes it.
        std::array<uint8_t, 256> response{};
        std::size_t length = 0;
        uint16_t sw = 0;
        if (gsm.select(kMf, response, length, sw) == CardStatus::Ok &&
            gsm.select(kDfTelecom, response, length, sw) == CardStatus::Ok) {
            check(length <= response.size());
            checkDirectoryInfo(DirectoryInfo::parse(std::span(response).first(length)));
            if (gsm.select(kEfSmsp, response, length, sw) == CardStatus::Ok) {
                check(length <= response.size());
                const FileInfo info = FileInfo::parse(std::span(response).first(length));
                checkEfInfo(info);
                std::array<uint8_t, 64> record{};
                gsm.readRecordAbsolute(record, 1, info, sw);
                gsm.updateRecordAbsolute(record, 1, info, sw);
            }
        }
    }
    gsm.endCardAccess(access);
}

} // namespace kestrel::fuzz
