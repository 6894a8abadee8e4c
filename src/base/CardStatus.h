#pragma once

#include <span>

#include <QString>

namespace kestrel {

// Result of every reader and SIM operation. The value is also the string-table number of its
// message, so a status is shown by looking its value up (cardStatusMessage). 102 is success.
enum class CardStatus : int
{
    Ok = 102,
    ErrorInterpretingCommand = 103,
    ErrorInDataBlock = 104,
    StatusError = 105,
    CannotActivateCard = 106,
    CannotDeactivateCard = 107,
    CardInitializationError = 108,
    CheckBlockError = 109,
    IncorrectCheckBlock = 110,
    BadAnswerToReset = 111,
    RepeatActivation = 112,
    CardNotActive = 113,
    BadCardRecord = 127,
    DriverNotInstalled = 128,
    CannotAccessDriver = 129,
    GeneralReaderError = 130,
    CardNotInserted = 131,
    BadCardResponse = 132,
    CardChanged = 133,
    BadOrMissingRecord = 134,
    NoValidPin = 135,
    WrongPin = 136,
    PortNotSet = 137,
    ReaderNotConnected = 138,
    InvalidReaderIdentification = 139,
    NonSpecificError = 140,
    PortOperationError = 141,
    ReaderInaccessible = 142,
    SmartcardInitializationError = 143,
    ReaderLibraryError = 144,
    MemoryCardNotInserted = 145,
    CancelledByUser = 146,
    PositionsOverflow = 147,
    ExtensionSpaceOverflow = 148,
    InaccessibleRecord = 149,
    CardBlocked = 150,
    OperationCancelled = 151,
    FileNotAccessible = 152,
    AuthenticationBlocked = 153,
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
