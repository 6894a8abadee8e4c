#pragma once

#include <span>

#include <QString>

#include "base/StringIds.h"

namespace kestrel {

// Result of every reader and SIM operation. The value is also the string-table number of its
// message, so a status is shown by looking its value up (cardStatusMessage). sid::OK_102 is success.
enum class CardStatus : int
{
    Ok = sid::OK_102,
    ErrorInterpretingCommand = sid::ErrorInterpretingCommand_103,
    ErrorInDataBlock = sid::ErrorInDataBlock_104,
    StatusError = sid::StatusErrorDuringOperation_105,
    CannotActivateCard = sid::CannotActivateCard_106,
    CannotDeactivateCard = sid::CannotDeactivateCard_107,
    CardInitializationError = sid::ErrorInCardInitialization_108,
    CheckBlockError = sid::ErrorInSimCardCheck_109,
    IncorrectCheckBlock = sid::IncorrectSimCardCheckBlock_110,
    BadAnswerToReset = sid::BadSimCardResponse_111,
    RepeatActivation = sid::RepeatAttemptToActivateCard_112,
    CardNotActive = sid::CardIsNotActive_113,
    BadCardRecord = sid::BadCardRecord_127,
    DriverNotInstalled = sid::SmartcardReaderDeviceDriverNot_128,
    CannotAccessDriver = sid::CannotAccessSmartcardReaderDevice_129,
    GeneralReaderError = sid::GeneralErrorDuringSmartcardReader_130,
    CardNotInserted = sid::CardNotInserted_131,
    BadCardResponse = sid::BadSimCardResponse_132,
    CardChanged = sid::CardChangedDuringOperation_133,
    BadOrMissingRecord = sid::BadOrMissingRecordIn_134,
    NoValidPin = sid::NoValidPinEntered_135,
    WrongPin = sid::WrongPin_136,
    PortNotSet = sid::CorrectComPortNotSet_137,
    ReaderNotConnected = sid::SmartcardReaderNotConnected_138,
    InvalidReaderIdentification = sid::InvalidSmartcardReaderIdentification_139,
    NonSpecificError = sid::NonSpecificError_140,
    PortOperationError = sid::ComPortOperationError_141,
    ReaderInaccessible = sid::ReaderInaccessibleUseMenuOther_142,
    SmartcardInitializationError = sid::SmartcardInitializationError_143,
    ReaderLibraryError = sid::ErrorInSmartcardReaderDll_144,
    MemoryCardNotInserted = sid::CardNotInserted_145,
    CancelledByUser = sid::OperationCancelledByUser_146,
    PositionsOverflow = sid::CardPositionsNumberOverflow_147,
    ExtensionSpaceOverflow = sid::ExtensionCardSpaceOverflow_148,
    InaccessibleRecord = sid::UnaccessibleCardRecord_149,
    CardBlocked = sid::CardBlockedPinIsNot_150,
    OperationCancelled = sid::OperationCancelled_151,
    FileNotAccessible = sid::RequiredCardFileIsNot_152,
    AuthenticationBlocked = sid::CardIsBlockedByAuthentification_153,
};

constexpr int toInt(CardStatus s)
{
    return static_cast<int>(s);
}

constexpr bool isOk(CardStatus s)
{
    return s == CardStatus::Ok;
}

// Every status the program defines, in ascending order.
std::span<const CardStatus> allCardStatuses();

// True when code names one of the statuses above (codes 114-126 do not exist).
bool isCardStatus(int code);

// The message of a status, from the string table.
QString cardStatusMessage(CardStatus s);

} // namespace kestrel
