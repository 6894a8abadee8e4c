#pragma once

#include <memory>

#include "phonebook/FindReplace.h"
#include "phonebook/PhoneBookModel.h"
#include "ui/EditorWindow.h"
#include "ui/phonebook/PhoneBookListView.h"

class QCheckBox;

namespace kestrel {

template <typename Model>
class EditorListDriver;
class ProgressSink;

// What the two dialling-number windows differ in.
struct PhoneBookWindowKind
{
    EditorKind kind;
    DialBook book;
    int captionId;  // the window title before " - [n]"
    int clearAllId; // "Clear All" / "&Delete All"
    bool fdnBox;    // the disabled "FDN Ac&tive" box
};

// A phone book or fixed-dialling-number editor window: the list of a PhoneBookModel with its
// buttons, context menu, keys, clipboard and drag and drop, and the dialogs of its commands. The
// model does every piece of the work; the window shows it and turns input into model calls.
class PhoneBookWindow : public EditorWindow, public PhoneBookView, private FindReplaceUi
{
    Q_OBJECT

public:
    PhoneBookWindow(const PhoneBookWindowKind& kind, EditorHost& host, QWidget* parent);
    ~PhoneBookWindow() override;

    void create(int number, int readMode) override;
    void handleCommand(int id) override;
    bool hasUnsavedChanges() const override;
    void printList() override;
    bool canUndo() const override { return m_model->canUndo(); }
    bool canRedo() const override { return m_model->canRedo(); }

    PhoneBookModel& model() { return *m_model; }
    PhoneBookListView* list() const;

    // PhoneBookView
    void redraw(int select, int first, int last) override;
    void selectionChanged() override;
    void historyChanged() override;

protected:
    bool confirmClose() override;
    // After a card read or write: the FDN window shows the card's fixed-dialling state.
    virtual void cardWorkDone() {}
    QCheckBox* fdnBox() const { return m_fdnBox; }

private:
    // FindReplaceUi
    FindAction runDialog(FindRequest& request) override;
    ReplaceAnswer askReplace() override;

    void buildLayout(const PhoneBookWindowKind& kind);
    void headerClicked(int section);
    void showSortMark();

    void readFromCard();
    void writeToCard();
    void editEntry();
    void insertEntry();
    void sortDialog();
    void selectRangeDialog();
    void addCodeDialog();
    void internationalizeDialog();
    void saveFile();
    void openFile();
    void addFromFile();

    std::unique_ptr<ProgressSink> m_progress;
    std::unique_ptr<PhoneBookModel> m_model;
    std::unique_ptr<FindReplace> m_find;
    std::unique_ptr<EditorListDriver<PhoneBookModel>> m_driver;
    QCheckBox* m_fdnBox = nullptr;
    int m_captionId;
};

} // namespace kestrel
