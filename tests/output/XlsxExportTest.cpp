#include "components/output/TrXLSExport.h"
#include "platform/office/XlsxPackage.h"
#include "platform/office/rzip_interface.h"
#include "platform/ui/Forms.h"
#include "tests/output/ExportFixture.h"
#include "tests/output/UserWorkbook.h"
#include "tests/output/XlsxReadBack.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <sys/stat.h>
#include <gtest/gtest.h>

TEST(XlsxExport, TypedCellsFormatsWidthsTitlesAndSums)
{
    auto d = MakeAwkwardTable();
    QTemporaryDir dir;
    TrXLSExport x;
    x.ActionAfter = aaNone;
    x.SetOption(xleSetCellBorders, true);
    x.SetOption(xleFreezeTitles, true);
    x.ExportFile = dir.filePath(QStringLiteral("runs.xlsx"));
    ASSERT_TRUE(x.ExportDBTable(d.get()));
    const TXlsxReadBack r = ReadXlsx(x.ExportFile);
    ASSERT_TRUE(r.Ok);
    EXPECT_EQ(r.Cell("A1"), QStringLiteral("ID"));
    EXPECT_EQ(r.Cell("B1"), QStringLiteral("Runner"));
    EXPECT_TRUE(r.Cells["A1"].Bold);
    EXPECT_FALSE(r.Cells["A2"].Bold);
    EXPECT_EQ(r.Cell("B2"), QStringLiteral("a;b\"c"));  // no leading apostrophe
    EXPECT_EQ(r.Cell("B3"), QStringLiteral("Hämäläinen Säde, Österberg"));
    EXPECT_EQ(r.Cell("C2"), QStringLiteral("12.5"));
    EXPECT_EQ(r.Cells["C2"].NumFormat, QStringLiteral("0.00"));
    EXPECT_EQ(r.Cell("D2"), QStringLiteral("45366"));
    EXPECT_EQ(r.Cells["D2"].NumFormat, QStringLiteral("d.m.yyyy"));
    EXPECT_TRUE(r.Cell("E2").contains(QStringLiteral("line two")));
    EXPECT_EQ(r.Cell("E3").size(), 300);
    EXPECT_FALSE(r.Cells.contains(QStringLiteral("A4")));  // nulls stay empty
    EXPECT_EQ(r.Cells["A5"].Formula, QStringLiteral("SUM(A2:A4)"));
    EXPECT_EQ(r.Cell("B5"), QStringLiteral("Sum:"));
    EXPECT_EQ(r.Cells["C5"].Formula, QStringLiteral("SUM(C2:C4)"));
    EXPECT_EQ(r.Cell("C5"), QStringLiteral("19.75"));
    EXPECT_TRUE(r.Cells["C5"].Bold);
    EXPECT_TRUE(r.Cells["C2"].Border);
    EXPECT_NEAR(r.Widths.value(2), 28.0, 1.0);  // the file adds its own padding
    EXPECT_NEAR(r.Widths.value(5), 100.0, 1.0);  // capped
    EXPECT_EQ(r.FrozenRows, 1);
}

TEST(XlsxExport, SharedRulesSelectedRowsAndStructureOnly)
{
    auto d = MakeAwkwardTable();
    TExportGrid g(d.get());
    g.Select({2});
    QTemporaryDir dir;
    TrXLSExport x;
    x.ActionAfter = aaNone;
    x.SetOption(xleOnlySelectedRows, true);
    x.SetOption(xleRealFieldNamesAsTitle, true);
    x.ExportFile = dir.filePath(QStringLiteral("sel.xlsx"));
    ASSERT_TRUE(x.ExportDBTable(g.Grid));
    TXlsxReadBack r = ReadXlsx(x.ExportFile);
    EXPECT_EQ(r.Cell("B1"), QStringLiteral("NAME"));
    EXPECT_EQ(r.Cell("A2"), QStringLiteral("2"));
    EXPECT_EQ(r.Cells["A3"].Formula, QStringLiteral("SUM(A2:A2)"));
    EXPECT_FALSE(r.Cells.contains(QStringLiteral("F1")));  // hidden field

    x.ExportStructureOnly = true;
    x.SetOption(xleExportTitles, false);
    ASSERT_TRUE(x.ExportDBTable(g.Grid));
    r = ReadXlsx(x.ExportFile);
    EXPECT_EQ(r.Cell("A1"), QStringLiteral("ID"));
    EXPECT_FALSE(r.Cells.contains(QStringLiteral("A2")));
}

TEST(XlsxExport, AppendsBelowTheRowsOrAsANewSheetKeepingTheOldData)
{
    auto d = MakeAwkwardTable();
    QTemporaryDir dir;
    TrXLSExport x;
    x.ActionAfter = aaNone;
    x.ExportFile = dir.filePath(QStringLiteral("runs.xlsx"));
    ASSERT_TRUE(x.ExportDBTable(d.get(), QStringLiteral("Runs")));
    // below the five rows there: titles, three records and the sums again
    x.SetOption(xleAddToExistingRows, true);
    x.SetOption(xleExportTitles, false);
    ASSERT_TRUE(x.ExportDBTable(d.get())) << x.LastError().toStdString();
    EXPECT_EQ(x.StartRow(), 6);
    TXlsxReadBack r = ReadXlsx(x.ExportFile);
    EXPECT_EQ(r.Cell("B1"), QStringLiteral("Runner"));
    EXPECT_EQ(r.Cell("B2"), QStringLiteral("a;b\"c"));
    EXPECT_EQ(r.Cells["A5"].Formula, QStringLiteral("SUM(A2:A4)"));
    EXPECT_EQ(r.Cell("A6"), QStringLiteral("1"));
    EXPECT_EQ(r.Cell("B7"), QStringLiteral("Hämäläinen Säde, Österberg"));
    EXPECT_EQ(r.Cells["A9"].Formula, QStringLiteral("SUM(A6:A8)"));
    EXPECT_TRUE(r.Cells["A1"].Bold);  // the old cells keep their look
    EXPECT_EQ(r.Cells["D2"].NumFormat, QStringLiteral("d.m.yyyy"));

    // a new sheet beside the old one, shown when the workbook opens
    x.SetOption(xleAddToExistingRows, false);
    x.SetOption(xleAddAsNewSheet, true);
    x.SetOption(xleExportTitles, true);
    x.SetStartRow(1);
    ASSERT_TRUE(x.ExportDBTable(d.get()));
    TXlsxWorkbook book;
    book.Load(x.ExportFile);
    ASSERT_EQ(book.SheetCount(), 2);
    EXPECT_EQ(book.Sheet(0)->Name, QStringLiteral("Runs"));
    EXPECT_EQ(book.ActiveSheet, 1);
    EXPECT_EQ(book.Sheet(0)->Value(8, 0).toDouble(), 3.0);  // the appended sum row is still there
    EXPECT_EQ(book.Sheet(1)->Value(1, 1).toString(), QStringLiteral("a;b\"c"));

    // a plain export into the workbook replaces the shown sheet only
    x.SetOption(xleAddAsNewSheet, false);
    ASSERT_TRUE(x.ExportDBTable(d.get(), QStringLiteral("Runs")));
    book.Load(x.ExportFile);
    ASSERT_EQ(book.SheetCount(), 2);
    int row, col, rows, cols;
    ASSERT_TRUE(book.Sheet(0)->UsedRange(row, col, rows, cols));
    EXPECT_EQ(rows, 5);
}

TEST(XlsxExport, AFileThatIsNoWorkbookIsNotAddedToAndAbortKeepsTheOldFile)
{
    auto d = MakeResultsTable(300);
    QTemporaryDir dir;
    const QString fn = dir.filePath(QStringLiteral("old.xlsx"));
    {
        QFile f(fn);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("previous");
    }
    int boxes = 0;
    auto old = SetModalHook([&](TCustomForm*) {
        ++boxes;
        return 1;
    });
    TrXLSExport x;
    x.ActionAfter = aaNone;
    x.ExportFile = fn;
    x.SetOption(xleAddAsNewSheet, true);
    EXPECT_FALSE(x.ExportDBTable(d.get()));
    EXPECT_EQ(boxes, 1);
    EXPECT_TRUE(x.LastError().contains(QStringLiteral("not a readable .xlsx"))) << x.LastError().toStdString();
    EXPECT_EQ(ReadAll(fn), QByteArray("previous"));

    x.SetOption(xleAddAsNewSheet, false);
    x.OnProgressEvent = [&](TComponent*, TExportProgressStage St, int Pct, const QString&) {
        if (St == psRunning && Pct >= 50)
            x.DoAbort();
    };
    EXPECT_FALSE(x.ExportDBTable(d.get()));
    EXPECT_EQ(ReadAll(fn), QByteArray("previous"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    SetModalHook(old);
}

TEST(XlsxExport, TextOverTheCellLimitIsCutWithAMarkAndFilesAreShared)
{
    auto d = MakeAwkwardTable();
    d->Edit();
    d->FieldByName(QStringLiteral("NOTE"))->SetAsString(QString(40000, QLatin1Char('n')));
    d->Post();
    QTemporaryDir dir;
    TrXLSExport x;
    x.ActionAfter = aaNone;
    x.ExportFile = dir.filePath(QStringLiteral("long.xlsx"));
    const mode_t mask = ::umask(022);
    const bool ok = x.ExportDBTable(d.get());
    ::umask(mask);
    ASSERT_TRUE(ok) << x.LastError().toStdString();
    const TXlsxReadBack r = ReadXlsx(x.ExportFile);
    EXPECT_EQ(r.Cell("E2").size(), 32767);
    EXPECT_TRUE(r.Cell("E2").endsWith(QStringLiteral("n\u2026")));
    EXPECT_EQ(r.Cell("B3"), QStringLiteral("Hämäläinen Säde, Österberg"));  // the rest is all there
    // another user of a shared folder can read the workbook
    EXPECT_TRUE(QFileInfo(x.ExportFile).permissions() & QFile::ReadOther);
}

TEST(XlsxExport, GridColoursAndConditionalFormats)
{
    auto d = MakeResultsTable(20);
    TExportGrid g(d.get());
    g.Grid->FieldsAsDataBar.Add(QStringLiteral("KM=4;6;2;$0000FF00;$00FF0000"));
    g.Grid->FieldsAsStatusBar.Add(QStringLiteral("PLACE=5;4;$00C0C0C0;$00008000"));
    g.Grid->FieldsAsColor.Add(QStringLiteral("NOTE"));
    TColumn* club = g.Grid->Columns()->Items(3);
    ASSERT_EQ(club->FieldName(), QStringLiteral("CLUB"));
    club->SetColor(TColor(0x00FFFF));  // yellow
    TFont bold;
    bold.Assign(*club->Font());
    bold.SetStyle(fsBold);
    club->SetFont(bold);
    QTemporaryDir dir;
    TrXLSExport x;
    x.ActionAfter = aaNone;
    x.SetOption(xleUseColumnsColor, true);
    x.SetOption(xleSetBkColor, true);
    x.SetOption(xleSetFontColor, true);
    int scales = 0;
    x.OnGetFieldType = [](TComponent*, TField* F, int& Kind) {
        if (F->FieldName() == QLatin1String("SECS"))
            Kind = 4;
    };
    x.OnPrepareColorScaleEvent = [&](TComponent*, TField*, TColorScaleSetting& S) {
        ++scales;
        S.MinColor = TColor(0x0000FF);
        S.MaxColor = TColor(0x00FF00);
    };
    x.ExportFile = dir.filePath(QStringLiteral("colours.xlsx"));
    ASSERT_TRUE(x.ExportDBTable(g.Grid));
    const TXlsxReadBack book = ReadXlsx(x.ExportFile);
    ASSERT_TRUE(book.Ok);
    EXPECT_EQ(scales, 1);
    // the club column: yellow cells in bold, the other columns plain
    EXPECT_TRUE(book.StylesXml.contains(QStringLiteral("FFFFFF00"))) << book.StylesXml.toStdString();
    EXPECT_TRUE(book.Cells.value(QStringLiteral("D2")).Bold);
    EXPECT_FALSE(book.Cells.value(QStringLiteral("C2")).Bold);
    // a data bar over KM (J2:J21) with fixed ends, a 5-step signal icon set over PLACE, a colour scale over SECS
    EXPECT_TRUE(book.SheetXml.contains(QStringLiteral("sqref=\"J2:J21\""))) << book.SheetXml.toStdString();
    EXPECT_TRUE(book.SheetXml.contains(QStringLiteral("<dataBar")));
    EXPECT_TRUE(book.SheetXml.contains(QStringLiteral("iconSet=\"5Rating\"")));
    EXPECT_TRUE(book.SheetXml.contains(QStringLiteral("<colorScale>")));
}

TEST(XlsxExport, FilterPageSetupAlignmentRowHeightsAndDisplayFormats)
{
    auto d = MakeAwkwardTable();
    d->FieldByName(QStringLiteral("STARTED"))->SetDisplayFormat(QStringLiteral("dd/mm/yyyy"));
    QTemporaryDir dir;
    TrXLSExport x;
    x.ActionAfter = aaNone;
    x.SetOption(xleSetAutoFilter, true);
    x.SetOption(xleSetPageSetup, true);
    x.SetOption(xleWrapMemoField, true);
    x.WindowZoom = 80;
    x.PageZoom = 90;
    x.VerticalAlignment = vaTop;
    x.MaxRowHeight = 25;
    x.ExportFile = dir.filePath(QStringLiteral("setup.xlsx"));
    ASSERT_TRUE(x.ExportDBTable(d.get()));
    const TXlsxReadBack r = ReadXlsx(x.ExportFile);
    EXPECT_EQ(r.Cells["D2"].NumFormat, QStringLiteral("dd.mm.yyyy"));
    EXPECT_TRUE(r.SheetXml.contains(QStringLiteral("<autoFilter ref=\"A1:E5\"/>"))) << r.SheetXml.toStdString();
    EXPECT_TRUE(r.SheetXml.contains(QStringLiteral("zoomScale=\"80\"")));
    EXPECT_TRUE(r.SheetXml.contains(QStringLiteral("scale=\"90\"")));
    // the two memo lines would need 30 points: the row stops at 25
    EXPECT_TRUE(r.SheetXml.contains(QStringLiteral("<row r=\"2\" spans=\"1:5\" ht=\"25\" customHeight=\"1\">")))
        << r.SheetXml.toStdString();
    EXPECT_FALSE(r.SheetXml.contains(QStringLiteral("<row r=\"3\" spans=\"1:5\" ht=")));
    EXPECT_TRUE(r.StylesXml.contains(QStringLiteral("vertical=\"top\"")));
    // the workbook read back keeps the heights and zooms for the next append
    TXlsxWorkbook book;
    book.Load(x.ExportFile);
    EXPECT_EQ(book.Sheet(0)->WindowZoom, 80);
    ASSERT_EQ(book.Sheet(0)->Heights().size(), 1u);
    EXPECT_EQ(book.Sheet(0)->Heights()[0].second, 25.0);
}

namespace {

QByteArray PartOf(const QString& File, const QString& Name)
{
    TZipPackage p(File);
    return p.Part(Name);
}

}  // namespace

TEST(XlsxExport, PicturesAreShrunkIntoTheirCellsAndRowsGrowForThem)
{
    TClientDataSet d;
    d.AddField(QStringLiteral("NAME"), ftWideString, 30);
    d.AddField(QStringLiteral("PHOTO"), ftGraphic);
    d.CreateDataSet();
    QImage img(300, 150, QImage::Format_RGB32);
    img.fill(Qt::red);
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    d.AppendRecord({QStringLiteral("Mäkinen Liisa"), png});
    d.AppendRecord({QStringLiteral("Ei kuvaa"), QVariant()});
    d.First();
    QTemporaryDir dir;
    TrXLSExport x;
    x.ActionAfter = aaNone;
    x.SetOption(xleExportPictures, true);
    x.PictureMaxWidth = 100;
    x.PictureUseShadow = true;
    int prepared = 0;
    x.OnPreparePictureEvent = [&](TComponent*, int Row, int Col, TField*, TPicture*) {
        EXPECT_EQ(Col, 2);
        EXPECT_TRUE(Row == 2 || Row == 3);
        ++prepared;
    };
    x.ExportFile = dir.filePath(QStringLiteral("photos.xlsx"));
    ASSERT_TRUE(x.ExportDBTable(&d)) << x.LastError().toStdString();
    EXPECT_EQ(prepared, 2);
    EXPECT_EQ(x.PicturesExported(), 1);
    const TXlsxReadBack r = ReadXlsx(x.ExportFile);
    EXPECT_EQ(r.Cell("A2"), QStringLiteral("Mäkinen Liisa"));
    EXPECT_FALSE(r.Cells.contains(QStringLiteral("B2")));  // the picture, not its bytes
    EXPECT_TRUE(r.SheetXml.contains(QStringLiteral("<drawing r:id=")));
    // 150 pixels shrunk to 50, with 5 pixels above and below: 60 pixels, 1.65 of them a point
    EXPECT_TRUE(r.SheetXml.contains(QStringLiteral("<row r=\"2\" spans=\"1:2\" ht=\"36.36"))) << r.SheetXml.toStdString();
    // the column: 110 pixels, 9.15 of them a unit of width
    EXPECT_NEAR(r.Widths.value(2), 110 / 9.15, 0.8);
    EXPECT_TRUE(QString::fromUtf8(PartOf(x.ExportFile, QStringLiteral("xl/drawings/drawing1.xml"))).contains(QStringLiteral("<a:outerShdw")));
    Trzip_interface z;
    z.Load();
    ASSERT_EQ(z.OpenArchive(x.ExportFile), 0);
    QString list;
    z.GetFileList(list);
    z.CloseArchive(false);
    EXPECT_TRUE(list.contains(QStringLiteral("xl/media/image1.png"))) << list.toStdString();
    EXPECT_FALSE(list.contains(QStringLiteral("xl/media/image2")));
}


TEST(XlsxExport, AddingToAUsersWorkbookKeepsItsOtherSheetsWhole)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("club.xlsx"));
    MakeUserWorkbook(file);
    const QString clubPart = QStringLiteral("xl/worksheets/sheet1.xml");
    const QByteArray club = PartOf(file, clubPart);
    const QByteArray drawing = PartOf(file, QStringLiteral("xl/drawings/drawing1.xml"));
    const QByteArray image = PartOf(file, QStringLiteral("xl/media/image1.png"));
    const QString oldRuns = QString::fromUtf8(PartOf(file, QStringLiteral("xl/worksheets/sheet2.xml")));
    ASSERT_FALSE(club.isEmpty());
    ASSERT_FALSE(drawing.isEmpty());

    auto d = MakeAwkwardTable();
    TrXLSExport x;
    x.ActionAfter = aaNone;
    x.ExportFile = file;
    x.SetOption(xleAddAsNewSheet, true);
    ASSERT_TRUE(x.ExportDBTable(d.get())) << x.LastError().toStdString();
    // the user's sheet, its picture and its look are there byte for byte, but
    // for the selected tab, which moved to the new sheet
    const QByteArray unselected = QByteArray(club).replace(" tabSelected=\"1\"", "");
    ASSERT_NE(unselected, club);
    EXPECT_EQ(PartOf(file, clubPart), unselected);
    EXPECT_EQ(PartOf(file, QStringLiteral("xl/drawings/drawing1.xml")), drawing);
    EXPECT_EQ(PartOf(file, QStringLiteral("xl/media/image1.png")), image);
    const QString styles = QString::fromUtf8(PartOf(file, QStringLiteral("xl/styles.xml")));
    EXPECT_TRUE(styles.contains(QStringLiteral("FFFFFF00"))) << styles.toStdString();
    EXPECT_TRUE(styles.contains(QStringLiteral("style=\"thick\"")));
    TXlsxWorkbook book;
    book.Load(file);
    ASSERT_EQ(book.SheetCount(), 3);
    EXPECT_EQ(book.ActiveSheet, 2);
    EXPECT_EQ(book.Sheet(0)->Value(2, 2), QVariant(true));  // a Boolean stays a Boolean
    EXPECT_EQ(book.Sheet(2)->Value(1, 1).toString(), QStringLiteral("a;b\"c"));
    EXPECT_EQ(book.Sheet(2)->Value(0, 0).toString(), QStringLiteral("ID"));
    const TXlsxSheet::TCell* title = book.Sheet(2)->CellAt(0, 0);
    ASSERT_NE(title, nullptr);
    ASSERT_GE(title->Format, 0);
    EXPECT_TRUE(book.Format(title->Format).Bold);  // the new sheet's own styles were added
    EXPECT_EQ(book.Sheet(2)->Value(1, 3).typeId(), QMetaType::QDateTime);  // a date reads back as a date
    EXPECT_EQ(book.Sheet(2)->Value(1, 3).toDateTime().date(), QDate(2024, 3, 15));

    // rows below the user's rows: the old rows stay as they were
    x.SetOption(xleAddAsNewSheet, false);
    x.SetOption(xleAddToExistingRows, true);
    x.SetOption(xleExportTitles, false);
    x.SetOption(xleAddSumRow, false);
    ASSERT_TRUE(x.ExportDBTable(d.get(), QStringLiteral("Runs"))) << x.LastError().toStdString();
    EXPECT_EQ(PartOf(file, clubPart), unselected);
    const QString runs = QString::fromUtf8(PartOf(file, QStringLiteral("xl/worksheets/sheet2.xml")));
    const int first = int(oldRuns.indexOf(QStringLiteral("<row r=\"1\"")));
    const QString oldFirstRow = oldRuns.mid(first, oldRuns.indexOf(QStringLiteral("</row>"), first) + 6 - first);
    EXPECT_TRUE(runs.contains(oldFirstRow)) << runs.toStdString();
    // a picture below the user's own on the sheet that has one: both in its drawing
    TClientDataSet photos;
    photos.AddField(QStringLiteral("NAME"), ftWideString, 30);
    photos.AddField(QStringLiteral("PHOTO"), ftGraphic);
    photos.CreateDataSet();
    photos.AppendRecord({QStringLiteral("Korhonen Eero"), PngOf(30, 20, 0xC02020)});
    photos.First();
    x.SetOption(xleExportPictures, true);
    x.PictureUseShadow = true;
    ASSERT_TRUE(x.ExportDBTable(&photos, QStringLiteral("Club"))) << x.LastError().toStdString();
    const QString clubDrawing = QString::fromUtf8(PartOf(file, QStringLiteral("xl/drawings/drawing1.xml")));
    EXPECT_EQ(clubDrawing.count(QStringLiteral("<xdr:pic>")), 2) << clubDrawing.toStdString();
    EXPECT_EQ(clubDrawing.count(QStringLiteral("<a:outerShdw")), 1);  // the new picture's shadow only
    EXPECT_EQ(PartOf(file, QStringLiteral("xl/media/image1.png")), image);

    // every part of the package is well-formed XML
    {
        TZipPackage p(file);
        for (const QString& name : p.Names()) {
            if (!name.endsWith(QLatin1String(".xml")) && !name.endsWith(QLatin1String(".rels")))
                continue;
            QXmlStreamReader xml(p.Part(name));
            while (!xml.atEnd())
                xml.readNext();
            EXPECT_FALSE(xml.hasError()) << name.toStdString() << ": " << xml.errorString().toStdString();
        }
    }
    book.Load(file);
    EXPECT_EQ(book.Sheet(1)->Value(1, 0).toString(), QStringLiteral("Mäkinen Liisa"));
    EXPECT_EQ(book.Sheet(1)->Value(3, 0).toDouble(), 1.0);
    EXPECT_EQ(book.Sheet(1)->Value(4, 1).toString(), QStringLiteral("Hämäläinen Säde, Österberg"));
}

TEST(XlsxExport, ReadsBooleansAndFilledDownFormulas)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("club.xlsx"));
    MakeUserWorkbook(file);
    {
        // the formulas of column B as one shared group, as spreadsheets write a filled-down column
        TZipPackage p(file, true);
        QString sheet = QString::fromUtf8(p.Part(QStringLiteral("xl/worksheets/sheet1.xml")));
        sheet.replace(QStringLiteral("<f>A4*2</f>"), QStringLiteral("<f t=\"shared\" ref=\"B4:B6\" si=\"0\">A4*2</f>"));
        sheet.replace(QStringLiteral("<f>A5*2</f>"), QStringLiteral("<f t=\"shared\" si=\"0\"/>"));
        sheet.replace(QStringLiteral("<f>A6*2</f>"), QStringLiteral("<f t=\"shared\" si=\"0\"/>"));
        ASSERT_EQ(sheet.count(QStringLiteral("si=\"0\"")), 3);
        p.Put(QStringLiteral("xl/worksheets/sheet1.xml"), sheet.toUtf8());
        p.Commit();
    }
    TXlsxWorkbook book;
    book.Load(file);
    const TXlsxSheet* s = book.Sheet(0);
    for (int r = 3; r < 6; ++r) {
        const TXlsxSheet::TCell* c = s->CellAt(r, 1);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->Kind, TXlsxSheet::TKind::Formula);
        EXPECT_EQ(c->Text, QStringLiteral("A%1*2").arg(r + 1));
    }
    EXPECT_EQ(s->Value(2, 2), QVariant(true));
    EXPECT_EQ(s->CellAt(2, 2)->Kind, TXlsxSheet::TKind::Boolean);
}

TEST(XlsxExport, PictureCellsSayWhyTheyHoldNoPicture)
{
    TClientDataSet d;
    d.AddField(QStringLiteral("NAME"), ftWideString, 30);
    d.AddField(QStringLiteral("PHOTO"), ftGraphic);
    d.AddField(QStringLiteral("LOGO"), ftWideString, 30);
    d.CreateDataSet();
    d.AppendRecord({QStringLiteral("Mäkinen Liisa"), QByteArray("no picture at all"), QStringLiteral("logo.png")});
    d.First();
    QTemporaryDir dir;
    TrXLSExport x;
    x.ActionAfter = aaNone;
    x.SetOption(xleExportPictures, true);
    x.OnGetFieldType = [](TComponent*, TField* F, int& Kind) {
        if (F->FieldName() == QLatin1String("LOGO"))
            Kind = 1;  // a picture the program has to supply
    };
    x.ExportFile = dir.filePath(QStringLiteral("photos.xlsx"));
    ASSERT_TRUE(x.ExportDBTable(&d)) << x.LastError().toStdString();
    const TXlsxReadBack r = ReadXlsx(x.ExportFile);
    EXPECT_EQ(r.Cell("B2"), QStringLiteral("Bad picture format."));
    EXPECT_EQ(r.Cell("C2"), QStringLiteral("Use OnPreparePictureEvent to define picture"));
    EXPECT_EQ(x.PicturesExported(), 0);
}

TEST(XlsxExport, BooleansAndDaysAroundThe1900Start)
{
    TClientDataSet d;
    d.AddField(QStringLiteral("PAID"), ftBoolean);
    d.AddField(QStringLiteral("DAY"), ftDate);
    d.CreateDataSet();
    d.AppendRecord({true, QDate(1900, 2, 1)});
    d.AppendRecord({false, QDate(1899, 12, 31)});
    d.AppendRecord({true, QDate(2024, 3, 15)});
    d.First();
    QTemporaryDir dir;
    TrXLSExport x;
    x.ActionAfter = aaNone;
    x.ExportFile = dir.filePath(QStringLiteral("kinds.xlsx"));
    ASSERT_TRUE(x.ExportDBTable(&d)) << x.LastError().toStdString();
    const TXlsxReadBack r = ReadXlsx(x.ExportFile);
    EXPECT_TRUE(r.SheetXml.contains(QStringLiteral("<c r=\"A2\" t=\"b\"><v>1</v></c>"))) << r.SheetXml.toStdString();
    EXPECT_TRUE(r.SheetXml.contains(QStringLiteral("<c r=\"A3\" t=\"b\"><v>0</v></c>")));
    // 1 February 1900 is day 32 of the sheet; the last day of 1899 does not exist there
    EXPECT_EQ(r.Cell("B2"), QStringLiteral("32"));
    EXPECT_EQ(r.Cell("B3"), QStringLiteral("31.12.1899"));
    EXPECT_EQ(r.Cell("B4"), QStringLiteral("45366"));
}
