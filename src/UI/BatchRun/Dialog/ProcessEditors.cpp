#include "ProcessEditors.h"

#include "Core/Operations/IsotropicFilmDeposition/IsotropicFilmDepositionOperation.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/ProcessParameters.h"
#include "Engine/ProcessTypes.h"
#include "UI/FileDialogTexts.h"
#include "UI/LastFolders.h"
#include "UI/Operations/AnisotropicDepositionDialog.h"
#include "UI/Operations/AnisotropicEtchingDialog.h"
#include "UI/Operations/CreateSubstrateDialog.h"
#include "UI/Operations/DopingDialog.h"
#include "UI/Operations/IonImplantationDialog.h"
#include "UI/Operations/ElectrodepositionDialog.h"
#include "UI/Operations/IsotropicDepositionDialog.h"
#include "UI/Operations/IsotropicEtchingDialog.h"
#include "UI/Operations/PVDOptionsDialog.h"
#include "UI/Operations/SimpleRIEDialog.h"
#include "UI/Operations/MooreOptionsDialog.h"
#include "UI/Operations/PlanarizationOptionsDialog.h"
#include "UI/Operations/SpinCoatingOptionsDialog.h"
#include "UI/Operations/PhotolithographyDialog.h"
#include "UI/Operations/RandomWalkDopingDialog.h"
#include "UI/Operations/WetEtchingDialog.h"
#include "UI/Operations/SiOxidationDialog.h"
#include "UI/Operations/ContinuousWetEtchingDialog.h"

#include <QDir>

namespace Ui {

namespace {

using Core::Operations::IsotropicFilmDepositionOperation;
namespace Parameters = Engine::Parameters;

// Shows an option dialog filled from `values`; on acceptance `values` receives the dialog's.
bool runOptionDialog(ProcessEditContext &context, Operations::ProcessOptionsDialog &dialog, QVariantMap &values)
{
    dialog.loadParameters(values);
    if (!context.runDialog(dialog))
        return false;
    values = dialog.parameters();
    return true;
}

// The editor of a type whose dialog is the same for every step of that type.
template <class Dialog>
bool editInDialog(ProcessEditContext &context, uint32_t, QVariantMap &values)
{
    Dialog dialog(context.parent);
    return runOptionDialog(context, dialog, values);
}

// "Isotropic Deposition" and "CVD" share a dialog but not their materials or thickness name.
bool editIsotropicDeposition(ProcessEditContext &context, uint32_t type, QVariantMap &values)
{
    Operations::IsotropicDepositionDialog dialog(context.parent);
    if (type == Engine::CvdType) {
        dialog.setThicknessParameter(Parameters::kThickness);
        dialog.offerMaterialsOf(IsotropicFilmDepositionOperation::kCvdProcess);
    }
    return runOptionDialog(context, dialog, values);
}

// The Moore steps share a dialog but not the label and list name of their layer count.
bool editMooreStep(ProcessEditContext &context, uint32_t type, QVariantMap &values)
{
    Operations::MooreOptionsDialog dialog(context.parent);
    if (type == Engine::MooreEtchingType)
        dialog.showAsEtching();
    else
        dialog.showAsDeposition();
    return runOptionDialog(context, dialog, values);
}

bool editSaveImage(ProcessEditContext &context, uint32_t, QVariantMap &values)
{
    QString start = values.value(Parameters::kFilename).toString();
    if (start.isEmpty())
        start = lastFolder(FileKind::Images);
    const QString name = context.chooseFile(context.parent, ProcessEditContext::FileMode::Save,
                                            QStringLiteral("Save Image"), start,
                                            FileDialogTexts::imageFilter());
    rememberFolder(FileKind::Images, name);
    if (name.isEmpty())
        return false;
    values = {{Parameters::kFilename, name}};
    return true;
}

bool isOneOf(const QString &name, const char *const (&names)[3])
{
    return name == QLatin1String(names[0]) || name == QLatin1String(names[1]) || name == QLatin1String(names[2]);
}

// A box substrate lists its size and offset, a sphere its centre and radius.
bool substrateParameterVisible(const QString &name, const QVariantMap &values)
{
    using namespace Engine::Parameters;
    const bool spherical = values.value(kSphericalSubstrate).toBool();
    if (name == QLatin1String(kSphericalSubstrate))
        return false;
    if (isOneOf(name, kSubstrateSize) || isOneOf(name, kSubstrateDelta))
        return !spherical;
    if (isOneOf(name, kSubstrateCenter) || name == QLatin1String(kSubstrateRadius))
        return spherical;
    return true;
}

// PVD and simple RIE list their choice as text and keep its code hidden.
bool choiceCodeHidden(const QString &name, const QVariantMap &)
{
    return name != QLatin1String(Parameters::kDepositOnValue) && name != QLatin1String(Parameters::kEtchDirectionValue);
}

// A mask's bits are too long to list; its file and size are listed.
bool photolithographyParameterVisible(const QString &name, const QVariantMap &)
{
    return name != QLatin1String(Parameters::kTopMask) && name != QLatin1String(Parameters::kBottomMask);
}

// Oxidation lists the fields of its chosen mode and the conversion; the mode flags are hidden.
bool oxidationParameterVisible(const QString &name, const QVariantMap &values)
{
    using namespace Engine::Parameters;
    if (name == QLatin1String(kOxidationTimeSet) || name == QLatin1String(kOxidationThicknessSet))
        return false;
    if (name == QLatin1String(kOxidationThickness))
        return values.value(kOxidationThicknessSet).toBool();
    if (name == QLatin1String(kOxidationTime) || name == QLatin1String(kOxidationTemperature)
        || name == QLatin1String(kOxidationPressure))
        return values.value(kOxidationTimeSet).toBool();
    return true;
}

// One entry per process type that can be added to a list; a new process step adds its line.
const ProcessEditor kEditors[] = {
    {Engine::CvdType, &editIsotropicDeposition},
    {Engine::IsotropicEtchingType, &editInDialog<Operations::IsotropicEtchingDialog>},
    {Engine::ElectroplatingType, &editInDialog<Operations::ElectrodepositionDialog>},
    {Engine::SaveImageType, &editSaveImage},
    {Engine::CreateSubstrateType, &editInDialog<Operations::CreateSubstrateDialog>, &substrateParameterVisible},
    {Engine::IsotropicDepositionType, &editIsotropicDeposition},
    {Engine::AnisotropicDepositionType, &editInDialog<Operations::AnisotropicDepositionDialog>},
    {Engine::AnisotropicEtchingType, &editInDialog<Operations::AnisotropicEtchingDialog>},
    {Engine::PvdType, &editInDialog<Operations::PVDOptionsDialog>, &choiceCodeHidden},
    {Engine::SimpleRieType, &editInDialog<Operations::SimpleRIEDialog>, &choiceCodeHidden},
    {Engine::MooreDepositionType, &editMooreStep},
    {Engine::MooreEtchingType, &editMooreStep},
    {Engine::PlanarizationType, &editInDialog<Operations::PlanarizationOptionsDialog>},
    {Engine::SpinCoatingType, &editInDialog<Operations::SpinCoatingOptionsDialog>},
    {Engine::PhotolithographyType, &editInDialog<Operations::PhotolithographyDialog>, &photolithographyParameterVisible},
    {Engine::DopingType, &editInDialog<Operations::DopingDialog>, nullptr, true},
    {Engine::IonImplantationType, &editInDialog<Operations::IonImplantationDialog>, nullptr, true},
    {Engine::RandomWalkDopingType, &editInDialog<Operations::RandomWalkDopingDialog>, nullptr, true},
    {Engine::SiWetEtchingType, &editInDialog<Operations::WetEtchingDialog>},
    {Engine::SiOxidationType, &editInDialog<Operations::SiOxidationDialog>, &oxidationParameterVisible},
    {Engine::SiWetEtchingCcaType, &editInDialog<Operations::ContinuousWetEtchingDialog>},
};

// The name and colour of a material that the values also give by id come from the catalogue.
bool isMaterialCompanion(const QString &name, const QVariantMap &values)
{
    if (values.contains(Parameters::idOf(name)))
        return true;
    const QLatin1String colorSuffix(Parameters::kColorSuffix);
    return name.endsWith(colorSuffix) && values.contains(Parameters::idOf(name.chopped(colorSuffix.size())));
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
        if (Parameters::isMaterialId(name))
            Engine::addMaterialParameters(step, Parameters::baseOfId(name), it.value().toUInt(),
                                          editor.materialIdVisible);
        else if (!isMaterialCompanion(name, values))
            step.addProcessParameter(name, it.value(), !editor.isVisible || editor.isVisible(name, values));
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
