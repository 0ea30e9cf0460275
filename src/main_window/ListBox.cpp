#include "ListBox.h"

#include "MovieListModel.h"

#include <QItemSelectionModel>

ListBox::ListBox(MovieListModel *model, QWidget *parent) : QListView(parent), m_model(model)
{
    setModel(model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                if (!m_quiet && current.isValid())
                    emit Click();
            });
}

int ListBox::ListIndex() const
{
    const QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void ListBox::setListIndex(int index)
{
    if (index < 0 || index >= ListCount()) {
        clearSelectionQuietly();
        return;
    }
    const QModelIndex target = m_model->index(index);
    if (selectionModel()->currentIndex() == target) {
        emit Click();
        return;
    }
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    scrollTo(target);
}

int ListBox::ListCount() const
{
    return m_model->count();
}

QString ListBox::List(int index) const
{
    return m_model->entry(index);
}

void ListBox::clearSelectionQuietly()
{
    m_quiet = true;
    selectionModel()->clearCurrentIndex();
    selectionModel()->clearSelection();
    m_quiet = false;
}

void ListBox::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved();
    QListView::mouseMoveEvent(event);
}
