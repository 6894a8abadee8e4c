// The reader contract on every reader kind that runs in this program; PcscReader runs it in the
// PC/SC program (pcscd must run alone).

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "FakeReaderLibrary.h"
#include "emulator/CardSlot.h"
#include "emulator/SimCardModel.h"
#include "emulator/StandardCard.h"
#include "reader/KvriReader.h"
#include "reader/ReaderContract.h"
#include "reader/SerialReader.h"
#include "reader/SmartApiReader.h"
#include "reader/VirtualLine.h"
#include "reader/VirtualReader.h"

using namespace kestrel;

namespace {

std::unique_ptr<emulator::Icc> standardSim()
{
    return std::make_unique<emulator::SimCardModel>(emulator::StandardCard::simCard());
}

// The serial reader opened on its line directly: open's device names go through the user's
// settings, which this test leaves alone.
class LineSerialReader final : public SerialReader
{
public:
    using SerialReader::openLine;
    using SerialReader::SerialReader;
};

class ReaderContract : public ::testing::Test
{
protected:
    // A reader of one kind, opened, with the standard SIM in it, and how to pull that card.
    struct Kind
    {
        const char* name;
        std::function<std::unique_ptr<CardReader>(std::function<void()>& pull)> make;
    };

    test::LibraryPath m_path{KESTREL_FAKE_READER_DIR};
    test::FakeReaderLibrary m_kvri{KESTREL_FAKE_READER_DIR, "libKVRINT.so"};
    test::FakeReaderLibrary m_smart{KESTREL_FAKE_READER_DIR, "libSMARTAPI.so"};
};

} // namespace

TEST_F(ReaderContract, EveryReaderKindCarriesTheSessionAlike)
{
    ASSERT_TRUE(m_kvri.isLoaded() && m_smart.isLoaded());
    const Kind kinds[] = {
        {"VirtualReader",
         [](std::function<void()>& pull) -> std::unique_ptr<CardReader> {
             auto reader = std::make_unique<VirtualReader>(standardSim());
             VirtualReader* raw = reader.get();
             pull = [raw] { raw->slot().remove(); };
             EXPECT_EQ(reader->open(QString()), CardStatus::Ok);
             return reader;
         }},
        {"SerialReader on the virtual card's serial face",
         [](std::function<void()>& pull) -> std::unique_ptr<CardReader> {
             auto slot = std::make_unique<emulator::CardSlot>();
             emulator::CardSlot* raw = slot.get();
             slot->insert(standardSim());
             auto reader = std::make_unique<LineSerialReader>(std::make_unique<VirtualLine>(std::move(slot)));
             reader->setReaderOffSettleTime(0);
             reader->setResetPulseTime(0);
             pull = [raw] { raw->remove(); };
             EXPECT_EQ(reader->openLine(QStringLiteral("/dev/contract")), CardStatus::Ok);
             return reader;
         }},
        {"KvriReader on the driver library",
         [this](std::function<void()>& pull) -> std::unique_ptr<CardReader> {
             m_kvri.hook<FakeResetFn>("fakeKvriReset")();
             const FakeInsertFn insert = m_kvri.hook<FakeInsertFn>("fakeKvriInsert");
             pull = [insert] { insert(kFakeNoCard); };
             auto reader = std::make_unique<KvriReader>(std::make_shared<KvriDriver>());
             EXPECT_EQ(reader->open(QStringLiteral("KVRI DRIVER")), CardStatus::Ok);
             return reader;
         }},
        {"SmartApiReader on the PCMCIA library",
         [this](std::function<void()>& pull) -> std::unique_ptr<CardReader> {
             m_smart.hook<FakeResetFn>("fakeSmartReset")();
             const FakeInsertFn insert = m_smart.hook<FakeInsertFn>("fakeSmartInsert");
             pull = [insert] { insert(kFakeNoCard); };
             auto reader = std::make_unique<SmartApiReader>();
             EXPECT_EQ(reader->open(QStringLiteral("PCMCIA FY-1300")), CardStatus::Ok);
             return reader;
         }},
    };
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        std::function<void()> pull;
        const std::unique_ptr<CardReader> reader = kind.make(pull);
        ASSERT_TRUE(reader->readerConnected());
        test::readerContractSession(*reader, pull);
        EXPECT_EQ(reader->close(), CardStatus::Ok);
        EXPECT_FALSE(reader->portOpen());
    }
}
