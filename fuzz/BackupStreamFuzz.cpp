// Reads arbitrary bytes as a .SIM backup stream; whatever reads cleanly must write back to a
// stream that reads again to the same result.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "codec/BackupStream.h"

using namespace kestrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static BackupContents contents;
    static BackupContents again;
    if (readBackupStream({data, size}, contents) != kBackupReadOk)
        return 0;
    const std::vector<uint8_t> written = writeBackupStream(contents);
    if (readBackupStream(written, again) != kBackupReadOk)
        std::abort();
    if (writeBackupStream(again) != written)
        std::abort();
    return 0;
}
