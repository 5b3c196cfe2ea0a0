// Block structure of the tag language: scan blocks over a dataset with
// header, footer, separators, limits and running totals; conditional blocks;
// dataset navigation; calculated fields.
#include "components/output/TReportTagEngine.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/output/rRepText.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/StrUtils.h"

#include <cmath>

namespace {

// A scan without dataset and without while or maxrows would never end; it is
// stopped here with a template error instead of filling the memory.
constexpr int MaxRowsWithoutDataset = 100000;

} // namespace

// ---- block processing ------------------------------------------------------------

QString TReportTagEngine::ProcBlock(QString Text)
{
    QString out;
    const QString scanTag = TagOpen() + QStringLiteral("scan");
    const QString iifTag = TagOpen() + QStringLiteral("iif");
    while (!Text.isEmpty()) {
        CheckAbort();
        const int scan = Text.indexOf(scanTag, 0, Qt::CaseInsensitive);
        const int iif = Text.indexOf(iifTag, 0, Qt::CaseInsensitive);
        if (iif < 0 || (scan >= 0 && scan < iif)) {
            out += ProcPlainSection(scan < 0 ? Text : Text.left(scan));
            if (scan < 0)
                break;
            Text = Text.mid(scan);
            out += ProcScan(Text);
        } else {
            out += ProcPlainSection(Text.left(iif));
            Text = Text.mid(iif);
            ProcIf(true, false, Text);
        }
    }
    return out;
}

int TReportTagEngine::GetDSIndex(const QString& Text) const
{
    const QString letter = SepBracket(Text).Inside.trimmed().toUpper();
    if (letter.isEmpty())
        return -1;
    if (letter.size() != 1 || letter[0] < QLatin1Char('A') || letter[0] > QLatin1Char('Z'))
        RaiseRepErr(reDataset, letter);
    return letter[0].unicode() - 'A';
}

TScanInfo TReportTagEngine::DecodeScanLine(QString& Text)
{
    const int close = Text.indexOf(TagClose(), TagOpen().size());
    if (close < 0)
        RaiseRepErr(reTag, Text.left(100));
    const QString tag = DecodeText(Text.mid(TagOpen().size(), close - TagOpen().size()));
    Text = Text.mid(close + TagClose().size());
    if (RemoveParAfterTags())
        Text = RemovePar(Text, true);

    TScanInfo info;
    QStringList pieces;
    for (const QString& p : tag.split(QLatin1Char(';'))) {
        if (p.trimmed().isEmpty())
            break;
        pieces << p.trimmed();
    }
    info.DSindex = pieces.isEmpty() ? -1 : GetDSIndex(pieces.front());
    if (info.DSindex >= 0)
        info.DS = QChar('A' + info.DSindex);
    for (int i = 1; i < pieces.size(); ++i) {
        const TBracketParts p = SepBracket(pieces[i]);
        const QString name = p.Head.trimmed();
        if (!p.Tail.trimmed().isEmpty() || name.isEmpty())
            RaiseRepErr(reTag, tag);
        const QString inside = p.Inside.trimmed();
        if (SameText(name, QStringLiteral("while")))
            info.WhileCond = inside;
        else if (SameText(name, QStringLiteral("skipif")))
            info.SkipCond = inside;
        else if (SameText(name, QStringLiteral("sep")))
            info.Sep = p.Inside;
        else if (SameText(name, QStringLiteral("newline")))
            info.NewLine = true;
        else if (SameText(name, QStringLiteral("newpar")))
            info.NewPar = true;
        else if (SameText(name, QStringLiteral("newcol")))
            info.NewCol = true;
        else if (SameText(name, QStringLiteral("newpage")))
            info.NewPage = true;
        else if (SameText(name, QStringLiteral("noifempty")))
            info.NoIfEmpty = true;
        else if (SameText(name, QStringLiteral("nofirst")))
            info.NoFirst = true;
        else if (SameText(name, QStringLiteral("calc"))) {
            info.HasCalc = true;
            info.Calc = inside;
        } else if (SameText(name, QStringLiteral("minrows")))
            info.MinRows = StrToIntDef(inside, 0);
        else if (SameText(name, QStringLiteral("maxrows")))
            info.MaxRows = StrToIntDef(inside, 0);
        else if (!ScanOption(info, name, inside))
            RaiseRepErr(reTag, tag);
    }
    return info;
}

QString TReportTagEngine::ProcScan(QString& Text)
{
    const TScanInfo info = DecodeScanLine(Text);
    const int i = info.DSindex;
    // 1. The body runs to this scan's own end tag.
    const QString endName = QStringLiteral("endscan(") + info.DS + QLatin1Char(')');
    QString body, after;
    if (!DivideStr(Tagged(endName), Text, body, after))
        RaiseRepErr(reNotFound, endName);
    Text = after;
    // 2-3.
    if (i >= 0 && !info.NoFirst)
        FindFirst(i);
    if (info.NoIfEmpty && !DSNotEOF(i))
        return QString();
    if (info.HasCalc)
        InitCalcField(i, info.Calc);
    // 4. Header and footer: the scan's own tags, or the header and footer
    // rows of a table-row scan.
    QString out;
    QString header, rest;
    QString row = body, footer;
    TTableRowParts table;
    if (info.TableRows) {
        table = SplitTableRows(body, info);
        header = table.Prefix;
        for (int r = 0; r < table.Rows.size(); ++r)
            if (table.Kinds[size_t(r)] == TTableRowParts::rkHeader)
                header += table.Rows[r];
        for (int r = 0; r < table.Rows.size(); ++r)
            if (table.Kinds[size_t(r)] == TTableRowParts::rkFooter)
                footer += table.Rows[r];
        footer += table.Suffix;
        out += ProcBlock(header);
    } else {
        if (DivideStr(Tagged(QStringLiteral("scanentry(") + info.DS + QLatin1Char(')')), body, header, rest)) {
            out += ProcBlock(header);
            body = rest;
        }
        row = body;
        DivideStr(Tagged(QStringLiteral("scanfooter(") + info.DS + QLatin1Char(')')), body, row, footer);
    }
    // One record's output: the row section, or the table rows whose condition holds.
    auto recordOutput = [&]() {
        if (!info.TableRows)
            return ProcBlock(row);
        QString rows;
        for (int r = 0; r < table.Rows.size(); ++r) {
            const auto kind = table.Kinds[size_t(r)];
            if (kind == TTableRowParts::rkEvery
                || (kind == TTableRowParts::rkCondition && GetConditionResult(table.Conds[r])))
                rows += ProcBlock(table.Rows[r]);
        }
        return rows;
    };

    const QString breakText = ScanBreakText(info);

    // 5. The records.
    int counter = 0, steps = 0;
    QString pending;
    for (;;) {
        if (!DSNotEOF(i) || (!info.WhileCond.isEmpty() && !GetConditionResult(info.WhileCond)))
            break;
        if (info.SkipCond.isEmpty() || !GetConditionResult(info.SkipCond)) {
            if (info.MaxRows > 0 && counter >= info.MaxRows)
                break;
            ++counter;
            out += pending;
            ProcCalcField(i);
            out += recordOutput();
            pending = info.Sep + breakText;
        }
        if (i >= 0) {
            if (!FindNext(i))
                break;
        } else if (++steps >= MaxRowsWithoutDataset) {
            RaiseRepErr(reTag, QStringLiteral("scan() without while or maxrows stopped after %1 rows").arg(steps));
        }
    }
    // 6-7.
    while (counter < info.MinRows) {
        ++counter;
        out += pending + recordOutput();
        pending = info.Sep + breakText;
    }
    return out + ProcBlock(footer);
}

QString TReportTagEngine::ScanBreakText(const TScanInfo& Info) const
{
    if (Info.NewPage)
        return PageBreak();
    if (Info.NewCol)
        return QStringLiteral("\\column ");
    if (Info.NewPar)
        return QStringLiteral("\\par ");
    if (Info.NewLine)
        return QStringLiteral("\\line ");
    return QString();
}

QString TReportTagEngine::RemovePar(const QString& Text, bool AllowBlanks) const
{
    const QString par = ParMark();
    int i = 0;
    if (AllowBlanks)
        while (i < Text.size() && Text[i] == QLatin1Char(' '))
            ++i;
    if (Text.mid(i).startsWith(par, Qt::CaseInsensitive))
        return Text.mid(i + par.size());
    return Text;
}

bool TReportTagEngine::DivideStr(const QString& Tag, const QString& Text, QString& Before, QString& After) const
{
    const int p = Text.indexOf(Tag, 0, Qt::CaseInsensitive);
    if (p < 0)
        return false;
    Before = Text.left(p);
    After = Text.mid(p + Tag.size());
    if (RemoveParAfterTags())
        After = RemovePar(After, true);
    return true;
}

// ---- conditional blocks ------------------------------------------------------------

namespace {

struct TIfTags {
    QString Start, Else, End;
};

// The end tag of the block starting at Start, skipping nested blocks of the
// same kind; -1 when missing.
int FindEndPos(const QString& Text, int From, const TIfTags& T)
{
    int depth = 0;
    int at = From;
    for (;;) {
        const int s = Text.indexOf(T.Start, at, Qt::CaseInsensitive);
        const int e = Text.indexOf(T.End, at, Qt::CaseInsensitive);
        if (e < 0)
            return -1;
        if (s >= 0 && s < e) {
            ++depth;
            at = s + T.Start.size();
            continue;
        }
        if (depth == 0)
            return e;
        --depth;
        at = e + T.End.size();
    }
}

// The else tag at the block's own level; -1 when none.
int FindElsePos(const QString& Body, const TIfTags& T)
{
    int depth = 0;
    int at = 0;
    for (;;) {
        const int s = Body.indexOf(T.Start, at, Qt::CaseInsensitive);
        const int e = Body.indexOf(T.End, at, Qt::CaseInsensitive);
        const int x = Body.indexOf(T.Else, at, Qt::CaseInsensitive);
        int next = -1;
        for (int p : {s, e, x})
            if (p >= 0 && (next < 0 || p < next))
                next = p;
        if (next < 0)
            return -1;
        if (next == s) {
            ++depth;
            at = s + T.Start.size();
        } else if (next == e) {
            --depth;
            at = e + T.End.size();
        } else {
            if (depth == 0)
                return x;
            at = x + T.Else.size();
        }
    }
}

} // namespace

void TReportTagEngine::ProcIf(bool IIf, bool All, QString& Text)
{
    const QString kind = IIf ? QStringLiteral("iif") : QStringLiteral("if");
    const TIfTags tags{TagOpen() + kind + QLatin1Char('('), Tagged(QStringLiteral("else") + kind),
                       Tagged(QStringLiteral("end") + kind)};
    for (;;) {
        const int pos = Text.indexOf(tags.Start, 0, Qt::CaseInsensitive);
        if (pos < 0)
            return;
        const int endPos = FindEndPos(Text, pos + tags.Start.size(), tags);
        if (endPos < 0)
            RaiseRepErr(reNotFound, Text.mid(pos, 100) + QLatin1Char('-') + QStringLiteral("end") + kind);
        const QString block = Text.mid(pos, endPos - pos);
        const int close = block.indexOf(TagClose(), TagOpen().size());
        if (close < 0)
            RaiseRepErr(reTag, block.left(100));
        const QString condition = SepBracket(DecodeText(block.mid(TagOpen().size(), close - TagOpen().size()))).Inside;
        const QString body = block.mid(close + TagClose().size());
        const int elsePos = FindElsePos(body, tags);
        const QString thenText = elsePos < 0 ? body : body.left(elsePos);
        const QString elseText = elsePos < 0 ? QString() : body.mid(elsePos + tags.Else.size());
        QString chosen = GetConditionResult(condition) ? thenText : elseText;
        bool found = false;
        if (ExtractEOLAfterIfSet() || GetVarUserValue(QStringLiteral("IF_ExtractLine"), found) == QLatin1String("1"))
            chosen = RemovePar(chosen, false);
        Text = Text.left(pos) + chosen + Text.mid(endPos + tags.End.size());
        if (!All)
            return;
    }
}

// ---- navigation -------------------------------------------------------------------

bool TReportTagEngine::FindFirst(int i)
{
    if (i < 0 || i >= MaxDatasets)
        return false;
    FSlots[i].DS_eof = true;
    if (DSActive(i)) {
        FSlots[i].DS->First();
        FSlots[i].DS_eof = FSlots[i].DS->Eof();
    }
    return !FSlots[i].DS_eof;
}

bool TReportTagEngine::FindLast(int i)
{
    if (i < 0 || i >= MaxDatasets)
        return false;
    FSlots[i].DS_eof = true;
    if (DSActive(i)) {
        FSlots[i].DS->Last();
        FSlots[i].DS_eof = FSlots[i].DS->Bof() && FSlots[i].DS->IsEmpty();
    }
    return !FSlots[i].DS_eof;
}

bool TReportTagEngine::FindNext(int i)
{
    if (i < 0 || i >= MaxDatasets)
        return false;
    FSlots[i].DS_eof = true;
    if (!DSActive(i))
        return false;
    FSlots[i].DS->Next();
    FSlots[i].DS_eof = FSlots[i].DS->Eof();
    if (!FSlots[i].DS_eof) {
        ++RecNbr;
        if (i == 0)
            ++RecNbrDS0;
    }
    return !FSlots[i].DS_eof;
}

bool TReportTagEngine::FindPrev(int i)
{
    if (i < 0 || i >= MaxDatasets)
        return false;
    FSlots[i].DS_eof = true;
    if (!DSActive(i))
        return false;
    FSlots[i].DS->Prior();
    FSlots[i].DS_eof = FSlots[i].DS->Bof();
    if (!FSlots[i].DS_eof)
        ++RecNbr;
    return !FSlots[i].DS_eof;
}

void TReportTagEngine::GetDSBookmark(int i)
{
    if (!DSActive(i))
        return;
    FSlots[i].Bookmark = FSlots[i].DS->GetBookmark();
    FSlots[i].HasBookmark = true;
}

void TReportTagEngine::GotoDSBookmark(int i)
{
    if (!DSActive(i) || !FSlots[i].HasBookmark)
        return;
    FSlots[i].DS->GotoBookmark(FSlots[i].Bookmark);
    FSlots[i].DS_eof = FSlots[i].DS->Eof();
}

void TReportTagEngine::FreeBookMarks()
{
    for (auto& s : FSlots) {
        s.HasBookmark = false;
        s.Bookmark = TBookmark();
    }
}

// ---- calculated fields -------------------------------------------------------------

void TReportTagEngine::InitCalcField(int Slot, const QString& Definitions)
{
    const QString letter = Slot >= 0 ? QString(QChar('A' + Slot)) : QString();
    for (const QString& raw : Definitions.split(QLatin1Char(','))) {
        const QString piece = raw.trimmed().toUpper();
        if (piece.isEmpty())
            break;
        QString name, expression;
        const int eq = piece.indexOf(QLatin1Char('='));
        if (eq >= 0) {
            name = piece.left(eq).trimmed();
            expression = piece.mid(eq + 1).trimmed();
        } else {
            name = expression = piece.contains(QLatin1Char('.')) || letter.isEmpty() ? piece : letter + QLatin1Char('.') + piece;
        }
        auto existing = std::find_if(LCalcField.begin(), LCalcField.end(),
                                     [&](const TCalcField& f) { return f.DSindex == Slot && f.Name == name; });
        if (existing != LCalcField.end()) {
            existing->Expression = expression;
            existing->Sum = 0;
            existing->Count = 0;
            existing->Init = false;
        } else {
            TCalcField f;
            f.DSindex = Slot;
            f.Name = name;
            f.Expression = expression;
            LCalcField.push_back(f);
        }
    }
}

void TReportTagEngine::ProcCalcField(int Slot)
{
    for (auto& f : LCalcField) {
        if (f.DSindex != Slot)
            continue;
        double v;
        try {
            v = CalcExpr(f.Expression, true);
        } catch (const Exception&) {
            RaiseRepErr(reCalcField, f.Expression);
        }
        if (!f.Init) {
            f.Init = true;
            f.Max = f.Min = v;
            if (f.GrandCount == 0)
                f.GrandMax = f.GrandMin = v;
        }
        if (v > f.Max || std::isnan(v))
            f.Max = v;
        if (v < f.Min || std::isnan(v))
            f.Min = v;
        if (v > f.GrandMax || std::isnan(v))
            f.GrandMax = v;
        if (v < f.GrandMin || std::isnan(v))
            f.GrandMin = v;
        f.Sum += v;
        f.GrandSum += v;
        ++f.Count;
        ++f.GrandCount;
    }
}

double TReportTagEngine::GetCalcFieldValue(int Index, const QString& Name)
{
    const QString name = Name.trimmed().toUpper();
    const TCalcField* match = nullptr;
    for (const auto& f : LCalcField)
        if (f.Name == name)
            match = &f;
    if (!match)
        RaiseRepErr(reCalcField, Name);
    const TCalcField& f = *match;
    switch (Index) {
    case 0: return f.Sum;
    case 1: return f.Max;
    case 2: return f.Min;
    case 3: return f.Count;
    case 4: return f.Count ? f.Sum / f.Count : 0;
    case 5: return f.GrandSum;
    case 6: return f.GrandMax;
    case 7: return f.GrandMin;
    case 8: return f.GrandCount;
    default: return f.GrandCount ? f.GrandSum / f.GrandCount : 0;
    }
}

void TReportTagEngine::FreeCalcField()
{
    LCalcField.clear();
}
