#include "app/UserGuide.h"

namespace kestrel::UserGuide {

QString pageFor(std::optional<EditorKind> active)
{
    if (!active)
        return QString::fromLatin1(kContents);
    switch (*active) {
    case EditorKind::PhoneBook:
    case EditorKind::Fdn:
        return QStringLiteral("phonebook.html");
    case EditorKind::Sms:
        return QStringLiteral("sms.html");
    }
    return QString::fromLatin1(kContents);
}

} // namespace kestrel::UserGuide
