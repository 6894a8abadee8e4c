// The windows on a card holding what phones write today: UCS2 names in all three forms, a UCS2
// message in three parts, an 8-bit message and a status report. Read, shown as they are, written
// back with "Write to SIM!" and the card file is as it was.

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "PhoneBookWindowFixture.h"
#include "emulator/ModernRecords.h"
#include "ui/sms/SmsWindow.h"

namespace kestrel {
namespace {

class ModernCardWindowsTest : public PhoneBookWindowTest
{
protected:
    void SetUp() override
    {
        PhoneBookWindowTest::SetUp();
        cardPath = tempPath(QStringLiteral("modern.json"));
        QString error;
        ASSERT_TRUE(emulator::CardFile::save(emulator::StandardCard::simCard({.modernRecords = true}), cardPath, error))
            << error.toStdString();
        ASSERT_EQ(host->app.openReader(QStringLiteral("VIRTUAL:") + cardPath), CardStatus::Ok);
        host->app.createSimCard();
        host->prompts.pins = {std::string("1234")};
        before = fileBytes();
    }

    QByteArray fileBytes() const
    {
        QFile f(cardPath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    void writeToCard(QWidget* w)
    {
        host->prompts.answers = {PromptAnswer::Yes};
        w->findChild<QPushButton*>(QStringLiteral("writeButton"))->click();
        EXPECT_TRUE(host->prompts.errors.empty());
    }

    QByteArray before;
};

TEST_F(ModernCardWindowsTest, PhoneBookShowsUnicodeNamesAndWritesThemBackUnchanged)
{
    CSezEdDlg* w = open<CSezEdDlg>(0, 1);
    ASSERT_TRUE(host->prompts.errors.empty());
    const int row = emulator::standard::kFirstModernName - 1;
    EXPECT_EQ(cell(w, row, 1), QString::fromUtf8("\u0395\u03BB\u03AD\u03BD\u03B7"));
    EXPECT_EQ(cell(w, row + 1, 1), QString::fromUtf8("\u010Cen\u011Bk R\u016F\u017Eek"));
    EXPECT_EQ(cell(w, row + 2, 1), QString::fromUtf8("\u0421\u0432\u0456\u0442\u043B\u0430\u043D\u0430"));
    writeToCard(w);
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(ModernCardWindowsTest, SmsWindowJoinsTheConcatenatedMessageAndWritesEverythingBackUnchanged)
{
    auto* w = new SmsWindow(*host);
    QPointer<SmsWindow> guard(w);
    w->create(0, 1);
    ASSERT_TRUE(host->prompts.errors.empty());
    const int row = emulator::standard::kFirstModernMessage - 1;
    QAbstractItemView* list = w->list();
    for (const int r : {row, row + 1, row + 2}) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualRect(list->model()->index(r, 0)).center());
        // The part chosen, then the whole message.
        EXPECT_EQ(w->findChild<QPlainTextEdit*>(QStringLiteral("detailText"))->toPlainText(),
                  QStringLiteral("[part %1 of 3]\n").arg(r - row + 1) +
                      QString::fromUtf8(emulator::standard::kModernMessage));
    }
    writeToCard(w);
    EXPECT_EQ(fileBytes(), before);
    w->closeWithoutAsking();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
} // namespace kestrel
