#pragma once

// What a PDF file the printers wrote shows, through poppler-utils: its text (pdftotext, the layout
// kept so that one printed line is one line of text) and the fonts it uses (pdffonts).

#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace kestrel::test {

// Standard output of a poppler tool, empty (and the test failed) when it did not run.
inline QString popplerOutput(const QString& tool, const QStringList& args)
{
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << tool.toStdString() << " failed on " << args.join(u' ').toStdString()
                      << " (is poppler-utils installed?): " << p.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of page `page` (from 1), or of every page (0); pages end with a form feed.
inline QString pdfText(const QString& path, int page = 0)
{
    QStringList args{QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    return popplerOutput(QStringLiteral("pdftotext"), args << path << QStringLiteral("-"));
}

// The non-empty lines of a page's text, blanks at both ends removed.
inline QStringList pdfLines(const QString& path, int page)
{
    QStringList lines;
    for (const QString& line : pdfText(path, page).split(u'\n')) {
        const QString trimmed = line.trimmed().remove(u'\f');
        if (!trimmed.isEmpty())
            lines.append(trimmed);
    }
    return lines;
}

inline int pdfPageCount(const QString& path)
{
    return static_cast<int>(pdfText(path).count(u'\f'));
}

// The names of the fonts the file uses (e.g. "ABCDEF+DejaVuSerif-Bold").
inline QString pdfFonts(const QString& path)
{
    return popplerOutput(QStringLiteral("pdffonts"), {path});
}

} // namespace kestrel::test
