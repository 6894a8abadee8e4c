// Input: byte 0 = record length R (0-79, so lengths outside 14..64 are tried too), byte 1 = record
// number, then R record bytes, then the extension file image. The record is decoded, the entry
// encoded again into a record of the same length and decoded once more; the number must survive.
// Kept bytes must decode to the entry; with Unicode names a name that fits whole comes back exactly.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "FuzzCheck.h"
#include "codec/AlphaCodec.h"
#include "codec/DialRecord.h"
#include "codec/FixedText.h"

using namespace kestrel;
using kestrel::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::size_t recordLength = data[0] % 80;
    const int recordNumber = data[1];
    const std::span<const uint8_t> rest(data + 2, size - 2);
    if (rest.size() < recordLength)
        return 0;
    const std::vector<uint8_t> record(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(recordLength));
    const std::vector<uint8_t> extensionFile(rest.begin() + static_cast<std::ptrdiff_t>(recordLength), rest.end());

    const DialEntry first = DecodeDialRecord(record, recordNumber, extensionFile);
    check(std::memchr(first.name, 0, sizeof first.name) != nullptr);
    check(std::strlen(first.number) <= kMaxDialDigits);
    check(first.kept.empty() || KeptBytesCurrent(first));
    if (first.valid && IsDialRecordLength(recordLength)) {
        const std::size_t x = recordLength - kDialRecordOverhead;
        const std::string name(fixedText(first.name));
        if (FitAlphaId(name, x, true).characters == NameLength(name))
            check(StoredAlphaText(name, x, true) == name);
    }

    std::vector<uint8_t> written(recordLength, 0);
    uint8_t nextId = 1;
    const DialEncodeResult result = EncodeDialRecord(first, written, [&nextId]() -> std::optional<uint8_t> {
        if (nextId > 3)
            return std::nullopt;
        return nextId++;
    });
    if (!IsDialRecordLength(recordLength)) {
        check(!result.ok && result.status == DialEncodeStatus::BadRecordLength);
        return 0;
    }
    check(result.ok); // a decoded number has at most 60 digits: two extension records at most

    std::vector<uint8_t> image(3 * kExtensionRecordLength, 0xFF);
    for (const ExtensionRecord& ext : result.extensions) {
        check(ext.id >= 1 && ext.id <= 3);
        std::memcpy(image.data() + (ext.id - 1) * kExtensionRecordLength, ext.bytes.data(), kExtensionRecordLength);
    }
    const DialEntry second = DecodeDialRecord(written, recordNumber, image);
    check(second.valid == first.valid);
    check(second.position == first.position);
    check(std::strcmp(second.number, first.number) == 0);
    if (first.valid) {
        check(second.ton == first.ton);
        check(second.npi == first.npi);
    }
    return 0;
}
