#include "emulator/Icc.h"

#include "gsm/Instructions.h"

namespace kestrel::emulator {

bool Icc::isIncoming(uint8_t ins)
{
    namespace i = gsm::ins;
    switch (ins) {
    case i::kSelect:
    case i::kUpdateBinary:
    case i::kUpdateRecord:
    case i::kSeek:
    case i::kIncrease:
    case i::kVerifyChv:
    case i::kChangeChv:
    case i::kDisableChv:
    case i::kEnableChv:
    case i::kUnblockChv:
    case i::kRunGsmAlgorithm:
    case i::kTerminalProfile:
    case i::kEnvelope:
    case i::kTerminalResponse:
        return true;
    default:
        return false;
    }
}

} // namespace kestrel::emulator
