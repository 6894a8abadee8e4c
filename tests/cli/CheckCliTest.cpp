#include "cli/CliCommands.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "CliRun.h"

#include "SimBench.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "TempXdg.h"

using namespace kestrel;
using namespace kestrel::cli;

namespace {

constexpr std::size_t kRecord7Link = 6 * 28 + 27; // EF_ADN record 7, its extension link

using Output = kestrel::test::CliOutput;

class CheckCliTest : public test::CliFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(CliFixture::SetUp());
        ASSERT_TRUE(saveCard(cardPath(), test::standardCardWith([](emulator::SimCardData& d) {
                                 test::findFile(d, gsm::fid::kEfAdn)->data[kRecord7Link] = 0x20;
                             })));
    }

    QString cardPath() const { return path("broken.json"); }

    // The report as text: --text.
    Output run(const QString& line)
    {
        return kestrel::test::runCliCommand(test::onCardFile(cardPath()) + line.split(u' ') +
                                            QStringList{QStringLiteral("--text")});
    }

    uint8_t record7Link() { return test::findFile(loadCard(cardPath()), gsm::fid::kEfAdn)->data[kRecord7Link]; }
};

TEST_F(CheckCliTest, ReportsThenRepairs)
{
    const QString finding = QStringLiteral(" 7\tLink to invalid extension->Remove Link to Extension\n");
    Output r = run(QStringLiteral("check --pin 1234"));
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("SIM Card Report\nSerial Number: 89420012345678901231\n\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("Dialing Numbers: \n") + finding));
    EXPECT_FALSE(r.out.contains(u'\r'));
    EXPECT_EQ(record7Link(), 0x20) << "a check alone writes nothing";

    r = run(QStringLiteral("check --detailed --pin 1234"));
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("SIM Card Detailed Report\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral(" 6\tOK\n") + finding + QStringLiteral(" 8\tOK\n")));

    r = run(QStringLiteral("check --repair --pin 1234"));
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(finding));
    EXPECT_TRUE(r.out.contains(QStringLiteral(" 7\tLink to invalid extension->Repaired\n")));
    EXPECT_EQ(record7Link(), 0xFF);

    r = run(QStringLiteral("check --repair --pin 1234"));
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_FALSE(r.out.contains(QStringLiteral("->")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("nothing to repair")));

    EXPECT_EQ(run(QStringLiteral("check extra --pin 1234")).code, kExitUsage);
    EXPECT_EQ(run(QStringLiteral("check --pin 9999")).code, kExitFailed);
}

} // namespace
