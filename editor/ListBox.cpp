#include "ListBox.h"

namespace editor {

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex& index,
                                                              const QEvent* event) const
{
    const auto command = QListView::selectionCommand(index, event);
    if (!index.isValid() || command.testFlag(QItemSelectionModel::Deselect)
        || command.testFlag(QItemSelectionModel::Toggle)) {
        return QItemSelectionModel::NoUpdate;
    }
    return command;
}

}  // namespace editor
