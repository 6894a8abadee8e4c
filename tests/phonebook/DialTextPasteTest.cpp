// Reading phone book entries from pasted text.

#include "phonebook/DialTextPaste.h"

#include <gtest/gtest.h>

using namespace kestrel;

namespace {

struct Read
{
    std::vector<std::pair<std::string, std::string>> entries;
    int message = 0;
};

Read readAll(std::string_view text, int maxName = 20)
{
    Read r;
    DialTextReader reader(text, maxName);
    int guard = 0;
    while (!reader.atEnd() && ++guard < 100) {
        const DialTextLine line = reader.next();
        if (line.messageId != 0) {
            r.message = line.messageId;
            EXPECT_TRUE(reader.atEnd()) << "a refused text is not read further";
            break;
        }
        r.entries.emplace_back(line.name, line.number);
    }
    return r;
}

using Entries = std::vector<std::pair<std::string, std::string>>;

TEST(DialTextPaste, Lines)
{
    const std::string sixty(60, '1');
    struct Case
    {
        const char* what;
        std::string text;
        Entries entries;
        int message;
    };
    const std::vector<Case> cases = {
        {"copied line", "Name\t'+420123\r\n", {{"Name", "+420123"}}, 0},
        {"two lines, blanks around", " \tAnn Lee\t \t'1 \t\r\n\r\n Bob\t2", {{"Ann Lee", "1"}, {"Bob", "2"}}, 0},
        {"no apostrophe, no line end", "A\t*77#", {{"A", "*77#"}}, 0},
        {"a NUL ends the text", std::string("A\t1\r\n\0B", 7), {{"A", "1"}}, 0},
        {"empty text", "", {}, 0},
        {"line without a TAB", "Name '123\r\n", {}, 5501},
        {"line break before the TAB", "Name\r\n\t123", {}, 5501},
        {"no number", "Name\t'\r\n", {}, 5501},
        {"no number at the end", "Name\t", {}, 5501},
        {"second line broken", "A\t1\r\nB 2\r\n", {{"A", "1"}}, 5501},
        {"name too long", "123456789012345678901\t1", {}, 5500},
        // Leading TABs are skipped, so a line that starts with its number has no TAB after the name.
        {"no name", "\t'123", {}, 5501},
        {"60 digits", "A\t" + sixty, {{"A", sixty}}, 0},
        {"61 digits", "A\t" + sixty + "1", {}, 5503},
        {"no dialling number", "A\t12a", {}, 5504},
        {"two plus signs", "A\t+1+2", {}, 5504},
        {"extra column becomes the next name", "A\t1\tnote\r\n", {{"A", "1"}}, 5501},
        {"separators in the number", "Jiri\t'+420 603 123-456\r\n", {{"Jiri", "+420603123456"}}, 0},
        {"brackets and dots", "A\t(0603) 123.456", {{"A", "0603123456"}}, 0},
        {"61 digits once the blanks are gone", "A\t" + sixty + " 1", {}, 5503},
        {"other characters still refused", "A\t603/123", {}, 5504},
    };
    for (const Case& c : cases) {
        const Read r = readAll(c.text);
        EXPECT_EQ(r.entries, c.entries) << c.what;
        EXPECT_EQ(r.message, c.message) << c.what;
    }
}

TEST(DialTextPaste, NamesAreKeptAndMeasuredInCharacters)
{
    Read r = readAll("Čapek Říha\t1", 10);
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].first, "Čapek Říha");
    r = readAll("Čapek Říha\t1", 9);
    EXPECT_EQ(r.message, 5500);
}

} // namespace
