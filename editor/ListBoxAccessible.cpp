#include "editor/ListBoxAccessible.h"

#include "editor/ListBox.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>
#include <algorithm>
#include <deque>
#include <unordered_map>

namespace editor {
namespace {

class ItemAccessible : public QAccessibleInterface {
public:
    ItemAccessible(ListBox* list, int row, quint64 generation)
        : list_(list), row_(row), generation_(generation)
    {
    }

    ListBox* List() const { return list_; }
    int Row() const { return row_; }

    bool isValid() const override
    {
        return list_ && list_->model() && list_->ItemsGeneration() == generation_ &&
               row_ < list_->model()->rowCount(list_->rootIndex());
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return list_ ? list_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(list_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid()) return {};
        return Index().data(Qt::DisplayRole).toString();
    }

    QRect rect() const override
    {
        if (!isValid()) return {};
        const QRect area = list_->visualRect(Index()) & list_->viewport()->rect();
        if (area.isEmpty()) return {};
        return QRect(list_->viewport()->mapToGlobal(area.topLeft()), area.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const QModelIndex index = Index();
        state.selectable = true;
        state.focusable = true;
        state.selected = list_->selectionModel() && list_->selectionModel()->isSelected(index);
        state.focused = index == list_->currentIndex() && list_->hasFocus();
        state.offscreen = rect().isEmpty();
        return state;
    }

private:
    QModelIndex Index() const { return list_->model()->index(row_, 0, list_->rootIndex()); }

    QPointer<ListBox> list_;
    int row_;
    quint64 generation_;  // the list's item layout this row number belongs to
};

class ListAccessible : public QAccessibleWidget {
public:
    explicit ListAccessible(ListBox* list) : QAccessibleWidget(list, QAccessible::List) {}
    ~ListAccessible() override { DropItems(); }

    // The scroll bars are left out: a reader moves through the items themselves.
    int childCount() const override { return Rows(); }

    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= Rows()) return nullptr;
        if (List()->ItemsGeneration() != generation_) {
            DropItems();
            generation_ = List()->ItemsGeneration();
        }
        if (const auto found = ids_.find(index); found != ids_.end()) {
            if (QAccessibleInterface* kept = QAccessible::accessibleInterface(found->second)) return kept;
            ids_.erase(found);
            order_.erase(std::find(order_.begin(), order_.end(), index));
        }
        auto* item = new ItemAccessible(List(), index, generation_);
        const QAccessible::Id id = QAccessible::registerAccessibleInterface(item);
        ids_.emplace(index, id);
        order_.push_back(index);
        if (order_.size() > KeptItems) {
            const auto oldest = ids_.find(order_.front());
            QAccessible::deleteAccessibleInterface(oldest->second);
            ids_.erase(oldest);
            order_.pop_front();
        }
        return item;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const auto* item = dynamic_cast<const ItemAccessible*>(child);
        if (!item || item->List() != List() || !item->isValid()) return -1;
        return item->Row();
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QModelIndex index = List()->indexAt(List()->viewport()->mapFromGlobal(QPoint(x, y)));
        return index.isValid() ? child(index.row()) : nullptr;
    }

    QAccessibleInterface* focusChild() const override
    {
        const QModelIndex current = List()->currentIndex();
        if (!List()->hasFocus() || !current.isValid()) return nullptr;
        return child(current.row());
    }

private:
    static constexpr std::size_t KeptItems = 256;

    ListBox* List() const { return static_cast<ListBox*>(widget()); }
    int Rows() const { return List()->model() ? List()->model()->rowCount(List()->rootIndex()) : 0; }

    void DropItems() const
    {
        for (const auto& [row, id] : ids_) QAccessible::deleteAccessibleInterface(id);
        ids_.clear();
        order_.clear();
    }

    mutable quint64 generation_ = 0;
    mutable std::unordered_map<int, QAccessible::Id> ids_;
    mutable std::deque<int> order_;  // rows of ids_, oldest first
};

ItemAnnouncementObserver announcementObserver = nullptr;

QAccessibleInterface* Factory(const QString& className, QObject* object)
{
    if (className != QLatin1String(ListBox::staticMetaObject.className())) return nullptr;
    auto* list = qobject_cast<ListBox*>(object);
    return list ? new ListAccessible(list) : nullptr;
}

}  // namespace

void InstallListBoxAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

void AnnounceItem(ListBox* list, int row, QAccessible::Event type)
{
    if (announcementObserver) announcementObserver(list, row, type);
    // Without a reader the event would only make the interfaces for nothing.
    if (!QAccessible::isActive()) return;
    QAccessibleEvent event(list, type);
    event.setChild(row);
    QAccessible::updateAccessibility(&event);
}

ItemAnnouncementObserver SetItemAnnouncementObserver(ItemAnnouncementObserver observer)
{
    const ItemAnnouncementObserver previous = announcementObserver;
    announcementObserver = observer;
    return previous;
}

}  // namespace editor
