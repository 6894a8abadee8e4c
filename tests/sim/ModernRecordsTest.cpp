// The records phones write today (UCS2 names, concatenated UCS2, 8-bit and status-report messages)
// through the card files' read and write: shown as they are, written back without a command.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CardFileDoubles.h"
#include "SimBench.h"
#include "codec/FixedText.h"
#include "emulator/ModernRecords.h"
#include "sim/DialFiles.h"
#include "sim/SmsFiles.h"

using namespace kestrel;
using namespace kestrel::test;
using namespace kestrel::gsm::fid;

namespace {

TEST(ModernRecords, ReadAndWrittenBackUnchangedWithoutAnUpdate)
{
    const emulator::SimCardData original = emulator::StandardCard::simCard({.modernRecords = true});
    SimBench bench(original);
    QueuedPinPrompt prompt;
    bench.sim->setPinPrompt(&prompt);
    prompt.answers = {std::string("1234")};
    ASSERT_TRUE(bench.sim->openCard(true, false, true, false));

    DialFiles dials(*bench.sim);
    std::vector<DialEntry> names(250);
    DialListSize size;
    ASSERT_TRUE(dials.readDialList(kEfAdn, names, size));
    const int first = emulator::standard::kFirstModernName - 1;
    EXPECT_EQ(fixedText(names[first].name), "\u0395\u03BB\u03AD\u03BD\u03B7");
    EXPECT_EQ(fixedText(names[first + 1].name), "\u010Cen\u011Bk R\u016F\u017Eek");
    EXPECT_EQ(fixedText(names[first + 2].name), "\u0421\u0432\u0456\u0442\u043B\u0430\u043D\u0430");

    SmsFiles messages(*bench.sim);
    messages.setImagePause(std::chrono::milliseconds(0));
    std::vector<SmsEntry> sms(20);
    int count = 0;
    ASSERT_TRUE(messages.readSmsList(sms, count));

    bench.clearLog();
    ASSERT_TRUE(dials.writeDialList(kEfAdn, names, size)) << toInt(bench.sim->lastStatus());
    ASSERT_TRUE(messages.writeSmsList(sms, count)) << toInt(bench.sim->lastStatus());
    EXPECT_EQ(bench.recorder->count("A0 DC"), 0); // UPDATE RECORD
    bench.sim->closeCard();
    for (const uint16_t id : {kEfAdn, kEfExt1, kEfSms})
        EXPECT_EQ(findFile(bench.model->data(), id)->data, findFile(original, id)->data) << std::hex << id;
}

} // namespace
