#pragma once
// Opening a file the way the desktop does: a program file runs with its
// parameters, any other file goes to the desktop's opener (xdg-open), whose
// answer says whether some program took the file.

#include <QString>

// How long the opener may take to answer. An opener still running after it is
// showing the file in the foreground (a terminal viewer), which counts as opened.
constexpr int ShellOpenAnswerMs = 3000;

// Show commands: how the started program's window appears.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;

// The shell's result: above 32 when the file was opened, 2 when it does not
// exist, 31 when no program could open it. A program file started with
// SW_HIDE gets no display to open windows on (console work only); other show
// commands leave the window to the program and its desktop, which take no
// start-up window state from the one starting them.
int ShellOpen(const QString& FileName, const QString& Params, const QString& Folder, int ShowCmd = SW_SHOWNORMAL);
