#include "ui/GuideWindow.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFile>
#include <QRegularExpression>
#include <QTextBrowser>

#include "GuiStateTest.h"
#include "ModalDriver.h"
#include "TestEditor.h"
#include "app/MainCommands.h"
#include "base/StringTable.h"
#include "ui/MainWindow.h"

namespace kestrel {
namespace {

using namespace CommandId;

const QString kGuide = QStringLiteral(":/guide/");

QString pageText(const QString& name)
{
    QFile f(kGuide + name);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The guide as embedded: every link between its pages and every picture leads to a file that is
// there, every page can be reached from the contents, every screenshot is shown somewhere, and
// every page is there in Czech too.
TEST(UserGuide, EveryLinkAndPictureIsThereAndEveryPageAndPictureIsUsed)
{
    std::set<std::string> pages;
    std::set<std::string> images;
    for (QDirIterator it(kGuide, QDirIterator::Subdirectories); it.hasNext();) {
        const QString name = it.next().mid(kGuide.size());
        if (name.endsWith(QLatin1String(".html")))
            pages.insert(name.toStdString());
        else if (name.endsWith(QLatin1String(".png")))
            images.insert(name.toStdString());
    }
    for (const char* page : {"index.html", "phonebook.html", "sms.html"}) {
        ASSERT_TRUE(pages.count(page)) << page << ": the contents and the editor windows' pages";
    }
    for (const std::string& page : pages) {
        if (page.find('/') == std::string::npos) {
            EXPECT_TRUE(pages.count("cs/" + page)) << page << " has no Czech page";
        }
    }

    const QRegularExpression ref(QStringLiteral(R"re((href|src)="([^"#:]+)")re"));
    std::set<std::string> reached{"index.html", "cs/index.html"};
    std::set<std::string> shown;
    std::vector<std::string> todo(reached.begin(), reached.end());
    while (!todo.empty()) {
        const std::string page = todo.back();
        todo.pop_back();
        const QString text = pageText(QString::fromStdString(page));
        EXPECT_TRUE(text.contains(QLatin1String("<title>"))) << page;
        const QString folder = QFileInfo(QString::fromStdString(page)).path();
        for (auto m = ref.globalMatch(text); m.hasNext();) {
            const auto match = m.next();
            const std::string target = QDir::cleanPath(folder + QLatin1Char('/') + match.captured(2)).toStdString();
            EXPECT_TRUE(QFile::exists(kGuide + QString::fromStdString(target))) << page << " -> " << target;
            if (match.captured(1) == QLatin1String("src"))
                shown.insert(target);
            else if (target.ends_with(".html") && reached.insert(target).second)
                todo.push_back(target);
        }
    }
    EXPECT_EQ(reached, pages) << "a page the contents do not lead to";
    EXPECT_EQ(shown, images) << "a screenshot no page shows";
}

class GuideWindowTest : public test::GuiStateTest
{
protected:
    void SetUp() override
    {
        GuiStateTest::SetUp();
        window = std::make_unique<MainWindow>(*state, *prompter);
        window->setEditorFactory(EditorKind::PhoneBook, books.function());
        window->setEditorFactory(EditorKind::Sms, sms.function());
        window->show();
    }
    void TearDown() override { window.reset(); }
    GuideWindow* guide() const { return window->findChild<GuideWindow*>(); }

    test::TestEditorFactory books;
    test::TestEditorFactory sms;
    std::unique_ptr<MainWindow> window;
};

TEST_F(GuideWindowTest, UserGuideOpensThePageOfTheActiveWindowInOneWindowAndF1StaysTheProgramInformation)
{
    EXPECT_EQ(window->action(kUserGuide)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F1));
    EXPECT_EQ(window->action(kHelp)->shortcut(), QKeySequence(Qt::Key_F1));
    test::ModalDriver about;
    about.expect(QStringLiteral("aboutDialog"), [](QWidget* d) { static_cast<QDialog*>(d)->reject(); });
    window->action(kHelp)->trigger();
    EXPECT_TRUE(about.done()) << "F1 shows the program information";
    EXPECT_EQ(guide(), nullptr);
    const struct
    {
        int command; // kEditPhoneBook / kEditSms first, 0: none
        const char* page;
        const char* title;
    } cases[] = {
        {0, "index.html", "Kestrel User Guide"},
        {kEditPhoneBook, "phonebook.html", "The phone book and fixed dialling numbers"},
        {kEditSms, "sms.html", "SMS messages"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        if (c.command != 0)
            window->runCommand(c.command);
        window->runCommand(kUserGuide);
        ASSERT_NE(guide(), nullptr);
        EXPECT_TRUE(guide()->isVisible());
        EXPECT_EQ(guide()->browser()->source(), QUrl(QStringLiteral("qrc:/guide/") + QLatin1String(c.page)));
        EXPECT_EQ(guide()->browser()->documentTitle(), QLatin1String(c.title));
        EXPECT_FALSE(guide()->browser()->toPlainText().isEmpty());
    }
    EXPECT_EQ(window->findChildren<GuideWindow*>().size(), 1) << "one guide window, shown again";

    // Contents, then Back to the SMS page, Forward to the contents again.
    QTextBrowser* browser = guide()->browser();
    guide()->findChild<QAction*>(QStringLiteral("contents"))->trigger();
    EXPECT_EQ(browser->source().fileName(), QStringLiteral("index.html"));
    QAction* back = guide()->findChild<QAction*>(QStringLiteral("back"));
    ASSERT_TRUE(back->isEnabled());
    back->trigger();
    EXPECT_EQ(browser->source().fileName(), QStringLiteral("sms.html"));
    guide()->findChild<QAction*>(QStringLiteral("forward"))->trigger();
    EXPECT_EQ(browser->source().fileName(), QStringLiteral("index.html"));
}

// A program speaking Czech opens the Czech pages, and Qt's own texts (the Yes and No of its message
// boxes) speak Czech too.
TEST(UserGuide, CzechProgramShowsTheCzechPagesAndQtsOwnTextsInCzech)
{
    const auto yes = [] { return QCoreApplication::translate("QPlatformTheme", "&Yes"); };
    ASSERT_TRUE(installLanguage(QStringLiteral("cs")));
    const QUrl czech = GuideWindow::pageUrl(QStringLiteral("sms.html"));
    const QString czechYes = yes();
    ASSERT_TRUE(installLanguage(QStringLiteral("en")));
    EXPECT_EQ(czech, QUrl(QStringLiteral("qrc:/guide/cs/sms.html")));
    EXPECT_EQ(czechYes, QStringLiteral("&Ano"));
    EXPECT_EQ(GuideWindow::pageUrl(QStringLiteral("sms.html")), QUrl(QStringLiteral("qrc:/guide/sms.html")));
    EXPECT_EQ(yes(), QStringLiteral("&Yes"));
}

} // namespace
} // namespace kestrel
