#include "ProgressLine.h"

#include <algorithm>
#include <unistd.h>

namespace Batch {

namespace {
constexpr int kBarWidth = 30; // characters
}

ProgressLine::ProgressLine(FILE *bar, int total) : bar(bar), total(std::max(total, 0)), shown(isatty(fileno(bar)) != 0)
{
}

ProgressLine::~ProgressLine()
{
    finish();
}

void ProgressLine::setProgress(int completed, const QString &next)
{
    done = completed;
    nextStep = next;
}

void ProgressLine::redraw()
{
    if (!shown)
        return;
    erase();
    draw();
}

void ProgressLine::print(FILE *stream, const QString &line)
{
    if (shown)
        erase();
    std::fputs(line.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
    if (shown)
        draw();
}

void ProgressLine::finish()
{
    if (!shown)
        return;
    erase();
    shown = false;
}

// Carriage return, then "erase to the end of the line".
void ProgressLine::erase()
{
    std::fputs("\r\033[K", bar);
    std::fflush(bar);
}

void ProgressLine::draw()
{
    const int filled = total > 0 ? std::min(kBarWidth, done * kBarWidth / total) : kBarWidth;
    QString text = QStringLiteral("[%1%2] %3/%4")
                       .arg(QString(filled, QLatin1Char('#')), QString(kBarWidth - filled, QLatin1Char(' ')))
                       .arg(done)
                       .arg(total);
    if (!nextStep.isEmpty())
        text += QStringLiteral("  ") + nextStep;
    std::fputs(text.toLocal8Bit().constData(), bar);
    std::fflush(bar);
}

} // namespace Batch
