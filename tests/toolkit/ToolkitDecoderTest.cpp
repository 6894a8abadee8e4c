#include <gtest/gtest.h>

#include "ToolkitBytes.h"
#include "toolkit/ToolkitProtocol.h"

namespace kestrel {
namespace {

using test::hexBytes;
using test::proactive;

struct Decoded
{
    std::string name;
    std::vector<uint8_t> bytes;
    CardStatus status;
    uint8_t type = 0;
    QString text{};
    std::vector<uint8_t> ids{};
    std::vector<QString> items{};
};

// Header faults give 140, body faults 105; what decodes lands in the command.
TEST(ToolkitDecoderTest, DecodesOrRefusesCommands)
{
    const std::vector<Decoded> cases = {
        {"not D0", hexBytes("80 09 81 03 01 25 00 82 02 81 82"), CardStatus::NonSpecificError},
        {"length form 82", hexBytes("D0 82 00 09 81 03 01 25 00"), CardStatus::NonSpecificError},
        {"length beyond the bytes", hexBytes("D0 20 81 03 01 25 00"), CardStatus::NonSpecificError},
        {"details of length 2", proactive("81 02 01 25"), CardStatus::NonSpecificError},
        {"no details", proactive("82 02 81 82"), CardStatus::NonSpecificError},
        {"empty", {}, CardStatus::NonSpecificError},
        {"menu without alpha", proactive("81 03 01 25 00 82 02 81 82 8F 02 01 41"), CardStatus::StatusError},
        {"menu, devices of length 3", proactive("81 03 01 25 00 82 03 81 82 00 85 01 4D"), CardStatus::StatusError},
        {"display text without text", proactive("81 03 01 21 80 82 02 81 02"), CardStatus::StatusError},
        {"get input without response length", proactive("81 03 01 23 00 82 02 81 82 8D 02 04 41"),
         CardStatus::StatusError},
        {"get input, response length of 3", proactive("81 03 01 23 00 82 02 81 82 8D 02 04 41 91 03 01 05 00"),
         CardStatus::StatusError},
        {"menu without items", proactive("81 03 01 25 00 82 02 81 82 85 04 4D 65 6E 75"), CardStatus::Ok, 0x25,
         QStringLiteral("Menu")},
        {"menu with items (81 length form)",
         hexBytes("D0 81 19 81 03 01 25 00 82 02 81 82 85 02 4D 65 8F 03 01 41 42 8F 02 07 43 8F 01 09"),
         CardStatus::Ok,
         0x25,
         QStringLiteral("Me"),
         {1, 7, 9},
         {QStringLiteral("AB"), QStringLiteral("C"), QString()}},
        // The title padded with FF ends at the padding; the items behind it still count.
        {"alpha padded with FF",
         proactive("81 03 01 25 00 82 02 81 82 05 06 4D 65 6E 75 FF FF 0F 02 03 58"),
         CardStatus::Ok,
         0x25,
         QStringLiteral("Menu"),
         {3},
         {QStringLiteral("X")}},
        {"item text padded with FF",
         proactive("81 03 01 24 00 82 02 81 82 8F 04 05 41 FF FF"),
         CardStatus::Ok,
         0x24,
         QString(),
         {5},
         {QStringLiteral("A")}},
        {"select item without alpha",
         proactive("81 03 01 24 00 82 02 81 82 8F 02 01 41"),
         CardStatus::Ok,
         0x24,
         QString(),
         {1},
         {QStringLiteral("A")}},
        // An item of length 0 has no identifier: it and everything after it is left out.
        {"empty item ends the items", proactive("81 03 01 24 00 82 02 81 82 8F 00 8F 02 01 41"), CardStatus::Ok, 0x24},
        {"7-bit packed text", proactive("81 03 01 21 80 82 02 81 02 8D 0A 00 E8 32 9B FD 46 97 D9 EC 37"),
         CardStatus::Ok, 0x21, QStringLiteral("hellohello")},
        {"7-bit text ends at FF", proactive("81 03 01 21 80 82 02 81 02 8D 0A 00 61 F1 98 5C 36 9F D1 FF FF"),
         CardStatus::Ok, 0x21, QStringLiteral("abcdefgh")},
        {"8-bit text", proactive("81 03 01 21 80 82 02 81 02 8D 03 04 C8 41"), CardStatus::Ok, 0x21,
         QString(QChar(0xC8)) + QLatin1Char('A')},
        {"UCS2 scheme shown byte by byte", proactive("81 03 01 21 80 82 02 81 02 8D 05 08 00 41 00 42"), CardStatus::Ok,
         0x21, QStringLiteral("%1A%1B").arg(QChar(0))},
        {"other type: header only", proactive("81 03 01 26 00 FF"), CardStatus::Ok, 0x26},
    };
    for (const Decoded& c : cases) {
        CardStatus status = CardStatus::Ok;
        const std::optional<ToolkitCommand> command = decodeToolkitCommand(c.bytes, status);
        EXPECT_EQ(status, c.status) << c.name;
        ASSERT_EQ(command.has_value(), c.status == CardStatus::Ok) << c.name;
        if (!command)
            continue;
        EXPECT_EQ(command->type, c.type) << c.name;
        EXPECT_EQ(command->text, c.text) << c.name;
        EXPECT_EQ(command->itemIds, c.ids) << c.name;
        EXPECT_EQ(command->itemTexts, c.items) << c.name;
    }
}

TEST(ToolkitDecoderTest, GetInputCarriesItsLimitsAndDetails)
{
    CardStatus status = CardStatus::Ok;
    const auto command =
        decodeToolkitCommand(proactive("81 03 07 23 01 82 02 81 82 8D 05 04 4E 61 6D 65 91 02 02 0A"), status);
    ASSERT_TRUE(command);
    EXPECT_EQ(command->number, 7);
    EXPECT_EQ(command->qualifier, 1);
    EXPECT_EQ(command->text, QStringLiteral("Name"));
    EXPECT_EQ(command->responseMin, 2);
    EXPECT_EQ(command->responseMax, 10);
    EXPECT_EQ(command->decoder->describe(), QStringLiteral("Command Length:20  \n"
                                                           "Command Number: 07, Type: 23 (GetInput), Qualifier: 01\n"
                                                           "Device Identities: Src = 81 (SIM), Dst = 82 (ME)\n"
                                                           "Text String: Dcs=04, Name\n"
                                                           "Response Length: Min=2, Max=10\n"));
}

// Every prefix of a valid command is refused or decoded without reading past its end.
TEST(ToolkitDecoderTest, TruncatedCommandsAreRefused)
{
    const std::vector<uint8_t> full = proactive("81 03 01 25 00 82 02 81 82 85 02 4D 65 8F 03 01 41 42");
    for (std::size_t n = 0; n < full.size(); ++n) {
        CardStatus status = CardStatus::Ok;
        const std::vector<uint8_t> part(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_FALSE(decodeToolkitCommand(part, status)) << n;
        EXPECT_EQ(status, CardStatus::NonSpecificError) << n; // the D0 length runs past the end
    }
}

} // namespace
} // namespace kestrel
