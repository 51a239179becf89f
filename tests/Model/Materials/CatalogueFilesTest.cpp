// Start-up of the material and process catalogues against the files in HOME/Voxfab.
#include "Model/Catalogues.h"
#include "Model/Materials/MaterialFactory.h"
#include "Model/Process/ProcessFactory.h"
#include "common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <gtest/gtest.h>
#include <tuple>

using Model::Materials::Material;
using Model::Materials::MaterialFactory;
using Model::Process::Process;
using Model::Process::ProcessFactory;

namespace {

QString catalogueFile(const TestSupport::ScopedHome &home, const char *name)
{
    return QDir(home.path()).filePath(QStringLiteral("Voxfab/") + QLatin1String(name));
}

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QString::fromUtf8(file.readAll());
}

void writeText(const QString &path, const QString &text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text));
    file.write(text.toUtf8());
}

std::vector<uint32_t> processIds()
{
    std::vector<uint32_t> ids;
    for (const Process &process : ProcessFactory::instance()->processes())
        ids.push_back(process.processId());
    return ids;
}

std::vector<uint32_t> range(uint32_t first, uint32_t last)
{
    std::vector<uint32_t> ids;
    for (uint32_t id = first; id <= last; ++id)
        ids.push_back(id);
    return ids;
}

// What a first start produces, for comparison with starts from damaged files.
struct DefaultCatalogues {
    std::vector<Material> materials;
    std::vector<Process> processes;
    QString materialsText;
    QString processesText;
};

DefaultCatalogues defaultCatalogues()
{
    TestSupport::ScopedHome home;
    Model::initializeCatalogues();
    return {MaterialFactory::instance()->materials(), ProcessFactory::instance()->processes(),
            readText(catalogueFile(home, "materials.xml")), readText(catalogueFile(home, "processes.xml"))};
}

} // namespace

TEST(CatalogueFiles, FirstStartCreatesFolderAndWritesDefaultTables)
{
    TestSupport::ScopedHome home;
    ASSERT_FALSE(QDir(home.path()).exists(QStringLiteral("Voxfab")));
    Model::initializeCatalogues();

    const QString materials = readText(catalogueFile(home, "materials.xml"));
    EXPECT_TRUE(materials.startsWith(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Materials>\n")));
    EXPECT_EQ(materials.count(QStringLiteral("<Material ")), 15);
    EXPECT_TRUE(materials.contains(
        QStringLiteral("    <Material version=\"1\" name=\"Si\" material-id=\"1\" density=\"2329\" "
                       "poisson-ratio=\"0.28\" young-modulus=\"1.88e+11\" color=\"#FF7F7F7F\"/>\n")))
        << materials.toStdString();

    const QString processes = readText(catalogueFile(home, "processes.xml"));
    EXPECT_EQ(processes.count(QStringLiteral("<Process ")), 18);
    EXPECT_TRUE(processes.contains(QStringLiteral("    <Process version=\"1\" name=\"CVD\" process-id=\"3\">\n"
                                                  "        <CompatibleMaterials>3;16</CompatibleMaterials>\n"
                                                  "    </Process>\n")))
        << processes.toStdString();

    EXPECT_EQ(processIds(), range(1, 18));
}

TEST(CatalogueFiles, SecondStartReadsBackWhatTheFirstWrote)
{
    TestSupport::ScopedHome home;
    Model::initializeCatalogues();
    auto materials = MaterialFactory::instance();
    Material user(2345, QStringLiteral("Gold & <Glue>"), 1234.5f, 3.25e9f, 0.125f, {0.2f, 0.4f, 0.6f, 0.8f});
    ASSERT_TRUE(materials->setMaterial(user));
    ASSERT_TRUE(materials->saveMaterials());
    const QString firstText = readText(catalogueFile(home, "materials.xml"));

    materials->createDefaultMaterials();
    Model::initializeCatalogues();

    const Material read = materials->material(2345);
    EXPECT_EQ(std::make_tuple(read.name(), read.density(), read.youngModulus(), read.poissonRatio(), read.toQColor()),
              std::make_tuple(user.name(), user.density(), user.youngModulus(), user.poissonRatio(), user.toQColor()));
    // Colours are stored with 8 bits a channel; saving what was read must not drift further.
    EXPECT_EQ(readText(catalogueFile(home, "materials.xml")), firstText);
    ASSERT_TRUE(materials->saveMaterials());
    EXPECT_EQ(readText(catalogueFile(home, "materials.xml")), firstText);
}

// The user's own entries, of a default id or another, stay as they are.
TEST(CatalogueFiles, PartialProcessFileKeepsItsEntriesAndGainsTheMissingDefaults)
{
    const DefaultCatalogues defaults = defaultCatalogues();
    TestSupport::ScopedHome home;
    writeText(catalogueFile(home, "processes.xml"),
              QStringLiteral("<?xml version=\"1.0\"?>\n<Processes>\n"
                             " <Process version=\"1\" name=\"CVD\" process-id=\"3\">\n"
                             "  <CompatibleMaterials>16</CompatibleMaterials>\n"
                             " </Process>\n"
                             " <Process version=\"1\" name=\"Laser\" process-id=\"40\"/>\n</Processes>\n"));
    Model::initializeCatalogues();

    auto processes = ProcessFactory::instance();
    EXPECT_EQ(processes->process(3), Process(QStringLiteral("CVD"), 3, {16}));
    EXPECT_EQ(processes->process(40).name(), QStringLiteral("Laser"));
    std::vector<uint32_t> ids = range(1, 18);
    ids.push_back(40);
    EXPECT_EQ(processIds(), ids);
    EXPECT_EQ(processes->process(4), defaults.processes[3]);
    const QString written = readText(catalogueFile(home, "processes.xml"));
    EXPECT_EQ(written.count(QStringLiteral("<Process ")), 19);
    EXPECT_TRUE(written.contains(QStringLiteral("process-id=\"3\">\n        <CompatibleMaterials>16</")));
}

TEST(CatalogueFiles, DamagedFilesFallBackToDefaultsAndAreRewritten)
{
    const DefaultCatalogues defaults = defaultCatalogues();
    const char *const damaged[] = {
        "",                                                                  // empty file
        "<Material version=\"1\" name=\"Si\" material-id=\"1\"/>",           // wrong root
        "<materials><Material name=\"X\" material-id=\"2001\"/></materials>", // root is case-sensitive
        "<Materials>\n<Material name=\"Kept?\" material-id=\"2001\"/>\n<Material name=", // cut off
        "<Processes><Process name=\"A\" process-id=\"40\"><CompatibleMaterials>1</Oops></Process></Processes>",
    };
    for (const char *text : damaged) {
        SCOPED_TRACE(text);
        TestSupport::ScopedHome home;
        const QString contents = QString::fromUtf8(text);
        writeText(catalogueFile(home, "materials.xml"), contents);
        writeText(catalogueFile(home, "processes.xml"), contents);
        Model::initializeCatalogues();

        EXPECT_EQ(MaterialFactory::instance()->materials(), defaults.materials);
        EXPECT_EQ(ProcessFactory::instance()->processes(), defaults.processes);
        EXPECT_EQ(readText(catalogueFile(home, "materials.xml")), defaults.materialsText);
        EXPECT_EQ(readText(catalogueFile(home, "processes.xml")), defaults.processesText);
        // What the user had is kept beside the defaults, to be repaired by hand.
        EXPECT_EQ(readText(catalogueFile(home, "materials.xml.broken")), contents);
        if (contents.startsWith(QLatin1String("<Processes>")))
            continue; // a well-formed process catalogue is read, not kept aside
        EXPECT_EQ(readText(catalogueFile(home, "processes.xml.broken")), contents);
    }
}

TEST(CatalogueFiles, ANewerBrokenFileReplacesTheOlderOneAndGoodFilesLeaveNone)
{
    TestSupport::ScopedHome home;
    writeText(catalogueFile(home, "materials.xml"), "<Materials><Material");
    Model::initializeCatalogues();
    writeText(catalogueFile(home, "materials.xml"), "second damage");
    Model::initializeCatalogues();
    EXPECT_EQ(readText(catalogueFile(home, "materials.xml.broken")), QStringLiteral("second damage"));

    Model::initializeCatalogues(); // the defaults written last time read back fine
    EXPECT_EQ(readText(catalogueFile(home, "materials.xml.broken")), QStringLiteral("second damage"));
    EXPECT_FALSE(QFile::exists(catalogueFile(home, "processes.xml.broken")));
}

TEST(CatalogueFiles, MaterialEntriesWithoutIdOrNameAreSkippedAndGapsTakeDefaults)
{
    TestSupport::ScopedHome home;
    writeText(catalogueFile(home, "materials.xml"),
              QStringLiteral("<Materials>\n"
                             " <Material name=\"Ghost\" material-id=\"0\" density=\"1\"/>\n"
                             " <Material name=\"\" material-id=\"2001\"/>\n"
                             " <Metal name=\"Not a material\" material-id=\"2002\"/>\n"
                             " <Material name=\"Bare\" material-id=\"2003\"/>\n"
                             " <Material name=\"Tinted\" material-id=\"2004\" density=\"3.5\" color=\"#807F0000\"/>\n"
                             " <Material name=\"Bad colour\" material-id=\"2005\" color=\"no colour\"/>\n"
                             " <Material name=\"Tinted again\" material-id=\"2004\" density=\"4.5\"/>\n"
                             "</Materials>\n"));
    auto materials = MaterialFactory::instance();
    ASSERT_TRUE(materials->loadMaterials());

    const std::vector<Material> expected = {
        Material(2003, QStringLiteral("Bare"), 0.0f, 0.0f, 0.0f),
        Material(2004, QStringLiteral("Tinted again"), 4.5f, 0.0f, 0.0f),
        Material(2005, QStringLiteral("Bad colour"), 0.0f, 0.0f, 0.0f),
    };
    EXPECT_EQ(materials->materials(), expected);

    writeText(catalogueFile(home, "materials.xml"),
              QStringLiteral("<Materials>"
                             "<Material name=\"Tinted\" material-id=\"9\" color=\"#807F0000\"/>"
                             "</Materials>"));
    ASSERT_TRUE(materials->loadMaterials());
    EXPECT_EQ(materials->material(9).toQColor(), QColor(0x7F, 0, 0, 0x80));
}

TEST(CatalogueFiles, UnwritableHomeKeepsDefaultsInMemory)
{
    // A home below a regular file can be neither created nor written, even by root.
    QTemporaryFile blocker;
    ASSERT_TRUE(blocker.open());
    const QByteArray previousHome = qgetenv("HOME");
    qputenv("HOME", (blocker.fileName() + QStringLiteral("/home")).toLocal8Bit());

    Model::initializeCatalogues();
    EXPECT_EQ(MaterialFactory::instance()->materials().size(), 15u);
    EXPECT_EQ(MaterialFactory::instance()->material(1).name(), QStringLiteral("Si"));
    EXPECT_EQ(processIds(), range(1, 18));
    EXPECT_FALSE(MaterialFactory::instance()->saveMaterials());
    EXPECT_FALSE(ProcessFactory::instance()->saveProcesses());

    qputenv("HOME", previousHome);
}
