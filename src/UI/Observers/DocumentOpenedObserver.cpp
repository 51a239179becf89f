#include "DocumentOpenedObserver.h"

#include "Core/Operations/Document/OpenDocumentOperation.h"
#include "Model/Persistence/DocumentReader.h"
#include "UI/MainWindow.h"
#include "UI/MainWindowPresenter.h"
#include "UI/Observers/DocumentSavedObserver.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

namespace Ui {
namespace Observers {

namespace {

// A file that cannot even be opened is explained before any window is made for it.
bool canBeOpened(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        return true;
    DocumentSavedObserver::showFailure(QLatin1String(Model::Persistence::DocumentReader::kErrorTitle),
                                       QStringLiteral("The file %1 could not be opened: %2.")
                                           .arg(QDir::toNativeSeparators(path), file.errorString()));
    return false;
}

} // namespace

void DocumentOpenedObserver::update()
{
    using Core::Operations::OpenDocumentOperation;
    opened.clear();
    const QString path = OpenDocumentOperation::lastDocumentPath();
    if (!canBeOpened(path))
        return;
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
