#pragma once

// Answers the modal dialogs a test step opens: each queued action runs once on the application's
// active modal widget as soon as there is one, from a timer inside the dialog's own event loop.

#include <deque>
#include <functional>

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

namespace kestrel::test {

class ModalScript
{
public:
    using Action = std::function<void(QWidget* dialog)>;

    ModalScript()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
    }

    // Queues an action for the next modal dialog (the same dialog again when the previous action
    // left it open).
    void then(Action action)
    {
        m_actions.push_back(std::move(action));
        m_timer.start();
    }

    bool done() const { return m_actions.empty(); }
    int handled() const { return m_handled; }

private:
    void tick()
    {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible()) {
            m_idle = 0;
            if (m_actions.empty())
                m_timer.stop();
            return;
        }
        if (m_actions.empty()) {
            // A dialog the script has no answer for: fail instead of hanging the test program.
            if (++m_idle * m_timer.interval() >= kGiveUpMs) {
                ADD_FAILURE() << "modal dialog left open: " << dialog->objectName().toStdString();
                if (auto* d = qobject_cast<QDialog*>(dialog))
                    d->reject();
                else
                    dialog->close();
                m_idle = 0;
            }
            return;
        }
        m_idle = 0;
        Action action = std::move(m_actions.front());
        m_actions.pop_front();
        ++m_handled;
        action(dialog);
    }

    static constexpr int kGiveUpMs = 5000;
    int m_idle = 0;

    QTimer m_timer;
    std::deque<Action> m_actions;
    int m_handled = 0;
};

// The child of w with the given objectName and type; fails the test when there is none.
template <class T>
T* child(QWidget* w, const char* name)
{
    T* found = w ? w->findChild<T*>(QLatin1String(name)) : nullptr;
    EXPECT_NE(found, nullptr) << name;
    return found;
}

} // namespace kestrel::test
