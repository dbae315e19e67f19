"""Tests of tools/check-iso against small images written with xorriso.

Run: python3 -m unittest discover -s tools -p 'test_*.py'
"""

import os
import shutil
import subprocess
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
CHECK_ISO = os.path.join(HERE, "check-iso")
ID_FILE = "program files/harrowlight/kelvaro/KWRFILEID"


@unittest.skipUnless(shutil.which("xorriso"), "needs xorriso")
class CheckIsoTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        tree = os.path.join(cls.tmp.name, "tree")
        os.makedirs(os.path.join(tree, "program files", "harrowlight", "kelvaro"))
        os.makedirs(os.path.join(tree, "Res"))
        with open(os.path.join(tree, ID_FILE), "wb") as f:
            f.write(b"Kelvaro: Wendraskel, DISK1")
        # Enough long names that the folder's records fill more than one 2048-byte sector,
        # whose unused tail the reader must skip.
        cls.many = ["picture number %02d of the menu.bmp" % i for i in range(70)]
        for name in cls.many:
            with open(os.path.join(tree, "Res", name), "wb") as f:
                f.write(b"x" * 3)
        cls.image = os.path.join(cls.tmp.name, "disc.iso")
        subprocess.run(["xorriso", "-as", "mkisofs", "-quiet", "-o", cls.image, "-V", "TEST_DISC",
                        "-J", "-r", tree], check=True, stderr=subprocess.DEVNULL)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def check(self, *args):
        run = subprocess.run([CHECK_ISO, *args], capture_output=True, text=True)
        return run.returncode, run.stdout, run.stderr

    def test_long_names_with_spaces_across_sectors(self):
        expected = [ID_FILE, "program files/", "Res/"] + ["Res/" + n for n in self.many]
        status, out, err = self.check(self.image, *expected)
        self.assertEqual(status, 0, err)
        self.assertIn("        26  " + ID_FILE + "\n", out)
        self.assertEqual(out.count("  Res/picture number"), len(self.many))

    def test_backslash_paths_and_identification_text(self):
        status, _, err = self.check("--id", "Kelvaro: Wendraskel, DISK1", self.image,
                                    "program files\\harrowlight\\kelvaro\\KWRFILEID")
        self.assertEqual(status, 0, err)

    def test_mismatches(self):
        cases = [
            (["--id", "Kelvaro: Wendraskel, DISK2", self.image], "identification file holds"),
            ([self.image, "PROGRAM_FILES/"], "missing: PROGRAM_FILES/"),
            ([self.image, "Res/picture number 70 of the menu.bmp"], "missing: Res/picture"),
        ]
        for args, message in cases:
            with self.subTest(args=args):
                status, out, err = self.check(*args)
                self.assertEqual(status, 1)
                self.assertIn(message, err)
                self.assertIn("MISMATCH", out)

    def test_not_an_image(self):
        status, _, err = self.check(__file__)
        self.assertEqual(status, 2)
        self.assertIn("no Joliet volume descriptor", err)


if __name__ == "__main__":
    unittest.main()
