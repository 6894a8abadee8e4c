#pragma once

#include <QDateTime>
#include <QString>

namespace kestrel {

// The state of the check report dialog (179, "Kestrel! - Check SIM Card Report"): the brief and
// the detailed report of one check, which of them is shown (the brief one at first), whether
// "&Repair Errors" is offered (errors were found), and the title a printout of it carries.
class CheckReportForm
{
public:
    CheckReportForm(QString brief, QString detailed, bool errorsFound);

    // The report shown, lines ending in "\r\n".
    const QString& shownText() const { return m_detailedShown ? m_detailed : m_brief; }
    bool detailedShown() const { return m_detailedShown; }
    // Button 3 shows the other report.
    void toggle() { m_detailedShown = !m_detailedShown; }
    // The caption of button 3: "Full Details" while the brief report is shown, "Brief Details"
    // while the detailed one is.
    int toggleCaptionId() const;
    bool repairEnabled() const { return m_repairEnabled; }

    // The title of a printed report: "Check-up finished: " and the time in the string table's
    // strftime pattern ("%m-%d-%Y %H:%M:%S").
    static QString printTitle(const QDateTime& finished);

private:
    QString m_brief;
    QString m_detailed;
    bool m_repairEnabled;
    bool m_detailedShown = false;
};

} // namespace kestrel
