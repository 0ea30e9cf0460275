#pragma once

#include <QDialog>

class SearchTarget;

// The search window: entries for every searchable field; OK applies the search to `target`.
class frmSearch : public QDialog
{
    Q_OBJECT
public:
    explicit frmSearch(SearchTarget &target, QWidget *parent = nullptr);

private:
    SearchTarget &m_target;
};
