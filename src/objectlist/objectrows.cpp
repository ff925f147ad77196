#include "objectlist/objectrows.h"

#include "objectlist/bodyrecords.h"
#include "objectlist/fixedcopy.h"
#include "sky/coordinates.h"
#include "sky/horizon.h"
#include "sky/textformats.h"

namespace {

// A picked slot names store record slot - 1; anything else is a free row.
bool SlotRecord(const AppState& state, std::int16_t slot, int* index) {
    if (slot <= 0 || slot > int(state.store.objects.size())) return false;
    *index = slot - 1;
    return true;
}

// The magnitude and the blank before it, right-aligned in five characters, so that the comment
// column stays put in every row: a five-character text (the Moon's "-12.7", "11.35") takes the
// blank. Magnitudes are far below 100, so one decimal always fits a longer one in.
QString MagnitudeColumn(double magnitude) {
    QString text = MagnitudeListText(magnitude).trimmed();
    if (text.size() > 5) text = QString::number(magnitude, 'f', 1);
    return text.rightJustified(5);
}

} // namespace

QString ObjectListHeader() {
    return QStringLiteral("Object     Type    Altitude    Azimuth   Mag  Name/Comment");
}

QString FreedRowText() {
    return QStringLiteral(" ");
}

QString ObjectRowText(const CatalogObject& object, double altitude, double azimuth) {
    using objectlist_detail::CopyField;
    using objectlist_detail::CopyText;

    const QString altitudeText = AngleText(altitude);
    const QString azimuthText = AngleText(azimuth);
    const QString magnitudeText = MagnitudeColumn(object.Mag);

    // SAC records (H, C, B, S) show a 10-character name and their 5-character SAC type; Messier,
    // NGC and IC records a 13-character name and their 2-character type code. Name and type are
    // 15 characters either way, so the angle columns line up under the header.
    const char16_t letter = object.Catalog.At(0).unicode();
    const bool sacRecord = letter == u'H' || letter == u'C' || letter == u'B' || letter == u'S';

    const int width = 15 + 1 + int(altitudeText.size()) + 1 + int(azimuthText.size()) +
                      int(magnitudeText.size()) + 1 + 70;
    QString row(width, Qt::Uninitialized);
    QChar* out = row.data();
    if (sacRecord) {
        out = CopyField(out, object.Designation, 10);
        out = CopyField(out, object.SacType);
    } else {
        out = CopyField(out, object.Designation, 13);
        out = CopyField(out, object.TypeCode);
    }
    *out++ = u' ';
    out = CopyText(out, altitudeText);
    *out++ = u' ';
    out = CopyText(out, azimuthText);
    out = CopyText(out, magnitudeText);
    *out++ = u' ';
    CopyField(out, object.Comment);
    return row;
}

QString UnplacedBodyRowText(const CatalogObject& object) {
    // Name and type as for any record with a type code; the note stands over both angle columns
    // (11 + 1 + 11 characters) and the magnitude column stays blank.
    return object.Designation.DisplayText().left(13) + object.TypeCode.DisplayText() + u' ' +
           OutsideRangeText().leftJustified(23) + QString(1 + 4 + 1 + 70, u' ');
}

ObjectListRows ShowObjectList(AppState& state) {
    ObjectListRows rows;
    for (int j = 0; j < ObjectListRowCount; ++j) {
        int index = 0;
        if (!SlotRecord(state, state.listSlots[size_t(j)], &index)) continue;
        PlaceBodyRecord(state, index); // the Moon and the planets move; catalogue objects do not
        const CatalogObject& object = state.store.objects[size_t(index)];
        if (IsUnplacedBody(object)) {
            rows.text[size_t(j)] = UnplacedBodyRowText(object);
            rows.written[size_t(j)] = true;
            continue;
        }
        // Each row is placed at the current observing instant; in Now mode the rows of one call
        // may lie a fraction of a second apart.
        SetTarget(state.sky, object.RA, object.Dec);
        const double altitude = TargetAltitude(state.sky);
        const double azimuth = TargetAzimuth(state.sky);
        rows.text[size_t(j)] = ObjectRowText(object, altitude, azimuth);
        rows.written[size_t(j)] = true;
        rows.behindHorizon[size_t(j)] = !IsInView(state.horizon, altitude, azimuth);
    }
    return rows;
}

PickResult PickChooserEntry(AppState& state, int entryIndex) {
    PickResult result;
    if (entryIndex < 0) return result;

    // The first record carrying the entry's position is the one the last selection numbered:
    // every listed object lies before any slot with a stale number from an earlier, longer walk.
    const int wantedPos = entryIndex + 1;
    const auto& objects = state.store.objects;
    for (size_t k = 0; k < objects.size(); ++k) {
        if (objects[k].ListPos == wantedPos) {
            result.storeIndex = int(k);
            break;
        }
    }
    if (result.storeIndex < 0) return result;
    return PickStoreObject(state, result.storeIndex);
}

PickResult PickStoreObject(AppState& state, int storeIndex) {
    PickResult result;
    if (storeIndex < 0 || storeIndex >= int(state.store.objects.size())) return result;
    result.storeIndex = storeIndex;
    const auto slotValue = std::int16_t(storeIndex + 1);
    for (int j = 0; j < ObjectListRowCount; ++j) {
        std::int16_t& slot = state.listSlots[size_t(j)];
        if (slot == slotValue) {
            result.outcome = PickOutcome::AlreadyListed;
            result.row = j;
            return result;
        }
        if (slot == 0) {
            slot = slotValue;
            result.outcome = PickOutcome::Stored;
            result.row = j;
            return result;
        }
    }
    result.outcome = PickOutcome::ListFull;
    return result;
}

void FreeListRow(AppState& state, int row) {
    if (row < 0 || row >= ObjectListRowCount) return;
    state.listSlots[size_t(row)] = 0;
}

int PutObjectsInFreeRows(AppState& state, const std::vector<int>& objects) {
    ListSlots& rows = state.listSlots;
    auto hasRow = [&](int index) {
        for (int j = 0; j < ObjectListRowCount; ++j)
            if (rows[size_t(j)] == index + 1) return true;
        return false;
    };
    int stored = 0;
    int row = 0;
    for (int index : objects) {
        if (index < 0 || index >= int(state.store.objects.size()) || hasRow(index)) continue;
        while (row < ObjectListRowCount && rows[size_t(row)] != 0)
            ++row;
        if (row == ObjectListRowCount) break;
        rows[size_t(row)] = std::int16_t(index + 1);
        ++stored;
    }
    return stored;
}

int PutBackFreedObject(AppState& state, int row, std::int16_t slotValue) {
    if (row >= 0 && row < ObjectListRowCount && state.listSlots[size_t(row)] == 0) {
        state.listSlots[size_t(row)] = slotValue;
        return row;
    }
    for (int j = 0; j < ObjectListRowCount; ++j) {
        if (state.listSlots[size_t(j)] == 0) {
            state.listSlots[size_t(j)] = slotValue;
            return j;
        }
    }
    return -1;
}
