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

// The file a restore's UPDATE failed in (the card refused it, was pulled, or Abort), and how far
// it got.
struct ImageWriteFailure
{
    QString name;
    int recordsWritten = 0; // of its records, before the failure
    int records = 0;        // its records to write
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
    // Restore: the user answered No to the question before the first UPDATE (nothing written).
    bool declined = false;
    // Restore: where the writing stopped; the files in written were written whole before it.
    std::optional<ImageWriteFailure> failedAt;
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
// EF_LND, EF_MSISDN (DF_TELECOM), EF_PLMNsel and EF_FPLMN (DF_GSM; an image taken under DF_DCS1800
// goes to whichever of the two the card has, and so the other way). Before any UPDATE every one of
// them the image holds is checked against the card: the card has it (unless the image's copy is
// empty), with the same structure; record files the same record length and at least the image's
// records, or fewer when the image's surplus records are free; transparent files any size where
// the part of the image that does not fit is all FF. A record is free by what it means: an EF_SMS
// record with status bit 1 clear (a phone frees one so and leaves its bytes), a dialling-number
// record with no name and number length FF or 00, an extension record of type 00 or FF, an EF_SMSP
// record all FF; any other record only when it is the file's empty record. One that differs writes
// nothing, and the message names the file with both values. The card's records are then read and
// only those that differ are planned: the card's records beyond the image's become empty, a
// shorter transparent body is padded with FF, EF_LND (cyclic) is written whole in PREVIOUS mode,
// oldest first, when any record differs. A file with a record to write whose UPDATE condition on
// the card is ADM or NEV, or that is invalidated there and not updatable so, also refuses the
// whole restore. With something to write, one Yes/No question lists the files and their records
// (No: nothing written, nothing more said); with nothing, the closing message says the card holds
// the image already. PIN2 is asked only when a file to write is UPDATE CHV2 on the card. When an
// UPDATE fails the message (and failedAt) tells the files written before it and where it stopped.
// The caches of the SimCard are dropped afterwards. Access conditions are not written: no command
// can.
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
