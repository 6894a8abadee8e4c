#include "cli/CliCommands.h"

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

Output runCommand(const QStringList& args)
{
    return kestrel::test::runCliCommand(args);
}

class ReaderCliTest : public test::CliFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(CliFixture::SetUp());
        m_card = path("card.json");
        ASSERT_TRUE(saveCard(m_card, emulator::StandardCard::simCard()));
    }

    Output apdu(const QStringList& apdus)
    {
        return runCommand(test::onCardFile(m_card) + QStringList{QStringLiteral("apdu")} + apdus +
                          QStringList{QStringLiteral("--text")});
    }

    QString m_card;
};

const QString kSelectMf = QStringLiteral("A0A40000023F00");
const QString kWrongPin = QStringLiteral("A02000010830303030FFFFFFFF");

} // namespace

TEST_F(ReaderCliTest, ReadersListsTheDeviceStrings)
{
    const Output r = runCommand({QStringLiteral("readers"), QStringLiteral("--text")});
    ASSERT_EQ(r.code, kExitOk);
    const QStringList lines = r.lines();
    EXPECT_TRUE(lines.contains(QStringLiteral("COM1")));
    EXPECT_TRUE(lines.contains(QStringLiteral("COM8")));
    EXPECT_FALSE(lines.contains(QStringLiteral("COM9")));
    EXPECT_TRUE(lines.contains(QStringLiteral("VIRTUAL")));
}

TEST_F(ReaderCliTest, SelectAndGetResponse)
{
    const Output r = apdu({kSelectMf, QStringLiteral("A0C0000016")});
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    const QStringList lines = r.lines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("9F22"));
    // 22 bytes of the MF response: its id 3F00 at bytes 5-6, then the status word.
    EXPECT_EQ(lines[1].size(), 22 * 2 + 5);
    EXPECT_EQ(lines[1].mid(8, 4), QStringLiteral("3F00"));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(" 9000")));
}

TEST_F(ReaderCliTest, WrongPinAttemptsAreRememberedAcrossRuns)
{
    EXPECT_EQ(apdu({kWrongPin}).lines(), QStringList{QStringLiteral("9804")});
    EXPECT_EQ(apdu({kWrongPin}).lines(), QStringList{QStringLiteral("9804")});
    EXPECT_EQ(apdu({kWrongPin}).lines(), QStringList{QStringLiteral("9840")});
    // Blocked now, also for the right PIN.
    EXPECT_EQ(
        apdu({QStringLiteral("A0200001083132333400FFFFFF").replace(QStringLiteral("3400"), QStringLiteral("34FF"))})
            .lines(),
        QStringList{QStringLiteral("9840")});
    const Output mf = apdu({kSelectMf, QStringLiteral("A0C0000022")});
    ASSERT_EQ(mf.lines().size(), 2);
    // Byte 19 of the MF response: CHV1 initialised, no attempts left.
    EXPECT_EQ(mf.lines()[1].mid(18 * 2, 2), QStringLiteral("80"));
}

TEST_F(ReaderCliTest, Errors)
{
    struct Case
    {
        QStringList args;
        int code;
    };
    const Case cases[] = {
        {{QStringLiteral("--device")}, kExitUsage},
        {{QStringLiteral("--device"), QStringLiteral("VIRTUAL"), QStringLiteral("apdu")}, kExitUsage},
        {{QStringLiteral("--device"), QStringLiteral("VIRTUAL"), QStringLiteral("apdu"), QStringLiteral("A0A4")},
         kExitUsage},
        {{QStringLiteral("--device"), QStringLiteral("VIRTUAL"), QStringLiteral("apdu"),
          QStringLiteral("A0A40000023F")},
         kExitUsage},
        {{QStringLiteral("--device"), QStringLiteral("VIRTUAL:/nonexistent/card.json"), QStringLiteral("apdu"),
          kSelectMf},
         kExitFailed},
        {{QStringLiteral("--device"), QStringLiteral("COM9"), QStringLiteral("apdu"), kSelectMf}, kExitFailed},
        {{QStringLiteral("readers"), QStringLiteral("extra")}, kExitUsage},
    };
    for (const Case& c : cases) {
        const Output r = runCommand(c.args);
        EXPECT_EQ(r.code, c.code) << c.args.join(u' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << c.args.join(u' ').toStdString();
    }
}
