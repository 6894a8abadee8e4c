#pragma once

#include <optional>

#include <QMap>
#include <QString>
#include <QStringList>

namespace kestrel::cli {

// Command-line words split into positional arguments and "--name value" options. Options that
// take no value are declared as flags.
class CliArgs
{
public:
    // Returns false (with a message in error()) for an option without its value or one that
    // appears twice.
    bool parse(const QStringList& words, const QStringList& flags = {});

    const QStringList& positional() const { return m_positional; }
    bool has(const QString& name) const { return m_options.contains(name) || m_flags.contains(name); }
    std::optional<QString> value(const QString& name) const;
    // The names of the options with a value, in the order they were given.
    const QStringList& optionOrder() const { return m_order; }
    // Options given that are not in `known` (flags included); empty when all are known.
    QStringList unknown(const QStringList& known) const;
    const QString& error() const { return m_error; }

private:
    QStringList m_positional;
    QMap<QString, QString> m_options;
    QStringList m_order;
    QStringList m_flags;
    QString m_error;
};

} // namespace kestrel::cli
