// The virtual card's card file (JSON) from arbitrary bytes. A file that loads must save to JSON
// that loads again to the same card, and give a card that answers to reset and to SELECT MF.

#include <cstddef>
#include <cstdint>

#include <QByteArray>

#include "FuzzSupport.h"
#include "emulator/CardFile.h"
#include "emulator/SimCardModel.h"

using namespace kestrel;
using namespace kestrel::emulator;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const QByteArray json(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const CardFileResult loaded = CardFile::fromJson(json);
    if (!loaded.ok) {
        fuzz::check(!loaded.error.isEmpty());
        return 0;
    }
    fuzz::check(loaded.error.isEmpty());
    fuzz::check(CardFile::check(loaded.card).isEmpty());

    const QByteArray saved = CardFile::toJson(loaded.card);
    const CardFileResult again = CardFile::fromJson(saved);
    fuzz::check(again.ok);
    fuzz::check(again.card == loaded.card);
    fuzz::check(CardFile::toJson(again.card) == saved);

    SimCardModel card(loaded.card);
    const std::vector<uint8_t> atr = card.powerOn();
    if (loaded.card.kind == CardKind::TelephoneCard) {
        std::array<uint8_t, 32> memory{};
        fuzz::check(card.readMemory(memory) && memory == loaded.card.memory);
        return 0;
    }
    fuzz::check(atr == loaded.card.atr);
    const CardResponse selected = card.process(Apdu{0xA0, 0xA4, 0x00, 0x00, 0x02, {0x3F, 0x00}});
    fuzz::check(selected.sw >> 8 == 0x9F);
    const uint8_t length = static_cast<uint8_t>(selected.sw);
    const CardResponse response = card.process(Apdu{0xA0, 0xC0, 0x00, 0x00, length, {}});
    fuzz::check(response.sw == 0x9000 && response.data.size() == (length == 0 ? 256u : length));
    return 0;
}
