#include "report/PrintFonts.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

const QStringList kFamilies{QStringLiteral("DejaVu Sans"), QStringLiteral("Arial"), QStringLiteral("Foo Bold"),
                            QStringLiteral("DejaVu Serif"), QStringLiteral("Arial")};

TEST(PrintFonts, FacesResolveToInstalledFamilies)
{
    struct Case
    {
        const char* face;
        const char* family;
        bool italic;
    };
    const Case cases[] = {
        {"Arial", "Arial", false},           {"arial", "Arial", false}, // the family's own spelling
        {"Arial Bold", "Arial", false},                                 // bold lines are bold whatever the face says
        {"Arial Italic", "Arial", true},     {"DEJAVU SANS bold italic", "DejaVu Sans", true},
        {"Foo Bold", "Foo Bold", false},     // a family of that very name stays whole
        {"Missing Italic", "Missing", true}, // not installed: the platform's substitute
        {" Italic", "Italic", false},        {"", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face);
        EXPECT_EQ(resolvePrintFace(QLatin1String(c.face), kFamilies), (PrintFace{QLatin1String(c.family), c.italic}));
    }
    EXPECT_EQ(printFaceOf({}, PrintFontSlot::Italic), QStringLiteral("Arial Italic"));
    EXPECT_EQ(printFaceOf({QStringLiteral("A"), QStringLiteral("B")}, PrintFontSlot::Bold), QStringLiteral("B"));
}

TEST(PrintFonts, FormKeepsTheFacesOfListsLeftAlone)
{
    PrintFontForm form({QStringLiteral("Arial"), QStringLiteral("Arial Bold"), QStringLiteral("Gone Italic")},
                       kFamilies);
    EXPECT_EQ(form.families(), (QStringList{QStringLiteral("Arial"), QStringLiteral("DejaVu Sans"),
                                            QStringLiteral("DejaVu Serif"), QStringLiteral("Foo Bold")}));
    EXPECT_EQ(form.selected(PrintFontSlot::Regular), 0);
    EXPECT_EQ(form.selected(PrintFontSlot::Bold), 0);
    EXPECT_EQ(form.selected(PrintFontSlot::Italic), -1); // not installed: no row
    EXPECT_EQ(form.faces(),
              (QStringList{QStringLiteral("Arial"), QStringLiteral("Arial Bold"), QStringLiteral("Gone Italic")}));

    form.select(PrintFontSlot::Bold, 2);
    form.select(PrintFontSlot::Italic, 1);
    form.select(PrintFontSlot::Regular, 4); // no such row: ignored
    EXPECT_EQ(form.faces(),
              (QStringList{QStringLiteral("Arial"), QStringLiteral("DejaVu Serif"), QStringLiteral("DejaVu Sans")}));
    // Back to the family it opened on: the face as it was.
    form.select(PrintFontSlot::Bold, 0);
    EXPECT_EQ(form.faces()[1], QStringLiteral("Arial Bold"));
}

} // namespace
} // namespace kestrel
