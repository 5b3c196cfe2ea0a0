// The highlighting memo: the parts its highlights paint, the selection left
// in its own colours, page-break guides and search.
#include "components/base/rMemoEx.h"
#include "components/base/rdlg.h"
#include "platform/ui/Forms.h"

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
