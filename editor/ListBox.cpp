#include "editor/ListBox.h"

#include "editor/ListBoxAccessible.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace editor {

ListBox::ListBox(QWidget* parent) : QAbstractItemView(parent)
{
    // First: Qt looks up a widget's interface once for good, as soon as anything changes on it.
    InstallListBoxAccessibility();
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectRows);
    setEditTriggers(NoEditTriggers);
    setTabKeyNavigation(false);
    setVerticalScrollMode(ScrollPerItem);
}

void ListBox::setItemHeight(int height)
{
    itemHeight_ = std::max(height, 1);
    Refresh();
}

void ListBox::setModel(QAbstractItemModel* model)
{
    QAbstractItemView::setModel(model);
    if (!model) return;
    // The base view re-lays nothing out for these; the scroll range and the picture must follow.
    connect(model, &QAbstractItemModel::rowsInserted, this, &ListBox::ItemsMoved);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ListBox::ItemsMoved);
    connect(model, &QAbstractItemModel::modelReset, this, &ListBox::ItemsMoved);
    connect(model, &QAbstractItemModel::layoutChanged, this, &ListBox::ItemsMoved);
    ItemsMoved();
}

void ListBox::ItemsMoved()
{
    ++itemsGeneration_;
    Refresh();
}

void ListBox::Refresh()
{
    updateGeometries();
    viewport()->update();
}

int ListBox::RowCount() const { return model() ? model()->rowCount(rootIndex()) : 0; }

int ListBox::FirstVisibleRow() const { return verticalScrollBar()->value(); }

int ListBox::VisibleRows() const { return std::max(viewport()->height() / itemHeight_, 1); }

QRect ListBox::RowsRect(int first, int last) const
{
    const int top = (first - FirstVisibleRow()) * itemHeight_;
    return QRect(0, top, viewport()->width(), (last - first + 1) * itemHeight_);
}

QRect ListBox::visualRect(const QModelIndex& index) const
{
    if (!index.isValid() || index.parent() != rootIndex()) return {};
    return RowsRect(index.row(), index.row());
}

void ListBox::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (!index.isValid()) return;
    const int row = index.row();
    const int first = FirstVisibleRow();
    const int visible = VisibleRows();
    int top = first;
    switch (hint) {
        case PositionAtTop:
            top = row;
            break;
        case PositionAtBottom:
            top = row - visible + 1;
            break;
        case PositionAtCenter:
            top = row - visible / 2;
            break;
        case EnsureVisible:
            if (row < first)
                top = row;
            else if (row >= first + visible)
                top = row - visible + 1;
            break;
    }
    verticalScrollBar()->setValue(top);
}

QModelIndex ListBox::indexAt(const QPoint& point) const
{
    if (point.y() < 0 || !model()) return {};
    const int row = FirstVisibleRow() + point.y() / itemHeight_;
    if (row >= RowCount()) return {};
    return model()->index(row, 0, rootIndex());
}

QModelIndex ListBox::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers)
{
    const int count = RowCount();
    if (count == 0) return {};
    const int current = currentIndex().isValid() ? currentIndex().row() : 0;
    int row = current;
    switch (cursorAction) {
        case MoveUp:
        case MovePrevious:
            row = current - 1;
            break;
        case MoveDown:
        case MoveNext:
            row = current + 1;
            break;
        case MovePageUp:
            row = current - VisibleRows();
            break;
        case MovePageDown:
            row = current + VisibleRows();
            break;
        case MoveHome:
            row = 0;
            break;
        case MoveEnd:
            row = count - 1;
            break;
        case MoveLeft:
        case MoveRight:
            break;
    }
    return model()->index(std::clamp(row, 0, count - 1), 0, rootIndex());
}

int ListBox::horizontalOffset() const { return 0; }

int ListBox::verticalOffset() const { return FirstVisibleRow() * itemHeight_; }

bool ListBox::isIndexHidden(const QModelIndex&) const { return false; }

void ListBox::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command)
{
    const QRect area = rect.normalized();
    const int first = std::max(FirstVisibleRow() + area.top() / itemHeight_, 0);
    const int last = std::min(FirstVisibleRow() + area.bottom() / itemHeight_, RowCount() - 1);
    QItemSelection selection;
    if (first <= last) {
        selection.select(model()->index(first, 0, rootIndex()), model()->index(last, 0, rootIndex()));
    }
    selectionModel()->select(selection, command);
}

QRegion ListBox::visualRegionForSelection(const QItemSelection& selection) const
{
    // Each range is one rectangle, whatever its length, clipped to what can be seen.
    const int first = FirstVisibleRow();
    const int last = first + VisibleRows();
    QRegion region;
    for (const QItemSelectionRange& range : selection) {
        if (range.parent() != rootIndex()) continue;
        const int top = std::max(range.top(), first);
        const int bottom = std::min(range.bottom(), last);
        if (top <= bottom) region += RowsRect(top, bottom);
    }
    return region;
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex& index,
                                                              const QEvent* event) const
{
    const auto command = QAbstractItemView::selectionCommand(index, event);
    if (!index.isValid() || command.testFlag(QItemSelectionModel::Deselect) ||
        command.testFlag(QItemSelectionModel::Toggle)) {
        return QItemSelectionModel::NoUpdate;
    }
    return command;
}

void ListBox::updateGeometries()
{
    const int visible = VisibleRows();
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setRange(0, std::max(RowCount() - visible, 0));
    horizontalScrollBar()->setRange(0, 0);
    QAbstractItemView::updateGeometries();
}

void ListBox::paintEvent(QPaintEvent* event)
{
    if (!model()) return;
    QPainter painter(viewport());
    const QRect area = event->rect();
    const int first = FirstVisibleRow() + std::max(area.top(), 0) / itemHeight_;
    const int last = std::min(FirstVisibleRow() + area.bottom() / itemHeight_, RowCount() - 1);
    const QModelIndex current = currentIndex();
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = model()->index(row, 0, rootIndex());
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.rect = visualRect(index);
        if (selectionModel()->isSelected(index)) option.state |= QStyle::State_Selected;
        if (index == current && hasFocus()) option.state |= QStyle::State_HasFocus;
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}

// A reader follows the list through these: the item that gets the focus or the selection
// (whoever moved it: a key, a click or a command), and an item's new text.
void ListBox::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QAbstractItemView::currentChanged(current, previous);
    if (current.isValid() && hasFocus()) AnnounceItem(this, current.row(), QAccessible::Focus);
}

void ListBox::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected);
    if (!deselected.isEmpty()) AnnounceItem(this, deselected.first().top(), QAccessible::SelectionRemove);
    if (!selected.isEmpty()) AnnounceItem(this, selected.first().top(), QAccessible::Selection);
}

void ListBox::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles)
{
    QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
    // One command changes one or two items; a larger change is left to readers asking again.
    constexpr int MostNamedChanges = 16;
    if (bottomRight.row() - topLeft.row() >= MostNamedChanges) return;
    if (!roles.isEmpty() && !roles.contains(Qt::DisplayRole)) return;
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row)
        AnnounceItem(this, row, QAccessible::NameChanged);
}

}  // namespace editor
