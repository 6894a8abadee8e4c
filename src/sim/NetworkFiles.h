#pragma once

#include <span>
#include <vector>

#include "codec/PlmnEntry.h"

namespace kestrel {

class SimCard;

// EF_PLMNsel (6F30) and EF_FPLMN (6F7B) under DF_GSM: transparent files of 3-byte networks, the
// number of entries being the file size / 3. There is no image: every read goes to the card.
// The card must be open and identified (SimCard::openCard); false leaves the reason in the
// SimCard's lastStatus and drops the SimCard's images.
class NetworkFiles
{
public:
    explicit NetworkFiles(SimCard& card) : m_card(card) {}

    // The whole list of the file (forbidden: EF_FPLMN, else EF_PLMNsel), one entry per slot, free
    // slots with used 0. On failure the list is empty.
    bool readPlmnList(std::vector<PlmnEntry>& list, bool forbidden);

    // Writes the whole file in one go: entry i to slot i, free entries and slots beyond the list
    // as FF FF FF. Entries beyond the file's last slot are not written.
    bool writePlmnList(std::span<const PlmnEntry> list, bool forbidden);

private:
    // Selects the file; its size in bytes, or -1 with lastStatus set.
    int selectList(bool forbidden);
    bool failAndFlush();

    SimCard& m_card;
};

} // namespace kestrel
