// ProductIdentity: who the product is. Its name, maker, version and the names of its files
// live here and nowhere else; the resource scripts include this header too (RC_INVOKED),
// so that the string table, the version resource and the code say the same.
#pragma once

#define TRELLIQ_PRODUCT_NAME "Trelliq"
#define TRELLIQ_COMPANY_NAME "Pembrox"
#define TRELLIQ_APPLICATION_TITLE "Trelliq Setup"
#define TRELLIQ_VERSION_TEXT "5.2.9"
#define TRELLIQ_VERSION_NUMBERS 5, 2, 9, 0
#define TRELLIQ_COPYRIGHT "Copyright (C) " TRELLIQ_COMPANY_NAME
// The name the program is built and shipped under, and that name without its extension.
#define TRELLIQ_SETUP_FILE_NAME "setup.exe"
#define TRELLIQ_SETUP_INTERNAL_NAME "setup"

#ifndef RC_INVOKED

namespace product {

constexpr char name[] = TRELLIQ_PRODUCT_NAME;
constexpr char company[] = TRELLIQ_COMPANY_NAME;
// The caption of the program's windows and messages (the string table's title).
constexpr char applicationTitle[] = TRELLIQ_APPLICATION_TITLE;
constexpr char version[] = TRELLIQ_VERSION_TEXT;
constexpr char copyright[] = TRELLIQ_COPYRIGHT;
constexpr char setupFileName[] = TRELLIQ_SETUP_FILE_NAME;

// Below the install folder.
constexpr char browserProgram[] = "bin\\coverageBrowser.exe";
// The compiler wrapper, installed again under each compiler's name.
constexpr char wrapperProgram[] = "bin/trqc.exe";
// The Windows 95 settings, called from autoexec.bat.
constexpr char batchFile[] = "bin/trqset.bat";
// The program's name in uninstall mode ("uninstall" or "uninstall.exe", letters folded);
// its copy in the install folder bears the second.
constexpr char uninstallerBaseName[] = "uninstall";
constexpr char uninstallerName[] = "uninstall.exe";
// In the install folder while a run changes the machine: the record of its changes, which
// begins with journalMagic.
constexpr char journalName[] = "setup.journal";
constexpr char journalMagic[] = "TRQJRNL1";
// Beside the journal: what the run replaced or removed, kept until it ends.
constexpr char keptFolderName[] = "setup.kept";
// In the install folder for as long as the product is installed: what the install wrote
// there, one path a line after a first line recordMagic, for the uninstaller.
constexpr char installRecordName[] = "setup.files";
constexpr char installRecordMagic[] = "TRQFILES1";

} // namespace product

#endif
