#include "cli/CliArgs.h"

#include "base/StringTable.h"

namespace kestrel::cli {

bool CliArgs::parse(const QStringList& words, const QStringList& flags)
{
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& w = words[i];
        if (!w.startsWith(QLatin1String("--")) || w == QLatin1String("--")) {
            m_positional.append(w);
            continue;
        }
        const QString name = w.mid(2);
        if (m_options.contains(name) || m_flags.contains(name)) {
            m_error = StringTable::text(sid::OptionGivenTwice_10040).arg(name);
            return false;
        }
        if (flags.contains(name)) {
            m_flags.append(name);
            continue;
        }
        if (i + 1 >= words.size()) {
            m_error = StringTable::text(sid::OptionNeedsAValue_10041).arg(name);
            return false;
        }
        m_options.insert(name, words[++i]);
        m_order.append(name);
    }
    return true;
}

std::optional<QString> CliArgs::value(const QString& name) const
{
    const auto it = m_options.constFind(name);
    if (it == m_options.constEnd())
        return std::nullopt;
    return *it;
}

QStringList CliArgs::unknown(const QStringList& known) const
{
    QStringList out;
    for (const QString& name : m_options.keys() + m_flags) {
        if (!known.contains(name))
            out.append(name);
    }
    return out;
}

} // namespace kestrel::cli
