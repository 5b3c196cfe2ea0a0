#pragma once
// Reads exported files back into rows of cell texts, so the tests compare
// values, not bytes.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// SYLK cells by (row, column), values unquoted and unescaped.
using TSheetCells = QMap<QPair<int, int>, QString>;
TSheetCells ParseSylk(const QByteArray& Bytes);
// Rows of a sheet as lists (missing cells empty), from row 1.
QList<QStringList> SheetRows(const TSheetCells& Cells);
// Delimited text with ";" and double quotes around values, CR LF lines.
QList<QStringList> ParseDelimited(const QString& Text);
