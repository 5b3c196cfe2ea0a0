#include "components/output/TrXMLReport.h"

#include "components/base/ParioCompGlobalCfg.h"

#include "components/base/rdlg.h"
#include "components/base/rtool.h"
#include "components/output/rRepText.h"
#include "platform/office/rzip_interface.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/StrUtils.h"
#include "resources/ReportTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

namespace {

const QString CreatingError = QStringLiteral("Error during creating of report.");
const QString UnknownTemplateType = QStringLiteral("Unknown template type.");
const QString NotSupported = QStringLiteral("Tag \"%s\" is not supported in this template format.");

// The parts the engine fills, per kind; every other entry stays as it is.
QStringList FileMasks(TXMLTemplateFormat Format)
{
    if (Format == tfDOCX)
        return {QStringLiteral("word/header*.xml"), QStringLiteral("word/footer*.xml"), QStringLiteral("word/document.xml")};
    if (Format == tfODT)
        return {QStringLiteral("content.xml"), QStringLiteral("styles.xml")};
    return {};
}

bool MatchesMask(const QString& Name, const QStringList& Masks)
{
    for (const QString& m : Masks) {
        QString pattern = QRegularExpression::escape(m);
        pattern.replace(QLatin1String("\\*"), QLatin1String(".*")).replace(QLatin1String("\\?"), QLatin1String("."));
        const QRegularExpression re(QRegularExpression::anchoredPattern(pattern), QRegularExpression::CaseInsensitiveOption);
        if (re.match(Name).hasMatch())
            return true;
    }
    return false;
}

QString ReadBytesAsText(const QString& Path, bool& Ok)
{
    QFile f(Path);
    Ok = f.open(QIODevice::ReadOnly);
    return Ok ? QString::fromLatin1(f.readAll()) : QString();
}

} // namespace

TrXMLReport::TrXMLReport(TComponent* AOwner)
    : TReportTagEngine(AOwner)
{
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

void TrXMLReport::Loaded()
{
    TReportTagEngine::Loaded();
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

void TrXMLReport::RaiseErr(int Code, const QString& Text) const
{
    if (Code >= 0 && Code <= 7)
        RaiseRepErr(TRepErrKind(Code), XMLToStr(Text));
    if (Code == -2)
        throw TReportException(CreatingError + QLatin1Char('\n') + UnknownTemplateType);
    if (Code == -3)
        throw TReportException(reptxt::BadFormat + QLatin1Char('\n')
                               + (Text.isEmpty() ? QStringLiteral("Invalid table structure.") : Text));
    throw TReportException(CreatingError + QLatin1Char('\n') + Text);
}

void TrXMLReport::SetReportFormat(const QString& FileName)
{
    if (TemplateFormat != tfXAutoDetect) {
        FXMLFormat = TemplateFormat;
        return;
    }
    const QString ext = QFileInfo(FileName).suffix().toLower();
    if (ext == QLatin1String("docx"))
        FXMLFormat = tfDOCX;
    else if (ext == QLatin1String("odt"))
        FXMLFormat = tfODT;
    else if (ext == QLatin1String("xml") || ext == QLatin1String("fodt"))
        FXMLFormat = tfXML;
}

void TrXMLReport::Execute(const std::vector<TDataSet*>& DataSets)
{
    SetDatasets(DataSets);
    PicCount = 0;
    SetReportFormat(ReportFile);
    if (ShowProgressBar)
        ShowInfo(reptxt::CreatingReport, nullptr);
    else
        WCursor();
    auto restore = [this] {
        if (ShowProgressBar)
            ShowInfo(QString(), nullptr);
        else
            NCursor();
    };
    try {
        ProcTemplateFile();
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TrXMLReport::WriteWithRetry(const std::function<bool()>& Write, const QString& Target, bool PackageKind)
{
    for (;;) {
        if (Write())
            return;
        const QString message = FillText(reptxt::SaveError, Target) + QLatin1Char('\n') + reptxt::SaveErrorReason;
        if (!ShowSaveErrorDialog) {
            if (PackageKind)
                RaiseErr(-1, message);
            throw Exception(message);
        }
        if (DlgQ(message + QStringLiteral("\n\n") + reptxt::TryAgain) != mrYes)
            Abort();
    }
}

void TrXMLReport::ProcTemplateFile()
{
    StartRun();
    RepStr.clear();
    if (FXMLFormat != tfXML) {
        if (!QFile::exists(ReportFile))
            throw Exception(FillText(reptxt::CannotOpenTemplate, ReportFile) + QLatin1Char('\n') + reptxt::FileNotExist);
        // The run works on a copy beside the output; a failed run leaves the
        // output as it was and removes the copy.
        const QString folder = QFileInfo(OutputFile).absolutePath();
        QString work;
        WriteWithRetry(
            [&] {
                QTemporaryFile tmp(QDir(folder).filePath(QStringLiteral(".sorvex-report-XXXXXX")));
                tmp.setAutoRemove(false);
                if (!QDir(folder).exists() || !tmp.open())
                    return false;
                work = tmp.fileName();
                tmp.close();
                QFile::remove(work);
                return QFile::copy(ReportFile, work);
            },
            OutputFile, true);
        bool ok = false;
        try {
            ok = FXMLFormat == tfXAutoDetect || ExtractProcXMLFiles(work);
        } catch (...) {
            QFile::remove(work);
            throw;
        }
        if (!ok) {
            QFile::remove(work);
            return;
        }
        QFile::setPermissions(work, QFile::permissions(ReportFile) | QFileDevice::WriteOwner);
        WriteWithRetry(
            [&] {
                QFile::remove(OutputFile);
                return QFile::rename(work, OutputFile);
            },
            OutputFile, true);
    } else if (!ProcXMLFile(OutputFile)) {
        return;
    }
    bool abort = false;
    if (OnReportProcess)
        OnReportProcess(this, -1, abort);
    DoActionAfter();
}

bool TrXMLReport::ExtractProcXMLFiles(const QString& PackageFile, bool ReadOnly)
{
    rzip.Load();
    if (!rzip.Loaded)
        return false;
    auto libraryError = [this] {
        QString message;
        rzip.GetLastErrorMsg(message);
        rzip.UnLoad();
        RaiseErr(-1, message);
    };
    if (rzip.OpenArchive(PackageFile) != 0)
        libraryError();
    QString list;
    if (rzip.GetFileList(list) != 0)
        libraryError();
    const QStringList masks = FileMasks(FXMLFormat);
    try {
        for (const QString& entry : list.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            XMLFileName = entry;
            RelItemStr.clear();
            if (!MatchesMask(entry, masks))
                continue;
            RepStr.clear();
            if (OnGetTemplateStr)
                OnGetTemplateStr(this, XMLFileName, RepStr);
            else if (rzip.ExtractToString(entry, RepStr) != 0)
                libraryError();
            if (ReadOnly) {
                LoadNamedTables();
                continue;
            }
            UpdateXMLTags();
            if (!NamedTables_Content.empty())
                WriteNamedTables();
            ProcessMessages();
            if (Aborted)
                throw Exception(reptxt::ActionAborted);
            if (OnModifyBeforeSave) {
                OnModifyBeforeSave(this, entry, RepStr);
                if (RepStr.isEmpty())
                    continue;
            }
            if (rzip.AddFromString(entry, RepStr) != 0)
                libraryError();
            if (!RelItemStr.isEmpty())
                UpdateRelFile();
        }
    } catch (...) {
        rzip.UnLoad();
        throw;
    }
    const int closed = rzip.CloseArchive(!ReadOnly);
    if (closed != 0)
        libraryError();
    rzip.UnLoad();
    return true;
}

bool TrXMLReport::ProcXMLFile(const QString& Target)
{
    RepStr.clear();
    if (OnGetTemplateStr) {
        OnGetTemplateStr(this, ReportFile, RepStr);
    } else {
        bool ok = false;
        RepStr = ReadBytesAsText(ReportFile, ok);
        if (!ok)
            throw Exception(FillText(reptxt::CannotOpenTemplate, ReportFile) + QLatin1Char('\n') + reptxt::FileNotExist);
    }
    RepStr.replace(QLatin1String("<<"), QLatin1String("&lt;&lt;"));
    RepStr.replace(QLatin1String(">>"), QLatin1String("&gt;&gt;"));
    XMLFileName = ReportFile;
    UpdateXMLTags();
    ProcessMessages();
    if (Aborted)
        throw Exception(reptxt::ActionAborted);
    if (OnModifyBeforeSave) {
        OnModifyBeforeSave(this, Target, RepStr);
        if (RepStr.isEmpty())
            return false;
    }
    const QByteArray bytes = RepStr.toLatin1();
    WriteWithRetry(
        [&] {
            QFile f(Target);
            return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() && f.flush();
        },
        Target, false);
    return true;
}

void TrXMLReport::UpdateXMLTags()
{
    try {
        if (FXMLFormat != tfXML)
            RepStr.remove(QLatin1String("\r\n"));
        ExtractIntXMLTags(RepStr);
        ClearBookmarkPart(RepStr, FXMLFormat);
        ProcInfoTags();
        ProcInsertFiles();
        ProcIf(false, true, RepStr);
        RepStr = ProcBlock(RepStr);
        ClearEmptyParPart(RepStr, FXMLFormat);
        if (JoinTouchingTables)
            JoinTables(RepStr, FXMLFormat);
        CheckInlineFormat(RepStr);
    } catch (...) {
        EndRun();
        throw;
    }
    EndRun();
}

void TrXMLReport::ProcInfoTags()
{
    const QString pattern = Tagged(QStringLiteral("info(X)"));
    int pos;
    bool any = false;
    for (;;) {
        const QString inside = FindTagStr(pattern, RepStr, 0, pos, true);
        if (pos < 0)
            break;
        FExtendedInfo.Add(XMLToStr(inside));
        any = true;
    }
    if (!any)
        return;
    ApplyInfo();
    for (int i = 0; i < FExtendedInfo.Count(); ++i) {
        const QString key = FExtendedInfo.Names(i).trimmed();
        const QString value = FExtendedInfo.ValueFromIndex(i);
        if (SameText(key, QStringLiteral("JoinTouchingTables")))
            JoinTouchingTables = value == QLatin1String("1");
        else if (SameText(key, QStringLiteral("ConvertInlineFormatting")))
            ConvertInlineFormatting = value == QLatin1String("1");
        else if (SameText(key, QStringLiteral("InlineFormatting")))
            InlineFormatting.Add(QString(value).replace(QLatin1String("#9"), QLatin1String("\t")));
    }
}

void TrXMLReport::ProcInsertFiles()
{
    const QString folder = QFileInfo(ReportFile).absolutePath();
    for (const bool raw : {false, true}) {
        const QString pattern = Tagged(raw ? QStringLiteral("insertxmlfile(X)") : QStringLiteral("insertfile(X)"));
        int pos, length = 0;
        for (;;) {
            const QString inside = XMLToStr(FindTagStr(pattern, RepStr, 0, pos, false, &length));
            if (pos < 0)
                break;
            QString path = inside.trimmed();
            path.replace(QLatin1Char('\\'), QLatin1Char('/'));
            if (QFileInfo(path).isRelative())
                path = QDir(folder).filePath(path);
            QFile f(path);
            QString content;
            if (!f.open(QIODevice::ReadOnly))
                content = StrToXML(FillText(reptxt::FileNotFound, inside.trimmed()), FXMLFormat);
            else if (raw)
                content = QString::fromLatin1(f.readAll());
            else
                content = ProcBlock(StrToXML(QString::fromUtf8(f.readAll()).replace(QLatin1String("\r\n"), QLatin1String("\n"))
                                                 .replace(QLatin1Char('\n'), QLatin1String("\r\n")),
                                             FXMLFormat));
            RepStr.replace(pos, length, content);
        }
    }
}

// ---- the tag loop ----------------------------------------------------------------

QString TrXMLReport::ProcPlainSection(const QString& Section)
{
    QString text = Section;
    ProcIf(true, true, text);
    const QString open = TagOpen(), close = TagClose();
    const QString picPrefix = FXMLFormat == tfDOCX ? QStringLiteral("</w:t></w:r><w:r><w:drawing>")
                                                   : QStringLiteral("<draw:frame ");
    int pos = 0;
    for (;;) {
        const int o = text.indexOf(open, pos);
        if (o < 0)
            break;
        const int c = text.indexOf(close, o + open.size());
        if (c < 0)
            break;
        const QString tag = XMLToStr(text.mid(o + open.size(), c - o - open.size())).trimmed();
        TryScientificFormat = false;
        if (tag.startsWith(QLatin1String("inserttable("), Qt::CaseInsensitive)) {
            if (FXMLFormat != tfDOCX)
                RaiseErr(-3, FillText(NotSupported, QStringLiteral("inserttable(X)")));
            const TXMLMarkup& m = XMLMarkup(FXMLFormat);
            const int t = text.lastIndexOf(m.TableTagBegin, o);
            const int e = text.indexOf(m.TableTagEnd, c);
            if (t < 0 || e < 0)
                RaiseErr(7, QStringLiteral("inserttable(X)"));
            const QString table = ProcInsertTable(text.mid(t, e + m.TableTagEnd.size() - t));
            text.replace(t, e + m.TableTagEnd.size() - t, table);
            pos = t + table.size();
            continue;
        }
        bool resolved = false;
        QString value = tag.size() >= 2 ? ProcTagStr(tag, resolved) : QString();
        if (!resolved) {
            pos = o + open.size();
            continue;
        }
        if (!value.startsWith(picPrefix))
            value = StrToXML(value, FXMLFormat);
        if (TryScientificFormat)
            value = ApplyScientific(value);
        text.replace(o, c + close.size() - o, value);
        pos = o + value.size();
    }
    return text;
}

QString TrXMLReport::CheckScientificFormat(const QString& Text)
{
    TryScientificFormat = true;
    return Text;
}

QString TrXMLReport::ApplyScientific(const QString& Value) const
{
    QString mantissa, sign, digits;
    if (FXMLFormat != tfDOCX || !ConvertScientificFormat || !SplitScientific(Value, mantissa, sign, digits))
        return Value;
    return mantissa + QStringLiteral(" x 10")
           + QStringLiteral("</w:t></w:r><w:r><w:rPr><w:vertAlign w:val=\"superscript\"/></w:rPr><w:t xml:space=\"preserve\">")
           + sign + digits + QStringLiteral("</w:t></w:r><w:r><w:t xml:space=\"preserve\">");
}

QString TrXMLReport::ScanBreakText(const TScanInfo& Info) const
{
    const TXMLMarkup& m = XMLMarkup(FXMLFormat);
    if (Info.NewPage)
        return m.EndPage;
    if (Info.NewCol)
        return m.EndCol;
    if (Info.NewPar || Info.NewLine)
        return m.EndPar;
    return QString();
}

QString TrXMLReport::FieldFailureText(int Slot, const QString& FieldName, const QString& Message) const
{
    return QLatin1Char('?') + QChar('A' + Slot) + QLatin1Char('.') + FieldName + QStringLiteral("? (") + Message
           + QLatin1Char(')');
}

QString TrXMLReport::MemoValue(const QString& Text, const QString& Format)
{
    (void)Format;
    QString v = ParseRTFFormat(Text);
    while (v.endsWith(QChar(0)))
        v.chop(1);
    for (int i = 0; i < MemoReplaces.Count(); ++i) {
        const QString line = MemoReplaces[i].trimmed();
        const QStringList parts = line.split(QLatin1Char('='));
        QString from = parts.value(0), to = parts.value(1);
        from.replace(QLatin1String("<TAB>"), QLatin1String("\t"), Qt::CaseInsensitive);
        to.replace(QLatin1String("<TAB>"), QLatin1String("\t"), Qt::CaseInsensitive);
        if (!from.isEmpty())
            v.replace(from, to, Qt::CaseInsensitive);
    }
    return v;
}

void TrXMLReport::DoActionAfter()
{
    RunActionAfter(ActionAfter, OutputFile);
}
