#pragma once

#include <QMainWindow>

class QTextBrowser;
class QUrl;

namespace kestrel {

// The user guide: the HTML pages of resources/guide (embedded as :/guide/, the Czech ones in
// cs/), shown in a window of its own beside the main window, with Back, Forward and Contents.
// Links to other sites open in the desktop's browser.
class GuideWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit GuideWindow(QWidget* parent = nullptr);

    // The guide window of parent (made on first use), on page, raised.
    static GuideWindow* showPage(QWidget* parent, const QString& page);

    // Where a page of the guide is: in the language the program speaks when the guide has it
    // in that language, else in English.
    static QUrl pageUrl(const QString& page);

    void open(const QString& page);
    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};

} // namespace kestrel
