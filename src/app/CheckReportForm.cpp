#include "app/CheckReportForm.h"

#include <ctime>
#include <utility>

#include "base/StringTable.h"

namespace kestrel {

namespace {

constexpr int kFullDetails = strId(sid::FullDetails_6000);         // "Full Details"
constexpr int kBriefDetails = strId(sid::BriefDetails_6001);       // "Brief Details"
constexpr int kCheckupFinished = strId(sid::CheckUpFinished_6210); // "Check-up finished: "
constexpr int kFinishedFormat = strId(sid::Text_6211);             // "%m-%d-%Y %H:%M:%S"

} // namespace

CheckReportForm::CheckReportForm(QString brief, QString detailed, bool errorsFound)
    : m_brief(std::move(brief)), m_detailed(std::move(detailed)), m_repairEnabled(errorsFound)
{}

int CheckReportForm::toggleCaptionId() const
{
    return m_detailedShown ? kBriefDetails : kFullDetails;
}

QString CheckReportForm::printTitle(const QDateTime& finished)
{
    const QDate date = finished.date();
    const QTime time = finished.time();
    std::tm tm{};
    tm.tm_year = date.year() - 1900;
    tm.tm_mon = date.month() - 1;
    tm.tm_mday = date.day();
    tm.tm_wday = date.dayOfWeek() % 7;
    tm.tm_yday = date.dayOfYear() - 1;
    tm.tm_hour = time.hour();
    tm.tm_min = time.minute();
    tm.tm_sec = time.second();
    tm.tm_isdst = -1;
    const QByteArray format = StringTable::text(kFinishedFormat).toLocal8Bit();
    char text[128];
    const std::size_t length = std::strftime(text, sizeof text, format.constData(), &tm);
    return StringTable::text(kCheckupFinished) + QString::fromLocal8Bit(text, static_cast<qsizetype>(length));
}

} // namespace kestrel
