#pragma once

// Answers the modal dialogs a GUI test sets off: a timer that runs at every turn of whatever event
// loop is running (a dialog's exec, the progress window's processEvents) looks at the active modal
// widget and, when it is the one the next step waits for, carries the step out. A step that is not
// reached in time fails the test, and every modal window still open is then rejected so that the
// test program does not hang.

#include <deque>
#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

namespace kestrel::test {

class ModalDriver
{
public:
    using Action = std::function<void(QWidget*)>;
    using Condition = std::function<bool(QWidget*)>;

    explicit ModalDriver(int timeoutMs = 20000) : m_timeoutMs(timeoutMs)
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
    }
    ~ModalDriver() { m_timer.stop(); }

    // When the modal widget named `name` is active (and `when` holds), run `act` on it.
    ModalDriver& expect(const QString& name, Action act, Condition when = {})
    {
        m_steps.push_back(Step{name, std::move(act), std::move(when)});
        if (!m_timer.isActive()) {
            m_clock.start();
            m_timer.start();
        }
        return *this;
    }

    bool done() const { return m_steps.empty(); }
    // What each step saw, in order: the object names of the modal widgets acted on.
    const std::vector<QString>& seen() const { return m_seen; }

private:
    struct Step
    {
        QString name;
        Action act;
        Condition when;
    };

    void tick()
    {
        if (m_acting)
            return;
        if (m_steps.empty()) {
            m_timer.stop();
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        Step& step = m_steps.front();
        if (modal && modal->isVisible() && modal->objectName() == step.name && (!step.when || step.when(modal))) {
            const Step s = step;
            m_steps.pop_front();
            m_seen.push_back(s.name);
            m_clock.restart();
            // Acted on from a call of its own: an action that opens a further modal window (a
            // message box over a PIN dialog) blocks in that window's loop, where this timer, still
            // inside its own call, would never fire again.
            m_acting = true;
            QPointer<QWidget> target(modal);
            QTimer::singleShot(0, &m_timer, [this, s, target] {
                m_acting = false;
                m_clock.restart();
                if (target)
                    s.act(target);
            });
            return;
        }
        if (m_clock.elapsed() > m_timeoutMs) {
            ADD_FAILURE() << "no modal window " << step.name.toStdString() << " came; the active one is "
                          << (modal ? modal->objectName().toStdString() : std::string("none"));
            m_steps.clear();
            m_timer.stop();
            rejectAll();
        }
    }

    static void rejectAll()
    {
        for (int i = 0; i < 20; ++i) {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialog->reject();
            dialog->done(QDialog::Rejected);
        }
    }

    QTimer m_timer;
    QElapsedTimer m_clock;
    std::deque<Step> m_steps;
    std::vector<QString> m_seen;
    int m_timeoutMs;
    bool m_acting = false;
};

// Small actions.
inline ModalDriver::Action clickButton(const QString& name)
{
    return [name](QWidget* w) {
        auto* b = w->findChild<QAbstractButton*>(name);
        ASSERT_NE(b, nullptr) << name.toStdString();
        b->click();
    };
}

// A message box: records its text and icon, then presses the standard button.
inline ModalDriver::Action answerBox(QMessageBox::StandardButton button, QString* text = nullptr,
                                     QMessageBox::Icon* icon = nullptr)
{
    return [=](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        if (text)
            *text = box->text();
        if (icon)
            *icon = box->icon();
        QAbstractButton* b = box->button(button);
        ASSERT_NE(b, nullptr);
        b->click();
    };
}

// Types into the named line edits (in order of `values`) and presses OK.
inline ModalDriver::Action fillAndOk(std::vector<std::pair<QString, QString>> values)
{
    return [values](QWidget* w) {
        for (const auto& [name, value] : values) {
            auto* edit = w->findChild<QLineEdit*>(name);
            ASSERT_NE(edit, nullptr) << name.toStdString();
            edit->setText(value);
        }
        clickButton(QStringLiteral("okButton"))(w);
    };
}

// Chooses a file in a file dialog and accepts it. The dialog keeps a typed name from selectFile
// while its name field has the focus, so the focus goes first.
inline void pickFile(QWidget* widget, const QString& path)
{
    auto* dialog = qobject_cast<QFileDialog*>(widget);
    ASSERT_NE(dialog, nullptr);
    if (QWidget* focus = dialog->focusWidget())
        focus->clearFocus();
    dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept(); // QFileDialog keeps its override protected
}

// The text of a dialog's label.
inline QString labelText(QWidget* w, const QString& name)
{
    auto* label = w->findChild<QLabel*>(name);
    return label ? label->text() : QString();
}

} // namespace kestrel::test
