#pragma once
// Reads the first sheet of an .xlsx workbook back from its package: cell
// values, formulas, number formats, bold fonts, column widths, frozen rows.

#include <QMap>
#include <QString>

struct TReadCell {
    QString Value;  // shared strings resolved
    QString Formula;
    QString NumFormat;
    bool Bold = false;
    bool Border = false;
};

struct TXlsxReadBack {
    bool Ok = false;
    QMap<QString, TReadCell> Cells;  // by "A1" name
    QMap<int, double> Widths;        // by column from 1
    int FrozenRows = 0;
    QString SheetXml, StylesXml;  // the parts as written
    QString Cell(const QString& Name) const { return Cells.value(Name).Value; }
};

TXlsxReadBack ReadXlsx(const QString& FileName);
