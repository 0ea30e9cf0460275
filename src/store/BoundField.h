#pragma once

#include <QString>

// A control that shows one column of the data control's current row. The data control
// writes the stored value into it when the cursor moves and reads it back on Update; what
// the user types in between is the row's pending value.
class BoundField
{
  public:
    virtual ~BoundField() = default;
    virtual QString boundColumn() const = 0;
    virtual QString text() const = 0;
    virtual void showValue(const QString &text) = 0;
};
