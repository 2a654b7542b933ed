#pragma once
// The help window: a help project (an XML file listing the pages of a folder of HTML pages as
// a table of contents and an index) shown with its contents and index beside the page.
//
// Project file format:
//   <helpproject title="…">
//     <contents> <topic title="…" file="page.htm"> <topic …/> … </topic> … </contents>
//     <index> <keyword text="…" file="page.htm"/> … </index>
//   </helpproject>
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace zov::ui {

struct HelpTopic {
    QString title;
    QString file;
    std::vector<HelpTopic> children;
};

struct HelpKeyword {
    QString text;
    QString file;
};

struct HelpProject {
    QString title;
    QString folder; // the pages' folder (the project file's folder)
    std::vector<HelpTopic> contents;
    std::vector<HelpKeyword> index; // sorted by text, case-insensitively
};

// Reads a project file; nothing when it cannot be read or is not a help project (`error` says why).
std::optional<HelpProject> ReadHelpProject(const QString& fileName, QString* error = nullptr);

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    void SetProject(HelpProject project);
    const HelpProject& Project() const { return project_; }
    // Shows a page of the project (a file name relative to its folder); false when absent.
    bool ShowTopic(const QString& file);
    void ShowContents(); // the contents tab
    void ShowIndex();    // the index tab, its filter focused

    QString CurrentTopic() const; // file name of the page shown, relative to the project folder
    QTextBrowser* Browser() const { return browser_; }
    QTreeWidget* ContentsTree() const { return contents_; }
    QListWidget* IndexList() const { return index_; }
    QLineEdit* IndexFilter() const { return filter_; }

private:
    void addTopics(QTreeWidgetItem* parent, const std::vector<HelpTopic>& topics);
    void filterIndex(const QString& text);
    void openIndexEntry();

    HelpProject project_;
    QTabWidget* tabs_;
    QTreeWidget* contents_;
    QLineEdit* filter_;
    QListWidget* index_;
    QTextBrowser* browser_;
};

} // namespace zov::ui
