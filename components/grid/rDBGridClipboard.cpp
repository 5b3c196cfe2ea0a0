// Copying grid contents to the clipboard as tab-separated text and pasting
// such text back into the current or new records.
//
// The table text: one line per record, each ended by CR LF; cells separated
// by TAB; a cell holding a line feed, a double quote or a TAB is enclosed in
// double quotes with inner quotes doubled and CR LF written as LF.

#include "components/grid/rDBGrid.h"

#include "components/base/rdlg.h"
#include "components/base/rtool.h"
#include "components/grid/rDBGridTexts.h"
#include "platform/database/Fields.h"
#include "platform/ui/Clipbrd.h"

namespace {

bool IsNumericField(const TField* F)
{
    return IsNumericFieldType(F->DataType());
}

}  // namespace

QString TrDBGrid::GetCellValue(TField* Fld, bool UseDisplayText)
{
    if (!Fld)
        return QString();
    QString group;
    if (FOptionsEx2.Groups.Active && GetGroupMasterCellContent(Fld, group))
        return group;
    if (IsGraphicField(Fld) || (UseDisplayText && !IsMemoField(Fld)))
        return Fld->DisplayText();
    return Fld->AsString();
}

QString TrDBGrid::QuoteClipboardCell(const QString& Text)
{
    if (!Text.contains(QLatin1Char('\n')) && !Text.contains(QLatin1Char('"')) && !Text.contains(QLatin1Char('\t')))
        return Text;
    QString t = Text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + t + QLatin1Char('"');
}

QString TrDBGrid::CopyCellData(bool CopyToClipboard)
{
    QString s;
    try {
        s = GetCellValue(SelectedField(), true);
        if (CopyToClipboard)
            Clipboard()->SetAsText(s);
    } catch (...) {
    }
    return s;
}

QString TrDBGrid::IntCopyData(bool ToClipboard, bool AllRec, bool AllFields, bool IncTitles, bool IncHidden,
                              const QStringList* FieldNames)
{
    // 1. The columns, in column order.
    std::vector<TColumn*> cols;
    for (int i = 0; i < Columns()->Count(); ++i) {
        TColumn* c = Columns()->Items(i);
        const bool listed = FieldNames && FieldNames->contains(c->FieldName(), Qt::CaseInsensitive);
        if ((AllFields && (IncHidden || c->Visible())) || listed)
            cols.push_back(c);
    }
    // 2. The title line.
    QString out;
    if (IncTitles) {
        QStringList cells;
        for (TColumn* c : cols)
            cells << QuoteClipboardCell(c->Title()->Caption());
        out += cells.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
    }
    // 3. The records.
    if (IsActive() && !DataSet()->IsEmpty()) {
        ScanAllRecords(5, 0, AllRec, false, [&](TDataSet*, int) {
            QString line;
            for (size_t i = 0; i < cols.size(); ++i) {
                if (i)
                    line += QLatin1Char('\t');
                line += QuoteClipboardCell(GetCellValue(cols[i]->Field(), true));
            }
            out += line + QStringLiteral("\r\n");
        });
    }
    // 4.
    if (ToClipboard)
        Clipboard()->SetAsText(out);
    return out;
}

void TrDBGrid::CopyFieldsData(const QStringList& FieldNames, bool IncludeTitles)
{
    IntCopyData(true, true, false, IncludeTitles, true, &FieldNames);
}

void TrDBGrid::CopyActiveFieldData(bool IncludeTitles)
{
    QStringList names;
    if (TField* f = SelectedField())
        names << f->FieldName();
    IntCopyData(true, true, false, IncludeTitles, true, &names);
}

void TrDBGrid::CopyActiveRecordData(bool IncludeTitles, bool IncludeHidden)
{
    IntCopyData(true, false, true, IncludeTitles, IncludeHidden, nullptr);
}

void TrDBGrid::CopyAllData(bool IncludeTitles, bool IncludeHidden)
{
    IntCopyData(true, true, true, IncludeTitles, IncludeHidden, nullptr);
}

// ---- paste -------------------------------------------------------------------------

// Splits a line at TABs outside quoted cells (a cell the copy quoted may hold TABs).
QStringList TrDBGrid::SplitClipboardLine(const QString& Line)
{
    QStringList cells;
    QString cur;
    bool quoted = false;
    for (int i = 0; i < Line.size(); ++i) {
        const QChar ch = Line[i];
        if (ch == QLatin1Char('"')) {
            if (cur.isEmpty() && !quoted) {
                quoted = true;
            } else if (quoted && i + 1 < Line.size() && Line[i + 1] == QLatin1Char('"')) {
                cur += ch;
                ++i;
                cur += QLatin1Char('"');
                continue;
            } else if (quoted) {
                quoted = false;
            }
            cur += ch;
        } else if (ch == QLatin1Char('\t') && !quoted) {
            cells << cur;
            cur.clear();
        } else {
            cur += ch;
        }
    }
    cells << cur;
    return cells;
}

QString TrDBGrid::UnquoteClipboardCell(const QString& Cell)
{
    QString t = Cell;
    if (t.size() >= 2 && t.startsWith(QLatin1Char('"')) && t.endsWith(QLatin1Char('"'))) {
        t = t.mid(1, t.size() - 2);
        t.replace(QStringLiteral("\"\""), QStringLiteral("\""));
        t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    }
    return t;
}

namespace {

// The lines of the table text: CR LF ends a line unless it lies inside a
// quoted cell (the copy writes a cell's own line breaks as LF only).
QStringList SplitClipboardLines(const QString& Text)
{
    QStringList lines;
    QString cur;
    bool quoted = false;
    for (int i = 0; i < Text.size(); ++i) {
        const QChar ch = Text[i];
        if (ch == QLatin1Char('"')) {
            const bool cellStart = cur.isEmpty() || cur.endsWith(QLatin1Char('\t'));
            if (!quoted && cellStart)
                quoted = true;
            else if (quoted && i + 1 < Text.size() && Text[i + 1] == QLatin1Char('"')) {
                cur += ch;
                ++i;
            } else if (quoted)
                quoted = false;
            cur += ch;
        } else if (!quoted && ch == QLatin1Char('\r') && i + 1 < Text.size() && Text[i + 1] == QLatin1Char('\n')) {
            lines << cur;
            cur.clear();
            ++i;
        } else {
            cur += ch;
        }
    }
    lines << cur;
    return lines;
}

}  // namespace

void TrDBGrid::IntPasteData(int FromCol, bool AddAsNewRecs)
{
    // 1-2.
    QString t;
    try {
        t = Clipboard()->AsText();
    } catch (...) {
        return;
    }
    if (t.endsWith(QStringLiteral("\r\n")))
        t.chop(2);
    if (!IsActive() || FromCol < 0 || FromCol >= Columns()->Count() || t.isEmpty())
        return;
    TDataSet* ds = DataSet();
    // 3.
    const QStringList lines = SplitClipboardLines(t);
    const bool multi = lines.size() > 1;
    // 4. Each line into a record.
    for (int li = 0; li < lines.size(); ++li) {
        if (AddAsNewRecs)
            ds->Append();
        else
            ds->Edit();
        if (ds->State() != dsEdit && ds->State() != dsInsert)
            return;
        const QStringList cells = SplitClipboardLine(lines[li]);
        int col = FromCol;
        for (const QString& raw : cells) {
            while (col < Columns()->Count() && !Columns()->Items(col)->Visible())
                ++col;
            if (col >= Columns()->Count())
                break;
            TField* f = Columns()->Items(col)->Field();
            QString v = UnquoteClipboardCell(raw);
            if (f) {
                if (IsNumericField(f))
                    v = CleanNumericString(RemoveThousandSeparator(v));
                else if (IsDateTimeField(f))
                    v = CleanDateTimeString(v);
                try {
                    f->SetAsString(v);
                } catch (...) {
                }
            }
            ++col;
        }
        if (!multi)
            return;  // a single line stays in edit state for the user
        try {
            ds->Post();
        } catch (const std::exception& E) {
            const QString err = QString::fromUtf8(E.what());
            const bool goOn = OnPasteErrorQuery
                                  ? OnPasteErrorQuery(err)
                                  : DlgQ2(libtxt::CannotSaveRecord + QLatin1Char('\r') + libtxt::ContinueQuestion,
                                          libtxt::ErrorDescription + QLatin1Char('\r') + err) == mrYes;
            if (!goOn)
                return;
            ds->Cancel();
        }
        // Over existing records the paste stops at the last one: surplus
        // lines would otherwise be written over it again and again.
        if (!AddAsNewRecs && li + 1 < lines.size()) {
            ds->Next();
            if (ds->Eof())
                return;
        }
    }
}

bool TrDBGrid::FillCellData(bool FillUp, const QString& SpecificFieldNames)
{
    TDataSet* ds = DataSet();
    if (!IsActive() || !ds->CanModify())
        return false;
    const int colIdx = SelectedIndex();
    ds->CheckBrowseMode();
    std::vector<TField*> fields;
    if (!SpecificFieldNames.isEmpty()) {
        for (const QString& n : SpecificFieldNames.split(QLatin1Char(',')))
            if (TField* f = ds->FindField(n.trimmed()); f && int(fields.size()) < Columns()->Count())
                fields.push_back(f);
    } else if (TField* f = SelectedField()) {
        fields.push_back(f);
    }
    std::vector<QVariant> values;
    for (TField* f : fields)
        values.push_back(f->AsVariant());
    if (FillUp)
        ds->Prior();
    else
        ds->Next();
    if (!ds->Bof() && !ds->Eof())
        ds->Edit();
    else if (FillUp)
        ds->Insert();
    else
        ds->Append();
    SetSelectedIndex(colIdx);
    if (ds->State() != dsEdit && ds->State() != dsInsert)
        return false;
    for (size_t i = 0; i < fields.size(); ++i)
        fields[i]->SetAsVariant(values[i]);
    return true;
}
