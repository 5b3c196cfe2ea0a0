#pragma once
// The grid's cell dialogs: the memo dialog shows and edits the text of a
// memo or rich-text cell; the picture dialog shows the picture of a picture
// cell and loads, saves, copies, pastes and clears it.

#include "components/base/rdlg_baseform.h"
#include "components/base/rpictool.h"

#include <functional>

class TDataSource;
class TField;
class TrMemoEx;
class TrRichEdit;
class TrImageZoom;
class TMainMenu;
class TMenuItem;

class TPropSaveFile;
class TPropSaveMain;
class TParioCompsPropSave;

class TrDBGridMemoForm : public TrDlgBaseForm {
public:
    explicit TrDBGridMemoForm(TComponent* AOwner);
    // The dialog's position, its three menu states and the memo font
    // (section + ".Memo") in File (nullptr: the global property file);
    // read before it shows, saved after it closed.
    TPropSaveMain* DlgPropSave;
    void LinkPropSaveFile(TPropSaveFile* File);
    bool IsEdit = false;
    bool IsRichEdit = false;
    QString Text;  // in and out
    TrMemoEx* Memo;
    TrRichEdit* rRichEdit;
    TMainMenu* MainMenu;
    TMenuItem* mnProperties;
    TMenuItem* mnEnter;
    TMenuItem* mnTab;
    TMenuItem* mnWrap;
    TMenuItem* mnWindow;
    TMenuItem* mnFont;
    void SetAll();
    void btOkClick();

private:
    void FormShow();
};

// The picture control of the picture dialog. The data-aware picture lives
// in the layer above the grid, which installs how it is made and bound to
// the cell's field; without it the dialog shows a plain picture view.
struct TGridPictureLayer {
    std::function<TrImageZoom*(TComponent* Owner)> Make;
    std::function<void(TrImageZoom* Control, TDataSource* Source, const QString& FieldName)> Bind;
};
TGridPictureLayer& GridPictureLayer();

class TrDBGridGraphicForm : public TrDlgBaseForm {
public:
    explicit TrDBGridGraphicForm(TComponent* AOwner);
    // The dialog's position and the picture view's zoom (File nullptr: the global property file).
    TPropSaveMain* DlgPropSave;
    TParioCompsPropSave* ParioCompsPropSave1;
    void LinkPropSaveFile(TPropSaveFile* File);
    bool IsEdit = false;
    TrGraphicType GrType = gtNoPicture;
    // The picture field shown and edited (every change is written at once).
    TField* Field = nullptr;
    // The grid's data source, for a data-aware picture control.
    TDataSource* Source = nullptr;
    TrImageZoom* DBImg;
    TPanel* pTools;
    TButton* tbLoad;
    TButton* tbSave;
    TButton* tbCopy;
    TButton* tbPaste;
    TButton* tbClear;
    void SetAll();
    void LoadPicture();
    // The tool buttons' work (also used by the tests without file dialogs).
    bool LoadFromFile(const QString& FileName);
    bool SaveToFile(const QString& FileName);
    void CopyClick();
    bool PasteClick();
    void ClearClick();

private:
    bool StorePicture();
    bool FDataAwarePicture = false;
};

// The hint of a picture cell: "BMP: 640 x 480", "(empty)" or "(corrupted)".
QString GetPictureHint(const TField* Field);
