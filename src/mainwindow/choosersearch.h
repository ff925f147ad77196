#pragma once

#include <QListView>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

class QComboBox;
class QLineEdit;
class QStringListModel;
class OfferedLinesModel;

// What a chooser line and a typed fragment are compared by: upper case, blanks dropped, so that
// "m31", "M 31" and "M  31" meet.
QString ChooserSearchKey(const QString& text);

// The keys of every chooser line, kept so that each keystroke only compares.
class ChooserLineIndex {
public:
    void rebuild(const QStringList& lines);
    // Chooser positions (0-based) of the lines whose key holds the key of `typed`, in chooser
    // order; none for a fragment without any character that counts. `within` (if given) are the
    // matches of a shorter fragment that this one extends: only those can match again.
    QVector<int> match(const QString& typed, const QVector<int>* within = nullptr) const;

private:
    int lineAt(qsizetype offset) const;

    QString keys_;
    QVector<qsizetype> starts_;
};

// Shows the chooser's field from its first character (the designation, not the blank tail) and
// selects it, so that typing starts a new search instead of adding to the line.
void ShowChooserFieldFromStart(QComboBox* chooser);

// Typing into the object chooser's field offers the chooser lines that hold the typed text in a
// list under the field, updated with each key. Enter or a click on an offered line reports its
// chooser position through entryPicked, for the window to pick exactly as from the full list;
// Escape, clearing the field or leaving it puts the field back as it was. After the chooser's own
// lines come the matching lines of every object it does not list (from `setUnlistedSource`);
// picking one of those reports its store index through storeObjectPicked. While nothing matches,
// the list shows one greyed line saying so, and no key or click picks anything. The chooser's own
// list is never changed; a refill of it ends the search.
class ChooserSearch : public QObject {
    Q_OBJECT
public:
    ChooserSearch(QComboBox* chooser, QStringListModel* lines);
    ~ChooserSearch() override;

    QListView* popup() const { return popup_.data(); }
    // Chooser positions of the lines offered now, in the order shown.
    const QVector<int>& offered() const { return offered_; }

    // Where the lines of the objects the chooser does not list come from: asked once after each
    // refill of the chooser, when the search keys are built.
    struct Unlisted {
        QStringList lines;
        QVector<int> storeIndexes;
    };
    void setUnlistedSource(std::function<Unlisted()> source) {
        unlistedSource_ = std::move(source);
    }

signals:
    void entryPicked(int entry);
    void storeObjectPicked(int storeIndex, const QString& line);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void textEdited(const QString& text);
    void textChanged(const QString& text);
    void buildKeys();
    void linesReset();
    void showOffered();
    void pickRow(int row);
    void moveCurrent(int key);
    // Ends the search; `restore` puts back the field's text from before it began.
    void endSearch(bool restore);

    QComboBox* chooser_;
    QLineEdit* field_;
    QStringListModel* lines_;
    QStringList allLines_;
    ChooserLineIndex index_;
    bool indexStale_ = true;
    bool searching_ = false;
    QString textBefore_;
    QString shownText_;
    QString previousText_;
    QString lastKey_;
    QVector<int> offered_;
    std::function<Unlisted()> unlistedSource_;
    Unlisted unlisted_;
    ChooserLineIndex unlistedIndex_;
    // Positions in unlisted_ of the further lines offered, shown after offered_.
    QVector<int> offeredUnlisted_;
    OfferedLinesModel* model_;
    // Belongs to the chooser, which may take it down before this object.
    QPointer<QListView> popup_;
};
