#include "base/StringIdName.h"

#include <cstddef>
#include <vector>

namespace kestrel {

namespace {

constexpr std::size_t kMaxWords = 5;
constexpr std::u16string_view kCaptionPrefix = u"Kestrel! - ";

// Base letters of U+00C0..U+017F (Latin-1 Supplement letters and Latin Extended-A); a blank marks a
// character that is no letter (the multiplication and division signs).
constexpr std::string_view kLatinFold = "AAAAAAACEEEEIIIIDNOOOOO OUUUUYTsaaaaaaaceeeeiiiidnooooo ouuuuyty"
                                        "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlL"
                                        "lLlNnNnNnnNnOoOoOoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";

bool isAsciiAlnum(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool isUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}

bool isLower(char c)
{
    return c >= 'a' && c <= 'z';
}

// The ASCII letter or digit a character counts as, or 0 where it separates words.
char wordChar(char16_t c)
{
    if (c < 0x80)
        return isAsciiAlnum(static_cast<char>(c)) ? static_cast<char>(c) : 0;
    if (c >= 0xC0 && c < 0xC0 + kLatinFold.size()) {
        const char folded = kLatinFold[c - 0xC0];
        return folded == ' ' ? 0 : folded;
    }
    return 0;
}

// Length of the placeholder starting at text[i] ('%' then flags, width, precision and a letter, or
// '%' then digits), 0 when there is none.
std::size_t placeholderLength(std::u16string_view text, std::size_t i)
{
    if (text[i] != u'%')
        return 0;
    std::size_t j = i + 1;
    if (j < text.size() && text[j] >= u'0' && text[j] <= u'9' && text[j] != u'0') {
        while (j < text.size() && text[j] >= u'0' && text[j] <= u'9')
            ++j;
        return j - i; // Qt's %1
    }
    while (j < text.size() && (text[j] == u'-' || text[j] == u'+' || text[j] == u' ' || text[j] == u'#' ||
                               text[j] == u'.' || (text[j] >= u'0' && text[j] <= u'9')))
        ++j;
    if (j < text.size() && text[j] < 0x80 && isAsciiAlnum(static_cast<char>(text[j])) &&
        !(text[j] >= u'0' && text[j] <= u'9'))
        return j + 1 - i;
    return 0;
}

std::vector<std::string> words(std::u16string_view text)
{
    std::vector<std::string> out;
    std::string word;
    auto flush = [&] {
        if (!word.empty())
            out.push_back(word);
        word.clear();
    };
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t skip = placeholderLength(text, i)) {
            flush();
            i += skip;
            continue;
        }
        const char16_t c = text[i++];
        if (c == u'&' || c == u'\'' || c == u'\u2019')
            continue;
        if (const char w = wordChar(c))
            word += w;
        else
            flush();
    }
    flush();
    return out;
}

std::string camelWord(std::string word)
{
    bool hasLower = false;
    for (char c : word)
        hasLower = hasLower || isLower(c);
    if (!hasLower) {
        for (std::size_t i = 1; i < word.size(); ++i) {
            if (isUpper(word[i]))
                word[i] = static_cast<char>(word[i] - 'A' + 'a');
        }
    }
    if (isLower(word[0]))
        word[0] = static_cast<char>(word[0] - 'a' + 'A');
    return word;
}

} // namespace

std::string stringIdName(int id, std::u16string_view text)
{
    if (text.starts_with(kCaptionPrefix) && text.size() > kCaptionPrefix.size())
        text.remove_prefix(kCaptionPrefix.size());
    std::string name;
    std::size_t count = 0;
    for (const std::string& word : words(text)) {
        if (count++ == kMaxWords)
            break;
        name += camelWord(word);
    }
    if (name.empty())
        name = "Text";
    else if (name[0] >= '0' && name[0] <= '9')
        name.insert(0, "N");
    return name + '_' + std::to_string(id);
}

} // namespace kestrel
