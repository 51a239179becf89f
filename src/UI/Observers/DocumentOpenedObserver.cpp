#include "DocumentOpenedObserver.h"

#include "Core/Operations/Document/OpenDocumentOperation.h"
#include "UI/MainWindow.h"
#include "UI/MainWindowPresenter.h"
#include "UI/Observers/DocumentSavedObserver.h"

#include <QFileDialog>

namespace Ui {
namespace Observers {

void DocumentOpenedObserver::update()
{
    using Core::Operations::OpenDocumentOperation;
    opened.clear();
    const QString path = OpenDocumentOperation::lastDocumentPath();
    auto *window = new MainWindow();
    Core::ApplicationModel &model = window->presenter().applicationModel();
    if (!Core::Operations::readDocument(model, path, &DocumentSavedObserver::showFailure)) {
        delete window; // the reason was shown; an empty window would only be in the way
        return;
    }
    model.markUnmodified();
    opened = window;
    window->setWindowTitle(QLatin1String(DocumentSavedObserver::kTitlePrefix) + model.scene().documentName());
    window->showMaximized();
}

Core::Operations::PathChooser DocumentOpenedObserver::openDialog(QWidget *parent)
{
    QPointer<QWidget> owner(parent);
    return [owner](const QString &startDirectory) {
        using Core::Operations::OpenDocumentOperation;
        return QFileDialog::getOpenFileName(owner.data(), QLatin1String(OpenDocumentOperation::kDialogCaption),
                                            startDirectory, QLatin1String(OpenDocumentOperation::kFileFilter));
    };
}

} // namespace Observers
} // namespace Ui
