#pragma once

#include <QByteArray>
#include <QTemporaryDir>
#include <functional>

class QWidget;

namespace TestSupport {

// Points HOME at a fresh empty folder for the lifetime of the object, then restores it.
class ScopedHome {
public:
    ScopedHome();
    ~ScopedHome();
    QString path() const { return dir.path(); }

private:
    QTemporaryDir dir;
    QByteArray previous;
};

// Answers the next modal widget (dialog or message box) that opens, from the event loop,
// by calling `answer` with it. Polls every 20 ms for up to `timeoutMs`.
void answerNextModal(std::function<void(QWidget *)> answer, int timeoutMs = 60000);

// Presses the standard button `button` (a QMessageBox::StandardButton / QDialogButtonBox value)
// of the next modal message box or dialog.
void pressOnNextModal(int standardButton, int timeoutMs = 60000);

// Closes a window that deletes itself on close and deletes it now, so that its model's scratch
// files go away before the test ends (no event loop runs the deferred delete in a test).
void closeWindow(QWidget *window);

} // namespace TestSupport
