#pragma once
// Modal message boxes, centred on the screen, with Finnish button captions.
//
// Tests answer boxes without showing them: a hook set with SetMessageBoxHook
// receives every box and returns the button pressed; the environment variable
// SORVEX_DIALOG_LOG names a file to which a process appends every box's text
// (one record per box) and answers with the default button, so a test can run
// the real program as a second process.

#include <QString>
#include <functional>

// Buttons and icons, combined with "|".
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
// "Kyllä" and "Peruuta": a question whose only other answer is to go back.
constexpr unsigned MB_YESCANCEL = 0x8;
constexpr unsigned MB_ICONERROR = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_DEFBUTTON2 = 0x100;

// Results.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

struct TMessageBoxRequest {
    QString Text;
    QString Caption;
    unsigned Flags = MB_OK;
};

using TMessageBoxHook = std::function<int(const TMessageBoxRequest&)>;
// Sets the hook and returns the previous one; an empty hook shows real boxes.
TMessageBoxHook SetMessageBoxHook(TMessageBoxHook Hook);

// The button a box answers with when nobody presses one.
int DefaultMessageBoxAnswer(unsigned Flags);
// Appends the box to the file SORVEX_DIALOG_LOG names; false when it is unset.
bool LogMessageBoxToEnvironmentFile(const TMessageBoxRequest& Request);

// Shows a modal box and returns the button pressed (IDOK, IDYES …).
int MessageBox(const QString& Text, const QString& Caption, unsigned Flags);
