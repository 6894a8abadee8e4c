#include "phonebook/CsvFormat.h"

#include <optional>

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>

#include "base/StringIds.h"
#include "base/StringTable.h"
#include "codec/PcText.h"

namespace kestrel {

namespace {

enum class Role
{
    None,
    Full,
    Given,
    Middle,
    Family,
    Phone,      // its type is the column's
    PhoneValue, // Google "Phone N - Value"; the type is in the row's "Phone N - Type"
    PhoneType,
};

struct Column
{
    Role role = Role::None;
    ContactType type = ContactType::Voice;
    int group = 0; // N of Google's "Phone N - ..."
};

struct NamedColumn
{
    const char* header; // lower case
    Role role;
    ContactType type;
};

constexpr NamedColumn kColumns[] = {
    {"name", Role::Full, ContactType::Voice},
    {"display name", Role::Full, ContactType::Voice},
    {"full name", Role::Full, ContactType::Voice},
    {"given name", Role::Given, ContactType::Voice},
    {"first name", Role::Given, ContactType::Voice},
    {"additional name", Role::Middle, ContactType::Voice},
    {"middle name", Role::Middle, ContactType::Voice},
    {"family name", Role::Family, ContactType::Voice},
    {"last name", Role::Family, ContactType::Voice},
    {"phone", Role::Phone, ContactType::Voice},
    {"phone number", Role::Phone, ContactType::Voice},
    {"telephone", Role::Phone, ContactType::Voice},
    {"mobile phone", Role::Phone, ContactType::Cell},
    {"mobile number", Role::Phone, ContactType::Cell},
    {"mobile", Role::Phone, ContactType::Cell},
    {"cell phone", Role::Phone, ContactType::Cell},
    {"car phone", Role::Phone, ContactType::Cell},
    {"home phone", Role::Phone, ContactType::Home},
    {"home phone 2", Role::Phone, ContactType::Home},
    {"business phone", Role::Phone, ContactType::Work},
    {"business phone 2", Role::Phone, ContactType::Work},
    {"work phone", Role::Phone, ContactType::Work},
    {"company main phone", Role::Phone, ContactType::Work},
    {"business fax", Role::Phone, ContactType::Fax},
    {"home fax", Role::Phone, ContactType::Fax},
    {"other fax", Role::Phone, ContactType::Fax},
    {"fax", Role::Phone, ContactType::Fax},
    {"fax number", Role::Phone, ContactType::Fax},
    {"pager", Role::Phone, ContactType::Other},
    {"pager number", Role::Phone, ContactType::Other},
    {"other phone", Role::Phone, ContactType::Other},
    {"primary phone", Role::Phone, ContactType::Other},
    {"assistant's phone", Role::Phone, ContactType::Other},
    {"callback", Role::Phone, ContactType::Other},
    {"radio phone", Role::Phone, ContactType::Other},
};

Column columnOf(const QString& header)
{
    const QString h = header.simplified().toLower();
    for (const NamedColumn& c : kColumns) {
        if (h == QLatin1String(c.header))
            return {c.role, c.type, 0};
    }
    static const QRegularExpression google(QStringLiteral("^phone (\\d{1,3}) - (value|type|label)$"));
    const QRegularExpressionMatch m = google.match(h);
    if (m.hasMatch())
        return {m.captured(2) == QLatin1String("value") ? Role::PhoneValue : Role::PhoneType, ContactType::Voice,
                m.captured(1).toInt()};
    return {};
}

// Google's types: "Mobile", "Work", "Home", "Work Fax", "Other", a starred "* Mobile" ...
ContactType typeOfLabel(const QString& label)
{
    const QString l = label.toLower();
    if (l.trimmed().isEmpty())
        return ContactType::Voice;
    if (l.contains(QLatin1String("fax")))
        return ContactType::Fax;
    if (l.contains(QLatin1String("mobile")) || l.contains(QLatin1String("cell")))
        return ContactType::Cell;
    if (l.contains(QLatin1String("work")))
        return ContactType::Work;
    if (l.contains(QLatin1String("home")))
        return ContactType::Home;
    return ContactType::Other;
}

// The records of the text, each a list of fields with the line it starts on.
class RecordReader
{
public:
    RecordReader(const QString& text, QChar separator) : m_text(text), m_sep(separator) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    int line() const { return m_line; }

    // The next record; false with `failure` set when it is broken.
    bool next(QStringList& fields, ContactFailure& failure)
    {
        fields.clear();
        const int start = m_line;
        const qsizetype begin = m_pos;
        QString field;
        bool quoted = false;    // inside quotes
        bool wasQuoted = false; // the field had quotes (only the separator or the end may follow)
        for (;;) {
            if (m_pos - begin > kMaxContactLineBytes) {
                failure = {strId(sid::TheLineIsLongerThan_9923), start};
                return false;
            }
            if (m_pos >= m_text.size()) {
                if (quoted) {
                    failure = {strId(sid::AQuotedFieldHasNo_9933), start};
                    return false;
                }
                fields.append(field);
                return true;
            }
            const QChar c = m_text[m_pos++];
            if (c == QLatin1Char('\n'))
                ++m_line;
            if (quoted) {
                if (c != QLatin1Char('"'))
                    field += c;
                else if (m_pos < m_text.size() && m_text[m_pos] == QLatin1Char('"'))
                    field += m_text[m_pos++];
                else
                    quoted = false;
                continue;
            }
            if (c == m_sep) {
                fields.append(field);
                field.clear();
                wasQuoted = false;
            } else if (c == QLatin1Char('\n')) {
                if (field.endsWith(QLatin1Char('\r')) && !wasQuoted)
                    field.chop(1);
                fields.append(field);
                return true;
            } else if (wasQuoted) {
                if (c == QLatin1Char('\r'))
                    continue;
                failure = {strId(sid::TextAfterTheClosingQuote_9934), m_line};
                return false;
            } else if (c == QLatin1Char('"') && field.isEmpty()) {
                quoted = true;
                wasQuoted = true;
            } else {
                field += c;
            }
        }
    }

private:
    const QString& m_text;
    QChar m_sep;
    qsizetype m_pos = 0;
    int m_line = 1;
};

bool allEmpty(const QStringList& fields)
{
    for (const QString& f : fields) {
        if (!f.trimmed().isEmpty())
            return false;
    }
    return true;
}

// The separator the header row (the first line that is not blank) uses: "," unless it holds none
// but a ";".
QChar separatorOf(const QString& text)
{
    bool quoted = false;
    bool comma = false;
    bool semicolon = false;
    bool blank = true;
    for (const QChar c : text) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (quoted) {
            blank = blank && c.isSpace();
        } else if (c == QLatin1Char(',')) {
            comma = true;
        } else if (c == QLatin1Char(';')) {
            semicolon = true;
        } else if (c == QLatin1Char('\n')) {
            if (!blank)
                break;
            comma = semicolon = false;
        } else if (!c.isSpace()) {
            blank = false;
        }
    }
    return semicolon && !comma ? QLatin1Char(';') : QLatin1Char(',');
}

} // namespace

ContactsRead readCsvContacts(const QByteArray& bytes)
{
    ContactsRead result;
    if (bytes.size() > kMaxContactFileBytes)
        return refusedContacts({strId(sid::TheFileIsLargerThan_9922), 0});
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(body);
    // An export in the Windows code page of a Czech desktop, not UTF-8: Windows-1250 keeps every byte.
    if (utf8.hasError())
        text = windows1250ToUnicode(std::string_view(body.constData(), static_cast<std::size_t>(body.size())));

    RecordReader reader(text, separatorOf(text));
    ContactFailure failure;
    QStringList header;
    int headerLine = 1;
    while (!reader.atEnd() && header.isEmpty()) {
        headerLine = reader.line();
        if (!reader.next(header, failure))
            return refusedContacts(failure);
        if (allEmpty(header))
            header.clear();
    }
    if (header.isEmpty())
        return refusedContacts({strId(sid::TheFileHasNoHeader_9937), 0});

    std::vector<Column> columns;
    bool hasName = false;
    bool hasPhone = false;
    for (const QString& h : header) {
        columns.push_back(columnOf(h));
        const Role r = columns.back().role;
        hasName = hasName || r == Role::Full || r == Role::Given || r == Role::Middle || r == Role::Family;
        hasPhone = hasPhone || r == Role::Phone || r == Role::PhoneValue;
    }
    if (!hasName)
        return refusedContacts({strId(sid::TheHeaderRowHasNo_9935), headerLine});
    if (!hasPhone)
        return refusedContacts({strId(sid::TheHeaderRowHasNo_9936), headerLine});

    QStringList row;
    while (!reader.atEnd()) {
        const int line = reader.line();
        if (!reader.next(row, failure))
            return refusedContacts(failure);
        if (allEmpty(row))
            continue;
        for (qsizetype i = header.size(); i < row.size(); ++i) {
            if (!row[i].trimmed().isEmpty())
                return refusedContacts({strId(sid::ARowHasMoreFields_9938), line});
        }
        if (result.contacts.size() == kMaxContacts)
            return refusedContacts({strId(sid::TheFileHoldsMoreThan_9924), line});

        QString full;
        QStringList parts[3]; // given, middle, family
        Contact contact;
        for (std::size_t i = 0; i < columns.size() && i < static_cast<std::size_t>(row.size()); ++i) {
            const Column& col = columns[i];
            const QString value = row[static_cast<qsizetype>(i)].simplified();
            if (value.isEmpty())
                continue;
            switch (col.role) {
            case Role::Full:
                if (full.isEmpty())
                    full = value;
                break;
            case Role::Given:
            case Role::Middle:
            case Role::Family:
                parts[static_cast<int>(col.role) - static_cast<int>(Role::Given)].append(value);
                break;
            case Role::Phone:
            case Role::PhoneValue: {
                ContactType type = col.type;
                if (col.role == Role::PhoneValue) {
                    for (std::size_t j = 0; j < columns.size() && j < static_cast<std::size_t>(row.size()); ++j) {
                        if (columns[j].role == Role::PhoneType && columns[j].group == col.group)
                            type = typeOfLabel(QString(row[static_cast<qsizetype>(j)]).remove(QLatin1Char('*')));
                    }
                }
                for (const QString& number : value.split(QStringLiteral(" ::: "), Qt::SkipEmptyParts)) {
                    if (contact.numbers.size() == kMaxNumbersPerContact)
                        return refusedContacts({strId(sid::AContactHasMoreThan_9939), line});
                    contact.numbers.push_back({number.trimmed(), type});
                }
                break;
            }
            case Role::PhoneType:
            case Role::None:
                break;
            }
        }
        contact.name = full;
        if (contact.name.isEmpty())
            contact.name = (parts[0] + parts[1] + parts[2]).join(QLatin1Char(' '));
        result.contacts.push_back(std::move(contact));
    }
    return result;
}

namespace {

QByteArray csvField(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\n') && !bytes.contains('\r') &&
        !bytes.contains(';'))
        return bytes;
    QByteArray quoted = bytes;
    quoted.replace("\"", "\"\"");
    return '"' + quoted + '"';
}

} // namespace

QByteArray writeCsvContacts(const std::vector<Contact>& contacts)
{
    QByteArray out = "Name,Phone\r\n";
    for (const Contact& c : contacts) {
        for (const ContactNumber& n : c.numbers)
            out += csvField(c.name) + ',' + csvField(n.number) + "\r\n";
    }
    return out;
}

} // namespace kestrel
