#include "cli/NetworkCliCommands.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "CliRun.h"
#include "TempXdg.h"
#include "cli/CliCommands.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"

using namespace kestrel;
using namespace kestrel::cli;

namespace {

// The networks of a JSON list as "MCC-MNC", a free slot as "free".
QStringList networks(const QJsonArray& list)
{
    QStringList out;
    for (const QJsonValue& v : list) {
        const QJsonObject o = v.toObject();
        out << (o.value(QLatin1String("used")).toBool() ? QStringLiteral("%1-%2")
                                                              .arg(o.value(QLatin1String("mcc")).toInt())
                                                              .arg(o.value(QLatin1String("mnc")).toInt())
                                                        : QStringLiteral("free"));
    }
    return out;
}

} // namespace

// One card file through a run of commands, each seeing what the ones before it left: EF_FPLMN has
// four slots (230-03 in the first), EF_PLMNsel eight (230-02, 262-01).
using NetworkCli = test::CliFixture;

TEST_F(NetworkCli, WriteAndDeleteChangeOnlyWhatTheyMay)
{
    const QString card = path("card.json");
    ASSERT_TRUE(saveCard(card, emulator::StandardCard::simCard()));

    struct Step
    {
        const char* line;
        int code;
        const char* listed; // the JSON list printed (exit 0), or the text standard error holds
    } const steps[] = {
        {"write --forbidden 228-01 262-07 --all", kExitOk, "228-1 262-7 free free"},
        {"read --forbidden --all", kExitOk, "228-1 262-7 free free"},
        {"write --forbidden 1-1 2-2 3-3 4-4 5-5", kExitFailed,
         "5 networks given, but the forbidden networks file (EF_FPLMN) has 4 slots"},
        {"write --forbidden 228-01 2280", kExitUsage, "\"2280\" is not a network"},
        {"write --forbidden", kExitUsage, "missing argument"},
        {"delete --forbidden 1 --all", kExitOk, "free 262-7 free free"},
        {"delete --forbidden 3", kExitOk, "262-7"},
        {"delete --forbidden 5", kExitFailed, "has entries 1 to 4, not 5; nothing written"},
        {"delete --forbidden 0", kExitUsage, "\"0\" is not an entry number"},
        {"delete --forbidden x", kExitUsage, "\"x\" is not an entry number"},
        {"read --forbidden --all", kExitOk, "free 262-7 free free"},
        {"delete 2", kExitOk, "230-2"},
        {"write 310-220", kExitOk, "310-20"},
        {"move 1", kExitUsage, "networks needs read, write or delete"},
    };
    for (const Step& step : steps) {
        const QStringList words = QString::fromLatin1(step.line).split(u' ');
        const test::CliOutput r =
            test::runCliCommand(test::onCardFile(card) + QStringList{QStringLiteral("networks")} + words +
                                QStringList{QStringLiteral("--pin"), QStringLiteral("1234")});
        ASSERT_EQ(r.code, step.code) << step.line << ": " << r.err.toStdString();
        if (step.code == kExitOk)
            EXPECT_EQ(networks(r.array()).join(u' '), QLatin1String(step.listed)) << step.line;
        else
            EXPECT_TRUE(r.err.contains(QLatin1String(step.listed))) << step.line << ": " << r.err.toStdString();
    }
}
