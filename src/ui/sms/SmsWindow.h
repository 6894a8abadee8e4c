#pragma once

#include <array>
#include <memory>

#include <QPoint>
#include <QString>

#include "sms/SmsListModel.h"
#include "ui/EditorWindow.h"
#include "ui/phonebook/PhoneBookListView.h"

class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace kestrel {

class ProgressSink;
class ListTableModel;
template <typename Model>
class EditorListDriver;

// The MIME type of the "Kestrel_SMS" clipboard and drag format (the registered clipboard format
// of that name on Windows).
QString smsMimeType();

// An SMS editor window (dialog 106): the list of an SmsListModel's rows with the details of the
// focused row under it, its buttons, context menu, keys, clipboard and drag and drop, and the
// dialogs of its commands. The model does every piece of the work; the window shows it and turns
// input into model calls.
class SmsWindow final : public EditorWindow, public SmsListView, private PhoneBookListHandler
{
    Q_OBJECT

public:
    explicit SmsWindow(EditorHost& host, QWidget* parent = nullptr);
    ~SmsWindow() override;

    void create(int number, int readMode) override;
    void handleCommand(int id) override;
    bool hasUnsavedChanges() const override;
    void printList() override;

    SmsListModel& model() { return *m_model; }
    PhoneBookListView* list() const { return m_list; }

    // SmsListView
    void redraw(int select, int first, int last) override;
    void selectionChanged() override;

protected:
    bool confirmClose() override;

private:
    // PhoneBookListHandler
    void listCommand(int id) override;
    void listStartDrag() override;
    Qt::DropAction listDragOver(const QMimeData* data, Qt::KeyboardModifiers keys, QPoint pos) override;
    void listDragLeave() override;
    Qt::DropAction listDrop(const QMimeData* data, QPoint pos, Qt::DropAction action) override;

    void buildLayout();
    QPushButton* addButton(int textId, const char* name, int command);
    void placeOnParent();
    void showContextMenu(QPoint pos);
    void showDetails();
    // The view's selection and focused row as the model holds them, and back.
    void selectionFromModel();
    void selectionToModel();

    void editEntry();
    void insertEntry();
    void openEditDialog(int row);
    void selectRangeDialog();
    void copyToClipboard(bool cut);
    void pasteFromClipboard();
    void saveFile();
    void addToArchive();
    void openFile();

    std::unique_ptr<ProgressSink> m_progress;
    std::unique_ptr<SmsListModel> m_model;
    ListTableModel* m_table = nullptr;
    std::unique_ptr<EditorListDriver<SmsListModel>> m_driver;
    PhoneBookListView* m_list = nullptr;
    QPlainTextEdit* m_detailText = nullptr;
    std::array<QLineEdit*, SmsListModel::kDetails - 1> m_details{};
    QMenu* m_contextMenu = nullptr;
    bool m_closing = false;
};

} // namespace kestrel
