// The highlighting memo: the parts its highlights paint, the selection left
// in its own colours, page-break guides and search.
#include "components/base/rMemoEx.h"
#include "components/base/rdlg.h"
#include "platform/ui/Forms.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QPaintEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct MemoFixture : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TrMemoEx* Memo = nullptr;

    void SetUp() override
    {
        Memo = new TrMemoEx(Form.get());
        Memo->SetParent(Form.get());
        Memo->SetBounds(0, 0, 400, 200);
    }

    QStringList Texts()
    {
        QStringList r;
        for (const auto& p : Memo->HighlightParts(0, 100))
            r << p.Text;
        return r;
    }
};

}  // namespace

TEST_F(MemoFixture, WordsWithTheirColoursAndWholeWords)
{
    Memo->SetText(QStringLiteral("key Key\nKEY keyboard"));
    Memo->SetHighlightWords({QStringLiteral("key\t-\t$00FFFF")});
    const auto parts = Memo->HighlightParts(0, 10);
    ASSERT_EQ(parts.size(), 4u);
    for (const auto& p : parts) {
        EXPECT_EQ(p.FontColor, Memo->Font()->Color());
        EXPECT_EQ(p.BrushColor, 0x00FFFF);
    }
    EXPECT_EQ(parts[2].CharIndex, 9);  // the second line starts after CR LF
    Memo->SetHighlightWholeWords(true);
    EXPECT_EQ(Texts(), (QStringList{QStringLiteral("key"), QStringLiteral("Key"), QStringLiteral("KEY")}));
    Memo->SetHighlightWords({QStringLiteral("key")});
    EXPECT_EQ(Memo->HighlightParts(0, 10)[0].BrushColor, Memo->HighlightedBrushColor());
}

TEST_F(MemoFixture, RangesRunOverLines)
{
    Memo->SetText(QStringLiteral("a = 1; /* alku\nkeski\nloppu */ b = 2;\nc /* x */ d"));
    Memo->SetHighlightFromToEx({QStringLiteral("/*\t*/\tRed\t")});
    EXPECT_EQ(Texts(), (QStringList{QStringLiteral("/* alku"), QStringLiteral("keski"), QStringLiteral("loppu */"),
                                    QStringLiteral("/* x */")}));
    EXPECT_EQ(Memo->HighlightParts(0, 10)[0].FontColor, clRed);
    Memo->SetHighlightFromToEx({});
    Memo->SetHighlightFromStr(QStringLiteral("="));
    Memo->SetHighlightToStr(QStringLiteral("#EOL#"));
    EXPECT_EQ(Texts(), (QStringList{QStringLiteral("= 1; /* alku"), QStringLiteral("= 2;")}));
}

TEST_F(MemoFixture, SelectionKeepsItsOwnColours)
{
    Memo->SetText(QStringLiteral("xx avainsana yy"));
    Memo->SetHighlightWords({QStringLiteral("avainsana")});
    Memo->SetSelStart(5);
    Memo->SetSelLength(3);
    EXPECT_EQ(Texts(), (QStringList{QStringLiteral("av"), QStringLiteral("sana")}));
    EXPECT_EQ(Memo->HighlightParts(0, 1)[1].CharIndex, 8);
}

TEST_F(MemoFixture, PageBreakGuidesWithinTheWidth)
{
    Memo->SetPageBreaksCharNumber(QStringLiteral("80;0;-1;10"));
    TCanvas c;
    c.Font()->Assign(*Memo->Font());
    const int x80 = c.TextWidth(QString(80, QLatin1Char('o')));
    EXPECT_EQ(Memo->PageBreakPositions(&c, x80 + 5), (std::vector<int>{x80, c.TextWidth(QStringLiteral("oooooooooo"))}));
    EXPECT_EQ(Memo->PageBreakPositions(&c, x80 - 1).size(), 1u);
    Memo->SetPageBreaksCharNumber(QStringLiteral(";80"));
    EXPECT_TRUE(Memo->PageBreakPositions(&c, 5000).empty());
}

TEST_F(MemoFixture, SearchAsksForTheTextAndFoldsEveryLetter)
{
    Memo->SetText(QStringLiteral("Lähtö ja MAALI, äänekoski"));
    Memo->SetSelStart(2);
    auto old = SetModalHook([](TCustomForm*) { return int(mrCancel); });
    EXPECT_FALSE(Memo->SearchText(QString(), true, true));
    EXPECT_EQ(Memo->SelStart(), 2);
    SetModalHook(old);
    EXPECT_TRUE(Memo->SearchText(QStringLiteral("ÄÄNE"), true, true));
    EXPECT_EQ(Memo->SelStart(), 16);
    EXPECT_EQ(Memo->SelLength(), 4);
    EXPECT_TRUE(Memo->SearchText(QStringLiteral("maali"), true, true));
    EXPECT_EQ(Memo->SelStart(), 9);
}

namespace {

// The area of a widget painted since it was installed.
struct PaintedArea : QObject {
    QRegion Area;
    bool eventFilter(QObject*, QEvent* E) override
    {
        if (E->type() == QEvent::Paint)
            Area += static_cast<QPaintEvent*>(E)->region();
        return false;
    }
};

TMenuItem* ItemWithTag(TMenuItem* Parent, int Tag)
{
    for (int i = 0; i < Parent->Count(); ++i)
        if (Parent->Items(i)->Tag == Tag)
            return Parent->Items(i);
    return nullptr;
}

}  // namespace

// Typing a range mark changes the highlights of the lines below it, which
// the editor itself would not repaint.
TEST_F(MemoFixture, TypingRepaintsTheHighlightsOfTheLinesBelow)
{
    Memo->SetText(QStringLiteral("a\nb\nc\nd */"));
    Memo->SetHighlightFromToEx({QStringLiteral("/*\t*/")});
    Form->SetBounds(0, 0, 420, 220);
    Form->Show();
    Memo->SetFocus();
    Memo->SetSelStart(0);
    QWidget* view = static_cast<QAbstractScrollArea*>(Memo->Widget())->viewport();
    QApplication::processEvents();
    PaintedArea painted;
    view->installEventFilter(&painted);
    QTest::keyClicks(Memo->Widget(), QStringLiteral("/*"));
    QApplication::processEvents();
    view->removeEventFilter(&painted);
    const TPoint lastLine = Memo->PosFromChar(Memo->LineIndex(3));
    const QPoint inView = view->mapFrom(Memo->Widget(), QPoint(lastLine.X + 2, lastLine.Y + 2));
    EXPECT_TRUE(painted.Area.contains(inView)) << "the last line is painted again " << inView.x() << "," << inView.y() << " in "
                                               << painted.Area.boundingRect().x() << "," << painted.Area.boundingRect().y() << " "
                                               << painted.Area.boundingRect().width() << "x" << painted.Area.boundingRect().height();
    EXPECT_EQ(Texts().size(), 4u);
    Form->Hide();
}

// The word wrap item swaps only the scroll bars it owns: both for vertical
// when wrapping, vertical for both when not.
TEST_F(MemoFixture, WordWrapItemSwapsOnlyItsOwnScrollBars)
{
    struct Case {
        TScrollStyle Before;
        bool Wrap;
        TScrollStyle After;
    };
    const Case cases[] = {
        {ssBoth, false, ssVertical},      {ssVertical, true, ssBoth},       {ssNone, false, ssNone},
        {ssNone, true, ssNone},           {ssHorizontal, true, ssHorizontal}, {ssHorizontal, false, ssHorizontal},
        {ssVertical, false, ssVertical},  {ssBoth, true, ssBoth},
    };
    TMenuItem* wrap = ItemWithTag(Memo->Menu()->Items(), 20);
    ASSERT_NE(wrap, nullptr);
    for (const Case& c : cases) {
        Memo->SetWordWrap(c.Wrap);
        Memo->SetScrollBars(c.Before);
        Memo->MenuClick(wrap);
        EXPECT_EQ(Memo->WordWrap(), !c.Wrap);
        EXPECT_EQ(Memo->ScrollBars(), c.After) << c.Before << " wrap " << c.Wrap;
    }
}
