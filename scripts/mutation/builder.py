"""Building the project in the mutation build tree and running its tests.

The tests are the CTest list, with the cases of one GoogleTest executable
run together as one unit. A unit watches the build outputs it runs (its
executable, files passed to it, shared libraries it depends on); after a
mutant's build, only units whose watched files were rewritten are run.
"""

import contextlib
import fcntl
import json
import os
import signal
import shutil
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass, field
from pathlib import Path

# Release builds without debug information rebuild fastest; the benchmarks
# test nothing.
_CONFIGURE_OVERRIDES = {"CMAKE_BUILD_TYPE": "Release", "TAVRIN_BUILD_BENCH": "OFF"}


class BuildError(Exception):
    pass


@dataclass
class TestUnit:
    name: str
    command: list
    cwd: str
    environment: dict
    will_fail: bool = False
    gtest_filters: list = field(default_factory=list)
    watched: list = field(default_factory=list)   # absolute paths
    targets: list = field(default_factory=list)   # ninja targets
    baseline: float = 0.0                          # seconds, unmutated

    def argv(self):
        if not self.gtest_filters:
            return self.command
        return self.command + ["--gtest_filter=" + ":".join(self.gtest_filters)]


@contextlib.contextmanager
def held(lock_path, say):
    """Holds flock on lock_path, if one is given, for the block."""
    if lock_path is None:
        yield
        return
    with open(lock_path, "a") as lock:
        try:
            fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except BlockingIOError:
            say(f"waiting for {lock_path}")
            fcntl.flock(lock, fcntl.LOCK_EX)
        try:
            yield
        finally:
            fcntl.flock(lock, fcntl.LOCK_UN)


def run_process(argv, cwd=None, env=None, timeout=None, output=subprocess.DEVNULL):
    """Runs argv in its own process group; returns (exit code or None on timeout, seconds).

    The group is killed on a timeout and on any exception, Ctrl-C included,
    so that no compiler or test outlives the tool.
    """
    started = time.monotonic()
    process = subprocess.Popen(argv, cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                               stdout=output, stderr=subprocess.STDOUT, start_new_session=True)
    try:
        code = process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        _kill_group(process, signal.SIGKILL)
        process.wait()
        code = None
    except BaseException:
        # A build is asked to stop first, so that ninja leaves its logs sound.
        _kill_group(process, signal.SIGTERM)
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            _kill_group(process, signal.SIGKILL)
            process.wait()
        raise
    return code, time.monotonic() - started


def _kill_group(process, signum):
    with contextlib.suppress(ProcessLookupError, PermissionError):
        os.killpg(process.pid, signum)


def _output(argv, cwd=None):
    result = subprocess.run(argv, cwd=cwd, capture_output=True, text=True)
    if result.returncode != 0:
        raise BuildError(f"{' '.join(argv)} failed:\n{result.stdout}{result.stderr}")
    return result.stdout


class Project:
    def __init__(self, root, build_dir):
        self.root = Path(root)
        self.build_dir = Path(build_dir)
        self.log = self.build_dir / "mutate-build.log"
        self.test_log = self.build_dir / "mutate-test.log"

    def configure_command(self):
        """cmake configuring the build tree like the "default" preset, only leaner."""
        presets = json.loads((self.root / "CMakePresets.json").read_text())
        preset = next((p for p in presets.get("configurePresets", [])
                       if p.get("name") == "default"), None)
        if preset is None:
            raise BuildError("CMakePresets.json has no configure preset \"default\"")
        variables = dict(preset.get("cacheVariables", {}))
        variables.update(_CONFIGURE_OVERRIDES)
        argv = ["cmake", "-S", str(self.root), "-B", str(self.build_dir)]
        if "generator" in preset:
            argv += ["-G", preset["generator"]]
        for name, value in variables.items():
            if isinstance(value, dict):
                value = value.get("value", "")
            argv.append(f"-D{name}={value}")
        return argv

    def configure(self):
        if (self.build_dir / "CMakeCache.txt").exists():
            return
        code, _ = run_process(self.configure_command(), output=sys.stdout)
        if code != 0:
            raise BuildError(f"configuring {self.build_dir} failed")

    def build(self, targets=()):
        """Runs ninja; returns (success, seconds). The output goes to the build log."""
        with open(self.log, "wb") as log:
            code, seconds = run_process(["ninja", "-C", str(self.build_dir), *targets],
                                        output=log)
        return code == 0, seconds

    def test_units(self):
        """The CTest list as units, each with what it watches and what builds it."""
        listing = json.loads(_output(["ctest", "--test-dir", str(self.build_dir),
                                      "--show-only=json-v1"]))
        units = units_from_listing(listing, self.build_dir)
        targets = _output(["ninja", "-C", str(self.build_dir), "-t", "targets", "all"])
        known = {line.rsplit(": ", 1)[0] for line in targets.splitlines()}
        for unit in units:
            for argument in unit.command:
                for candidate in (argument, argument.split("=", 1)[-1]):
                    target = self._target(candidate, known)
                    if target and target not in unit.targets:
                        unit.targets.append(target)
        every_target = sorted({t for u in units for t in u.targets})
        libraries = {}
        if every_target:
            libraries = shared_libraries(
                _output(["ninja", "-C", str(self.build_dir), "-t", "query", *every_target]))
        for unit in units:
            for target in list(unit.targets):
                for library in libraries.get(target, []):
                    if library not in unit.targets:
                        unit.targets.append(library)
            unit.watched = [str(self.build_dir / t) for t in unit.targets]
        return units

    def _target(self, candidate, known):
        """The ninja target a command-line argument names, if any."""
        path = Path(candidate)
        if not path.is_absolute():
            return None
        try:
            relative = path.relative_to(self.build_dir).as_posix()
        except ValueError:
            return None
        return relative if relative in known else None

    def run_unit(self, unit, timeout, keep_output=False):
        """Runs a unit: returns ("passed" | "failed" | "timed-out", seconds).

        With keep_output, the output of a unit that does not pass is added to
        the test log.
        """
        env = dict(os.environ, **unit.environment)
        with tempfile.TemporaryFile() as output:
            code, seconds = run_process(unit.argv(), cwd=unit.cwd, env=env, timeout=timeout,
                                        output=output if keep_output else subprocess.DEVNULL)
            if code is None:
                status = "timed-out"
            else:
                status = "passed" if (code == 0) != unit.will_fail else "failed"
            if keep_output and status != "passed":
                output.seek(0)
                with open(self.test_log, "ab") as log:
                    log.write(f"==== {unit.name}: {status}\n".encode())
                    shutil.copyfileobj(output, log)
        return status, seconds


def units_from_listing(listing, build_dir):
    """Test units from `ctest --show-only=json-v1` output.

    The cases GoogleTest discovery registered one by one run as one
    process per executable, which is what makes a mutant cheap to test.
    """
    units, gtest_units = [], {}
    for test in listing.get("tests", []):
        command = test.get("command")
        properties = {p["name"]: p["value"] for p in test.get("properties", [])}
        if not command or properties.get("DISABLED"):
            continue
        environment = dict(e.split("=", 1) for e in properties.get("ENVIRONMENT", []))
        cwd = properties.get("WORKING_DIRECTORY", str(build_dir))
        will_fail = bool(properties.get("WILL_FAIL"))
        filters = [a for a in command[1:] if a.startswith("--gtest_filter=")]
        if len(filters) != 1 or will_fail:
            units.append(TestUnit(test["name"], command, cwd, environment, will_fail))
            continue
        rest = [a for a in command if a != filters[0]]
        key = (tuple(rest), cwd, tuple(sorted(environment.items())))
        if key not in gtest_units:
            gtest_units[key] = TestUnit(Path(command[0]).name, rest, cwd, environment)
            units.append(gtest_units[key])
        gtest_units[key].gtest_filters.append(filters[0].split("=", 1)[1])
    return units


def shared_libraries(query):
    """Shared libraries of the build tree among each target's direct inputs,
    from `ninja -t query` output: {target: [library, ...]}."""
    libraries, current, in_inputs = {}, None, False
    for line in query.splitlines():
        if not line.startswith(" "):
            current, in_inputs = line.rstrip(":"), False
            libraries[current] = []
        elif not line.startswith("    "):
            in_inputs = line.strip().startswith("input:")
        elif in_inputs:
            name = line.strip().lstrip("|").strip()
            # Absolute names are the system's; build outputs are relative.
            if (not name.startswith("/") and (name.endswith(".so") or ".so." in name)
                    and name not in libraries[current]):
                libraries[current].append(name)
    return libraries


def snapshot(paths):
    """Modification stamps of paths, to tell which ones a build rewrote."""
    stamps = {}
    for path in paths:
        with contextlib.suppress(FileNotFoundError):
            status = os.stat(path)
            stamps[path] = (status.st_mtime_ns, status.st_size, status.st_ino)
    return stamps
