// Writing and reading ".plst" process lists: layout, encodings, old-format upgrade, material
// translation and refused files.

#include "BatchTestSupport.h"
#include "Model/Materials/MaterialFactory.h"
#include "Model/Persistence/MaterialConflict.h"
#include "Model/Persistence/MaterialIdMap.h"
#include "Engine/ProcessListFile.h"
#include "Util/IObserver.h"

#include <QColor>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>

using namespace Engine;
using namespace BatchTest;

namespace {

struct ProcessListFileTest : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Model::Persistence::MaterialConflict::instance().setObserver(nullptr);
        file.setWarning([this](const QString &title, const QString &text) {
            warnings << title;
            warningTexts << text;
        });
    }
    QString path(const QString &name) const { return dir.filePath(name); }

    // A list file with the catalogue's "Si" under `siId` and the given steps.
    static QByteArray listText(const QByteArray &version, const QByteArray &steps, uint32_t siId = 1)
    {
        QByteArray text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Process-List";
        if (!version.isNull())
            text += " version=\"" + version + "\"";
        text += ">\n<Materials>\n<Material version=\"1\" name=\"Si\" material-id=\"" + QByteArray::number(siId) +
                "\" density=\"2329\" poisson-ratio=\"0.28\" young-modulus=\"1.88e+11\" color=\"#ff7f7f7f\"/>\n"
                "</Materials>\n" +
                steps + "</Process-List>\n";
        return text;
    }

    QList<ProcessData> readOk(const QByteArray &text)
    {
        const QString p = path("list.plst");
        EXPECT_TRUE(writeText(p, text));
        QList<ProcessData> list;
        EXPECT_TRUE(file.read(p, list));
        return list;
    }

    QTemporaryDir dir;
    ProcessListFile file;
    QStringList warnings;
    QStringList warningTexts;
};

// A "Process-Data" element of `type` holding the "Parameter" elements of `parameters`: name, type,
// data and, when not null, visibility.
QByteArray stepXml(int type, std::initializer_list<std::array<const char *, 4>> parameters)
{
    QByteArray xml = "<Process-Data process-type=\"" + QByteArray::number(type) + "\">\n";
    for (const auto &p : parameters) {
        xml += QByteArray("<Parameter parameter-name=\"") + p[0] + "\" parameter-type=\"" + p[1] +
               "\" parameter-data=\"" + p[2] + "\"";
        if (p[3])
            xml += QByteArray(" parameter-visibility=\"") + p[3] + "\"";
        xml += "/>\n";
    }
    return xml + "</Process-Data>\n";
}

// The "Parameter" lines of a written file, in order.
QStringList parameterLines(const QByteArray &text)
{
    QStringList lines;
    for (const QString &line : QString::fromUtf8(text).split('\n'))
        if (line.trimmed().startsWith("<Parameter "))
            lines << line.trimmed();
    return lines;
}

} // namespace

// --- Writing

TEST_F(ProcessListFileTest, WritesRootVersionMaterialsAndParametersInNameOrder)
{
    ProcessData step(AnisotropicDepositionType);
    step.addProcessParameter("Material_Id", 1u, false);
    step.addProcessParameter("Horizontal to Vertical Ratio", 0.5, true);
    step.addProcessParameter("Material", "Si", true);
    step.addProcessParameter("Film Thickness", 3.0, true);
    step.addProcessParameter("Material_Color", QColor(127, 127, 127), false);
    const QString p = path("order.plst");
    ASSERT_TRUE(file.write(p, {step}));
    EXPECT_FALSE(file.write(path("no/such/folder/out.plst"), {step}));

    const QString text = QString::fromUtf8(readText(p));
    EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Process-List version=\"1\">\n"))
        << text.left(120).toStdString();
    EXPECT_TRUE(text.contains("\n    <Materials>\n        <Material version=\"1\" name=\"Si\" material-id=\"1\""));
    EXPECT_EQ(text.count("<Material "), int(Model::Materials::MaterialFactory::instance()->materials().size()));
    EXPECT_TRUE(text.contains("\n    <Process-Data process-type=\"17\">\n        <Parameter ")) << text.toStdString();
    const QStringList lines = parameterLines(text.toUtf8());
    ASSERT_EQ(lines.size(), 5);
    const QRegularExpression name("parameter-name=\"([^\"]*)\"");
    QStringList names;
    for (const QString &line : lines)
        names << name.match(line).captured(1);
    EXPECT_EQ(names, (QStringList{"Film Thickness", "Horizontal to Vertical Ratio", "Material", "Material_Color",
                                  "Material_Id"}));
    EXPECT_EQ(lines[0], QString("<Parameter parameter-name=\"Film Thickness\" parameter-type=\"double\" "
                                "parameter-data=\"3\" parameter-visibility=\"true\"/>"));
    EXPECT_EQ(lines[3], QString("<Parameter parameter-name=\"Material_Color\" parameter-type=\"QColor\" "
                                "parameter-data=\"#7f7f7f\" parameter-visibility=\"false\"/>"));
}

// --- Reading

TEST_F(ProcessListFileTest, RoundTripKeepsEveryValueTypeVisibilityAndCatalogueId)
{
    ProcessData step(PhotolithographyType);
    step.addProcessParameter("b", true, true);
    step.addProcessParameter("b2", false, false);
    step.addProcessParameter("i", -42, true);
    step.addProcessParameter("u", 4000000000u, false);
    step.addProcessParameter("f", 0.1f, true);
    step.addProcessParameter("d", 1.0 / 3.0, true);
    step.addProcessParameter("d2", 1e-300, false);
    step.addProcessParameter("s", QString("Ünïcode & <text> \"quoted\""), true);
    step.addProcessParameter("empty", QString(), true);
    step.addProcessParameter("c", QColor(1, 2, 3), false);
    step.addProcessParameter("mask", QVariant::fromValue(QVector<bool>{true, false, false, true, true}), false);
    step.addProcessParameter("corner", QVariant::fromValue(Util::Vector3D(-1.25, 1e6, 0.1)), true);
    const QList<ProcessData> written{step, saveImage("/tmp/a b.png"), boxSubstrate(4, 4, 4, 2),
                                     deposition(kOxide, 1.5, CvdType), electroplating(kAluminium, kCopper, 2.0)};

    const QString p = path("round.plst");
    ASSERT_TRUE(file.write(p, written));
    QList<ProcessData> list;
    ASSERT_TRUE(file.read(p, list));
    EXPECT_EQ(file.version(), 1);
    ASSERT_EQ(list.size(), written.size());
    for (int i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i].processType(), written[i].processType());
        EXPECT_EQ(list[i].parameters(), written[i].parameters()) << i;
        EXPECT_EQ(list[i].visibility(), written[i].visibility()) << i;
        for (const QString &name : written[i].parameters().keys())
            EXPECT_EQ(list[i].getProcessParameter(name).userType(), written[i].getProcessParameter(name).userType())
                << name.toStdString();
    }
    EXPECT_EQ(file.materialMap().value(kOxide), kOxide);
    EXPECT_TRUE(warnings.isEmpty());
}

TEST_F(ProcessListFileTest, ToleratesMissingVisibilityUnknownTypesAndNoMaterialsSection)
{
    auto list = readOk(listText("1", stepXml(1, {{"Depth", "double", "2.5", nullptr},
                                                 {"Hidden", "double", "1", "false"},
                                                 {"Odd", "double", "1", "yes"}}) +
                                         stepXml(42, {{"When", "QDateTime", "x", nullptr}}) +
                                         "<Process-Data process-type=\"10\"/>\n"));
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[0].processType(), uint32_t(SiWetEtchingType));
    EXPECT_EQ(list[0].getProcessParameter("Depth").toDouble(), 2.5);
    EXPECT_TRUE(list[0].getParameterVisibility("Depth")); // no visibility: visible
    EXPECT_FALSE(list[0].getParameterVisibility("Hidden"));
    EXPECT_FALSE(list[0].getParameterVisibility("Odd"));
    // An unknown process type is kept, and an unknown value type reads invalid.
    EXPECT_EQ(list[1].processType(), 42u);
    EXPECT_TRUE(list[1].hasParameter("When"));
    EXPECT_FALSE(list[1].getProcessParameter("When").isValid());
    EXPECT_EQ(list[2].processType(), uint32_t(SaveImageType));
    EXPECT_TRUE(list[2].parameters().isEmpty());

    list = readOk("<Process-List version=\"1\"><Process-Data process-type=\"1\">"
                  "<Parameter parameter-name=\"Depth\" parameter-type=\"double\" parameter-data=\"4\"/>"
                  "</Process-Data><Process-Data process-type=\"10\"/></Process-List>");
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0].getProcessParameter("Depth").toDouble(), 4.0);
    EXPECT_TRUE(file.materialMap().isEmpty());
}

TEST_F(ProcessListFileTest, OldListsAreUpgradedWithOneWarningOnlyWhenTheyRenameAnId)
{
    const QByteArray renamed =
        stepXml(16, {{"Film Thickness", "double", "2", "true"}, {"MaterialId", "uint", "1", "false"}});
    auto list = readOk(listText(
        "0", renamed +
                 stepXml(7, {{"ConductingMaterialId", "uint", "1", nullptr}, {"DepositedMaterialId", "uint", "1", nullptr}}) +
                 stepXml(14, {{"DopedMaterialId", "uint", "1", nullptr}}) + stepXml(1, {{"MaterialId", "uint", "1", nullptr}})));
    EXPECT_EQ(file.version(), 0);
    ASSERT_EQ(list.size(), 4);
    EXPECT_FALSE(list[0].hasParameter("MaterialId"));
    EXPECT_EQ(list[0].getProcessParameter("Material_Id").toUInt(), kSilicon);
    EXPECT_FALSE(list[0].getParameterVisibility("Material_Id"));
    EXPECT_EQ(list[0].getProcessParameter("Material").toString(), QString("Si"));
    EXPECT_EQ(list[0].getProcessParameter("Film Thickness").toDouble(), 2.0);
    EXPECT_TRUE(list[1].hasParameter("Conducting Material_Id"));
    EXPECT_TRUE(list[1].hasParameter("Deposited Material_Id"));
    EXPECT_TRUE(list[2].hasParameter("Doped Material_Id"));
    // Type 1 has no material: its odd parameter keeps its name.
    EXPECT_TRUE(list[3].hasParameter("MaterialId"));
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_EQ(warnings[0], QString("Updated List"));
    EXPECT_EQ(warningTexts[0], QString(ProcessListFile::kUpdatedListText));

    // An old list without old names is read without a warning.
    readOk(listText("0", stepXml(1, {{"Depth", "double", "1", nullptr}})));
    EXPECT_EQ(warnings.size(), 1);
    // No version attribute counts as version 0.
    list = readOk(listText(QByteArray(), renamed));
    EXPECT_EQ(file.version(), 0);
    EXPECT_EQ(warnings.size(), 2);
    EXPECT_TRUE(list[0].hasParameter("Material_Id"));
    // A current list with the old name is not upgraded.
    list = readOk(listText("1", renamed));
    EXPECT_EQ(warnings.size(), 2);
    EXPECT_TRUE(list[0].hasParameter("MaterialId"));
}

TEST_F(ProcessListFileTest, FileIdsAreTranslatedToTheCatalogueIdOfTheirNameOrToZero)
{
    // The file knows silicon as id 900: the steps get the catalogue's id 1 and its colour.
    const auto list = readOk(listText(
        "1",
        stepXml(7, {{"Conducting Material_Id", "uint", "900", nullptr}, {"Deposited Material_Id", "uint", "900", "true"}}) +
            stepXml(8, {{"Doped Material_Id", "uint", "900", "false"}}) +
            stepXml(19, {{"Material_Id", "uint", "900", nullptr}}) +
            stepXml(16, {{"Material_Id", "uint", "77", nullptr}, {"Material", "QString", "Ghost", nullptr}}),
        900));
    EXPECT_EQ(file.materialMap().value(900), kSilicon);
    ASSERT_EQ(list.size(), 4);
    for (const QString &base : {QString("Conducting Material"), QString("Deposited Material")}) {
        EXPECT_EQ(list[0].getProcessParameter(base + "_Id").toUInt(), kSilicon);
        EXPECT_EQ(list[0].getProcessParameter(base).toString(), QString("Si"));
        EXPECT_TRUE(list[0].getParameterVisibility(base));
        EXPECT_EQ(list[0].getProcessParameter(base + "_Color").value<QColor>(), QColor(127, 127, 127, 255));
        EXPECT_FALSE(list[0].getParameterVisibility(base + "_Color"));
        // The ids are hidden whatever the file said...
        EXPECT_FALSE(list[0].getParameterVisibility(base + "_Id"));
    }
    // ... except for the doping steps, whose vocabulary shows the id.
    EXPECT_TRUE(list[1].getParameterVisibility("Doped Material_Id"));
    EXPECT_EQ(list[1].getProcessParameter("Doped Material").toString(), QString("Si"));
    EXPECT_TRUE(list[2].getParameterVisibility("Material_Id"));
    // A material missing from the list's materials gets id 0.
    EXPECT_EQ(list[3].getProcessParameter("Material_Id").toUInt(), 0u);
    EXPECT_EQ(list[3].getProcessParameter("Material").toString(), QString("Empty"));
    EXPECT_FALSE(list[3].getParameterVisibility("Material_Id"));
}

TEST_F(ProcessListFileTest, NameClashGoesToTheConflictObserverAndFillsTheListsOwnMap)
{
    struct Chooser : Util::IObserver {
        void update() override
        {
            auto &conflict = Model::Persistence::MaterialConflict::instance();
            loaded = conflict.loadedMaterial().name();
            existing = conflict.existingMaterial().name();
            conflict.resolve(Model::Persistence::MaterialConflict::Choice::UseAnother, kCopper);
        }
        QString loaded;
        QString existing;
    };
    auto chooser = std::make_shared<Chooser>();
    Model::Persistence::MaterialConflict::instance().setObserver(chooser);
    const auto processWide = Model::Persistence::MaterialIdMap::instance().entries();

    QByteArray text = listText("1", stepXml(16, {{"Material_Id", "uint", "3", nullptr}}));
    text.replace("<Materials>\n", "<Materials>\n<Material version=\"1\" name=\"Nitride\" material-id=\"3\" "
                                  "density=\"1\" poisson-ratio=\"0.2\" young-modulus=\"1\" color=\"#ff000000\"/>\n");
    const auto list = readOk(text);
    Model::Persistence::MaterialConflict::instance().setObserver(nullptr);

    EXPECT_EQ(chooser->loaded, QString("Nitride"));
    EXPECT_EQ(chooser->existing, QString("Thermal Si02"));
    EXPECT_EQ(file.materialMap().value(3), kCopper);
    EXPECT_EQ(Model::Persistence::MaterialIdMap::instance().entries(), processWide);
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0].getProcessParameter("Material_Id").toUInt(), kCopper);
    EXPECT_EQ(list[0].getProcessParameter("Material").toString(), QString("Cu (bulk)"));
    EXPECT_EQ(Model::Materials::MaterialFactory::instance()->material(3).name(), QString("Thermal Si02"));
}

// --- Refused files leave the list as it was

TEST_F(ProcessListFileTest, RefusedFilesLeaveTheListUntouched)
{
    const QByteArray good = listText("1", stepXml(1, {{"Depth", "double", "1", nullptr}}));
    const struct {
        const char *what;
        QByteArray text;
    } cases[] = {
        {"truncated", good.left(good.indexOf("<Parameter") + 30)},
        {"unclosed", good.left(good.lastIndexOf("</Process-List>"))},
        {"wrong root", "<?xml version=\"1.0\"?>\n<Document><Header version=\"1\"/></Document>\n"},
        {"not xml", "this is not a process list"},
        {"empty", ""},
        {"broken tag", QByteArray(good).replace("</Process-Data>", "</Process-Dta>")},
        {"missing", QByteArray()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QString p = path(QString("bad-%1.plst").arg(c.what));
        if (!c.text.isNull()) {
            ASSERT_TRUE(writeText(p, c.text));
        }
        QList<ProcessData> list{saveImage("keep.png")};
        const uint32_t id = list[0].id();
        EXPECT_FALSE(file.read(p, list));
        ASSERT_EQ(list.size(), 1);
        EXPECT_EQ(list[0].id(), id);
        EXPECT_EQ(list[0].getProcessParameter("Filename").toString(), QString("keep.png"));
    }
    EXPECT_TRUE(warnings.isEmpty());
}
