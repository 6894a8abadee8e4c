#include "ui/networks/NetworkListDialog.h"

#include <QClipboard>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include "CliRun.h"
#include "GuiTest.h"
#include "ModalDriver.h"
#include "ScriptedPrompter.h"
#include "app/AppState.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"

namespace kestrel {
namespace {

class NetworkListDialogTest : public test::GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        state = std::make_unique<AppState>(
            std::make_unique<QSettings>(tempPath(QStringLiteral("kestrel.conf")), QSettings::IniFormat));
        cardPath = tempPath(QStringLiteral("card.json"));
        QString error;
        ASSERT_TRUE(emulator::CardFile::save(emulator::StandardCard::simCard(), cardPath, error))
            << error.toStdString();
        ASSERT_EQ(state->openReader(QStringLiteral("VIRTUAL:") + cardPath), CardStatus::Ok);
        state->createSimCard();
        prompter.pins = {std::string("1234")};
    }

    static QListWidget* list(QWidget* d) { return d->findChild<QListWidget*>(QStringLiteral("list1000")); }
    static QStringList lines(QWidget* d)
    {
        QStringList all;
        for (int i = 0; i < list(d)->count(); ++i)
            all << list(d)->item(i)->text();
        return all;
    }
    static bool enabled(QWidget* d, const char* button)
    {
        return d->findChild<QPushButton*>(QLatin1String(button))->isEnabled();
    }
    static void click(QWidget* d, const char* button)
    {
        QTest::mouseClick(d->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    }

    std::unique_ptr<AppState> state;
    test::ScriptedPrompter prompter;
    QString cardPath;
};

TEST_F(NetworkListDialogTest, EditsDeletesAndWritesTheForbiddenList)
{
    const auto read = [](QWidget* d) { return list(d) && list(d)->count() == 4; };
    QString chosen;
    test::ModalDriver driver;
    driver
        .expect(
            QStringLiteral("forbiddenNetworksDialog"),
            [&](QWidget* d) {
                EXPECT_EQ(d->windowTitle(), QStringLiteral("Kestrel! - Forbidden Networks"));
                EXPECT_EQ(lines(d), (QStringList{QStringLiteral("1\t230-03"), QStringLiteral("2"), QStringLiteral("3"),
                                                 QStringLiteral("4")}));
                EXPECT_FALSE(enabled(d, "button1090")); // nothing selected
                list(d)->setCurrentRow(1);
                EXPECT_TRUE(enabled(d, "button1090"));
                EXPECT_FALSE(enabled(d, "button1092")); // a free entry
                click(d, "button1090");
            },
            read)
        .expect(QStringLiteral("selectNetworkDialog"),
                [&](QWidget* s) {
                    auto* mcc = s->findChild<QLineEdit*>(QStringLiteral("edit1090"));
                    EXPECT_TRUE(mcc->text().isEmpty());
                    QTest::keyClicks(mcc, QStringLiteral("228"));
                    QTest::keyClicks(s->findChild<QLineEdit*>(QStringLiteral("edit1091")), QStringLiteral("1"));
                    chosen = s->findChild<QComboBox*>(QStringLiteral("combo1089"))->currentText();
                    test::clickButton(QStringLiteral("okButton"))(s);
                })
        .expect(QStringLiteral("forbiddenNetworksDialog"), [&](QWidget* d) {
            EXPECT_EQ(lines(d)[1], QStringLiteral("2*\t228-01\tSwisscom AG - CH"));
            list(d)->setCurrentRow(0);
            click(d, "button1092");
            EXPECT_EQ(lines(d)[0], QStringLiteral("1")); // a free entry shows its number only
            EXPECT_FALSE(enabled(d, "button1092"));
            click(d, "button1089");
            EXPECT_EQ(lines(d), (QStringList{QStringLiteral("1"), QStringLiteral("2\t228-01\tSwisscom AG - CH"),
                                             QStringLiteral("3"), QStringLiteral("4")}));
            // Ctrl+C and Ctrl+Insert in the list copy the used entries.
            list(d)->setFocus();
            QApplication::clipboard()->setText(QStringLiteral("before"));
            QTest::keyClick(list(d), Qt::Key_C, Qt::ControlModifier);
            EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("2\t228-01\tSwisscom AG - CH\r\n"));
            QApplication::clipboard()->setText(QStringLiteral("before"));
            QTest::keyClick(list(d), Qt::Key_Insert, Qt::ControlModifier);
            EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("2\t228-01\tSwisscom AG - CH\r\n"));
            click(d, "button1");
        });
    NetworkListDialog::open(*state, prompter, nullptr, true, nullptr);
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(chosen, QStringLiteral("Swisscom AG - CH"));
    EXPECT_TRUE(prompter.errors.empty());

    // The command line reads the same card file: the deleted slot is free, the new network used.
    const test::CliOutput r = test::runCliCommand(test::onCardFile(cardPath) +
                                                  QStringList{QStringLiteral("networks"), QStringLiteral("read"),
                                                              QStringLiteral("--forbidden"), QStringLiteral("--all"),
                                                              QStringLiteral("--pin"), QStringLiteral("1234")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QJsonArray entries = r.array();
    ASSERT_EQ(entries.size(), 4);
    EXPECT_FALSE(entries[0].toObject().value(QLatin1String("used")).toBool());
    EXPECT_EQ(entries[1].toObject(), (QJsonObject{{QStringLiteral("item"), 2},
                                                  {QStringLiteral("used"), true},
                                                  {QStringLiteral("mcc"), 228},
                                                  {QStringLiteral("mnc"), 1},
                                                  {QStringLiteral("mncDigits"), QStringLiteral("01")},
                                                  {QStringLiteral("network"), QStringLiteral("228-01")},
                                                  {QStringLiteral("operator"), QStringLiteral("Swisscom AG - CH")}}));
}

TEST_F(NetworkListDialogTest, ChoosingAnOperatorFillsTheFields)
{
    QStringList fields;
    test::ModalDriver driver;
    driver
        .expect(
            QStringLiteral("preferredNetworksDialog"),
            [&](QWidget* d) {
                EXPECT_EQ(d->windowTitle(), QStringLiteral("Kestrel! - Preferred Networks"));
                list(d)->setCurrentRow(0);
                // A double click on a line edits it.
                const QRect rect = list(d)->visualItemRect(list(d)->item(0));
                QTest::mouseClick(list(d)->viewport(), Qt::LeftButton, {}, rect.center());
                QTest::mouseDClick(list(d)->viewport(), Qt::LeftButton, {}, rect.center());
            },
            [](QWidget* d) { return list(d) && list(d)->count() == 8; })
        .expect(QStringLiteral("selectNetworkDialog"),
                [&](QWidget* s) {
                    auto* combo = s->findChild<QComboBox*>(QStringLiteral("combo1089"));
                    EXPECT_EQ(combo->currentText(), QStringLiteral("Eurotel Praha Ltd - CZ")); // 230-02
                    const int index = combo->findText(QStringLiteral("TMN - P"));
                    combo->setCurrentIndex(index);
                    emit combo->activated(index);
                    for (const char* name : {"edit1090", "edit1091"})
                        fields << s->findChild<QLineEdit*>(QLatin1String(name))->text();
                    test::clickButton(QStringLiteral("okButton"))(s);
                })
        .expect(QStringLiteral("preferredNetworksDialog"), [&](QWidget* d) {
            EXPECT_EQ(lines(d)[0], QStringLiteral("1*\t268-06\tTMN - P"));
            click(d, "button1");
        });
    NetworkListDialog::open(*state, prompter, nullptr, false, nullptr);
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(fields, (QStringList{QStringLiteral("268"), QStringLiteral("06")}));
}

} // namespace
} // namespace kestrel
