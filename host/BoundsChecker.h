// BoundsChecker: pointing NuMega BoundsChecker's NMCL at the product's compiler wrappers,
// and repairing a Visual C++ cl.exe that another product replaced.
#pragma once

class RegistryUpdate;

// The NMCL step of the registry update (install or uninstall per its mode, for its
// destination):
// the options "/NMclpath:<short destination>numega\cl.exe /NMlinkpath:<...>link.exe" go
// in once, or come out, leaving the user's other options alone, unit for unit, and the
// variable's type (a variable that is not text is left alone). Always per user; every
// failure is ignored.
void updateNmcl(RegistryUpdate& update);

// Looks along PATH, in the folders it names from the root of a drive or share only (never
// the current folder or an entry relative to it), for folders with both cl.exe and
// mscl.exe whose cl.exe names "mscl.exe" in its first 65536 bytes, and offers for each to
// put mscl.exe back as cl.exe. False when the user declines; a failed rename throws
// Path::Exception.
bool checkOverwrittenCompiler();

