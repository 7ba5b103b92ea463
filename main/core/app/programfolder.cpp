#include "app/programfolder.h"

#include <QCoreApplication>

namespace Korvex
{

namespace
{
QString &programFolderValue()
{
    static QString value;
    return value;
}
} // namespace

QString programFolder()
{
    const QString &folder = programFolderValue();
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
}

void setProgramFolder(const QString &folder)
{
    programFolderValue() = folder;
}

} // namespace Korvex
