#pragma once
// Input boxes and the common dialogs (open, save, font, colour). Tests answer
// them with SetCommonDialogHook instead of showing them.

#include "platform/ui/Graphics.h"
#include "platform/rtl/Component.h"

#include <QString>
#include <QStringList>
#include <functional>

// Shows a modal box asking for one text; false when cancelled.
bool InputQuery(const QString& Caption, const QString& Prompt, QString& Value);
QString InputBox(const QString& Caption, const QString& Prompt, const QString& Default);

using TOpenOptions = unsigned;
constexpr TOpenOptions ofReadOnly = 1;
constexpr TOpenOptions ofOverwritePrompt = 2;
constexpr TOpenOptions ofHideReadOnly = 4;
constexpr TOpenOptions ofNoChangeDir = 8;
constexpr TOpenOptions ofAllowMultiSelect = 0x200;
constexpr TOpenOptions ofPathMustExist = 0x800;
constexpr TOpenOptions ofFileMustExist = 0x1000;
constexpr TOpenOptions ofEnableSizing = 0x800000;

class TCommonDialog : public TComponent {
public:
    explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
    virtual bool Execute() = 0;
    std::function<void(TComponent* Sender)> OnShow;
    std::function<void(TComponent* Sender)> OnClose;
};

class TOpenDialog : public TCommonDialog {
public:
    explicit TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
    bool Execute() override;
    QString FileName;
    QStringList Files;
    // "Text files|*.txt|All files|*.*"
    QString Filter;
    int FilterIndex = 1;
    QString DefaultExt;
    QString InitialDir;
    QString Title;
    TOpenOptions Options = ofHideReadOnly | ofEnableSizing;
    bool IsSave() const { return FSave; }

protected:
    bool FSave = false;
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) { FSave = true; }
};

class TFontDialog : public TCommonDialog {
public:
    explicit TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
    bool Execute() override;
    TFont Font;
};

class TColorDialog : public TCommonDialog {
public:
    explicit TColorDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
    bool Execute() override;
    TColor Color = clBlack;
    bool FullOpen = true;
};

// The hook receives the dialog (an input query arrives as nullptr with the
// value in Value) and returns whether it was confirmed, after filling it in.
using TCommonDialogHook = std::function<bool(TCommonDialog* Dialog, QString& Value)>;
TCommonDialogHook SetCommonDialogHook(TCommonDialogHook Hook);
