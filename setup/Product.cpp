// The program-wide constants.
#include "setup/Product.h"

const String productName("Trelliq");
const String companyName("Pembrox");
const Path uninstallerBaseName("uninstall");
const Path batchFile("bin/trqset.bat");
