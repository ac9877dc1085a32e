#pragma once

#include <QListView>

namespace editor {

// A single-selection list that, once an item is selected, keeps one selected: the user can
// move the selection but not clear it (Ctrl+click or a click below the last item would).
class ListBox : public QListView {
    Q_OBJECT

public:
    using QListView::QListView;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
};

}  // namespace editor
