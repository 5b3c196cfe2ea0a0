#pragma once
// A TrDBGrid on a form over an in-memory table of runs with Finnish names,
// and helpers that drive it through real Qt events and read its pixels.

#include "components/grid/rDBGrid.h"
#include "platform/database/ClientDataSet.h"
#include "platform/ui/Forms.h"

#include <QImage>
#include <QString>
#include <functional>
#include <initializer_list>
#include <gtest/gtest.h>
#include <memory>

class QWidget;
class TImageList;

// Pixels of R (clipped to the image) for which Pred holds.
int CountPixels(const QImage& Img, const TRect& R, const std::function<bool(QRgb)>& Pred);
bool IsRed(QRgb p);
bool IsGreen(QRgb p);
bool IsBlue(QRgb p);
// Five solid 16 x 16 images: red, green, blue, black, white.
void FillImages(TImageList* L);

// ID, NAME, CLUB, STATUS ("0" ok, "3" disqualified), RENTED ("K"/"E"), SECS.
std::unique_ptr<TClientDataSet> MakeRunsTable(int N);
extern const char* const RunnerNames[8];
// Fills Clubs (CID, CNAME) with the names, numbered from 1, and returns an
// empty table of runs (ID, CLUB_ID) whose CLUB looks the club's name up.
std::unique_ptr<TClientDataSet> MakeClubRuns(TClientDataSet& Clubs, std::initializer_list<const char*> Names);

class RDBGridTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The grid's pixels as a window repaint draws them.
    QImage Render();
    // The colour of a pixel as a TColor ($00BBGGRR).
    static TColor PixelColor(const QImage& Img, int X, int Y);
    // A point inside a cell clear of its text (bottom right corner).
    TPoint Blank(int ACol, int ARow) const;
    void Key(int QtKey, const QString& Text = QString(), Qt::KeyboardModifiers Mods = Qt::NoModifier);
    void Click(int X, int Y, Qt::KeyboardModifiers Mods = Qt::NoModifier);
    void DoubleClick(int X, int Y);
    void Move(int X, int Y);
    // The hint the grid shows over a cell (empty when it shows none).
    QString Hint(int ACol, int ARow);
    // Record ids in the dataset's present order.
    QList<int> Ids();

    std::unique_ptr<TForm> form;
    std::unique_ptr<TClientDataSet> data;
    std::unique_ptr<TDataSource> src;
    TrDBGrid* grid = nullptr;
    int scrolls = 0;
};
