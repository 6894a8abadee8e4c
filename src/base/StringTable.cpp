#include "base/StringTable.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <vector>

#include <QByteArray>
#include <QCoreApplication>
#include <QLocale>
#include <QLibraryInfo>
#include <QTranslator>

// The compiled translations (:/i18n/kestrel_cs.qm), a resource of this static library.
static void initTranslationResource()
{
    Q_INIT_RESOURCE(kestrel_translations);
}

namespace kestrel::StringTable {

namespace {

struct Entry
{
    int id;
    const char16_t* text;
    bool data = false; // parsed, stored or compared: always English
};

// The table's marker of such an entry.
constexpr bool Data = true;

// Kept sorted by id so lookups can bisect; checked at compile time below and by a test.
constexpr Entry kEntries[] = {
#include "StringTable.inc"
};

constexpr bool strictlyAscending()
{
    for (std::size_t i = 1; i < std::size(kEntries); ++i) {
        if (kEntries[i - 1].id >= kEntries[i].id)
            return false;
    }
    return true;
}

static_assert(strictlyAscending(), "resources/StringTable.inc must list unique ids in ascending order");

const Entry* find(int id)
{
    const auto* it = std::lower_bound(std::begin(kEntries), std::end(kEntries), id,
                                      [](const Entry& e, int key) { return e.id < key; });
    if (it == std::end(kEntries) || it->id != id)
        return nullptr;
    return it;
}

// The texts of the installed language, one per entry in table order (a data entry's empty);
// empty while the program speaks English. Filled once by installLanguage, so that text() costs no
// more than a copy of a shared string.
std::vector<QString>& translatedTexts()
{
    static std::vector<QString> texts;
    return texts;
}

// The language installLanguage made the table speak.
QString& installedLanguage()
{
    static QString language = QStringLiteral("en");
    return language;
}

QTranslator& translator()
{
    // Never destroyed: the application may outlive any static object's order of destruction.
    static QTranslator* t = new QTranslator;
    return *t;
}

// Qt's own texts in the language (the Yes/No/Cancel of message boxes, the print dialog), from the
// translations Qt installs (Debian: qt6-translations-l10n); English where they are missing.
QTranslator& qtTranslator()
{
    static QTranslator* t = new QTranslator;
    return *t;
}

QString language(const QString& choice)
{
    const QString c = choice.trimmed().toLower();
    if (!c.isEmpty() && c != QLatin1String("auto"))
        return c;
    // LANGUAGE, LC_ALL, LC_MESSAGES and LANG, as the system locale gives them.
    const QStringList ui = QLocale::system().uiLanguages();
    return !ui.isEmpty() && ui.first().startsWith(QLatin1String("cs")) ? QStringLiteral("cs") : QStringLiteral("en");
}

} // namespace

QString text(int id)
{
    const Entry* e = find(id);
    if (!e)
        return QString();
    const std::vector<QString>& translated = translatedTexts();
    if (!e->data && !translated.empty())
        return translated[static_cast<std::size_t>(e - std::begin(kEntries))];
    return QString::fromUtf16(e->text);
}

bool isData(int id)
{
    const Entry* e = find(id);
    return e && e->data;
}

bool contains(int id)
{
    return find(id) != nullptr;
}

QList<int> ids()
{
    QList<int> out;
    out.reserve(static_cast<qsizetype>(std::size(kEntries)));
    for (const Entry& e : kEntries)
        out.append(e.id);
    return out;
}

} // namespace kestrel::StringTable

namespace kestrel {

bool installLanguage(const QString& choice)
{
    using namespace StringTable;
    const QString lang = language(choice);
    if (lang != QLatin1String("en") && lang != QLatin1String("cs"))
        return false;
    QTranslator& t = translator();
    const bool haveApplication = QCoreApplication::instance() != nullptr;
    if (haveApplication) {
        QCoreApplication::removeTranslator(&t);
        QCoreApplication::removeTranslator(&qtTranslator());
    }
    translatedTexts().clear();
    installedLanguage() = QStringLiteral("en");
    if (lang == QLatin1String("en"))
        return true;

    initTranslationResource();
    if (!t.load(QStringLiteral(":/i18n/kestrel_%1.qm").arg(lang)))
        return false;
    if (haveApplication) {
        QCoreApplication::installTranslator(&t);
        if (qtTranslator().load(QStringLiteral("qtbase_") + lang, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&qtTranslator());
    }
    std::vector<QString> texts;
    texts.reserve(std::size(kEntries));
    for (const Entry& e : kEntries) {
        QString translated;
        if (!e.data) {
            const QByteArray english = QString::fromUtf16(e.text).toUtf8();
            translated = t.translate("StringTable", english.constData(), QByteArray::number(e.id).constData());
            if (translated.isEmpty())
                translated = QString::fromUtf16(e.text);
        }
        texts.push_back(std::move(translated));
    }
    translatedTexts() = std::move(texts);
    installedLanguage() = lang;
    return true;
}

QString languageInUse()
{
    return StringTable::installedLanguage();
}

} // namespace kestrel
