#include <gtest/gtest.h>

#include "ScriptedPrompter.h"
#include "SimBench.h"
#include "base/StringTable.h"
#include "info/SimInformationPages.h"
#include "toolkit/SimApplicationPage.h"

namespace kestrel {
namespace {

using Pages = SimInformationPages;

struct PagesBench
{
    PagesBench() { prompter.pins = {std::string("1234")}; }
    test::SimBench bench;
    test::ScriptedPrompter prompter;
    Pages pages{*bench.sim, prompter};
};

// Did showing the page go to the card?
bool shownFromCard(PagesBench& b, int page)
{
    b.bench.clearLog();
    b.pages.show(page);
    return !b.bench.recorder->log.empty();
}

TEST(SimInformationPages, CardPagesReadWhenFirstShownAndAgainAfterUpdate)
{
    PagesBench b;
    for (int page : {Pages::kGlobal, Pages::kCapacities, Pages::kCalledNumbers, Pages::kPersonalNumbers}) {
        SCOPED_TRACE(page);
        EXPECT_FALSE(b.pages.isRead(page));
        EXPECT_TRUE(shownFromCard(b, page));
        EXPECT_TRUE(b.pages.isRead(page));
        EXPECT_FALSE(shownFromCard(b, page)) << "shown again: the values it holds";
        b.bench.clearLog();
        b.pages.update(page);
        EXPECT_FALSE(b.bench.recorder->log.empty()) << "Update reads the page shown";
    }
    // Update marked the other pages to be read again when they are shown.
    EXPECT_FALSE(b.pages.isRead(Pages::kGlobal));
    EXPECT_TRUE(b.pages.isRead(Pages::kPersonalNumbers));
    EXPECT_TRUE(b.prompter.texts.empty());
    EXPECT_TRUE(b.prompter.errors.empty());

    // What the pages read is what the report prints.
    const SimInformation& v = b.pages.values();
    EXPECT_EQ(v.global.phase, QStringLiteral("2+")) << "the Global page was read again after the last update";
    EXPECT_EQ(v.capacities.phoneBook.items, QStringLiteral("250"));
    EXPECT_EQ(v.lastDialled.lines.size(), 10u);
    const SimInformationReport report = b.pages.report();
    EXPECT_EQ(report.title, StringTable::text(6271));
    for (const char* held : {"230011234567890", "Phone book\t250\t14", "1\tOffice\t224123456", "+420603123456"})
        EXPECT_TRUE(report.text.contains(QLatin1String(held))) << held;
}

TEST(SimInformationPages, SimApplicationRefreshesOnEveryShowAndAnswersTheCardsCommands)
{
    PagesBench b;
    EXPECT_EQ(b.pages.simApplication(), nullptr);
    EXPECT_FALSE(b.pages.chooseMenuEntry(0)) << "no menu before the page was shown";
    for (int shown = 1; shown <= 2; ++shown) {
        b.bench.clearLog();
        EXPECT_TRUE(b.pages.show(Pages::kSimApplication));
        EXPECT_EQ(b.bench.recorder->count("A0 10"), 1) << "TERMINAL PROFILE at every show";
    }
    const SimApplicationPage* page = b.pages.simApplication();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(b.bench.sim->toolkitHandler(), page);
    EXPECT_EQ(page->menuTitle(), QStringLiteral("Kestrel SIM"));
    ASSERT_EQ(page->entries().size(), 3u);
    EXPECT_EQ(page->entries()[1].text, QStringLiteral("<2>\tGreeting"));

    // Services -> SELECT ITEM "Weather"; Greeting -> GET INPUT; the card shows what it understood.
    b.prompter.items = {std::optional<uint8_t>(2)};
    EXPECT_TRUE(b.pages.chooseMenuEntry(0));
    b.prompter.inputs = {std::optional<QString>(QStringLiteral("Ann"))};
    EXPECT_TRUE(b.pages.chooseMenuEntry(1));
    EXPECT_EQ(b.prompter.inputPrompts, std::vector<QString>{QStringLiteral("Your name? <1 - 20 Length>")});
    const std::vector<QString> shownTexts = {QStringLiteral("SIM Aplication Text:\nSunny, 21 C"),
                                             QStringLiteral("SIM Aplication Text:\nAnn")};
    EXPECT_EQ(b.prompter.toolkitTexts, shownTexts);
    EXPECT_EQ(page->selectedEntry(), 1);
    EXPECT_FALSE(b.pages.chooseMenuEntry(3)) << "no such entry";

    // The descriptions of every command received, for the Details view.
    const QString details = QStringList(page->details().begin(), page->details().end()).join(QLatin1Char('\n'));
    for (const char* line : {"Type: 25 (SetUpMenu)", "Type: 24 (SelectItem)", "Type: 23 (GetInput)",
                             "Type: 21 (DisplayText)", "->Item Id: 02, Text: Weather", "Text String: Dcs=04, Ann"})
        EXPECT_TRUE(details.contains(QLatin1String(line))) << line << "\n" << details.toStdString();
    EXPECT_TRUE(b.prompter.texts.empty());
}

TEST(SimInformationPages, WithoutAReaderEachPageTellsItOnceAndTheToolkitPageAtEveryShow)
{
    SimCard card([] { return nullptr; });
    test::ScriptedPrompter prompter;
    {
        Pages pages(card, prompter);
        const QString noReader =
            StringTable::text(57642) + QStringLiteral("\r\n") + cardStatusMessage(CardStatus::ReaderInaccessible);
        for (int page = 0; page < Pages::kPageCount; ++page) {
            SCOPED_TRACE(page);
            const std::size_t before = prompter.texts.size() + prompter.errors.size();
            pages.show(page);
            pages.show(page);
            const std::size_t told = prompter.texts.size() + prompter.errors.size() - before;
            EXPECT_EQ(told, page == Pages::kSimApplication ? 2u : 1u);
        }
        ASSERT_FALSE(prompter.texts.empty());
        EXPECT_EQ(prompter.texts.back().text, noReader);
        EXPECT_EQ(prompter.texts.back().icon, PromptIcon::Stop);
        EXPECT_TRUE(pages.values().global.iccid.isEmpty());
    }
    EXPECT_EQ(card.toolkitHandler(), nullptr) << "the page goes with the pages";
}

} // namespace
} // namespace kestrel
