#!/usr/bin/env python3
# Checks the manifests of tools/winget-manifest against the rules of winget's published
# schemas (manifest version 1.6.0: version, installer and defaultLocale) and the rules winget
# adds for a multi-file manifest, then against the programs they describe:
#   wingetManifestCheck.py OUTDIR URL-BASE ARCH=PROGRAM ARCH=PROGRAM [--stand-in ARCH] [--values ARCH/SCOPE]
# A stand-in is a copy of the other architecture's program (its sum is checked, not its
# header). Each program has an installer for each scope, which tells the program its scope
# (-m, -u). --values prints the switches and uninstall-entry values of the installer of ARCH
# and SCOPE (machine or user) as shell assignments. The rules are first shown to refuse broken manifests. Exit code 1 on
# any failed check.
import copy
import hashlib
import os
import re
import shlex
import struct
import sys

import yaml

U16 = r"(0|[1-9][0-9]{0,3}|[1-5][0-9]{4}|6[0-4][0-9]{3}|65[0-4][0-9]{2}|655[0-2][0-9]|6553[0-5])"
NO_PATH_CHARS = r'[^.\s\\/:*?"<>|\x01-\x1f]'


def string(pattern=None, minLength=None, maxLength=None, enum=None, const=None):
    return dict(type=str, pattern=pattern, minLength=minLength, maxLength=maxLength, enum=enum, const=const)


def array(items, maxItems, minItems=None, unique=True):
    return dict(type=list, items=items, maxItems=maxItems, minItems=minItems, unique=unique)


def mapping(properties, required=()):
    return dict(type=dict, properties=properties, required=required)


# The schemas' rules for the fields the manifests carry. A field without a rule here is
# refused (winget reports fields it does not know), so a new field comes with its rules.
IDENTIFIER = string(r"^%s{1,32}(\.%s{1,32}){1,7}$" % (NO_PATH_CHARS, NO_PATH_CHARS), maxLength=128)
VERSION = string(r'^[^\\/:*?"<>|\x01-\x1f]+$', maxLength=128)
LOCALE = string(r"^([a-zA-Z]{2,3}|[iI]-[a-zA-Z]+|[xX]-[a-zA-Z]{1,8})(-[a-zA-Z]{1,8})*$", maxLength=20)
MANIFEST_VERSION = string(r"^%s(\.%s){2}$" % (U16, U16))
URL = string(r"^([Hh][Tt][Tt][Pp][Ss]?)://.+$", maxLength=2048)
SWITCH = string(minLength=1, maxLength=512)
RETURN_CODE = dict(type=int, minimum=-2147483648, maximum=4294967295, not_enum=[0])
RESPONSES = ["packageInUse", "packageInUseByApplication", "installInProgress", "fileInUse",
             "missingDependency", "diskFull", "insufficientMemory", "invalidParameter", "noNetwork",
             "contactSupport", "rebootRequiredToFinish", "rebootRequiredForInstall", "rebootInitiated",
             "cancelledByUser", "alreadyInstalled", "downgrade", "blockedByPolicy", "systemNotSupported",
             "custom"]
INSTALLER_FIELDS = {
    "MinimumOSVersion": string(r"^%s(\.%s){0,3}$" % (U16, U16)),
    "InstallerType": string(enum=["msix", "msi", "appx", "exe", "zip", "inno", "nullsoft", "wix", "burn",
                                  "pwa", "portable"]),
    "Scope": string(enum=["user", "machine"]),
    "InstallModes": array(string(enum=["interactive", "silent", "silentWithProgress"]), maxItems=3),
    "InstallerSwitches": mapping({name: SWITCH for name in
                                  ("Silent", "SilentWithProgress", "Interactive", "InstallLocation", "Log", "Upgrade",
                                   "Custom")}),
    "ExpectedReturnCodes": array(mapping({"InstallerReturnCode": RETURN_CODE, "ReturnResponse": string(enum=RESPONSES),
                                          "ReturnResponseUrl": URL}), maxItems=128, unique=False),
    "UpgradeBehavior": string(enum=["install", "uninstallPrevious"]),
    "ElevationRequirement": string(enum=["elevationRequired", "elevationProhibited", "elevatesSelf"]),
    "AppsAndFeaturesEntries": array(mapping({"DisplayName": string(minLength=1, maxLength=256),
                                             "Publisher": string(minLength=1, maxLength=256),
                                             "DisplayVersion": string(minLength=1, maxLength=128)}), maxItems=128),
}
INSTALLER = mapping(dict(INSTALLER_FIELDS, **{
    "Architecture": string(enum=["x86", "x64", "arm", "arm64", "neutral"]),
    "InstallerUrl": URL,
    "InstallerSha256": string(r"^[A-Fa-f0-9]{64}$"),
}), required=["Architecture", "InstallerUrl", "InstallerSha256"])
SCHEMAS = {
    "version": mapping({
        "PackageIdentifier": IDENTIFIER, "PackageVersion": VERSION, "DefaultLocale": LOCALE,
        "ManifestType": string(const="version"), "ManifestVersion": MANIFEST_VERSION,
    }, required=["PackageIdentifier", "PackageVersion", "DefaultLocale", "ManifestType", "ManifestVersion"]),
    "installer": mapping(dict(INSTALLER_FIELDS, **{
        "PackageIdentifier": IDENTIFIER, "PackageVersion": VERSION,
        "Installers": array(INSTALLER, maxItems=1024, minItems=1, unique=False),
        "ManifestType": string(const="installer"), "ManifestVersion": MANIFEST_VERSION,
    }), required=["PackageIdentifier", "PackageVersion", "Installers", "ManifestType", "ManifestVersion"]),
    "defaultLocale": mapping({
        "PackageIdentifier": IDENTIFIER, "PackageVersion": VERSION, "PackageLocale": LOCALE,
        "Publisher": string(minLength=2, maxLength=256), "PackageName": string(minLength=2, maxLength=256),
        "License": string(minLength=3, maxLength=512), "ShortDescription": string(minLength=3, maxLength=256),
        "ManifestType": string(const="defaultLocale"), "ManifestVersion": MANIFEST_VERSION,
    }, required=["PackageIdentifier", "PackageVersion", "PackageLocale", "Publisher", "PackageName", "License",
                 "ShortDescription", "ManifestType", "ManifestVersion"]),
}


def schema_errors(value, rule, where):
    kind = rule["type"]
    # YAML's true and false are no integers.
    if not isinstance(value, kind) or (kind is int and isinstance(value, bool)):
        return ["%s: a %s expected, saw %r" % (where, kind.__name__, value)]
    errors = []
    if kind is str:
        # JSON Schema's "$" ends the text; Python's would also match before a final line feed.
        if rule["pattern"] and not re.search(rule["pattern"][:-1] + r"\Z", value):
            errors.append("%s: %r does not match %s" % (where, value, rule["pattern"]))
        if rule["minLength"] is not None and len(value) < rule["minLength"]:
            errors.append("%s: shorter than %d" % (where, rule["minLength"]))
        if rule["maxLength"] is not None and len(value) > rule["maxLength"]:
            errors.append("%s: longer than %d" % (where, rule["maxLength"]))
        if rule["enum"] is not None and value not in rule["enum"]:
            errors.append("%s: %r is not one of %s" % (where, value, ", ".join(rule["enum"])))
        if rule["const"] is not None and value != rule["const"]:
            errors.append("%s: %r, expected %r" % (where, value, rule["const"]))
    elif kind is int:
        if not rule["minimum"] <= value <= rule["maximum"] or value in rule["not_enum"]:
            errors.append("%s: %d is not allowed" % (where, value))
    elif kind is list:
        if len(value) > rule["maxItems"] or len(value) < (rule["minItems"] or 0):
            errors.append("%s: %d items" % (where, len(value)))
        if rule["unique"] and len({repr(item) for item in value}) != len(value):
            errors.append("%s: items not unique" % where)
        for i, item in enumerate(value):
            errors += schema_errors(item, rule["items"], "%s[%d]" % (where, i))
    else:
        errors += ["%s: %s missing" % (where, name) for name in rule["required"] if name not in value]
        for name, item in value.items():
            if name not in rule["properties"]:
                errors.append("%s: unknown field %s" % (where, name))
            else:
                errors += schema_errors(item, rule["properties"][name], "%s.%s" % (where, name))
    return errors


def manifest_errors(manifests):
    """manifests: file name -> parsed document. The schemas' rules, then winget's own."""
    errors = []
    by_type = {}
    for name, document in sorted(manifests.items()):
        if not isinstance(document, dict) or document.get("ManifestType") not in SCHEMAS:
            errors.append("%s: no version, installer or defaultLocale manifest" % name)
            continue
        errors += schema_errors(document, SCHEMAS[document["ManifestType"]], name)
        by_type.setdefault(document["ManifestType"], []).append((name, document))
    if sorted(by_type) != sorted(SCHEMAS) or any(len(files) != 1 for files in by_type.values()):
        return errors + ["not one manifest of each type: %s" % sorted(manifests)]
    (_, version), = by_type["version"]
    (_, installer), = by_type["installer"]
    (_, locale), = by_type["defaultLocale"]
    documents = (version, installer, locale)
    for field in ("PackageIdentifier", "PackageVersion", "ManifestVersion"):
        if len({repr(document.get(field)) for document in documents}) != 1:
            errors.append("the manifests' %s differ" % field)
    if version.get("DefaultLocale") != locale.get("PackageLocale"):
        errors.append("DefaultLocale is not the default locale manifest's PackageLocale")
    package = version.get("PackageIdentifier")
    expected_names = {package + ".yaml", package + ".installer.yaml", "%s.locale.%s.yaml" % (package, locale.get("PackageLocale"))}
    if set(manifests) != expected_names:
        errors.append("file names %s, expected %s" % (sorted(manifests), sorted(expected_names)))
    # An installer's fields override the manifest's own.
    seen = set()
    for entry in installer.get("Installers") or []:
        effective = dict(installer, **entry) if isinstance(entry, dict) else {}
        key = tuple(str(effective.get(field)) for field in ("Architecture", "InstallerType", "Scope", "InstallerLocale"))
        if key in seen:
            errors.append("two installers for %s" % (key,))
        seen.add(key)
        switches = effective.get("InstallerSwitches") or {}
        if effective.get("InstallerType") == "exe" and not ("Silent" in switches and "SilentWithProgress" in switches):
            errors.append("an exe installer without Silent and SilentWithProgress switches")
        codes = [item.get("InstallerReturnCode") for item in effective.get("ExpectedReturnCodes") or []
                 if isinstance(item, dict)]
        if len(set(codes)) != len(codes):
            errors.append("a return code listed twice")
    return errors


# Broken manifests the rules must refuse: (what, file suffix, change, words of the error).
def without(field):
    return lambda document: document.pop(field)


BROKEN = [
    ("a second x86 installer", ".installer.yaml",
     lambda d: d["Installers"].append(dict(d["Installers"][0])), "two installers"),
    ("a short sum", ".installer.yaml",
     lambda d: d["Installers"][0].update(InstallerSha256="A" * 63), "does not match"),
    ("an unknown return response", ".installer.yaml",
     lambda d: d["ExpectedReturnCodes"][0].update(ReturnResponse="installFailed"), "is not one of"),
    ("return code 0", ".installer.yaml",
     lambda d: d["ExpectedReturnCodes"][0].update(InstallerReturnCode=0), "is not allowed"),
    ("a return code twice", ".installer.yaml",
     lambda d: d["ExpectedReturnCodes"].append(dict(d["ExpectedReturnCodes"][0])), "listed twice"),
    ("no Silent switch", ".installer.yaml", lambda d: d["Installers"][0]["InstallerSwitches"].pop("Silent"),
     "without Silent"),
    ("a second user installer", ".installer.yaml",
     lambda d: d["Installers"][0].update(Scope=d["Installers"][1]["Scope"]), "two installers"),
    ("an install mode twice", ".installer.yaml", lambda d: d["InstallModes"].append("silent"), "not unique"),
    ("five parts of a Windows version", ".installer.yaml",
     lambda d: d["Installers"][0].update(MinimumOSVersion="4.0.950.0.1"), "does not match"),
    ("a version with a line feed", ".yaml", lambda d: d.update(PackageVersion="5.2.9\n"), "does not match"),
    ("a misspelt field", ".yaml", lambda d: d.update(DefaultLocal="en-US"), "unknown field"),
    ("a singleton", ".yaml", lambda d: d.update(ManifestType="singleton"), "no version, installer"),
    ("no License", ".locale.en-US.yaml", without("License"), "License missing"),
    ("a Publisher of 257 characters", ".locale.en-US.yaml", lambda d: d.update(Publisher="P" * 257), "longer than"),
    ("another version in one file", ".locale.en-US.yaml", lambda d: d.update(PackageVersion="5.3.0"), "PackageVersion differ"),
    ("another locale", ".locale.en-US.yaml", lambda d: d.update(PackageLocale="de-DE"), "DefaultLocale"),
]


def pe_header(path):
    data = open(path, "rb").read(4096)
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    machine = struct.unpack_from("<H", data, pe + 4)[0]
    # The optional header's subsystem version: the oldest Windows that starts the program.
    subsystem = struct.unpack_from("<HH", data, pe + 24 + 48)
    return machine, subsystem


def main(arguments):
    stand_ins, values_arch, programs = set(), None, {}
    outdir, url_base = arguments[0], arguments[1]
    rest = arguments[2:]
    while rest:
        argument = rest.pop(0)
        if argument == "--stand-in":
            stand_ins.add(rest.pop(0))
        elif argument == "--values":
            values_arch = rest.pop(0)
        else:
            arch, path = argument.split("=", 1)
            programs[arch] = path
    failures = []

    manifests = {}
    for name in os.listdir(outdir):
        with open(os.path.join(outdir, name), encoding="utf-8") as text:
            manifests[name] = yaml.safe_load(text)
    failures += manifest_errors(manifests)
    if failures:
        return failures
    package = next(d["PackageIdentifier"] for d in manifests.values())
    for what, suffix, change, words in BROKEN:
        broken = copy.deepcopy(manifests)
        try:
            change(broken[package + suffix])
            errors = manifest_errors(broken)
        except (KeyError, IndexError, TypeError, AttributeError) as error:
            errors = ["the change failed: %r" % error]
        if not any(words in error for error in errors):
            failures.append("%s: not refused as expected (%r); saw %s" % (what, words, errors))

    installer = manifests[package + ".installer.yaml"]
    entries = {"%s/%s" % (entry["Architecture"], entry.get("Scope", installer.get("Scope"))): dict(installer, **entry)
               for entry in installer["Installers"]}
    expected = sorted("%s/%s" % (arch, scope) for arch in programs for scope in ("machine", "user"))
    if sorted(entries) != expected:
        failures.append("installers for %s, expected %s" % (sorted(entries), expected))
    for key, path in sorted((key, programs[key.split("/")[0]]) for key in expected):
        arch, scope = key.split("/")
        entry = entries.get(key, {})
        # The program is told the installer's scope.
        switch = {"machine": "-m", "user": "-u"}[scope]
        if switch not in (entry.get("InstallerSwitches") or {}).get("Custom", "").split():
            failures.append("%s: the switches do not pass %s" % (key, switch))
        data = open(path, "rb").read()
        if entry.get("InstallerSha256", "").upper() != hashlib.sha256(data).hexdigest().upper():
            failures.append("%s: the sum is not the program's" % arch)
        if entry.get("InstallerUrl") != "%s/%s/setup.exe" % (url_base, arch):
            failures.append("%s: the address %s" % (arch, entry.get("InstallerUrl")))
        if arch in stand_ins:
            continue
        machine, subsystem = pe_header(path)
        if machine != {"x86": 0x14C, "x64": 0x8664}[arch]:
            failures.append("%s: the program's machine is %#x" % (arch, machine))
        minimum = tuple(int(part) for part in entry.get("MinimumOSVersion", "0").split(".")[:2])
        if minimum < subsystem:
            failures.append("%s: MinimumOSVersion %s, but the program needs Windows %d.%d"
                            % (arch, entry.get("MinimumOSVersion"), *subsystem))
        level = re.search(rb'requestedExecutionLevel\s+level="(\w+)"', data)
        # Windows asks for elevation as it starts a program with either level.
        expected = {b"highestAvailable": "elevatesSelf", b"requireAdministrator": "elevatesSelf",
                    b"asInvoker": "elevationRequired"}.get(level and level.group(1))
        if entry.get("ElevationRequirement") != expected:
            failures.append("%s: ElevationRequirement %s, the program's manifest asks for %s"
                            % (arch, entry.get("ElevationRequirement"), level and level.group(1)))
        if len(entry.get("AppsAndFeaturesEntries") or []) != 1:
            failures.append("%s: not one AppsAndFeaturesEntries entry" % arch)
    if not failures and values_arch:
        entry = entries[values_arch]
        values = dict(entry["AppsAndFeaturesEntries"][0], **{"Switch" + name: text for name, text in
                                                               entry["InstallerSwitches"].items()})
        values.update(("Code_" + item["ReturnResponse"], item["InstallerReturnCode"])
                      for item in entry["ExpectedReturnCodes"])
        for name, value in sorted(values.items()):
            print("%s=%s" % (name, shlex.quote(str(value))))
    return failures


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit("usage: wingetManifestCheck.py OUTDIR URL-BASE ARCH=PROGRAM... [--stand-in ARCH] [--values ARCH]")
    problems = main(sys.argv[1:])
    for problem in problems:
        print("FAILED: " + problem, file=sys.stderr)
    print("%d check(s) failed" % len(problems) if problems else
          "the manifests pass; %d broken ones were refused" % len(BROKEN), file=sys.stderr)
    sys.exit(1 if problems else 0)
