#include "tests/support/PlainUser.h"

#include <QDirIterator>
#include <QFile>
#include <exception>
#include <stdexcept>
#include <unistd.h>

namespace {
constexpr uid_t NobodyId = 65534;
}

TPlainUser::TPlainUser(const QString& Folder)
{
    if (geteuid() != 0)
        return;
    auto hand = [](const QString& path) {
        if (lchown(QFile::encodeName(path).constData(), NobodyId, NobodyId) != 0)
            throw std::runtime_error("cannot hand the test folder to nobody");
    };
    hand(Folder);
    QDirIterator it(Folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        hand(it.next());
    if (setegid(NobodyId) != 0 || seteuid(NobodyId) != 0)
        throw std::runtime_error("cannot become nobody");
    FSwitched = true;
}

TPlainUser::~TPlainUser()
{
    if (FSwitched && (seteuid(0) != 0 || setegid(0) != 0))
        std::terminate();
}
