#include "base/Result.h"

#include "base/StringTable.h"

namespace kestrel {

QString Result::text() const
{
    QString message = StringTable::text(m_messageId);
    if (!m_detail.isEmpty())
        message += (message.isEmpty() ? QString() : QStringLiteral("\n")) + m_detail;
    return message;
}

} // namespace kestrel
