// EF_SMS records come straight from the card or from a file: decode any bytes (coding, user-data
// header, status report), write the unedited entry back (its record, byte for byte) and as a plain
// message, and run the `when` text through the time parser and formatter.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "codec/FixedText.h"
#include "codec/SmsCodec.h"
#include "codec/SmsTime.h"
#include "codec/SmsUserData.h"

using namespace kestrel;
using kestrel::fuzz::check;

namespace {

template <std::size_t N>
void checkTerminated(const char (&field)[N])
{
    check(::strnlen(field, N) < N);
}

void checkTimeText(std::string_view text)
{
    SmsTime t;
    if (ParseSmsTime(text, t)) {
        const std::string formatted = FormatSmsTime(t);
        check(formatted.size() <= 15);
        SmsTime again;
        check(ParseSmsTime(formatted, again));
        check(FormatSmsTime(again) == formatted);
    }
    const int exact = ValidityChoiceIndex(text, true);
    const int nearest = ValidityChoiceIndex(text, false);
    check(exact >= -1 && exact <= 3);
    check(nearest >= -1 && nearest <= 3);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::span<const uint8_t> record(data, size);
    const SmsEntry entry = DecodeSmsRecord(record, 7);
    check(entry.position == 7);
    checkTerminated(entry.text);
    checkTerminated(entry.scNumber);
    checkTerminated(entry.number);
    checkTerminated(entry.when);
    checkTerminated(entry.dischargeTime);
    check(entry.status >= 0 && entry.status <= 3);
    check(entry.messageClass >= -1 && entry.messageClass <= 3);
    check(entry.concatTotal == 0 || (entry.concatPart >= 1 && entry.concatPart <= entry.concatTotal));

    // Unedited, the record goes back as it was read.
    const std::size_t kept = size < 256 ? size : 256;
    check(entry.keptLength == kept);
    if (kept > 0) {
        check(SmsKeepsRecord(entry));
        const SmsEncodeResult again = EncodeSmsRecord(entry, static_cast<int>(kept));
        check(again.fits && std::equal(again.record.begin(), again.record.end(), data));
    }
    const SmsUserDataHeader header = ParseUserDataHeader(record);
    check(!header.valid || header.octets <= size);

    SmsEntry plainEntry = entry;
    const bool plain = SmsIsPlain(entry);
    MakePlainSms(plainEntry);

    std::array<uint8_t, 256> buffer;
    const int needed = EncodeSmsRecord(plainEntry, buffer);
    check(needed >= 1 && needed <= 256);
    const SmsEncodeResult standard = EncodeSmsRecord(plainEntry, 176);
    check(standard.length == needed);
    check(standard.fits == (needed <= 176));
    check(standard.fits ? standard.record.size() == 176 : standard.record.empty());

    // What was decoded survives being written back, except the fields the writer sets itself.
    const SmsEncodeResult full = EncodeSmsRecord(plainEntry, 256);
    check(full.fits);
    const SmsEntry back = DecodeSmsRecord(full.record, 7);
    check(back.valid == entry.valid);
    if (entry.valid) {
        check(back.status == entry.status);
        check(std::strcmp(back.scNumber, entry.scNumber) == 0);
        check(std::strcmp(back.number, entry.number) == 0);
        if (plain)
            check(std::strcmp(back.text, entry.text) == 0);
        check(back.scTon == entry.scTon && back.scNpi == entry.scNpi);
        check(back.numberTon == entry.numberTon && back.numberNpi == entry.numberNpi);
        SmsTime t;
        const bool submit = entry.status >= 2;
        const bool report = entry.kind == SmsKind::StatusReport;
        if (!report && ParseSmsTime(fixedText(entry.when), t) && (submit || t.isAbsolute))
            check(std::strcmp(back.when, entry.when) == 0);
    }

    checkTimeText(fixedText(entry.when));
    const std::string_view raw(reinterpret_cast<const char*>(data), size < 80 ? size : 80);
    checkTimeText(raw);
    char when[16] = {};
    setFixedText(when, raw);
    NormalizeSmsTime(when);
    SmsTime normalized;
    check(ParseSmsTime(fixedText(when), normalized));

    if (size > 0) {
        const std::string text = UnpackSeptets(record.subspan(1), data[0]);
        check(text.size() <= 3 * 199);
        std::array<uint8_t, 64> out;
        const int written = PackSeptets(text, out);
        check(written >= 1 && written <= 64);
        // Decoded text is all default alphabet: it packs to the same characters.
        if (GsmSeptetCount(text) <= 72)
            check(UnpackSeptets(std::span<const uint8_t>(out).subspan(1), out[0]) == text);
    }
    return 0;
}
