#include "components/dbcontrols/TrDBMemo.h"

#include "components/dbcontrols/rDBControlSavers.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rDialogsEx.h"
#include "components/base/rdlg.h"
#include "components/grid/rDBGridTexts.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Menus.h"
#include "resources/DBControlsTexts.h"
#include "resources/LibraryTexts.h"

#include <QFile>
#include <QStringDecoder>
#include <exception>

TrDBMemo::TrDBMemo(TComponent* AOwner) : TrDBFieldControl(AOwner)
{
    static const bool savable = (RegisterDBMemoSaverPart(), true);
    (void)savable;
    SetScrollBars(ssVertical);
    BuildMenu();
}

void TrDBMemo::ChangeScale(int M, int D)
{
    TrDBFieldControl::ChangeScale(M, D);
    if (D != 0)
        FScaleRatio = FScaleRatio * M / D;
}

void TrDBMemo::BuildMenu()
{
    FPopupMenu = new TPopupMenu(this);
    FPopupMenu->SetName(QStringLiteral("pmSearch"));
    DefineEditPopupMenuItems(FPopupMenu, [this](TComponent* Sender) {
        if (Sender)
            PopupMenuClick(Sender->Tag);
    });
    FPopupMenu->OnPopup = [this](TComponent*) { PopupMenuOpen(); };
    SetPopupMenu(FPopupMenu);
}

bool TrDBMemo::SearchText(const QString& Search, bool FromStart, bool IgnoreCase)
{
    // 1.
    QString s = Search;
    if (s.isEmpty() && !InputStr(dbctltxt::InputCaption, libtxt::MenuFind, s))
        return false;
    if (s.isEmpty())
        return false;
    // 2. Case is folded for every alphabet (ä, ö, å as well as a to z).
    FSearchIgnoreCase = IgnoreCase;
    FSearchText = s;
    const QString text = Text();
    // 3.
    const int from = FromStart ? 0 : SelStart() + SelLength();
    const int at = text.indexOf(s, std::max(0, std::min(from, int(text.size()))), IgnoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive);
    // 4.
    if (at >= 0) {
        SetSelStart(at);
        SetSelLength(int(s.size()));
        try {
            if (CanFocus())
                SetFocus();
        } catch (...) {
        }
        return true;
    }
    DlgI(libtxt::NotFound);
    return false;
}

bool TrDBMemo::SearchNext()
{
    if (FSearchText.isEmpty())
        return false;
    return SearchText(FSearchText, false, FSearchIgnoreCase);
}

bool TrDBMemo::LoadFromFile(const QString& FileName)
{
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly)) {
        ShowErr(f.errorString(), std::runtime_error(FileName.toStdString()), false);
        return false;
    }
    const QByteArray bytes = f.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    if (!DataLink()->Edit())
        return false;
    SetText(text);
    DataLink()->SetModified();
    return true;
}

bool TrDBMemo::SaveToFile(const QString& FileName)
{
    QFile f(FileName);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(Text().toUtf8()) < 0) {
        ShowErr(f.errorString(), std::runtime_error(FileName.toStdString()), false);
        return false;
    }
    return true;
}

void TrDBMemo::PopupMenuOpen()
{
    TMenuItem* items = FPopupMenu->Items();
    const bool sel = SelLength() > 0;
    for (int i = 0; i < items->Count(); ++i) {
        TMenuItem* m = items->Items(i);
        switch (m->Tag) {
        case 1: m->SetEnabled(CanUndo()); break;
        case 2:
        case 3:
        case 5: m->SetEnabled(sel); break;
        case 4: m->SetEnabled(!Clipboard()->AsText().isEmpty()); break;
        case 12: m->SetEnabled(!FSearchText.isEmpty()); break;
        // Options a form switched off stay in the menu, greyed, so the
        // menu looks the same on every memo.
        case 13: m->SetEnabled(OptionsEx & MemoOpt(moAllowSetFont)); break;
        case 20:
            m->SetEnabled(OptionsEx & MemoOpt(moAllowWordWrap));
            m->SetChecked(WordWrap());
            break;
        case 21: m->SetEnabled((OptionsEx & MemoOpt(moAllowLoadSaveFile)) && !ReadOnly()); break;
        case 22: m->SetEnabled(OptionsEx & MemoOpt(moAllowLoadSaveFile)); break;
        default: break;
        }
    }
}

void TrDBMemo::PopupMenuClick(int Tag)
{
    switch (Tag) {
    case 1: Undo(); break;
    case 2: CutToClipboard(); break;
    case 3: CopyToClipboard(); break;
    case 4: PasteFromClipboard(); break;
    case 5: SetSelText(QString()); break;
    case 10: SelectAll(); break;
    case 11: SearchText(QString(), true, true); break;
    case 12: SearchNext(); break;
    case 13: ShowSelectFontDialog(Font()); break;
    case 20:
        SetWordWrap(!WordWrap());
        if (WordWrap() && ScrollBars() == ssBoth)
            SetScrollBars(ssVertical);
        else if (!WordWrap() && ScrollBars() == ssVertical)
            SetScrollBars(ssBoth);
        break;
    case 21: {
        TrOpenDialog d(nullptr);
        if (d.Execute())
            LoadFromFile(d.FileName);
        break;
    }
    case 22: {
        TrSaveDialog d(nullptr);
        if (d.Execute())
            SaveToFile(d.FileName);
        break;
    }
    default: break;
    }
}
