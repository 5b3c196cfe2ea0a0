#include "components/output/TTXTExport.h"

#include "components/base/ParioCompGlobalCfg.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

TTXTExport::TTXTExport(TComponent* AOwner) : TExportEngine(AOwner)
{
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

void TTXTExport::Loaded()
{
    TExportEngine::Loaded();
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

QString TTXTExport::AlignValue(const QString& Value, int Width, TFieldAlignment Align, QChar Fill)
{
    if (Fill.isNull() || Width <= 0)
        return Value;
    QString v = Value;
    if (v.size() > Width)
        v = v.left(std::max(0, Width - 2)) + QStringLiteral("..");
    if (v.size() > Width)
        v = v.left(Width);
    if (Align == TFieldAlignment::RightJustify)
        return v.rightJustified(Width, Fill);
    if (Align == TFieldAlignment::Center) {
        const int left = int(v.size()) + (Width - int(v.size())) / 2;
        return v.rightJustified(left, Fill).leftJustified(Width, Fill);
    }
    return v.leftJustified(Width, Fill);
}

QString TTXTExport::Prepare(const QString& V) const
{
    QString r = TrimData ? TrimControls(V) : V;
    if (ExportMemoFields)
        r.replace(QStringLiteral("\r\n"), MemoEOLString);
    return r;
}

QString TTXTExport::Align(const QString& V, const TExportColumn& C, int Row) const
{
    if (!C.Field && C.Col >= 0)
        return AlignValue(V, StringGridDataWidth(C), StringGridAlignment(C, Row), FillChar);
    if (!C.Field)
        return AlignValue(V, 200, TFieldAlignment::LeftJustify, FillChar);
    return AlignValue(V, C.Field->DisplayWidth(), C.Field->Alignment(), FillChar);
}

void TTXTExport::AddToLine(QString& Line, const QString& V) const
{
    if (!Line.isEmpty())
        Line += FieldSeparator;
    Line += V;
}

void TTXTExport::AddDataLine()
{
    QString line;
    for (const TExportColumn& c : FN) {
        if (!c.Field && c.Col < 0)
            continue;
        QString v = Prepare(SourceText(c));
        if (c.Field && (ExportAllAsText || IsApostrField(c.Field)))
            v = TextApostrophe + v + TextApostrophe;
        AddToLine(line, Align(v, c, RecIdx));
    }
    ExportLine(line);
}

bool TTXTExport::Run()
{
    ExportResult.Clear();
    FEnc = TEnc::Utf8;
    if (AppendToFile && !ExportFile.isEmpty() && QFile::exists(ExportFile))
        LoadExisting();
    if (OnBeforeExport)
        OnBeforeExport(this);
    if (ExportFieldName || ExportStructureOnly) {
        QString line;
        for (const TExportColumn& c : FN)
            AddToLine(line, Align(Prepare(c.Title), c, 0));
        ExportLine(line);
    }
    if (!ExportStructureOnly && SourceType == stTreeView)
        WalkTree([this](const QString& Text, int Depth) { ExportLine(QString(2 * Depth, QLatin1Char(' ')) + Prepare(Text)); });
    else if (!ExportStructureOnly && !WalkSource([this](int) { AddDataLine(); }))
        return false;
    if (OnAfterExport)
        OnAfterExport(this);
    if (ExportFile.isEmpty())
        return true;
    WriteWholeFile(ExportFile, Encode());
    RunAfterAction(ExportFile);
    return true;
}

void TTXTExport::LoadExisting()
{
    QFile f(ExportFile);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error(f.errorString().toStdString());
    const QByteArray b = f.readAll();
    QString text;
    if (b.startsWith("\xEF\xBB\xBF")) {
        FEnc = TEnc::Utf8Bom;
        text = QString::fromUtf8(b.mid(3));
    } else if (b.startsWith("\xFF\xFE")) {
        FEnc = TEnc::Utf16LE;
        text = QStringDecoder(QStringDecoder::Utf16LE)(b.mid(2));
    } else if (b.startsWith("\xFE\xFF")) {
        FEnc = TEnc::Utf16BE;
        text = QStringDecoder(QStringDecoder::Utf16BE)(b.mid(2));
    } else {
        text = QString::fromUtf8(b);
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    if (!text.isEmpty())
        for (const QString& l : text.split(QLatin1Char('\n')))
            ExportResult.Add(l);
}

QByteArray TTXTExport::Encode() const
{
    const QString text = ExportResult.Text();
    switch (FEnc) {
    case TEnc::Utf8Bom: return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case TEnc::Utf16LE: return QByteArray("\xFF\xFE") + QByteArray(QStringEncoder(QStringEncoder::Utf16LE)(text));
    case TEnc::Utf16BE: return QByteArray("\xFE\xFF") + QByteArray(QStringEncoder(QStringEncoder::Utf16BE)(text));
    default: return text.toUtf8();
    }
}
