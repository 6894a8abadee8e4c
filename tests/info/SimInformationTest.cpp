#include <gtest/gtest.h>

#include <functional>

#include <QStringList>

#include "SimBench.h"
#include "ScriptedPrompter.h"
#include "base/StringTable.h"
#include "info/SimInformationReader.h"
#include "info/SimInformationReport.h"

namespace kestrel {
namespace {

using emulator::AccessLevel;
using emulator::SimCardData;
using test::findFile;
using test::standardCardWith;

std::vector<uint8_t>& fileData(SimCardData& data, uint16_t id)
{
    emulator::SimFile* f = findFile(data, id);
    EXPECT_NE(f, nullptr) << std::hex << id;
    static std::vector<uint8_t> none;
    return f ? f->data : none;
}

// Service n of EF_SST cleared (both bits).
void dropService(SimCardData& data, int n)
{
    auto& sst = fileData(data, gsm::fid::kEfSst);
    const auto byte = static_cast<std::size_t>((n - 1) / 4);
    sst[byte] = static_cast<uint8_t>(sst[byte] & ~(3 << (2 * ((n - 1) % 4))));
}

struct Reading
{
    explicit Reading(SimCardData data) : bench(std::move(data))
    {
        prompter.pins = {std::string("1234")};
        SimInformationReader reader(*bench.sim, prompter);
        ok = reader.readAll(info);
        error = reader.errorText();
    }
    test::SimBench bench;
    test::ScriptedPrompter prompter;
    SimInformation info;
    bool ok = false;
    QString error;
};

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

TEST(SimInformation, StandardCard)
{
    Reading r(emulator::StandardCard::simCard());
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_TRUE(r.prompter.errors.empty());
    EXPECT_TRUE(r.prompter.messages.empty());
    const GlobalInfo& g = r.info.global;
    EXPECT_FALSE(g.authenticationBlocked);
    EXPECT_EQ(g.iccid.size(), 20);
    EXPECT_TRUE(g.iccid.startsWith(s(emulator::StandardCard::kIccidDigits)));
    EXPECT_EQ(g.imsi, s("230011234567890"));
    EXPECT_EQ(g.phase, s("2+"));

    const std::array<std::array<const char*, 3>, 4> chv = {{
        {"Yes", "3", "Yes"},
        {"Yes", "3", ""},
        {"Yes", "10", ""},
        {"Yes", "10", ""},
    }};
    for (std::size_t k = 0; k < chv.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(g.chv[k].supported, s(chv[k][0]));
        EXPECT_EQ(g.chv[k].limit, s(chv[k][1]));
        EXPECT_EQ(g.chv[k].activated, s(chv[k][2]));
    }

    // CZK 2.50 per unit; the newest meter 42 units, the maximum 1000.
    EXPECT_EQ(g.currency, s("CZK"));
    EXPECT_EQ(g.pricePerUnit, s("   2.50"));
    EXPECT_EQ(g.sumUsed, s(" 105.00"));
    EXPECT_EQ(g.creditRemaining, s("2395.00"));
    EXPECT_EQ(g.acmUnits, 42u);
    EXPECT_EQ(g.acmMaxUnits, 1000u);

    const CapacityInfo& c = r.info.capacities;
    EXPECT_EQ(c.phoneBook.items, s("250"));
    EXPECT_EQ(c.phoneBook.nameLength, s("14"));
    EXPECT_EQ(c.fdn.items, s("10"));
    EXPECT_EQ(c.fdn.nameLength, s("14"));
    EXPECT_EQ(c.sms.items, s("20"));
    EXPECT_TRUE(c.sms.nameLength.isEmpty());

    const NumberListInfo& lnd = r.info.lastDialled;
    EXPECT_EQ(lnd.items, s("10"));
    EXPECT_EQ(lnd.nameLength, s("14"));
    ASSERT_EQ(lnd.lines.size(), 10u);
    EXPECT_EQ(lnd.lines[0], s("1\tOffice\t224123456"));
    EXPECT_EQ(lnd.lines[1], s("2\t\t800123456"));
    EXPECT_EQ(lnd.lines[2], s("3"));
    const NumberListInfo& own = r.info.ownNumbers;
    EXPECT_EQ(own.items, s("2"));
    ASSERT_EQ(own.lines.size(), 2u);
    EXPECT_EQ(own.lines[0], s("1\tMy number\t+420603123456"));
    EXPECT_EQ(own.lines[1], s("2"));
}

// Global values of a changed standard card.
struct GlobalCase
{
    const char* what;
    std::function<void(SimCardData&)> change;
    std::function<void(const GlobalInfo&)> expect;
};

TEST(SimInformation, GlobalValuesOfChangedCards)
{
    const QString none = StringTable::text(6150);
    const GlobalCase cases[] = {
        {"no advice of charge", [](SimCardData& d) { dropService(d, gsm::service::kAdviceOfCharge); },
         [&](const GlobalInfo& g) {
             for (const QString* v : {&g.currency, &g.pricePerUnit, &g.sumUsed, &g.creditRemaining})
                 EXPECT_EQ(*v, none);
             EXPECT_FALSE(g.price.has_value());
             EXPECT_EQ(g.phase, s("2+")); // the rest is read as usual
         }},
        {"IMSI behind an administrative code (98 04)",
         [](SimCardData& d) { findFile(d, gsm::fid::kEfImsi)->access.read = AccessLevel::Adm; },
         [](const GlobalInfo& g) {
             EXPECT_TRUE(g.imsi.isEmpty());
             EXPECT_EQ(g.currency, s("CZK"));
         }},
        {"IMSI invalidated (98 10)", [](SimCardData& d) { findFile(d, gsm::fid::kEfImsi)->invalidated = true; },
         [](const GlobalInfo& g) {
             EXPECT_EQ(g.imsi, s("<Entry can not be ovewritten>"));
             EXPECT_EQ(g.sumUsed, s(" 105.00"));
         }},
        {"phase 0", [](SimCardData& d) { fileData(d, gsm::fid::kEfPhase)[0] = 0; },
         [](const GlobalInfo& g) { EXPECT_EQ(g.phase, s("1")); }},
        {"phase 1", [](SimCardData& d) { fileData(d, gsm::fid::kEfPhase)[0] = 1; },
         [](const GlobalInfo& g) { EXPECT_EQ(g.phase, s("?")); }},
        {"phase 2", [](SimCardData& d) { fileData(d, gsm::fid::kEfPhase)[0] = 2; },
         [](const GlobalInfo& g) { EXPECT_EQ(g.phase, s("2")); }},
        {"price of EPPU 0",
         [](SimCardData& d) {
             auto& puct = fileData(d, gsm::fid::kEfPuct);
             puct[3] = 0x00;
             puct[4] = 0x50;
         },
         [](const GlobalInfo& g) {
             EXPECT_EQ(g.pricePerUnit, s("???"));
             EXPECT_TRUE(g.sumUsed.isEmpty());
             EXPECT_TRUE(g.creditRemaining.isEmpty());
         }},
        {"currency not set", [](SimCardData& d) { fileData(d, gsm::fid::kEfPuct)[0] = 0xFF; },
         [](const GlobalInfo& g) { EXPECT_EQ(g.currency, s("???")); }},
        {"currency with control and high bytes",
         [](SimCardData& d) {
             auto& puct = fileData(d, gsm::fid::kEfPuct);
             puct[1] = 0x07;
             puct[2] = 0xC8;
         },
         [](const GlobalInfo& g) { EXPECT_EQ(g.currency, s("C??")); }},
        {"price 0.5 x 10^1",
         [](SimCardData& d) {
             auto& puct = fileData(d, gsm::fid::kEfPuct);
             puct[3] = 0x00;
             puct[4] = 0x25; // EPPU 5, EX +1
         },
         [](const GlobalInfo& g) {
             EXPECT_EQ(g.pricePerUnit, s("  50.00"));
             EXPECT_EQ(g.sumUsed, s("2100.00"));
             EXPECT_EQ(g.creditRemaining, s("47900.00"));
         }},
        {"no meter value yet",
         [](SimCardData& d) {
             std::fill(fileData(d, gsm::fid::kEfAcm).begin(), fileData(d, gsm::fid::kEfAcm).end(), 0);
         },
         [](const GlobalInfo& g) {
             EXPECT_TRUE(g.sumUsed.isEmpty());
             EXPECT_EQ(g.creditRemaining, s("2500.00"));
         }},
        {"meter found in a later record",
         [](SimCardData& d) {
             auto& acm = fileData(d, gsm::fid::kEfAcm);
             std::fill(acm.begin(), acm.begin() + 6, 0); // records 1 and 2 zero, record 3 holds 32
         },
         [](const GlobalInfo& g) {
             EXPECT_EQ(g.acmUnits, 32u);
             EXPECT_EQ(g.sumUsed, s("  80.00"));
             EXPECT_EQ(g.creditRemaining, s("2420.00"));
         }},
        {"maximum below the meter",
         [](SimCardData& d) {
             fileData(d, gsm::fid::kEfAcmMax) = {0x00, 0x00, 0x10};
         },
         [](const GlobalInfo& g) {
             EXPECT_EQ(g.sumUsed, s(" 105.00"));
             EXPECT_TRUE(g.creditRemaining.isEmpty());
         }},
        {"no maximum",
         [](SimCardData& d) {
             fileData(d, gsm::fid::kEfAcmMax) = {0x00, 0x00, 0x00};
         },
         [](const GlobalInfo& g) { EXPECT_TRUE(g.creditRemaining.isEmpty()); }},
        {"PIN1 disabled, PIN2 with one try left",
         [](SimCardData& d) {
             d.chv1.enabled = false;
             d.chv2.attemptsLeft = 1;
         },
         [](const GlobalInfo& g) {
             EXPECT_EQ(g.chv[0].activated, s("No"));
             EXPECT_EQ(g.chv[1].limit, s("1"));
         }},
    };
    for (const GlobalCase& c : cases) {
        SCOPED_TRACE(c.what);
        Reading r(standardCardWith(c.change));
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_TRUE(r.prompter.errors.empty());
        c.expect(r.info.global);
    }
}

TEST(SimInformation, AuthenticationCounterRunOut)
{
    Reading r(standardCardWith([](SimCardData& d) { d.options.authenticationExhausted = true; }));
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.info.global.authenticationBlocked);
    ASSERT_EQ(r.prompter.errors.size(), 1u);
    EXPECT_EQ(r.prompter.errors[0], StringTable::text(5615));
    // The global values stop there; the other pages are still read.
    EXPECT_TRUE(r.info.global.iccid.isEmpty());
    EXPECT_TRUE(r.info.global.currency.isEmpty());
    EXPECT_EQ(r.info.capacities.phoneBook.items, s("250"));
    EXPECT_EQ(r.info.ownNumbers.items, s("2"));
}

TEST(SimInformation, NumberListsAndCapacitiesWithoutTheirServices)
{
    Reading r(standardCardWith([](SimCardData& d) {
        dropService(d, gsm::service::kLnd);
        dropService(d, gsm::service::kFdn);
        findFile(d, gsm::fid::kEfMsisdn)->invalidated = true;
    }));
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    const QString none = StringTable::text(6150);
    EXPECT_EQ(r.info.capacities.fdn.items, none);
    EXPECT_EQ(r.info.capacities.fdn.nameLength, none);
    EXPECT_EQ(r.info.capacities.phoneBook.items, s("250"));
    EXPECT_EQ(r.info.lastDialled.items, none);
    EXPECT_TRUE(r.info.lastDialled.lines.empty());
    // An invalidated EF_MSISDN is a list kept behind a code.
    EXPECT_TRUE(r.info.ownNumbers.passwordProtected);
    EXPECT_TRUE(r.info.ownNumbers.lines.empty());
    EXPECT_EQ(r.prompter.messages, std::vector<int>{5609});
}

TEST(SimInformation, FailuresEndTheRead)
{
    {
        SimCard sim([] { return static_cast<CardReader*>(nullptr); });
        test::ScriptedPrompter prompter;
        SimInformationReader reader(sim, prompter);
        SimInformation info;
        EXPECT_FALSE(reader.readAll(info));
        EXPECT_TRUE(reader.errorText().contains(cardStatusMessage(CardStatus::ReaderInaccessible)));
        EXPECT_EQ(prompter.errors.size(), 1u);
        EXPECT_TRUE(info.global.phase.isEmpty());
    }
    {
        // The PIN prompt closed: nothing is read, no try spent.
        test::SimBench bench;
        test::ScriptedPrompter prompter;
        SimInformationReader reader(*bench.sim, prompter);
        GlobalInfo global;
        EXPECT_FALSE(reader.readGlobal(global));
        EXPECT_TRUE(global.iccid.isEmpty());
        EXPECT_EQ(bench.model->data().chv1.attemptsLeft, 3);
    }
    // The global values and the capacities tell of a failure in an error box of their own.
    const std::function<bool(SimInformationReader&)> pages[] = {
        [](SimInformationReader& r) {
            GlobalInfo g;
            return r.readGlobal(g);
        },
        [](SimInformationReader& r) {
            CapacityInfo c;
            return r.readCapacities(c);
        },
    };
    for (const CardStatus status : {CardStatus::ReaderInaccessible, CardStatus::OperationCancelled}) {
        for (const auto& read : pages) {
            test::SimBench bench;
            SimCard noReader([] { return static_cast<CardReader*>(nullptr); });
            test::ScriptedPrompter prompter;
            SimInformationReader reader(status == CardStatus::ReaderInaccessible ? noReader : *bench.sim, prompter);
            EXPECT_FALSE(read(reader));
            const QString expected = s("Error during smartcard reader operation:\r\n") + cardStatusMessage(status);
            EXPECT_EQ(reader.errorText(), expected);
            ASSERT_EQ(prompter.texts.size(), 1u);
            EXPECT_EQ(prompter.texts[0].text, expected);
            EXPECT_EQ(prompter.texts[0].icon, PromptIcon::Stop);
            EXPECT_TRUE(prompter.errors.empty());
        }
    }
}

TEST(SimInformation, PagesReadAlone)
{
    test::SimBench bench;
    test::ScriptedPrompter prompter;
    prompter.pins = {std::string("1234")};
    SimInformationReader reader(*bench.sim, prompter);
    CapacityInfo capacities;
    ASSERT_TRUE(reader.readCapacities(capacities));
    EXPECT_EQ(capacities.sms.items, s("20"));
    NumberListInfo own;
    ASSERT_TRUE(reader.readNumberList(gsm::fid::kEfMsisdn, own)); // PIN1 remembered from the first read
    EXPECT_EQ(own.lines.size(), 2u);
    EXPECT_EQ(prompter.pinPrompts.size(), 1u);
}

TEST(SimInformation, Decoding)
{
    const uint8_t iccid[] = {0x98, 0x94, 0x20, 0xF1};
    EXPECT_EQ(SimInformationReader::iccidText(iccid), s("8949021"));
    const uint8_t hexIccid[] = {0xBA, 0xDC};
    EXPECT_EQ(SimInformationReader::iccidText(hexIccid), s("ABCD"));

    const struct
    {
        std::vector<uint8_t> file;
        const char* imsi;
    } imsis[] = {
        {{0x08, 0x29, 0x03, 0x10, 0x21, 0x43, 0x65, 0x87, 0x09}, "230011234567890"},
        {{0x03, 0x29, 0x03, 0xFF, 0xFF}, "230"},
        {{0x08, 0x29, 0x03}, "230"}, // length byte past the file
        {{0x00}, ""},
        {{}, ""},
    };
    for (const auto& c : imsis)
        EXPECT_EQ(SimInformationReader::imsiText(c.file), s(c.imsi));

    const uint8_t negative[] = {'E', 'U', 'R', 0x0F, 0x5A};
    EXPECT_DOUBLE_EQ(*SimInformationReader::unitPrice(negative), 2.5);
    const uint8_t big[] = {'E', 'U', 'R', 0xFF, 0xEF}; // 4095 x 10^7
    EXPECT_DOUBLE_EQ(*SimInformationReader::unitPrice(big), 4095e7);
    const uint8_t shortFile[] = {'E', 'U', 'R', 0x01};
    EXPECT_FALSE(SimInformationReader::unitPrice(shortFile).has_value());
}

TEST(SimInformation, Report)
{
    Reading r(emulator::StandardCard::simCard());
    ASSERT_TRUE(r.ok);
    const SimInformationReport report = SimInformationReport::build(r.info);
    EXPECT_EQ(report.title, s("SIM card global information"));
    const QStringList lines = report.text.split(QStringLiteral("\r\n"));
    const QStringList head = {
        s("International code: \t230011234567890"),
        s("SIM Phase: \t2+"),
        s("PIN1\tSupported: \tYes\tLimit: \t3\tActivated: \tYes"),
        s("PIN2\tSupported: \tYes\tLimit: \t3"),
        s("PUK1\tSupported: \tYes\tLimit: \t10"),
        s("PUK2\tSupported: \tYes\tLimit: \t10"),
        s("Currency: \tCZK"),
        s("Price per unit: \t   2.50"),
        s("Sum used: \t 105.00"),
        s("Credit remaining: \t2395.00"),
        QString(),
        s("List:\tItems:\tName length max"),
        s("Phone book\t250\t14"),
        s("FDN\t10\t14"),
        s("SMS\t20\t"),
        QString(),
        s("{$B}Last number dialed"),
        s("Items number: \t10"),
        s("Name length max: \t14"),
        s("1\tOffice\t224123456"),
    };
    ASSERT_GT(lines.size(), head.size());
    EXPECT_EQ(lines.mid(0, head.size()), head);
    const auto own = lines.indexOf(s("{$B}Self dial number"));
    ASSERT_GT(own, 0);
    EXPECT_EQ(lines.mid(own + 1), (QStringList{s("Items number: \t2"), s("Name length max: \t14"),
                                               s("1\tMy number\t+420603123456"), s("2")}));
}

} // namespace
} // namespace kestrel
