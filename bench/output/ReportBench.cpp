// Goals: an RTF and a DOCX template with a 5,000-row scan each filled in
// under 1 s, also with the progress window showing; 10,000 barcodes encoded and drawn in under 1 s.
#include "components/output/TBarcodeGen.h"
#include "components/output/TRTFReport2.h"
#include "components/output/TrXMLReport.h"

#include "platform/database/ClientDataSet.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <zip.h>

namespace {

std::unique_ptr<TClientDataSet> Rows(int Count)
{
    auto ds = std::make_unique<TClientDataSet>();
    ds->AddField(QStringLiteral("NAME"), ftString, 40);
    ds->AddField(QStringLiteral("CLUB"), ftString, 40);
    ds->AddField(QStringLiteral("TIME_SEC"), ftFloat);
    ds->AddField(QStringLiteral("STATUS"), ftString, 2);
    ds->CreateDataSet();
    for (int i = 0; i < Count; ++i)
        ds->AppendRecord({QStringLiteral("Häkkinen %1").arg(i), QStringLiteral("Rasti-%1").arg(i % 20), 1500.0 + i,
                          i % 17 ? QStringLiteral("0") : QStringLiteral("3")});
    return ds;
}

const char* const Row = "\\\\A.#\\\\. \\\\A.NAME\\\\ (\\\\A.CLUB\\\\) \\\\iif(A.STATUS=\"0\")\\\\\\\\A.TIME_SEC:0\\\\ s"
                        "\\\\elseiif\\\\DSQ\\\\endiif\\\\\\par ";

// The 5,000-row RTF report, with or without the progress window (its record
// counter every ten records and the window messages run between block steps).
void RunRtfScan5000(benchmark::State& state, bool Progress)
{
    auto ds = Rows(5000);
    QTemporaryDir dir;
    TRTFReport2 r;
    r.TemplateFormat = tfRTF;
    r.ActionAfter = aaNone;
    r.ShowProgressBar = Progress;
    r.OutputFile = dir.filePath(QStringLiteral("out.rtf"));
    const QString tmpl = QStringLiteral("{\\rtf1\\ansi \\\\scan(A);calc(TIME_SEC)\\\\") + QString::fromLatin1(Row)
                         + QStringLiteral("\\\\scanfooter(A)\\\\Total \\\\=Sum[A.TIME_SEC]:0\\\\\\\\endscan(A)\\\\}");
    r.OnGetTemplateStr = [&](TComponent*, QString& t) { t = tmpl; };
    int steps = 0;
    r.OnReportProcess = [&](TComponent*, int, bool&) { ++steps; };
    for (auto _ : state)
        r.Execute({ds.get()});
    state.counters["steps"] = double(steps) / double(state.iterations());
}

void BM_RtfScan5000(benchmark::State& state)
{
    RunRtfScan5000(state, false);
}
BENCHMARK(BM_RtfScan5000)->Unit(benchmark::kMillisecond);

void BM_RtfScan5000WithProgress(benchmark::State& state)
{
    RunRtfScan5000(state, true);
}
BENCHMARK(BM_RtfScan5000WithProgress)->Unit(benchmark::kMillisecond);

void BM_DocxScan5000(benchmark::State& state)
{
    auto ds = Rows(5000);
    QTemporaryDir dir;
    const QString tmpl = dir.filePath(QStringLiteral("t.docx"));
    const QByteArray doc =
        "<w:document><w:body><w:p><w:r><w:t>&lt;&lt;scan(A);calc(TIME_SEC)&gt;&gt;</w:t></w:r></w:p>"
        "<w:p><w:r><w:t xml:space=\"preserve\">&lt;&lt;A.#&gt;&gt;. &lt;&lt;A.NAME&gt;&gt; (&lt;&lt;A.CLUB&gt;&gt;) "
        "&lt;&lt;iif(A.STATUS=\"0\")&gt;&gt;&lt;&lt;A.TIME_SEC:0&gt;&gt; s&lt;&lt;elseiif&gt;&gt;DSQ&lt;&lt;endiif&gt;&gt;</w:t></w:r></w:p>"
        "<w:p><w:r><w:t>&lt;&lt;scanfooter(A)&gt;&gt;</w:t></w:r></w:p><w:p><w:r><w:t>Total &lt;&lt;=Sum[A.TIME_SEC]:0&gt;&gt;</w:t></w:r></w:p>"
        "<w:p><w:r><w:t>&lt;&lt;endscan(A)&gt;&gt;</w:t></w:r></w:p></w:body></w:document>";
    int err = 0;
    zip_t* z = zip_open(QFile::encodeName(tmpl).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    zip_file_add(z, "word/document.xml", zip_source_buffer(z, doc.constData(), zip_uint64_t(doc.size()), 0), 0);
    zip_close(z);
    TrXMLReport r;
    r.ReportFile = tmpl;
    r.OutputFile = dir.filePath(QStringLiteral("out.docx"));
    r.ActionAfter = aaNone;
    for (auto _ : state)
        r.Execute({ds.get()});
}
BENCHMARK(BM_DocxScan5000)->Unit(benchmark::kMillisecond);

void BM_Barcodes10000(benchmark::State& state)
{
    TBitmap bmp(500, 120);
    TFont font;
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i) {
            TRect r(5, 5, 490, 115);
            int modul = 2;
            DrawBarCode(QString::number(100000000000LL + i), bcCodeEAN13, bmp.Canvas(), r, modul, font, false, true,
                        stpBottomCenter, true);
        }
    }
}
BENCHMARK(BM_Barcodes10000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
