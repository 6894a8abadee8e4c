#pragma once

#include <functional>
#include <memory>

#include <QString>
#include <QStringList>

#include "base/CardStatus.h"
#include "reader/CardReader.h"
#include "reader/NamedEvent.h"

namespace kestrel {

// The kinds of reader a device string can name.
enum class ReaderKind
{
    None,     // "NOTHING" or empty
    Serial,   // "COM" + a digit 1-8 as fourth character: the serial reader
    Kvri,     // "KVRI DRIVER": the reader behind the driver library
    Pcsc,     // "PCSC:" + reader name
    SmartApi, // "PCMCIA FY-1300"
    Virtual,  // "VIRTUAL" (the user's own virtual card) or "VIRTUAL:" + card file
    Unknown,
};

// Owns the one current reader, remembers the device string it was made from and keeps the two
// inhibit events set while a reader is open.
class ReaderManager
{
public:
    // Makes an unopened reader of a kind; null when it cannot be made.
    using Factory = std::function<std::unique_ptr<CardReader>(ReaderKind)>;

    ReaderManager();
    explicit ReaderManager(Factory factory);
    ~ReaderManager();

    ReaderManager(const ReaderManager&) = delete;
    ReaderManager& operator=(const ReaderManager&) = delete;

    CardStatus selectDevice(const QString& device);
    CardReader* currentReader() const { return m_reader.get(); }
    QString currentDevice() const { return m_device; }

    // The device table (case-sensitive, in this order): which kind of reader a device string
    // names and the argument its `open` gets.
    static ReaderKind classify(const QString& device, QString* openArgument = nullptr);

    // The device strings offered to the user, in order (PC/SC reader names come from the service).
    static QStringList deviceStrings();

    // Why the last selectDevice failed beyond its status (e.g. a broken virtual card file).
    const QString& lastDetail() const { return m_lastDetail; }

    bool eventsSet() const { return m_insertionInhibit.isSet() && m_removalInhibit.isSet(); }

    static std::unique_ptr<CardReader> makeReader(ReaderKind kind);

private:
    void closeCurrent();
    void resetEvents();

    Factory m_factory;
    QString m_device = QStringLiteral("COM2");
    std::unique_ptr<CardReader> m_reader;
    NamedEvent m_insertionInhibit{kInsertionInhibitEvent};
    NamedEvent m_removalInhibit{kRemovalInhibitEvent};
    QString m_lastDetail;
};

} // namespace kestrel
