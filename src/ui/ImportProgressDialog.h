#pragma once
// The palette's import progress: a dialog that appears when an import takes more than a moment,
// shows how far the reading is in the file and offers Cancel, which stops the import between two
// graphs. It blocks the other windows while it runs, so nothing else edits the slides meanwhile.
//
// A message box that opens during the import ("File read", a reader's error) takes the dialog
// off the screen first, for the rest of that import: both are modal, and a progress dialog
// coming up over the box would leave the box waiting for a click it cannot get.
#include "addin/ImportProgress.h"

#include <QElapsedTimer>
#include <QProgressDialog>

namespace zov::ui {

class ImportProgressDialog : public addin::ImportProgress {
public:
    // `fileName` is named in the label ("Importing NAME...").
    ImportProgressDialog(const QString& fileName, QWidget* parent);
    ~ImportProgressDialog() override;

    void Advance(qint64 done, qint64 total) override;
    // While a large graph is drawn the label says so and the bar shows the drawing; then both
    // go back to the reading.
    void Drawing(qint64 done, qint64 total) override;
    bool CancelRequested() override;

    QProgressDialog& Dialog() { return dialog_; }

    // Hides the dialog of the import that is running, if any, and keeps it hidden until that
    // import ends. The desktop's message boxes call it before they show.
    static void DismissRunning();

    // The bar's range; a known file size is shown in these steps.
    static constexpr int Steps = 1000;

private:
    QProgressDialog dialog_;
    QString reading_;          // the label while the file is read
    int readValue_ = 0;        // the bar's value for the reading, kept while a graph is drawn
    bool readTotalKnown_ = true;
    bool drawing_ = false;
    QElapsedTimer sinceUpdate_;
    bool dismissed_ = false;
    bool cancelled_ = false; // a Cancel clicked before the dialog was dismissed
    static ImportProgressDialog* running_;
};

} // namespace zov::ui
