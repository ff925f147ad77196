#include "mainwindow/choosersearch.h"

#include <QAbstractListModel>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QScrollBar>
#include <QStringListModel>
#include <algorithm>

namespace {

constexpr int kVisibleRows = 20;
// A whole 90-character line and the name of a catalogue box behind it.
constexpr int kLineCharacters = 106;

} // namespace

// The offered lines, shown straight from the chooser's lines without copying them. With none
// offered, one greyed line that cannot be chosen says that nothing matches.
class OfferedLinesModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    // The chooser's lines `rows` of `lines`, then the lines `moreRows` of `more`.
    void setOffered(const QStringList& lines, const QVector<int>& rows, const QStringList& more,
                    const QVector<int>& moreRows, const QString& typed) {
        beginResetModel();
        lines_ = lines, rows_ = rows, more_ = more, moreRows_ = moreRows;
        noMatch_ = count() == 0 ? QStringLiteral("No object matches \"%1\"").arg(typed) : QString();
        endResetModel();
    }
    int count() const { return int(rows_.size() + moreRows_.size()); }
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : std::max(1, count());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        if (count() == 0) return noMatch_;
        const int row = index.row();
        if (row < rows_.size()) return lines_.at(rows_.at(row));
        return row < count() ? more_.at(moreRows_.at(row - rows_.size())) : QVariant();
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return count() == 0 ? Qt::NoItemFlags : QAbstractListModel::flags(index);
    }

private:
    QStringList lines_, more_;
    QVector<int> rows_, moreRows_;
    QString noMatch_;
};

namespace {

// Appends the key of `text` at `out`; returns the end of what was written.
QChar* WriteKey(const QString& text, QChar* out) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            if (u == u' ' || (u >= u'\t' && u <= u'\r')) continue;
            *out++ = QChar(u >= u'a' && u <= u'z' ? char16_t(u - 0x20) : u);
        } else if (!c.isSpace()) {
            *out++ = c.toUpper();
        }
    }
    return out;
}

} // namespace

QString ChooserSearchKey(const QString& text) {
    QString key(text.size(), Qt::Uninitialized);
    key.truncate(int(WriteKey(text, key.data()) - key.constData()));
    return key;
}

void ChooserLineIndex::rebuild(const QStringList& lines) {
    // All keys in one text, each closed by a line feed (which no key holds), so that a fragment
    // is looked for in one sweep and never across two lines; built at the first key typed after
    // each refill of the chooser, so it must not lag.
    qsizetype length = 0;
    for (const QString& line : lines)
        length += line.size() + 1;
    keys_ = QString(length, Qt::Uninitialized);
    starts_.clear();
    starts_.reserve(lines.size() + 1);
    QChar* out = keys_.data();
    for (const QString& line : lines) {
        starts_.append(out - keys_.constData());
        out = WriteKey(line, out);
        *out++ = u'\n';
    }
    starts_.append(out - keys_.constData());
    keys_.truncate(starts_.last());
}

int ChooserLineIndex::lineAt(qsizetype offset) const {
    const auto after = std::upper_bound(starts_.cbegin(), starts_.cend(), offset);
    return int(after - starts_.cbegin()) - 1;
}

QVector<int> ChooserLineIndex::match(const QString& typed, const QVector<int>* within) const {
    QVector<int> found;
    const QString key = ChooserSearchKey(typed);
    if (key.isEmpty() || starts_.isEmpty()) return found;
    const QStringView all(keys_);
    if (within) {
        for (const int i : *within) {
            if (i < 0 || i + 1 >= starts_.size()) continue;
            const QStringView line = all.mid(starts_[i], starts_[i + 1] - starts_[i] - 1);
            if (line.contains(key)) found.append(i);
        }
        return found;
    }
    qsizetype from = 0;
    while ((from = all.indexOf(key, from)) >= 0) {
        const int line = lineAt(from);
        found.append(line);
        from = starts_[line + 1];
    }
    return found;
}

ChooserSearch::ChooserSearch(QComboBox* chooser, QStringListModel* lines)
    : QObject(chooser), chooser_(chooser), field_(chooser->lineEdit()), lines_(lines) {
    setObjectName(QStringLiteral("cmbDSOSearch"));
    // The search takes the place of the combo box's own completion by prefix, which would write
    // the rest of a line into the field while the observer is still typing.
    chooser->setCompleter(nullptr);

    model_ = new OfferedLinesModel(this);
    // A list that floats under the field without taking the focus from it, so that typing goes
    // on in the field while the list follows.
    popup_ = new QListView(chooser);
    popup_->setObjectName(QStringLiteral("cmbDSOOffered"));
    popup_->setWindowFlags(Qt::ToolTip | Qt::WindowDoesNotAcceptFocus);
    popup_->setAttribute(Qt::WA_ShowWithoutActivating);
    popup_->setFocusPolicy(Qt::NoFocus);
    popup_->setFont(chooser->view()->font());
    popup_->setUniformItemSizes(true);
    popup_->setLayoutMode(QListView::Batched);
    popup_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    popup_->setSelectionMode(QAbstractItemView::SingleSelection);
    popup_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    popup_->setModel(model_);

    connect(popup_, &QListView::clicked, this, [this](const QModelIndex& i) { pickRow(i.row()); });
    connect(field_, &QLineEdit::textEdited, this, &ChooserSearch::textEdited);
    connect(field_, &QLineEdit::textChanged, this, &ChooserSearch::textChanged);
    connect(lines_, &QAbstractItemModel::modelReset, this, &ChooserSearch::linesReset);
    connect(lines_, &QAbstractItemModel::rowsInserted, this, &ChooserSearch::linesReset);
    connect(lines_, &QAbstractItemModel::rowsRemoved, this, &ChooserSearch::linesReset);
    connect(lines_, &QAbstractItemModel::dataChanged, this, &ChooserSearch::linesReset);
    field_->installEventFilter(this);
    chooser->installEventFilter(this);
    chooser->window()->installEventFilter(this);
}

ChooserSearch::~ChooserSearch() = default;

void ChooserSearch::textChanged(const QString& text) {
    if (searching_) return;
    previousText_ = shownText_;
    shownText_ = text;
}

void ChooserSearch::textEdited(const QString& text) {
    const QString key = ChooserSearchKey(text);
    if (!searching_) {
        if (key.isEmpty()) return;
        searching_ = true;
        // The edit may or may not have been reported as a change already.
        textBefore_ = shownText_ == text ? previousText_ : shownText_;
        lastKey_.clear();
    }
    if (text.isEmpty()) {
        endSearch(false);
        return;
    }
    buildKeys();
    // A fragment that extends the last one can only match among the last matches.
    const bool narrowing = !lastKey_.isEmpty() && key.contains(lastKey_);
    offered_ = narrowing ? index_.match(text, &offered_) : index_.match(text);
    offeredUnlisted_ =
        narrowing ? unlistedIndex_.match(text, &offeredUnlisted_) : unlistedIndex_.match(text);
    lastKey_ = key;
    model_->setOffered(allLines_, offered_, unlisted_.lines, offeredUnlisted_, text);
    showOffered();
}

void ChooserSearch::buildKeys() {
    if (!indexStale_) return;
    allLines_ = lines_->stringList();
    index_.rebuild(allLines_);
    unlisted_ = unlistedSource_ ? unlistedSource_() : Unlisted{};
    unlistedIndex_.rebuild(unlisted_.lines);
    indexStale_ = false;
    lastKey_.clear();
}

void ChooserSearch::linesReset() {
    indexStale_ = true;
    // The program refilled the chooser and sets the field itself.
    if (searching_) endSearch(false);
}

void ChooserSearch::showOffered() {
    if (!popup_) return;
    const int frame = 2 * popup_->frameWidth();
    const int rows = std::clamp<int>(model_->count(), 1, kVisibleRows);
    const int height = rows * std::max(1, popup_->sizeHintForRow(0)) + frame;
    const int width = std::max(
        chooser_->width(), popup_->fontMetrics().horizontalAdvance(QString(kLineCharacters, u'M')) +
                               popup_->verticalScrollBar()->sizeHint().width() + frame);
    QRect area(chooser_->mapToGlobal(QPoint(0, chooser_->height())), QSize(width, height));
    if (const QScreen* screen = chooser_->screen()) {
        const QRect room = screen->availableGeometry();
        if (area.bottom() > room.bottom())
            area.moveBottom(chooser_->mapToGlobal(QPoint(0, 0)).y() - 1);
        if (area.right() > room.right()) area.moveRight(room.right());
        if (area.left() < room.left()) area.moveLeft(room.left());
    }
    popup_->setGeometry(area);
    popup_->setCurrentIndex(model_->count() == 0 ? QModelIndex() : model_->index(0));
    popup_->scrollToTop();
    popup_->show();
}

void ChooserSearch::pickRow(int row) {
    if (row < 0 || row >= model_->count()) return;
    if (row < offered_.size()) {
        const int entry = offered_.at(row);
        endSearch(false);
        emit entryPicked(entry);
        return;
    }
    const int k = offeredUnlisted_.at(row - offered_.size());
    const int storeIndex = unlisted_.storeIndexes.at(k);
    const QString line = unlisted_.lines.at(k);
    endSearch(false);
    emit storeObjectPicked(storeIndex, line);
}

void ChooserSearch::moveCurrent(int key) {
    const int last = model_->count() - 1;
    int row = popup_->currentIndex().row();
    switch (key) {
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    case Qt::Key_PageUp:
        row -= kVisibleRows;
        break;
    default:
        row += kVisibleRows;
        break;
    }
    row = std::clamp(row, 0, last);
    popup_->setCurrentIndex(model_->index(row));
    popup_->scrollTo(model_->index(row));
}

void ChooserSearch::endSearch(bool restore) {
    searching_ = false;
    if (popup_) popup_->hide();
    offered_.clear();
    offeredUnlisted_.clear();
    lastKey_.clear();
    if (restore) {
        chooser_->setEditText(textBefore_);
        ShowChooserFieldFromStart(chooser_);
    }
}

void ShowChooserFieldFromStart(QComboBox* chooser) {
    QLineEdit* field = chooser->lineEdit();
    const int length = int(field->text().size());
    field->setSelection(length, -length);
}

bool ChooserSearch::eventFilter(QObject* watched, QEvent* event) {
    // The keys are built when the observer comes to the field, so that the first key typed only
    // compares.
    if (watched == chooser_ && event->type() == QEvent::FocusIn) buildKeys();
    if (!searching_) return false;
    // The combo box holds the focus and hands keys on to its field; a key sent to the field
    // itself comes here directly.
    if (watched != field_ && watched != chooser_) {
        // The list stays put on the screen: moving or hiding the window ends the search.
        const QEvent::Type t = event->type();
        if (t == QEvent::Move || t == QEvent::Resize || t == QEvent::Hide) endSearch(true);
        return false;
    }
    if (event->type() == QEvent::FocusOut) {
        endSearch(true);
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool listed = popup_ && popup_->isVisible() && model_->count() > 0;
    switch (key) {
    case Qt::Key_Escape:
        endSearch(true);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // With nothing offered, Enter picks nothing.
        if (listed) pickRow(popup_->currentIndex().row());
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // Never handed on: the combo box would step to the next of its own entries and pick it.
        if (listed) moveCurrent(key);
        return true;
    default:
        return false;
    }
}
