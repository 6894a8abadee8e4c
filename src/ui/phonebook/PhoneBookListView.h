#pragma once

#include <QTreeView>

class QMimeData;

namespace kestrel {

// What the list hands on to its window: the commands of its keys and the steps of drag and drop.
class PhoneBookListHandler
{
public:
    virtual ~PhoneBookListHandler() = default;
    // A key of the list: Ins, Del, Ctrl+Del, Ctrl+A, Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+Z, Ctrl+Shift+Z
    // (and the other keys of editorKeysOf) as the window's command ids.
    virtual void listCommand(int id) = 0;
    // Enter or F2: edit the focused row, as a double click on it does.
    virtual void listEdit() = 0;
    // The user began to drag the selected rows.
    virtual void listStartDrag() = 0;
    // Drag enter and drag over at pos (viewport coordinates): the effect a drop would have
    // (Qt::IgnoreAction for none).
    virtual Qt::DropAction listDragOver(const QMimeData* data, Qt::KeyboardModifiers keys, QPoint pos) = 0;
    virtual void listDragLeave() = 0;
    // The drop itself; the action that was carried out.
    virtual Qt::DropAction listDrop(const QMimeData* data, QPoint pos, Qt::DropAction action) = 0;
};

// The three-column list of a phone book window: whole rows, multiple selection, a focused row,
// a highlighted drop-target row, header clicks and divider double-clicks. Everything it is asked
// to do goes to its PhoneBookListHandler.
class PhoneBookListView final : public QTreeView
{
    Q_OBJECT

public:
    explicit PhoneBookListView(QWidget* parent = nullptr);

    void setHandler(PhoneBookListHandler* handler) { m_handler = handler; }
    // The clipboard format of the entries the list takes by drag and drop ("Kestrel_Dial" unless
    // set): a drag of them that enters over no row is still followed.
    void setEntryFormat(const QString& format) { m_entryFormat = format; }

    // The row highlighted as the target of a drop (-1: none).
    void setDropRow(int row);
    int dropRow() const { return m_dropRow; }

    // The row under a point of the viewport, -1 when there is none.
    int rowAtPoint(QPoint pos) const;
    // The first row shown and the number of rows that fit into the viewport.
    int topRow() const;
    int rowsPerPage() const;
    // Scrolls so that row is the first row shown / is shown at all.
    void scrollToTop(int row);
    void scrollRowIntoView(int row);

    // Sets a column to its widest text (header included) + 20 pixels.
    void fitColumn(int column);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    bool dragOver(QDropEvent* event);

    PhoneBookListHandler* m_handler = nullptr;
    QString m_entryFormat;
    int m_dropRow = -1;
};

} // namespace kestrel
