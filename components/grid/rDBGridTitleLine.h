#pragma once
// The title line: a band of text lines ("|"-separated, "%d" = record count)
// above the column titles, drawn across every title cell.

#include "components/grid/rDBGridPartFont.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Types.h"

#include <QString>

class TrDBGrid;
class TCanvas;

class TTitleLineText : public TGridPartFont {
public:
    explicit TTitleLineText(TrDBGrid* Grid) : TGridPartFont(Grid) {}
    int FixHeight() const { return FFixHeight; }
    void SetFixHeight(int V);  // below 4 stores 0
    const QString& Text() const { return FText; }
    void SetText(const QString& V);
    TColor Color() const { return FColor; }
    void SetColor(TColor V);
    TAlignment TextAlign() const { return FTextAlign; }
    void SetTextAlign(TAlignment V);
    bool ShowDesignTime = false;

    // The N-th (0-based) "|"-separated part, and the count of parts before the first empty one.
    QString GetLineText(int N) const;
    int GetLineCount() const;
    // Height of the band (0 without text): lines × line height + 1, or FixHeight.
    int SumHeight() const;
    int LineHeight() const;
    // Left and right end of the band, widened while the title cells are painted.
    int PosLeft = 0;
    int PosRight = 0;
    void Assign(const TTitleLineText& Source);

protected:
    void Changed() override;

private:
    int FFixHeight = 0;
    QString FText;
    TColor FColor = clBtnFace;
    TAlignment FTextAlign = taLeftJustify;
};
