#include "ui/GuideWindow.h"

#include <QAction>
#include <QFile>
#include <QStyle>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QUrl>

#include "app/UserGuide.h"
#include "ui/UiText.h"

namespace kestrel {

QUrl GuideWindow::pageUrl(const QString& page)
{
    // The pages in the program's language where the guide has them (cs/index.html ...).
    const QString language = languageInUse();
    const QString translated = language + QLatin1Char('/') + page;
    const bool haveTranslation =
        language != QLatin1String("en") && QFile::exists(QStringLiteral(":/guide/") + translated);
    return QUrl(QStringLiteral("qrc:/guide/") + (haveTranslation ? translated : page));
}

GuideWindow::GuideWindow(QWidget* parent) : QMainWindow(parent, Qt::Window), m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("guideWindow"));
    setWindowTitle(uiText(strId(sid::UserGuide_9994)));
    m_browser->setObjectName(QStringLiteral("guide"));
    m_browser->setOpenExternalLinks(true);
    m_browser->document()->setDocumentMargin(12);
    setCentralWidget(m_browser);

    QToolBar* bar = addToolBar(QString());
    bar->setObjectName(QStringLiteral("guideBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), uiText(strId(sid::Back_9995)),
                                   m_browser, &QTextBrowser::backward);
    back->setObjectName(QStringLiteral("back"));
    back->setShortcuts(QKeySequence::Back);
    back->setEnabled(false);
    QAction* forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), uiText(strId(sid::Forward_9996)),
                                      m_browser, &QTextBrowser::forward);
    forward->setObjectName(QStringLiteral("forward"));
    forward->setShortcuts(QKeySequence::Forward);
    forward->setEnabled(false);
    QAction* contents = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), uiText(strId(sid::Contents_9997)),
                                       this, [this] { open(QString::fromLatin1(UserGuide::kContents)); });
    contents->setObjectName(QStringLiteral("contents"));
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    resize(820, 640);
}

GuideWindow* GuideWindow::showPage(QWidget* parent, const QString& page)
{
    auto* window = parent ? parent->findChild<GuideWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!window)
        window = new GuideWindow(parent);
    window->open(page);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void GuideWindow::open(const QString& page)
{
    if (m_browser->source() != pageUrl(page))
        m_browser->setSource(pageUrl(page));
}

} // namespace kestrel
