// EF_PLMNsel / EF_FPLMN contents from arbitrary bytes: every whole 3-byte group is a network; the
// list written back into a file of the same size must read as the same networks, and every network
// must survive its "MCC-MNC" text. The input is also tried as such a text.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "codec/PlmnCodec.h"

using namespace kestrel;
using fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::span<const uint8_t> file(data, size);
    const std::vector<PlmnEntry> list = DecodePlmnList(file);
    check(list.size() == size / 3);

    const std::vector<uint8_t> written = EncodePlmnList(list, size);
    check(written.size() == size);
    const std::vector<PlmnEntry> again = DecodePlmnList(written);
    check(again.size() == list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const PlmnEntry& e = list[i];
        check(e.modified == 0 && again[i].used == e.used);
        if (!e.used) {
            check(written[3 * i] == 0xFF && written[3 * i + 1] == 0xFF && written[3 * i + 2] == 0xFF);
            continue;
        }
        check(e.mcc <= 999 && e.mnc <= 99);
        check(again[i].mcc == e.mcc && again[i].mnc == e.mnc);
        const std::string text = formatPlmn(e.mcc, e.mnc);
        uint32_t mcc = 1000;
        uint32_t mnc = 1000;
        check(parsePlmn(text, mcc, mnc) && mcc == e.mcc && mnc == e.mnc);
    }
    // A trailing remainder of the file is not a network: it stays free.
    for (std::size_t i = list.size() * 3; i < size; ++i)
        check(written[i] == 0xFF);
    // A list longer than the file loses only what does not fit.
    if (!list.empty()) {
        const std::vector<uint8_t> shorter = EncodePlmnList(list, size - 3);
        const auto kept = static_cast<std::ptrdiff_t>(3 * (list.size() - 1));
        check(std::equal(shorter.begin(), shorter.begin() + kept, written.begin()));
    }

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    uint32_t mcc = 7;
    uint32_t mnc = 8;
    if (parsePlmn(text, mcc, mnc)) {
        check(mcc <= 999 && mnc <= 999);
        uint32_t mcc2 = 0;
        uint32_t mnc2 = 0;
        check(parsePlmn(formatPlmn(mcc, mnc), mcc2, mnc2) && mcc2 == mcc && mnc2 == mnc);
    } else {
        check(mcc == 7 && mnc == 8);
    }
    return 0;
}
