#include "report/PrintFonts.h"

#include <algorithm>

namespace kestrel {

namespace {

const std::array<QString, 3> kDefaultFaces{QStringLiteral("Arial"), QStringLiteral("Arial Bold"),
                                           QStringLiteral("Arial Italic")};

// The family of `families` spelled like `name` (case ignored); empty when there is none.
QString installed(const QString& name, const QStringList& families)
{
    for (const QString& family : families) {
        if (family.compare(name, Qt::CaseInsensitive) == 0)
            return family;
    }
    return {};
}

} // namespace

PrintFace resolvePrintFace(const QString& face, const QStringList& families)
{
    const QString whole = face.trimmed();
    if (const QString family = installed(whole, families); !family.isEmpty())
        return {family, false};
    struct Suffix
    {
        QLatin1StringView words;
        bool italic;
    };
    static constexpr Suffix kSuffixes[] = {
        {QLatin1StringView(" Bold Italic"), true},
        {QLatin1StringView(" Italic"), true},
        {QLatin1StringView(" Bold"), false},
    };
    for (const Suffix& suffix : kSuffixes) {
        if (whole.size() > suffix.words.size() && whole.endsWith(suffix.words, Qt::CaseInsensitive)) {
            const QString base = whole.left(whole.size() - suffix.words.size()).trimmed();
            const QString family = installed(base, families);
            return {family.isEmpty() ? base : family, suffix.italic};
        }
    }
    return {whole, false};
}

QString printFaceOf(const QStringList& faces, PrintFontSlot slot)
{
    const auto i = static_cast<qsizetype>(slot);
    return i < faces.size() && !faces[i].trimmed().isEmpty() ? faces[i] : kDefaultFaces[static_cast<std::size_t>(i)];
}

PrintFontForm::PrintFontForm(const QStringList& faces, const QStringList& families)
{
    m_families = families;
    m_families.removeAll(QString());
    m_families.sort(Qt::CaseInsensitive);
    m_families.removeDuplicates();
    for (PrintFontSlot slot : kLists) {
        const std::size_t i = index(slot);
        m_faces[i] = printFaceOf(faces, slot);
        // -1 when the face's family is not installed (installed() gives an empty name then).
        m_openedRows[i] = static_cast<int>(
            m_families.indexOf(installed(resolvePrintFace(m_faces[i], m_families).family, m_families)));
        m_rows[i] = m_openedRows[i];
    }
}

void PrintFontForm::select(PrintFontSlot slot, int row)
{
    if (row >= 0 && row < m_families.size())
        m_rows[index(slot)] = row;
}

QStringList PrintFontForm::faces() const
{
    QStringList result;
    for (std::size_t i = 0; i < m_faces.size(); ++i)
        result.append(m_rows[i] == m_openedRows[i] ? m_faces[i] : m_families[m_rows[i]]);
    return result;
}

} // namespace kestrel
