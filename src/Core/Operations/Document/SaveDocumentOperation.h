#pragma once

#include "Core/Operations/Document/DocumentFiles.h"
#include "Core/Operations/Operation.h"

#include <QString>
#include <memory>

namespace Core {
namespace Operations {

// Saves the document under its current name, asking for a location only when it has none.
// Saving cannot be undone, so nothing goes on the undo stack.
class SaveDocumentOperation : public Operation {
public:
    static constexpr const char *kDialogCaption = "Choose location";
    static constexpr const char *kFileFilter = "Voxfab file (*.vxf)";

    explicit SaveDocumentOperation(ApplicationModel *model);

    void execute() override;
    void cancel() override;
    void finish() override;

    // Answers "where to save"; the interface shows a save dialog, tests answer directly.
    void setPathChooser(PathChooser chooser) { choosePath = std::move(chooser); }
    // Told after every attempt to write (it retitles the window).
    void setSavedObserver(std::shared_ptr<Util::IObserver> observer) { savedObserver = std::move(observer); }
    void setReporter(DocumentReporter reporter) { report = std::move(reporter); }

    QString path() const { return chosenPath; }

protected:
    SaveDocumentOperation(ApplicationModel *model, std::string name, uint32_t kind);

    QString askForPath() const;
    // Writes to the chosen path and tells the saved observer. Only a document that was written
    // counts as unmodified; after a failure the changes are still unsaved.
    void writeAndNotify();

    QString chosenPath;

private:
    PathChooser choosePath;
    DocumentReporter report;
    std::shared_ptr<Util::IObserver> savedObserver;
};

} // namespace Operations
} // namespace Core
