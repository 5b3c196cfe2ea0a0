#pragma once
// Saver of the library's own controls: a group box's visibility, minimised
// state and original size; a memo's font (unless it uses its parent's); and
// the controls of the layers above that register with it (TPropSaveParts.h).

#include "components/grid/TPropSaveMain.h"

class TParioCompsPropSave : public TCustomPropSave {
public:
    explicit TParioCompsPropSave(TComponent* AOwner) : TCustomPropSave(AOwner) {}
    bool StoreVisibility = true;
    void ReadSaveProps(TPropSaveAction psAction, TPropSaveFile* PSFile, TComponent* Comp, const QString& Key) override;
    bool CanSave(TComponent* Comp) const override;
};
