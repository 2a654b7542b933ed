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

ImportProgressDialog* ImportProgressDialog::running_ = nullptr;

ImportProgressDialog::ImportProgressDialog(const QString& fileName, QWidget* parent)
    : dialog_(QObject::tr("Importing %1...").arg(QFileInfo(fileName).fileName()), QObject::tr("Cancel"), 0, Steps,
              parent),
      reading_(dialog_.labelText()) {
    dialog_.setObjectName(QStringLiteral("ImportProgress"));
    dialog_.setWindowTitle(QStringLiteral("ZOVEdit"));
    dialog_.setWindowModality(Qt::ApplicationModal);
    dialog_.setMinimumDuration(ShowAfterMs);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
    dialog_.setValue(0); // starts the clock that decides when the dialog appears
    sinceUpdate_.start();
    QApplication::setOverrideCursor(Qt::BusyCursor);
    running_ = this;
}

ImportProgressDialog::~ImportProgressDialog() {
    if (running_ == this)
        running_ = nullptr;
    if (!dismissed_)
        QApplication::restoreOverrideCursor();
    dialog_.reset();
}

void ImportProgressDialog::DismissRunning() {
    ImportProgressDialog* running = running_;
    if (!running || running->dismissed_)
        return;
    running->dismissed_ = true;
    running->cancelled_ = running->dialog_.wasCanceled();
    // reset() stops the timer that would show the dialog after a moment; without auto-close it
    // leaves a shown dialog up, hence the hide.
    running->dialog_.reset();
    running->dialog_.hide();
    QApplication::restoreOverrideCursor(); // the box is waiting for the user, not the import
}

void ImportProgressDialog::Advance(qint64 done, qint64 total) {
    if (dismissed_)
        return;
    // Kept also when the bar is not updated: a large graph drawn next gives the bar back to
    // the reading where it has really got.
    readTotalKnown_ = total > 0;
    if (total > 0)
        readValue_ = static_cast<int>(std::min<qint64>(Steps, done * Steps / total));
    if (sinceUpdate_.elapsed() < UpdateIntervalMs && done < total)
        return;
    sinceUpdate_.restart();
    if (total <= 0) {
        dialog_.setRange(0, 0); // the size of standard input is not known
        dialog_.setValue(0);
    } else {
        dialog_.setValue(readValue_);
    }
    // Once the dialog is up, setValue lets it handle its events; before that, nothing can
    // have been clicked.
}

void ImportProgressDialog::Drawing(qint64 done, qint64 total) {
    if (dismissed_ || total <= 0)
        return;
    if (done >= total) {
        if (!drawing_)
            return;
        drawing_ = false;
        dialog_.setLabelText(reading_);
        dialog_.setRange(0, readTotalKnown_ ? Steps : 0);
        dialog_.setValue(readTotalKnown_ ? readValue_ : 0);
        return;
    }
    if (!drawing_) {
        drawing_ = true;
        dialog_.setLabelText(reading_ + QLatin1Char('\n') + QObject::tr("Drawing a graph of %1 arcs").arg(total));
        dialog_.setRange(0, Steps);
    } else if (sinceUpdate_.elapsed() < UpdateIntervalMs) {
        return;
    }
    sinceUpdate_.restart();
    dialog_.setValue(static_cast<int>(done * Steps / total));
}

bool ImportProgressDialog::CancelRequested() {
    if (dismissed_)
        return cancelled_;
    if (dialog_.isVisible())
        QCoreApplication::processEvents();
    return dialog_.wasCanceled();
}

} // namespace zov::ui
