#pragma once

#include <QString>
#include <QStringList>

// Checks shared by the resource tests of the four programs.
namespace ResourceCheck
{

// Every compiled-in resource path (":/..." or "qrc:/...", given back as ":/...")
// written in the sources, forms and pages below dir.
QStringList pathsUsedIn(const QString &dir);

// The warnings Qt gives while applying css as the application style sheet to a
// widget; empty when the sheet parsed. Needs a QApplication.
QStringList styleSheetWarnings(const QString &css);

} // namespace ResourceCheck
