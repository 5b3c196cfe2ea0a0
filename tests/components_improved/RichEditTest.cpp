// The rich text editor: RTF written and read back keeps fonts, sizes,
// colours, styles, alignment, indents, numbering, paragraphs and non-ASCII
// text; RTF from elsewhere reads; the formatting commands.
#include "components/base/rRichEdit.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

struct RichFixture : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TrRichEdit* Edit = nullptr;

    void SetUp() override
    {
        Edit = new TrRichEdit(Form.get());
        Edit->SetParent(Form.get());
        Edit->SetBounds(0, 0, 300, 200);
    }

    void Select(int Start, int Length)
    {
        Edit->SetSelStart(Start);
        Edit->SetSelLength(Length);
    }

    // Writes the content and reads it into a second editor.
    TrRichEdit* RoundTrip()
    {
        auto* other = new TrRichEdit(Form.get());
        other->SetRtfText(Edit->GetRtfText());
        return other;
    }
};

}  // namespace

TEST_F(RichFixture, CharacterFormatsSurviveTheRoundTrip)
{
    Edit->SetText(QStringLiteral("Lihava Kursiivi Alleviivattu Yliviivattu Punainen Iso"));
    struct Format {
        int Start, Length;
        TFontStyles Style;
        TColor Color;
        int Size;
        const char* Font;
    } formats[] = {
        {0, 6, fsBold, clBlack, 10, "Liberation Serif"},
        {7, 8, fsItalic, clBlack, 10, "DejaVu Sans"},
        {16, 12, fsUnderline, clBlack, 10, "DejaVu Sans"},
        {29, 11, fsStrikeOut, clBlack, 10, "DejaVu Sans"},
        {41, 8, fsBold | fsItalic, clRed, 10, "DejaVu Sans"},
        {50, 3, 0, 0x808000, 24, "Liberation Mono"},
    };
    for (const Format& f : formats) {
        Select(f.Start, f.Length);
        Edit->SetSelStyle(f.Style);
        Edit->SetSelColor(f.Color);
        Edit->SetSelFontSize(f.Size);
        Edit->SetSelFontName(QLatin1String(f.Font));
    }
    TrRichEdit* back = RoundTrip();
    EXPECT_EQ(back->Text(), Edit->Text());
    for (const Format& f : formats) {
        back->SetSelStart(f.Start);
        back->SetSelLength(f.Length);
        EXPECT_EQ(back->SelStyle(), f.Style) << f.Start;
        EXPECT_EQ(back->SelColor(), f.Color) << f.Start;
        EXPECT_EQ(back->SelFontSize(), f.Size) << f.Start;
        EXPECT_EQ(back->SelFontName(), QLatin1String(f.Font)) << f.Start;
    }
}

TEST_F(RichFixture, ParagraphsAlignmentIndentsAndNumberingSurvive)
{
    Edit->SetText(QStringLiteral("vasen\nkeski\noikea\nsisennys\nluettelo 1\nluettelo 2\nkirjain\npallo"));
    auto para = [&](int Line) {
        Edit->SetSelStart(Edit->Text().split(QLatin1Char('\n')).mid(0, Line).join(QLatin1Char('\n')).size() + (Line ? 1 : 0));
        Edit->SetSelLength(0);
    };
    para(1);
    Edit->SetParaAlignment(taCenter);
    para(2);
    Edit->SetParaAlignment(taRightJustify);
    para(3);
    Edit->SetParaLeftIndent(40);
    Edit->SetParaFirstIndent(20);
    Edit->SetParaRightIndent(10);
    para(4);
    Edit->SetNumberingEx(2);
    para(5);
    Edit->SetNumberingEx(2);
    para(6);
    Edit->SetNumberingEx(3);
    para(7);
    Edit->SetNumberingEx(1);
    TrRichEdit* back = RoundTrip();
    ASSERT_EQ(back->Text(), Edit->Text());
    struct Expect {
        int Line;
        TAlignment Align;
        int Left, First, Right, Numbering;
    } expected[] = {
        {0, taLeftJustify, 0, 0, 0, 0}, {1, taCenter, 0, 0, 0, 0},     {2, taRightJustify, 0, 0, 0, 0},
        {3, taLeftJustify, 40, 20, 10, 0}, {4, taLeftJustify, 10, 10, 0, 2}, {5, taLeftJustify, 10, 10, 0, 2},
        {6, taLeftJustify, 10, 10, 0, 3}, {7, taLeftJustify, 10, 10, 0, 1},
    };
    const QStringList lines = back->Text().split(QLatin1Char('\n'));
    for (const Expect& e : expected) {
        back->SetSelStart(lines.mid(0, e.Line).join(QLatin1Char('\n')).size() + (e.Line ? 1 : 0));
        back->SetSelLength(0);
        EXPECT_EQ(back->ParaAlignment(), e.Align) << e.Line;
        EXPECT_EQ(back->ParaLeftIndent(), e.Left) << e.Line;
        EXPECT_EQ(back->ParaFirstIndent(), e.First) << e.Line;
        EXPECT_EQ(back->ParaRightIndent(), e.Right) << e.Line;
        EXPECT_EQ(back->NumberingEx(), e.Numbering) << e.Line;
    }
}

TEST_F(RichFixture, NonAsciiTextIsWrittenAsUnicodeEscapes)
{
    const QString text = QStringLiteral("Äänekoski – Ölkky {kulma} \\ polku\tsarkain €");
    Edit->SetText(text);
    const QString rtf = Edit->GetRtfText();
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\u196?")));   // Ä
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\u8364?")));  // €
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\{kulma\\}")));
    for (QChar ch : rtf)
        EXPECT_LT(ch.unicode(), 0x80);
    EXPECT_EQ(RoundTrip()->Text(), text);
}

TEST_F(RichFixture, ReadsRtfWrittenElsewhere)
{
    // as a word processor writes it: code page hex escapes, a style sheet to skip, \plain
    const QString rtf = QStringLiteral(
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
        "{\\colortbl ;\\red255\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}{\\*\\generator Muu 1.0;}"
        "\\pard\\qc\\f1\\fs28 Otsikko\\par\\pard\\plain\\f0\\fs20 Hyv\\'e4 \\b py\\'f6r\\'e4\\b0  ja \\cf1 punainen\\cf0\\par}");
    Edit->SetRtfText(rtf);
    EXPECT_EQ(Edit->Text(), QStringLiteral("Otsikko\nHyvä pyörä ja punainen"));
    Edit->SetSelStart(0);
    EXPECT_EQ(Edit->ParaAlignment(), taCenter);
    Select(1, 1);
    EXPECT_EQ(Edit->SelFontSize(), 14);
    Select(13, 4);
    EXPECT_EQ(Edit->SelStyle(), fsBold);
    Select(25, 8);
    EXPECT_EQ(Edit->SelColor(), clRed);
    EXPECT_EQ(Edit->SelStyle(), 0u);
    // plain text is taken as it is
    Edit->SetRtfText(QStringLiteral("pelkkä teksti"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("pelkkä teksti"));
}

TEST_F(RichFixture, FontSizeAndIndentCommands)
{
    Edit->SetText(QStringLiteral("teksti"));
    Edit->SelectAll();
    Edit->SetSelFontSize(11);
    EXPECT_TRUE(Edit->IncreaseFontSize(0));
    EXPECT_EQ(Edit->SelFontSize(), 12);
    Edit->SetSelFontSize(120);
    EXPECT_FALSE(Edit->IncreaseFontSize(0));
    EXPECT_EQ(Edit->SelFontSize(), 120);
    Edit->SetSelFontSize(24);
    EXPECT_TRUE(Edit->DecreaseFontSize(0));
    EXPECT_EQ(Edit->SelFontSize(), 21);
    Edit->SetSelFontSize(5);
    EXPECT_FALSE(Edit->DecreaseFontSize(0));
    EXPECT_TRUE(Edit->SwitchBulletNumbers());
    EXPECT_EQ(Edit->NumberingEx(), 2);
    EXPECT_FALSE(Edit->SwitchBulletNumbers());
    EXPECT_EQ(Edit->NumberingEx(), 0);
    EXPECT_EQ(Edit->ParaLeftIndent(), 0);
    EXPECT_EQ(Edit->ParaFirstIndent(), 0);
    EXPECT_FALSE(Edit->DecreaseIndent(10));
    EXPECT_TRUE(Edit->IncreaseIndent(10));
    EXPECT_EQ(Edit->ParaLeftIndent(), 10);
    EXPECT_EQ(Edit->ParaFirstIndent(), 10);
    Edit->SwitchFontStyle(fsBold);
    EXPECT_EQ(Edit->SelStyle(), fsBold);
    Edit->SwitchFontStyle(fsBold);
    EXPECT_EQ(Edit->SelStyle(), 0u);
}

TEST_F(RichFixture, TextHeightAndDrawingWithEllipsis)
{
    TRect r = Rect(0, 0, 200, 10);
    Edit->CalculateTextHeight(r);
    EXPECT_EQ(r.Bottom, 10);  // empty: unchanged
    Edit->SetText(QStringLiteral("rivi 1\nrivi 2\nrivi 3\nrivi 4"));
    Edit->CalculateTextHeight(r);
    EXPECT_GT(r.Bottom, 40);
    TBitmap target(200, 20);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 200, 20));
    Edit->Font()->SetColor(clBlack);
    Edit->DrawToCanvas(Rect(0, 0, 200, 20), 0, 0, target.Canvas(), true);
    EXPECT_EQ(target.Pixel(181, 13), clBlack);  // the first square of the ellipsis
}

TEST_F(RichFixture, InsertAndAddSelectTheirText)
{
    Edit->SetText(QStringLiteral("alku loppu"));
    Edit->AddSelectText(QStringLiteral(" lisä"));
    EXPECT_EQ(Edit->SelText(), QStringLiteral(" lisä"));
    Select(5, 5);
    Edit->InsertSelectText(QStringLiteral("keski "), false, true);
    EXPECT_EQ(Edit->Text(), QStringLiteral("alku keski loppu lisä"));
    EXPECT_EQ(Edit->SelText(), QStringLiteral("keski "));
    Edit->InsertSelectText(QStringLiteral("KESKI "), true, false);
    EXPECT_EQ(Edit->Text(), QStringLiteral("alku KESKI loppu lisä"));
}

TEST_F(RichFixture, SearchFindsAMatchRightAfterTheLastOne)
{
    Edit->SetText(QStringLiteral("abab ABAB"));
    EXPECT_TRUE(Edit->SearchText(QStringLiteral("ab"), true, true));
    EXPECT_EQ(Edit->SelStart(), 0);
    EXPECT_TRUE(Edit->SearchNext());
    EXPECT_EQ(Edit->SelStart(), 2);
    EXPECT_TRUE(Edit->SearchNext());
    EXPECT_EQ(Edit->SelStart(), 5);
}
