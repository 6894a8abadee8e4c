#include "reader/PcscReader.h"

#include <vector>

#include <gtest/gtest.h>

using namespace kestrel;

// Which PC/SC reader names the Setup dialog offers; needs no service.
TEST(PcscReaderFilterTest, KeepsNamesContainingAFilter)
{
    const QStringList listed{QStringLiteral("Virtual PCD 00 00"), QStringLiteral("OMNIKEY CardMan 3121 00 00"),
                             QStringLiteral("Gemalto PC Twin Reader 01 00")};
    struct Case
    {
        QStringList filters;
        QStringList kept;
    };
    const QString dot = QStringLiteral(".");
    const std::vector<Case> cases{
        {{dot, dot, dot}, listed},
        {{QStringLiteral("omnikey"), dot, dot}, {listed[1]}},
        {{dot, QStringLiteral("PCD"), QStringLiteral("twin")}, {listed[0], listed[2]}},
        {{QStringLiteral("nothing like it"), dot, dot}, {}},
        {{QStringLiteral("00 00"), dot, dot}, {listed[0], listed[1]}},
        // A filter that is not "." but empty is contained in every name.
        {{QString(), dot, dot}, listed},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PcscReader::filterReaderNames(listed, c.filters), c.kept) << c.filters.join(u'|').toStdString();
    EXPECT_TRUE(PcscReader::filterReaderNames({}, {dot, dot, dot}).isEmpty());
}

TEST(PcscReaderFilterTest, NamesStayAsListed)
{
    // Matching ignores case; the kept names keep theirs, and their order.
    const QStringList listed{QStringLiteral("b Reader"), QStringLiteral("a reader"), QStringLiteral("Card")};
    EXPECT_EQ(
        PcscReader::filterReaderNames(listed, {QStringLiteral("rEaDeR"), QStringLiteral("."), QStringLiteral(".")}),
        (QStringList{QStringLiteral("b Reader"), QStringLiteral("a reader")}));
}
