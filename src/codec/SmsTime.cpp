#include "codec/SmsTime.h"

#include <cstdio>
#include <cstring>

#include <QDateTime>

#include "base/StringTable.h"
#include "codec/DialDigits.h"
#include "codec/FixedText.h"

namespace kestrel {

namespace {

constexpr int kUnitIds[ValidityUnits::kUnitCount] = {sid::Min_4000,  sid::Hour_4001, sid::Day_4002,  sid::Days_4003,
                                                     sid::Days_4004, sid::Days_4005, sid::Hours_4011};
constexpr int kChoiceIds[ValidityUnits::kChoiceCount] = {sid::N60Mins_4006, sid::N1Day_4007, sid::N24Hours_4008,
                                                         sid::N7Days_4009, sid::N364Days_4010};

// Positions in ValidityUnits::choices.
enum Choice
{
    Choice60Mins = 0,
    Choice1Day,
    Choice24Hours,
    Choice7Days,
    Choice364Days,
};

char asciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The unit words are plain ASCII; anything else a translation might bring is kept out of the
// PC-text buffers rather than guessed at.
void copyWord(char (&field)[10], const QString& text, char (*convert)(char))
{
    std::string out;
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        out.push_back(u < 0x80 ? convert(static_cast<char>(u)) : '.');
    }
    setFixedText(field, out);
}

char keep(char c)
{
    return c;
}

ValidityUnits loadUnits()
{
    ValidityUnits units;
    for (int i = 0; i < ValidityUnits::kUnitCount; ++i) {
        const QString word = StringTable::text(kUnitIds[i]);
        copyWord(units.upper[i], word, keep);
        copyWord(units.lower[i], word, asciiLower);
    }
    for (int i = 0; i < ValidityUnits::kChoiceCount; ++i)
        copyWord(units.choices[i], StringTable::text(kChoiceIds[i]), keep);
    return units;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// One to four decimal digits at pos.
bool readNumber(std::string_view s, std::size_t& pos, int& value)
{
    const std::size_t start = pos;
    int v = 0;
    while (pos < s.size() && pos - start < 4 && isDigit(s[pos])) {
        v = v * 10 + (s[pos] - '0');
        ++pos;
    }
    if (pos == start)
        return false;
    value = v;
    return true;
}

bool expect(std::string_view s, std::size_t& pos, char c)
{
    if (pos >= s.size() || s[pos] != c)
        return false;
    ++pos;
    return true;
}

std::size_t skipSpaces(std::string_view s, std::size_t pos)
{
    while (pos < s.size() && s[pos] == ' ')
        ++pos;
    return pos;
}

bool inRange(int v, int lo, int hi)
{
    return v >= lo && v <= hi;
}

// "d.m.y h:m" after the day has been read; pos is on the first '.'.
bool parseAbsolute(std::string_view s, std::size_t pos, int day, SmsTime& out)
{
    int month = 0;
    int year = 0;
    int hour = 0;
    int minute = 0;
    if (!inRange(day, 1, 31))
        return false;
    if (!expect(s, pos, '.') || !readNumber(s, pos, month) || !inRange(month, 1, 12))
        return false;
    if (!expect(s, pos, '.') || !readNumber(s, pos, year))
        return false;
    if (!inRange(year, 0, 99) && !inRange(year, 1991, 2099))
        return false;
    if (!expect(s, pos, ' '))
        return false;
    pos = skipSpaces(s, pos);
    if (!readNumber(s, pos, hour) || !inRange(hour, 0, 23))
        return false;
    if (!expect(s, pos, ':') || !readNumber(s, pos, minute) || !inRange(minute, 0, 59))
        return false;
    if (skipSpaces(s, pos) != s.size())
        return false;
    out = SmsTime{};
    out.isAbsolute = 1;
    out.day = static_cast<uint8_t>(day);
    out.month = static_cast<uint8_t>(month);
    out.year = static_cast<uint8_t>(year % 100);
    out.hour = static_cast<uint8_t>(hour);
    out.minute = static_cast<uint8_t>(minute);
    return true;
}

// GSM 03.40 relative TP-VP: 0-143 in 5-minute steps up to 12 hours, 144-167 in half hours up to
// 24 hours, 168-196 in days up to 30 days, 197-255 in weeks up to 63 weeks.
bool parseRelative(std::string_view rest, int n, SmsTime& out)
{
    std::string upper;
    upper.reserve(rest.size());
    for (char c : rest)
        upper.push_back(asciiUpper(c));
    const std::string_view words = std::string_view(upper).substr(skipSpaces(upper, 0));

    const ValidityUnits& units = LoadValidityUnits();
    int unit = -1;
    for (int i = 0; i < ValidityUnits::kUnitCount && unit < 0; ++i) {
        const std::string_view word = fixedText(units.upper[i]);
        if (!word.empty() && words.find(word) != std::string_view::npos)
            unit = i;
    }

    int validity = -1;
    switch (unit) {
    case ValidityUnits::Min:
        if (inRange(n, 1, 720))
            validity = n / 5 - 1 > 0 ? n / 5 - 1 : 0;
        break;
    case ValidityUnits::Hour:
    case ValidityUnits::Hours:
        if (inRange(n, 1, 11))
            validity = 12 * n - 1;
        else if (inRange(n, 12, 23))
            validity = 2 * n + 119;
        else if (inRange(n, 24, 47))
            validity = 167;
        break;
    case ValidityUnits::Day:
    case ValidityUnits::DaysOther:
    case ValidityUnits::DaysMany:
    case ValidityUnits::DaysFew:
        if (inRange(n, 1, 30))
            validity = n + 166;
        else if (inRange(n, 31, 441))
            validity = n / 7 + 192;
        break;
    default:
        break;
    }
    if (validity < 0)
        return false;
    out = SmsTime{};
    out.validity = static_cast<uint8_t>(validity);
    return true;
}

int relativeValue(std::string_view text)
{
    SmsTime t;
    return ParseSmsTime(text, t) && !t.isAbsolute ? t.validity : -1;
}

} // namespace

const ValidityUnits& LoadValidityUnits()
{
    static const ValidityUnits units = loadUnits();
    return units;
}

bool ParseSmsTime(std::string_view text, SmsTime& out)
{
    // The texts come from fixed NUL-terminated fields and from the user; 63 characters is more
    // than any valid form needs.
    const std::string_view field = text.substr(0, text.find('\0'));
    std::string folded = FoldToAsciiText(field.substr(0, utf8Prefix(field, 63)));
    const std::string_view s(folded);

    std::size_t pos = skipSpaces(s, 0);
    int n = 0;
    if (!readNumber(s, pos, n))
        return false;
    if (pos < s.size() && s[pos] == '.')
        return parseAbsolute(s, pos, n, out);
    if (pos < s.size() && s[pos] == ' ' && n >= 1)
        return parseRelative(s.substr(pos), n, out);
    return false;
}

std::string FormatSmsTime(const SmsTime& time, std::size_t capacity)
{
    char buf[64] = {};
    if (time.isAbsolute) {
        std::snprintf(buf, sizeof buf, "%02u.%02u.%02u %02u:%02u", unsigned{time.day}, unsigned{time.month},
                      unsigned{time.year}, unsigned{time.hour}, unsigned{time.minute});
    } else {
        const ValidityUnits& units = LoadValidityUnits();
        const unsigned v = time.validity;
        unsigned number = 0;
        int unit = ValidityUnits::Min;
        if (v <= 143) {
            const unsigned minutes = (v + 1) * 5;
            if (minutes < 240) {
                number = minutes;
            } else {
                number = minutes / 60;
                unit = number == 1 ? ValidityUnits::Hour : ValidityUnits::Hours;
            }
        } else if (v <= 167) {
            number = (v - 119) * 30 / 60;
            unit = ValidityUnits::Hours;
        } else if (v <= 196) {
            number = v - 166;
            unit = number == 1 ? ValidityUnits::Day : number <= 4 ? ValidityUnits::DaysFew : ValidityUnits::DaysMany;
        } else {
            number = (v - 192) * 7;
            unit = ValidityUnits::DaysMany;
        }
        std::snprintf(buf, sizeof buf, "%u %s", number, units.lower[unit]);
    }
    std::string out(buf);
    if (capacity == 0)
        return {};
    if (out.size() > capacity - 1)
        out.resize(capacity - 1);
    return out;
}

void NormalizeSmsTime(char (&when)[16])
{
    SmsTime parsed;
    if (ParseSmsTime(fixedText(when), parsed))
        return;
    const QDateTime now = QDateTime::currentDateTime();
    SmsTime t;
    t.isAbsolute = 1;
    t.day = static_cast<uint8_t>(now.date().day());
    t.month = static_cast<uint8_t>(now.date().month());
    t.year = static_cast<uint8_t>(((now.date().year() % 100) + 100) % 100);
    t.hour = static_cast<uint8_t>(now.time().hour());
    t.minute = static_cast<uint8_t>(now.time().minute());
    setFixedText(when, FormatSmsTime(t, sizeof when));
}

uint8_t RelativeValidity(std::string_view text)
{
    SmsTime parsed;
    return ParseSmsTime(text, parsed) && parsed.isAbsolute == 0 ? parsed.validity : 0;
}

int ValidityChoiceIndex(std::string_view text, bool exact)
{
    SmsTime t;
    int validity = 0;
    if (ParseSmsTime(text, t)) {
        if (t.isAbsolute)
            return -1;
        validity = t.validity;
    }
    const ValidityUnits& units = LoadValidityUnits();
    const int choices[4] = {
        relativeValue(fixedText(units.choices[Choice60Mins])),
        relativeValue(fixedText(units.choices[Choice24Hours])),
        relativeValue(fixedText(units.choices[Choice7Days])),
        relativeValue(fixedText(units.choices[Choice364Days])),
    };
    if (exact) {
        for (int i = 0; i < 4; ++i) {
            if (choices[i] == validity)
                return i;
        }
        return -1;
    }
    int index = 0;
    for (int i = 0; i < 3; ++i) {
        if (choices[i] < validity)
            ++index;
    }
    return index;
}

std::string ValidityChoiceText(int index)
{
    static constexpr int kShown[4] = {Choice60Mins, Choice1Day, Choice7Days, Choice364Days};
    if (index < 0 || index > 3)
        return {};
    return std::string(fixedText(LoadValidityUnits().choices[kShown[index]]));
}

} // namespace kestrel
