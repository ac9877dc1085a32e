#include "editor/WordListModel.h"

#include "editor/Document.h"
#include "common/gui/TextEdge.h"

namespace editor {

WordListModel::WordListModel(const Document& document, QObject* parent)
    : QAbstractListModel(parent), document_(document)
{
}

int WordListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : document_.WordCount();
}

QVariant WordListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= document_.WordCount()) return {};
    if (role == Qt::DisplayRole) {
        const auto& record = document_.Words()[static_cast<std::size_t>(index.row())];
        return mirvel::gui::FromFrancais(record.FrancaisBytes());
    }
    return {};
}

void WordListModel::BeforeReset() { beginResetModel(); }
void WordListModel::AfterReset() { endResetModel(); }
void WordListModel::BeforeAppend(std::int32_t index) { beginInsertRows({}, index, index); }
void WordListModel::AfterAppend() { endInsertRows(); }
void WordListModel::BeforeRemove(std::int32_t index) { beginRemoveRows({}, index, index); }
void WordListModel::AfterRemove() { endRemoveRows(); }

void WordListModel::Changed(std::int32_t first, std::int32_t last)
{
    emit dataChanged(index(first), index(last), {Qt::DisplayRole});
}

}  // namespace editor
