"""Mutating a source file so that it always comes back.

Before a file is changed, its original goes to a backup folder in the
tree, with a manifest naming the file and the hashes of both versions.
Normal exits, exceptions and signals restore the file at once; after a
kill -9 the next run finds the manifest and restores it first. A file that
changed since it was mutated is someone's work: it is left alone and the
original is kept beside the manifest for them.
"""

import contextlib
import fcntl
import hashlib
import json
import os
import signal
import stat
import tempfile
import time
from pathlib import Path

BACKUP_FOLDER = ".mutate-backup"
_SIGNALS = {signal.SIGINT, signal.SIGTERM, signal.SIGHUP}


class GuardError(Exception):
    pass


def write_atomically(path, data, mode=None):
    """Writes bytes to path through a temporary file and a rename."""
    path = Path(path)
    handle, temporary = tempfile.mkstemp(dir=path.parent, prefix="." + path.name + ".")
    try:
        with os.fdopen(handle, "wb") as out:
            out.write(data)
            out.flush()
            os.fsync(out.fileno())
        if mode is not None:
            os.chmod(temporary, mode)
        os.replace(temporary, path)
    except BaseException:
        with contextlib.suppress(OSError):
            os.unlink(temporary)
        raise


def _digest(data):
    return hashlib.sha256(data).hexdigest()


@contextlib.contextmanager
def signals_deferred():
    """Holds back Ctrl-C and termination while a file is put back."""
    previous = signal.pthread_sigmask(signal.SIG_BLOCK, _SIGNALS)
    try:
        yield
    finally:
        signal.pthread_sigmask(signal.SIG_SETMASK, previous)


class SourceGuard:
    def __init__(self, root):
        self.root = Path(root)
        self.folder = self.root / BACKUP_FOLDER
        self.manifest = self.folder / "manifest.json"
        self.copy = self.folder / "original"
        self._run_lock = None

    def lock_tree(self):
        """One run per tree: two would restore each other's files."""
        self.folder.mkdir(exist_ok=True)
        self._run_lock = open(self.folder / "run.lock", "w")
        try:
            fcntl.flock(self._run_lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except BlockingIOError:
            self._run_lock.close()
            self._run_lock = None
            raise GuardError(f"another mutation run is using {self.root}") from None

    def unlock_tree(self):
        if self._run_lock:
            self._run_lock.close()
            self._run_lock = None

    def recover(self):
        """Restores a file left mutated by a killed run; returns what it did."""
        if not self.manifest.exists():
            return None
        record = json.loads(self.manifest.read_text())
        with signals_deferred():
            return self._restore(record)[1]

    def pristine(self, name, current):
        """The original of file name if it is mutated right now, else current."""
        if not self.manifest.exists():
            return current
        with contextlib.suppress(OSError, ValueError):
            record = json.loads(self.manifest.read_text())
            if record["file"] == name and _digest(current) == record["mutated"]:
                return self.copy.read_bytes()
        return current

    @contextlib.contextmanager
    def mutated(self, name, data):
        """Within the block, file name (relative to root) holds data."""
        path = self.root / name
        original = path.read_bytes()
        record = {"file": name, "original": _digest(original), "mutated": _digest(data),
                  "mode": stat.S_IMODE(path.stat().st_mode)}
        self.folder.mkdir(exist_ok=True)
        write_atomically(self.copy, original)
        write_atomically(self.manifest, json.dumps(record).encode())
        try:
            write_atomically(path, data, record["mode"])
            yield
        finally:
            with signals_deferred():
                restored, message = self._restore(record)
            if not restored:
                raise GuardError(message)

    def _restore(self, record):
        """Puts the original back; returns (whether the file is original, what happened)."""
        path = self.root / record["file"]
        current = path.read_bytes() if path.exists() else None
        if current is not None and _digest(current) == record["mutated"]:
            write_atomically(path, self.copy.read_bytes(), record.get("mode"))
            message = f"restored {record['file']}"
        elif current is not None and _digest(current) == record["original"]:
            message = f"{record['file']} was already restored"
        else:
            kept = self.folder / f"{Path(record['file']).name}.{time.strftime('%Y%m%d-%H%M%S')}"
            os.replace(self.copy, kept)
            self.manifest.unlink()
            return False, (f"{record['file']} changed while it was mutated, so it was not "
                           f"restored; its original is in {kept}")
        self.manifest.unlink()
        self.copy.unlink()
        return True, message
