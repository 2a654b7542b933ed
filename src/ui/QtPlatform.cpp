#include "ui/QtPlatform.h"

#include "ui/FocusReturn.h"
#include "ui/WindowPlacement.h"

#include "ui/ColorValue.h"
#include "ui/ImportProgressDialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFile>
#include <QFontDialog>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace zov::ui {

QWidget* DialogOwner() {
    // A window just hidden (a dismissed progress dialog) can still be the active one for a moment.
    QWidget* owner = QApplication::activeWindow();
    if (!owner)
        owner = FocusReturn::LastAsked();
    while (owner && !owner->isVisible())
        owner = owner->parentWidget() ? owner->parentWidget()->window() : nullptr;
    return owner;
}

// --- message boxes ------------------------------------------------------------------------

namespace {

// With ZOVEDIT_MESSAGE_LOG naming a file, each box's title and text are appended to it as one
// line, "title<TAB>text" (line breaks as spaces), as the box opens: end-to-end tests read there
// what the program told the user.
void logMessage(const platform::Message& message) {
    const QString path = qEnvironmentVariable("ZOVEDIT_MESSAGE_LOG");
    if (path.isEmpty())
        return;
    QFile log(path);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    QString line = message.title + QLatin1Char('\t') + message.text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    log.write((line + QLatin1Char('\n')).toUtf8());
}

} // namespace

platform::MessageAnswer QtMessageBoxes::show(const platform::Message& message) {
    using platform::MessageAnswer;
    using platform::MessageButtons;
    using platform::MessageIcon;

    // A progress dialog never stays over a box: both are modal, and the box would wait under it.
    ImportProgressDialog::DismissRunning();
    logMessage(message);
    QWidget* const owner = DialogOwner();
    QMessageBox box(owner);
    box.setWindowTitle(message.title);
    // Plain text: a message quoting a file's "<b>" must not turn into markup.
    box.setTextFormat(Qt::PlainText);
    // A CR LF is one line break (a label would show the CR as a gap of its own).
    QString text = platform::boxText(message.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(text);
    switch (message.icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MessageIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    }

    std::vector<std::pair<QMessageBox::StandardButton, MessageAnswer>> row;
    switch (message.buttons) {
    case MessageButtons::Ok: row = {{QMessageBox::Ok, MessageAnswer::Ok}}; break;
    case MessageButtons::OkCancel: row = {{QMessageBox::Ok, MessageAnswer::Ok}, {QMessageBox::Cancel, MessageAnswer::Cancel}}; break;
    case MessageButtons::YesNo: row = {{QMessageBox::Yes, MessageAnswer::Yes}, {QMessageBox::No, MessageAnswer::No}}; break;
    case MessageButtons::YesNoCancel:
        row = {{QMessageBox::Yes, MessageAnswer::Yes}, {QMessageBox::No, MessageAnswer::No}, {QMessageBox::Cancel, MessageAnswer::Cancel}};
        break;
    case MessageButtons::RetryCancel:
        row = {{QMessageBox::Retry, MessageAnswer::Retry}, {QMessageBox::Cancel, MessageAnswer::Cancel}};
        break;
    }
    QMessageBox::StandardButtons buttons;
    for (const auto& [button, answer] : row)
        buttons |= button;
    box.setStandardButtons(buttons);
    const int defaultIndex = message.defaultButton >= 1 && message.defaultButton <= static_cast<int>(row.size())
                                 ? message.defaultButton - 1
                                 : 0;
    box.setDefaultButton(row[static_cast<std::size_t>(defaultIndex)].first);
    // Closing the box with Escape or the title bar gives the answer of Cancel where there is
    // one, otherwise of the default button.
    const FocusReturn focus(owner);
    const int pressed = box.exec();
    for (const auto& [button, answer] : row)
        if (pressed == button)
            return answer;
    return platform::defaultAnswer(message);
}

// --- file dialogs -------------------------------------------------------------------------

QStringList QtNameFilters(const QString& filter) {
    QStringList result;
    for (const platform::FilterEntry& entry : platform::ParseFilter(filter)) {
        QString pattern = entry.pattern;
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (pattern.split(QLatin1Char(' '), Qt::SkipEmptyParts).contains(QStringLiteral("*.*")))
            pattern = QStringLiteral("*");
        QString description = entry.description;
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open > 0 && description.endsWith(QLatin1Char(')')))
            description = description.left(open).trimmed();
        result << QStringLiteral("%1 (%2)").arg(description, pattern.isEmpty() ? QStringLiteral("*") : pattern);
    }
    return result;
}

namespace {

std::optional<QString> runFileDialog(const platform::FileDialogRequest& request, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(DialogOwner());
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // A save dialog asks before an existing file is replaced (No goes back to the dialog).
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    const QStringList filters = QtNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = request.filterIndex >= 1 && request.filterIndex <= filters.size() ? request.filterIndex - 1 : 0;
        dialog.selectNameFilter(filters[index]);
    }
    if (!request.initDir.isEmpty())
        dialog.setDirectory(request.initDir);
    QString suffix = request.defaultExt;
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    if (!request.title.isEmpty())
        dialog.setWindowTitle(request.title);
    if (!request.fileName.isEmpty())
        dialog.selectFile(QFileInfo(request.fileName).fileName());
    // Wide enough for the size and type columns, and in the middle of the screen: centred on a
    // small owner such as the palette it would hang off the screen's edge.
    dialog.resize(860, 540);
    CentreOnScreen(dialog, dialog.parentWidget());
    const FocusReturn focus(dialog.parentWidget());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    if (request.chosenFilterIndex)
        *request.chosenFilterIndex = std::max<int>(1, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1);
    return dialog.selectedFiles().front();
}

} // namespace

std::optional<QString> QtCommonDialog::ShowOpen(const platform::FileDialogRequest& request) {
    return runFileDialog(request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtCommonDialog::ShowSave(const platform::FileDialogRequest& request) {
    return runFileDialog(request, QFileDialog::AcceptSave);
}

// --- colour and font choosers ---------------------------------------------------------------

namespace {

// The colour chooser on a screen too small for it (a laptop's 768 rows at twice the scale): the
// chooser scrolls inside a window that fits the screen, its OK and Cancel always in sight.
std::optional<QColor> ChooseColorScrolled(const QColor& initial, QWidget* owner, const QRect& room) {
    QDialog frame(owner);
    frame.setWindowTitle(QColorDialog::tr("Select Color"));
    auto* chooser = new QColorDialog(initial);
    chooser->setWindowFlags(Qt::Widget);
    chooser->setOptions(QColorDialog::NoButtons | QColorDialog::DontUseNativeDialog);
    auto* scroll = new QScrollArea(&frame);
    scroll->setWidget(chooser);
    scroll->setWidgetResizable(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &frame);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &frame, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &frame, &QDialog::reject);
    auto* layout = new QVBoxLayout(&frame);
    layout->addWidget(scroll);
    layout->addWidget(buttons);
    frame.resize(room.size());
    CentreOnScreen(frame, owner);
    const FocusReturn focus(owner);
    if (frame.exec() != QDialog::Accepted)
        return std::nullopt;
    return chooser->currentColor();
}

} // namespace

std::optional<std::int32_t> QtCommonDialog::ShowColor(std::int32_t initial) {
    QColorDialog dialog(ColorFromBgr(initial), DialogOwner());
    const QScreen* screen = dialog.parentWidget() && dialog.parentWidget()->screen() ? dialog.parentWidget()->screen()
                                                                                      : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry().adjusted(0, 0, -40, -60) : QRect(); // room for the frame
    const QSize needed = dialog.minimumSizeHint();
    if (!room.isEmpty() && (needed.width() > room.width() || needed.height() > room.height())) {
        const std::optional<QColor> chosen = ChooseColorScrolled(dialog.currentColor(), dialog.parentWidget(), room);
        return chosen ? std::optional<std::int32_t>(BgrFromColor(*chosen)) : std::nullopt;
    }
    CentreOnScreen(dialog, dialog.parentWidget());
    const FocusReturn focus(dialog.parentWidget());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return BgrFromColor(dialog.selectedColor());
}

std::optional<platform::FontChoice> QtCommonDialog::ShowFont(const platform::FontChoice& initial, int flags) {
    // Screen and printer fonts are one list here; `flags` asks for exactly that.
    (void)flags;
    QFont font(initial.name);
    if (initial.size > 0)
        font.setPointSizeF(initial.size);
    QFontDialog dialog(font, DialogOwner());
    // A family this system lacks (Arial, say) cannot be shown: the dialog shows a stand-in.
    const QString shown = dialog.currentFont().family();
    const FocusReturn focus(dialog.parentWidget());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QFont chosen = dialog.selectedFont();
    // Unless another family was chosen, the name stays the one asked for, so that shapes keep
    // a font the presentation programs know rather than this system's stand-in.
    const bool familyKept = chosen.family() == shown && !initial.name.isEmpty();
    return platform::FontChoice{familyKept ? initial.name : chosen.family(), chosen.pointSizeF()};
}

// --- pointer ------------------------------------------------------------------------------

namespace {

// The slide view `widget` belongs to (itself or an ancestor), or null.
QWidget* slideViewOf(QWidget* widget) {
    for (; widget != nullptr; widget = widget->parentWidget())
        if (widget->property(platform::SlideViewProperty).toBool())
            return widget;
    return nullptr;
}

QWidget* visibleSlideView() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible())
            continue;
        for (QWidget* child : top->findChildren<QWidget*>())
            if (child->isVisible() && child->property(platform::SlideViewProperty).toBool())
                return child;
    }
    return nullptr;
}

} // namespace

QPoint QtCursorPosition::position() const {
    const QPoint now = QCursor::pos();
    const QWidget* under = slideViewOf(QApplication::widgetAt(now));
    if (under != nullptr && !under->property(platform::ChosenByKeyProperty).toBool())
        return now;
    const QWidget* view = under != nullptr ? under : visibleSlideView();
    if (view == nullptr)
        return now;
    // The place last seen over the slide, where it is shown now, unless it is out of the view
    // or another window covers it; a shape chosen from the keyboard counts even when covered
    // (by the palette, say), since it was chosen, not pointed at.
    const QVariant last = view->property(platform::LastPointerProperty);
    const bool chosenByKey = view->property(platform::ChosenByKeyProperty).toBool();
    if (last.isValid() && slideToScreen_)
        if (const std::optional<QPoint> shown = slideToScreen_(last.toPointF());
            shown && (chosenByKey || slideViewOf(QApplication::widgetAt(*shown)) == view))
            return *shown;
    return view->mapToGlobal(view->rect().center());
}

} // namespace zov::ui
