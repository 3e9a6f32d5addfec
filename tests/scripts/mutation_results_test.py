"""The mutation tool's results file and its score."""

import tempfile
import unittest
from pathlib import Path

from mutation.results import ResultsError, new_row, read_mutants, summary, write_rows
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

    def test_the_score_counts_timeouts_as_detected_and_leaves_out_what_never_ran(self):
        statuses = ["killed"] * 5 + ["timed-out"] + ["survived"] * 2 + ["no-build", "stale",
                                                                          "pending"]
        line = summary([{"status": s} for s in statuses])
        self.assertEqual(line, "5 killed, 2 survived, 1 no-build, 1 timed-out, 1 stale, "
                               "1 not run; score 75.0% (6/8)")


if __name__ == "__main__":
    unittest.main()
