#pragma once
// A fresh event database (a copy of the one the build makes from eventdb/)
// loaded with the small fixture event of fixture.sql, and plain helpers to
// call its procedures: every call runs in its own transaction and commits,
// as the program's data module does.

#include "platform/database/FbConnection.h"
#include "tests/support/TestDatabase.h"

#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <utility>
#include <vector>

using TRow = QVariantMap;  // column name (upper case) -> value; invalid = null
using TArgs = std::vector<std::pair<QString, QVariant>>;

class EventDb {
public:
    // LoadFixture false gives the bare event database.
    explicit EventDb(bool LoadFixture = true);

    std::vector<TRow> Rows(const QString& Sql, const TArgs& Args = {});
    TRow Row(const QString& Sql, const TArgs& Args = {});  // first row, empty when none
    QVariant Value(const QString& Sql, const TArgs& Args = {});
    void Exec(const QString& Sql, const TArgs& Args = {});
    void Script(const QString& Text);

    TFbConnection& Connection() { return FCon; }

    // A card read as the reader sends it: punches are (code, card time s).
    static QString Emit(const QString& Card, const std::vector<std::pair<int, int>>& Punches,
                        const QString& ReadTime = QStringLiteral("01.06.2024 18.45.12.345"));

private:
    TestDatabase FDb;
    TFbConnection FCon;
    TFbTransaction FTr;
};
