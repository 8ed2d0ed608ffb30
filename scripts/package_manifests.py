#!/usr/bin/env python3
"""Writes the package-manager manifests of a release beside its files.

    scripts/package_manifests.py <version> <dist folder> [--download-url URL]

Reads the installers and zips release.sh just wrote into the dist folder and writes
    manifests/winget/v/Varnholtiqa/Kestrivalume/<version>/   the three files of a winget manifest
        Varnholtiqa.Kestrivalume.yaml                (version)
        Varnholtiqa.Kestrivalume.locale.fr-FR.yaml   (defaultLocale)
        Varnholtiqa.Kestrivalume.installer.yaml      (installer: the x64 and x86 setups)
    manifests/scoop/kestrivalume.json                the zips, for Scoop
with the SHA-256 of the files as they are in the dist folder. The download URL is where the
releases are published (default: the web page's telechargements/ folder); the files go there
unchanged, under the same names.

Names, web page and description are the program's own: the installer's PRODUCT and MAKER (what
it registers in Windows' list of programs), the program's web address, and the first paragraph
and copyright line of LISEZMOI.txt.
"""
import argparse
import hashlib
import json
import re
import shutil
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
MANIFEST_VERSION = "1.6.0"
LOCALE = "fr-FR"
LICENSE = "Propriétaire"
# The installer's own switch for a silent installation; it has no quiet mode with progress.
SILENT = "/S"
# (winget architecture, Scoop architecture, our build) per package.
ARCHITECTURES = [("x64", "64bit", "win64"), ("x86", "32bit", "win32")]


def fail(message):
    sys.exit(f"package_manifests: {message}")


def find(pattern, path, what):
    match = re.search(pattern, path.read_text(encoding="utf-8"), re.MULTILINE)
    if not match:
        fail(f"{what} not found in {path.relative_to(ROOT)}")
    return match.group(1)


def program_texts():
    nsi = ROOT / "installer" / "kestrivalume.nsi"
    readme = ROOT / "docs" / "LISEZMOI.txt"
    # The first paragraph after the underlined title, its lines joined.
    paragraph = find(r"^=+\n\n*((?:.+\n)+)", readme, "description paragraph")
    description = " ".join(line.strip() for line in paragraph.splitlines())
    return {
        "product": find(r'^!define PRODUCT "([^"]+)"', nsi, "PRODUCT"),
        "maker": find(r'^!define MAKER "([^"]+)"', nsi, "MAKER"),
        "website": find(r'kWebsite\[\] = "(https?://[^"]+)"', ROOT / "shell" / "button_window.h", "kWebsite"),
        "description": description,
        "short_description": re.match(r"(.+?\.)(?: |$)", description).group(1),
        "copyright": find(r"^(Copyright .+)$", readme, "copyright line"),
    }


def sha256(path):
    if not path.is_file():
        fail(f"{path} is missing: run release.sh first")
    digest = hashlib.sha256()
    with path.open("rb") as file:
        for block in iter(lambda: file.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


# A small YAML writer for the manifests' plain shapes (mappings, lists, strings). Strings that
# YAML could read as anything else (a number such as 1.10, a boolean, text with ": ") are
# written in double quotes, JSON's escapes being YAML's too.
PLAIN = re.compile(r"[A-Za-z][A-Za-z0-9_.\-]*\Z")
YAML_WORDS = {"y", "n", "yes", "no", "true", "false", "on", "off", "null"}


def yaml_scalar(value):
    if PLAIN.match(value) and value.lower() not in YAML_WORDS:
        return value
    return json.dumps(value, ensure_ascii=False)


def yaml_lines(mapping, indent=""):
    for key, value in mapping.items():
        if isinstance(value, dict):
            yield f"{indent}{key}:"
            yield from yaml_lines(value, indent + "  ")
        elif isinstance(value, list):
            yield f"{indent}{key}:"
            for item in value:
                if isinstance(item, dict):
                    lines = list(yaml_lines(item, indent + "  "))
                    yield f"{indent}- {lines[0].lstrip()}"
                    yield from lines[1:]
                else:
                    yield f"{indent}- {yaml_scalar(item)}"
        else:
            yield f"{indent}{key}: {yaml_scalar(value)}"


def write_yaml(path, manifest):
    header = (f"# yaml-language-server: $schema=https://aka.ms/winget-manifest."
              f"{manifest['ManifestType']}.{MANIFEST_VERSION}.schema.json\n"
              "# Written by scripts/package_manifests.py\n\n")
    path.write_text(header + "\n".join(yaml_lines(manifest)) + "\n", encoding="utf-8")


def winget_manifests(texts, version, dist, download_url):
    identifier = f"{texts['maker']}.{texts['product']}"
    common = {"PackageIdentifier": identifier, "PackageVersion": version}
    footer = {"ManifestVersion": MANIFEST_VERSION}
    installers = []
    for architecture, _, build in ARCHITECTURES:
        name = f"{texts['product']}-{version}-{build}-setup.exe"
        installer = {
            "Architecture": architecture,
            "InstallerType": "nullsoft",
            "Scope": "user",
            "InstallerUrl": download_url + name,
            "InstallerSha256": sha256(dist / name).upper(),
            "InstallerSwitches": {"Silent": SILENT, "SilentWithProgress": SILENT},
        }
        if architecture == "x86":
            # A 32-bit process on 64-bit Windows runs under WOW64, where the installer refuses.
            installer["UnsupportedOSArchitectures"] = ["x64", "arm64"]
        installers.append(installer)
    return {
        f"{identifier}.yaml": {**common, "DefaultLocale": LOCALE, "ManifestType": "version", **footer},
        f"{identifier}.locale.{LOCALE}.yaml": {
            **common,
            "PackageLocale": LOCALE,
            "Publisher": texts["maker"],
            "PublisherUrl": texts["website"],
            "PackageName": texts["product"],
            "PackageUrl": texts["website"],
            "License": LICENSE,
            "Copyright": texts["copyright"],
            "ShortDescription": texts["short_description"],
            "Description": texts["description"],
            "Moniker": texts["product"].lower(),
            "ManifestType": "defaultLocale",
            **footer,
        },
        f"{identifier}.installer.yaml": {
            **common,
            "InstallerLocale": LOCALE,
            "InstallModes": ["interactive", "silent", "silentWithProgress"],
            "UpgradeBehavior": "install",
            # The installer's entry in Windows' list of programs: its key name and values.
            "ProductCode": texts["product"],
            "AppsAndFeaturesEntries": [{
                "DisplayName": texts["product"],
                "Publisher": texts["maker"],
                "DisplayVersion": version,
                "ProductCode": texts["product"],
            }],
            "Installers": installers,
            "ManifestType": "installer",
            **footer,
        },
    }


def scoop_manifest(texts, version, dist, download_url):
    architecture = {}
    for _, scoop_architecture, build in ARCHITECTURES:
        name = f"{texts['product']}-{version}-{build}.zip"
        architecture[scoop_architecture] = {"url": download_url + name, "hash": sha256(dist / name)}
    program = f"{texts['product']}.exe"
    # No "persist": the settings and lists live in %APPDATA%\Kestrivalume, not beside the program.
    return {
        "version": version,
        "description": texts["short_description"],
        "homepage": texts["website"],
        "license": "Proprietary",
        "architecture": architecture,
        "bin": program,
        "shortcuts": [[program, texts["product"]]],
    }


def main():
    parser = argparse.ArgumentParser(description="Writes the winget and Scoop manifests of a release.")
    parser.add_argument("version")
    parser.add_argument("dist", type=Path)
    parser.add_argument("--download-url", help="where the release files are published (ends with /)")
    arguments = parser.parse_args()
    texts = program_texts()
    download_url = arguments.download_url or texts["website"] + "telechargements/"
    if not re.match(r"https?://[^\s]+\Z", download_url):
        fail(f"not a web address: {download_url!r}")
    if not download_url.endswith("/"):
        download_url += "/"
    dist, version = arguments.dist, arguments.version
    # Also a folder name and part of the files' names.
    if not re.fullmatch(r"[0-9]+(\.[0-9]+){1,3}", version):
        fail(f"not a version: {version!r}")

    manifests = dist / "manifests"
    # Computed before anything is removed, so that a missing file leaves the old manifests be.
    winget = winget_manifests(texts, version, dist, download_url)
    scoop = scoop_manifest(texts, version, dist, download_url)
    shutil.rmtree(manifests, ignore_errors=True)
    winget_folder = manifests.joinpath("winget", texts["maker"][0].lower(), texts["maker"], texts["product"], version)
    winget_folder.mkdir(parents=True)
    for name, manifest in winget.items():
        write_yaml(winget_folder / name, manifest)
    (manifests / "scoop").mkdir()
    (manifests / "scoop" / f"{texts['product'].lower()}.json").write_text(
        json.dumps(scoop, indent=4, ensure_ascii=False) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
