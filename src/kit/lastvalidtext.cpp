#include "kit/lastvalidtext.h"

#include <QLineEdit>

LastValidText::LastValidText(QLineEdit* box, std::function<bool(const QString&)> isValid)
    : QObject(box), box_(box), isValid_(std::move(isValid)) {
    remember(box->text());
    connect(box, &QLineEdit::textChanged, this, &LastValidText::remember);
}

void LastValidText::remember(const QString& text) {
    if (!isValid_(text)) return;
    last_ = text;
    any_ = true;
}

bool LastValidText::restore() {
    if (!any_ || box_->text() == last_) return false;
    box_->setText(last_);
    return true;
}
