#include "fuzzsupport.h"

#include "catalog/readingrules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

QTemporaryDir& InputDir() {
    static const std::unique_ptr<QTemporaryDir> dir = [] {
        const QFileInfo shm(QStringLiteral("/dev/shm"));
        auto made =
            shm.isDir() && shm.isWritable()
                ? std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/zenitor-fuzz-XXXXXX"))
                : std::make_unique<QTemporaryDir>();
        if (!made->isValid()) FuzzFail("cannot make a directory for the inputs");
        return made;
    }();
    return *dir;
}

} // namespace

QString WriteFuzzInput(const QString& fileName, const std::uint8_t* data, std::size_t size) {
    const QString path = InputDir().filePath(fileName);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        FuzzFail("cannot write the input file", path);
    return path;
}

void FuzzFail(const char* what, const QString& detail) {
    std::fprintf(stderr, "\n*** fuzz check failed: %s\n", what);
    if (!detail.isEmpty()) std::fprintf(stderr, "    %s\n", qPrintable(detail));
    std::fflush(stderr);
    std::abort();
}

void CheckCatalogError(const CatalogError& error, const QString& path) {
    const QString& message = error.message();
    FuzzCheck(!message.isEmpty(), "a catalogue error without a message");
    FuzzCheck(message.contains(QDir::toNativeSeparators(path)),
              "a catalogue error that does not name the file", message);
    FuzzCheck(message.contains(QStringLiteral("line")),
              "a catalogue error that does not name the line", message);
}
