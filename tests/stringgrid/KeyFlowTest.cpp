// Typing with real key events: the editor opens with the typed key, Return
// finishes and re-formats, Escape restores, date cells take their shortcut
// keys, list-only cells search as the user types, F4 opens lists and raises
// the ellipsis event, and the pick, colour and check lists behave as the
// user sees them.

#include "StringGridFixture.h"

#include "components/base/rPopupMonthCalendar.h"
#include "components/base/rpictool.h"
#include "components/base/rRichEdit.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/GridButtonState.h"
#include "platform/ui/StdCtrls.h"

#include <QEnterEvent>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <functional>

TEST_F(StringGridTest, TypingReturnAndEscape)
{
    Col(1)->DataType = sgdNumber;
    Col(1)->NumFormat = QStringLiteral("0.00");
    std::vector<QString> finished;
    grid->OnFinishCellEditing = [&](TrStringGridEd* G, int C, int R) { finished.push_back(G->Cells(C, R)); };
    ShowFocused(1, 1);
    SendKey(grid->Widget(), Qt::Key_3, QStringLiteral("3"));
    ASSERT_TRUE(grid->EditorMode());
    SendKey(EditorWidget(), Qt::Key_Comma, QStringLiteral(","));
    SendKey(EditorWidget(), Qt::Key_5, QStringLiteral("5"));
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("3,5")) << "the cell follows the typing";
    SendKey(EditorWidget(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("3,50"));
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_TRUE(grid->EditorMode()) << "the editor shows the finished text";
    EXPECT_EQ(Editor()->Text(), QStringLiteral("3,50"));
    // Escape brings back the text the editor started with.
    Editor()->SelectAll();
    SendKey(EditorWidget(), Qt::Key_9, QStringLiteral("9"));
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("9"));
    SendKey(EditorWidget(), Qt::Key_Escape);
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("3,50"));
    EXPECT_FALSE(grid->EditorMode());
    // With dgNextRowAfterReturn Return also moves down.
    grid->SetOptionsEx(OptEx(dgNextRowAfterReturn));
    SendKey(grid->Widget(), Qt::Key_7, QStringLiteral("7"));
    SendKey(EditorWidget(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("7,00"));
    EXPECT_EQ(grid->Row(), 2);
    form->Hide();
}

// A shown editor asks again on the next key; a refusal hides it and the key
// does not reach the cell.
TEST_F(StringGridTest, ARefusedEditorIsHiddenOnTheNextKey)
{
    bool veto = false;
    grid->OnCanEdit = [&](TrStringGridEd*, int, bool& Can, int) {
        if (veto)
            Can = false;
    };
    const std::function<void(bool)> refusals[] = {
        [&](bool On) { Col(1)->ReadOnly = On; },
        [&](bool On) { veto = On; },
    };
    ShowFocused(1, 1);
    for (const auto& refuse : refusals) {
        SendKey(grid->Widget(), Qt::Key_4, QStringLiteral("4"));
        ASSERT_TRUE(grid->EditorMode());
        refuse(true);
        SendKey(EditorWidget(), Qt::Key_5, QStringLiteral("5"));
        EXPECT_FALSE(grid->EditorMode());
        EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("4"));
        refuse(false);
    }
    form->Hide();
}

TEST_F(StringGridTest, DateCellShortcutKeys)
{
    Col(1)->DataType = sgdDate;
    Col(1)->NumFormat = QStringLiteral("dd.mm.yyyy");
    ShowFocused(1, 1);
    SendKey(grid->Widget(), Qt::Key_T, QStringLiteral("t"));
    ASSERT_TRUE(grid->EditorMode());
    const QString today = FormatDateTime(QStringLiteral("dd.mm.yyyy"), Date());
    EXPECT_EQ(Editor()->Text(), today);
    EXPECT_EQ(grid->Cells(1, 1), today);
    // A typed full stop, comma, minus or slash becomes the date separator.
    Editor()->SetText(QStringLiteral("1"));
    Editor()->SetSelStart(1);
    SendKey(EditorWidget(), Qt::Key_Slash, QStringLiteral("/"));
    SendKey(EditorWidget(), Qt::Key_2, QStringLiteral("2"));
    SendKey(EditorWidget(), Qt::Key_Minus, QStringLiteral("-"));
    EXPECT_EQ(Editor()->Text(), QStringLiteral("1.2."));
    SendKey(EditorWidget(), Qt::Key_E, QStringLiteral("e"));
    int y = 0, m = 0, d = 0;
    DecodeDate(Date(), y, m, d);
    const TDateTime end = (m == 12 ? EncodeDate(y + 1, 1, 1) : EncodeDate(y, m + 1, 1)) - 1;
    EXPECT_EQ(Editor()->Text(), FormatDateTime(QStringLiteral("dd.mm.yyyy"), end));
    SendKey(EditorWidget(), Qt::Key_S, QStringLiteral("s"));
    EXPECT_EQ(Editor()->Text(), FormatDateTime(QStringLiteral("dd.mm.yyyy"), EncodeDate(y, m, 1)));
    form->Hide();
}

TEST_F(StringGridTest, CalendarPicksADayAndKeepsTheTime)
{
    Col(1)->DataType = sgdDateTime;
    Col(1)->NumFormat = QStringLiteral("d.m.yyyy h:nn");
    Col(1)->SetButtonStyle(sgbDateTimePicker);
    grid->SetCells(1, 1, QStringLiteral("5.6.2026 14:30"));
    ShowFocused(1, 1);
    SendKey(grid->Widget(), Qt::Key_F4);
    ASSERT_TRUE(Editor()->CalendarVisible());
    TrPopupMonthCalendar* cal = Editor()->PopupCalendar();
    EXPECT_EQ(cal->Date(), EncodeDate(2026, 6, 5));
    cal->SetDate(EncodeDate(2026, 6, 6));  // the user moves to the next day
    SendKey(EditorWidget(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_FALSE(Editor()->CalendarVisible());
    EXPECT_EQ(Editor()->Text(), QStringLiteral("6.6.2026 14:30"));
    form->Hide();
}

TEST_F(StringGridTest, PickListSizeSearchAndChoice)
{
    Col(1)->SetButtonStyle(sgbDropDownList);
    QStringList items;
    for (int i = 0; i < 20; ++i)
        items << QStringLiteral("Item %1").arg(i, 2, 10, QLatin1Char('0'));
    Col(1)->PickList = items;
    QStringList events;
    grid->OnEditorEvent = [&](TrStringGridEdInplaceEdit*, int, const QString& Name, int) { events << Name; };
    ShowFocused(1, 1);
    SendKey(grid->Widget(), Qt::Key_F4);
    TPopupListbox* list = Editor()->PickListEd();
    ASSERT_TRUE(Editor()->PickListVisible());
    EXPECT_EQ(list->Height(), 12 * list->ItemHeight() + 2);
    SendKey(EditorWidget(), Qt::Key_Escape);
    EXPECT_FALSE(Editor()->PickListVisible());
    Col(1)->PickList = items.mid(0, 3);
    SendKey(grid->Widget(), Qt::Key_F4);
    EXPECT_EQ(list->Height(), 3 * list->ItemHeight() + 2);
    SendKey(EditorWidget(), Qt::Key_Down);
    SendKey(EditorWidget(), Qt::Key_Down);
    SendKey(EditorWidget(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("Item 01"));
    EXPECT_TRUE(events.contains(QStringLiteral("PickListBeforeShow")));
    EXPECT_TRUE(events.contains(QStringLiteral("PickListAfterHide")));
    form->Hide();
}

TEST_F(StringGridTest, ListOnlyCellsSearchAsTheUserTypes)
{
    int64_t now = 100000;
    auto savedClock = TPopupListbox::TickCount;
    TPopupListbox::TickCount = [&] { return now; };
    Col(1)->SetButtonStyle(sgbDropDownList);
    Col(1)->PickList = {QStringLiteral("aa"), QStringLiteral("b"), QStringLiteral("abc"), QStringLiteral("ab"), QStringLiteral("ba")};
    ShowFocused(1, 1);
    SendKey(grid->Widget(), Qt::Key_A, QStringLiteral("a"));
    TPopupListbox* list = Editor()->PickListEd();
    ASSERT_TRUE(Editor()->PickListVisible()) << "a typed key opens the list";
    EXPECT_EQ(list->ItemIndex(), 0);
    now += 500;
    SendKey(EditorWidget(), Qt::Key_B, QStringLiteral("b"));
    EXPECT_EQ(list->Strings(list->ItemIndex()), QStringLiteral("abc")) << "the first item starting with ab";
    now += 2500;
    SendKey(EditorWidget(), Qt::Key_B, QStringLiteral("b"));
    EXPECT_EQ(list->Strings(list->ItemIndex()), QStringLiteral("b")) << "after a pause the search starts again";
    EXPECT_EQ(grid->Cells(1, 1), QString()) << "typing does not change a list-only cell";
    TPopupListbox::TickCount = savedClock;
    form->Hide();
}

TEST_F(StringGridTest, CheckListClickTogglesAndStaysOpen)
{
    Col(1)->SetButtonStyle(sgbDropDownCheckList);
    Col(1)->PickList = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    grid->SetCells(1, 1, QStringLiteral("a,c"));
    ShowFocused(1, 1);
    SendKey(grid->Widget(), Qt::Key_F4);
    TPopupListbox* list = Editor()->PickListEd();
    ASSERT_TRUE(Editor()->PickListVisible());
    const TRect item = list->ItemRect(1);
    list->MouseUp(mbLeft, 0, item.Left + 20, item.Top + 2);
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("a,c,b"));
    EXPECT_TRUE(Editor()->PickListVisible());
    const TRect first = list->ItemRect(0);
    list->MouseUp(mbLeft, 0, first.Left + 20, first.Top + 2);
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("c,b"));
    form->Hide();
}

TEST_F(StringGridTest, CustomColourStoresDollarHex)
{
    Col(1)->SetButtonStyle(sgbDropDownColor);
    auto saved = SetCommonDialogHook([](TCommonDialog* D, QString&) {
        static_cast<TColorDialog*>(D)->Color = clRed;
        return true;
    });
    ShowFocused(1, 1);
    SendKey(grid->Widget(), Qt::Key_F4);
    TPopupListbox* list = Editor()->PickListEd();
    ASSERT_TRUE(Editor()->PickListVisible());
    ASSERT_EQ(list->Strings(CustomColorIndex), QStringLiteral("Custom..."));
    list->SetItemIndex(CustomColorIndex);
    Editor()->CloseUpEx(true, true);
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("$000000FF"));
    SetCommonDialogHook(saved);
    // A named colour is stored by its name.
    SendKey(grid->Widget(), Qt::Key_F4);
    list->SetItemIndex(list->IndexOf(QStringLiteral("Navy")));
    Editor()->CloseUpEx(true, true);
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("Navy"));
    EXPECT_EQ(StringToColor(grid->Cells(1, 1)), clNavy);
    form->Hide();
}

TEST_F(StringGridTest, F4OnAnEllipsisCellRaisesTheEvent)
{
    Col(1)->SetButtonStyle(sgbEllipsis);
    Col(2)->SetButtonStyle(sgbEllipsisOnly);
    int clicks = 0;
    grid->OnEllipsisClicked = [&](TrStringGridEd*, int, int) { ++clicks; };
    ShowFocused(1, 1);
    SendKey(grid->Widget(), Qt::Key_F4);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(Editor()->ListVisible());
    SendKey(EditorWidget(), Qt::Key_F4);
    EXPECT_EQ(clicks, 2);
    SendKey(EditorWidget(), Qt::Key_Escape);
    // Typing into an ellipsis-only cell changes nothing.
    grid->FocusCell(2, 1, true);
    SendKey(grid->Widget(), Qt::Key_X, QStringLiteral("x"));
    EXPECT_EQ(grid->Cells(2, 1), QString());
    form->Hide();
}

TEST_F(StringGridTest, CheckBoxesAndButtonsByKeyAndMouse)
{
    Col(1)->SetButtonStyle(sgbCheckbox);
    Col(2)->SetButtonStyle(sgbButton);
    int buttonClicks = 0;
    grid->OnEllipsisClicked = [&](TrStringGridEd*, int, int) { ++buttonClicks; };
    ShowFocused(1, 1);
    SendKey(grid->Widget(), Qt::Key_Space, QStringLiteral(" "));
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("1"));
    EXPECT_FALSE(grid->EditorMode());
    SendKey(grid->Widget(), Qt::Key_Space, QStringLiteral(" "));
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("0"));
    // A click inside the glyph's box toggles; beside it nothing happens.
    grid->Repaint();
    const TRect cell = grid->CellRect(1, 2);
    const int cx = (cell.Left + cell.Right) / 2, cy = (cell.Top + cell.Bottom) / 2;
    grid->MouseDown(mbLeft, 0, cx, cy);
    grid->MouseUp(mbLeft, 0, cx, cy);
    EXPECT_EQ(grid->Cells(1, 2), QStringLiteral("1"));
    grid->MouseDown(mbLeft, 0, cell.Left + 2, cy);
    grid->MouseUp(mbLeft, 0, cell.Left + 2, cy);
    EXPECT_EQ(grid->Cells(1, 2), QStringLiteral("1"));
    // A button cell: pressed and released on it, or Space.
    const TRect b = grid->CellRect(2, 1);
    grid->MouseDown(mbLeft, 0, b.Left + 5, b.Top + 5);
    grid->MouseUp(mbLeft, 0, b.Left + 5, b.Top + 5);
    EXPECT_EQ(buttonClicks, 1);
    grid->MouseDown(mbLeft, 0, b.Left + 5, b.Top + 5);
    grid->MouseUp(mbLeft, 0, cell.Left + 2, cy);
    EXPECT_EQ(buttonClicks, 1) << "released elsewhere: no click";
    grid->FocusCell(2, 3, true);
    SendKey(grid->Widget(), Qt::Key_Space, QStringLiteral(" "));
    EXPECT_EQ(buttonClicks, 2);
    form->Hide();
}

TEST_F(StringGridTest, ClipboardKeysAndRangeSelectionWithShift)
{
    grid->SetOptionsEx(OptEx(dgSelectRange));
    Fill({{QStringLiteral("a"), QStringLiteral("b")}, {QStringLiteral("c"), QStringLiteral("d")}});
    ShowFocused(1, 1);
    SendKey(grid->Widget(), Qt::Key_Right, QString(), Qt::ShiftModifier);
    SendKey(grid->Widget(), Qt::Key_Down, QString(), Qt::ShiftModifier);
    EXPECT_TRUE(grid->IsRangeSelected());
    EXPECT_EQ(grid->GetRangeCellCount(), 4);
    SendKey(grid->Widget(), Qt::Key_C, QStringLiteral("c"), Qt::ControlModifier);
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("a\tb\r\nc\td"));
    SendKey(grid->Widget(), Qt::Key_Delete);
    EXPECT_EQ(grid->Cells(2, 2), QString());
    EXPECT_EQ(grid->Cells(1, 1), QString());
    SendKey(grid->Widget(), Qt::Key_Escape);
    EXPECT_FALSE(grid->IsRangeSelected());
    grid->FocusCell(1, 3, true);
    grid->ResetSelRange();
    SendKey(grid->Widget(), Qt::Key_V, QStringLiteral("v"), Qt::ControlModifier);
    EXPECT_EQ(grid->Cells(2, 4), QStringLiteral("d"));
    form->Hide();
}

TEST_F(StringGridTest, PasteIntoTheEditorIsCleanedByType)
{
    Col(1)->DataType = sgdNumber;
    ShowFocused(1, 1);
    SendKey(grid->Widget(), Qt::Key_F2);
    ASSERT_TRUE(grid->EditorMode());
    Clipboard()->SetAsText(QStringLiteral("1 234,5\r\n"));
    SendKey(EditorWidget(), Qt::Key_V, QString(), Qt::ControlModifier);
    EXPECT_EQ(Editor()->Text(), QStringLiteral("1234,5"));
    EXPECT_EQ(Editor()->SelStart(), 6);
    form->Hide();
}

TEST_F(StringGridTest, CustomEditorTakesAndGivesTheCellText)
{
    Col(1)->SetButtonStyle(sgbCustomEditor);
    TEdit* custom = nullptr;
    grid->CustomEditorCreate = [&](TrStringGridEd* G, TWinControl*& E) {
        custom = new TEdit(G);
        E = custom;
    };
    std::vector<TCustomEditorAction> actions;
    grid->CustomEditorEvent = [&](TrStringGridEd*, TWinControl*, bool&, QString&, TCustomEditorAction A) { actions.push_back(A); };
    grid->SetCells(1, 1, QStringLiteral("vanha"));
    ShowFocused(1, 1);
    SendKey(grid->Widget(), Qt::Key_F2);
    ASSERT_NE(custom, nullptr);
    Editor()->ShowCustomEditor(grid->CellRect(1, 1));
    ASSERT_TRUE(Editor()->CustomEditorVisible());
    EXPECT_EQ(custom->Text(), QStringLiteral("vanha"));
    custom->SetText(QStringLiteral("uusi"));
    Editor()->HideCustomEditor(true);
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("uusi"));
    EXPECT_FALSE(custom->Visible());
    EXPECT_NE(std::find(actions.begin(), actions.end(), ceaShow), actions.end());
    EXPECT_NE(std::find(actions.begin(), actions.end(), ceaHide), actions.end());
    // A handler that takes the value over decides what the cell gets.
    grid->CustomEditorEvent = [](TrStringGridEd*, TWinControl*, bool& Handled, QString& Value, TCustomEditorAction A) {
        if (A == ceaGetValue) {
            Value = QStringLiteral("käsittelijältä");
            Handled = true;
        }
    };
    Editor()->ShowCustomEditor(grid->CellRect(1, 1));
    Editor()->HideCustomEditor(true);
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("käsittelijältä"));
    form->Hide();
}

TEST_F(StringGridTest, RichTextCellsEditAsTextAndKeepRtf)
{
    Col(1)->SetButtonStyle(sgbRichText);
    grid->SetCells(1, 1, QStringLiteral("{\\rtf1\\ansi Vahva {\\b teksti}\\par rivi}"));
    ShowFocused(1, 1);
    SendKey(grid->Widget(), Qt::Key_F2);
    Editor()->ShowRichEditor(grid->CellRect(1, 1));
    ASSERT_TRUE(Editor()->RichEditorVisible());
    TrRichEdit* memo = Editor()->RichEditor();
    EXPECT_EQ(grid->RichTextToPlainText(memo->GetRtfText()), grid->RichTextToPlainText(grid->Cells(1, 1)));
    EXPECT_TRUE(memo->Text().startsWith(QStringLiteral("Vahva teksti")));
    memo->SetText(QStringLiteral("Ei tätä"));
    Word key = VK_ESCAPE;
    memo->KeyDown(key, 0);
    EXPECT_FALSE(Editor()->RichEditorVisible());
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("{\\rtf1\\ansi Vahva {\\b teksti}\\par rivi}")) << "Escape cancels";
    Editor()->ShowRichEditor(grid->CellRect(1, 1));
    memo->SetText(QStringLiteral("Äänekoski {1}"));
    key = VK_RETURN;
    memo->KeyDown(key, ssCtrl);
    EXPECT_TRUE(TrStringGridEd::IsRtfText(grid->Cells(1, 1)));
    EXPECT_EQ(grid->RichTextToPlainText(grid->Cells(1, 1)), QStringLiteral("Äänekoski {1}"));
    form->Hide();
}

TEST_F(StringGridTest, EditorFollowsTheCellOnlyWhenAlwaysShown)
{
    Col(2)->SetButtonStyle(sgbCheckbox);
    ShowFocused(1, 1);
    SendKey(grid->Widget(), Qt::Key_A, QStringLiteral("a"));
    ASSERT_TRUE(grid->EditorMode());
    SendKey(EditorWidget(), Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("a"));
    EXPECT_FALSE(grid->EditorMode()) << "moving finishes the edit";
    grid->SetOptions(grid->Options() | goAlwaysShowEditor);
    grid->FocusCell(1, 3, true);
    EXPECT_TRUE(grid->EditorMode());
    grid->FocusCell(2, 3, true);
    EXPECT_FALSE(grid->EditorMode()) << "no editor over a check box";
    grid->FocusCell(3, 3, true);
    EXPECT_TRUE(grid->EditorMode());
    form->Hide();
}

TEST_F(StringGridTest, PressDragIntoTheListAndReleasePicksTheItem)
{
    Col(1)->SetButtonStyle(sgbDropDownList);
    Col(1)->PickList = {QStringLiteral("Lähtenyt"), QStringLiteral("Maalissa"), QStringLiteral("Keskeyttänyt")};
    ShowFocused(1, 1);
    SendKey(grid->Widget(), Qt::Key_F2);
    auto* button = EditorWidget()->findChild<QWidget*>(QStringLiteral("sorvexEditButton"));
    ASSERT_NE(button, nullptr);
    const QPoint onButton = button->rect().center();
    QTest::mousePress(button, Qt::LeftButton, {}, onButton);
    ASSERT_TRUE(Editor()->PickListVisible()) << "the press alone drops the list down";
    EXPECT_TRUE(Editor()->ButtonPressed());
    TPopupListbox* list = Editor()->PickListEd();
    const TRect item = list->ItemRect(2);
    const QPoint inList = list->Widget()->mapToGlobal(QPoint(item.Left + 10, item.Top + item.Height() / 2));
    QTest::mouseMove(button, button->mapFromGlobal(inList));
    EXPECT_FALSE(Editor()->ButtonPressed()) << "the list took over the press";
    QTest::mouseRelease(button, Qt::LeftButton, {}, button->mapFromGlobal(inList));
    EXPECT_FALSE(Editor()->PickListVisible());
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("Keskeyttänyt"));
    // a press and release on the button itself leaves the list open
    QTest::mouseClick(button, Qt::LeftButton, {}, onButton);
    EXPECT_TRUE(Editor()->PickListVisible());
    QTest::mouseClick(button, Qt::LeftButton, {}, onButton);
    EXPECT_FALSE(Editor()->PickListVisible()) << "a second press closes it";
    form->Hide();
}

TEST_F(StringGridTest, TheButtonIsHotUnderTheMouse)
{
    Col(1)->SetButtonStyle(sgbDropDownList);
    Col(1)->PickList = {QStringLiteral("a")};
    ShowFocused(1, 1);
    SendKey(grid->Widget(), Qt::Key_F2);
    auto* button = EditorWidget()->findChild<QWidget*>(QStringLiteral("sorvexEditButton"));
    ASSERT_NE(button, nullptr);
    QEnterEvent enter(QPointF(2, 2), button->mapToGlobal(QPointF(2, 2)), button->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(button, &enter);
    EXPECT_TRUE(InplaceButtonHot(Editor()));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_FALSE(InplaceButtonHot(Editor()));
    form->Hide();
}
