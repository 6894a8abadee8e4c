#include "base/CardStatus.h"

#include <algorithm>
#include <iterator>

#include "base/StringTable.h"

namespace kestrel {

namespace {

constexpr CardStatus kAll[] = {
    CardStatus::Ok,
    CardStatus::ErrorInterpretingCommand,
    CardStatus::ErrorInDataBlock,
    CardStatus::StatusError,
    CardStatus::CannotActivateCard,
    CardStatus::CannotDeactivateCard,
    CardStatus::CardInitializationError,
    CardStatus::CheckBlockError,
    CardStatus::IncorrectCheckBlock,
    CardStatus::BadAnswerToReset,
    CardStatus::RepeatActivation,
    CardStatus::CardNotActive,
    CardStatus::BadCardRecord,
    CardStatus::DriverNotInstalled,
    CardStatus::CannotAccessDriver,
    CardStatus::GeneralReaderError,
    CardStatus::CardNotInserted,
    CardStatus::BadCardResponse,
    CardStatus::CardChanged,
    CardStatus::BadOrMissingRecord,
    CardStatus::NoValidPin,
    CardStatus::WrongPin,
    CardStatus::PortNotSet,
    CardStatus::ReaderNotConnected,
    CardStatus::InvalidReaderIdentification,
    CardStatus::NonSpecificError,
    CardStatus::PortOperationError,
    CardStatus::ReaderInaccessible,
    CardStatus::SmartcardInitializationError,
    CardStatus::ReaderLibraryError,
    CardStatus::MemoryCardNotInserted,
    CardStatus::CancelledByUser,
    CardStatus::PositionsOverflow,
    CardStatus::ExtensionSpaceOverflow,
    CardStatus::InaccessibleRecord,
    CardStatus::CardBlocked,
    CardStatus::OperationCancelled,
    CardStatus::FileNotAccessible,
    CardStatus::AuthenticationBlocked,
};

} // namespace

std::span<const CardStatus> allCardStatuses()
{
    return kAll;
}

bool isCardStatus(int code)
{
    return std::any_of(std::begin(kAll), std::end(kAll), [code](CardStatus s) { return toInt(s) == code; });
}

QString cardStatusMessage(CardStatus s)
{
    return StringTable::text(toInt(s));
}

} // namespace kestrel
