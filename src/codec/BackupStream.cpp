#include "codec/BackupStream.h"

#include <algorithm>
#include <string_view>

#include "codec/ByteStream.h"
#include "codec/FixedText.h"
#include "codec/PcText.h"

namespace kestrel {

namespace {

constexpr std::string_view kSectionDial = "SECTION_DIAL";
constexpr std::string_view kSectionFdn = "SECTION_FDN";
constexpr std::string_view kSectionSms = "SECTION_SMS";
constexpr std::string_view kSectionSmsPar = "SECTION_SMSPAR";
constexpr std::string_view kSectionPlmn = "SECTION_PLMN";
constexpr std::string_view kSectionFplmn = "SECTION_FPLMN";
constexpr std::string_view kSectionEnd = "SECTION_END";

// The file keeps names and message texts as Windows-1250, one byte per character, at most as long
// as the program's first entries held them.
constexpr std::size_t kFileNameBytes = 49;
constexpr std::size_t kFileTextBytes = 199;

// Bytes of one network entry: used flag, MCC, MNC.
constexpr std::size_t kPlmnEntryBytes = 9;

void writeDial(ByteWriter& w, const DialEntry& e)
{
    w.u32(e.position);
    w.u32(static_cast<uint32_t>(e.valid));
    w.string(toWindows1250(fixedText(e.name)).substr(0, kFileNameBytes));
    w.string(fixedText(e.number));
    w.u8(e.ton);
    w.u8(e.npi);
    w.u8(e.ccpId);
    w.u8(e.extId);
}

void writeSms(ByteWriter& w, const SmsEntry& e)
{
    w.u32(e.position);
    w.u32(static_cast<uint32_t>(e.valid));
    w.string(toWindows1250(fixedText(e.text)).substr(0, kFileTextBytes));
    w.string(fixedText(e.scNumber));
    w.string(fixedText(e.number));
    w.u8(e.numberTon);
    w.u8(e.numberNpi);
    w.u8(e.scTon);
    w.u8(e.scNpi);
    w.string(fixedText(e.when));
    w.u32(static_cast<uint32_t>(e.status));
}

void writePlmnList(ByteWriter& w, const std::vector<PlmnEntry>& list)
{
    w.u32(static_cast<uint32_t>(list.size()));
    for (const PlmnEntry& e : list) {
        w.u8(e.used);
        w.u32(e.mcc);
        w.u32(e.mnc);
    }
}

// Reads one string field into a fixed field, keeping what fits (the number keeps 60 bytes etc.).
template <std::size_t N>
bool readFixed(ByteReader& r, char (&field)[N])
{
    std::string text;
    if (!r.string(text, N - 1))
        return false;
    setFixedText(field, text);
    return true;
}

// Reads a Windows-1250 text field of at most maxBytes into a fixed PC-text field.
template <std::size_t N>
bool readText(ByteReader& r, char (&field)[N], std::size_t maxBytes)
{
    std::string text;
    if (!r.string(text, maxBytes))
        return false;
    setFixedText(field, fromWindows1250(text));
    return true;
}

// Outcome of one section: ok, a broken structure (sid::ErrorInBackupFileStructure_57427) or bytes missing
// (sid::ErrorWhileReadingFileRestore_57428).
enum class Section
{
    Ok,
    Structure,
    Truncated
};

Section fail(const ByteReader& r)
{
    return r.failed() ? Section::Truncated : Section::Structure;
}

// The entry count that opens a list section; more entries than the list holds is a broken file.
Section readCount(ByteReader& r, uint32_t capacity, uint32_t& n)
{
    if (!r.u32(n))
        return Section::Truncated;
    return n > capacity ? Section::Structure : Section::Ok;
}

Section readDialSection(ByteReader& r, std::array<DialEntry, kMaxDialEntries>& entries, int& count)
{
    uint32_t n = 0;
    if (const Section s = readCount(r, kMaxDialEntries, n); s != Section::Ok)
        return s;
    for (uint32_t i = 0; i < n; ++i) {
        DialEntry e;
        uint32_t position = 0;
        uint32_t valid = 0;
        if (!r.u32(position) || !r.u32(valid) || !readText(r, e.name, kFileNameBytes) || !readFixed(r, e.number) ||
            !r.u8(e.ton) || !r.u8(e.npi) || !r.u8(e.ccpId) || !r.u8(e.extId))
            return Section::Truncated;
        if (position > 0xFFFF)
            return Section::Structure;
        e.position = static_cast<uint16_t>(position);
        e.valid = static_cast<int32_t>(valid);
        entries[i] = e;
    }
    count = static_cast<int>(n);
    return Section::Ok;
}

Section readSmsSection(ByteReader& r, BackupContents& c)
{
    uint32_t n = 0;
    if (const Section s = readCount(r, kMaxSmsEntries, n); s != Section::Ok)
        return s;
    for (uint32_t i = 0; i < n; ++i) {
        SmsEntry e;
        uint32_t position = 0;
        uint32_t valid = 0;
        uint32_t status = 0;
        if (!r.u32(position) || !r.u32(valid) || !readText(r, e.text, kFileTextBytes) || !readFixed(r, e.scNumber) ||
            !readFixed(r, e.number) || !r.u8(e.numberTon) || !r.u8(e.numberNpi) || !r.u8(e.scTon) || !r.u8(e.scNpi) ||
            !readFixed(r, e.when) || !r.u32(status))
            return Section::Truncated;
        // A status outside Read..ToBeSent cannot be written back to a card record.
        if (position > 0xFFFF || status > 3)
            return Section::Structure;
        e.position = static_cast<uint16_t>(position);
        e.valid = static_cast<int32_t>(valid);
        e.status = static_cast<int32_t>(status);
        c.sms[i] = e;
    }
    c.smsCount = static_cast<int>(n);
    return Section::Ok;
}

Section readPlmnSection(ByteReader& r, std::vector<PlmnEntry>& list)
{
    uint32_t n = 0;
    if (!r.u32(n))
        return Section::Truncated;
    // Checked before allocating: a corrupt count must not reserve gigabytes.
    if (n > r.remaining() / kPlmnEntryBytes)
        return Section::Truncated;
    std::vector<PlmnEntry> read(n);
    for (PlmnEntry& e : read) {
        if (!r.u8(e.used) || !r.u32(e.mcc) || !r.u32(e.mnc))
            return Section::Truncated;
    }
    list = std::move(read);
    return Section::Ok;
}

} // namespace

std::vector<uint8_t> writeBackupStream(const BackupContents& c)
{
    // Counts are clamped to the arrays so the stream never promises more entries than it holds.
    const int dialCount = std::clamp(c.phoneBookCount, 0, kMaxDialEntries);
    const int fdnCount = std::clamp(c.fdnCount, 0, kMaxDialEntries);
    const int smsCount = std::clamp(c.smsCount, 0, kMaxSmsEntries);

    ByteWriter w;
    w.string(kSectionDial);
    w.u32(static_cast<uint32_t>(dialCount));
    for (int i = 0; i < dialCount; ++i)
        writeDial(w, c.phoneBook[i]);
    w.string(kSectionFdn);
    w.u32(static_cast<uint32_t>(fdnCount));
    for (int i = 0; i < fdnCount; ++i)
        writeDial(w, c.fdn[i]);
    w.string(kSectionSms);
    w.u32(static_cast<uint32_t>(smsCount));
    for (int i = 0; i < smsCount; ++i)
        writeSms(w, c.sms[i]);
    w.string(kSectionSmsPar);
    w.string(c.serviceCentre);
    w.string(c.validity);
    w.string(kSectionPlmn);
    writePlmnList(w, c.plmn);
    w.string(kSectionFplmn);
    writePlmnList(w, c.fplmn);
    w.string(kSectionEnd);
    return w.bytes();
}

int readBackupStream(std::span<const uint8_t> data, BackupContents& c)
{
    c = BackupContents{};
    ByteReader r(data);
    for (;;) {
        std::string name;
        if (!r.string(name))
            return kBackupReadError;
        Section result = Section::Ok;
        if (name == kSectionDial) {
            result = readDialSection(r, c.phoneBook, c.phoneBookCount);
        } else if (name == kSectionFdn) {
            result = readDialSection(r, c.fdn, c.fdnCount);
        } else if (name == kSectionSms) {
            result = readSmsSection(r, c);
        } else if (name == kSectionSmsPar) {
            if (!r.string(c.serviceCentre) || !r.string(c.validity))
                result = fail(r);
        } else if (name == kSectionPlmn) {
            result = readPlmnSection(r, c.plmn);
        } else if (name == kSectionFplmn) {
            result = readPlmnSection(r, c.fplmn);
        } else if (name == kSectionEnd) {
            return kBackupReadOk;
        } else {
            return kBackupStructureError;
        }
        if (result == Section::Structure)
            return kBackupStructureError;
        if (result == Section::Truncated)
            return kBackupReadError;
    }
}

} // namespace kestrel
