// The phone book window's clipboard and drag and drop.
#include "PhoneBookWindowFixture.h"

namespace kestrel {
namespace {

TEST_F(PhoneBookWindowTest, CopyPutsBothFormsOnTheClipboardAndPasteReproducesTheEntries)
{
    CSezEdDlg* from = open<CSezEdDlg>(0, -1);
    putEntry(from->model(), 0, "Mother", "420602111222", 1);
    putEntry(from->model(), 2, "Šef", "123", 0);
    from->model().redraw();

    // Only free rows selected: the clipboard keeps what it had.
    QApplication::clipboard()->setText(QStringLiteral("before"));
    clickRow(from, 1);
    QTest::keyClick(from->list(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));

    clickRow(from, 0);
    clickRow(from, 2, Qt::ShiftModifier);
    EXPECT_EQ(from->model().selectedRows(), (std::vector<int>{0, 1, 2}));
    QTest::keyClick(from->list(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const QString format = QLatin1String(kDialClipFormat);
    ASSERT_TRUE(data->hasFormat(format));
    const PhoneBookModel& m = from->model();
    const DialEntry* rows[] = {&m.entry(0), &m.entry(1), &m.entry(2)};
    EXPECT_EQ(data->data(format), encodeDialPayload(m.listHandle(), rows));
    EXPECT_EQ(data->data(QStringLiteral("text/plain")), QByteArray("Mother\t'+420602111222\r\n\xC5\xA0"
                                                                   "ef\t'123\r\n"));

    CSezEdDlg* to = open<CSezEdDlg>(1, -1);
    clickRow(to, 5);
    QTest::keyClick(to->list(), Qt::Key_V, Qt::ControlModifier);
    for (int i = 0; i < 3; ++i) {
        const DialEntry& a = m.entry(i);
        const DialEntry& b = to->model().entry(5 + i);
        EXPECT_EQ(b.valid, a.valid) << i;
        EXPECT_STREQ(b.name, a.name) << i;
        EXPECT_STREQ(b.number, a.number) << i;
        EXPECT_EQ(b.ton, a.ton) << i;
        EXPECT_EQ(b.position, 5 + i);
    }
    EXPECT_EQ(cell(to, 5, 0), QStringLiteral("  6 *"));
    EXPECT_EQ(cell(to, 7, 1), QStringLiteral("Šef"));

    // Plain text from elsewhere: one entry a line from the focused row, the name as it is.
    QApplication::clipboard()->setText(QStringLiteral("Žofie\t'+49301234\r\nPizza\t777888999\r\n"));
    clickRow(to, 20);
    QTest::keyClick(to->list(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(cell(to, 20, 1), QStringLiteral("Žofie"));
    EXPECT_EQ(cell(to, 20, 2), QStringLiteral("+49301234"));
    EXPECT_EQ(cell(to, 21, 1), QStringLiteral("Pizza"));

    // Cut from the context menu's command clears the copied entries in the source.
    clickRow(to, 20);
    to->handleCommand(2057);
    EXPECT_EQ(cell(to, 20, 1), QString(31, u'-'));
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(format));
}

TEST_F(PhoneBookWindowTest, DropsFromAnotherListAndFromItsOwn)
{
    CSezEdDlg* source = open<CSezEdDlg>(0, -1);
    putEntry(source->model(), 0, "Mother", "420602111222", 1);
    putEntry(source->model(), 1, "Office", "224123456", 0);
    source->model().redraw();
    clickRow(source, 0);
    clickRow(source, 1, Qt::ShiftModifier);
    const std::optional<DialClip> clip = source->model().copySelection(false);
    ASSERT_TRUE(clip);
    QMimeData data;
    data.setData(QLatin1String(kDialClipFormat), clip->payload);
    QMimeData foreign;
    foreign.setText(QStringLiteral("not entries"));

    CSezEdDlg* target = open<CSezEdDlg>(1, -1);
    QTreeView* list = target->list();
    auto at = [list](int row) { return list->visualRect(list->model()->index(row, 0)).center(); };
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;

    QDragEnterEvent enterForeign(at(3), offered, &foreign, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enterForeign);
    EXPECT_FALSE(enterForeign.isAccepted());

    QDragEnterEvent enter(at(3), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction); // from another list: copy
    QDragMoveEvent move(at(4), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &move);
    EXPECT_EQ(target->list()->dropRow(), 4);
    QDropEvent drop(QPointF(at(4)), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    // A copy, though Qt proposes Move: the source's drag must not free its entries.
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
    EXPECT_EQ(target->list()->dropRow(), -1);
    EXPECT_EQ(cell(target, 4, 1), QStringLiteral("Mother"));
    EXPECT_EQ(cell(target, 5, 1), QStringLiteral("Office"));

    // Onto valid entries: declining the overwrite drops nothing and reports no effect, so a moving
    // source keeps its entries.
    host->prompts.answers = {PromptAnswer::No};
    // Qt delivers moves and the drop to the widget that accepted the last enter.
    QDragEnterEvent again(at(5), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &again);
    QDropEvent declined(QPointF(at(5)), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &declined);
    EXPECT_EQ(host->prompts.questions, std::vector<int>{57586});
    EXPECT_FALSE(declined.isAccepted() && declined.dropAction() != Qt::IgnoreAction);
    EXPECT_EQ(cell(target, 6, 1), QString(31, u'-'));

    // Resting near the bottom edge scrolls the list down.
    ASSERT_EQ(target->list()->topRow(), 0);
    const QPoint bottom(10, list->viewport()->height() - 3);
    QDragEnterEvent enterBottom(bottom, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enterBottom);
    EXPECT_GT(target->list()->topRow(), 0);
    QDragLeaveEvent leaveBottom;
    QApplication::sendEvent(list->viewport(), &leaveBottom);

    // Within its own list: move, or copy with Ctrl.
    QTreeView* own = source->list();
    const QPoint ownRow = own->visualRect(own->model()->index(6, 0)).center();
    for (const auto& [keys, action] :
         {std::pair{Qt::NoModifier, Qt::MoveAction}, std::pair{Qt::ControlModifier, Qt::CopyAction}}) {
        QDragEnterEvent enterOwn(ownRow, offered, &data, Qt::LeftButton, keys);
        QApplication::sendEvent(own->viewport(), &enterOwn);
        QDragMoveEvent over(ownRow, offered, &data, Qt::LeftButton, keys);
        QApplication::sendEvent(own->viewport(), &over);
        EXPECT_TRUE(over.isAccepted());
        EXPECT_EQ(over.dropAction(), action);
        EXPECT_EQ(source->list()->dropRow(), 6);
        QDragLeaveEvent leave;
        QApplication::sendEvent(own->viewport(), &leave);
        EXPECT_EQ(source->list()->dropRow(), -1);
    }
}

// A drag from one phone book window dropped on another without Ctrl: Qt proposes Move, the target
// shows and reports a copy, and the source, ending its drag with that action, keeps its entries.
TEST_F(PhoneBookWindowTest, ADropOnAnotherWindowWithoutCtrlIsACopy)
{
    CSezEdDlg* source = open<CSezEdDlg>(0, -1);
    putEntry(source->model(), 0, "Mother", "420602111222", 1);
    source->model().redraw();
    clickRow(source, 0);
    const std::optional<QByteArray> payload = source->model().startDrag();
    ASSERT_TRUE(payload);
    QMimeData data;
    data.setData(QLatin1String(kDialClipFormat), *payload);

    CSezEdDlg* target = open<CSezEdDlg>(1, -1);
    QWidget* viewport = target->list()->viewport();
    const QPoint at = target->list()->visualRect(target->list()->model()->index(2, 0)).center();
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QDropEvent drop(QPointF(at), offered, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setDropAction(Qt::MoveAction); // what a drag started with Move as its default carries
    QApplication::sendEvent(viewport, &drop);
    ASSERT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
    source->model().endDrag(fromQtDropAction(drop.dropAction()));
    EXPECT_EQ(cell(target, 2, 1), QStringLiteral("Mother"));
    EXPECT_EQ(cell(source, 0, 1), QStringLiteral("Mother"));
    EXPECT_EQ(source->model().entry(0).valid, 1);
}

} // namespace
} // namespace kestrel
