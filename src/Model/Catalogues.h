#pragma once

#include <QString>
#include <functional>

class QSaveFile;
class QXmlStreamReader;
class QXmlStreamWriter;

namespace Model {

// Loads the material and process catalogues from the folder "Voxfab" under the home directory,
// falling back to the built-in tables, and writes both files back. Call once from main (and from
// the test main) before the first window; never from a static constructor, whose order cannot
// be controlled. A home folder that cannot be written keeps the catalogues in memory only.
void initializeCatalogues();

// The catalogue folder's name under the home directory.
constexpr const char *kCatalogueFolderName = "Voxfab";

// The path of `fileName` in the catalogue folder, or an empty string when the folder does not
// exist. The home directory is looked up at each call.
QString catalogueFilePath(const QString &fileName);

// Creates the catalogue folder when missing and opens `fileName` in it for writing (text mode).
// The file is written beside its target and replaces it only on commit, so an interrupted write
// leaves the previous catalogue whole. On failure logs the path and the reason, tagged with
// `function`, and returns false.
bool openCatalogueFileForWriting(QSaveFile &file, const QString &fileName, const char *function);

// Reads the catalogue file `fileName`: its root element must be `root`; then `begin` is called
// once and `readEntry` on every start element below the root. False when the file is missing,
// unreadable, has another root, or is not well-formed XML (the reason goes to the debug log).
// A file that exists but is malformed is kept as `fileName` + ".broken" (replacing an older
// one) before the caller writes the defaults over it.
bool readCatalogueFile(const QString &fileName, const char *root, const std::function<void()> &begin,
                       const std::function<void(QXmlStreamReader &)> &readEntry, const char *function);

// Writes the catalogue file `fileName` atomically (auto-formatted XML, root element `root`,
// entries from `writeEntries`). False, with the reason in the debug log, when it cannot be
// written; the previous file then stays as it was.
bool writeCatalogueFile(const QString &fileName, const char *root,
                        const std::function<void(QXmlStreamWriter &)> &writeEntries, const char *function);

} // namespace Model
