#include "catalog/catalogfile.h"

#include "catalog/readingrules.h"

#include <QDir>
#include <QFile>

CatalogFile::CatalogFile(const QString& path) : path_(path) {
    QFile file(path);
    if (!file.exists())
        throw CatalogError(
            QStringLiteral("The data file \"%1\" is missing.").arg(QDir::toNativeSeparators(path)));
    if (!file.open(QIODevice::ReadOnly))
        throw CatalogError(QStringLiteral("The data file \"%1\" could not be opened: %2.")
                               .arg(QDir::toNativeSeparators(path), file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw CatalogError(QStringLiteral("The data file \"%1\" could not be read: %2.")
                               .arg(QDir::toNativeSeparators(path), file.errorString()));
    text_ = QString::fromLatin1(bytes);
}

bool CatalogFile::NextLine(QStringView* line) {
    const qsizetype n = text_.size();
    if (pos_ >= n) return false;
    const QChar* data = text_.constData();
    qsizetype end = pos_;
    while (end < n && data[end] != u'\r' && data[end] != u'\n')
        ++end;
    *line = QStringView(data + pos_, end - pos_);
    if (end < n && data[end] == u'\r' && end + 1 < n && data[end + 1] == u'\n')
        pos_ = end + 2;
    else
        pos_ = end + 1;
    ++lineNumber_;
    return true;
}

void CatalogFile::Fail(const QString& what) const {
    throw CatalogError(QStringLiteral("Error in the data file \"%1\", line %2:\n%3")
                           .arg(QDir::toNativeSeparators(path_))
                           .arg(lineNumber_)
                           .arg(what));
}

CatalogObject& CatalogFile::Slot(ObjectStore& store, int slot) const {
    if (slot < 0 || std::size_t(slot) >= store.objects.size())
        Fail(QStringLiteral("There are more objects than the object store can hold "
                            "(%1 slots).")
                 .arg(store.objects.size()));
    return store.objects[std::size_t(slot)];
}

std::int16_t CatalogFile::WholeNumberAt(QStringView field) const {
    try {
        return WholeNumber(field);
    } catch (const CatalogError& e) {
        Fail(e.message());
    }
}
