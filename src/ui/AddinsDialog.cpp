#include "ui/AddinsDialog.h"

#include "addin/AddinManager.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace zov::ui {

namespace {
constexpr int ProgIdRole = Qt::UserRole;
constexpr int DescriptionRole = Qt::UserRole + 1;
} // namespace

AddinsDialog::AddinsDialog(addin::AddinManager& manager, QWidget* parent) : QDialog(parent), manager_(manager) {
    setObjectName(QStringLiteral("AddinsDialog"));
    setWindowTitle(QStringLiteral("Add-ins"));

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("AddinList"));
    description_ = new QLabel(this);
    description_->setObjectName(QStringLiteral("AddinDescription"));
    description_->setWordWrap(true);
    remove_ = new QPushButton(QStringLiteral("&Remove"), this);
    remove_->setObjectName(QStringLiteral("RemoveAddinButton"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->addButton(remove_, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        Apply();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(remove_, &QPushButton::clicked, this, &AddinsDialog::RemoveSelected);
    connect(list_, &QListWidget::currentRowChanged, this, &AddinsDialog::showDescription);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Add-ins available:"), this));
    layout->addWidget(list_);
    layout->addWidget(description_);
    layout->addWidget(buttons);
    refresh();
}

void AddinsDialog::refresh() {
    list_->clear();
    for (const addin::AddinManager::AddinState& state : manager_.Addins()) {
        const QString name = state.registration.friendlyName.isEmpty() ? state.registration.progId
                                                                       : state.registration.friendlyName;
        auto* item = new QListWidgetItem(name, list_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(state.connected ? Qt::Checked : Qt::Unchecked);
        item->setData(ProgIdRole, state.registration.progId);
        item->setData(DescriptionRole, state.registration.description);
    }
    if (list_->count() > 0)
        list_->setCurrentRow(0);
    remove_->setEnabled(list_->count() > 0);
    showDescription();
}

void AddinsDialog::showDescription() {
    const QListWidgetItem* item = list_->currentItem();
    description_->setText(item ? QStringLiteral("Description: %1").arg(item->data(DescriptionRole).toString()) : QString());
}

void AddinsDialog::Apply() {
    for (int i = 0; i < list_->count(); ++i) {
        const QListWidgetItem* item = list_->item(i);
        const QString progId = item->data(ProgIdRole).toString();
        const bool wanted = item->checkState() == Qt::Checked;
        if (wanted && !manager_.IsConnected(progId))
            manager_.ConnectAddin(progId);
        else if (!wanted && manager_.IsConnected(progId))
            manager_.DisconnectAddin(progId);
    }
}

void AddinsDialog::RemoveSelected() {
    const QListWidgetItem* item = list_->currentItem();
    if (!item)
        return;
    manager_.RemoveAddin(item->data(ProgIdRole).toString());
    refresh();
}

} // namespace zov::ui
