#pragma once

#include <span>
#include <vector>

namespace kestrel {

// A country and its international dialling code ("+" and digits), as the chooser lists them.
struct CountryCode
{
    const char* name;
    const char* code;
};

// The built-in table in its fixed order, without an end marker. Some codes occur more than once
// (+1, +1809, +269, +39, +44, +7); the table is shown, never searched by code.
std::span<const CountryCode> countryCodes();

// Row indexes of countryCodes() ordered by code text: case-insensitive text comparison (so
// "+1264" comes before "+20"), rows with equal codes kept in table order.
std::vector<int> countryOrderByCode();

} // namespace kestrel
