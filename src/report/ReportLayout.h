#pragma once

#include "codec/DialEntry.h"
#include "codec/SmsEntry.h"
#include "report/ReportCanvas.h"
#include "report/ReportHeader.h"

#include <QList>
#include <QString>

#include <functional>

namespace kestrel {

// Lays out the three printed documents - a text report, the phone book list and the message list -
// page by page onto a ReportCanvas. Every page carries the header block (shop details, print time,
// ICCID), the title or column heads with the page number "<n>" at the right edge, a rule below them
// and a rule at the bottom limit. Geometry in 0.1 mm: left margin 200, right edge page width - 100,
// first line at y = -100, bottom limit -(page height - 20).
class ReportLayout
{
public:
    static constexpr int kLeftMargin = 200;
    static constexpr int kTopLine = -100;
    static constexpr int kRightGap = 100;
    static constexpr int kBottomGap = 20;
    static constexpr int kDefaultTab = 400; // tab stops beyond the last given one
    static constexpr int kLineGap = 15;     // between body lines
    static constexpr char kBoldMarker[] = "{$B}";

    ReportLayout(ReportCanvas& canvas, const ReportHeader& header);

    // Prints text (lines separated by "\r\n" or "\n"; "{$B}" in front makes a line bold; empty lines
    // take no space) under title, with tabStops for the "\t"s of both. Returns the number of pages.
    int printReport(const QString& text, const QString& title, const QList<int>& tabStops);

    // Prints the entries of a dialling-number window, numbered by their position from 1; free
    // positions are counted but print nothing. Returns the number of pages.
    int printPhoneBook(const QList<DialEntry>& entries);

    // Prints the messages of an SMS window, numbered by their position from 1; free positions are
    // counted but print nothing. Returns the number of pages.
    int printMessages(const QList<SmsEntry>& messages);

    // The next tab position after x: the first stop beyond x, or beyond the last stop the next
    // multiple of 400.
    static int nextTabStop(int x, const QList<int>& tabStops);

    // EF_ICCID as printed: per byte the low nibble, then the high nibble, filler F nibbles left out.
    static QString iccidText(const QByteArray& iccid);

    // text as it fits into room: unchanged when it fits, else shortened from the end with "..."
    // appended (just "..." or nothing when even that does not fit).
    QString fitText(const QString& text, int room, bool bold) const;

    // Draws one line at y from the left margin, cut at "\t" into segments, each cut with "..." at the
    // right edge. Returns the line's height.
    int DrawLine(int y, const QString& line, const QList<int>& tabStops, bool bold);

    // Draws the header block from the current y and moves y below it.
    void DrawHeader();

    int rightEdge() const { return m_canvas.pageWidth() - kRightGap; }
    int bottomLimit() const { return -(m_canvas.pageHeight() - kBottomGap); }

private:
    using HeadsPainter = std::function<int(int y)>; // draws the title or column heads, returns height

    void startPage();
    void finishPage();
    // Ends the page and starts the next one when a line of height does not fit above the bottom
    // limit; a fresh page takes the line whatever its height, so that printing always advances.
    void makeRoom(int height);
    int drawHeads(int y, const QList<std::pair<int, QString>>& heads);
    // Pieces of text no wider than room, each at least one character.
    QStringList cutToWidth(const QString& text, int room, bool bold) const;
    // Pieces of text no wider than room, broken after the last space when it lies beyond the middle
    // of the piece that fits.
    QStringList wrapWords(const QString& text, int room, bool bold) const;

    ReportCanvas& m_canvas;
    ReportHeader m_header;
    HeadsPainter m_heads;
    int m_page = 0;
    int m_y = 0;
    bool m_pageOpen = false;
    bool m_pageHasBody = false;
};

} // namespace kestrel
