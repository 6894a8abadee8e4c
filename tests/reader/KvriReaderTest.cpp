#include "reader/KvriReader.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "reader/ReaderCommands.h"

#include "FakeReaderLibrary.h"
#include "HexBytes.h"
#include "codec/DialRecord.h"
#include "codec/FixedText.h"
#include "emulator/StandardCard.h"

using namespace kestrel;
using kestrel::test::command;
using kestrel::test::pinBlock;
using kestrel::test::Reply;

namespace {

// Each test gets a driver of its own on the fake driver library, reset to a standard SIM in the slot.
class KvriReaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_fake.isLoaded());
        m_reset = m_fake.hook<FakeResetFn>("fakeKvriReset");
        m_insert = m_fake.hook<FakeInsertFn>("fakeKvriInsert");
        m_fail = m_fake.hook<FakeKvriFailFn>("fakeKvriFail");
        m_count = m_fake.hook<FakeCountFn>("fakeKvriRequestCount");
        m_requestAt = m_fake.hook<FakeKvriRequestAtFn>("fakeKvriRequestAt");
        ASSERT_TRUE(m_reset && m_insert && m_fail && m_count && m_requestAt);
        m_reset();
    }

    std::vector<FakeKvriRequest> requests(int from = 0) const
    {
        std::vector<FakeKvriRequest> out;
        for (int i = from; i < m_count(); ++i) {
            FakeKvriRequest r{};
            m_requestAt(i, &r);
            out.push_back(r);
        }
        return out;
    }

    std::vector<uint32_t> functions(int from = 0) const
    {
        std::vector<uint32_t> out;
        for (const FakeKvriRequest& r : requests(from))
            out.push_back(r.words[3]);
        return out;
    }

    FakeKvriRequest lastRequest() const { return requests().back(); }

    test::LibraryPath m_path{KESTREL_FAKE_READER_DIR};
    test::FakeReaderLibrary m_fake{KESTREL_FAKE_READER_DIR, "libKVRINT.so"};
    std::shared_ptr<KvriDriver> m_driver = std::make_shared<KvriDriver>();
    FakeResetFn m_reset = nullptr;
    FakeInsertFn m_insert = nullptr;
    FakeKvriFailFn m_fail = nullptr;
    FakeCountFn m_count = nullptr;
    FakeKvriRequestAtFn m_requestAt = nullptr;
};

} // namespace

TEST_F(KvriReaderTest, OpenAndCloseDriver)
{
    {
        KvriReader reader(m_driver);
        EXPECT_EQ(reader.startReader(), CardStatus::NonSpecificError); // not before the driver is open
        EXPECT_EQ(reader.close(), CardStatus::Ok);                     // nothing to close
        EXPECT_EQ(m_count(), 0);

        ASSERT_EQ(reader.open(QStringLiteral("KVRI DRIVER")), CardStatus::Ok);
        EXPECT_TRUE(reader.driverOpen());
        EXPECT_TRUE(reader.readerConnected());
        EXPECT_TRUE(reader.portOpen());
        ASSERT_EQ(m_count(), 1);
        FakeKvriRequest open = lastRequest();
        EXPECT_EQ(open.inOneBlock, 1);
        EXPECT_EQ(std::vector<uint32_t>(open.words, open.words + 7), (std::vector<uint32_t>{0, 0, 1, 0x7A02, 0, 0, 0}));

        EXPECT_EQ(reader.open(QString()), CardStatus::Ok); // already open: no second request
        EXPECT_EQ(m_count(), 1);

        EXPECT_EQ(reader.close(), CardStatus::Ok);
        EXPECT_FALSE(reader.driverOpen());
        EXPECT_FALSE(reader.readerConnected());
        EXPECT_FALSE(reader.portOpen());
        FakeKvriRequest close = lastRequest();
        EXPECT_EQ(std::vector<uint32_t>(close.words, close.words + 7),
                  (std::vector<uint32_t>{0, 0, 1, 0x7A03, 0, 0, 0}));

        ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
    }
    // The destructor closes a driver left open.
    EXPECT_EQ(functions(), (std::vector<uint32_t>{0x7A02, 0x7A03, 0x7A02, 0x7A03}));

    // A failed close still forgets the driver.
    KvriReader reader(m_driver);
    ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
    m_fail(0x7A03, 1025, 1);
    EXPECT_EQ(reader.close(), CardStatus::PortOperationError);
    EXPECT_FALSE(reader.driverOpen());
}

TEST_F(KvriReaderTest, ControlRequests)
{
    struct Case
    {
        const char* what;
        std::function<CardStatus(KvriReader&)> call;
        uint32_t number;
        bool hasParameter;
        uint32_t parameter;
    };
    const Case cases[] = {
        {"start reader", [](KvriReader& r) { return r.startReader(); }, 1, false, 0},
        {"card on", [](KvriReader& r) { return r.readerCardOn(); }, 4, true, 0x81202580},
        {"line even", [](KvriReader& r) { return r.setLineParameters(2, 9600); }, 5, true, 0x82202580},
        {"line odd", [](KvriReader& r) { return r.setLineParameters(1, 9600); }, 5, true, 0x81202580},
        {"line other", [](KvriReader& r) { return r.setLineParameters(0, 19200); }, 5, true, 0x80204B00},
        {"card off", [](KvriReader& r) { return r.readerCardOff(); }, 3, false, 0},
        {"shut down", [](KvriReader& r) { return r.shutDownReader(); }, 2, false, 0},
    };
    KvriReader reader(m_driver);
    ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
    for (const Case& c : cases) {
        EXPECT_EQ(c.call(reader), CardStatus::Ok) << c.what;
        const FakeKvriRequest r = lastRequest();
        EXPECT_EQ(r.inOneBlock, 1) << c.what;
        EXPECT_EQ(r.words[3], 0x7A13u) << c.what;
        EXPECT_EQ(r.words[2], c.number) << c.what;
        EXPECT_EQ(r.hasParameter, c.hasParameter ? 1 : 0) << c.what;
        EXPECT_EQ(r.parameter, c.parameter) << c.what;
        // Zeroed before each request: nothing but the words the request uses.
        EXPECT_EQ(r.words[0] | r.words[4] | r.words[5] | r.words[6], 0u) << c.what;
        EXPECT_EQ(r.words[1] != 0, c.hasParameter) << c.what;
    }
    EXPECT_TRUE(reader.readerConnected());

    m_fail(0x7A13, 1021, 1);
    EXPECT_EQ(reader.startReader(), CardStatus::PortNotSet);
    EXPECT_FALSE(reader.readerConnected());

    // The driver moves blocks only: the reader's command bytes and byte primitives do nothing.
    const int before = m_count();
    EXPECT_EQ(reader.sendReaderSetting(0x1A), CardStatus::NonSpecificError);
    EXPECT_EQ(reader.sendPps(), CardStatus::Ok);
    EXPECT_FALSE(reader.writeEchoedByte(0x01));
    EXPECT_EQ(reader.readByte(), 0);
    EXPECT_TRUE(reader.byteAvailable());
    reader.flushInput(); // returns although a byte is always "available"
    EXPECT_EQ(m_count(), before);
}

// Answer to reset, SELECT MF with GET RESPONSE, VERIFY CHV1 and READ RECORD of EF_ADN, each byte
// through the driver's transfer requests and the base class's T=0 transport.
TEST_F(KvriReaderTest, SessionThroughTheEngine)
{
    KvriReader reader(m_driver);
    ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
    const int start = m_count();

    ReaderBuffer atr(64);
    unsigned flags = 0xFFFF;
    ASSERT_EQ(reader.activateCard(&atr, flags), CardStatus::Ok);
    EXPECT_EQ(test::toSpacedHex(atr.received()), "3B 96 11 00 4B 45 53 54 52 4C");
    EXPECT_EQ(flags & 1u, 0u);
    EXPECT_TRUE(reader.cardActive());

    // Status, card on, the ten answer bytes one transfer each, then the line (even parity).
    const std::vector<FakeKvriRequest> activation = requests(start);
    ASSERT_EQ(activation.size(), 13u);
    EXPECT_EQ(activation[0].words[3], 0x7A11u);
    EXPECT_EQ(activation[1].words[2], 4u);
    for (size_t i = 2; i < 12; ++i) {
        const FakeKvriRequest& t = activation[i];
        EXPECT_EQ(t.words[3], 0x7A18u);
        EXPECT_NE(t.words[0], 0u);   // the data buffer
        EXPECT_EQ(t.words[1], 500u); // 50 retries of 10 ms
        EXPECT_EQ(t.words[2], 0u);
        EXPECT_EQ(t.words[4], 1u); // capacity
        EXPECT_EQ(t.words[5], 0u); // nothing to send
        EXPECT_EQ(t.inOneBlock, 1);
    }
    EXPECT_EQ(activation[12].words[2], 5u);
    EXPECT_EQ(activation[12].parameter, 0x82202580u);

    const int beforeSelect = m_count();
    Reply r = command(reader, {0xA0, 0xA4, 0x00, 0x00, 0x02}, {0x3F, 0x00});
    ASSERT_EQ(r.status, CardStatus::Ok);
    ASSERT_EQ(r.sw, 0x9F22);
    // The header goes out in one transfer that takes its echo and the procedure byte back.
    const FakeKvriRequest header = requests(beforeSelect).front();
    EXPECT_EQ(header.words[3], 0x7A18u);
    EXPECT_EQ(header.words[5], 5u);
    EXPECT_EQ(header.words[4], 6u);
    EXPECT_EQ(header.words[1], 1000u); // 100 retries of 10 ms

    r = command(reader, {0xA0, 0xC0, 0x00, 0x00, 0x22});
    ASSERT_EQ(r.sw, 0x9000);
    EXPECT_EQ(r.data[4], 0x3F);
    EXPECT_EQ(r.data[5], 0x00);

    for (uint16_t id : {0x7F10, 0x6F3A}) {
        r = command(reader, {0xA0, 0xA4, 0x00, 0x00, 0x02}, {static_cast<uint8_t>(id >> 8), static_cast<uint8_t>(id)});
        ASSERT_EQ(r.sw >> 8, 0x9F) << std::hex << id;
    }
    EXPECT_EQ(command(reader, {0xA0, 0xB2, 0x01, 0x04, 28}).sw, 0x9804);
    r = command(reader, {0xA0, 0x20, 0x00, 0x01, 0x08}, pinBlock("1234"));
    ASSERT_EQ(r.status, CardStatus::Ok);
    EXPECT_EQ(r.sw, 0x9000);
    r = command(reader, {0xA0, 0xB2, 0x01, 0x04, 28});
    ASSERT_EQ(r.sw, 0x9000);
    EXPECT_EQ(fixedText(DecodeDialRecord(r.data, 1, {}).name), "Mother");

    EXPECT_EQ(reader.deactivateCard(), CardStatus::Ok);
    EXPECT_EQ(lastRequest().words[2], 3u); // card off
    EXPECT_EQ(command(reader, {0xA0, 0xB2, 0x01, 0x04, 28}).status, CardStatus::CardNotActive);
}

TEST_F(KvriReaderTest, CardNotInserted)
{
    m_insert(kFakeNoCard);
    KvriReader reader(m_driver);
    ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
    uint16_t status = 0xFFFF;
    ASSERT_EQ(reader.readStatus(status), CardStatus::Ok);
    EXPECT_EQ(status & 0x40, 0);
    EXPECT_FALSE(reader.cardPresent());
    unsigned flags = 0;
    EXPECT_EQ(reader.activateCard(nullptr, flags), CardStatus::CardNotInserted);
    EXPECT_FALSE(reader.cardPowered());
}

TEST_F(KvriReaderTest, TelephoneCardMemory)
{
    m_insert(kFakeTelephoneCard);
    KvriReader reader(m_driver);
    ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
    const int start = m_count();
    std::array<uint8_t, 32> memory{};
    ASSERT_EQ(reader.readMemoryCard(memory), CardStatus::Ok);
    EXPECT_EQ(memory, emulator::StandardCard::telephoneCard().memory); // as delivered, no bit reversal

    const std::vector<FakeKvriRequest> r = requests(start);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].words[3], 0x7A0Au);
    EXPECT_EQ(r[0].words[2], 0x1200u);
    EXPECT_EQ(r[1].words[3], 0x7A11u);
    EXPECT_EQ(r[2].words[3], 0x7A36u);
    EXPECT_NE(r[2].words[0], 0u);
    EXPECT_EQ(r[2].memoryLength, 32u);
    EXPECT_EQ(r[2].memoryStart, 0u);
    EXPECT_EQ(r[2].memoryAreaClean, 1);
    EXPECT_EQ(r[3].words[3], 0x7A20u);
    EXPECT_EQ(r[3].words[2], 2u);
}

TEST_F(KvriReaderTest, MemoryCardFailures)
{
    struct Case
    {
        const char* what;
        int32_t card;
        uint32_t failFunction;
        uint32_t failCode;
        CardStatus expected;
        std::vector<uint32_t> functions;
    };
    const Case cases[] = {
        {"empty slot", kFakeNoCard, 0, 0, CardStatus::CardNotInserted, {0x7A0A, 0x7A11, 0x7A20}},
        // A failed status request leaves no status word, which reads as an empty slot first.
        {"status fails", kFakeTelephoneCard, 0x7A11, 1014, CardStatus::CardNotInserted, {0x7A0A, 0x7A11, 0x7A20}},
        {"mode refused", kFakeTelephoneCard, 0x7A0A, 1002, CardStatus::StatusError, {0x7A0A}},
        {"read fails", kFakeTelephoneCard, 0x7A36, 1020, CardStatus::WrongPin, {0x7A0A, 0x7A11, 0x7A36, 0x7A20}},
    };
    for (const Case& c : cases) {
        m_reset();
        m_insert(c.card);
        if (c.failFunction)
            m_fail(c.failFunction, c.failCode, 1);
        KvriReader reader(m_driver);
        ASSERT_EQ(reader.open(QString()), CardStatus::Ok) << c.what;
        const int start = m_count();
        std::array<uint8_t, 32> memory;
        memory.fill(0xEE);
        EXPECT_EQ(reader.readMemoryCard(memory), c.expected) << c.what;
        EXPECT_EQ(functions(start), c.functions) << c.what;
        EXPECT_EQ(memory[0], 0xEE) << c.what; // untouched on failure
    }
}

// Every driver error code and the status it is reported as, through a failing status request.
TEST_F(KvriReaderTest, DriverErrorMapping)
{
    std::vector<std::pair<uint32_t, int>> table;
    for (uint32_t code = 1000; code <= 1010; ++code)
        table.emplace_back(code, static_cast<int>(code) - 897);
    table.emplace_back(1011, 127);
    table.emplace_back(1012, 128);
    table.emplace_back(1013, 129);
    for (uint32_t code = 1014; code <= 1023; ++code)
        table.emplace_back(code, static_cast<int>(code) - 884);
    const std::pair<uint32_t, int> others[] = {
        {1024, 140}, {1025, 141}, {1026, 142}, {1027, 140}, {3, 138},   {4, 141},          {5, 141}, {6, 141},
        {7, 103},    {11, 105},   {12, 104},   {129, 131},  {130, 133}, {1, 140},          {2, 140}, {8, 140},
        {13, 140},   {128, 140},  {131, 140},  {263, 140},  {999, 140}, {0xFFFFFFFF, 140},
    };
    table.insert(table.end(), std::begin(others), std::end(others));

    KvriReader reader(m_driver);
    ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
    for (const auto& [code, expected] : table) {
        m_fail(0x7A11, code, 1);
        uint16_t status = 0x1234;
        EXPECT_EQ(toInt(reader.readStatus(status)), expected) << "driver code " << code;
        EXPECT_EQ(KvriDriver::lastError(), code);
        EXPECT_EQ(status, 0x1234); // not touched by a failed request
    }
    uint16_t status = 0;
    EXPECT_EQ(reader.readStatus(status), CardStatus::Ok);
}

TEST_F(KvriReaderTest, TransferFailureReceivesNothing)
{
    KvriReader reader(m_driver);
    ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
    unsigned flags = 0;
    ASSERT_EQ(reader.activateCard(nullptr, flags), CardStatus::Ok);
    m_fail(0x7A18, 1007, 1);
    const Reply r = command(reader, {0xA0, 0xA4, 0x00, 0x00, 0x02}, {0x3F, 0x00});
    EXPECT_EQ(r.status, CardStatus::ErrorInterpretingCommand); // the header's echo never came
}

TEST_F(KvriReaderTest, MissingLibraryOrEntryPoint)
{
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    struct Case
    {
        const char* what;
        std::string folder;
        KvriDriver::PlatformFamily family;
        uint32_t code;
        CardStatus openStatus;
    };
    const Case cases[] = {
        {"no library", empty.path().toStdString(), KvriDriver::PlatformFamily::NT, 263, CardStatus::NonSpecificError},
        {"no entry point", KESTREL_PARTIAL_READER_DIR, KvriDriver::PlatformFamily::NT, 3,
         CardStatus::ReaderNotConnected},
        {"no driver for the platform", KESTREL_FAKE_READER_DIR, KvriDriver::PlatformFamily::Other, 263,
         CardStatus::NonSpecificError},
    };
    for (const Case& c : cases) {
        const test::LibraryPath path(c.folder);
        auto driver = std::make_shared<KvriDriver>(c.family);
        KvriDriver::Block block{};
        block[KvriDriver::kCodeWord] = KvriDriver::kReadStatus;
        EXPECT_EQ(driver->request(block), c.code) << c.what;
        EXPECT_EQ(block[KvriDriver::kCodeWord], c.code) << c.what;
        EXPECT_EQ(block[KvriDriver::kFlagsWord] & 1u, 1u) << c.what;
        EXPECT_FALSE(driver->loadError().empty()) << c.what;

        KvriReader reader(driver);
        EXPECT_EQ(reader.open(QString()), c.openStatus) << c.what;
        EXPECT_FALSE(reader.driverOpen()) << c.what;
    }
    EXPECT_EQ(m_count(), 0); // the fake driver was never called
}

TEST(KvriDriver, LibraryNames)
{
    EXPECT_EQ(KvriDriver::platformFamily(), KvriDriver::PlatformFamily::NT);
    EXPECT_STREQ(KvriDriver::libraryName(KvriDriver::PlatformFamily::NT), "KVRINT");
    EXPECT_STREQ(KvriDriver::libraryName(KvriDriver::PlatformFamily::Windows9x), "KVRI95");
    EXPECT_EQ(KvriDriver::libraryName(KvriDriver::PlatformFamily::Other), nullptr);
    {
        const test::LibraryPath path("/opt/readers");
        EXPECT_EQ(ReaderLibrary::fileFor("KVRINT"), "/opt/readers/libKVRINT.so");
    }
    EXPECT_EQ(ReaderLibrary::fileFor("KVRINT"), "libKVRINT.so");
}
