#include "sim/CardProgress.h"

#include "base/StringTable.h"
#include "sim/ProgressSink.h"

namespace kestrel {

namespace {

// A percentage above 100 leaves the bar where it is.
constexpr int kBarStays = 101;

} // namespace

CardProgress::~CardProgress()
{
    endProgress(true);
}

bool CardProgress::beginProgress(ProgressSink* parent, int textId, int titleId)
{
    m_parent = parent;
    if (m_window) {
        ++m_nesting;
    } else {
        if (!parent || !parent->open())
            return false;
        m_window = parent;
        m_cancelRequested = false;
        m_nesting = 0;
        m_text = QStringLiteral("xxxxxxxxx");
    }
    if (titleId != 0)
        m_window->setCaption(StringTable::text(titleId));
    if (textId != 0)
        showProgressText(textId, kBarStays);
    return true;
}

void CardProgress::endProgress(bool force)
{
    if (!m_window)
        return;
    if (m_nesting == 0 || force) {
        ProgressSink* window = m_window;
        m_window = nullptr;
        m_nesting = 0;
        window->close();
    } else {
        --m_nesting;
    }
}

bool CardProgress::showProgressText(int textId, int percent)
{
    return showProgress(textId == 0 ? QString() : StringTable::text(textId), percent);
}

bool CardProgress::showProgress(const QString& text, int percent)
{
    if (!m_window)
        return true;
    m_text = text;
    m_window->setText(text);
    if (percent <= 100)
        m_window->setPercent(percent);
    if (m_window->processEvents())
        m_cancelRequested = true;
    return !m_cancelRequested;
}

bool CardProgress::showProgressItem(int textId, unsigned i, unsigned n, bool writeLoop)
{
    int percent = 0;
    if (n > 0)
        percent = static_cast<int>(100ull * (writeLoop ? (i > 0 ? i - 1 : 0) : i) / n);
    return showProgress(itemText(textId, i, n), percent);
}

QString CardProgress::itemText(int textId, unsigned i, unsigned n)
{
    QString text = StringTable::text(textId);
    const QString first = QString::number(i);
    const QString second = QString::number(n);
    const qsizetype a = text.indexOf(QStringLiteral("%u"));
    if (a >= 0) {
        text.replace(a, 2, first);
        const qsizetype b = text.indexOf(QStringLiteral("%u"), a + first.size());
        if (b >= 0)
            text.replace(b, 2, second);
    }
    return text;
}

} // namespace kestrel
