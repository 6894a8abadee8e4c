#include "sim/CheckAndRepair.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SimBench.h"
#include "base/StringTable.h"

using namespace kestrel;
using namespace kestrel::test;
using namespace kestrel::gsm::fid;

namespace {

constexpr int kDialLength = 28; // the standard card's dialling-number records
constexpr int kLinkByte = kDialLength - 1;
constexpr int kSmsLength = 176;
const char* const kSerial = "Serial Number: 89420012345678901231";

std::span<uint8_t> record(emulator::SimCardData& d, uint16_t file, int n)
{
    emulator::SimFile* f = findFile(d, file);
    return std::span<uint8_t>(f->data).subspan(static_cast<std::size_t>((n - 1) * f->recordLength),
                                               static_cast<std::size_t>(f->recordLength));
}

std::vector<uint8_t> recordOf(const emulator::SimCardData& d, uint16_t file, int n)
{
    const emulator::SimFile* f = findFile(d, file);
    const auto begin = f->data.begin() + (n - 1) * f->recordLength;
    return std::vector<uint8_t>(begin, begin + f->recordLength);
}

// The first extension record nothing uses.
int freeExtension(emulator::SimCardData& d, uint16_t ext)
{
    for (int i = 1; i <= findFile(d, ext)->recordCount(); ++i) {
        if (record(d, ext, i)[0] == 0xFF)
            return i;
    }
    return 0;
}

void fillExtension(emulator::SimCardData& d, uint16_t ext, int i)
{
    const std::vector<uint8_t> piece = {0x02, 0x0A, 0x21, 0x43, 0x65, 0x87, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    std::copy(piece.begin(), piece.end(), record(d, ext, i).begin());
}

void clearService(emulator::SimCardData& d, int service)
{
    // EF_SST: two bits per service, service 1 in the low bits of byte 0.
    emulator::SimFile* sst = findFile(d, kEfSst);
    const int bit = 2 * ((service - 1) % 4);
    sst->data[static_cast<std::size_t>((service - 1) / 4)] &= static_cast<uint8_t>(~(0x03 << bit));
}

QStringList lines(const QString& text)
{
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n")));
    QStringList out = text.split(QStringLiteral("\r\n"));
    out.removeLast();
    return out;
}

// The brief report of a card without findings in any section.
QStringList cleanBrief()
{
    return {QString::fromLatin1(kSerial),
            QString(),
            QStringLiteral("Dialing Numbers: "),
            QStringLiteral("OK"),
            QStringLiteral("Fixed Dialing Numbers:"),
            QStringLiteral("OK"),
            QStringLiteral("Last Numbers Dialed:"),
            QStringLiteral("OK"),
            QStringLiteral("Other Links:"),
            QStringLiteral("OK"),
            QStringLiteral("SMS:"),
            QStringLiteral("OK"),
            QStringLiteral("Extension 1:"),
            QStringLiteral("OK"),
            QStringLiteral("Extension 2:"),
            QStringLiteral("OK")};
}

// The clean brief report with `found` in place of the "OK" under `header`.
QStringList briefWith(const QString& header, const QStringList& found)
{
    QStringList out = cleanBrief();
    const int at = static_cast<int>(out.indexOf(header));
    EXPECT_GE(at, 0) << header.toStdString();
    out.removeAt(at + 1);
    for (int i = 0; i < found.size(); ++i)
        out.insert(at + 1 + i, found[i]);
    return out;
}

struct Report
{
    bool ok = false;
    QString brief;
    QString detailed;
    bool errors = false;
    bool pin2 = false;
};

class CodePrompt final : public PinPrompt
{
public:
    std::optional<SecretText> askPin(int chv) override { return SecretText(chv == 2 ? "5678" : "1234"); }
};

class CheckAndRepairTest : public ::testing::Test
{
protected:
    void use(const emulator::SimCardData& data)
    {
        bench = std::make_unique<SimBench>(data);
        bench->sim->setPinPrompt(&prompt);
    }

    // What the check command does: everything read fresh, then the report from the images.
    Report check()
    {
        Report r;
        SimCard& sim = *bench->sim;
        sim.flushCaches();
        EXPECT_TRUE(sim.openCard(true, false, true, false));
        EXPECT_TRUE(CheckAndRepair(sim).loadLinkMaps()) << static_cast<int>(sim.lastStatus());
        sim.closeCard();
        bench->clearLog();
        r.ok = CheckAndRepair(sim).checkAndRepair(r.brief, r.detailed, r.errors, r.pin2, false);
        EXPECT_TRUE(bench->recorder->log.empty()) << "the check sends no command";
        return r;
    }

    Report repair(bool chv2 = true)
    {
        Report r;
        SimCard& sim = *bench->sim;
        EXPECT_TRUE(sim.openCard(true, chv2, true, false));
        r.ok = CheckAndRepair(sim).checkAndRepair(r.brief, r.detailed, r.errors, r.pin2, true);
        sim.closeCard();
        return r;
    }

    const emulator::SimCardData& card() { return bench->model->data(); }

    CodePrompt prompt;
    std::unique_ptr<SimBench> bench;
};

TEST_F(CheckAndRepairTest, SerialNumberDigits)
{
    struct Case
    {
        std::vector<uint8_t> identity;
        const char* digits;
    } const cases[] = {
        {{0x03, 0x98, 0x24, 0x10}, "894201"},
        {{0x03, 0x98, 0xF4, 0x10}, "894"}, // ends at the first nibble F
        {{0x02, 0xBA, 0xDC}, "ABCD"},      // nibbles 10-14 as capital letters
        {{0x02, 0xE1, 0x2F}, "1E"},        // low nibble first, then the F ends it
        {{0x00}, ""},
        {{0x05, 0x21}, "12"}, // a length past the bytes held reads what is there
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckAndRepair::serialNumber(c.identity), QString::fromLatin1(c.digits));
}

TEST_F(CheckAndRepairTest, SmsRecordsJudged)
{
    // Bytes from 0: status, K, the service-centre address, FO at K + 2, TP-MR for SMS-SUBMIT, then
    // the address length in digits.
    struct Case
    {
        std::vector<uint8_t> head;
        int finding;
    } const cases[] = {
        {{0x00, 0x0C}, 0},                                              // free
        {{0xFF, 0x0C}, 0},                                              // never used
        {{0x01, 0x07, 0x91, 0, 0, 0, 0, 0, 0, 0x04, 0x0B}, 0},          // SMS-DELIVER, 11 digits
        {{0x07, 0x07, 0x91, 0, 0, 0, 0, 0, 0, 0x01, 0x00, 0x14}, 0},    // SMS-SUBMIT, 20 digits
        {{0x07, 0x07, 0x91, 0, 0, 0, 0, 0, 0, 0x01, 0x00, 0x15}, 2324}, // 21 digits
        {{0x01, 0x07, 0x91, 0, 0, 0, 0, 0, 0, 0x04, 0x15}, 2324},
        {{0x01, 0x0C}, 2324}, // address of 12 bytes
        {{0x01, 0xFF}, 2324},
        {{0x01, 0x07, 0x91, 0, 0, 0, 0, 0, 0, 0x06, 0x2A, 0x0C}, 0},    // SMS-STATUS-REPORT, 12 digits
        {{0x01, 0x07, 0x91, 0, 0, 0, 0, 0, 0, 0x02, 0x2A, 0x15}, 2324}, // ... of 21 digits
        {{0x01, 0x07, 0x91, 0, 0, 0, 0, 0, 0, 0x03, 0x05}, 2325},       // reserved type
        {{0x01, 0x00, 0x04, 0x0B}, 0},                                  // no service-centre address
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> r(kSmsLength, 0xFF);
        std::copy(c.head.begin(), c.head.end(), r.begin());
        EXPECT_EQ(CheckAndRepair::smsFinding(r), c.finding) << toSpacedHex(c.head);
    }
    // A record too short to hold what it announces cannot be read either.
    EXPECT_EQ(CheckAndRepair::smsFinding(std::vector<uint8_t>{0x01, 0x07, 0x91}), 2324);
}

TEST_F(CheckAndRepairTest, CleanStandardCard)
{
    // UCS2 names, user-data headers, 8-bit messages and status reports are nothing to repair.
    use(emulator::StandardCard::simCard({.modernRecords = true}));
    EXPECT_EQ(lines(check().brief), cleanBrief());

    use(emulator::StandardCard::simCard());
    const Report r = check();
    ASSERT_TRUE(r.ok);
    EXPECT_FALSE(r.errors);
    EXPECT_FALSE(r.pin2);
    EXPECT_EQ(lines(r.brief), cleanBrief());
    const QStringList detailed = lines(r.detailed);
    // Serial number and empty line, seven headers, a line for every record of every file.
    EXPECT_EQ(detailed.size(), 2 + 7 + 250 + 10 + 10 + 2 + 20 + 10 + 10);
    EXPECT_EQ(detailed.mid(2, 3),
              (QStringList{QStringLiteral("Dialing Numbers: "), QStringLiteral(" 1\tOK"), QStringLiteral(" 2\tOK")}));
    EXPECT_EQ(detailed.count(QStringLiteral(" 250\tOK")), 1);
}

TEST_F(CheckAndRepairTest, BrokenAdnLinkAtRecordSeven)
{
    use(standardCardWith([](emulator::SimCardData& d) { record(d, kEfAdn, 7)[kLinkByte] = 0x20; }));
    const std::vector<uint8_t> before = recordOf(card(), kEfAdn, 7);
    const Report r = check();
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.errors);
    EXPECT_FALSE(r.pin2);
    EXPECT_EQ(lines(r.brief), briefWith(QStringLiteral("Dialing Numbers: "),
                                        {QStringLiteral(" 7\tLink to invalid extension->Remove Link to Extension")}));
    const QStringList detailed = lines(r.detailed);
    EXPECT_EQ(detailed.value(3 + 6), QStringLiteral(" 7\tLink to invalid extension->Remove Link to Extension"));
    EXPECT_EQ(detailed.value(3 + 5), QStringLiteral(" 6\tOK"));

    const Report fixed = repair(false);
    ASSERT_TRUE(fixed.ok) << static_cast<int>(bench->sim->lastStatus());
    EXPECT_TRUE(fixed.errors);
    EXPECT_EQ(lines(fixed.detailed).value(3 + 6), QStringLiteral(" 7\tLink to invalid extension->Repaired"));
    std::vector<uint8_t> expected = before;
    expected[kLinkByte] = 0xFF;
    EXPECT_EQ(recordOf(card(), kEfAdn, 7), expected) << "only the link byte changes";

    const Report again = check();
    EXPECT_FALSE(again.errors);
    EXPECT_EQ(lines(again.brief), cleanBrief());
}

// One broken card per case: the brief report's findings, whether PIN2 is needed, what the repair
// leaves on the card; a second check of the repaired card is clean.
TEST_F(CheckAndRepairTest, FindingsAndRepairs)
{
    struct Case
    {
        const char* name;
        std::function<void(emulator::SimCardData&)> breakCard;
        const char* header;
        QStringList found;
        bool pin2;
        std::function<void(const emulator::SimCardData&)> repaired;
    };
    int lostExt1 = 0;
    int lostExt2 = 0;
    int emptyExt2 = 0;
    const Case cases[] = {
        {"ADN link 0",
         [](emulator::SimCardData& d) { record(d, kEfAdn, 2)[kLinkByte] = 0x00; },
         "Dialing Numbers: ",
         {QStringLiteral(" 2\tLink to invalid extension->Remove Link to Extension")},
         false,
         [](const emulator::SimCardData& d) { EXPECT_EQ(recordOf(d, kEfAdn, 2)[kLinkByte], 0xFF); }},
        {"FDN link to an empty record",
         [&](emulator::SimCardData& d) {
             emptyExt2 = freeExtension(d, kEfExt2);
             record(d, kEfFdn, 1)[kLinkByte] = static_cast<uint8_t>(emptyExt2);
         },
         "Fixed Dialing Numbers:",
         {QStringLiteral(" 1\tLink to empty extension->Remove Link to Extension")},
         true,
         [](const emulator::SimCardData& d) { EXPECT_EQ(recordOf(d, kEfFdn, 1)[kLinkByte], 0xFF); }},
        {"LND link past the file (cyclic file)",
         [](emulator::SimCardData& d) { record(d, kEfLnd, 2)[kLinkByte] = 0x0B; },
         "Last Numbers Dialed:",
         {QStringLiteral(" 2\tLink to invalid extension->Remove Link to Extension")},
         false,
         [](const emulator::SimCardData& d) {
             // The order of the last numbers stays: 1 Office, 2 the number without a name.
             const emulator::SimCardData standard = emulator::StandardCard::simCard();
             EXPECT_EQ(recordOf(d, kEfLnd, 1), recordOf(standard, kEfLnd, 1));
             std::vector<uint8_t> second = recordOf(standard, kEfLnd, 2);
             EXPECT_EQ(recordOf(d, kEfLnd, 2), second);
         }},
        {"MSISDN link to an empty record",
         [](emulator::SimCardData& d) { record(d, kEfMsisdn, 1)[kLinkByte] = 0x0A; },
         "Other Links:",
         {QStringLiteral(" 1\tLink to empty extension->Remove Link to Extension")},
         false,
         [](const emulator::SimCardData& d) { EXPECT_EQ(recordOf(d, kEfMsisdn, 1)[kLinkByte], 0xFF); }},
        {"lost EXT1 record",
         [&](emulator::SimCardData& d) {
             lostExt1 = freeExtension(d, kEfExt1);
             fillExtension(d, kEfExt1, lostExt1);
         },
         "Extension 1:",
         {},
         false,
         [&](const emulator::SimCardData& d) {
             EXPECT_EQ(recordOf(d, kEfExt1, lostExt1), std::vector<uint8_t>(13, 0xFF));
         }},
        {"lost EXT2 record",
         [&](emulator::SimCardData& d) {
             lostExt2 = freeExtension(d, kEfExt2);
             fillExtension(d, kEfExt2, lostExt2);
         },
         "Extension 2:",
         {},
         true,
         [&](const emulator::SimCardData& d) {
             EXPECT_EQ(recordOf(d, kEfExt2, lostExt2), std::vector<uint8_t>(13, 0xFF));
         }},
        {"unreadable messages",
         [](emulator::SimCardData& d) {
             record(d, kEfSms, 2)[1] = 0x0C;
             const std::span<uint8_t> r = record(d, kEfSms, 3);
             r[r[1] + 2] |= 0x02;
         },
         "SMS:",
         {QStringLiteral(" 2\tUnsupported number format->Remove Item"),
          QStringLiteral(" 3\tUnsupported message type->Remove Item")},
         false,
         [](const emulator::SimCardData& d) {
             std::vector<uint8_t> freed(kSmsLength, 0xFF);
             freed[0] = 0x00;
             EXPECT_EQ(recordOf(d, kEfSms, 2), freed);
             EXPECT_EQ(recordOf(d, kEfSms, 3), freed);
             EXPECT_EQ(recordOf(d, kEfSms, 1), recordOf(emulator::StandardCard::simCard(), kEfSms, 1));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        use(standardCardWith(c.breakCard));
        QStringList found = c.found;
        if (found.isEmpty()) // the lost extension record, numbered once the card is made
            found = {QStringLiteral(" %1\tLost extension->Remove Item").arg(c.pin2 ? lostExt2 : lostExt1)};
        const Report r = check();
        ASSERT_TRUE(r.ok);
        EXPECT_TRUE(r.errors);
        EXPECT_EQ(r.pin2, c.pin2);
        EXPECT_EQ(lines(r.brief), briefWith(QString::fromLatin1(c.header), found));

        const Report fixed = repair();
        ASSERT_TRUE(fixed.ok) << static_cast<int>(bench->sim->lastStatus());
        EXPECT_TRUE(fixed.errors);
        EXPECT_TRUE(fixed.detailed.contains(QStringLiteral("->Repaired\r\n")));
        EXPECT_FALSE(fixed.detailed.contains(QStringLiteral("->Remove")));
        c.repaired(card());

        const Report again = check();
        EXPECT_FALSE(again.errors);
        EXPECT_EQ(lines(again.brief), cleanBrief());
    }
}

TEST_F(CheckAndRepairTest, LaterLinksOfAChainAreNotReported)
{
    // ADN record 7 links to a filled extension record whose own link is broken: only the first
    // link of a chain is judged, and the extension record is linked, not lost.
    use(standardCardWith([](emulator::SimCardData& d) {
        const int x = freeExtension(d, kEfExt1);
        fillExtension(d, kEfExt1, x);
        record(d, kEfExt1, x)[12] = 0x00; // a later link broken: not reported
        record(d, kEfAdn, 7)[kLinkByte] = static_cast<uint8_t>(x);
    }));
    const Report r = check();
    EXPECT_FALSE(r.errors);
    EXPECT_EQ(lines(r.brief), cleanBrief());
}

TEST_F(CheckAndRepairTest, ExtensionLinkedFromTwoFilesIsNotLost)
{
    use(standardCardWith([](emulator::SimCardData& d) {
        const uint8_t shared = record(d, kEfAdn, 4)[kLinkByte];
        ASSERT_NE(shared, 0xFF) << "the standard card's long number has an extension";
        // EF_MSISDN record 2 gets a long number continued in the same extension record.
        std::vector<uint8_t> own = recordOf(d, kEfAdn, 4);
        std::copy(own.begin(), own.end(), record(d, kEfMsisdn, 2).begin());
    }));
    const Report r = check();
    EXPECT_FALSE(r.errors);
    EXPECT_EQ(lines(r.brief), cleanBrief());
}

TEST_F(CheckAndRepairTest, FilesWithoutServiceHaveNoSection)
{
    use(standardCardWith([](emulator::SimCardData& d) { clearService(d, gsm::service::kFdn); }));
    Report r = check();
    ASSERT_TRUE(r.ok);
    QStringList expected = cleanBrief();
    expected.removeAt(static_cast<int>(expected.indexOf(QStringLiteral("Fixed Dialing Numbers:"))) + 1);
    expected.removeOne(QStringLiteral("Fixed Dialing Numbers:"));
    EXPECT_EQ(lines(r.brief), expected);
    EXPECT_FALSE(r.detailed.contains(QStringLiteral("Fixed Dialing Numbers:")));

    // Without the SMS service there is no SMS section.
    use(standardCardWith([](emulator::SimCardData& d) { clearService(d, gsm::service::kSms); }));
    r = check();
    EXPECT_FALSE(r.brief.contains(QStringLiteral("SMS:")));
    EXPECT_TRUE(r.brief.contains(QStringLiteral("Extension 2:")));
}

TEST_F(CheckAndRepairTest, InvalidatedPhoneBookKeepsItsExtensions)
{
    // EF_ADN invalidated (fixed dialling on) cannot be read: the EXT1 record its long number uses
    // is linked from nowhere the check can see, yet it is not lost and no repair touches it.
    use(standardCardWith([](emulator::SimCardData& d) { findFile(d, kEfAdn)->invalidated = true; }));
    const Report r = check();
    ASSERT_TRUE(r.ok);
    EXPECT_FALSE(r.errors);
    EXPECT_FALSE(r.brief.contains(QStringLiteral("Dialing Numbers: ")));
    EXPECT_TRUE(r.brief.contains(QStringLiteral("Extension 1:\r\nOK\r\n")));
}

TEST_F(CheckAndRepairTest, MissingImagesAreAnApplicationError)
{
    use(emulator::StandardCard::simCard());
    Report r;
    r.brief = QStringLiteral("title\r\n");
    EXPECT_FALSE(CheckAndRepair(*bench->sim).checkAndRepair(r.brief, r.detailed, r.errors, r.pin2, false));
    EXPECT_EQ(bench->sim->lastStatus(), CardStatus::NonSpecificError);
    EXPECT_EQ(r.brief, QStringLiteral("title\r\nApplication error, some parameters are not available\r\n"));
    EXPECT_EQ(r.detailed, QStringLiteral("Application error, some parameters are not available\r\n"));
    EXPECT_TRUE(bench->recorder->log.empty());
}

TEST_F(CheckAndRepairTest, FailedRepairWriteStopsThere)
{
    // Broken links in EF_ADN and EF_FDN; the repair without PIN2 mends EF_ADN and stops at the
    // first EF_FDN write, which the card refuses.
    use(standardCardWith([](emulator::SimCardData& d) {
        record(d, kEfAdn, 3)[kLinkByte] = 0x00;
        record(d, kEfFdn, 2)[kLinkByte] = 0x00;
    }));
    const Report r = check();
    EXPECT_TRUE(r.pin2);
    bench->sim->setPinPrompt(nullptr);
    const Report fixed = repair(false);
    EXPECT_FALSE(fixed.ok);
    EXPECT_NE(bench->sim->lastStatus(), CardStatus::Ok);
    EXPECT_EQ(recordOf(card(), kEfAdn, 3)[kLinkByte], 0xFF);
    EXPECT_EQ(recordOf(card(), kEfFdn, 2)[kLinkByte], 0x00);
    EXPECT_FALSE(fixed.detailed.contains(QStringLiteral("Extension 1:")));
}

} // namespace
