#include "sim/NetworkFiles.h"

#include "codec/PlmnCodec.h"
#include "sim/SimCard.h"

namespace kestrel {

namespace {

uint16_t listFile(bool forbidden)
{
    return forbidden ? gsm::fid::kEfFplmn : gsm::fid::kEfPlmnSel;
}

} // namespace

int NetworkFiles::selectList(bool forbidden)
{
    if (!m_card.reader()) {
        m_card.setLastStatus(CardStatus::ReaderInaccessible);
        return -1;
    }
    if (!(m_card.cardFlags() & CardFlag::kIdentified)) {
        m_card.setLastStatus(CardStatus::NonSpecificError);
        return -1;
    }
    FileInfo info;
    if (!m_card.selectFile(gsm::fid::kDfGsm, listFile(forbidden), nullptr, &info))
        return -1;
    // A network list is a transparent file; any other structure is no list this program knows.
    if (info.structure != FileStructure::Transparent) {
        m_card.setLastStatus(CardStatus::NonSpecificError);
        return -1;
    }
    return info.fileSize;
}

bool NetworkFiles::failAndFlush()
{
    // As after every failed bulk transfer, no image of unknown state survives; the status stays.
    m_card.flushCaches();
    return false;
}

bool NetworkFiles::readPlmnList(std::vector<PlmnEntry>& list, bool forbidden)
{
    list.clear();
    const int size = selectList(forbidden);
    if (size < 0)
        return failAndFlush();
    std::vector<uint8_t> bytes(static_cast<std::size_t>(size), 0xFF);
    int length = size;
    if (!m_card.readFile(gsm::fid::kDfGsm, listFile(forbidden), bytes, length))
        return failAndFlush();
    list = DecodePlmnList(bytes);
    m_card.setLastStatus(CardStatus::Ok);
    return true;
}

bool NetworkFiles::writePlmnList(std::span<const PlmnEntry> list, bool forbidden)
{
    const int size = selectList(forbidden);
    if (size < 0)
        return failAndFlush();
    const std::vector<uint8_t> bytes = EncodePlmnList(list, static_cast<std::size_t>(size));
    int length = size;
    if (!m_card.updateFile(gsm::fid::kDfGsm, listFile(forbidden), bytes, length))
        return failAndFlush();
    m_card.setLastStatus(CardStatus::Ok);
    return true;
}

} // namespace kestrel
