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
#include "Util/IObserver.h"
#include "common/Cells.h"
#include "common/Observers.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <random>

using Model::Automaton::TotalVolume;
using Model::Materials::Material;
using Model::Materials::MaterialFactory;
using namespace Model::Persistence;
using TestSupport::CallObserver;
using TestSupport::materialsOf;

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
class FailingDevice : public QIODevice {
public:
    FailingDevice() { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64) override { return -1; }
};

// Writes volumes as usual, then runs `afterWrite` with the stream (to break it mid-document).
class TamperingArchiver : public TotalVolumeArchiver {
public:
    explicit TamperingArchiver(std::function<void(QXmlStreamWriter *)> afterWrite) : afterWrite(std::move(afterWrite)) {}
    void setWriter(QXmlStreamWriter *writer) override
    {
        current = writer;
        TotalVolumeArchiver::setWriter(writer);
    }
    bool write(const std::shared_ptr<Model::Object> &object) override
    {
        const bool written = TotalVolumeArchiver::write(object);
        afterWrite(current);
        return written;
    }

private:
    std::function<void(QXmlStreamWriter *)> afterWrite;
    QXmlStreamWriter *current = nullptr;
};

// Reads volumes as usual but asks for no State from the bytes.
class StreamingVolumeArchiver : public TotalVolumeArchiver {
public:
    LiftableText liftableText() const override { return {}; }
};

// Reads nothing: raises a stream error with the text it was given, as an archiver that finds
// its element broken may.
class RaisingArchiver : public ObjectArchiver {
public:
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

private:
    QString text;
    QXmlStreamReader *reader = nullptr;
};

// An object of another type, read by an archiver that takes its "Outline" text from the
// bytes when it may (letters only) and says which way the text came.
struct Outline : Model::Object {
    explicit Outline(QString text) : text(std::move(text)) {}
    uint32_t objectType() const override { return ExtractedModelType; }
    void paint(bool, bool, const Util::Vector3D &) override {}
    void paintForPicking() override {}
    Object *clone() override { return nullptr; }
    void move(const Util::Vector4D &) override {}
    void transform(const Util::Vector4D &, const Util::Vector4D &) override {}
    QString text;
};

class OutlineArchiver : public ObjectArchiver {
public:
    void setWriter(QXmlStreamWriter *) override {}
    void setReader(QXmlStreamReader *newReader) override { reader = newReader; }
    void setMaterialIdMap(MaterialIdMap *) override {}
    bool write(const std::shared_ptr<Model::Object> &) override { return false; }
    QString readError() const override { return QString(); }
    LiftableText liftableText() const override
    {
        return {QByteArrayLiteral("Outline"), QByteArrayLiteral("abcdefghijklmnopqrstuvwxyz")};
    }
    void setLiftedTexts(const LiftedTexts *texts) override { lifted = texts; }

    std::shared_ptr<Model::Object> read() override
    {
        reader->readNextStartElement();
        const LiftedTexts::Span *text = lifted ? lifted->text(*reader) : nullptr;
        QString outline;
        if (text) {
            outline = "from the bytes: " + QString::fromUtf8(text->begin, int(text->end - text->begin));
            reader->skipCurrentElement();
        } else {
            outline = "from the reader: " + reader->readElementText();
        }
        while (reader->readNextStartElement()) // the rest of the Object
            reader->skipCurrentElement();
        return std::make_shared<Outline>(outline);
    }

private:
    QXmlStreamReader *reader = nullptr;
    const LiftedTexts *lifted = nullptr;
};

struct DocumentFile : ::testing::Test {
    void TearDown() override
    {
        MaterialConflict::instance().setObserver(nullptr);
        MaterialFactory::instance()->createDefaultMaterials();
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    std::shared_ptr<TotalVolume> addVolume(Model::Scene &target, uint32_t x, uint32_t y, uint32_t z,
                                           const std::vector<uint32_t> &ids, const Util::Vector3D &origin = {},
                                           float cx = 1.f, float cy = 1.f, float cz = 1.f)
    {
        auto volume = std::make_shared<TotalVolume>(x, y, z, cx, cy, cz, origin, ids);
        target.addObject(volume);
        return volume;
    }

    DocumentReader::Outcome readInto(Model::Scene &target, const QString &file, QString *why = nullptr)
    {
        DocumentReader reader(target, archive);
        const auto outcome = reader.read(file);
        if (why)
            *why = reader.error();
        return outcome;
    }

    struct Reading {
        DocumentReader::Outcome outcome;
        QStringList warnings;
        QString error;
        std::vector<std::vector<uint32_t>> volumes; // the cells of each object read, in order
    };
    Reading readFully(Model::Scene &target, const QString &file)
    {
        DocumentReader reader(target, archive);
        Reading reading{reader.read(file), reader.warnings(), reader.error(), {}};
        for (const auto &object : target.objects())
            if (auto volume = std::dynamic_pointer_cast<TotalVolume>(object))
                reading.volumes.push_back(materialsOf(*volume));
        return reading;
    }

    // A document holding the given object elements after the header.
    QString writeDocumentText(const QString &name, const QString &body)
    {
        const QString file = path(name);
        store(file, (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Document><Header version=\"1\"/>") +
                     body + QStringLiteral("</Document>"))
                        .toUtf8());
        return file;
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
    addVolume(scene, 2, 2, 1, {1, 0, 0, 2}, Util::Vector3D(1.5, -2, 0.25), 0.5f, 1.f, 2.f);
    const QString file = path("small.vxf");
    ASSERT_EQ(DocumentWriter(scene, archive).write(file), DocumentWriter::Outcome::Written);
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
    std::vector<std::vector<uint32_t>> written;
    for (const Shape &s : shapes) {
        std::vector<uint32_t> ids(size_t(s.x) * s.y * s.z);
        for (auto &id : ids)
            id = palette[random() % palette.size()];
        addVolume(scene, s.x, s.y, s.z, ids, s.origin, s.cx, s.cy, s.cz);
        written.push_back(ids);
    }
    const QString file = path("several.vxf");
    ASSERT_EQ(DocumentWriter(scene, archive).write(file), DocumentWriter::Outcome::Written);

    Model::Scene loaded;
    ASSERT_EQ(readInto(loaded, file), DocumentReader::Outcome::Read);
    EXPECT_EQ(loaded.documentName(), file);
    const auto objects = loaded.objects();
    ASSERT_EQ(objects.size(), int(shapes.size()));
    for (size_t i = 0; i < shapes.size(); ++i) {
        auto volume = std::dynamic_pointer_cast<TotalVolume>(objects[int(i)]);
        ASSERT_TRUE(volume);
        EXPECT_EQ(volume->sizeX(), shapes[i].x);
        EXPECT_EQ(volume->sizeY(), shapes[i].y);
        EXPECT_EQ(volume->sizeZ(), shapes[i].z);
        EXPECT_FLOAT_EQ(volume->cellSizeX(), shapes[i].cx);
        EXPECT_FLOAT_EQ(volume->cellSizeY(), shapes[i].cy);
        EXPECT_FLOAT_EQ(volume->cellSizeZ(), shapes[i].cz);
        EXPECT_DOUBLE_EQ(volume->origin().x, shapes[i].origin.x);
        EXPECT_DOUBLE_EQ(volume->origin().y, shapes[i].origin.y);
        EXPECT_DOUBLE_EQ(volume->origin().z, shapes[i].origin.z);
        EXPECT_EQ(materialsOf(*volume), written[i]) << "object " << i;
    }
}

TEST_F(DocumentFile, StateAcceptsAnyRunOfBlanksBetweenIds)
{
    const QString file = writeDocumentText(
        "blanks.vxf", objectText("size-x=\"2\" size-y=\"1\" size-z=\"3\"", "  4    0 1\n16\t\t3   0"));
    ASSERT_EQ(readInto(scene, file), DocumentReader::Outcome::Read);
    auto volume = std::dynamic_pointer_cast<TotalVolume>(scene.objects().value(0));
    ASSERT_TRUE(volume);
    EXPECT_EQ(materialsOf(*volume), (std::vector<uint32_t>{4, 0, 1, 16, 3, 0}));
    EXPECT_FLOAT_EQ(volume->cellSizeX(), 1.f); // absent cell sizes are 1
}

// Plain State texts are parsed from the file's bytes instead of the XML reader's text; both
// ways must agree on every document, whatever else shares the file with the State.
TEST_F(DocumentFile, StateReadsTheSameWhicheverWayItsTextIsParsed)
{
    const QString sizes = QStringLiteral("size-x=\"2\" size-y=\"2\" size-z=\"1\"");
    const QString skipped = QStringLiteral("<Object object-type=\"99\"><State>7 7 7 7 </State></Object>");
    struct Case { const char *name; QByteArray bytes; std::vector<std::vector<uint32_t>> volumes; };
    const std::vector<Case> cases = {
        {"entity and comment in state",
         (QStringLiteral("<Document><Header version=\"1\"/>") + objectText(sizes, "1&#32;2 <!-- 9 -->3 4 ")
          + QStringLiteral("</Document>")).toUtf8(), {{1, 2, 3, 4}}},
        {"a state of an unknown object before a volume",
         (QStringLiteral("<Document><Header version=\"1\"/>") + skipped + objectText(sizes, "1 2 3 4 ")
          + objectText(sizes, "4\n3\n2\n1") + QStringLiteral("</Document>")).toUtf8(), {{1, 2, 3, 4}, {4, 3, 2, 1}}},
        {"a file that already names the lifted text",
         (QStringLiteral("<Document><Header version=\"1\"/><Object object-type=\"1\" %1><State %2=\"0\">5 5 5 5 "
                         "</State></Object>").arg(sizes, QLatin1String(LiftedTexts::kAttribute))
          + objectText(sizes, "1 2 3 4 ") + QStringLiteral("</Document>")).toUtf8(), {{5, 5, 5, 5}, {1, 2, 3, 4}}},
        // The file is read in text mode, which drops every carriage return.
        {"carriage returns", (QStringLiteral("<Document>\r\n<Header version=\"1\"/>\r\n")
                              + objectText(sizes, "1\r\n2\r3 4 5") + QStringLiteral("</Document>")).toUtf8(),
         {{1, 23, 4, 5}}},
        {"latin-1 document",
         (QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><Document><Header version=\"1\"/>")
          + objectText(sizes, "0 1 1 0") + QStringLiteral("</Document>")).toLatin1(), {{0, 1, 1, 0}}},
    };
    for (const bool lifted : {true, false}) {
        if (!lifted)
            archive.setArchiver(TotalVolumeArchiver::kObjectType, std::make_shared<StreamingVolumeArchiver>());
        for (const Case &c : cases) {
            SCOPED_TRACE(c.name);
            SCOPED_TRACE(lifted ? "State parsed from the bytes" : "State parsed from the XML reader");
            const QString file = path(QStringLiteral("state.vxf"));
            store(file, c.bytes);
            Model::Scene target;
            QString why;
            ASSERT_EQ(readInto(target, file, &why), DocumentReader::Outcome::Read) << why.toStdString();
            ASSERT_EQ(target.objects().size(), int(c.volumes.size()));
            for (size_t i = 0; i < c.volumes.size(); ++i)
                EXPECT_EQ(materialsOf(*std::dynamic_pointer_cast<TotalVolume>(target.objects()[int(i)])),
                          c.volumes[i]);
        }
    }
}

// The same volume read three ways: its State lifted from the bytes, streamed because its
// archiver asks for nothing, and streamed because a comment in it keeps it from being lifted.
TEST_F(DocumentFile, VolumeCellsAreTheSameWhetherOrNotItsArchiverTakesTheStateFromTheBytes)
{
    std::mt19937 random(11);
    std::vector<uint32_t> ids(13 * 11 * 7);
    for (auto &id : ids)
        id = random() % 4 == 0 ? 0u : 1u + random() % 60000;
    addVolume(scene, 13, 11, 7, ids);
    const QString lifted = path("lifted.vxf");
    ASSERT_EQ(DocumentWriter(scene, archive).write(lifted), DocumentWriter::Outcome::Written);
    QByteArray bytes = contents(lifted);
    const QString commented = path("commented.vxf");
    store(commented, bytes.insert(bytes.indexOf("<State>") + 7, "<!-- streamed -->"));

    const auto cellsRead = [&](const QString &file) {
        Model::Scene loaded;
        EXPECT_EQ(readInto(loaded, file), DocumentReader::Outcome::Read);
        auto volume = std::dynamic_pointer_cast<TotalVolume>(loaded.objects().value(0));
        return volume ? materialsOf(*volume) : std::vector<uint32_t>();
    };
    EXPECT_EQ(cellsRead(lifted), ids);
    EXPECT_EQ(cellsRead(commented), ids);
    archive.setArchiver(TotalVolumeArchiver::kObjectType, std::make_shared<StreamingVolumeArchiver>());
    EXPECT_EQ(cellsRead(lifted), ids);
}

// The reader knows no archiver: one for another object type that names its own element gets
// that element's plain text from the bytes, beside the volumes that get theirs.
TEST_F(DocumentFile, AnyArchiverThatNamesAnElementGetsItsPlainTextFromTheBytes)
{
    archive.setArchiver(Model::Object::ExtractedModelType, std::make_shared<OutlineArchiver>());
    const QString sizes = QStringLiteral("size-x=\"1\" size-y=\"1\" size-z=\"2\"");
    const QString file = writeDocumentText(
        "outlines.vxf", QStringLiteral("<Object object-type=\"2\"><Outline>abc</Outline></Object>") +
                            objectText(sizes, "7 8 ") +
                            QStringLiteral("<Object object-type=\"2\">\n<Outline>b&amp;c</Outline></Object>"
                                           "<Object object-type=\"2\"><Outline>b\nd</Outline></Object>"
                                           "<Object object-type=\"2\"><Outline>abcd</Outline><State>5</State>"
                                           "</Object>"));
    QString why;
    ASSERT_EQ(readInto(scene, file, &why), DocumentReader::Outcome::Read) << why.toStdString();
    QStringList outlines;
    for (const auto &object : scene.objects())
        if (auto outline = std::dynamic_pointer_cast<Outline>(object))
            outlines << outline->text;
    EXPECT_EQ(outlines, (QStringList{"from the bytes: abc", "from the reader: b&c", "from the reader: b\nd",
                                     "from the bytes: abcd"}));
    auto volume = std::dynamic_pointer_cast<TotalVolume>(scene.objects().value(1));
    ASSERT_TRUE(volume);
    EXPECT_EQ(materialsOf(*volume), (std::vector<uint32_t>{7, 8}));
}

// Too few ids leave the last cells empty, too many are cut off, and a volume without a State is
// empty (a document may leave the State out); the user hears of each such volume
// once, by its place among the objects read and its size, whichever way its State is parsed.
TEST_F(DocumentFile, StateOfTheWrongLengthIsReadAsFarAsItGoesWithOneWarningPerVolume)
{
    const QString file = writeDocumentText(
        "lengths.vxf", QStringLiteral("<Object object-type=\"99\"/>")
                           + objectText("size-x=\"2\" size-y=\"2\" size-z=\"1\"", "1 2 3 4 ")
                           + objectText("size-x=\"2\" size-y=\"3\" size-z=\"1\"", "5 6\n7")
                           + objectText("size-x=\"2\" size-y=\"2\" size-z=\"1\"", "1 2 3 4 5 6 ")
                           + objectText("size-x=\"1\" size-y=\"1\" size-z=\"2\"", "")
                           + QStringLiteral("<Object object-type=\"1\" size-x=\"1\" size-y=\"3\" size-z=\"1\">"
                                            "<Position pos-x=\"2\" pos-y=\"0\" pos-z=\"0\"/></Object>"
                                            "<Object object-type=\"1\" size-x=\"1\" size-y=\"1\" size-z=\"1\"/>"));
    const QStringList expected = {
        QString::fromUtf8("WARNING: The \"State\" of cell volume 2 (2 × 3 × 1) holds 3 material ids for its 6 "
                          "cells; the last 3 cells are left empty."),
        QString::fromUtf8("WARNING: The \"State\" of cell volume 3 (2 × 2 × 1) holds 6 material ids for its 4 "
                          "cells; the last 2 ids are ignored."),
        QString::fromUtf8("WARNING: The \"State\" of cell volume 4 (1 × 1 × 2) holds 0 material ids for its 2 "
                          "cells; the last 2 cells are left empty."),
        QString::fromUtf8("WARNING: Cell volume 5 (1 × 3 × 1) has no \"State\" element; its 3 cells are left empty."),
        QString::fromUtf8("WARNING: Cell volume 6 (1 × 1 × 1) has no \"State\" element; its cell is left empty."),
    };
    for (const bool lifted : {true, false}) {
        SCOPED_TRACE(lifted ? "State parsed from the bytes" : "State parsed from the XML reader");
        if (!lifted)
            archive.setArchiver(TotalVolumeArchiver::kObjectType, std::make_shared<StreamingVolumeArchiver>());
        Model::Scene target;
        const Reading reading = readFully(target, file);
        ASSERT_EQ(reading.outcome, DocumentReader::Outcome::Read) << reading.error.toStdString();
        EXPECT_EQ(reading.volumes, (std::vector<std::vector<uint32_t>>{{1, 2, 3, 4}, {5, 6, 7, 0, 0, 0},
                                                                       {1, 2, 3, 4}, {0, 0}, {0, 0, 0}, {0}}));
        EXPECT_EQ(reading.warnings, expected);
        // A Position that comes first, for want of a State, still places its volume.
        ASSERT_EQ(target.objects().size(), 6);
        EXPECT_DOUBLE_EQ(std::dynamic_pointer_cast<TotalVolume>(target.objects()[4])->origin().x, 2.0);
    }
}

TEST_F(DocumentFile, StateEntriesThatAreNotIdsReadAsEmptyCellsWithOneWarning)
{
    // A letter, a sign and an id beyond 32 bits each leave their cell empty; the ids around them
    // keep their places.
    const QString file = writeDocumentText(
        "entries.vxf", objectText("size-x=\"2\" size-y=\"3\" size-z=\"1\"", "1 x 3 -4 99999999999 6 ")
                           + objectText("size-x=\"1\" size-y=\"1\" size-z=\"2\"", "4294967296 2 "));
    const QStringList expected = {
        QString::fromUtf8("WARNING: The \"State\" of cell volume 1 (2 × 3 × 1) holds 3 entries that are not "
                          "material ids; their cells are left empty."),
        QString::fromUtf8("WARNING: The \"State\" of cell volume 2 (1 × 1 × 2) holds 1 entry that is not a "
                          "material id; its cell is left empty."),
    };
    for (const bool lifted : {true, false}) {
        SCOPED_TRACE(lifted ? "State parsed from the bytes where it can be" : "State parsed from the XML reader");
        if (!lifted)
            archive.setArchiver(TotalVolumeArchiver::kObjectType, std::make_shared<StreamingVolumeArchiver>());
        Model::Scene target;
        const Reading reading = readFully(target, file);
        ASSERT_EQ(reading.outcome, DocumentReader::Outcome::Read) << reading.error.toStdString();
        EXPECT_EQ(reading.volumes, (std::vector<std::vector<uint32_t>>{{1, 0, 3, 0, 0, 6}, {0, 2}}));
        EXPECT_EQ(reading.warnings, expected);
    }
}

// Damage to the XML after the Header ends the document where it is met: the objects before it
// are kept, the one it breaks is dropped, and one warning tells the line and the reader's text.
TEST_F(DocumentFile, DamageAfterTheHeaderKeepsTheObjectsBeforeItWithAWarning)
{
    const QString sizes = QStringLiteral("size-x=\"2\" size-y=\"2\" size-z=\"1\"");
    const QString unknownMaterial = QStringLiteral("<Material version=\"1\" name=\"GaAs\" material-id=\"4321\"/>");
    const QString laterMaterial = QStringLiteral("<Material version=\"1\" name=\"InP\" material-id=\"4322\"/>");
    addVolume(scene, 10, 10, 10, std::vector<uint32_t>(1000, 1));
    addVolume(scene, 10, 10, 10, std::vector<uint32_t>(1000, 3));
    ASSERT_EQ(DocumentWriter(scene, archive).write(path("whole.vxf")), DocumentWriter::Outcome::Written);
    const QByteArray whole = contents(path("whole.vxf"));
    const int secondState = whole.indexOf("<State>", whole.indexOf("</Object>"));

    struct Case { const char *name; QByteArray bytes; size_t objects; int line; };
    const auto document = [&](const QString &body) {
        return (QStringLiteral("<Document><Header version=\"1\"/>") + body).toUtf8();
    };
    const std::vector<Case> cases = {
        {"unclosed tag after two objects",
         document(unknownMaterial + objectText(sizes, "1 2 3 4 ") + "\n" + objectText(sizes, "4 3 2 1 ")
                  + "\n<Broken" + laterMaterial), 2, 3},
        {"mismatched tag in the second object",
         document(objectText(sizes, "1 2 3 4 ") + "\n<Object object-type=\"1\" " + sizes
                  + "><State>1 1 1 1 </State><Position></Wrong></Object></Document>"), 1, 2},
        // The State's four line breaks plus the one after the object put the damage on line 6.
        {"damage behind a multi-line State",
         document(objectText(sizes, "1\n2\r\n3\n4\n") + "\n<Broken"), 1, 6},
        {"cut inside the second State", whole.left(secondState + 500), 1, 1},
        {"cut after the second object", whole.left(whole.lastIndexOf("</Object>") + 9), 2, 1},
        {"damaged unknown object", document(QStringLiteral("<Object object-type=\"99\"><a></b>")), 0, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MaterialFactory::instance()->createDefaultMaterials();
        store(path("damaged.vxf"), c.bytes);
        Model::Scene target;
        const Reading reading = readFully(target, path("damaged.vxf"));
        ASSERT_EQ(reading.outcome, DocumentReader::Outcome::Read) << reading.error.toStdString();
        EXPECT_EQ(target.objects().size(), int(c.objects));
        EXPECT_EQ(target.documentName(), path("damaged.vxf"));
        ASSERT_EQ(reading.warnings.size(), 1) << reading.warnings.join('\n').toStdString();
        const QString warning = reading.warnings[0];
        EXPECT_TRUE(warning.startsWith(QStringLiteral("WARNING: The document is damaged near line %1: ").arg(c.line)))
            << warning.toStdString();
        const QString stopped = c.objects == 0 ? QStringLiteral("before any object.")
                                               : QStringLiteral("after %1 object%2.").arg(c.objects)
                                                     .arg(c.objects == 1 ? "" : "s");
        EXPECT_TRUE(warning.endsWith(QStringLiteral("Reading stopped there, ") + stopped)) << warning.toStdString();
        EXPECT_FALSE(warning.contains(QLatin1String(".."))) << warning.toStdString();
    }
    // The first two volumes of the cut copies hold what was written.
    Model::Scene target;
    store(path("damaged.vxf"), cases[4].bytes);
    EXPECT_EQ(readFully(target, path("damaged.vxf")).volumes,
              (std::vector<std::vector<uint32_t>>{std::vector<uint32_t>(1000, 1), std::vector<uint32_t>(1000, 3)}));
    // Materials before the damage join the catalogue; those after it were never read.
    MaterialFactory::instance()->createDefaultMaterials();
    store(path("damaged.vxf"), cases[0].bytes);
    Model::Scene again;
    ASSERT_EQ(readFully(again, path("damaged.vxf")).outcome, DocumentReader::Outcome::Read);
    EXPECT_EQ(MaterialFactory::instance()->material(4321).name(), QStringLiteral("GaAs"));
    EXPECT_EQ(MaterialFactory::instance()->material(4322).materialId(), 0u);
}

// Whatever text the stream's error carries, with a full stop or without, or none at all, the
// warning gives it as one sentence.
TEST_F(DocumentFile, DamageWarningEndsEachSentenceInOneFullStop)
{
    const QString file = writeDocumentText(
        "raised.vxf", objectText("size-x=\"1\" size-y=\"1\" size-z=\"1\"", "1 ")
                          + QStringLiteral("<Object object-type=\"2\"/>"));
    const std::vector<std::pair<QString, QString>> texts = {
        {"Broken here.", "Broken here."}, {"Broken here", "Broken here."}, {" Broken here... ", "Broken here."},
        {"", "The XML is not well-formed."}, {"..", "The XML is not well-formed."}};
    for (const auto &text : texts) {
        SCOPED_TRACE(text.first.toStdString());
        archive.setArchiver(Model::Object::ExtractedModelType, std::make_shared<RaisingArchiver>(text.first));
        Model::Scene target;
        const Reading reading = readFully(target, file);
        ASSERT_EQ(reading.outcome, DocumentReader::Outcome::Read) << reading.error.toStdString();
        EXPECT_EQ(reading.volumes, (std::vector<std::vector<uint32_t>>{{1}}));
        EXPECT_EQ(reading.warnings,
                  QStringList{QStringLiteral("WARNING: The document is damaged near line 1: %1 Reading stopped "
                                             "there, after 1 object.").arg(text.second)});
    }
}

TEST_F(DocumentFile, EverythingAfterTheDocumentElementIsIgnored)
{
    const QByteArray document = "<?xml version=\"1.0\"?><Document><Header version=\"1\"/><Object object-type=\"1\" "
                                "size-x=\"1\" size-y=\"1\" size-z=\"2\"><State>1 3 </State></Object></Document>";
    const std::vector<QByteArray> tails = {
        "\n<Object object-type=\"1\" size-x=\"1\" size-y=\"1\" size-z=\"1\"><State>4 </State></Object>",
        "\n<Material version=\"1\" name=\"GaAs\" material-id=\"4321\"/>",
        "</Document>",
        "garbage & <<< \x01",
        "\n<!-- a comment -->\n",
    };
    for (const QByteArray &tail : tails) {
        SCOPED_TRACE(tail.toStdString());
        store(path("tail.vxf"), document + tail);
        Model::Scene target;
        const Reading reading = readFully(target, path("tail.vxf"));
        ASSERT_EQ(reading.outcome, DocumentReader::Outcome::Read) << reading.error.toStdString();
        EXPECT_EQ(reading.volumes, (std::vector<std::vector<uint32_t>>{{1, 3}}));
        EXPECT_TRUE(reading.warnings.isEmpty()) << reading.warnings.join('\n').toStdString();
        EXPECT_EQ(MaterialFactory::instance()->material(4321).materialId(), 0u);
    }
}

// Materials are reconciled only once the document is accepted: a document refused for an object
// behind its materials leaves the catalogue and the id map alone and asks the user nothing.
TEST_F(DocumentFile, RefusedDocumentChangesNeitherTheCatalogueNorTheIdMap)
{
    const QString materials = QStringLiteral(
        "<Material version=\"1\" name=\"Si\" material-id=\"3\" color=\"#FF102030\"/>"     // conflicts with 3
        "<Material version=\"1\" name=\"GaAs\" material-id=\"4321\" color=\"#FF405060\"/>" // unknown
        "<Material version=\"1\" name=\"PDMS\" material-id=\"777\"/>");                   // known by name
    const QString good = objectText("size-x=\"1\" size-y=\"1\" size-z=\"3\"", "3 4321 777 ");
    const std::vector<QString> badObjects = {
        objectText("size-x=\"4000000000\" size-y=\"4000000000\" size-z=\"4000000000\"", "1 "),
        objectText("size-x=\"1\" size-y=\"1\" size-z=\"2\"", "1 <b/>2 "),
        QStringLiteral("<Object object-type=\"1\" size-x=\"1\" size-y=\"1\"><State>1 </State></Object>"),
    };
    auto asked = std::make_shared<TestSupport::CountingObserver>();
    MaterialConflict::instance().setObserver(asked);
    const auto catalogue = MaterialFactory::instance()->materials();
    const auto ids = MaterialIdMap::instance().entries();
    for (const QString &bad : badObjects) {
        SCOPED_TRACE(bad.toStdString());
        Model::Scene target;
        const Reading reading = readFully(target, writeDocumentText("refused.vxf", materials + good + bad));
        EXPECT_EQ(reading.outcome, DocumentReader::Outcome::Refused);
        EXPECT_FALSE(reading.error.isEmpty());
        EXPECT_TRUE(reading.warnings.isEmpty());
        EXPECT_TRUE(target.objects().isEmpty());
        EXPECT_EQ(asked->count, 0);
        EXPECT_EQ(MaterialFactory::instance()->materials(), catalogue);
        EXPECT_EQ(MaterialIdMap::instance().entries(), ids);
    }

    // Without the bad object the same materials do reach the catalogue, the map and the user,
    // and the cells arrive holding catalogue ids.
    Model::Scene target;
    const Reading reading = readFully(target, writeDocumentText("accepted.vxf", materials + good));
    ASSERT_EQ(reading.outcome, DocumentReader::Outcome::Read) << reading.error.toStdString();
    EXPECT_EQ(asked->count, 1);
    EXPECT_EQ(MaterialFactory::instance()->material(4321).name(), QStringLiteral("GaAs"));
    ASSERT_EQ(reading.volumes.size(), 1u);
    const uint32_t newId = MaterialIdMap::instance().translate(3);
    EXPECT_GE(newId, MaterialFactory::kFirstUserMaterialId); // nobody answered: "Si" joined under a new id
    EXPECT_EQ(reading.volumes[0], (std::vector<uint32_t>{newId, 4321, 13}));
}

// A conflict settled for one document must not follow its number into the next: a document
// that does not list an id means the catalogue's material of that id.
TEST_F(DocumentFile, EarlierDocumentsDoNotTranslateIdsALaterDocumentDoesNotList)
{
    MaterialConflict::instance().setObserver(std::make_shared<TestSupport::CountingObserver>());
    const QString conflicting =
        QStringLiteral("<Material version=\"1\" name=\"Si\" material-id=\"3\" color=\"#FF102030\"/>");
    Model::Scene first;
    const Reading earlier = readFully(first, writeDocumentText(
        "earlier.vxf", conflicting + objectText("size-x=\"1\" size-y=\"1\" size-z=\"1\"", "3 ")));
    ASSERT_EQ(earlier.outcome, DocumentReader::Outcome::Read) << earlier.error.toStdString();
    ASSERT_NE(MaterialIdMap::instance().translate(3), 3u); // "Si" joined under a new id

    Model::Scene second;
    const Reading later = readFully(second, writeDocumentText(
        "later.vxf", objectText("size-x=\"1\" size-y=\"1\" size-z=\"2\"", "3 1 ")));
    ASSERT_EQ(later.outcome, DocumentReader::Outcome::Read) << later.error.toStdString();
    ASSERT_EQ(later.volumes.size(), 1u);
    EXPECT_EQ(later.volumes[0], (std::vector<uint32_t>{3, 1}));
}

TEST_F(DocumentFile, RefusesDocumentsThatAreNotWholeOrNotDocuments)
{
    const QString sizes = QStringLiteral("size-x=\"2\" size-y=\"2\" size-z=\"1\"");
    struct Case { const char *name; QByteArray bytes; const char *reason; };
    const auto document = [](const QString &body) {
        return (QStringLiteral("<?xml version=\"1.0\"?><Document><Header version=\"1\"/>") + body +
                QStringLiteral("</Document>")).toUtf8();
    };
    const std::vector<Case> cases = {
        {"wrong root", "<Materials><Header version=\"1\"/></Materials>", "Document"},
        {"no header", "<Document><Object object-type=\"1\"/></Document>", "Header"},
        {"not xml", "\x01\x02garbage", "Document"},
        {"empty file", "", "Document"},
        {"element in state", document(objectText(sizes, "1 2 <b/>3 4 ")), "element"},
        {"missing size", document(objectText("size-x=\"2\" size-y=\"2\"", "1 2 3 4 ")), "size-z"},
        {"size not a number", document(objectText("size-x=\"2\" size-y=\"two\" size-z=\"1\"", "1 2 ")), "two"},
        {"negative size", document(objectText("size-x=\"-2\" size-y=\"2\" size-z=\"1\"", "")), "-2"},
        {"zero size", document(objectText("size-x=\"0\" size-y=\"2\" size-z=\"1\"", "")), "size-x"},
        {"beyond 32-bit index", document(objectText("size-x=\"65536\" size-y=\"65536\" size-z=\"2\"", "")), "large"},
        {"beyond any size",
         document(objectText("size-x=\"18446744073709551615\" size-y=\"18446744073709551615\" "
                             "size-z=\"18446744073709551615\"", "")), "large"},
        {"bad cell size",
         document(QStringLiteral("<Object object-type=\"1\" %1 cellsize-x=\"nan\"><State>1 2 3 4 </State></Object>")
                      .arg(sizes)), "cellsize-x"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(QStringLiteral("bad.vxf"));
        store(file, c.bytes);
        Model::Scene target;
        target.setDocumentName(QStringLiteral("previous.vxf"));
        QString why;
        EXPECT_EQ(readInto(target, file, &why), DocumentReader::Outcome::Refused);
        EXPECT_TRUE(why.contains(QLatin1String(c.reason))) << why.toStdString();
        // One sentence or more, each ending in one full stop.
        EXPECT_TRUE(why.endsWith(QLatin1Char('.'))) << why.toStdString();
        EXPECT_FALSE(why.contains(QLatin1String(".."))) << why.toStdString();
        EXPECT_FALSE(why.contains(QLatin1String("  "))) << why.toStdString();
        EXPECT_FALSE(why.contains(QLatin1String(" ."))) << why.toStdString();
        EXPECT_TRUE(target.objects().isEmpty());
        EXPECT_EQ(target.documentName(), QStringLiteral("previous.vxf"));
        EXPECT_EQ(contents(file), c.bytes); // reading never touches the file
    }
}

TEST_F(DocumentFile, MissingFileIsNeitherReadNorReported)
{
    QString why;
    EXPECT_EQ(readInto(scene, path("absent.vxf"), &why), DocumentReader::Outcome::NotOpened);
    EXPECT_TRUE(why.isEmpty());
    EXPECT_EQ(DocumentWriter(scene, archive).write(path("no/such/folder/x.vxf")), DocumentWriter::Outcome::NotOpened);
    EXPECT_TRUE(scene.documentName().isEmpty());
}

TEST_F(DocumentFile, FailedWriteLeavesThePreviousFileByteForByte)
{
    const QString file = path("kept.vxf");
    addVolume(scene, 3, 3, 3, std::vector<uint32_t>(27, 1));
    ASSERT_EQ(DocumentWriter(scene, archive).write(file), DocumentWriter::Outcome::Written);
    const QByteArray before = contents(file);

    FailingDevice broken;
    archive.setArchiver(1, std::make_shared<TamperingArchiver>([&](QXmlStreamWriter *writer) {
        writer->setDevice(&broken);
    }));
    addVolume(scene, 4, 4, 4, std::vector<uint32_t>(64, 3));
    scene.setDocumentName(QStringLiteral("before.vxf"));
    EXPECT_EQ(DocumentWriter(scene, archive).write(file), DocumentWriter::Outcome::Failed);
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
    addVolume(scene, 2, 2, 2, std::vector<uint32_t>(8, 1));
    EXPECT_EQ(DocumentWriter(scene, archive).write(folder + "/gone.vxf"), DocumentWriter::Outcome::Failed);
    EXPECT_TRUE(scene.documentName().isEmpty());
}

TEST_F(DocumentFile, UnknownIdWithAKnownNameTakesTheCatalogueId)
{
    const QString file = writeDocumentText(
        "byname.vxf", QStringLiteral("<Material version=\"1\" name=\"PDMS\" material-id=\"777\" density=\"1\" "
                                     "poisson-ratio=\"0\" young-modulus=\"0\" color=\"#FF000000\"/>") +
                          objectText("size-x=\"1\" size-y=\"1\" size-z=\"3\"", "777 0 777 "));
    const auto before = MaterialFactory::instance()->materials().size();
    ASSERT_EQ(readInto(scene, file), DocumentReader::Outcome::Read);
    EXPECT_EQ(MaterialFactory::instance()->materials().size(), before);
    auto volume = std::dynamic_pointer_cast<TotalVolume>(scene.objects().value(0));
    ASSERT_TRUE(volume);
    EXPECT_EQ(materialsOf(*volume), (std::vector<uint32_t>{13, 0, 13}));
}

TEST_F(DocumentFile, UnknownMaterialJoinsTheCatalogueUnderItsOwnId)
{
    const Material gallium(4321, QStringLiteral("GaAs"), 5320, 8.5e10f, 0.31f, {0.2f, 0.4f, 0.6f, 1.f});
    MaterialFactory::instance()->setMaterial(gallium);
    addVolume(scene, 1, 1, 2, {4321, 1});
    ASSERT_EQ(DocumentWriter(scene, archive).write(path("gaas.vxf")), DocumentWriter::Outcome::Written);
    MaterialFactory::instance()->createDefaultMaterials();

    Model::Scene loaded;
    ASSERT_EQ(readInto(loaded, path("gaas.vxf")), DocumentReader::Outcome::Read);
    const Material added = MaterialFactory::instance()->material(4321);
    EXPECT_EQ(added.name(), QStringLiteral("GaAs"));
    EXPECT_EQ(added.toQColor(), gallium.toQColor());
    EXPECT_FLOAT_EQ(added.density(), 5320.f);
}

TEST_F(DocumentFile, ConflictChoicesSettleTheMapAndTheCatalogue)
{
    // The file says material 3 is "Si"; the catalogue's 3 is "Thermal Si02".
    const QString file = writeDocumentText(
        "conflict.vxf", QStringLiteral("<Material version=\"1\" name=\"Si\" material-id=\"3\" density=\"2329\" "
                                       "poisson-ratio=\"0.28\" young-modulus=\"1.88e+11\" color=\"#FF102030\"/>") +
                            objectText("size-x=\"1\" size-y=\"2\" size-z=\"2\"", "3 0 3 3 "));
    const auto cellsAfterChoosing = [&](std::function<void()> choose) {
        MaterialFactory::instance()->createDefaultMaterials();
        MaterialConflict::instance().setObserver(std::make_shared<CallObserver>(choose));
        Model::Scene loaded;
        EXPECT_EQ(readInto(loaded, file), DocumentReader::Outcome::Read);
        auto volume = std::dynamic_pointer_cast<TotalVolume>(loaded.objects().value(0));
        return volume ? materialsOf(*volume) : std::vector<uint32_t>();
    };
    auto &conflict = MaterialConflict::instance();
    using Choice = MaterialConflict::Choice;

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
    EXPECT_EQ(MaterialFactory::instance()->material(3).name(), QStringLiteral("Thermal Si02"));

    cells = cellsAfterChoosing([&] { conflict.resolve(Choice::UseExisting); });
    EXPECT_EQ(cells, (std::vector<uint32_t>{3, 0, 3, 3}));
    EXPECT_EQ(MaterialFactory::instance()->material(3).name(), QStringLiteral("Thermal Si02"));

    cells = cellsAfterChoosing([&] { conflict.resolve(Choice::ReplaceExisting); });
    EXPECT_EQ(cells, (std::vector<uint32_t>{3, 0, 3, 3}));
    EXPECT_EQ(MaterialFactory::instance()->material(3).name(), QStringLiteral("Si"));

    cells = cellsAfterChoosing([&] { conflict.resolve(Choice::UseAnother, 16); });
    EXPECT_EQ(cells, (std::vector<uint32_t>{16, 0, 16, 16}));

    // Nobody answers (cancel): the loaded material still gets a new id of its own.
    const auto countBefore = MaterialFactory::instance()->materials().size();
    cells = cellsAfterChoosing([] {});
    ASSERT_FALSE(cells.empty());
    EXPECT_GE(cells[0], MaterialFactory::kFirstUserMaterialId);
    EXPECT_EQ(MaterialFactory::instance()->materials().size(), countBefore + 1);
}

TEST_F(DocumentFile, UnreadableMaterialIsAWarningAndItsCellsKeepTheirIds)
{
    const QString file = writeDocumentText(
        "nameless.vxf", QStringLiteral("<Material version=\"1\" material-id=\"9000\"/>") +
                            objectText("size-x=\"1\" size-y=\"1\" size-z=\"2\"", "9000 1 "));
    DocumentReader reader(scene, archive);
    ASSERT_EQ(reader.read(file), DocumentReader::Outcome::Read);
    EXPECT_EQ(reader.warnings(), QStringList{QLatin1String(DocumentReader::kMaterialWarning)});
    auto volume = std::dynamic_pointer_cast<TotalVolume>(scene.objects().value(0));
    ASSERT_TRUE(volume);
    EXPECT_EQ(materialsOf(*volume), (std::vector<uint32_t>{9000, 1}));
}

TEST_F(DocumentFile, ShippedExamplesOpen)
{
    const QDir examples(QStringLiteral(VOXFAB_EXAMPLES_DIR));
    struct Example { const char *name; uint32_t silicon, oxide; };
    for (const Example &e : {Example{"silicon-substrate.vxf", 2000, 0}, Example{"oxide-on-silicon.vxf", 2000, 800}}) {
        SCOPED_TRACE(e.name);
        Model::Scene loaded;
        ASSERT_EQ(readInto(loaded, examples.absoluteFilePath(e.name)), DocumentReader::Outcome::Read);
        auto volume = std::dynamic_pointer_cast<TotalVolume>(loaded.objects().value(0));
        ASSERT_TRUE(volume);
        const auto cells = materialsOf(*volume);
        EXPECT_EQ(std::count(cells.begin(), cells.end(), 1u), long(e.silicon));
        EXPECT_EQ(std::count(cells.begin(), cells.end(), 3u), long(e.oxide));
    }
}
