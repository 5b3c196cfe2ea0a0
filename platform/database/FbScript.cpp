#include "platform/database/FbScript.h"

#include <QFile>
#include <QRegularExpression>

namespace {

bool StartsWithWord(const QString& s, int at, const QString& word)
{
    if (at + word.size() > s.size())
        return false;
    if (QStringView(s).mid(at, word.size()).compare(word, Qt::CaseInsensitive) != 0)
        return false;
    const int end = at + int(word.size());
    return end >= s.size() || !(s[end].isLetterOrNumber() || s[end] == QLatin1Char('_'));
}

}  // namespace

std::vector<TScriptStatement> SplitScript(const QString& S)
{
    std::vector<TScriptStatement> out;
    QString term = QStringLiteral(";");
    const int n = int(S.size());
    int i = 0;
    int line = 1;
    auto advance = [&](int to) {
        for (; i < to && i < n; ++i)
            if (S[i] == QLatin1Char('\n'))
                ++line;
    };
    while (i < n) {
        // Skip blanks and comments between statements.
        if (S[i].isSpace()) {
            advance(i + 1);
            continue;
        }
        if (S[i] == QLatin1Char('-') && i + 1 < n && S[i + 1] == QLatin1Char('-')) {
            int j = S.indexOf(QLatin1Char('\n'), i);
            advance(j < 0 ? n : j);
            continue;
        }
        if (S[i] == QLatin1Char('/') && i + 1 < n && S[i + 1] == QLatin1Char('*')) {
            int j = S.indexOf(QStringLiteral("*/"), i + 2);
            advance(j < 0 ? n : j + 2);
            continue;
        }
        const int startLine = line;
        // SET TERM <new> <old>
        if (StartsWithWord(S, i, QStringLiteral("SET"))) {
            int j = i + 3;
            while (j < n && S[j].isSpace())
                ++j;
            if (StartsWithWord(S, j, QStringLiteral("TERM"))) {
                j += 4;
                while (j < n && S[j].isSpace())
                    ++j;
                int k = j;
                while (k < n && !S[k].isSpace())
                    ++k;
                QString newTerm = S.mid(j, k - j);
                const QString oldTerm = term;
                int end = S.indexOf(oldTerm, k);
                if (newTerm.size() > oldTerm.size() && newTerm.endsWith(oldTerm)) {
                    // "SET TERM ^;" written without a blank.
                    newTerm.chop(oldTerm.size());
                    end = k - int(oldTerm.size());
                }
                term = newTerm;
                advance(end < 0 ? n : end + int(oldTerm.size()));
                continue;
            }
        }
        // A statement: up to the terminator outside literals and comments.
        int j = i;
        while (j < n) {
            const QChar c = S[j];
            if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
                int k = j + 1;
                while (k < n) {
                    if (S[k] == c) {
                        if (k + 1 < n && S[k + 1] == c) {
                            k += 2;
                            continue;
                        }
                        break;
                    }
                    ++k;
                }
                j = k + 1;
                continue;
            }
            if (c == QLatin1Char('-') && j + 1 < n && S[j + 1] == QLatin1Char('-')) {
                int k = S.indexOf(QLatin1Char('\n'), j);
                j = k < 0 ? n : k;
                continue;
            }
            if (c == QLatin1Char('/') && j + 1 < n && S[j + 1] == QLatin1Char('*')) {
                int k = S.indexOf(QStringLiteral("*/"), j + 2);
                j = k < 0 ? n : k + 2;
                continue;
            }
            if (QStringView(S).mid(j, term.size()) == term)
                break;
            ++j;
        }
        const QString text = S.mid(i, j - i).trimmed();
        if (!text.isEmpty())
            out.push_back(TScriptStatement{text, startLine});
        advance(j);
        advance(std::min(n, j + int(term.size())));
    }
    return out;
}

namespace {

bool IsIsqlSetting(const QString& t)
{
    static const QRegularExpression re(
        QStringLiteral("^SET\\s+(NAMES|SQL\\s+DIALECT|ECHO|BAIL|LIST|STATS|COUNT|HEADING|WARNINGS|PLAN|PLANONLY|"
                       "TIME|BLOBDISPLAY|BLOB|ROWCOUNT|WIDTH|SQLDA_DISPLAY|WNG)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return re.match(t).hasMatch();
}

}  // namespace

void TFbScript::ExecuteScript(const QString& Script)
{
    if (!Connection || !Connection->Connected())
        throw EDatabaseError(QStringLiteral("Connection is not open"));
    TFbTransaction* t = Transaction ? Transaction : Connection->DefaultTransaction();
    const std::vector<TScriptStatement> statements = SplitScript(Script);
    static const QRegularExpression commitRe(QStringLiteral("^COMMIT(\\s+WORK)?$"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression rollbackRe(QStringLiteral("^ROLLBACK(\\s+WORK)?$"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression autoddlRe(QStringLiteral("^SET\\s+AUTODDL(\\s+(ON|OFF))?$"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression refusedRe(QStringLiteral("^(CREATE\\s+DATABASE|CONNECT|INPUT|OUTPUT|QUIT|EXIT)\\b"),
                                              QRegularExpression::CaseInsensitiveOption);
    TFbCommand cmd(Connection, t);
    for (size_t idx = 0; idx < statements.size(); ++idx) {
        const TScriptStatement& st = statements[idx];
        if (OnStatement)
            OnStatement(int(idx), st);
        try {
            if (commitRe.match(st.Text).hasMatch()) {
                if (t->Active())
                    t->Commit();
                continue;
            }
            if (rollbackRe.match(st.Text).hasMatch()) {
                if (t->Active())
                    t->Rollback();
                continue;
            }
            auto m = autoddlRe.match(st.Text);
            if (m.hasMatch()) {
                AutoCommitDDL = m.captured(2).isEmpty() || m.captured(2).compare(QLatin1String("ON"), Qt::CaseInsensitive) == 0;
                continue;
            }
            if (IsIsqlSetting(st.Text))
                continue;
            if (refusedRe.match(st.Text).hasMatch())
                throw EDatabaseError(QStringLiteral("Statement not allowed in a script run by the program"));
            t->EnsureActive();
            cmd.SetTransaction(t);
            cmd.Prepare(st.Text, false);
            cmd.Execute(TParams(), nullptr);
            const bool ddl = cmd.IsDDL();
            cmd.Unprepare();
            if (ddl && AutoCommitDDL)
                t->Commit();
        } catch (const Exception& e) {
            cmd.Unprepare();
            throw EFbScriptError(QStringLiteral("Script error at line %1: %2").arg(st.Line).arg(e.Message()), st.Line,
                                 st.Text);
        }
    }
}

void TFbScript::ExecuteFile(const QString& Path)
{
    QFile f(Path);
    if (!f.open(QIODevice::ReadOnly))
        throw EFbScriptError(QStringLiteral("Cannot read script file \"%1\"").arg(Path), 0, QString());
    ExecuteScript(QString::fromUtf8(f.readAll()));
}
