#include "components/grid/TParioCompsPropSave.h"

#include "components/base/rGroupBox.h"
#include "components/base/rImageZoom.h"
#include "components/base/rMemoEx.h"
#include "components/grid/TPropSaveParts.h"
#include "platform/ui/Graphics.h"

bool TParioCompsPropSave::CanSave(TComponent* Comp) const
{
    return dynamic_cast<TrGroupBox*>(Comp) || dynamic_cast<TrImageZoom*>(Comp) || dynamic_cast<TrMemoEx*>(Comp) ||
           FindPropSavePart(ppLibraryControlsSaver, Comp);
}

void TParioCompsPropSave::ReadSaveProps(TPropSaveAction A, TPropSaveFile* F, TComponent* Comp, const QString& Key)
{
    if (auto* g = dynamic_cast<TrGroupBox*>(Comp)) {
        const QString visible = QStringLiteral("Visible"), minimized = QStringLiteral("Minimized"), origin = QStringLiteral("OriginSize");
        switch (A) {
        case psaRead:
            if (StoreVisibility)
                g->SetVisible(F->ReadBool(Key, visible, g->Visible()));
            g->SetMinimized(F->ReadBool(Key, minimized, g->Minimized()));
            g->OriginSize = F->ReadInteger(Key, origin, g->OriginSize);
            break;
        case psaSave:
            if (StoreVisibility)
                F->WriteBool(Key, visible, g->Visible());
            F->WriteBool(Key, minimized, g->Minimized());
            F->WriteInteger(Key, origin, g->OriginSize);
            break;
        case psaDelete:
            F->DeleteKey(Key, visible);
            F->DeleteKey(Key, minimized);
            F->DeleteKey(Key, origin);
            break;
        }
    }
    if (auto* z = dynamic_cast<TrImageZoom*>(Comp)) {
        const QString zoom = QStringLiteral("Zoom"), fit = QStringLiteral("AutoFit");
        if (A == psaRead) {
            z->SetZoom(F->ReadInteger(Key, zoom, z->Zoom()));
            z->SetAutoFit(F->ReadBool(Key, fit, z->AutoFit()));
        } else if (A == psaSave) {
            F->WriteInteger(Key, zoom, z->Zoom());
            F->WriteBool(Key, fit, z->AutoFit());
        } else {
            F->DeleteKey(Key, zoom);
            F->DeleteKey(Key, fit);
        }
    }
    if (auto* m = dynamic_cast<TrMemoEx*>(Comp)) {
        if (A == psaRead) {
            TFont font = *m->Font();
            F->ReadFont(Key, font, 1.0);
            if (F->ValueExists(Key, QStringLiteral("FontName")))
                m->SetFont(font);
        } else if (A == psaSave) {
            if (!m->ParentFont())
                F->WriteFont(Key, *m->Font(), 1.0);
        } else {
            F->DeleteFont(Key);
        }
    }
    if (const TPropSavePart* part = FindPropSavePart(ppLibraryControlsSaver, Comp))
        part->ReadSave(A, F, Comp, Key);
}
