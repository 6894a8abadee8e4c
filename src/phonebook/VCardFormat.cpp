#include "phonebook/VCardFormat.h"

#include <optional>

#include <QStringDecoder>
#include <QStringList>

#include "base/StringIds.h"
#include "base/StringTable.h"
#include "codec/PcText.h"

namespace kestrel {

namespace {

// A property line once unfolded: what stands before the first ":" outside quotes, and the raw
// value bytes after it.
struct PropertyLine
{
    int line = 0;         // 1-based physical line where it starts
    QByteArray name;      // upper case, group prefix removed
    QByteArrayList types; // lower case: TYPE= values and the bare 2.1 parameters
    QByteArray encoding;  // upper case
    QByteArray charset;
    QByteArray valueKind; // VALUE=, lower case
    QByteArray value;
};

bool isBareEncoding(const QByteArray& p)
{
    return p == "QUOTED-PRINTABLE" || p == "BASE64" || p == "8BIT" || p == "7BIT" || p == "B";
}

QByteArray unquote(QByteArray v)
{
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
        return v.mid(1, v.size() - 2);
    return v;
}

// Splits at `sep` outside double quotes.
QByteArrayList splitOutsideQuotes(const QByteArray& text, char sep)
{
    QByteArrayList parts;
    QByteArray part;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"')
            quoted = !quoted;
        if (c == sep && !quoted) {
            parts.append(part);
            part.clear();
        } else {
            part.append(c);
        }
    }
    parts.append(part);
    return parts;
}

// The head "group.NAME;param;KEY=a,b" and the value of one logical line; false without a ":".
bool parseProperty(const QByteArray& logical, PropertyLine& p)
{
    bool quoted = false;
    qsizetype colon = -1;
    for (qsizetype i = 0; i < logical.size(); ++i) {
        if (logical[i] == '"')
            quoted = !quoted;
        else if (logical[i] == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon < 0)
        return false;
    const QByteArrayList head = splitOutsideQuotes(logical.left(colon), ';');
    QByteArray name = head.front().trimmed().toUpper();
    const qsizetype dot = name.lastIndexOf('.');
    p.name = dot >= 0 ? name.mid(dot + 1) : name;
    for (qsizetype i = 1; i < head.size(); ++i) {
        const QByteArray param = head[i].trimmed();
        const qsizetype eq = param.indexOf('=');
        const QByteArray key = (eq < 0 ? param : param.left(eq)).trimmed().toUpper();
        const QByteArray value = eq < 0 ? QByteArray() : unquote(param.mid(eq + 1).trimmed());
        if (eq < 0) {
            if (isBareEncoding(key))
                p.encoding = key;
            else if (!key.isEmpty())
                p.types.append(key.toLower());
        } else if (key == "TYPE") {
            for (const QByteArray& t : splitOutsideQuotes(value, ','))
                p.types.append(unquote(t.trimmed()).toLower());
        } else if (key == "ENCODING") {
            p.encoding = value.toUpper();
        } else if (key == "CHARSET") {
            p.charset = value;
        } else if (key == "VALUE") {
            p.valueKind = value.toLower();
        }
    }
    p.value = logical.mid(colon + 1);
    return true;
}

// A property whose value is quoted-printable, told by its first physical line (the name and
// parameters before the ":"), once: its soft line breaks are joined without looking again.
bool isQuotedPrintable(const QByteArray& firstLine)
{
    const qsizetype colon = firstLine.indexOf(':');
    return firstLine.left(colon < 0 ? firstLine.size() : colon).toUpper().contains("QUOTED-PRINTABLE");
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::optional<QByteArray> decodeQuotedPrintable(const QByteArray& in)
{
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] != '=') {
            out.append(in[i]);
            continue;
        }
        if (i + 2 >= in.size())
            return std::nullopt;
        const int hi = hexValue(in[i + 1]);
        const int lo = hexValue(in[i + 2]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out.append(static_cast<char>(hi * 16 + lo));
        i += 2;
    }
    return out;
}

// A value's text decoders keep a U+FEFF at its start as a character (only the file's own byte order
// mark is skipped): it stays where the writer puts it back.
constexpr QStringDecoder::Flags kValueDecoding =
    QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom;

std::optional<QString> strictUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, kValueDecoding);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// The text of a property value: quoted-printable undone, then its character set.
std::optional<QString> decodeText(const PropertyLine& p, bool v21, ContactFailure& failure)
{
    QByteArray bytes = p.value;
    if (p.encoding == "QUOTED-PRINTABLE") {
        const std::optional<QByteArray> decoded = decodeQuotedPrintable(bytes);
        if (!decoded) {
            failure = {strId(sid::BrokenQuotedPrintableText_9930), p.line};
            return std::nullopt;
        }
        bytes = *decoded;
    }
    const QByteArray charset = p.charset.toLower();
    if (charset.isEmpty() || charset == "utf-8" || charset == "utf8") {
        if (std::optional<QString> text = strictUtf8(bytes))
            return text;
        if (v21 && charset.isEmpty())
            return windows1250ToUnicode(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        failure = {strId(sid::TheTextIsNotValid_9932), p.line};
        return std::nullopt;
    }
    if (charset == "windows-1250" || charset == "cp1250")
        return windows1250ToUnicode(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    QStringDecoder decoder(charset.constData(), kValueDecoding);
    if (!decoder.isValid()) {
        failure = {strId(sid::UnknownCharacterSet_9931), p.line};
        return std::nullopt;
    }
    QString text = decoder.decode(bytes);
    // Bytes the character set has no character for, or a UTF-7 run that decodes to half a surrogate
    // pair: no name could be written back or stored as the file means it.
    if (decoder.hasError() || !text.isValidUtf16()) {
        failure = {strId(sid::TheTextIsNotValid_9954), p.line};
        return std::nullopt;
    }
    return text;
}

// Splits a structured value at ";" that no backslash escapes.
QStringList splitComponents(const QString& text)
{
    QStringList parts;
    QString part;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\') && i + 1 < text.size()) {
            part += text[i];
            part += text[++i];
        } else if (text[i] == QLatin1Char(';')) {
            parts.append(part);
            part.clear();
        } else {
            part += text[i];
        }
    }
    parts.append(part);
    return parts;
}

QString unescape(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\\') || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar next = text[++i];
        out += next == QLatin1Char('n') || next == QLatin1Char('N') ? QChar(QLatin1Char('\n')) : next;
    }
    return out;
}

ContactType typeOf(const QByteArrayList& types)
{
    // The most telling type wins: a fax is no phone, a mobile is reached anywhere.
    if (types.contains("fax"))
        return ContactType::Fax;
    if (types.contains("cell") || types.contains("mobile") || types.contains("iphone"))
        return ContactType::Cell;
    if (types.contains("work"))
        return ContactType::Work;
    if (types.contains("home"))
        return ContactType::Home;
    if (types.contains("pager") || types.contains("other") || types.contains("car") || types.contains("msg"))
        return ContactType::Other;
    return ContactType::Voice;
}

// "prefix given additional family suffix" of an N value.
QString nameFromN(const QString& value)
{
    const QStringList parts = splitComponents(value);
    QStringList words;
    for (const int i : {3, 1, 2, 0, 4}) {
        if (i < parts.size()) {
            const QString part = unescape(parts[i]).replace(QLatin1Char(','), QLatin1Char(' ')).simplified();
            if (!part.isEmpty())
                words.append(part);
        }
    }
    return words.join(QLatin1Char(' '));
}

// One BEGIN:VCARD ... END:VCARD block.
std::optional<Contact> readCard(const std::vector<PropertyLine>& lines, ContactFailure& failure)
{
    bool v21 = false;
    for (const PropertyLine& p : lines) {
        if (p.name != "VERSION")
            continue;
        const QByteArray version = p.value.trimmed();
        if (version != "2.1" && version != "3.0" && version != "4.0") {
            failure = {strId(sid::TheVCardVersionIsNot_9929), p.line};
            return std::nullopt;
        }
        v21 = version == "2.1";
    }
    Contact contact;
    QString fn;
    QString n;
    for (const PropertyLine& p : lines) {
        if (p.name != "FN" && p.name != "N" && p.name != "TEL")
            continue;
        if (p.encoding == "BASE64" || p.encoding == "B")
            continue; // no text
        const std::optional<QString> text = decodeText(p, v21, failure);
        if (!text)
            return std::nullopt;
        if (p.name == "FN" && fn.isEmpty()) {
            fn = unescape(*text).simplified();
        } else if (p.name == "N" && n.isEmpty()) {
            n = nameFromN(*text);
        } else if (p.name == "TEL") {
            QString number = unescape(*text).trimmed();
            while (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
                number = number.mid(4).trimmed();
            if (number.isEmpty())
                continue; // an empty TEL is no number
            if (contact.numbers.size() == kMaxNumbersPerContact) {
                failure = {strId(sid::AContactHasMoreThan_9939), p.line};
                return std::nullopt;
            }
            contact.numbers.push_back({number, typeOf(p.types)});
        }
    }
    contact.name = fn.isEmpty() ? n : fn;
    return contact;
}

} // namespace

ContactsRead readVCards(const QByteArray& bytes)
{
    ContactsRead result;
    if (bytes.size() > kMaxContactFileBytes)
        return refusedContacts({strId(sid::TheFileIsLargerThan_9922), 0});

    // Physical lines without their CR LF or LF; a UTF-8 byte order mark before the first.
    qsizetype pos = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    int physical = 0;
    auto nextLine = [&](QByteArray& line) {
        if (pos >= bytes.size())
            return false;
        qsizetype end = bytes.indexOf('\n', pos);
        if (end < 0)
            end = bytes.size();
        line = bytes.mid(pos, end - pos);
        if (line.endsWith('\r'))
            line.chop(1);
        pos = end + 1;
        ++physical;
        return true;
    };

    std::vector<PropertyLine> card;
    int cardStart = 0; // the line of the open BEGIN:VCARD; 0 outside a block
    QByteArray raw;
    bool haveRaw = nextLine(raw);
    while (haveRaw) {
        // Unfolding: a line that starts with a space or tab continues the one before; so does
        // the line after a quoted-printable soft line break ("=" at the end).
        QByteArray logical = raw;
        const int start = physical;
        const bool quotedPrintable = isQuotedPrintable(raw);
        haveRaw = nextLine(raw);
        for (;;) {
            if (logical.size() > kMaxContactLineBytes)
                return refusedContacts({strId(sid::TheLineIsLongerThan_9923), start});
            if (haveRaw && quotedPrintable && logical.endsWith('=')) {
                logical.chop(1);
                logical += raw;
            } else if (haveRaw && !raw.isEmpty() && (raw[0] == ' ' || raw[0] == '\t')) {
                logical += raw.mid(1);
            } else {
                break;
            }
            haveRaw = nextLine(raw);
        }
        if (logical.trimmed().isEmpty())
            continue;

        PropertyLine p;
        p.line = start;
        if (!parseProperty(logical, p))
            return refusedContacts({strId(sid::AVCardLineWithout_9928), start});
        const QByteArray value = p.value.trimmed().toUpper();
        if (p.name == "BEGIN" && value == "VCARD") {
            if (cardStart != 0)
                return refusedContacts({strId(sid::BeginVcardHasNoEnd_9925), cardStart});
            cardStart = start;
            card.clear();
        } else if (p.name == "END" && value == "VCARD") {
            if (cardStart == 0)
                return refusedContacts({strId(sid::EndVcardWithoutBeginVcard_9926), start});
            ContactFailure failure;
            std::optional<Contact> contact = readCard(card, failure);
            if (!contact)
                return refusedContacts(failure);
            if (result.contacts.size() == kMaxContacts)
                return refusedContacts({strId(sid::TheFileHoldsMoreThan_9924), cardStart});
            result.contacts.push_back(std::move(*contact));
            cardStart = 0;
        } else if (cardStart == 0) {
            return refusedContacts({strId(sid::TextOutsideBeginVcardAnd_9927), start});
        } else {
            card.push_back(std::move(p));
        }
    }
    if (cardStart != 0)
        return refusedContacts({strId(sid::BeginVcardHasNoEnd_9925), cardStart});
    return result;
}

namespace {

QByteArray escapeValue(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char(',') || c == QLatin1Char(';'))
            out += QLatin1Char('\\');
        if (c == QLatin1Char('\n')) {
            out += QLatin1String("\\n");
            continue;
        }
        if (c != QLatin1Char('\r'))
            out += c;
    }
    return out.toUtf8();
}

// The line with CR LF, folded so that no line holds more than 75 octets (a continuation line's
// leading space counted), never inside a UTF-8 sequence.
void appendFolded(QByteArray& out, const QByteArray& line)
{
    constexpr qsizetype kMaxOctets = 75;
    qsizetype pos = 0;
    qsizetype room = kMaxOctets;
    while (line.size() - pos > room) {
        qsizetype cut = pos + room;
        while (cut > pos && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        out += line.mid(pos, cut - pos);
        out += "\r\n ";
        pos = cut;
        room = kMaxOctets - 1;
    }
    out += line.mid(pos);
    out += "\r\n";
}

const char* typeName(ContactType type)
{
    switch (type) {
    case ContactType::Cell:
        return "CELL";
    case ContactType::Work:
        return "WORK";
    case ContactType::Home:
        return "HOME";
    case ContactType::Fax:
        return "FAX";
    case ContactType::Voice:
    case ContactType::Other:
        break;
    }
    return "VOICE";
}

} // namespace

QByteArray writeVCards(const std::vector<Contact>& contacts)
{
    QByteArray out;
    for (const Contact& c : contacts) {
        out += "BEGIN:VCARD\r\nVERSION:3.0\r\n";
        const QByteArray name = escapeValue(c.name);
        appendFolded(out, "FN:" + name);
        appendFolded(out, "N:" + name + ";;;;");
        for (const ContactNumber& n : c.numbers)
            appendFolded(out, QByteArray("TEL;TYPE=") + typeName(n.type) + ':' + escapeValue(n.number));
        out += "END:VCARD\r\n";
    }
    return out;
}

} // namespace kestrel
