#pragma once
// The host's command bars: named bars holding button controls. A control carries the caption,
// style, tag, parameter and action string an add-in gives it; a click calls its handler.
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace zov::host {

enum ButtonStyle : int { ButtonAutomatic = 0, ButtonIcon = 1, ButtonCaption = 2, ButtonIconAndCaption = 3 };
constexpr int ControlButton = 1;

struct ControlData {
    int type = ControlButton;
    QString caption, tag, parameter, onAction, toolTip;
    int style = ButtonAutomatic;
    bool visible = true;
    std::function<void()> onClick;
};

// Who hears of a change to any control of any bar of one CommandBars collection.
struct CommandBarsListeners {
    std::map<int, std::function<void()>> listeners;
    int nextId = 1;
};

struct CommandBarData {
    QString name;
    std::vector<std::shared_ptr<ControlData>> controls;
    std::function<void()> changed; // lets a toolbar widget follow additions and deletions
    // The collection's listeners, shared by all its bars: they hear of every addition, deletion
    // and change of a control's caption, style, tag, parameter, action or visibility.
    std::shared_ptr<CommandBarsListeners> collection;
};

class CommandBarButton {
public:
    CommandBarButton() = default;
    explicit CommandBarButton(std::weak_ptr<ControlData> d, std::weak_ptr<CommandBarData> bar)
        : d_(std::move(d)), bar_(std::move(bar)) {}
    bool IsNothing() const { return d_.expired(); }

    QString Caption() const;
    void SetCaption(const QString& v);
    int Style() const;
    void SetStyle(int v);
    QString Tag() const;
    void SetTag(const QString& v);
    QString Parameter() const;
    void SetParameter(const QString& v);
    QString OnAction() const;
    void SetOnAction(const QString& v);
    bool Visible() const;
    void SetVisible(bool v);
    void SetClickHandler(std::function<void()> handler);
    void Execute() const; // a click
    void Delete();
private:
    ControlData& data() const;
    std::weak_ptr<ControlData> d_;
    std::weak_ptr<CommandBarData> bar_;
};

class CommandBar {
public:
    explicit CommandBar(std::shared_ptr<CommandBarData> d) : d_(std::move(d)) {}
    QString Name() const { return d_->name; }
    int ControlCount() const { return static_cast<int>(d_->controls.size()); }
    CommandBarButton Control(int index) const; // 1-based
    CommandBarButton AddButton(int type = ControlButton);
    CommandBarButton FindControl(const QString& tag) const; // empty handle when absent
    const std::shared_ptr<CommandBarData>& shared() const { return d_; }
private:
    std::shared_ptr<CommandBarData> d_;
};

class CommandBars {
public:
    CommandBars(); // the "Standard" bar exists from the start
    CommandBar Item(const QString& name); // made on first use; "Standard" always exists
    std::vector<CommandBar> All() const;
    CommandBarButton FindControl(const QString& tag) const; // first on any bar; empty when absent

    // Adds a listener that is called after any control of any bar is added, deleted or changed
    // (the host keeps its settings current through it). Returns the id RemoveListener takes.
    int AddListener(std::function<void()> listener);
    void RemoveListener(int id);
private:
    std::vector<std::shared_ptr<CommandBarData>> bars_;
    std::shared_ptr<CommandBarsListeners> listeners_ = std::make_shared<CommandBarsListeners>();
};

} // namespace zov::host
