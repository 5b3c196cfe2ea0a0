// Owner-drawn combo boxes (list items and the closed box), item objects and
// sorting, auto-completion, the colour box, and the memo's selection, line
// mapping, length limit and undo.
#include "platform/ui/ColorBox.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStyleOptionViewItem>
#include <gtest/gtest.h>

namespace {

void Type(QWidget* W, const QString& Text)
{
    for (QChar ch : Text) {
        QKeyEvent press(QEvent::KeyPress, ch.toUpper().unicode(), Qt::NoModifier, QString(ch));
        QApplication::sendEvent(W, &press);
    }
}

class ComboMemoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
    }
    void TearDown() override
    {
        SetCommonDialogHook(nullptr);
        delete Form;
    }
    template <class T>
    T* Make()
    {
        auto* c = new T(Form);
        c->SetParent(Form);
        c->SetBounds(10, 10, 160, 24);
        return c;
    }
    static QComboBox* Box(TControl* C) { return static_cast<QComboBox*>(C->Widget()); }
    // Paints list item Row through the drop-down list's delegate.
    static QSize PaintListItem(QComboBox* Box, int Row, bool Selected, QImage& Image)
    {
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, 160, 30);
        option.state = QStyle::State_Enabled | (Selected ? QStyle::State_Selected : QStyle::State_None);
        const QModelIndex index = Box->model()->index(Row, 0);
        Image = QImage(160, 30, QImage::Format_RGB32);
        Image.fill(Qt::white);
        QPainter p(&Image);
        Box->view()->itemDelegate()->paint(&p, option, index);
        return Box->view()->itemDelegate()->sizeHint(option, index);
    }
    TForm* Form = nullptr;
};

TEST_F(ComboMemoTest, OwnerDrawnListItemsGoThroughOnDrawItemAndOnMeasureItem)
{
    auto* cb = Make<TComboBox>();
    cb->SetStyle(csOwnerDrawFixed);
    cb->SetItemHeight(22);
    cb->SetItems({QStringLiteral("Punainen"), QStringLiteral("Vihreä")});
    EXPECT_FALSE(Box(cb)->isEditable());
    QStringList drawn;
    cb->OnDrawItem = [&](TWinControl* Control, int Index, const TRect& R, TOwnerDrawState State) {
        auto* combo = static_cast<TComboBox*>(Control);
        combo->Canvas()->Brush()->SetColor(Index == 0 ? clRed : clLime);
        combo->Canvas()->FillRect(R);
        drawn << QStringLiteral("%1:%2x%3%4%5").arg(Index).arg(R.Width()).arg(R.Height())
                     .arg(State & odSelected ? "s" : "").arg(State & odComboBoxEdit ? "e" : "");
    };
    QImage image;
    EXPECT_EQ(PaintListItem(Box(cb), 1, true, image), QSize(160, 22));
    EXPECT_EQ(drawn.join(' '), QStringLiteral("1:160x30s"));
    EXPECT_EQ(image.pixel(80, 15) & 0xFFFFFF, 0x00FF00u);

    cb->SetStyle(csOwnerDrawVariable);
    cb->OnMeasureItem = [](TWinControl*, int Index, int& Height) { Height = 30 + Index; };
    EXPECT_EQ(PaintListItem(Box(cb), 1, false, image), QSize(160, 31));
    EXPECT_EQ(cb->ItemHeightOf(0), 30);
}

TEST_F(ComboMemoTest, ClosedOwnerDrawnBoxDrawsTheChosenItem)
{
    auto* cb = Make<TComboBox>();
    cb->SetStyle(csOwnerDrawFixed);
    cb->SetItems({QStringLiteral("a"), QStringLiteral("b")});
    QStringList drawn;
    cb->OnDrawItem = [&](TWinControl* Control, int Index, const TRect& R, TOwnerDrawState State) {
        auto* combo = static_cast<TComboBox*>(Control);
        combo->Canvas()->Brush()->SetColor(clBlue);
        combo->Canvas()->FillRect(R);
        drawn << QStringLiteral("%1%2").arg(Index).arg(State & odComboBoxEdit ? "e" : "");
    };
    TBitmap bmp;
    cb->PaintTo(&bmp);
    EXPECT_TRUE(drawn.isEmpty());  // nothing chosen: the field stays empty
    cb->SetItemIndex(1);
    cb->PaintTo(&bmp);
    EXPECT_EQ(drawn.join(' '), QStringLiteral("1e"));
    EXPECT_EQ(bmp.Pixel(40, 12), clBlue);
}

TEST_F(ComboMemoTest, ItemsKeepTheirObjectsWhenSorted)
{
    auto* cb = Make<TComboBox>();
    int a = 1, b = 2, c = 3;
    EXPECT_EQ(cb->AddItem(QStringLiteral("Oulu"), &a), 0);
    EXPECT_EQ(cb->AddItem(QStringLiteral("Espoo"), &b), 1);
    cb->SetSorted(true);
    EXPECT_EQ(cb->Items(), (QStringList{QStringLiteral("Espoo"), QStringLiteral("Oulu")}));
    EXPECT_EQ(cb->Objects(0), &b);
    EXPECT_EQ(cb->Objects(1), &a);
    EXPECT_EQ(cb->AddItem(QStringLiteral("kemi"), &c), 1);  // sorted without regard to case
    EXPECT_EQ(cb->Objects(1), &c);
    EXPECT_EQ(cb->Objects(5), nullptr);
    cb->SetObjects(2, &b);
    EXPECT_EQ(cb->Objects(2), &b);
    cb->SetDropDownCount(12);
    EXPECT_EQ(Box(cb)->maxVisibleItems(), 12);
    // the drop-down is a list of that many rows below the box, not a menu over it
    EXPECT_EQ(Box(cb)->style()->styleHint(QStyle::SH_ComboBox_Popup, nullptr, Box(cb)), 0);
}

TEST_F(ComboMemoTest, TypingCompletesFromTheItemsUnlessTurnedOff)
{
    auto* cb = Make<TComboBox>();
    cb->SetItems({QStringLiteral("Espoo"), QStringLiteral("Oulu")});
    ASSERT_NE(Box(cb)->completer(), nullptr);
    // the completer works in the focused edit field
    Form->Show();
    cb->SetFocus();
    Application->ProcessMessages();
    ASSERT_TRUE(Box(cb)->lineEdit()->hasFocus());
    Type(Box(cb)->lineEdit(), QStringLiteral("es"));
    EXPECT_EQ(Box(cb)->lineEdit()->text(), QStringLiteral("espoo"));
    EXPECT_EQ(Box(cb)->lineEdit()->selectedText(), QStringLiteral("poo"));

    auto* plain = Make<TComboBox>();
    plain->SetItems({QStringLiteral("Espoo")});
    plain->SetAutoComplete(false);
    plain->SetFocus();
    Application->ProcessMessages();
    Type(Box(plain)->lineEdit(), QStringLiteral("es"));
    EXPECT_EQ(plain->Text(), QStringLiteral("es"));
    // Return keeps the typed text without adding it to the items
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(Box(plain)->lineEdit(), &enter);
    EXPECT_EQ(plain->Count(), 1);
    EXPECT_EQ(Box(plain)->count(), 1);
    EXPECT_EQ(plain->Text(), QStringLiteral("es"));
    // the setting survives a change of style
    plain->SetStyle(csDropDownList);
    plain->SetStyle(csDropDown);
    EXPECT_EQ(Box(plain)->completer(), nullptr);
}

TEST_F(ComboMemoTest, EditFieldSelectionAndDropDownWidth)
{
    auto* cb = Make<TComboBox>();
    cb->SetText(QStringLiteral("Jyväskylä"));
    cb->SetSelStart(3);
    cb->SetSelLength(4);
    EXPECT_EQ(cb->SelStart(), 3);
    EXPECT_EQ(cb->SelLength(), 4);
    EXPECT_EQ(cb->SelText(), QStringLiteral("äsky"));
    cb->SelectAll();
    EXPECT_EQ(cb->SelText(), QStringLiteral("Jyväskylä"));
    cb->SetDropDownWidth(300);
    EXPECT_EQ(cb->DropDownWidth(), 300);
    EXPECT_EQ(Box(cb)->view()->minimumWidth(), 300);
    // a list without an edit field has no selection
    cb->SetStyle(csDropDownList);
    EXPECT_EQ(cb->SelLength(), 0);
    EXPECT_EQ(cb->SelText(), QString());
}

TEST_F(ComboMemoTest, OpeningAndClosingTheListRaiseDropDownAndCloseUp)
{
    auto* cb = Make<TComboBox>();
    Form->Show();
    Application->ProcessMessages();
    QStringList events;
    // the list can be filled when it opens
    cb->OnDropDown = [&](TComponent*) {
        events << QStringLiteral("drop");
        if (cb->Count() == 0)
            cb->SetItems({QStringLiteral("H21"), QStringLiteral("D21")});
    };
    cb->OnCloseUp = [&](TComponent*) { events << QStringLiteral("close"); };
    cb->SetDroppedDown(true);
    EXPECT_TRUE(cb->DroppedDown());
    EXPECT_EQ(Box(cb)->view()->model()->rowCount(), 2);
    cb->SetDroppedDown(false);
    EXPECT_FALSE(cb->DroppedDown());
    // as the arrow opens it; closing a closed list raises nothing
    Box(cb)->showPopup();
    Box(cb)->hidePopup();
    Box(cb)->hidePopup();
    EXPECT_EQ(events.join(' '), QStringLiteral("drop close drop close"));
}

TEST_F(ComboMemoTest, ColourBoxListsColoursByStyle)
{
    auto* box = Make<TColorBox>();
    const int all = box->Count();
    EXPECT_EQ(box->Colors(0), clBlack);
    EXPECT_EQ(box->ColorNames(0), QStringLiteral("clBlack"));
    EXPECT_EQ(box->Colors(16), clMoneyGreen);
    EXPECT_GT(all, 40);

    box->SetColorStyle(cbStandardColors | cbPrettyNames | cbIncludeNone);
    EXPECT_EQ(box->Count(), 17);
    EXPECT_EQ(box->ColorNames(9), QStringLiteral("Red"));
    EXPECT_EQ(box->Colors(16), clNone);

    box->SetSelected(clRed);
    EXPECT_EQ(box->ItemIndex(), 9);
    EXPECT_EQ(box->Selected(), clRed);
    box->SetSelected(RGB(1, 2, 3));  // not listed, no custom item
    EXPECT_EQ(box->ItemIndex(), -1);

    // the style change keeps the chosen colour
    box->SetSelected(clNavy);
    box->SetColorStyle(cbStandardColors | cbExtendedColors);
    EXPECT_EQ(box->Selected(), clNavy);

    box->OnGetColors = [](TCustomColorBox*, std::vector<std::pair<TColor, QString>>& Items) {
        Items.push_back({RGB(0x12, 0x34, 0x56), QStringLiteral("Rastin sininen")});
    };
    box->SetColorStyle(cbStandardColors | cbCustomColors);
    EXPECT_EQ(box->Count(), 17);
    EXPECT_EQ(box->ColorNames(16), QStringLiteral("Rastin sininen"));
}

TEST_F(ComboMemoTest, ColourBoxCustomItemAsksTheColourDialog)
{
    auto* box = Make<TColorBox>();
    box->SetColorStyle(cbCustomColor | cbStandardColors);
    EXPECT_EQ(box->ColorNames(0), QStringLiteral("Custom..."));
    box->SetSelected(RGB(1, 2, 3));
    EXPECT_EQ(box->ItemIndex(), 0);
    EXPECT_EQ(box->Selected(), RGB(1, 2, 3));

    box->SetSelected(clRed);
    int selects = 0;
    box->OnSelect = [&](TComponent*) { ++selects; };
    TColor offered = clNone;
    SetCommonDialogHook([&](TCommonDialog* Dialog, QString&) {
        auto* d = static_cast<TColorDialog*>(Dialog);
        offered = d->Color;
        d->Color = RGB(0x40, 0x80, 0xC0);
        return true;
    });
    Box(box)->setCurrentIndex(0);  // the user picks "Custom..."
    EXPECT_EQ(offered, RGB(1, 2, 3));
    EXPECT_EQ(box->Selected(), RGB(0x40, 0x80, 0xC0));
    EXPECT_EQ(selects, 1);

    // the closed box shows the colour's swatch
    TBitmap bmp;
    box->PaintTo(&bmp);
    int swatch = 0;
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            swatch += bmp.Pixel(x, y) == RGB(0x40, 0x80, 0xC0);
    EXPECT_GT(swatch, 50);
}

TEST_F(ComboMemoTest, MemoSelectionCountsLineBreaksAsTwoCharacters)
{
    auto* m = new TMemo(Form);
    m->SetParent(Form);
    m->SetText(QStringLiteral("ab\r\ncd\r\nef"));
    EXPECT_FALSE(m->Modified);
    m->SetSelStart(4);
    EXPECT_EQ(m->CaretPos(), TPoint(0, 1));
    m->SetSelLength(2);
    EXPECT_EQ(m->SelText(), QStringLiteral("cd"));
    m->SetSelStart(1);
    m->SetSelLength(3);
    EXPECT_EQ(m->SelText(), QStringLiteral("b\r\n"));
    EXPECT_EQ(m->SelStart(), 1);
    EXPECT_EQ(m->SelLength(), 3);

    struct Case { int Char, Line; };
    for (const Case& c : {Case{0, 0}, Case{2, 0}, Case{4, 1}, Case{9, 2}, Case{10, 2}})
        EXPECT_EQ(m->LineFromChar(c.Char), c.Line) << c.Char;
    EXPECT_EQ(m->LineIndex(0), 0);
    EXPECT_EQ(m->LineIndex(1), 4);
    EXPECT_EQ(m->LineIndex(2), 8);
    EXPECT_EQ(m->LineIndex(3), -1);

    m->SetCaretPos(TPoint(1, 2));
    EXPECT_EQ(m->SelStart(), 9);
    m->SetSelStart(4);
    m->SetSelLength(2);
    m->SetSelText(QStringLiteral("X\r\nY"));
    EXPECT_EQ(m->Text(), QStringLiteral("ab\r\nX\r\nY\r\nef"));
    m->Append(QStringLiteral("gh"));
    EXPECT_EQ(m->Lines().back(), QStringLiteral("gh"));
    EXPECT_EQ(m->FirstVisibleLine(), 0);

    // pixel positions of characters and back; the second line is lower, the third character further right
    m->SetBounds(0, 0, 200, 120);
    const TPoint first = m->PosFromChar(0), third = m->PosFromChar(2), line2 = m->PosFromChar(4);
    EXPECT_GT(third.X, first.X);
    EXPECT_EQ(third.Y, first.Y);
    EXPECT_GT(line2.Y, first.Y);
    EXPECT_EQ(line2.X, first.X);
    for (int i : {0, 1, 4, 7, 10, 11})
        EXPECT_EQ(m->CharFromPos(TPoint(m->PosFromChar(i).X + 1, m->PosFromChar(i).Y + 2)), i) << i;
}

TEST_F(ComboMemoTest, MemoLimitsUserInputAndUndoes)
{
    auto* m = new TMemo(Form);
    m->SetParent(Form);
    m->SetText(QStringLiteral("ab\r\nc"));
    m->SetMaxLength(7);
    int changes = 0;
    m->OnChange = [&](TComponent*) { ++changes; };
    m->SetSelStart(5);
    auto* editor = static_cast<QPlainTextEdit*>(m->Widget());
    Type(editor, QStringLiteral("xyz"));  // five characters so far, two more allowed
    EXPECT_EQ(m->Text(), QStringLiteral("ab\r\ncxy"));
    EXPECT_TRUE(m->Modified);
    EXPECT_EQ(changes, 2);  // the "z" did not fit
    // pasted text is cut to what still fits, at the caret
    m->SetMaxLength(9);
    m->SetSelStart(4);
    m->SetSelText(QStringLiteral("123"));
    EXPECT_EQ(m->Text(), QStringLiteral("ab\r\n12cxy"));
    EXPECT_EQ(m->SelStart(), 6);

    EXPECT_TRUE(m->CanUndo());
    m->Undo();
    EXPECT_EQ(m->Text(), QStringLiteral("ab\r\ncxy"));

    m->SetReadOnly(true);
    Type(editor, QStringLiteral("q"));
    EXPECT_EQ(m->Text(), QStringLiteral("ab\r\ncxy"));
}

}  // namespace

namespace {

TEST_F(ComboMemoTest, MemoTakesTabsAndReturnsOnlyWhenItWantsThem)
{
    auto* m = new TMemo(Form);
    m->SetParent(Form);
    Form->Show();
    m->SetFocus();
    Application->ProcessMessages();
    auto* editor = static_cast<QPlainTextEdit*>(m->Widget());
    auto send = [&](int QtKey, const QString& Text) {
        QKeyEvent e(QEvent::KeyPress, QtKey, Qt::NoModifier, Text);
        QApplication::sendEvent(editor, &e);
    };
    send(Qt::Key_Tab, QStringLiteral("\t"));
    EXPECT_FALSE(m->Text().contains(QLatin1Char('\t')));
    m->WantTabs = true;
    send(Qt::Key_Tab, QStringLiteral("\t"));
    EXPECT_TRUE(m->Text().contains(QLatin1Char('\t')));
    m->WantReturns = false;
    send(Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_FALSE(m->Text().contains(QLatin1Char('\n')));
    {
        QKeyEvent e(QEvent::KeyPress, Qt::Key_Return, Qt::ControlModifier, QStringLiteral("\r"));
        QApplication::sendEvent(editor, &e);
        EXPECT_TRUE(m->Text().contains(QLatin1Char('\n')));  // Ctrl+Return still breaks the line
    }
    m->WantReturns = true;
    send(Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(m->Text().count(QLatin1Char('\n')), 2);
}

}  // namespace
