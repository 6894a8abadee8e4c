#include "phonebook/DialingCodeText.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(DialingCodeText, ChosenCodeGoesInFrontOfTheNumber)
{
    struct Case
    {
        const char* text;
        const char* code;
        const char* result;
    };
    const Case cases[] = {
        {"0301234", "+49", "+490301234"},
        {"+301234", "+49", "+49301234"}, // the first "+" gives way
        {"12+34", "+1", "+11234"},
        {"", "+420", "+420"},
        {"+", "+7", "+7"},
        {"0301", "", "0301"}, // nothing chosen: unchanged
    };
    for (const Case& c : cases)
        EXPECT_EQ(putCodeInFront(QString::fromLatin1(c.text), QString::fromLatin1(c.code)),
                  QString::fromLatin1(c.result))
            << c.text << " " << c.code;
}

TEST(DialingCodeText, SetupTakesTheChosenCodeWithoutPlus)
{
    EXPECT_EQ(myCountryCodeFromChosen(QStringLiteral("49"), QStringLiteral("+1809496")), QStringLiteral("1809496"));
    EXPECT_EQ(myCountryCodeFromChosen(QStringLiteral("49"), QString()), QStringLiteral("49"));
}

TEST(DialingCodeText, SetupFieldsAreChecked)
{
    struct Case
    {
        QString code;
        int message;
        QString stored;
    };
    const Case countryCodes[] = {
        {QStringLiteral("49"), 0, QStringLiteral("49")},
        {QStringLiteral("+420"), 0, QStringLiteral("420")},
        {QString(), 0, QString()},
        {QStringLiteral("4a"), 57561, QStringLiteral("4a")},
        {QStringLiteral("4+9"), 57561, QStringLiteral("4+9")},
        {QStringLiteral("++49"), 57561, QStringLiteral("++49")},
        {QString(61, QLatin1Char('1')), 57561, QString(61, QLatin1Char('1'))},
        {QStringLiteral("4\u00e9"), 57561, QStringLiteral("4\u00e9")},
    };
    for (const Case& c : countryCodes) {
        QString code = c.code;
        EXPECT_EQ(checkMyCountryCode(code), c.message) << c.code.toStdString();
        EXPECT_EQ(code, c.stored);
    }
    for (const char* ok : {"", "00", "011", "9"})
        EXPECT_EQ(checkAbroadPrefix(QString::fromLatin1(ok)), 0) << ok;
    for (const char* bad : {"+00", "0 0", "*", "00p", "\xd9\xa0"})
        EXPECT_EQ(checkAbroadPrefix(QString::fromUtf8(bad)), 57562) << bad;
}

} // namespace
} // namespace kestrel
