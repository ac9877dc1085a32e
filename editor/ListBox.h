#pragma once

#include <QAbstractItemView>

namespace editor {

// A single-column list of items of one fixed height, laid out by arithmetic alone: showing,
// adding, removing or changing an item costs the same for a list of a million items as for a
// short one (QListView lays every item out again after each such change). Once an item is
// selected one stays selected: the user can move the selection but not clear it.
class ListBox : public QAbstractItemView {
    Q_OBJECT
    Q_PROPERTY(int itemHeight READ itemHeight WRITE setItemHeight)

public:
    explicit ListBox(QWidget* parent = nullptr);

    int itemHeight() const { return itemHeight_; }
    void setItemHeight(int height);

    void setModel(QAbstractItemModel* model) override;
    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;

    // Changes whenever items are inserted, removed or reordered, so that whoever keeps row
    // numbers (the accessibility interfaces) knows they may be stale.
    quint64 ItemsGeneration() const { return itemsGeneration_; }

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    void updateGeometries() override;
    void paintEvent(QPaintEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;

private:
    int RowCount() const;
    int FirstVisibleRow() const;
    int VisibleRows() const;  // whole items that fit, at least 1
    QRect RowsRect(int first, int last) const;
    void Refresh();
    void ItemsMoved();

    int itemHeight_ = 14;
    quint64 itemsGeneration_ = 0;
};

}  // namespace editor
