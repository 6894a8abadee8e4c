#pragma once

namespace kestrel {

// The settings the SimCard works with (confirmations/EnCache, confirmations/unicodeNames).
struct SimCardSettings
{
    // Keep file images between card operations; off drops them at every openCard.
    bool enCache = true;
    // Write names the default alphabet cannot hold in UCS2 (GSM 11.11 annex B); off folds them.
    bool unicodeNames = false;
};

} // namespace kestrel
