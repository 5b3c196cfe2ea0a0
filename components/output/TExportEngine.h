#pragma once
// The rules every data exporter shares: which source it runs over, which
// columns and titles it takes, the walk over the records (selected rows
// only, abort after the record at hand), progress window and events, the
// after-action and the way text files reach the disk (whole or not at all).

#include "components/grid/rdbtool.h"
#include "platform/database/DataSet.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Graphics.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

class TCustomDBGrid;
class TrDBGrid;
class TColumn;
class TrDBRecView;
class TTreeView;
class TrStringGridEd;

// The stages of the platform's progress notifications.
using TExportProgressStage = TProgressStage;

// Sender, stage, percent, message (the rectangle and redraw flag of picture
// progress events carry nothing here and are left out).
using TExportProgressEvent = std::function<void(TComponent* Sender, TExportProgressStage Stage, int Percent, const QString& Msg)>;
using TExportNotifyEvent = std::function<void(TComponent* Sender)>;

// One exported column: the field behind it and its title.
struct TExportColumn {
    QString Name;
    QString Title;
    TField* Field = nullptr;
    int Col = -1;  // a string grid's column
    int ViewIndex = -1;  // a record view's item
};

class TExportEngine : public TComponent {
public:
    explicit TExportEngine(TComponent* AOwner = nullptr);

    bool Execute(TCustomDBGrid* Grid);
    bool Execute(TDataSet* Dataset);
    bool Execute(TrDBRecView* RecView);
    bool Execute(TTreeView* TreeView);
    bool Execute(TrStringGridEd* StringGrid);
    // Any of the five source kinds; True when the file was written.
    bool ExecuteSource(TSourceType AType, TComponent* ASource) { return ExecuteInt(AType, ASource); }

    QString ExportFile;
    bool ExportFieldName = true;
    bool RealFieldNamesAsTitle = false;
    bool ExportOnlyVisibleFields = true;
    bool ExportOnlySelectedRows = false;
    bool ExportStructureOnly = false;
    bool TrimData = false;
    TActionAfter ActionAfter = aaShow;
    bool UseDisableControl = true;
    bool ShowProgressBar = false;
    TExportProgressEvent OnProgressEvent;
    TExportNotifyEvent OnBeforeExport;
    TExportNotifyEvent OnAfterExport;

    // What a run over the source would list: records of a grid or dataset,
    // fields of a record view, shown nodes of a tree view, data rows of a
    // string grid (0 for a source that cannot run).
    int CountRows(TSourceType AType, TComponent* ASource);

    void DoAbort(TComponent* = nullptr) { Aborted = true; }
    bool WasAborted() const { return Aborted; }
    // The text of the error the last run reported (empty after a clean run).
    const QString& LastError() const { return FLastError; }

protected:
    // The engine's own run over a resolved source; True when written.
    virtual bool Run() = 0;
    // The first line of the error dialog when a run fails.
    virtual QString ErrorText() const;
    // Whether memo fields are part of the column list.
    virtual bool WantsMemoFields() const { return true; }
    // Whether picture fields are part of the column list.
    virtual bool WantsPictureFields() const { return false; }

    bool ExecuteInt(TSourceType AType, TComponent* ASource);
    void BuildColumns();
    bool ResolveSource(TSourceType AType, TComponent* ASource);
    bool ResolveRecView(TComponent* ASource);
    bool ResolveStringGrid(TComponent* ASource);
    bool WalkStringGrid(const std::function<void(int RecIdx)>& Row);
    QString StringGridCell(int Col, int Row) const;
    int StringGridRows() const;
    void BuildRecViewColumns();
    void BuildStringGridColumns();
    // Walks all records (or only the grid's selected ones); Row gets the
    // record number from 1. False when the walk was aborted.
    bool WalkRecords(const std::function<void(int RecIdx)>& Row);
    // The walk of any source with columns: the records of a grid or
    // dataset, the current record of a record view (RecIdx 0), the data
    // rows of a string grid (RecIdx the row). False when aborted.
    bool WalkSource(const std::function<void(int RecIdx)>& Row);
    // A tree view's shown nodes, depth first, children of expanded nodes
    // only; Node gets the text and the depth from 0.
    void WalkTree(const std::function<void(const QString& Text, int Depth)>& Node);
    void WalkTreeNodes(const std::function<void(class TTreeNode* N, int Depth)>& Node);
    int TreeNodeCount() const;
    // The text of a column in the record or row at hand.
    QString SourceText(const TExportColumn& C) const;
    // A string grid column's number in the row at hand (false: not a
    // number column, or no valid number there).
    bool StringGridNumber(const TExportColumn& C, double& Value) const;
    bool StringGridIsText(const TExportColumn& C) const;
    int StringGridDataWidth(const TExportColumn& C) const;
    // A string grid column's own number format (empty: none).
    QString StringGridNumFormat(const TExportColumn& C) const;
    // The kind of a string grid column in the row at hand.
    enum class TGridCellKind { Text, Number, Date, Time, DateTime, Bar, Boolean };
    TGridCellKind StringGridKind(const TExportColumn& C) const;
    // A date, time or date-time cell's value (false: empty or not valid).
    bool StringGridDateTime(const TExportColumn& C, double& Value) const;
    // A check-box cell's value.
    bool StringGridBool(const TExportColumn& C) const;
    // The string grid source (nullptr for other sources).
    class TrStringGridEd* StringGridEd() const;
    TFieldAlignment StringGridAlignment(const TExportColumn& C, int Row) const;
    // The text of a field as the source shows it: a TrDBGrid's own cell
    // value without display formatting, else the field's text.
    QString RawText(TField* F) const;
    QString DisplayTextOf(TField* F) const;
    // The column of the grid source that shows F (nullptr: none, or no grid).
    TColumn* ColumnOf(const TField* F) const;
    void ProgressStep();
    void RunAfterAction(const QString& FileName) const;
    // Writes Data to FileName through a temporary file, so an error never
    // leaves half a file behind; raises on failure.
    static void WriteWholeFile(const QString& FileName, const QByteArray& Data);
    static QString ProgressText();

    TSourceType SourceType = stDataset;
    TComponent* SourceObject = nullptr;
    TDataSet* Dataset = nullptr;
    TCustomDBGrid* DBGrid = nullptr;
    TrDBRecView* RecView = nullptr;
    TTreeView* TreeView = nullptr;
    TComponent* StringGrid = nullptr;  // a TrStringGridEd
    std::vector<TExportColumn> FN;
    int RecIdx = 0;
    int RecCount = 0;
    bool Aborted = false;
    QString FLastError;
};

// Windows-1252 bytes of a text; characters outside it become "?".
QByteArray EncodeWindows1252(const QString& S);
// Removes blanks and control characters at both ends.
QString TrimControls(const QString& S);
