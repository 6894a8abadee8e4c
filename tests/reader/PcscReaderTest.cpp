// PcscReader through the real stack: libpcsclite -> pcscd -> vpcd -> kestrel-sim serve. One pcscd
// serves the whole suite; it is started and stopped here (ctest runs this program alone).

#include "reader/PcscReader.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include "CliRun.h"
#include "PcscStack.h"
#include "cli/CliCommands.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "reader/ReaderContract.h"
#include "reader/ReaderManager.h"
#include "TempXdg.h"

using namespace kestrel;
using kestrel::testing::PcscStack;

namespace {

const QString kReader = QString::fromLatin1(PcscStack::kReader);
constexpr int kWaitMs = 10000;

std::vector<uint8_t> adnEntry()
{
    // "KESTREL" in the alpha field (14 bytes, 0xFF padded), then BCD number +44 7700 900 123.
    std::vector<uint8_t> r{'K', 'E', 'S', 'T', 'R', 'E', 'L'};
    r.resize(14, 0xFF);
    const std::vector<uint8_t> number{0x07, 0x91, 0x44, 0x77, 0x00, 0x09, 0x21, 0xF3};
    r.insert(r.end(), number.begin(), number.end());
    r.resize(28, 0xFF);
    return r;
}

class PcscReaderTest : public ::testing::Test
{
public:
    static void SetUpTestSuite()
    {
        s_skip = PcscStack::unavailableReason();
        if (!s_skip.empty())
            return;
        s_dir = std::make_unique<QTemporaryDir>();
        kestrel::test::useTemporaryXdg(*s_dir);
        s_card = s_dir->filePath(QStringLiteral("card.json")).toStdString();
        QString error;
        if (!emulator::CardFile::save(emulator::StandardCard::simCard(), QString::fromStdString(s_card), error)) {
            s_failure = "cannot write the card file: " + error.toStdString();
            return;
        }
        s_stack = std::make_unique<PcscStack>();
        std::string why;
        if (!s_stack->startService(log("pcscd.log"), why) || !insertCard(why))
            s_failure = why;
    }

    static void TearDownTestSuite()
    {
        s_stack.reset();
        s_dir.reset();
    }

protected:
    void SetUp() override
    {
        if (!s_skip.empty())
            GTEST_SKIP() << s_skip;
        ASSERT_TRUE(s_failure.empty()) << s_failure;
    }

    static std::string log(const char* name) { return s_dir->filePath(QString::fromLatin1(name)).toStdString(); }

    static bool insertCard(std::string& why)
    {
        return s_stack->insertCard(KESTREL_SIM_TOOL, s_card, log("kestrel-sim.log"), why);
    }

    // A reader opened on the vpcd slot with the card activated.
    static std::unique_ptr<PcscReader> activeReader()
    {
        auto reader = std::make_unique<PcscReader>();
        if (reader->open(kReader) != CardStatus::Ok)
            return nullptr;
        unsigned flags = 0;
        if (reader->activateCard(nullptr, flags) != CardStatus::Ok)
            return nullptr;
        return reader;
    }

    static uint16_t command(PcscReader& reader, std::vector<uint8_t> header, std::vector<uint8_t> data = {},
                            CardStatus expected = CardStatus::Ok)
    {
        uint16_t sw = 0;
        EXPECT_EQ(reader.transmit(header[0], header[1], header[2], header[3], header[4], data, true, sw), expected);
        return sw;
    }

    // A reading command; data holds what came back (prefilled with 0xEE).
    static uint16_t read(PcscReader& reader, std::vector<uint8_t> header, std::vector<uint8_t>& data)
    {
        data.assign(header[4] == 0 ? 256 : header[4], 0xEE);
        uint16_t sw = 0;
        EXPECT_EQ(reader.transmit(header[0], header[1], header[2], header[3], header[4], data, false, sw),
                  CardStatus::Ok);
        return sw;
    }

    static void selectAdn(PcscReader& reader)
    {
        EXPECT_EQ(command(reader, {0xA0, 0xA4, 0x00, 0x00, 0x02}, {0x3F, 0x00}) >> 8, 0x9F);
        EXPECT_EQ(command(reader, {0xA0, 0xA4, 0x00, 0x00, 0x02}, {0x7F, 0x10}) >> 8, 0x9F);
        EXPECT_EQ(command(reader, {0xA0, 0xA4, 0x00, 0x00, 0x02}, {0x6F, 0x3A}) >> 8, 0x9F);
    }

    static void verifyChv1(PcscReader& reader)
    {
        EXPECT_EQ(command(reader, {0xA0, 0x20, 0x00, 0x01, 0x08}, {'1', '2', '3', '4', 0xFF, 0xFF, 0xFF, 0xFF}),
                  0x9000);
    }

    static inline std::string s_skip;
    static inline std::string s_failure;
    static inline std::string s_card;
    static inline std::unique_ptr<QTemporaryDir> s_dir;
    static inline std::unique_ptr<PcscStack> s_stack;
};

} // namespace

TEST_F(PcscReaderTest, ListsTheVpcdReadersAfterNothing)
{
    QStringList names;
    ASSERT_TRUE(PcscReader::listPcscReaders(names));
    EXPECT_TRUE(names.contains(kReader)) << names.join(u',').toStdString();
    EXPECT_TRUE(names.contains(QString::fromLatin1(PcscStack::kSecondReader)));
    EXPECT_EQ(PcscReader::liveCount(), 0);

    // Each listed name is put right after "NOTHING": the list stands there in reverse.
    const QStringList devices = ReaderManager::deviceStrings();
    ASSERT_GE(devices.size(), names.size() + 2);
    EXPECT_EQ(devices.front(), QStringLiteral("NOTHING"));
    for (qsizetype i = 0; i < names.size(); ++i)
        EXPECT_EQ(devices[names.size() - i], QStringLiteral("PCSC:") + names[i]);
    EXPECT_EQ(devices[names.size() + 1], QStringLiteral("COM1"));
}

TEST_F(PcscReaderTest, ConnectsAndParsesTheAnswerToReset)
{
    PcscReader reader;
    ASSERT_EQ(reader.open(kReader), CardStatus::Ok);
    EXPECT_TRUE(reader.readerConnected());
    EXPECT_TRUE(reader.portOpen());
    uint16_t status = 0;
    ASSERT_EQ(reader.readStatus(status), CardStatus::Ok);
    EXPECT_EQ(status, 0x40);

    ReaderBuffer atr(40);
    unsigned flags = 0;
    ASSERT_EQ(reader.activateCard(&atr, flags), CardStatus::Ok) << reader.lastServiceErrorText().toStdString();
    EXPECT_TRUE(reader.cardConnected());
    EXPECT_TRUE(reader.cardActive());
    EXPECT_EQ(std::vector<uint8_t>(atr.received().begin(), atr.received().end()),
              emulator::StandardCard::simCard().atr);
    EXPECT_EQ(reader.atrParameters().K, 6);
    EXPECT_EQ(reader.atrParameters().FI, 1);
    EXPECT_EQ(reader.atrParameters().DI, 1);
    EXPECT_EQ(reader.atrParameters().T, 0);
    EXPECT_EQ(flags & 1u, 0u);

    // Nothing of the answer is left for a second read, and nothing can be sent this way.
    ReaderBuffer more(4);
    EXPECT_EQ(reader.exchangeBytes(more, 0, 2, 1), 0);
    ReaderBuffer send(4);
    EXPECT_EQ(reader.exchangeBytes(send, 2, 2, 1), 0);

    EXPECT_EQ(reader.close(), CardStatus::Ok);
    EXPECT_FALSE(reader.cardConnected());
    EXPECT_FALSE(reader.contextEstablished());
    EXPECT_FALSE(reader.readerConnected());
}

TEST_F(PcscReaderTest, SelectThenGetResponse)
{
    auto reader = activeReader();
    ASSERT_TRUE(reader);
    const uint16_t sw = command(*reader, {0xA0, 0xA4, 0x00, 0x00, 0x02}, {0x3F, 0x00});
    ASSERT_EQ(sw >> 8, 0x9F);
    std::vector<uint8_t> response;
    ASSERT_EQ(read(*reader, {0xA0, 0xC0, 0x00, 0x00, static_cast<uint8_t>(sw & 0xFF)}, response), 0x9000);
    // GSM 11.11 directory response: file id 3F00 in bytes 5-6, type 01 (MF) in byte 7.
    EXPECT_EQ(response[4], 0x3F);
    EXPECT_EQ(response[5], 0x00);
    EXPECT_EQ(response[6], 0x01);
}

TEST_F(PcscReaderTest, ReadRecordNeedsChv1)
{
    auto reader = activeReader();
    ASSERT_TRUE(reader);
    selectAdn(*reader);

    // Refused: the card answers with the status word alone; the data area is left as it was.
    std::vector<uint8_t> record;
    EXPECT_EQ(read(*reader, {0xA0, 0xB2, 0x01, 0x04, 0x1C}, record), 0x9804);
    EXPECT_EQ(record, std::vector<uint8_t>(28, 0xEE));

    verifyChv1(*reader);
    EXPECT_EQ(command(*reader, {0xA0, 0xDC, 0x01, 0x04, 0x1C}, adnEntry()), 0x9000);
    EXPECT_EQ(read(*reader, {0xA0, 0xB2, 0x01, 0x04, 0x1C}, record), 0x9000);
    EXPECT_EQ(record, adnEntry());
}

TEST_F(PcscReaderTest, WrongChv1ThenRight)
{
    auto reader = activeReader();
    ASSERT_TRUE(reader);
    EXPECT_EQ(command(*reader, {0xA0, 0x20, 0x00, 0x01, 0x08}, {'0', '0', '0', '0', 0xFF, 0xFF, 0xFF, 0xFF}), 0x9804);
    // The right code restores the attempts.
    verifyChv1(*reader);
}

TEST_F(PcscReaderTest, ReadWithZeroP3AsksForTheStatusWordOnly)
{
    auto reader = activeReader();
    ASSERT_TRUE(reader);
    // GET RESPONSE with P3 = 0 and nothing waiting: a card answering with its status word alone
    // gives that status word, and none of the 256 data bytes are touched.
    std::vector<uint8_t> data;
    const uint16_t sw = read(*reader, {0xA0, 0xC0, 0x00, 0x00, 0x00}, data);
    EXPECT_EQ(sw >> 8, 0x67);
    EXPECT_EQ(data, std::vector<uint8_t>(256, 0xEE));
}

TEST_F(PcscReaderTest, SecondOpenKeepsTheFirstReader)
{
    PcscReader reader;
    ASSERT_EQ(reader.open(kReader), CardStatus::Ok);
    // The second slot holds no card: had the name changed, activation would find none.
    EXPECT_EQ(reader.open(QString::fromLatin1(PcscStack::kSecondReader)), CardStatus::Ok);
    EXPECT_EQ(reader.readerName(), kReader);
    unsigned flags = 0;
    EXPECT_EQ(reader.activateCard(nullptr, flags), CardStatus::Ok);
}

TEST_F(PcscReaderTest, EmptySlotAndUnknownReader)
{
    {
        PcscReader reader;
        ASSERT_EQ(reader.open(QString::fromLatin1(PcscStack::kSecondReader)), CardStatus::Ok);
        uint16_t status = 0xFFFF;
        ASSERT_EQ(reader.readStatus(status), CardStatus::Ok);
        EXPECT_EQ(status, 0);
        unsigned flags = 0;
        EXPECT_EQ(reader.activateCard(nullptr, flags), CardStatus::CardNotInserted);
    }
    {
        // "PCSC:" alone: the context opens, every card command then fails.
        PcscReader reader;
        ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
        uint16_t status = 0;
        EXPECT_EQ(reader.readStatus(status), CardStatus::GeneralReaderError);
        EXPECT_EQ(reader.readerCardOn(), CardStatus::GeneralReaderError);
        EXPECT_NE(reader.lastServiceError(), 0);
        uint16_t sw = 0;
        std::vector<uint8_t> data(2);
        EXPECT_EQ(reader.transmit(0xA0, 0xF2, 0, 0, 2, data, false, sw), CardStatus::GeneralReaderError);
    }
    {
        // What a PC/SC reader does not offer.
        PcscReader reader;
        std::array<uint8_t, 32> memory{};
        EXPECT_EQ(reader.readMemoryCard(memory), CardStatus::InvalidReaderIdentification);
        EXPECT_EQ(reader.sendReaderSetting(0x10), CardStatus::NonSpecificError);
        EXPECT_EQ(reader.startReader(), CardStatus::NonSpecificError);
        EXPECT_EQ(reader.close(), CardStatus::Ok);
    }
    EXPECT_EQ(PcscReader::liveCount(), 0);
}

TEST_F(PcscReaderTest, ExclusiveConnectionKeepsOthersOut)
{
    auto first = activeReader();
    ASSERT_TRUE(first);
    PcscReader second;
    ASSERT_EQ(second.open(kReader), CardStatus::Ok);
    unsigned flags = 0;
    EXPECT_EQ(second.activateCard(nullptr, flags), CardStatus::GeneralReaderError);
    EXPECT_FALSE(second.lastServiceErrorText().isEmpty());
    first.reset();
    // Once the first lets go, the second gets the card.
    second.deactivateCard();
    EXPECT_EQ(second.activateCard(nullptr, flags), CardStatus::Ok);
}

TEST_F(PcscReaderTest, PulledCardFailsClearlyAndComesBack)
{
    auto reader = activeReader();
    ASSERT_TRUE(reader);
    verifyChv1(*reader);

    // SIGTERM ends kestrel-sim cleanly: the card is out of the reader.
    EXPECT_EQ(s_stack->removeCard(), 0);
    uint16_t sw = 0;
    std::vector<uint8_t> mf{0x3F, 0x00};
    EXPECT_EQ(reader->transmit(0xA0, 0xA4, 0, 0, 2, mf, true, sw), CardStatus::GeneralReaderError);
    ASSERT_TRUE(PcscStack::waitForCard(false, kWaitMs));
    EXPECT_EQ(reader->transmit(0xA0, 0xA4, 0, 0, 2, mf, true, sw), CardStatus::GeneralReaderError);
    uint16_t status = 0xFFFF;
    EXPECT_EQ(reader->readStatus(status), CardStatus::Ok);
    EXPECT_EQ(status, 0);
    reader->deactivateCard();
    unsigned flags = 0;
    EXPECT_EQ(reader->activateCard(nullptr, flags), CardStatus::CardNotInserted);

    // The card again: after a new activation the next command works, and what was written
    // before it was pulled is still on it.
    std::string why;
    ASSERT_TRUE(insertCard(why)) << why;
    reader->deactivateCard();
    ASSERT_EQ(reader->activateCard(nullptr, flags), CardStatus::Ok) << reader->lastServiceErrorText().toStdString();
    selectAdn(*reader);
    verifyChv1(*reader);
    std::vector<uint8_t> record;
    EXPECT_EQ(read(*reader, {0xA0, 0xB2, 0x01, 0x04, 0x1C}, record), 0x9000);
    EXPECT_EQ(command(*reader, {0xA0, 0xDC, 0x01, 0x04, 0x1C}, adnEntry()), 0x9000);
}

// The session every reader kind carries through alike (reader/ReaderContract.h); the card is put
// back in afterwards.
TEST_F(PcscReaderTest, CarriesTheReaderContract)
{
    PcscReader reader;
    ASSERT_EQ(reader.open(kReader), CardStatus::Ok);
    test::readerContractSession(reader, [] {
        EXPECT_EQ(s_stack->removeCard(), 0);
        EXPECT_TRUE(PcscStack::waitForCard(false, kWaitMs));
    });
    std::string why;
    ASSERT_TRUE(insertCard(why)) << why;
}

// A card that asks for more time without end (NULL procedure bytes) holds pcscd itself: the
// command ends at the reader's time limit all the same, and once the card is back a fresh
// connection works.
TEST_F(PcscReaderTest, CardThatNeverAnswersEndsAtTheTimeLimit)
{
    s_stack->removeCard();
    ASSERT_TRUE(PcscStack::waitForCard(false, kWaitMs));
    std::string why;
    ASSERT_TRUE(s_stack->insertCard(KESTREL_SIM_TOOL, s_card, log("stalled.log"), why, {"--nulls-from", "2"})) << why;
    auto reader = activeReader();
    ASSERT_TRUE(reader);
    reader->setCommandTimeLimit(1500);
    EXPECT_EQ(command(*reader, {0xA0, 0xA4, 0x00, 0x00, 0x02}, {0x3F, 0x00}) >> 8, 0x9F);
    command(*reader, {0xA0, 0xA4, 0x00, 0x00, 0x02}, {0x7F, 0x10}, CardStatus::StatusError);
    EXPECT_FALSE(reader->contextEstablished());

    s_stack->removeCard(); // the stalled call comes back and lets go of its connection
    ASSERT_TRUE(PcscStack::waitForCard(false, kWaitMs));
    ASSERT_TRUE(insertCard(why)) << why;
    reader->deactivateCard();
    unsigned flags = 0;
    ASSERT_EQ(reader->activateCard(nullptr, flags), CardStatus::Ok) << reader->lastServiceErrorText().toStdString();
    selectAdn(*reader);
}

// The standard card with CHV1 disabled, as a phone reads it through pcscd: every EF of DF_TELECOM
// and DF_GSM selected from the MF down, its whole body read (READ BINARY, or READ RECORD of every
// record), each answering 90 00 with the bytes of the card file, and no VERIFY needed.
TEST_F(PcscReaderTest, ReadsEveryFileOfAStandardCardWithChv1Disabled)
{
    emulator::SimCardData card = emulator::StandardCard::simCard();
    card.chv1.enabled = false;
    const std::string file = s_dir->filePath(QStringLiteral("chv1-disabled.json")).toStdString();
    QString error;
    ASSERT_TRUE(emulator::CardFile::save(card, QString::fromStdString(file), error)) << error.toStdString();
    EXPECT_EQ(s_stack->removeCard(), 0);
    ASSERT_TRUE(PcscStack::waitForCard(false, kWaitMs));
    std::string why;
    ASSERT_TRUE(s_stack->insertCard(KESTREL_SIM_TOOL, file, log("chv1-disabled.log"), why)) << why;
    auto reader = activeReader();
    ASSERT_TRUE(reader);

    std::string filesRead;
    for (const emulator::SimFile& f : card.files) {
        if (f.isDirectory() || f.path.size() != 3)
            continue;
        SCOPED_TRACE(emulator::formatPath(f.path));
        std::vector<uint8_t> response;
        for (uint16_t id : f.path)
            response = test::contract::select(*reader, id);
        ASSERT_GE(response.size(), 15u);
        std::vector<uint8_t> body;
        std::vector<uint8_t> piece;
        const bool records = f.structure != emulator::FileStructure::Transparent;
        const int step = records ? f.recordLength : 0xFF;
        for (int at = 0; at < f.size(); at += step) {
            const auto length = static_cast<uint8_t>(std::min(step, f.size() - at));
            const std::vector<uint8_t> header =
                records
                    ? std::vector<uint8_t>{0xA0, 0xB2, static_cast<uint8_t>(at / step + 1), 0x04, length}
                    : std::vector<uint8_t>{0xA0, 0xB0, static_cast<uint8_t>(at >> 8), static_cast<uint8_t>(at), length};
            EXPECT_EQ(read(*reader, header, piece), 0x9000) << "at " << at;
            body.insert(body.end(), piece.begin(), piece.end());
        }
        EXPECT_EQ(body, f.data);
        filesRead += (filesRead.empty() ? "" : " ") + f.name;
    }
    RecordProperty("filesRead", filesRead);

    // The suite's own card back in the reader.
    reader.reset();
    EXPECT_EQ(s_stack->removeCard(), 0);
    ASSERT_TRUE(PcscStack::waitForCard(false, kWaitMs));
    ASSERT_TRUE(insertCard(why)) << why;
}

TEST_F(PcscReaderTest, CliApduThroughPcsc)
{
    const test::CliOutput r = test::captureOutput([](QTextStream& out, QTextStream& err) {
        return cli::runCli({QStringLiteral("--device"), QStringLiteral("PCSC:") + kReader, QStringLiteral("apdu"),
                            QStringLiteral("A0A40000023F00"), QStringLiteral("A0C0000022"), QStringLiteral("--text")},
                           out, err);
    });
    ASSERT_EQ(r.code, cli::kExitOk) << r.err.toStdString();
    const QStringList lines = r.lines();
    ASSERT_EQ(lines.size(), 2) << r.out.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("9F22"));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(" 9000"))) << lines[1].toStdString();
    EXPECT_EQ(lines[1].size(), 0x22 * 2 + 5);
}

TEST_F(PcscReaderTest, CardEndsWhenTheServiceGoesAway)
{
    // pcscd stopping closes vpcd's connection: kestrel-sim says so and exits 0.
    EXPECT_EQ(s_stack->stopService(), 0);
    EXPECT_EQ(s_stack->waitForCardProcess(kWaitMs), 0);

    // Without the service the PC/SC list is empty at once, and the device list still complete.
    QStringList names{QStringLiteral("stale")};
    EXPECT_FALSE(PcscReader::listPcscReaders(names));
    EXPECT_TRUE(names.isEmpty());
    EXPECT_EQ(ReaderManager::deviceStrings().at(1), QStringLiteral("COM1"));
    PcscReader reader;
    EXPECT_EQ(reader.open(kReader), CardStatus::GeneralReaderError);
    EXPECT_FALSE(reader.lastServiceErrorText().isEmpty());

    // Back for whatever runs after this.
    std::string why;
    ASSERT_TRUE(s_stack->startService(log("pcscd.log"), why)) << why;
    ASSERT_TRUE(insertCard(why)) << why;
}
