#pragma once

#include <QString>

// The window a search is applied to.
class SearchTarget
{
  public:
    virtual ~SearchTarget() = default;
    // Makes `statement` the record source and lists its movies. All or nothing: false, with
    // `error` saying why (empty when the user chose to stay on unsaved changes), leaves the
    // window as it was.
    virtual bool ApplySearch(const QString &statement, QString *error) = 0;
};
