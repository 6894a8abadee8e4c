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

} // namespace
} // namespace kestrel
