#include "locationeditor/locationwindow.h"

#include "kit/twips.h"
#include "sky/daylightcheck.h"
#include "sky/skytime.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QTimeZone>

// The site's time-zone name: the choice below the editor's other controls, the zone and DST
// boxes it fills, and the hint under the DST box.

namespace {

const QString kFixedOffset = QStringLiteral("Fixed offset");

QByteArray KnownZone(const QString& text) {
    const QByteArray id = text.trimmed().toUtf8();
    return !id.isEmpty() && QTimeZone::isTimeZoneIdAvailable(id) ? id : QByteArray();
}

} // namespace

void LocationWindow::buildZoneChoice(int top) {
    auto* caption = new QLabel(QStringLiteral("Time zone name"), this);
    caption->setObjectName(QStringLiteral("lblZoneName"));
    caption->setGeometry(TwipsRect(this, 120, top, 1560, 375));
    caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    cmbZoneName = new QComboBox(this);
    cmbZoneName->setObjectName(QStringLiteral("cmbZoneName"));
    cmbZoneName->setAccessibleName(QStringLiteral("Time zone name"));
    cmbZoneName->setEditable(true);
    cmbZoneName->setInsertPolicy(QComboBox::NoInsert);
    cmbZoneName->addItem(kFixedOffset);
    for (const QByteArray& id : QTimeZone::availableTimeZoneIds())
        cmbZoneName->addItem(QString::fromUtf8(id));
    // Typing filters the names: every name that holds the text, wherever it stands in it.
    cmbZoneName->completer()->setFilterMode(Qt::MatchContains);
    cmbZoneName->completer()->setCompletionMode(QCompleter::PopupCompletion);
    cmbZoneName->setGeometry(TwipsRect(this, 1680, top, 2790, 375));
    cmbZoneName->setFocusPolicy(Qt::TabFocus);
    cmbZoneName->installEventFilter(this);
    cmbZoneName->lineEdit()->installEventFilter(this);
    setTabOrder(chkPrimary, cmbZoneName);
    connect(cmbZoneName, &QComboBox::currentTextChanged, this, &LocationWindow::applyZoneName);
    connect(txtTZ, &QLineEdit::editingFinished, this, &LocationWindow::proposeComputerZone);
}

LocationWindow::~LocationWindow() {
    // The fields lose the focus as they are destroyed, after this window has stopped being one.
    if (txtTZ) txtTZ->disconnect(this);
    if (cmbZoneName) cmbZoneName->disconnect(this);
}

QByteArray LocationWindow::chosenZoneName() const {
    return KnownZone(cmbZoneName->currentText());
}

bool LocationWindow::zoneChoiceReadable() const {
    const QString text = cmbZoneName->currentText().trimmed();
    return text.isEmpty() || text == kFixedOffset || !chosenZoneName().isEmpty();
}

void LocationWindow::showZoneName(const QByteArray& name) {
    cmbZoneName->setCurrentText(name.isEmpty() ? kFixedOffset : QString::fromUtf8(name));
    applyZoneName();
}

void LocationWindow::applyZoneName() {
    const QByteArray name = chosenZoneName();
    txtTZ->setEnabled(name.isEmpty());
    chkDST->setEnabled(name.isEmpty());
    if (name.isEmpty()) {
        showComputerDaylight();
        return;
    }
    // What the name gives for the instant in use; the file keeps these for a program without
    // the names.
    const SiteClock clock = SiteClock::Named(QTimeZone(name));
    const QDateTime instant = InstantInUse(state_.sky).utc;
    txtTZ->setText(QString::number(clock.standardHoursAt(instant)));
    chkDST->setChecked(clock.daylightAt(instant));
    lblDSTHint->setText(clock.offsetText(instant));
}

void LocationWindow::proposeComputerZone() {
    if (!isNew_ || zoneProposed_ || !chosenZoneName().isEmpty()) return;
    const QTimeZone& computer = state_.sky.computerZone;
    int hours = 0;
    if (!computer.isValid() || !QTimeZone::isTimeZoneIdAvailable(computer.id()) ||
        !txtTZ->readValue(&hours))
        return;
    const QDateTime now = state_.sky.clock->utcNow();
    if (SiteClock::Named(computer).standardHoursAt(now) != hours) return;
    zoneProposed_ = true;
    showZoneName(computer.id());
}

void LocationWindow::showComputerDaylight() {
    // Only for a zone whose daylight rules the computer's own zone can tell (see
    // ComputerDaylightFor).
    if (cmbZoneName && !chosenZoneName().isEmpty()) return; // the name's own hint stands
    int zone = 0;
    const std::optional<bool> daylight =
        txtTZ->readValue(&zone) ? ComputerDaylightFor(state_.sky.computerZone, std::int16_t(zone),
                                                      state_.sky.clock->utcNow())
                                : std::nullopt;
    lblDSTHint->setText(!daylight   ? QString()
                        : *daylight ? QStringLiteral("today: daylight time")
                                    : QStringLiteral("today: standard time"));
}
