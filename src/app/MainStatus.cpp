#include "app/MainStatus.h"

#include <vector>

#include "base/StringTable.h"
#include "sim/CheckAndRepair.h"
#include "sim/SimCard.h"

namespace kestrel {

namespace {

// Failures of the reader itself: nothing is known of a card.
bool readerFailure(CardStatus s)
{
    switch (s) {
    case CardStatus::DriverNotInstalled:
    case CardStatus::CannotAccessDriver:
    case CardStatus::GeneralReaderError:
    case CardStatus::PortNotSet:
    case CardStatus::ReaderNotConnected:
    case CardStatus::InvalidReaderIdentification:
    case CardStatus::PortOperationError:
    case CardStatus::ReaderInaccessible:
    case CardStatus::ReaderLibraryError:
        return true;
    default:
        return false;
    }
}

} // namespace

MainStatus::MainStatus(DeviceSource device) : m_device(std::move(device)) {}

void MainStatus::changed()
{
    if (m_onChange)
        m_onChange();
}

void MainStatus::operationStarted(int captionId)
{
    // A nested operation (a step of a larger one) is told as part of the outer one.
    if (m_depth++ == 0)
        m_runningCaption = captionId;
    changed();
}

void MainStatus::operationFinished(const CardOperationReport& report)
{
    if (m_depth > 0)
        --m_depth;
    if (report.identified) {
        m_card = Card::Present;
        m_known = true;
        m_iccid = report.iccid;
        m_phase = report.phase;
        m_flags = report.cardFlags;
        m_chv1TriesLeft = report.chv1TriesLeft;
    } else if (report.status == CardStatus::CardNotInserted || report.status == CardStatus::MemoryCardNotInserted) {
        m_card = Card::Absent;
        m_known = false;
    } else if (readerFailure(report.status)) {
        m_card = Card::NotRead;
        m_known = false;
    } else if (report.status == CardStatus::WrongPin || report.status == CardStatus::NoValidPin) {
        // The counter has moved: the number seen at the opening no longer holds.
        m_chv1TriesLeft = -1;
        m_flags &= ~CardFlag::kChv1Verified;
    }
    if (m_depth == 0) {
        m_last = report;
        m_anyOperation = true;
    }
    changed();
}

QString MainStatus::operationName(int captionId)
{
    const QString caption = StringTable::text(captionId);
    const QString separator = QStringLiteral(" - ");
    const qsizetype at = caption.indexOf(separator);
    return at < 0 ? caption : caption.mid(at + separator.size());
}

QString MainStatus::resultText() const
{
    if (CardOperation::isUserCancel(m_last.status))
        return StringTable::text(sid::OperationCancelledByUser_146); // "Operation cancelled by user"
    QString text = cardStatusMessage(m_last.status).trimmed();
    if (!m_last.detail.isEmpty())
        text += QLatin1Char(' ') + m_last.detail;
    return text;
}

MainStatus::Lines MainStatus::lines() const
{
    Lines out;
    const QString device = m_device ? m_device() : QString();
    out.reader = device.isEmpty() || device == QLatin1String("NOTHING")
                     ? StringTable::text(sid::ReaderNoneChooseOneIn_9821)
                     : StringTable::text(sid::Reader_9820).arg(device);
    switch (m_card) {
    case Card::NotRead:
        out.card = StringTable::text(sid::CardNotReadYet_9822);
        break;
    case Card::Present:
        out.card = StringTable::text(sid::CardInTheReader_9823);
        break;
    case Card::Absent:
        out.card = StringTable::text(sid::CardNoCardInThe_9824);
        break;
    }
    if (m_known) {
        std::vector<uint8_t> identity{static_cast<uint8_t>(m_iccid.size())};
        identity.insert(identity.end(), m_iccid.begin(), m_iccid.end());
        out.iccid = StringTable::text(sid::Iccid_9825).arg(CheckAndRepair::serialNumber(identity));
        out.phase = StringTable::text(sid::SimPhase_9826).arg(SimCard::phaseText(m_phase));
        out.pin1 = pin1Text();
    }
    out.last = m_anyOperation ? StringTable::text(sid::LastOperation_9833).arg(outcome())
                              : StringTable::text(sid::LastOperationNoneYet_9834);
    return out;
}

QString MainStatus::pin1Text() const
{
    if (m_flags & CardFlag::kChv1Blocked)
        return StringTable::text(sid::Pin1BlockedUnblockCardIn_9831);
    if (!(m_flags & CardFlag::kChv1Enabled))
        return StringTable::text(sid::Pin1Off_9830);
    if (m_flags & CardFlag::kChv1Verified)
        return StringTable::text(sid::Pin1OnEntered_9829);
    if (m_chv1TriesLeft == 1)
        return StringTable::text(sid::Pin1OnOneTryLeft_9828);
    if (m_chv1TriesLeft >= 0)
        return StringTable::text(sid::Pin1OnTriesLeft_9827).arg(m_chv1TriesLeft);
    return StringTable::text(sid::Pin1On_9832);
}

QString MainStatus::outcome() const
{
    return StringTable::text(sid::Text_9835).arg(operationName(m_last.captionId), resultText());
}

QString MainStatus::statusLine() const
{
    if (busy())
        return StringTable::text(sid::Text_9836).arg(operationName(m_runningCaption));
    if (!m_anyOperation)
        return StringTable::text(sid::Ready_9837);
    // A cancel says only that (string sid::OperationCancelledByUser_146), as the error box it replaces would have.
    return CardOperation::isUserCancel(m_last.status) ? resultText() : outcome();
}

} // namespace kestrel
