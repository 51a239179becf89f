#include "DocumentSavedObserver.h"

#include "Core/ApplicationModel.h"
#include "Core/Operations/Document/SaveDocumentOperation.h"

#include <QFileDialog>
#include <QMessageBox>

namespace Ui {
namespace Observers {

void DocumentSavedObserver::update()
{
    if (window)
        window->setWindowTitle(QLatin1String(kTitlePrefix) + model->scene().documentName());
}

Core::Operations::PathChooser DocumentSavedObserver::saveDialog(QWidget *parent)
{
    QPointer<QWidget> owner(parent);
    return [owner](const QString &startDirectory) {
        using Core::Operations::SaveDocumentOperation;
        return QFileDialog::getSaveFileName(owner.data(), QLatin1String(SaveDocumentOperation::kDialogCaption),
                                            startDirectory, QLatin1String(SaveDocumentOperation::kFileFilter));
    };
}

void DocumentSavedObserver::showFailure(const QString &title, const QString &text)
{
    QMessageBox::information(nullptr, title, text, QMessageBox::Ok);
}

} // namespace Observers
} // namespace Ui
