#include "phonebook/ContactImport.h"

#include <algorithm>
#include <array>

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include "base/StringIds.h"
#include "base/StringTable.h"
#include "codec/DialDigits.h"
#include "codec/PcText.h"
#include "phonebook/CsvFormat.h"
#include "phonebook/EntryFields.h"
#include "phonebook/VCardFormat.h"

namespace kestrel {

PhoneBookFormat phoneBookFormatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("vcf"))
        return PhoneBookFormat::VCard;
    if (suffix == QLatin1String("csv"))
        return PhoneBookFormat::Csv;
    return PhoneBookFormat::Dia;
}

ContactsRead readContactFile(PhoneBookFormat format, const QByteArray& bytes)
{
    return format == PhoneBookFormat::Csv ? readCsvContacts(bytes) : readVCards(bytes);
}

QByteArray writeContactFile(PhoneBookFormat format, const std::vector<Contact>& contacts)
{
    return format == PhoneBookFormat::Csv ? writeCsvContacts(contacts) : writeVCards(contacts);
}

namespace {

// The suffix letters by ContactType (Voice, Cell, Work, Home, Fax, Other).
constexpr std::array<char, 6> kSuffixLetters = {'O', 'M', 'W', 'H', 'F', 'O'};

// The type a suffix is counted under: untyped and other numbers share "/O", so "/O", "/O2".
std::size_t suffixCounter(ContactType type)
{
    return static_cast<std::size_t>(type == ContactType::Other ? ContactType::Voice : type);
}

// Control characters (a NUL would end the name in its field) become spaces; runs of white space
// one space.
QString cleanName(const QString& name)
{
    QString out = name;
    for (QChar& c : out) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return out.simplified();
}

// The first `max` characters (code points, as the card's name length counts them).
QString leftChars(const QString& text, int max)
{
    const QList<uint> chars = text.toUcs4();
    if (chars.size() <= max)
        return text;
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.constData()), std::max(max, 0));
}

// "+44 (0)20 7946 0000" without its "(0)": the trunk prefix written after the country code is
// not dialled from abroad. Any other bracket goes with the separators.
QString withoutTrunkPrefix(const QString& number)
{
    static const QRegularExpression trunk(QStringLiteral("^(\\s*\\+[\\s.-]*\\d{1,3})[\\s.-]*\\(\\s*0\\s*\\)"));
    return QString(number).replace(trunk, QStringLiteral("\\1 "));
}

// The number as the window keeps it, or the reason it is left out.
int cleanNumber(const QString& number, std::string& out)
{
    std::string text = withoutTrunkPrefix(number).toStdString();
    text.erase(std::remove(text.begin(), text.end(), '/'), text.end());
    out = StripNumberSeparators(text);
    if (IsValidDialNumber(out) && !out.empty() && out != "+")
        return 0;
    const bool dialCharacters = !out.empty() && out != "+" && std::count(out.begin(), out.end(), '+') <= 1 &&
                                std::all_of(out.begin(), out.end(), [](char c) { return c == '+' || IsDialDigit(c); });
    return dialCharacters ? strId(sid::TheNumberHasMoreThan_9945) : strId(sid::TheNumberHoldsCharactersA_9944);
}

} // namespace

ContactImport importContacts(const std::vector<Contact>& contacts, int maxNameLength, int freeRows)
{
    ContactImport result;
    const int maxName = std::max(maxNameLength, 1);
    for (const Contact& contact : contacts) {
        const QString name = cleanName(contact.name);
        if (contact.numbers.empty()) {
            result.losses.push_back({name, {}, {}, strId(sid::NoNumber_9946)});
            continue;
        }
        struct Kept
        {
            std::string number;
            ContactType type;
            QString shown;
        };
        std::vector<Kept> kept;
        for (const ContactNumber& n : contact.numbers) {
            std::string number;
            const QString shown = n.number.simplified();
            if (name.isEmpty()) {
                result.losses.push_back({name, shown, {}, strId(sid::NoName_9947)});
            } else if (const int reason = cleanNumber(n.number, number); reason != 0) {
                result.losses.push_back({name, shown, {}, reason});
            } else {
                kept.push_back({number, n.type, shown});
            }
        }

        std::array<int, kSuffixLetters.size()> seen{};
        for (const Kept& k : kept) {
            QString suffix;
            if (kept.size() > 1) {
                const int count = ++seen[suffixCounter(k.type)];
                suffix = QStringLiteral("/") + QLatin1Char(kSuffixLetters[static_cast<std::size_t>(k.type)]);
                if (count > 1)
                    suffix += QString::number(count);
            }
            if (std::ssize(result.entries) >= freeRows) {
                result.losses.push_back({name + suffix, k.shown, {}, strId(sid::NoFreeRowLeftIn_9948)});
                continue;
            }
            const int room = maxName - static_cast<int>(suffix.size());
            QString base = leftChars(name, room);
            // A cut between two words leaves no blank before the suffix ("Jan /M2" is "Jan/M2").
            if (base != name && !suffix.isEmpty())
                base = base.trimmed();
            // A suffix longer than the whole name length is cut itself.
            const QString entryName = leftChars(base + suffix, maxName);
            std::string pcName = unicodeToPcText(entryName);
            // A name cut to nothing the card can hold (a BOM, a control character) is no name.
            if (pcName.empty()) {
                result.losses.push_back({name + suffix, k.shown, {}, strId(sid::NoName_9947)});
                continue;
            }
            if (base != name || entryName != base + suffix)
                result.losses.push_back({name + suffix, k.shown, entryName, 0});
            result.entries.push_back({std::move(pcName), k.number});
        }
    }
    return result;
}

QString lossLine(const ContactLoss& loss)
{
    if (loss.cut())
        return StringTable::text(sid::IsCutTo_9942).arg(loss.name, loss.cutTo);
    return StringTable::text(sid::IsLeftOut_9943)
        .arg(loss.name, loss.number, StringTable::text(loss.reasonId))
        .simplified();
}

QString lossMessage(const std::vector<ContactLoss>& losses, int closing)
{
    QStringList lines{StringTable::text(sid::NotEverythingInTheFile_9941)};
    const std::size_t shown = std::min<std::size_t>(losses.size(), kLossLinesShown);
    for (std::size_t i = 0; i < shown; ++i)
        lines.append(lossLine(losses[i]));
    if (losses.size() > shown)
        lines.append(StringTable::text(sid::AndMore_9949).arg(losses.size() - shown));
    if (closing != 0) {
        lines.append(QString());
        lines.append(StringTable::text(closing));
    }
    return lines.join(QStringLiteral("\r\n"));
}

ContactType typeOfSuffix(const QString& name)
{
    static const QRegularExpression suffix(QStringLiteral("/([MWHFO])\\d*$"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = suffix.match(name);
    if (!m.hasMatch())
        return ContactType::Voice;
    switch (m.captured(1).toUpper().front().toLatin1()) {
    case 'M':
        return ContactType::Cell;
    case 'W':
        return ContactType::Work;
    case 'H':
        return ContactType::Home;
    case 'F':
        return ContactType::Fax;
    default:
        return ContactType::Other;
    }
}

std::vector<Contact> contactsFromEntries(std::span<const DialEntry> entries)
{
    std::vector<Contact> contacts;
    for (const DialEntry& e : entries) {
        if (e.valid == 0)
            continue;
        Contact c;
        c.name = pcTextToUnicode(entryFieldText(e.name));
        const std::string number = JoinPlus(entryFieldText(e.number), e.ton);
        c.numbers.push_back({QString::fromStdString(number), typeOfSuffix(c.name)});
        contacts.push_back(std::move(c));
    }
    return contacts;
}

} // namespace kestrel
