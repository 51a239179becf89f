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

namespace {

// Polls for the next modal widget and answers it once. It belongs to the application, so a poll
// still waiting when the test ends (no modal came) goes with it, pending calls included.
class ModalPoll : public QObject {
public:
    ModalPoll(std::function<void(QWidget *)> answer, int timeoutMs)
        : QObject(qApp), answer(std::move(answer)), remaining(timeoutMs)
    {
        QTimer::singleShot(0, this, [this] { poll(); });
    }

private:
    static constexpr int kPollMs = 20;

    void poll()
    {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            deleteLater();
            answer(modal);
            return;
        }
        remaining -= kPollMs;
        if (remaining <= 0) {
            deleteLater();
            return;
        }
        QTimer::singleShot(kPollMs, this, [this] { poll(); });
    }

    std::function<void(QWidget *)> answer;
    int remaining;
};

} // namespace

void answerNextModal(std::function<void(QWidget *)> answer, int timeoutMs)
{
    new ModalPoll(std::move(answer), timeoutMs);
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
