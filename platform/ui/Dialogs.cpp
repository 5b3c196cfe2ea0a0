#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <mutex>

namespace {

TMessageBoxHook& Hook()
{
    static TMessageBoxHook hook;
    return hook;
}

}  // namespace

int DefaultMessageBoxAnswer(unsigned Flags)
{
    const unsigned buttons = Flags & 0xF;
    const bool second = Flags & MB_DEFBUTTON2;
    switch (buttons) {
    case MB_OKCANCEL:
        return second ? IDCANCEL : IDOK;
    case MB_YESNO:
        return second ? IDNO : IDYES;
    case MB_YESNOCANCEL:
        return second ? IDNO : IDYES;
    case MB_YESCANCEL:
        return second ? IDCANCEL : IDYES;
    default:
        return IDOK;
    }
}

bool LogMessageBoxToEnvironmentFile(const TMessageBoxRequest& r)
{
    const QString path = qEnvironmentVariable("SORVEX_DIALOG_LOG");
    if (path.isEmpty())
        return false;
    QFile f(path);
    if (f.open(QIODevice::Append)) {
        f.write(QStringLiteral("[%1|%2]\n%3\n").arg(r.Caption).arg(r.Flags).arg(r.Text).toUtf8());
        f.write("----\n");
    }
    return true;
}

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook NewHook)
{
    TMessageBoxHook old = std::move(Hook());
    Hook() = std::move(NewHook);
    return old;
}

int MessageBox(const QString& Text, const QString& Caption, unsigned Flags)
{
    const TMessageBoxRequest request{Text, Caption, Flags};
    if (Hook())
        return Hook()(request);
    if (LogMessageBoxToEnvironmentFile(request) || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return DefaultMessageBoxAnswer(Flags);

    QMessageBox box;
    box.setWindowTitle(Caption);
    box.setText(Text);
    switch (Flags & 0xF0) {
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
    }
    struct Btn {
        const char* text;
        QMessageBox::ButtonRole role;
        int result;
    };
    std::vector<Btn> buttons;
    switch (Flags & 0xF) {
    case MB_OKCANCEL:
        buttons = {{"OK", QMessageBox::AcceptRole, IDOK}, {"Peruuta", QMessageBox::RejectRole, IDCANCEL}};
        break;
    case MB_YESNO:
        buttons = {{"Kyllä", QMessageBox::YesRole, IDYES}, {"Ei", QMessageBox::NoRole, IDNO}};
        break;
    case MB_YESNOCANCEL:
        buttons = {{"Kyllä", QMessageBox::YesRole, IDYES},
                   {"Ei", QMessageBox::NoRole, IDNO},
                   {"Peruuta", QMessageBox::RejectRole, IDCANCEL}};
        break;
    case MB_YESCANCEL:
        buttons = {{"Kyllä", QMessageBox::YesRole, IDYES}, {"Peruuta", QMessageBox::RejectRole, IDCANCEL}};
        break;
    default:
        buttons = {{"OK", QMessageBox::AcceptRole, IDOK}};
    }
    std::vector<std::pair<QAbstractButton*, int>> map;
    for (size_t i = 0; i < buttons.size(); ++i) {
        QPushButton* b = box.addButton(QString::fromUtf8(buttons[i].text), buttons[i].role);
        map.emplace_back(b, buttons[i].result);
        if ((i == 1) == bool(Flags & MB_DEFBUTTON2))
            box.setDefaultButton(b);
    }
    if (buttons.size() > 1)
        box.setEscapeButton(map.back().first);
    box.adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect g = screen->geometry();
        const QSize s = box.sizeHint();
        box.move(g.x() + (g.width() - s.width()) / 2, g.y() + (g.height() - s.height()) / 2);
    }
    box.exec();
    for (auto& [button, result] : map)
        if (box.clickedButton() == button)
            return result;
    return (Flags & 0xF) == MB_OK ? IDOK : IDCANCEL;
}
