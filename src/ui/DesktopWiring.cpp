#include "ui/DesktopWiring.h"

#include "base/StringIds.h"
#include "ui/CountryCodeDialog.h"
#include "ui/KestrelApp.h"
#include "ui/SetupDialog.h"
#include "ui/StartFileOpener.h"
#include "ui/TelephoneCardDialog.h"
#include "ui/backup/BackupCommands.h"
#include "ui/check/CheckAndRepairCommand.h"
#include "ui/info/InformationDialog.h"
#include "ui/networks/NetworkListDialog.h"
#include "ui/report/PrintFontDialog.h"
#include "ui/report/ReportHeaderDialog.h"
#include "ui/phonebook/CFdnEdDlg.h"
#include "ui/phonebook/CSezEdDlg.h"
#include "ui/phonebook/PhoneBookHooks.h"
#include "ui/sms/SmsParametersDialog.h"
#include "ui/sms/SmsWindow.h"

namespace kestrel {

namespace {

constexpr int kCountryCodesCommand = sid::CountryCodes_40027;
constexpr int kTelephoneCardCommand = sid::TelephoneCard_40086;

} // namespace

void wireDesktop(KestrelApp& app)
{
    app.setEditorFactory(EditorKind::PhoneBook, [](EditorKind, EditorHost& host, QWidget* parent) -> EditorWindow* {
        return new CSezEdDlg(host, parent);
    });
    app.setEditorFactory(EditorKind::Fdn, [](EditorKind, EditorHost& host, QWidget* parent) -> EditorWindow* {
        return new CFdnEdDlg(host, parent);
    });
    app.setEditorFactory(EditorKind::Sms, [](EditorKind, EditorHost& host, QWidget* parent) -> EditorWindow* {
        return new SmsWindow(host, parent);
    });
    app.setSetupHook([](MainWindow& window) {
        SetupDialog dialog(window.state(), window.prompter(), &window);
        dialog.exec();
    });
    app.setCommandHook(kTelephoneCardCommand, [](MainWindow& window) {
        TelephoneCardDialog::open(window.state(), window.prompter(), &window);
    });
    app.setCommandHook(CommandId::kSmsParameters,
                       [](MainWindow& window) { SmsParametersDialog::open(window, &window); });
    // Also button 2019.
    app.setCommandHook(CommandId::kSimInformation, [](MainWindow& window) { InformationDialog::open(window); });
    // Also button 2020.
    app.setCommandHook(CommandId::kCheckAndRepair, [](MainWindow& window) { checkAndRepair(window); });
    app.setCommandHook(CommandId::kReportHeader, &editReportHeader);
    app.setCommandHook(CommandId::kPrintFont, &choosePrintFont);
    app.setCommandHook(CommandId::kBackupCard, &backupCard);
    app.setCommandHook(CommandId::kRestoreCard, &restoreCard);
    app.setCommandHook(CommandId::kBackupCardImage, &backupCardImage);
    app.setCommandHook(CommandId::kRestoreCardImage, &restoreCardImage);
    app.setCommandHook(CommandId::kOpenBackupFile, &openBackupFile);
    app.setFileOpener(&openStartFile);
    for (const bool forbidden : {false, true})
        app.setCommandHook(
            forbidden ? CommandId::kForbiddenNetworks : CommandId::kPreferredNetworks, [forbidden](MainWindow& window) {
                NetworkListDialog::open(window.state(), window.prompter(), window.progress(), forbidden, &window);
            });
    // Menu "Country Codes": the table to look at; nothing is taken from it.
    app.setCommandHook(kCountryCodesCommand, [](MainWindow& window) { CountryCodeDialog::choose(&window); });

    setCountryChooser(&CountryCodeDialog::choose);
}

} // namespace kestrel
