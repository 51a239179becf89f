#pragma once

#include <QStringList>
#include <QWidget>
#include <memory>

class QLineEdit;
class QPlainTextEdit;

namespace Core {
namespace Operations {
class InputRequest;
}
}

namespace Ui {
namespace Console {

class ConsoleObserver;

// The floating console: every operation message appears here, one per line, and each line
// the user enters (or a bare Enter) goes to the input request. Up and Down walk the history.
class CommandConsole : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 140;

    CommandConsole(QWidget *parent, Qt::WindowFlags flags, Core::Operations::InputRequest *request);
    ~CommandConsole() override;

    QPlainTextEdit *output() const { return outputArea; }
    QLineEdit *input() const { return inputLine; }
    QStringList history() const { return entries; }

    // Takes the console colours of the colour table's current set.
    void applyColors();

public slots:
    void enterPressed();
    void upArrowPressed();
    void downArrowPressed();
    void writeMessage(QString message);

protected:
    // Shown again, the console shows its newest line, wherever it was scrolled to before.
    void showEvent(QShowEvent *event) override;

private:
    void scrollToNewestLine();
    int historyEnd() const { return entries.size(); }

    QPlainTextEdit *outputArea = nullptr;
    QLineEdit *inputLine = nullptr;
    QStringList entries; // newest first
    int historyPosition = 0;
    Core::Operations::InputRequest *inputRequest;
    std::shared_ptr<ConsoleObserver> observer;
};

} // namespace Console
} // namespace Ui
