// Whole .DIA phone book files from arbitrary bytes, through the editor window's Open File and Add
// from File (PhoneBookFiles over a PhoneBookModel; the questions answered by the input).
//
// Input: byte 0 chooses the answers (bit 0: Yes to every question, else No), whether Add from File
// keeps the file's gaps (bit 1) and its start row (the rest); the file follows.
//
// Every entry the window holds afterwards must fit a phone book entry (its name one a
// Windows-1250 file holds); a file opened whole must save to a file that opens again to the same
// entries.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <span>

#include <QSettings>

#include "FuzzSupport.h"
#include "app/AppState.h"
#include "app/Prompter.h"
#include "codec/DialDigits.h"
#include "codec/PcText.h"
#include "codec/FixedText.h"
#include "phonebook/PhoneBookFiles.h"
#include "phonebook/PhoneBookModel.h"

using namespace kestrel;
using fuzz::check;

namespace {

struct Window
{
    fuzz::AnsweringPrompter prompter;
    PhoneBookModel model{DialBook::Adn, fuzz::scratchAppState(), prompter};
    PhoneBookFiles files{model};
};

void checkEntries(const PhoneBookModel& model)
{
    check(model.capacity() >= 0 && model.capacity() <= PhoneBookModel::kMaxEntries);
    for (const DialEntry& e : model.entries()) {
        if (!e.valid)
            continue;
        const std::size_t nameLength = ::strnlen(e.name, sizeof e.name);
        const std::size_t numberLength = ::strnlen(e.number, sizeof e.number);
        check(nameLength > 0 && nameLength < sizeof e.name);
        check(numberLength > 0 && numberLength < sizeof e.number);
        // Read from Windows-1250: a name that file holds as it is.
        const std::string_view name(e.name, nameLength);
        check(throughWindows1250(name) == name);
        check(IsValidDialNumber(e.number) && std::strchr(e.number, '+') == nullptr);
        check(e.ton <= 1);
    }
}

bool sameEntries(const PhoneBookModel& a, const PhoneBookModel& b)
{
    for (int row = 0; row < PhoneBookModel::kMaxEntries; ++row) {
        const DialEntry& x = a.entry(row);
        const DialEntry& y = b.entry(row);
        if ((x.valid != 0) != (y.valid != 0))
            return false;
        if (x.valid && (std::strcmp(x.name, y.name) != 0 || std::strcmp(x.number, y.number) != 0 || x.ton != y.ton))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    static const fuzz::ScratchFile input("in.dia");
    static const fuzz::ScratchFile output("out.dia");
    input.write(std::span<const uint8_t>(data + 1, size - 1));
    const PromptAnswer answer = data[0] & 1 ? PromptAnswer::Yes : PromptAnswer::No;

    Window opened;
    opened.prompter.answer = answer;
    const Result result = opened.files.openFile(input.path());
    // A file cut inside a numbered line is a read error (57476), as a file that ends early is.
    check(result.messageId() != kDiaCannotOpen);
    checkEntries(opened.model);
    if (result && opened.model.capacity() > 0) {
        check(opened.files.saveFile(output.path(), 1, opened.model.capacity()).isOk());
        Window reopened;
        check(reopened.files.openFile(output.path()).isOk());
        check(sameEntries(opened.model, reopened.model));
    }

    // Added into a window that already holds entries (those of the file itself, when it opened).
    const int start = 1 + (data[0] >> 2) % PhoneBookModel::kMaxEntries;
    opened.model.setCapacity(PhoneBookModel::kMaxEntries);
    const Result added = opened.files.addFromFile(input.path(), start, (data[0] & 2) != 0);
    check(added.messageId() != kDiaCannotOpen);
    checkEntries(opened.model);
    return 0;
}
