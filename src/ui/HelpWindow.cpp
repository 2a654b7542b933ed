#include "ui/HelpWindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QXmlStreamReader>
#include <algorithm>

namespace zov::ui {

namespace {

constexpr int FileRole = Qt::UserRole;

void readTopics(QXmlStreamReader& xml, std::vector<HelpTopic>& into) {
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("topic")) {
            HelpTopic topic;
            topic.title = xml.attributes().value(QLatin1String("title")).toString();
            topic.file = xml.attributes().value(QLatin1String("file")).toString();
            readTopics(xml, topic.children);
            into.push_back(std::move(topic));
        } else {
            xml.skipCurrentElement();
        }
    }
}

} // namespace

std::optional<HelpProject> ReadHelpProject(const QString& fileName, QString* error) {
    auto fail = [&](const QString& why) -> std::optional<HelpProject> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(fileName), file.errorString()));

    QXmlStreamReader xml(&file);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("helpproject"))
        return fail(QStringLiteral("%1 is not a help project").arg(QDir::toNativeSeparators(fileName)));
    HelpProject project;
    project.title = xml.attributes().value(QLatin1String("title")).toString();
    project.folder = QFileInfo(fileName).absolutePath();
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("contents")) {
            readTopics(xml, project.contents);
        } else if (xml.name() == QLatin1String("index")) {
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("keyword"))
                    project.index.push_back(HelpKeyword{xml.attributes().value(QLatin1String("text")).toString(),
                                                        xml.attributes().value(QLatin1String("file")).toString()});
                xml.skipCurrentElement();
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    if (xml.hasError())
        return fail(QStringLiteral("%1, line %2: %3")
                        .arg(QDir::toNativeSeparators(fileName))
                        .arg(xml.lineNumber())
                        .arg(xml.errorString()));
    std::stable_sort(project.index.begin(), project.index.end(), [](const HelpKeyword& a, const HelpKeyword& b) {
        return QString::compare(a.text, b.text, Qt::CaseInsensitive) < 0;
    });
    return project;
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("ZOVEdit Help"));

    tabs_ = new QTabWidget(this);
    contents_ = new QTreeWidget(tabs_);
    contents_->setObjectName(QStringLiteral("HelpContents"));
    contents_->setHeaderHidden(true);
    tabs_->addTab(contents_, QStringLiteral("Contents"));

    auto* indexPage = new QWidget(tabs_);
    filter_ = new QLineEdit(indexPage);
    filter_->setObjectName(QStringLiteral("HelpIndexFilter"));
    filter_->setPlaceholderText(QStringLiteral("Type the keyword to find"));
    index_ = new QListWidget(indexPage);
    index_->setObjectName(QStringLiteral("HelpIndex"));
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(0, 0, 0, 0);
    indexLayout->addWidget(filter_);
    indexLayout->addWidget(index_);
    tabs_->addTab(indexPage, QStringLiteral("Index"));

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("HelpPage"));
    browser_->setOpenExternalLinks(true);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(tabs_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    resize(860, 600);
    // A window of its own, closed as such windows are: Escape, Ctrl+W (and the window system's own).
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Close)}) {
        auto* close = new QShortcut(keys, this);
        connect(close, &QShortcut::activated, this, &QWidget::close);
    }

    connect(contents_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item && !item->data(0, FileRole).toString().isEmpty())
            ShowTopic(item->data(0, FileRole).toString());
    });
    connect(filter_, &QLineEdit::textChanged, this, &HelpWindow::filterIndex);
    connect(filter_, &QLineEdit::returnPressed, this, &HelpWindow::openIndexEntry);
    connect(index_, &QListWidget::itemActivated, this, &HelpWindow::openIndexEntry);
    connect(index_, &QListWidget::itemClicked, this, &HelpWindow::openIndexEntry);
}

void HelpWindow::SetProject(HelpProject project) {
    project_ = std::move(project);
    if (!project_.title.isEmpty())
        setWindowTitle(project_.title);
    browser_->setSearchPaths({project_.folder});

    contents_->clear();
    addTopics(nullptr, project_.contents);
    contents_->expandAll();

    index_->clear();
    for (const HelpKeyword& keyword : project_.index) {
        auto* item = new QListWidgetItem(keyword.text, index_);
        item->setData(FileRole, keyword.file);
    }
    filterIndex(filter_->text());
}

void HelpWindow::addTopics(QTreeWidgetItem* parent, const std::vector<HelpTopic>& topics) {
    for (const HelpTopic& topic : topics) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(contents_);
        item->setText(0, topic.title);
        item->setData(0, FileRole, topic.file);
        addTopics(item, topic.children);
    }
}

bool HelpWindow::ShowTopic(const QString& file) {
    const QString path = QDir(project_.folder).filePath(file);
    if (file.isEmpty() || !QFileInfo::exists(path)) {
        browser_->setHtml(QStringLiteral("<p>The help page <b>%1</b> is missing.</p>").arg(file.toHtmlEscaped()));
        return false;
    }
    browser_->setSource(QUrl::fromLocalFile(path));
    return true;
}

QString HelpWindow::CurrentTopic() const {
    const QString path = browser_->source().toLocalFile();
    if (path.isEmpty())
        return QString();
    return QDir(project_.folder).relativeFilePath(path);
}

void HelpWindow::ShowContents() { tabs_->setCurrentIndex(0); }

void HelpWindow::ShowIndex() {
    tabs_->setCurrentIndex(1);
    filter_->setFocus();
}

void HelpWindow::filterIndex(const QString& text) {
    const QString wanted = text.trimmed();
    QListWidgetItem* first = nullptr;
    for (int i = 0; i < index_->count(); ++i) {
        QListWidgetItem* item = index_->item(i);
        const bool match = wanted.isEmpty() || item->text().contains(wanted, Qt::CaseInsensitive);
        item->setHidden(!match);
        if (match && !first && item->text().startsWith(wanted, Qt::CaseInsensitive))
            first = item;
    }
    if (first)
        index_->setCurrentItem(first);
}

void HelpWindow::openIndexEntry() {
    QListWidgetItem* item = index_->currentItem();
    if (item && !item->isHidden())
        ShowTopic(item->data(FileRole).toString());
}

} // namespace zov::ui
