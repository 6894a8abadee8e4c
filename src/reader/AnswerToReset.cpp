#include "reader/AnswerToReset.h"

namespace kestrel {

namespace {

// ISO/IEC 7816-3 limits an answer to reset to 33 bytes with TCK; a longer one is line noise.
constexpr int kMaxAtrBytes = 33;

} // namespace

CardStatus AnswerToReset::read(const NextByte& nextByte, const Convert& convert, AtrParameters& p, ReaderBuffer* atr,
                               bool& ta1Present)
{
    ta1Present = false;
    const int room = atr ? atr->capacity : 0;
    if (atr && atr->data.size() < atr->capacity)
        atr->data.resize(atr->capacity, 0);
    int stored = 0;
    int total = 0;
    auto store = [&](uint8_t b) {
        if (stored < room)
            atr->data[static_cast<size_t>(stored++)] = b;
    };
    auto finish = [&](CardStatus s) {
        if (atr) {
            atr->capacity = static_cast<uint16_t>(stored);
            atr->count = static_cast<uint16_t>(stored);
        }
        return s;
    };
    // The next byte of the answer, or -1 when none came (or the answer has grown longer than any
    // real one).
    auto next = [&]() -> int {
        if (total >= kMaxAtrBytes)
            return -1;
        const int b = nextByte();
        if (b < 0)
            return -1;
        ++total;
        store(static_cast<uint8_t>(b));
        return b;
    };

    // TS: 3B direct, 3F inverse; an inverse-convention card through a direct UART reads 03.
    const int first = nextByte();
    if (first < 0)
        return finish(CardStatus::BadAnswerToReset);
    ++total;
    uint8_t ts = static_cast<uint8_t>(first);
    if (ts != 0x3B && ts != 0x3F) {
        p.inverseConvention = 1;
        ts = convert(ts);
        if (ts != 0x3F) {
            store(ts);
            return finish(CardStatus::BadAnswerToReset);
        }
    }
    store(ts);

    const int t0 = next();
    if (t0 < 0)
        return finish(CardStatus::AuthenticationBlocked);
    p.K = static_cast<uint8_t>(t0 & 0x0F);
    p.Y1 = static_cast<uint8_t>(t0 >> 4);

    if (p.Y1 & 0x1) {
        const int b = next();
        if (b < 0)
            return finish(CardStatus::BadAnswerToReset);
        ta1Present = true;
        p.FI = static_cast<uint8_t>(b >> 4);
        p.DI = static_cast<uint8_t>(b & 0x0F);
    }
    if (p.Y1 & 0x2) {
        const int b = next();
        if (b < 0)
            return finish(CardStatus::BadAnswerToReset);
        p.II = static_cast<uint8_t>(b >> 6);
        p.PI1 = static_cast<uint8_t>(b & 0x3F);
    }
    if (p.Y1 & 0x4) {
        const int b = next();
        if (b < 0)
            return finish(CardStatus::BadAnswerToReset);
        p.N = static_cast<uint8_t>(b);
    }
    if (p.Y1 & 0x8) {
        const int b = next();
        if (b < 0)
            return finish(CardStatus::BadAnswerToReset);
        p.T = static_cast<uint8_t>(b & 0x0F);
        p.Y2 = static_cast<uint8_t>(b >> 4);
    }

    if (p.Y2 & 0x1) {
        if (next() < 0) // TA2
            return finish(CardStatus::BadAnswerToReset);
    }
    if (p.Y2 & 0x2) {
        const int b = next();
        if (b < 0)
            return finish(CardStatus::BadAnswerToReset);
        p.PI2 = static_cast<uint8_t>(b);
    }
    if (p.Y2 & 0x4) {
        const int b = next();
        if (b < 0)
            return finish(CardStatus::BadAnswerToReset);
        p.WI = static_cast<uint8_t>(b);
    }
    if (p.Y2 & 0x8) {
        int td = next();
        if (td < 0)
            return finish(CardStatus::BadAnswerToReset);
        // Further groups TAi TBi TCi TDi, each announced by the high nibble of the TD before.
        while (td > 0x0F) {
            const int y = td >> 4;
            for (int bit = 0x1; bit <= 0x4; bit <<= 1) {
                if ((y & bit) && next() < 0)
                    return finish(CardStatus::BadAnswerToReset);
            }
            if (!(y & 0x8))
                break;
            td = next();
            if (td < 0)
                return finish(CardStatus::BadAnswerToReset);
        }
    }

    for (int i = 0; i < p.K; ++i) {
        if (next() < 0)
            return finish(CardStatus::BadAnswerToReset);
    }
    return finish(CardStatus::Ok);
}

} // namespace kestrel
