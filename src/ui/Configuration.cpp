#include "ui/Configuration.h"

#include "ui/ColorValue.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QWindow>
#include <cmath>
#include <limits>

namespace zov::ui {

using drawing::DrawingSettings;

QString FontDisplay(const QString& name, int size) { return name + QLatin1Char('(') + QString::number(size) + QLatin1Char(')'); }

namespace {

// Font chooser option: list screen and printer fonts.
constexpr int BothFontLists = 3;

std::int16_t nearestPoints(double size) {
    const double rounded = std::nearbyint(size); // halves to even, as whole-number conversion does
    if (!(rounded >= std::numeric_limits<std::int16_t>::min()))
        return std::numeric_limits<std::int16_t>::min();
    if (!(rounded <= std::numeric_limits<std::int16_t>::max()))
        return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(rounded);
}

QPushButton* chooseButton(QWidget* parent, const QString& name) {
    auto* button = new QPushButton(QStringLiteral("Choose"), parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

Configuration::Configuration(DrawingSettings& settings, platform::CommonDialog& chooser, QWidget* parent)
    : QDialog(parent), settings_(settings), chooser_(chooser), snapshot_(settings), working_(settings) {
    setObjectName(QStringLiteral("Configuration"));
    setWindowTitle(QStringLiteral("Configure"));
    setModal(false);

    auto* grid = new QGridLayout;
    const struct {
        const char* boxName;
        const char* caption;
        const char* buttonName;
        std::int32_t DrawingSettings::*field;
    } colours[] = {
        {"ConceptColorBox", "concept", "ConceptColorButton", &DrawingSettings::conceptColor},
        {"RelationColorBox", "relation", "RelationColorButton", &DrawingSettings::relationColor},
        {"ActorColorBox", "actor", "ActorColorButton", &DrawingSettings::actorColor},
        {"CommentColorBox", "comment", "CommentColorButton", &DrawingSettings::commentColor},
    };
    int row = 0;
    for (const auto& c : colours) {
        grid->addWidget(new QLabel(QStringLiteral("Color"), this), row, 0);
        auto* box = new QLabel(QString::fromLatin1(c.caption), this);
        box->setObjectName(QString::fromLatin1(c.boxName));
        box->setAlignment(Qt::AlignCenter);
        box->setAutoFillBackground(true);
        box->setFrameShape(QFrame::Box);
        box->setMinimumWidth(90);
        grid->addWidget(box, row, 1);
        QPushButton* button = chooseButton(this, QString::fromLatin1(c.buttonName));
        grid->addWidget(button, row, 2);
        if (row == 0)
            button->setFocus(); // the dialog opens on its first choice, not on the default OK
        const auto field = c.field;
        connect(button, &QPushButton::clicked, this, [this, field] { ChooseColor(field); });
        colorRows_.push_back(ColorRow{field, box});
        ++row;
    }

    grid->addWidget(new QLabel(QStringLiteral("Font"), this), row, 0);
    selectedFont_ = new QLabel(this);
    selectedFont_->setObjectName(QStringLiteral("SelectedFont"));
    grid->addWidget(selectedFont_, row, 1);
    QPushButton* fontButton = chooseButton(this, QStringLiteral("FontButton"));
    grid->addWidget(fontButton, row, 2);
    connect(fontButton, &QPushButton::clicked, this, &Configuration::ChooseNodeFont);
    ++row;

    grid->addWidget(new QLabel(QStringLiteral("Font"), this), row, 0);
    commentFont_ = new QLabel(this);
    commentFont_->setObjectName(QStringLiteral("CommentFont"));
    grid->addWidget(commentFont_, row, 1);
    QPushButton* commentFontButton = chooseButton(this, QStringLiteral("CommentFontButton"));
    grid->addWidget(commentFontButton, row, 2);
    connect(commentFontButton, &QPushButton::clicked, this, &Configuration::ChooseCommentFont);
    ++row;

    arrangeImported_ = new QCheckBox(QStringLiteral("Arrange imported graphs without positions"), this);
    arrangeImported_->setObjectName(QStringLiteral("ArrangeImportedBox"));
    grid->addWidget(arrangeImported_, row, 0, 1, 3);
    connect(arrangeImported_, &QCheckBox::toggled, this, &Configuration::SetArrangeImported);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ConfigOKButton"));
    ok->setAutoDefault(false);
    ok->setDefault(true); // Enter takes the choices, whichever control has the focus (Escape drops them)
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("ConfigCancelButton"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &Configuration::PressOk);
    connect(cancel, &QPushButton::clicked, this, &Configuration::PressCancel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    showWorkingValues();
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &Configuration::onFocusWindowChanged);
}

void Configuration::AddEditorWindow(QWidget* window) { editorWindows_.emplace_back(window); }

void Configuration::Activate() {
    snapshot_ = settings_;
    working_ = snapshot_;
    showWorkingValues();
}

void Configuration::showWorkingValues() {
    for (const ColorRow& row : colorRows_) {
        QPalette palette = row.box->palette();
        const QColor fill = ColorFromBgr(working_.*row.field);
        palette.setColor(QPalette::Window, fill);
        // The caption stays readable on a dark colour too.
        palette.setColor(QPalette::WindowText, qGray(fill.rgb()) < 128 ? Qt::white : Qt::black);
        row.box->setPalette(palette);
    }
    selectedFont_->setText(FontDisplay(working_.nodeFontName, working_.nodeFontSize));
    commentFont_->setText(FontDisplay(working_.commentFontName, working_.commentFontSize));
    const QSignalBlocker quiet(arrangeImported_);
    arrangeImported_->setChecked(working_.arrangeImported);
}

void Configuration::SetArrangeImported(bool on) {
    working_.arrangeImported = on;
    if (arrangeImported_->isChecked() != on) {
        const QSignalBlocker quiet(arrangeImported_);
        arrangeImported_->setChecked(on);
    }
}

void Configuration::ChooseColor(std::int32_t DrawingSettings::*field) {
    // The chooser starts from the row's working colour; cancelling keeps it.
    if (const auto chosen = chooser_.ShowColor(working_.*field))
        working_.*field = *chosen;
    showWorkingValues();
}

void Configuration::chooseFont(QString DrawingSettings::*name, std::int16_t DrawingSettings::*size, QLabel* display) {
    // The chooser opens on the row's font as now chosen, family and size; a choice without a
    // size (a chooser that gives none) keeps the row's size.
    const platform::FontChoice preset{working_.*name, static_cast<double>(working_.*size)};
    const auto chosen = chooser_.ShowFont(preset, BothFontLists);
    if (chosen) {
        if (!chosen->name.isEmpty())
            working_.*name = chosen->name;
        if (chosen->size > 0)
            working_.*size = nearestPoints(chosen->size);
    }
    display->setText(FontDisplay(working_.*name, working_.*size));
}

void Configuration::ChooseNodeFont() { chooseFont(&DrawingSettings::nodeFontName, &DrawingSettings::nodeFontSize, selectedFont_); }

void Configuration::ChooseCommentFont() {
    chooseFont(&DrawingSettings::commentFontName, &DrawingSettings::commentFontSize, commentFont_);
}

void Configuration::PressOk() {
    settings_ = working_;
    hide();
}

void Configuration::PressCancel() { hide(); }

void Configuration::showEvent(QShowEvent* event) {
    if (!event->spontaneous() && !focusReturn_)
        focusReturn_ = std::make_unique<FocusReturn>();
    QDialog::showEvent(event);
    if (!event->spontaneous())
        Activate();
}

void Configuration::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (event->spontaneous() || !focusReturn_)
        return;
    focusReturn_->Return();
    focusReturn_.reset();
}

void Configuration::onFocusWindowChanged(QWindow* window) {
    if (window == nullptr)
        return;
    const QWindow* own = windowHandle();
    if (window == own) {
        if (leftForEditorWindow_ && isVisible())
            Activate();
        leftForEditorWindow_ = false;
        return;
    }
    // The choosers are windows of their own, and coming back from them is no new activation;
    // having worked in the palette is, whatever window comes in between.
    for (const QPointer<QWidget>& w : editorWindows_)
        if (w && w->windowHandle() == window)
            leftForEditorWindow_ = true;
}

} // namespace zov::ui
