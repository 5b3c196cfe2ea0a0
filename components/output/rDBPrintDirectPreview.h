#pragma once
// The page preview of direct printing: the page pictures one at a time,
// zoomed in and out or fitted to the window, with page navigation; "Print"
// closes it with Ok so the caller prints the same report on paper. The zoom
// is kept between uses.

#include "components/grid/rDBDlgBaseForm.h"

#include <memory>
#include <vector>

class TBitmap;
class TButton;
class TImageList;
class TLabel;
class TPanel;
class TPropSaveMain;
class TrEditNum;
class TrImageZoom;

class TrDBPrintDirectPreviewForm : public TrDBDlgBaseForm {
public:
    using TPageList = std::vector<std::unique_ptr<TBitmap>>;
    explicit TrDBPrintDirectPreviewForm(TComponent* AOwner);

    TrImageZoom* Img;
    TPanel* pnBottom;
    TButton* btFit;
    TButton* btZoomIn;
    TButton* btZoomOut;
    TrEditNum* ePage;
    TLabel* lPage;
    TButton* btPrev;
    TButton* btNext;
    TButton* btPrint;
    TButton* btCancel;
    TImageList* Glyphs;  // the pictures of the zoom and page buttons

    // Takes the pages to show (they stay the caller's) and shows the first.
    void SetBmpList(const TPageList* List);
    // Shows page Idx (from 0); any other number is ignored.
    void ShowBmp(int Idx);
    int PageIndex() const { return aIdx; }
    void btPrevClick() { ShowBmp(aIdx - 1); }
    void btNextClick() { ShowBmp(aIdx + 1); }
    void ePageChange();

private:
    void BuildControls();
    int PageCount() const;

    int aIdx = 0;
    const TPageList* BmpList = nullptr;
    bool IsLoaded = false;
    bool FZoomRestored = false;
};
