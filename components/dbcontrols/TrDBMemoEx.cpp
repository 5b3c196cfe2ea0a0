#include "components/dbcontrols/TrDBMemoEx.h"

#include "components/base/rGlyphs.h"
#include "components/base/rdlg.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Monitors.h"
#include "platform/ui/StdCtrls.h"
#include "resources/DBControlsTexts.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <stdexcept>
#include <string>

namespace {

// Openers and closers of bold, italic and underline.
const QString RTFfrm1[3] = {QStringLiteral("\\b "), QStringLiteral("\\i "), QStringLiteral("\\ul ")};
const QString RTFfrm2[3] = {QStringLiteral("\\b0 "), QStringLiteral("\\i0 "), QStringLiteral("\\ul0 ")};
const QString HTMLfrm1[3] = {QStringLiteral("<B>"), QStringLiteral("<I>"), QStringLiteral("<U>")};
const QString HTMLfrm2[3] = {QStringLiteral("</B>"), QStringLiteral("</I>"), QStringLiteral("</U>")};
// Unnumbered list, numbered list, item.
const QString HTMLfrmList1[3] = {QStringLiteral("<UL>"), QStringLiteral("<OL>"), QStringLiteral("<LI>")};
const QString HTMLfrmList2[3] = {QStringLiteral("</UL>"), QStringLiteral("</OL>"), QStringLiteral("</LI>")};
const QString Crlf = QStringLiteral("\r\n");
const QString LinkPlaceholder = QStringLiteral("<A href=...>text</A>");

constexpr int ButtonW = 18, ButtonH = 15;

}  // namespace

TrDBMemoEx::TrDBMemoEx(TComponent* AOwner) : TrDBMemo(AOwner)
{
    FHL.FontColor = Font()->Color();
    FHL.BrushColor = 12639424;
    FHL.PageBreakOnEdge = false;
    FButtonFrm = MakeButton("SubBtnFrm", "FORMAT", dbctltxt::FormatSelectedText, QStringLiteral("f"));
    FButtonEdit = MakeButton("SubBtnEdit", "EDITWIN", dbctltxt::ShowInWindow, QStringLiteral("e"));
    FBoundLabel = new TBoundLabel(this);
    FBoundLabel->SetName(dbctltxt::SubLabelName);
    FBoundLabel->SetCaption(QString());
    FBoundLabel->Margins = TMargins{0, 0, 40, 0};
    FBoundLabel->SetAlignWithMargins(true);
    FBoundLabel->SetPosition(lpTopRight);
    LoadGlyphs();
    CreateFormatPopupMenu();
}

TBoundSpeedButton* TrDBMemoEx::MakeButton(const char* Name, const char* GlyphName, const QString& Hint, const QString& DesignCaption)
{
    auto* b = new TBoundSpeedButton(this);
    b->SetName(QLatin1String(Name));
    b->SetBounds(0, 0, ButtonW, ButtonH);
    b->SetHint(Hint);
    b->SetShowHint(true);
    b->SetCaption(DesignCaption);
    b->Tag = TrGlyphsRec::ButtonIndex(QLatin1String(GlyphName));
    b->OnClick = [this](TComponent* Sender) { ButtonClick(Sender); };
    return b;
}

void TrDBMemoEx::LoadGlyphs()
{
    // The library's glyphs at the memo's scale; the captions only without them.
    for (TBoundSpeedButton* b : {FButtonFrm, FButtonEdit}) {
        TBitmap* g = rGlyphs.BmpFromIndex(int(b->Tag), FScaleRatio, nullptr);
        b->SetGlyph(g);
        if (g && g->Width() > 0)
            b->SetCaption(QString());
    }
}

void TrDBMemoEx::ChangeScale(int M, int D)
{
    TrDBMemo::ChangeScale(M, D);
    LoadGlyphs();
}

void TrDBMemoEx::Loaded()
{
    TrDBMemo::Loaded();
    CreateFormatPopupMenu();
    RefreshButtons();
}

// ---- buttons and label --------------------------------------------------------------------------

void TrDBMemoEx::SetShowButtonFrm(bool V)
{
    FShowButtonFrm = V;
    RefreshButtons();
}

void TrDBMemoEx::SetShowButtonEdit(bool V)
{
    FShowButtonEdit = V;
    RefreshButtons();
}

void TrDBMemoEx::RefreshButtons()
{
    if (!FButtonFrm || !FButtonEdit)
        return;
    FButtonFrm->SetVisible(Visible() && FShowButtonFrm);
    FButtonEdit->SetVisible(Visible() && FShowButtonEdit);
    // Formats change the text: only where the text can change.
    const TField* f = Field();
    FButtonFrm->SetEnabled(Enabled() && !ReadOnly() && !(f && !f->CanModify()));
    FButtonEdit->SetEnabled(Enabled());
    if (FBoundLabel)
        FBoundLabel->SetVisible(Visible());
    PlaceButtons();
}

void TrDBMemoEx::PlaceButtons()
{
    if (!FButtonFrm || !FButtonEdit)
        return;
    // Above the top right corner: the edit button at the right edge, the
    // format button left of it; a hidden button sits on the memo's top.
    const int right = Left() + Width();
    const int top = Top() - ButtonH;
    FButtonEdit->SetBounds(right - FButtonEdit->Width(), FButtonEdit->Visible() ? top : Top(), FButtonEdit->Width(), FButtonEdit->Height());
    const int frmRight = FButtonEdit->Visible() ? FButtonEdit->Left() - 2 : right;
    FButtonFrm->SetBounds(frmRight - FButtonFrm->Width(), FButtonFrm->Visible() ? top : Top(), FButtonFrm->Width(), FButtonFrm->Height());
    if (FBoundLabel)
        FBoundLabel->RefreshPosition();
}

void TrDBMemoEx::SetParent(TWinControl* AParent)
{
    TrDBMemo::SetParent(AParent);
    for (TControl* c : std::initializer_list<TControl*>{FButtonFrm, FButtonEdit, FBoundLabel})
        if (c)
            c->SetParent(AParent);
    RefreshButtons();
}

void TrDBMemoEx::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TrDBMemo::SetBounds(ALeft, ATop, AWidth, AHeight);
    PlaceButtons();
}

void TrDBMemoEx::VisibleChanged()
{
    TrDBMemo::VisibleChanged();
    RefreshButtons();
}

void TrDBMemoEx::EnabledChanged()
{
    TrDBMemo::EnabledChanged();
    RefreshButtons();
}

void TrDBMemoEx::UpdateState(TComponent* Sender)
{
    TrDBMemo::UpdateState(Sender);
    RefreshButtons();
}

void TrDBMemoEx::ButtonClick(TComponent* Sender)
{
    if (Sender == FButtonFrm && FFormatPopupMenu) {
        const TPoint p = FButtonFrm->ClientToScreen(TPoint{0, FButtonFrm->Height()});
        FFormatPopupMenu->Popup(p.X, p.Y);
    } else if (Sender == FButtonEdit) {
        ShowEditWin();
    }
}

// ---- painting and keys --------------------------------------------------------------------------

void TrDBMemoEx::PaintOverlay(TCanvas* Canvas)
{
    TrDBMemo::PaintOverlay(Canvas);
    FHL.Paint(this, Canvas);
}

void TrDBMemoEx::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TrDBMemo::MouseDown(Button, Shift, X, Y);
    Invalidate();
}

void TrDBMemoEx::KeyDown(Word& Key, TShiftState Shift)
{
    if (CloseOnCancel && Key == VK_ESCAPE) {
        try {
            if (auto* f = dynamic_cast<TCustomForm*>(Owner()))
                f->Close();
        } catch (...) {
        }
    }
    if (Key == VK_F2 && FButtonEdit->Visible()) {
        Key = 0;
        ShowEditWin();
        return;
    }
    if (FButtonFrm->Visible() && Shift == ssCtrl && (Key == 'B' || Key == 'I' || Key == 'U')) {
        FormatInt(Key == 'B' ? 1 : Key == 'I' ? 2 : 3);
        Key = 0;
        return;
    }
    TrDBMemo::KeyDown(Key, Shift);
}

// ---- markup commands ----------------------------------------------------------------------------

void TrDBMemoEx::FormatInt(int Tag)
{
    if (!DataLink()->Edit())
        return;
    const int i = (Tag - 1) % 10;
    switch (Tag) {
    case 1:
    case 2:
    case 3:
        Wrap(FormatType == ftRTF ? RTFfrm1[i] : HTMLfrm1[i], FormatType == ftRTF ? RTFfrm2[i] : HTMLfrm2[i]);
        break;
    case 11:
    case 12: WrapList(HTMLfrmList1[Tag - 11]); break;
    case 21: InsertAtCaret(QStringLiteral("\\page ")); break;
    case 22: InsertAtCaret(QStringLiteral("<br>")); break;
    case 23: EndAllLines(); break;
    case 24: InsertAtCaret(QStringLiteral("<hr>")); break;
    case 31: InsertAtCaret(LinkPlaceholder); break;
    case 99: ClearFormats(); break;
    default: return;
    }
    DataLink()->SetModified();
    if (CanFocus())
        SetFocus();
    SetSelLength(1);
    SetSelLength(0);
    Invalidate();
}

void TrDBMemoEx::Wrap(const QString& Opener, const QString& Closer)
{
    const QString t = Text();
    const int s = SelStart();
    int l = SelLength();
    // A trailing blank stays outside the closer.
    if (l > 0 && t.mid(s + l - 1, 1) == QLatin1String(" "))
        --l;
    SetText(t.left(s) + Opener + t.mid(s, l) + Closer + t.mid(s + l));
    SetSelStart(s + int(Opener.size()) + l + int(Closer.size()));
}

void TrDBMemoEx::WrapList(const QString& Opener)
{
    const QString item1 = HTMLfrmList1[2], item2 = HTMLfrmList2[2];
    const QString closer = Opener == HTMLfrmList1[0] ? HTMLfrmList2[0] : HTMLfrmList2[1];
    const QString t = Text();
    const int s = SelStart(), l = SelLength();
    const QString sel = t.mid(s, l);
    QString block;
    if (sel.contains(QLatin1Char('\r'))) {
        block = Opener + Crlf;
        for (const QString& line : sel.split(Crlf))
            block += item1 + line + item2 + Crlf;
        block += closer + Crlf;
    } else {
        block = item1 + sel + item2;
    }
    SetText(t.left(s) + block + t.mid(s + l));
    SetSelStart(s + int(block.size()));
}

void TrDBMemoEx::InsertAtCaret(const QString& Text)
{
    const QString t = this->Text();
    const int s = SelStart();
    SetText(t.left(s) + Text + t.mid(s));
    SetSelStart(s + int(Text.size()));
}

void TrDBMemoEx::EndAllLines()
{
    const QString br = QStringLiteral("<br>");
    QStringList lines = Text().split(Crlf);
    if (!lines.isEmpty() && lines.back().isEmpty() && Text().endsWith(Crlf))
        lines.removeLast();
    QString out;
    for (QString line : lines) {
        if (!line.trimmed().endsWith(br, Qt::CaseInsensitive))
            line += br;
        out += line + Crlf;
    }
    SetText(out);
}

void TrDBMemoEx::ClearFormats()
{
    QString t = Text();
    QStringList marks;
    if (FormatType == ftHTML) {
        for (int i = 0; i < 3; ++i)
            marks << HTMLfrm1[i] << HTMLfrm2[i] << HTMLfrmList1[i] << HTMLfrmList2[i];
        marks << QStringLiteral("<br>") << QStringLiteral("<hr>") << LinkPlaceholder;
    } else {
        for (int i = 0; i < 3; ++i)
            marks << RTFfrm1[i] << RTFfrm2[i];
        marks << QStringLiteral("\\page ");
    }
    for (const QString& m : marks)
        t.remove(m, Qt::CaseInsensitive);
    SetText(t);
}

void TrDBMemoEx::CreateFormatPopupMenu()
{
    if (!FFormatPopupMenu) {
        FFormatPopupMenu = new TPopupMenu(this);
        FFormatPopupMenu->Items()->AutoHotkeys = false;
    }
    FFormatPopupMenu->SetName(Name().isEmpty() ? QString() : Name() + QStringLiteral("_Popup"));
    TMenuItem* items = FFormatPopupMenu->Items();
    while (items->Count() > 0)
        delete items->Items(items->Count() - 1);
    const bool html = FormatType == ftHTML;
    auto add = [&](const QString& Caption, int Tag) {
        auto* m = new TMenuItem(FFormatPopupMenu);
        m->SetCaption(Caption);
        m->Tag = Tag;
        if (Tag > 0)
            m->OnClick = [this, Tag](TComponent*) { FormatInt(Tag); };
        items->Add(m);
        return m;
    };
    add(dbctltxt::FormatSelectedText, 0)->SetEnabled(false);
    add(QStringLiteral("-"), -1);
    add(dbctltxt::FormatBold, 1);
    add(dbctltxt::FormatItalic, 2);
    add(dbctltxt::FormatUnderline, 3);
    if (html) {
        add(dbctltxt::UnnumberedList, 11);
        add(dbctltxt::NumberedList, 12);
    }
    add(QStringLiteral("-"), -1);
    if (!html)
        add(dbctltxt::InsertEndOfPage, 21);
    if (html) {
        add(dbctltxt::InsertEndOfLine, 22);
        add(dbctltxt::InsertEndOfAllLines, 23);
        add(dbctltxt::InsertHorizontalLine, 24);
        add(dbctltxt::InsertHTMLLink, 31);
    }
    add(QStringLiteral("-"), -1);
    add(dbctltxt::ClearAllFormats, 99);
}

// ---- edit window --------------------------------------------------------------------------------

void TrDBMemoEx::RefuseEditWin(const std::exception& E)
{
    try {
        if (CanFocus())
            SetFocus();
    } catch (...) {
    }
    ShowErr(dbctltxt::EditWinTextNotSaved, E, false);
}

void TrDBMemoEx::ShowEditWin()
{
    // What was typed reaches the field before the window shows it. When the
    // field refuses it, the window stays shut (it would show the field's old
    // text) and the typed text stays in the memo for the user to correct.
    try {
        UpdateRecord();
    } catch (const std::exception& e) {
        RefuseEditWin(e);
        return;
    } catch (...) {
        RefuseEditWin(std::runtime_error(std::string()));
        return;
    }
    QCoreApplication::processEvents();
    TForm form(nullptr);
    form.SetBorderIcons(biSystemMenu | biMaximize);
    form.SetPosition(poScreenCenter);
    const TRect mon = MonitorBoundsRect(MonitorOfControl(this));
    form.SetBounds(0, 0, std::max(300, mon.Width() - 80), std::max(200, mon.Height() - 160));
    form.SetCaption(DBEditLabel() ? DBEditLabel()->Caption() : QString());
    auto* bottom = new TPanel(&form);
    bottom->SetParent(&form);
    bottom->SetHeight(32);
    bottom->SetAlign(alBottom);
    bottom->SetCaption(QString());
    auto* ok = new TButton(&form);
    ok->SetParent(bottom);
    ok->SetCaption(dbctltxt::Ok);
    ok->SetBounds(bottom->Width() - 90, 4, 80, 24);
    ok->SetAnchors(akRight | akTop);
    ok->SetDefault(true);
    ok->SetCancel(true);
    ok->SetModalResult(mrOk);
    auto* m = new TrDBMemoEx(&form);
    m->SetName(QStringLiteral("EditWinMemo"));
    m->Margins.Top = 22;
    m->SetAlignWithMargins(true);
    m->SetParent(&form);
    m->SetAlign(alClient);
    m->SetScrollBars(ssVertical);
    m->SetHighlightFromStr(HighlightFromStr());
    m->SetHighlightToStr(HighlightToStr());
    m->SetHighlightWholeWords(HighlightWholeWords());
    m->SetHighlightWords(HighlightWords());
    m->SetHighlightedFontColor(HighlightedFontColor());
    m->SetHighlightedBrushColor(HighlightedBrushColor());
    m->SetShowButtonEdit(false);
    m->SetShowButtonFrm(ShowButtonFrm());
    m->SetReadOnly(ReadOnly());
    m->SetReadOnlyColor(ReadOnlyColor());
    m->SetDataSource(DataSource(), DataField());
    m->ButtonFrm()->SetBounds(0, 0, 30, 18);
    m->Font()->Assign(*Font());
    m->CloseOnCancel = true;
    m->SetPageBreaksCharNumber(PageBreaksCharNumber());
    m->FormatType = FormatType;
    m->WantReturns = WantReturns;
    m->WantTabs = WantTabs;
    m->CreateFormatPopupMenu();
    m->PlaceButtons();
    if (!DataSource())
        m->SetText(Text());
    form.ShowModal();
    if (!DataSource())
        SetText(m->Text());
    try {
        if (CanFocus())
            SetFocus();
    } catch (...) {
    }
}
