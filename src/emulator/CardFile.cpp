#include "emulator/CardFile.h"

#include <cmath>
#include <set>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include "emulator/CardFileImage.h"
#include "gsm/FileIds.h"

namespace kestrel::emulator {

namespace {

const QString kFormat = QStringLiteral("kestrel-sim-card");
constexpr int kVersion = 1;
// A card file is a few hundred kilobytes at most; anything far bigger is not one.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;
// READ/UPDATE BINARY offsets are 15 bits.
constexpr int kMaxTransparentSize = 0x7FFF;
constexpr int kMaxRecordLength = 255;
constexpr int kMaxRecords = 254;
constexpr std::size_t kMaxAtrLength = 33;
constexpr std::size_t kMaxPathDepth = 4; // MF, DF, sub-DF, EF

struct LevelName
{
    AccessLevel level;
    const char* name;
};
constexpr LevelName kLevels[] = {
    {AccessLevel::Always, "ALW"}, {AccessLevel::Chv1, "CHV1"}, {AccessLevel::Chv2, "CHV2"},
    {AccessLevel::Adm, "ADM"},    {AccessLevel::Never, "NEV"},
};

QString levelName(AccessLevel level)
{
    for (const LevelName& l : kLevels) {
        if (l.level == level)
            return QString::fromLatin1(l.name);
    }
    return QStringLiteral("NEV");
}

QString structureName(FileStructure s)
{
    switch (s) {
    case FileStructure::LinearFixed:
        return QStringLiteral("linearFixed");
    case FileStructure::Cyclic:
        return QStringLiteral("cyclic");
    case FileStructure::Transparent:
        break;
    }
    return QStringLiteral("transparent");
}

QString typeName(FileType t)
{
    switch (t) {
    case FileType::MF:
        return QStringLiteral("MF");
    case FileType::DF:
        return QStringLiteral("DF");
    case FileType::EF:
        break;
    }
    return QStringLiteral("EF");
}

QString toHex(const uint8_t* bytes, std::size_t size)
{
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size)).toHex().toUpper());
}

QString pathText(const std::vector<uint16_t>& path)
{
    return QString::fromStdString(formatPath(path));
}

// Reads the JSON fields of one object and remembers the first problem with its place.
class FieldReader
{
public:
    FieldReader(const QJsonObject& object, QString where, QString& error)
        : m_object(object), m_where(std::move(where)), m_error(error)
    {}

    bool fail(const QString& what)
    {
        if (m_error.isEmpty())
            m_error = m_where.isEmpty() ? what : m_where + QStringLiteral(": ") + what;
        return false;
    }

    bool has(const char* key) const { return m_object.contains(QLatin1String(key)); }

    bool string(const char* key, QString& out)
    {
        const QJsonValue v = m_object.value(QLatin1String(key));
        if (v.isUndefined())
            return fail(QStringLiteral("the field \"%1\" is missing").arg(QLatin1String(key)));
        if (!v.isString())
            return fail(QStringLiteral("the field \"%1\" is not a text").arg(QLatin1String(key)));
        out = v.toString();
        return true;
    }

    bool boolean(const char* key, bool& out, bool optional = false)
    {
        const QJsonValue v = m_object.value(QLatin1String(key));
        if (v.isUndefined() && optional)
            return true;
        if (v.isUndefined())
            return fail(QStringLiteral("the field \"%1\" is missing").arg(QLatin1String(key)));
        if (!v.isBool())
            return fail(QStringLiteral("the field \"%1\" is not true or false").arg(QLatin1String(key)));
        out = v.toBool();
        return true;
    }

    bool integer(const char* key, int low, int high, int& out, bool optional = false)
    {
        const QJsonValue v = m_object.value(QLatin1String(key));
        if (v.isUndefined() && optional)
            return true;
        if (v.isUndefined())
            return fail(QStringLiteral("the field \"%1\" is missing").arg(QLatin1String(key)));
        const double d = v.toDouble(std::nan(""));
        if (!v.isDouble() || std::floor(d) != d)
            return fail(QStringLiteral("the field \"%1\" is not a whole number").arg(QLatin1String(key)));
        if (d < low || d > high)
            return fail(QStringLiteral("the field \"%1\" is %2, outside %3 to %4")
                            .arg(QLatin1String(key))
                            .arg(d)
                            .arg(low)
                            .arg(high));
        out = static_cast<int>(d);
        return true;
    }

    bool hex(const QString& text, const QString& what, std::vector<uint8_t>& out)
    {
        if (text.size() % 2 != 0)
            return fail(QStringLiteral("%1 has an odd number of hex digits").arg(what));
        for (QChar c : text) {
            if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
                return fail(QStringLiteral("%1 holds \"%2\", not a hex digit").arg(what, QString(c)));
        }
        const QByteArray bytes = QByteArray::fromHex(text.toLatin1());
        out.assign(bytes.begin(), bytes.end());
        return true;
    }

    bool hexField(const char* key, std::vector<uint8_t>& out)
    {
        QString text;
        return string(key, text) && hex(text, QStringLiteral("the field \"%1\"").arg(QLatin1String(key)), out);
    }

    bool object(const char* key, QJsonObject& out, bool optional = false)
    {
        const QJsonValue v = m_object.value(QLatin1String(key));
        if (v.isUndefined() && optional)
            return true;
        if (!v.isObject())
            return fail(QStringLiteral("the field \"%1\" is %2")
                            .arg(QLatin1String(key),
                                 v.isUndefined() ? QStringLiteral("missing") : QStringLiteral("not an object")));
        out = v.toObject();
        return true;
    }

    bool array(const char* key, QJsonArray& out)
    {
        const QJsonValue v = m_object.value(QLatin1String(key));
        if (!v.isArray())
            return fail(QStringLiteral("the field \"%1\" is %2")
                            .arg(QLatin1String(key),
                                 v.isUndefined() ? QStringLiteral("missing") : QStringLiteral("not a list")));
        out = v.toArray();
        return true;
    }

    bool level(const char* key, AccessLevel& out)
    {
        QString text;
        if (!string(key, text))
            return false;
        for (const LevelName& l : kLevels) {
            if (text == QLatin1String(l.name)) {
                out = l.level;
                return true;
            }
        }
        return fail(QStringLiteral("the access condition \"%1\" is \"%2\", not ALW, CHV1, CHV2, ADM or NEV")
                        .arg(QLatin1String(key), text));
    }

private:
    QJsonObject m_object;
    QString m_where;
    QString& m_error;
};

bool readChv(FieldReader& root, const char* key, ChvState& chv, bool canDisable, QString& error)
{
    QJsonObject object;
    if (!root.object(key, object))
        return false;
    FieldReader r(object, QString::fromLatin1(key), error);
    QString code;
    QString unblock;
    if (!r.string("code", code) || !r.string("unblockCode", unblock) ||
        !r.integer("attemptsLeft", 0, ChvState::kMaxAttempts, chv.attemptsLeft) ||
        !r.integer("unblockAttemptsLeft", 0, ChvState::kMaxUnblockAttempts, chv.unblockAttemptsLeft))
        return false;
    chv.code = code.toStdString();
    chv.unblockCode = unblock.toStdString();
    chv.enabled = true;
    if (canDisable && !r.boolean("enabled", chv.enabled))
        return false;
    // The codes themselves never go into a message.
    if (!isValidChvCode(chv.code))
        return r.fail(QStringLiteral("the code is not 4 to 8 digits"));
    if (!isValidChvCode(chv.unblockCode))
        return r.fail(QStringLiteral("the unblock code is not 4 to 8 digits"));
    return true;
}

bool parsePath(const QString& text, std::vector<uint16_t>& out)
{
    out.clear();
    const QStringList parts = text.split(u'/');
    for (const QString& part : parts) {
        bool ok = false;
        if (part.size() != 4)
            return false;
        const uint ids = part.toUInt(&ok, 16);
        if (!ok)
            return false;
        out.push_back(static_cast<uint16_t>(ids));
    }
    return !out.empty();
}

bool readFile(const QJsonValue& value, int index, SimFile& file, QString& error)
{
    const QString where = QStringLiteral("files[%1]").arg(index);
    if (!value.isObject()) {
        error = where + QStringLiteral(": not an object");
        return false;
    }
    FieldReader first(value.toObject(), where, error);
    QString pathString;
    if (!first.string("path", pathString))
        return false;
    FieldReader r(value.toObject(), QStringLiteral("%1 (%2)").arg(where, pathString), error);
    if (!parsePath(pathString, file.path))
        return r.fail(QStringLiteral("the path is not file ids of four hex digits joined by \"/\""));
    QString idText;
    if (!r.string("id", idText))
        return false;
    if (idText.compare(QString::fromStdString(formatPath({file.id()})), Qt::CaseInsensitive) != 0)
        return r.fail(QStringLiteral("the id %1 is not the last file id of the path").arg(idText));
    QString type;
    if (!r.string("type", type))
        return false;
    if (type == QLatin1String("MF"))
        file.type = FileType::MF;
    else if (type == QLatin1String("DF"))
        file.type = FileType::DF;
    else if (type == QLatin1String("EF"))
        file.type = FileType::EF;
    else
        return r.fail(QStringLiteral("the type \"%1\" is not MF, DF or EF").arg(type));
    if (r.has("name")) {
        QString name;
        if (!r.string("name", name))
            return false;
        if (name.size() > 40)
            return r.fail(QStringLiteral("the name is longer than 40 characters"));
        file.name = name.toStdString();
    } else {
        file.name = standardFileName(file.path);
    }
    if (file.isDirectory())
        return true;

    QString structure;
    QJsonObject accessObject;
    if (!r.string("structure", structure) || !r.object("access", accessObject))
        return false;
    FieldReader access(accessObject, QStringLiteral("%1 (%2) access").arg(where, pathString), error);
    if (!access.level("read", file.access.read) || !access.level("update", file.access.update) ||
        !access.level("increase", file.access.increase) || !access.level("invalidate", file.access.invalidate) ||
        !access.level("rehabilitate", file.access.rehabilitate))
        return false;
    if (!r.boolean("invalidated", file.invalidated) ||
        !r.boolean("readableWhenInvalidated", file.readableWhenInvalidated, true))
        return false;

    if (structure == QLatin1String("transparent")) {
        file.structure = FileStructure::Transparent;
        int size = 0;
        if (!r.integer("size", 1, kMaxTransparentSize, size) || !r.hexField("data", file.data))
            return false;
        if (file.size() != size)
            return r.fail(QStringLiteral("the data is %1 bytes, the size is %2").arg(file.size()).arg(size));
        return true;
    }
    if (structure == QLatin1String("linearFixed"))
        file.structure = FileStructure::LinearFixed;
    else if (structure == QLatin1String("cyclic"))
        file.structure = FileStructure::Cyclic;
    else
        return r.fail(QStringLiteral("the structure \"%1\" is not transparent, linearFixed or cyclic").arg(structure));
    QJsonArray records;
    if (!r.integer("recordLength", 1, kMaxRecordLength, file.recordLength) || !r.array("records", records))
        return false;
    if (records.isEmpty() || records.size() > kMaxRecords)
        return r.fail(QStringLiteral("%1 records, a record file holds 1 to %2").arg(records.size()).arg(kMaxRecords));
    file.data.clear();
    for (qsizetype i = 0; i < records.size(); ++i) {
        const QString what = QStringLiteral("record %1").arg(i + 1);
        if (!records[i].isString())
            return r.fail(what + QStringLiteral(" is not a text"));
        std::vector<uint8_t> bytes;
        if (!r.hex(records[i].toString(), what, bytes))
            return false;
        if (static_cast<int>(bytes.size()) != file.recordLength)
            return r.fail(QStringLiteral("%1 is %2 bytes, the record length is %3")
                              .arg(what)
                              .arg(bytes.size())
                              .arg(file.recordLength));
        file.data.insert(file.data.end(), bytes.begin(), bytes.end());
    }
    return true;
}

QJsonObject chvObject(const ChvState& chv, bool canDisable)
{
    QJsonObject o;
    o.insert(QStringLiteral("code"), QString::fromStdString(chv.code));
    o.insert(QStringLiteral("unblockCode"), QString::fromStdString(chv.unblockCode));
    o.insert(QStringLiteral("attemptsLeft"), chv.attemptsLeft);
    o.insert(QStringLiteral("unblockAttemptsLeft"), chv.unblockAttemptsLeft);
    if (canDisable)
        o.insert(QStringLiteral("enabled"), chv.enabled);
    return o;
}

QJsonObject fileObject(const SimFile& f)
{
    QJsonObject o;
    o.insert(QStringLiteral("path"), pathText(f.path));
    o.insert(QStringLiteral("id"), pathText({f.id()}));
    o.insert(QStringLiteral("type"), typeName(f.type));
    if (!f.name.empty())
        o.insert(QStringLiteral("name"), QString::fromStdString(f.name));
    if (f.isDirectory())
        return o;
    o.insert(QStringLiteral("structure"), structureName(f.structure));
    QJsonObject access;
    access.insert(QStringLiteral("read"), levelName(f.access.read));
    access.insert(QStringLiteral("update"), levelName(f.access.update));
    access.insert(QStringLiteral("increase"), levelName(f.access.increase));
    access.insert(QStringLiteral("invalidate"), levelName(f.access.invalidate));
    access.insert(QStringLiteral("rehabilitate"), levelName(f.access.rehabilitate));
    o.insert(QStringLiteral("access"), access);
    o.insert(QStringLiteral("invalidated"), f.invalidated);
    o.insert(QStringLiteral("readableWhenInvalidated"), f.readableWhenInvalidated);
    if (f.structure == FileStructure::Transparent) {
        o.insert(QStringLiteral("size"), f.size());
        o.insert(QStringLiteral("data"), toHex(f.data.data(), f.data.size()));
        return o;
    }
    o.insert(QStringLiteral("recordLength"), f.recordLength);
    QJsonArray records;
    for (int i = 0; i < f.recordCount(); ++i)
        records.append(toHex(f.data.data() + static_cast<std::ptrdiff_t>(i) * f.recordLength,
                             static_cast<std::size_t>(f.recordLength)));
    o.insert(QStringLiteral("records"), records);
    return o;
}

} // namespace

QString CardFile::check(const SimCardData& card)
{
    if (card.kind == CardKind::TelephoneCard)
        return {};
    if (card.atr.size() < 2 || card.atr.size() > kMaxAtrLength || (card.atr[0] != 0x3B && card.atr[0] != 0x3F))
        return QStringLiteral("the answer to reset is not 2 to 33 bytes starting with 3B or 3F");
    if (card.memorySize < 0 || card.memorySize > 0xFFFF)
        return QStringLiteral("the memory size is outside 0 to 65535");
    const ChvState* chvs[] = {&card.chv1, &card.chv2};
    for (const ChvState* c : chvs) {
        const QString name = c == &card.chv1 ? QStringLiteral("chv1") : QStringLiteral("chv2");
        if (!isValidChvCode(c->code) || !isValidChvCode(c->unblockCode))
            return name + QStringLiteral(": a code is not 4 to 8 digits");
        if (c->attemptsLeft < 0 || c->attemptsLeft > ChvState::kMaxAttempts || c->unblockAttemptsLeft < 0 ||
            c->unblockAttemptsLeft > ChvState::kMaxUnblockAttempts)
            return name + QStringLiteral(": an attempt counter is out of range");
    }
    if (!card.chv2.enabled)
        return QStringLiteral("chv2: CHV2 cannot be disabled");
    if (card.files.empty() || card.files[0].path != std::vector<uint16_t>{gsm::fid::kMf} ||
        card.files[0].type != FileType::MF)
        return QStringLiteral("the first file is not the MF 3F00");

    std::set<std::vector<uint16_t>> directories;
    std::set<std::vector<uint16_t>> seen;
    for (std::size_t i = 0; i < card.files.size(); ++i) {
        const SimFile& f = card.files[i];
        const QString where = QStringLiteral("files[%1] (%2): ").arg(i).arg(pathText(f.path));
        if (!seen.insert(f.path).second)
            return where + QStringLiteral("the path appears twice");
        if (i > 0) {
            if (f.type == FileType::MF)
                return where + QStringLiteral("only 3F00 is the MF");
            if (f.path.size() < 2 || f.path.size() > kMaxPathDepth || f.path[0] != gsm::fid::kMf)
                return where + QStringLiteral("the path does not run from 3F00 through at most two DFs");
            const std::vector<uint16_t> parent(f.path.begin(), f.path.end() - 1);
            if (!directories.contains(parent))
                return where + QStringLiteral("its directory is not listed before it");
            if (f.id() == gsm::fid::kMf || f.id() == 0x3FFF || f.id() == 0xFFFF)
                return where + QStringLiteral("the file id is reserved");
            if (f.type == FileType::DF && f.path.size() == kMaxPathDepth)
                return where + QStringLiteral("a DF cannot lie this deep");
        }
        if (f.isDirectory()) {
            if (!f.data.empty())
                return where + QStringLiteral("a directory holds no data");
            directories.insert(f.path);
            continue;
        }
        if (f.structure == FileStructure::Transparent) {
            if (f.size() < 1 || f.size() > kMaxTransparentSize)
                return where + QStringLiteral("the size is outside 1 to %1").arg(kMaxTransparentSize);
        } else {
            if (f.recordLength < 1 || f.recordLength > kMaxRecordLength)
                return where + QStringLiteral("the record length is outside 1 to 255");
            if (f.data.empty() || f.data.size() % static_cast<std::size_t>(f.recordLength) != 0 ||
                f.recordCount() > kMaxRecords)
                return where + QStringLiteral("the data is not 1 to %1 whole records").arg(kMaxRecords);
        }
    }
    return checkImageFields(card);
}

CardFileResult CardFile::fromJson(const QByteArray& json)
{
    CardFileResult result;
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        result.error =
            QStringLiteral("not valid JSON at byte %1: %2").arg(parseError.offset).arg(parseError.errorString());
        return result;
    }
    if (!doc.isObject()) {
        result.error = QStringLiteral("the card is not a JSON object");
        return result;
    }
    QString& error = result.error;
    SimCardData& card = result.card;
    FieldReader r(doc.object(), QString(), error);
    QString format;
    int version = 0;
    if (!r.string("format", format))
        return result;
    if (format != kFormat) {
        r.fail(QStringLiteral("the format is \"%1\", not \"%2\"").arg(format, kFormat));
        return result;
    }
    QString kind;
    if (!r.integer("version", kVersion, kVersion, version) || !r.string("kind", kind))
        return result;
    if (kind == QLatin1String("telephone")) {
        card.kind = CardKind::TelephoneCard;
        std::vector<uint8_t> memory;
        if (!r.hexField("memory", memory))
            return result;
        if (memory.size() != card.memory.size()) {
            r.fail(QStringLiteral("the memory is %1 bytes, a telephone card has 32").arg(memory.size()));
            return result;
        }
        std::copy(memory.begin(), memory.end(), card.memory.begin());
        result.ok = true;
        return result;
    }
    if (kind != QLatin1String("sim")) {
        r.fail(QStringLiteral("the kind \"%1\" is not sim or telephone").arg(kind));
        return result;
    }
    card.kind = CardKind::Sim;
    std::vector<uint8_t> ki;
    if (!r.hexField("atr", card.atr) || !r.hexField("ki", ki) ||
        !r.integer("memorySize", 0, 0xFFFF, card.memorySize, true))
        return result;
    if (ki.size() != card.ki.size()) {
        r.fail(QStringLiteral("the field \"ki\" is %1 bytes, not 16").arg(ki.size()));
        return result;
    }
    std::copy(ki.begin(), ki.end(), card.ki.begin());
    QJsonObject options;
    if (!r.object("options", options, true))
        return result;
    FieldReader o(options, QStringLiteral("options"), error);
    if (!o.boolean("authenticationExhausted", card.options.authenticationExhausted, true) ||
        !readFaultOptions(options, card.options.faults, error))
        return result;
    if (!readChv(r, "chv1", card.chv1, true, error) || !readChv(r, "chv2", card.chv2, false, error))
        return result;
    QJsonArray files;
    if (!r.array("files", files))
        return result;
    for (qsizetype i = 0; i < files.size(); ++i) {
        SimFile file;
        if (!readFile(files[i], static_cast<int>(i), file, error))
            return result;
        card.files.push_back(std::move(file));
    }
    if (!readImageFields(doc.object(), card, error))
        return result;
    error = check(card);
    result.ok = error.isEmpty();
    return result;
}

CardFileResult CardFile::load(const QString& path)
{
    CardFileResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return result;
    }
    if (file.size() > kMaxFileSize) {
        result.error = QStringLiteral("%1: the file is too large for a card file").arg(path);
        return result;
    }
    result = fromJson(file.readAll());
    if (!result.ok)
        result.error = QStringLiteral("%1: %2").arg(path, result.error);
    return result;
}

QByteArray CardFile::toJson(const SimCardData& card)
{
    QJsonObject root;
    root.insert(QStringLiteral("format"), kFormat);
    root.insert(QStringLiteral("version"), kVersion);
    if (card.kind == CardKind::TelephoneCard) {
        root.insert(QStringLiteral("kind"), QStringLiteral("telephone"));
        root.insert(QStringLiteral("memory"), toHex(card.memory.data(), card.memory.size()));
        return QJsonDocument(root).toJson(QJsonDocument::Indented);
    }
    root.insert(QStringLiteral("kind"), QStringLiteral("sim"));
    root.insert(QStringLiteral("atr"), toHex(card.atr.data(), card.atr.size()));
    root.insert(QStringLiteral("ki"), toHex(card.ki.data(), card.ki.size()));
    root.insert(QStringLiteral("memorySize"), card.memorySize);
    QJsonObject options;
    options.insert(QStringLiteral("authenticationExhausted"), card.options.authenticationExhausted);
    writeFaultOptions(card.options.faults, options);
    root.insert(QStringLiteral("options"), options);
    root.insert(QStringLiteral("chv1"), chvObject(card.chv1, true));
    root.insert(QStringLiteral("chv2"), chvObject(card.chv2, false));
    QJsonArray files;
    for (const SimFile& f : card.files)
        files.append(fileObject(f));
    writeImageFields(card, root, files);
    root.insert(QStringLiteral("files"), files);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool CardFile::save(const SimCardData& card, const QString& path, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray json = toJson(card);
    // An uncommitted QSaveFile is discarded, leaving the old card file as it was.
    if (file.write(json) != json.size() || !file.commit()) {
        error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace kestrel::emulator
