#include "tests/output/ExportFixture.h"

#include "components/dbcontrols/TrDBRecView.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QFile>
#include <QMouseEvent>
#include <QWidget>

std::unique_ptr<TClientDataSet> MakeAwkwardTable()
{
    auto d = std::make_unique<TClientDataSet>();
    d->AddField(QStringLiteral("ID"), ftInteger);
    d->AddField(QStringLiteral("NAME"), ftWideString, 40)->SetDisplayLabel(QStringLiteral("Runner"));
    static_cast<TFloatField*>(d->AddField(QStringLiteral("FEE"), ftCurrency))->SetDisplayFormat(QStringLiteral("0.00"));
    d->AddField(QStringLiteral("STARTED"), ftDate);
    d->AddField(QStringLiteral("NOTE"), ftMemo);
    d->AddField(QStringLiteral("SECRET"), ftWideString, 10)->SetVisible(false);
    d->CreateDataSet();
    const double day = 45366;  // 15 March 2024
    d->AppendRecord({1, QStringLiteral("a;b\"c"), 12.5, day, QStringLiteral("line one\r\nline two"), QStringLiteral("x")});
    d->AppendRecord({2, QStringLiteral("Hämäläinen Säde, Österberg"), 7.25, day + 1, QString(300, QLatin1Char('m')), QStringLiteral("x")});
    d->AppendRecord({QVariant(), QString(), QVariant(), QVariant(), QVariant(), QVariant()});
    d->First();
    return d;
}

std::unique_ptr<TClientDataSet> MakeResultsTable(int N)
{
    auto d = std::make_unique<TClientDataSet>();
    d->AddField(QStringLiteral("ID"), ftInteger);
    d->AddField(QStringLiteral("BIB"), ftInteger);
    d->AddField(QStringLiteral("NAME"), ftWideString, 40);
    d->AddField(QStringLiteral("CLUB"), ftWideString, 30);
    d->AddField(QStringLiteral("COURSE"), ftWideString, 10);
    d->AddField(QStringLiteral("CLASS"), ftWideString, 10);
    d->AddField(QStringLiteral("CARD"), ftInteger);
    d->AddField(QStringLiteral("STARTED"), ftDateTime);
    d->AddField(QStringLiteral("SECS"), ftInteger);
    d->AddField(QStringLiteral("KM"), ftFloat);
    static_cast<TFloatField*>(d->AddField(QStringLiteral("FEE"), ftCurrency))->SetDisplayFormat(QStringLiteral("0.00"));
    d->AddField(QStringLiteral("STATUS"), ftWideString, 1);
    d->AddField(QStringLiteral("RENTED"), ftWideString, 1);
    d->AddField(QStringLiteral("PLACE"), ftInteger);
    d->AddField(QStringLiteral("NOTE"), ftWideString, 60);
    d->CreateDataSet();
    static const char* names[] = {"Virtanen Aino", "Korhonen Eero", "Mäkinen Liisa", "Österberg Ville"};
    static const char* clubs[] = {"Rasti-Helsinki", "OK Espoo", "Kiito-Tampere", "Suunta-Äänekoski"};
    for (int i = 1; i <= N; ++i)
        d->AppendRecord({i, 100 + i, QString::fromUtf8(names[i % 4]), QString::fromUtf8(clubs[i % 4]), QStringLiteral("A%1").arg(i % 7),
                         QStringLiteral("H%1").arg(21 - i % 3), 2000000 + i, 45366.4 + i / 1440.0, 1800 + i % 900, 4.5 + (i % 10) / 10.0,
                         12.5, QStringLiteral("0"), i % 3 == 0 ? QStringLiteral("K") : QStringLiteral("E"), i, QStringLiteral("ok; \"fine\"")});
    d->First();
    return d;
}

TExportGrid::TExportGrid(TDataSet* D)
{
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 700, 400);
    Src = std::make_unique<TDataSource>();
    Src->SetDataSet(D);
    Grid = new TrDBGrid(Form.get());
    Grid->SetParent(Form.get());
    Grid->SetBounds(0, 0, 640, 340);
    Grid->SetDataSource(Src.get());
    Grid->SetOptions(Grid->Options() | dgMultiSelect);
}

void TExportGrid::Select(std::initializer_list<int> Ids)
{
    TDataSet* d = Src->DataSet();
    for (d->First(); !d->Eof(); d->Next())
        for (int id : Ids)
            if (!d->FindField(QStringLiteral("ID"))->IsNull() && d->FindField(QStringLiteral("ID"))->AsInteger() == id)
                Grid->SelectedRows()->SetCurrentRowSelected(true);
    d->First();
}

QByteArray ReadAll(const QString& FileName)
{
    QFile f(FileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void ClickControl(TControl* C)
{
    QWidget* w = C->Widget();
    const QPointF p(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent down(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &up);
}

TExportRecView::TExportRecView(TDataSet* D) : Form(std::make_unique<TForm>(nullptr)), Src(std::make_unique<TDataSource>())
{
    Form->SetBounds(0, 0, 600, 400);
    Src->SetDataSet(D);
    View = new TrDBRecView(Form.get());
    View->SetParent(Form.get());
    View->SetDataSource(Src.get());
    Form->AfterConstruction();
}

QByteArray PngOf(int Width, int Height, unsigned Rgb)
{
    QImage img(Width, Height, QImage::Format_RGB32);
    img.fill(QColor(QRgb(Rgb)));
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return png;
}
