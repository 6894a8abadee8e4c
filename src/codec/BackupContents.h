#pragma once

#include <array>
#include <string>
#include <vector>

#include "codec/DialEntry.h"
#include "codec/PlmnEntry.h"
#include "codec/SmsEntry.h"

namespace kestrel {

constexpr int kMaxDialEntries = 250;
constexpr int kMaxSmsEntries = 99;

// Everything a .SIM backup file holds, in memory.
struct BackupContents
{
    std::array<DialEntry, kMaxDialEntries> phoneBook{};
    int phoneBookCount = 0;
    std::array<DialEntry, kMaxDialEntries> fdn{};
    int fdnCount = 0;
    std::array<SmsEntry, kMaxSmsEntries> sms{};
    int smsCount = 0;
    std::string serviceCentre; // as shown: "+" in front when international (PC text)
    std::string validity;      // validity period text
    std::vector<PlmnEntry> plmn;
    std::vector<PlmnEntry> fplmn;
};

} // namespace kestrel
