#pragma once

#include <QString>
#include <cstdio>

namespace Batch {

// A progress bar on one line of a terminal: "[#####     ] 3/6  next: CVD". It is drawn only
// when the stream is a terminal, so that logs and pipes get the step lines alone. Other output
// to the same terminal goes through print(), which lifts the bar out of the way first.
class ProgressLine {
public:
    ProgressLine(FILE *bar, int total);
    ~ProgressLine();

    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;

    bool isShown() const { return shown; }
    // `completed` steps are done; `next` names the step that runs now (empty at the end).
    // Shown at the next print() or redraw().
    void setProgress(int completed, const QString &next);
    void redraw();
    // Writes `line` and a newline to `stream`, keeping the bar below it.
    void print(FILE *stream, const QString &line);
    // Removes the bar for good.
    void finish();

private:
    void erase();
    void draw();

    FILE *bar;
    int total;
    bool shown;
    int done = 0;
    QString nextStep;
};

} // namespace Batch
