#include "TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QPointer>
#include <QTimer>
#include <memory>

namespace TestSupport {

ScopedHome::ScopedHome() : previous(qgetenv("HOME"))
{
    qputenv("HOME", dir.path().toLocal8Bit());
}

ScopedHome::~ScopedHome()
{
    qputenv("HOME", previous);
}

void answerNextModal(std::function<void(QWidget *)> answer, int timeoutMs)
{
    auto remaining = std::make_shared<int>(timeoutMs);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [answer, remaining, poll]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal) {
            answer(modal);
            *poll = nullptr; // break the self-reference
            return;
        }
        *remaining -= 20;
        if (*remaining <= 0) {
            *poll = nullptr;
            return;
        }
        auto next = *poll;
        QTimer::singleShot(20, next);
    };
    auto first = *poll;
    QTimer::singleShot(0, first);
}

void pressOnNextModal(int standardButton, int timeoutMs)
{
    answerNextModal(
        [standardButton](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                if (QAbstractButton *b = box->button(QMessageBox::StandardButton(standardButton))) {
                    b->click();
                    return;
                }
            }
            if (auto *buttons = modal->findChild<QDialogButtonBox *>()) {
                if (QAbstractButton *b = buttons->button(QDialogButtonBox::StandardButton(standardButton))) {
                    b->click();
                    return;
                }
            }
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
        },
        timeoutMs);
}

void closeWindow(QWidget *window)
{
    QPointer<QWidget> guard(window);
    window->close();
    delete guard.data();
}

} // namespace TestSupport
