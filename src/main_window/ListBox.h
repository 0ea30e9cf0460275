#pragma once

#include <QListView>

class MovieListModel;

// A single-selection list whose selected index, like the user's choice, raises Click:
// choosing an entry with the mouse or the arrow keys and setting ListIndex from code both do.
// The highlighted entry is always the ListIndex entry, and none is highlighted at -1.
class ListBox : public QListView
{
    Q_OBJECT
  public:
    explicit ListBox(MovieListModel *model, QWidget *parent = nullptr);

    int ListIndex() const;
    // Selects entry `index` (-1: none). Selecting an entry raises Click before returning.
    void setListIndex(int index);
    int ListCount() const;
    QString List(int index) const;
    // The first entry whose text is `title`, or -1.
    int IndexOf(const QString &title) const;
    // Selects entry `index` (-1: none) without raising Click.
    void setListIndexQuietly(int index);
    // Removes the selection without raising Click.
    void clearSelectionQuietly() { setListIndexQuietly(-1); }

  signals:
    void Click();
    void mouseMoved();

  protected:
    void mouseMoveEvent(QMouseEvent *event) override;

  private:
    MovieListModel *m_model;
    bool m_quiet = false;
};
