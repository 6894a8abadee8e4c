#include "cli/CliCommands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "CliRun.h"

#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "TempXdg.h"

using namespace kestrel;
using namespace kestrel::cli;

namespace {

using Output = kestrel::test::CliOutput;

// The standard SIM card and a telephone card in card files; "SIM" and "TEL" in a command line
// name their devices.
class CliOptionsTest : public test::CliFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(CliFixture::SetUp());
        ASSERT_TRUE(saveCard(path("sim.json"), emulator::StandardCard::simCard()));
        ASSERT_TRUE(saveCard(path("tel.json"), emulator::StandardCard::telephoneCard()));
    }

    Output run(const char* line)
    {
        QStringList words = test::cliWords(QString::fromLatin1(line));
        for (QString& w : words) {
            if (w == QLatin1String("SIM"))
                w = QStringLiteral("VIRTUAL:") + path("sim.json");
            else if (w == QLatin1String("TEL"))
                w = QStringLiteral("VIRTUAL:") + path("tel.json");
        }
        return kestrel::test::runCliCommand(words);
    }
};

QJsonObject first(const Output& r)
{
    return r.array().first().toObject();
}

} // namespace

// --device, the codes and --yes stand before or after the command's words alike.
TEST_F(CliOptionsTest, GlobalOptionsWhereverTheyStand)
{
    for (const char* line : {"phonebook read --device SIM --pin 1234", "--device SIM phonebook read --pin 1234",
                             "--pin 1234 phonebook read --device SIM", "phonebook --device SIM read --pin 1234",
                             "--device SIM --pin 1234 --yes phonebook read"}) {
        const Output r = run(line);
        ASSERT_EQ(r.code, kExitOk) << line << ": " << r.err.toStdString();
        EXPECT_EQ(r.array().size(), 12) << line;
    }
}

// Typed fields beside the raw ones: item from 1, the number as dialled, MNC digits, ISO 8601 times.
TEST_F(CliOptionsTest, TypedFields)
{
    const QJsonObject mother = first(run("--device SIM phonebook read --pin 1234"));
    EXPECT_EQ(mother[QStringLiteral("position")], QJsonValue(0));
    EXPECT_EQ(mother[QStringLiteral("item")], QJsonValue(1));
    EXPECT_EQ(mother[QStringLiteral("number")], QJsonValue(QStringLiteral("420602111222")));
    EXPECT_EQ(mother[QStringLiteral("dialNumber")], QJsonValue(QStringLiteral("+420602111222")));
    EXPECT_EQ(mother[QStringLiteral("valid")], QJsonValue(true));

    const QJsonObject sms = first(run("--device SIM sms read --pin 1234"));
    EXPECT_EQ(sms[QStringLiteral("when")], QJsonValue(QStringLiteral("12.03.24 18:45")));
    EXPECT_EQ(sms[QStringLiteral("whenIso")], QJsonValue(QStringLiteral("2024-03-12T18:45")));

    const QJsonObject forbidden = first(run("--device SIM networks read --forbidden --pin 1234"));
    EXPECT_EQ(forbidden[QStringLiteral("mnc")], QJsonValue(3));
    EXPECT_EQ(forbidden[QStringLiteral("mncDigits")], QJsonValue(QStringLiteral("03")));
    EXPECT_EQ(forbidden[QStringLiteral("network")], QJsonValue(QStringLiteral("230-03")));
    EXPECT_EQ(forbidden[QStringLiteral("item")], QJsonValue(1));
}

// check, readers, info, apdu and pin print JSON documents; the first three say what they found.
TEST_F(CliOptionsTest, JsonOfEveryCommand)
{
    const Output check = run("--device SIM check --pin 1234");
    ASSERT_EQ(check.code, kExitOk) << check.err.toStdString();
    EXPECT_EQ(check.object()[QStringLiteral("errorsFound")], QJsonValue(false));
    EXPECT_EQ(check.object()[QStringLiteral("report")].toArray().first(),
              QJsonValue(QStringLiteral("SIM Card Report")));

    const Output readers = run("readers");
    ASSERT_EQ(readers.code, kExitOk);
    const QJsonObject com1 = readers.array()[1].toObject();
    EXPECT_EQ(com1[QStringLiteral("device")], QJsonValue(QStringLiteral("COM1")));
    EXPECT_EQ(com1[QStringLiteral("kind")], QJsonValue(QStringLiteral("serial")));
    EXPECT_EQ(com1[QStringLiteral("port")], QJsonValue(QStringLiteral("/dev/ttyS0")));
    EXPECT_EQ(readers.array().last().toObject()[QStringLiteral("device")], QJsonValue(QStringLiteral("VIRTUAL")));

    const QJsonObject global = run("info --device SIM --pin 1234").object()[QStringLiteral("global")].toObject();
    const QJsonObject pin1 = global[QStringLiteral("codes")].toArray().first().toObject();
    EXPECT_EQ(pin1[QStringLiteral("supported")], QJsonValue(true));
    EXPECT_EQ(pin1[QStringLiteral("limit")], QJsonValue(3));
    EXPECT_EQ(global[QStringLiteral("iccid")], QJsonValue(QStringLiteral("89420012345678901231")));

    const Output apdu = run("--device SIM apdu A0A40000023F00 A0C0000016");
    ASSERT_EQ(apdu.code, kExitOk) << apdu.err.toStdString();
    EXPECT_EQ(apdu.array()[0].toObject()[QStringLiteral("sw")], QJsonValue(QStringLiteral("9F22")));
    EXPECT_TRUE(apdu.array()[0].toObject()[QStringLiteral("data")].isNull());
    EXPECT_EQ(apdu.array()[1].toObject()[QStringLiteral("sw1")], QJsonValue(0x90));
    EXPECT_EQ(apdu.array()[1].toObject()[QStringLiteral("data")].toString().size(), 22 * 2);

    const Output verify = run("pin verify --device SIM --pin 1234");
    EXPECT_EQ(verify.object()[QStringLiteral("result")], QJsonValue(QStringLiteral("done")));
}

// Exit status 1 for a failed operation, 2 for a wrong command line; help and version say 0.
TEST_F(CliOptionsTest, ExitStatusHelpAndVersion)
{
    struct Case
    {
        const char* line;
        int code;
        const char* inOut; // expected on standard output, or nullptr: nothing there
    } const cases[] = {
        {"--device SIM telcard", kExitFailed, nullptr},
        {"--device TEL telcard", kExitOk, "unitsRemaining"},
        {"--device SIM", kExitUsage, nullptr},
        {"--bogus readers", kExitUsage, nullptr},
        {"phonebook read --device", kExitUsage, nullptr},
        {"--device SIM phonebook read --device SIM", kExitUsage, nullptr},
        {"--device SIM phonebook read --bogus", kExitUsage, nullptr},
        {"--device SIM apdu A0A4 --pin 1234", kExitUsage, nullptr},
        {"--pin 1234 decode adn 00112233445566778899AABBCCDD", kExitUsage, nullptr},
        {"--version", kExitOk, "kestrel-cli 4."},
        {"--help", kExitOk, "Exit status: 0 success"},
        {"help phonebook", kExitOk, "phonebook export|import"},
        {"phonebook read --help", kExitOk, "phonebook read [--fdn|--lnd|--msisdn]"},
        {"--device SIM check --help", kExitOk, "check [--repair]"},
        {"frobnicate --help", kExitUsage, nullptr},
    };
    for (const Case& c : cases) {
        const Output r = run(c.line);
        EXPECT_EQ(r.code, c.code) << c.line << ": " << r.err.toStdString();
        if (!c.inOut) {
            EXPECT_TRUE(r.out.isEmpty()) << c.line << ": " << r.out.toStdString();
            EXPECT_FALSE(r.err.isEmpty()) << c.line;
        } else {
            EXPECT_TRUE(r.out.contains(QLatin1String(c.inOut))) << c.line << ": " << r.out.toStdString();
        }
    }
    // The help of one verb is not all of its command's.
    EXPECT_FALSE(run("phonebook read --help").out.contains(QLatin1String("export")));
}
