#include "platform/ui/TestDriver.h"

#include "platform/database/DataSet.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"
#include "platform/ui/ListBoxes.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/TestDriverChoices.h"
#include "platform/ui/TreeViews.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <cstdio>
#include <deque>
#include <functional>

namespace {

// ---- message boxes ----

std::deque<int>& QueuedAnswers()
{
    static std::deque<int> answers;
    return answers;
}

QStringList& ShownBoxes()
{
    static QStringList boxes;
    return boxes;
}

int AnswerBox(const TMessageBoxRequest& R)
{
    LogMessageBoxToEnvironmentFile(R);
    ShownBoxes() << R.Caption + QLatin1Char('\t') + R.Text;
    if (QueuedAnswers().empty())
        return DefaultMessageBoxAnswer(R.Flags);
    const int answer = QueuedAnswers().front();
    QueuedAnswers().pop_front();
    return answer;
}

// Input boxes and file dialogs: confirmed with the queued text, cancelled
// when none is queued (nobody could type into a real one).
std::deque<QString>& QueuedInputs()
{
    static std::deque<QString> inputs;
    return inputs;
}

bool AnswerInput(TCommonDialog* Dialog, QString& Value)
{
    if (QueuedInputs().empty())
        return false;
    const QString text = QueuedInputs().front();
    QueuedInputs().pop_front();
    if (auto* file = dynamic_cast<TOpenDialog*>(Dialog)) {
        file->FileName = text;
        file->Files = QStringList{text};
    } else {
        Value = text;
    }
    return true;
}

// ---- encoding ----

QByteArray Encode(const QString& Text)
{
    QByteArray out;
    for (char c : Text.toUtf8()) {
        if (c == '%' || c == '\n' || c == '\r')
            out += '%' + QByteArray::number(uchar(c), 16).rightJustified(2, '0').toUpper();
        else
            out += c;
    }
    return out;
}

QString Decode(const QByteArray& Word)
{
    return QUrl::fromPercentEncoding(Word);
}

// ---- finding things ----

TCustomForm* FindForm(const QString& Name)
{
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (Screen->Forms(i)->Name().compare(Name, Qt::CaseInsensitive) == 0)
            return Screen->Forms(i);
    return nullptr;
}

TComponent* FindOwned(const TComponent* Root, const QString& Name)
{
    for (int i = 0; i < Root->ComponentCount(); ++i) {
        TComponent* c = Root->Components(i);
        if (c->Name().compare(Name, Qt::CaseInsensitive) == 0)
            return c;
    }
    for (int i = 0; i < Root->ComponentCount(); ++i)
        if (TComponent* c = FindOwned(Root->Components(i), Name))
            return c;
    return nullptr;
}

// "Form" or "Form.Comp"; the form itself when no component is named.
TComponent* Resolve(const QString& Path, QString& Error)
{
    const QString formName = Path.section(QLatin1Char('.'), 0, 0);
    const QString compName = Path.section(QLatin1Char('.'), 1);
    TComponent* form = FindForm(formName);
    // Shared action lists and data modules live beside the forms, owned by the application.
    for (int i = 0; !form && i < Application->ComponentCount(); ++i)
        if (Application->Components(i)->Name().compare(formName, Qt::CaseInsensitive) == 0)
            form = Application->Components(i);
    if (!form) {
        Error = QStringLiteral("no form ") + formName;
        return nullptr;
    }
    if (compName.isEmpty())
        return form;
    TComponent* c = FindOwned(form, compName);
    if (!c)
        Error = QStringLiteral("no component ") + compName + QStringLiteral(" on ") + formName;
    return c;
}

bool IsShown(TComponent* C)
{
    if (auto* control = dynamic_cast<TControl*>(C))
        return control->Showing();
    return C != nullptr;
}

// ---- reading ----

QString DisplayedText(TComponent* C)
{
    bool choice = false;
    if (const QString text = DriverChoiceText(C, choice); choice)
        return text;
    if (auto* box = dynamic_cast<TCheckBox*>(C))
        return box->Checked() ? QStringLiteral("1") : QStringLiteral("0");
    if (auto* radio = dynamic_cast<TRadioButton*>(C))
        return radio->Checked() ? QStringLiteral("1") : QStringLiteral("0");
    if (auto* combo = dynamic_cast<TComboBox*>(C))
        return combo->Text();
    if (auto* list = dynamic_cast<TCustomListBox*>(C))
        return QString::number(list->ItemIndex());
    if (auto* memo = dynamic_cast<TMemo*>(C))
        return memo->Text();
    if (auto* tree = dynamic_cast<TCustomTreeView*>(C))
        return tree->Selected() ? tree->Selected()->Text() : QString();
    if (auto* status = dynamic_cast<TStatusBar*>(C)) {
        if (status->SimplePanel || status->Panels().empty())
            return status->SimpleText();
        QStringList texts;
        for (const TStatusPanel& p : status->Panels())
            texts << p.Text;
        return texts.join(QLatin1Char('\t'));
    }
    if (auto* item = dynamic_cast<TMenuItem*>(C))
        return item->Caption();
    if (auto* action = dynamic_cast<TCustomAction*>(C))
        return action->Caption();
    if (auto* control = dynamic_cast<TControl*>(C))
        return control->Text();
    return QString();
}

QString DataGridRows(TCustomDBGrid* Grid)
{
    std::vector<TColumn*> columns;
    QStringList titles;
    for (int i = 0; i < Grid->Columns()->Count(); ++i)
        if (TColumn* col = Grid->Columns()->Items(i); col->Visible()) {
            columns.push_back(col);
            titles << col->Title()->Caption();
        }
    QStringList lines{titles.join(QLatin1Char('\t'))};
    TDataSet* data = Grid->DataSource() ? Grid->DataSource()->DataSet() : nullptr;
    if (!data || !data->Active())
        return lines.join(QLatin1Char('\n'));
    // The rows are read without moving the cursor, so nothing scrolls.
    const int old = data->ActiveRecordOverride();
    for (int row = 0; row < data->RecordCount(); ++row) {
        data->SetActiveRecordOverride(row);
        QStringList cells;
        for (TColumn* col : columns)
            cells << (col->Field() ? col->Field()->DisplayText() : QString());
        lines << cells.join(QLatin1Char('\t'));
    }
    data->SetActiveRecordOverride(old);
    return lines.join(QLatin1Char('\n'));
}

QString StringGridRows(TStringGrid* Grid)
{
    QStringList lines;
    for (int r = 0; r < Grid->RowCount(); ++r)
        lines << Grid->Rows(r).join(QLatin1Char('\t'));
    return lines.join(QLatin1Char('\n'));
}

QString TreeLines(TCustomTreeView* Tree)
{
    QStringList lines;
    for (TTreeNode* n = Tree->Items()->GetFirstNode(); n; n = n->GetNext())
        lines << QString(n->Level(), QLatin1Char('\t')) + n->Text();
    return lines.join(QLatin1Char('\n'));
}

TTreeNode* FindNode(TCustomTreeView* Tree, const QString& Text)
{
    for (TTreeNode* n = Tree->Items()->GetFirstNode(); n; n = n->GetNext())
        if (n->Text() == Text)
            return n;
    return nullptr;
}

// The 1-based row of the data grid's dataset one of whose shown cells is Text.
int FindGridRow(TCustomDBGrid* Grid, const QString& Text)
{
    const QStringList lines = DataGridRows(Grid).split(QLatin1Char('\n'));
    for (int row = 1; row < lines.size(); ++row)
        if (lines[row].split(QLatin1Char('\t')).contains(Text))
            return row;
    return 0;
}

// ---- keys ----

bool ParseKey(const QString& Spec, int& Key, Qt::KeyboardModifiers& Mods, QString& Text)
{
    QStringList parts = Spec.split(QLatin1Char('+'));
    const QString name = parts.takeLast();
    Mods = Qt::NoModifier;
    for (const QString& m : parts) {
        if (m.compare(QLatin1String("Ctrl"), Qt::CaseInsensitive) == 0)
            Mods |= Qt::ControlModifier;
        else if (m.compare(QLatin1String("Shift"), Qt::CaseInsensitive) == 0)
            Mods |= Qt::ShiftModifier;
        else if (m.compare(QLatin1String("Alt"), Qt::CaseInsensitive) == 0)
            Mods |= Qt::AltModifier;
        else
            return false;
    }
    static const struct {
        const char* Name;
        int Key;
        const char* Text;
    } named[] = {{"Enter", Qt::Key_Return, "\r"}, {"Return", Qt::Key_Return, "\r"}, {"Escape", Qt::Key_Escape, "\x1b"},
                 {"Tab", Qt::Key_Tab, "\t"},       {"Space", Qt::Key_Space, " "},     {"Up", Qt::Key_Up, ""},
                 {"Down", Qt::Key_Down, ""},       {"Left", Qt::Key_Left, ""},       {"Right", Qt::Key_Right, ""},
                 {"Home", Qt::Key_Home, ""},       {"End", Qt::Key_End, ""},         {"PageUp", Qt::Key_PageUp, ""},
                 {"PageDown", Qt::Key_PageDown, ""}, {"Delete", Qt::Key_Delete, ""}, {"Backspace", Qt::Key_Backspace, "\b"},
                 {"Insert", Qt::Key_Insert, ""}};
    for (const auto& n : named)
        if (name.compare(QLatin1String(n.Name), Qt::CaseInsensitive) == 0) {
            Key = n.Key;
            Text = (Mods & (Qt::ControlModifier | Qt::AltModifier)) ? QString() : QString::fromLatin1(n.Text);
            return true;
        }
    bool isNumber = false;
    if (name.size() >= 2 && name[0].toUpper() == QLatin1Char('F')) {
        const int f = name.mid(1).toInt(&isNumber);
        if (isNumber && f >= 1 && f <= 12) {
            Key = Qt::Key_F1 + f - 1;
            Text.clear();
            return true;
        }
    }
    if (name.size() == 1 && name[0].isLetterOrNumber() && name[0].unicode() < 128) {
        Key = name[0].toUpper().unicode();
        Text = (Mods & (Qt::ControlModifier | Qt::AltModifier)) ? QString()
               : (Mods & Qt::ShiftModifier)                      ? name.toUpper()
                                                                 : name.toLower();
        return true;
    }
    return false;
}

void PressKey(TWinControl* Control, int Key, Qt::KeyboardModifiers Mods, const QString& Text)
{
    if (Control->CanFocus())
        Control->SetFocus();
    QWidget* target = Control->Widget();
    if (QWidget* focus = QApplication::focusWidget(); focus && (focus == target || target->isAncestorOf(focus)))
        target = focus;
    QPointer<QWidget> guard(target);
    QKeyEvent press(QEvent::KeyPress, Key, Mods, Text);
    QApplication::sendEvent(target, &press);
    if (guard) {
        QKeyEvent release(QEvent::KeyRelease, Key, Mods, Text);
        QApplication::sendEvent(guard, &release);
    }
}

// ---- one connection ----

class TDriverSession : public QObject {
public:
    explicit TDriverSession(QLocalSocket* Socket) : FSocket(Socket)
    {
        FSocket->setParent(this);
        connect(FSocket, &QLocalSocket::readyRead, this, [this] {
            FBuffer += FSocket->readAll();
            ProcessLines();
        });
        connect(FSocket, &QLocalSocket::disconnected, this, &QObject::deleteLater);
    }

private:
    void ProcessLines()
    {
        while (!FPaused) {
            const int nl = FBuffer.indexOf('\n');
            if (nl < 0)
                return;
            const QByteArray line = FBuffer.left(nl).trimmed();
            FBuffer.remove(0, nl + 1);
            if (!line.isEmpty())
                Execute(line.split(' '));
        }
    }

    void Reply(bool Ok, const QString& Payload = QString())
    {
        QByteArray line = Ok ? QByteArray("ok") : QByteArray("error");
        if (!Payload.isEmpty())
            line += ' ' + Encode(Payload);
        FSocket->write(line + '\n');
        FSocket->flush();
    }

    // Replies, then runs the action from the event loop: an action that
    // opens a modal window runs its nested loop, which goes on serving
    // this connection.
    void Defer(std::function<void()> Action)
    {
        Reply(true);
        FPaused = true;
        QTimer::singleShot(0, this, [this, Action = std::move(Action)] {
            QTimer::singleShot(0, this, [this] {
                FPaused = false;
                ProcessLines();
            });
            try {
                Action();
            } catch (const std::exception& e) {
                Application->HandleException(&e);
            } catch (...) {
                Application->HandleException(nullptr);
            }
        });
    }

    // Polls Condition from the event loop until it holds or Ms passed.
    void WaitFor(std::function<bool()> Condition, int Ms, const QString& What)
    {
        FPaused = true;
        auto* timer = new QTimer(this);
        auto* clock = new QElapsedTimer;
        clock->start();
        auto check = [this, timer, clock, Condition = std::move(Condition), Ms, What] {
            const bool met = Condition();
            if (!met && clock->elapsed() < Ms)
                return;
            timer->stop();
            timer->deleteLater();
            delete clock;
            Reply(met, met ? QString() : QStringLiteral("timeout waiting for ") + What);
            FPaused = false;
            QTimer::singleShot(0, this, [this] { ProcessLines(); });
        };
        connect(timer, &QTimer::timeout, this, check);
        timer->start(10);
    }

    void Execute(const QList<QByteArray>& Words)
    {
        QStringList args;
        for (int i = 1; i < Words.size(); ++i)
            args << Decode(Words[i]);
        const QByteArray command = Words[0];
        try {
            Dispatch(command, args);
        } catch (const std::exception& e) {
            Reply(false, QString::fromUtf8(e.what()));
        }
    }

    void Dispatch(const QByteArray& Command, const QStringList& Args)
    {
        if (Command == "windows")
            return Windows();
        if (Command == "boxes")
            return Reply(true, ShownBoxes().join(QLatin1Char('\n')));
        if (Command == "quit")
            return Defer([] {
                if (Application->MainForm())
                    Application->MainForm()->Close();
            });
        if (Command == "answer" && Args.size() == 1)
            return Answer(Args[0]);
        if (Command == "input" && Args.size() == 1) {
            QueuedInputs().push_back(Args[0]);
            return Reply(true);
        }
        if ((Command == "wait" || Command == "gone") && Args.size() == 2)
            return Wait(Command == "wait", Args[0], Args[1].toInt());
        if (Command == "waitfor" && Args.size() == 3)
            return WaitForText(Args[0], Args[1], Args[2].toInt());
        if (Command == "grab" && Args.size() == 2)
            return Grab(Args[0], Args[1]);
        QString error;
        TComponent* target = Args.isEmpty() ? nullptr : Resolve(Args[0], error);
        if (Args.isEmpty() || (!target && error.isEmpty()))
            return Reply(false, QStringLiteral("bad command ") + QString::fromUtf8(Command));
        if (!target)
            return Reply(false, error);
        if (Command == "get" && Args.size() == 1)
            return Reply(true, DisplayedText(target));
        if (Command == "grid" && Args.size() == 1)
            return Grid(target);
        if (Command == "tree" && Args.size() == 1) {
            if (auto* tree = dynamic_cast<TCustomTreeView*>(target))
                return Reply(true, TreeLines(tree));
            return Reply(false, target->Name() + QStringLiteral(" is not a tree"));
        }
        if (Command == "select" && Args.size() == 2)
            return Select(target, Args[1]);
        if (Command == "click" && Args.size() == 1)
            return Click(target);
        if (Command == "set" && Args.size() == 2)
            return Set(target, Args[1]);
        if (Command == "key" && Args.size() == 2)
            return Key(target, Args[1]);
        Reply(false, QStringLiteral("bad command ") + QString::fromUtf8(Command));
    }

    void Windows()
    {
        QStringList lines;
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (TCustomForm* f = Screen->Forms(i); f->Showing())
                lines << f->Name() + QLatin1Char('\t') + f->Caption();
        Reply(true, lines.join(QLatin1Char('\n')));
    }

    void Answer(const QString& Name)
    {
        static const std::pair<const char*, int> names[] = {{"IDOK", IDOK}, {"IDYES", IDYES}, {"IDNO", IDNO}, {"IDCANCEL", IDCANCEL}};
        for (const auto& [name, id] : names)
            if (Name == QLatin1String(name)) {
                QueuedAnswers().push_back(id);
                return Reply(true);
            }
        Reply(false, QStringLiteral("unknown answer ") + Name);
    }

    void Wait(bool Shown, const QString& Path, int Ms)
    {
        WaitFor(
            [Path, Shown] {
                QString error;
                const bool shown = IsShown(Resolve(Path, error));
                return shown == Shown;
            },
            Ms, Path);
    }

    void WaitForText(const QString& Path, const QString& Text, int Ms)
    {
        WaitFor(
            [Path, Text] {
                QString error;
                TComponent* c = Resolve(Path, error);
                return IsShown(c) && DisplayedText(c).contains(Text);
            },
            Ms, Path + QStringLiteral(" showing ") + Text);
    }

    void Grab(const QString& FormName, const QString& File)
    {
        TCustomForm* form = FindForm(FormName);
        if (!form)
            return Reply(false, QStringLiteral("no form ") + FormName);
        QApplication::processEvents();
        if (!form->Widget()->grab().save(File, "PNG"))
            return Reply(false, QStringLiteral("cannot write ") + File);
        Reply(true);
    }

    void Grid(TComponent* Target)
    {
        if (auto* data = dynamic_cast<TCustomDBGrid*>(Target))
            return Reply(true, DataGridRows(data));
        if (auto* strings = dynamic_cast<TStringGrid*>(Target))
            return Reply(true, StringGridRows(strings));
        Reply(false, Target->Name() + QStringLiteral(" is not a grid"));
    }

    void Click(TComponent* Target)
    {
        if (auto* item = dynamic_cast<TMenuItem*>(Target)) {
            if (!item->Enabled())
                return Reply(false, Target->Name() + QStringLiteral(" is disabled"));
            return Defer([item] { item->Click(); });
        }
        if (auto* action = dynamic_cast<TBasicAction*>(Target)) {
            if (auto* a = dynamic_cast<TCustomAction*>(Target); a && !a->Enabled())
                return Reply(false, Target->Name() + QStringLiteral(" is disabled"));
            return Defer([action] { action->Execute(); });
        }
        auto* control = dynamic_cast<TControl*>(Target);
        if (!control)
            return Reply(false, Target->Name() + QStringLiteral(" cannot be clicked"));
        if (!control->Showing() || !control->Enabled())
            return Reply(false, Target->Name() + QStringLiteral(" is hidden or disabled"));
        Defer([control] { control->Click(); });
    }

    // Tabs and lookup rows: replied to with the error when there is no such
    // choice, else deferred like the other actions.
    bool Choose(TComponent* Target, const QString& Text)
    {
        TDriverChoice choice = DriverChoiceFor(Target, Text);
        if (!choice.Handled)
            return false;
        if (!choice.Error.isEmpty())
            Reply(false, choice.Error);
        else
            Defer(std::move(choice.Action));
        return true;
    }

    void Select(TComponent* Target, const QString& Text)
    {
        if (Choose(Target, Text))
            return;
        if (auto* tree = dynamic_cast<TCustomTreeView*>(Target)) {
            TTreeNode* node = FindNode(tree, Text);
            if (!node)
                return Reply(false, QStringLiteral("no node ") + Text);
            return Defer([tree, node] { tree->SetSelected(node); });
        }
        if (auto* grid = dynamic_cast<TCustomDBGrid*>(Target)) {
            const int row = FindGridRow(grid, Text);
            if (row == 0)
                return Reply(false, QStringLiteral("no row with ") + Text);
            return Defer([grid, row] { grid->DataSource()->DataSet()->SetRecNo(row); });
        }
        Reply(false, Target->Name() + QStringLiteral(" has no nodes or rows to select"));
    }

    void Set(TComponent* Target, const QString& Text)
    {
        auto* control = dynamic_cast<TControl*>(Target);
        if (!control || !control->Showing() || !control->Enabled())
            return Reply(false, Target->Name() + QStringLiteral(" is hidden, disabled or no control"));
        if (Choose(Target, Text))
            return;
        if (auto* combo = dynamic_cast<TComboBox*>(Target)) {
            auto* box = static_cast<QComboBox*>(combo->Widget());
            const int index = combo->IndexOf(Text);
            if (index < 0 && !box->isEditable())
                return Reply(false, QStringLiteral("no item ") + Text);
            return Defer([box, index, Text] {
                if (index >= 0)
                    box->setCurrentIndex(index);
                else
                    box->setEditText(Text);
            });
        }
        if (auto* edit = dynamic_cast<TCustomEdit*>(Target)) {
            if (edit->ReadOnly())
                return Reply(false, Target->Name() + QStringLiteral(" is read-only"));
            return Defer([edit, Text] {
                edit->SetText(Text);
                edit->Modified = true;
            });
        }
        if (auto* memo = dynamic_cast<TMemo*>(Target))
            return Defer([memo, Text] { memo->SetText(Text); });
        if (dynamic_cast<TCheckBox*>(Target) || dynamic_cast<TRadioButton*>(Target)) {
            const bool want = Text == QLatin1String("1");
            return Defer([control, want] {
                if ((DisplayedText(control) == QLatin1String("1")) != want)
                    control->Click();
            });
        }
        Reply(false, Target->Name() + QStringLiteral(" has no text to set"));
    }

    void Key(TComponent* Target, const QString& Spec)
    {
        auto* control = dynamic_cast<TWinControl*>(Target);
        if (!control || !control->Showing())
            return Reply(false, Target->Name() + QStringLiteral(" is hidden or takes no keys"));
        int key = 0;
        Qt::KeyboardModifiers mods;
        QString text;
        if (!ParseKey(Spec, key, mods, text))
            return Reply(false, QStringLiteral("unknown key ") + Spec);
        Defer([control, key, mods, text] { PressKey(control, key, mods, text); });
    }

    QLocalSocket* FSocket;
    QByteArray FBuffer;
    bool FPaused = false;
};

}  // namespace

bool StartTestDriverFromEnvironment()
{
    const QString path = qEnvironmentVariable("SORVEX_TEST_DRIVER");
    if (path.isEmpty())
        return true;
    auto* server = new QLocalServer(QCoreApplication::instance());
    QLocalServer::removeServer(path);
    if (!server->listen(path)) {
        std::fprintf(stderr, "sorvex: test driver cannot listen at %s: %s\n", qPrintable(path),
                     qPrintable(server->errorString()));
        delete server;
        return false;
    }
    SetMessageBoxHook(AnswerBox);
    SetCommonDialogHook(AnswerInput);
    QObject::connect(server, &QLocalServer::newConnection, server, [server] {
        while (QLocalSocket* socket = server->nextPendingConnection())
            new TDriverSession(socket);
    });
    return true;
}
