#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLineEdit;

// Remembers the last text of a box that passed its check, so that Escape can put it back. In a
// box that takes digits only, a separator deleted by mistake cannot be typed again; this is the
// way back. Lives as a child of the box.
class LastValidText : public QObject {
public:
    LastValidText(QLineEdit* box, std::function<bool(const QString&)> isValid);

    // Puts the remembered text back. False when the box holds it already (or nothing valid was
    // ever there), so the key can do what it does elsewhere.
    bool restore();

private:
    void remember(const QString& text);

    QLineEdit* box_;
    std::function<bool(const QString&)> isValid_;
    QString last_;
    bool any_ = false;
};
