#pragma once

#include <array>
#include <memory>

#include <QString>

#include "sms/SmsListModel.h"
#include "ui/EditorWindow.h"
#include "ui/phonebook/PhoneBookListView.h"

class QLineEdit;
class QPlainTextEdit;

namespace kestrel {

class ProgressSink;
template <typename Model>
class EditorListDriver;

// The MIME type of the "Kestrel_SMS" clipboard and drag format: the format's own name, as the
// phone book windows use "Kestrel_Dial".
QString smsMimeType();

// An SMS editor window (dialog 106): the list of an SmsListModel's rows with the details of the
// focused row under it, its buttons, context menu, keys, clipboard and drag and drop, and the
// dialogs of its commands. The model does every piece of the work; the window shows it and turns
// input into model calls.
class SmsWindow final : public EditorWindow, public SmsListView
{
    Q_OBJECT

public:
    explicit SmsWindow(EditorHost& host, QWidget* parent = nullptr);
    ~SmsWindow() override;

    void create(int number, int readMode) override;
    void handleCommand(int id) override;
    bool hasUnsavedChanges() const override;
    void printList() override;
    bool canUndo() const override { return m_model->canUndo(); }
    bool canRedo() const override { return m_model->canRedo(); }

    SmsListModel& model() { return *m_model; }
    PhoneBookListView* list() const;

    // SmsListView
    void redraw(int select, int first, int last) override;
    void selectionChanged() override;
    void historyChanged() override;

protected:
    bool confirmClose() override;

private:
    void buildLayout();
    void showDetails();

    void editEntry();
    void insertEntry();
    void openEditDialog(int row);
    void selectRangeDialog();
    void saveFile();
    void addToArchive();
    void openFile();

    std::unique_ptr<ProgressSink> m_progress;
    std::unique_ptr<SmsListModel> m_model;
    std::unique_ptr<EditorListDriver<SmsListModel>> m_driver;
    QPlainTextEdit* m_detailText = nullptr;
    std::array<QLineEdit*, SmsListModel::kDetails - 1> m_details{};
};

} // namespace kestrel
