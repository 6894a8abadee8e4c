// The answers to SELECT and GET RESPONSE (and to the commands they size) come from the fuzz input:
// a card that answers each command with two status-word bytes and, for a read that succeeds, the
// data bytes asked for. The program opens the card, reads and writes files whose sizes, record
// lengths and structures come from those EF and DF responses, and must stay inside its buffers.

#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzSupport.h"
#include "SelectDriver.h"

using namespace kestrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::ScriptedIcc card(std::span<const uint8_t>(data, size));
    fuzz::IccReader reader(card);
    fuzz::driveSelectResponses(reader);
    return 0;
}
