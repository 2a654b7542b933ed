#include "host/CommandBars.h"

#include "host/HostError.h"

#include <algorithm>

namespace zov::host {

namespace {

// Tells the collection's listeners; a listener may add or remove listeners while it runs.
void notifyCollection(const std::shared_ptr<CommandBarData>& bar)
{
    if (!bar || !bar->collection)
        return;
    const auto listeners = bar->collection->listeners;
    for (const auto& [id, listener] : listeners)
        if (listener)
            listener();
}

void notify(const std::weak_ptr<CommandBarData>& bar)
{
    const auto b = bar.lock();
    if (b && b->changed)
        b->changed();
    notifyCollection(b);
}

} // namespace

// --- button -------------------------------------------------------------------------------

ControlData& CommandBarButton::data() const
{
    const auto d = d_.lock();
    if (!d)
        throw HostError("Object does not exist: the control was deleted");
    return *d;
}

QString CommandBarButton::Caption() const { return data().caption; }
int CommandBarButton::Style() const { return data().style; }
QString CommandBarButton::Tag() const { return data().tag; }
QString CommandBarButton::Parameter() const { return data().parameter; }
QString CommandBarButton::OnAction() const { return data().onAction; }
bool CommandBarButton::Visible() const { return data().visible; }

void CommandBarButton::SetCaption(const QString& v)
{
    data().caption = v;
    notify(bar_);
}

void CommandBarButton::SetStyle(int v)
{
    if (v < ButtonAutomatic || v > ButtonIconAndCaption)
        throw HostError("Invalid button style");
    data().style = v;
    notify(bar_);
}

void CommandBarButton::SetTag(const QString& v)
{
    data().tag = v;
    notify(bar_);
}

void CommandBarButton::SetParameter(const QString& v)
{
    data().parameter = v;
    notifyCollection(bar_.lock());
}

void CommandBarButton::SetOnAction(const QString& v)
{
    data().onAction = v;
    notifyCollection(bar_.lock());
}

void CommandBarButton::SetVisible(bool v)
{
    data().visible = v;
    notify(bar_);
}

void CommandBarButton::SetClickHandler(std::function<void()> handler)
{
    data().onClick = std::move(handler);
}

void CommandBarButton::Execute() const
{
    // Copy first: the handler may delete this very control.
    const auto handler = data().onClick;
    if (handler)
        handler();
}

void CommandBarButton::Delete()
{
    const auto d = d_.lock();
    const auto bar = bar_.lock();
    if (!d || !bar)
        throw HostError("Object does not exist: the control was deleted");
    auto& controls = bar->controls;
    controls.erase(std::remove(controls.begin(), controls.end(), d), controls.end());
    d_.reset();
    notify(bar_);
}

// --- bar ----------------------------------------------------------------------------------

CommandBarButton CommandBar::Control(int index) const
{
    if (index < 1 || index > ControlCount())
        throw HostError("The index into the Controls collection is out of bounds");
    return CommandBarButton(d_->controls[static_cast<std::size_t>(index - 1)], d_);
}

CommandBarButton CommandBar::AddButton(int type)
{
    if (type != ControlButton)
        throw HostError("Only button controls are supported");
    auto control = std::make_shared<ControlData>();
    control->type = type;
    d_->controls.push_back(control);
    notify(d_);
    return CommandBarButton(control, d_);
}

CommandBarButton CommandBar::FindControl(const QString& tag) const
{
    for (const auto& c : d_->controls)
        if (c->tag == tag)
            return CommandBarButton(c, d_);
    return CommandBarButton();
}

// --- bars ---------------------------------------------------------------------------------

CommandBars::CommandBars()
{
    Item(QStringLiteral("Standard"));
}

CommandBar CommandBars::Item(const QString& name)
{
    for (const auto& b : bars_)
        if (b->name == name)
            return CommandBar(b);
    auto bar = std::make_shared<CommandBarData>();
    bar->name = name;
    bar->collection = listeners_;
    bars_.push_back(bar);
    return CommandBar(bar);
}

std::vector<CommandBar> CommandBars::All() const
{
    std::vector<CommandBar> result;
    result.reserve(bars_.size());
    for (const auto& b : bars_)
        result.emplace_back(b);
    return result;
}

CommandBarButton CommandBars::FindControl(const QString& tag) const
{
    for (const auto& b : bars_)
        if (auto found = CommandBar(b).FindControl(tag); !found.IsNothing())
            return found;
    return CommandBarButton();
}

int CommandBars::AddListener(std::function<void()> listener)
{
    const int id = listeners_->nextId++;
    listeners_->listeners.emplace(id, std::move(listener));
    return id;
}

void CommandBars::RemoveListener(int id)
{
    listeners_->listeners.erase(id);
}

} // namespace zov::host
