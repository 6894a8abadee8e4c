#include <QJsonArray>
#include <QJsonObject>

#include <gtest/gtest.h>

#include "BackupCards.h"
#include "CliRun.h"
#include "cli/CliCommands.h"
#include "emulator/StandardCard.h"

using namespace kestrel;
using namespace kestrel::test;
using namespace kestrel::cli;
using namespace kestrel::gsm::fid;

namespace {

class ImageCliTest : public CliFixture
{
protected:
    CliOutput run(const char* card, const QString& line)
    {
        return runCliCommand(onCardFile(path(card)) + cliWords(line));
    }
};

} // namespace

// backup --image, then the image as a card of its own and restored onto a blank card; a card it
// does not fit is refused untouched.
TEST_F(ImageCliTest, ImageBacksUpOpensAsACardAndRestores)
{
    emulator::StandardCard::Shape blank;
    blank.blank = true;
    emulator::StandardCard::Shape longNames;
    longNames.nameLength = 20;
    const emulator::SimCardData standard = emulator::StandardCard::simCard();
    ASSERT_TRUE(saveCard(path("standard.json"), standard));
    ASSERT_TRUE(saveCard(path("blank.json"), emulator::StandardCard::simCard(blank)));
    ASSERT_TRUE(saveCard(path("long.json"), emulator::StandardCard::simCard(longNames)));

    CliOutput r = run("standard.json", QStringLiteral("backup --image %1 --pin 1234").arg(path("image.json")));
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    EXPECT_EQ(r.object().value(QStringLiteral("filesSaved")).toInt(), static_cast<int>(standard.files.size()) - 3);
    EXPECT_TRUE(r.object().value(QStringLiteral("leftOut")).toArray().isEmpty());

    // The image is a virtual card: its phone book reads as the card's did.
    const CliOutput fromCard = run("standard.json", QStringLiteral("phonebook read --pin 1234"));
    const CliOutput fromImage = run("image.json", QStringLiteral("phonebook read --pin 1234"));
    ASSERT_EQ(fromImage.code, kExitOk) << fromImage.err.toStdString();
    EXPECT_FALSE(fromImage.array().isEmpty());
    EXPECT_EQ(fromImage.out, fromCard.out);

    // Without --yes and without a terminal the question is answered No: nothing written.
    const QByteArray blankBytes = fileBytes(path("blank.json"));
    r = run("blank.json", QStringLiteral("restore --image %1 --pin 1234 --pin2 5678").arg(path("image.json")));
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_TRUE(r.err.contains(QStringLiteral("will be replaced: EF_ADN ("))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(fileBytes(path("blank.json")), blankBytes);

    r = run("blank.json", QStringLiteral("restore --image %1 --pin 1234 --pin2 5678 --yes").arg(path("image.json")));
    ASSERT_EQ(r.code, kExitOk) << r.err.toStdString();
    EXPECT_GT(r.object().value(QStringLiteral("records")).toInt(), 0);
    const emulator::SimCardData restored = loadCard(path("blank.json"));
    for (const uint16_t id :
         {kEfAdn, kEfFdn, kEfExt1, kEfExt2, kEfSms, kEfSmsp, kEfLnd, kEfMsisdn, kEfPlmnSel, kEfFplmn})
        EXPECT_EQ(fileData(restored, id), fileData(standard, id)) << std::hex << id;

    const QByteArray before = fileBytes(path("long.json"));
    r = run("long.json", QStringLiteral("restore --image %1 --pin 1234 --pin2 5678 --yes").arg(path("image.json")));
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_TRUE(r.err.contains(QStringLiteral("EF_ADN: records of 28 bytes in the image, 34 on this card")))
        << r.err.toStdString();
    EXPECT_EQ(fileBytes(path("long.json")), before);

    r = run("standard.json", QStringLiteral("restore --image"));
    EXPECT_EQ(r.code, kExitUsage);
}
