#include "app/AppState.h"

#include <algorithm>

#include <QSettings>

#include "base/StringTable.h"
#include "reader/ReaderManager.h"
#include "sim/SimCard.h"

namespace kestrel {

AppState::AppState() : AppState(AppSettings::openUserStore()) {}

AppState::AppState(std::unique_ptr<QSettings> store) : AppState(std::move(store), std::make_unique<ReaderManager>()) {}

AppState::AppState(std::unique_ptr<QSettings> store, std::unique_ptr<ReaderManager> readers)
    : m_store(std::move(store)), m_readers(std::move(readers)),
      m_status([this] { return m_readers ? m_readers->currentDevice() : QString(); })
{}

AppState::~AppState()
{
    // The SimCard goes before the reader it talks to.
    m_sim.reset();
    m_readers.reset();
}

void AppState::loadSettings()
{
    m_settings.LoadSettings(*m_store);
    if (m_sim)
        m_sim->setSettings(SimCardSettings{m_settings.enCache != 0, m_settings.unicodeNames != 0});
}

void AppState::saveSettings()
{
    m_settings.SaveSettings(*m_store);
    if (m_sim)
        m_sim->setSettings(SimCardSettings{m_settings.enCache != 0, m_settings.unicodeNames != 0});
}

void AppState::createSimCard()
{
    m_sim = std::make_unique<SimCard>(*m_readers);
    m_sim->setSettings(SimCardSettings{m_settings.enCache != 0, m_settings.unicodeNames != 0});
}

CardStatus AppState::openReader(const std::optional<QString>& deviceOverride)
{
    return m_readers->selectDevice(deviceOverride.value_or(m_settings.device));
}

void AppState::setMaxAlphaLength(int n)
{
    m_maxAlphaLength = std::clamp(n, 0, 20);
}

} // namespace kestrel
