#pragma once
// The picture stored in a blob field of the current record, shown in the
// library's zoomable picture view. Every editing command writes the field at
// once (as JPEG or bitmap, scaled down to MaxImageSize); the menu converts the
// current or all records to one kind; a small bound tool bar zooms and opens
// the editor.

#include "components/base/rImageZoom.h"
#include "components/dbcontrols/TBoundButtons.h"
#include "components/dbcontrols/TDBLabeledControl.h"

#include <array>
#include <memory>

class TToolBar;
class TToolButton;

class TrDBImage : public TDBLabeledControl<TrImageZoom> {
public:
    explicit TrDBImage(TComponent* AOwner);
    ~TrDBImage() override;

    TDataSource* DataSource() const { return FDataLink->DataSource(); }
    void SetDataSource(TDataSource* Value);
    const QString& DataField() const { return FDataLink->FieldName(); }
    void SetDataField(const QString& Value);
    TField* Field() const { return FDataLink->Field(); }

    TBoundButtons* BoundButtons() { return FBoundButtons; }
    TToolBar* BoundToolBar() const { return FBoundToolBar; }
    TToolButton* BoundButton(int Number) const { return FBtnArr.at(size_t(Number - 1)); }
    bool ShowConvertMenu() const { return FShowConvertMenu; }
    void SetShowConvertMenu(bool Value);
    TPicture* PictureIfEmpty() { return FPictureIfEmpty.get(); }
    void SetPictureIfEmpty(const TPicture* Value);
    int MaxImageSize = 0;
    bool Aborted = false;

    bool CanModify() const override;
    // CanModify, then the data source put into edit state.
    bool CanEdit();
    // Writes the picture in GraphicType (gtNoPicture: the default kind).
    bool IntSaveToField(TrGraphicType GraphicType);
    // Converts the current or every record's picture to Kind.
    void Convert(bool AllRecords, TrGraphicType Kind);

    bool CutImageToClipboard() override;
    bool PasteImageFromClipboard() override;
    bool LoadFromFile(const QString& FileName) override;
    bool ResizePic(int Percent) override;
    bool ShowEditorWindow() override;
    void PopupClick(TComponent* Sender) override;
    void OnPopupMenu() override;

    void SetParent(TWinControl* AParent) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void UpdateState(TComponent*) override {}
    // Shows the field of the current record.
    void DataChange();
    // Lays the bound tool bar out beside the control.
    void RefBoundButtons();

protected:
    QString BoundFieldName() const override { return DataField(); }
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void VisibleChanged() override;
    void EnabledChanged() override;
    void ZoomChanged() override;

private:
    void BuildMenu();
    void BuildToolBar();
    void ActiveChange();
    void ConvertOneRec(TrGraphicType Kind);
    std::unique_ptr<TFieldDataLink> FDataLink;
    TBoundButtons* FBoundButtons;
    TToolBar* FBoundToolBar = nullptr;
    std::array<TToolButton*, 4> FBtnArr{};
    bool FShowConvertMenu = true;
    std::unique_ptr<TPicture> FPictureIfEmpty;
};
