#include "platform/office/rzip_interface.h"

#include <QByteArray>
#include <QFile>

#include <zip.h>

#include <list>

TZipDLL_interface zipdll;
Trzip_interface rzip;

namespace {

// The one open package and the bytes handed to libzip, which reads them only
// when the package is written.
struct TOpenPackage {
    zip_t* Zip = nullptr;
    std::list<QByteArray> Buffers;
    QString LastError;
};

TOpenPackage& Package()
{
    static TOpenPackage p;
    return p;
}

int Fail(const QString& Message)
{
    Package().LastError = Message;
    return 1;
}

int FailZip(const QString& What)
{
    TOpenPackage& p = Package();
    const char* detail = p.Zip ? zip_strerror(p.Zip) : "no package is open";
    return Fail(What + QStringLiteral(": ") + QString::fromLocal8Bit(detail));
}

// A package left open after a failure is dropped unwritten: the target file
// keeps what it had.
void DiscardOpen()
{
    TOpenPackage& p = Package();
    if (p.Zip)
        zip_discard(p.Zip);
    p.Zip = nullptr;
    p.Buffers.clear();
}

int AddBytes(const QString& EntryName, QByteArray Bytes)
{
    TOpenPackage& p = Package();
    if (!p.Zip)
        return Fail(QStringLiteral("No package is open."));
    p.Buffers.push_back(std::move(Bytes));
    const QByteArray& kept = p.Buffers.back();
    zip_source_t* src = zip_source_buffer(p.Zip, kept.constData(), zip_uint64_t(kept.size()), 0);
    if (!src)
        return FailZip(QStringLiteral("Cannot add \"%1\"").arg(EntryName));
    const zip_int64_t index = zip_file_add(p.Zip, EntryName.toUtf8().constData(), src, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(src);
        return FailZip(QStringLiteral("Cannot add \"%1\"").arg(EntryName));
    }
    // OpenDocument readers expect "mimetype" stored, not compressed.
    if (EntryName == QLatin1String("mimetype"))
        zip_set_file_compression(p.Zip, zip_uint64_t(index), ZIP_CM_STORE, 0);
    return 0;
}

} // namespace

bool TZipDLL_interface::LoadDll()
{
    Loaded = true;
    return true;
}

void TZipDLL_interface::UnloadDll()
{
    DiscardOpen();
    Loaded = false;
}

void Trzip_interface::Load()
{
    zipdll.LoadDll();
    Loaded = zipdll.Loaded;
}

void Trzip_interface::UnLoad()
{
    zipdll.UnloadDll();
    Loaded = false;
}

int Trzip_interface::OpenArchive(const QString& FileName)
{
    DiscardOpen();
    int error = 0;
    zip_t* z = zip_open(QFile::encodeName(FileName).constData(), 0, &error);
    if (!z) {
        zip_error_t e;
        zip_error_init_with_code(&e, error);
        const QString detail = QString::fromLocal8Bit(zip_error_strerror(&e));
        zip_error_fini(&e);
        return Fail(QStringLiteral("Cannot open package \"%1\": %2").arg(FileName, detail));
    }
    Package().Zip = z;
    return 0;
}

int Trzip_interface::CloseArchive(bool Save)
{
    TOpenPackage& p = Package();
    if (!p.Zip)
        return Fail(QStringLiteral("No package is open."));
    if (!Save) {
        DiscardOpen();
        return 0;
    }
    if (zip_close(p.Zip) != 0) {
        const int status = FailZip(QStringLiteral("Cannot write the package"));
        DiscardOpen();
        return status;
    }
    p.Zip = nullptr;
    p.Buffers.clear();
    return 0;
}

int Trzip_interface::GetFileList(QString& List)
{
    List.clear();
    TOpenPackage& p = Package();
    if (!p.Zip)
        return Fail(QStringLiteral("No package is open."));
    const zip_int64_t n = zip_get_num_entries(p.Zip, 0);
    QStringList names;
    for (zip_int64_t i = 0; i < n; ++i) {
        const char* name = zip_get_name(p.Zip, zip_uint64_t(i), ZIP_FL_ENC_GUESS);
        if (name)
            names << QString::fromUtf8(name);
    }
    List = names.join(QLatin1Char('\n'));
    return 0;
}

int Trzip_interface::ExtractToString(const QString& EntryName, QString& Content)
{
    Content.clear();
    TOpenPackage& p = Package();
    if (!p.Zip)
        return Fail(QStringLiteral("No package is open."));
    zip_stat_t st;
    const QByteArray name = EntryName.toUtf8();
    if (zip_stat(p.Zip, name.constData(), 0, &st) != 0)
        return Fail(QStringLiteral("Entry \"%1\" not found in the package.").arg(EntryName));
    zip_file_t* f = zip_fopen(p.Zip, name.constData(), 0);
    if (!f)
        return FailZip(QStringLiteral("Cannot read \"%1\"").arg(EntryName));
    QByteArray bytes;
    bytes.resize(qsizetype(st.size));
    const zip_int64_t got = zip_fread(f, bytes.data(), st.size);
    zip_fclose(f);
    if (got < 0 || zip_uint64_t(got) != st.size)
        return Fail(QStringLiteral("Cannot read \"%1\": the entry is damaged.").arg(EntryName));
    Content = QString::fromLatin1(bytes);
    return 0;
}

int Trzip_interface::AddFromBuffer(const QString& EntryName, const void* Data, int64_t Count)
{
    if (Count < 0 || (Count > 0 && !Data))
        return Fail(QStringLiteral("Cannot add \"%1\": no data.").arg(EntryName));
    return AddBytes(EntryName, QByteArray(static_cast<const char*>(Data), qsizetype(Count)));
}

int Trzip_interface::AddFromString(const QString& EntryName, const QString& Content)
{
    return AddBytes(EntryName, Content.toLatin1());
}

int Trzip_interface::GetLastErrorMsg(QString& Message)
{
    Message = Package().LastError;
    return 0;
}
