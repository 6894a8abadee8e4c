#include "phonebook/CountryCodes.h"

#include <algorithm>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

using namespace kestrel;

namespace {

int indexOf(const char* name)
{
    const auto table = countryCodes();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (std::strcmp(table[i].name, name) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace

TEST(CountryCodes, TableIsComplete)
{
    const auto table = countryCodes();
    ASSERT_EQ(table.size(), 229u);
    EXPECT_STREQ(table.front().name, "Albania");
    EXPECT_STREQ(table.front().code, "+355");
    EXPECT_STREQ(table.back().name, "Zimbabwe");
    EXPECT_STREQ(table.back().code, "+263");
    for (const CountryCode& c : table) {
        ASSERT_NE(c.name, nullptr);
        ASSERT_NE(c.code, nullptr);
        EXPECT_GT(std::strlen(c.name), 0u);
        const std::string code = c.code;
        ASSERT_GE(code.size(), 2u) << c.name;
        EXPECT_EQ(code[0], '+') << c.name;
        EXPECT_EQ(code.find_first_not_of("0123456789", 1), std::string::npos) << c.name;
    }
}

TEST(CountryCodes, NamesAndCodesAsShipped)
{
    struct Case
    {
        const char* name;
        const char* code;
    };
    const Case cases[] = {
        {"Siovenia", "+386"},
        {"Maiawi", "+265"},
        {"Kirbati", "+686"},
        {"St Pierre & Miqueion", "+508"},
        {"Virgin Islands (BR)", "+1809496"},
        {"Cyprus (Turkish Occupied Area)", "+90392"},
        {"Sao Tome & Principe", "+23912"},
        {"Former Yug. Rep. of Macedonia", "+389"},
        {"Ireland North", "+44"},
        {"Monaco", "+337"},
        {"Liechtenstein", "+4175"},
        {"Germany", "+49"},
        {"Canada", "+1"},
        {"USA", "+1"},
    };
    for (const Case& c : cases) {
        const int i = indexOf(c.name);
        ASSERT_GE(i, 0) << c.name;
        EXPECT_STREQ(countryCodes()[static_cast<std::size_t>(i)].code, c.code) << c.name;
    }
    EXPECT_EQ(indexOf("Slovenia"), -1);
    EXPECT_EQ(indexOf("Malawi"), -1);
    EXPECT_LT(indexOf("Slovak Republic"), indexOf("Siovenia")); // table order, not alphabetical
}

TEST(CountryCodes, OrderByCode)
{
    const auto table = countryCodes();
    const std::vector<int> order = countryOrderByCode();
    ASSERT_EQ(order.size(), table.size());

    std::vector<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t i = 0; i < sorted.size(); ++i)
        ASSERT_EQ(sorted[i], static_cast<int>(i)); // a permutation

    auto code = [&](std::size_t place) { return std::string(table[static_cast<std::size_t>(order[place])].code); };
    auto name = [&](std::size_t place) { return std::string(table[static_cast<std::size_t>(order[place])].name); };
    EXPECT_EQ(name(0), "Canada");
    EXPECT_EQ(name(1), "USA");
    EXPECT_EQ(code(2), "+1242");
    EXPECT_EQ(name(order.size() - 1), "Kyrgyzstan");
    EXPECT_EQ(code(order.size() - 1), "+996");

    for (std::size_t p = 1; p < order.size(); ++p) {
        EXPECT_LE(code(p - 1), code(p)) << p; // codes are "+" and digits: plain text order
        if (code(p - 1) == code(p)) {
            EXPECT_LT(order[p - 1], order[p]) << p; // equal codes keep table order
        }
    }
    // Text order, not numeric: "+1264" before "+20", "+1809496" right after the "+1809" rows.
    const auto place = [&](const char* n) { return std::find(order.begin(), order.end(), indexOf(n)) - order.begin(); };
    EXPECT_LT(place("Anguilla"), place("Egypt"));
    EXPECT_EQ(place("Virgin Islands (BR)"), place("Virgin Islands (US)") + 1);
}
