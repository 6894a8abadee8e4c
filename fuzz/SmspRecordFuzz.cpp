// EF_SMSP records as a card holds them, read and written through the SMS parameters' own card
// access: the standard virtual card (CHV1 disabled) with its EF_SMSP replaced by the input.
//
// Input: byte 0 is the record length (0 counts as 1), byte 1 chooses the service centre and the
// validity to write, the rest are the records back to back (1 to 254 of them; a short last one is
// filled with FF).
//
// What is read must be a dialling number of at most 20 digits and a validity text; a write must
// read back as written and keep the rest of record 1 (alpha identifier, destination address,
// PID, DCS).

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "codec/DialDigits.h"
#include "codec/SmsTime.h"
#include "emulator/SimCardModel.h"
#include "emulator/StandardCard.h"
#include "sim/SimCard.h"
#include "sim/SmsParameters.h"

using namespace kestrel;
using namespace kestrel::emulator;

namespace {

using fuzz::check;

constexpr const char* kCentres[] = {"+420603052000", "12345678901234567890", "0", "+1234567"};
const std::vector<uint16_t> kSmspPath{0x3F00, 0x7F10, 0x6F42};

const SimFile& smsp(const SimCardData& card)
{
    const auto it =
        std::find_if(card.files.begin(), card.files.end(), [](const SimFile& f) { return f.path == kSmspPath; });
    check(it != card.files.end());
    return *it;
}

void checkRead(const SmsParameters& read)
{
    if (!read.result)
        return;
    if (!read.serviceCentre.empty()) {
        uint8_t ton = 0;
        const std::string digits = SplitPlus(read.serviceCentre, ton);
        check(digits.size() <= SmsParameters::kMaxCentreDigits);
        check(digits.empty() || IsValidDialNumber(read.serviceCentre));
    }
    if (!read.validity.empty()) {
        SmsTime t;
        check(ParseSmsTime(read.validity, t) && !t.isAbsolute);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    static const SimCardData standard = [] {
        SimCardData c = StandardCard::simCard();
        c.chv1.enabled = false;
        return c;
    }();
    SimCardData contents = standard;
    const auto file = std::find_if(contents.files.begin(), contents.files.end(),
                                   [](const SimFile& f) { return f.path == kSmspPath; });
    check(file != contents.files.end());
    const int length = std::max<int>(1, data[0]);
    const std::span<const uint8_t> records(data + 2, size - 2);
    const std::size_t count =
        std::clamp<std::size_t>((records.size() + static_cast<std::size_t>(length) - 1) / length, 1, 254);
    file->recordLength = length;
    file->data.assign(count * static_cast<std::size_t>(length), 0xFF);
    std::copy_n(records.begin(), std::min(records.size(), file->data.size()), file->data.begin());

    SimCardModel card(contents);
    fuzz::IccReader reader(card);
    SimCard sim([&reader] { return &reader; });

    const SmsParameters read = ReadSmsParameters(sim, nullptr, nullptr, std::chrono::milliseconds(0));
    checkRead(read);
    if (length < 28) {
        check(!read.result);
        return 0;
    }
    check(read.result.isOk());

    const std::string centre = kCentres[data[1] % 4];
    SmsTime validity;
    validity.validity = data[1];
    const std::string validityText = FormatSmsTime(validity);
    const std::vector<uint8_t> before = smsp(card.data()).data;
    const SmsParameters written =
        WriteSmsParameters(sim, nullptr, nullptr, centre, validityText, std::chrono::milliseconds(0));
    check(written.result.isOk());
    check(written.serviceCentre == centre && written.validity == validityText);

    const std::vector<uint8_t>& after = smsp(card.data()).data;
    const auto p = static_cast<std::size_t>(length - 28);
    for (std::size_t i = 0; i < before.size(); ++i) {
        const std::size_t at = i - p; // offset in the parameters of record 1
        const bool rewritten =
            i >= p && i < static_cast<std::size_t>(length) && (at == 0 || (at >= 13 && at < 25) || at == 27);
        if (!rewritten)
            check(after[i] == before[i]);
        else if (at == 0) // the centre and validity indicators are cleared, the others kept
            check(after[i] == (before[i] & ~0x12));
    }
    const SmsParameters again = ReadSmsParameters(sim, nullptr, nullptr, std::chrono::milliseconds(0));
    checkRead(again);
    check(again.result.isOk());
    check(again.serviceCentre == centre && again.validity == validityText);
    return 0;
}
