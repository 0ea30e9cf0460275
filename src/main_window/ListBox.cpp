#include "ListBox.h"

#include "MovieListModel.h"

#include <QItemSelectionModel>

namespace
{

// A selection that holds the current entry and nothing else. The view selects by position
// after a press has made an entry current, and by then the Click handler may have put the
// current entry elsewhere (a change it refused, a refill that moved the entries); a press
// with Ctrl or Ctrl+Space would take the highlight away. Every such request highlights the
// current entry instead, so what the list highlights is what ListIndex says.
class CurrentEntrySelection : public QItemSelectionModel
{
  public:
    using QItemSelectionModel::QItemSelectionModel;
    using QItemSelectionModel::select;

    void select(const QItemSelection &, QItemSelectionModel::SelectionFlags command) override
    {
        if (command == NoUpdate)
            return;
        const QModelIndex current = currentIndex();
        QItemSelectionModel::select(current.isValid() ? QItemSelection(current, current)
                                                      : QItemSelection(),
                                    ClearAndSelect);
    }
};

} // namespace

ListBox::ListBox(MovieListModel *model, QWidget *parent) : QListView(parent), m_model(model)
{
    setModel(model);
    QItemSelectionModel *created = selectionModel();
    setSelectionModel(new CurrentEntrySelection(model, this));
    delete created;
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

int ListBox::IndexOf(const QString &title) const
{
    return m_model->indexOf(title);
}

void ListBox::setListIndexQuietly(int index)
{
    m_quiet = true;
    if (index >= 0 && index < ListCount()) {
        const QModelIndex target = m_model->index(index);
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
        scrollTo(target);
    } else {
        selectionModel()->clearCurrentIndex();
        selectionModel()->clearSelection();
    }
    m_quiet = false;
}

void ListBox::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved();
    QListView::mouseMoveEvent(event);
}
