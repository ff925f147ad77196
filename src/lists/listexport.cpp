#include "lists/listexport.h"

#include "lists/objectmatcher.h"
#include "sky/angles.h"

#include <QStringList>

namespace {

// A CSV field, quoted when it holds a comma, a quote or a line end.
QString CsvField(const QString& text) {
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString TypeOf(const CatalogObject& object) {
    const QString sac = object.SacType.TrimmedText();
    return sac.isEmpty() ? object.TypeCode.TrimmedText() : sac;
}

} // namespace

QByteArray SkyListText(const ObjectStore& store, const std::vector<int>& objects) {
    const ObjectMatcher matcher(store);
    QStringList lines{QStringLiteral("SkySafariObservingListVersion=3.0")};
    for (int index : objects) {
        lines << QStringLiteral("SkyObject=BeginObject");
        const QString name = matcher.CommonName(index);
        if (!name.isEmpty()) lines << QStringLiteral("\tCommonName=") + name;
        for (const QString& designation : matcher.Designations(index))
            lines << QStringLiteral("\tCatalogNumber=") + designation;
        lines << QStringLiteral("EndObject=SkyObject");
    }
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

QByteArray CsvListText(const ObjectStore& store, const std::vector<int>& objects) {
    const ObjectMatcher matcher(store);
    QStringList lines{QStringLiteral("Name,Designation,RA_J2000_h,Dec_J2000_deg,Magnitude,Type")};
    for (int index : objects) {
        const CatalogObject& object = store.objects[size_t(index)];
        const QStringList fields{
            CsvField(matcher.CommonName(index)),
            CsvField(matcher.Designations(index).join(QStringLiteral("/"))),
            QString::number(object.RA * 180.0 / PiValue, 'f', 5),
            QString::number(object.Dec * 180.0 / PiValue, 'f', 4),
            QString::number(object.Mag, 'f', 1),
            CsvField(TypeOf(object)),
        };
        lines << fields.join(u',');
    }
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

QByteArray ListTextFor(const QString& path, const ObjectStore& store,
                       const std::vector<int>& objects) {
    return path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? CsvListText(store, objects)
                                                                     : SkyListText(store, objects);
}
