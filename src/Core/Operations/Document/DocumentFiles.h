#pragma once

#include <QString>
#include <functional>

namespace Core {

class ApplicationModel;

namespace Operations {

// Shows a failure to the user: a box title and its text. The interface supplies one; without
// it failures are only logged.
using DocumentReporter = std::function<void(const QString &title, const QString &text)>;
// Asks the user for a file, starting in `startDirectory`; empty when the user declines.
using PathChooser = std::function<QString(const QString &startDirectory)>;

// Writes the model's scene to `path`. A file that cannot be created, written or put in place
// is reported as "Error writing to file" with the reason, and the previous file stays as it
// was. True when the document was written.
bool writeDocument(ApplicationModel &model, const QString &path, const DocumentReporter &report);

// Reads the document at `path` into the model, posts each of the reader's warnings as a
// console line of that model (the console of the window that shows the document) and
// refreshes the views. A file that is not a readable document is reported as
// "Error reading from file" with the reason, and the scene stays as it was. True when read.
bool readDocument(ApplicationModel &model, const QString &path, const DocumentReporter &report);

} // namespace Operations
} // namespace Core
