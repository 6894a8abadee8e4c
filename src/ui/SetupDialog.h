#pragma once

#include <memory>

#include <QDialog>

#include "app/SetupModel.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace kestrel {

class AppState;
class Prompter;

// "Kestrel! - Setup": the reader device with the reader search, a few program-wide settings and
// the user's country code and international access prefix. exec() gives Accepted only after the
// chosen reader opened and the settings were saved; Close stores nothing (a reader found by the
// search stays open). The logic is SetupModel's; this window shows its values and takes them back.
class SetupDialog final : public QDialog
{
    Q_OBJECT

public:
    SetupDialog(AppState& state, Prompter& prompter, QWidget* parent);
    // With the PC/SC reader listing of the caller's (tests).
    SetupDialog(AppState& state, Prompter& prompter, SetupModel::ReaderLister lister, QWidget* parent);
    ~SetupDialog() override;

    SetupModel& model() { return m_model; }

    void accept() override;
    void reject() override;

private:
    void showValues();
    void takeValues();
    void findReader();
    void fromDatabase();

    SetupModel m_model;
    QComboBox* m_device;
    QPushButton* m_findReader;
    QCheckBox* m_autoRead;
    QCheckBox* m_confirm;
    QCheckBox* m_toolbar;
    QCheckBox* m_cache;
    QCheckBox* m_unicodeNames;
    QCheckBox* m_printPrompt;
    QLineEdit* m_intNumber;
    QLineEdit* m_intSelector;
    QPushButton* m_fromDatabase;
    QComboBox* m_language;
    bool m_searching = false;
};

} // namespace kestrel
