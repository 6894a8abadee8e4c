// Input: a fetched proactive command as the card sends it (at most 256 bytes are taken, as a
// FETCH reads). It is decoded; a decoded command is described, its items must pair up, and the
// answers to it are built once for every general result, with and without an item and a text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "FuzzCheck.h"
#include "toolkit/ToolkitProtocol.h"

using namespace kestrel;
using kestrel::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::span<const uint8_t> bytes(data, size < 256 ? size : 256);
    CardStatus status = CardStatus::Ok;
    const std::optional<ToolkitCommand> command = decodeToolkitCommand(bytes, status);
    if (!command) {
        check(status == CardStatus::NonSpecificError || status == CardStatus::StatusError);
        return 0;
    }
    check(status == CardStatus::Ok);
    check(command->itemIds.size() == command->itemTexts.size());
    check(command->decoder && command->decoder->type() == command->type);
    const QString text = command->decoder->describe();
    check(!text.isEmpty());

    // The response elements of a TERMINAL RESPONSE to it, into the room one command has.
    uint8_t room[255];
    ToolkitWriter writer(room);
    check(CommandDetails(command->number, command->type, command->qualifier).encode(writer));
    // Tag, length (one byte up to 127, else two), coding scheme, the bytes.
    const std::size_t n = bytes.size();
    const std::size_t need = writer.size() + 1 + (n + 1 <= 127 ? 1 : 2) + 1 + n;
    check(TextString(bytes).encode(writer) == (need <= sizeof room));
    return 0;
}
