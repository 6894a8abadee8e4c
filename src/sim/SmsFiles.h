#pragma once

#include <chrono>
#include <span>
#include <vector>

#include "codec/SmsEntry.h"

namespace kestrel {

class SimCard;
struct FileInfo;

// EF_SMS (6F3C under DF_TELECOM): one linear-fixed record per message, read and written through
// the SimCard's image of the file. The card must be open (SimCard::openCard, inside a card
// operation); every operation returns true or false with the reason in the SimCard's lastStatus,
// and a failed read or write drops the SimCard's images so the next operation reads the card
// again. Progress goes to the SimCard's progress window; Abort stops a loop with 146.
class SmsFiles
{
public:
    explicit SmsFiles(SimCard& card) : m_card(card) {}

    // Reads EF_SMS into the SimCard's SMS image, or, when the image exists, goes through its
    // records without a card command. textId is the progress format with two "%u" (record and
    // count); 0 takes sid::CheckingSmsMessagesOnSim_5016 "Checking SMS messages on SIM...".
    bool readSmsFile(int textId = 0);

    // Fills entries from EF_SMS: every entry k is cleared with position k, and the first count (the
    // smaller of entries.size() and the card's record count) get the decoded record.
    // Needs the SMS service (sid::RequiredCardFileIsNot_152 without).
    bool readSmsList(std::span<SmsEntry> entries, int& count);

    // Writes record g of EF_SMS from the first entry whose position is g - 1; records without an
    // entry stay as they are on the card. An entry that keeps its record gives that record; an
    // entry without one (from a file or a backup) that is what the card's record gives through such
    // a file (SmsIsStoredCopy) leaves the card's record as it is. A record whose bytes would not
    // change (the SMS image or, without one, the record read first) is not written again. A valid entry beyond the file
    // (sid::CardPositionsNumberOverflow_147) or a message that does not fit in a record (sid::NonSpecificError_140,
    // with the message's number as the status detail) refuses the whole write before anything is written. count
    // receives the file's record count. Written entries lose their modified flag; the SMS image, when there is one,
    // follows the card.
    bool writeSmsList(std::span<SmsEntry> entries, int& count);
    // Everything writeSmsList checks before its first UPDATE, without writing.
    bool checkSmsList(std::span<SmsEntry> entries, int& count);

    // Serving records from the image pauses this long per record while a progress window shows,
    // so that the progress can be seen.
    void setImagePause(std::chrono::milliseconds pause) { m_imagePause = pause; }

private:
    struct SmsWritePlan
    {
        int length = 0;
        std::vector<int> chosen;
        std::vector<std::vector<uint8_t>> records;
        std::vector<std::vector<uint8_t>> current; // the card's record where known, else empty
    };
    bool currentRecord(int g, int length, SmsWritePlan& plan);
    bool failAndFlush();
    bool openSmsFile(FileInfo& info);
    bool prepareWrite(std::span<SmsEntry> entries, int& count, SmsWritePlan& plan);

    SimCard& m_card;
    std::chrono::milliseconds m_imagePause{25};
};

} // namespace kestrel
