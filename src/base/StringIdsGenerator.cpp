// Writes the header base/StringIds.h: one named constant per entry of resources/StringTable.inc
// (kestrel::sid::CardNotInserted_131 = 131), named by stringIdName(). Run by the build whenever the
// table changes: kestrel-string-ids <output header>. The file is rewritten only when its contents
// change, so that an unchanged table rebuilds nothing.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>

#include "base/StringIdName.h"

namespace {

struct Entry
{
    int id;
    const char16_t* text;
    bool data = false;
};

constexpr bool Data = true;

constexpr Entry kEntries[] = {
#include "StringTable.inc"
};

// The text in a line comment: quoted, ASCII, with escapes for line breaks, tabs, backslashes and
// anything outside printable ASCII.
std::string commentText(std::u16string_view text)
{
    std::string out = "\"";
    for (char16_t c : text) {
        if (c == u'\r') {
            out += "\\r";
        } else if (c == u'\n') {
            out += "\\n";
        } else if (c == u'\t') {
            out += "\\t";
        } else if (c == u'\\') {
            out += "\\\\";
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\u%04X", static_cast<unsigned>(c));
            out += hex;
        }
    }
    return out + '"';
}

std::string header()
{
    std::ostringstream out;
    out << "// Generated from resources/StringTable.inc by kestrel-string-ids "
           "(src/base/StringIdsGenerator.cpp); do not edit.\n"
           "#pragma once\n\n"
           "namespace kestrel::sid {\n\n";
    for (const Entry& e : kEntries) {
        out << "inline constexpr int " << kestrel::stringIdName(e.id, e.text) << " = " << e.id << "; // "
            << commentText(e.text) << '\n';
    }
    out << "\n} // namespace kestrel::sid\n";
    return out.str();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestrel-string-ids <output header>\n");
        return 2;
    }
    const std::filesystem::path path = argv[1];
    const std::string text = header();
    {
        std::ifstream in(path, std::ios::binary);
        const std::string old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in && old == text)
            return 0;
    }
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "kestrel-string-ids: cannot write %s\n", path.string().c_str());
        return 1;
    }
    return 0;
}
