#include "CommandConsole.h"

#include "ConsoleObserver.h"
#include "Core/Operations/InputRequest.h"
#include "Model/ColorTable.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QTextCursor>
#include <QVBoxLayout>

namespace Ui {
namespace Console {

namespace {

constexpr int kInnerMargin = 10; // pixels between the window's edges and the form

QColor toQColor(const Util::Vector4D &c)
{
    return QColor::fromRgbF(c.x, c.y, c.z, c.w);
}

} // namespace

CommandConsole::CommandConsole(QWidget *parent, Qt::WindowFlags flags,
                               Core::Operations::InputRequest *request)
    : QWidget(parent, flags), inputRequest(request)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("CommandConsoleForm"));
    resize(kWidth, kHeight);
    setWindowTitle(QStringLiteral("Console"));

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(kInnerMargin, kInnerMargin, kInnerMargin, kInnerMargin);
    auto *form = new QWidget(this);
    form->setObjectName(QStringLiteral("consoleContents"));
    outer->addWidget(form);

    auto *layout = new QVBoxLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    outputArea = new QPlainTextEdit(form);
    outputArea->setObjectName(QStringLiteral("txtConsoleOutput"));
    outputArea->setFocusPolicy(Qt::NoFocus);
    outputArea->setAcceptDrops(false);
    outputArea->setAutoFillBackground(true);
    outputArea->setReadOnly(true);
    outputArea->setBackgroundVisible(false);
    inputLine = new QLineEdit(form);
    inputLine->setObjectName(QStringLiteral("lneConsoleInput"));
    layout->addWidget(outputArea);
    layout->addWidget(inputLine);

    auto *up = new QShortcut(QKeySequence(Qt::Key_Up), this);
    connect(up, &QShortcut::activated, this, &CommandConsole::upArrowPressed);
    auto *down = new QShortcut(QKeySequence(Qt::Key_Down), this);
    connect(down, &QShortcut::activated, this, &CommandConsole::downArrowPressed);

    observer = std::make_shared<ConsoleObserver>(inputRequest);
    inputRequest->addObserver(observer);
    connect(observer.get(), &ConsoleObserver::messageWritten, this, &CommandConsole::writeMessage);

    connect(inputLine, &QLineEdit::returnPressed, this, &CommandConsole::enterPressed);
    applyColors();
}

CommandConsole::~CommandConsole()
{
    // The request outlives nothing here but may still notify the observer; cut the link.
    if (observer)
        disconnect(observer.get(), nullptr, this, nullptr);
}

void CommandConsole::applyColors()
{
    auto &colors = Model::ColorTable::instance();
    QPalette palette = outputArea->palette();
    palette.setColor(QPalette::Base, toQColor(colors.color(Model::ColorTable::ConsoleBackgroundColor)));
    palette.setColor(QPalette::Window, toQColor(colors.color(Model::ColorTable::ConsoleBackgroundColor)));
    palette.setColor(QPalette::Text, toQColor(colors.color(Model::ColorTable::ConsoleTextColor)));
    outputArea->setPalette(palette);
}

void CommandConsole::enterPressed()
{
    const QString text = inputLine->text();
    if (!text.isEmpty()) {
        entries.prepend(text);
        historyPosition = 0;
        outputArea->appendPlainText(text);
        inputLine->clear();
    }
    inputRequest->submit(text.toStdString());
}

void CommandConsole::upArrowPressed()
{
    if (historyPosition == historyEnd())
        return;
    inputLine->setText(entries.at(historyPosition));
    ++historyPosition;
    if (historyPosition == historyEnd())
        historyPosition = historyEnd() - 1; // stay on the oldest line
}

void CommandConsole::downArrowPressed()
{
    if (historyPosition == historyEnd())
        return;
    inputLine->setText(entries.at(historyPosition));
    if (historyPosition == 0)
        inputLine->clear();
    else
        --historyPosition;
}

void CommandConsole::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    scrollToNewestLine();
    // Lines appended while hidden are laid out only now; scroll again once that is done.
    QMetaObject::invokeMethod(this, &CommandConsole::scrollToNewestLine, Qt::QueuedConnection);
}

void CommandConsole::scrollToNewestLine()
{
    outputArea->moveCursor(QTextCursor::End);
    outputArea->ensureCursorVisible();
    QScrollBar *bar = outputArea->verticalScrollBar();
    bar->setValue(bar->maximum());
}

void CommandConsole::writeMessage(QString message)
{
    outputArea->appendPlainText(message);
}

} // namespace Console
} // namespace Ui
