#include "platform/ui/CommonDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QFileInfo>
#include <QInputDialog>

namespace {

TCommonDialogHook& Hook()
{
    static TCommonDialogHook hook;
    return hook;
}

bool HasWidgets()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

// "Desc|*.a;*.b|Other|*.c" becomes Qt's "Desc (*.a *.b);;Other (*.c)".
QString QtFilter(const QString& Filter)
{
    const QStringList parts = Filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << QStringLiteral("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')));
    return out.join(QStringLiteral(";;"));
}

}  // namespace

TCommonDialogHook SetCommonDialogHook(TCommonDialogHook NewHook)
{
    TCommonDialogHook old = std::move(Hook());
    Hook() = std::move(NewHook);
    return old;
}

bool InputQuery(const QString& Caption, const QString& Prompt, QString& Value)
{
    if (Hook())
        return Hook()(nullptr, Value);
    if (!HasWidgets())
        return false;
    bool ok = false;
    const QString v = QInputDialog::getText(nullptr, Caption, Prompt, QLineEdit::Normal, Value, &ok);
    if (ok)
        Value = v;
    return ok;
}

QString InputBox(const QString& Caption, const QString& Prompt, const QString& Default)
{
    QString v = Default;
    return InputQuery(Caption, Prompt, v) ? v : Default;
}

bool TOpenDialog::Execute()
{
    QString dummy;
    if (Hook())
        return Hook()(this, dummy);
    if (!HasWidgets())
        return false;
    const QString filter = QtFilter(Filter);
    QString dir = InitialDir.isEmpty() ? FileName : InitialDir + QLatin1Char('/') + FileName;
    QFileDialog::Options opts;
    if (!(Options & ofOverwritePrompt))
        opts |= QFileDialog::DontConfirmOverwrite;
    if (FSave) {
        QString f = QFileDialog::getSaveFileName(nullptr, Title, dir, filter, nullptr, opts);
        if (f.isEmpty())
            return false;
        if (!DefaultExt.isEmpty() && QFileInfo(f).suffix().isEmpty())
            f += QLatin1Char('.') + DefaultExt;
        FileName = f;
        return true;
    }
    if (Options & ofAllowMultiSelect) {
        Files = QFileDialog::getOpenFileNames(nullptr, Title, dir, filter, nullptr, opts);
        if (Files.isEmpty())
            return false;
        FileName = Files.front();
        return true;
    }
    const QString f = QFileDialog::getOpenFileName(nullptr, Title, dir, filter, nullptr, opts);
    if (f.isEmpty())
        return false;
    FileName = f;
    Files = QStringList{f};
    return true;
}

bool TFontDialog::Execute()
{
    QString dummy;
    if (Hook())
        return Hook()(this, dummy);
    if (!HasWidgets())
        return false;
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, Font.ToQFont());
    if (ok) {
        Font.SetName(f.family());
        Font.SetHeight(-f.pixelSize());
        Font.SetStyle((f.bold() ? fsBold : 0) | (f.italic() ? fsItalic : 0) | (f.underline() ? fsUnderline : 0) | (f.strikeOut() ? fsStrikeOut : 0));
    }
    return ok;
}

bool TColorDialog::Execute()
{
    QString dummy;
    if (Hook())
        return Hook()(this, dummy);
    if (!HasWidgets())
        return false;
    const QColor c = QColorDialog::getColor(ToQColor(Color));
    if (!c.isValid())
        return false;
    Color = FromQColor(c);
    return true;
}
