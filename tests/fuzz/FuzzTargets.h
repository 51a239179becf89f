#pragma once

// The readers of every file a user can hand Voxfab, each fed raw bytes as if they were a file
// on disk. A reader may refuse its input or accept it, but an accepted input must be a valid
// result (checked here) and nothing may crash or hang. Shared by the CTest fuzz driver and the
// libFuzzer programs.

#include <QByteArray>
#include <QString>

namespace Fuzz {

struct Verdict {
    bool accepted = false;
    QString broken; // non-empty: the reader's result breaks an invariant, and this says how
};

enum class Reader { Document, ProcessList, MaterialCatalogue, ProcessCatalogue };
constexpr Reader kReaders[] = {Reader::Document, Reader::ProcessList, Reader::MaterialCatalogue,
                               Reader::ProcessCatalogue};

const char *readerName(Reader reader);

// Needs a Q(Core)Application and HOME pointed at a scratch folder (the catalogue readers read
// from there). Puts the catalogues back to their defaults afterwards.
Verdict feed(Reader reader, const QByteArray &bytes);

} // namespace Fuzz
