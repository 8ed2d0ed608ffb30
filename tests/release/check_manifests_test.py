#!/usr/bin/env python3
"""The manifest check catches broken manifests: it runs on a copy of a release's manifests
(beside links to the release's files), each test breaking the copy in one way.

    tests/release/check_manifests_test.py <dist folder> <version>
"""
import os
import re
import shutil
import sys
import tempfile
import unittest
from pathlib import Path

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, str(Path(__file__).resolve().parent))
from check_manifests import Checker  # noqa: E402

# The two arguments come first; unittest's own options may follow.
DIST, VERSION = (None, None)
if len(sys.argv) >= 3 and not sys.argv[1].startswith("-"):
    DIST, VERSION = Path(sys.argv.pop(1)).resolve(), sys.argv.pop(1)
WINGET = f"manifests/winget/v/Varnholtiqa/Kestrivalume/{VERSION}/Varnholtiqa.Kestrivalume"
SCOOP = "manifests/scoop/kestrivalume.json"


@unittest.skipIf(DIST is None, "needs <dist folder> <version>")
class BrokenManifests(unittest.TestCase):
    def setUp(self):
        self.copy = Path(tempfile.mkdtemp(prefix="check_manifests."))
        self.addCleanup(shutil.rmtree, self.copy)
        for path in DIST.iterdir():
            if path.is_file():
                os.symlink(path, self.copy / path.name)
        shutil.copytree(DIST / "manifests", self.copy / "manifests")

    def edit(self, name, old, new):
        path = self.copy / name
        text = path.read_text(encoding="utf-8")
        self.assertIn(old, text, f"{name} changed shape: the test no longer breaks it")
        path.write_text(text.replace(old, new, 1), encoding="utf-8")

    def line(self, name, start):
        return next(line for line in (self.copy / name).read_text(encoding="utf-8").splitlines()
                    if line.lstrip("- ").startswith(start))

    def assertFaults(self, *expected):
        faults = Checker(self.copy, VERSION).run()
        for words in expected:
            self.assertTrue(any(all(word in fault for word in words) for fault in faults),
                            f"no fault with {words} in:\n" + "\n".join(faults))

    def test_the_release_as_written_passes(self):
        self.assertEqual([], Checker(self.copy, VERSION).run())

    def test_winget_hash_of_another_file(self):
        line = self.line(f"{WINGET}.installer.yaml", "InstallerSha256")
        self.edit(f"{WINGET}.installer.yaml", line, re.sub("[0-9A-F]{64}", "A" * 64, line))
        self.assertFaults(("installer.yaml", "Installers[x64].InstallerSha256", "not the SHA-256 of", "win64-setup.exe"))

    def test_winget_lowercase_hash(self):
        line = self.line(f"{WINGET}.installer.yaml", "InstallerSha256")
        self.edit(f"{WINGET}.installer.yaml", line, line.lower().replace("installersha256", "InstallerSha256"))
        self.assertFaults(("Installers[x64].InstallerSha256", "malformed"))

    def test_winget_missing_license_and_locale_mismatch(self):
        self.edit(f"{WINGET}.locale.fr-FR.yaml", self.line(f"{WINGET}.locale.fr-FR.yaml", "License:") + "\n", "")
        self.edit(f"{WINGET}.locale.fr-FR.yaml", "PackageLocale: fr-FR", "PackageLocale: fr-BE")
        self.edit(f"{WINGET}.locale.fr-FR.yaml", "PublisherUrl:", "PublisherURL:")
        self.assertFaults(("locale.fr-FR.yaml", "License: missing"), ("PackageLocale", "fr-BE"),
                          ("PublisherURL", "not a field"))

    def test_winget_identifier_and_version_across_files(self):
        self.edit(f"{WINGET}.installer.yaml", "PackageIdentifier: Varnholtiqa.Kestrivalume",
                  "PackageIdentifier: Varnholtiqa.Autre")
        self.edit(f"{WINGET}.yaml", f'PackageVersion: "{VERSION}"', 'PackageVersion: "9.9"')
        self.edit(f"{WINGET}.yaml", 'ManifestVersion: "1.6.0"', 'ManifestVersion: "1.5.0"')
        self.assertFaults(("installer.yaml", "PackageIdentifier", "Varnholtiqa.Autre"),
                          ("Kestrivalume.yaml", "PackageVersion", "9.9"),
                          ("ManifestVersion", "differs"))

    def test_winget_architectures_swapped(self):
        # Each hash still matches the file its URL names: only the architecture is wrong.
        name = f"{WINGET}.installer.yaml"
        self.edit(name, "Architecture: x64", "Architecture: @@")
        self.edit(name, "Architecture: x86", "Architecture: x64")
        self.edit(name, "Architecture: @@", "Architecture: x86")
        self.assertFaults(("Installers[x64].InstallerUrl", "win32-setup.exe"),
                          ("Installers[x86].InstallerUrl", "win64-setup.exe"))

    def test_winget_missing_switch_file_and_misspelt_field(self):
        self.edit(f"{WINGET}.installer.yaml", '    Silent: "/S"\n', "")
        self.edit(f"{WINGET}.installer.yaml", "  Scope: user", "  Scop: user")
        (self.copy / f"{WINGET}.yaml").unlink()
        self.assertFaults(("Installers[x64].InstallerSwitches.Silent", "missing"), ("Kestrivalume.yaml: (file): missing",),
                          ("Installers[1].Scop", "not a field"), ("Installers[x64].Scope", "None"))

    def test_scoop_wrong_hash_missing_bin_unknown_program(self):
        line = self.line(SCOOP, '"hash"')
        self.edit(SCOOP, line, re.sub("[0-9a-f]{64}", "a" * 64, line))
        self.edit(SCOOP, '"bin": "Kestrivalume.exe",\n', "")
        self.edit(SCOOP, '"Kestrivalume.exe",\n            "Kestrivalume"', '"Kestrivalum.exe",\n            "Kestrivalume"')
        self.assertFaults(("kestrivalume.json", "architecture.64bit.hash", "not the SHA-256 of", "win64.zip"),
                          ("kestrivalume.json", "bin: missing"),
                          ("architecture.32bit: bin/shortcuts", "Kestrivalum.exe"))

    def test_release_file_changed_after_the_manifests(self):
        zip_name = f"Kestrivalume-{VERSION}-win32.zip"
        (self.copy / zip_name).unlink()
        shutil.copyfile(DIST / zip_name, self.copy / zip_name)
        with open(self.copy / zip_name, "ab") as file:
            file.write(b"\0")
        self.assertFaults(("architecture.32bit.hash", zip_name))


if __name__ == "__main__":
    unittest.main()
