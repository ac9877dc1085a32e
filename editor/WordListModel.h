#pragma once

#include "editor/ListObserver.h"

#include <QAbstractListModel>

namespace editor {

class Document;

// ListBox1's items: the French words, read straight from the document's records so that a
// list of a million pairs costs no item objects and a change touches only its own rows.
class WordListModel : public QAbstractListModel, public ListObserver {
    Q_OBJECT

public:
    explicit WordListModel(const Document& document, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    void BeforeReset() override;
    void AfterReset() override;
    void BeforeAppend(std::int32_t index) override;
    void AfterAppend() override;
    void BeforeRemove(std::int32_t index) override;
    void AfterRemove() override;
    void Changed(std::int32_t first, std::int32_t last) override;

private:
    const Document& document_;
};

}  // namespace editor
