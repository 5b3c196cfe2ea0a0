#include "tests/rdbgrid/RDBGridFixture.h"

#include "platform/ui/ImgList.h"

#include "platform/database/DataSource.h"
#include "platform/database/Fields.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

const char* const RunnerNames[8] = {"Virtanen Aino", "Korhonen Eero", "Mäkinen Liisa", "Nieminen Matti",
                                    "Hämäläinen Säde", "Laine Juha", "Heikkinen Kaisa", "Österberg Ville"};

std::unique_ptr<TClientDataSet> MakeRunsTable(int N)
{
    auto d = std::make_unique<TClientDataSet>();
    d->AddField(QStringLiteral("ID"), ftInteger);
    d->AddField(QStringLiteral("NAME"), ftWideString, 40);
    d->AddField(QStringLiteral("CLUB"), ftWideString, 20);
    d->AddField(QStringLiteral("STATUS"), ftWideString, 1);
    d->AddField(QStringLiteral("RENTED"), ftWideString, 1);
    d->AddField(QStringLiteral("SECS"), ftInteger);
    d->SetKeyFields(QStringLiteral("ID"));
    d->CreateDataSet();
    static const char* clubs[] = {"Rasti-Helsinki", "OK Espoo", "Kiito-Tampere", "Suunta-Äänekoski"};
    for (int i = 1; i <= N; ++i)
        d->AppendRecord({i, QString::fromUtf8(RunnerNames[(i - 1) % 8]), QString::fromUtf8(clubs[i % 4]),
                         i % 5 == 0 ? QStringLiteral("3") : QStringLiteral("0"), i % 3 == 0 ? QStringLiteral("K") : QStringLiteral("E"),
                         3000 - i * 7});
    d->First();
    return d;
}

std::unique_ptr<TClientDataSet> MakeClubRuns(TClientDataSet& Clubs, std::initializer_list<const char*> Names)
{
    Clubs.AddField(QStringLiteral("CID"), ftInteger);
    Clubs.AddField(QStringLiteral("CNAME"), ftWideString, 30);
    Clubs.CreateDataSet();
    int id = 0;
    for (const char* n : Names)
        Clubs.AppendRecord({++id, QString::fromUtf8(n)});
    auto runs = std::make_unique<TClientDataSet>();
    runs->AddField(QStringLiteral("ID"), ftInteger);
    runs->AddField(QStringLiteral("CLUB_ID"), ftInteger);
    TField* look = runs->AddField(QStringLiteral("CLUB"), ftWideString, 30, fkLookup);
    look->KeyFields = QStringLiteral("CLUB_ID");
    look->LookupDataSet = &Clubs;
    look->LookupKeyFields = QStringLiteral("CID");
    look->LookupResultField = QStringLiteral("CNAME");
    runs->CreateDataSet();
    return runs;
}

void RDBGridTest::SetUp()
{
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 700, 420);
    data = MakeRunsTable(24);
    src = std::make_unique<TDataSource>();
    src->SetDataSet(data.get());
    grid = new TrDBGrid(form.get());
    grid->SetParent(form.get());
    grid->SetBounds(0, 0, 640, 340);
    grid->SetDrawingStyle(grids::gdsClassic);
    grid->SetDataSource(src.get());
    for (int i = 0; i < grid->Columns()->Count(); ++i)
        grid->Columns()->Items(i)->SetWidth(i == 1 ? 150 : 90);
    data->BeforeScroll = [this](TDataSet*) { ++scrolls; };
    data->AfterScroll = [this](TDataSet*) { ++scrolls; };
    // The window is built: the grid leaves its loading state as on a real form.
    form->AfterConstruction();
}

void RDBGridTest::TearDown()
{
    form.reset();
}

QImage RDBGridTest::Render()
{
    QWidget* w = grid->Widget();
    QImage img(w->size(), QImage::Format_ARGB32);
    img.fill(Qt::magenta);
    w->render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    return img;
}

TColor RDBGridTest::PixelColor(const QImage& Img, int X, int Y)
{
    const QRgb p = Img.pixel(X, Y);
    return TColor(qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16));
}

TPoint RDBGridTest::Blank(int ACol, int ARow) const
{
    const TRect r = grid->CellRect(ACol, ARow);
    return TPoint{r.Right - 4, r.Bottom - 3};
}

void RDBGridTest::Key(int QtKey, const QString& Text, Qt::KeyboardModifiers Mods)
{
    QWidget* w = grid->EditorMode() && grid->InplaceEditor() ? grid->InplaceEditor()->Widget() : grid->Widget();
    QKeyEvent press(QEvent::KeyPress, QtKey, Mods, Text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, QtKey, Mods, Text);
    QApplication::sendEvent(w, &release);
}

void RDBGridTest::Click(int X, int Y, Qt::KeyboardModifiers Mods)
{
    QWidget* w = grid->Widget();
    const QPointF p(X, Y);
    QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Mods);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton, Mods);
    QApplication::sendEvent(w, &release);
}

QList<int> RDBGridTest::Ids()
{
    QList<int> ids;
    const TBookmark b = data->GetBookmark();
    data->DisableControls();
    for (data->First(); !data->Eof(); data->Next())
        ids << data->FieldByName(QStringLiteral("ID"))->AsInteger();
    data->GotoBookmark(b);
    data->EnableControls();
    return ids;
}

void RDBGridTest::DoubleClick(int X, int Y)
{
    Click(X, Y);
    QWidget* w = grid->Widget();
    const QPointF p(X, Y);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &dbl);
    QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

void RDBGridTest::Move(int X, int Y)
{
    QWidget* w = grid->Widget();
    const QPointF p(X, Y);
    QMouseEvent move(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

QString RDBGridTest::Hint(int ACol, int ARow)
{
    struct Probe : TrDBGrid {
        using TrDBGrid::DoHintShow;
    };
    QString h;
    bool show = false;
    static_cast<Probe*>(grid)->DoHintShow(ACol, ARow, h, show);
    return show ? h : QString();
}

int CountPixels(const QImage& Img, const TRect& R, const std::function<bool(QRgb)>& Pred)
{
    int n = 0;
    for (int y = std::max(0, R.Top); y < std::min(Img.height(), R.Bottom); ++y)
        for (int x = std::max(0, R.Left); x < std::min(Img.width(), R.Right); ++x)
            n += Pred(Img.pixel(x, y)) ? 1 : 0;
    return n;
}

bool IsRed(QRgb p) { return qRed(p) > 200 && qGreen(p) < 70 && qBlue(p) < 70; }
bool IsGreen(QRgb p) { return qGreen(p) > 100 && qRed(p) < 70 && qBlue(p) < 70; }
bool IsBlue(QRgb p) { return qBlue(p) > 200 && qRed(p) < 70 && qGreen(p) < 70; }

void FillImages(TImageList* L)
{
    L->SetSize(16, 16);
    for (TColor c : {clRed, clGreen, clBlue, clBlack, clWhite}) {
        TBitmap b(16, 16);
        b.Canvas()->Brush()->SetColor(c);
        b.Canvas()->FillRect(Rect(0, 0, 16, 16));
        L->Add(&b);
    }
}
