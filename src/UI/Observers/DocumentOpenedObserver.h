#pragma once

#include "Core/Operations/Document/DocumentFiles.h"
#include "Util/IObserver.h"

#include <QPointer>

namespace Ui {

class MainWindow;

namespace Observers {

// Opens the last chosen document in a new main window, with a model of its own, titled
// "Voxfab  " and the document's name and shown maximized; the document counts as unmodified.
// A file that cannot be opened or read is reported, and no window is left for it.
class DocumentOpenedObserver : public Util::IObserver {
public:
    void update() override;

    // The window the last update opened (null once it is closed, or when it opened none).
    MainWindow *openedWindow() const { return opened.data(); }

    // The open dialog: "Choose file" in the given folder, ".vxf" files.
    static Core::Operations::PathChooser openDialog(QWidget *parent);

private:
    QPointer<MainWindow> opened;
};

} // namespace Observers
} // namespace Ui
