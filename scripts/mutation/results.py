"""The results file (JSON lines, one mutant a line) and the summary."""

import json
from pathlib import Path

from .selection import Mutant
from .source_guard import write_atomically

STATUSES = ("killed", "survived", "no-build", "timed-out", "stale")
PENDING = "pending"
_MUTANT_FIELDS = tuple(Mutant.__dataclass_fields__)


class ResultsError(Exception):
    pass


def new_row(mutant, status=PENDING):
    return dict(mutant.as_dict(), status=status, tests_run=0, test_seconds=0.0,
                build_seconds=0.0, killed_by=None)


def write_rows(path, rows):
    """Rewrites the whole file, so that an interrupted run leaves a whole file."""
    text = "".join(json.dumps(row, ensure_ascii=False) + "\n" for row in rows)
    write_atomically(path, text.encode())


def read_mutants(path):
    mutants = []
    try:
        lines = Path(path).read_text(encoding="utf-8").splitlines()
    except OSError as error:
        raise ResultsError(f"{path}: {error.strerror}") from None
    for number, line in enumerate(lines, start=1):
        if not line.strip():
            continue
        try:
            row = json.loads(line)
            mutants.append(Mutant(**{name: row[name] for name in _MUTANT_FIELDS}))
        except (ValueError, KeyError, TypeError):
            raise ResultsError(f"{path} line {number}: not a mutant record") from None
    return mutants


def read_rows(path):
    """The rows of a results file read by read_mutants, in its order."""
    return [json.loads(line) for line in Path(path).read_text(encoding="utf-8").splitlines()
            if line.strip()]


def carry_finished(rows, previous):
    """rows, with the finished results of an interrupted run of the same sample."""
    if len(previous) != len(rows):
        raise ResultsError("the results file does not hold the sample it is resuming")
    return [old if old["status"] != PENDING else new for new, old in zip(rows, previous)]


def summary(rows):
    """One line: the count of each status and the score.

    The score counts timed-out mutants as detected (a test noticed that
    something was wrong) and leaves no-build and stale ones out.
    """
    counts = {status: 0 for status in STATUSES + (PENDING,)}
    for row in rows:
        counts[row["status"]] += 1
    parts = [f"{counts[s]} {s}" for s in STATUSES]
    if counts[PENDING]:
        parts.append(f"{counts[PENDING]} not run")
    detected = counts["killed"] + counts["timed-out"]
    judged = detected + counts["survived"]
    score = f"score {100.0 * detected / judged:.1f}% ({detected}/{judged})" if judged else "no score"
    return ", ".join(parts) + "; " + score
