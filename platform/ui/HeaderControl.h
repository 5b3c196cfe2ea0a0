#pragma once
// Header bars over columns: a row of sections, each with a caption and a
// width the user may drag. THeaderControl is the common-controls kind;
// THeader is the older kind (its last section only fills the rest of the bar).

#include "platform/ui/Controls.h"

#include <vector>

struct THeaderSection {
    QString Text;
    int Width = 50;
    TAlignment Alignment = taLeftJustify;
};

class TCustomHeaderControl : public TWinControl {
public:
    explicit TCustomHeaderControl(TComponent* AOwner);
    int SectionCount() const { return int(FSections.size()); }
    const THeaderSection& Section(int Index) const { return FSections.at(size_t(Index)); }
    void AddSection(const QString& Text, int Width, TAlignment Alignment = taLeftJustify);
    void ClearSections();
    void SetSectionWidth(int Index, int Width);
    // A section's width changed (dragged or set), with its index.
    std::function<void(TComponent* Sender, int Index)> OnSectionResize;

protected:
    QWidget* CreateWidget() override;
    void Rebuild();

private:
    std::vector<THeaderSection> FSections;
    bool FSetting = false;
};

class THeaderControl : public TCustomHeaderControl {
public:
    explicit THeaderControl(TComponent* AOwner) : TCustomHeaderControl(AOwner) {}
};

class THeader : public TCustomHeaderControl {
public:
    explicit THeader(TComponent* AOwner) : TCustomHeaderControl(AOwner) {}
};
