#include "sim/FileResponses.h"

#include <algorithm>

#include "gsm/Responses.h"

namespace kestrel {

namespace r = gsm::response;

namespace {

uint8_t byteAt(std::span<const uint8_t> response, std::size_t at)
{
    return at < response.size() ? response[at] : 0;
}

uint16_t wordAt(std::span<const uint8_t> response, std::size_t at)
{
    return static_cast<uint16_t>(byteAt(response, at) << 8 | byteAt(response, at + 1));
}

CodeStatus codeStatus(std::span<const uint8_t> response, std::size_t at)
{
    const uint8_t b = byteAt(response, at);
    return {(b & r::kCodeInitialisedBit) != 0, b & r::kAttemptsMask};
}

FileStructure structureOf(uint8_t coding)
{
    switch (coding) {
    case r::kTransparent:
        return FileStructure::Transparent;
    case r::kLinearFixed:
        return FileStructure::LinearFixed;
    case r::kCyclic:
        return FileStructure::Cyclic;
    default:
        return FileStructure::Other;
    }
}

} // namespace

FileInfo FileInfo::parse(std::span<const uint8_t> response)
{
    FileInfo info;
    std::copy_n(response.begin(), std::min(response.size(), info.bytes.size()), info.bytes.begin());
    info.fileSize = wordAt(response, r::kSizeOrFreeMemory);
    info.fileId = wordAt(response, r::kFileId);
    info.status = byteAt(response, r::kFileStatus);
    info.invalidated = (info.status & r::kNotInvalidatedBit) == 0;
    info.access = {byteAt(response, r::kAccessReadUpdate), byteAt(response, r::kAccessIncrease),
                   byteAt(response, r::kAccessInvalidateRehabilitate)};
    info.structure = structureOf(byteAt(response, r::kStructure));
    // A transparent EF has no record length; any other coding names one.
    if (info.structure != FileStructure::Transparent) {
        info.recordLength = byteAt(response, r::kRecordLength);
        info.recordCount = info.recordLength > 0 ? info.fileSize / info.recordLength : 0;
    }
    return info;
}

void FileInfo::setInvalidated(bool invalid)
{
    invalidated = invalid;
    if (invalid)
        status &= static_cast<uint8_t>(~r::kNotInvalidatedBit);
    else
        status |= r::kNotInvalidatedBit;
    bytes[r::kFileStatus] = status;
}

DirectoryInfo DirectoryInfo::parse(std::span<const uint8_t> response)
{
    DirectoryInfo info;
    std::copy_n(response.begin(), std::min(response.size(), info.bytes.size()), info.bytes.begin());
    info.freeMemory = wordAt(response, r::kSizeOrFreeMemory);
    info.fileId = wordAt(response, r::kFileId);
    info.chv1Enabled = (byteAt(response, r::kCharacteristics) & r::kChv1DisabledBit) == 0;
    info.dfCount = byteAt(response, r::kDfCount);
    info.efCount = byteAt(response, r::kEfCount);
    info.codeCount = byteAt(response, r::kChvCount);
    info.chv1 = codeStatus(response, r::kChv1Status);
    info.unblockChv1 = codeStatus(response, r::kUnblockChv1Status);
    info.chv2 = codeStatus(response, r::kChv2Status);
    info.unblockChv2 = codeStatus(response, r::kUnblockChv2Status);
    return info;
}

const CodeStatus& DirectoryInfo::code(int chv, bool unblock) const
{
    if (chv == 2)
        return unblock ? unblockChv2 : chv2;
    return unblock ? unblockChv1 : chv1;
}

bool DirectoryInfo::chvBlocked(int chv) const
{
    if (chv == 2 && !chv2.initialised)
        return false;
    return chvAttemptsLeft(chv, false) == 0;
}

} // namespace kestrel
