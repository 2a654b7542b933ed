#include "ui/ImportProgressDialog.h"

#include <QApplication>
#include <QFileInfo>

namespace zov::ui {

namespace {

// The bar is updated at most this often; each update lets the dialog take the user's clicks.
constexpr qint64 UpdateIntervalMs = 40;
// A quicker import shows no dialog at all.
constexpr int ShowAfterMs = 400;

} // namespace

ImportProgressDialog::ImportProgressDialog(const QString& fileName, QWidget* parent)
    : dialog_(QObject::tr("Importing %1...").arg(QFileInfo(fileName).fileName()), QObject::tr("Cancel"), 0, Steps,
              parent) {
    dialog_.setObjectName(QStringLiteral("ImportProgress"));
    dialog_.setWindowTitle(QStringLiteral("ZOVEdit"));
    dialog_.setWindowModality(Qt::ApplicationModal);
    dialog_.setMinimumDuration(ShowAfterMs);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
    dialog_.setValue(0); // starts the clock that decides when the dialog appears
    sinceUpdate_.start();
    QApplication::setOverrideCursor(Qt::BusyCursor);
}

ImportProgressDialog::~ImportProgressDialog() {
    QApplication::restoreOverrideCursor();
    dialog_.reset();
}

void ImportProgressDialog::Advance(qint64 done, qint64 total) {
    if (sinceUpdate_.elapsed() < UpdateIntervalMs && done < total)
        return;
    sinceUpdate_.restart();
    if (total <= 0) {
        dialog_.setRange(0, 0); // the size of standard input is not known
        dialog_.setValue(0);
    } else {
        dialog_.setValue(static_cast<int>(std::min<qint64>(Steps, done * Steps / total)));
    }
    // Once the dialog is up, setValue lets it handle its events; before that, nothing can
    // have been clicked.
}

bool ImportProgressDialog::CancelRequested() {
    if (dialog_.isVisible())
        QCoreApplication::processEvents();
    return dialog_.wasCanceled();
}

} // namespace zov::ui
