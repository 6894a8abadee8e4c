// Whole .SIM backup files from arbitrary bytes, through the file loader the backup window and
// kestrel-cli use. A file that loads must save (atomically, through the saver) to a file that
// loads again to the same contents; a file that does not load leaves the contents empty.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "FuzzSupport.h"
#include "backup/BackupFile.h"
#include "codec/BackupStream.h"

using namespace kestrel;
using fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static const fuzz::ScratchFile input("in.sim");
    static const fuzz::ScratchFile output("out.sim");
    static const std::vector<uint8_t> empty = writeBackupStream(BackupContents{});
    input.write(std::span<const uint8_t>(data, size));

    BackupContents contents;
    const Result loaded = loadBackupFile(input.path(), contents);
    if (!loaded) {
        check(loaded.messageId() == kBackupStructureError || loaded.messageId() == kBackupReadError);
        check(writeBackupStream(contents) == empty);
        return 0;
    }
    check(saveBackupFile(output.path(), contents).isOk());
    BackupContents again;
    check(loadBackupFile(output.path(), again).isOk());
    check(writeBackupStream(again) == writeBackupStream(contents));
    return 0;
}
