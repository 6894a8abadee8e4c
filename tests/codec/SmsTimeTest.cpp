#include "codec/SmsTime.h"

#include <cstring>
#include <string>

#include <QDateTime>

#include <gtest/gtest.h>

#include "codec/FixedText.h"

using namespace kestrel;

namespace {

SmsTime relative(int validity)
{
    SmsTime t;
    t.validity = static_cast<uint8_t>(validity);
    return t;
}

} // namespace

TEST(SmsTime, RelativePeriods)
{
    struct Case
    {
        const char* text;
        int validity; // -1: does not parse
    };
    const Case cases[] = {
        // minutes: 1-720 in 5-minute steps
        {"1 min", 0},
        {"5 min", 0},
        {"9 min", 0},
        {"10 min", 1},
        {"60 mins", 11},
        {"235 min", 46},
        {"720 min", 143},
        {"721 min", -1},
        {"0 min", -1},
        // hours
        {"1 hour", 11},
        {"11 hours", 131},
        {"12 hours", 143},
        {"13 hours", 145},
        {"23 hours", 165},
        {"24 hours", 167},
        {"24 HOURS", 167},
        {"24 Hours", 167},
        {"24 hOuRs", 167},
        {"30 hours", 167},
        {"47 hours", 167},
        {"48 hours", -1},
        // days and weeks
        {"1 day", 167},
        {"2 days", 168},
        {"7 days", 173},
        {"30 days", 196},
        {"31 days", 196},
        {"35 days", 197},
        {"364 days", 244},
        {"441 days", 255},
        {"442 days", -1},
        {"0 days", -1},
        // spacing, folding and where the unit may stand
        {"   5 min", 0},
        {"5    min", 0},
        {"5 min   ", 0},
        {"5 m\u00EDn", 0},    // i with acute folds to i
        {"7 long days", 173}, // the unit is looked for anywhere in the rest
        {"2 days 5 min", 0},  // MIN is looked for first
        {"5", -1},
        {"5min", -1},
        {"5 weeks", -1},
        {"min", -1},
        {"", -1},
        {"-5 min", -1},
        {"12345 min", -1},
        {"5\tmin", -1},
    };
    for (const Case& c : cases) {
        SmsTime t;
        t.validity = 77;
        const bool ok = ParseSmsTime(c.text, t);
        EXPECT_EQ(ok, c.validity >= 0) << c.text;
        if (ok) {
            EXPECT_EQ(t.isAbsolute, 0) << c.text;
            EXPECT_EQ(t.validity, c.validity) << c.text;
        } else {
            EXPECT_EQ(t.validity, 77) << c.text << ": a failed parse must leave the result alone";
        }
    }
}

TEST(SmsTime, AbsoluteDates)
{
    struct Case
    {
        const char* text;
        bool ok;
        int day, month, year, hour, minute;
    };
    const Case cases[] = {
        {"01.02.03 04:05", true, 1, 2, 3, 4, 5},
        {"1.2.3 4:5", true, 1, 2, 3, 4, 5},
        {"31.12.99 23:59", true, 31, 12, 99, 23, 59},
        {"  7.8.09   10:30  ", true, 7, 8, 9, 10, 30},
        {"1.1.2003 0:00", true, 1, 1, 3, 0, 0},
        {"1.1.1991 0:00", true, 1, 1, 91, 0, 0},
        {"1.1.2099 0:00", true, 1, 1, 99, 0, 0},
        {"31.02.03 12:00", true, 31, 2, 3, 12, 0},
        {"1.1.1990 0:00", false, 0, 0, 0, 0, 0},
        {"1.1.2100 0:00", false, 0, 0, 0, 0, 0},
        {"1.1.100 0:00", false, 0, 0, 0, 0, 0},
        {"32.1.03 0:00", false, 0, 0, 0, 0, 0},
        {"0.1.03 0:00", false, 0, 0, 0, 0, 0},
        {"1.0.03 0:00", false, 0, 0, 0, 0, 0},
        {"1.13.03 0:00", false, 0, 0, 0, 0, 0},
        {"1.1.03 24:00", false, 0, 0, 0, 0, 0},
        {"1.1.03 0:60", false, 0, 0, 0, 0, 0},
        {"1.1.03 12:30x", false, 0, 0, 0, 0, 0},
        {"1.1.03", false, 0, 0, 0, 0, 0},
        {"1.1.03 12", false, 0, 0, 0, 0, 0},
        {"1.1.0312:30", false, 0, 0, 0, 0, 0},
        {"1.1. 12:30", false, 0, 0, 0, 0, 0},
        {"1..03 12:30", false, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SmsTime t;
        const bool ok = ParseSmsTime(c.text, t);
        EXPECT_EQ(ok, c.ok) << c.text;
        if (!ok || !c.ok)
            continue;
        EXPECT_EQ(t.isAbsolute, 1) << c.text;
        EXPECT_EQ(t.day, c.day) << c.text;
        EXPECT_EQ(t.month, c.month) << c.text;
        EXPECT_EQ(t.year, c.year) << c.text;
        EXPECT_EQ(t.hour, c.hour) << c.text;
        EXPECT_EQ(t.minute, c.minute) << c.text;
        EXPECT_EQ(t.second, 0) << c.text;
        EXPECT_EQ(t.timeZone, 0) << c.text;
    }
}

TEST(SmsTime, FormatsRelativeValues)
{
    struct Case
    {
        int validity;
        const char* text;
    };
    const Case cases[] = {
        {0, "5 min"},      {11, "60 min"},    {46, "235 min"},  {47, "4 hours"},  {143, "12 hours"}, {144, "12 hours"},
        {145, "13 hours"}, {167, "24 hours"}, {168, "2 days"},  {169, "3 days"},  {170, "4 days"},   {171, "5 days"},
        {172, "6 days"},   {173, "7 days"},   {196, "30 days"}, {197, "35 days"}, {244, "364 days"}, {255, "441 days"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatSmsTime(relative(c.validity)), c.text) << c.validity;
}

TEST(SmsTime, EveryFormattedValueParsesBackToTheSameText)
{
    for (int v = 0; v < 256; ++v) {
        const std::string text = FormatSmsTime(relative(v));
        SmsTime back;
        ASSERT_TRUE(ParseSmsTime(text, back)) << v << " " << text;
        EXPECT_EQ(back.isAbsolute, 0);
        EXPECT_EQ(FormatSmsTime(back), text) << v;
        EXPECT_LE(back.validity, v) << "parsing never lengthens the period";
    }
}

TEST(SmsTime, FormatsAbsoluteTimesAndCutsToCapacity)
{
    SmsTime t;
    t.isAbsolute = 1;
    t.day = 1;
    t.month = 2;
    t.year = 3;
    t.hour = 4;
    t.minute = 5;
    t.second = 59;
    t.timeZone = 8;
    EXPECT_EQ(FormatSmsTime(t), "01.02.03 04:05");
    EXPECT_EQ(FormatSmsTime(t, 6), "01.02");
    EXPECT_EQ(FormatSmsTime(t, 1), "");
    EXPECT_EQ(FormatSmsTime(t, 0), "");
    EXPECT_EQ(FormatSmsTime(relative(255), 4), "441");

    // Time stamps decoded from bad BCD give fields above 99; the text still fits a `when` field.
    t.day = 165;
    t.month = 165;
    t.year = 165;
    EXPECT_EQ(FormatSmsTime(t).size(), 15u);
}

TEST(SmsTime, NormalizeKeepsParsableTexts)
{
    for (const char* text : {"7 days", "1.2.03 4:05", " 24 HOURS"}) {
        char when[16] = {};
        setFixedText(when, text);
        NormalizeSmsTime(when);
        EXPECT_STREQ(when, text);
    }
}

TEST(SmsTime, NormalizeReplacesOtherTextsByTheLocalTime)
{
    for (const char* text : {"", "garbage", "32.1.03 0:00", "48 hours"}) {
        char when[16] = {};
        setFixedText(when, text);
        const QDateTime before = QDateTime::currentDateTime();
        NormalizeSmsTime(when);
        const QDateTime after = QDateTime::currentDateTime();

        SmsTime t;
        ASSERT_TRUE(ParseSmsTime(when, t)) << when;
        EXPECT_EQ(t.isAbsolute, 1);
        EXPECT_EQ(std::strlen(when), 14u);
        const auto matches = [&](const QDateTime& now) {
            return t.day == now.date().day() && t.month == now.date().month() && t.year == now.date().year() % 100 &&
                   t.hour == now.time().hour() && t.minute == now.time().minute();
        };
        EXPECT_TRUE(matches(before) || matches(after)) << when;
    }
}

TEST(SmsTime, ValidityChoices)
{
    struct Case
    {
        const char* text;
        int exact;
        int inexact;
    };
    const Case cases[] = {
        {"5 min", -1, 0},    {"60 mins", 0, 0},  {"1 hour", 0, 0}, {"65 min", -1, 1},        {"24 hours", 1, 1},
        {"1 day", 1, 1},     {"2 days", -1, 2},  {"7 days", 2, 2}, {"8 days", -1, 3},        {"364 days", 3, 3},
        {"441 days", -1, 3}, {"garbage", -1, 0}, {"", -1, 0},      {"1.1.03 10:00", -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ValidityChoiceIndex(c.text, true), c.exact) << c.text;
        EXPECT_EQ(ValidityChoiceIndex(c.text, false), c.inexact) << c.text;
    }

    const char* shown[] = {"60 mins", "1 day", "7 days", "364 days"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ValidityChoiceText(i), shown[i]);
        EXPECT_EQ(ValidityChoiceIndex(ValidityChoiceText(i), true), i);
    }
    EXPECT_EQ(ValidityChoiceText(-1), "");
    EXPECT_EQ(ValidityChoiceText(4), "");
}
