#pragma once

#include <QString>

class QFile;

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

// Creates the catalogue folder when missing and opens `fileName` in it for writing (text mode,
// truncated). On failure logs the path and the reason, tagged with `function`, and returns false.
bool openCatalogueFileForWriting(QFile &file, const QString &fileName, const char *function);

} // namespace Model
