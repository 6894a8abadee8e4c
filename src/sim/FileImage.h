#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kestrel {

// A cached copy of one record file of the card: record count, record length (each at most 255,
// as a GSM 11.11 record file can hold) and count x length bytes of records, all 0xFF until filled.
struct FileImage
{
    FileImage() = default;
    FileImage(int count, int length)
        : recordCount(count), recordLength(length),
          records(static_cast<std::size_t>(count > 0 && length > 0 ? count * length : 0), 0xFF)
    {}

    int recordCount = 0;
    int recordLength = 0;
    std::vector<uint8_t> records;

    // Record n counted from 1; empty when n is out of range.
    std::span<uint8_t> record(int n)
    {
        if (n < 1 || n > recordCount || records.size() < static_cast<std::size_t>(recordCount * recordLength))
            return {};
        return std::span<uint8_t>(records).subspan(static_cast<std::size_t>((n - 1) * recordLength),
                                                   static_cast<std::size_t>(recordLength));
    }
    std::span<const uint8_t> record(int n) const { return const_cast<FileImage*>(this)->record(n); }
};

// One count and one flag byte per record of a file: the link maps of EF_EXT1/EF_EXT2 and the check
// maps of EF_ADN, EF_FDN, EF_LND and EF_MSISDN. The meaning of the flags is their user's.
struct RecordMap
{
    std::vector<uint8_t> flags; // flags[i] belongs to record i + 1

    int count() const { return static_cast<int>(flags.size()); }
};

} // namespace kestrel
