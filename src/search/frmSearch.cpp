#include "frmSearch.h"

#include "SearchTarget.h"

frmSearch::frmSearch(SearchTarget &target, QWidget *parent) : QDialog(parent), m_target(target)
{
    setObjectName(QStringLiteral("frmSearch"));
}
