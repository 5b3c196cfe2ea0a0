// The framed list box family: incremental search with its reset delay,
// groups, tab stops and cells, and the check list's toggles, veto and text format.
#include "components/framed/FcChkLst.h"
#include "platform/os/Sound.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HeaderControl.h"
#include "platform/ui/ImgList.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

namespace {

void Type(TControl* C, const QString& Text)
{
    for (QChar ch : Text) {
        int key = int(ch.toUpper().unicode());
        if (ch == QLatin1Char('\b'))
            key = Qt::Key_Backspace;
        else if (ch == QChar(27))
            key = Qt::Key_Escape;
        else if (ch == QLatin1Char('\r'))
            key = Qt::Key_Return;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(C->Widget(), &press);
    }
}

template <class T>
struct ListForm {
    ListForm()
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 300);
        list = new T(form.get());
        list->SetParent(form.get());
        list->SetBounds(0, 0, 200, 200);
        form->AfterConstruction();
        SetSoundSink([this](const QString&) { ++beeps; });
    }
    ~ListForm() { SetSoundSink(nullptr); }
    std::unique_ptr<TForm> form;
    T* list;
    int beeps = 0;
};

}  // namespace

TEST(FcListBoxTest, IncrementalSearchWithResetDelay)
{
    ListForm<TFcListBox> f;
    f.list->SetItems({QStringLiteral("Aalto"), QStringLiteral("Berg"), QStringLiteral("Beck"), QStringLiteral("Eerola")});
    Type(f.list, QStringLiteral("be"));
    EXPECT_EQ(f.list->ItemIndex(), 1);
    Type(f.list, QStringLiteral("c"));
    EXPECT_EQ(f.list->ItemIndex(), 2) << "\"bec\"";
    Type(f.list, QStringLiteral("x"));
    EXPECT_EQ(f.beeps, 1);
    EXPECT_EQ(f.list->SearchString(), QStringLiteral("bec"));
    f.list->SearchTimerExpired();
    Type(f.list, QStringLiteral("e"));
    EXPECT_EQ(f.list->ItemIndex(), 3) << "after the delay a new search";
    Type(f.list, QStringLiteral("\b"));
    EXPECT_EQ(f.list->ItemIndex(), 0) << "backspace that empties the search selects the first item";
    Type(f.list, QString(QChar(27)));
    EXPECT_EQ(f.list->ItemIndex(), -1);
}

TEST(FcListBoxTest, TheSearchTellsTheKeyPressEvent)
{
    ListForm<TFcListBox> f;
    f.list->SetItems({QStringLiteral("Aalto"), QStringLiteral("Berg"), QStringLiteral("Beck")});
    QString keys;
    f.list->OnKeyPress = [&](TComponent*, QChar& Key) { keys += Key; };
    int matches = 0;
    f.list->OnMatch = [&](TComponent*) { ++matches; };
    Type(f.list, QStringLiteral("bx"));
    EXPECT_EQ(keys, QStringLiteral("b")) << "a key that finds nothing tells nothing";
    EXPECT_EQ(matches, 1);
    Type(f.list, QStringLiteral("\b"));
    EXPECT_EQ(f.list->ItemIndex(), 0);
    EXPECT_EQ(keys, QStringLiteral("b\b")) << "the emptied search tells its Backspace";
    Type(f.list, QStringLiteral("\r"));
    EXPECT_EQ(keys, QStringLiteral("b\b\r")) << "Enter without TabOnEnter";
    f.list->TabOnEnter = true;
    Type(f.list, QStringLiteral("\r"));
    EXPECT_EQ(keys, QStringLiteral("b\b\r")) << "Enter that moves on like Tab";
}

TEST(FcListBoxTest, AMultipleSelectionSearchMovesOnlyTheFocusedItem)
{
    ListForm<TFcListBox> f;
    f.list->SetItems({QStringLiteral("Aalto"), QStringLiteral("Berg"), QStringLiteral("Beck"), QStringLiteral("Eerola")});
    f.list->SetMultiSelect(true);
    f.list->SetSelected(0, true);
    f.list->SetSelected(1, true);
    f.list->SetItemIndex(1);
    Type(f.list, QStringLiteral("e"));
    EXPECT_EQ(f.list->ItemIndex(), 3);
    EXPECT_TRUE(f.list->Selected(0)) << "chosen before the search";
    EXPECT_FALSE(f.list->Selected(1)) << "the previously focused item";
    EXPECT_TRUE(f.list->Selected(3));
    EXPECT_EQ(f.list->SelCount(), 2);
}

namespace {

class CountingListBox : public TFcListBox {
public:
    using TFcListBox::TFcListBox;
    void Invalidate() override
    {
        ++Invalidations;
        TFcListBox::Invalidate();
    }
    int Invalidations = 0;
};

}  // namespace

TEST(FcListBoxTest, GroupLookSettersRepaintOnAChange)
{
    ListForm<CountingListBox> f;
    struct Case {
        const char* name;
        std::function<void(TFcListBox*)> set;
    } cases[] = {
        {"GroupPrefix", [](TFcListBox* L) { L->SetGroupPrefix(QStringLiteral("##")); }},
        {"GroupColor", [](TFcListBox* L) { L->SetGroupColor(clRed); }},
        {"GroupColorFromTheme", [](TFcListBox* L) { L->SetGroupColorFromTheme(false); }},
        {"UseGradients", [](TFcListBox* L) { L->SetUseGradients(false); }},
        {"OwnerDrawIndent", [](TFcListBox* L) { L->SetOwnerDrawIndent(4); }},
    };
    for (const Case& c : cases) {
        const int before = f.list->Invalidations;
        c.set(f.list);
        EXPECT_GT(f.list->Invalidations, before) << c.name;
        const int changed = f.list->Invalidations;
        c.set(f.list);
        EXPECT_EQ(f.list->Invalidations, changed) << c.name << " set again: no repaint";
    }
}

TEST(FcListBoxTest, TheGroupFontScalesOnlyOnceItWasChanged)
{
    ListForm<TFcListBox> f;
    const int start = f.list->GroupFont()->Height();
    f.list->ScaleBy(2, 1);
    EXPECT_EQ(f.list->GroupFont()->Height(), start) << "left as created";
    f.list->GroupFont()->SetHeight(-20);
    f.list->ScaleBy(3, 2);
    EXPECT_EQ(f.list->GroupFont()->Height(), -30);
}

TEST(FcListBoxTest, OnlyTooWideItemsNeedAHint)
{
    ListForm<TFcListBox> f;
    f.list->SetItems({QStringLiteral("Lyhyt"),
                      QStringLiteral("Jyväskylän Suunnistajat – H21 pitkä matka, lähtö 10:00, rata 12,4 km")});
    EXPECT_FALSE(f.list->ItemNeedsHint(0));
    EXPECT_TRUE(f.list->ItemNeedsHint(1));
    EXPECT_FALSE(f.list->ItemNeedsHint(7));
}

TEST(FcListBoxTest, Groups)
{
    ListForm<TFcListBox> f;
    f.list->SetItems({QStringLiteral("//Pojat"), QStringLiteral("H12"), QStringLiteral("H14"), QStringLiteral("//Tytöt"),
                      QStringLiteral("D12")});
    EXPECT_TRUE(f.list->GetItemIsGroup(0));
    EXPECT_EQ(f.list->ItemCaption(3), QStringLiteral("Tytöt"));
    EXPECT_EQ(f.list->ItemIndexOfGroup(1), 3);
    EXPECT_EQ(f.list->ItemsInGroup(0), 2);
    EXPECT_EQ(f.list->ItemGroupIndex(4), 3);
    EXPECT_EQ(f.list->GroupIndexOfItem(3), 1);
    EXPECT_EQ(f.list->GroupIndexOfItem(4), -1);
    EXPECT_EQ(f.list->AddItemToGroup(0, QStringLiteral("H16")), 3);
    EXPECT_EQ(f.list->InsertItemIntoGroup(1, 5, QStringLiteral("x")), -1);
    EXPECT_EQ(f.list->InsertItemIntoGroup(7, 0, QStringLiteral("x")), -1);
    f.list->SetShowGroups(true);
    f.list->SetItemIndex(1);
    TBitmap shot;
    f.list->PaintTo(&shot);
    EXPECT_NE(shot.Pixel(150, 3), shot.Pixel(150, f.list->ItemHeight() + 3)) << "the header has its band";
}

TEST(FcTabbedListBoxTest, CellsAndAutomaticStops)
{
    ListForm<TFcTabbedListBox> f;
    f.list->SetItems({QStringLiteral("101\tVirtanen"), QStringLiteral("7\tAho"), QStringLiteral("12")});
    EXPECT_EQ(f.list->GetCellText(1, 0), QStringLiteral("Virtanen"));
    try {
        f.list->GetCellText(2, 0);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Column parameter out of range"));
    }
    try {
        f.list->GetCellText(0, 5);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Row parameter out of range"));
    }
    f.list->SetCellText(0, 1, QStringLiteral("8"));
    EXPECT_EQ(f.list->Strings(1), QStringLiteral("8\tAho"));
    f.list->SetTabStopsMode(tsmAutomatic);
    ASSERT_EQ(f.list->TabStops()->Count(), 1);
    TBitmap m(1, 1);
    m.Canvas()->SetFont(*f.list->Font());
    EXPECT_EQ(f.list->TabStops()->Items(0), m.Canvas()->TextWidth(QStringLiteral("101")) / f.list->DialogUnits() + 4);
    EXPECT_EQ(f.list->GetTabArray().front(), f.list->TabStops()->Items(0) * 4);
    EXPECT_THROW(f.list->UpdateFromHeader(nullptr), EHeaderError);
}

TEST(FcCheckListTest, TogglesVetoAndDisabledItems)
{
    ListForm<TFcCheckList> f;
    f.list->SetItems({QStringLiteral("btnNew"), QStringLiteral("btnEdit"), QStringLiteral("//Ryhmä"), QStringLiteral("btnDel")});
    auto clickBox = [&](int index, int dx = 3) {
        const TRect r = f.list->ItemRect(index);
        f.list->HandlePress(mbLeft, ssLeft, r.Left + dx, r.Top + 3);
        f.list->MouseDown(mbLeft, ssLeft, r.Left + dx, r.Top + 3);
        f.list->MouseUp(mbLeft, 0, r.Left + dx, r.Top + 3);
    };
    f.list->AllowGrayed = true;
    TCheckBoxState seen[3];
    for (auto& s : seen) {
        clickBox(0);
        s = f.list->GetItemState(0);
    }
    EXPECT_EQ(seen[0], cbGrayed);
    EXPECT_EQ(seen[1], cbChecked);
    EXPECT_EQ(seen[2], cbUnchecked);
    clickBox(1, 100);
    EXPECT_EQ(f.list->GetItemState(1), cbUnchecked) << "the text toggles only with ToggleOnItemClick";
    f.list->ToggleOnItemClick = true;
    clickBox(1, 100);
    EXPECT_EQ(f.list->GetItemState(1), cbGrayed);
    clickBox(2);
    EXPECT_EQ(f.list->GetItemState(2), cbUnchecked) << "a header never toggles";
    f.list->SetItemEnabled(3, false);
    clickBox(3);
    EXPECT_EQ(f.list->GetItemState(3), cbUnchecked) << "a disabled item never toggles";
    f.list->OnChanging = [](TComponent*, int Index, TCheckBoxState, bool& Allow) { Allow = Index != 0; };
    clickBox(0);
    EXPECT_EQ(f.list->GetItemState(0), cbUnchecked) << "vetoed";
    f.list->CheckAll();
    EXPECT_EQ(f.list->ItemsChecked(), 3) << "the header does not count";
    f.list->SetEnabled(false);
    EXPECT_FALSE(f.list->GetItemEnabled(0));
    f.list->SetEnabled(true);
    EXPECT_TRUE(f.list->GetItemEnabled(3));
}

TEST(FcCheckListTest, MarkedTextFormat)
{
    ListForm<TFcCheckList> f;
    f.list->AddEx(QStringLiteral("Uusi"), true, true);
    f.list->AddEx(QStringLiteral("Tulosta"), false, false, 7, 12);
    EXPECT_EQ(f.list->SaveToText(), QStringLiteral("@1 1 --- --- Uusi\r\n@0 0 007 012 Tulosta\r\n"));
    f.list->LoadFromText(QStringLiteral("&0 2 Vanha\r\n@1 1 003 --- Kolme\r\ntavallinen\r\n"));
    ASSERT_EQ(f.list->Count(), 3);
    EXPECT_EQ(f.list->Strings(0), QStringLiteral("Vanha"));
    EXPECT_FALSE(f.list->GetItemEnabled(0));
    EXPECT_EQ(f.list->GetItemState(0), cbGrayed);
    EXPECT_EQ(f.list->GetItemImageIndex(1), 3);
    EXPECT_EQ(f.list->GetItemDisabledIndex(1), -1);
    EXPECT_EQ(f.list->Strings(1), QStringLiteral("Kolme"));
    EXPECT_TRUE(f.list->GetItemEnabled(2));
    f.list->MoveItem(1, 0);
    EXPECT_EQ(f.list->GetItemImageIndex(0), 3) << "the record moves with its item";
}

TEST(FcTabbedListBoxTest, WithoutStopsTheCellsKeepTheDefaultStops)
{
    ListForm<TFcTabbedListBox> f;
    f.list->SetItems({QStringLiteral("101\tVirtanen")});
    // no stops given: the second cell starts at 8 average characters, not right after "101"
    EXPECT_EQ(f.list->NextDefaultStop(0), 8 * f.list->DialogUnits());
    EXPECT_EQ(f.list->NextDefaultStop(8 * f.list->DialogUnits()), 16 * f.list->DialogUnits());
    TBitmap shot;
    f.form->Show();
    f.list->PaintTo(&shot);
    // something is drawn at the default stop, where "101" alone would leave blank
    const int stopX = 2 + 8 * f.list->DialogUnits() + 2;
    bool inked = false;
    for (int y = 0; y < f.list->ItemHeight() && !inked; ++y)
        for (int x = stopX; x < stopX + 6 && !inked; ++x)
            inked = shot.Pixel(x, y) != shot.Pixel(f.list->Width() - 8, y);
    EXPECT_TRUE(inked);
}

TEST(FcCheckListTest, FilesAndStreamsInTheirEncoding)
{
    ListForm<TFcCheckList> f;
    f.list->AddEx(QStringLiteral("Tulosta"), true, true);
    f.list->AddEx(QStringLiteral("Näytä"), false, false, 2, -1);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("painikkeet.txt"));
    f.list->SaveToFile(path, feUnicode);
    QFile raw(path);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_TRUE(raw.readAll().startsWith(QByteArray("\xFF\xFE@\0", 4)));
    ListForm<TFcCheckList> g;
    g.list->LoadFromFile(path);
    ASSERT_EQ(g.list->Count(), 2);
    EXPECT_EQ(g.list->Strings(1), QStringLiteral("Näytä"));
    EXPECT_EQ(g.list->GetItemImageIndex(1), 2);
    EXPECT_FALSE(g.list->GetItemEnabled(1));
    // a file that cannot be written keeps the old one and says so
    EXPECT_THROW(f.list->SaveToFile(dir.filePath(QStringLiteral("no/such/folder/x.txt"))), EFileStreamError);
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    f.list->SaveToStream(&buffer, feUTF8);
    EXPECT_TRUE(buffer.data().startsWith("\xEF\xBB\xBF@1 1"));
    buffer.seek(0);
    g.list->LoadFromStream(&buffer);
    EXPECT_EQ(g.list->Strings(0), QStringLiteral("Tulosta"));
    EXPECT_TRUE(g.list->GetItemChecked(0));
    // marked lines added to the list keep their record, plain lines are plain items
    g.list->AddStrings({QStringLiteral("&0 2 Vanha"), QStringLiteral("tavallinen")});
    ASSERT_EQ(g.list->Count(), 4);
    EXPECT_EQ(g.list->GetItemState(2), cbGrayed);
    EXPECT_EQ(g.list->Strings(3), QStringLiteral("tavallinen"));
}

TEST(FcCheckListTest, CustomGlyphsFromAStripAndFromAnImageList)
{
    ListForm<TFcCheckList> f;
    f.list->AddEx(QStringLiteral("Uusi"), true, true);
    f.list->AddEx(QStringLiteral("Poista"), false, false);
    // six 10 x 10 cells: unchecked, checked, grayed, and the three disabled ones
    const TColor cells[6] = {clRed, clGreen, clBlue, clMaroon, clNavy, clTeal};
    TBitmap strip(60, 10);
    for (int i = 0; i < 6; ++i) {
        strip.Canvas()->Brush()->SetColor(cells[i]);
        strip.Canvas()->FillRect(Rect(i * 10, 0, i * 10 + 10, 10));
    }
    strip.SetPixel(15, 5, clLime);  // in the checked cell: the mask colour becomes the window's
    f.list->SetCustomGlyphs(&strip);
    EXPECT_TRUE(f.list->UseCustomGlyphs());
    EXPECT_EQ(f.list->GlyphWidth(), 10);
    f.form->Show();
    TBitmap shot;
    f.list->PaintTo(&shot);
    auto glyphPixel = [&](int Row, int X, int Y) {
        const TRect r = f.list->ItemRect(Row);
        const int left = r.Left + f.list->GlyphWidth() + 8 - f.list->GlyphWidth() - 4;
        return shot.Pixel(left + X, r.Top + (r.Height() - 10) / 2 + Y);
    };
    EXPECT_EQ(glyphPixel(0, 2, 2), clGreen) << "checked, enabled";
    EXPECT_EQ(glyphPixel(0, 5, 5), ColorToRGB(clWindow)) << "the mask colour";
    EXPECT_EQ(glyphPixel(1, 2, 2), clMaroon) << "unchecked, disabled";
    f.list->SetCustomGlyphs(nullptr);
    EXPECT_FALSE(f.list->UseCustomGlyphs());
    EXPECT_EQ(f.list->GlyphWidth(), 13);
    // an image list in the same order
    auto* images = new TImageList(f.form.get());
    images->SetSize(12, 12);
    for (TColor c : cells) {
        TBitmap b(12, 12);
        b.Canvas()->Brush()->SetColor(c);
        b.Canvas()->FillRect(Rect(0, 0, 12, 12));
        images->Add(&b);
    }
    f.list->SetCustomGlyphImages(images);
    EXPECT_TRUE(f.list->UseCustomGlyphs());
    EXPECT_EQ(f.list->GlyphWidth(), 12);
    delete images;
    EXPECT_EQ(f.list->CustomGlyphImages(), nullptr) << "a freed list is let go";
}

TEST(FcListBoxTest, OwnFrameNormalAndHot)
{
    ListForm<TFcListBox> f;
    f.list->SetItems({QStringLiteral("H21"), QStringLiteral("D21")});
    f.list->SetFramingPreference(fpCustomFraming);
    f.list->SetFrameVisible(true);
    f.list->SetFrameColor(clRed);
    f.list->SetFrameHotTrack(true);
    f.list->SetFrameHotColor(clBlue);
    f.form->Show();
    TBitmap shot;
    f.list->PaintTo(&shot);
    EXPECT_EQ(shot.Pixel(f.list->Width() / 2, 0), clRed);
    static_cast<TControl*>(f.list)->MouseEnter();
    f.list->PaintTo(&shot);
    EXPECT_EQ(shot.Pixel(f.list->Width() / 2, 0), clBlue) << "hot under the mouse";
    EXPECT_EQ(shot.Pixel(f.list->Width() / 2, 1), clBlue) << "the bold hot frame is two lines";
}

namespace {

class CountingCheckList : public TFcCheckList {
public:
    using TFcCheckList::TFcCheckList;
    void Invalidate() override
    {
        ++Invalidations;
        TFcCheckList::Invalidate();
    }
    int Invalidations = 0;
};

}  // namespace

TEST(FcCheckListTest, FollowsItsImageListsUntilTheyAreFreed)
{
    ListForm<CountingCheckList> f;
    f.list->AddEx(QStringLiteral("Uusi"), true, true, 0);
    auto* images = new TImageList(f.form.get());
    images->SetSize(16, 16);
    bool ownHandler = false;
    images->OnChange = [&] { ownHandler = true; };
    f.list->SetImages(images);
    f.list->Invalidations = 0;
    images->SetSize(24, 24);  // a change of the list reaches the list box at once
    EXPECT_TRUE(ownHandler) << "the list's own change handler stays";
    EXPECT_GT(f.list->Invalidations, 0) << "and the items are painted again";
    // custom glyphs appear as soon as the glyph list gets its pictures
    auto* glyphs = new TImageList(f.form.get());
    glyphs->SetSize(11, 11);
    f.list->SetCustomGlyphImages(glyphs);
    EXPECT_FALSE(f.list->UseCustomGlyphs());
    TBitmap cell(11, 11);
    glyphs->Add(&cell);
    EXPECT_TRUE(f.list->UseCustomGlyphs());
    EXPECT_EQ(f.list->GlyphWidth(), 11);
    glyphs->Clear();
    EXPECT_FALSE(f.list->UseCustomGlyphs()) << "an emptied list: the standard boxes again";
    glyphs->Add(&cell);
    // freeing the images leaves no reference behind; painting goes on without them
    delete images;
    EXPECT_EQ(f.list->Images(), nullptr);
    f.form->Show();
    TBitmap shot;
    f.list->PaintTo(&shot);
    delete glyphs;
    EXPECT_EQ(f.list->CustomGlyphImages(), nullptr);
    EXPECT_EQ(f.list->GlyphWidth(), 13);
    f.list->PaintTo(&shot);
    // a list that outlives the list box calls nothing after the box is gone
    auto* survivor = new TImageList(nullptr);
    f.list->SetImages(survivor);
    delete f.list;
    survivor->SetSize(20, 20);
    delete survivor;
}

TEST(FcTabbedListBoxTest, StopsFromAHeadersSections)
{
    ListForm<TFcTabbedListBox> f;
    f.list->SetItems({QStringLiteral("101\tVirtanen\tH21")});
    f.list->TabStops()->Clear();
    f.list->TabStops()->Add(10);
    f.list->TabStops()->Add(-20);
    f.list->TabStops()->Add(30);
    const int du = f.list->DialogUnits();
    struct Case {
        bool headerControl;
        std::vector<int> expected;
    } cases[] = {
        // a header control sets a stop per section; its last right-aligned stop reaches the list's width
        {true, {60 / du + 1, 1 - (60 + 90 + 90 + 1) / du, (60 + 90 + 40) / du + 1}},
        // the old header leaves its last section out
        {false, {60 / du + 1, 1 - (60 + 90 + 90 + 1) / du, 30}},
    };
    for (const Case& c : cases) {
        f.list->TabStops()->Clear();
        for (int v : {10, -20, 30})
            f.list->TabStops()->Add(v);
        std::unique_ptr<TCustomHeaderControl> header;
        if (c.headerControl)
            header = std::make_unique<THeaderControl>(nullptr);
        else
            header = std::make_unique<THeader>(nullptr);
        header->AddSection(QStringLiteral("Nro"), 60);
        header->AddSection(QStringLiteral("Nimi"), 90, taRightJustify);
        header->AddSection(QStringLiteral("Sarja"), 40);
        f.list->UpdateFromHeader(header.get());
        for (size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(f.list->TabStops()->Items(int(i)), c.expected[i]) << c.headerControl << " " << i;
    }
    // a section dragged wider in the header is reported with its index
    THeaderControl header(nullptr);
    header.SetParent(f.form.get());
    header.AddSection(QStringLiteral("Nro"), 60);
    int resized = -1;
    header.OnSectionResize = [&](TComponent*, int Index) { resized = Index; };
    header.SetSectionWidth(0, 80);
    EXPECT_EQ(resized, 0);
    EXPECT_EQ(header.Section(0).Width, 80);
    header.SetParent(nullptr);
    TFcListBox other(nullptr);
    try {
        f.list->UpdateFromHeader(&other);
        FAIL();
    } catch (const EHeaderError& e) {
        EXPECT_EQ(e.Message(),
                  QStringLiteral("Only THeader and THeaderControl components can be passed to TFcCustomTabbedListBox.UpdateFromHeader"));
    }
}
