#pragma once
// Stored filters of a grid: the dataset's filter kept under a name in the
// global property file (one list per grid, keyed by the grid's owner and
// name), the "Stored filters" dialog that applies, edits and deletes them,
// and the readable name proposed when a filter is stored.

#include "components/grid/rDBDlgBaseForm.h"

#include <QString>
#include <QStringList>

class TButton;
class TDataSet;
class TrDBGrid;
class TrStringGridEd;

// The filter text without brackets, field names replaced by their display
// labels where they stand as names (not inside quoted values).
QString PresetFilterName(TDataSet* Dataset);

class TrDBFilterSaverForm : public TrDBDlgBaseForm {
public:
    explicit TrDBFilterSaverForm(TComponent* AOwner);
    ~TrDBFilterSaverForm() override;

    static constexpr int ColMark = 0, ColName = 1, ColCondition = 2;
    TrStringGridEd* sgFilter;
    TButton* btUse;
    TButton* btDel;
    TrButton* btClose;
    TrDBGrid* G = nullptr;
    // The result the dialog ends with: mrOk once a stored filter was applied.
    int mRes = mrCancel;

    // The section of the grid's list in the global property file.
    QString StoreKey() const;
    // Reads / writes the list (false without a global property file).
    bool ReadStore();
    bool SaveStore();
    // "+" in the row whose condition is the dataset's filter.
    void MarkActiveFilter();
    // Appends (or reuses the one blank row) and writes the list at once.
    void AddFilter(const QString& Name, const QString& Condition);
    // Applies the selected row's condition; Close ends the dialog as well.
    bool UseSelected(bool Close);
    // Asks, then removes the selected row.
    void DeleteSelected();
    int FilterRowCount() const;
    QString FilterName(int Row) const;
    QString FilterCondition(int Row) const;
    QString Mark(int Row) const;
    void SelectRow(int Row);

protected:
    void DoShow() override;
    void DoHide() override;
    void DoClose(TCloseAction& Action) override;
};

// Stores the grid dataset's current filter under a name the user gives.
void SaveFilter(TrDBGrid* Grid);
// Shows the dialog; true when a stored filter was applied from it.
bool LoadFilter(TrDBGrid* Grid);
// The stored names (blank ones left out); false without a grid or global property file.
bool LoadFilterNames(TrDBGrid* Grid, QStringList& List);
// Applies every stored filter of that name (ignoring case); the last one's answer.
bool ActiveFilterName(TrDBGrid* Grid, const QString& FilterName);
