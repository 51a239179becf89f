#pragma once

#include "Core/Operations/Document/DocumentFiles.h"
#include "Util/IObserver.h"

#include <QPointer>
#include <QWidget>

namespace Core {
class ApplicationModel;
}

namespace Ui {
namespace Observers {

// After a save, titles the window "Voxfab  " and the document's name.
class DocumentSavedObserver : public Util::IObserver {
public:
    static constexpr const char *kTitlePrefix = "Voxfab  ";

    DocumentSavedObserver(QWidget *window, Core::ApplicationModel *model) : window(window), model(model) {}
    void update() override;

    // The save dialog: "Choose location" in the given folder, ".vxf" files.
    static Core::Operations::PathChooser saveDialog(QWidget *parent);
    // Shows a failure in an information box with one OK button and no parent.
    static void showFailure(const QString &title, const QString &text);

private:
    QPointer<QWidget> window;
    Core::ApplicationModel *model;
};

} // namespace Observers
} // namespace Ui
