#include "cli/ToolkitCliCommands.h"

#include <QJsonArray>
#include <QJsonObject>

#include "base/StringTable.h"
#include "cli/CardSession.h"
#include "cli/CliCommands.h"
#include "cli/JsonOutput.h"
#include "cli/TerminalPrompter.h"
#include "sim/SimCard.h"
#include "toolkit/SimApplicationPage.h"

namespace kestrel::cli {

namespace {

int usage(QTextStream& err, const QString& message)
{
    err << QStringLiteral("kestrel-cli: ") << message << QLatin1Char('\n');
    return kExitUsage;
}

std::optional<uint8_t> itemNumber(const QString& text)
{
    bool ok = false;
    const uint n = text.toUInt(&ok);
    if (!ok || n > 0xFF)
        return std::nullopt;
    return static_cast<uint8_t>(n);
}

QJsonObject menuJson(const SimApplicationPage& page)
{
    QJsonArray items;
    for (const ToolkitChoice& entry : page.entries()) {
        const QString text = entry.text.section(QLatin1Char('\t'), 1);
        items.append(QJsonObject{{QStringLiteral("id"), entry.id}, {QStringLiteral("text"), text}});
    }
    return QJsonObject{{QStringLiteral("title"), page.menuTitle()}, {QStringLiteral("items"), items}};
}

int cardFailure(CardSession& s)
{
    s.prompter.showCardError(s.sim.statusMessage());
    return kExitFailed;
}

// Opens the card with the page as toolkit handler; the card's menu arrives with its TERMINAL
// PROFILE. A card that offers none is an error.
bool openMenu(CardSession& s, SimApplicationPage& page)
{
    const int result = page.refresh();
    if (result != 1) {
        if (result == static_cast<int>(CardStatus::ReaderInaccessible))
            s.sim.setLastStatus(CardStatus::ReaderInaccessible);
        cardFailure(s);
        return false;
    }
    if (!page.hasMenu()) {
        s.err << QStringLiteral("kestrel-cli: ") << StringTable::text(sid::StkTheCardOffersNo_10112)
              << QLatin1Char('\n');
        return false;
    }
    return true;
}

} // namespace

int runStk(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive)
{
    const QString verb = args.value(0);
    if (verb == QLatin1String("menu")) {
        return runCardSession(device, CardCommandShape{QStringLiteral("stk menu"), {}, {}, 0, 0}, args.mid(1), out, err,
                              interactive, [](CardSession& s) {
                                  SimApplicationPage page(s.sim, s.prompter);
                                  if (!openMenu(s, page))
                                      return kExitFailed;
                                  printJson(s.out, menuJson(page));
                                  return kExitOk;
                              });
    }
    if (verb != QLatin1String("select"))
        return usage(err, StringTable::text(sid::StkNeedsMenuOrSelect_10113));

    const CardCommandShape shape{
        QStringLiteral("stk select"), {QStringLiteral("item"), QStringLiteral("input")}, {}, 1, 1};
    const auto check = [&](const CliArgs& a) {
        if (!itemNumber(a.positional().value(0)))
            return usage(err, StringTable::text(sid::StkSelectIsNotA_10114).arg(a.positional().value(0)));
        if (const std::optional<QString> item = a.value(QStringLiteral("item")); item && !itemNumber(*item))
            return usage(err, StringTable::text(sid::StkSelectItemIsNot_10115).arg(*item));
        return kExitOk;
    };
    return runCardSession(
        device, shape, args.mid(1), out, err, interactive,
        [](CardSession& s) {
            std::optional<uint8_t> item;
            if (const std::optional<QString> v = s.args.value(QStringLiteral("item")))
                item = itemNumber(*v);
            s.prompter.setToolkitAnswers(item, s.args.value(QStringLiteral("input")));
            const uint8_t id = *itemNumber(s.args.positional().value(0));
            SimApplicationPage page(s.sim, s.prompter);
            if (!openMenu(s, page))
                return kExitFailed;
            int index = -1;
            for (std::size_t i = 0; i < page.entries().size(); ++i) {
                if (page.entries()[i].id == id)
                    index = static_cast<int>(i);
            }
            if (index < 0) {
                s.err << QStringLiteral("kestrel-cli: ") << StringTable::text(sid::StkSelectTheCardsMenu_10116).arg(id)
                      << QLatin1Char('\n');
                return kExitFailed;
            }
            page.setSelectedEntry(index);
            if (!page.activateSelected())
                return cardFailure(s);
            QJsonArray texts;
            for (const QString& text : s.prompter.toolkitTexts())
                texts.append(text.section(QLatin1Char('\n'), 1));
            printJson(s.out, QJsonObject{{QStringLiteral("selected"), id},
                                         {QStringLiteral("displayed"), texts},
                                         {QStringLiteral("menu"), menuJson(page)}});
            return kExitOk;
        },
        check);
}

} // namespace kestrel::cli
