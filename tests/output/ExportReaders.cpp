#include "tests/output/ExportReaders.h"

TSheetCells ParseSylk(const QByteArray& Bytes)
{
    TSheetCells cells;
    const QString text = QString::fromLatin1(Bytes);
    int x = 0, y = 0;
    for (const QString& line : text.split(QStringLiteral("\r\n"))) {
        if (line.startsWith(QLatin1String("F;"))) {
            for (const QString& p : line.split(QLatin1Char(';')))
                if (p.startsWith(QLatin1Char('X')))
                    x = p.mid(1).toInt();
                else if (p.startsWith(QLatin1Char('Y')))
                    y = p.mid(1).toInt();
            continue;
        }
        if (!line.startsWith(QLatin1String("C;")))
            continue;
        // fields split on single ";" (";;" is a doubled semicolon inside a value)
        QStringList parts;
        QString cur;
        for (int i = 2; i < line.size(); ++i) {
            if (line[i] == QLatin1Char(';')) {
                if (i + 1 < line.size() && line[i + 1] == QLatin1Char(';') && cur.startsWith(QLatin1Char('K'))) {
                    cur += QLatin1Char(';');
                    ++i;
                    continue;
                }
                parts << cur;
                cur.clear();
            } else {
                cur += line[i];
            }
        }
        parts << cur;
        for (const QString& p : parts) {
            if (p.startsWith(QLatin1Char('X')))
                x = p.mid(1).toInt();
            else if (p.startsWith(QLatin1Char('Y')))
                y = p.mid(1).toInt();
            else if (p.startsWith(QLatin1Char('K')) || p.startsWith(QLatin1Char('E'))) {
                QString v = p.startsWith(QLatin1Char('E')) ? QLatin1Char('=') + p.mid(1) : p.mid(1);
                if (v.size() >= 2 && v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')))
                    v = v.mid(1, v.size() - 2);
                v.replace(QString(QChar(27)) + QStringLiteral(" :"), QStringLiteral("\n"));
                cells[{y, x}] = v;
            }
        }
    }
    return cells;
}

QList<QStringList> SheetRows(const TSheetCells& Cells)
{
    int maxY = 0, maxX = 0;
    for (auto it = Cells.begin(); it != Cells.end(); ++it) {
        maxY = std::max(maxY, it.key().first);
        maxX = std::max(maxX, it.key().second);
    }
    QList<QStringList> rows;
    for (int y = 1; y <= maxY; ++y) {
        QStringList r;
        for (int x = 1; x <= maxX; ++x)
            r << Cells.value({y, x});
        rows << r;
    }
    return rows;
}

QList<QStringList> ParseDelimited(const QString& Text)
{
    QList<QStringList> rows;
    QStringList row;
    QString cur;
    bool quoted = false;
    for (int i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && (i + 1 == Text.size() || Text[i + 1] == QLatin1Char(';') || Text[i + 1] == QLatin1Char('\r')))
                quoted = false;
            else
                cur += c;
        } else if (c == QLatin1Char('"') && cur.isEmpty()) {
            quoted = true;
        } else if (c == QLatin1Char(';')) {
            row << cur;
            cur.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < Text.size() && Text[i + 1] == QLatin1Char('\n')) {
            row << cur;
            cur.clear();
            rows << row;
            row.clear();
            ++i;
        } else {
            cur += c;
        }
    }
    return rows;
}
