#pragma once

// What several fuzz targets share: a reader that hands the GSM commands straight to a card object
// (no byte engine: the card's answers are what is fuzzed, not the line), a card that answers from
// the fuzz input, and a scratch file for the file loaders.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include <memory>

#include <QFile>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>

#include "FuzzCheck.h"
#include "app/AppState.h"
#include "app/Prompter.h"
#include "emulator/Icc.h"
#include "reader/T0Engine.h"

namespace kestrel::fuzz {

// A connected reader with a card in it; transmit gives the command to the card as it is.
class IccReader final : public T0Engine
{
public:
    explicit IccReader(emulator::Icc& card) : m_card(card)
    {
        m_portOpen = true;
        m_readerConnected = true;
        m_cardPresent = true;
    }

    CardStatus activateCard(ReaderBuffer* atr, unsigned& flags) override
    {
        flags = 0;
        if (atr)
            atr->count = 0;
        if (m_cardPowered)
            return CardStatus::RepeatActivation;
        const std::vector<uint8_t> answer = m_card.powerOn();
        if (answer.empty())
            return CardStatus::CardNotActive;
        if (atr) {
            atr->data.resize(std::max<std::size_t>(atr->data.size(), atr->capacity), 0);
            const auto n = std::min<std::size_t>(answer.size(), atr->capacity);
            std::copy_n(answer.begin(), n, atr->data.begin());
            atr->count = static_cast<uint16_t>(n);
            atr->capacity = atr->count;
        }
        m_cardPowered = true;
        m_cardActive = true;
        return CardStatus::Ok;
    }
    CardStatus deactivateCard() override
    {
        m_card.powerOff();
        m_cardPowered = false;
        m_cardActive = false;
        return CardStatus::Ok;
    }
    CardStatus readStatus(uint16_t& status) override
    {
        status = m_card.present() ? CardReader::kStatusCardInserted : 0;
        return CardStatus::Ok;
    }
    CardStatus transmit(uint8_t cla, uint8_t ins, uint8_t p1, uint8_t p2, uint8_t p3, std::span<uint8_t> data,
                        bool toCard, uint16_t& sw) override
    {
        if (!m_cardActive)
            return CardStatus::CardNotActive;
        const std::size_t n = !toCard && p3 == 0 ? 256 : p3;
        check(data.size() >= n); // every caller gives room for the whole transfer
        emulator::Apdu apdu{cla, ins, p1, p2, p3, {}};
        if (toCard)
            apdu.data.assign(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n));
        const emulator::CardResponse r = m_card.process(apdu);
        if (r.silent || r.garbled || r.stalled)
            return CardStatus::StatusError;
        if (!toCard)
            std::copy_n(r.data.begin(), std::min(n, r.data.size()), data.begin());
        sw = r.sw;
        return CardStatus::Ok;
    }

    CardStatus close() override { return CardStatus::Ok; }
    CardStatus open(const QString&, int) override { return CardStatus::Ok; }
    CardStatus setLineParameters(int, int) override { return CardStatus::Ok; }
    CardStatus readerCardOff() override { return CardStatus::Ok; }
    CardStatus shutDownReader() override { return CardStatus::Ok; }
    CardStatus startReader() override { return CardStatus::Ok; }
    void writeByte(uint8_t) override {}
    uint8_t readRawByte() override { return 0; }
    bool byteAvailable() override { return false; }

private:
    emulator::Icc& m_card;
};

// A card whose every answer comes from the fuzz input: two status-word bytes, then, for a
// command that reads and gets 90 00 or 91 xx, as many data bytes as were asked for (00 once the
// input has run out). A used-up input answers 6F 00.
class ScriptedIcc final : public emulator::Icc
{
public:
    explicit ScriptedIcc(std::span<const uint8_t> script) : m_script(script) {}

    bool present() const override { return true; }
    std::vector<uint8_t> powerOn() override { return {0x3B, 0x00}; }
    void powerOff() override {}
    bool readMemory(std::array<uint8_t, 32>&) const override { return false; }
    emulator::CardResponse process(const emulator::Apdu& apdu) override
    {
        emulator::CardResponse r;
        if (m_script.size() < 2) {
            m_script = {};
            r.sw = 0x6F00;
            return r;
        }
        r.sw = static_cast<uint16_t>(m_script[0] << 8 | m_script[1]);
        m_script = m_script.subspan(2);
        if (!isIncoming(apdu.ins) && (r.sw == 0x9000 || (r.sw >> 8) == 0x91)) {
            const std::size_t n = apdu.p3 == 0 ? 256 : apdu.p3;
            const std::size_t given = std::min(n, m_script.size());
            r.data.assign(m_script.begin(), m_script.begin() + static_cast<std::ptrdiff_t>(given));
            r.data.resize(n, 0x00);
            m_script = m_script.subspan(given);
        }
        return r;
    }

private:
    std::span<const uint8_t> m_script;
};

// A file in a folder of its own that lives as long as the process; write() replaces its bytes.
class ScratchFile
{
public:
    explicit ScratchFile(const char* name) : m_path(dir().filePath(QString::fromLatin1(name))) {}

    const QString& path() const { return m_path; }
    void write(std::span<const uint8_t> bytes) const
    {
        QFile file(m_path);
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        const auto size = static_cast<qint64>(bytes.size());
        check(file.write(reinterpret_cast<const char*>(bytes.data()), size) == size);
    }

private:
    static QTemporaryDir& dir()
    {
        static QTemporaryDir d;
        check(d.isValid());
        return d;
    }

    QString m_path;
};

// The file loaders' questions get `answer`; their messages go nowhere.
class AnsweringPrompter final : public Prompter
{
public:
    PromptAnswer answer = PromptAnswer::Yes;

    PromptAnswer question(int, PromptButtons, PromptIcon) override { return answer; }
    void message(int, PromptIcon) override {}
    void messageText(const QString&, PromptIcon) override {}
    PromptAnswer questionText(const QString&, PromptButtons, PromptIcon) override { return answer; }
    void showCardError(const QString&) override {}
    std::optional<SecretText> askPin(int) override { return std::nullopt; }

protected:
    std::optional<PinFields> enterPinChange(int, const PinFields*) override { return std::nullopt; }
    std::optional<PinFields> enterUnblock(int, const PinFields*) override { return std::nullopt; }
};

// The program state of the file loaders' windows, its settings in a scratch file.
inline AppState& scratchAppState()
{
    static const ScratchFile ini("kestrel.ini");
    static AppState state(std::make_unique<QSettings>(ini.path(), QSettings::IniFormat));
    return state;
}

} // namespace kestrel::fuzz
