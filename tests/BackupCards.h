#pragma once

// Cards for backup and restore tests: the standard card with its user content wiped, as a card
// fresh from the operator would be, and helpers to look at its files.

#include <cstdint>
#include <vector>

#include <QByteArray>
#include <QFile>
#include <QString>

#include "SimBench.h"
#include "emulator/StandardCard.h"
#include "sim/SimCard.h"

namespace kestrel::test {

// The standard card with no phone book, fixed dialling numbers, messages, SMS parameters or
// networks (its codes, service table and other files as they are).
inline emulator::SimCardData blankStandardCard()
{
    return standardCardWith([](emulator::SimCardData& data) {
        using namespace gsm::fid;
        for (const uint16_t id : {kEfAdn, kEfFdn, kEfExt1, kEfExt2, kEfSmsp, kEfPlmnSel, kEfFplmn}) {
            emulator::SimFile* f = findFile(data, id);
            std::fill(f->data.begin(), f->data.end(), uint8_t{0xFF});
        }
        emulator::SimFile* sms = findFile(data, kEfSms);
        std::fill(sms->data.begin(), sms->data.end(), uint8_t{0xFF});
        for (int r = 0; r < sms->recordCount(); ++r)
            sms->data[static_cast<std::size_t>(r * sms->recordLength)] = 0x00; // status of a free record
    });
}

// The contents of one file of a card.
inline std::vector<uint8_t> fileData(const emulator::SimCardData& data, uint16_t id)
{
    const emulator::SimFile* f = findFile(data, id);
    return f ? f->data : std::vector<uint8_t>{};
}

inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace kestrel::test
