// The memo's selection, caret, line mapping and clipboard commands. Positions
// count a line break as two characters, so that they match Text().
#include "platform/ui/StdCtrls.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

namespace {

// Characters as the memo counts them: a line break is two.
int CountedLength(QStringView Text)
{
    return int(Text.size() + Text.count(QLatin1Char('\n')));
}

// The longest start of Text that fits into Room counted characters.
QString Fitting(const QString& Text, int Room)
{
    int used = 0, n = 0;
    for (; n < Text.size(); ++n) {
        const int width = Text[n] == QLatin1Char('\n') ? 2 : 1;
        if (used + width > Room)
            break;
        used += width;
    }
    return Text.left(n);
}

// Typing and pasting stop at the memo's length limit; what does not fit is
// dropped. Tab and Return reach the text only when the memo wants them.
class TMemoWidget : public QPlainTextEdit {
public:
    explicit TMemoWidget(TMemo* Memo) : FMemo(Memo) {}

    // The counted characters still free once the selection is replaced (a large number without a limit).
    int Room() const
    {
        if (FMemo->MaxLength() <= 0)
            return std::numeric_limits<int>::max() / 2;
        const QString text = toPlainText();
        const QTextCursor c = textCursor();
        const int selected = CountedLength(QStringView(text).mid(c.selectionStart(), c.selectionEnd() - c.selectionStart()));
        return FMemo->MaxLength() - (CountedLength(text) - selected);
    }

protected:
    bool event(QEvent* Event) override
    {
        // Tab moves the focus on unless the memo wants tabs
        if (Event->type() == QEvent::KeyPress || Event->type() == QEvent::ShortcutOverride)
            setTabChangesFocus(!FMemo->WantTabs);
        return QPlainTextEdit::event(Event);
    }

    void keyPressEvent(QKeyEvent* Event) override
    {
        // a tab the memo does not want is never typed, even when no other control takes the focus
        if ((Event->key() == Qt::Key_Tab || Event->key() == Qt::Key_Backtab) && !FMemo->WantTabs) {
            Event->ignore();
            return;
        }
        // without WantReturns only Ctrl+Return breaks the line
        if (Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) {
            if (Event->modifiers() & Qt::ControlModifier) {
                if (!isReadOnly() && Room() >= 2)
                    insertPlainText(QStringLiteral("\n"));
                Event->accept();
                return;
            }
            if (!FMemo->WantReturns) {
                Event->ignore();
                return;
            }
        }
        if (!isReadOnly() && FMemo->MaxLength() > 0) {
            int need = 0;
            if (Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter)
                need = 2;
            else if (!Event->text().isEmpty() && Event->text()[0] >= QLatin1Char(' ') && Event->text()[0] != QChar(0x7F))
                need = int(Event->text().size());
            if (need > 0 && need > Room()) {
                Event->accept();
                return;
            }
        }
        QPlainTextEdit::keyPressEvent(Event);
    }

    void insertFromMimeData(const QMimeData* Source) override
    {
        if (FMemo->MaxLength() <= 0 || !Source->hasText()) {
            QPlainTextEdit::insertFromMimeData(Source);
            return;
        }
        QString text = Source->text();
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        insertPlainText(Fitting(text, Room()));
    }

    // What the memo draws over its text (highlights, guide lines), in the
    // memo's coordinates as PosFromChar gives them.
    void paintEvent(QPaintEvent* Event) override
    {
        QPlainTextEdit::paintEvent(Event);
        QPainter p(viewport());
        const QPoint offset = viewport()->mapTo(this, QPoint(0, 0));
        p.translate(-offset.x(), -offset.y());
        TCanvas canvas;
        canvas.BeginPaint(&p, Rect(0, 0, width(), height()));
        FMemo->PaintOverlay(&canvas);
        canvas.EndPaint();
    }

private:
    TMemo* FMemo;
};

QPlainTextEdit* Editor(const TMemo* Memo)
{
    return static_cast<QPlainTextEdit*>(Memo->Widget());
}

}  // namespace

QPlainTextEdit* NewMemoWidget(TMemo* Memo)
{
    return new TMemoWidget(Memo);
}

int TMemo::ToCharIndex(int Position) const
{
    Position = std::clamp(Position, 0, int(FText.size()));
    return Position + int(QStringView(FText).left(Position).count(QLatin1Char('\n')));
}

int TMemo::ToPosition(int CharIndex) const
{
    int chars = 0;
    for (int i = 0; i < FText.size(); ++i) {
        const int width = FText[i] == QLatin1Char('\n') ? 2 : 1;
        // a position inside a line break goes to its start
        if (chars + width > CharIndex)
            return i;
        chars += width;
    }
    return int(FText.size());
}

void TMemo::SetMaxLength(int Value)
{
    FMaxLength = std::max(0, Value);
}

void TMemo::Append(const QString& Line)
{
    QStringList lines = Lines();
    lines << Line;
    SetLines(lines);
}

int TMemo::SelStart() const
{
    const QTextCursor c = Editor(this)->textCursor();
    return ToCharIndex(c.selectionStart());
}

void TMemo::SetSelStart(int Value)
{
    QPlainTextEdit* m = Editor(this);
    QTextCursor c = m->textCursor();
    c.setPosition(ToPosition(std::max(0, Value)));
    m->setTextCursor(c);
}

int TMemo::SelLength() const
{
    const QTextCursor c = Editor(this)->textCursor();
    return ToCharIndex(c.selectionEnd()) - ToCharIndex(c.selectionStart());
}

void TMemo::SetSelLength(int Value)
{
    QPlainTextEdit* m = Editor(this);
    QTextCursor c = m->textCursor();
    const int start = c.selectionStart();
    c.setPosition(start);
    c.setPosition(ToPosition(ToCharIndex(start) + std::max(0, Value)), QTextCursor::KeepAnchor);
    m->setTextCursor(c);
}

QString TMemo::SelText() const
{
    const QTextCursor c = Editor(this)->textCursor();
    QString t = FText.mid(c.selectionStart(), c.selectionEnd() - c.selectionStart());
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}

void TMemo::SetSelText(const QString& Value)
{
    QString v = Value;
    v.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    auto* m = static_cast<TMemoWidget*>(Editor(this));
    v = Fitting(v, m->Room());
    QTextCursor c = m->textCursor();
    c.insertText(v);
    m->setTextCursor(c);
}

TPoint TMemo::CaretPos() const
{
    const QTextCursor c = Editor(this)->textCursor();
    return TPoint(c.positionInBlock(), c.blockNumber());
}

void TMemo::SetCaretPos(const TPoint& Value)
{
    QPlainTextEdit* m = Editor(this);
    const QTextBlock block = m->document()->findBlockByNumber(std::clamp(Value.Y, 0, m->document()->blockCount() - 1));
    QTextCursor c = m->textCursor();
    c.setPosition(block.position() + std::clamp(Value.X, 0, block.length() - 1));
    m->setTextCursor(c);
}

int TMemo::LineFromChar(int CharIndex) const
{
    QPlainTextEdit* m = Editor(this);
    const int position = CharIndex < 0 ? m->textCursor().position() : ToPosition(CharIndex);
    return m->document()->findBlock(position).blockNumber();
}

int TMemo::LineIndex(int Line) const
{
    QPlainTextEdit* m = Editor(this);
    if (Line < 0)
        Line = m->textCursor().blockNumber();
    if (Line >= m->document()->blockCount())
        return -1;
    return ToCharIndex(m->document()->findBlockByNumber(Line).position());
}

int TMemo::FirstVisibleLine() const
{
    // the plain text editor scrolls by whole blocks: the bar's value is the first line
    return Editor(this)->verticalScrollBar()->value();
}

TPoint TMemo::PosFromChar(int CharIndex) const
{
    QPlainTextEdit* m = Editor(this);
    QTextCursor c(m->document());
    c.setPosition(ToPosition(std::max(0, CharIndex)));
    const QPoint p = m->viewport()->mapTo(m, m->cursorRect(c).topLeft());
    return TPoint(p.x(), p.y());
}

int TMemo::CharFromPos(const TPoint& Pos) const
{
    QPlainTextEdit* m = Editor(this);
    const QPoint p = m->viewport()->mapFrom(m, QPoint(Pos.X, Pos.Y));
    return ToCharIndex(m->cursorForPosition(p).position());
}

void TMemo::ScrollCaret()
{
    Editor(this)->ensureCursorVisible();
}

void TMemo::CutToClipboard()
{
    if (!FReadOnly)
        Editor(this)->cut();
}

void TMemo::CopyToClipboard()
{
    Editor(this)->copy();
}

void TMemo::PasteFromClipboard()
{
    if (!FReadOnly)
        Editor(this)->paste();
}

bool TMemo::CanUndo() const
{
    return Editor(this)->document()->isUndoAvailable();
}

void TMemo::Undo()
{
    Editor(this)->undo();
}
