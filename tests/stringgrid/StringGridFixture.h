#pragma once
// A form with one editable string grid (a fixed row and column, editing on)
// and real key events for its widgets.

#include "components/stringgrid/rStringGridEd.h"
#include "components/stringgrid/rStringGridEdInplaceEdit.h"
#include "platform/ui/Forms.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

using enum TOptionEx;

class StringGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 800, 400);
        grid = new TrStringGridEd(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 780, 380);
        grid->SetColCount(4);
        grid->SetRowCount(6);
        grid->SetOptions(grid->Options() | goEditing);
        // Built in code: the form's loading ends here, as a created form's does.
        form->EndLoading();
    }
    TrStringGridEdColumn* Col(int I) { return grid->Columns()->Items(I); }
    // Fills data rows from row 1 on, columns from 1 on.
    void Fill(const std::vector<std::vector<QString>>& Rows)
    {
        for (size_t r = 0; r < Rows.size(); ++r)
            for (size_t c = 0; c < Rows[r].size(); ++c)
                grid->SetCells(int(c) + 1, int(r) + 1, Rows[r][c]);
    }
    void ShowFocused(int ACol, int ARow)
    {
        form->Show();
        grid->SetFocus();
        grid->FocusCell(ACol, ARow, true);
    }
    static void SendKey(QWidget* W, int Key, const QString& Text = QString(), Qt::KeyboardModifiers Mods = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, Key, Mods, Text);
        QApplication::sendEvent(W, &press);
        QKeyEvent release(QEvent::KeyRelease, Key, Mods, Text);
        QApplication::sendEvent(W, &release);
    }
    // Types each character of Text into a widget as key events.
    static void Type(QWidget* W, const QString& Text)
    {
        for (QChar ch : Text)
            SendKey(W, ch.isLetter() ? Qt::Key_A + (ch.toUpper().unicode() - 'A') : Qt::Key_unknown, QString(ch));
    }
    TrStringGridEdInplaceEdit* Editor() { return grid->InplaceEditorEd(); }
    QWidget* EditorWidget() { return grid->InplaceEditor()->Widget(); }
    std::unique_ptr<TForm> form;
    TrStringGridEd* grid = nullptr;
};
