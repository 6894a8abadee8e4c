#pragma once

#include <memory>
#include <optional>

#include <QString>
#include <QStringList>

#include "app/AppSettings.h"
#include "app/MainStatus.h"
#include "base/CardStatus.h"

class QSettings;

namespace kestrel {

class ReaderManager;
class SimCard;

// The application object without its windows: the settings, the one ReaderManager and the one
// SimCard, and the program-wide limits. The desktop program and its tests build one; every editor
// model and command works on it.
class AppState
{
public:
    // Settings under organisation "Brantwick", application "Kestrel! 4.0" (user scope).
    AppState();
    // With a store of the caller's (tests).
    explicit AppState(std::unique_ptr<QSettings> store);
    // With a store and a reader manager of the caller's (tests that play readers of their own).
    AppState(std::unique_ptr<QSettings> store, std::unique_ptr<ReaderManager> readers);
    ~AppState();
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    AppSettings& settings() { return m_settings; }
    const AppSettings& settings() const { return m_settings; }
    // Reads every key (missing ones keep their default).
    void loadSettings();
    // Writes every key, and hands the cache setting to the SimCard.
    void saveSettings();
    QSettings& store() { return *m_store; }

    ReaderManager& readers() { return *m_readers; }
    // Created by createSimCard (start-up step 8); null before.
    SimCard* simCard() { return m_external ? m_external : m_sim.get(); }
    SimCard& sim() { return *simCard(); }
    void createSimCard();
    // Works on a SimCard owned by someone else (kestrel-cli's card session) instead of its own;
    // null goes back to its own.
    void useSimCard(SimCard* external) { m_external = external; }

    // Opens the reader named by the `device` setting, or by deviceOverride when given (that one is
    // used for this run only and never stored). sid::OK_102 when it is open.
    CardStatus openReader(const std::optional<QString>& deviceOverride = {});

    // The longest alpha identifier (characters) names may have: 20 at start, then the card's alpha
    // length (record length - 14), capped at 20, each time a phone book or the card information
    // is read.
    int maxAlphaLength() const { return m_maxAlphaLength; }
    void setMaxAlphaLength(int n);
    // The longest SMS text (characters).
    int maxSmsLength() const { return m_maxSmsLength; }

    // The last action of find and replace (0 none, 1 find, 2 replace), shared by every editor
    // window so that "find next" repeats it; kept in memory only.
    int lastFindAction() const { return m_lastFindAction; }
    void setLastFindAction(int action) { m_lastFindAction = action; }

    // The state of the reader and the card and the last card operation, as the main window shows
    // it; the desktop's Prompter tells it of every card operation.
    MainStatus& mainStatus() { return m_status; }

    // The three print font faces: regular, bold, italic.
    const QStringList& printFonts() const { return m_printFonts; }
    void setPrintFonts(const QStringList& faces) { m_printFonts = faces; }

private:
    std::unique_ptr<QSettings> m_store;
    AppSettings m_settings = AppSettings::defaults();
    std::unique_ptr<ReaderManager> m_readers;
    std::unique_ptr<SimCard> m_sim;
    SimCard* m_external = nullptr;
    MainStatus m_status;
    int m_maxAlphaLength = 20;
    int m_maxSmsLength = 160;
    int m_lastFindAction = 0;
    QStringList m_printFonts = {QStringLiteral("Arial"), QStringLiteral("Arial Bold"), QStringLiteral("Arial Italic")};
};

} // namespace kestrel
