#pragma once

#include "Core/Operations/Document/DocumentFiles.h"
#include "Core/Operations/Operation.h"

#include <QString>
#include <memory>

namespace Core {
namespace Operations {

// Asks for a document and has its opened observer show it in a new main window; the scene of
// the window it was started from is never replaced. The last chosen path and folder are
// shared by all windows of the process.
class OpenDocumentOperation : public Operation {
public:
    static constexpr const char *kDialogCaption = "Choose file";
    static constexpr const char *kFileFilter = "Voxfab file (*.vxf)";

    explicit OpenDocumentOperation(ApplicationModel *model);

    void execute() override;
    void cancel() override;
    void finish() override;

    void setPathChooser(PathChooser chooser) { choosePath = std::move(chooser); }
    // Opens the chosen document (the interface: in a new main window).
    void setOpenedObserver(std::shared_ptr<Util::IObserver> observer) { openedObserver = std::move(observer); }

    static QString lastDocumentPath();
    // Where the next open dialog starts: the folder of the last chosen document, at first home.
    static QString lastDirectory();
    static void setLastDocumentPath(const QString &path);

private:
    PathChooser choosePath;
    std::shared_ptr<Util::IObserver> openedObserver;
};

} // namespace Operations
} // namespace Core
