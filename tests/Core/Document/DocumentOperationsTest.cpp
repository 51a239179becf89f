#include "Core/ApplicationModel.h"
#include "Core/Operations/Document/DocumentFiles.h"
#include "Core/Operations/Document/OpenDocumentOperation.h"
#include "Core/Operations/Document/SaveDocumentAsOperation.h"
#include "Core/Operations/Document/SaveDocumentOperation.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Persistence/DocumentArchive.h"
#include "Model/Persistence/DocumentReader.h"
#include "Model/Persistence/DocumentWriter.h"
#include "Model/Persistence/TotalVolumeArchiver.h"
#include "Util/IObserver.h"
#include "common/Observers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamWriter>
#include <gtest/gtest.h>

using namespace Core::Operations;
using Model::Automaton::TotalVolume;

namespace {

// Answers the file question and remembers where it was asked to start.
struct Chooser {
    PathChooser function()
    {
        return [this](const QString &start) {
            starts << start;
            return answer;
        };
    }
    QString answer;
    QStringList starts;
};

struct Reports {
    DocumentReporter function()
    {
        return [this](const QString &title, const QString &text) { shown << title + " / " + text; };
    }
    QStringList shown;
};

class NullDevice : public QIODevice {
public:
    NullDevice() { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64) override { return -1; }
};

// Breaks the stream after the first volume, as a full disk would.
class BreakingArchiver : public Model::Persistence::TotalVolumeArchiver {
public:
    bool write(const std::shared_ptr<Model::Object> &object) override
    {
        const bool written = TotalVolumeArchiver::write(object);
        if (stream)
            stream->setDevice(&broken);
        return written;
    }
    void setWriter(QXmlStreamWriter *writer) override
    {
        stream = writer;
        TotalVolumeArchiver::setWriter(writer);
    }

private:
    QXmlStreamWriter *stream = nullptr;
    NullDevice broken;
};

struct DocumentOperations : ::testing::Test {
    DocumentOperations()
    {
        model.scene().addObject(std::make_shared<TotalVolume>(2, 2, 2, 1.f, 1.f, 1.f, Util::Vector3D(),
                                                              std::vector<uint32_t>(8, 1)));
    }

    template <class Op> std::shared_ptr<Op> start()
    {
        auto op = std::make_shared<Op>(&model);
        op->setPathChooser(chooser.function());
        op->setReporter(reports.function());
        op->setSavedObserver(saved);
        model.startOperation(op);
        return op;
    }

    QTemporaryDir dir;
    Core::ApplicationModel model;
    Chooser chooser;
    Reports reports;
    std::shared_ptr<TestSupport::CountingObserver> saved = std::make_shared<TestSupport::CountingObserver>();
};

} // namespace

TEST_F(DocumentOperations, SaveAsksOnlyWhileTheDocumentHasNoName)
{
    start<SaveDocumentOperation>(); // the question is cancelled
    EXPECT_EQ(saved->count, 0);
    EXPECT_TRUE(model.scene().documentName().isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    model.markModified();
    chooser.answer = dir.filePath("first.vxf");
    start<SaveDocumentOperation>();
    EXPECT_EQ(chooser.starts, (QStringList{QDir::homePath(), QDir::homePath()}));
    EXPECT_TRUE(QFile::exists(chooser.answer));
    EXPECT_EQ(model.scene().documentName(), chooser.answer);
    EXPECT_EQ(saved->count, 1);
    EXPECT_FALSE(model.isModified());
    EXPECT_TRUE(reports.shown.isEmpty());
    EXPECT_FALSE(model.currentOperation());
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u); // saving is not undoable

    QFile::remove(chooser.answer);
    chooser.answer = dir.filePath("never.vxf");
    start<SaveDocumentOperation>();
    EXPECT_EQ(chooser.starts.size(), 2); // not asked again
    EXPECT_TRUE(QFile::exists(dir.filePath("first.vxf")));
    EXPECT_FALSE(QFile::exists(chooser.answer));
    EXPECT_EQ(saved->count, 2);
}

TEST_F(DocumentOperations, SaveAsAsksEveryTime)
{
    model.scene().setDocumentName(dir.filePath("old.vxf"));
    chooser.answer = dir.filePath("new.vxf");
    start<SaveDocumentAsOperation>();
    EXPECT_EQ(chooser.starts.size(), 1);
    EXPECT_EQ(model.scene().documentName(), chooser.answer);
    EXPECT_FALSE(QFile::exists(dir.filePath("old.vxf")));

    chooser.answer.clear();
    start<SaveDocumentAsOperation>();
    EXPECT_EQ(chooser.starts.size(), 2);
    EXPECT_EQ(saved->count, 1);
    EXPECT_EQ(model.scene().documentName(), dir.filePath("new.vxf"));
}

TEST_F(DocumentOperations, FailedWriteIsReportedAndKeepsTheName)
{
    model.markModified();
    model.documentArchive().setArchiver(1, std::make_shared<BreakingArchiver>());
    model.scene().setDocumentName(dir.filePath("doc.vxf"));
    start<SaveDocumentOperation>();
    ASSERT_EQ(reports.shown.size(), 1);
    EXPECT_TRUE(reports.shown[0].startsWith(
        "Error writing to file / Unable to save document to the specified file.\n" + dir.filePath("doc.vxf") + ": "))
        << reports.shown[0].toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("doc.vxf")));
    EXPECT_EQ(saved->count, 1); // the window is retitled with the unchanged name
    EXPECT_TRUE(model.isModified());
}

TEST_F(DocumentOperations, SaveWhereNoFileCanBeMadeSaysWhyAndKeepsTheDocumentUnsaved)
{
    model.markModified();
    chooser.answer = dir.filePath("missing/folder/doc.vxf");
    start<SaveDocumentAsOperation>();
    ASSERT_EQ(reports.shown.size(), 1);
    EXPECT_EQ(reports.shown[0], "Error writing to file / Unable to save document to the specified file.\n" +
                                    chooser.answer + ": The folder " + dir.filePath("missing/folder") +
                                    " does not exist.");
    EXPECT_TRUE(model.scene().documentName().isEmpty());
    EXPECT_TRUE(model.isModified());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());

    // A folder where the file should be: refused whoever the user is.
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.vxf"));
    chooser.answer = dir.filePath("taken.vxf");
    start<SaveDocumentAsOperation>();
    ASSERT_EQ(reports.shown.size(), 2);
    EXPECT_EQ(reports.shown[1], "Error writing to file / Unable to save document to the specified file.\n" +
                                    chooser.answer + ": Filename refers to a directory.");
    EXPECT_TRUE(model.isModified());
    EXPECT_TRUE(QFileInfo(chooser.answer).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"taken.vxf"});
}

TEST_F(DocumentOperations, SaveIntoAReadOnlyFolderGivesTheReasonAndKeepsThePreviousFile)
{
    chooser.answer = dir.filePath("doc.vxf");
    start<SaveDocumentOperation>();
    QFile previous(chooser.answer);
    ASSERT_TRUE(previous.open(QIODevice::ReadOnly));
    const QByteArray bytes = previous.readAll();
    previous.close();

    const auto writable = QFile::permissions(dir.path());
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile probe(dir.filePath("probe"));
    if (probe.open(QIODevice::WriteOnly)) { // folder permissions do not bind this user (root)
        probe.remove();
        QFile::setPermissions(dir.path(), writable);
        GTEST_SKIP() << "folder permissions are not enforced for this user";
    }
    model.markModified();
    start<SaveDocumentOperation>();
    QFile::setPermissions(dir.path(), writable);

    ASSERT_EQ(reports.shown.size(), 1);
    EXPECT_TRUE(reports.shown[0].endsWith(chooser.answer + ": Permission denied.")) << reports.shown[0].toStdString();
    ASSERT_TRUE(previous.open(QIODevice::ReadOnly));
    EXPECT_EQ(previous.readAll(), bytes);
    EXPECT_TRUE(model.isModified());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"doc.vxf"});
}

TEST_F(DocumentOperations, OpenRemembersTheChoiceAndHandsItToItsObserver)
{
    auto opened = std::make_shared<TestSupport::CountingObserver>();
    const auto open = [&] {
        auto op = std::make_shared<OpenDocumentOperation>(&model);
        op->setPathChooser(chooser.function());
        op->setOpenedObserver(opened);
        model.startOperation(op);
    };
    QDir(dir.path()).mkdir("sub");
    chooser.answer = dir.filePath("sub/doc.vxf");
    open();
    EXPECT_EQ(opened->count, 1);
    EXPECT_EQ(OpenDocumentOperation::lastDocumentPath(), chooser.answer);
    EXPECT_FALSE(model.currentOperation());

    chooser.answer.clear();
    open();
    EXPECT_EQ(chooser.starts.value(1), dir.filePath("sub")); // starts where the last one was
    EXPECT_EQ(opened->count, 1);
    EXPECT_EQ(model.scene().objects().size(), 1); // the opening window's scene is untouched
}

// Every warning of the reader becomes one console line of the model that reads the document,
// in the order met: an unreadable material, a short State, and the damage that ended the file.
TEST_F(DocumentOperations, ReadingPostsEveryWarningAndRefreshesTheViews)
{
    const QString file = dir.filePath("warn.vxf");
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("<Document><Header version=\"7\"/><Material name=\"x\"/>\n"
              "<Object object-type=\"1\" size-x=\"1\" size-y=\"1\" size-z=\"1\"><State>1 </State></Object>\n"
              "<Object object-type=\"1\" size-x=\"1\" size-y=\"2\" size-z=\"1\"><State>1 </State></Object>\n"
              "<Object object-type=\"1\" size-x=\"1\" size-y=\"1\"");
    out.close();

    Core::ApplicationModel target;
    auto log = std::make_shared<TestSupport::MessageLog>(target.inputRequest());
    target.inputRequest().addObserver(log);
    auto updates = std::make_shared<TestSupport::CountingObserver>();
    target.addUpdateObserver(updates);
    EXPECT_TRUE(readDocument(target, file, reports.function()));
    EXPECT_EQ(target.scene().objects().size(), 2);
    EXPECT_EQ(target.scene().documentName(), file);
    EXPECT_EQ(updates->count, 1);
    ASSERT_EQ(log->lines.size(), 3u);
    EXPECT_EQ(log->lines[0], Model::Persistence::DocumentReader::kMaterialWarning);
    EXPECT_EQ(log->lines[1], u8"WARNING: The \"State\" of cell volume 2 (1 × 2 × 1) holds 1 material id for its 2 "
                             u8"cells; the last cell is left empty.");
    EXPECT_EQ(log->lines[2].rfind("WARNING: The document is damaged near line 4: ", 0), 0u) << log->lines[2];
    EXPECT_TRUE(reports.shown.isEmpty());
}

TEST_F(DocumentOperations, RefusedDocumentIsReportedWithTheReason)
{
    const QString file = dir.filePath("huge.vxf");
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("<Document><Header version=\"1\"/><Object object-type=\"1\" size-x=\"4000000000\" "
              "size-y=\"4000000000\" size-z=\"4000000000\"><State>1 </State></Object></Document>");
    out.close();

    Core::ApplicationModel target;
    EXPECT_FALSE(readDocument(target, file, reports.function()));
    ASSERT_EQ(reports.shown.size(), 1);
    EXPECT_TRUE(reports.shown[0].startsWith("Error reading from file / A cell volume of the document is too large"));
    EXPECT_TRUE(target.scene().objects().isEmpty());
    EXPECT_TRUE(target.scene().documentName().isEmpty());
}
