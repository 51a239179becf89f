#pragma once

#include <QString>

namespace Ui {

// Captions and filters that more than one file dialog shows: one text each, so that the dialogs
// that pick the same kind of file always read the same.
namespace FileDialogTexts {

inline QString processListCaption() { return QStringLiteral("Process List File"); }
inline QString processListFilter() { return QStringLiteral("Process List (*.plst)"); }
inline QString maskCaption() { return QStringLiteral("Choose Mask File"); }
inline QString imageFilter() { return QStringLiteral("Image Files (*.png *.jpg *.bmp)"); }

} // namespace FileDialogTexts
} // namespace Ui
