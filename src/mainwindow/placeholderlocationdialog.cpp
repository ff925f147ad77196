#include "mainwindow/placeholderlocationdialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

PlaceholderLocationDialog::PlaceholderLocationDialog(AppState& state, int slot, bool isNew,
                                                     QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("Location"));
    setWindowTitle(QStringLiteral("Location Editor"));
    setModal(true);
    QString what;
    if (isNew)
        what = QStringLiteral("a new site");
    else if (slot >= 0 && slot < int(state.sites.size()))
        what = QStringLiteral("site \"%1\"").arg(state.sites[std::size_t(slot)].Name);
    else
        what = QStringLiteral("no site");
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(
        QStringLiteral("Editing %1: sites cannot be edited in this version yet.").arg(what), this);
    label->setObjectName(QStringLiteral("lblPlaceholder"));
    layout->addWidget(label);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void RunPlaceholderLocationEditor(AppState& state, int slot, bool isNew, QWidget* parent) {
    {
        PlaceholderLocationDialog dialog(state, slot, isNew, parent);
        dialog.exec();
    }
    if (isNew && slot >= 0 && slot < int(state.sites.size()) &&
        state.sites[std::size_t(slot)] == SiteLocation{})
        state.sites.erase(state.sites.begin() + slot);
}
