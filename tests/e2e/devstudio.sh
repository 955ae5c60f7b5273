#!/usr/bin/env bash
# End-to-end: a machine with Visual C++ 6.0, BoundsChecker and a cl.exe that another
# product replaced; install and uninstall through the wizard and the program list.
. "$(dirname "$0")/lib.sh"

vc6='HKCU\Software\Microsoft\DevStudio\6.0'
dirs_hklm='HKLM\Software\Microsoft\DevStudio\6.0\Build System\Components\Platforms\Win32 (x86)\Directories'
dirs="$vc6\\Build System\\Components\\Platforms\\Win32 (x86)\\Directories"

scenario devstudio
reg add "$vc6\\General" /f >/dev/null
reg add "$dirs_hklm" /v 'Path Dirs' /d 'C:\VC\bin' /f >/dev/null
reg add "$dirs_hklm" /v 'Library Dirs' /d 'C:\VC\lib' /f >/dev/null
reg add "$vc6\\Directories" /v WorkspaceDir /d 'C:\Projects' /f >/dev/null
reg add 'HKLM\SOFTWARE\NuMega\BoundsChecker' /f >/dev/null
# A cl.exe that names mscl.exe, the original beside it, in a folder of the machine's PATH.
mkdir -p "$drive_c/VC/bin"
printf 'replacement driver: runs mscl.exe\n' > "$drive_c/VC/bin/cl.exe"
printf 'the original compiler driver\n' > "$drive_c/VC/bin/mscl.exe"
path=$(reg_value "$machine_env" PATH)
reg add "$machine_env" /v PATH /t REG_EXPAND_SZ /d "C:\\VC\\bin;$path" /f >/dev/null

setup
robot seek 'Setup detected the Visual C++ file cl.exe' click 1 gone \
      wait 'Choose Destination Folder' click 1 gone \
      wait 'Locate Coverage File' expect 1004 'C:\Projects\test.trq' click 1 gone \
      wait 'Choose Compilers' click 1 gone wait 'Setup complete' click 1 gone
finish
check "cl.exe is the original again" grep -q 'the original compiler driver' "$drive_c/VC/bin/cl.exe"
check "mscl.exe has gone back to cl.exe" test ! -e "$drive_c/VC/bin/mscl.exe"
check "Visual C++ finds the product's bin first" \
  starts_with "$(reg_value "$dirs" 'Path Dirs')" "${folder}bin;C:\\VC\\bin"
check "Visual C++ finds the product's lib first" \
  starts_with "$(reg_value "$dirs" 'Library Dirs')" "${folder}lib;C:\\VC\\lib"
check "three commands in the Tools menu" equals "$(reg_value "$vc6\\Tools" NumTools)" "0x3"
check "the Tools menu opens the browser" equals "$(reg_value "$vc6\\Tools" 'PathName#2')" "${folder}bin\\coverageBrowser.exe"
check "BoundsChecker's NMCL names the wrappers" grep -qi '/NMclpath:.*numega\\cl.exe /NMlinkpath:.*numega\\link.exe' \
  <(reg_value 'HKCU\Environment' NMCL)
check "TRQFILE in the workspace folder" equals "$(reg_value "$machine_env" TRQFILE)" 'C:\Projects\test.trq'
for key in 'HKLM\Software\Microsoft\DevStudio' 'HKLM\Software\NuMega' "$uninstall_key"; do
  check "nothing of $key in the 64-bit view" no_key_in_64bit_view "$key"
done

robot run "$(reg_value "$uninstall_key" UninstallString)" \
      wait 'Trelliq Setup' click 6 gone \
      wait 'Uninstall' ready 1 shown 1009 1 click 1 gone
check "the product folder is gone" eventually 10 test ! -e "$installed"
check "Visual C++'s lists lose the product" bash -c '[[ "$0" != *trelliq* ]]' "$(reg_value "$dirs" 'Path Dirs')$(reg_value "$dirs" 'Library Dirs')"
check "the Tools menu loses the product's commands" equals "$(reg_value "$vc6\\Tools" NumTools)" "0x0"
check "NMCL is gone" equals "$(reg_value 'HKCU\Environment' NMCL)" ""

done_group
