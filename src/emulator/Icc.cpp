#include "emulator/Icc.h"

namespace kestrel::emulator {

bool Icc::isIncoming(uint8_t ins)
{
    switch (ins) {
    case 0xA4: // SELECT
    case 0xD6: // UPDATE BINARY
    case 0xDC: // UPDATE RECORD
    case 0xA2: // SEEK
    case 0x32: // INCREASE
    case 0x20: // VERIFY CHV
    case 0x24: // CHANGE CHV
    case 0x26: // DISABLE CHV
    case 0x28: // ENABLE CHV
    case 0x2C: // UNBLOCK CHV
    case 0x88: // RUN GSM ALGORITHM
    case 0x10: // TERMINAL PROFILE
    case 0xC2: // ENVELOPE
    case 0x14: // TERMINAL RESPONSE
        return true;
    default:
        return false;
    }
}

} // namespace kestrel::emulator
