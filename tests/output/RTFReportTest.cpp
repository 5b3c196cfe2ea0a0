#include "components/output/TRTFReport2.h"
#include "components/output/RtfPlainText.h"

#include "platform/database/ClientDataSet.h"
#include "platform/rtl/Exception.h"
#include "resources/ReportTexts.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Runners: name, middle name, age, group, price, quantity, code, member, memo.
std::unique_ptr<TClientDataSet> Runners(int Rows = 3)
{
    auto ds = std::make_unique<TClientDataSet>();
    ds->SetName(QStringLiteral("Runners"));
    ds->AddField(QStringLiteral("NAME"), ftString, 40);
    ds->AddField(QStringLiteral("MIDDLE"), ftString, 40);
    ds->AddField(QStringLiteral("AGE"), ftInteger);
    ds->AddField(QStringLiteral("GRP"), ftInteger);
    ds->AddField(QStringLiteral("PRICE"), ftFloat);
    ds->AddField(QStringLiteral("QTY"), ftInteger);
    ds->AddField(QStringLiteral("CODE"), ftString, 20);
    ds->AddField(QStringLiteral("MEMBER"), ftBoolean);
    ds->AddField(QStringLiteral("NOTE"), ftMemo);
    ds->CreateDataSet();
    const QVariantList rows[] = {
        {QStringLiteral("Ann"), QString(), 15, 1, 10.5, 2, QStringLiteral("ABCDEF"), true, QStringLiteral("line one\r\nline two")},
        {QStringLiteral("Bob"), QStringLiteral("J"), 30, 1, 20.0, 1, QStringLiteral("AB-12/7"), false, QVariant()},
        {QStringLiteral("Cy"), QString(), 42, 2, 5.25, 4, QStringLiteral("aNN marIE"), true, QStringLiteral("Väinö")},
        {QStringLiteral("Dee"), QString(), 12, 2, 1.0, 1, QStringLiteral("x"), false, QVariant()},
        {QStringLiteral("Eve"), QString(), 50, 3, 2.0, 3, QStringLiteral("y"), true, QVariant()},
    };
    for (int i = 0; i < Rows; ++i)
        ds->AppendRecord(rows[i]);
    ds->First();
    return ds;
}

class RTFReport : public ::testing::Test {
protected:
    // Runs a template given as text and returns what was written.
    QString Run(const QString& Template, const std::vector<TDataSet*>& DataSets, bool Rtf = false)
    {
        Report.TemplateFormat = Rtf ? tfRTF : tfText;
        Report.ActionAfter = aaNone;
        Report.OutputFile = Dir.filePath(QStringLiteral("out.txt"));
        Report.OnGetTemplateStr = [Template](TComponent*, QString& T) { T = Template; };
        Report.Execute(DataSets);
        QFile f(Report.OutputFile);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return QString::fromUtf8(f.readAll());
    }
    QString Error(const QString& Template, const std::vector<TDataSet*>& DataSets)
    {
        try {
            Run(Template, DataSets);
        } catch (const Exception& e) {
            return e.Message();
        }
        return QStringLiteral("(no error)");
    }
    QTemporaryDir Dir;
    TRTFReport2 Report;
};

struct TagCase {
    const char* Template;
    const char* Expected;
};

TEST_F(RTFReport, TagsGiveTheirValues)
{
    auto a = Runners();
    const TagCase cases[] = {
        {"\\\\A.NAME\\\\", "Ann"},
        {"\\\\a.NAME\\\\", "\\\\a.NAME\\\\"},
        {"\\\\X\\\\", "\\\\X\\\\"},
        {"\\\\* MERGEFORMAT \\\\", "\\\\* MERGEFORMAT \\\\"},
        {"[\\\\A.CODE:<4\\\\]", "[ABCD]"},
        {"[\\\\A.NAME:<5\\\\]", "[Ann  ]"},
        {"[\\\\A.NAME:>5\\\\]", "[  Ann]"},
        {"[\\\\A.PRICE:>8:0.00\\\\]", "[   10,50]"},
        {"\\\\A.MEMBER:yes;no\\\\", "yes"},
        {"\\\\A.AGE:label\\\\", "AGE"},
        {"\\\\A.#\\\\/\\\\A.##\\\\", "1/3"},
        {"\\\\A.#1\\\\", ""},
        {"\\\\defvar(TITLE, \"Results\")\\\\\\\\TITLE\\\\", "Results"},
        {"\\\\defvar(TT, \"a\")\\\\\\\\defvar(TT, \"b\")\\\\\\\\TT\\\\", "b"},
        {"\\\\seplist(\", \", A.NAME, A.MIDDLE, A.CODE)\\\\", "Ann, ABCDEF"},
        {"\\\\firstvalue(A.MIDDLE, A.NAME)\\\\", "Ann"},
        {"\\\\str_part(A.CODE, 2, 3)\\\\", "BCD"},
        {"\\\\str_upper(A.NAME)\\\\", "ANN"},
        {"\\\\str_replace(A.CODE, \"abc\", \"x\")\\\\", "xDEF"},
        {"\\\\case(A.AGE;>=18, \"adult\";#ELSE#, \"junior\")\\\\", " \"junior\""},
        {"\\\\numtotext(\"121,50\"):short;;EN\\\\", "One Hundred Twenty One Dollars Fifty Cents"},
        {"\\\\=2+3*4\\\\ \\\\=10-4-3\\\\ \\\\=24/4/2\\\\ \\\\=(10-4)-3\\\\", "14 3 3 3"},
        {"\\\\=-5\\\\ \\\\=abs[-5]\\\\ \\\\=2*(0-3)\\\\", "-5 5 -6"},
        {"\\\\=A.PRICE*A.QTY:0.0\\\\", "21,0"},
        {"\\\\=strlen[A.CODE]\\\\ \\\\=strpos[A.CODE,\"cd\"]\\\\", "6 3"},
    };
    for (const auto& c : cases) {
        a->First();
        EXPECT_EQ(Run(QString::fromUtf8(c.Template), {a.get()}), QString::fromUtf8(c.Expected)) << c.Template;
    }
    a->Next();
    EXPECT_EQ(Run(QStringLiteral("\\\\str_part(A.CODE, \"-\", \"/\")\\\\"), {a.get()}), QStringLiteral("-12"));
    a->Next();
    EXPECT_EQ(Run(QStringLiteral("\\\\str_proper(A.CODE)\\\\"), {a.get()}), QStringLiteral("Ann Marie"));
    EXPECT_EQ(Run(QStringLiteral("\\\\B.NAME\\\\"), {a.get()}), reptxt::UnknownDataset);
    a->Close();
    EXPECT_EQ(Run(QStringLiteral("\\\\A.NAME\\\\"), {a.get()}), reptxt::ClosedDataset);
}

TEST_F(RTFReport, FailingFieldsFollowTheSettings)
{
    auto a = Runners();
    EXPECT_TRUE(Run(QStringLiteral("\\\\A.NOPE\\\\"), {a.get()}).startsWith(QStringLiteral("?NOPE?")));
    Report.FieldNotFoundValue = QStringLiteral("-");
    EXPECT_EQ(Run(QStringLiteral("\\\\A.NOPE\\\\"), {a.get()}), QStringLiteral("-"));
    Report.RaiseUnknownField = true;
    EXPECT_EQ(Error(QStringLiteral("\\\\A.NOPE\\\\"), {a.get()}),
              reptxt::BadFormat + QStringLiteral("\nCalculation error in database field \"NOPE\"."));
}

TEST_F(RTFReport, ConditionsKeepTheirGrouping)
{
    auto a = Runners();
    Report.Variables.Add(QStringLiteral("X=1"));
    Report.Variables.Add(QStringLiteral("Y=0"));
    Report.Variables.Add(QStringLiteral("Z=0"));
    Run(QStringLiteral("x"), {a.get()});  // hands A over
    const std::pair<const char*, bool> cases[] = {
        {"X=1 or Y=2 and Z=3", false},
        {"not X=1 or Y=2", false},
        {"X=1 or (Y=2 and Z=3)", true},
        {"A.NAME=\"ann\"", true},
        {"A.NAME==\"ann\"", false},
        {"A.AGE>=15", true},
        {"A.AGE<9", false},
        {"\"TRUE\"", true},
        {"A.MEMBER", true},
        {"A.0", false},
    };
    for (const auto& [cond, expected] : cases)
        EXPECT_EQ(Report.GetConditionResult(QString::fromUtf8(cond)), expected) << cond;
    // Templates decide through the same rules.
    EXPECT_EQ(Run(QStringLiteral("\\\\if(A.NAME=\"Ann\")\\\\yes\\\\elseif\\\\no\\\\endif\\\\"), {a.get()}), QStringLiteral("yes"));
    for (const char* bad : {"TRUE", "A.NAME=smith", "(A.AGE+1)>2"})
        EXPECT_TRUE(Error(QStringLiteral("\\\\if(%1)\\\\y\\\\endif\\\\").arg(QString::fromLatin1(bad)), {a.get()})
                        .contains(QStringLiteral("Calculation error in function")))
            << bad;
}

TEST_F(RTFReport, ScanBlocksRepeatRowsWithTheirOptions)
{
    auto a = Runners(5);
    const TagCase cases[] = {
        {"\\\\scan(A)\\\\\\\\A.NAME\\\\, \\\\endscan(A)\\\\", "Ann, Bob, Cy, Dee, Eve, "},
        {"\\\\scan(A);sep(, )\\\\\\\\A.NAME\\\\\\\\endscan(A)\\\\", "Ann, Bob, Cy, Dee, Eve"},
        {"\\\\scan(A);maxrows(2);sep(,)\\\\\\\\A.NAME\\\\\\\\endscan(A)\\\\", "Ann,Bob"},
        {"\\\\scan(A);skipif(A.AGE<18);sep(,)\\\\\\\\A.NAME\\\\\\\\endscan(A)\\\\", "Bob,Cy,Eve"},
        {"\\\\scan(A);while(A.GRP=1);sep(,)\\\\\\\\A.NAME\\\\\\\\endscan(A)\\\\|"
         "\\\\scan(A);nofirst;sep(,)\\\\\\\\A.NAME\\\\\\\\endscan(A)\\\\",
         "Ann,Bob|Cy,Dee,Eve"},
        {"Head \\\\scan(A);calc(PRICE, TOTAL=A.PRICE*A.QTY)\\\\H\\\\scanentry(A)\\\\.\\\\scanfooter(A)\\\\"
         "\\\\=Sum[A.PRICE]\\\\/\\\\=Avg[TOTAL]:0.00\\\\/\\\\=Count[TOTAL]\\\\\\\\endscan(A)\\\\",
         "Head H.....38,75/13,80/5"},
        {"\\\\scan(A);sep(|)\\\\\\\\iif(A.AGE>40)\\\\old\\\\elseiif\\\\\\\\iif(A.AGE<13)\\\\kid\\\\elseiif\\\\mid\\\\endiif\\\\\\\\endiif\\\\\\\\endscan(A)\\\\",
         "mid|mid|old|kid|old"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Run(QString::fromUtf8(c.Template), {a.get()}), QString::fromUtf8(c.Expected)) << c.Template;

    auto two = Runners(2);
    EXPECT_EQ(Run(QStringLiteral("\\\\scan(A);minrows(4)\\\\[\\\\A.NAME\\\\]\\\\endscan(A)\\\\"), {two.get()}),
              QStringLiteral("[Ann][Bob][][]"));
    auto none = Runners(0);
    EXPECT_EQ(Run(QStringLiteral("\\\\scan(A)\\\\H\\\\scanentry(A)\\\\r\\\\scanfooter(A)\\\\F\\\\endscan(A)\\\\"), {none.get()}),
              QStringLiteral("HF"));
    EXPECT_EQ(Run(QStringLiteral("x\\\\scan(A);noifempty\\\\H\\\\scanentry(A)\\\\r\\\\scanfooter(A)\\\\F\\\\endscan(A)\\\\"), {none.get()}),
              QStringLiteral("x"));
}

TEST_F(RTFReport, TemplateErrorsNameWhatIsWrong)
{
    auto a = Runners();
    const std::pair<const char*, const char*> cases[] = {
        {"\\\\scan(A)\\\\x", "\"endscan(A)\" not found."},
        {"\\\\scan(AB)\\\\x\\\\endscan(AB)\\\\", "Incorrect dataset \"AB\", (A..Z allowed)"},
        {"\\\\scan(A);sideways\\\\x\\\\endscan(A)\\\\", "Incorrect tag \"scan(A);sideways\"."},
        {"\\\\=Sum[A.NOTHING]\\\\", "Calculation error in database field \"A.NOTHING\"."},
        {"\\\\=(1+2\\\\", "Bracket error in function: \"=(1+2\"."},
        {"\\\\str_part(A.NAME, 1, 2, 3)\\\\", "Calculation error in function"},
    };
    for (const auto& [tmpl, text] : cases) {
        const QString e = Error(QString::fromUtf8(tmpl), {a.get()});
        EXPECT_TRUE(e.startsWith(reptxt::BadFormat + QLatin1Char('\n'))) << tmpl << " " << e.toStdString();
        EXPECT_TRUE(e.contains(QString::fromUtf8(text))) << tmpl << " " << e.toStdString();
    }
    std::vector<TDataSet*> many(27, a.get());
    EXPECT_EQ(Error(QStringLiteral("x"), many), reptxt::TooManyDatasets);
    // A scan without dataset that nothing stops ends with an error instead of growing without bound.
    EXPECT_TRUE(Error(QStringLiteral("\\\\scan()\\\\x\\\\endscan()\\\\"), {a.get()}).contains(QStringLiteral("stopped after")));
}

TEST_F(RTFReport, RtfTemplatesAreNormalisedAndEscaped)
{
    auto a = Runners(3);
    // A bold group opened inside the typed tag moves in front of the value.
    EXPECT_EQ(Run(QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 Arial;}}\\\\{\\b A.NAME\\\\}}"), {a.get()}, true),
              QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 Arial;}}\\b {Ann}}"));
    Report.DefaultCharset = 238;
    a->Last();
    const QString out = Run(QStringLiteral("{\\rtf1{\\fonttbl{\\f0\\fcharset0 Arial;}}\\\\A.NOTE\\\\\r\n\\\\A.NAME\\\\}"), {a.get()}, true);
    EXPECT_EQ(out.toStdString(), QStringLiteral("{\\rtf1{\\fonttbl{\\f0\\fcharset238 Arial;}}V\\u228?in\\u246?Cy}").toStdString());
    a->First();
    EXPECT_EQ(Run(QStringLiteral("{\\rtf1 \\\\A.NOTE\\\\}"), {a.get()}, true), QStringLiteral("{\\rtf1 line one\\par line two}"));
    // A line break that ends a control word still ends it once the breaks are gone.
    EXPECT_EQ(Run(QStringLiteral("{\\rtf1 x\\par\r\n\\\\A.#\\\\. \\\\A.NA\r\nME\\\\\\par\r\nx\\\\par\r\ny}"), {a.get()}, true),
              QStringLiteral("{\\rtf1 x\\par 1. Ann\\par x\\\\pary}"));

    TStringList all, suspicious;
    const QString tmpl = Dir.filePath(QStringLiteral("t.rtf"));
    QFile f(tmpl);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\\rtf1 \\\\A.NAME\\\\ \\\\{A}.NAME\\\\ {\\pict \\\\A.X\\\\ }}");
    f.close();
    Report.ReportFile = tmpl;
    Report.TemplateFormat = tfRTF;
    Report.ExtractCheckTags(&all, &suspicious, true);
    EXPECT_EQ(all.ToQStringList(), (QStringList{QStringLiteral("A.NAME"), QStringLiteral("{A}.NAME")}));
    EXPECT_EQ(suspicious.ToQStringList(), QStringList{QStringLiteral("{A}.NAME")});
}

TEST_F(RTFReport, BracesAndBackslashesInTheDataPrintAsThemselves)
{
    auto a = Runners(3);
    a->First();
    a->Edit();
    a->FieldByName(QStringLiteral("NAME"))->SetAsString(QStringLiteral("Team {A} \\par B"));
    a->FieldByName(QStringLiteral("NOTE"))->SetAsString(QStringLiteral("lone } and C:\\new"));
    a->Post();
    a->Next();
    a->Edit();
    a->FieldByName(QStringLiteral("NAME"))->SetAsString(QStringLiteral("}"));
    a->Post();
    const QString out = Run(QStringLiteral("{\\rtf1\\ansi \\\\scan(A)\\\\\\\\A.NAME\\\\|\\\\A.NOTE\\\\\\par "
                                           "\\\\endscan(A)\\\\End\\par}"),
                            {a.get()}, true);
    // one paragraph per runner and the end mark: nothing of the data acts as markup
    const QStringList lines = RtfToPlainText(out).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << out.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Team {A} \\par B|lone } and C:\\new"));
    EXPECT_EQ(lines[1], QStringLiteral("}|"));
    EXPECT_EQ(lines[3], QStringLiteral("End"));
    // a condition sees the data, not its escaped form
    a->First();
    EXPECT_EQ(Run(QStringLiteral("{\\rtf1 \\\\if(A.NAME=\"Team \\'7bA\\'7d \\'5cpar B\")\\\\yes\\\\elseif\\\\no\\\\endif\\\\}"),
                  {a.get()}, true),
              QStringLiteral("{\\rtf1 yes}"));
}

TEST_F(RTFReport, SavingHooksAndPostProcessing)
{
    auto a = Runners();
    Report.OnModifyBeforeSave = [this](TComponent*, QString& text) {
        Report.FormatText(text, QStringLiteral("Total"), frmBold, true);
        Report.ReplaceText(text, QStringLiteral("m2"), QStringLiteral("m\\^2\\="), false);
    };
    EXPECT_EQ(Run(QStringLiteral("{\\rtf1 Total Totals 5 m2}"), {a.get()}, true),
              QStringLiteral("{\\rtf1 \\b Total\\b0  Totals 5 m\\super 2\\nosupersub }"));

    // Emptied by the hook: nothing is written.
    Report.OnModifyBeforeSave = [](TComponent*, QString& text) { text.clear(); };
    QFile::remove(Dir.filePath(QStringLiteral("out.txt")));
    Report.TemplateFormat = tfText;
    Report.ActionAfter = aaNone;
    Report.OutputFile = Dir.filePath(QStringLiteral("out.txt"));
    Report.OnGetTemplateStr = [](TComponent*, QString& T) { T = QStringLiteral("x"); };
    Report.Execute({a.get()});
    EXPECT_FALSE(QFile::exists(Report.OutputFile));
    Report.OnModifyBeforeSave = nullptr;

    // Plain text appends when asked.
    Report.AppendToFile = true;
    Run(QStringLiteral("one;"), {a.get()});
    EXPECT_EQ(Run(QStringLiteral("two;"), {a.get()}), QStringLiteral("one;two;"));

    // A run aborted by the host writes nothing.
    Report.AppendToFile = false;
    Report.OnReportProcess = [](TComponent*, int, bool& abort) { abort = true; };
    EXPECT_EQ(Error(QStringLiteral("three"), {a.get()}), reptxt::ActionAborted);
    Report.OnReportProcess = nullptr;

    // An output folder that does not exist fails with the save text.
    Report.OutputFile = Dir.filePath(QStringLiteral("missing/out.txt"));
    Report.OnGetTemplateStr = [](TComponent*, QString& T) { T = QStringLiteral("x"); };
    try {
        Report.Execute({a.get()});
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Error during saving file"))) << e.Message().toStdString();
    }
}

TEST_F(RTFReport, InfoAndInsertedFiles)
{
    auto a = Runners();
    QFile part(Dir.filePath(QStringLiteral("part.txt")));
    ASSERT_TRUE(part.open(QIODevice::WriteOnly));
    part.write("Name: \\\\A.NAME\\\\\n");
    part.close();
    Report.ReportFile = Dir.filePath(QStringLiteral("main.txt"));
    const QString out = Run(QStringLiteral("\\\\info(DefaultNumericFormat=0.000)\\\\\\\\info(Custom=1)\\\\"
                                           "\\\\insertfile(part.txt)\\\\\\\\A.PRICE\\\\|\\\\insertfile(none.txt)\\\\"),
                            {a.get()});
    EXPECT_EQ(out, QStringLiteral("Name: Ann\r\n10,500|File \"none.txt\" not found."));
    EXPECT_EQ(Report.ExtendedInfo().ToQStringList(),
              (QStringList{QStringLiteral("DefaultNumericFormat=0.000"), QStringLiteral("Custom=1")}));
}

} // namespace

namespace {

TEST_F(RTFReport, PicturesAreLinkedOrEmbedded)
{
    auto a = Runners();
    TBitmap bmp(400, 200);
    bmp.Canvas()->Brush()->SetColor(clRed);
    bmp.Canvas()->FillRect(TRect(0, 0, 400, 200));
    const QString png = Dir.filePath(QStringLiteral("logo.png"));
    bmp.SaveToFile(png);
    Report.Variables.Add(QStringLiteral("LOGO=") + png);
    Report.Variables.Add(QStringLiteral("GONE=") + Dir.filePath(QStringLiteral("gone.png")));

    const QString linked = Run(QStringLiteral("{\\rtf1 \\\\picture(LOGO:w=150)\\\\ \\\\picture(LOGO)\\\\}"), {a.get()}, true);
    EXPECT_TRUE(linked.contains(QStringLiteral("INCLUDEPICTURE \"ExtPic1.png\""))) << linked.toStdString();
    EXPECT_TRUE(linked.contains(QStringLiteral("INCLUDEPICTURE \"ExtPic2.png\"")));
    TBitmap first;
    first.LoadFromFile(Dir.filePath(QStringLiteral("ExtPic1.png")));
    EXPECT_EQ(first.Width(), 200);
    EXPECT_EQ(first.Height(), 100);

    const QString embedded = Run(QStringLiteral("{\\rtf1 \\\\picture(LOGO):w=150;insertinrtf\\\\}"), {a.get()}, true);
    EXPECT_TRUE(embedded.contains(QStringLiteral("\\picw400\\pich200\\picwgoal3000\\pichgoal1500\\pngblip 89504E47")))
        << embedded.left(200).toStdString();

    const QString missing = Run(QStringLiteral("{\\rtf1 \\\\picture(GONE)\\\\}"), {a.get()}, true);
    EXPECT_EQ(missing, QStringLiteral("{\\rtf1 File \"%1\" not found.}").arg(Dir.filePath(QStringLiteral("gone.png"))));

    EXPECT_EQ(Run(QStringLiteral("\\\\barcode(\"1234567890\"):type=CodeEANAuto\\\\"), {a.get()}),
              QStringLiteral("Invalid text length (CodeEANAuto): 1234567890"));
    EXPECT_EQ(Run(QStringLiteral("\\\\barcode(\"1\"):type=QR\\\\"), {a.get()}), QStringLiteral("?QR?"));
    const QString code = Run(QStringLiteral("{\\rtf1 \\\\barcode(\"123456789012\"):type=CodeEANAuto;showcode;insertinrtf\\\\}"),
                             {a.get()}, true);
    EXPECT_TRUE(code.startsWith(QStringLiteral("{\\rtf1 {\\pict"))) << code.left(100).toStdString();
}

} // namespace

TEST_F(RTFReport, CaseFunctionsKeepLineBreaksAndNoCopiesPrintNothing)
{
    auto a = Runners(1);
    const QString out = Run(QStringLiteral("{\\rtf1 \\\\str_upper(A.NOTE)\\\\|\\\\str_proper(A.NOTE)\\\\}"), {a.get()}, true);
    EXPECT_EQ(RtfToPlainText(out).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts),
              (QStringList{QStringLiteral("LINE ONE"), QStringLiteral("LINE TWO|Line One"), QStringLiteral("line Two")}))
        << out.toStdString();

    // no copy asked: nothing goes to the printer, not even the check of its name
    Report.TemplateFormat = tfText;
    Report.OutputFile = Dir.filePath(QStringLiteral("copies.txt"));
    Report.OnGetTemplateStr = [](TComponent*, QString& T) { T = QStringLiteral("\\\\info(SetPrinterName=No such printer)\\\\x"); };
    Report.ActionAfter = aaPrint;
    Report.PrintCopies = 0;
    EXPECT_NO_THROW(Report.Execute({a.get()}));
    EXPECT_TRUE(QFile::exists(Report.OutputFile));
    Report.PrintCopies = 1;
    try {
        Report.Execute({a.get()});
        ADD_FAILURE() << "printed on a printer that is not there";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().endsWith(QStringLiteral("Printer \"No such printer\" not found."))) << e.Message().toStdString();
    }
}
