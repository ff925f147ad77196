#include "lists/objectmatcher.h"

#include "sky/angles.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace {

// Names carried by more records than this are object types, not names.
constexpr int kMostRecordsPerName = 2;
// A position further than this from the matched object's means the line names another object.
constexpr double kLargestOffsetDegrees = 1.0;

bool IsBody(const CatalogObject& object) {
    return object.Catalog.At(0) == u'P';
}

// The NGC and IC records' comments are their type texts, never names.
QStringList CommentNames(const CatalogObject& object) {
    const QChar letter = object.Catalog.At(0);
    if (letter == u'N' || letter == u'I') return {};
    static const QRegularExpression threeLetters(QStringLiteral("\\p{L}.*\\p{L}.*\\p{L}"));
    QStringList names;
    for (const QString& part : object.Comment.TrimmedText().split(u';')) {
        const QString name = part.simplified();
        if (threeLetters.match(name).hasMatch() && name != object.SacType.TrimmedText())
            names.append(name);
    }
    return names;
}

// Lower ranks win a tie: the catalogue an NGC or IC number belongs to comes first.
int CatalogueRank(const CatalogObject& object, const QString& firstKey) {
    const QChar letter = object.Catalog.At(0);
    if (firstKey.startsWith(QLatin1String("NGC")) || firstKey.startsWith(QLatin1String("IC")))
        return letter == u'N' || letter == u'I' ? 0 : letter == u'M' ? 2 : 1;
    return 0;
}

double Radians(double degrees) {
    return degrees * PiValue / 180.0;
}

// Angle between two places, in degrees.
double OffsetDegrees(double ra1Hours, double dec1Deg, double ra2Hours, double dec2Deg) {
    const double d1 = Radians(dec1Deg), d2 = Radians(dec2Deg);
    const double dra = Radians((ra1Hours - ra2Hours) * 15);
    const double c = std::sin(d1) * std::sin(d2) + std::cos(d1) * std::cos(d2) * std::cos(dra);
    return std::acos(std::clamp(c, -1.0, 1.0)) * 180.0 / PiValue;
}

} // namespace

QString MatchKey(const QString& text) {
    static const QRegularExpression numbered(
        QStringLiteral("^(M|MESSIER|NGC|IC|C|CALDWELL)0*(\\d+)(\\D.*)?$"));
    QString key = text.toUpper();
    key.remove(QRegularExpression(QStringLiteral("\\s")));
    const QRegularExpressionMatch m = numbered.match(key);
    if (!m.hasMatch()) return key;
    QString prefix = m.captured(1);
    if (prefix == QLatin1String("MESSIER")) prefix = QStringLiteral("M");
    if (prefix == QLatin1String("CALDWELL")) prefix = QStringLiteral("C");
    return prefix + m.captured(2) + m.captured(3);
}

ObjectMatcher::ObjectMatcher(const ObjectStore& store) : store_(store) {
    for (int i = 0; i < int(store.objects.size()); ++i) {
        const CatalogObject& object = store.objects[size_t(i)];
        if (object.Catalog.At(0).isNull()) continue; // an untouched slot
        if (IsBody(object)) {
            names_[MatchKey(object.Designation.TrimmedText())].append(i);
            continue;
        }
        for (const QString& part : object.Designation.TrimmedText().split(u'/'))
            if (!part.trimmed().isEmpty()) designations_[MatchKey(part)].append(i);
        if (object.Caldwell > 0)
            designations_[QStringLiteral("C") + QString::number(object.Caldwell)].append(i);
        for (const QString& name : CommentNames(object))
            names_[MatchKey(name)].append(i);
    }
    for (auto it = names_.begin(); it != names_.end();) {
        if (it->size() > kMostRecordsPerName)
            it = names_.erase(it);
        else
            ++it;
    }
}

int ObjectMatcher::Match(const ListLine& line, QString* why) const {
    why->clear();
    QHash<int, int> hits;
    QString firstKey;
    for (const QString& name : line.names) {
        const QString key = MatchKey(name);
        QSet<int> records;
        for (int index : designations_.value(key))
            records.insert(index);
        for (int index : names_.value(key))
            records.insert(index);
        if (!records.isEmpty() && firstKey.isEmpty()) firstKey = key;
        for (int index : records)
            ++hits[index];
    }
    if (hits.isEmpty()) return -1;

    auto typeMatches = [&](const CatalogObject& object) {
        const QString type = line.type.trimmed();
        return !type.isEmpty() &&
               (type.compare(object.SacType.TrimmedText(), Qt::CaseInsensitive) == 0 ||
                type.compare(object.TypeCode.TrimmedText(), Qt::CaseInsensitive) == 0);
    };
    int best = -1;
    auto better = [&](int a, int b) {
        const CatalogObject& x = store_.objects[size_t(a)];
        const CatalogObject& y = store_.objects[size_t(b)];
        if (hits[a] != hits[b]) return hits[a] > hits[b];
        if (typeMatches(x) != typeMatches(y)) return typeMatches(x);
        const int rankX = CatalogueRank(x, firstKey), rankY = CatalogueRank(y, firstKey);
        if (rankX != rankY) return rankX < rankY;
        return a < b;
    };
    for (auto it = hits.cbegin(); it != hits.cend(); ++it)
        if (best < 0 || better(it.key(), best)) best = it.key();

    const CatalogObject& object = store_.objects[size_t(best)];
    if (line.hasPosition && !IsBody(object)) {
        const double offset =
            OffsetDegrees(line.raHours, line.decDegrees, object.RA * 180.0 / PiValue,
                          object.Dec * 180.0 / PiValue);
        if (offset > kLargestOffsetDegrees) {
            *why = QStringLiteral("%1 stands %2 degrees from the position given")
                       .arg(object.Designation.TrimmedText())
                       .arg(offset, 0, 'f', 1);
            return -1;
        }
    }
    return best;
}

QStringList ObjectMatcher::Designations(int storeIndex) const {
    const CatalogObject& object = store_.objects[size_t(storeIndex)];
    QStringList designations;
    if (IsBody(object)) return designations;
    for (const QString& part : object.Designation.TrimmedText().split(u'/'))
        if (!part.trimmed().isEmpty()) designations.append(part.simplified());
    if (object.Caldwell > 0)
        designations.append(QStringLiteral("C ") + QString::number(object.Caldwell));
    return designations;
}

QString ObjectMatcher::CommonName(int storeIndex) const {
    const CatalogObject& object = store_.objects[size_t(storeIndex)];
    if (IsBody(object)) return object.Designation.TrimmedText();
    for (const QString& name : CommentNames(object))
        if (names_.value(MatchKey(name)).contains(storeIndex)) return name;
    return QString();
}
