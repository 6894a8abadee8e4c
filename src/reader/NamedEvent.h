#pragma once

#include <QString>

namespace kestrel {

// A named manual-reset event other programs on the desktop can watch: while it is set, a flag file
// named after the event exists in the user's runtime directory ($XDG_RUNTIME_DIR/kestrel-events).
// Watchers test for the file (or watch the folder with inotify). Created not set.
class NamedEvent
{
public:
    explicit NamedEvent(const QString& name);
    ~NamedEvent();

    NamedEvent(const NamedEvent&) = delete;
    NamedEvent& operator=(const NamedEvent&) = delete;

    // Both never fail loudly: a runtime directory that cannot be written only means that nobody
    // can watch this event, which must not stop the reader from working.
    void set();
    void reset();
    bool isSet() const;

    const QString& name() const { return m_name; }
    QString flagPath() const { return m_path; }

    // The folder that holds the flag files.
    static QString eventDirectory();

private:
    QString m_name;
    QString m_path;
};

// The two events a reader holds set while it is open.
inline const QString kInsertionInhibitEvent =
    QStringLiteral("Brantwick Smart-card Insertion Notification Inhibiting Event");
inline const QString kRemovalInhibitEvent =
    QStringLiteral("Brantwick Smart-card Removal Notification Inhibiting Event");

} // namespace kestrel
