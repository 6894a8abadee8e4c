#pragma once

namespace kestrel {

// The settings the SimCard works with (confirmations/EnCache).
struct SimCardSettings
{
    // Keep file images between card operations; off drops them at every openCard.
    bool enCache = true;
};

} // namespace kestrel
