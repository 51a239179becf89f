#include "ProcessOptionsDialog.h"

#include "MaterialChooser.h"
#include "Engine/ProcessParameterNames.h"
#include "Model/Materials/MaterialFactory.h"
#include "Model/Process/ProcessFactory.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QSpinBox>

namespace Ui {
namespace Operations {

ProcessOptionsDialog::ProcessOptionsDialog(QWidget *parent) : QDialog(parent) {}

ProcessOptionsDialog::~ProcessOptionsDialog() = default;

QVariantMap ProcessOptionsDialog::parameters() const
{
    QVariantMap values;
    for (const Field &field : fields)
        values.insert(field.name, field.read());
    return values;
}

void ProcessOptionsDialog::loadParameters(const QVariantMap &values)
{
    for (const Field &field : fields)
        if (field.write && values.contains(field.name))
            field.write(values.value(field.name));
}

std::vector<Model::Materials::Material> ProcessOptionsDialog::allMaterials()
{
    return Model::Materials::MaterialFactory::instance()->materials();
}

std::vector<Model::Materials::Material> ProcessOptionsDialog::materialsOfProcess(uint32_t processId)
{
    return Model::Process::ProcessFactory::instance()->process(processId).compatibleMaterialRecords();
}

void ProcessOptionsDialog::connectButtons(QDialogButtonBox *buttons)
{
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void ProcessOptionsDialog::bind(const QString &name, Reader read, Writer write)
{
    fields.push_back({name, std::move(read), std::move(write)});
}

void ProcessOptionsDialog::bindLength(const QString &name, QDoubleSpinBox *box)
{
    bind(name, [box] { return QVariant(box->value()); }, [box](const QVariant &v) { box->setValue(v.toDouble()); });
}

void ProcessOptionsDialog::bindSingleLength(const QString &name, QDoubleSpinBox *box)
{
    bind(name, [box] { return QVariant(float(box->value())); },
         [box](const QVariant &v) { box->setValue(v.toDouble()); });
}

void ProcessOptionsDialog::bindCount(const QString &name, QSpinBox *box)
{
    bind(name, [box] { return QVariant(uint32_t(box->value())); },
         [box](const QVariant &v) { box->setValue(v.toInt()); });
}

void ProcessOptionsDialog::bindFlag(const QString &name, QAbstractButton *button)
{
    bind(name, [button] { return QVariant(button->isChecked()); },
         [button](const QVariant &v) { button->setChecked(v.toBool()); });
}

void ProcessOptionsDialog::bindMaterial(const QString &base, QComboBox *chooser,
                                        const std::vector<Model::Materials::Material> &choices)
{
    fillMaterialChooser(chooser, choices);
    bind(Engine::Parameters::idOf(base), [chooser] { return QVariant(chosenMaterialId(chooser)); },
         [chooser](const QVariant &v) { chooseMaterial(chooser, v.toUInt()); });
}

void ProcessOptionsDialog::renameParameter(const QString &from, const QString &to)
{
    for (Field &field : fields)
        if (field.name == from)
            field.name = to;
}

} // namespace Operations
} // namespace Ui
