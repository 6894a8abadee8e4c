#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QString>

#include "emulator/SimCardData.h"

namespace kestrel {

class ProgressSink;
class Prompter;
class SimCard;

// A file of the card a card image has no copy of, and why (the READ condition, a refusal).
struct ImageFileLeftOut
{
    QString name; // "EF_KC", or the file id when GSM 11.11 names no such file
    QString path; // "3F00/7F20/6F20"
    QString reason;
};

// A user file a restore wrote to, and how many of its records (1 for a transparent file).
struct ImageFileWritten
{
    QString name;
    int records = 0;
};

// How a card-image command ended.
struct ImageOutcome
{
    bool ok = false;
    // The closing message was shown (false: a dialog was cancelled and nothing was said).
    bool shown = false;
    // Backup: the EFs saved and those left out.
    int filesSaved = 0;
    std::vector<ImageFileLeftOut> leftOut;
    // Restore: what was written, or the file that made the image unfit for the card (nothing
    // written then).
    std::vector<ImageFileWritten> written;
    QString mismatch;
};

// The card image: every EF of the MF, DF_TELECOM and DF_GSM (DF_DCS1800 when DF_GSM is missing)
// the card lets us read, saved as a card file (emulator/CardFile.h) that opens as a virtual card.
//
// BackupImage selects, in one card operation with CHV1, every EF GSM 11.11 defines in those
// directories, then searches the rest of the directory's range (2Fxx under the MF, 6Fxx under the
// DFs) until the directory's count of EFs is reached. Each EF keeps its SELECT response, its
// structure, access conditions and state, and every record or its whole body. An EF whose READ
// condition is ADM or NEV, an invalidated one not readable so, one the card refuses (98 04, 98 10)
// and one beyond a card file's bounds are left out and named in the closing message; any other
// failure, or Abort, saves no file. The file is written atomically. It holds no code of the
// card: CHV1/CHV2, their unblocking codes and Ki are those of the standard card (StandardCard),
// with full counters, and its "image" note says so; CHV1 is enabled as on the card. Services of
// EF_SST whose files are not in the image are switched off in it, so that the virtual card never
// promises a file it lacks.
//
// RestoreImage writes the user files back: EF_ADN, EF_FDN, EF_EXT1, EF_EXT2, EF_SMS, EF_SMSP,
// EF_LND, EF_MSISDN (DF_TELECOM), EF_PLMNsel and EF_FPLMN (DF_GSM). Before any UPDATE every one of
// them the image holds is checked against the card: the card has it (unless the image's copy is
// empty), with the same structure; record files the same record length and at least the image's
// records, or fewer when the image's surplus records are empty; transparent files any size where
// the part of the image that does not fit is all FF. One that differs writes nothing, and the
// message names the file with both values. The card's records are then read and only those that
// differ are written: the card's records beyond the image's become empty, a shorter transparent
// body is padded with FF, EF_LND (cyclic) is written whole in PREVIOUS mode, oldest first, when any
// record differs. PIN2 is asked only when EF_FDN or EF_EXT2 has a record to write. The caches of
// the SimCard are dropped afterwards. Access conditions are not written: no command can.
class CardImage
{
public:
    using TargetChooser = std::function<std::optional<QString>()>;

    CardImage(SimCard& card, Prompter& prompter, ProgressSink* progress = nullptr);

    ImageOutcome BackupImage(const TargetChooser& chooseTarget);
    ImageOutcome BackupImage(const QString& path);
    ImageOutcome RestoreImage(const QString& path);

    // The image the last BackupImage read (also when it was not saved).
    const emulator::SimCardData& image() const { return m_image; }

private:
    // Reading (CardImageReader.cpp).
    bool readCardFiles();
    bool readDirectory(uint16_t df, int efCount, int percentFrom, int percentTo);
    // -1 failure, 0 no such EF, 1 found (saved or left out).
    int readEf(uint16_t df, uint16_t ef, int percent);
    void finishImage(int freeMemory);
    // Restoring (CardImageRestore.cpp).
    bool restoreFiles(const emulator::SimCardData& image, ImageOutcome& outcome);

    SimCard& m_card;
    Prompter& m_prompter;
    ProgressSink* m_progress;
    emulator::SimCardData m_image;
    std::vector<ImageFileLeftOut> m_leftOut;
};

} // namespace kestrel
