// The group box's lay-out of its children: the text lines of ChildCompsPos
// on an equal-width column grid, and nested group boxes on a grid of
// percentage columns and rows.

#include "components/base/rGroupBox.h"

#include <cmath>

const QString rGroupBoxVerticalAlignmentStr[7] = {QStringLiteral("0"),  QStringLiteral("C"), QStringLiteral("CL"),
                                                  QStringLiteral("CR"), QStringLiteral("L"), QStringLiteral("R"),
                                                  QStringLiteral("E")};
const QString rGroupBoxHorizontalAlignmentStr[3] = {QStringLiteral("0"), QStringLiteral("E"), QStringLiteral("B")};

namespace {

int IntOrZero(const QString& S)
{
    bool ok = false;
    const int v = S.trimmed().toInt(&ok);
    return ok ? v : 0;
}

int PercentAt(const QStringList& List, int Index)
{
    return Index >= 1 && Index <= List.size() ? IntOrZero(List[Index - 1]) : 0;
}

// A margin above 1000 counts as 1000 − m (1005 means −5).
int MarginValue(int M)
{
    return M > 1000 ? 1000 - M : M;
}

}  // namespace

// ---- TAutoResizeChild ------------------------------------------------------------------

void TAutoResizeChild::Changed(bool Repaint)
{
    if (FAutoResizeActive)
        FOwner->RefreshAutoPosition();
    if (Repaint)
        FOwner->Invalidate();
}

void TAutoResizeChild::SetAutoResizeActive(bool V)
{
    FAutoResizeActive = V;
    Changed(true);
}

void TAutoResizeChild::SetColSpacing(int V)
{
    FColSpacing = V;
    Changed(true);
}

void TAutoResizeChild::SetRowSpacing(int V)
{
    FRowSpacing = V;
    Changed(true);
}

void TAutoResizeChild::SetBorderSpacing(int V)
{
    FBorderSpacing = V;
    Changed(true);
}

void TAutoResizeChild::SetBorderLeftAddSpacing(int V)
{
    FBorderLeftAddSpacing = V;
    Changed(true);
}

void TAutoResizeChild::SetColWidthsPercent(const QStringList& V)
{
    FColWidthsPercent = V;
    Changed(true);
}

void TAutoResizeChild::SetRowHeightsPercent(const QStringList& V)
{
    FRowHeightsPercent = V;
    Changed(true);
}

void TAutoResizeChild::SetChildCompsPos(const QStringList& V)
{
    FChildCompsPos = V;
    FOwner->RefreshAutoPosition();
}

int TAutoResizeChild::GetColWidthPercent(int ColIndex) const
{
    return PercentAt(FColWidthsPercent, ColIndex);
}

int TAutoResizeChild::GetRowHeightPercent(int RowIndex) const
{
    return PercentAt(FRowHeightsPercent, RowIndex);
}

// ---- TAutoResizePos ----------------------------------------------------------------------

void TAutoResizePos::Changed()
{
    if (FOwner->Loading())
        return;
    if (auto* parent = dynamic_cast<TrGroupBox*>(FOwner->Parent()))
        parent->RefreshAutoPosition();
}

void TAutoResizePos::SetColumnIndexFrom(int V)
{
    FColumnIndexFrom = std::max(V, 0);
    FColumnIndexTo = std::max(FColumnIndexTo, FColumnIndexFrom);
    Changed();
}

void TAutoResizePos::SetColumnIndexTo(int V)
{
    FColumnIndexTo = std::max(V, 0);
    FColumnIndexFrom = std::min(FColumnIndexFrom, FColumnIndexTo);
    Changed();
}

void TAutoResizePos::SetRowIndexFrom(int V)
{
    FRowIndexFrom = std::max(V, 0);
    FRowIndexTo = std::max(FRowIndexTo, FRowIndexFrom);
    Changed();
}

void TAutoResizePos::SetRowIndexTo(int V)
{
    FRowIndexTo = std::max(V, 0);
    FRowIndexFrom = std::min(FRowIndexFrom, FRowIndexTo);
    Changed();
}

void TAutoResizePos::SetLastColumn(bool V)
{
    FLastColumn = V;
    Changed();
}

void TAutoResizePos::SetLastRow(bool V)
{
    FLastRow = V;
    Changed();
}

// ---- the lines -----------------------------------------------------------------------------

bool TrGroupBox::GetAutoResizeChildComponentPos(const QString& Name, TrGroupBoxVerticalAlignment& HorzCode, int& Column,
                                                int& ColumnCount, int& WidthReduction,
                                                TrGroupBoxHorizontalAlignment& VertCode, int& HeightReduction) const
{
    QString value;
    if (Name.startsWith(QLatin1Char('*')))
        value = Name.mid(1);
    else
        for (const QString& line : FAutoResizeChild->FChildCompsPos) {
            const int eq = int(line.indexOf(QLatin1Char('=')));
            if (eq >= 0 && line.left(eq).compare(Name, Qt::CaseInsensitive) == 0) {
                value = line.mid(eq + 1);
                break;
            }
        }
    if (value.isEmpty())
        return false;
    const QStringList f = value.split(QLatin1Char(';'));
    auto field = [&f](int i) { return i < f.size() ? f[i].trimmed() : QString(); };
    HorzCode = gbvaNothing;
    for (int i = 0; i < 7; ++i)
        if (field(0).compare(rGroupBoxVerticalAlignmentStr[i], Qt::CaseInsensitive) == 0)
            HorzCode = TrGroupBoxVerticalAlignment(i);
    Column = IntOrZero(field(1));
    ColumnCount = IntOrZero(field(2));
    WidthReduction = IntOrZero(field(3));
    VertCode = gbhaNothing;
    for (int i = 0; i < 3; ++i)
        if (field(4).compare(rGroupBoxHorizontalAlignmentStr[i], Qt::CaseInsensitive) == 0)
            VertCode = TrGroupBoxHorizontalAlignment(i);
    HeightReduction = IntOrZero(field(5));
    return true;
}

QString TrGroupBox::SetAutoResizeChildComponentPos(const QString& Name, TrGroupBoxVerticalAlignment HorzCode, int Column,
                                                   int ColumnCount, int WidthReduction,
                                                   TrGroupBoxHorizontalAlignment VertCode, int HeightReduction)
{
    const QString value = QStringList{rGroupBoxVerticalAlignmentStr[HorzCode], QString::number(Column),
                                      QString::number(ColumnCount), QString::number(WidthReduction),
                                      rGroupBoxHorizontalAlignmentStr[VertCode], QString::number(HeightReduction)}
                              .join(QLatin1Char(';'));
    if (!Name.isEmpty()) {
        QStringList& lines = FAutoResizeChild->FChildCompsPos;
        const QString line = Name + QLatin1Char('=') + value;
        bool replaced = false;
        for (QString& l : lines) {
            const int eq = int(l.indexOf(QLatin1Char('=')));
            if (eq >= 0 && l.left(eq).compare(Name, Qt::CaseInsensitive) == 0) {
                l = line;
                replaced = true;
                break;
            }
        }
        if (!replaced)
            lines.append(line);
        RefreshAutoPosition();
    }
    return value;
}

void TrGroupBox::SetNewBounds(const TRect& R)
{
    FLayoutNow = true;
    SetBoundsRect(R);
    FLayoutNow = false;
}

void TrGroupBox::RefreshAutoPosition()
{
    // 1.
    FLayoutNow = false;
    FTimer->SetEnabled(false);
    if (!FAutoResizeChild->FAutoResizeActive)
        return;
    const TRect CR = AdjustedClientRect();
    // 2.
    LayoutNestedBoxes(CR);
    // 3.
    if (!FMinimized && !FMinimizing)
        LayoutLines(CR);
    // 4.
    if (OnRefreshAutoPosition)
        OnRefreshAutoPosition(this);
}

void TrGroupBox::LayoutNestedBoxes(const TRect& CR)
{
    const TAutoResizeChild& a = *FAutoResizeChild;
    const int nC = int(a.FColWidthsPercent.size()), nR = int(a.FRowHeightsPercent.size());
    const int B = S(a.FBorderSpacing), BL = S(a.FBorderLeftAddSpacing), CS = S(a.FColSpacing), RS = S(a.FRowSpacing);
    for (int i = 0; i < ControlCount(); ++i) {
        auto* box = dynamic_cast<TrGroupBox*>(Controls(i));
        if (!box)
            continue;
        const TAutoResizePos& p = *box->AutoResizePos();
        const int cf = p.ColumnIndexFrom(), ct = std::min(p.ColumnIndexTo(), nC);
        const int rf = p.RowIndexFrom(), rt = rf > 0 ? std::min(p.RowIndexTo(), nR) : p.RowIndexTo();
        TRect R = box->BoundsRect();
        // 2.1 columns
        if (cf >= 1 && cf <= nC && a.GetColWidthPercent(cf) > 0) {
            const int W = CR.Width() - 2 * B - BL - CS * (nC - 1);
            R.Left = CR.Left + B + BL + CS * (cf - 1);
            for (int c = 1; c < cf; ++c)
                R.Left += a.GetColWidthPercent(c) * W / 100;
            R.Right = R.Left + (ct > cf ? CS * (ct - cf) : 0);
            for (int c = cf; c <= ct; ++c)
                R.Right += a.GetColWidthPercent(c) * W / 100;
        }
        // 2.2
        if (p.LastColumn())
            R.Right = std::max(CR.Right - B - ct, R.Left + 10);
        // 2.3 rows
        if (rf >= 1 && rf <= nR && a.GetRowHeightPercent(rf) > 0) {
            const int H = CR.Height() - 2 * B - RS * (nR - 1);
            R.Top = CR.Top + B + RS * (rf - 1);
            for (int r = 1; r < rf; ++r)
                R.Top += a.GetRowHeightPercent(r) * H / 100;
            R.Bottom = R.Top + (rt > rf ? RS * (rt - rf) : 0);
            for (int r = rf; r <= rt; ++r)
                R.Bottom += a.GetRowHeightPercent(r) * H / 100;
        }
        // 2.4
        if (p.LastRow())
            R.Bottom = std::max(CR.Bottom - B - rt, R.Top + 10);
        else if (rf == 0 && rt > nR) {
            const int height = R.Height();
            R.Bottom = CR.Bottom - B;
            R.Top = R.Bottom - height;
        }
        // 2.5 A minimised child keeps its collapsed extent and stores the computed
        // one as its restore size, along its own collapsing direction.
        if (!box->Minimized())
            box->SetNewBounds(R);
        else if (box->IsHorizontal()) {
            box->OriginSize = int(std::nearbyint(R.Width() / box->ScaleRatio()));
            box->SetBounds(box->Left(), R.Top, box->Width(), R.Height());
        } else {
            box->OriginSize = int(std::nearbyint(R.Height() / box->ScaleRatio()));
            box->SetBounds(R.Left, box->Top(), R.Width(), box->Height());
        }
    }
}

void TrGroupBox::LayoutLines(const TRect& CR)
{
    const TAutoResizeChild& a = *FAutoResizeChild;
    const int B = S(a.FBorderSpacing), BL = S(a.FBorderLeftAddSpacing), CS = S(a.FColSpacing);
    const QStringList lines = a.FChildCompsPos;
    for (int i = 0; i < lines.size(); ++i) {
        // 3.1
        const int eq = int(lines[i].indexOf(QLatin1Char('=')));
        const QString name = eq >= 0 ? lines[i].left(eq) : lines[i];
        TControl* child = nullptr;
        for (int c = 0; c < ControlCount() && !child; ++c)
            if (Controls(c)->Name().compare(name, Qt::CaseInsensitive) == 0)
                child = Controls(c);
        if (!child)
            continue;
        // 3.2
        if (auto* w = dynamic_cast<TWinControl*>(child); w && a.FAutoSetTabOrder && w->TabOrder() != i)
            w->SetTabOrder(i);
        // 3.3
        TrGroupBoxVerticalAlignment hc;
        TrGroupBoxHorizontalAlignment vc;
        int col = 0, count = 0, wred = 0, hred = 0;
        if (!GetAutoResizeChildComponentPos(QStringLiteral("*") + lines[i].mid(eq + 1), hc, col, count, wred, vc, hred))
            continue;
        TRect R = child->BoundsRect();
        const int w = child->Width(), h = child->Height();
        // 3.4 and 3.5
        switch (hc) {
        case gbvaColumn:
        case gbvaColumnLeft:
        case gbvaColumnRight: {
            if (col == 0 || count == 0 || col > count)
                continue;
            const int W = CR.Width() - 2 * B - BL - CS * (count - 1);
            R.Left = CR.Left + B + BL + CS * (col - 1) + (col - 1) * W / count;
            R.Right = R.Left + W / count - S(wred);
            if (hc == gbvaColumnLeft)
                R.Right = R.Left + w;
            else if (hc == gbvaColumnRight)
                R.Left = R.Right - w;
            break;
        }
        case gbvaLeft:
            R.Left = CR.Left + B + BL;
            R.Right = R.Left + w;
            break;
        case gbvaRight:
            R.Left = CR.Right - B - S(wred) - w;
            R.Right = R.Left + w;
            break;
        case gbvaExpand:
            R.Right = CR.Right - B - S(wred);
            break;
        case gbvaNothing:
            break;
        }
        // 3.6
        if (vc == gbhaExpand)
            R.Bottom = CR.Bottom - B - S(hred);
        else if (vc == gbhaBottom) {
            R.Top = CR.Bottom - B - S(hred) - h;
            R.Bottom = R.Top + h;
        }
        // 3.7
        if (child->AlignWithMargins()) {
            const TMargins& m = child->Margins;
            if (hc != gbvaNothing) {
                const int ml = MarginValue(m.Left), mr = MarginValue(m.Right);
                R.Left += ml;
                if (hc == gbvaColumnLeft || hc == gbvaLeft)
                    R.Right += ml;
                R.Right -= mr;
                if (hc == gbvaColumnRight || hc == gbvaRight)
                    R.Left -= mr;
            }
            if (vc != gbhaNothing) {
                R.Bottom -= MarginValue(m.Bottom);
                if (vc == gbhaBottom)
                    R.Top += MarginValue(m.Top);
            }
        }
        // 3.8
        if (R.Top < R.Bottom && R.Left < R.Right)
            child->SetBoundsRect(R);
    }
}
