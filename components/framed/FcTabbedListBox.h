#pragma once
// The framed list box with tab stops: item texts split into columns at tab
// characters, stops set by hand or computed from the widest cell of every
// column, and cells read and written by column and row.

#include "components/framed/FcIntegerList.h"
#include "components/framed/FcLstBox.h"

SORVEX_EXCEPTION_KIND(EHeaderError, Exception)

class TFcCustomTabbedListBox;

class TFcTabStopList : public TFcIntegerList {
public:
    explicit TFcTabStopList(TFcCustomTabbedListBox* AListBox);
    void SetItem(int Index, int Value) override;
    int Add(int Value) override;
    void Delete(int Index) override;
    void Insert(int Index, int Value) override;

private:
    TFcCustomTabbedListBox* FListBox;
};

enum TFcTabStopsMode { tsmManual, tsmAutomatic };

class TFcCustomTabbedListBox : public TFcCustomListBox {
public:
    explicit TFcCustomTabbedListBox(TComponent* AOwner);

    TFcTabStopList* TabStops() { return &FTabStops; }
    void SetTabStops(const TFcIntegerList& Value);
    TFcTabStopsMode TabStopsMode() const { return FTabStopsMode; }
    virtual void SetTabStopsMode(TFcTabStopsMode Value);
    int DialogUnits() const { return FDialogUnits; }
    virtual int InitialTabStopOffset() const { return 0; }
    // At most 1000 stops, each in quarters of an average character.
    std::vector<int> GetTabArray() const;
    void UpdateTabStops();
    virtual void AdjustTabStops();
    QString GetCellText(int ACol, int ARow) const;
    void SetCellText(int ACol, int ARow, const QString& Value);
    // Tab stops from a header's section widths; only the two header kinds are accepted.
    void UpdateFromHeader(TControl* Header);
    void AdjustHorzExtent() override;
    void Loaded() override;

protected:
    void DefaultDrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
    void DrawGroup(int Index, TRect Rect, TOwnerDrawState State) override;
    void GroupFontChanged() override;
    void FontChanged() override;
    void ItemInserted(int Index) override;
    void ItemDeleted(int Index) override;
    // The tab positions in pixels.
    std::vector<int> TabPixels() const;

public:
    // The default stop after X: the next multiple of 8 average characters.
    int NextDefaultStop(int X) const;

protected:
    void DrawTabbed(const QString& Text, const TRect& R);

    TFcTabStopList FTabStops;
    TFcTabStopsMode FTabStopsMode = tsmManual;
    int FDialogUnits = 6;
};

class TFcTabbedListBox : public TFcCustomTabbedListBox {
public:
    explicit TFcTabbedListBox(TComponent* AOwner) : TFcCustomTabbedListBox(AOwner) {}
};
