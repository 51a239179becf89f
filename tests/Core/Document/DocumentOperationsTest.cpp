#include "../OperationDoubles.h"
#include "../StepRun.h"
#include "Core/Operations/Document/DocumentFiles.h"
#include "Core/Operations/Document/OpenDocumentOperation.h"
#include "Core/Operations/Document/SaveDocumentAsOperation.h"
#include "Core/Operations/Document/SaveDocumentOperation.h"
#include "Model/Automaton/TotalVolume.h"
#include "Model/Persistence/DocumentArchive.h"
#include "Model/Persistence/DocumentReader.h"
#include "Model/Persistence/DocumentWriter.h"
#include "Model/Persistence/TotalVolumeArchiver.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamWriter>
#include <gtest/gtest.h>

using namespace Core::Operations;
using Model::Automaton::TotalVolume;

namespace {

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
    DocumentOperations() { CoreTest::addVolume(model); }

    // Answers the file question with `answer` and keeps where it was asked to start.
    PathChooser pathChooser()
    {
        return [this](const QString &start) {
            starts << start;
            return answer;
        };
    }
    // Keeps every message box shown, as "title / text".
    DocumentReporter reporter()
    {
        return [this](const QString &title, const QString &text) { shown << title + " / " + text; };
    }
    template <class Op> void start()
    {
        auto op = std::make_shared<Op>(&model);
        op->setPathChooser(pathChooser());
        op->setReporter(reporter());
        op->setSavedObserver(saved);
        model.startOperation(op);
    }
    // A file of `bytes` in the temporary folder.
    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile out(dir.filePath(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return out.fileName();
    }

    QTemporaryDir dir;
    Core::ApplicationModel model;
    QString answer;
    QStringList starts, shown;
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
    answer = dir.filePath("first.vxf");
    start<SaveDocumentOperation>();
    EXPECT_EQ(starts, (QStringList{QDir::homePath(), QDir::homePath()}));
    EXPECT_TRUE(QFile::exists(answer));
    EXPECT_EQ(model.scene().documentName(), answer);
    EXPECT_EQ(saved->count, 1);
    EXPECT_FALSE(model.isModified());
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_FALSE(model.currentOperation());
    EXPECT_EQ(model.undoRedo().undoDepth(), 0u); // saving is not undoable
    QFile::remove(answer);
    answer = dir.filePath("never.vxf");
    start<SaveDocumentOperation>();
    EXPECT_EQ(starts.size(), 2); // not asked again
    EXPECT_TRUE(QFile::exists(dir.filePath("first.vxf")));
    EXPECT_FALSE(QFile::exists(answer));
    EXPECT_EQ(saved->count, 2);
}

TEST_F(DocumentOperations, SaveAsAsksEveryTime)
{
    model.scene().setDocumentName(dir.filePath("old.vxf"));
    answer = dir.filePath("new.vxf");
    start<SaveDocumentAsOperation>();
    EXPECT_EQ(starts.size(), 1);
    EXPECT_EQ(model.scene().documentName(), answer);
    EXPECT_FALSE(QFile::exists(dir.filePath("old.vxf")));
    answer.clear();
    start<SaveDocumentAsOperation>();
    EXPECT_EQ(starts.size(), 2);
    EXPECT_EQ(saved->count, 1);
    EXPECT_EQ(model.scene().documentName(), dir.filePath("new.vxf"));
}

TEST_F(DocumentOperations, FailedWriteIsReportedAndKeepsTheName)
{
    model.markModified();
    model.documentArchive().setArchiver(1, std::make_shared<BreakingArchiver>());
    model.scene().setDocumentName(dir.filePath("doc.vxf"));
    start<SaveDocumentOperation>();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith(
        "Error writing to file / Unable to save document to the specified file.\n" + dir.filePath("doc.vxf") + ": "))
        << shown[0].toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("doc.vxf")));
    EXPECT_EQ(saved->count, 1); // the window is retitled with the unchanged name
    EXPECT_TRUE(model.isModified());
}

TEST_F(DocumentOperations, SaveWhereNoFileCanBeMadeSaysWhyAndKeepsTheDocumentUnsaved)
{
    model.markModified();
    answer = dir.filePath("missing/folder/doc.vxf");
    start<SaveDocumentAsOperation>();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0], "Error writing to file / Unable to save document to the specified file.\n" +
                                    answer + ": The folder " + dir.filePath("missing/folder") +
                                    " does not exist.");
    EXPECT_TRUE(model.scene().documentName().isEmpty());
    EXPECT_TRUE(model.isModified());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());

    // A folder where the file should be: refused whoever the user is.
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.vxf"));
    answer = dir.filePath("taken.vxf");
    start<SaveDocumentAsOperation>();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[1], "Error writing to file / Unable to save document to the specified file.\n" +
                                    answer + ": Filename refers to a directory.");
    EXPECT_TRUE(model.isModified());
    EXPECT_TRUE(QFileInfo(answer).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"taken.vxf"});
}

TEST_F(DocumentOperations, SaveIntoAReadOnlyFolderGivesTheReasonAndKeepsThePreviousFile)
{
    answer = dir.filePath("doc.vxf");
    start<SaveDocumentOperation>();
    QFile previous(answer);
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
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].endsWith(answer + ": Permission denied.")) << shown[0].toStdString();
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
        op->setPathChooser(pathChooser());
        op->setOpenedObserver(opened);
        model.startOperation(op);
    };
    QDir(dir.path()).mkdir("sub");
    answer = dir.filePath("sub/doc.vxf");
    open();
    EXPECT_EQ(opened->count, 1);
    EXPECT_EQ(OpenDocumentOperation::lastDocumentPath(), answer);
    EXPECT_FALSE(model.currentOperation());
    answer.clear();
    open();
    EXPECT_EQ(starts.value(1), dir.filePath("sub")); // starts where the last one was
    EXPECT_EQ(opened->count, 1);
    EXPECT_EQ(model.scene().objects().size(), 1); // the opening window's scene is untouched
}

// Every warning of the reader becomes one console line of the model that reads the document,
// in the order met: an unreadable material, a short State, and the damage that ended the file.
TEST_F(DocumentOperations, ReadingPostsEveryWarningAndRefreshesTheViews)
{
    const QString file = writeFile(
        "warn.vxf", "<Document><Header version=\"7\"/><Material name=\"x\"/>\n"
                    "<Object object-type=\"1\" size-x=\"1\" size-y=\"1\" size-z=\"1\"><State>1 </State></Object>\n"
                    "<Object object-type=\"1\" size-x=\"1\" size-y=\"2\" size-z=\"1\"><State>1 </State></Object>\n"
                    "<Object object-type=\"1\" size-x=\"1\" size-y=\"1\"");
    CoreTest::LoggedModel reading;
    auto &target = reading.model;
    auto &log = reading.log;
    auto updates = std::make_shared<TestSupport::CountingObserver>();
    target.addUpdateObserver(updates);
    EXPECT_TRUE(readDocument(target, file, reporter()));
    EXPECT_EQ(target.scene().objects().size(), 2);
    EXPECT_EQ(target.scene().documentName(), file);
    EXPECT_EQ(updates->count, 1);
    ASSERT_EQ(log->lines.size(), 3u);
    EXPECT_EQ(log->lines[0], Model::Persistence::DocumentReader::kMaterialWarning);
    EXPECT_EQ(log->lines[1], u8"WARNING: The \"State\" of cell volume 2 (1 × 2 × 1) holds 1 material id for its 2 "
                             u8"cells; the last cell is left empty.");
    EXPECT_EQ(log->lines[2].rfind("WARNING: The document is damaged near line 4: ", 0), 0u) << log->lines[2];
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(DocumentOperations, RefusedDocumentIsReportedWithTheReason)
{
    const QString file = writeFile("huge.vxf", "<Document><Header version=\"1\"/><Object object-type=\"1\" "
                                               "size-x=\"4000000000\" size-y=\"4000000000\" size-z=\"4000000000\">"
                                               "<State>1 </State></Object></Document>");
    Core::ApplicationModel target;
    EXPECT_FALSE(readDocument(target, file, reporter()));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("Error reading from file / A cell volume of the document is too large"));
    EXPECT_TRUE(target.scene().objects().isEmpty());
    EXPECT_TRUE(target.scene().documentName().isEmpty());
}
