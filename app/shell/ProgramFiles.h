// Where the program finds what it ships (panel library, saved panel states,
// pages and pictures) in the build tree and when installed, and how an
// operator's program folder is seeded with the shipped pages.
#pragma once

#include <QString>

namespace caltrix {

// Folder of the shipped data: beside the executable in the build tree,
// <prefix>/share/caltrix when installed.
QString ShippedDataFolder(const QString& executableFolder);

// The panel library: beside the executable, or <prefix>/lib*/caltrix.
QString PanelLibraryPath(const QString& executableFolder);

// Creates the program folder when missing and copies into it each shipped
// page or picture it does not hold yet (the operator's own files stay).
// Returns false with `problem` set when the folder cannot be made.
bool SeedProgramFolder(const QString& programFolder, const QString& shippedFolder, QString& problem);

}  // namespace caltrix
