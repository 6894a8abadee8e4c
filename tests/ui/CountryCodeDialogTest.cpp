#include "ui/CountryCodeDialog.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "GuiTest.h"
#include "ModalAnswer.h"

namespace kestrel {
namespace {

using CountryCodeDialogTest = test::GuiTest;

QTreeWidget* listOf(QWidget* dialog)
{
    return dialog->findChild<QTreeWidget*>(QStringLiteral("countries"));
}

QTreeWidgetItem* row(QTreeWidget* list, const QString& country)
{
    const QList<QTreeWidgetItem*> found = list->findItems(country, Qt::MatchExactly, 0);
    return found.size() == 1 ? found.first() : nullptr;
}

void clickHeader(QTreeWidget* list, int section)
{
    QHeaderView* header = list->header();
    const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

TEST_F(CountryCodeDialogTest, HeaderClicksSwitchBetweenTableOrderAndCodeOrder)
{
    CountryCodeDialog d;
    d.show();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Kestrel! - Country Dialing Codes"));
    QTreeWidget* list = listOf(&d);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->topLevelItemCount(), 229);
    EXPECT_EQ(list->headerItem()->text(0), QStringLiteral("Country"));
    EXPECT_EQ(list->headerItem()->text(1), QStringLiteral("Dialing number"));
    EXPECT_EQ(list->columnWidth(0), 200);

    struct Expect
    {
        int column;
        const char* first[2];
        const char* last[2];
    };
    const Expect steps[] = {
        {0, {"Albania", "+355"}, {"Zimbabwe", "+263"}},
        {1, {"Canada", "+1"}, {"Kyrgyzstan", "+996"}},
        {1, {"Canada", "+1"}, {"Kyrgyzstan", "+996"}}, // a second click keeps the order
        {0, {"Albania", "+355"}, {"Zimbabwe", "+263"}},
    };
    QTreeWidgetItem* germany = row(list, QStringLiteral("Germany"));
    ASSERT_NE(germany, nullptr);
    list->setCurrentItem(germany);
    for (const Expect& e : steps) {
        SCOPED_TRACE(e.column);
        clickHeader(list, e.column);
        EXPECT_EQ(d.orderColumn(), e.column);
        EXPECT_EQ(list->header()->sortIndicatorSection(), e.column);
        EXPECT_EQ(list->header()->sortIndicatorOrder(), Qt::AscendingOrder);
        const QTreeWidgetItem* first = list->topLevelItem(0);
        const QTreeWidgetItem* last = list->topLevelItem(list->topLevelItemCount() - 1);
        EXPECT_EQ(first->text(0), QString::fromLatin1(e.first[0]));
        EXPECT_EQ(first->text(1), QString::fromLatin1(e.first[1]));
        EXPECT_EQ(last->text(0), QString::fromLatin1(e.last[0]));
        EXPECT_EQ(last->text(1), QString::fromLatin1(e.last[1]));
        // The chosen country stays chosen whatever the order.
        EXPECT_EQ(d.selectedCode(), QStringLiteral("+49"));
    }
    // By code, "+1264" comes before "+20" (text order).
    clickHeader(list, 1);
    const int anguilla = list->indexOfTopLevelItem(row(list, QStringLiteral("Anguilla")));
    const int egypt = list->indexOfTopLevelItem(row(list, QStringLiteral("Egypt")));
    EXPECT_LT(anguilla, egypt);
}

TEST_F(CountryCodeDialogTest, ChooseGivesTheSelectedCode)
{
    // OK with a row, a double click, OK with nothing selected, Cancel with a row.
    test::answerModal<CountryCodeDialog>([](CountryCodeDialog* d) {
        listOf(d)->setCurrentItem(row(listOf(d), QStringLiteral("Virgin Islands (BR)")));
        d->findChild<QPushButton*>(QStringLiteral("ok"))->click();
    });
    EXPECT_EQ(CountryCodeDialog::choose(nullptr), QStringLiteral("+1809496"));

    test::answerModal<CountryCodeDialog>([](CountryCodeDialog* d) {
        QTreeWidget* list = listOf(d);
        clickHeader(list, 1);
        QTreeWidgetItem* item = row(list, QStringLiteral("Czech Republic"));
        list->scrollToItem(item);
        // A widget double click arrives as press, release, double-click, release.
        const QPoint at = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    });
    EXPECT_EQ(CountryCodeDialog::choose(nullptr), QStringLiteral("+420"));

    test::answerModal<CountryCodeDialog>(
        [](CountryCodeDialog* d) { d->findChild<QPushButton*>(QStringLiteral("ok"))->click(); });
    EXPECT_EQ(CountryCodeDialog::choose(nullptr), QString());

    test::answerModal<CountryCodeDialog>([](CountryCodeDialog* d) {
        listOf(d)->setCurrentItem(row(listOf(d), QStringLiteral("Germany")));
        d->findChild<QPushButton*>(QStringLiteral("cancel"))->click();
    });
    EXPECT_EQ(CountryCodeDialog::choose(nullptr), QString());
}

} // namespace
} // namespace kestrel
