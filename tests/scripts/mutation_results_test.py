"""The mutation tool's results file and its score."""

import tempfile
import unittest
from pathlib import Path

from mutation.results import (ResultsError, carry_finished, new_row, read_mutants, read_rows,
                              summary, write_rows)
from mutation.selection import Mutant


class ResultsFile(unittest.TestCase):
    def test_a_results_file_gives_back_its_mutants(self):
        mutants = [Mutant(1, "a.cpp", 3, 5, "literal", "  x = 0;", "  x = 1;"),
                   Mutant(2, "b.h", 9, 1, "drop-call", "F(é);", ";")]
        with tempfile.TemporaryDirectory() as scratch:
            path = Path(scratch) / "r.jsonl"
            write_rows(path, [new_row(m, "killed") for m in mutants])
            self.assertEqual(read_mutants(path), mutants)
            path.write_text('{"id": 1}\n')
            with self.assertRaisesRegex(ResultsError, "line 1: not a mutant record"):
                read_mutants(path)

    def test_a_resumed_run_keeps_what_finished_and_reruns_what_did_not(self):
        mutants = [Mutant(i, "a.cpp", i, 1, "literal", "0", "1") for i in (1, 2, 3)]
        with tempfile.TemporaryDirectory() as scratch:
            path = Path(scratch) / "r.jsonl"
            write_rows(path, [new_row(mutants[0], "killed"), new_row(mutants[1]),
                              new_row(mutants[2], "survived")])
            previous = read_rows(path)
        fresh = [new_row(m) for m in mutants]
        self.assertEqual([r["status"] for r in carry_finished(fresh, previous)],
                         ["killed", "pending", "survived"])
        with self.assertRaisesRegex(ResultsError, "does not hold the sample"):
            carry_finished(fresh[:2], previous)

    def test_the_score_counts_timeouts_as_detected_and_leaves_out_what_never_ran(self):
        statuses = ["killed"] * 5 + ["timed-out"] + ["survived"] * 2 + ["no-build", "stale",
                                                                          "pending"]
        line = summary([{"status": s} for s in statuses])
        self.assertEqual(line, "5 killed, 2 survived, 1 no-build, 1 timed-out, 1 stale, "
                               "1 not run; score 75.0% (6/8)")


if __name__ == "__main__":
    unittest.main()
