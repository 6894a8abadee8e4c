// kestrel-cli print: the card read as the other commands read it, printed into a PDF file by the
// desktop program's printers.

#include "cli/print/PrintCliCommand.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>

#include "CliRun.h"
#include "GuiTest.h"
#include "PdfText.h"
#include "app/AppState.h"
#include "base/StringTable.h"
#include "cli/CliCommands.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"

namespace kestrel {
namespace {

class PrintCliTest : public test::GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        cli::installPrintCommand();
        QString error;
        ASSERT_TRUE(
            emulator::CardFile::save(emulator::StandardCard::simCard(), tempPath(QStringLiteral("card.json")), error))
            << error.toStdString();
    }
    QStringList onCard(const QStringList& words) const
    {
        return test::onCardFile(tempPath(QStringLiteral("card.json"))) + words;
    }
};

// The program itself, as a script runs it: no display, the report header of the user's settings
// (with the adjust step on, which a printout to a file never asks), the card's ICCID on top.
TEST_F(PrintCliTest, InfoPrintedByTheProgramHoldsTheIccidAndTheReport)
{
    {
        AppState settings;
        settings.loadSettings();
        settings.settings().provozovna = QStringLiteral("Corner Phone Shop");
        settings.settings().prodejce = QStringLiteral("Eva");
        settings.settings().prnHdrAdj = 1;
        settings.saveSettings();
    }
    const test::CliOutput info =
        test::runCliCommand(onCard({QStringLiteral("info"), QStringLiteral("--pin"), QStringLiteral("1234")}));
    ASSERT_EQ(info.code, cli::kExitOk) << info.err.toStdString();
    const QString iccid = info.object()[QStringLiteral("global")].toObject()[QStringLiteral("iccid")].toString();
    ASSERT_GE(iccid.size(), 10);

    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QLatin1String(name));
    cli.setProcessEnvironment(env);
    cli.setWorkingDirectory(m_dir.path());
    cli.start(QString::fromUtf8(KESTREL_CLI),
              onCard({QStringLiteral("print"), QStringLiteral("info"), QStringLiteral("--pdf"),
                      QStringLiteral("info.pdf"), QStringLiteral("--pin"), QStringLiteral("1234")}));
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), cli::kExitOk) << cli.readAllStandardError().toStdString();
    const QJsonObject out = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    const QString pdf = tempPath(QStringLiteral("info.pdf"));
    EXPECT_EQ(out[QStringLiteral("file")].toString(), pdf);
    EXPECT_EQ(out[QStringLiteral("command")].toString(), QStringLiteral("print info"));
    const QString text = test::pdfText(pdf);
    EXPECT_EQ(out[QStringLiteral("pages")].toInt(), test::pdfPageCount(pdf));
    EXPECT_TRUE(text.contains(iccid)) << text.toStdString();
    EXPECT_TRUE(text.contains(StringTable::text(6271))) << text.toStdString(); // "SIM card global information"
    EXPECT_TRUE(text.contains(StringTable::text(9004))) << "the PIN1 row's last column fits the page";
    EXPECT_TRUE(text.contains(QStringLiteral("Corner Phone Shop")));
    EXPECT_TRUE(text.contains(QStringLiteral("Eva")));
}

TEST_F(PrintCliTest, EveryKindPrintsWhatItsReadCommandReads)
{
    struct Case
    {
        const char* kind;
        const char* shown;
    };
    const Case cases[] = {
        {"check", "Check-up"},       {"phonebook", "Hotel Vienna"}, {"fdn", "Emergency"},
        {"sms", "Dinner at seven?"}, {"networks", "262-01"},        {"forbidden", "230-03"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        const QString pdf = tempPath(QStringLiteral("%1.pdf").arg(QLatin1String(c.kind)));
        const test::CliOutput r =
            test::runCliCommand(onCard({QStringLiteral("print"), QLatin1String(c.kind), QStringLiteral("--pdf"), pdf,
                                        QStringLiteral("--pin"), QStringLiteral("1234")}));
        ASSERT_EQ(r.code, cli::kExitOk) << r.err.toStdString();
        EXPECT_EQ(r.object()[QStringLiteral("pages")].toInt(), 1);
        const QString text = test::pdfText(pdf);
        EXPECT_TRUE(text.contains(QLatin1String(c.shown))) << text.toStdString();
        EXPECT_FALSE(text.contains(StringTable::text(9028))) << "the ICCID is printed"; // "Not accessible"
    }
}

TEST_F(PrintCliTest, RefusalsAndFailuresLeaveTheFileAlone)
{
    const QString pdf = tempPath(QStringLiteral("old.pdf"));
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    struct Case
    {
        const char* name;
        QStringList words;
        int code;
    };
    const QString pin = QStringLiteral("--pin");
    const Case cases[] = {
        {"unknown kind",
         {QStringLiteral("print"), QStringLiteral("everything"), QStringLiteral("--pdf"), pdf},
         cli::kExitUsage},
        {"no file", {QStringLiteral("print"), QStringLiteral("info"), pin, QStringLiteral("1234")}, cli::kExitUsage},
        {"detailed info",
         {QStringLiteral("print"), QStringLiteral("info"), QStringLiteral("--detailed"), QStringLiteral("--pdf"), pdf},
         cli::kExitUsage},
        {"wrong PIN",
         {QStringLiteral("print"), QStringLiteral("sms"), QStringLiteral("--pdf"), pdf, pin, QStringLiteral("4321")},
         cli::kExitFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const test::CliOutput r = test::runCliCommand(onCard(c.words));
        EXPECT_EQ(r.code, c.code) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), QByteArray("old"));
        old.close();
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList({QStringLiteral("old.pdf.*")}, QDir::Files).size(), 0);
}

} // namespace
} // namespace kestrel
