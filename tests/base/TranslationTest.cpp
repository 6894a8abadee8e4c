#include <map>
#include <regex>
#include <set>
#include <string>

#include <QFile>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include "base/StringTable.h"

using namespace kestrel;

namespace {

// Each entry's translation in resources/translations/kestrel_cs.ts, by its number (the
// disambiguation); unfinished ones are left out.
struct TsEntry
{
    QString source;
    QString translation;
};

// A message's text, with Qt Linguist's <byte value="xd"/> for control characters.
QString elementText(QXmlStreamReader& xml)
{
    QString text;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters()) {
            text += xml.text();
        } else if (xml.isStartElement() && xml.name() == QLatin1String("byte")) {
            const QString value = xml.attributes().value(QLatin1String("value")).toString();
            text += QChar(value.startsWith(u'x') ? value.mid(1).toUInt(nullptr, 16) : value.toUInt());
        } else if (xml.isEndElement() && xml.name() != QLatin1String("byte")) {
            break;
        }
    }
    return text;
}

std::map<int, TsEntry> readTs(QString& error)
{
    std::map<int, TsEntry> entries;
    QFile file(QStringLiteral(KESTREL_SOURCE_DIR "/resources/translations/kestrel_cs.ts"));
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return entries;
    }
    QXmlStreamReader xml(&file);
    TsEntry current;
    int number = 0;
    bool finished = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("message")) {
            current = {};
            number = 0;
        } else if (xml.name() == QLatin1String("source")) {
            current.source = elementText(xml);
        } else if (xml.name() == QLatin1String("comment")) {
            number = elementText(xml).toInt();
        } else if (xml.name() == QLatin1String("translation")) {
            finished = xml.attributes().value(QLatin1String("type")).isEmpty();
            current.translation = elementText(xml);
            if (finished && number != 0)
                entries[number] = current;
        }
    }
    if (xml.hasError())
        error = xml.errorString();
    return entries;
}

// What a translation has to keep of its English text: the format directives (a multiset), the
// line breaks and the accelerator marks.
std::multiset<std::string> directives(const QString& text)
{
    static const std::regex kDirective("%[1-9]|%%|%02X|%lu|%[sudixc]");
    std::multiset<std::string> found;
    const std::string s = text.toStdString();
    for (auto it = std::sregex_iterator(s.begin(), s.end(), kDirective); it != std::sregex_iterator(); ++it)
        found.insert(it->str());
    found.insert("\\n x" + std::to_string(text.count(u'\n')));
    found.insert("\\r x" + std::to_string(text.count(u'\r')));
    found.insert("& x" + std::to_string(text.count(u'&') - 2 * text.count(QLatin1String("&&"))));
    return found;
}

// The table in a language for one test, and English again after it.
struct LanguageScope
{
    explicit LanguageScope(const char* language) { ok = installLanguage(QString::fromLatin1(language)); }
    ~LanguageScope() { installLanguage(QStringLiteral("en")); }
    bool ok = false;
};

} // namespace

TEST(Translation, EveryTextHasACzechTranslationKeepingItsDirectives)
{
    QString error;
    const std::map<int, TsEntry> ts = readTs(error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    int dataEntries = 0;
    for (int id : StringTable::ids()) {
        const QString english = StringTable::text(id);
        const auto it = ts.find(id);
        if (StringTable::isData(id)) {
            ++dataEntries;
            EXPECT_EQ(it, ts.end()) << id << ": a data entry is never translated";
            continue;
        }
        ASSERT_NE(it, ts.end()) << id << ": no finished translation (run tools/update-translations.py)";
        EXPECT_EQ(it->second.source.toStdString(), english.toStdString()) << id << ": the .ts is not in step";
        EXPECT_FALSE(it->second.translation.trimmed().isEmpty()) << id;
        EXPECT_EQ(directives(it->second.translation), directives(english)) << id;
    }
    EXPECT_GE(dataEntries, 15); // the validity units, the settings name and its default numbers
    EXPECT_EQ(ts.size() + static_cast<std::size_t>(dataEntries), static_cast<std::size_t>(StringTable::ids().size()));
}

TEST(Translation, LanguageChoiceChangesDisplayTextsButNotData)
{
    struct Case
    {
        const char* language;
        int id;
        const char* expected; // UTF-8
    };
    const Case cases[] = {
        {"cs", sid::NoValidPinEntered_135, "Nebyl zadán platný PIN"},
        {"cs", sid::Min_4000, "MIN"}, // a validity unit, parsed and stored
        {"cs", sid::N49_59000, "49"}, // a settings default
        {"cs", sid::Kestrel40_57344, "Kestrel! 4.0"},
        {"en", sid::NoValidPinEntered_135, "No valid PIN entered"},
        {"auto", sid::NoValidPinEntered_135, nullptr}, // by the locale: either, never empty
    };
    for (const Case& c : cases) {
        const LanguageScope scope(c.language);
        ASSERT_TRUE(scope.ok) << c.language;
        if (c.expected)
            EXPECT_EQ(StringTable::text(c.id).toStdString(), c.expected) << c.language << " " << c.id;
        else
            EXPECT_FALSE(StringTable::text(c.id).isEmpty());
    }
    EXPECT_FALSE(installLanguage(QStringLiteral("xx")));
    EXPECT_EQ(StringTable::text(sid::NoValidPinEntered_135).toStdString(), "No valid PIN entered");
}
