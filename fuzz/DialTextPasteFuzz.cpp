// Reads phone book entries from arbitrary pasted text: the reader always moves on, and every
// entry it gives fits a phone book entry (a name of at most the maximum characters, one field).

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "codec/DialDigits.h"
#include "codec/AlphaCodec.h"
#include "phonebook/DialTextPaste.h"

using namespace kestrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int maxName = data[0] % 22;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    DialTextReader reader(text, maxName);
    // Each entry takes at least three bytes (a name, a TAB, a digit).
    for (std::size_t lines = 0; !reader.atEnd(); ++lines) {
        if (lines > text.size())
            std::abort();
        const DialTextLine line = reader.next();
        if (line.messageId != 0) {
            if (!reader.atEnd() || !line.name.empty() || !line.number.empty())
                std::abort();
            break;
        }
        if (line.name.empty() || NameLength(line.name) > static_cast<std::size_t>(maxName))
            std::abort();
        if (line.name.find_first_of("\t\r\n") != std::string::npos)
            std::abort();
        if (line.number.empty() || !IsValidDialNumber(line.number))
            std::abort();
    }
    return 0;
}
