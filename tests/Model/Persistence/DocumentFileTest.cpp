// Documents on disk: what the writer puts in them, what the reader takes from them (the State
// parsed either from the file's bytes or from the XML reader), how materials in them meet the
// catalogue, particle count fields, and every way a document can be damaged or refused.
#include "Model/Automaton/ParticleCountField.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Materials/MaterialFactory.h"
#include "Model/Persistence/DocumentArchive.h"
#include "Model/Persistence/DocumentReader.h"
#include "Model/Persistence/DocumentWriter.h"
#include "Model/Persistence/LiftedTexts.h"
#include "Model/Persistence/MaterialConflict.h"
#include "Model/Persistence/MaterialIdMap.h"
#include "Model/Persistence/TotalVolumeArchiver.h"
#include "Model/Scene.h"
#include "common/Cells.h"
#include "common/Observers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <random>

using Model::Automaton::ParticleCountField;
using Model::Automaton::TotalVolume;
using Model::Materials::MaterialFactory;
using namespace Model::Persistence;
using TestSupport::CallObserver;
using TestSupport::materialsOf;
using Volumes = std::vector<std::vector<uint32_t>>;
using Outcome = DocumentReader::Outcome;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void store(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A device that accepts nothing: the stream writer reports an error on the first write.
struct FailingDevice : QIODevice {
    FailingDevice() { open(QIODevice::WriteOnly); }
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64) override { return -1; }
};

// Writes volumes as usual, then runs `afterWrite` with the stream (to break it mid-document).
struct TamperingArchiver : TotalVolumeArchiver {
    explicit TamperingArchiver(std::function<void(QXmlStreamWriter *)> afterWrite) : afterWrite(std::move(afterWrite)) {}
    void setWriter(QXmlStreamWriter *writer) override { TotalVolumeArchiver::setWriter(current = writer); }
    bool write(const std::shared_ptr<Model::Object> &object) override
    {
        const bool written = TotalVolumeArchiver::write(object);
        afterWrite(current);
        return written;
    }
    std::function<void(QXmlStreamWriter *)> afterWrite;
    QXmlStreamWriter *current = nullptr;
};

// Reads volumes as usual but asks for no State from the bytes.
struct StreamingVolumeArchiver : TotalVolumeArchiver {
    LiftableText liftableText() const override { return {}; }
};

// Reads nothing: raises a stream error with the text it was given, as an archiver that finds
// its element broken may.
struct RaisingArchiver : ObjectArchiver {
    explicit RaisingArchiver(QString text) : text(std::move(text)) {}
    void setWriter(QXmlStreamWriter *) override {}
    void setReader(QXmlStreamReader *newReader) override { reader = newReader; }
    void setMaterialIdMap(MaterialIdMap *) override {}
    bool write(const std::shared_ptr<Model::Object> &) override { return false; }
    QString readError() const override { return QString(); }
    std::shared_ptr<Model::Object> read() override
    {
        reader->raiseError(text);
        return nullptr;
    }
    QString text;
    QXmlStreamReader *reader = nullptr;
};

struct DocumentFile : ::testing::Test {
    void TearDown() override
    {
        MaterialConflict::instance().setObserver(nullptr);
        MaterialFactory::instance()->createDefaultMaterials();
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    std::shared_ptr<TotalVolume> addVolume(uint32_t x, uint32_t y, uint32_t z, const std::vector<uint32_t> &ids,
                                           const Util::Vector3D &origin = {}, float cx = 1.f, float cy = 1.f,
                                           float cz = 1.f)
    {
        auto volume = std::make_shared<TotalVolume>(x, y, z, cx, cy, cz, origin, ids);
        scene.addObject(volume);
        return volume;
    }

    DocumentWriter::Outcome write(const QString &file) { return DocumentWriter(scene, archive).write(file); }

    struct Reading {
        Outcome outcome;
        QStringList warnings;
        QString error;
        Volumes volumes; // the cells of each volume read, in order
    };
    // Reads `file` into `into`, or into a scene of its own.
    Reading readFully(const QString &file, Model::Scene *into = nullptr)
    {
        Model::Scene own;
        Model::Scene &target = into ? *into : own;
        DocumentReader reader(target, archive);
        Reading reading{reader.read(file), reader.warnings(), reader.error(), {}};
        for (const auto &object : target.objects())
            if (auto volume = std::dynamic_pointer_cast<TotalVolume>(object))
                reading.volumes.push_back(materialsOf(*volume));
        return reading;
    }
    // Stores `bytes` as the file "read.vxf", then reads it.
    Reading readBytes(const QByteArray &bytes, Model::Scene *into = nullptr)
    {
        store(path("read.vxf"), bytes);
        return readFully(path("read.vxf"), into);
    }

    // Runs `check` with the State parsed from the bytes, then from the XML reader.
    void eitherWay(const std::function<void()> &check)
    {
        for (const bool lifted : {true, false}) {
            SCOPED_TRACE(lifted ? "State parsed from the bytes" : "State parsed from the XML reader");
            if (!lifted)
                archive.setArchiver(TotalVolumeArchiver::kObjectType, std::make_shared<StreamingVolumeArchiver>());
            check();
        }
    }

    // A document holding the given object elements after the header.
    static QByteArray document(const QString &body)
    {
        return (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Document><Header version=\"1\"/>") + body +
                QStringLiteral("</Document>")).toUtf8();
    }
    static QString sized(uint64_t x, uint64_t y, uint64_t z)
    {
        return QStringLiteral("size-x=\"%1\" size-y=\"%2\" size-z=\"%3\"").arg(x).arg(y).arg(z);
    }
    static QString objectText(const QString &sizes, const QString &state)
    {
        return QStringLiteral("<Object object-type=\"1\" %1><State>%2</State>"
                              "<Position pos-x=\"0\" pos-y=\"0\" pos-z=\"0\"/></Object>")
            .arg(sizes, state);
    }

    QTemporaryDir dir;
    Model::Scene scene;
    DocumentArchive archive;
};

} // namespace

TEST_F(DocumentFile, WritesOneDecimalIdAndASpacePerCellInCellIndexOrder)
{
    auto volume = addVolume(2, 2, 1, {1, 0, 0, 2}, Util::Vector3D(1.5, -2, 0.25), 0.5f, 1.f, 2.f);
    volume->setProperty("Something Else", 3); // not a particle count field: not written
    const QString file = path("small.vxf");
    ASSERT_EQ(write(file), DocumentWriter::Outcome::Written);
    EXPECT_EQ(scene.documentName(), file);

    const QByteArray text = contents(file);
    EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Document><Header version=\"1\"/>"));
    EXPECT_TRUE(text.contains("<Material version=\"1\" name=\"Si\" material-id=\"1\" density=\"2329\" "
                              "poisson-ratio=\"0.28\" young-modulus=\"1.88e+11\" color=\"#FF7F7F7F\"/>"));
    // The whole catalogue is written, not only the materials in use.
    EXPECT_EQ(text.count("<Material "), int(MaterialFactory::instance()->materials().size()));
    EXPECT_TRUE(text.contains("<Object object-type=\"1\" size-x=\"2\" size-y=\"2\" size-z=\"1\" cellsize-x=\"0.5\" "
                              "cellsize-y=\"1\" cellsize-z=\"2\"><State>1 0 0 2 </State>"
                              "<Position pos-x=\"1.5\" pos-y=\"-2\" pos-z=\"0.25\"/></Object></Document>"));
    EXPECT_FALSE(text.trimmed().contains('\n')); // one line
}

TEST_F(DocumentFile, RoundTripKeepsEveryObjectItsCellsPositionAndCellSize)
{
    std::mt19937 random(7);
    const std::vector<uint32_t> palette = {0, 1, 3, 4, 16, 50000};
    struct Shape { uint32_t x, y, z; float cx, cy, cz; Util::Vector3D origin; };
    const std::vector<Shape> shapes = {{1, 1, 1, 1.f, 1.f, 1.f, {0, 0, 0}},
                                       {17, 5, 9, 0.25f, 2.f, 3.5f, {-4, 10.5, 2}},
                                       {8, 31, 3, 1e-3f, 1e-3f, 1e-3f, {100, 200, -300}}};
    Volumes written;
    for (const Shape &s : shapes) {
        std::vector<uint32_t> ids(size_t(s.x) * s.y * s.z);
        for (auto &id : ids)
            id = palette[random() % palette.size()];
        addVolume(s.x, s.y, s.z, ids, s.origin, s.cx, s.cy, s.cz);
        written.push_back(ids);
    }
    const QString file = path("several.vxf");
    ASSERT_EQ(write(file), DocumentWriter::Outcome::Written);

    Model::Scene loaded;
    const Reading reading = readFully(file, &loaded);
    ASSERT_EQ(reading.outcome, Outcome::Read);
    EXPECT_EQ(loaded.documentName(), file);
    EXPECT_EQ(reading.volumes, written);
    // The same cells when the States are streamed through the XML reader instead.
    archive.setArchiver(TotalVolumeArchiver::kObjectType, std::make_shared<StreamingVolumeArchiver>());
    EXPECT_EQ(readFully(file).volumes, written);
    ASSERT_EQ(loaded.objects().size(), int(shapes.size()));
    for (size_t i = 0; i < shapes.size(); ++i) {
        const auto v = std::dynamic_pointer_cast<TotalVolume>(loaded.objects()[int(i)]);
        const Shape &s = shapes[i];
        EXPECT_EQ(Util::Vector3D(v->sizeX(), v->sizeY(), v->sizeZ()), Util::Vector3D(s.x, s.y, s.z)) << i;
        EXPECT_EQ(Util::Vector3D(v->cellSizeX(), v->cellSizeY(), v->cellSizeZ()), Util::Vector3D(s.cx, s.cy, s.cz))
            << i;
        EXPECT_EQ(v->origin(), s.origin) << i;
    }
}

// Plain State texts are parsed from the file's bytes instead of the XML reader's text; both
// ways must agree on every document, whatever else shares the file with the State.
TEST_F(DocumentFile, StateReadsTheSameWhicheverWayItsTextIsParsed)
{
    const QString sizes = sized(2, 2, 1);
    struct Case { const char *name; QByteArray bytes; Volumes volumes; };
    const std::vector<Case> cases = {
        {"runs of blanks between ids", document(objectText(sizes, "  4    0\n16\t\t3   ")), {{4, 0, 16, 3}}},
        {"entity and comment in state", document(objectText(sizes, "1&#32;2 <!-- 9 -->3 4 ")), {{1, 2, 3, 4}}},
        {"a state of an unknown object before a volume",
         document(QStringLiteral("<Object object-type=\"99\"><State>7 7 7 7 </State></Object>") +
                  objectText(sizes, "1 2 3 4 ") + objectText(sizes, "4\n3\n2\n1")), {{1, 2, 3, 4}, {4, 3, 2, 1}}},
        {"a file that already names the lifted text",
         document(QStringLiteral("<Object object-type=\"1\" %1><State %2=\"0\">5 5 5 5 </State></Object>")
                      .arg(sizes, QLatin1String(LiftedTexts::kAttribute)) + objectText(sizes, "1 2 3 4 ")),
         {{5, 5, 5, 5}, {1, 2, 3, 4}}},
        // The file is read in text mode, which drops every carriage return.
        {"carriage returns", (QStringLiteral("<Document>\r\n<Header version=\"1\"/>\r\n")
                              + objectText(sizes, "1\r\n2\r3 4 5") + QStringLiteral("</Document>")).toUtf8(),
         {{1, 23, 4, 5}}},
        {"latin-1 document",
         (QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><Document><Header version=\"1\"/>")
          + objectText(sizes, "0 1 1 0") + QStringLiteral("</Document>")).toLatin1(), {{0, 1, 1, 0}}},
    };
    eitherWay([&] {
        for (const Case &c : cases) {
            SCOPED_TRACE(c.name);
            Model::Scene target;
            const Reading reading = readBytes(c.bytes, &target);
            ASSERT_EQ(reading.outcome, Outcome::Read) << reading.error.toStdString();
            EXPECT_EQ(reading.volumes, c.volumes);
            EXPECT_FLOAT_EQ(std::dynamic_pointer_cast<TotalVolume>(target.objects()[0])->cellSizeX(), 1.f)
                << "absent cell sizes are 1";
        }
    });
}

// Too few ids leave the last cells empty, too many are cut off, a volume without a State is
// empty, and entries that are not ids (a letter, a sign, beyond 32 bits) leave their cell empty
// while the ids around them keep their places. The user hears of each such volume once, by its
// place among the objects read and its size, whichever way its State is parsed.
TEST_F(DocumentFile, FaultyStatesAreReadAsFarAsTheyGoWithOneWarningPerVolume)
{
    store(path("lengths.vxf"),
          document(QStringLiteral("<Object object-type=\"99\"/>") + objectText(sized(2, 2, 1), "1 2 3 4 ")
                   + objectText(sized(2, 3, 1), "5 6\n7") + objectText(sized(2, 2, 1), "1 2 3 4 5 6 ")
                   + objectText(sized(1, 1, 2), "")
                   + QStringLiteral("<Object object-type=\"1\" size-x=\"1\" size-y=\"3\" size-z=\"1\">"
                                    "<Position pos-x=\"2\" pos-y=\"0\" pos-z=\"0\"/></Object>"
                                    "<Object object-type=\"1\" size-x=\"1\" size-y=\"1\" size-z=\"1\"/>")
                   + objectText(sized(2, 3, 1), "1 x 3 -4 99999999999 6 ") + objectText(sized(1, 1, 2), "4294967296 2 ")));
    const QStringList expected = {
        QString::fromUtf8("WARNING: The \"State\" of cell volume 2 (2 × 3 × 1) holds 3 material ids for its 6 "
                          "cells; the last 3 cells are left empty."),
        QString::fromUtf8("WARNING: The \"State\" of cell volume 3 (2 × 2 × 1) holds 6 material ids for its 4 "
                          "cells; the last 2 ids are ignored."),
        QString::fromUtf8("WARNING: The \"State\" of cell volume 4 (1 × 1 × 2) holds 0 material ids for its 2 "
                          "cells; the last 2 cells are left empty."),
        QString::fromUtf8("WARNING: Cell volume 5 (1 × 3 × 1) has no \"State\" element; its 3 cells are left empty."),
        QString::fromUtf8("WARNING: Cell volume 6 (1 × 1 × 1) has no \"State\" element; its cell is left empty."),
        QString::fromUtf8("WARNING: The \"State\" of cell volume 7 (2 × 3 × 1) holds 3 entries that are not "
                          "material ids; their cells are left empty."),
        QString::fromUtf8("WARNING: The \"State\" of cell volume 8 (1 × 1 × 2) holds 1 entry that is not a "
                          "material id; its cell is left empty."),
    };
    eitherWay([&] {
        Model::Scene target;
        const Reading reading = readFully(path("lengths.vxf"), &target);
        ASSERT_EQ(reading.outcome, Outcome::Read) << reading.error.toStdString();
        EXPECT_EQ(reading.volumes, (Volumes{{1, 2, 3, 4}, {5, 6, 7, 0, 0, 0}, {1, 2, 3, 4}, {0, 0}, {0, 0, 0}, {0},
                                            {1, 0, 3, 0, 0, 6}, {0, 2}}));
        EXPECT_EQ(reading.warnings, expected);
        // A Position that comes first, for want of a State, still places its volume.
        ASSERT_EQ(target.objects().size(), 8);
        EXPECT_DOUBLE_EQ(std::dynamic_pointer_cast<TotalVolume>(target.objects()[4])->origin().x, 2.0);
    });
}

// Damage to the XML after the Header ends the document where it is met: the objects before it
// are kept, the one it breaks is dropped, and one warning tells the line and the reader's text.
TEST_F(DocumentFile, DamageAfterTheHeaderKeepsTheObjectsBeforeItWithAWarning)
{
    const QString sizes = sized(2, 2, 1);
    const QString unknownMaterial = QStringLiteral("<Material version=\"1\" name=\"GaAs\" material-id=\"4321\"/>");
    const QString laterMaterial = QStringLiteral("<Material version=\"1\" name=\"InP\" material-id=\"4322\"/>");
    addVolume(10, 10, 10, std::vector<uint32_t>(1000, 1));
    addVolume(10, 10, 10, std::vector<uint32_t>(1000, 3));
    ASSERT_EQ(write(path("whole.vxf")), DocumentWriter::Outcome::Written);
    const QByteArray whole = contents(path("whole.vxf"));
    const int secondState = whole.indexOf("<State>", whole.indexOf("</Object>"));

    struct Case { const char *name; QByteArray bytes; int objects; int line; };
    const auto unfinished = [&](const QString &body) {
        return (QStringLiteral("<Document><Header version=\"1\"/>") + body).toUtf8();
    };
    const std::vector<Case> cases = {
        {"unclosed tag after two objects",
         unfinished(unknownMaterial + objectText(sizes, "1 2 3 4 ") + "\n" + objectText(sizes, "4 3 2 1 ")
                  + "\n<Broken" + laterMaterial), 2, 3},
        {"mismatched tag in the second object",
         unfinished(objectText(sizes, "1 2 3 4 ") + "\n<Object object-type=\"1\" " + sizes
                  + "><State>1 1 1 1 </State><Position></Wrong></Object></Document>"), 1, 2},
        // The State's four line breaks plus the one after the object put the damage on line 6.
        {"damage behind a multi-line State",
         unfinished(objectText(sizes, "1\n2\r\n3\n4\n") + "\n<Broken"), 1, 6},
        {"cut inside the second State", whole.left(secondState + 500), 1, 1},
        {"cut after the second object", whole.left(whole.lastIndexOf("</Object>") + 9), 2, 1},
        {"damaged unknown object", unfinished(QStringLiteral("<Object object-type=\"99\"><a></b>")), 0, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MaterialFactory::instance()->createDefaultMaterials();
        Model::Scene target;
        const Reading reading = readBytes(c.bytes, &target);
        ASSERT_EQ(reading.outcome, Outcome::Read) << reading.error.toStdString();
        EXPECT_EQ(target.objects().size(), c.objects);
        EXPECT_EQ(target.documentName(), path("read.vxf"));
        ASSERT_EQ(reading.warnings.size(), 1) << reading.warnings.join('\n').toStdString();
        const QString stopped = c.objects == 0 ? QStringLiteral("before any object.")
                                               : QStringLiteral("after %1 object%2.").arg(c.objects)
                                                     .arg(c.objects == 1 ? "" : "s");
        const QString &warning = reading.warnings[0];
        EXPECT_TRUE(warning.startsWith(QStringLiteral("WARNING: The document is damaged near line %1: ").arg(c.line))
                    && warning.endsWith(QStringLiteral("Reading stopped there, ") + stopped)
                    && !warning.contains(QLatin1String("..")))
            << warning.toStdString();
    }
    // The first two volumes of the cut copies hold what was written.
    EXPECT_EQ(readBytes(cases[4].bytes).volumes,
              (Volumes{std::vector<uint32_t>(1000, 1), std::vector<uint32_t>(1000, 3)}));
    // Materials before the damage join the catalogue; those after it were never read.
    MaterialFactory::instance()->createDefaultMaterials();
    ASSERT_EQ(readBytes(cases[0].bytes).outcome, Outcome::Read);
    EXPECT_EQ(MaterialFactory::instance()->material(4321).name(), QStringLiteral("GaAs"));
    EXPECT_EQ(MaterialFactory::instance()->material(4322).materialId(), 0u);
}

// Whatever text the stream's error carries, with a full stop or without, or none at all, the
// warning gives it as one sentence.
TEST_F(DocumentFile, DamageWarningEndsEachSentenceInOneFullStop)
{
    store(path("raised.vxf"), document(objectText(sized(1, 1, 1), "1 ") + QStringLiteral("<Object object-type=\"2\"/>")));
    const std::vector<std::pair<QString, QString>> texts = {
        {"Broken here.", "Broken here."}, {"Broken here", "Broken here."}, {" Broken here... ", "Broken here."},
        {"", "The XML is not well-formed."}, {"..", "The XML is not well-formed."}};
    for (const auto &text : texts) {
        SCOPED_TRACE(text.first.toStdString());
        archive.setArchiver(Model::Object::ExtractedModelType, std::make_shared<RaisingArchiver>(text.first));
        const Reading reading = readFully(path("raised.vxf"));
        ASSERT_EQ(reading.outcome, Outcome::Read) << reading.error.toStdString();
        EXPECT_EQ(reading.volumes, (Volumes{{1}}));
        EXPECT_EQ(reading.warnings,
                  QStringList{QStringLiteral("WARNING: The document is damaged near line 1: %1 Reading stopped "
                                             "there, after 1 object.").arg(text.second)});
    }
}

// Nothing after the document element is read: no object, no material, and no warning for
// whatever bytes follow.
TEST_F(DocumentFile, EverythingAfterTheDocumentElementIsIgnored)
{
    const QByteArray whole = document(objectText(sized(1, 1, 2), "1 3 "));
    for (const QByteArray &tail : {QByteArray("\n<Object object-type=\"1\" size-x=\"1\" size-y=\"1\" size-z=\"1\">"
                                              "<State>4 </State></Object>"),
                                   QByteArray("\n<Material version=\"1\" name=\"GaAs\" material-id=\"4321\"/>"),
                                   QByteArray("garbage & <<< \x01")}) {
        SCOPED_TRACE(tail.toStdString());
        const Reading reading = readBytes(whole + tail);
        ASSERT_EQ(reading.outcome, Outcome::Read) << reading.error.toStdString();
        EXPECT_EQ(reading.volumes, (Volumes{{1, 3}}));
        EXPECT_TRUE(reading.warnings.isEmpty()) << reading.warnings.join('\n').toStdString();
        EXPECT_EQ(MaterialFactory::instance()->material(4321).materialId(), 0u);
    }
}

TEST_F(DocumentFile, RefusesDocumentsThatAreNotWholeOrNotDocuments)
{
    const QString sizes = sized(2, 2, 1);
    struct Case { const char *name; QByteArray bytes; const char *reason; };
    const std::vector<Case> cases = {
        {"wrong root", "<Materials><Header version=\"1\"/></Materials>", "Document"},
        {"no header", "<Document><Object object-type=\"1\"/></Document>", "Header"},
        {"not xml", "\x01\x02garbage", "Document"},
        {"empty file", "", "Document"},
        {"element in state", document(objectText(sizes, "1 2 <b/>3 4 ")), "element"},
        {"missing size", document(objectText("size-x=\"2\" size-y=\"2\"", "1 2 3 4 ")), "size-z"},
        {"size not a number", document(objectText("size-x=\"2\" size-y=\"two\" size-z=\"1\"", "1 2 ")), "two"},
        {"negative size", document(objectText("size-x=\"-2\" size-y=\"2\" size-z=\"1\"", "")), "-2"},
        {"zero size", document(objectText(sized(0, 2, 1), "")), "size-x"},
        {"beyond 32-bit index", document(objectText(sized(65536, 65536, 2), "")), "large"},
        {"beyond any size", document(objectText(sized(UINT64_MAX, UINT64_MAX, UINT64_MAX), "")), "large"},
        {"bad cell size",
         document(QStringLiteral("<Object object-type=\"1\" %1 cellsize-x=\"nan\"><State>1 2 3 4 </State></Object>")
                      .arg(sizes)), "cellsize-x"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Model::Scene target;
        target.setDocumentName(QStringLiteral("previous.vxf"));
        const Reading reading = readBytes(c.bytes, &target);
        const QString &why = reading.error;
        EXPECT_EQ(reading.outcome, Outcome::Refused);
        EXPECT_TRUE(why.contains(QLatin1String(c.reason))) << why.toStdString();
        // One sentence or more, each ending in one full stop.
        EXPECT_TRUE(why.endsWith(QLatin1Char('.')) && !why.contains(QLatin1String("..")) &&
                    !why.contains(QLatin1String("  ")) && !why.contains(QLatin1String(" .")))
            << why.toStdString();
        EXPECT_TRUE(target.objects().isEmpty());
        EXPECT_EQ(target.documentName(), QStringLiteral("previous.vxf"));
        EXPECT_EQ(contents(path("read.vxf")), c.bytes); // reading never touches the file
    }
}

TEST_F(DocumentFile, FailedWriteLeavesThePreviousFileByteForByte)
{
    const QString file = path("kept.vxf");
    addVolume(3, 3, 3, std::vector<uint32_t>(27, 1));
    ASSERT_EQ(write(file), DocumentWriter::Outcome::Written);
    const QByteArray before = contents(file);

    FailingDevice broken;
    archive.setArchiver(1, std::make_shared<TamperingArchiver>([&](QXmlStreamWriter *w) { w->setDevice(&broken); }));
    addVolume(4, 4, 4, std::vector<uint32_t>(64, 3));
    scene.setDocumentName(QStringLiteral("before.vxf"));
    EXPECT_EQ(write(file), DocumentWriter::Outcome::Failed);
    EXPECT_EQ(contents(file), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.vxf"}); // no temporary left behind
    EXPECT_EQ(scene.documentName(), QStringLiteral("before.vxf"));
}

TEST_F(DocumentFile, TargetFolderVanishingDuringTheWriteIsAFailure)
{
    QTemporaryDir parent;
    const QString folder = parent.filePath("doc");
    ASSERT_TRUE(QDir().mkpath(folder));
    archive.setArchiver(1, std::make_shared<TamperingArchiver>([&](QXmlStreamWriter *) {
        QDir(folder).removeRecursively();
    }));
    addVolume(2, 2, 2, std::vector<uint32_t>(8, 1));
    EXPECT_EQ(write(folder + "/gone.vxf"), DocumentWriter::Outcome::Failed);
    EXPECT_TRUE(scene.documentName().isEmpty());
}

// Materials are reconciled only once the document is accepted: a document refused for an object
// behind its materials leaves the catalogue and the id map alone and asks the user nothing.
TEST_F(DocumentFile, RefusedDocumentChangesNeitherTheCatalogueNorTheIdMap)
{
    const QString materials = QStringLiteral(
        "<Material version=\"1\" name=\"Si\" material-id=\"3\" color=\"#FF102030\"/>"     // conflicts with 3
        "<Material version=\"1\" name=\"GaAs\" material-id=\"4321\" color=\"#FF405060\"/>" // unknown
        "<Material version=\"1\" name=\"PDMS\" material-id=\"777\"/>");                   // known by name
    const QString good = objectText(sized(1, 1, 3), "3 4321 777 ");
    const std::vector<QString> badObjects = {
        objectText(sized(4000000000, 4000000000, 4000000000), "1 "),
        objectText(sized(1, 1, 2), "1 <b/>2 "),
        QStringLiteral("<Object object-type=\"1\" size-x=\"1\" size-y=\"1\"><State>1 </State></Object>"),
    };
    auto asked = std::make_shared<TestSupport::CountingObserver>();
    MaterialConflict::instance().setObserver(asked);
    const auto catalogue = MaterialFactory::instance()->materials();
    const auto ids = MaterialIdMap::instance().entries();
    for (const QString &bad : badObjects) {
        SCOPED_TRACE(bad.toStdString());
        Model::Scene target;
        const Reading reading = readBytes(document(materials + good + bad), &target);
        EXPECT_EQ(reading.outcome, Outcome::Refused);
        EXPECT_FALSE(reading.error.isEmpty());
        EXPECT_TRUE(reading.warnings.isEmpty());
        EXPECT_TRUE(target.objects().isEmpty());
        EXPECT_EQ(asked->count, 0);
        EXPECT_EQ(MaterialFactory::instance()->materials(), catalogue);
        EXPECT_EQ(MaterialIdMap::instance().entries(), ids);
    }

    // Without the bad object the same materials do reach the catalogue, the map and the user,
    // and the cells arrive holding catalogue ids: "PDMS", unknown by id but known by name, takes
    // the catalogue's id and adds nothing; "GaAs" joins under its own id.
    const Reading reading = readBytes(document(materials + good));
    ASSERT_EQ(reading.outcome, Outcome::Read) << reading.error.toStdString();
    EXPECT_EQ(asked->count, 1);
    EXPECT_EQ(MaterialFactory::instance()->materials().size(), catalogue.size() + 2);
    EXPECT_EQ(MaterialFactory::instance()->material(4321).name(), QStringLiteral("GaAs"));
    const uint32_t newId = MaterialIdMap::instance().translate(3);
    EXPECT_GE(newId, MaterialFactory::kFirstUserMaterialId); // nobody answered: "Si" joined under a new id
    EXPECT_EQ(reading.volumes, (Volumes{{newId, 4321, 13}}));
}

// A conflict settled for one document must not follow its number into the next: a document
// that does not list an id means the catalogue's material of that id.
TEST_F(DocumentFile, EarlierDocumentsDoNotTranslateIdsALaterDocumentDoesNotList)
{
    MaterialConflict::instance().setObserver(std::make_shared<TestSupport::CountingObserver>());
    const Reading earlier = readBytes(document(
        QStringLiteral("<Material version=\"1\" name=\"Si\" material-id=\"3\" color=\"#FF102030\"/>")
        + objectText(sized(1, 1, 1), "3 ")));
    ASSERT_EQ(earlier.outcome, Outcome::Read) << earlier.error.toStdString();
    ASSERT_NE(MaterialIdMap::instance().translate(3), 3u); // "Si" joined under a new id

    const Reading later = readBytes(document(objectText(sized(1, 1, 2), "3 1 ")));
    ASSERT_EQ(later.outcome, Outcome::Read) << later.error.toStdString();
    EXPECT_EQ(later.volumes, (Volumes{{3, 1}}));
}

TEST_F(DocumentFile, ConflictChoicesSettleTheMapAndTheCatalogue)
{
    // The file says material 3 is "Si"; the catalogue's 3 is "Thermal Si02".
    store(path("conflict.vxf"),
          document(QStringLiteral("<Material version=\"1\" name=\"Si\" material-id=\"3\" density=\"2329\" "
                                  "poisson-ratio=\"0.28\" young-modulus=\"1.88e+11\" color=\"#FF102030\"/>")
                   + objectText(sized(1, 2, 2), "3 0 3 3 ")));
    auto &conflict = MaterialConflict::instance();
    using Choice = MaterialConflict::Choice;
    const auto cellsAfterChoosing = [&](std::function<void()> choose) {
        MaterialFactory::instance()->createDefaultMaterials();
        conflict.setObserver(std::make_shared<CallObserver>(choose));
        const Reading reading = readFully(path("conflict.vxf"));
        EXPECT_EQ(reading.outcome, Outcome::Read);
        return reading.volumes.empty() ? std::vector<uint32_t>() : reading.volumes[0];
    };
    const auto nameOf3 = [] { return MaterialFactory::instance()->material(3).name(); };

    std::vector<uint32_t> cells = cellsAfterChoosing([&] {
        EXPECT_EQ(conflict.existingMaterial().name(), QStringLiteral("Thermal Si02"));
        EXPECT_EQ(conflict.loadedMaterial().name(), QStringLiteral("Si"));
        conflict.resolve(Choice::AddAsNew);
    });
    ASSERT_FALSE(cells.empty());
    const uint32_t newId = cells[0];
    EXPECT_GE(newId, MaterialFactory::kFirstUserMaterialId);
    EXPECT_EQ(cells, (std::vector<uint32_t>{newId, 0, newId, newId}));
    EXPECT_EQ(MaterialFactory::instance()->material(newId).toQColor(), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(nameOf3(), QStringLiteral("Thermal Si02"));

    EXPECT_EQ(cellsAfterChoosing([&] { conflict.resolve(Choice::UseExisting); }), (std::vector<uint32_t>{3, 0, 3, 3}));
    EXPECT_EQ(nameOf3(), QStringLiteral("Thermal Si02"));
    EXPECT_EQ(cellsAfterChoosing([&] { conflict.resolve(Choice::ReplaceExisting); }),
              (std::vector<uint32_t>{3, 0, 3, 3}));
    EXPECT_EQ(nameOf3(), QStringLiteral("Si"));
    EXPECT_EQ(cellsAfterChoosing([&] { conflict.resolve(Choice::UseAnother, 16); }),
              (std::vector<uint32_t>{16, 0, 16, 16}));

    // Nobody answers (cancel): the loaded material still gets a new id of its own.
    const auto countBefore = MaterialFactory::instance()->materials().size();
    cells = cellsAfterChoosing([] {});
    ASSERT_FALSE(cells.empty());
    EXPECT_GE(cells[0], MaterialFactory::kFirstUserMaterialId);
    EXPECT_EQ(MaterialFactory::instance()->materials().size(), countBefore + 1);
}

TEST_F(DocumentFile, UnreadableMaterialIsAWarningAndItsCellsKeepTheirIds)
{
    const Reading reading = readBytes(document(QStringLiteral("<Material version=\"1\" material-id=\"9000\"/>")
                                               + objectText(sized(1, 1, 2), "9000 1 ")));
    ASSERT_EQ(reading.outcome, Outcome::Read);
    EXPECT_EQ(reading.warnings, QStringList{QLatin1String(DocumentReader::kMaterialWarning)});
    EXPECT_EQ(reading.volumes, (Volumes{{9000, 1}}));
}

TEST_F(DocumentFile, ShippedExamplesOpen)
{
    const QDir examples(QStringLiteral(VOXFAB_EXAMPLES_DIR));
    struct Example { const char *name; long silicon, oxide; };
    for (const Example &e : {Example{"silicon-substrate.vxf", 2000, 0}, Example{"oxide-on-silicon.vxf", 2000, 800}}) {
        SCOPED_TRACE(e.name);
        const Reading reading = readFully(examples.absoluteFilePath(e.name));
        ASSERT_EQ(reading.outcome, Outcome::Read);
        ASSERT_EQ(reading.volumes.size(), 1u);
        const auto &cells = reading.volumes[0];
        EXPECT_EQ(std::count(cells.begin(), cells.end(), 1u), e.silicon);
        EXPECT_EQ(std::count(cells.begin(), cells.end(), 3u), e.oxide);
    }
}

// Particle count fields follow the Position, runs of zeros written as "*count".
TEST_F(DocumentFile, ParticleCountFieldsAreWrittenAfterThePositionAndReadBackWhole)
{
    auto volume = TestSupport::flatVolume(2, 1, 3, 2, 1);
    scene.addObject(volume);
    auto n = std::make_shared<ParticleCountField>(6);
    n->counters(0)[6] = 100000;
    n->counters(0)[2] = 4;
    n->counters(5)[0] = 7;
    auto p = std::make_shared<ParticleCountField>(6);
    p->counters(3)[6] = 1;
    volume->setParticleCountField(ParticleCountField::kTypeNName, n);
    volume->setParticleCountField(ParticleCountField::kTypePName, p);
    ASSERT_EQ(write(path("field.vxf")), DocumentWriter::Outcome::Written);

    // 2 zeros, 4, 3 zeros, 100000, then 28 counters to the 7, and the last 6 slots of the last cell.
    const QByteArray text = contents(path("field.vxf"));
    EXPECT_TRUE(text.contains("<Position pos-x=\"0\" pos-y=\"0\" pos-z=\"0\"/>"
                              "<ParticleCountField name=\"Random Walk Particle Count Type N\" counters-per-cell=\"7\">"
                              "*2 4 *3 100000 *28 7 *6 </ParticleCountField>"
                              "<ParticleCountField name=\"Random Walk Particle Count Type P\" counters-per-cell=\"7\">"
                              "*27 1 *14 </ParticleCountField></Object>"))
        << text.toStdString();

    Model::Scene loaded;
    const Reading reading = readFully(path("field.vxf"), &loaded);
    EXPECT_TRUE(reading.warnings.isEmpty()) << reading.warnings.join('\n').toStdString();
    EXPECT_EQ(reading.volumes, Volumes{materialsOf(*volume)});
    const auto read = std::dynamic_pointer_cast<TotalVolume>(loaded.objects().value(0));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->particleCountFieldNames(), volume->particleCountFieldNames());
    EXPECT_TRUE(*read->particleCountField(ParticleCountField::kTypeNName) == *n);
    EXPECT_TRUE(*read->particleCountField(ParticleCountField::kTypePName) == *p);
}

TEST_F(DocumentFile, ADamagedParticleCountFieldIsLeftOutWithAWarningAndTheCellsStay)
{
    const std::pair<const char *, const char *> cases[] = {
        // The field's text, and what its warning must name.
        {"counters-per-cell=\"7\">*13 ", "13 counters"},
        {"counters-per-cell=\"7\">*10 x 3 ", "\"x\""},
        {"counters-per-cell=\"7\">*15 ", "more than"},
        {"counters-per-cell=\"6\">*12 ", "6 counters per cell"},
    };
    for (const auto &[field, why] : cases) {
        SCOPED_TRACE(field);
        Model::Scene loaded;
        const Reading reading = readBytes(
            document(QStringLiteral("<Object object-type=\"1\" %1><State>1 1 </State><Position pos-x=\"0\" pos-y=\"0\" "
                                    "pos-z=\"0\"/><ParticleCountField name=\"N\" %2</ParticleCountField><Later/></Object>")
                         .arg(sized(1, 1, 2), QLatin1String(field))),
            &loaded);
        ASSERT_EQ(reading.outcome, Outcome::Read) << reading.error.toStdString();
        EXPECT_EQ(reading.volumes, (Volumes{{1, 1}}));
        EXPECT_TRUE(std::dynamic_pointer_cast<TotalVolume>(loaded.objects()[0])->particleCountFieldNames().isEmpty());
        ASSERT_EQ(reading.warnings.size(), 1);
        EXPECT_TRUE(reading.warnings[0].contains(QLatin1String(why))) << reading.warnings[0].toStdString();
    }
}
