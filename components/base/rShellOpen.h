#pragma once
// Opening a file the way the desktop does: a program file runs with its
// parameters, any other file goes to the desktop's opener (xdg-open), whose
// answer says whether some program took the file.

#include <QString>

// How long the opener may take to answer. An opener still running after it is
// showing the file in the foreground (a terminal viewer), which counts as opened.
constexpr int ShellOpenAnswerMs = 3000;

// The shell's result: above 32 when the file was opened, 2 when it does not
// exist, 31 when no program could open it.
int ShellOpen(const QString& FileName, const QString& Params, const QString& Folder);
