#include "emulator/CardFileImage.h"

#include <QByteArray>

namespace kestrel::emulator {

namespace {

// A SELECT response is at most a few dozen bytes (GET RESPONSE takes what the card offers).
constexpr std::size_t kMaxResponseLength = 64;
constexpr qsizetype kMaxTimeLength = 40;
constexpr qsizetype kMaxIccidLength = 20;
constexpr qsizetype kMaxNoteLength = 2000;

bool isHexDigits(const QString& text)
{
    for (QChar c : text) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
            return false;
    }
    return true;
}

bool isHexText(const QString& text)
{
    return text.size() % 2 == 0 && isHexDigits(text);
}

// An ICCID as EF_ICCID gives it: BCD digits, and on some cards hex digits A-E in nibbles that are
// no decimal digit.
bool isIccidText(const QString& text)
{
    return isHexDigits(text);
}

// The text field key of object, at most max characters; false with error otherwise.
bool textField(const QJsonObject& object, const char* key, qsizetype max, std::string& out, QString& error)
{
    const QJsonValue v = object.value(QLatin1String(key));
    if (!v.isString() || v.toString().size() > max) {
        error = QStringLiteral("image: the field \"%1\" is not a text of at most %2 characters")
                    .arg(QLatin1String(key))
                    .arg(max);
        return false;
    }
    out = v.toString().toStdString();
    return true;
}

} // namespace

bool readImageFields(const QJsonObject& root, SimCardData& card, QString& error)
{
    const QJsonValue image = root.value(QLatin1String("image"));
    if (!image.isUndefined()) {
        if (!image.isObject()) {
            error = QStringLiteral("the field \"image\" is not an object");
            return false;
        }
        const QJsonObject o = image.toObject();
        CardImageInfo info;
        if (!textField(o, "madeAt", kMaxTimeLength, info.madeAt, error) ||
            !textField(o, "iccid", kMaxIccidLength, info.iccid, error) ||
            !textField(o, "note", kMaxNoteLength, info.note, error))
            return false;
        if (!isIccidText(QString::fromStdString(info.iccid))) {
            error = QStringLiteral("image: the ICCID is not hex digits");
            return false;
        }
        card.image = std::move(info);
    }
    const QJsonArray files = root.value(QLatin1String("files")).toArray();
    for (qsizetype i = 0; i < files.size() && i < static_cast<qsizetype>(card.files.size()); ++i) {
        const QJsonValue v = files[i].toObject().value(QLatin1String("response"));
        if (v.isUndefined())
            continue;
        SimFile& file = card.files[static_cast<std::size_t>(i)];
        const QString text = v.toString();
        if (!v.isString() || !isHexText(text) || text.isEmpty() ||
            static_cast<std::size_t>(text.size() / 2) > kMaxResponseLength || file.isDirectory()) {
            error = QStringLiteral("files[%1]: the response is not 1 to %2 bytes in hex on an EF")
                        .arg(i)
                        .arg(kMaxResponseLength);
            return false;
        }
        const QByteArray bytes = QByteArray::fromHex(text.toLatin1());
        file.response.assign(bytes.begin(), bytes.end());
    }
    return true;
}

void writeImageFields(const SimCardData& card, QJsonObject& root, QJsonArray& files)
{
    if (card.image) {
        root.insert(QStringLiteral("image"),
                    QJsonObject{{QStringLiteral("madeAt"), QString::fromStdString(card.image->madeAt)},
                                {QStringLiteral("iccid"), QString::fromStdString(card.image->iccid)},
                                {QStringLiteral("note"), QString::fromStdString(card.image->note)}});
    }
    for (qsizetype i = 0; i < files.size() && i < static_cast<qsizetype>(card.files.size()); ++i) {
        const SimFile& file = card.files[static_cast<std::size_t>(i)];
        if (file.response.empty())
            continue;
        QJsonObject o = files[i].toObject();
        o.insert(QStringLiteral("response"),
                 QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(file.response.data()),
                                                static_cast<qsizetype>(file.response.size()))
                                         .toHex()
                                         .toUpper()));
        files[i] = o;
    }
}

QString checkImageFields(const SimCardData& card)
{
    for (std::size_t i = 0; i < card.files.size(); ++i) {
        const SimFile& f = card.files[i];
        if (f.response.size() > kMaxResponseLength || (f.isDirectory() && !f.response.empty()))
            return QStringLiteral("files[%1]: the response is longer than %2 bytes or on a directory")
                .arg(i)
                .arg(kMaxResponseLength);
    }
    if (card.image && (card.image->iccid.size() > static_cast<std::size_t>(kMaxIccidLength) ||
                       !isIccidText(QString::fromStdString(card.image->iccid)) ||
                       card.image->note.size() > static_cast<std::size_t>(kMaxNoteLength) * 4 ||
                       card.image->madeAt.size() > static_cast<std::size_t>(kMaxTimeLength)))
        return QStringLiteral("image: a field is longer than it may be");
    return {};
}

} // namespace kestrel::emulator
