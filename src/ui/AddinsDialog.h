#pragma once
// The host's Add-ins dialog: the registered add-ins with their names and descriptions. A tick
// connects an add-in, clearing it disconnects it (as the user closing it), and Remove
// disconnects it and deletes its registration.
#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace zov::addin {
class AddinManager;
}

namespace zov::ui {

class AddinsDialog : public QDialog {
    Q_OBJECT
public:
    explicit AddinsDialog(addin::AddinManager& manager, QWidget* parent = nullptr);

    QListWidget* List() const { return list_; }
    QPushButton* RemoveButton() const { return remove_; }
    // Applies the ticks: connects the ticked add-ins that are not connected, disconnects the
    // unticked ones that are (the OK button).
    void Apply();
    void RemoveSelected(); // the Remove button

private:
    void refresh();
    void showDescription();

    addin::AddinManager& manager_;
    QListWidget* list_;
    QLabel* description_;
    QPushButton* remove_;
};

} // namespace zov::ui
