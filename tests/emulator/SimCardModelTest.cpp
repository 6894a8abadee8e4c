#include "emulator/SimCardModel.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "ApduSession.h"
#include "emulator/StandardCard.h"

using namespace kestrel::emulator;
using kestrel::test::hexBytes;
using kestrel::test::hexOf;
using kestrel::test::runSession;
using kestrel::test::send;
using kestrel::test::Step;

namespace {

// Command texts of the session tables.
const std::string kSelectMf = "A0 A4 00 00 02 3F00";
const std::string kSelectTelecom = "A0 A4 00 00 02 7F10";
const std::string kSelectGsm = "A0 A4 00 00 02 7F20";
const std::string kVerifyPin1 = "A0 20 00 01 08 31323334FFFFFFFF";
const std::string kVerifyPin2 = "A0 20 00 02 08 35363738FFFFFFFF";
const std::string kWrongPin1 = "A0 20 00 01 08 39393939FFFFFFFF";

class SimCardModelTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_FALSE(card.powerOn().empty()); }

    // The MF response of SELECT 3F00 + GET RESPONSE.
    std::vector<uint8_t> mfResponse()
    {
        const auto selected = send(card, kSelectMf);
        EXPECT_EQ(selected.sw, 0x9F22);
        return send(card, "A0 C0 00 00 22").data;
    }

    SimCardModel card{StandardCard::simCard()};
};

TEST_F(SimCardModelTest, MfResponseCarriesCharacteristicsAndChvStatus)
{
    const auto r = mfResponse();
    ASSERT_EQ(r.size(), 0x22u);
    EXPECT_EQ(r[4], 0x3F);
    EXPECT_EQ(r[5], 0x00);
    EXPECT_EQ(r[6], 0x01);  // MF
    EXPECT_EQ(r[12], 21);   // GSM data after byte 13
    EXPECT_EQ(r[13], 0x01); // CHV1 enabled: bit 8 clear
    EXPECT_EQ(r[14], 2);    // DF_TELECOM, DF_GSM
    const auto underMf = std::count_if(card.data().files.begin(), card.data().files.end(),
                                       [](const SimFile& f) { return f.path.size() == 2 && !f.isDirectory(); });
    EXPECT_EQ(r[15], underMf); // EF_ICCID, EF_ELP
    EXPECT_EQ(r[18], 0x83);    // CHV1: initialised, 3 attempts
    EXPECT_EQ(r[19], 0x8A);    // UNBLOCK CHV1: 10
    EXPECT_EQ(r[20], 0x83);
    EXPECT_EQ(r[21], 0x8A);
    const int freeMemory = r[2] << 8 | r[3];
    EXPECT_GT(freeMemory, 0);
    EXPECT_LT(freeMemory, card.data().memorySize);
}

TEST_F(SimCardModelTest, SelectFollowsTheDirectoryRules)
{
    runSession(card, {
                         {kSelectMf, 0x9F22},
                         {"A0 A4 00 00 02 6F3A", 0x9404}, // EF_ADN is not a child of the MF
                         {"A0 A4 00 00 02 2FE2", 0x9F0F},
                         {kSelectTelecom, 0x9F22},
                         {"A0 A4 00 00 02 6F3A", 0x9F0F},
                         {"A0 C0 00 00 0F", 0x9000, "0000 1B58 6F3A 04 00 11 F0 22 01 02 01 1C"},
                         {"A0 C0 00 00 10", 0x670F},
                         {kSelectGsm, 0x9F22},            // a DF beside the current one
                         {"A0 A4 00 00 02 2FE2", 0x9404}, // not reachable from DF_GSM
                         {"A0 A4 00 00 02 6F39", 0x9F0F},
                         {"A0 C0 00 00 0F", 0x9000, "0000 000F 6F39 04 40 11 10 44 01 02 03 03"},
                         {"A0 A4 00 00 02 6F07", 0x9F0F}, // an EF beside the current EF
                         {"A0 A4 00 00 02 7F20", 0x9F22}, // the current DF itself
                         {"A0 A4 00 00 02 3F00", 0x9F22},
                         {"A0 A4 00 00 03 3F0000", 0x6702},
                         {"A0 A4 01 00 02 3F00", 0x6B00},
                     });
}

TEST_F(SimCardModelTest, ReadAndUpdateWithEveryErrorWord)
{
    runSession(
        card,
        {
            {kVerifyPin1, 0x9000},
            {"A0 B0 00 00 0A", 0x9400}, // no EF selected yet
            {"A0 A4 00 00 02 2FE2", 0x9F0F},
            {"A0 B0 00 00 0A", 0x9000, "98 24 00 21 43 65 87 09 21 13"},
            {"A0 B0 00 08 02", 0x9000, "21 13"},
            {"A0 B0 00 0A 01", 0x6B00}, // offset beyond the file
            {"A0 B0 80 00 01", 0x6B00},
            {"A0 B0 00 05 06", 0x6700},    // runs past the end
            {"A0 B0 00 00 00", 0x6700},    // 256 bytes
            {"A0 B2 01 04 0A", 0x9408},    // record command on a transparent file
            {"A0 D6 00 00 01 00", 0x9804}, // UPDATE NEV
            {kSelectTelecom, 0x9F22},
            {"A0 A4 00 00 02 6F3A", 0x9F0F},
            {"A0 B0 00 00 1C", 0x9408},
            {"A0 B2 01 04 1C", 0x9000, hexOf("Mother") + "FFFFFFFFFFFFFFFF 07 91 24 60 20 11 21 22 FFFFFFFFFFFF"},
            {"A0 B2 FB 04 1C", 0x9402}, // record 251 of 250
            {"A0 B2 01 04 1B", 0x671C},
            {"A0 B2 01 05 1C", 0x6B00},
            {"A0 B2 00 04 1C", 0x9402},      // no current record yet
            {"A0 B2 07 03 1C", 0x9000, "*"}, // PREVIOUS from nowhere: the last record; P1 not looked at
            {"A0 B2 00 02 1C", 0x9402},      // nothing after record 250
            {"A0 DC 05 04 1C " + hexOf("Fifth") + std::string(18, 'F') + "03 81 21 F3" + std::string(20, 'F'), 0x9000},
            {"A0 DC 05 04 1B " + std::string(54, 'F'), 0x671C},
            {"A0 DC FB 04 1C " + std::string(56, 'F'), 0x9402},
            {"A0 B2 05 04 1C", 0x9000, hexOf("Fifth") + std::string(18, 'F') + "03 81 21 F3" + std::string(20, 'F')},
            {kSelectGsm, 0x9F22},
            {"A0 A4 00 00 02 6F30", 0x9F0F},
            {"A0 D6 00 03 03 32 F0 50", 0x9000},
            {"A0 D6 00 16 03 000000", 0x6700}, // 22 + 3 > 24
            {"A0 B0 00 00 06", 0x9000, "32F020 32F050"},
        });
}

TEST_F(SimCardModelTest, NextAndPreviousMoveTheRecordPointer)
{
    const std::string r1 = hexOf("Mother") + "FFFFFFFFFFFFFFFF 07 91 24 60 20 11 21 22 FFFFFFFFFFFF";
    const std::string r2 = hexOf("Office") + "FFFFFFFFFFFFFFFF 06 81 22 14 32 54 F6 FFFFFFFFFFFFFF";
    runSession(card, {
                         {kVerifyPin1, 0x9000},
                         {kSelectTelecom, 0x9F22},
                         {"A0 A4 00 00 02 6F3A", 0x9F0F},
                         {"A0 B2 00 02 1C", 0x9000, r1},
                         {"A0 B2 00 02 1C", 0x9000, r2},
                         {"A0 B2 00 04 1C", 0x9000, r2}, // current record
                         {"A0 B2 01 04 1C", 0x9000, r1}, // absolute leaves the pointer
                         {"A0 B2 00 03 1C", 0x9000, r1},
                         {"A0 B2 00 03 1C", 0x9402},
                         {"A0 A2 00 10 05 " + hexOf("Pizza"), 0x9F01}, // SEEK, type 2, from the start
                         {"A0 C0 00 00 01", 0x9000, "06"},
                         {"A0 A2 00 02 05 " + hexOf("Pizza"), 0x9404},             // none after record 6
                         {"A0 A2 00 00 11 " + hexOf("Nobody at all her"), 0x6700}, // patterns of 1-16 bytes
                     });
}

TEST_F(SimCardModelTest, CyclicFileWritesTheOldestRecordAsRecordOne)
{
    const std::string office = hexOf("Office") + "FFFFFFFFFFFFFFFF 06 81 22 14 32 54 F6 FFFFFFFFFFFFFF";
    const std::string fresh = hexOf("Taxi") + std::string(20, 'F') + "04 81 21 43 F5" + std::string(18, 'F');
    runSession(card, {
                         {kVerifyPin1, 0x9000},
                         {kSelectTelecom, 0x9F22},
                         {"A0 A4 00 00 02 6F44", 0x9F0F},
                         {"A0 DC 01 04 1C " + fresh, 0x6B00}, // only PREVIOUS mode on a cyclic file
                         {"A0 DC 00 02 1C " + fresh, 0x6B00},
                         {"A0 DC 05 03 1C " + fresh, 0x9000}, // P1 means nothing in PREVIOUS mode
                         {"A0 B2 00 04 1C", 0x9000, fresh},   // the pointer is on the new record 1
                         {"A0 B2 01 04 1C", 0x9000, fresh},
                         {"A0 B2 02 04 1C", 0x9000, office},
                         {"A0 B2 00 02 1C", 0x9000, office}, // NEXT from record 1 is the older one
                         {"A0 B2 0A 04 1C", 0x9000, std::string(56, 'F')},
                         {"A0 B2 0B 04 1C", 0x9402},
                         {"A0 B2 00 03 1C", 0x9000, fresh},
                         {"A0 B2 00 03 1C", 0x9000, "*"}, // cyclic: previous of record 1 is record 10
                         {"A0 B2 00 02 1C", 0x9000, fresh},
                         {"A0 32 00 00 03 000001", 0x9408}, // INCREASE on a 28-byte record
                     });
    // Ten more dialled numbers push the old ones out.
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(send(card, "A0 DC 00 03 1C " + fresh).sw, 0x9000);
    EXPECT_EQ(kestrel::test::toSpacedHex(send(card, "A0 B2 0A 04 1C").data),
              kestrel::test::toSpacedHex(hexBytes(fresh)));
}

TEST_F(SimCardModelTest, IncreaseAddsToTheAccumulatedCallMeter)
{
    runSession(card, {
                         {kSelectGsm, 0x9F22},
                         {"A0 A4 00 00 02 6F39", 0x9F0F},
                         {"A0 32 00 00 03 000005", 0x9804},
                         {kVerifyPin1, 0x9000},
                         {"A0 32 00 00 03 000005", 0x9F06},
                         {"A0 C0 00 00 06", 0x9000, "00002F 000005"},
                         {"A0 B2 01 04 03", 0x9000, "00002F"},
                         {"A0 B2 02 04 03", 0x9000, "00002A"},
                         {"A0 B2 04 04 03", 0x9000, "000020"},
                         {"A0 B2 05 04 03", 0x9000, "000000"},
                         {"A0 32 00 00 03 FFFFFF", 0x9850},
                         {"A0 32 00 00 02 0000", 0x6703},
                         {"A0 A4 00 00 02 6F37", 0x9F0F},
                         {"A0 32 00 00 03 000001", 0x9408},
                     });
}

TEST_F(SimCardModelTest, WrongPinCountsDownAndBlocksUntilUnblocked)
{
    EXPECT_EQ(send(card, kSelectTelecom).sw, 0x9F22);
    EXPECT_EQ(send(card, "A0 A4 00 00 02 6F3A").sw, 0x9F0F);
    EXPECT_EQ(send(card, "A0 B2 01 04 1C").sw, 0x9804); // CHV1 not verified

    const uint16_t expected[] = {0x9804, 0x9804, 0x9840};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(send(card, kWrongPin1).sw, expected[i]);
        EXPECT_EQ(mfResponse()[18], 0x80 | (2 - i));
    }
    // Blocked: even the right code no longer works, and nothing was read.
    EXPECT_EQ(send(card, kVerifyPin1).sw, 0x9840);
    EXPECT_EQ(send(card, "A0 2C 00 00 10 3132333435363730 34333231FFFFFFFF").sw, 0x9804);
    EXPECT_EQ(mfResponse()[19], 0x89);
    EXPECT_EQ(send(card, "A0 2C 00 00 10 3132333435363738 34333231FFFFFFFF").sw, 0x9000);
    const auto mf = mfResponse();
    EXPECT_EQ(mf[18], 0x83);
    EXPECT_EQ(mf[19], 0x8A);
    EXPECT_EQ(card.data().chv1.code, "4321");
    // The unblock verified the new code for this session.
    runSession(card, {{kSelectTelecom, 0x9F22}, {"A0 A4 00 00 02 6F3A", 0x9F0F}, {"A0 B2 01 04 1C", 0x9000, "*"}});
    // A new power-up forgets the verification.
    card.powerOn();
    runSession(card, {{kSelectTelecom, 0x9F22},
                      {"A0 A4 00 00 02 6F3A", 0x9F0F},
                      {"A0 B2 01 04 1C", 0x9804},
                      {kVerifyPin1, 0x9804},
                      {"A0 20 00 01 08 34333231FFFFFFFF", 0x9000}});
}

TEST_F(SimCardModelTest, TenWrongUnblockCodesBlockForGood)
{
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(send(card, "A0 2C 00 02 10 3030303030303030 31313131FFFFFFFF").sw, i < 9 ? 0x9804 : 0x9840);
    }
    EXPECT_EQ(mfResponse()[21], 0x80);
    EXPECT_EQ(send(card, "A0 2C 00 02 10 3837363534333231 31313131FFFFFFFF").sw, 0x9840);
    EXPECT_EQ(card.data().chv2.code, "5678");
    // CHV2 itself still works: only its unblock code is gone.
    EXPECT_EQ(send(card, kVerifyPin2).sw, 0x9000);
}

TEST_F(SimCardModelTest, DisableEnableAndChangeFollowTheChvStatus)
{
    runSession(card, {
                         {"A0 26 00 02 08 35363738FFFFFFFF", 0x6B00}, // only CHV1 can be disabled
                         {"A0 28 00 01 08 31323334FFFFFFFF", 0x9808}, // already enabled
                         {"A0 26 00 01 08 31313131FFFFFFFF", 0x9804},
                         {"A0 26 00 01 08 31323334FFFFFFFF", 0x9000},
                         {"A0 26 00 01 08 31323334FFFFFFFF", 0x9808},
                         {kVerifyPin1, 0x9808}, // nothing to verify
                         {"A0 24 00 01 10 31323334FFFFFFFF 35353535FFFFFFFF", 0x9808},
                     });
    EXPECT_EQ(mfResponse()[13], 0x81);
    EXPECT_EQ(mfResponse()[18], 0x83); // the good DISABLE gave the try back
    card.powerOn();
    // With CHV1 disabled its files are open after every power-up.
    runSession(card, {
                         {kSelectTelecom, 0x9F22},
                         {"A0 A4 00 00 02 6F3A", 0x9F0F},
                         {"A0 B2 01 04 1C", 0x9000, "*"},
                         {"A0 28 00 01 08 31323334FFFFFFFF", 0x9000},
                         {"A0 28 00 01 08 31323334FFFFFFFF", 0x9808},
                         // CHANGE: a new code that is no 4-8 digit block costs no attempt.
                         {"A0 24 00 02 10 35363738FFFFFFFF 3132FFFFFFFFFFFF", 0x6F00},
                         {"A0 24 00 02 10 30303030FFFFFFFF 24242424FFFFFFFF", 0x6F00},
                         {"A0 24 00 02 10 30303030FFFFFFFF 32343638FFFFFFFF", 0x9804},
                         {"A0 24 00 02 10 35363738FFFFFFFF 3234363830FFFFFF", 0x9000},
                         {kVerifyPin2, 0x9804},
                         {"A0 20 00 02 08 3234363830FFFFFF", 0x9000},
                         {"A0 20 00 03 08 3234363830FFFFFF", 0x6B00},
                         {"A0 20 00 02 07 32343638FFFFFF", 0x6708},
                     });
    EXPECT_EQ(mfResponse()[13], 0x01);
    EXPECT_EQ(card.data().chv2.attemptsLeft, 3);
}

TEST_F(SimCardModelTest, FixedDiallingNeedsChv2)
{
    const std::string entry = hexOf("Taxi") + std::string(20, 'F') + "04 81 21 43 F5" + std::string(18, 'F');
    runSession(card, {
                         {kVerifyPin1, 0x9000},
                         {kSelectTelecom, 0x9F22},
                         {"A0 A4 00 00 02 6F3B", 0x9F0F},
                         {"A0 B2 01 04 1C", 0x9000, "*"},
                         {"A0 DC 03 04 1C " + entry, 0x9804},
                         {kVerifyPin2, 0x9000},
                         {"A0 DC 03 04 1C " + entry, 0x9000},
                         {"A0 B2 03 04 1C", 0x9000, entry},
                     });
}

TEST_F(SimCardModelTest, InvalidatedFileRefusesReadsUntilRehabilitated)
{
    runSession(card, {
                         {kVerifyPin1, 0x9000},
                         {kSelectTelecom, 0x9F22},
                         {"A0 A4 00 00 02 6F3A", 0x9F0F},
                         {"A0 04 00 00 00", 0x9804}, // EF_ADN: INVALIDATE needs CHV2
                         {kVerifyPin2, 0x9000},
                         {"A0 04 00 00 01 00", 0x6700},
                         {"A0 04 00 00 00", 0x9000},
                         {"A0 A4 00 00 02 6F3A", 0x9F0F},
                         {"A0 C0 00 00 0F", 0x9000, "0000 1B58 6F3A 04 00 11 F0 22 00 02 01 1C"},
                         {"A0 B2 01 04 1C", 0x9810},
                         {"A0 DC 01 04 1C " + std::string(56, 'F'), 0x9810},
                         {"A0 44 00 00 00", 0x9000},
                         {"A0 B2 01 04 1C", 0x9000, "*"},
                         {kSelectGsm, 0x9F22},
                         {"A0 A4 00 00 02 6F07", 0x9F0F},
                         {"A0 04 00 00 00", 0x9804}, // EF_IMSI: ADM
                         {"A0 44 00 00 00", 0x9000}, // rehabilitating a valid file changes nothing
                     });
}

TEST_F(SimCardModelTest, ReadableWhenInvalidatedFlagLetsReadsThrough)
{
    SimCardData data = StandardCard::simCard();
    for (SimFile& f : data.files) {
        if (f.id() == 0x6F07) {
            f.invalidated = true;
            f.readableWhenInvalidated = true;
        } else if (f.id() == 0x6F7E) {
            f.invalidated = true;
        }
    }
    SimCardModel other(data);
    other.powerOn();
    runSession(other, {
                          {kVerifyPin1, 0x9000},
                          {kSelectGsm, 0x9F22},
                          {"A0 A4 00 00 02 6F07", 0x9F0F},
                          {"A0 C0 00 00 0F", 0x9000, "*"},
                          {"A0 B0 00 00 09", 0x9000, "08 29 03 10 21 43 65 87 09"},
                          {"A0 A4 00 00 02 6F7E", 0x9F0F},
                          {"A0 B0 00 00 0B", 0x9810},
                          {"A0 44 00 00 00", 0x9000}, // EF_LOCI: REHABILITATE is CHV1
                          {"A0 B0 00 00 0B", 0x9000, "*"},
                      });
    SimCardModel again(data);
    again.powerOn();
    runSession(again, {{kVerifyPin1, 0x9000}, {kSelectGsm, 0x9F22}, {"A0 A4 00 00 02 6F07", 0x9F0F}});
    EXPECT_EQ(send(again, "A0 C0 00 00 0F").data.at(11), 0x04); // invalidated, readable flag
}

TEST_F(SimCardModelTest, RunGsmAlgorithmNeedsChv1AndHonoursTheCounter)
{
    const std::string rand = "00112233445566778899AABBCCDDEEFF";
    std::array<uint8_t, 16> r{};
    const auto bytes = hexBytes(rand);
    std::copy(bytes.begin(), bytes.end(), r.begin());
    const auto expected = SimCardModel::gsmAlgorithm(card.data().ki, r);
    runSession(card, {
                         {"A0 88 00 00 10 " + rand, 0x9804},
                         {kVerifyPin1, 0x9000},
                         {"A0 88 00 00 0F " + rand.substr(0, 30), 0x6710},
                         {"A0 88 00 00 10 " + rand, 0x9F0C},
                         {"A0 C0 00 00 0D", 0x670C},
                     });
    const auto first = send(card, "A0 C0 00 00 0C");
    EXPECT_EQ(first.sw, 0x9000);
    EXPECT_EQ(kestrel::test::toSpacedHex(first.data), kestrel::test::toSpacedHex(expected));
    // Deterministic for one RAND, different for another.
    send(card, "A0 88 00 00 10 " + rand);
    EXPECT_EQ(send(card, "A0 C0 00 00 0C").data, first.data);
    send(card, "A0 88 00 00 10 " + std::string(32, '0'));
    EXPECT_NE(send(card, "A0 C0 00 00 0C").data, first.data);

    SimCardData data = StandardCard::simCard();
    data.options.authenticationExhausted = true;
    SimCardModel exhausted(data);
    exhausted.powerOn();
    runSession(exhausted, {{kVerifyPin1, 0x9000}, {"A0 88 00 00 10 " + rand, 0x9408}});
}

TEST_F(SimCardModelTest, WrongClassInstructionAndParameters)
{
    runSession(card, {
                         {"A1 A4 00 00 02 3F00", 0x6E00},
                         {"00 B0 00 00 01", 0x6E00},
                         {"A0 99 00 00 00", 0x6D00},
                         {"A0 C0 00 00 05", 0x6700}, // nothing waits for GET RESPONSE
                         {"A0 F2 00 00 22", 0x9000, "*"},
                         {"A0 F2 00 00 23", 0x6722},
                         {"A0 F2 01 00 22", 0x6B00},
                         {"A0 FA 00 00 00", 0x9000},
                     });
    const auto status = send(card, "A0 F2 00 00 16");
    ASSERT_EQ(status.data.size(), 0x16u);
    EXPECT_EQ(status.data[4], 0x3F);
    // A command whose data do not match P3 is refused.
    kestrel::emulator::Apdu bad = kestrel::test::apdu("A0 A4 00 00 02 3F");
    EXPECT_EQ(card.process(bad).sw, 0x6701);
    // Without power the card does not work.
    card.powerOff();
    EXPECT_EQ(send(card, kSelectMf).sw, 0x6F00);
}

TEST_F(SimCardModelTest, PulledCardGivesNoAnswerToReset)
{
    card.setPresent(false);
    EXPECT_FALSE(card.present());
    EXPECT_TRUE(card.powerOn().empty());
    EXPECT_EQ(send(card, kSelectMf).sw, 0x6F00);
    card.setPresent(true);
    EXPECT_EQ(card.powerOn(), StandardCard::simCard().atr);
    std::array<uint8_t, 32> memory{};
    EXPECT_FALSE(card.readMemory(memory));
}

TEST(UnsoundCardModel, GivesNoAnswerToReset)
{
    SimCardData data = StandardCard::simCard();
    std::swap(data.files[0], data.files[1]); // EF_ICCID before the MF
    SimCardModel card(data);
    EXPECT_TRUE(card.powerOn().empty());
    EXPECT_EQ(send(card, kSelectMf).sw, 0x6F00);
}

TEST(TelephoneCardModel, AnswersWithItsMemoryOnly)
{
    SimCardModel card(StandardCard::telephoneCard());
    const auto header = card.powerOn();
    ASSERT_EQ(header.size(), 4u);
    EXPECT_EQ(header[1], 0x83);
    std::array<uint8_t, 32> memory{};
    ASSERT_TRUE(card.readMemory(memory));
    EXPECT_EQ(memory, StandardCard::telephoneCard().memory);
    EXPECT_EQ(send(card, kSelectMf).sw, 0x6F00);
}

// ---- toolkit -----------------------------------------------------------------------------------

const std::string kSetUpMenu = "D0 34 81 03 01 25 00 82 02 81 82 85 0B" + hexOf("Kestrel SIM") + "8F 09 01" +
                               hexOf("Services") + "8F 09 02" + hexOf("Greeting") + "8F 06 03" + hexOf("About");

std::string terminalResponse(const std::string& details, const std::string& result, const std::string& extra = "")
{
    const std::string body = "81 03 " + details + " 82 02 82 81 83 01 " + result + extra;
    return body;
}

std::string withHeader(const std::string& ins, const std::string& body)
{
    char p3[4];
    std::snprintf(p3, sizeof p3, "%02X", static_cast<unsigned>(hexBytes(body).size()));
    return "A0 " + ins + " 00 00 " + p3 + " " + body;
}

TEST_F(SimCardModelTest, ToolkitMenuSelectItemAndDisplayText)
{
    const std::string selectItem = "D0 2E 81 03 02 24 00 82 02 81 82 85 08" + hexOf("Services") + "8F 05 01" +
                                   hexOf("News") + "8F 08 02" + hexOf("Weather") + "8F 08 03" + hexOf("Balance");
    const std::string display = "D0 17 81 03 03 21 80 82 02 81 02 8D 0C 04" + hexOf("Sunny, 21 C");
    runSession(card, {
                         {kVerifyPin1, 0x9000},
                         {"A0 12 00 00 10", 0x6F00}, // nothing to fetch yet
                         {"A0 10 00 00 06 1F7FFFFF0000", 0x9136},
                         {"A0 F2 00 00 16", 0x9136, "*"}, // STATUS reports the pending command
                         {"A0 12 00 00 35", 0x6736},
                         {"A0 12 00 00 36", 0x9000, kSetUpMenu},
                         {withHeader("14", terminalResponse("02 25 00", "00")), 0x6F00},    // wrong number
                         {withHeader("14", "81 03 01 25 00 82 02 81 82 83 01 00"), 0x6F00}, // wrong direction
                         {withHeader("14", "81 03 01 25 00 82 02 82"), 0x6F00},             // cut short
                         {withHeader("14", terminalResponse("01 25 00", "00")), 0x9000},
                         {"A0 C2 00 00 09 D3 07 82 02 01 81 90 01 07", 0x6F00}, // no such item
                         {"A0 C2 00 00 09 D1 07 82 02 01 81 90 01 01", 0x6F00}, // not a menu selection
                         {"A0 C2 00 00 09 D3 07 82 02 01 81 90 01 01", 0x9130},
                         {"A0 C2 00 00 09 D3 07 82 02 01 81 90 01 03", 0x9300}, // session busy
                         {"A0 12 00 00 30", 0x9000, selectItem},
                         {withHeader("14", terminalResponse("02 24 00", "00", " 90 01 02")), 0x9119},
                         {"A0 12 00 00 19", 0x9000, display},
                         {withHeader("14", terminalResponse("03 21 80", "00")), 0x9000},
                         {withHeader("14", terminalResponse("03 21 80", "00")), 0x6F00}, // answered already
                         // Select item cancelled: item 0, nothing follows.
                         {"A0 C2 00 00 09 D3 07 82 02 01 81 90 01 01", 0x9130},
                         {"A0 12 00 00 30", 0x9000, "*"},
                         {withHeader("14", terminalResponse("04 24 00", "00", " 10 01 00")), 0x9000},
                         // About.
                         {"A0 C2 00 00 09 D3 07 82 02 01 81 90 01 03", 0x9126},
                         {"A0 12 00 00 26", 0x9000,
                          "D0 24 81 03 05 21 80 82 02 81 02 8D 19 04" + hexOf("Kestrel virtual SIM card")},
                         {withHeader("14", terminalResponse("05 21 80", "00")), 0x9000},
                     });
}

TEST_F(SimCardModelTest, ToolkitGetInputIsEchoed)
{
    const std::string getInput = "D0 1A 81 03 02 23 01 82 02 81 82 8D 0B 04" + hexOf("Your name?") + "91 02 01 14";
    runSession(card, {
                         {kVerifyPin1, 0x9000},
                         {"A0 10 00 00 06 1F7FFFFF0000", 0x9136},
                         {"A0 12 00 00 36", 0x9000, "*"},
                         {withHeader("14", terminalResponse("01 25 00", "00")), 0x9000},
                         {"A0 C2 00 00 09 D3 07 82 02 01 81 90 01 02", 0x911C},
                         {"A0 12 00 00 1C", 0x9000, getInput},
                         {withHeader("14", terminalResponse("02 23 01", "00", " 8D 05 04" + hexOf("Anna"))), 0x9112},
                         {"A0 12 00 00 12", 0x9000, "D0 10 81 03 03 21 80 82 02 81 02 8D 05 04" + hexOf("Anna")},
                         {withHeader("14", terminalResponse("03 21 80", "00")), 0x9000},
                         // Packed 7-bit input: "Anna" in the GSM default alphabet.
                         {"A0 C2 00 00 09 D3 07 82 02 01 81 90 01 02", 0x911C},
                         {"A0 12 00 00 1C", 0x9000, "*"},
                         {withHeader("14", terminalResponse("04 23 01", "00", " 8D 05 00 41 B7 3B 0C")), 0x9112},
                         {"A0 12 00 00 12", 0x9000, "D0 10 81 03 05 21 80 82 02 81 02 8D 05 04" + hexOf("Anna")},
                         {withHeader("14", terminalResponse("05 21 80", "00")), 0x9000},
                         // Cancelled by the user: no echo.
                         {"A0 C2 00 00 09 D3 07 82 02 01 81 90 01 02", 0x911C},
                         {"A0 12 00 00 1C", 0x9000, "*"},
                         {withHeader("14", terminalResponse("06 23 01", "10")), 0x9000},
                     });
}

TEST(ToolkitCardKinds, OnlyAPhase2PlusCardWithTheServiceIsProactive)
{
    struct Case
    {
        const char* name;
        uint8_t phase;
        bool service29;
        uint16_t sw;
    };
    const Case cases[] = {
        {"phase 2+ with service 29", 0x03, true, 0x9136},
        {"phase 2", 0x02, true, 0x9000},
        {"no proactive service", 0x03, false, 0x9000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimCardData data = StandardCard::simCard();
        for (SimFile& f : data.files) {
            if (f.id() == 0x6FAE)
                f.data[0] = c.phase;
            if (f.id() == 0x6F38 && !c.service29)
                f.data[7] = 0x02; // allocated but not activated
        }
        SimCardModel card(data);
        card.powerOn();
        EXPECT_EQ(send(card, "A0 10 00 00 06 1F7FFFFF0000").sw, c.sw);
        EXPECT_EQ(send(card, "A0 C2 00 00 09 D3 07 82 02 01 81 90 01 01").sw, c.sw == 0x9000 ? 0x6F00 : 0x9300);
    }
}

} // namespace
