#pragma once

// Answers a modal dialog that a test opens with exec(): the answer runs inside the dialog's own
// event loop, once a dialog of the expected type is the active modal widget. A dialog that never
// appears, or one still open after the answer, fails the test instead of hanging it.

#include <functional>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace kestrel::test {

template <typename Dialog>
void answerModal(std::function<void(Dialog*)> answer, int timeoutMs = 5000)
{
    auto* timer = new QTimer(qApp);
    auto waited = std::make_shared<int>(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, waited, answer = std::move(answer), timeoutMs] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
            // An answer that should have closed the dialog but did not must not hang the test.
            QTimer::singleShot(timeoutMs, dialog, [dialog] {
                if (dialog->isVisible() && QApplication::activeModalWidget() == dialog) {
                    ADD_FAILURE() << "the dialog stayed open after its answer";
                    dialog->reject();
                }
            });
            return;
        }
        *waited += timer->interval();
        if (*waited >= timeoutMs) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "the expected modal dialog did not appear";
            if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                other->reject();
        }
    });
    timer->start();
}

// Closes any modal dialog still open after timeoutMs and fails the test: for code that should not
// open one, or should close it by itself. Stopped when the returned guard goes.
class ModalGuard
{
public:
    explicit ModalGuard(int timeoutMs = 5000)
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                ADD_FAILURE() << "a modal dialog stayed open: " << dialog->windowTitle().toStdString();
                dialog->reject();
            }
        });
        m_timer.start(timeoutMs);
    }

private:
    QTimer m_timer;
};

} // namespace kestrel::test
