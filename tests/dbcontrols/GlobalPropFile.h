#pragma once
// The program's global property file in a folder of the test's own; opened
// again after a reset, it is what the next start of the program reads.

#include "components/grid/TPropSaveFile.h"

#include <memory>

inline std::unique_ptr<TPropSaveFile> OpenGlobalFile(const QString& Path)
{
    auto f = std::make_unique<TPropSaveFile>(nullptr);
    f->SetFileName(Path);
    f->LoadFile();
    f->SetUseAsGlobalFile(true);
    return f;
}
