#pragma once

// A bound field without a window: what the user "types" is what the data control reads back.
#include "BoundField.h"
#include "DataControl.h"
#include "MovieColumns.h"

#include <map>
#include <memory>

class FakeField : public BoundField
{
public:
    explicit FakeField(QString column) : m_column(std::move(column)) {}
    QString boundColumn() const override { return m_column; }
    QString text() const override { return m_text; }
    void showValue(const QString &text) override { m_text = text; }
    void type(const QString &text) { m_text = text; }

private:
    QString m_column;
    QString m_text;
};

using FakeFields = std::map<QString, std::unique_ptr<FakeField>>;

// Binds a fake field to every column of `data`, as the catalog window binds its controls.
inline FakeFields bindEveryColumn(DataControl &data)
{
    FakeFields fields;
    for (const auto &column : kMovieColumns) {
        auto field = std::make_unique<FakeField>(QLatin1String(column.name));
        data.bind(field.get());
        fields[QLatin1String(column.name)] = std::move(field);
    }
    return fields;
}
