#include "report/ReportLayout.h"

#include "base/StringTable.h"
#include "codec/DialDigits.h"
#include "codec/PcText.h"
#include "codec/SmsMessageParts.h"

#include <algorithm>
#include <cstring>

namespace kestrel {

namespace {

const QList<int> kOneValueStops{500, 600, 700};
const QList<int> kTwoValueStops{500, 900, 1200};

// Columns of the phone book list.
constexpr int kBookNumberX = 200;
constexpr int kBookNameX = 500;
constexpr int kBookDialX = 1000;
// Room kept free between a cut name and the telephone column.
constexpr int kColumnGap = 15;

// Columns of the message list.
constexpr int kSmsNumberX = 200;
constexpr int kSmsPhoneX = 300;
constexpr int kSmsStatusX = 1000;
constexpr int kSmsWhenX = 1300;

QStringList splitLines(const QString& text)
{
    QString unified = text;
    unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return unified.split(QLatin1Char('\n'));
}

QString fixedText(const char* text, std::size_t size)
{
    return pcTextToUnicode(std::string_view(text, strnlen(text, size)));
}

} // namespace

ReportLayout::ReportLayout(ReportCanvas& canvas, const ReportHeader& header) : m_canvas(canvas), m_header(header) {}

int ReportLayout::nextTabStop(int x, const QList<int>& tabStops)
{
    for (int stop : tabStops) {
        if (stop > x)
            return stop;
    }
    return (x / kDefaultTab + 1) * kDefaultTab;
}

QString ReportLayout::iccidText(const QByteArray& iccid)
{
    static const char digits[] = "0123456789ABCDEF";
    QString text;
    for (char byte : iccid) {
        const auto b = static_cast<uint8_t>(byte);
        if ((b & 0x0F) != 0x0F)
            text += QLatin1Char(digits[b & 0x0F]);
        if ((b >> 4) != 0x0F)
            text += QLatin1Char(digits[b >> 4]);
    }
    return text;
}

QString ReportLayout::fitText(const QString& text, int room, bool bold) const
{
    if (m_canvas.textWidth(text, bold) <= room)
        return text;
    const QString dots = QStringLiteral("...");
    // Binary search for the longest prefix that fits with the dots; widths grow with the prefix.
    qsizetype low = 0;
    qsizetype high = text.size() - 1;
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (m_canvas.textWidth(text.left(mid) + dots, bold) <= room)
            low = mid;
        else
            high = mid - 1;
    }
    const QString cut = text.left(low) + dots;
    if (m_canvas.textWidth(cut, bold) <= room)
        return cut;
    return {};
}

int ReportLayout::DrawLine(int y, const QString& line, const QList<int>& tabStops, bool bold)
{
    const QStringList segments = line.split(QLatin1Char('\t'));
    const int right = rightEdge();
    int x = kLeftMargin;
    int height = 0;
    for (qsizetype i = 0; i < segments.size(); ++i) {
        if (i > 0)
            x = nextTabStop(x, tabStops);
        const QString& segment = segments[i];
        if (!segment.isEmpty()) {
            const QString shown = fitText(segment, right - x, bold);
            if (!shown.isEmpty())
                m_canvas.drawText(x, y, shown, bold);
            x += m_canvas.textWidth(shown, bold);
        }
        height = std::max(height, m_canvas.lineHeight(bold));
    }
    return height;
}

void ReportLayout::DrawHeader()
{
    const QString sep = QStringLiteral(" \t");
    QList<std::pair<QString, const QList<int>*>> lines;
    if (!m_header.shop.isEmpty())
        lines.append({StringTable::text(sid::Shop_9022) + sep + m_header.shop, &kOneValueStops});
    if (!m_header.address.isEmpty())
        lines.append({StringTable::text(sid::Address_9023) + sep + m_header.address, &kOneValueStops});
    if (!m_header.salesperson.isEmpty())
        lines.append({StringTable::text(sid::Salesperson_9024) + sep + m_header.salesperson, &kOneValueStops});
    if (!m_header.phone.isEmpty() || !m_header.fax.isEmpty())
        lines.append({StringTable::text(sid::Phone_9025) + sep + m_header.phone + sep +
                          StringTable::text(sid::Fax_9026) + sep + m_header.fax,
                      &kTwoValueStops});
    if (!m_header.email.isEmpty())
        lines.append({StringTable::text(sid::EMail_9031) + sep + m_header.email, &kOneValueStops});
    if (!m_header.comment.isEmpty())
        lines.append({StringTable::text(sid::Comment_9027) + sep + m_header.comment, &kOneValueStops});
    for (const auto& [text, stops] : lines)
        m_y -= DrawLine(m_y, text, *stops, false) + 5;
    m_y -= 10;

    const QString digits = iccidText(m_header.iccid);
    const QString iccid = digits.isEmpty() ? StringTable::text(sid::NotAccessible_9028) : digits;
    const QString time = m_header.printTime.toString(QStringLiteral("MM-dd-yyyy HH:mm"));
    const QString printed = StringTable::text(sid::PrintTime_9029) + sep + time + sep +
                            StringTable::text(sid::CardIccid_9030) + QStringLiteral(" ") + iccid;
    m_y -= DrawLine(m_y, printed, kTwoValueStops, false) + 15;
}

void ReportLayout::startPage()
{
    m_canvas.beginPage();
    m_pageOpen = true;
    m_pageHasBody = false;
    ++m_page;
    m_y = kTopLine;
    DrawHeader();

    const int headsHeight = m_heads ? m_heads(m_y) : 0;
    const QString number = QStringLiteral("<%1>").arg(m_page);
    const int right = rightEdge();
    m_canvas.drawText(right - m_canvas.textWidth(number, false), m_y, number, false);
    const int height = std::max(headsHeight, m_canvas.lineHeight(false));
    const int ruleY = m_y - height - 5;
    m_canvas.drawLine(kLeftMargin, ruleY, right, ruleY);
    m_canvas.drawLine(kLeftMargin, bottomLimit(), right, bottomLimit());
    m_y = ruleY - 10;
}

void ReportLayout::finishPage()
{
    if (m_pageOpen)
        m_canvas.endPage();
    m_pageOpen = false;
}

void ReportLayout::makeRoom(int height)
{
    if (!m_pageOpen) {
        startPage();
        return;
    }
    if (m_pageHasBody && m_y - height - kLineGap < bottomLimit()) {
        finishPage();
        startPage();
    }
}

int ReportLayout::drawHeads(int y, const QList<std::pair<int, QString>>& heads)
{
    const int right = rightEdge();
    for (qsizetype i = 0; i < heads.size(); ++i) {
        const int x = heads[i].first;
        const int end = i + 1 < heads.size() ? heads[i + 1].first : right;
        const QString shown = fitText(heads[i].second, end - x, true);
        if (!shown.isEmpty())
            m_canvas.drawText(x, y, shown, true);
    }
    return m_canvas.lineHeight(true);
}

int ReportLayout::printReport(const QString& text, const QString& title, const QList<int>& tabStops)
{
    m_page = 0;
    m_heads = [&](int y) { return DrawLine(y, title, tabStops, true); };
    startPage();
    const QString marker = QString::fromLatin1(kBoldMarker);
    for (QString line : splitLines(text)) {
        if (line.isEmpty())
            continue;
        const bool bold = line.startsWith(marker);
        if (bold)
            line.remove(0, marker.size());
        makeRoom(m_canvas.lineHeight(bold));
        m_y -= DrawLine(m_y, line, tabStops, bold) + kLineGap;
        m_pageHasBody = true;
    }
    finishPage();
    return m_page;
}

int ReportLayout::printPhoneBook(const QList<DialEntry>& entries)
{
    m_page = 0;
    const QList<std::pair<int, QString>> heads{{kBookNumberX, StringTable::text(sid::Text_5800)},
                                               {kBookNameX, StringTable::text(sid::Name_5801)},
                                               {kBookDialX, StringTable::text(sid::Telephone_5802)}};
    m_heads = [&](int y) { return drawHeads(y, heads); };
    startPage();
    const int right = rightEdge();
    const int height = m_canvas.lineHeight(false);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const DialEntry& entry = entries[i];
        if (!entry.valid)
            continue;
        const QString dial = QString::fromStdString(
            JoinPlus(std::string_view(entry.number, strnlen(entry.number, kDialNumberSize)), entry.ton));
        QStringList pieces = cutToWidth(dial, right - kBookDialX, false);
        if (pieces.isEmpty())
            pieces.append(QString());
        for (qsizetype p = 0; p < pieces.size(); ++p) {
            makeRoom(height);
            if (p == 0) {
                m_canvas.drawText(kBookNumberX, m_y, QString::number(i + 1), false);
                const QString name =
                    fitText(fixedText(entry.name, kDialNameSize), kBookDialX - kBookNameX - kColumnGap, false);
                if (!name.isEmpty())
                    m_canvas.drawText(kBookNameX, m_y, name, false);
            }
            if (!pieces[p].isEmpty())
                m_canvas.drawText(kBookDialX, m_y, pieces[p], false);
            m_y -= height + kLineGap;
            m_pageHasBody = true;
        }
    }
    finishPage();
    return m_page;
}

int ReportLayout::printMessages(const QList<SmsEntry>& messages)
{
    m_page = 0;
    const QList<std::pair<int, QString>> heads{{kSmsNumberX, StringTable::text(sid::Text_5820)},
                                               {kSmsPhoneX, StringTable::text(sid::Telephone_5821)},
                                               {kSmsStatusX, StringTable::text(sid::Condition_5822)},
                                               {kSmsWhenX, StringTable::text(sid::DateValidityPeriod_5823)}};
    m_heads = [&](int y) { return drawHeads(y, heads); };
    startPage();
    const int right = rightEdge();
    const int boldHeight = m_canvas.lineHeight(true);
    m_canvas.useMessageFont(true);
    const int height = m_canvas.lineHeight(false);
    m_canvas.useMessageFont(false);
    for (qsizetype i = 0; i < messages.size(); ++i) {
        const SmsEntry& sms = messages[i];
        if (!sms.valid)
            continue;
        makeRoom(boldHeight);
        const QString phone = QString::fromStdString(
            JoinPlus(std::string_view(sms.number, strnlen(sms.number, kSmsNumberSize)), sms.numberTon));
        const int status = std::clamp(sms.status, 0, 3);
        const QList<std::pair<int, QString>> head{{kSmsNumberX, QString::number(i + 1)},
                                                  {kSmsPhoneX, phone},
                                                  {kSmsStatusX, StringTable::text(sid::Read_57931 + status)},
                                                  {kSmsWhenX, fixedText(sms.when, kSmsWhenSize)}};
        drawHeads(m_y, head);
        m_y -= boldHeight + kLineGap;
        m_pageHasBody = true;

        // The text in the message font; a page begun on the way gets its header in the normal one.
        const std::span<const SmsEntry> all(messages.constData(), static_cast<std::size_t>(messages.size()));
        for (const QString& paragraph : splitLines(SmsPrintedText(all, static_cast<int>(i)))) {
            m_canvas.useMessageFont(true);
            QStringList lines = wrapWords(paragraph, right - kSmsPhoneX, false);
            m_canvas.useMessageFont(false);
            if (lines.isEmpty())
                lines.append(QString());
            for (const QString& line : lines) {
                makeRoom(height);
                if (!line.isEmpty()) {
                    m_canvas.useMessageFont(true);
                    m_canvas.drawText(kSmsPhoneX, m_y, line, false);
                    m_canvas.useMessageFont(false);
                }
                m_y -= height + kLineGap;
            }
        }
    }
    finishPage();
    return m_page;
}

QStringList ReportLayout::cutToWidth(const QString& text, int room, bool bold) const
{
    QStringList pieces;
    QString rest = text;
    while (!rest.isEmpty()) {
        qsizetype n = 1;
        while (n < rest.size() && m_canvas.textWidth(rest.left(n + 1), bold) <= room)
            ++n;
        pieces.append(rest.left(n));
        rest.remove(0, n);
    }
    return pieces;
}

QStringList ReportLayout::wrapWords(const QString& text, int room, bool bold) const
{
    QStringList lines;
    QString rest = text;
    while (!rest.isEmpty()) {
        qsizetype n = 1;
        while (n < rest.size() && m_canvas.textWidth(rest.left(n + 1), bold) <= room)
            ++n;
        if (n == rest.size()) {
            lines.append(rest);
            break;
        }
        if (rest[n] == QLatin1Char(' ')) {
            // The break falls on a space right after what fits: the space goes with the break.
            lines.append(rest.left(n));
            rest.remove(0, n + 1);
            continue;
        }
        const qsizetype space = rest.lastIndexOf(QLatin1Char(' '), n - 1);
        const qsizetype cut = space > n / 2 ? space + 1 : n;
        lines.append(rest.left(cut));
        rest.remove(0, cut);
    }
    return lines;
}

} // namespace kestrel
