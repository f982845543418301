#!/usr/bin/env python3
"""Installs Brisolt with the x86_64 setup program under Wine, as a user would, and takes it away again.

  setup_wine_test.py SETUP_EXE BUILD_PREFIX STAGE_DIR SOURCE_DIR WORK_DIR VERSION

The setup program runs silently (/S) in a copy of the build's Wine prefix, so that the settings file it
leaves behind on purpose never reaches the other tests. In that copy the user's folders (application
data, local application data, documents, Start-menu programs) point into WORK_DIR, where the test reads
what was installed. The steps run in order: install, start the bar as the shortcut does, send it a
document while setup and uninstaller are turned away by the running bar, edit the user's files and
install again, uninstall with the command registered for the user.
"""
import os
import shutil
import struct
import subprocess
import sys
import time
import unittest

SETUP_EXE, BUILD_PREFIX, STAGE_DIR, SOURCE_DIR, WORK_DIR, VERSION = sys.argv[1:7]
PREFIX = os.path.join(WORK_DIR, "wineprefix")
PROFILE = os.path.join(WORK_DIR, "profile")
FOLDERS = {"AppData": "Roaming", "Local AppData": "Local", "Personal": "Documents", "Programs": "Programs",
           "SendTo": "SendTo"}
INSTDIR = os.path.join(PROFILE, "Local", "Programs", "Brisolt")
SETTINGS = os.path.join(PROFILE, "Roaming", "Brisolt", "Brisolt.ini")
SAMPLE_DIR = os.path.join(PROFILE, "Documents", "Brisolt")
SAMPLE = os.path.join(SAMPLE_DIR, "sample.tex")
SHORTCUT = os.path.join(PROFILE, "Programs", "Brisolt.lnk")
SENDTO = os.path.join(PROFILE, "SendTo", "Brisolt.lnk")
PROGRAM_FILES = ("Brisolt.exe", "corvane.exe", "Brisolt.chm", "README.txt", "LICENSE.txt")
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brisolt"
SHELL_FOLDERS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders"

ENV = dict(os.environ, WINEPREFIX=PREFIX, WINEDEBUG="-all",
           # No Mono or Gecko prompts, and no desktop menu entries made from the Start-menu shortcut.
           WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine(*args, check=True, timeout=120):
    return subprocess.run(["wine", *args], env=ENV, capture_output=True, text=True, check=check, timeout=timeout)


def wait_for_wine():
    """Waits until every program of the prefix has ended (the uninstaller goes on from a copy in Temp)."""
    subprocess.run(["wineserver", "-w"], env=ENV, timeout=120, check=False)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def ini_values(data):
    """{(section, key): value} of an INI text; later duplicates win, as for the profile calls."""
    values, section = {}, ""
    for line in data.decode("latin-1").splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            section = line[1:-1]
        elif "=" in line:
            key, value = line.split("=", 1)
            values[(section, key)] = value
    return values


def registry_values(key):
    result = wine("reg", "query", key, check=False)
    if result.returncode != 0:
        return None
    values = {}
    for line in result.stdout.splitlines():
        parts = line.strip().split("    ", 2)
        if len(parts) == 3:
            values[parts[0]] = parts[2]
    return values


def read_shortcut(data):
    """The target, working folder, arguments and description of a shell link (.lnk) file."""
    assert data[:4] == b"\x4c\0\0\0", "not a shell link"
    flags = struct.unpack_from("<I", data, 0x14)[0]
    pos = 0x4C
    if flags & 0x1:  # an item id list
        pos += 2 + struct.unpack_from("<H", data, pos)[0]
    link = {}
    if flags & 0x2:  # link info, with the local path of the target
        size, _, info_flags, _, base = struct.unpack_from("<IIIII", data, pos)
        if info_flags & 0x1:
            end = data.index(b"\0", pos + base)
            link["target"] = data[pos + base:end].decode("latin-1")
        pos += size
    wide = flags & 0x80
    for bit, name in ((0x4, "description"), (0x8, "relative"), (0x10, "folder"), (0x20, "arguments"),
                      (0x40, "icon")):
        if flags & bit:
            count = struct.unpack_from("<H", data, pos)[0]
            length = count * 2 if wide else count
            # Wine counts a terminating zero in the length that Windows leaves out.
            link[name] = data[pos + 2:pos + 2 + length].decode("utf-16-le" if wide else "latin-1").rstrip("\0")
            pos += 2 + length
    return link


def window_names():
    result = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True, check=False)
    return result.stdout


def start_bar(link, document=None):
    """Starts the bar as the shell link does, given a document as "Send To" gives it; returns the bar and
    whether its caption came to show the document (without one, the sample, which the settings name)."""
    assert link["arguments"].startswith('/i "') and link["arguments"].endswith('"'), link["arguments"]
    sent = [windows_path(document)] if document else []
    bar = subprocess.Popen(["wine", link["target"], "/i", link["arguments"][4:-1]] + sent,
                           cwd=SAMPLE_DIR, env=ENV, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    caption = '"%s - Brisolt"' % windows_path(document or SAMPLE)
    deadline = time.monotonic() + 60
    while caption not in window_names() and bar.poll() is None and time.monotonic() < deadline:
        time.sleep(0.5)
    return bar, caption in window_names()


def end_bar(bar):
    # The bar closes only on the user's request; this copy of the prefix runs nothing else.
    subprocess.run(["wineserver", "-k"], env=ENV, check=False)
    bar.wait(timeout=60)


class SetupUnderWine(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not os.path.isfile(SETUP_EXE):
            raise unittest.SkipTest("%s is missing: build the target brisolt_packages" % SETUP_EXE)
        shutil.rmtree(WORK_DIR, ignore_errors=True)
        os.makedirs(WORK_DIR)
        shutil.copytree(BUILD_PREFIX, PREFIX, symlinks=True)
        for value, folder in FOLDERS.items():
            os.makedirs(os.path.join(PROFILE, folder))
            wine("reg", "add", SHELL_FOLDERS, "/v", value, "/t", "REG_EXPAND_SZ",
                 "/d", windows_path(os.path.join(PROFILE, folder)), "/f")
        cls.install = wine(SETUP_EXE, "/S", check=False)
        wait_for_wine()

    @classmethod
    def tearDownClass(cls):
        subprocess.run(["wineserver", "-k"], env=ENV, check=False)
        shutil.rmtree(PREFIX, ignore_errors=True)

    def test_1_program_is_installed_into_the_users_program_folder(self):
        self.assertEqual(self.install.returncode, 0, self.install.stderr)
        for name in PROGRAM_FILES:
            with self.subTest(name=name):
                self.assertEqual(read(os.path.join(INSTDIR, name)), read(os.path.join(STAGE_DIR, name)))
        self.assertTrue(os.path.isfile(os.path.join(INSTDIR, "uninstall.exe")))

    def test_2_settings_file_is_the_tex_bar_opening_the_sample(self):
        settings = ini_values(read(SETTINGS))
        tex_bar = ini_values(read(os.path.join(SOURCE_DIR, "demo", "Brisolt.ini")))
        self.assertGreater(len(tex_bar), 50)
        for key, value in tex_bar.items():
            self.assertEqual(settings.get(key), value, key)
        self.assertEqual(settings.get(("Options", "Last file")), windows_path(SAMPLE))
        self.assertEqual(settings.get(("Options", "LastDir")), windows_path(SAMPLE_DIR))
        self.assertEqual(read(SAMPLE), read(os.path.join(STAGE_DIR, "sample.tex")))

    def test_3_start_menu_shortcut_names_the_users_settings_file(self):
        link = read_shortcut(read(SHORTCUT))
        self.assertEqual(link.get("target"), windows_path(os.path.join(INSTDIR, "Brisolt.exe")))
        self.assertEqual(link.get("arguments"), '/i "%s"' % windows_path(SETTINGS))
        self.assertEqual(link.get("folder"), windows_path(SAMPLE_DIR))
        # "Send To" starts the same, with the document's name added at the end.
        self.assertEqual(read_shortcut(read(SENDTO)), dict(link, description="Opens the Brisolt bar on this document"))

    def test_4_uninstaller_is_registered_for_the_user(self):
        values = registry_values(UNINSTALL_KEY)
        self.assertIsNotNone(values, "no uninstall entry")
        uninstaller = windows_path(os.path.join(INSTDIR, "uninstall.exe"))
        self.assertEqual(values.get("DisplayName"), "Brisolt")
        self.assertEqual(values.get("DisplayVersion"), VERSION)
        self.assertEqual(values.get("Publisher"), "The Brisolt developers")
        self.assertEqual(values.get("HelpLink"), windows_path(os.path.join(INSTDIR, "Brisolt.chm")))
        size = sum(os.path.getsize(os.path.join(INSTDIR, name)) for name in os.listdir(INSTDIR)) // 1024
        self.assertIn(int(values.get("EstimatedSize", "0"), 16), (size, size + 1))
        self.assertEqual(values.get("InstallLocation"), windows_path(INSTDIR))
        self.assertEqual(values.get("UninstallString"), '"%s"' % uninstaller)
        self.assertEqual(values.get("QuietUninstallString"), '"%s" /S' % uninstaller)

    def test_5_bar_started_as_the_shortcut_does_opens_the_sample(self):
        self.assertTrue(os.environ.get("DISPLAY"), "needs an X server: run under xvfb-run")
        link = read_shortcut(read(SHORTCUT))
        bar, shown = start_bar(link)
        end_bar(bar)
        self.assertTrue(shown, "the bar did not open on the sample")

    def test_6_running_bar_turns_setup_and_uninstaller_away_unchanged(self):
        document = os.path.join(PROFILE, "Documents", "OneDrive - Uni", "my paper.tex")
        os.makedirs(os.path.dirname(document))
        shutil.copy(SAMPLE, document)
        os.remove(os.path.join(INSTDIR, "README.txt"))
        installed = sorted(os.listdir(INSTDIR))
        bar, shown = start_bar(read_shortcut(read(SENDTO)), document)
        try:
            self.assertTrue(shown, "the bar did not open on the document sent to it")
            # Silent, both give up at once instead of asking to close the bar.
            setup = wine(SETUP_EXE, "/S", check=False)
            self.assertEqual(setup.returncode, 2, setup.stderr)
            # Named its folder with _?=, the uninstaller runs where it is and ends with its own exit code.
            uninstaller = registry_values(UNINSTALL_KEY)["QuietUninstallString"][1:-4]
            result = wine(uninstaller, "/S", "_?=" + windows_path(INSTDIR), check=False)
            self.assertEqual(result.returncode, 2, result.stderr)
            self.assertEqual(sorted(os.listdir(INSTDIR)), installed)
            self.assertTrue(os.path.isfile(SENDTO))
            self.assertIsNotNone(registry_values(UNINSTALL_KEY))
        finally:
            end_bar(bar)

    def test_7_new_installation_keeps_the_users_settings_and_sample(self):
        with open(SETTINGS, "ab") as f:
            f.write(b"[Mine]\r\nKept=1\r\n")
        with open(SAMPLE, "ab") as f:
            f.write(b"% my own line\r\n")
        settings, sample = read(SETTINGS), read(SAMPLE)
        os.remove(os.path.join(INSTDIR, "Brisolt.chm"))
        result = wine(SETUP_EXE, "/S", check=False)
        wait_for_wine()
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertTrue(os.path.isfile(os.path.join(INSTDIR, "Brisolt.chm")), "program files not installed again")
        self.assertEqual(read(SETTINGS), settings)
        self.assertEqual(read(SAMPLE), sample)

    def test_8_uninstaller_removes_the_program_and_leaves_the_users_files(self):
        settings, sample = read(SETTINGS), read(SAMPLE)
        command = registry_values(UNINSTALL_KEY)["QuietUninstallString"]
        self.assertTrue(command.startswith('"') and command.endswith('" /S'), command)
        # The uninstaller copies itself to Temp and goes on from there; wait for the whole prefix.
        result = wine(command[1:-4], "/S", check=False)
        wait_for_wine()
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertFalse(os.path.exists(INSTDIR), os.listdir(INSTDIR) if os.path.isdir(INSTDIR) else "")
        self.assertFalse(os.path.exists(SHORTCUT))
        self.assertFalse(os.path.exists(SENDTO))
        self.assertIsNone(registry_values(UNINSTALL_KEY))
        self.assertEqual(read(SETTINGS), settings)
        self.assertEqual(read(SAMPLE), sample)


if __name__ == "__main__":
    # The steps build on each other: run them in their order and stop at the first failure.
    names = sorted(n for n in dir(SetupUnderWine) if n.startswith("test_"))
    suite = unittest.TestSuite(SetupUnderWine(name) for name in names)
    result = unittest.TextTestRunner(verbosity=2, failfast=True).run(suite)
    sys.exit(0 if result.wasSuccessful() and not result.skipped else 1)
