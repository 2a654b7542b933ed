#pragma once
// The palette's import progress: a dialog that appears when an import takes more than a moment,
// shows how far the reading is in the file and offers Cancel, which stops the import between two
// graphs. It blocks the other windows while it runs, so nothing else edits the slides meanwhile.
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
    bool CancelRequested() override;

    QProgressDialog& Dialog() { return dialog_; }

    // The bar's range; a known file size is shown in these steps.
    static constexpr int Steps = 1000;

private:
    QProgressDialog dialog_;
    QElapsedTimer sinceUpdate_;
};

} // namespace zov::ui
