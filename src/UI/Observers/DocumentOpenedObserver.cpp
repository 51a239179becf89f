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
    auto *window = new MainWindow();
    opened = window;
    Core::ApplicationModel &model = window->presenter().applicationModel();
    Core::Operations::readDocument(model, OpenDocumentOperation::lastDocumentPath(),
                                   &DocumentSavedObserver::showFailure);
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
