#include "platform/ui/TestDriverChoices.h"

#include "platform/database/DataSet.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/TabControl.h"

#include <QStringList>

namespace {

QString WithoutAccelerator(QString Caption)
{
    return Caption.remove(QLatin1Char('&')).trimmed();
}

// The index of the caption equal to Text, else Text read as an index.
int ChoiceIndex(const QStringList& Captions, const QString& Text)
{
    for (int i = 0; i < Captions.size(); ++i)
        if (WithoutAccelerator(Captions[i]) == WithoutAccelerator(Text))
            return i;
    bool isNumber = false;
    const int index = Text.toInt(&isNumber);
    return isNumber && index >= 0 && index < Captions.size() ? index : -1;
}

TDriverChoice TabChoice(TCustomTabControl* Tabs, const QString& Text)
{
    TDriverChoice c{true};
    const int index = ChoiceIndex(Tabs->Tabs(), Text);
    if (index < 0) {
        c.Error = QStringLiteral("no tab ") + Text;
        return c;
    }
    c.Action = [Tabs, index] {
        if (index == Tabs->TabIndex() || !Tabs->CanChange())
            return;
        Tabs->SetTabIndex(index);
        Tabs->Change();
    };
    return c;
}

TDriverChoice PageChoice(TPageControl* Pages, const QString& Text)
{
    TDriverChoice c{true};
    QStringList captions;
    for (int i = 0; i < Pages->PageCount(); ++i)
        captions << (Pages->Pages(i)->TabVisible() ? Pages->Pages(i)->Caption() : QString());
    const int index = ChoiceIndex(captions, Text);
    if (index < 0 || !Pages->Pages(index)->TabVisible()) {
        c.Error = QStringLiteral("no tab ") + Text;
        return c;
    }
    c.Action = [Pages, index] {
        TTabSheet* page = Pages->Pages(index);
        if (page == Pages->ActivePage())
            return;
        bool allow = true;
        if (Pages->OnChanging)
            Pages->OnChanging(Pages, allow);
        if (!allow)
            return;
        Pages->SetActivePage(page);
        if (Pages->OnChange)
            Pages->OnChange(Pages);
    };
    return c;
}

// The key of the list row whose shown text (or first list field) is Text.
QVariant LookupKey(TDBLookupComboBox* Box, const QString& Text)
{
    TDataSet* d = Box->ListSource() ? Box->ListSource()->DataSet() : nullptr;
    if (!d || !d->Active())
        return QVariant();
    const QStringList names = Box->ListField.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    QVariant key;
    const int old = d->ActiveRecordOverride();
    for (int row = 0; row < d->RecordCount() && !key.isValid(); ++row) {
        d->SetActiveRecordOverride(row);
        QStringList parts;
        for (const QString& n : names)
            if (TField* f = d->FindField(n.trimmed()))
                parts << f->DisplayText();
        if (!parts.isEmpty() && (parts.join(QStringLiteral("  ")) == Text || parts.first() == Text))
            if (TField* k = d->FindField(Box->KeyField))
                key = k->AsVariant();
    }
    d->SetActiveRecordOverride(old);
    return key;
}

TDriverChoice LookupChoice(TDBLookupComboBox* Box, const QString& Text)
{
    TDriverChoice c{true};
    if (Box->ReadOnly) {
        c.Error = Box->Name() + QStringLiteral(" is read-only");
        return c;
    }
    const QVariant key = LookupKey(Box, Text);
    if (!key.isValid()) {
        c.Error = QStringLiteral("no item ") + Text;
        return c;
    }
    c.Action = [Box, key] {
        if (Box->CanFocus())
            Box->SetFocus();
        Box->DropDown();
        // A box whose field cannot change keeps its list closed.
        if (!Box->ListVisible())
            return;
        Box->DataList()->SetKeyValue(key);
        Box->CloseUp(true);
    };
    return c;
}

}  // namespace

TDriverChoice DriverChoiceFor(TComponent* Target, const QString& Text)
{
    if (auto* tabs = dynamic_cast<TCustomTabControl*>(Target))
        return TabChoice(tabs, Text);
    if (auto* pages = dynamic_cast<TPageControl*>(Target))
        return PageChoice(pages, Text);
    if (auto* box = dynamic_cast<TDBLookupComboBox*>(Target))
        return LookupChoice(box, Text);
    return TDriverChoice{};
}

QString DriverChoiceText(TComponent* Target, bool& Handled)
{
    Handled = true;
    if (auto* tabs = dynamic_cast<TCustomTabControl*>(Target))
        return tabs->TabIndex() >= 0 ? WithoutAccelerator(tabs->Tabs().value(tabs->TabIndex())) : QString();
    if (auto* pages = dynamic_cast<TPageControl*>(Target))
        return pages->ActivePage() ? WithoutAccelerator(pages->ActivePage()->Caption()) : QString();
    if (auto* box = dynamic_cast<TDBLookupComboBox*>(Target))
        return box->Text();
    Handled = false;
    return QString();
}
