#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "base/StringTable.h"
#include "codec/BackupContents.h"

namespace kestrel {

// Results of reading a .SIM stream; the non-zero ones are the messages shown for them.
constexpr int kBackupReadOk = 0;
constexpr int kBackupStructureError =
    strId(sid::ErrorInBackupFileStructure_57427); // unknown section name, or a count beyond capacity
constexpr int kBackupReadError = strId(sid::ErrorWhileReadingFileRestore_57428); // the stream ends before "SECTION_END"

// The seven sections in their fixed order: DIAL, FDN, SMS, SMSPAR, PLMN, FPLMN, END.
std::vector<uint8_t> writeBackupStream(const BackupContents& contents);

// Reads the sections in any order, some possibly missing, until "SECTION_END". Returns
// kBackupReadOk, kBackupStructureError or kBackupReadError; on an error `contents` must not be
// used (nothing is restored from a broken file).
int readBackupStream(std::span<const uint8_t> data, BackupContents& contents);

} // namespace kestrel
