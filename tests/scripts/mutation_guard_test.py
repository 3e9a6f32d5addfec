"""A mutated source always comes back, even after the tool was killed."""

import os
import stat
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

import mutation
from mutation.source_guard import GuardError, SourceGuard

SCRIPTS = str(Path(mutation.__file__).parent.parent)
_MUTATE_AND_WAIT = """
import sys, time
from mutation.source_guard import SourceGuard
with SourceGuard(sys.argv[1]).mutated("src/a.cpp", b"int a = 1;\\n"):
    print("mutated", flush=True)
    time.sleep(60)
"""


class SourceGuardTest(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory()
        self.root = Path(self.scratch.name)
        (self.root / "src").mkdir()
        self.file = self.root / "src" / "a.cpp"
        self.file.write_bytes(b"int a = 0;\n")
        os.chmod(self.file, 0o640)

    def tearDown(self):
        self.scratch.cleanup()

    def test_the_original_returns_after_the_block_and_after_an_error(self):
        guard = SourceGuard(self.root)
        with guard.mutated("src/a.cpp", b"int a = 1;\n"):
            self.assertEqual(self.file.read_bytes(), b"int a = 1;\n")
        with self.assertRaises(KeyError):
            with guard.mutated("src/a.cpp", b"int a = 1;\n"):
                raise KeyError("stop")
        self.assertEqual(self.file.read_bytes(), b"int a = 0;\n")
        self.assertEqual(stat.S_IMODE(self.file.stat().st_mode), 0o640)
        self.assertIsNone(guard.recover())

    def test_a_later_run_restores_what_a_killed_run_left_mutated(self):
        child = subprocess.Popen([sys.executable, "-c", _MUTATE_AND_WAIT, str(self.root)],
                                 stdout=subprocess.PIPE, env=dict(os.environ, PYTHONPATH=SCRIPTS))
        self.assertEqual(child.stdout.readline(), b"mutated\n")
        child.kill()
        child.wait()
        child.stdout.close()
        self.assertEqual(self.file.read_bytes(), b"int a = 1;\n")
        guard = SourceGuard(self.root)
        self.assertEqual(guard.pristine("src/a.cpp", self.file.read_bytes()), b"int a = 0;\n")
        self.assertEqual(guard.recover(), "restored src/a.cpp")
        self.assertEqual(self.file.read_bytes(), b"int a = 0;\n")
        self.assertIsNone(guard.recover())

    def test_a_file_edited_meanwhile_is_not_overwritten_and_its_original_is_kept(self):
        guard = SourceGuard(self.root)
        with self.assertRaises(GuardError):
            with guard.mutated("src/a.cpp", b"int a = 1;\n"):
                self.file.write_bytes(b"int a = 2;  // someone's edit\n")
        self.assertEqual(self.file.read_bytes(), b"int a = 2;  // someone's edit\n")
        kept = [p for p in guard.folder.iterdir() if p.name.startswith("a.cpp.")]
        self.assertEqual([p.read_bytes() for p in kept], [b"int a = 0;\n"])

    def test_one_run_at_a_time_per_tree(self):
        running = SourceGuard(self.root)
        running.lock_tree()
        with self.assertRaises(GuardError):
            SourceGuard(self.root).lock_tree()
        running.unlock_tree()
        again = SourceGuard(self.root)
        again.lock_tree()
        again.unlock_tree()


if __name__ == "__main__":
    unittest.main()
