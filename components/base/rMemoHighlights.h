#pragma once
// What a memo paints over its own text: listed words and ranges between a
// start and an end mark, each in its own colours, and page-break guide
// lines at given character columns. Only the visible lines are searched.

#include "platform/ui/Graphics.h"

#include <QStringList>
#include <vector>

class TMemo;

struct TMemoHighlights {
    // "WORD", optionally TAB font colour TAB brush colour ("" the defaults
    // below, "-" the memo's font colour / no background).
    QStringList Words;
    bool WholeWords = false;
    // Both must be set; "#9" stands for a TAB.
    QString FromStr, ToStr;
    TColor FontColor = clWindowText;
    TColor BrushColor = 0xC0DCC0;
    // "FROM TAB TO TAB font colour TAB brush colour".
    QStringList FromToEx;
    // ";"-separated character counts; the first empty part ends the list.
    QString PageBreaksCharNumber;
    // A page-break line exactly on the client's right edge is still drawn.
    bool PageBreakOnEdge = true;

    struct TPart {
        int CharIndex;
        QString Text;
        TColor FontColor;
        TColor BrushColor;  // clNone: transparent
    };
    // The parts of the memo's lines FirstLine to LastLine; a part inside the
    // selection is left to the selection's own colours.
    std::vector<TPart> Parts(const TMemo* Memo, int FirstLine, int LastLine) const;
    // The x positions of the page-break lines within ClientWidth.
    std::vector<int> PageBreakPositions(TCanvas* Canvas, int ClientWidth) const;
    // Draws the highlights of the visible lines and the page-break lines.
    void Paint(TMemo* Memo, TCanvas* Canvas) const;
};
