#!/usr/bin/env python3
"""Reads the built packages back as a user's tools would and checks what they hold.

  check_packages.py zip   PACKAGE_DIR STAGE_DIR SOURCE_DIR VERSION ARCH
  check_packages.py setup PACKAGE_DIR STAGE_DIR SOURCE_DIR VERSION ARCH

`zip` opens Brisolt-VERSION-ARCH.zip with Python's zipfile; `setup` lists and unpacks
Brisolt-VERSION-ARCH-setup.exe with 7-Zip, which reads NSIS installers. ARCH is win64 or win32.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile

PACKAGE_DIR, STAGE_DIR, SOURCE_DIR, VERSION, ARCH = sys.argv[2:7]
PROGRAMS = ("Brisolt.exe", "corvane.exe")
TEXTS = ("README.txt", "LICENSE.txt", "Brisolt.ini", "sample.tex")
SHIPPED = PROGRAMS + ("Brisolt.chm",) + TEXTS
PE_MACHINE = {"win64": 0x8664, "win32": 0x014C}[ARCH]
# What a download of the 32-bit programs may weigh: static, stripped, with everything they need. The
# 64-bit programs are larger by the width of their code and have no limit of their own.
LARGEST = {"win32": {"Brisolt.exe": 250 * 1024, "corvane.exe": 64 * 1024}, "win64": {}}[ARCH]


def package(suffix):
    path = os.path.join(PACKAGE_DIR, "Brisolt-%s-%s%s" % (VERSION, ARCH, suffix))
    if not os.path.isfile(path):
        raise unittest.SkipTest("%s is missing: build the target brisolt_packages" % path)
    return path


def staged(name):
    with open(os.path.join(STAGE_DIR, name), "rb") as f:
        return f.read()


def source_text(relative):
    with open(os.path.join(SOURCE_DIR, relative), "rb") as f:
        return f.read()


def pe_machine(data):
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    if data[:2] != b"MZ" or data[offset:offset + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<H", data, offset + 4)[0]


class ShippedFiles:
    """What both packages must hold; `files` maps each shipped name to its bytes."""

    files = {}

    def test_programs_are_windows_programs_for_this_architecture(self):
        for name in PROGRAMS:
            with self.subTest(name=name):
                self.assertEqual(pe_machine(self.files[name]), PE_MACHINE)

    def test_32_bit_programs_stay_small(self):
        for name, largest in LARGEST.items():
            with self.subTest(name=name):
                self.assertLessEqual(len(self.files[name]), largest)

    def test_help_file_is_a_compiled_help_file(self):
        self.assertEqual(self.files["Brisolt.chm"][:4], b"ITSF")

    def test_text_files_have_windows_line_ends(self):
        for name in TEXTS:
            with self.subTest(name=name):
                data = self.files[name]
                self.assertGreater(data.count(b"\r\n"), 5)
                self.assertEqual(data.count(b"\n"), data.count(b"\r\n"), "a bare line feed")

    def test_tex_bar_and_sample_are_the_demo_files(self):
        for name, source in (("Brisolt.ini", "demo/Brisolt.ini"), ("sample.tex", "demo/sample.tex")):
            with self.subTest(name=name):
                self.assertEqual(self.files[name].replace(b"\r\n", b"\n"), source_text(source).replace(b"\r\n", b"\n"))

    def test_readme_names_the_version_and_what_a_user_needs(self):
        readme = self.files["README.txt"].decode("ascii")
        self.assertIn("Brisolt %s" % VERSION, readme)
        self.assertNotIn("@VERSION@", readme)
        for needed in ("MiKTeX", "TeX Live", "/i", "Brisolt.chm", "Brisolt\\Brisolt.ini", "Windows folder",
                       "Brisolt.ini beside Brisolt.exe", "Send to", "Unblock", "I can't write on file"):
            self.assertIn(needed, readme)

    def test_licence_is_the_mit_licence_of_the_developers(self):
        licence = self.files["LICENSE.txt"].decode("ascii")
        self.assertTrue(licence.startswith("MIT License"))
        self.assertIn("Copyright (c) The Brisolt developers", licence)
        self.assertIn('THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND', licence)


class ZipPackage(ShippedFiles, unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with zipfile.ZipFile(package(".zip")) as archive:
            cls.names = archive.namelist()
            cls.bad = archive.testzip()
            folder = "Brisolt-%s-%s/" % (VERSION, ARCH)
            cls.files = {n[len(folder):]: archive.read(n) for n in cls.names if n.startswith(folder)}

    def test_archive_is_sound_and_holds_one_folder_with_the_shipped_files(self):
        self.assertIsNone(self.bad)
        folder = "Brisolt-%s-%s/" % (VERSION, ARCH)
        self.assertEqual(sorted(n for n in self.names if not n.endswith("/")),
                         sorted(folder + name for name in SHIPPED))

    def test_files_are_the_ones_just_built(self):
        for name in SHIPPED:
            with self.subTest(name=name):
                self.assertEqual(self.files[name], staged(name))


class SetupPackage(ShippedFiles, unittest.TestCase):
    # Where the setup program puts each shipped file: the program folder, or once for the user.
    PLACES = {"Brisolt.ini": "$APPDATA/Brisolt/Brisolt.ini", "sample.tex": "$DOCUMENTS/Brisolt/sample.tex"}

    @classmethod
    def setUpClass(cls):
        seven = shutil.which("7z") or shutil.which("7zz")
        if not seven:
            raise unittest.SkipTest("7-Zip is missing (Debian package p7zip-full): run tools/install-deps.sh")
        setup = package("-setup.exe")
        with open(setup, "rb") as f:
            cls.setup_bytes = f.read()
        listing = subprocess.run([seven, "l", "-slt", setup], capture_output=True, text=True, check=True).stdout
        head, _, body = listing.partition("----------")
        cls.properties = dict(line.split(" = ", 1) for line in head.splitlines() if " = " in line)
        cls.paths = [line[len("Path = "):] for line in body.splitlines() if line.startswith("Path = ")]
        cls.work = tempfile.mkdtemp()
        subprocess.run([seven, "x", "-y", "-o" + cls.work, setup], capture_output=True, check=True)
        cls.files = {}
        for name in SHIPPED:
            path = os.path.join(cls.work, cls.PLACES.get(name, name))
            if os.path.isfile(path):
                with open(path, "rb") as f:
                    cls.files[name] = f.read()

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    def setUp(self):
        self.assertEqual(sorted(self.files), sorted(SHIPPED), "files missing from the setup program")

    def test_is_a_unicode_installer_for_this_architecture(self):
        self.assertEqual(self.properties.get("Type"), "Nsis")
        self.assertTrue(self.properties.get("SubType", "").startswith("NSIS-3 Unicode"))
        self.assertEqual(self.properties.get("64-bit") == "+", ARCH == "win64")
        self.assertEqual(pe_machine(self.setup_bytes), PE_MACHINE)

    def test_asks_for_no_administrator_rights(self):
        self.assertIn(b'level="asInvoker"', self.setup_bytes)
        self.assertNotIn(b"requireAdministrator", self.setup_bytes)

    def test_program_files_go_to_the_program_folder_and_the_users_files_to_the_user(self):
        expected = [name for name in SHIPPED if name not in self.PLACES] + list(self.PLACES.values())
        self.assertEqual(sorted(p for p in self.paths if not p.startswith("$PLUGINSDIR/")),
                         sorted(expected + ["uninstall.exe"]))

    def test_files_are_the_ones_just_built(self):
        for name in SHIPPED:
            with self.subTest(name=name):
                self.assertEqual(self.files[name], staged(name))


if __name__ == "__main__":
    kind = {"zip": ZipPackage, "setup": SetupPackage}[sys.argv[1]]
    suite = unittest.defaultTestLoader.loadTestsFromTestCase(kind)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    sys.exit(0 if result.wasSuccessful() and not result.skipped else 1)
