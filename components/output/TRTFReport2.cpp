#include "components/output/TRTFReport2.h"

#include "components/base/ParioCompGlobalCfg.h"

#include "components/base/rdlg.h"
#include "components/base/rtool.h"
#include "components/output/RtfPlainText.h"
#include "components/output/rRepText.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/StrUtils.h"
#include "resources/ReportTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr int MaxTagLength = 250;

const QString CrLf = QStringLiteral("\r\n");

QString ReadFileLines(const QString& Path, bool& Found)
{
    QFile f(Path);
    Found = f.open(QIODevice::ReadOnly);
    if (!Found)
        return QString();
    QString text = QString::fromUtf8(f.readAll());
    text.replace(CrLf, QStringLiteral("\n"));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    QStringList lines = text.split(QLatin1Char('\n'));
    return lines.join(CrLf) + CrLf;
}

// RTF writers break long lines anywhere, also inside tags, so the line breaks
// go. A break that ends a control word ("\\par" at the end of a line) ends
// it with a blank instead, or the word would run into the next line's text.
QString RemoveRtfLineBreaks(const QString& Text)
{
    QString r;
    r.reserve(Text.size());
    for (int i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
            r += c;
            continue;
        }
        int k = r.size() - 1;
        while (k >= 0 && (r[k].isDigit() || (r[k] == QLatin1Char('-') && k > 0 && r[k - 1].isLetter())))
            --k;
        int letters = k;
        while (k >= 0 && r[k].isLetter() && r[k].unicode() < 128)
            --k;
        // A control word starts at an odd run of backslashes (an even run is
        // escaped backslashes, or a tag delimiter).
        int slashes = 0;
        for (int j = k; j >= 0 && r[j] == QLatin1Char('\\'); --j)
            ++slashes;
        const bool endsControlWord = k >= 0 && k < letters && slashes % 2 == 1;
        if (endsControlWord)
            r += QLatin1Char(' ');
        if (c == QLatin1Char('\r') && i + 1 < Text.size() && Text[i + 1] == QLatin1Char('\n'))
            ++i;
    }
    return r;
}


} // namespace

TRTFReport2::TRTFReport2(TComponent* AOwner)
    : TReportTagEngine(AOwner)
{
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

void TRTFReport2::Loaded()
{
    TReportTagEngine::Loaded();
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

QString TRTFReport2::ParMark() const { return FPlain ? CrLf : QStringLiteral("\\par "); }
QString TRTFReport2::PageBreak() const { return FPlain ? QStringLiteral("\f\r") : QStringLiteral("\\page "); }

// ---- escaping ------------------------------------------------------------------------

QString TRTFReport2::StrToRtf(const QString& S) const
{
    if (FPlain)
        return S;
    QString r;
    r.reserve(S.size());
    for (QChar c : S) {
        if (c.unicode() < 128) {
            r += c;
            continue;
        }
        // RTF readers take the code unit as a signed 16-bit number.
        const int v = c.unicode() > 32767 ? int(c.unicode()) - 65536 : int(c.unicode());
        r += QStringLiteral("\\u") + QString::number(v) + QLatin1Char('?');
    }
    return r;
}

QString RtfEscapeMarkup(const QString& S)
{
    // hex escapes rather than a doubled backslash, which would read as a tag
    // delimiter in a later pass over the report
    QString r;
    r.reserve(S.size());
    for (const QChar c : S) {
        if (c == QLatin1Char('\\'))
            r += QStringLiteral("\\'5c");
        else if (c == QLatin1Char('{'))
            r += QStringLiteral("\\'7b");
        else if (c == QLatin1Char('}'))
            r += QStringLiteral("\\'7d");
        else
            r += c;
    }
    return r;
}

QString TRTFReport2::EscapeData(const QString& S) const
{
    return FPlain ? S : RtfEscapeMarkup(S);
}

QString TRTFReport2::RtfToStr(const QString& S) const
{
    if (FPlain || !S.contains(QLatin1String("\\'")))
        return S;
    QString r;
    QStringDecoder cp1252("windows-1252");
    for (int i = 0; i < S.size(); ++i) {
        if (S[i] == QLatin1Char('\\') && i + 3 < S.size() + 0 && S[i + 1] == QLatin1Char('\'')) {
            bool ok = false;
            const int code = S.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                if (code != 0)
                    r += cp1252.decode(QByteArray(1, char(code)));
                i += 3;
                continue;
            }
        }
        r += S[i];
    }
    return r;
}

// ---- the run -------------------------------------------------------------------------

void TRTFReport2::Execute(const std::vector<TDataSet*>& DataSets)
{
    FTagList = nullptr;
    SetDatasets(DataSets);
    PicCount = 0;
    FPlain = TemplateFormat == tfText
             || (TemplateFormat == tfAutoDetect && QFileInfo(ReportFile).suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0);
    if (ShowProgressBar)
        ShowInfo(reptxt::CreatingReport, nullptr);
    else
        WCursor();
    try {
        ProcAll();
    } catch (...) {
        if (ShowProgressBar)
            ShowInfo(QString(), nullptr);
        else
            NCursor();
        throw;
    }
    if (ShowProgressBar)
        ShowInfo(QString(), nullptr);
    else
        NCursor();
}

QString TRTFReport2::ReadTemplate() const
{
    QFile f(ReportFile);
    if (!f.open(QIODevice::ReadOnly))
        throw Exception(FillText(reptxt::CannotOpenTemplate, ReportFile) + QLatin1Char('\n') + reptxt::FileNotExist);
    return QString::fromUtf8(f.readAll());
}

void TRTFReport2::ProcAll()
{
    // 1-2.
    StartRun();
    RepStr.clear();
    if (OnGetTemplateStr)
        OnGetTemplateStr(this, RepStr);
    else
        RepStr = ReadTemplate();
    try {
        // 3. RTF writers break long lines anywhere, also inside tags.
        if (!FPlain)
            RepStr = ForEachTextPart(RepStr, [this](const QString& part) {
                return ProcSection(RemoveRtfLineBreaks(part), true, true);
            });
        // 4.
        if (DefaultCharset != 0)
            RepStr.replace(QRegularExpression(QStringLiteral("fcharset0(?!\\d)"), QRegularExpression::CaseInsensitiveOption),
                           QStringLiteral("fcharset") + QString::number(DefaultCharset));
        // 5.
        ProcInfoTags();
        ProcInsertFiles();
        ProcIf(false, true, RepStr);
        RepStr = ProcBlock(RepStr);
    } catch (...) {
        EndRun();
        throw;
    }
    EndRun();
    // 6-7.
    ProcessMessages();
    if (Aborted)
        throw Exception(reptxt::ActionAborted);
    if (OnModifyBeforeSave) {
        OnModifyBeforeSave(this, RepStr);
        if (RepStr.isEmpty())
            return;
    }
    // 8-10.
    QByteArray bytes;
    if (FPlain && TxtCodePage != 0) {
        QStringEncoder enc(QStringLiteral("windows-%1").arg(TxtCodePage).toLatin1().constData());
        bytes = enc.isValid() ? QByteArray(enc.encode(RepStr)) : RepStr.toUtf8();
    } else {
        bytes = RepStr.toUtf8();
    }
    RepStr.clear();
    Save(bytes);
    bool abort = false;
    if (OnReportProcess)
        OnReportProcess(this, -1, abort);
    DoActionAfter();
}

void TRTFReport2::Save(const QByteArray& Bytes)
{
    for (;;) {
        QFile f(OutputFile);
        const bool append = FPlain && AppendToFile && f.exists();
        if (f.open(append ? QIODevice::Append : (QIODevice::WriteOnly | QIODevice::Truncate))
            && f.write(Bytes) == Bytes.size() && f.flush()) {
            f.close();
            return;
        }
        const QString message = FillText(reptxt::SaveError, OutputFile) + QLatin1Char('\n') + reptxt::SaveErrorReason;
        if (!ShowSaveErrorDialog)
            throw Exception(message);
        if (DlgQ(message + QStringLiteral("\n\n") + reptxt::TryAgain) != mrYes)
            Abort();
    }
}

void TRTFReport2::DoActionAfter()
{
    RunActionAfter(ActionAfter, OutputFile);
}

// ---- template preparation ------------------------------------------------------------

QString TRTFReport2::ForEachTextPart(const QString& Text, const std::function<QString(const QString&)>& Step) const
{
    if (FPlain)
        return Step(Text);
    QString out;
    int from = 0;
    for (;;) {
        const int start = Text.indexOf(QLatin1String("{\\pict"), from);
        if (start < 0)
            break;
        int depth = 0, end = -1;
        for (int i = start; i < Text.size(); ++i) {
            if (Text[i] == QLatin1Char('\\')) {
                ++i;  // an escaped brace is no group
                continue;
            }
            if (Text[i] == QLatin1Char('{'))
                ++depth;
            else if (Text[i] == QLatin1Char('}') && --depth == 0) {
                end = i;
                break;
            }
        }
        if (end < 0)
            RaiseRepErr(reTag, Text.mid(start, 20));
        out += Step(Text.mid(from, start - from)) + Text.mid(start, end + 1 - start);
        from = end + 1;
    }
    return out + Step(Text.mid(from));
}

QString TRTFReport2::ExtractSpecChar(QString& TagText) const
{
    QString noise;
    int i = 0;
    while ((i = TagText.indexOf(QLatin1Char('\\'), i)) >= 0) {
        if (i + 1 < TagText.size() && TagText[i + 1] == QLatin1Char('\'')) {
            i += 2;
            continue;
        }
        int end = TagText.indexOf(QLatin1Char(' '), i);
        end = end < 0 ? TagText.size() : end + 1;
        noise += TagText.mid(i, end - i);
        TagText.remove(i, end - i);
    }
    const int braces = TagText.count(QLatin1Char('{')) + TagText.count(QLatin1Char('}'));
    if (braces == 1) {
        const int b = std::max(TagText.indexOf(QLatin1Char('{')), TagText.indexOf(QLatin1Char('}')));
        noise += TagText[b];
        TagText.remove(b, 1);
    }
    return noise;
}

QString TRTFReport2::ProcSection(const QString& Section, bool Extract, bool CleanNoise)
{
    QString text = Section;
    if (!Extract)
        ProcIf(true, true, text);
    const QString delim = TagOpen();
    int pos = 0;
    for (;;) {
        const int open = text.indexOf(delim, pos);
        if (open < 0)
            break;
        const int close = text.indexOf(delim, open + 2);
        if (close < 0)
            break;
        QString tag = text.mid(open + 2, close - open - 2);
        if (tag.isEmpty() || tag[0] == QLatin1Char('#') || tag[0] == QLatin1Char('*') || tag[0] == QLatin1Char('@')
            || tag.size() > MaxTagLength) {
            pos = open + 2;
            continue;
        }
        QString noise;
        if (!Extract || CleanNoise)
            noise = ExtractSpecChar(tag);
        QString replacement;
        if (Extract) {
            if (FTagList)
                FTagList->Add(tag);
            replacement = noise + delim + tag + delim;
        } else {
            tag = RtfToStr(tag).trimmed();
            bool resolved = false;
            const QString value = tag.size() >= 2 ? ProcTagStr(tag, resolved) : QString();
            if (!resolved) {
                pos = open + 2;
                continue;
            }
            replacement = noise + StrToRtf(value);
        }
        text.replace(open, close + 2 - open, replacement);
        pos = open + replacement.size();
    }
    return text;
}

QString TRTFReport2::ProcPlainSection(const QString& Section)
{
    return ProcSection(Section, false, true);
}

void TRTFReport2::ProcInfoTags()
{
    const QString pattern = Tagged(QStringLiteral("info(X)"));
    int pos;
    for (;;) {
        const QString inside = FindTagStr(pattern, RepStr, 0, pos, true);
        if (pos < 0)
            break;
        FExtendedInfo.Add(inside);
    }
    ApplyInfo();
}

void TRTFReport2::ProcInsertFiles()
{
    const QString folder = QFileInfo(ReportFile).absolutePath();
    for (const bool rtf : {false, true}) {
        const QString pattern = Tagged(rtf ? QStringLiteral("insertrtffile(X)") : QStringLiteral("insertfile(X)"));
        int pos, length = 0;
        for (;;) {
            const QString inside = FindTagStr(pattern, RepStr, 0, pos, false, &length);
            if (pos < 0)
                break;
            QString path = inside.trimmed();
            path.replace(QLatin1Char('\\'), QLatin1Char('/'));
            if (QFileInfo(path).isRelative())
                path = QDir(folder).filePath(path);
            bool found = false;
            QString content = ReadFileLines(path, found);
            if (!found)
                content = FillText(reptxt::FileNotFound, inside.trimmed());
            else if (!rtf)
                content = ProcBlock(StrToRtf(content));
            RepStr.replace(pos, length, content);
        }
    }
}

// ---- values ------------------------------------------------------------------------

QString TRTFReport2::MemoValue(const QString& Text, const QString& Format)
{
    const QString fmt = Format.toLower();
    QString v = Text;
    const bool plain = fmt == QLatin1String("plain") || (fmt.isEmpty() && DefaultMemoFormat == mfPlain);
    const bool line = fmt == QLatin1String("rtfline") || (fmt.isEmpty() && DefaultMemoFormat == mfRTFLine);
    const bool rtf = fmt == QLatin1String("rtf") || line || (fmt.isEmpty() && DefaultMemoFormat == mfRTF)
                     || (fmt.isEmpty() && DefaultMemoFormat == mfAutoDetect && v.contains(QLatin1String("\\par ")));
    if (plain) {
        try {
            v = v.trimmed().startsWith(QLatin1String("{\\rtf")) ? RtfToPlainText(v) : v;
        } catch (const Exception& e) {
            DlgE(reptxt::RtfToPlainError + e.Message());
            throw;
        }
        if (v.endsWith(CrLf))
            v.chop(2);
    } else if (rtf) {
        v.remove(CrLf);
        static const QRegularExpression viewkind(QStringLiteral("\\\\viewkind[0-9]"));
        v.remove(viewkind);
    }
    if (!rtf) {
        // plain memo text: braces and backslashes print as themselves, but a
        // memo holding tags keeps its delimiters for the tag pass
        if (v.contains(TagOpen()))
            v.replace(QLatin1Char('{'), QStringLiteral("\\'7b")).replace(QLatin1Char('}'), QStringLiteral("\\'7d"));
        else
            v = EscapeData(v);
    }
    while (v.endsWith(QLatin1Char(' ')))
        v.chop(1);
    if (line) {
        const int last = v.lastIndexOf(QLatin1String("\\par "));
        if (last >= 0)
            v.remove(last, 5);
    }
    for (int i = 0; i < MemoReplaces.Count(); ++i) {
        const QString entry = MemoReplaces[i];
        const int eq = entry.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        QString from = entry.left(eq), to = entry.mid(eq + 1);
        const int eq2 = to.indexOf(QLatin1Char('='));
        if (eq2 >= 0)
            to = to.left(eq2);
        from.replace(QLatin1String("<TAB>"), QLatin1String("\t"), Qt::CaseInsensitive);
        to.replace(QLatin1String("<TAB>"), QLatin1String("\t"), Qt::CaseInsensitive);
        v.replace(from, to, Qt::CaseInsensitive);
    }
    return v;
}

QString TRTFReport2::FinishFieldValue(const QString& Value) const
{
    if (FPlain)
        return Value;
    QString v = Value;
    return v.replace(CrLf, QStringLiteral("\\par "));
}

QString TRTFReport2::FinishVarValue(const QString& Value) const
{
    return Value;
}

// ---- tag listing -------------------------------------------------------------------

void TRTFReport2::ExtractCheckTags(TStringList* AllTags, TStringList* SuspiciousTags, bool UseExtractInnerTags)
{
    FPlain = TemplateFormat == tfText
             || (TemplateFormat == tfAutoDetect && QFileInfo(ReportFile).suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0);
    QString text = ReadTemplate();
    TStringList own;
    FTagList = AllTags ? AllTags : &own;
    FTagList->Clear();
    try {
        ForEachTextPart(text, [&](const QString& part) {
            return ProcSection(FPlain ? part : RemoveRtfLineBreaks(part), true, UseExtractInnerTags);
        });
    } catch (...) {
        FTagList = nullptr;
        throw;
    }
    if (AllTags && SuspiciousTags) {
        SuspiciousTags->Clear();
        for (int i = 0; i < AllTags->Count(); ++i) {
            const QString& t = (*AllTags)[i];
            if (t.contains(QLatin1Char('\\')) || t.contains(QLatin1Char('{')) || t.contains(QLatin1Char('}')))
                SuspiciousTags->Add(t);
        }
    }
    FTagList = nullptr;
}

// ---- post-processing ---------------------------------------------------------------

void TRTFReport2::FormatText(QString& Text, const QString& TextToFormat, TRTFTextFormats FormatTypes,
                             bool WholeWordOnly, const QString& SeekFrom, const QString& SeekTo)
{
    SeekInfo = TSeekInfo();
    SeekInfo.Action = 1;
    SeekInfo.OldText = TextToFormat;
    SeekInfo.WholeWord = WholeWordOnly;
    SeekInfo.SeekFrom = SeekFrom;
    SeekInfo.SeekTo = SeekTo;
    if (FormatTypes & frmBold) {
        SeekInfo.SetFrmStart += QStringLiteral("\\b ");
        SeekInfo.SetFrmStop += QStringLiteral("\\b0 ");
    }
    if (FormatTypes & frmItalic) {
        SeekInfo.SetFrmStart += QStringLiteral("\\i ");
        SeekInfo.SetFrmStop += QStringLiteral("\\i0 ");
    }
    if (FormatTypes & frmUnderline) {
        SeekInfo.SetFrmStart += QStringLiteral("\\ul ");
        SeekInfo.SetFrmStop += QStringLiteral("\\ul0 ");
    }
    Text = ForEachTextPart(Text, [this](const QString& part) { return ProcFormatText(part); });
}

void TRTFReport2::ReplaceText(QString& Text, const QString& OldText, const QString& NewText, bool WholeWordOnly,
                              const QString& SeekFrom, const QString& SeekTo)
{
    SeekInfo = TSeekInfo();
    SeekInfo.Action = 2;
    SeekInfo.OldText = OldText;
    SeekInfo.WholeWord = WholeWordOnly;
    SeekInfo.SeekFrom = SeekFrom;
    SeekInfo.SeekTo = SeekTo;
    const QString n = ApplyScriptMarks(NewText, QStringLiteral("\\super "), QStringLiteral("\\sub "),
                                       QStringLiteral("\\nosupersub "));
    SeekInfo.NewText = n;
    Text = ForEachTextPart(Text, [this](const QString& part) { return ProcFormatText(part); });
}

QString TRTFReport2::ProcFormatText(const QString& Part) const
{
    QString text = Part;
    const int length = SeekInfo.OldText.size();
    SeekAndReplace(text, SeekInfo.OldText, SeekInfo.WholeWord, SeekInfo.SeekFrom, SeekInfo.SeekTo,
                   [this, length](const QString& T, int Pos) {
                       const QString insert = SeekInfo.Action == 1
                                                  ? SeekInfo.SetFrmStart + T.mid(Pos, length) + SeekInfo.SetFrmStop
                                                  : SeekInfo.NewText;
                       return TSeekReplacement{Pos, length, insert};
                   });
    return text;
}
