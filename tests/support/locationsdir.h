#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

struct AppState;

// A data directory of a test's own, holding locations.txt with the given bytes.
class LocationsDir {
public:
    explicit LocationsDir(const QByteArray& content);

    QString path() const { return dir_.path(); }
    // The bytes of the file as it is now, or missing() when there is none.
    QByteArray bytes() const;
    static QByteArray missing() { return QByteArrayLiteral("<no file>"); }

    // Points the state at this directory and reads the file into it, as start-up does.
    bool load(AppState& state, QString* error) const;

private:
    QTemporaryDir dir_;
};
