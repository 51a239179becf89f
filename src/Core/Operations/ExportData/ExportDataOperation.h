#pragma once

#include "Core/Operations/Operation.h"

#include <QString>

namespace Core {
namespace Operations {

// "Export Data": writes a particle count field of a chosen cell volume to a CSV file
// (CSVDataExporter). The options observer asks for the field and the file; without both the
// operation cancels. Exporting changes nothing, so it never goes on the undo stack.
class ExportDataOperation : public Operation {
public:
    explicit ExportDataOperation(ApplicationModel *model);

    // Takes the first selected volume, or the scene's only object when it is a volume, then
    // asks for the field and file and finishes; otherwise waits for a volume and Enter.
    void execute() override;
    void finish() override;
    void cancel() override;

    void setFileName(const QString &name) { fileName = name; }
    void setDataKey(const QString &key) { dataKey = key; }
    QString outputFileName() const { return fileName; }
    QString key() const { return dataKey; }

private:
    void takeVolume(const std::shared_ptr<Model::Automaton::TotalVolume> &chosen, const char *message);

    QString fileName;
    QString dataKey;
};

} // namespace Operations
} // namespace Core
