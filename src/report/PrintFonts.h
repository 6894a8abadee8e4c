#pragma once

#include <array>

#include <QString>
#include <QStringList>

namespace kestrel {

// The three print font faces the printers use - regular (the normal lines), bold (bold lines,
// titles and column heads) and italic (the text of printed messages) - in that order, as the
// program keeps them ("Arial", "Arial Bold", "Arial Italic" at start). A face is a family name,
// optionally followed by " Bold", " Italic" or " Bold Italic" when that family is no installed
// family by its full name.
struct PrintFace
{
    QString family;
    bool italic = false;

    bool operator==(const PrintFace&) const = default;
};

enum class PrintFontSlot
{
    Regular = 0,
    Bold = 1,
    Italic = 2,
};

// The family and slant a face is drawn with among the installed `families`: the face itself when
// it is a family (case ignored, the family's own spelling returned), else the face without its
// style words. Bold lines are drawn at weight 700 and the others at 400 whatever the face says.
PrintFace resolvePrintFace(const QString& face, const QStringList& families);

// The face of `slot` in faces (regular, bold, italic), the default one when faces is short.
QString printFaceOf(const QStringList& faces, PrintFontSlot slot);

// The "Kestrel! - Select Font for Printing" dialog's rules: three lists of the installed families
// ("Heading: " for the bold face, "Normal text:" for the regular one, "Text message: " for the
// italic one), each opening on the family of its face. A list left on that family keeps the face
// as it was (so "Arial Italic" stays italic); a family chosen becomes the face.
class PrintFontForm
{
public:
    // The lists in the dialog's order.
    static constexpr std::array<PrintFontSlot, 3> kLists{PrintFontSlot::Bold, PrintFontSlot::Regular,
                                                         PrintFontSlot::Italic};

    PrintFontForm(const QStringList& faces, const QStringList& families);

    // The installed families, sorted, each once.
    const QStringList& families() const { return m_families; }
    // The row chosen in the list of `slot`, -1 when its face's family is not installed.
    int selected(PrintFontSlot slot) const { return m_rows[index(slot)]; }
    // Chooses a row (ignored when it is no row of the lists).
    void select(PrintFontSlot slot, int row);
    // The faces after the choices: regular, bold, italic.
    QStringList faces() const;

private:
    static std::size_t index(PrintFontSlot slot) { return static_cast<std::size_t>(slot); }

    QStringList m_families;
    std::array<QString, 3> m_faces;
    std::array<int, 3> m_openedRows{};
    std::array<int, 3> m_rows{};
};

} // namespace kestrel
