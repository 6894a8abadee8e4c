// Whole .SMS and .SMA message files from arbitrary bytes, through the SMS window's Open File
// (SmsMessageFiles over an SmsListModel).
//
// Input: the file.
//
// Every message the window holds afterwards must fit an SMS entry and be one the file format can
// describe; a file opened whole must save as a message file and as an archive file that open
// again to the same messages.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include <QBuffer>
#include <QSettings>

#include "FuzzSupport.h"
#include "app/AppState.h"
#include "app/Prompter.h"
#include "codec/DialDigits.h"
#include "codec/SmsTime.h"
#include "sms/SmsListModel.h"
#include "sms/SmsMessageFiles.h"

using namespace kestrel;
using fuzz::check;

namespace {

struct Window
{
    fuzz::AnsweringPrompter prompter;
    SmsListModel model{fuzz::scratchAppState(), prompter};
    SmsMessageFiles files{model};
};

template <std::size_t N>
std::size_t length(const char (&field)[N])
{
    const std::size_t n = ::strnlen(field, N);
    check(n < N);
    return n;
}

void checkNumber(const char (&number)[kSmsNumberSize], uint8_t ton)
{
    length(number);
    check(IsValidDialNumber(number) && std::strchr(number, '+') == nullptr);
    check(ton <= 1);
}

void checkMessages(const SmsListModel& model)
{
    check(model.rowCount() == SmsListModel::kRows); // a new window has 99 rows, and a file adds none
    for (int row = 0; row < SmsListModel::kRows; ++row) {
        const SmsEntry& e = model.entry(row);
        check(e.position == row);
        if (!e.valid)
            continue;
        length(e.text);
        checkNumber(e.scNumber, e.scTon);
        checkNumber(e.number, e.numberTon);
        SmsTime time;
        check(length(e.when) > 0 && ParseSmsTime(e.when, time));
        check(e.status >= 0 && e.status <= 3 && e.modified == 1);
    }
}

// The used rows in row order, positions aside (an archive numbers them afresh).
std::vector<const SmsEntry*> used(const SmsListModel& model)
{
    std::vector<const SmsEntry*> rows;
    for (const SmsEntry& e : model.entries())
        if (e.valid)
            rows.push_back(&e);
    return rows;
}

bool sameMessages(const SmsListModel& a, const SmsListModel& b, bool positions)
{
    const std::vector<const SmsEntry*> x = used(a);
    const std::vector<const SmsEntry*> y = used(b);
    if (x.size() != y.size())
        return false;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const SmsEntry& p = *x[i];
        const SmsEntry& q = *y[i];
        if ((positions && p.position != q.position) || std::strcmp(p.text, q.text) != 0 ||
            std::strcmp(p.scNumber, q.scNumber) != 0 || std::strcmp(p.number, q.number) != 0 ||
            std::strcmp(p.when, q.when) != 0 || p.scTon != q.scTon || p.numberTon != q.numberTon ||
            p.status != q.status || p.messageRef != q.messageRef)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static const fuzz::ScratchFile messages("out.sms");
    static const fuzz::ScratchFile archive("out.sma");
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer input(&bytes);
    check(input.open(QIODevice::ReadOnly));

    Window opened;
    const Result result = opened.files.readFrom(input);
    check(result || result.messageId() == kSmsSyntaxError || result.messageId() == kSmsReadError);
    checkMessages(opened.model);
    if (!result)
        return 0;

    check(opened.files.saveFile(messages.path()).isOk());
    Window reopened;
    check(reopened.files.openFile(messages.path()).isOk());
    check(sameMessages(opened.model, reopened.model, true));

    archive.write({});
    check(opened.files.appendToArchive(archive.path()).isOk());
    Window fromArchive;
    check(fromArchive.files.openFile(archive.path()).isOk());
    check(sameMessages(opened.model, fromArchive.model, false));
    return 0;
}
