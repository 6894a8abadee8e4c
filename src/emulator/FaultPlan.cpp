#include "emulator/FaultPlan.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

#include <QJsonObject>
#include <QJsonValue>

namespace kestrel::emulator {

namespace {

// The command-number fields of the card file, the serve flag of each, and where they go.
struct CommandField
{
    const char* key;
    const char* flag;
    int FaultPlan::*field;
};
constexpr CommandField kCommandFields[] = {
    {"pullAtCommand", "--pull-at", &FaultPlan::pullAtCommand},
    {"wrongStatusAtCommand", "--status-at", &FaultPlan::wrongStatusAtCommand},
    {"garbageAtCommand", "--garbage-at", &FaultPlan::garbageAtCommand},
    {"nullsFromCommand", "--nulls-from", &FaultPlan::nullsFromCommand},
};
constexpr const char* kStatusKey = "wrongStatus";

// A command number: a whole number from 1 on.
bool commandNumber(double d, int& out)
{
    if (!std::isfinite(d) || std::floor(d) != d || d < 1 || d > std::numeric_limits<int>::max())
        return false;
    out = static_cast<int>(d);
    return true;
}

// Four hex digits, SW1 SW2.
bool statusWord(const QString& text, uint16_t& out)
{
    if (text.size() != 4 ||
        !std::all_of(text.begin(), text.end(), [](QChar c) { return isxdigit(c.unicode()) && c.unicode() < 128; }))
        return false;
    bool ok = false;
    const uint sw = text.toUInt(&ok, 16);
    if (!ok)
        return false;
    out = static_cast<uint16_t>(sw);
    return true;
}

} // namespace

bool readFaultOptions(const QJsonObject& options, FaultPlan& plan, QString& error)
{
    for (const CommandField& f : kCommandFields) {
        const QJsonValue v = options.value(QLatin1String(f.key));
        if (v.isUndefined())
            continue;
        if (!v.isDouble() || !commandNumber(v.toDouble(), plan.*f.field)) {
            error = QStringLiteral("options: the field \"%1\" is not a command number (1 or more)")
                        .arg(QLatin1String(f.key));
            return false;
        }
    }
    const QJsonValue sw = options.value(QLatin1String(kStatusKey));
    if (!sw.isUndefined() && !(sw.isString() && statusWord(sw.toString(), plan.wrongStatus))) {
        error = QStringLiteral("options: the field \"%1\" is not a status word of 4 hex digits")
                    .arg(QLatin1String(kStatusKey));
        return false;
    }
    return true;
}

void writeFaultOptions(const FaultPlan& plan, QJsonObject& options)
{
    for (const CommandField& f : kCommandFields) {
        if (plan.*f.field > 0)
            options.insert(QLatin1String(f.key), plan.*f.field);
    }
    if (plan.wrongStatusAtCommand > 0)
        options.insert(QLatin1String(kStatusKey),
                       QStringLiteral("%1").arg(plan.wrongStatus, 4, 16, QLatin1Char('0')).toUpper());
}

bool isFaultFlag(const QString& flag)
{
    for (const CommandField& f : kCommandFields) {
        if (flag == QLatin1String(f.flag))
            return true;
    }
    return false;
}

bool applyFaultFlag(const QString& flag, const QString& value, FaultPlan& plan, QString& error)
{
    error.clear();
    for (const CommandField& f : kCommandFields) {
        if (flag != QLatin1String(f.flag))
            continue;
        // --status-at N:SW; the status word may be left out (6F00, technical problem).
        const bool takesStatus = f.field == &FaultPlan::wrongStatusAtCommand;
        const qsizetype colon = takesStatus ? value.indexOf(u':') : -1;
        bool ok = false;
        const double n = (colon < 0 ? value : value.left(colon)).toDouble(&ok);
        int command = 0;
        if (!ok || !commandNumber(n, command)) {
            error = QStringLiteral("%1 needs a command number (1 or more), not \"%2\"").arg(flag, value);
            return false;
        }
        uint16_t sw = plan.wrongStatus;
        if (colon >= 0 && !statusWord(value.mid(colon + 1), sw)) {
            error = QStringLiteral("%1 takes N:SW with SW as 4 hex digits, not \"%2\"").arg(flag, value);
            return false;
        }
        plan.*f.field = command;
        if (takesStatus)
            plan.wrongStatus = sw;
        return true;
    }
    return false;
}

} // namespace kestrel::emulator
