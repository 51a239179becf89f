#include "ProcessEditors.h"

#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDepositionOperation.h"
#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmEtchingOperation.h"
#include "Model/Materials/MaterialFactory.h"
#include "Model/Process/ProcessFactory.h"
#include "Engine/ProcessParameters.h"
#include "Engine/ProcessTypes.h"
#include "UI/Operations/CreateSubstrateDialog.h"
#include "UI/Operations/ElectroplatingDialog.h"
#include "UI/Operations/IsotropicDepositionDialog.h"
#include "UI/Operations/IsotropicEtchingDialog.h"
#include "Util/Vector3D.h"

#include <QDir>

namespace Ui {

namespace {

using Core::Operations::IsotropicFilmDepositionOperation;
using Core::Operations::IsotropicFilmEtchingOperation;

const QString kIdSuffix = QStringLiteral("_Id");
const QString kColorSuffix = QStringLiteral("_Color");
const QString kCorner = QStringLiteral("Lower Left Front Corner");
const QString kFilename = QStringLiteral("Filename");

std::vector<Model::Materials::Material> allMaterials()
{
    return Model::Materials::MaterialFactory::instance()->materials();
}

std::vector<Model::Materials::Material> materialsOfProcess(uint32_t processId)
{
    return Model::Process::ProcessFactory::instance()->process(processId).compatibleMaterialRecords();
}

template <class Dialog>
bool runOptionDialog(ProcessEditContext &context, Dialog &dialog, QVariantMap &values)
{
    dialog.loadParameters(values);
    if (!context.runDialog(dialog))
        return false;
    values = dialog.parameters();
    return true;
}

bool alwaysVisible(const QString &, const QVariantMap &)
{
    return true;
}

// The substrate dialog keeps the corner as three numbers; lists keep it as a vector.
bool editSubstrate(ProcessEditContext &context, uint32_t, QVariantMap &values)
{
    Operations::CreateSubstrateDialog dialog(context.parent);
    dialog.setMaterials(allMaterials());
    QVariantMap shown = values;
    if (values.value(kCorner).canConvert<Util::Vector3D>()) {
        const auto corner = values.value(kCorner).value<Util::Vector3D>();
        shown.insert(kCorner, QVariantList{corner.x, corner.y, corner.z});
    }
    if (!runOptionDialog(context, dialog, shown))
        return false;
    const QVariantList corner = shown.value(kCorner).toList();
    if (corner.size() == 3)
        shown.insert(kCorner, QVariant::fromValue(Util::Vector3D(corner[0].toDouble(), corner[1].toDouble(),
                                                                  corner[2].toDouble())));
    values = shown;
    return true;
}

// A box substrate lists its size and offset, a sphere its centre and radius.
bool substrateParameterVisible(const QString &name, const QVariantMap &values)
{
    const bool spherical = values.value(QStringLiteral("SphericalSubstrate")).toBool();
    if (name == QLatin1String("SphericalSubstrate"))
        return false;
    if (name.startsWith(QLatin1String("Substrate Size")) || name.startsWith(QLatin1String("Substrate Delta")))
        return !spherical;
    if (name.startsWith(QLatin1String("Substrate Center")) || name == QLatin1String("Substrate Radius"))
        return spherical;
    return true;
}

bool editIsotropicDeposition(ProcessEditContext &context, uint32_t type, QVariantMap &values)
{
    Operations::IsotropicDepositionDialog dialog(context.parent);
    const bool cvd = type == Engine::CvdType;
    dialog.setThicknessParameter(cvd ? QStringLiteral("Thickness") : QStringLiteral("Film Thickness"));
    dialog.setMaterialChoices(materialsOfProcess(cvd ? IsotropicFilmDepositionOperation::kCvdProcess
                                                     : IsotropicFilmDepositionOperation::kIsotropicDepositionProcess));
    return runOptionDialog(context, dialog, values);
}

bool editIsotropicEtching(ProcessEditContext &context, uint32_t, QVariantMap &values)
{
    Operations::IsotropicEtchingDialog dialog(context.parent);
    dialog.setMaterialChoices(materialsOfProcess(IsotropicFilmEtchingOperation::kEtchingProcess));
    return runOptionDialog(context, dialog, values);
}

bool editElectroplating(ProcessEditContext &context, uint32_t, QVariantMap &values)
{
    Operations::ElectroplatingDialog dialog(context.parent);
    const auto materials = allMaterials();
    dialog.setMaterialChoices(materials);
    dialog.setConductingMaterialChoices(materials);
    return runOptionDialog(context, dialog, values);
}

bool editSaveImage(ProcessEditContext &context, uint32_t, QVariantMap &values)
{
    QString start = values.value(kFilename).toString();
    if (start.isEmpty())
        start = QDir::homePath();
    const QString name = context.chooseFile(context.parent, ProcessEditContext::FileMode::Save,
                                            QStringLiteral("Save Image"), start,
                                            QStringLiteral("Image Files (*.png *.jpg *.bmp)"));
    if (name.isEmpty())
        return false;
    values = {{kFilename, name}};
    return true;
}

const ProcessEditor kEditors[] = {
    {Engine::CvdType, &editIsotropicDeposition, &alwaysVisible, false},
    {Engine::IsotropicEtchingType, &editIsotropicEtching, &alwaysVisible, false},
    {Engine::ElectroplatingType, &editElectroplating, &alwaysVisible, false},
    {Engine::SaveImageType, &editSaveImage, &alwaysVisible, false},
    {Engine::CreateSubstrateType, &editSubstrate, &substrateParameterVisible, false},
    {Engine::IsotropicDepositionType, &editIsotropicDeposition, &alwaysVisible, false},
};

// The name and colour of a material that the values also give by id come from the catalogue.
bool isMaterialCompanion(const QString &name, const QVariantMap &values)
{
    if (values.contains(name + kIdSuffix))
        return true;
    return name.endsWith(kColorSuffix) && values.contains(name.chopped(kColorSuffix.size()) + kIdSuffix);
}

} // namespace

const ProcessEditor *processEditor(uint32_t type)
{
    for (const ProcessEditor &editor : kEditors)
        if (editor.type == type)
            return &editor;
    return nullptr;
}

Engine::ProcessData makeProcessStep(const ProcessEditor &editor, uint32_t type, const QVariantMap &values)
{
    Engine::ProcessData step(type);
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const QString &name = it.key();
        if (name.endsWith(kIdSuffix))
            Engine::addMaterialParameters(step, name.chopped(kIdSuffix.size()), it.value().toUInt(), editor.materialIdVisible);
        else if (!isMaterialCompanion(name, values))
            step.addProcessParameter(name, it.value(), editor.isVisible(name, values));
    }
    return step;
}

bool modifyProcessStep(ProcessEditContext &context, Engine::ProcessData &step)
{
    const ProcessEditor *editor = processEditor(step.processType());
    if (!editor)
        return false;
    QVariantMap values = step.parameters();
    if (!editor->edit(context, step.processType(), values))
        return false;
    const Engine::ProcessData edited = makeProcessStep(*editor, step.processType(), values);
    for (auto it = edited.parameters().cbegin(); it != edited.parameters().cend(); ++it) {
        if (step.hasParameter(it.key()))
            step.setProcessParameter(it.key(), it.value());
        else
            step.addProcessParameter(it.key(), it.value(), edited.getParameterVisibility(it.key()));
    }
    return true;
}

} // namespace Ui
