// CSV export of particle count fields: the exact text, refused keys and values, and the
// "Export Data" operation through the real application model.

#include "../StepRun.h"
#include "Core/Operations/ExportData/CSVDataExporter.h"
#include "Core/Operations/ExportData/ExportDataOperation.h"
#include "Model/Automaton/ParticleCountField.h"
#include "common/Cells.h"
#include "common/Materials.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Core::Operations;
using namespace TestSupport;
using Model::Automaton::ParticleCountField;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// A 1 × 1 × 2 volume whose cells hold 3 and 5 particles, spread over their counters.
std::shared_ptr<TotalVolume> twoCells()
{
    auto volume = flatVolume(1, 1, 2, 2, kSilicon);
    auto field = std::make_shared<ParticleCountField>(2);
    field->counters(0)[6] = 2;
    field->counters(0)[1] = 1;
    field->counters(1)[0] = 5;
    volume->setParticleCountField(ParticleCountField::kTypePName, field);
    return volume;
}

} // namespace

TEST(CSVDataExporter, WritesOneBlockPerSliceInScientificNotation)
{
    QTemporaryDir dir;
    auto volume = twoCells();
    const QString path = dir.filePath("two.csv");
    EXPECT_EQ(CSVDataExporter(path).saveDataToFile(ParticleCountField::kTypePName,
                                                   volume->property(ParticleCountField::kTypePName), 1, 1, 2),
              0);
    EXPECT_EQ(contents(path), QByteArray("X: 0\n3.0000000000e+00 ; 5.0000000000e+00 ; \n\n\n"));

    // Two slices of two rows; large counts keep ten digits after the point.
    auto field = std::make_shared<ParticleCountField>(8);
    field->counters(7)[6] = 123456789;
    const QString bigger = dir.filePath("bigger.csv");
    EXPECT_EQ(CSVDataExporter(bigger).saveDataToFile(ParticleCountField::kTypeNName, QVariant::fromValue(field), 2, 2,
                                                     2),
              0);
    const QByteArray zero = "0.0000000000e+00 ; ";
    EXPECT_EQ(contents(bigger), "X: 0\n" + zero + zero + "\n" + zero + zero + "\n\n\nX: 1\n" + zero + zero + "\n" + zero
                                    + "1.2345678900e+08 ; \n\n\n");
}

TEST(CSVDataExporter, RefusesOtherKeysValuesThatAreNoFieldAndUnwritableFiles)
{
    QTemporaryDir dir;
    auto volume = twoCells();
    const QVariant field = volume->property(ParticleCountField::kTypePName);
    EXPECT_EQ(CSVDataExporter(dir.filePath("a.csv")).saveDataToFile("Temperature", field, 1, 1, 2), -1);
    EXPECT_EQ(contents(dir.filePath("a.csv")), QByteArray());
    EXPECT_EQ(CSVDataExporter(dir.filePath("b.csv")).saveDataToFile(ParticleCountField::kTypePName, QVariant(12), 1, 1,
                                                                    2),
              -1);
    // A field of another size is not read as this volume's.
    EXPECT_EQ(CSVDataExporter(dir.filePath("c.csv")).saveDataToFile(ParticleCountField::kTypePName, field, 2, 1, 2),
              -1);
    EXPECT_EQ(contents(dir.filePath("c.csv")), QByteArray());
    EXPECT_EQ(CSVDataExporter(dir.filePath("no/such/folder.csv"))
                  .saveDataToFile(ParticleCountField::kTypePName, field, 1, 1, 2),
              -1);
}

TEST(ExportDataOperation, UsesTheOnlyVolumeWritesTheChosenFieldAndStaysOffTheUndoStack)
{
    QTemporaryDir dir;
    CoreTest::LoggedModel scene;
    auto &model = scene.model;
    auto &log = scene.log;
    model.scene().addObject(twoCells());
    const QString path = dir.filePath("out.csv");
    CoreTest::startStep<ExportDataOperation>(model, [path](ExportDataOperation &op) {
        op.setDataKey(ParticleCountField::kTypePName);
        op.setFileName(path);
    });
    EXPECT_TRUE(log->contains("Export Data: Using only cell volume."));
    EXPECT_EQ(log->last(), "Export Data:  data saved.");
    EXPECT_EQ(contents(path), QByteArray("X: 0\n3.0000000000e+00 ; 5.0000000000e+00 ; \n\n\n"));
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u);
    EXPECT_EQ(model.currentOperation(), nullptr);
    EXPECT_FALSE(model.isModified());

    // A dialog that was cancelled leaves the file name empty: nothing is written.
    CoreTest::startStep<ExportDataOperation>(model);
    EXPECT_EQ(model.currentOperation(), nullptr);
    EXPECT_EQ(log->last(), "Export Data: Using only cell volume.");
}

TEST(ExportDataOperation, WaitsForASelectionWhenTheSceneHoldsSeveralObjects)
{
    CoreTest::LoggedModel scene;
    auto &model = scene.model;
    model.scene().addObject(twoCells());
    model.scene().addObject(twoCells());
    model.startOperation(std::make_shared<ExportDataOperation>(&model));
    EXPECT_EQ(scene.log->last(), "Export Data: Select a cell volume and press Enter/Return.");
    EXPECT_TRUE(model.selectionMode().isSelectionMode());
    model.cancelCurrent();
    EXPECT_FALSE(model.selectionMode().isSelectionMode());
}
