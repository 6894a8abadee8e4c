#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "emulator/Icc.h"
#include "emulator/SimCardData.h"

namespace kestrel::emulator {

class CardHolderVerification;

// The MF/DF/EF tree of the virtual card: SELECT with the directory rules, the MF/DF and EF
// responses, READ/UPDATE BINARY, READ/UPDATE RECORD with the record pointer, SEEK, INCREASE and
// INVALIDATE/REHABILITATE, each under the file's access conditions. A command that leaves data for
// GET RESPONSE answers 9F xx with that data (answer::responseWaiting).
class CardFileSystem
{
public:
    // save writes the card's contents after a change; false when they could not be written (the
    // change is then undone and the command answers 92 40).
    CardFileSystem(SimCardData& card, const CardHolderVerification& chv, std::function<bool()> save);

    // Power-on: the MF selected, no EF, no current record.
    void reset();

    CardResponse select(const Apdu& apdu);
    CardResponse readBinary(const Apdu& apdu);
    CardResponse updateBinary(const Apdu& apdu);
    CardResponse readRecord(const Apdu& apdu);
    CardResponse updateRecord(const Apdu& apdu);
    CardResponse seek(const Apdu& apdu);
    CardResponse increase(const Apdu& apdu);
    CardResponse setInvalidated(const Apdu& apdu, bool invalidate);

    // The MF/DF response of the current directory, as STATUS gives it.
    std::vector<uint8_t> currentDirectoryResponse() const { return directoryResponse(m_currentDf); }
    // The file at path (from 3F00 down), nullptr when the card has none.
    const SimFile* file(const std::vector<uint16_t>& path) const;

private:
    int findChild(int directory, uint16_t id) const;
    int parentOf(int file) const;
    std::vector<uint8_t> directoryResponse(int directory) const;
    std::vector<uint8_t> efResponse(int ef) const;
    // Access condition (98 04) and invalidation (98 10) checks of a file command; 0 when it may run.
    uint16_t checkAccess(const SimFile& ef, AccessLevel level) const;
    // The record READ/UPDATE RECORD address with p1 and mode (02 next, 03 previous, 04 absolute or
    // current; p1 counts in mode 04 only); 0 and sw set when there is none. Next and previous move
    // the record pointer.
    int resolveRecord(const SimFile& ef, uint8_t p1, uint8_t mode, uint16_t& sw);

    SimCardData& m_card;
    const CardHolderVerification& m_chv;
    std::function<bool()> m_save;
    int m_currentDf = 0;     // index into m_card.files
    int m_currentEf = -1;    // index into m_card.files, -1 = none
    int m_recordPointer = 0; // current record of the current EF, 0 = none
};

} // namespace kestrel::emulator
