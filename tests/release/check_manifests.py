#!/usr/bin/env python3
"""Checks the package-manager manifests of a release against the files beside them.

    tests/release/check_manifests.py <dist folder> <version>

Every winget manifest set under <dist>/manifests/winget and every Scoop manifest under
<dist>/manifests/scoop is read; each required field must be there with its shape, identifier and
version must agree across a set's three files and with the release's version, and every hash
must be that of the release file its URL names (looked up in <dist> by the URL's file name).
Prints one line per fault, naming the file and the field, and exits 1 when there is any.
"""
import hashlib
import json
import re
import sys
import zipfile
from pathlib import Path
from urllib.parse import urlparse

try:
    import yaml
except ImportError:
    sys.exit("check_manifests: PyYAML is needed (Debian package python3-yaml)")

IDENTIFIER = re.compile(r'[^.\s\\/:*?"<>|\x01-\x1f]{1,32}(\.[^.\s\\/:*?"<>|\x01-\x1f]{1,32}){1,7}\Z')
VERSION = re.compile(r'[^\\/:*?"<>|\x01-\x1f]{1,128}\Z')
LOCALE = re.compile(r"([a-zA-Z]{2,3}|[iI]-[a-zA-Z]+|[xX]-[a-zA-Z]{1,8})(-[a-zA-Z]{1,8})*\Z")
MANIFEST_VERSION = re.compile(r"[0-9]{1,5}\.[0-9]{1,5}\.[0-9]{1,5}\Z")
URL = re.compile(r"https?://[^\s]+\Z", re.IGNORECASE)
WINGET_SHA256 = re.compile(r"[0-9A-F]{64}\Z")
SCOOP_SHA256 = re.compile(r"(sha256:)?[0-9a-fA-F]{64}\Z")
# Which of our builds each architecture must name.
WINGET_BUILDS = {"x64": "win64", "x86": "win32"}
SCOOP_BUILDS = {"64bit": "win64", "32bit": "win32"}
# The fields each winget manifest may hold (schema 1.6.0): a misspelt one is no field at all.
INSTALLER_FIELDS = set("""InstallerLocale Platform MinimumOSVersion InstallerType NestedInstallerType
    NestedInstallerFiles Scope InstallModes InstallerSwitches InstallerSuccessCodes ExpectedReturnCodes
    UpgradeBehavior Commands Protocols FileExtensions Dependencies PackageFamilyName ProductCode
    Capabilities RestrictedCapabilities Markets InstallerAbortsTerminal ReleaseDate InstallLocationRequired
    RequireExplicitUpgrade DisplayInstallWarnings UnsupportedOSArchitectures UnsupportedArguments
    AppsAndFeaturesEntries ElevationRequirement InstallationMetadata""".split())
COMMON_FIELDS = {"PackageIdentifier", "PackageVersion", "ManifestType", "ManifestVersion"}
WINGET_FIELDS = {
    "version": COMMON_FIELDS | {"DefaultLocale"},
    "defaultLocale": COMMON_FIELDS | set("""PackageLocale Publisher PublisherUrl PublisherSupportUrl PrivacyUrl
        Author PackageName PackageUrl License LicenseUrl Copyright CopyrightUrl ShortDescription Description
        Moniker Tags Agreements ReleaseNotes ReleaseNotesUrl PurchaseUrl InstallationNotes Documentations
        Icons""".split()),
    "installer": COMMON_FIELDS | INSTALLER_FIELDS | {"Channel", "Installers"},
}


class Checker:
    def __init__(self, dist, version):
        self.dist = Path(dist)
        self.version = version
        self.faults = []
        self.hashes = {}

    def fault(self, path, field, problem):
        self.faults.append(f"{path.relative_to(self.dist)}: {field}: {problem}")

    def text(self, path, document, field, minimum=1, maximum=10000, pattern=None, required=True, within=""):
        """The field's string value, or None after reporting what is wrong with it. within names
        the part of the file the document is (e.g. "Installers[x64].")."""
        label = within + field
        if field not in document or document[field] is None:
            if required:
                self.fault(path, label, "missing")
            return None
        value = document[field]
        if not isinstance(value, str):
            self.fault(path, label, f"not a string: {value!r}")
        elif not minimum <= len(value) <= maximum:
            self.fault(path, label, f"length {len(value)} outside {minimum}..{maximum}")
        elif pattern and not pattern.match(value):
            self.fault(path, label, f"malformed: {value!r}")
        else:
            return value
        return None

    def release_file(self, path, field, url, suffix):
        """The dist file an URL names, when it is one of this release's files of the right kind."""
        name = Path(urlparse(url).path).name
        wanted = f"-{self.version}-{suffix}"
        if not name.endswith(wanted):
            self.fault(path, field, f"{name} is not the release's *{wanted}")
            return None
        if not (self.dist / name).is_file():
            self.fault(path, field, f"{name} not found in {self.dist}")
            return None
        return self.dist / name

    def check_hash(self, path, field, value, release_file):
        if release_file not in self.hashes:
            self.hashes[release_file] = hashlib.sha256(release_file.read_bytes()).hexdigest()
        if value.lower().removeprefix("sha256:") != self.hashes[release_file]:
            self.fault(path, field, f"not the SHA-256 of {release_file.name} ({self.hashes[release_file]})")

    def load(self, path, parse):
        try:
            document = parse(path.read_text(encoding="utf-8"))
        except (ValueError, yaml.YAMLError) as error:  # UnicodeDecodeError and JSON's errors are ValueErrors
            self.fault(path, "(file)", f"unreadable: {error}")
            return None
        if not isinstance(document, dict):
            self.fault(path, "(file)", "not a mapping")
            return None
        return document

    # --- winget ---------------------------------------------------------------------------------

    def check_winget_set(self, folder):
        """One version's folder: <identifier>.yaml, .locale.<default locale>.yaml, .installer.yaml."""
        files = sorted(folder.glob("*.yaml"))
        identifiers = {re.sub(r"(\.installer|\.locale\.[^.]+)?\.yaml$", "", path.name) for path in files}
        if len(identifiers) != 1:
            self.fault(folder, "(folder)", f"files of more than one package: {sorted(identifiers)}")
            return
        identifier = identifiers.pop()
        documents = {path: self.load(path, yaml.safe_load) for path in files}
        version_path = folder / f"{identifier}.yaml"
        locale_paths = [path for path in files if ".locale." in path.name]
        default_locale = None
        if documents.get(version_path) is not None:
            default_locale = self.text(version_path, documents[version_path], "DefaultLocale", pattern=LOCALE)
        elif len(locale_paths) == 1:
            default_locale = locale_paths[0].name.split(".")[-2]
        roles = {
            version_path: "version",
            folder / f"{identifier}.locale.{default_locale}.yaml": "defaultLocale",
            folder / f"{identifier}.installer.yaml": "installer",
        }
        for path in roles:
            if path not in documents:
                self.fault(path, "(file)", "missing")
        for path in documents.keys() - roles.keys():
            self.fault(path, "(file)", "not part of the set")

        manifest_versions = set()
        for path, role in roles.items():
            document = documents.get(path)
            if document is None:
                continue
            if self.text(path, document, "PackageIdentifier", maximum=128, pattern=IDENTIFIER) not in (None, identifier):
                self.fault(path, "PackageIdentifier", f"{document['PackageIdentifier']!r}, the file names say {identifier!r}")
            if self.text(path, document, "PackageVersion", pattern=VERSION) not in (None, self.version):
                self.fault(path, "PackageVersion", f"{document['PackageVersion']!r}, the release is {self.version}")
            if document.get("ManifestType") != role:
                self.fault(path, "ManifestType", f"{document.get('ManifestType')!r}, should be {role!r}")
            manifest_versions.add(self.text(path, document, "ManifestVersion", pattern=MANIFEST_VERSION))
            schema = re.search(r"^# yaml-language-server: \$schema=.*winget-manifest\.(\w+)\.([0-9.]+)\.schema\.json$",
                               path.read_text(encoding="utf-8"), re.MULTILINE)
            if schema and (schema.group(1).lower(), schema.group(2)) != (role.lower(), document.get("ManifestVersion")):
                self.fault(path, "$schema", f"names {schema.group(1)} {schema.group(2)}")
            for field in sorted(document.keys() - WINGET_FIELDS[role]):
                self.fault(path, field, f"not a field of a {role} manifest")
            if role == "defaultLocale":
                self.check_winget_locale(path, document, default_locale)
            elif role == "installer":
                self.check_winget_installers(path, document)
        if len(manifest_versions) > 1:
            self.fault(folder, "ManifestVersion", f"differs between the files: {sorted(map(str, manifest_versions))}")

        parts = identifier.split(".")
        expected = Path(parts[0][0].lower(), *parts, self.version)
        if folder.relative_to(self.dist / "manifests" / "winget") != expected:
            self.fault(folder, "(folder)", f"should be manifests/winget/{expected.as_posix()}")

    def check_winget_locale(self, path, document, default_locale):
        if self.text(path, document, "PackageLocale", pattern=LOCALE) not in (None, default_locale):
            self.fault(path, "PackageLocale", f"{document['PackageLocale']!r}, DefaultLocale is {default_locale!r}")
        self.text(path, document, "Publisher", 2, 256)
        self.text(path, document, "PackageName", 2, 256)
        self.text(path, document, "License", 3, 512)
        self.text(path, document, "ShortDescription", 3, 256)
        self.text(path, document, "Description", 3, 10000, required=False)
        self.text(path, document, "Copyright", 3, 512, required=False)
        for field in ("PublisherUrl", "PublisherSupportUrl", "PackageUrl", "LicenseUrl", "ReleaseNotesUrl"):
            self.text(path, document, field, maximum=2048, pattern=URL, required=False)

    def check_winget_installers(self, path, document):
        installers = document.get("Installers")
        if not isinstance(installers, list) or not installers:
            self.fault(path, "Installers", "missing or empty")
            return
        seen = []
        for number, installer in enumerate(installers, 1):
            if not isinstance(installer, dict):
                self.fault(path, f"Installers[{number}]", "not a mapping")
                continue
            # Root-level values stand for every installer that does not set its own.
            effective = {**document, **installer}
            for field in sorted(installer.keys() - INSTALLER_FIELDS - {"Architecture", "InstallerUrl",
                                                                      "InstallerSha256", "SignatureSha256"}):
                self.fault(path, f"Installers[{number}].{field}", "not a field of an installer")
            architecture = self.text(path, installer, "Architecture", within=f"Installers[{number}].")
            field = f"Installers[{architecture or number}]"
            if architecture is not None and architecture not in WINGET_BUILDS:
                self.fault(path, f"{field}.Architecture", f"{architecture!r}, the release has {sorted(WINGET_BUILDS)}")
                architecture = None
            seen.append(architecture)
            if effective.get("InstallerType") != "nullsoft":
                self.fault(path, f"{field}.InstallerType", f"{effective.get('InstallerType')!r}, the setups are nullsoft")
            if effective.get("Scope") != "user":
                self.fault(path, f"{field}.Scope", f"{effective.get('Scope')!r}, the setups install for the current user")
            switches = effective.get("InstallerSwitches")
            for switch in ("Silent", "SilentWithProgress"):
                value = switches.get(switch) if isinstance(switches, dict) else None
                if not isinstance(value, str) or not value:
                    self.fault(path, f"{field}.InstallerSwitches.{switch}", "missing")
            url = self.text(path, installer, "InstallerUrl", maximum=2048, pattern=URL, within=f"{field}.")
            sha256 = self.text(path, installer, "InstallerSha256", pattern=WINGET_SHA256, within=f"{field}.")
            if url is None or architecture is None:
                continue
            release_file = self.release_file(path, f"{field}.InstallerUrl", url, f"{WINGET_BUILDS[architecture]}-setup.exe")
            if release_file and sha256:
                self.check_hash(path, f"{field}.InstallerSha256", sha256, release_file)
        if sorted(filter(None, seen)) != sorted(WINGET_BUILDS):
            self.fault(path, "Installers", f"architectures {seen}, should be one each of {sorted(WINGET_BUILDS)}")

    # --- Scoop ----------------------------------------------------------------------------------

    def check_scoop(self, path):
        document = self.load(path, json.loads)
        if document is None:
            return
        if self.text(path, document, "version", pattern=VERSION) not in (None, self.version):
            self.fault(path, "version", f"{document['version']!r}, the release is {self.version}")
        self.text(path, document, "description", 3, 1000, required=False)
        self.text(path, document, "homepage", maximum=2048, pattern=URL)
        license_value = document.get("license")
        if isinstance(license_value, dict):
            self.text(path, license_value, "identifier", within="license.")
        elif not (isinstance(license_value, str) and license_value):
            self.fault(path, "license", "missing (a string or an object with identifier)")

        programs = self.scoop_list(path, document, "bin")
        shortcuts = document.get("shortcuts", [])
        if not (isinstance(shortcuts, list) and all(
                isinstance(item, list) and len(item) >= 2 and all(isinstance(part, str) and part for part in item)
                for item in shortcuts)):
            self.fault(path, "shortcuts", "not a list of [program, name] lists")
            shortcuts = []
        programs += [item[0] for item in shortcuts]

        architectures = document.get("architecture")
        if not isinstance(architectures, dict) or not architectures:
            self.fault(path, "architecture", "missing")
            return
        if sorted(architectures) != sorted(SCOOP_BUILDS):
            self.fault(path, "architecture", f"has {sorted(architectures)}, should be {sorted(SCOOP_BUILDS)}")
        for architecture, entry in architectures.items():
            field = f"architecture.{architecture}"
            if not isinstance(entry, dict):
                self.fault(path, field, "not a mapping")
                continue
            url = self.text(path, entry, "url", maximum=2048, pattern=URL, within=f"{field}.")
            sha256 = self.text(path, entry, "hash", pattern=SCOOP_SHA256, within=f"{field}.")
            if url is None or architecture not in SCOOP_BUILDS:
                continue
            release_file = self.release_file(path, f"{field}.url", url, f"{SCOOP_BUILDS[architecture]}.zip")
            if release_file is None:
                continue
            if sha256:
                self.check_hash(path, f"{field}.hash", sha256, release_file)
            # Scoop unpacks the zip into the app's folder: what bin and shortcuts name must be there.
            with zipfile.ZipFile(release_file) as archive:
                names = set(archive.namelist())
            for program in programs:
                if program.replace("\\", "/") not in names:
                    self.fault(path, f"{field}: bin/shortcuts", f"{program} is not in {release_file.name}")

    def scoop_list(self, path, document, field):
        """A required field that is a string or a list of strings, as a list."""
        value = document.get(field)
        if isinstance(value, str) and value:
            return [value]
        if isinstance(value, list) and value and all(isinstance(item, str) and item for item in value):
            return list(value)
        self.fault(path, field, "missing" if value is None else f"not a string or list of strings: {value!r}")
        return []

    # --------------------------------------------------------------------------------------------

    def run(self):
        manifests = self.dist / "manifests"
        folders = sorted({path.parent for path in (manifests / "winget").rglob("*.yaml")})
        if not folders:
            self.fault(manifests, "winget", "no manifest")
        for folder in folders:
            self.check_winget_set(folder)
        scoop = sorted((manifests / "scoop").glob("*.json"))
        if not scoop:
            self.fault(manifests, "scoop", "no manifest")
        for path in scoop:
            self.check_scoop(path)
        return self.faults


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[2].strip())
    dist, version = sys.argv[1:]
    faults = Checker(dist, version).run()
    for fault in faults:
        print(f"check_manifests: FAIL: {fault}", file=sys.stderr)
    if faults:
        sys.exit(1)
    print(f"check_manifests: ok, winget and Scoop manifests of {version} match the files in {dist}")


if __name__ == "__main__":
    main()
