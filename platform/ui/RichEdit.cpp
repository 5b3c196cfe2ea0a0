#include "platform/ui/RichEdit.h"

#include "platform/ui/RtfDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <QUrl>
#include <cmath>

class TRichEdit::TRichDocument {
public:
    QTextDocument Doc;
    QTextCursor Cursor{&Doc};
};

namespace {

// Opens links on a left-button release when the editor detects them.
class TRichTextEdit : public QTextEdit {
public:
    explicit TRichTextEdit(TRichEdit* Owner) : FOwner(Owner) {}

protected:
    void mouseReleaseEvent(QMouseEvent* E) override
    {
        QTextEdit::mouseReleaseEvent(E);
        if (E->button() != Qt::LeftButton || !FOwner->AutoURLDetect())
            return;
        const QString href = anchorAt(E->position().toPoint());
        if (href.isEmpty())
            return;
        if (FOwner->OnLinkClick)
            FOwner->OnLinkClick(FOwner, href);
        else
            QDesktopServices::openUrl(QUrl::fromUserInput(href));
    }

private:
    TRichEdit* FOwner;
};

}  // namespace

TRichEdit::TRichEdit(TComponent* AOwner) : TWinControl(AOwner), FDoc(new TRichDocument)
{
    FWidth = 185;
    FHeight = 89;
    FColor = clWindow;
    FTabStop = true;
    QFont f = FFont.ToQFont();
    FDoc->Doc.setDefaultFont(f);
    QObject::connect(&FDoc->Doc, &QTextDocument::contentsChanged, [this] {
        if (FSettingText)
            return;
        Modified = true;
        if (OnChange)
            OnChange(this);
    });
}

TRichEdit::~TRichEdit()
{
    if (auto* e = static_cast<QTextEdit*>(FWidget))
        e->setDocument(nullptr);
    delete FDoc;
}

QWidget* TRichEdit::CreateWidget()
{
    auto* e = new TRichTextEdit(this);
    e->setDocument(&FDoc->Doc);
    e->setTextCursor(FDoc->Cursor);
    e->setReadOnly(FReadOnly);
    e->setLineWrapMode(FWordWrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    e->setFocusPolicy(Qt::StrongFocus);
    QObject::connect(e, &QTextEdit::selectionChanged, [this] {
        if (OnSelectionChange)
            OnSelectionChange(this);
    });
    return e;
}

namespace {

QTextCursor CursorOf(QWidget* Widget, const QTextCursor& Own)
{
    return Widget ? static_cast<QTextEdit*>(Widget)->textCursor() : Own;
}

}  // namespace

#define CURSOR() CursorOf(FWidget, FDoc->Cursor)

static void StoreCursor(QWidget* Widget, QTextCursor& Own, const QTextCursor& C)
{
    Own = C;
    if (Widget)
        static_cast<QTextEdit*>(Widget)->setTextCursor(C);
}

// ---- content ------------------------------------------------------------------------------------

QString TRichEdit::Text() const
{
    QString t = FDoc->Doc.toPlainText();
    t.replace(QChar(0x2028), QLatin1Char('\n'));
    return t;
}

void TRichEdit::SetText(const QString& Value)
{
    QString v = Value;
    v.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    FSettingText = true;
    FDoc->Doc.setPlainText(v);
    FSettingText = false;
    StoreCursor(FWidget, FDoc->Cursor, QTextCursor(&FDoc->Doc));
    if (OnChange)
        OnChange(this);
}

QStringList TRichEdit::Lines() const
{
    return Text().split(QLatin1Char('\n'));
}

QString TRichEdit::RtfText() const
{
    return WriteRtf(FDoc->Doc);
}

void TRichEdit::SetRtfText(const QString& Value)
{
    FSettingText = true;
    const bool rtf = ReadRtf(Value, FDoc->Doc);
    FSettingText = false;
    if (!rtf) {
        SetText(Value);
        return;
    }
    StoreCursor(FWidget, FDoc->Cursor, QTextCursor(&FDoc->Doc));
    if (OnChange)
        OnChange(this);
}

void TRichEdit::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    if (auto* e = static_cast<QTextEdit*>(FWidget))
        e->setReadOnly(Value);
}

void TRichEdit::SetWordWrap(bool Value)
{
    FWordWrap = Value;
    if (auto* e = static_cast<QTextEdit*>(FWidget))
        e->setLineWrapMode(Value ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
}

void TRichEdit::SetScrollBars(TScrollStyle Value)
{
    FScrollBars = Value;
    if (auto* e = static_cast<QTextEdit*>(FWidget)) {
        e->setHorizontalScrollBarPolicy(Value == ssHorizontal || Value == ssBoth ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        e->setVerticalScrollBarPolicy(Value == ssVertical || Value == ssBoth ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    }
}

void TRichEdit::SetAutoURLDetect(bool Value)
{
    FAutoURLDetect = Value;
    if (!Value)
        return;
    // Web addresses in the text become links.
    static const QRegularExpression url(QStringLiteral(R"((https?://|www\.)[^\s<>"]+)"));
    QTextCursor c(&FDoc->Doc);
    FSettingText = true;
    for (QTextCursor hit = FDoc->Doc.find(url); !hit.isNull(); hit = FDoc->Doc.find(url, hit)) {
        QTextCharFormat f;
        f.setAnchor(true);
        f.setAnchorHref(hit.selectedText());
        f.setFontUnderline(true);
        f.setForeground(QColor(0, 102, 204));
        hit.mergeCharFormat(f);
    }
    FSettingText = false;
}

// ---- selection ------------------------------------------------------------------------------------

int TRichEdit::SelStart() const
{
    return CURSOR().selectionStart();
}

void TRichEdit::SetSelStart(int Value)
{
    QTextCursor c = CURSOR();
    c.setPosition(std::clamp(Value, 0, TextLength()));
    StoreCursor(FWidget, FDoc->Cursor, c);
}

int TRichEdit::SelLength() const
{
    const QTextCursor c = CURSOR();
    return c.selectionEnd() - c.selectionStart();
}

void TRichEdit::SetSelLength(int Value)
{
    QTextCursor c = CURSOR();
    const int start = c.selectionStart();
    c.setPosition(start);
    c.setPosition(std::clamp(start + Value, 0, TextLength()), QTextCursor::KeepAnchor);
    StoreCursor(FWidget, FDoc->Cursor, c);
}

QString TRichEdit::SelText() const
{
    QString t = CURSOR().selectedText();
    t.replace(QChar(0x2029), QLatin1Char('\n'));
    t.replace(QChar(0x2028), QLatin1Char('\n'));
    return t;
}

void TRichEdit::SetSelText(const QString& Value)
{
    QTextCursor c = CURSOR();
    QString v = Value;
    v.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    c.insertText(v);
    StoreCursor(FWidget, FDoc->Cursor, c);
}

void TRichEdit::SelectAll()
{
    QTextCursor c(&FDoc->Doc);
    c.select(QTextCursor::Document);
    StoreCursor(FWidget, FDoc->Cursor, c);
}

int TRichEdit::TextLength() const
{
    return FDoc->Doc.characterCount() - 1;
}

// ---- character format ----------------------------------------------------------------------------------

namespace {

// The format that the selection shows: at the caret, or of its first character.
QTextCharFormat SelectionFormat(QTextCursor C)
{
    if (C.hasSelection()) {
        const int start = C.selectionStart();
        C.setPosition(start);
        C.setPosition(start + 1, QTextCursor::KeepAnchor);
    }
    return C.charFormat();
}

void MergeFormat(QWidget* Widget, QTextCursor& Own, const QTextCharFormat& F)
{
    QTextCursor c = Widget ? static_cast<QTextEdit*>(Widget)->textCursor() : Own;
    c.mergeCharFormat(F);
    if (!c.hasSelection() && Widget)
        static_cast<QTextEdit*>(Widget)->mergeCurrentCharFormat(F);
    StoreCursor(Widget, Own, c);
}

}  // namespace

QString TRichEdit::SelFontName() const
{
    const QTextCharFormat f = SelectionFormat(CURSOR());
    const QStringList fam = f.fontFamilies().toStringList();
    return fam.isEmpty() ? FDoc->Doc.defaultFont().family() : fam.first();
}

void TRichEdit::SetSelFontName(const QString& Value)
{
    QTextCharFormat f;
    f.setFontFamilies({SubstituteFontName(Value)});
    MergeFormat(FWidget, FDoc->Cursor, f);
}

int TRichEdit::SelFontSize() const
{
    const QTextCharFormat f = SelectionFormat(CURSOR());
    const double pt = f.fontPointSize() > 0 ? f.fontPointSize() : FDoc->Doc.defaultFont().pointSizeF();
    return int(std::lround(pt));
}

void TRichEdit::SetSelFontSize(int Value)
{
    QTextCharFormat f;
    f.setFontPointSize(Value);
    MergeFormat(FWidget, FDoc->Cursor, f);
}

TColor TRichEdit::SelColor() const
{
    const QTextCharFormat f = SelectionFormat(CURSOR());
    return f.foreground().style() == Qt::NoBrush ? FFont.Color() : FromQColor(f.foreground().color());
}

void TRichEdit::SetSelColor(TColor Value)
{
    QTextCharFormat f;
    f.setForeground(ToQColor(Value));
    MergeFormat(FWidget, FDoc->Cursor, f);
}

TFontStyles TRichEdit::SelStyle() const
{
    const QTextCharFormat f = SelectionFormat(CURSOR());
    TFontStyles s = 0;
    if (f.fontWeight() >= QFont::Bold)
        s |= fsBold;
    if (f.fontItalic())
        s |= fsItalic;
    if (f.fontUnderline())
        s |= fsUnderline;
    if (f.fontStrikeOut())
        s |= fsStrikeOut;
    return s;
}

void TRichEdit::SetSelStyle(TFontStyles Value)
{
    QTextCharFormat f;
    f.setFontWeight(Value & fsBold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(Value & fsItalic);
    f.setFontUnderline(Value & fsUnderline);
    f.setFontStrikeOut(Value & fsStrikeOut);
    MergeFormat(FWidget, FDoc->Cursor, f);
}

void TRichEdit::SetSelFont(const TFont& Font)
{
    SetSelFontName(Font.Name());
    SetSelFontSize(Font.Size());
    SetSelColor(Font.Color());
    SetSelStyle(Font.Style());
}

void TRichEdit::GetSelFont(TFont& Font) const
{
    Font.SetName(SelFontName());
    Font.SetSize(SelFontSize());
    Font.SetColor(SelColor());
    Font.SetStyle(SelStyle());
}

// ---- paragraph format ---------------------------------------------------------------------------------

namespace {

void MergeBlock(QWidget* Widget, QTextCursor& Own, const std::function<void(QTextBlockFormat&)>& Change)
{
    QTextCursor c = Widget ? static_cast<QTextEdit*>(Widget)->textCursor() : Own;
    QTextCursor walk(c.document());
    walk.setPosition(c.selectionStart());
    const int end = c.selectionEnd();
    for (;;) {
        QTextBlockFormat f = walk.blockFormat();
        Change(f);
        walk.setBlockFormat(f);
        if (!walk.movePosition(QTextCursor::NextBlock) || walk.position() > end)
            break;
    }
    StoreCursor(Widget, Own, c);
}

}  // namespace

TAlignment TRichEdit::ParaAlignment() const
{
    const Qt::Alignment a = CURSOR().blockFormat().alignment();
    return a & Qt::AlignHCenter ? taCenter : a & Qt::AlignRight ? taRightJustify : taLeftJustify;
}

void TRichEdit::SetParaAlignment(TAlignment Value)
{
    const Qt::Alignment a = Value == taCenter ? Qt::AlignHCenter : Value == taRightJustify ? Qt::AlignRight : Qt::AlignLeft;
    MergeBlock(FWidget, FDoc->Cursor, [a](QTextBlockFormat& f) { f.setAlignment(a); });
}

int TRichEdit::ParaLeftIndent() const
{
    return int(std::lround(CURSOR().blockFormat().leftMargin()));
}

void TRichEdit::SetParaLeftIndent(int Value)
{
    // the first line keeps its own start
    MergeBlock(FWidget, FDoc->Cursor, [Value](QTextBlockFormat& f) {
        const double first = f.leftMargin() + f.textIndent();
        f.setLeftMargin(Value);
        f.setTextIndent(first - Value);
    });
}

int TRichEdit::ParaFirstIndent() const
{
    const QTextBlockFormat f = CURSOR().blockFormat();
    return int(std::lround(f.leftMargin() + f.textIndent()));
}

void TRichEdit::SetParaFirstIndent(int Value)
{
    MergeBlock(FWidget, FDoc->Cursor, [Value](QTextBlockFormat& f) { f.setTextIndent(Value - f.leftMargin()); });
}

int TRichEdit::ParaRightIndent() const
{
    return int(std::lround(CURSOR().blockFormat().rightMargin()));
}

void TRichEdit::SetParaRightIndent(int Value)
{
    MergeBlock(FWidget, FDoc->Cursor, [Value](QTextBlockFormat& f) { f.setRightMargin(Value); });
}

TNumberingStyle TRichEdit::ParaNumbering() const
{
    const QTextList* l = CURSOR().currentList();
    if (!l)
        return nsNone;
    switch (l->format().style()) {
    case QTextListFormat::ListDecimal:
        return nsArabic;
    case QTextListFormat::ListLowerAlpha:
        return nsLowerLetter;
    default:
        return nsBullet;
    }
}

void TRichEdit::SetParaNumbering(TNumberingStyle Value)
{
    QTextCursor c = CURSOR();
    if (QTextList* l = c.currentList()) {
        QTextCursor walk(&FDoc->Doc);
        walk.setPosition(c.selectionStart());
        for (;;) {
            if (QTextList* cl = walk.currentList())
                cl->remove(walk.block());
            if (!walk.movePosition(QTextCursor::NextBlock) || walk.position() > c.selectionEnd())
                break;
        }
        (void)l;
    }
    if (Value != nsNone) {
        const QTextBlockFormat keep = c.blockFormat();
        QTextListFormat lf;
        lf.setStyle(Value == nsArabic        ? QTextListFormat::ListDecimal
                    : Value == nsLowerLetter ? QTextListFormat::ListLowerAlpha
                                             : QTextListFormat::ListDisc);
        lf.setIndent(0);
        if (Value == nsArabic)
            lf.setNumberSuffix(QStringLiteral("."));
        else if (Value == nsLowerLetter)
            lf.setNumberSuffix(QStringLiteral(")"));
        c.createList(lf);
        MergeBlock(FWidget, FDoc->Cursor, [&keep](QTextBlockFormat& f) {
            f.setLeftMargin(keep.leftMargin());
            f.setTextIndent(keep.textIndent());
        });
        return;
    }
    StoreCursor(FWidget, FDoc->Cursor, c);
}

// ---- commands ----------------------------------------------------------------------------------------

int TRichEdit::FindText(const QString& SearchStr, int StartPos, int Length, bool MatchCase) const
{
    if (SearchStr.isEmpty())
        return -1;
    const QString text = FDoc->Doc.toPlainText();
    const int end = std::min(int(text.size()), StartPos + Length);
    const int at = int(text.indexOf(SearchStr, StartPos, MatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive));
    return at >= 0 && at + SearchStr.size() <= end ? at : -1;
}

bool TRichEdit::CanUndo() const
{
    return FDoc->Doc.isUndoAvailable();
}

void TRichEdit::Undo()
{
    FDoc->Doc.undo();
}

void TRichEdit::CutToClipboard()
{
    if (!FReadOnly)
        static_cast<QTextEdit*>(Widget())->cut();
}

void TRichEdit::CopyToClipboard()
{
    static_cast<QTextEdit*>(Widget())->copy();
}

void TRichEdit::PasteFromClipboard()
{
    if (!FReadOnly)
        static_cast<QTextEdit*>(Widget())->paste();
}

// ---- drawing into a canvas ------------------------------------------------------------------------------

int TRichEdit::ContentHeight(int Width) const
{
    std::unique_ptr<QTextDocument> copy(FDoc->Doc.clone());
    copy->setTextWidth(Width);
    copy->setDocumentMargin(0);
    return int(std::ceil(copy->size().height()));
}

void TRichEdit::RenderTo(TCanvas* Canvas, const TRect& Rect, int OffsetX, int OffsetY) const
{
    QPainter* p = Canvas->Painter();
    if (!p)
        return;
    std::unique_ptr<QTextDocument> copy(FDoc->Doc.clone());
    copy->setTextWidth(Rect.Width());
    copy->setDocumentMargin(0);
    p->save();
    p->translate(Rect.Left - OffsetX, Rect.Top - OffsetY);
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.clip = QRectF(OffsetX, OffsetY, Rect.Width(), Rect.Height());
    p->setClipRect(ctx.clip);
    copy->documentLayout()->draw(p, ctx);
    p->restore();
}
