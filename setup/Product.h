// The program-wide constants: the product, its maker, the uninstaller and the batch file.
#pragma once

#include "foundation/Path.h"
#include "foundation/String.h"

extern const String productName;       // "Trelliq"
extern const String companyName;       // "Pembrox"
extern const Path uninstallerBaseName; // "uninstall"
extern const Path batchFile;           // "bin/trqset.bat", below the install folder
