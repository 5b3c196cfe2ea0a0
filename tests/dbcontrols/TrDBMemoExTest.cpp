// The markup memo over a run's notes: format commands in RTF and HTML,
// highlights and page-break marks, its buttons and format menu, the keys
// (typed as real key events) and the edit window.

#include "components/dbcontrols/TrDBMemoEx.h"
#include "components/base/rdlg.h"
#include "platform/ui/Menus.h"
#include "resources/DBControlsTexts.h"
#include "tests/dbcontrols/RunFixture.h"

#include <QTest>
#include <QWidget>
#include <stdexcept>

namespace {

class MemoExTest : public RunFixture {
protected:
    TrDBMemoEx* MakeMemo(const QString& Text, TFormatType Type = ftRTF)
    {
        auto* m = Make<TrDBMemoEx>(20, 40, 400, 160);
        m->SetDataSource(&src, QStringLiteral("NOTES"));
        m->FormatType = Type;
        m->CreateFormatPopupMenu();
        runs.Edit();
        m->SetText(Text);
        return m;
    }
    static void Select(TrDBMemoEx* M, int Start, int Length)
    {
        M->SetSelStart(Start);
        M->SetSelLength(Length);
    }
    static QStringList Texts(TrDBMemoEx* M)
    {
        QStringList r;
        for (const auto& p : M->Highlights().Parts(M, 0, 100))
            r << p.Text;
        return r;
    }
};

TEST_F(MemoExTest, FormatCommandsWrapTheSelectionOrInsertAtTheCaret)
{
    auto* m = MakeMemo(QStringLiteral("x abc y"));
    Select(m, 2, 4);  // "abc " with its trailing blank
    m->FormatBold();
    EXPECT_EQ(m->Text(), QStringLiteral("x \\b abc\\b0  y")) << "the blank stays outside";
    EXPECT_EQ(m->SelStart(), 2 + 3 + 3 + 4) << "the caret behind the closer";
    m->SetText(QStringLiteral("ab"));
    Select(m, 1, 0);
    m->FormatItalic();
    EXPECT_EQ(m->Text(), QStringLiteral("a\\i \\i0 b")) << "an empty selection gets both marks";
    m->FormatNewPage();
    EXPECT_TRUE(m->Text().contains(QStringLiteral("\\page ")));
    m->FormatClear();
    EXPECT_EQ(m->Text(), QStringLiteral("ab"));
    runs.Cancel();
}

TEST_F(MemoExTest, HtmlListsLineEndsAndClearing)
{
    auto* m = MakeMemo(QStringLiteral("yksi\r\nkaksi"), ftHTML);
    Select(m, 0, int(m->Text().size()));
    m->FormatHTMLUnnumberedList();
    EXPECT_EQ(m->Text(), QStringLiteral("<UL>\r\n<LI>yksi</LI>\r\n<LI>kaksi</LI>\r\n</UL>\r\n"));
    m->SetText(QStringLiteral("a\r\n\r\nb<BR>"));
    m->FormatHTMLNewLinesAuto();
    m->FormatHTMLNewLinesAuto();
    EXPECT_EQ(m->Text(), QStringLiteral("a<br>\r\n<br>\r\nb<BR>\r\n")) << "once per line, empty lines too";
    m->SetText(QStringLiteral("x"));
    Select(m, 0, 1);
    m->FormatHTMLNumberedList();
    EXPECT_EQ(m->Text(), QStringLiteral("<LI>x</LI>")) << "one line: only the item marks";
    Select(m, 0, 0);
    m->FormatHTMLLink();
    m->FormatHTMLHorLine();
    m->FormatUnderline();
    m->FormatClear();
    EXPECT_EQ(m->Text(), QStringLiteral("x"));
    runs.Cancel();
    // Nothing changes while the dataset cannot be edited.
    src.SetAutoEdit(false);
    const QString before = m->Text();
    m->FormatBold();
    EXPECT_EQ(m->Text(), before);
}

TEST_F(MemoExTest, HighlightsOverLinesAndPageBreakMarks)
{
    auto* m = MakeMemo(QStringLiteral("a [b] [c]\r\n[alku\r\nloppu] z"));
    m->SetHighlightFromStr(QStringLiteral("["));
    m->SetHighlightToStr(QStringLiteral("]"));
    EXPECT_EQ(Texts(m), (QStringList{QStringLiteral("[b]"), QStringLiteral("[c]"), QStringLiteral("[alku"), QStringLiteral("loppu]")}))
        << "two ranges on one line; one over two lines";
    m->SetHighlightFromStr(QString());
    m->SetHighlightWords({QStringLiteral("aa\t-\t-")});
    m->SetText(QStringLiteral("aaa"));
    const auto parts = m->Highlights().Parts(m, 0, 10);
    ASSERT_EQ(parts.size(), 2u) << "overlapping occurrences count";
    EXPECT_EQ(parts[0].FontColor, m->Font()->Color());
    EXPECT_EQ(parts[0].BrushColor, clNone);

    TCanvas c;
    c.Font()->Assign(*m->Font());
    const int x60 = c.TextWidth(QString(60, QLatin1Char('o'))), x80 = c.TextWidth(QString(80, QLatin1Char('o')));
    const struct {
        const char* spec;
        std::vector<int> marks;
    } cases[] = {{"60;80", {x60, x80}}, {"0;80", {x80}}, {"60;;80", {x60}}};
    for (const auto& k : cases) {
        m->SetPageBreaksCharNumber(QLatin1String(k.spec));
        EXPECT_EQ(m->Highlights().PageBreakPositions(&c, x80 + 10), k.marks) << k.spec;
    }
    EXPECT_TRUE(m->Highlights().PageBreakPositions(&c, x60).empty()) << "a mark on the edge is not drawn";
    runs.Cancel();
}

TEST_F(MemoExTest, ButtonsMenuKeysAndTheEditWindow)
{
    auto* m = MakeMemo(QStringLiteral("abc"));
    EXPECT_FALSE(m->ButtonFrm()->Visible()) << "the format button is asked for";
    EXPECT_TRUE(m->ButtonEdit()->Visible());
    m->SetShowButtonFrm(true);
    TBoundSpeedButton* e = m->ButtonEdit();
    TBoundSpeedButton* f = m->ButtonFrm();
    EXPECT_EQ(e->Left() + e->Width(), m->Left() + m->Width());
    EXPECT_EQ(e->Top() + e->Height(), m->Top());
    EXPECT_EQ(f->Left() + f->Width() + 2, e->Left());
    EXPECT_EQ(m->BoundLabel()->Name(), QStringLiteral("SubLabel"));
    QStringList rtf;
    for (int i = 0; i < m->FormatPopupMenu()->Items()->Count(); ++i)
        rtf << m->FormatPopupMenu()->Items()->Items(i)->Caption();
    EXPECT_EQ(rtf, (QStringList{QStringLiteral("Format selected text"), QStringLiteral("-"), QStringLiteral("Bold"), QStringLiteral("Italic"),
                                QStringLiteral("Underline"), QStringLiteral("-"), QStringLiteral("Insert end of page"), QStringLiteral("-"),
                                QStringLiteral("Clear all formats")}));

    // The format button drops its menu down; Italic from it.
    Select(m, 0, 3);
    auto oldPopup = TPopupMenu::PopupHook;
    TPopupMenu::PopupHook = [](TPopupMenu* P) {
        for (int i = 0; i < P->Items()->Count(); ++i)
            if (P->Items()->Items(i)->Caption() == QLatin1String("Italic"))
                P->Items()->Items(i)->Click();
    };
    QTest::mouseClick(f->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    TPopupMenu::PopupHook = oldPopup;
    EXPECT_EQ(m->Text(), QStringLiteral("\\i abc\\i0 "));
    m->SetText(QStringLiteral("abc"));

    // Ctrl+B while the format button shows.
    Select(m, 0, 3);
    QTest::keyClick(m->Widget(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(m->Text(), QStringLiteral("\\b abc\\b0 "));

    // F2 opens the window; its memo shows the same text, Escape closes it.
    m->UpdateRecord();
    QString shown;
    bool closeOnCancel = false;
    auto old = SetModalHook([&](TCustomForm* F) {
        for (int i = 0; i < F->ComponentCount(); ++i)
            if (auto* w = dynamic_cast<TrDBMemoEx*>(F->Components(i))) {
                shown = w->Text();
                closeOnCancel = w->CloseOnCancel;
                EXPECT_FALSE(w->ButtonEdit()->Visible());
            }
        return int(mrOk);
    });
    QTest::keyClick(m->Widget(), Qt::Key_F2);
    SetModalHook(old);
    EXPECT_EQ(shown, QStringLiteral("\\b abc\\b0 "));
    EXPECT_TRUE(closeOnCancel);
    runs.Cancel();
}

// A field that refuses the typed text keeps the window shut: the user is told
// why, and the text stays in the memo.
TEST_F(MemoExTest, TheWindowStaysShutWhenTheFieldRefusesTheTextAndSaysWhy)
{
    auto* m = MakeMemo(QStringLiteral("Hyvä"));
    m->UpdateRecord();
    F("NOTES")->OnValidate = [](TField*) { throw std::runtime_error("liian pitkä teksti"); };
    QTest::keyClick(m->Widget(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(m->Widget(), QStringLiteral(" juoksu"));
    ASSERT_EQ(m->Text(), QStringLiteral("Hyvä juoksu"));
    int windows = 0;
    QStringList boxes;
    auto oldModal = SetModalHook([&](TCustomForm* F) {
        if (!dynamic_cast<TrDlgForm*>(F)) {
            ++windows;
            return int(mrOk);
        }
        QStringList lines;
        for (int i = 0; i < F->ComponentCount(); ++i)
            if (auto* c = dynamic_cast<TControl*>(F->Components(i)); c && !c->Caption().isEmpty())
                lines << c->Caption();
        boxes << lines.join(QLatin1Char('\n'));
        return int(mrOk);
    });
    QTest::keyClick(m->Widget(), Qt::Key_F2);
    SetModalHook(oldModal);
    F("NOTES")->OnValidate = nullptr;
    EXPECT_EQ(windows, 0);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(dbctltxt::EditWinTextNotSaved)) << boxes[0].toStdString();
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("liian pitkä teksti"))) << "the field's own reason";
    EXPECT_EQ(m->Text(), QStringLiteral("Hyvä juoksu")) << "nothing typed is lost";
    EXPECT_EQ(F("NOTES")->AsString(), QStringLiteral("Hyvä"));
    runs.Cancel();
}

}  // namespace
