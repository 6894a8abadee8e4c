#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "emulator/StandardCard.h"

// The parts of the standard SIM that StandardCard.cpp (the file tree, the card's identity) and
// StandardCardContents.cpp (what its owner stored) share.
namespace kestrel::emulator::standard {

// Record number (from 1) of a record file, as a writable span.
std::span<uint8_t> record(SimFile& file, int number);

// The file at path; nullptr when the card has none.
SimFile* fileAt(SimCardData& card, const std::vector<uint16_t>& path);

// Digit pairs of GSM 11.11 BCD fields: first digit in the low nibble, 0xF filler.
std::vector<uint8_t> swappedBcd(std::string_view digits, std::size_t bytes);

// A network list of size bytes (3 per network, unused entries FF FF FF) holding (MCC, MNC).
std::vector<uint8_t> plmnBytes(std::initializer_list<std::pair<uint32_t, uint32_t>> networks, std::size_t size);

// Writes the owner's data (phone book, messages, networks, charges...) into the empty files of
// card, leaving out entries whose record the file lacks and cutting names to the records' alpha
// bytes.
void fillContents(SimCardData& card);

} // namespace kestrel::emulator::standard
