#pragma once

#include "Model/Materials/Material.h"

#include <QDialog>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <cstdint>
#include <functional>
#include <vector>

class QAbstractButton;
class QComboBox;
class QDialogButtonBox;
class QDoubleSpinBox;
class QSpinBox;

namespace Ui {
namespace Operations {

// What the option dialogs of the process steps share. A dialog sets up its Designer form,
// connects its button box here and binds each field to the name its value has in process lists
// (Engine/ProcessParameterNames.h); parameters() and loadParameters() then work from the
// bindings, for the batch dialog's add and modify.
//
// The options observer (Observers::ProcessOptionsObserver) asks two more members of a dialog,
// which the dialog declares for its own operation class:
//   void applyTo(Operation &) const         hands the accepted values to the operation;
//   void offerChoicesFor(const Operation &) fills the choices that depend on the operation
//                                           (inherited as a no-op by dialogs whose choices
//                                           are the same for every operation of their step).
class ProcessOptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProcessOptionsDialog(QWidget *parent = nullptr);
    ~ProcessOptionsDialog() override;

    // The values under their process-list names.
    QVariantMap parameters() const;
    // Sets the fields whose names `values` holds, in the order the fields were bound (a field
    // whose limits depend on another is bound after it); the other fields keep their values.
    void loadParameters(const QVariantMap &values);

    template <class Operation>
    void offerChoicesFor(const Operation &)
    {
    }

    // The material lists the dialogs offer: the whole catalogue, or the materials that the
    // process catalogue allows for one process.
    static std::vector<Model::Materials::Material> allMaterials();
    static std::vector<Model::Materials::Material> materialsOfProcess(uint32_t processId);

protected:
    using Reader = std::function<QVariant()>;
    using Writer = std::function<void(const QVariant &)>;

    // OK accepts (through accept(), which a dialog may override to refuse), Cancel rejects.
    void connectButtons(QDialogButtonBox *buttons);

    // A field under `name`: how to read its value, and how to set it (none for a value that is
    // only written, such as a material's name beside its id).
    void bind(const QString &name, Reader read, Writer write = nullptr);
    // A thickness, depth or other length: the box's value as a double.
    void bindLength(const QString &name, QDoubleSpinBox *box);
    // A length that process lists keep in single precision (the doping steps).
    void bindSingleLength(const QString &name, QDoubleSpinBox *box);
    // A count or a size in cells: the box's value as an unsigned number.
    void bindCount(const QString &name, QSpinBox *box);
    // A yes/no choice: the button's checked state.
    void bindFlag(const QString &name, QAbstractButton *button);
    // A material chooser offering `choices`, under "<base>_Id".
    void bindMaterial(const QString &base, QComboBox *chooser,
                      const std::vector<Model::Materials::Material> &choices);
    // Gives a bound field another name (a dialog that serves steps naming a value differently).
    void renameParameter(const QString &from, const QString &to);

private:
    struct Field {
        QString name;
        Reader read;
        Writer write;
    };
    std::vector<Field> fields;
};

} // namespace Operations
} // namespace Ui
