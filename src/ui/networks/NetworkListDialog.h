#pragma once

#include <memory>

#include <QDialog>

#include "networks/NetworkListModel.h"

class QListWidget;
class QPushButton;

namespace kestrel {

class AppState;
class ProgressSink;
class Prompter;

// "Kestrel! - Preferred Networks" (dialog 176) and "Kestrel! - Forbidden Networks" (178): the
// network list of EF_PLMNsel or EF_FPLMN, one line per entry, read from the card as the dialog
// opens and edited, deleted, written back, copied and printed with the buttons beside it. Every
// rule lives in the NetworkListModel; the dialog shows its lines and enables its buttons.
class NetworkListDialog final : public QDialog
{
    Q_OBJECT

public:
    // progress: the window the card operations show (null: one of the dialog's own).
    NetworkListDialog(AppState& state, Prompter& prompter, ProgressSink* progress, bool forbidden, QWidget* parent);
    ~NetworkListDialog() override;

    // The menu commands "Preferred Networks" and "Forbidden Networks": the dialog, modal, reading
    // the list from the card once it is on the screen. Without a SimCard nothing is shown.
    static void open(AppState& state, Prompter& prompter, ProgressSink* progress, bool forbidden, QWidget* parent);

    NetworkListModel& model() { return m_model; }

    void readFromCard();
    void writeToCard();
    // Edits the selected entry with "Kestrel! - Select Network".
    void editSelected();
    void deleteSelected();
    void deleteAll();
    // Puts the lines of the used entries on the clipboard.
    void copyAll();
    void print();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int selectedRow() const;
    // Draws every line again, keeping the selection on row `select` when it is still a line.
    void redraw(int select);
    void updateButtons();
    void showContextMenu(const QPoint& at);

    AppState& m_state;
    std::unique_ptr<ProgressSink> m_ownProgress;
    NetworkListModel m_model;
    QListWidget* m_list;
    QPushButton* m_write;
    QPushButton* m_edit;
    QPushButton* m_delete;
    QPushButton* m_deleteAll;
};

} // namespace kestrel
