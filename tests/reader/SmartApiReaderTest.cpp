#include "reader/SmartApiReader.h"

#include <algorithm>
#include <string>
#include <vector>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "reader/ReaderCommands.h"

#include "FakeReaderLibrary.h"
#include "HexBytes.h"
#include "codec/DialRecord.h"
#include "codec/FixedText.h"

using namespace kestrel;
using kestrel::test::command;
using kestrel::test::pinBlock;
using kestrel::test::Reply;

namespace {

// The reader on a clock of its own: every wait moves the clock on at once, so the reader's
// time-outs (2000 ms for the answer to reset among them) run out without real waiting.
class ClockedReader final : public SmartApiReader
{
public:
    // Closes while the reader still runs on this clock (the base class's destructor would wait on
    // the real one).
    ~ClockedReader() override { close(); }

    int64_t now = 0;

protected:
    void sleepMs(int ms) override { now += std::max(ms, 0); }
    int64_t clockMs() const override { return now; }
};

const std::vector<uint8_t> kAtr = {0x3B, 0x96, 0x11, 0x00, 'K', 'E', 'S', 'T', 'R', 'L'};

using Call = std::vector<int32_t>;
// The register writes of the reader's start: idle, then registers 3 and 4 cleared.
const std::vector<Call> kStart = {{kSmartOpOutp, 2, 0x80}, {kSmartOpOutp, 3, 0}, {kSmartOpOutp, 4, 0}};
const std::vector<Call> kShutDown = {{kSmartOpOutp, 2, 0x80}};

std::vector<Call> operator+(std::vector<Call> a, const std::vector<Call>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class SmartApiReaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_fake.isLoaded());
        m_reset = m_fake.hook<FakeResetFn>("fakeSmartReset");
        m_insert = m_fake.hook<FakeInsertFn>("fakeSmartInsert");
        m_set = m_fake.hook<FakeSmartSetFn>("fakeSmartSet");
        m_count = m_fake.hook<FakeCountFn>("fakeSmartCallCount");
        m_callAt = m_fake.hook<FakeSmartCallAtFn>("fakeSmartCallAt");
        ASSERT_TRUE(m_reset && m_insert && m_set && m_count && m_callAt);
        m_reset();
    }

    // The calls from index `from` on: op and its arguments (an Outp as op, register, value).
    std::vector<Call> calls(int from = 0, bool withData = false) const
    {
        std::vector<Call> out;
        for (int i = from; i < m_count(); ++i) {
            FakeSmartCall c{};
            m_callAt(i, &c);
            if (!withData && (c.op == kSmartOpRead || c.op == kSmartOpWrite))
                continue;
            if (c.op == kSmartOpOutp)
                out.push_back({c.op, c.a, c.b});
            else if (c.op == kSmartOpOpen)
                out.push_back({c.op, c.a, c.b, c.c});
            else
                out.push_back({c.op, c.a});
        }
        return out;
    }

    int writes(int from) const
    {
        int n = 0;
        for (int i = from; i < m_count(); ++i) {
            FakeSmartCall c{};
            m_callAt(i, &c);
            n += c.op == kSmartOpWrite;
        }
        return n;
    }

    void openAndActivate(ClockedReader& reader)
    {
        ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
        unsigned flags = 0;
        ASSERT_EQ(reader.activateCard(nullptr, flags), CardStatus::Ok);
    }

    test::LibraryPath m_path{KESTREL_FAKE_READER_DIR};
    test::FakeReaderLibrary m_fake{KESTREL_FAKE_READER_DIR, "libSMARTAPI.so"};
    FakeResetFn m_reset = nullptr;
    FakeInsertFn m_insert = nullptr;
    FakeSmartSetFn m_set = nullptr;
    FakeCountFn m_count = nullptr;
    FakeSmartCallAtFn m_callAt = nullptr;
};

} // namespace

TEST_F(SmartApiReaderTest, OpenAndClose)
{
    {
        ClockedReader reader;
        ASSERT_TRUE(reader.hasLibrary());
        ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
        EXPECT_TRUE(reader.deviceOpen());
        EXPECT_TRUE(reader.portOpen());
        EXPECT_TRUE(reader.readerConnected());
        EXPECT_EQ(calls(), (std::vector<Call>{{kSmartOpOpen, 1, 256, 256}} + kShutDown + kStart));

        // Opening again closes the device first.
        const int before = m_count();
        ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
        EXPECT_EQ(calls(before),
                  std::vector<Call>({{kSmartOpClose, 5}, {kSmartOpOpen, 1, 256, 256}}) + kShutDown + kStart);

        const int beforeClose = m_count();
        EXPECT_EQ(reader.close(), CardStatus::Ok);
        EXPECT_EQ(calls(beforeClose), (kShutDown + std::vector<Call>{{kSmartOpClose, 5}}));
        EXPECT_FALSE(reader.deviceOpen());
        EXPECT_FALSE(reader.portOpen());
        EXPECT_FALSE(reader.readerConnected());
        EXPECT_EQ(reader.close(), CardStatus::Ok); // nothing left to close
        EXPECT_EQ(m_count(), beforeClose + 2);

        ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
    }
    // The destructor closes the device; the card's waiting-time entry points are never called.
    const std::vector<Call> all = calls();
    EXPECT_EQ(all.back(), (Call{kSmartOpClose, 5}));
    EXPECT_EQ(std::count_if(all.begin(), all.end(), [](const Call& c) { return c[0] == kSmartOpCwt; }), 0);
}

// Power-up through the registers, the answer to reset from the answer buffer, then SELECT MF with
// GET RESPONSE, VERIFY CHV1 and READ RECORD over the data stream.
TEST_F(SmartApiReaderTest, SessionThroughTheEngine)
{
    ClockedReader reader;
    ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
    const int start = m_count();
    ReaderBuffer atr(64);
    unsigned flags = 0xFFFF;
    ASSERT_EQ(reader.activateCard(&atr, flags), CardStatus::Ok);
    EXPECT_EQ(atr.received().size(), kAtr.size());
    EXPECT_TRUE(std::equal(kAtr.begin(), kAtr.end(), atr.data.begin()));
    EXPECT_EQ(flags & 1u, 0u);
    EXPECT_TRUE(reader.cardActive());
    EXPECT_EQ(calls(start, true), (std::vector<Call>{{kSmartOpOutp, 2, 0x0B},
                                                     {kSmartOpOutp, 2, 0x03},
                                                     {kSmartOpOutp, 3, 3},
                                                     {kSmartOpOutp, 4, 0x80},
                                                     {kSmartOpOutp, 1, 0x40},
                                                     {kSmartOpOutp, 1, 0xFE},
                                                     {kSmartOpOutp, 1, 0x15}}));
    EXPECT_EQ(m_fake.hook<FakeSmartParityFn>("fakeSmartParity")(), 2);

    Reply r = command(reader, {0xA0, 0xA4, 0x00, 0x00, 0x02}, {0x3F, 0x00});
    ASSERT_EQ(r.status, CardStatus::Ok);
    ASSERT_EQ(r.sw, 0x9F22);
    r = command(reader, {0xA0, 0xC0, 0x00, 0x00, 0x22});
    ASSERT_EQ(r.sw, 0x9000);
    EXPECT_EQ(r.data[4], 0x3F);
    EXPECT_EQ(r.data[18], 0x83);
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

    const int beforeOff = m_count();
    EXPECT_EQ(reader.deactivateCard(), CardStatus::Ok);
    EXPECT_EQ(calls(beforeOff), kStart);
    EXPECT_EQ(command(reader, {0xA0, 0xB2, 0x01, 0x04, 28}).status, CardStatus::CardNotActive);
}

// A length byte of 0x0A frames nine answer bytes (indexes 2 to 10); the engine gets those nine and
// finds the last historical byte missing.
TEST_F(SmartApiReaderTest, LengthByteFramesTheAnswer)
{
    m_set(kSmartLengthByte, 0x0A);
    ClockedReader reader;
    ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
    ASSERT_EQ(reader.powerCard(1), CardStatus::Ok);
    EXPECT_EQ(reader.answerCount(), 9u);
    std::vector<uint8_t> got;
    while (reader.byteAvailable())
        got.push_back(reader.readRawByte());
    EXPECT_EQ(got, std::vector<uint8_t>(kAtr.begin(), kAtr.begin() + 9));

    ASSERT_EQ(reader.powerCard(0), CardStatus::Ok);
    ReaderBuffer atr(64);
    unsigned flags = 0;
    EXPECT_EQ(reader.activateCard(&atr, flags), CardStatus::BadAnswerToReset);
    EXPECT_EQ(atr.count, 9u);
}

TEST_F(SmartApiReaderTest, NoAnswerToResetLeavesTheReaderShutDown)
{
    m_set(kSmartNoAnswer, 1);
    ClockedReader reader;
    ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
    const int start = m_count();
    const int64_t began = reader.now;
    unsigned flags = 0;
    EXPECT_EQ(reader.activateCard(nullptr, flags), CardStatus::ErrorInDataBlock);
    EXPECT_GT(reader.now - began, 2000);
    EXPECT_LT(reader.now - began, 2100);
    EXPECT_FALSE(reader.readerConnected());
    EXPECT_FALSE(reader.cardPowered());
    EXPECT_EQ(calls(start), (std::vector<Call>{{kSmartOpOutp, 2, 0x0B}} + kStart + kShutDown));
}

TEST_F(SmartApiReaderTest, TransmitIsTriedTwice)
{
    ClockedReader reader;
    openAndActivate(reader);

    // The first header is lost: no procedure byte within the wait gives 103, and the second try
    // gets through.
    m_set(kSmartDropWrites, 1);
    int start = m_count();
    Reply r = command(reader, {0xA0, 0xA4, 0x00, 0x00, 0x02}, {0x3F, 0x00});
    EXPECT_EQ(r.status, CardStatus::Ok);
    EXPECT_EQ(r.sw, 0x9F22);
    EXPECT_EQ(writes(start), 3); // header, header again, data

    // Lost twice: the second 103 is the result.
    m_set(kSmartDropWrites, 2);
    start = m_count();
    r = command(reader, {0xA0, 0xA4, 0x00, 0x00, 0x02}, {0x3F, 0x00});
    EXPECT_EQ(r.status, CardStatus::ErrorInterpretingCommand);
    EXPECT_EQ(writes(start), 2);

    // Other failures are not repeated.
    reader.deactivateCard();
    start = m_count();
    EXPECT_EQ(command(reader, {0xA0, 0xA4, 0x00, 0x00, 0x02}, {0x3F, 0x00}).status, CardStatus::CardNotActive);
    EXPECT_EQ(writes(start), 0);
}

TEST_F(SmartApiReaderTest, StatusShowsTheCard)
{
    ClockedReader reader;
    ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
    uint16_t status = 0;
    ASSERT_EQ(reader.readStatus(status), CardStatus::Ok);
    EXPECT_EQ(status, 0x40);
    EXPECT_TRUE(reader.cardPresent());

    m_insert(kFakeNoCard);
    ASSERT_EQ(reader.readStatus(status), CardStatus::Ok);
    EXPECT_EQ(status, 0);
    unsigned flags = 0;
    EXPECT_EQ(reader.activateCard(nullptr, flags), CardStatus::CardNotInserted);
}

TEST_F(SmartApiReaderTest, PowerModes)
{
    ClockedReader reader;
    ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
    int start = m_count();
    EXPECT_EQ(reader.powerCard(0), CardStatus::Ok);
    EXPECT_EQ(calls(start), kStart);

    start = m_count();
    EXPECT_EQ(reader.powerCard(2), CardStatus::Ok);
    EXPECT_EQ(calls(start), (kStart + std::vector<Call>{{kSmartOpOutp, 2, 0x0B},
                                                        {kSmartOpOutp, 2, 0x03},
                                                        {kSmartOpOutp, 3, 3},
                                                        {kSmartOpOutp, 4, 0x80}}));
    EXPECT_EQ(reader.answerCount(), kAtr.size());

    start = m_count();
    EXPECT_EQ(reader.powerCard(7), CardStatus::NonSpecificError);
    EXPECT_EQ(calls(start), kShutDown);
    EXPECT_FALSE(reader.readerConnected());

    EXPECT_EQ(reader.readerCardOn(), CardStatus::NonSpecificError);
    EXPECT_EQ(reader.sendReaderSetting(0x1A), CardStatus::Ok);
    EXPECT_EQ(reader.sendPps(), CardStatus::Ok);
}

TEST_F(SmartApiReaderTest, DeviceAndRegisterFailures)
{
    struct Case
    {
        const char* what;
        FakeSmartFault fault;
        int32_t value;
        std::function<CardStatus(ClockedReader&)> call;
        CardStatus expected;
    };
    const auto open = [](ClockedReader& r) { return r.open(QString()); };
    const Case cases[] = {
        {"device does not open", kSmartFailOpen, 1, open, CardStatus::SmartcardInitializationError},
        {"device never ready", kSmartNotReady, 1, open, CardStatus::NonSpecificError},
        {"register 2 fails", kSmartFailRegister, 2, open, CardStatus::NonSpecificError},
        {"register 3 fails", kSmartFailRegister, 3, open, CardStatus::NonSpecificError},
    };
    for (const Case& c : cases) {
        m_reset();
        m_set(c.fault, c.value);
        ClockedReader reader;
        EXPECT_EQ(c.call(reader), c.expected) << c.what;
        EXPECT_FALSE(reader.readerConnected()) << c.what;
    }

    // Failures once the device is open.
    struct OpenCase
    {
        const char* what;
        int32_t reg;
        std::function<CardStatus(ClockedReader&)> call;
        CardStatus expected;
    };
    uint16_t status = 0;
    const OpenCase openCases[] = {
        {"line register", 1, [](ClockedReader& r) { return r.setLineParameters(2, 9600); },
         CardStatus::PortOperationError},
        {"status register", 2, [&](ClockedReader& r) { return r.readStatus(status); }, CardStatus::NonSpecificError},
        {"data register", 0, [](ClockedReader& r) { return r.powerCard(1); }, CardStatus::NonSpecificError},
        {"timing register", 3, [](ClockedReader& r) { return r.powerCard(1); }, CardStatus::NonSpecificError},
    };
    for (const OpenCase& c : openCases) {
        m_reset();
        ClockedReader reader;
        ASSERT_EQ(reader.open(QString()), CardStatus::Ok) << c.what;
        m_set(kSmartFailRegister, c.reg);
        EXPECT_EQ(c.call(reader), c.expected) << c.what;
    }
}

TEST_F(SmartApiReaderTest, WithoutDevice)
{
    ClockedReader reader;
    uint16_t status = 0;
    EXPECT_EQ(reader.readStatus(status), CardStatus::PortNotSet);
    EXPECT_EQ(reader.powerCard(1), CardStatus::PortNotSet);
    EXPECT_EQ(reader.startReader(), CardStatus::PortNotSet);
    EXPECT_EQ(reader.shutDownReader(), CardStatus::PortNotSet);
    EXPECT_EQ(reader.setLineParameters(2, 9600), CardStatus::ReaderNotConnected);
    ReaderBuffer buffer(4);
    EXPECT_EQ(reader.exchangeBytes(buffer, 2, 2, 10), 0);
    EXPECT_FALSE(reader.byteAvailable());
    EXPECT_EQ(reader.readByte(), -1);
    EXPECT_EQ(reader.close(), CardStatus::Ok);
    EXPECT_EQ(m_count(), 0);
}

TEST_F(SmartApiReaderTest, MissingLibraryOrEntryPoint)
{
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    for (const std::string& folder : {empty.path().toStdString(), std::string(KESTREL_PARTIAL_READER_DIR)}) {
        const test::LibraryPath path(folder);
        ClockedReader reader;
        EXPECT_FALSE(reader.hasLibrary()) << folder;
        EXPECT_EQ(reader.open(QString()), CardStatus::ReaderLibraryError) << folder;
        EXPECT_FALSE(reader.portOpen()) << folder;
    }
    EXPECT_EQ(m_count(), 0);
}

// exchangeBytes puts what comes back after the bytes sent, as if the reader had echoed them.
TEST_F(SmartApiReaderTest, ExchangeKeepsTheSentBytes)
{
    ClockedReader reader;
    openAndActivate(reader);
    const std::vector<uint8_t> header = {0xA0, 0xF2, 0x00, 0x00, 0x16}; // STATUS
    ReaderBuffer buffer(6, header);
    EXPECT_EQ(reader.exchangeBytes(buffer, 5, 2, 100), 6);
    EXPECT_TRUE(std::equal(header.begin(), header.end(), buffer.data.begin()));
    EXPECT_EQ(buffer.data[5], 0xF2); // ACK: all data follows

    // A capacity no larger than what is sent takes nothing back.
    ReaderBuffer rest(0x18);
    EXPECT_EQ(reader.exchangeBytes(rest, 0, 2, 100), 0x18);
    ReaderBuffer none(2, std::vector<uint8_t>{0xA0, 0xF2});
    EXPECT_EQ(reader.exchangeBytes(none, 2, 2, 100), 2);
}
