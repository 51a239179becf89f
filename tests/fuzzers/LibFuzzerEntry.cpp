// libFuzzer entry of one reader of user files; VOXFAB_FUZZ_READER names it (a Fuzz::Reader).
// Built only with clang and -DVOXFAB_FUZZ=ON; see the README for how to run it.

#include "fuzz/FuzzTargets.h"

#include "Model/Catalogues.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

QtMessageHandler quiet = [](QtMsgType, const QMessageLogContext &, const QString &) {};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication application(*argc, *argv);
    static QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qInstallMessageHandler(quiet);
    Model::initializeCatalogues();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    const Fuzz::Verdict verdict = Fuzz::feed(Fuzz::Reader::VOXFAB_FUZZ_READER, bytes);
    if (!verdict.broken.isEmpty()) {
        std::fprintf(stderr, "broken invariant: %s\n", verdict.broken.toLocal8Bit().constData());
        std::abort();
    }
    return 0;
}
