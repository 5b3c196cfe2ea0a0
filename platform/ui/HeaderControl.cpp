#include "platform/ui/HeaderControl.h"

#include <QHeaderView>
#include <QStandardItemModel>

namespace {

Qt::Alignment ToQtAlignment(TAlignment A)
{
    return (A == taRightJustify ? Qt::AlignRight : A == taCenter ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
}

}  // namespace

TCustomHeaderControl::TCustomHeaderControl(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 200;
    FHeight = 17;
    SetAlign(alTop);
}

QWidget* TCustomHeaderControl::CreateWidget()
{
    auto* h = new QHeaderView(Qt::Horizontal);
    h->setModel(new QStandardItemModel(0, 0, h));
    h->setSectionsClickable(true);
    h->setSectionResizeMode(QHeaderView::Interactive);
    h->setStretchLastSection(false);
    h->setMinimumSectionSize(0);
    QObject::connect(h, &QHeaderView::sectionResized, h, [this](int Index, int, int NewSize) {
        if (FSetting || Index < 0 || Index >= SectionCount())
            return;
        FSections[size_t(Index)].Width = NewSize;
        if (OnSectionResize)
            OnSectionResize(this, Index);
    });
    FWidget = h;
    Rebuild();
    return h;
}

void TCustomHeaderControl::Rebuild()
{
    auto* h = static_cast<QHeaderView*>(FWidget);
    if (!h)
        return;
    FSetting = true;
    auto* model = static_cast<QStandardItemModel*>(h->model());
    model->setColumnCount(SectionCount());
    for (int i = 0; i < SectionCount(); ++i) {
        model->setHeaderData(i, Qt::Horizontal, FSections[size_t(i)].Text, Qt::DisplayRole);
        model->setHeaderData(i, Qt::Horizontal, int(ToQtAlignment(FSections[size_t(i)].Alignment)),
                             Qt::TextAlignmentRole);
        h->resizeSection(i, FSections[size_t(i)].Width);
    }
    FSetting = false;
}

void TCustomHeaderControl::AddSection(const QString& Text, int Width, TAlignment Alignment)
{
    FSections.push_back({Text, Width, Alignment});
    Rebuild();
}

void TCustomHeaderControl::ClearSections()
{
    FSections.clear();
    Rebuild();
}

void TCustomHeaderControl::SetSectionWidth(int Index, int Width)
{
    if (Index < 0 || Index >= SectionCount() || FSections[size_t(Index)].Width == Width)
        return;
    FSections[size_t(Index)].Width = Width;
    Rebuild();
    if (OnSectionResize)
        OnSectionResize(this, Index);
}
