// The "Change Volume Visualization Options" dialog, its observer and the operation that carries
// the chosen options to a volume's painter.

#include "UiTestSupport.h"

#include "Core/Operations/Visualization/ChangeTotalVolumeVisualizationOptions.h"
#include "Model/Automaton/TotalVolumePainter.h"
#include "Model/Materials/MaterialFactory.h"
#include "UI/Observers/ChangeTotalVolumeViewOptionsObserver.h"
#include "UI/Operations/ChangeVolumeVisualizationDialog.h"
#include "common/Cells.h"

#include <QCheckBox>
#include <QLabel>

using Model::Rendering::VisualizationOptions;
using Ui::Operations::ChangeVolumeVisualizationDialog;
using UiTest::child;

namespace {

VisualizationOptions everyOptionSet()
{
    VisualizationOptions o;
    o.renderSiAtoms = o.renderSurfaceAtomsOnly = o.renderAtomLinks = true;
    o.renderUnitCells = o.renderUnitCellOutlines = o.showEmptyVoxelOutlines = true;
    o.surfaceAlgorithm = 3;
    o.particleDistribution = 2;
    o.colorScale = 1;
    return o;
}

QStringList itemsOf(QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

} // namespace

// The options store the index of each choice, so the choices keep this order.
TEST(ChangeVolumeVisualizationDialog, OffersTheChoicesInTheOrderOfTheOptions)
{
    ChangeVolumeVisualizationDialog dialog{VisualizationOptions()};
    EXPECT_EQ(itemsOf(child<QComboBox>(dialog, "cbxSurfaceAlgorithm")),
              (QStringList{"Direct Cubic Surface Generation", "Marching Cubes", "Octree Surface Generation",
                           "Particle Count Field View"}));
    EXPECT_EQ(itemsOf(child<QComboBox>(dialog, "cbxDistribution")),
              (QStringList{"Particle Distribution for N-Type Dopants", "Particle Distribution for P-Type Dopants",
                           "Particle Distribution Signed Sum of Dopants"}));
    EXPECT_EQ(itemsOf(child<QComboBox>(dialog, "cbxColorScale")),
              (QStringList{"Gray Scale", "Red to Blue", "Yellow to Blue"}));
    EXPECT_EQ(child<QComboBox>(dialog, "cbxMaterial")->count(),
              int(Model::Materials::MaterialFactory::instance()->materials().size()));
}

TEST(ChangeVolumeVisualizationDialog, ReturnsTheOptionsItWasFilledWithAndEachChange)
{
    const VisualizationOptions all = everyOptionSet();
    ChangeVolumeVisualizationDialog dialog{all};
    EXPECT_EQ(dialog.options(), all);

    // Each switch lands in its own option, in the painter's order.
    child<QCheckBox>(dialog, "chkRenderUnitCells")->setChecked(false);
    child<QComboBox>(dialog, "cbxColorScale")->setCurrentIndex(2);
    VisualizationOptions expected = all;
    expected.renderUnitCells = false;
    expected.colorScale = 2;
    EXPECT_EQ(dialog.options(), expected);
    EXPECT_TRUE(dialog.renderUnitCellOutlines());
    EXPECT_EQ(dialog.particleDistribution(), 2);
    EXPECT_TRUE(child<QCheckBox>(dialog, "chkRenderSurfaceAtomsOnly")->isEnabled());

    // "Surface atoms only" is open only while Si atoms are drawn.
    ChangeVolumeVisualizationDialog plain{VisualizationOptions()};
    auto *atoms = child<QCheckBox>(plain, "chkRenderSiAtoms");
    auto *surfaceOnly = child<QCheckBox>(plain, "chkRenderSurfaceAtomsOnly");
    EXPECT_FALSE(surfaceOnly->isEnabled());
    atoms->setChecked(true);
    EXPECT_TRUE(surfaceOnly->isEnabled());
    atoms->setChecked(false);
    EXPECT_FALSE(surfaceOnly->isEnabled());
}

TEST(ChangeVolumeVisualizationDialog, ChangeColorKeepsTheChosenFilmColourAndPaintsTheSwatch)
{
    ChangeVolumeVisualizationDialog dialog{VisualizationOptions()};
    auto *films = child<QComboBox>(dialog, "cbxMaterial");
    auto *swatch = child<QLabel>(dialog, "lblColorSwatch");
    films->setCurrentIndex(films->findData(1u)); // Si, mid-grey in the default catalogue
    EXPECT_EQ(swatch->styleSheet(), "background-color : #7f7f7f");

    QColor offered;
    dialog.setColorChooser([&](const QColor &current, QWidget *) {
        offered = current;
        return QColor::fromRgbF(1.0, 0.0, 0.5, 0.25);
    });
    child<QPushButton>(dialog, "btnChangeColor")->click();
    EXPECT_NEAR(offered.redF(), 0.5, 1e-3);
    EXPECT_EQ(swatch->styleSheet(), "background-color : #ff007f");
    const auto colors = dialog.filmColors();
    ASSERT_EQ(colors.size(), 1u);
    EXPECT_NEAR(colors.at(1)[3], 0.25f, 1e-3);

    // Another material shows its own colour; coming back shows the chosen one again.
    films->setCurrentIndex(films->findData(1u) == 0 ? 1 : 0);
    EXPECT_NE(swatch->styleSheet(), "background-color : #ff007f");
    films->setCurrentIndex(films->findData(1u));
    EXPECT_EQ(swatch->styleSheet(), "background-color : #ff007f");

    // A cancelled colour dialog changes nothing.
    dialog.setColorChooser([](const QColor &, QWidget *) { return QColor(); });
    child<QPushButton>(dialog, "btnChangeColor")->click();
    EXPECT_EQ(dialog.filmColors().size(), 1u);
}

TEST(ChangeTotalVolumeVisualizationOptions, CarriesTheDialogsOptionsAndColoursToThePainterAndCatalogue)
{
    Core::ApplicationModel model;
    auto volume = TestSupport::flatVolume(3, 3, 3, 2, 1);
    model.scene().addObject(volume);
    const auto catalogue = Model::Materials::MaterialFactory::instance();
    const Model::Materials::Color siColor = catalogue->material(1).color();

    auto observer = std::make_shared<Ui::Observers::ChangeTotalVolumeViewOptionsObserver>(&model, nullptr);
    VisualizationOptions shown;
    bool accept = false;
    observer->setDialogRunner([&](ChangeVolumeVisualizationDialog &dialog) {
        shown = dialog.options();
        child<QComboBox>(dialog, "cbxSurfaceAlgorithm")->setCurrentIndex(2);
        child<QCheckBox>(dialog, "chkRenderEmptyVoxelOutlines")->setChecked(true);
        child<QCheckBox>(dialog, "chkRenderSiAtoms")->setChecked(true);
        auto *films = child<QComboBox>(dialog, "cbxMaterial");
        films->setCurrentIndex(films->findData(1u));
        dialog.setColorChooser([](const QColor &, QWidget *) { return QColor::fromRgbF(0.0, 1.0, 0.0, 1.0); });
        child<QPushButton>(dialog, "btnChangeColor")->click();
        return accept;
    });

    const auto run = [&] {
        auto op = std::make_shared<Core::Operations::ChangeTotalVolumeVisualizationOptions>(&model);
        op->setOptionsObserver(observer);
        model.startOperation(op);
        return op;
    };

    // Declined: the painter and the catalogue stay as they were.
    run();
    EXPECT_EQ(shown, VisualizationOptions());
    EXPECT_EQ(volume->painter().surfaceAlgorithm(), 0);
    EXPECT_EQ(catalogue->material(1).color(), siColor);
    EXPECT_EQ(model.inputRequest().message(), "Change Visualization: Operation Canceled!");
    EXPECT_EQ(model.currentOperation(), nullptr);

    accept = true;
    EXPECT_EQ(run()->kind(), 6u);
    const VisualizationOptions applied = volume->painter().visualizationOptions();
    EXPECT_EQ(applied.surfaceAlgorithm, 2u);
    EXPECT_TRUE(applied.showEmptyVoxelOutlines);
    EXPECT_TRUE(applied.renderSiAtoms);
    EXPECT_FALSE(applied.renderAtomLinks);
    EXPECT_EQ(catalogue->material(1).color(), (Model::Materials::Color{0.0f, 1.0f, 0.0f, 1.0f}));
    EXPECT_EQ(model.inputRequest().message(), "Change Visualization: Options changed.");
    EXPECT_EQ(model.currentOperation(), nullptr);
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);

    // The next dialog starts from what the painter now holds.
    accept = false;
    run();
    EXPECT_EQ(shown, applied);

    Model::Materials::Material si = catalogue->material(1);
    si.setColor(siColor);
    catalogue->setMaterial(si);
}
