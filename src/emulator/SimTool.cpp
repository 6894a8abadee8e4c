#include "emulator/SimTool.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <functional>
#include <memory>
#include <span>

#include <fcntl.h>
#include <unistd.h>

#include <QFileInfo>

#include "base/StringTable.h"
#include "emulator/CardFile.h"
#include "emulator/FaultyIcc.h"
#include "emulator/SimCardModel.h"
#include "emulator/StandardCard.h"
#include "emulator/VpcdFace.h"
#include "gsm/Responses.h"

namespace kestrel::emulator {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

QString spacedHex(std::span<const uint8_t> bytes)
{
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()))
            .toHex(' ')
            .toUpper());
}

QString levelText(AccessLevel level)
{
    switch (level) {
    case AccessLevel::Always:
        return QStringLiteral("ALW");
    case AccessLevel::Chv1:
        return QStringLiteral("CHV1");
    case AccessLevel::Chv2:
        return QStringLiteral("CHV2");
    case AccessLevel::Adm:
        return QStringLiteral("ADM");
    case AccessLevel::Never:
        break;
    }
    return QStringLiteral("NEV");
}

// A record that holds nothing: all 0xFF, all 0x00 (an unused meter), or a free EF_SMS record
// (status byte 00, the rest 0xFF).
bool isUnusedRecord(std::span<const uint8_t> r)
{
    const auto all = [&r](std::size_t from, uint8_t value) {
        return std::all_of(r.begin() + static_cast<std::ptrdiff_t>(from), r.end(),
                           [value](uint8_t b) { return b == value; });
    };
    return all(0, 0xFF) || all(0, 0x00) || (r[0] == 0x00 && all(1, 0xFF));
}

QString chvText(const char* name, const ChvState& chv, bool canDisable)
{
    QString s = QStringLiteral("%1: %2 of %3 attempts left, unblock %4 of %5")
                    .arg(QLatin1String(name))
                    .arg(chv.attemptsLeft)
                    .arg(ChvState::kMaxAttempts)
                    .arg(chv.unblockAttemptsLeft)
                    .arg(ChvState::kMaxUnblockAttempts);
    if (canDisable)
        s += chv.enabled ? QStringLiteral(", enabled") : QStringLiteral(", disabled");
    if (chv.attemptsLeft == 0)
        s += QStringLiteral(", blocked");
    if (chv.unblockAttemptsLeft == 0)
        s += QStringLiteral(", unblock code blocked");
    return s + u'\n';
}

// The files directly under directory, as its SELECT response counts them.
QString childCounts(const SimCardData& card, const SimFile& directory)
{
    int dfs = 0;
    int efs = 0;
    for (const SimFile& f : card.files) {
        if (f.path.size() == directory.path.size() + 1 &&
            std::equal(directory.path.begin(), directory.path.end(), f.path.begin()))
            ++(f.isDirectory() ? dfs : efs);
    }
    return QStringLiteral("%1 DFs, %2 EFs").arg(dfs).arg(efs);
}

// A file's line says what its SELECT response says: id, name, type (and for an MF/DF the files
// under it), structure, size, record length and count, the access conditions and the status byte
// (bit 1 set: not invalidated; bit 3: readable and updatable when invalidated).
QString fileText(const SimCardData& card, const SimFile& f)
{
    const QString indent(static_cast<qsizetype>(2 * (f.path.size() - 1)), u' ');
    const QString name = QString::fromStdString(f.name.empty() ? standardFileName(f.path) : f.name);
    QString line = indent + QString::fromStdString(formatPath({f.id()}));
    if (!name.isEmpty())
        line += u' ' + name;
    if (f.isDirectory())
        return line + QStringLiteral("  (") + QString::fromStdString(formatPath(f.path)) + QStringLiteral("); ") +
               (f.type == FileType::MF ? QStringLiteral("MF, ") : QStringLiteral("DF, ")) + childCounts(card, f) +
               u'\n';

    const QString access = QStringLiteral("read %1, update %2, increase %3, invalidate %4, rehabilitate %5")
                               .arg(levelText(f.access.read), levelText(f.access.update), levelText(f.access.increase),
                                    levelText(f.access.invalidate), levelText(f.access.rehabilitate));
    QString status = f.invalidated ? QStringLiteral("invalidated") : QStringLiteral("valid");
    if (f.readableWhenInvalidated)
        status += QStringLiteral(", readable when invalidated");
    const int statusByte = (f.invalidated ? 0 : gsm::response::kNotInvalidatedBit) |
                           (f.readableWhenInvalidated ? gsm::response::kReadableWhenInvalidatedBit : 0);
    status += QStringLiteral(" (status %1); EF").arg(QString::number(statusByte, 16).rightJustified(2, u'0').toUpper());
    // Record files give their size here; a transparent file's size is its first field.
    if (f.structure != FileStructure::Transparent)
        status += QStringLiteral(", %1 bytes").arg(f.size());
    const QString dataIndent = indent + QStringLiteral("    ");
    if (f.structure == FileStructure::Transparent) {
        line += QStringLiteral("  transparent, %1 bytes; %2; %3\n").arg(f.size()).arg(access, status);
        return line + dataIndent + spacedHex(f.data) + u'\n';
    }
    QString body;
    int used = 0;
    for (int r = 1; r <= f.recordCount(); ++r) {
        const auto bytes = std::span<const uint8_t>(f.data).subspan(static_cast<std::size_t>((r - 1) * f.recordLength),
                                                                    static_cast<std::size_t>(f.recordLength));
        if (isUnusedRecord(bytes))
            continue;
        ++used;
        body += dataIndent + QStringLiteral("#%1 ").arg(r, 3) + spacedHex(bytes) + u'\n';
    }
    line += QStringLiteral("  %1, %2 records of %3 bytes, %4 used; %5; %6\n")
                .arg(f.structure == FileStructure::Cyclic ? QStringLiteral("cyclic") : QStringLiteral("linear fixed"))
                .arg(f.recordCount())
                .arg(f.recordLength)
                .arg(used)
                .arg(access, status);
    return line + body;
}

struct Options
{
    QStringList positional;
    QStringList flags;
};

Options splitArguments(const QStringList& arguments)
{
    Options o;
    for (const QString& a : arguments)
        (a.startsWith(QStringLiteral("--")) ? o.flags : o.positional).append(a);
    return o;
}

int usage(QTextStream& err, const QString& problem)
{
    using Shape = StandardCard::Shape;
    err << "kestrel-sim: " << problem << '\n'
        << StringTable::text(sid::UsageKestrelSimNewCard_10200)
               .arg(Shape::kMaxRecords)
               .arg(Shape{}.adnRecords)
               .arg(Shape{}.smsRecords)
               .arg(Shape::kMaxNameLength)
               .arg(Shape{}.nameLength)
               .arg(VpcdFace::kDefaultPort);
    return kExitUsage;
}

// The options of `new`: switches, and numbers each with its range and the shape field it sets.
struct NewOptions
{
    StandardCard::Shape shape;
    bool shaped = false; // a SIM option was given
    bool telephone = false;
    bool force = false;
    QString path;
};

bool parseNewOptions(const QStringList& arguments, NewOptions& o, QString& problem)
{
    using Shape = StandardCard::Shape;
    struct Number
    {
        const char* flag;
        int min;
        int max;
        int Shape::*field;
    };
    static const Number kNumbers[] = {
        {"--adn", 1, Shape::kMaxRecords, &Shape::adnRecords},
        {"--sms", 1, Shape::kMaxRecords, &Shape::smsRecords},
        {"--name-length", 0, Shape::kMaxNameLength, &Shape::nameLength},
    };
    struct Switch
    {
        const char* flag;
        bool* value;
        bool shapes;
    };
    const Switch switches[] = {
        {"--blank", &o.shape.blank, true},
        {"--pin1-disabled", &o.shape.pin1Disabled, true},
        {"--modern", &o.shape.modernRecords, true},
        {"--telephone-card", &o.telephone, false},
        {"--force", &o.force, false},
    };
    QStringList positional;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (!a.startsWith(QStringLiteral("--"))) {
            positional.append(a);
            continue;
        }
        const auto sw = std::find_if(std::begin(switches), std::end(switches),
                                     [&a](const Switch& s) { return a == QLatin1String(s.flag); });
        if (sw != std::end(switches)) {
            *sw->value = true;
            o.shaped = o.shaped || sw->shapes;
            continue;
        }
        const auto number = std::find_if(std::begin(kNumbers), std::end(kNumbers),
                                         [&a](const Number& n) { return a == QLatin1String(n.flag); });
        if (number == std::end(kNumbers)) {
            problem = StringTable::text(sid::UnknownOption_10201).arg(a);
            return false;
        }
        bool ok = false;
        const int value = i + 1 < arguments.size() ? arguments[i + 1].toInt(&ok, 10) : 0;
        if (!ok || value < number->min || value > number->max) {
            problem = StringTable::text(sid::NeedsANumberFromTo_10202).arg(a).arg(number->min).arg(number->max);
            return false;
        }
        ++i;
        o.shape.*number->field = value;
        o.shaped = true;
    }
    if (positional.size() != 1) {
        problem = StringTable::text(sid::NewNeedsExactlyOneCard_10203);
        return false;
    }
    if (o.telephone && o.shaped) {
        problem = StringTable::text(sid::TelephoneCardTakesNoneOf_10204);
        return false;
    }
    o.path = positional.front();
    return true;
}

int newCard(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    NewOptions o;
    QString problem;
    if (!parseNewOptions(arguments, o, problem))
        return usage(err, problem);
    if (QFileInfo::exists(o.path) && !o.force) {
        err << "kestrel-sim: " << StringTable::text(sid::ExistsUseForceToOverwrite_10205).arg(o.path) << '\n';
        return kExitFailure;
    }
    const SimCardData card = o.telephone ? StandardCard::telephoneCard() : StandardCard::simCard(o.shape);
    QString error;
    if (!CardFile::save(card, o.path, error)) {
        err << "kestrel-sim: " << error << '\n';
        return kExitFailure;
    }
    out << StringTable::text(o.telephone ? sid::WroteATelephoneCardTo_10206 : sid::WroteASimCardTo_10207).arg(o.path)
        << '\n';
    return kExitOk;
}

int showCard(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const Options o = splitArguments(arguments);
    if (!o.flags.isEmpty())
        return usage(err, StringTable::text(sid::UnknownOption_10201).arg(o.flags.front()));
    if (o.positional.size() != 1)
        return usage(err, StringTable::text(sid::ShowNeedsExactlyOneCard_10208));
    const CardFileResult loaded = CardFile::load(o.positional.front());
    if (!loaded.ok) {
        err << "kestrel-sim: " << loaded.error << '\n';
        return kExitFailure;
    }
    out << "Card file: " << o.positional.front() << '\n' << describeCard(loaded.card);
    return kExitOk;
}

// SIGTERM and SIGINT end `serve` through a pipe its poll() watches, so the card file is never
// left half written and the connection is closed in order.
int g_stopPipe[2] = {-1, -1};

extern "C" void onStopSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_stopPipe[1], &byte, 1);
    errno = saved;
}

class StopSignals
{
public:
    StopSignals()
    {
        if (::pipe2(g_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
            return;
        struct sigaction action
        {
        };
        action.sa_handler = onStopSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGTERM, &action, &m_oldTerm);
        sigaction(SIGINT, &action, &m_oldInt);
        m_installed = true;
    }
    ~StopSignals()
    {
        if (!m_installed)
            return;
        sigaction(SIGTERM, &m_oldTerm, nullptr);
        sigaction(SIGINT, &m_oldInt, nullptr);
        ::close(g_stopPipe[0]);
        ::close(g_stopPipe[1]);
        g_stopPipe[0] = g_stopPipe[1] = -1;
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    int fd() const { return m_installed ? g_stopPipe[0] : -1; }

private:
    bool m_installed = false;
    struct sigaction m_oldTerm
    {
    };
    struct sigaction m_oldInt
    {
    };
};

constexpr int kConnectTimeoutMs = 5000;

int serveCard(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QString cardPath;
    QString address;
    bool vpcd = false;
    QList<std::pair<QString, QString>> faultFlags; // applied over the card file's own faults
    QString error;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        const bool hasValue = i + 1 < arguments.size() && !arguments[i + 1].startsWith(QStringLiteral("--"));
        if (isFaultFlag(a)) {
            const QString value = hasValue ? arguments[++i] : QString();
            FaultPlan check;
            if (!applyFaultFlag(a, value, check, error))
                return usage(err, error);
            faultFlags.append({a, value});
        } else if (a == QLatin1String("--card")) {
            if (!hasValue)
                return usage(err, StringTable::text(sid::CardNeedsACardFile_10210));
            cardPath = arguments[++i];
        } else if (a == QLatin1String("--vpcd")) {
            vpcd = true;
            if (hasValue)
                address = arguments[++i];
        } else {
            return usage(err, StringTable::text(sid::UnknownArgument_10211).arg(a));
        }
    }
    if (cardPath.isEmpty())
        return usage(err, StringTable::text(sid::ServeNeedsCardCardFile_10212));
    if (!vpcd)
        return usage(err, StringTable::text(sid::ServeNeedsVpcdTheFace_10213));
    QString host;
    uint16_t port = 0;
    if (!VpcdFace::parseAddress(address, host, port, error))
        return usage(err, error);

    std::unique_ptr<SimCardModel> card = SimCardModel::fromFile(cardPath, error);
    if (!card) {
        err << "kestrel-sim: " << error << '\n';
        return kExitFailure;
    }
    // The flags' faults go over the card file's, for this run only (the file keeps its own).
    FaultPlan plan = card->data().options.faults;
    for (const auto& [flag, value] : faultFlags)
        applyFaultFlag(flag, value, plan, error);
    SimCardModel& model = *card;
    const std::unique_ptr<Icc> served = FaultyIcc::withFaults(std::move(card), plan);
    VpcdFace face(*served);
    // Every change is saved by the card itself; a save that fails is said once per new reason.
    QString lastSaveError;
    face.setCommandHook([&] {
        if (model.lastSaveError() != lastSaveError) {
            lastSaveError = model.lastSaveError();
            if (!lastSaveError.isEmpty()) {
                err << "kestrel-sim: " << StringTable::text(sid::CannotSaveTheCard_10214).arg(lastSaveError) << '\n';
                err.flush();
            }
        }
    });

    StopSignals stopSignals;
    if (!face.connectTo(host, port, kConnectTimeoutMs, error)) {
        err << "kestrel-sim: "
            << StringTable::text(sid::CannotReachVpcdAt_10215).arg(host, QString::number(port), error) << '\n';
        return kExitFailure;
    }
    out << StringTable::text(sid::ServingToVpcdAt_10216).arg(cardPath, host, QString::number(port)) << '\n';
    out.flush();

    switch (face.serve(stopSignals.fd(), error)) {
    case VpcdFace::End::PeerClosed:
        out << StringTable::text(sid::VpcdClosedTheConnectionThe_10217).arg(face.commandCount()) << '\n';
        return kExitOk;
    case VpcdFace::End::Stopped:
        out << StringTable::text(sid::StoppedTheCardIsOut_10218).arg(face.commandCount()) << '\n';
        return kExitOk;
    case VpcdFace::End::Failed:
        break;
    }
    err << "kestrel-sim: " << StringTable::text(sid::ConnectionToVpcdFailed_10219).arg(error) << '\n';
    return kExitFailure;
}

struct Mode
{
    const char* name;
    std::function<int(const QStringList&, QTextStream&, QTextStream&)> run;
};

} // namespace

QString describeCard(const SimCardData& card)
{
    QString s;
    if (card.kind == CardKind::TelephoneCard) {
        s += QStringLiteral("Kind: telephone card (memory card, 32 bytes)\n");
        for (std::size_t row = 0; row < card.memory.size(); row += 8)
            s += QStringLiteral("%1  ").arg(row, 4, 16, QLatin1Char('0')) +
                 spacedHex(std::span<const uint8_t>(card.memory).subspan(row, 8)) + u'\n';
        return s;
    }
    s += QStringLiteral("Kind: SIM\nAnswer to reset: ") + spacedHex(card.atr) + u'\n';
    s += chvText("CHV1", card.chv1, true);
    s += chvText("CHV2", card.chv2, false);
    s += QStringLiteral("Authentication counter exhausted: %1\n")
             .arg(card.options.authenticationExhausted ? QStringLiteral("yes") : QStringLiteral("no"));
    s += QStringLiteral("Memory: %1 bytes\n").arg(card.memorySize);
    for (const SimFile& f : card.files)
        s += fileText(card, f);
    return s;
}

int runSimTool(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    static const Mode kModes[] = {
        {"new", newCard},
        {"show", showCard},
        {"serve", serveCard},
    };
    if (arguments.isEmpty())
        return usage(err, StringTable::text(sid::NoCommandGiven_10220));
    for (const Mode& m : kModes) {
        if (arguments.front() == QLatin1String(m.name))
            return m.run(arguments.mid(1), out, err);
    }
    return usage(err, StringTable::text(sid::UnknownCommand_10221).arg(arguments.front()));
}

} // namespace kestrel::emulator
