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

} // namespace TestSupport
