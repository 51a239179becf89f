// Particle count fields in documents: they survive writing and reading, a volume without one
// is written exactly as before, and a damaged field is left out without losing the cells.

#include "Model/Automaton/ParticleCountField.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Persistence/DocumentArchive.h"
#include "Model/Persistence/DocumentReader.h"
#include "Model/Persistence/DocumentWriter.h"
#include "Model/Scene.h"
#include "common/Cells.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using Model::Automaton::ParticleCountField;
using Model::Automaton::TotalVolume;
using Model::Persistence::DocumentReader;
using Model::Persistence::DocumentWriter;

namespace {

class ParticleFieldDocument : public ::testing::Test {
protected:
    QByteArray write(const std::shared_ptr<TotalVolume> &volume)
    {
        Model::Scene scene;
        scene.addObject(volume);
        EXPECT_EQ(DocumentWriter(scene, archive).write(path()), DocumentWriter::Outcome::Written);
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    std::shared_ptr<TotalVolume> read(QStringList *warnings = nullptr)
    {
        DocumentReader reader(scene, archive);
        EXPECT_EQ(reader.read(path()), DocumentReader::Outcome::Read) << reader.error().toStdString();
        if (warnings)
            *warnings = reader.warnings();
        const auto objects = scene.objects();
        return objects.isEmpty() ? nullptr : std::dynamic_pointer_cast<TotalVolume>(objects.last());
    }
    void store(const QByteArray &text)
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
    QString path() const { return dir.filePath("field.vxf"); }

    QTemporaryDir dir;
    Model::Scene scene;
    Model::Persistence::DocumentArchive archive;
};

} // namespace

TEST_F(ParticleFieldDocument, FieldsAreWrittenAfterThePositionAndReadBackWhole)
{
    auto volume = TestSupport::flatVolume(2, 1, 3, 2, 1);
    auto n = std::make_shared<ParticleCountField>(6);
    n->counters(0)[6] = 100000;
    n->counters(0)[2] = 4;
    n->counters(5)[0] = 7;
    auto p = std::make_shared<ParticleCountField>(6);
    p->counters(3)[6] = 1;
    volume->setParticleCountField(ParticleCountField::kTypeNName, n);
    volume->setParticleCountField(ParticleCountField::kTypePName, p);

    const QByteArray text = write(volume);
    // Runs of zeros are written as "*count": 2 zeros, 4, 3 zeros, 100000, then 35 counters to
    // the 0 before the 7, and the last 6 slots of the last cell.
    EXPECT_TRUE(text.contains("<Position pos-x=\"0\" pos-y=\"0\" pos-z=\"0\"/>"
                              "<ParticleCountField name=\"Random Walk Particle Count Type N\" counters-per-cell=\"7\">"
                              "*2 4 *3 100000 *28 7 *6 </ParticleCountField>"
                              "<ParticleCountField name=\"Random Walk Particle Count Type P\" counters-per-cell=\"7\">"
                              "*27 1 *14 </ParticleCountField></Object>"))
        << text.toStdString();

    QStringList warnings;
    const auto loaded = read(&warnings);
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
    EXPECT_EQ(TestSupport::materialsOf(*loaded), TestSupport::materialsOf(*volume));
    EXPECT_EQ(loaded->particleCountFieldNames(), volume->particleCountFieldNames());
    EXPECT_TRUE(*loaded->particleCountField(ParticleCountField::kTypeNName) == *n);
    EXPECT_TRUE(*loaded->particleCountField(ParticleCountField::kTypePName) == *p);
}

TEST_F(ParticleFieldDocument, AVolumeWithoutAFieldIsWrittenAndReadAsBefore)
{
    auto volume = TestSupport::flatVolume(2, 1, 1, 1, 1);
    volume->setProperty("Something Else", 3); // not a field: not written
    const QByteArray text = write(volume);
    EXPECT_TRUE(text.contains("<State>1 1 </State><Position pos-x=\"0\" pos-y=\"0\" pos-z=\"0\"/></Object>"));
    EXPECT_FALSE(text.contains("ParticleCountField"));
    const auto loaded = read();
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(loaded->propertyNames().isEmpty());
}

TEST_F(ParticleFieldDocument, ADamagedFieldIsLeftOutWithAWarningAndTheCellsStay)
{
    const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Document><Header version=\"1\"/>"
                            "<Object object-type=\"1\" size-x=\"1\" size-y=\"1\" size-z=\"2\"><State>1 1 </State>"
                            "<Position pos-x=\"0\" pos-y=\"0\" pos-z=\"0\"/>";
    const QByteArray tail = "</Object></Document>";
    const struct {
        const char *field;
        const char *why;
    } cases[] = {
        {"<ParticleCountField name=\"N\" counters-per-cell=\"7\">*13 </ParticleCountField>", "13 counters"},
        {"<ParticleCountField name=\"N\" counters-per-cell=\"7\">*10 x 3 </ParticleCountField>", "\"x\""},
        {"<ParticleCountField name=\"N\" counters-per-cell=\"7\">*15 </ParticleCountField>", "more than"},
        {"<ParticleCountField name=\"N\" counters-per-cell=\"6\">*12 </ParticleCountField>", "6 counters per cell"},
    };
    for (const auto &c : cases) {
        store(head + c.field + "<Later/>" + tail);
        QStringList warnings;
        const auto loaded = read(&warnings);
        ASSERT_NE(loaded, nullptr) << c.field;
        EXPECT_EQ(TestSupport::materialsOf(*loaded), std::vector<uint32_t>({1, 1})) << c.field;
        EXPECT_TRUE(loaded->particleCountFieldNames().isEmpty()) << c.field;
        ASSERT_EQ(warnings.size(), 1) << c.field;
        EXPECT_TRUE(warnings[0].contains(c.why)) << warnings[0].toStdString();
    }
}
