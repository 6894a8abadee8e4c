#pragma once

#include <utility>

#include <QString>

#include "base/CardStatus.h"

namespace kestrel {

// How an operation of the program ended, for the operations that can fail in a way the user is
// told about: file readers and writers, the SMS parameters, the settings. Success, or a failure
// that names its message: a CardStatus (its value is the string-table number of its message) or
// another string-table message, with an optional detail (a path, a line number, the card's own
// words) shown after it.
class Result
{
public:
    // Success.
    Result() = default;

    static Result ok() { return {}; }
    // status Ok is success; any other is a failure with the status's message.
    static Result fromStatus(CardStatus status, QString detail = {})
    {
        return Result(static_cast<int>(status), status, std::move(detail));
    }
    // A failure with the string-table message messageId.
    static Result failure(int messageId, QString detail = {})
    {
        return Result(messageId, CardStatus::NonSpecificError, std::move(detail));
    }
    // A failure with the string-table message messageId that keeps the card status behind it (a
    // "card reader operation" message over the card's own status; Ok for a refusal before the card
    // was touched). messageId 0: a failure with nothing to tell (the user cancelled).
    static Result failure(int messageId, CardStatus status, QString detail = {})
    {
        return Result(messageId, status, std::move(detail));
    }

    bool isOk() const { return m_messageId == static_cast<int>(CardStatus::Ok); }
    explicit operator bool() const { return isOk(); }

    // The string-table number of the message: the status's for a card failure, CardStatus::Ok's
    // (102) for success.
    int messageId() const { return m_messageId; }
    // The card status: Ok on success, the status given for a card failure, NonSpecificError for a
    // failure made with failure().
    CardStatus status() const { return m_status; }
    const QString& detail() const { return m_detail; }

    // The message's text, then the detail on a line of its own when there is one.
    QString text() const;

    bool operator==(const Result& other) const = default;

private:
    Result(int messageId, CardStatus status, QString detail)
        : m_messageId(messageId), m_status(status), m_detail(std::move(detail))
    {}

    int m_messageId = static_cast<int>(CardStatus::Ok);
    CardStatus m_status = CardStatus::Ok;
    QString m_detail;
};

} // namespace kestrel
